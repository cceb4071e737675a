#include "codec/sealed_file_operations.h"

#include <algorithm>
#include <optional>

#include "codec/file_operations.h"
#include "codec/sealed_errors.h"
#include "codec/sealed_reader.h"
#include "runtime/replacing_file.h"
#include "runtime/whole_file.h"

namespace imgcrypt {
namespace {

// Container text read at a time: under a chunk's worth, so the progress hook
// runs at least once per chunk.
constexpr std::size_t kReadBlock = 64 * 1024;
// Enough for the first line and the lines that hold the header and its tag.
constexpr std::size_t kProbeBlock = 4096;

// Feeds the file to the reader a block at a time until its end, or until
// `afterBlock(bytesRead)` returns false; returns whether it read to the end.
template <typename AfterBlock>
bool FeedBlocks(SourceFileReader& source, SealedReader& reader, std::size_t blockSize,
                AfterBlock&& afterBlock) {
    std::string block(blockSize, '\0');
    for (std::uint64_t done = 0; done < source.size();) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(source.size() - done, blockSize));
        source.Read(block.data(), n);
        reader.Feed({block.data(), n});
        done += n;
        if (!afterBlock(done)) return false;
    }
    return true;
}

}  // namespace

bool IsSealedFile(const std::string& path) {
    SourceFileReader source(path);
    std::string start(
        static_cast<std::size_t>(std::min<std::uint64_t>(source.size(), kSealedLinePrefix.size())),
        '\0');
    source.Read(start.data(), start.size());
    return StartsAsSealed(start);
}

std::string SealFile(const std::string& path, const SealingKey& key, std::string_view dirEncrypted,
                     std::string_view nameSuffix, const SealedProgressFn& progress) {
    SourceFileReader source(path);
    ReplacingFile out(EncryptedOutputPath(path, dirEncrypted, nameSuffix));
    StreamSealedFile(
        source.size(), [&](char* dst, std::size_t n) { source.Read(dst, n); }, key, DrawFileNonce(),
        [&](std::string_view piece) { out.Write(piece); }, progress);
    out.Commit();
    return out.path();
}

std::string OpenSealedFile(const std::string& path, OpeningKeys& keys, bool suffixFlag,
                           std::string_view dirDecrypted, const SealedProgressFn& progress) {
    SourceFileReader source(path);
    const std::string outPath = DecryptedOutputPath(path, dirDecrypted, suffixFlag);
    // Made once the password opened the header: a refused file leaves not
    // even a temporary file.
    std::optional<ReplacingFile> out;
    SealedReader reader(path, &keys, [&](std::span<const std::uint8_t> plaintext) {
        if (!out) out.emplace(outPath);
        out->Write({reinterpret_cast<const char*>(plaintext.data()), plaintext.size()});
    });
    FeedBlocks(source, reader, kReadBlock, [&](std::uint64_t done) {
        if (progress && !progress(done, source.size())) throw ECancelled();
        return true;
    });
    reader.Finish();
    if (!out) out.emplace(outPath);
    out->Commit();
    return outPath;
}

SealedHeader ProbeSealedFile(const std::string& path, OpeningKeys* keys) {
    SourceFileReader source(path);
    SealedReader reader(path, keys);
    const bool toTheEnd = FeedBlocks(source, reader, kProbeBlock, [&](std::uint64_t) {
        return !(keys != nullptr ? reader.passwordChecked() : reader.header().has_value());
    });
    if (toTheEnd) reader.Finish();  // too short to hold a header: raises
    return *reader.header();
}

}  // namespace imgcrypt
