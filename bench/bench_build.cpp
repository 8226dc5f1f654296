// Whole headless builds: the word list read once, then one complete BuildPuzzle per
// iteration (word table, attempts, drawing on a null picture, the statistics panel),
// all eight directions. Counters: words in the list, words placed and junctions per
// puzzle. BM_YieldGap measures the longest stretch a 40 x 40 build runs between two
// yields to the window system, which bounds how late Cancel takes effect.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "build/BuildPuzzle.h"
#include "files/WordListFile.h"
#include "model/AppContext.h"
#include "model/StartUp.h"
#include "platform/NullPlatform.h"

namespace {

using namespace kivrel;
using Clock = std::chrono::steady_clock;

// Records the longest time between two yields (and before the first and after the last).
class TimingPump : public EventPump {
 public:
  void Start() { last_ = Clock::now(); }
  void Yield() override { Mark(); }
  void Mark() {
    const Clock::time_point now = Clock::now();
    longest = std::max(longest, now - last_);
    last_ = now;
  }
  Clock::duration longest{};

 private:
  Clock::time_point last_;
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
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string error;
    auto parsed = ParseWordList(bytes.str(), &error);
    if (!in || !parsed || !LoadWordList(ctx, *parsed, &error)) throw std::runtime_error(path + ": " + error);
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

void BM_YieldGap(benchmark::State& state, const std::string& path) {
  Headless app(path, true);
  for (auto _ : state) {
    app.timing_pump.Start();
    BuildPuzzle(app.ctx);
    app.timing_pump.Mark();
  }
  state.counters["max_gap_us"] =
      std::chrono::duration<double, std::micro>(app.timing_pump.longest).count();
}

const std::string kExamples = KIVREL_EXAMPLES_DIR;
const std::string kData = KIVREL_BENCH_DATA_DIR;

BENCHMARK_CAPTURE(BM_Build, 15x15_25_words, kExamples + "/animals.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 20x20_50_words, kExamples + "/mathematics.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 40x40_200_words, kData + "/words-200.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Build, 12x12_30_words_tight, kData + "/tight-30.kvl")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_YieldGap, 40x40_200_words, kData + "/words-200.kvl")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
