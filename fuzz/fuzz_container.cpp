// Arbitrary bytes as a container file, alone and spliced into a container
// large enough to be read in pieces; as a text to scramble; and as a source
// file made into a container. The streamed code is held to the rules
// stated plainly (tests/support/*_oracle.h).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/container_reader.h"
#include "codec/high_level_scramble.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/support/container_bytes.h"
#include "tests/support/container_oracle.h"
#include "tests/support/line_oracle.h"

namespace {

using namespace imgcrypt;

bool SameAnswer(const ProbeResult& a, const ProbeResult& b) {
    return a.isContainer == b.isContainer && a.highLevel == b.highLevel &&
           a.passwordMatch == b.passwordMatch;
}

// Reads `bytes` as the command line does (first look, decoding, a final
// answer when the decoding asks for one) and as the rules say.
void ExpectReadAsTheRulesSay(std::string_view bytes, std::string_view typed) {
    const std::string joined = test::JoinedLoadedLines(bytes);
    const ProbeResult expected{Recognise(joined).isContainer, Recognise(joined).highLevel,
                               PasswordMatches(joined, typed)};
    ContainerReader reader(test::MemorySource(bytes));
    const ProbeResult first = reader.Probe(typed);
    test::StringOutput out;
    if (reader.Decode(out)) {
        // Decoding without objection confirms the first answer.
        if (!SameAnswer(first, expected)) std::abort();
    } else {
        if (reader.ProbeIsFinal() || !out.text.empty()) std::abort();
        if (!SameAnswer(reader.FinalProbe(typed), expected)) std::abort();
        if (!reader.Decode(out)) std::abort();
    }
    if (!SameAnswer(reader.FinalProbe(typed), expected)) std::abort();
    if (out.text != test::ReferenceDecodeContainerFile(bytes)) std::abort();
}

// A container of each class larger than the reader's pieces, made once.
std::string MakeLarge(EncryptionClass cls) {
    std::mt19937 gen(5);
    std::string source(200'000, '\0');
    for (char& c : source) c = static_cast<char>(gen());
    SetGeneratorState(0);
    return test::MakeContainerFile(source, "Pa55word!", cls);
}

const std::string& LargeContainer(EncryptionClass cls) {
    static const std::string standard = MakeLarge(EncryptionClass::Standard);
    static const std::string high = MakeLarge(EncryptionClass::High);
    return cls == EncryptionClass::High ? high : standard;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The readers never fail on foreign or damaged content.
    ExpectReadAsTheRulesSay(input, "abcde");

    // The input spliced into a large container (for half the inputs, as it
    // is slow): at its start, its end, or where its first bytes say,
    // replacing as many bytes as it holds or none.
    if (size >= 4 && (data[0] & 16) != 0) {
        const auto cls = static_cast<EncryptionClass>(data[0] & 1);
        const std::string& large = LargeContainer(cls);
        const std::uint32_t pick = data[1] | (data[2] << 8) | (data[3] << 16);
        const std::size_t at = (data[0] & 6) == 0   ? 0
                               : (data[0] & 6) == 2 ? large.size() - std::min(large.size(), size)
                                                    : pick % large.size();
        const std::size_t replaced = (data[0] & 8) ? std::min(size, large.size() - at) : 0;
        std::string spliced = large;
        spliced.replace(at, replaced, input);
        ExpectReadAsTheRulesSay(spliced, "Pa55word!");
    }

    // A base64 text (the scramble's only input) rich in '/' and in the
    // followers lowering turns into '/', scrambled in two pieces cut at the
    // first byte, and unscrambled in pieces cut at the second; and arbitrary
    // bytes unscrambled, as a damaged container holds them.
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
    const std::size_t cut2 = size < 2 ? 0 : data[1] % (size + 1);
    HighLevelUnscrambler unscrambler;
    const std::size_t settled = unscrambler.Unscramble(unscrambled.data(), cut2, false);
    unscrambler.Unscramble(unscrambled.data() + settled, size - settled, true);
    if (unscrambled != restored) std::abort();

    // Any source comes back exactly, in both classes, and is written as the
    // step-by-step reference writes it.
    for (EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::uint32_t state = GeneratorState();
        const std::string file = test::MakeContainerFile(input, "Pa55word!", cls);
        SetGeneratorState(state);
        if (file != test::ReferenceContainerFile(input, "Pa55word!", cls)) std::abort();
        if (test::DecodeContainerBytes(file) != input) std::abort();
        if (!PasswordMatches(file.substr(0, file.size() - 2), "Pa55word!")) std::abort();
    }
    return 0;
}
