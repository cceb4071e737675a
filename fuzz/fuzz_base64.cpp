// Arbitrary bytes through the base64 decoder, and the encoder's text back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/base64.h"
#include "tests/support/base64_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace imgcrypt;
    using test::DecodeBase64Text;
    using test::EncodeBase64Text;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Decoding never fails, and in place gives what a separate buffer gives.
    const std::string decoded = DecodeBase64Text(input);
    std::string inPlace(input);
    inPlace.resize(DecodeBase64Into(inPlace, inPlace.data()));
    if (inPlace != decoded) std::abort();

    // Every byte string comes back from its text, with or without breaks.
    const std::string text = EncodeBase64Text(input);
    if (text.size() != Base64TextSize(size, true)) std::abort();
    if (DecodeBase64Text(text) != input) std::abort();
    std::string flat(Base64TextSize(size, false), '\0');
    EncodeBase64Into(input, flat.data(), false);
    if (DecodeBase64Text(flat) != input) std::abort();
    return 0;
}
