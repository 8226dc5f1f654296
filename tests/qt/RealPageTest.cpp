// The printed page on real surfaces: a PDF at 1200 dots per inch (what Qt's printers
// draw at), read back with pdftotext and rendered with pdftoppm, and the preview page
// (an image at screen resolution) and the PNG page (300 dots per inch) read pixel by
// pixel. For square and oblong grids from 5 to 99 letters with 25 to 200 words, the
// frame and the letters are drawn on the grid the layout placed, to a pixel; nothing is
// drawn outside the margins; the word list never touches the grid; and every placed
// word is printed.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "TestApp.h"
#include "qt/QtSurface.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

struct Case {
  int columns, rows, words;
};
const Case kCases[] = {{5, 5, 25},     {12, 12, 25},   {20, 20, 100},  {31, 31, 200},
                       {40, 40, 200},  {55, 55, 200},  {66, 66, 200},  {80, 80, 200},
                       {99, 99, 200},  {40, 15, 150},  {20, 30, 60},  {99, 40, 200}};

std::string Describe(const Case& c) {
  return std::to_string(c.columns) + " x " + std::to_string(c.rows) + ", " + std::to_string(c.words) + " words";
}

std::vector<std::string> BenchWords() {
  std::ifstream file(KIVREL_BENCH_DATA_DIR "/words-200.kvl");
  std::vector<std::string> words;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.find('\t') == std::string::npos) words.push_back(line);
  }
  return words;
}

// A started program whose grid has the case's size, full of letters (wide and narrow
// ones), with the case's number of words placed across or down, as a build would
// leave them for the page.
void MakePuzzle(AppContext& ctx, const Case& c) {
  StartUp(ctx, 1);
  testing::MakeGrid(ctx, c.columns, c.rows);
  testing::SetTitle(ctx, "Two hundred words");
  ctx.state.PuzzleInstructions = "Find the words hidden in the grid.\nGood luck!";
  int placed = 0;
  for (const std::string& word : BenchWords()) {
    if (placed == c.words) break;
    const int length = static_cast<int>(word.size());
    if (length <= c.columns) {
      testing::PlaceWord(ctx, word, placed % c.rows + 1, 1, 1);
    } else if (length <= c.rows) {
      testing::PlaceWord(ctx, word, 1, placed % c.columns + 1, 3);
    } else {
      continue;
    }
    ++placed;
  }
  ASSERT_EQ(placed, c.words);
  const std::string fill = "WMIAQXLJ";
  for (int r = 1; r <= c.rows; ++r) {
    for (int col = 1; col <= c.columns; ++col) {
      CellRecord& cell = ctx.state.Grid.At(r, col);
      if (cell.UseCount == 0) cell.Letter = std::string(1, fill[static_cast<std::size_t>(r + col) % fill.size()]);
    }
  }
  ctx.state.BlanksFilled = kTrue;
}

// A page image with `twips` twips to a pixel, and what the layout said of the page.
class PageImage {
 public:
  PageImage(QImage image, double twips) : image_(std::move(image)), twips_(twips) {}

  // A line's pixel; any ink at all, for the thin grey strokes of small smoothed letters.
  bool Dark(int x, int y) const { return Grey(x, y) < 160; }
  bool Ink(int x, int y) const { return Grey(x, y) < 250; }
  int Grey(int x, int y) const {
    return x >= 0 && y >= 0 && x < image_.width() && y < image_.height() ? qGray(image_.pixel(x, y)) : 255;
  }
  int Px(double twips) const { return static_cast<int>(std::floor(twips / twips_)); }

  // Whether a line of ink runs down (or across) at `at` twips, to a pixel, over most of
  // the span from `from` to `to`.
  bool LineAt(double at, double from, double to, bool down) const {
    for (int offset = -1; offset <= 1; ++offset) {
      int dark = 0, all = 0;
      for (int i = Px(from) + 2; i <= Px(to) - 2; ++i, ++all) {
        dark += down ? Dark(Px(at) + offset, i) : Dark(i, Px(at) + offset);
      }
      if (all > 0 && dark >= all * 9 / 10) return true;
    }
    return false;
  }

