#include "codec/file_operations.h"

#include <stdexcept>
#include <utility>

#include "codec/container_layout.h"
#include "codec/container_stream.h"
#include "codec/password.h"
#include "codec/sealed_file_operations.h"
#include "runtime/line_text_file.h"
#include "runtime/paths.h"
#include "runtime/text.h"
#include "runtime/whole_file.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kShortExtension = 3;

bool IsLineBreak(char c) noexcept {
    return c == '\r' || c == '\n';
}

// The parts of the joined lines (bytes before the first NUL, without CR and
// LF) that the probe looks at: the first 20 and the last 8 characters, or
// the whole text when it is shorter than both. Taken from the file bytes
// directly, so probing a large container copies nothing.
std::string ProbeText(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::string head;
    std::size_t front = 0;
    for (; front < text.size() && head.size() < kPasswordBlockLength; ++front) {
        if (!IsLineBreak(text[front])) head += text[front];
    }
    std::string tail;
    for (std::size_t back = text.size(); back > front && tail.size() < kTrailerTail;) {
        if (!IsLineBreak(text[--back])) tail.insert(tail.begin(), text[back]);
    }
    return head + tail;
}

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

std::string encryption(const std::string& path, const EncryptionInputs& inputs) {
    if (inputs.cls == EncryptionClass::Sealed) {
        if (inputs.sealingKey == nullptr) throw std::invalid_argument("sealing needs the run's key");
        return SealFile(path, *inputs.sealingKey, inputs.dirEncrypted, inputs.nameSuffix,
                        inputs.progress);
    }
    SourceFileReader source(path);
    const std::string outPath = EncryptedOutputPath(path, inputs.dirEncrypted, inputs.nameSuffix);
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
            if (file.mode() == LineTextFile::Mode::Closed) file = CreateTextForReplacing(outPath);
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

// Writes decoded bytes under the decrypted name of the container at `path`.
std::string WriteDecrypted(std::string_view bytes, std::string_view path, bool suffixFlag,
                           const std::string& dirDecrypted) {
    std::string outPath = DecryptedOutputPath(path, dirDecrypted, suffixFlag);
    WriteWholeFileReplacing(outPath, bytes);
    return outPath;
}

}  // namespace

std::string decryption(const std::string& path, bool suffixFlag, const std::string& dirDecrypted) {
    return WriteDecrypted(DecodeContainerText(ReadJoinedLines(path)), path, suffixFlag,
                          dirDecrypted);
}

std::string DecryptFileBytes(std::string fileBytes, std::string_view path, bool suffixFlag,
                             const std::string& dirDecrypted) {
    return WriteDecrypted(DecodeContainerFile(std::move(fileBytes)), path, suffixFlag,
                          dirDecrypted);
}

ProbeResult ProbeFileBytes(std::string_view fileBytes, std::string_view typedPassword) {
    const std::string text = ProbeText(fileBytes);
    const Recognition recognition = Recognise(text);
    ProbeResult result;
    result.isContainer = recognition.isContainer;
    result.highLevel = recognition.highLevel;
    result.passwordMatch = PasswordMatches(text, typedPassword);
    return result;
}

ProbeResult decryption1(const std::string& path, std::string_view typedPassword) {
    return ProbeFileBytes(ReadWholeFile(path), typedPassword);
}

}  // namespace imgcrypt
