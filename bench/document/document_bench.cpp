// Calculate again over generated documents in memory: lines per second of the whole document
// core (line model, parser, answer format, line rewriting), without file input and output.
#include <benchmark/benchmark.h>

#include "BenchLines.h"
#include "document/CalcDocument.h"
#include "document/MemoryLineDocument.h"

using namespace tallyon;

namespace {

std::vector<std::string> TallyonLines(int count, bool assignments) {
    std::vector<std::string> lines;
    for (const TBenchLine& line : GenerateBenchLines(count, assignments))
        lines.push_back(line.Tallyon);
    return lines;
}

void CalculateAgain(benchmark::State& state, bool assignments) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<std::string> lines = TallyonLines(count, assignments);
    TSettingsRecord settings;
    for (auto _ : state) {
        state.PauseTiming();
        TMemoryLineDocument document(lines);
        TVariableList variables;
        TCalcDocument calc(document, variables, settings);
        state.ResumeTiming();
        calc.CalculateAgain();
        benchmark::DoNotOptimize(document.TextLine(0).data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_CalculateAgainPlain(benchmark::State& state) {
    CalculateAgain(state, false);
}
void BM_CalculateAgainAssignments(benchmark::State& state) {
    CalculateAgain(state, true);
}

// Ten times the lines must take about ten times as long: nothing per line grows with the
// document.
BENCHMARK(BM_CalculateAgainPlain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateAgainAssignments)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