  // The first dark pixel (in twips) outside the rectangle grown by `slack` pixels, as
  // "x, y", or "" when all ink is inside.
  std::string InkOutside(const Rect& r, int slack) const {
    const int left = Px(r.Left) - slack, top = Px(r.Top) - slack;
    const int right = Px(r.Left + r.Width) + slack, bottom = Px(r.Top + r.Height) + slack;
    for (int y = 0; y < image_.height(); ++y) {
      for (int x = 0; x < image_.width(); ++x) {
        if ((x < left || x > right || y < top || y > bottom) && Ink(x, y)) {
          return std::to_string(x * twips_) + ", " + std::to_string(y * twips_);
        }
      }
    }
    return {};
  }

  bool InkIn(int left, int top, int right, int bottom) const {
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        if (Ink(x, y)) return true;
      }
    }
    return false;
  }

  // The grid as laid out: the frame to a pixel on the rectangle, every letter's ink
  // inside the frame and in its own cell, and no ink of the grid block outside it.
  void ExpectGridOnLayout(const AppContext& ctx, const std::string& where) const {
    const PageLayout& p = ctx.page;
    const double right = p.PuzzleLeft + p.GridWidth, bottom = p.PuzzleTop + p.GridHeight;
    EXPECT_TRUE(LineAt(p.PuzzleLeft, p.PuzzleTop, bottom, true)) << where << ": the frame's left side";
    EXPECT_TRUE(LineAt(right, p.PuzzleTop, bottom, true)) << where << ": the frame's right side";
    EXPECT_TRUE(LineAt(p.PuzzleTop, p.PuzzleLeft, right, false)) << where << ": the frame's top";
    EXPECT_TRUE(LineAt(bottom, p.PuzzleLeft, right, false)) << where << ": the frame's bottom";
    // Nothing of the grid beyond its frame: the strip two to five pixels outside each
    // side, along the grid, holds no ink.
    const int l = Px(p.PuzzleLeft), t = Px(p.PuzzleTop), r = Px(right), b = Px(bottom);
    EXPECT_FALSE(InkIn(r + 2, t, r + 5, b)) << where << ": ink right of the frame";
    EXPECT_FALSE(InkIn(l, b + 2, r, b + 5)) << where << ": ink below the frame";
    EXPECT_FALSE(InkIn(l - 5, t, l - 2, b)) << where << ": ink left of the frame";
    const int cell = p.GridWidth / ctx.state.Grid.Width();
    for (int row = 1; row <= ctx.state.Grid.Height(); ++row) {
      for (int col = 1; col <= ctx.state.Grid.Width(); ++col) {
        const double x = p.PuzzleLeft + (col - 1.0) * cell, y = p.PuzzleTop + (row - 1.0) * cell;
        if (!InkIn(Px(x) + 1, Px(y) + 1, Px(x + cell) - 1, Px(y + cell) - 1)) {
          ADD_FAILURE() << where << ": no letter in row " << row << ", column " << col;
          return;
        }
      }
    }
  }

  const QImage& image() const { return image_; }

 private:
  QImage image_;
  double twips_;
};

Rect Inside(const PageLayout& p, double width, double height) {
  return {p.LeftMargin, p.TopMargin, static_cast<int>(width) - p.LeftMargin - p.RightMargin,
          static_cast<int>(height) - p.TopMargin - p.BottomMargin};
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

TEST(RealPage, PdfAt1200DotsPerInchIsDrawnAsLaidOut) {
  testing::TempDir dir;
  for (const Case& c : kCases) {
    const std::string where = Describe(c);
    testing::TestApp app;
    AppContext& ctx = app.ctx;
    MakePuzzle(ctx, c);
    const std::string pdf = dir.File("page.pdf");
    {
      QPdfWriter writer(QString::fromStdString(pdf));
      writer.setResolution(1200);
      writer.setPageSize(QPageSize(QPageSize::Letter));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      QtSurface page(&writer);
      DrawPrinterPage(ctx, page);
    }
    const PageLayout& p = ctx.page;
    ASSERT_TRUE(ctx.printed.ListFits) << where;
    EXPECT_FALSE(Overlap(ctx.printed.ColumnList.Bounds, ctx.printed.Puzzle.Bounds)) << where;

    // The words on the page: title, letters and list entries where the layout put them,
    // every one inside the margins, and none of the list over the grid.
    auto pages = testing::ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u) << where;
    testing::ExpectPageMatchesLayout(ctx, pages[0]);
    const Rect inside = Inside(p, 12240, 15840);
    const Rect& grid = ctx.printed.Puzzle.Bounds;
    const double slack = 1;  // points
    for (const testing::PdfWord& word : pages[0]) {
      EXPECT_TRUE(word.xMin >= inside.Left / 20.0 - slack && word.yMin >= inside.Top / 20.0 - slack &&
                  word.xMax <= (inside.Left + inside.Width) / 20.0 + slack &&
                  word.yMax <= (inside.Top + inside.Height) / 20.0 + slack)
          << where << ": \"" << word.text << "\" outside the margins at " << word.xMin << ", " << word.yMin;
      const bool in_grid = word.xMin >= grid.Left / 20.0 - slack && word.yMin >= grid.Top / 20.0 - slack &&
                           word.xMax <= (grid.Left + grid.Width) / 20.0 + slack &&
                           word.yMax <= (grid.Top + grid.Height) / 20.0 + slack;
      const Rect box{static_cast<int>(word.xMin * 20), static_cast<int>(word.yMin * 20),
                     static_cast<int>((word.xMax - word.xMin) * 20), static_cast<int>((word.yMax - word.yMin) * 20)};
      EXPECT_TRUE(in_grid || !Overlap(box, grid)) << where << ": \"" << word.text << "\" over the grid";
    }

    // The ink: the page rendered at 144 dots per inch, ten twips to a pixel.
    const std::string prefix = dir.File("page");
    ASSERT_EQ(std::system(("pdftoppm -r 144 -gray -singlefile '" + pdf + "' '" + prefix + "'").c_str()), 0);
    const PageImage image(QImage(QString::fromStdString(prefix + ".pgm")), 10);
    ASSERT_EQ(image.image().size(), QSize(1224, 1584)) << where;
    image.ExpectGridOnLayout(ctx, where + " (PDF)");
    EXPECT_EQ(image.InkOutside(inside, 2), "") << where << ": ink outside the margins";
  }
}

