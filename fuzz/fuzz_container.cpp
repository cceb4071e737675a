// Arbitrary bytes as a container file, as a text to scramble, and as a
// source file made into a container; the fast code is held to the plain
// reference loops.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/file_operations.h"
#include "codec/high_level_scramble.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/support/container_oracle.h"
#include "tests/support/line_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace imgcrypt;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The readers never fail on foreign or damaged content, and the probe
    // decides as on the whole joined text.
    (void)DecodeContainerFile(std::string(input));
    (void)DecodeContainerText(std::string(input));
    const std::string joined = test::JoinedLoadedLines(input);
    const ProbeResult probe = ProbeFileBytes(input, "abcde");
    if (probe.isContainer != Recognise(joined).isContainer) std::abort();
    if (probe.highLevel != Recognise(joined).highLevel) std::abort();
    if (probe.passwordMatch != PasswordMatches(joined, "abcde")) std::abort();

    // A base64 text (the scramble's only input) rich in '/' and in the
    // followers lowering turns into '/', scrambled in two pieces cut at the
    // first byte; and arbitrary bytes unscrambled, as a damaged container
    // holds them.
    constexpr std::string_view kPool = "///0123AQz+9Zaz=";
    std::string text(input);
    for (char& c : text) c = kPool[static_cast<unsigned char>(c) % kPool.size()];
    std::string expected = text;
    test::ReferenceScramble(expected);
    std::string scrambled = text;
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    HighLevelScrambler scrambler(size);
    scrambler.Scramble(scrambled.data(), cut, cut < size ? text[cut] : '\0');
    scrambler.Scramble(scrambled.data() + cut, size - cut, '\0');
    if (scrambled != expected) std::abort();
    UnscrambleHighLevel(scrambled);
    if (scrambled != text) std::abort();
    std::string restored(input);
    test::ReferenceUnscramble(restored);
    std::string unscrambled(input);
    UnscrambleHighLevel(unscrambled);
    if (unscrambled != restored) std::abort();

    // Any source comes back exactly, in both classes, and is written as the
    // step-by-step reference writes it.
    for (EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::uint32_t state = GeneratorState();
        const std::string file = MakeContainerFile(input, "Pa55word!", cls);
        SetGeneratorState(state);
        if (file != test::ReferenceContainerFile(input, "Pa55word!", cls)) std::abort();
        if (DecodeContainerFile(file) != input) std::abort();
        if (!PasswordMatches(file.substr(0, file.size() - 2), "Pa55word!")) std::abort();
    }
    return 0;
}
