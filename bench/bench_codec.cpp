// Codec throughput on the largest source the window accepts (5,119,999
// bytes), in memory. Targets: container made in <= 6 ms (standard) and
// <= 10 ms (high); decrypted back in <= 10 ms.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "codec/base64.h"
#include "codec/container.h"
#include "codec/container_stream.h"
#include "runtime/generator.h"
#include "tests/support/base64_text.h"

namespace imgcrypt {
namespace {

using test::DecodeBase64Text;
using test::EncodeBase64Text;

constexpr std::size_t kSourceSize = 5'119'999;

const std::string& Source() {
    static const std::string source = [] {
        std::mt19937_64 gen(42);
        std::string s(kSourceSize, '\0');
        for (auto& c : s) c = static_cast<char>(gen() & 0xFF);
        return s;
    }();
    return source;
}

void BM_EncodeBase64Text(benchmark::State& state) {
    const std::string& source = Source();
    for (auto _ : state) {
        std::string text = EncodeBase64Text(source);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_EncodeBase64Text)->Unit(benchmark::kMillisecond);

void BM_DecodeBase64Text(benchmark::State& state) {
    const std::string text = EncodeBase64Text(Source());
    for (auto _ : state) {
        std::string bytes = DecodeBase64Text(text);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Source().size()));
}
BENCHMARK(BM_DecodeBase64Text)->Unit(benchmark::kMillisecond);

void BM_MakeContainerFile(benchmark::State& state) {
    const auto cls = static_cast<EncryptionClass>(state.range(0));
    const std::string& source = Source();
    for (auto _ : state) {
        std::string file = MakeContainerFile(source, "Secret123", cls);
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
    state.SetLabel(cls == EncryptionClass::High ? "high" : "standard");
}
BENCHMARK(BM_MakeContainerFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The streamed writer as `encryption` uses it, minus the file system: the
// source copied in chunk by chunk, the pieces handed to a sink that only
// counts them. Arguments: class, source lines per chunk.
void BM_StreamContainerFile(benchmark::State& state) {
    const auto cls = static_cast<EncryptionClass>(state.range(0));
    const auto lines = static_cast<std::size_t>(state.range(1));
    const std::string& source = Source();
    std::size_t written = 0;
    for (auto _ : state) {
        std::size_t readAt = 0;
        StreamContainerFile(
            source.size(),
            [&](char* dst, std::size_t n) {
                std::memcpy(dst, source.data() + readAt, n);
                readAt += n;
            },
            "Secret123", cls, [&](std::string_view piece) { written += piece.size(); }, lines);
    }
    benchmark::DoNotOptimize(written);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
    state.SetLabel(cls == EncryptionClass::High ? "high" : "standard");
}
BENCHMARK(BM_StreamContainerFile)
    ->ArgsProduct({{0, 1}, {256, 1024, static_cast<std::int64_t>(kStreamChunkLines), 8192}})
    ->Unit(benchmark::kMillisecond);

void BM_DecodeContainerFile(benchmark::State& state) {
    const auto cls = static_cast<EncryptionClass>(state.range(0));
    SetGeneratorState(0);
    const std::string file = MakeContainerFile(Source(), "Secret123", cls);
    for (auto _ : state) {
        // The copy stands for reading the file; it is not part of the timing.
        state.PauseTiming();
        std::string bytes = file;
        state.ResumeTiming();
        std::string decoded = DecodeContainerFile(std::move(bytes));
        benchmark::DoNotOptimize(decoded.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Source().size()));
    state.SetLabel(cls == EncryptionClass::High ? "high" : "standard");
}
BENCHMARK(BM_DecodeContainerFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace imgcrypt

BENCHMARK_MAIN();