// The page on an image: the preview page at screen resolution, or the PNG page (the
// printer run at 300 dots per inch, as kivrel-cli draws it).
void ExpectImagePageAsLaidOut(const Case& c, double dpi) {
  const std::string where = Describe(c) + (dpi == 96 ? " (preview)" : " (PNG)");
  const double twips = 1440 / dpi;  // to a pixel
  testing::TestApp app;
  AppContext& ctx = app.ctx;
  MakePuzzle(ctx, c);
  QtImageSurface surface(12240, 15840, dpi);
  ctx.preview = &surface;
  auto draw = [&] { dpi == 96 ? DrawPreviewPage(ctx) : DrawPrinterPage(ctx, surface); };
  ctx.print.PrintWordList = 0;
  draw();
  const QImage without_list = surface.Image().copy();
  surface.Cls();
  ctx.print.PrintWordList = 1;
  draw();
  ASSERT_TRUE(ctx.printed.ListFits) << where;
  const PageImage image(surface.Image(), twips);
  image.ExpectGridOnLayout(ctx, where);
  const PageLayout& p = ctx.page;
  const Rect inside = Inside(p, 12240, 15840);
  EXPECT_EQ(image.InkOutside(inside, 1), "") << where << ": ink outside the margins";

  // What the list added to the page lies in the list's block, inside the margins and
  // off the grid.
  const Rect& list = ctx.printed.ColumnList.Bounds;
  const Rect& grid = ctx.printed.Puzzle.Bounds;
  ASSERT_TRUE(ctx.printed.ColumnList.Shown) << where;
  EXPECT_FALSE(Overlap(list, grid)) << where;
  EXPECT_GE(list.Left, inside.Left);
  EXPECT_LE(list.Top + list.Height, inside.Top + inside.Height) << where;
  int added = 0;
  std::string stray;
  for (int y = 0; y < without_list.height() && stray.empty(); ++y) {
    for (int x = 0; x < without_list.width(); ++x) {
      if (surface.Image().pixel(x, y) == without_list.pixel(x, y)) continue;
      ++added;
      const double tx = x * twips, ty = y * twips;
      if (tx < list.Left - twips || tx > list.Left + list.Width + twips || ty < list.Top - twips ||
          ty > list.Top + list.Height + twips) {
        stray = std::to_string(tx) + ", " + std::to_string(ty);
        break;
      }
    }
  }
  EXPECT_EQ(stray, "") << where << ": list ink outside the list's block";
  EXPECT_GT(added, c.words * 10) << where << ": the list was drawn";
}

TEST(RealPage, PreviewAndPngImagesAreDrawnAsLaidOutAndTheListStaysOffTheGrid) {
  for (const Case& c : kCases) {
    for (const double dpi : {96.0, 300.0}) ExpectImagePageAsLaidOut(c, dpi);
  }
}

}  // namespace
}  // namespace kivrel
