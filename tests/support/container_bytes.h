// Containers in memory, for tests, fuzz targets and benchmarks: made by the
// streamed writer exactly as `encryption` makes them, and read back by the
// streamed reader exactly as `decryption` and `decryption1` read them.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/container_reader.h"
#include "codec/container_stream.h"

namespace imgcrypt::test {

// The container file (final CR LF included) of the source bytes, with the
// generator draws `encryption` makes.
inline std::string MakeContainerFile(std::string_view source, std::string_view password,
                                     EncryptionClass cls) {
    std::string file;
    std::size_t readAt = 0;
    StreamContainerFile(
        source.size(),
        [&](char* dst, std::size_t n) {
            if (n == 0) return;  // an empty view may have no data
            std::memcpy(dst, source.data() + readAt, n);
            readAt += n;
        },
        password, cls, [&](std::string_view piece) { file += piece; });
    return file;
}

inline ContainerSource MemorySource(std::string_view bytes) {
    return {bytes.size(), [bytes](std::uint64_t offset, char* dst, std::size_t n) {
                if (n > 0) std::memcpy(dst, bytes.data() + offset, n);
            }};
}

// Decoded bytes collected in a string.
class StringOutput final : public DecodedOutput {
  public:
    void Put(std::string_view bytes) override { text += bytes; }
    void StartOver() override { text.clear(); }
    std::string text;
};

// What `decryption` writes for a container file holding these bytes.
inline std::string DecodeContainerBytes(std::string_view fileBytes) {
    ContainerReader reader(MemorySource(fileBytes));
    StringOutput out;
    reader.Decode(out);
    return out.text;
}

// What `decryption1` answers for a file holding these bytes.
inline ProbeResult ProbeContainerBytes(std::string_view fileBytes,
                                       std::string_view typedPassword) {
    return ContainerReader(MemorySource(fileBytes)).FinalProbe(typedPassword);
}

}  // namespace imgcrypt::test
