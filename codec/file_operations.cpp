#include "codec/file_operations.h"

#include <stdexcept>
#include <utility>

#include "codec/container_layout.h"
#include "codec/container_reader.h"
#include "codec/container_stream.h"
#include "codec/sealed_file_operations.h"
#include "codec/sealed_format.h"
#include "runtime/line_text_file.h"
#include "runtime/paths.h"
#include "runtime/replacing_file.h"
#include "runtime/text.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kShortExtension = 3;

bool EndsInE(std::string_view name) noexcept {
    return !name.empty() && (name.back() == 'E' || name.back() == 'e');
}

}  // namespace

std::string EncryptedOutputPath(std::string_view path, std::string_view dirEncrypted,
                                std::string_view nameSuffix) {
    std::string out = PathFolder(path);
    out += dirEncrypted;
    out += kPathSeparator;
    out += PathName(path);
    out += nameSuffix;
    return out;
}

namespace {

std::string Seal(const std::string& path, const EncryptionInputs& inputs) {
    if (inputs.sealingKey == nullptr) throw std::invalid_argument("sealing needs the run's key");
    return SealFile(path, *inputs.sealingKey, inputs.dirEncrypted, inputs.nameSuffix,
                    inputs.progress);
}

}  // namespace

std::string encryption(const std::string& path, const EncryptionInputs& inputs) {
    if (inputs.cls == EncryptionClass::Sealed) return Seal(path, inputs);
    FileReader source(path);
    return encryption(source, inputs);
}

std::string encryption(FileReader& source, const EncryptionInputs& inputs) {
    // The sealed class reads its source itself.
    if (inputs.cls == EncryptionClass::Sealed) return Seal(source.path(), inputs);
    const std::string outPath =
        EncryptedOutputPath(source.path(), inputs.dirEncrypted, inputs.nameSuffix);
    // Streamed through small buffers: no whole-file copies to first-touch.
    // The output is created with the first piece, after the generator draws,
    // as when the container was built whole. It is written under a temporary
    // name and renamed into place, so a failure never leaves a cut-short
    // container or harms an existing one.
    LineTextFile file;
    StreamContainerFile(
        source.size(), [&](char* dst, std::size_t n) { source.Read(dst, n); }, inputs.password,
        inputs.cls,
        [&](std::string_view piece) {
            if (file.mode() == LineTextFile::Mode::Closed)
                file = CreateTextForReplacing(
                    outPath,
                    ContainerFileSize(static_cast<std::size_t>(source.size()), inputs.cls));
            PutText(file, piece);
        });
    CloseText(file);  // the container already ends in CR LF
    return outPath;
}

std::string DecryptedName(std::string_view containerName, bool suffixFlag) {
    std::string name(containerName);
    if (!EndsInE(name)) return name;
    bool strip = suffixFlag;
    if (!suffixFlag) {
        const auto dot = name.rfind('.');
        strip = dot != std::string::npos &&
                Utf8CharCount(std::string_view(name).substr(dot + 1)) > kShortExtension;
    }
    // Never cut a name down to nothing or to a folder reference: the output
    // would land on the folder itself.
    if (strip) {
        const std::string_view rest = std::string_view(name).substr(0, name.size() - 1);
        if (!rest.empty() && rest != "." && rest != "..") name.pop_back();
    }
    return name;
}

std::string DecryptedOutputPath(std::string_view path, std::string_view dirDecrypted,
                                bool suffixFlag) {
    std::string out = PathFolder(path);
    out += dirDecrypted;
    out += kPathSeparator;
    out += DecryptedName(PathName(path), suffixFlag);
    return out;
}

namespace {

// The decoded bytes on their way into the decrypted file.
class DecryptedFile final : public DecodedOutput {
  public:
    explicit DecryptedFile(std::string path) : writer_(std::move(path)) {}
    void Expect(std::uint64_t size) override { writer_.Expect(size); }
    void Put(std::string_view bytes) override { writer_.Write(bytes); }
    void StartOver() override { writer_.StartOver(); }
    void Commit() { writer_.Commit(); }

  private:
    ReplacingFile writer_;
};

ContainerSource SourceOf(FileReader& file) {
    return {file.size(), [&file](std::uint64_t offset, char* dst, std::size_t n) {
                file.ReadAt(offset, dst, n);
            }};
}

// Decodes the container that `reader` reads into the decrypted file of
// `path`; nothing when the reader declines (see ContainerReader::Decode).
std::optional<std::string> DecryptWith(ContainerReader& reader, std::string_view path,
                                       bool suffixFlag, const std::string& dirDecrypted) {
    std::string outPath = DecryptedOutputPath(path, dirDecrypted, suffixFlag);
    DecryptedFile out(outPath);
    if (!reader.Decode(out)) return std::nullopt;
    out.Commit();
    return outPath;
}

}  // namespace

std::string decryption(const std::string& path, bool suffixFlag, const std::string& dirDecrypted) {
    FileReader file(path, FileErrors::LineText);
    ContainerReader reader(SourceOf(file));
    // Without a probe answer to keep, the reader never declines.
    return *DecryptWith(reader, path, suffixFlag, dirDecrypted);
}

ProbeResult decryption1(const std::string& path, std::string_view typedPassword) {
    FileReader file(path);
    return ContainerReader(SourceOf(file)).FinalProbe(typedPassword);
}

ContainerFile::ContainerFile(const std::string& path)
    : file_(path), reader_(std::make_unique<ContainerReader>(SourceOf(file_))) {}

ContainerFile::~ContainerFile() = default;

ProbeResult ContainerFile::Probe(std::string_view typedPassword) {
    return reader_->Probe(typedPassword);
}

bool ContainerFile::IsSealed() const noexcept {
    return StartsAsSealed(reader_->FirstBytes());
}

bool ContainerFile::ProbeIsFinal() const noexcept {
    return reader_->ProbeIsFinal();
}

ProbeResult ContainerFile::FinalProbe(std::string_view typedPassword) {
    return reader_->FinalProbe(typedPassword);
}

std::optional<std::string> ContainerFile::Decrypt(bool suffixFlag,
                                                  const std::string& dirDecrypted) {
    return DecryptWith(*reader_, file_.path(), suffixFlag, dirDecrypted);
}

}  // namespace imgcrypt
