// The sealed class in memory: the key derivation a run pays once, and the
// writer and reader on the largest source the old classes accept (5,119,999
// bytes), beside the standard container of the same source.
#include <benchmark/benchmark.h>

#include <string>

#include "codec/container.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_reader.h"
#include "codec/sealed_writer.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kSourceSize = 5'119'999;

// ChaCha20-Poly1305 and base64 take the same time for any bytes.
const std::string& Source() {
    static const std::string source(kSourceSize, '\x5a');
    return source;
}

const SealingKey& Key() {
    static const SealingKey key("Secret123");
    return key;
}

void BM_SealedKeyDerivation(benchmark::State& state) {
    for (auto _ : state) {
        SealingKey key("Secret123");
        benchmark::DoNotOptimize(key.kek().data());
    }
}
BENCHMARK(BM_SealedKeyDerivation)->Unit(benchmark::kMillisecond);

void BM_MakeSealedFile(benchmark::State& state) {
    for (auto _ : state) {
        std::string file = MakeSealedFile(Source(), Key(), DrawFileNonce());
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
}
BENCHMARK(BM_MakeSealedFile)->Unit(benchmark::kMillisecond);

void BM_MakeStandardContainerFile(benchmark::State& state) {
    for (auto _ : state) {
        std::string file = MakeContainerFile(Source(), "Secret123", EncryptionClass::Standard);
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
}
BENCHMARK(BM_MakeStandardContainerFile)->Unit(benchmark::kMillisecond);

void BM_OpenSealedFile(benchmark::State& state) {
    const std::string file = MakeSealedFile(Source(), Key(), DrawFileNonce());
    OpeningKeys keys("Secret123");
    for (auto _ : state) {
        std::string plaintext;
        plaintext.reserve(kSourceSize);
        SealedReader reader("bench", &keys, [&](std::span<const std::uint8_t> bytes) {
            plaintext.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        });
        for (std::size_t at = 0; at < file.size(); at += 65536) {
            reader.Feed(std::string_view(file).substr(at, 65536));
        }
        reader.Finish();
        benchmark::DoNotOptimize(plaintext.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
}
BENCHMARK(BM_OpenSealedFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace imgcrypt

BENCHMARK_MAIN();
