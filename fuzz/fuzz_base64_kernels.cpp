// The processor's base64 kernels against the portable ones on the same
// input, byte for byte: the input encoded (with as much readable beyond the
// groups as the first byte says), and decoded as a text cut into pieces;
// and the encoded text decoded, in one line and in lines of 76.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "codec/base64_kernels.h"

namespace {

using imgcrypt::Base64Decoder;
using imgcrypt::detail::Base64Kernels;

std::string Encoded(const Base64Kernels& kernels, std::string_view bytes, std::size_t groups) {
    std::string out(4 * groups, '\0');
    kernels.encodeGroups(reinterpret_cast<const unsigned char*>(bytes.data()), groups,
                         bytes.size(), out.data());
    return out;
}

std::string EncodedLines(const Base64Kernels& kernels, std::string_view bytes, std::size_t lines) {
    std::string out(78 * lines, '\0');
    kernels.encodeLines(reinterpret_cast<const unsigned char*>(bytes.data()), lines, bytes.size(),
                        out.data());
    return out;
}

std::string Decoded(const Base64Kernels& kernels, std::string_view text, std::size_t cut) {
    Base64Decoder decoder(kernels);
    std::string out(text.size() + 8, '\0');
    std::size_t o = decoder.Decode(text.substr(0, cut), out.data());
    o += decoder.Decode(text.substr(cut), out.data() + o);
    o += decoder.Finish(out.data() + o);
    out.resize(o);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Base64Kernels& scalar = imgcrypt::detail::ScalarBase64Kernels();
    const std::size_t extra = size == 0 ? 0 : std::min<std::size_t>(data[0] % 32, size);
    const std::size_t groups = (size - extra) / 3;
    const std::size_t cut = size < 2 ? 0 : data[1] % (size + 1);
    const std::string encoded = Encoded(scalar, input, groups);
    const std::size_t lineCount = (size - extra) / 57;
    const std::string encodedLines = EncodedLines(scalar, input, lineCount);
    const std::string decoded = Decoded(scalar, input, cut);
    std::string lines;
    for (std::size_t at = 0; at < encoded.size(); at += 76) lines += encoded.substr(at, 76) + "\r\n";
    for (const Base64Kernels* kernels : imgcrypt::detail::ProcessorBase64Kernels()) {
        if (Encoded(*kernels, input, groups) != encoded) std::abort();
        if (EncodedLines(*kernels, input, lineCount) != encodedLines) std::abort();
        if (Decoded(*kernels, input, cut) != decoded) std::abort();
        // The encoder's own text, a clean run the kernels take whole, and
        // the same in lines of 76 as a standard container holds it.
        if (Decoded(*kernels, encoded, cut % (encoded.size() + 1)) !=
            Decoded(scalar, encoded, cut % (encoded.size() + 1)))
            std::abort();
        if (Decoded(*kernels, lines, cut % (lines.size() + 1)) !=
            Decoded(scalar, lines, cut % (lines.size() + 1)))
            std::abort();
    }
    return 0;
}
