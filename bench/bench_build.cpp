// Whole headless builds: the word list read once, then one complete BuildPuzzle per
// iteration (word table, attempts, drawing on a null picture, the statistics panel),
// all eight directions. Counters: words in the list, words placed and junctions per
// puzzle. BM_YieldGap measures the longest stretch a 40 x 40 build runs between two
// yields to the window system, which bounds how late Cancel takes effect. It counts
// the thread's own processor time, so time the system gives other programs is left out.
// BM_DefaultSize times the trial builds of Default Dimensions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/BuildCommands.h"
#include "platform/NullPlatform.h"
#include "program/AppContext.h"
#include "program/StartUp.h"
#include "program/WordTable.h"
#include "ListFile.h"
#include "ThreadClock.h"

namespace {

using namespace kivrel;
// Records the longest time between two yields (and before the first and after the last).
class TimingPump : public EventPump {
 public:
  void Start() { last_ = ThreadNanoseconds(); }
  void Yield() override { Mark(); }
  void Mark() {
    const long long now = ThreadNanoseconds();
    longest = std::max(longest, now - last_);
    last_ = now;
  }
  long long longest = 0;

 private:
  long long last_ = 0;
};

struct Headless {
  NullDialogs dialogs;
  NullEventPump null_pump;
  TimingPump timing_pump;
  NullBeeper beeper;
  FixedWindowMetrics metrics;
  NullSurface picture;
  AppContext ctx;

  Headless(const std::string& path, bool timed)
      : ctx(dialogs, timed ? static_cast<EventPump&>(timing_pump) : null_pump, beeper, metrics, picture) {
    StartUp(ctx, 1);
    LoadListFile(ctx, path);
    ctx.state.IncludeDiagonals = 1;
  }
};

void BM_Build(benchmark::State& state, const std::string& path) {
  Headless app(path, false);
  const PuzzleState& s = app.ctx.state;
  double placed = 0;
  double junctions = 0;
  for (auto _ : state) {
    BuildPuzzle(app.ctx);
    placed += s.InsertedCount;
    junctions += s.JunctionCount;
  }
  state.counters["words"] = s.WordCount;
  state.counters["placed"] = benchmark::Counter(placed, benchmark::Counter::kAvgIterations);
  state.counters["junctions"] = benchmark::Counter(junctions, benchmark::Counter::kAvgIterations);
  state.SetLabel(std::to_string(s.PuzzleWidth) + " x " + std::to_string(s.PuzzleHeight));
}

// Counters: the longest stretch of all builds (the first build also pays for cold
// caches and fresh memory) and the median of each build's longest stretch.
void BM_YieldGap(benchmark::State& state, const std::string& path) {
  Headless app(path, true);
  std::vector<long long> per_build;
  for (auto _ : state) {
    app.timing_pump.longest = 0;
    app.timing_pump.Start();
    BuildPuzzle(app.ctx);
    app.timing_pump.Mark();
    per_build.push_back(app.timing_pump.longest);
  }
  std::sort(per_build.begin(), per_build.end());
  state.counters["max_gap_us"] = static_cast<double>(per_build.back()) / 1000.0;
  state.counters["median_gap_us"] = static_cast<double>(per_build[per_build.size() / 2]) / 1000.0;
}

// Default Dimensions: the trial builds that grow the proposed size until every word of
// the list finds a place. The label is the size proposed.
void BM_DefaultSize(benchmark::State& state, const std::string& path) {
  Headless app(path, false);
  PuzzleState proposed = app.ctx.state;
  for (auto _ : state) {
    proposed = app.ctx.state;
    ComputeTrialDimensions(proposed, app.ctx.list, 0);
  }
  state.SetLabel(std::to_string(proposed.PuzzleWidth) + " x " + std::to_string(proposed.PuzzleHeight));
}

const std::string kExamples = KIVREL_EXAMPLES_DIR;
const std::string kData = KIVREL_BENCH_DATA_DIR;

BENCHMARK_CAPTURE(BM_Build, 15x15_25_words, kExamples + "/animals.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 20x20_50_words, kExamples + "/mathematics.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 40x40_200_words, kData + "/words-200.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 12x12_30_words_tight, kData + "/tight-30.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_YieldGap, 40x40_200_words, kData + "/words-200.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultSize, 25_words, kExamples + "/animals.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultSize, 200_words, kData + "/words-200.kvl")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
