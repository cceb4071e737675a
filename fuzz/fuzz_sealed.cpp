// Arbitrary bytes as a sealed container: the reader refuses them with one
// of its errors or opens them, never crashes, and takes them alike in any
// pieces. And any bytes sealed come back exactly. The seeds
// (fuzz/seeds/fuzz_sealed) are containers of password "fuzz-pw1" at the
// lowest cost, so mutations reach the header, the tag and the chunk walk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/sealed_errors.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_reader.h"
#include "codec/sealed_writer.h"

namespace {

using namespace imgcrypt;

constexpr std::string_view kPassword = "fuzz-pw1";

// The plaintext of `file` read in two pieces cut at `cut`, or the refusal.
std::string Open(std::string_view file, std::size_t cut, OpeningKeys* keys, bool& refused) {
    std::string plaintext;
    refused = false;
    try {
        SealedReader reader("fuzz", keys, [&](std::span<const std::uint8_t> bytes) {
            plaintext.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        });
        reader.Feed(file.substr(0, cut));
        reader.Feed(file.substr(cut));
        reader.Finish();
    } catch (const ESealedError&) {
        refused = true;
    }
    return plaintext;
}

// Whether a header asks for a key derivation cheap enough to run per input.
bool CheapToOpen(std::string_view file) {
    SealedReader headerOnly("fuzz", nullptr);
    try {
        headerOnly.Feed(file);
    } catch (const ESealedError&) {
        return false;
    }
    const auto& header = headerOnly.header();
    return header && header->cost.t * header->cost.m <= 64;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);

    bool refusedWhole = false;
    bool refusedCut = false;
    (void)Open(input, 0, nullptr, refusedWhole);
    (void)Open(input, cut, nullptr, refusedCut);
    if (refusedWhole != refusedCut) std::abort();
    if (CheapToOpen(input)) {
        OpeningKeys keys(kPassword);
        const std::string whole = Open(input, 0, &keys, refusedWhole);
        const std::string pieces = Open(input, cut, &keys, refusedCut);
        if (refusedWhole != refusedCut || (!refusedWhole && whole != pieces)) std::abort();
    }

    static const SealingKey key(kPassword, {1, 8, 1});
    static OpeningKeys keys(kPassword);  // one salt: derives once
    FileNonce nonce{};
    for (std::size_t i = 0; i < nonce.size() && i < size; ++i) nonce[i] = data[i];
    const std::string sealed = MakeSealedFile(input, key, nonce);
    bool refused = false;
    if (Open(sealed, cut % (sealed.size() + 1), &keys, refused) != input || refused) std::abort();
    return 0;
}
