// The component as the host drives it: SetExpression then ResultValue over the typical
// lines, with a 1,000-entry variables list, a few user functions and an assignment handler.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "TypicalLines.h"
#include "engine/TinyParseEngine.h"

using namespace tallyon;

namespace {

void BM_ComponentTypical(benchmark::State& state) {
    const std::vector<std::string> lines = TypicalLines();
    TVariableList variables;
    for (int i = 0; i < 985; ++i) {
        const std::string number = std::to_string(i);
        variables.Set(std::string("V").append(number), std::string(number).append(".5K"));
    }
    FillTypicalVariables(variables);
    variables.Set("ANS", "42");
    variables.Set("_ANS", "42");
    variables.Set("AREA(R)", "_PI*R^2");
    variables.Set("K(X)", "F(X)+G(X,1)");
    TTinyParser parser;
    parser.SetVariables(&variables);
    int notified = 0;
    parser.SetOnSubstitute([&](TTinyParser&, std::string&, std::string&, int) { ++notified; });
    size_t i = 0;
    for (auto _ : state) {
        parser.SetExpression(lines[i]);
        benchmark::DoNotOptimize(parser.ResultValue());
        if (++i == lines.size()) i = 0;
    }
    benchmark::DoNotOptimize(notified);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComponentTypical);

}  // namespace
