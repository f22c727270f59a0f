// Scan and evaluate: typical lines (powers, functions, array reads) and the worst shapes a
// 4,096-character line can take.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "TypicalLines.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

void BM_EvaluateTypical(benchmark::State& state) {
    const std::vector<std::string> lines = TypicalLines();
    TVariableList variables;
    FillTypicalVariables(variables);
    TTinyParser parser;
    parser.SetVariables(&variables);
    size_t i = 0;
    for (auto _ : state) {
        parser.SetExpression(lines[i]);
        parser.Calculate();
        benchmark::DoNotOptimize(parser.ResultValue());
        if (++i == lines.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateTypical);

// Lines of about 4,096 characters in the shapes that cost the reduction most.
std::string WorstShape(int shape) {
    std::string text;
    switch (shape) {
        case 0:  // SUM of 1,000 arguments
            text = "SUM(1";
            for (int i = 1; i < 1000; ++i)
                text += ",1.5";
            return text + ")";
        case 1:  // 2,000 nested brackets
            return std::string(2000, '(') + "1" + std::string(2000, ')');
        case 2:  // 2,048 additions in one stretch
            text = "1";
            while (text.size() < 4094)
                text += "+1";
            return text;
        case 3:  // alternating priorities: every operator is picked from a long stretch
            text = "1";
            for (int i = 0; text.size() < 4090; ++i)
                text += i % 2 == 0 ? "+2^1" : "*1";
            return text;
        case 4:  // 1,365 implied products
            while (text.size() < 4093)
                text += "2 ";
            return text;
        case 5:  // 1,000 bracket pairs side by side, implied products between them
            for (int i = 0; i < 1000; ++i)
                text += "(1)";
            return text;
        case 6:  // 4,000 prefix minus signs
            return std::string(4000, '-') + "1";
        case 7:  // unbalanced: closing brackets only
            return "1" + std::string(4095, ')');
        default:  // unbalanced: opening brackets only
            return std::string(4095, '(') + "1";
    }
}

const char* const kShapeNames[] = {"sum_1000_args",  "nested_2000",  "additions_2048",
                                   "mixed_priority", "implied_1365", "pairs_1000",
                                   "minus_4000",     "closing_only", "opening_only"};

void BM_EvaluateWorstShape(benchmark::State& state) {
    const std::string text = WorstShape(static_cast<int>(state.range(0)));
    state.SetLabel(kShapeNames[state.range(0)]);
    TTinyParser parser;
    for (auto _ : state) {
        parser.SetExpression(text);
        parser.Calculate();
        benchmark::DoNotOptimize(parser.ResultValue());
    }
}
BENCHMARK(BM_EvaluateWorstShape)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

// User-function calls: a recursion that runs into the depth bound, and a chain where each
// level calls the one below twice (2^40 calls unbounded), which runs into the work bound.
void BM_EvaluateRunawayCalls(benchmark::State& state) {
    TVariableList variables;
    variables.Set("REC(X)", "REC(X-1)+1");
    variables.Set("L0(X)", "X+1");
    for (int level = 1; level <= 40; ++level) {
        std::string below("L");
        below.append(std::to_string(level - 1)).append("(X)");
        std::string name("L");
        name.append(std::to_string(level)).append("(X)");
        variables.Set(name, std::string(below).append("+").append(below));
    }
    TTinyParser parser;
    parser.SetVariables(&variables);
    std::string text = state.range(0) == 0 ? "REC(1)" : "L40(1)";
    state.SetLabel(state.range(0) == 0 ? "depth_bound" : "work_bound");
    if (state.range(0) == 2) {
        // A 4,096-character line of runaway calls.
        state.SetLabel("many_runaways");
        while (text.size() < 4090)
            text.append("+REC(1)");
    }
    for (auto _ : state) {
        parser.SetExpression(text);
        parser.Calculate();
        benchmark::DoNotOptimize(parser.ResultValue());
    }
}
BENCHMARK(BM_EvaluateRunawayCalls)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
