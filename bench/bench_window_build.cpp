// A 40 x 40 build of 200 words drawn live in the main window against the same build
// with no display, same list and seed. The window build runs the whole program on
// Qt's offscreen platform (unless QT_QPA_PLATFORM names another): every letter is drawn
// on the picture, the statistics labels count, and the event loop runs (and repaints
// the window) at most every 15 ms, as in use; each build ends with the repaint that
// shows the whole finished grid. The headless build draws on a
// null picture and never yields. Counters: words placed and junctions, which agree
// between the two.
//
// Both build the same puzzle again and again, so nothing on the window changes but the
// picture, and the processor learns the search's every branch. BM_WindowNewPuzzles and
// BM_HeadlessNewPuzzles build a new puzzle each time instead (one of 97 seeds in turn),
// as a user pressing Build again does: the statistics change and are repainted too.
// BM_WindowAgainstHeadless builds such puzzles in the window and with no display in
// turn and reports the ratio of their processor times (`times`), which a busy machine
// shifts far less than it shifts two benchmarks run one after the other. Its argument
// is how many builds of one kind run before the other's: with 1 each build finds the
// caches and branch history left by the other program; with 16 each kind runs mostly
// as it does on its own, as a user's window builds do, and the turns still come every
// few tens of milliseconds, too often for the machine's load to favour one kind.
//
// BM_CancelLatency presses Cancel (through the event queue, as a click arrives) in the
// middle of a window build that would otherwise start over for ever, and measures from
// the moment of the press to the moment the build has ended: the mean and the worst.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/BuildCommands.h"
#include "platform/NullPlatform.h"
#include "program/CommandStates.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "ui/KivrelApp.h"
#include "ListFile.h"
#include "ThreadClock.h"

namespace {

using namespace kivrel;

constexpr std::uint64_t kSeed = 1;
const std::string kList = std::string(KIVREL_BENCH_DATA_DIR) + "/words-200.kvl";

void Report(benchmark::State& state, const PuzzleState& s, double placed, double junctions) {
  state.counters["placed"] = benchmark::Counter(placed, benchmark::Counter::kAvgIterations);
  state.counters["junctions"] = benchmark::Counter(junctions, benchmark::Counter::kAvgIterations);
  state.SetLabel(std::to_string(s.WordCount) + " words, " + std::to_string(s.PuzzleWidth) + " x " +
                 std::to_string(s.PuzzleHeight));
}

// The whole program with its windows, started, the list read and ready to build.
struct WindowProgram {
  NullDialogs dialogs;
  KivrelApp app{&dialogs};
  AppContext& ctx = app.context();
  Form& main = ctx.MainForm();

  WindowProgram() {
    app.Start(kSeed);
    LoadListFile(ctx, kList);
    SetListReadyState(ctx);
    QApplication::processEvents();
  }
  void Build(std::uint64_t seed) {
    ctx.rng.Seed(seed);
    main.Raise(frmKV_Puzzle::cmdBuild, Event::Click);  // the Build button: BuildPuzzle in the window
    QApplication::processEvents();                     // the last repaint
  }
};

// The program with no display, started and the list read.
struct NoDisplayProgram {
  HeadlessProgram program;
  AppContext& ctx = program.ctx;

  NoDisplayProgram() {
    StartUp(ctx, kSeed);
    LoadListFile(ctx, kList);
  }
  void Build(std::uint64_t seed) {
    ctx.rng.Seed(seed);
    BuildPuzzle(ctx);
  }
};

// The seed of a build: the same every time, or, for a new puzzle every build as a user
// pressing Build again gets, one of 97 in turn.
template <bool kNewPuzzles>
std::uint64_t SeedOf(std::uint64_t build) {
  return kNewPuzzles ? kSeed + build % 97 : kSeed;
}

template <typename Program, bool kNewPuzzles>
void Builds(benchmark::State& state) {
  Program program;
  double placed = 0, junctions = 0;
  std::uint64_t build = 0;
  for (auto _ : state) {
    program.Build(SeedOf<kNewPuzzles>(build++));
    placed += program.ctx.state.InsertedCount;
    junctions += program.ctx.state.JunctionCount;
  }
  Report(state, program.ctx.state, placed, junctions);
}

// New puzzles in the window, then the same with no display, in turn, each timed on the
// thread's processor clock: whatever else the machine does falls on both alike, so
// their ratio holds where the two benchmarks above, run one after the other, drift.
void BM_WindowAgainstHeadless(benchmark::State& state) {
  const auto run = static_cast<std::uint64_t>(state.range(0));
  WindowProgram window;
  NoDisplayProgram headless;
  long long window_ns = 0, headless_ns = 0;
  std::uint64_t build = 0;
  std::vector<int> junctions(run);
  for (auto _ : state) {
    const long long start = ThreadNanoseconds();
    for (std::uint64_t i = 0; i < run; ++i) {
      window.Build(SeedOf<true>(build + i));
      junctions[i] = window.ctx.state.JunctionCount;
    }
    const long long middle = ThreadNanoseconds();
    for (std::uint64_t i = 0; i < run; ++i) {
      headless.Build(SeedOf<true>(build + i));
      if (headless.ctx.state.JunctionCount != junctions[i]) state.SkipWithError("the builds differ");
    }
    window_ns += middle - start;
    headless_ns += ThreadNanoseconds() - middle;
    build += run;
  }
  const double builds = static_cast<double>(build);
  state.counters["window_ms"] = static_cast<double>(window_ns) / builds / 1e6;
  state.counters["headless_ms"] = static_cast<double>(headless_ns) / builds / 1e6;
  state.counters["times"] = static_cast<double>(window_ns) / static_cast<double>(headless_ns);
}

void BM_CancelLatency(benchmark::State& state) {
  WindowProgram program;
  AppContext& ctx = program.ctx;
  Form& main = program.main;
  // One empty cell can never remain in this grid, so every attempt starts another.
  ctx.state.StopRemainingOperator = "=";
  ctx.state.StopRemainingCount = 1;
  constexpr qint64 kPressAfterNs = 40'000'000;  // within the second or third attempt
  double total_ms = 0, worst_ms = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    QTimer::singleShot(kPressAfterNs / 1'000'000, [&] { main.Raise(frmKV_Puzzle::cmdCancel, Event::Click); });
    clock.start();
    main.Raise(frmKV_Puzzle::cmdBuild, Event::Click);
    // The press was due at kPressAfterNs; waiting in the queue counts as latency.
    double latency_ms = static_cast<double>(clock.nsecsElapsed() - kPressAfterNs) / 1e6;
    total_ms += latency_ms;
    worst_ms = std::max(worst_ms, latency_ms);
    QApplication::processEvents();
  }
  state.counters["mean_ms"] = total_ms / static_cast<double>(state.iterations());
  state.counters["worst_ms"] = worst_ms;
}

BENCHMARK(Builds<WindowProgram, false>)->Name("BM_WindowBuild")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CancelLatency)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(Builds<NoDisplayProgram, false>)->Name("BM_HeadlessBuild")->Unit(benchmark::kMillisecond);
BENCHMARK(Builds<WindowProgram, true>)->Name("BM_WindowNewPuzzles")->Unit(benchmark::kMillisecond);
BENCHMARK(Builds<NoDisplayProgram, true>)->Name("BM_HeadlessNewPuzzles")->Unit(benchmark::kMillisecond);
// One build of each in turn, and runs of 16 of each in turn.
BENCHMARK(BM_WindowAgainstHeadless)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The offscreen platform notes every raise() it cannot do; the figures are the point here.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg)
      std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  QApplication qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
