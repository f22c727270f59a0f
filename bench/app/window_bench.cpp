// The main window under load: Calculate again over a long document (10,000 and 100,000
// lines, beside the same calculation over the document held in memory, as the command-line
// calculator runs it), one key press at the end of a 10,000-line document, and the resident
// memory after repeated recalculation.
// Runs offscreen: QT_QPA_PLATFORM=offscreen is set here when the caller has not set it.
// "window_bench --write-document COUNT FILE" writes the long document instead, with CR LF
// line breaks, so that bench/app/compare-window can time tallyon-calc on the same lines.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "app/ErrorReport.h"
#include "app/IdleUpdater.h"
#include "app/MainWnd.h"
#include "app/Prompts.h"
#include "document/CalcDocument.h"
#include "document/MemoryLineDocument.h"
#include "document/editor/DocumentEditor.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"

using namespace tallyon;

namespace {

using tallyon::TFrmMain;

constexpr int kLines = 10000;

void EnsureApplication() {
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "window_bench";
    static char* argv[] = {name, nullptr};
    new tallyon::TTallyonApplication(argc, argv);
}

// An engineering session repeated: assignments, unit suffixes, functions, comments.
std::vector<std::string> LongDocumentLines(int count) {
    static const char* const kPattern[] = {
        "R1 := 4.7K",  "R2 := 10K",    "R1 // R2",  "_F := 1K", "CAP(1U) ; reactance",
        "SQRT(R1*R2)", "SIN(_PI/6)*2", "ANS^2 + 1", "",         "x := x + 1",
    };
    std::vector<std::string> lines;
    lines.emplace_back("x := 0");
    for (int i = 1; i < count; ++i)
        lines.emplace_back(kPattern[i % 10]);
    return lines;
}

QStringList LongDocument(int count) {
    QStringList lines;
    for (const std::string& line : LongDocumentLines(count))
        lines << QString::fromStdString(line);
    return lines;
}

std::unique_ptr<TFrmMain> OpenWindow(int count = kLines) {
    EnsureApplication();
    auto window = std::make_unique<TFrmMain>();
    window->show();
    QCoreApplication::sendPostedEvents(window.get());
    window->REdit1->showLines(LongDocument(count));
    QCoreApplication::processEvents();
    return window;
}

void Recalculate(TFrmMain& window) {
    window.idleUpdater().runNow();
    window.AtnTallyonReCalcExecute();
}

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        std::getline(status, key);
    }
    return 0;
}

// Bytes handed out by the allocator, large blocks mapped on their own included.
double HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The argument is the line count.
void BM_CalculateAgain(benchmark::State& state) {
    tallyon::ScriptedPrompts prompts;
    auto window = OpenWindow(static_cast<int>(state.range(0)));
    // CPU time of the first round (which writes every answer into the document as opened)
    // and the mean of the later ones (which find the answers in place).
    double first = 0;
    double later = 0;
    int round = 0;
    for (auto _ : state) {
        const double start = CpuMilliseconds();
        Recalculate(*window);
        QCoreApplication::processEvents();  // let the editor lay out and paint
        (round++ == 0 ? first : later) += CpuMilliseconds() - start;
    }
    state.counters["first_ms"] = first;
    state.counters["later_ms"] = round > 1 ? later / (round - 1) : 0;
    state.counters["lines"] = window->REdit1->lineCount();
    state.counters["errors"] = static_cast<double>(prompts.messages().size());
}
BENCHMARK(BM_CalculateAgain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same calculation over the document in memory, as the command-line calculator runs it:
// the window's time divided by this one is what the window adds.
void BM_CalculateAgainInMemory(benchmark::State& state) {
    const TSettingsRecord settings;
    // Calculated once first, as the window's document is after its first round.
    std::vector<std::string> lines = LongDocumentLines(static_cast<int>(state.range(0)));
    {
        TMemoryLineDocument document(lines);
        TVariableList variables;
        TCalcDocument(document, variables, settings).CalculateAgain();
        lines = document.TextLines();
    }
    for (auto _ : state) {
        TMemoryLineDocument document(lines);
        TVariableList variables;
        TCalcDocument calc(document, variables, settings);
        calc.CalculateAgain();
        benchmark::DoNotOptimize(document.TextLine(0).data());
    }
}
BENCHMARK(BM_CalculateAgainInMemory)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// A window with the calculated document, the caret at its end and the focus on it.
std::unique_ptr<TFrmMain> OpenCalculatedWindowAtEnd() {
    auto window = OpenWindow();
    Recalculate(*window);
    window->REdit1->moveCursor(QTextCursor::End);
    window->REdit1->setFocus();
    return window;
}

void BM_KeyPressAtTheEndOfTenThousandLines(benchmark::State& state) {
    tallyon::ScriptedPrompts prompts;
    auto window = OpenCalculatedWindowAtEnd();
    for (auto _ : state) {
        QTest::keyClick(window->REdit1, Qt::Key_1);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_KeyPressAtTheEndOfTenThousandLines)->Unit(benchmark::kMicrosecond);

void BM_ReturnAtTheEndOfTenThousandLines(benchmark::State& state) {
    tallyon::ScriptedPrompts prompts;
    auto window = OpenCalculatedWindowAtEnd();
    for (auto _ : state) {
        QTest::keyClicks(window->REdit1, "2*3");
        QTest::keyClick(window->REdit1, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ReturnAtTheEndOfTenThousandLines)->Unit(benchmark::kMicrosecond);

// Resident memory growth across repeated recalculation, after a first warm-up round.
void BM_MemoryAcrossRecalculation(benchmark::State& state) {
    tallyon::ScriptedPrompts prompts;
    auto window = OpenWindow();
    Recalculate(*window);
    Recalculate(*window);
    const long before = ResidentKilobytes();
    const auto heapBefore = HeapBytes();
    for (auto _ : state)
        Recalculate(*window);
    QCoreApplication::processEvents();
    state.counters["rss_before_kb"] = static_cast<double>(before);
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKilobytes() - before);
    // Bytes the allocator hands out: growth here is memory kept, not fragmentation.
    state.counters["heap_growth_kb"] = (HeapBytes() - heapBefore) / 1024;
}
BENCHMARK(BM_MemoryAcrossRecalculation)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--write-document") {
        std::ofstream out(argv[3], std::ios::binary);
        for (const std::string& line : LongDocumentLines(std::stoi(argv[2])))
            out << line << "\r\n";
        return out ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
