// Scanner throughput over typical engineering expressions (data/typical.txt: suffixed
// numbers, functions, brackets, assignments, array elements; 20 to 60 characters).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "TypicalLines.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

void BM_TokenizeTypical(benchmark::State& state) {
    const std::vector<std::string> lines = TypicalLines();
    TTinyParser parser;
    size_t i = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string& line = lines[i];
        parser.SetExpression(line);
        parser.Tokenize();
        benchmark::DoNotOptimize(parser.Terms().Count());
        bytes += line.size();
        if (++i == lines.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_TokenizeTypical);

// One long line of typical expressions joined by "+": scanning time grows with the length.
void BM_TokenizeLong(benchmark::State& state) {
    const std::vector<std::string> lines = TypicalLines();
    std::string text;
    for (size_t i = 0; text.size() < static_cast<size_t>(state.range(0)); ++i) {
        if (!text.empty()) text += " + ";
        std::string line = lines[i % lines.size()];
        for (char& c : line) {
            if (c == ':') c = ' ';  // no assignments in the middle of the long line
        }
        text += "(" + line + ")";
    }
    TTinyParser parser;
    for (auto _ : state) {
        parser.SetExpression(text);
        parser.Tokenize();
        benchmark::DoNotOptimize(parser.Terms().Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TokenizeLong)->Arg(4096)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
