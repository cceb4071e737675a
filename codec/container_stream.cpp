#include "codec/container_stream.h"

#include <algorithm>
#include <memory>
#include <string>

#include "codec/base64.h"
#include "codec/container_layout.h"
#include "codec/high_level_scramble.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "runtime/read_buffer.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kBytesPerLine = kBase64LineLength / 4 * 3;  // 57

// First base64 character of a chunk that starts with `byte`.
char FirstBase64Char(char byte) noexcept {
    char text[4];
    EncodeBase64Into(std::string_view(&byte, 1), text, false);
    return text[0];
}

}  // namespace

void StreamContainerFile(std::uint64_t sourceSize, const SourceReadFn& read,
                         std::string_view password, EncryptionClass cls,
                         const ContainerSinkFn& sink) {
    const bool high = cls == EncryptionClass::High;
    // A file that could not be read was not encrypted: it keeps no draws.
    const std::uint32_t stateBefore = GeneratorState();
    const auto readSource = [&](char* dst, std::size_t n) {
        try {
            read(dst, n);
        } catch (...) {
            SetGeneratorState(stateBefore);
            throw;
        }
    };
    const TrailerDraws draws = DrawTrailerCharacters();
    const std::string block = MakePasswordBlock(password, ShiftValue(draws.shiftChar));

    // Whole lines per chunk, so the chunks' texts join into the file's text.
    constexpr std::size_t chunkBytes = kBytesPerLine * kStreamChunkLines;
    // One byte more than a chunk: the next chunk's first byte is the
    // scramble's look-ahead; it moves to just before the aligned place every
    // read goes to, where the next chunk begins.
    constexpr std::size_t kLead = ReadBuffer::kAlignment;
    ReadBuffer in(kLead + chunkBytes + 1);
    char* const readTo = in.data() + kLead;
    // Room for the password block in front of the text.
    const auto out = std::make_unique_for_overwrite<char[]>(kPasswordBlockLength +
                                                            PayloadLength(chunkBytes, cls));
    char* const text = out.get() + kPasswordBlockLength;
    HighLevelScrambler scrambler(PayloadLength(static_cast<std::size_t>(sourceSize), cls));
    std::string head;  // of the payload text, for the trailer
    std::uint64_t unread = sourceSize;
    std::size_t carried = 0;
    for (bool first = true;; first = false) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkBytes + 1 - carried, unread));
        readSource(readTo, want);
        unread -= want;
        const char* const chunk = readTo - carried;
        const std::size_t have = carried + want;
        const bool last = have <= chunkBytes;
        const std::size_t n = last ? have : chunkBytes;
        const std::size_t len = PayloadLength(n, cls);
        EncodeBase64Into(std::string_view(chunk, n), text, !high);
        if (high) scrambler.Scramble(text, len, last ? '\0' : FirstBase64Char(chunk[chunkBytes]));
        sink(first ? StartFile(text, len, block, head) : std::string_view(text, len));
        if (last) break;
        readTo[-1] = chunk[chunkBytes];
        carried = 1;
    }
    sink(MakeTrailer(head, draws, cls));
}

}  // namespace imgcrypt
