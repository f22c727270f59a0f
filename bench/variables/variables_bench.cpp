// Calculate again over a long document in the real main window, with the variables window
// hidden and shown. Every other line assigns one of a hundred variables, so the rows take a
// report on every line; shown, the list must still cost little next to the calculation,
// because it catches up once when the program falls idle. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "BenchLines.h"
#include "app/ErrorReport.h"
#include "app/IdleUpdater.h"
#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "document/editor/DocumentEditor.h"
#include "variables/Variables.h"

using namespace tallyon;

namespace {

void EnsureApplication() {
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "variables_bench";
    static char* argv[] = {name, nullptr};
    new TTallyonApplication(argc, argv);
}

QStringList Document(int count) {
    QStringList lines;
    for (const TBenchLine& line : GenerateBenchLines(count, true))
        lines << QString::fromStdString(line.Tallyon);
    return lines;
}

// range(0): lines; range(1): 1 with the variables window shown, 0 hidden.
void BM_CalculateAgainWithVariablesWindow(benchmark::State& state) {
    EnsureApplication();
    ScriptedPrompts prompts;
    auto window = std::make_unique<TFrmMain>();
    window->show();
    QCoreApplication::sendPostedEvents(window.get());
    window->REdit1->showLines(Document(static_cast<int>(state.range(0))));
    if (state.range(1) != 0) window->variablesWindow().show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window->idleUpdater().runNow();
        window->AtnTallyonReCalcExecute();
        QCoreApplication::processEvents();  // the list catches up, the editor paints
    }
    state.counters["rows"] = window->variablesWindow().rows().Count();
    state.counters["errors"] = static_cast<double>(prompts.messages().size());
}
BENCHMARK(BM_CalculateAgainWithVariablesWindow)
    ->ArgNames({"lines", "shown"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
