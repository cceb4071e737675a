// Arbitrary bytes as a container file, and as a source file made into one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/password.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace imgcrypt;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The readers never fail on foreign or damaged content.
    (void)DecodeContainerFile(std::string(input));
    (void)DecodeContainerText(std::string(input));
    (void)Recognise(input);
    (void)ExtractPayload(input);
    (void)ReadPassword(input);
    (void)PasswordMatches(input, "abcde");

    // Any source comes back exactly, in both classes.
    for (EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::string file = MakeContainerFile(input, "Pa55word!", cls);
        if (DecodeContainerFile(file) != input) std::abort();
        if (!PasswordMatches(file.substr(0, file.size() - 2), "Pa55word!")) std::abort();
    }
    return 0;
}
