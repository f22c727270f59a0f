// Reading and writing typical number texts: the scanner reads every number token with
// RuvoStrToFloat, and every value the system writes goes through RuvoFloatToStr.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "engine/RuvoSub.h"

using namespace tallyon;

namespace {

constexpr std::array<std::string_view, 8> kTexts = {
    "4.7K", "1.5E-3", "0.333333333333333", "123456.789", "2", "100", "2.2U", "30DEG"};

void ReadNumberTexts(benchmark::State& state) {
    for (auto _ : state) {
        for (std::string_view text : kTexts)
            benchmark::DoNotOptimize(RuvoStrToFloat(text));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kTexts.size()));
}
BENCHMARK(ReadNumberTexts);

constexpr std::array<long double, 6> kValues = {4700.0L,     0.0015L, 1.0L / 3,
                                                123456.789L, 2.0L,    2.2e-6L};

void WriteGeneral(benchmark::State& state) {
    for (auto _ : state) {
        for (long double v : kValues)
            benchmark::DoNotOptimize(GeneralNumberText(v));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kValues.size()));
}
BENCHMARK(WriteGeneral);

void WriteEngineering(benchmark::State& state) {
    for (auto _ : state) {
        for (long double v : kValues)
            benchmark::DoNotOptimize(RuvoFloatToStr(3, 15, 2, v));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kValues.size()));
}
BENCHMARK(WriteEngineering);

}  // namespace

BENCHMARK_MAIN();
