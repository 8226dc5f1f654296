// One full layout of the preview page for the largest puzzle: a 99 x 99 grid with 200
// placed words, drawn on the preview's retained page image (12240 x 15840 twips at
// screen resolution). The preview is laid out again on every change of a print option,
// so this must stay well inside interactive time.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <string>

#include "qt/QtSurface.h"
#include "print/PageDrawing.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "program/WindowTitle.h"

namespace {

using namespace kivrel;

struct BigPuzzle {
  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  QtImageSurface preview{12240, 15840};

  BigPuzzle() {
    StartUp(ctx, 42);
    PuzzleState& s = ctx.state;
    s.PuzzleWidth = s.PuzzleHeight = 99;
    s.Grid.Create(99, 99);
    s.PuzzleTitle = "The Largest Puzzle Kivrel Makes";
    SetWindowTitle(ctx);
    s.PuzzleInstructions =
        "Find the two hundred words hidden in the grid. They read across, down and along both diagonals, "
        "forwards and backwards, and may cross one another where their letters agree.";
    // 200 words of 5 to 12 letters in every direction; a few carry a note.
    const char* const letters = "ETAOINSHRDLUCMFWYPGBVKXJQZ";
    for (int k = 1; k <= 200; ++k) {
      WordRecord word;
      int length = 5 + k % 8;
      for (int i = 0; i < length; ++i) word.Text += letters[static_cast<std::size_t>((k * 7 + i * 3) % 26)];
      word.DisplayText = k % 10 == 0 ? word.Text + " [note]" : word.Text;
      word.Length = static_cast<i16>(length);
      word.Status = kStatusPlaced;
      word.Direction = static_cast<i16>(1 + k % 8);
      word.StartRow = static_cast<i16>(15 + (k * 37) % 70);
      word.StartCol = static_cast<i16>(15 + (k * 53) % 70);
      for (int i = 0; i < length; ++i) {
        CellRecord& cell = s.Grid.At(word.StartRow + i * s.RowStep[static_cast<std::size_t>(word.Direction)],
                                     word.StartCol + i * s.ColStep[static_cast<std::size_t>(word.Direction)]);
        cell.Letter = std::string(1, word.Text[static_cast<std::size_t>(i)]);
        ++cell.UseCount;
      }
      s.Words.push_back(word);
    }
    s.WordCount = s.InsertedCount = 200;
    for (int r = 1; r <= 99; ++r) {
      for (int c = 1; c <= 99; ++c) {
        if (s.Grid.At(r, c).Letter.empty()) s.Grid.At(r, c).Letter = std::string(1, letters[(r * 5 + c) % 26]);
      }
    }
    preview.MeasureAsPaper();  // as the program's preview measures
    ctx.preview = &preview;
  }
};

void BM_PreviewPage99x99(benchmark::State& state) {
  BigPuzzle puzzle;
  puzzle.ctx.print.OutlineWords = state.range(0);
  for (auto _ : state) {
    DrawPreviewPage(puzzle.ctx);
    benchmark::DoNotOptimize(puzzle.ctx.page.PuzzleBottom);
  }
}
BENCHMARK(BM_PreviewPage99x99)->Arg(0)->Arg(1)->ArgName("outlines")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
