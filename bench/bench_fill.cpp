// The fill of a built puzzle, headless: one iteration fills the blanks and takes the
// fill letters away again. BM_Fill/checked looks for words found twice and re-draws
// letters until none is left (the No Duplicate Words mark on); BM_Fill/plain is the
// one-draw-per-blank fill (the mark off); BM_Fill/avoid_10000 is checked with 10,000
// three-letter words to avoid, so many that no fill can clear them all and every fill
// runs all its rounds. The counter redrawn is the mean number of fill letters drawn
// again per fill.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "commands/BuildCommands.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "ListFile.h"

namespace {

using namespace kivrel;

void BuildFrom(HeadlessProgram& program, const std::string& path, int side) {
  AppContext& ctx = program.ctx;
  StartUp(ctx, 1);
  LoadListFile(ctx, path);
  ctx.state.PuzzleWidth = ctx.state.PuzzleHeight = static_cast<i16>(side);
  ctx.state.IncludeDiagonals = 1;
  BuildPuzzle(ctx);
}

// 10,000 of the 17,576 words of three letters A-Z, spread over all of them.
std::vector<std::string> ThreeLetterWords() {
  std::vector<std::string> words;
  for (int i = 0; i < 26 * 26 * 26; ++i) {
    if (i * 7919 % (26 * 26 * 26) >= 10000) continue;
    words.push_back(
        {static_cast<char>('A' + i / 676), static_cast<char>('A' + i / 26 % 26), static_cast<char>('A' + i % 26)});
  }
  return words;
}

void BM_Fill(benchmark::State& state, const std::string& path, int side, bool checked, bool avoid = false) {
  HeadlessProgram program;
  BuildFrom(program, path, side);
  program.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, checked);
  if (avoid) program.ctx.AvoidWords = ThreeLetterWords();
  long long redrawn = 0;
  for (auto _ : state) {
    redrawn += FillInBlanks(program.ctx).Redrawn;
    FillInBlanks(program.ctx);
  }
  state.counters["redrawn"] = benchmark::Counter(static_cast<double>(redrawn), benchmark::Counter::kAvgIterations);
}

const std::string kExamples = KIVREL_EXAMPLES_DIR;
const std::string kData = KIVREL_BENCH_DATA_DIR;

BENCHMARK_CAPTURE(BM_Fill, 15x15_25_words / plain, kExamples + "/animals.kvl", 15, false);
BENCHMARK_CAPTURE(BM_Fill, 15x15_25_words / checked, kExamples + "/animals.kvl", 15, true);
BENCHMARK_CAPTURE(BM_Fill, 20x20_50_words / plain, kExamples + "/mathematics.kvl", 20, false);
BENCHMARK_CAPTURE(BM_Fill, 20x20_50_words / checked, kExamples + "/mathematics.kvl", 20, true);
BENCHMARK_CAPTURE(BM_Fill, 40x40_200_words / plain, kData + "/words-200.kvl", 40, false);
BENCHMARK_CAPTURE(BM_Fill, 40x40_200_words / checked, kData + "/words-200.kvl", 40, true);
BENCHMARK_CAPTURE(BM_Fill, 99x99_200_words / checked, kData + "/words-200.kvl", 99, true);
BENCHMARK_CAPTURE(BM_Fill, 99x99_200_words / avoid_10000, kData + "/words-200.kvl", 99, true, true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
