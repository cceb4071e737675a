// Codec throughput in memory on the largest source the window accepts
// (5,119,999 bytes): bytes per second of the base64 encoder and decoder (as
// the codec runs them, and each kernel set alone), of the high-level
// scramble and unscramble, and of whole containers made and read. The
// label names the kernel set; IMGCRYPT_SIMD=off runs everything on the
// scalar code.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "codec/base64.h"
#include "codec/base64_kernels.h"
#include "codec/container_reader.h"
#include "codec/container_stream.h"
#include "codec/high_level_scramble.h"
#include "runtime/generator.h"
#include "tests/support/container_bytes.h"

namespace imgcrypt {
namespace {

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

std::string Encoded(bool withLineBreaks) {
    std::string text(Base64TextSize(kSourceSize, withLineBreaks), '\0');
    EncodeBase64Into(Source(), text.data(), withLineBreaks);
    return text;
}

const char* ActiveName() {
    return detail::ActiveBase64Kernels().name;
}

void SetSourceBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSourceSize));
}

// ---- Base64 as the codec runs it: lines of 76, or one line ----

void BM_Encode(benchmark::State& state) {
    const bool lines = state.range(0) != 0;
    std::string text(Base64TextSize(kSourceSize, lines), '\0');
    for (auto _ : state) {
        EncodeBase64Into(Source(), text.data(), lines);
        benchmark::DoNotOptimize(text.data());
    }
    SetSourceBytes(state);
    state.SetLabel(std::string(ActiveName()) + (lines ? ", lines" : ", one line"));
}
BENCHMARK(BM_Encode)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Decode(benchmark::State& state) {
    const bool lines = state.range(0) != 0;
    const std::string text = Encoded(lines);
    std::string bytes(Base64Decoder::MaxDecodedSize(text.size()), '\0');
    for (auto _ : state) {
        Base64Decoder decoder;
        benchmark::DoNotOptimize(decoder.Decode(text, bytes.data()));
    }
    SetSourceBytes(state);
    state.SetLabel(std::string(ActiveName()) + (lines ? ", lines" : ", one line"));
}
BENCHMARK(BM_Decode)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// ---- Each kernel set this processor runs, on one long line ----

void BM_EncodeKernels(benchmark::State& state, const detail::Base64Kernels* kernels) {
    std::string text(Base64TextSize(kSourceSize, false), '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(Source().data());
    for (auto _ : state) {
        kernels->encodeGroups(in, kSourceSize / 3, kSourceSize, text.data());
        benchmark::DoNotOptimize(text.data());
    }
    SetSourceBytes(state);
}

void BM_DecodeKernels(benchmark::State& state, const detail::Base64Kernels* kernels) {
    const std::string text = Encoded(false);
    std::string bytes(text.size(), '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    for (auto _ : state) {
        benchmark::DoNotOptimize(kernels->decodeGroups(in, text.size(), bytes.data()).written);
    }
    SetSourceBytes(state);
}

// ---- The high-level scramble of the whole payload text ----

void BM_Scramble(benchmark::State& state) {
    const std::string text = Encoded(false);
    std::string work = text;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), text.data(), text.size());
        state.ResumeTiming();
        HighLevelScrambler(work.size()).Scramble(work.data(), work.size(), '\0');
        benchmark::DoNotOptimize(work.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Scramble)->Unit(benchmark::kMillisecond);

void BM_Unscramble(benchmark::State& state) {
    std::string scrambled = Encoded(false);
    HighLevelScrambler(scrambled.size()).Scramble(scrambled.data(), scrambled.size(), '\0');
    std::string work = scrambled;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), scrambled.data(), scrambled.size());
        state.ResumeTiming();
        HighLevelUnscrambler().Unscramble(work.data(), work.size(), true);
        benchmark::DoNotOptimize(work.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scrambled.size()));
}
BENCHMARK(BM_Unscramble)->Unit(benchmark::kMillisecond);

// ---- Whole containers, in memory: the writer `encryption` streams, and
// the reader `decryption` streams ----

void BM_MakeContainer(benchmark::State& state) {
    const auto cls = static_cast<EncryptionClass>(state.range(0));
    std::size_t written = 0;
    for (auto _ : state) {
        std::size_t readAt = 0;
        StreamContainerFile(
            kSourceSize,
            [&](char* dst, std::size_t n) {
                std::memcpy(dst, Source().data() + readAt, n);
                readAt += n;
            },
            "Secret123", cls, [&](std::string_view piece) { written += piece.size(); });
    }
    benchmark::DoNotOptimize(written);
    SetSourceBytes(state);
    state.SetLabel(cls == EncryptionClass::High ? "high" : "standard");
}
BENCHMARK(BM_MakeContainer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Counts the decoded bytes and keeps none.
class CountingOutput final : public DecodedOutput {
  public:
    void Put(std::string_view bytes) override { count += bytes.size(); }
    void StartOver() override { count = 0; }
    std::size_t count = 0;
};

void BM_ReadContainer(benchmark::State& state) {
    const auto cls = static_cast<EncryptionClass>(state.range(0));
    SetGeneratorState(0);
    const std::string file = test::MakeContainerFile(Source(), "Secret123", cls);
    for (auto _ : state) {
        ContainerReader reader(test::MemorySource(file));
        CountingOutput out;
        reader.Decode(out);
        benchmark::DoNotOptimize(out.count);
    }
    SetSourceBytes(state);
    state.SetLabel(cls == EncryptionClass::High ? "high" : "standard");
}
BENCHMARK(BM_ReadContainer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace imgcrypt

int main(int argc, char** argv) {
    using namespace imgcrypt;
    // One pair of kernel benchmarks per kernel set, the scalar one first.
    const auto addKernels = [](const detail::Base64Kernels* kernels) {
        benchmark::RegisterBenchmark((std::string("BM_EncodeKernels/") + kernels->name).c_str(),
                                     BM_EncodeKernels, kernels)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_DecodeKernels/") + kernels->name).c_str(),
                                     BM_DecodeKernels, kernels)
            ->Unit(benchmark::kMillisecond);
    };
    addKernels(&detail::ScalarBase64Kernels());
    for (const detail::Base64Kernels* kernels : detail::ProcessorBase64Kernels()) addKernels(kernels);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
