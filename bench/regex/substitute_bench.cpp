// Throughput of the global substitution in UTF-8 mode over a 50 MB text of numbers (see
// BenchText.h), with the program's normalising patterns and the replacement ",".
// bench/regex/compare-sed runs the same substitutions through GNU sed on the same text.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchText.h"
#include "regex/DfaRegExp.h"

using namespace tallyon;

namespace {

constexpr std::size_t kTextBytes = 50u << 20;

const std::string& Text() {
    static const std::string text = MakeBenchText(kTextBytes);
    return text;
}

void Substitute(benchmark::State& state, const char* pattern) {
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp(pattern);
    const std::string& source = Text();
    long long replaced = 0;
    for (auto _ : state) {
        std::string text = source;
        replaced = engine.GSub(",", text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(source.size()));
    state.counters["replaced"] = static_cast<double>(replaced);
}

void BM_GSub_CommaWithBlanks(benchmark::State& state) {
    Substitute(state, "[ \\t]+,[ \\t]+");
}
void BM_GSub_Blanks(benchmark::State& state) {
    Substitute(state, "[ \\t]+");
}

// One megabyte of blanks with no comma: every start position walks into the same dead end,
// which the search remembers, so this stays linear.
void BM_GSub_LongBlankRun(benchmark::State& state) {
    TPatternString engine(TTextEncoding::teUtf8);
    engine.SetRegExp("[ \\t]+,[ \\t]+");
    const std::string source = "1" + std::string(1u << 20, ' ') + "2";
    for (auto _ : state) {
        std::string text = source;
        benchmark::DoNotOptimize(engine.GSub(",", text));
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(source.size()));
}

// The copy of the source text alone, to read the substitution's cost beside it.
void BM_CopyText(benchmark::State& state) {
    const std::string& source = Text();
    for (auto _ : state) {
        std::string text = source;
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(source.size()));
}

}  // namespace

BENCHMARK(BM_GSub_CommaWithBlanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GSub_Blanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GSub_LongBlankRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyText)->Unit(benchmark::kMillisecond);
