// The printed page on real surfaces. A matrix of pages, from 5 x 5 to 99 x 99 with 3 to
// 200 words, in all nine places on the page, with and without the list beside the
// grid, with long titles, on A4 and Letter, filling the page or not, is drawn into PDFs
// as kivrel-cli draws them and read back with pdftotext -bbox: every word inside the
// margins and none over the grid, the grid's letters in their cells, every placed word
// listed, at a legible size unless the grid had to be made as small as it may be. The
// preview, the printer and every page file lay the same options out alike, block for
// block; and the preview and PNG images hold their ink where the layout put it.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "TestApp.h"
#include "forms/PrintOptionsDialog.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"
#include "qt/QtPageFileDevice.h"
#include "qt/QtSurface.h"

namespace kivrel {
namespace {

using testing::PdfWord;

struct Size {
  int columns, rows, words;
};

std::string Describe(const Size& c) {
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

const std::string kLongTitle =
    "The Great Big Autumn Term Word Search of Animals, Plants, Places and Things We Met in Class This Year";

// A started program whose grid has the case's size, full of letters (wide and narrow
// ones), with the case's number of words placed across or down, as a build would
// leave them for the page.
void MakePuzzle(AppContext& ctx, const Size& c, const std::string& title = "Two hundred words") {
  StartUp(ctx, 1);
  testing::MakeGrid(ctx, c.columns, c.rows);
  testing::SetTitle(ctx, title);
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

// The page of ctx drawn into a PDF file by the page file device, as kivrel-cli draws it.
void WritePdf(AppContext& ctx, const std::string& path) {
  QtPageFileDevice device;
  Surface* page = device.BeginDocument(PageFormat::Pdf, "page", ctx.print.Paper);
  ASSERT_TRUE(page);
  DrawPaperPage(ctx, *page);
  std::ofstream(path, std::ios::binary) << device.EndDocument();
}

struct Box {
  double left, top, right, bottom;  // points
};
Box InPoints(const Rect& r) {
  return {r.Left / 20.0, r.Top / 20.0, (r.Left + r.Width) / 20.0, (r.Top + r.Height) / 20.0};
}
bool Inside(const PdfWord& w, const Box& b, double slack) {
  return w.xMin >= b.left - slack && w.yMin >= b.top - slack && w.xMax <= b.right + slack && w.yMax <= b.bottom + slack;
}
bool Overlap(const PdfWord& w, const Box& b) {
  return w.xMin < b.right && b.left < w.xMax && w.yMin < b.bottom && b.top < w.yMax;
}
bool Overlap(const Rect& a, const Rect& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

// What pdftotext gives as a word's height in Liberation Sans Bold, per point of its size:
// the face's ascent and descent over its em.
constexpr double kListWordHeightPerPoint = (1854.0 + 434.0) / 2048.0;

TEST(RealPage, AMatrixOfPagesKeepsItsBlocksInsideTheMarginsAndItsListLegible) {
  const Size kSizes[] = {{5, 5, 3},     {5, 5, 5},    {10, 10, 25},  {15, 15, 25},  {15, 15, 60},
                         {20, 30, 50},  {20, 40, 50}, {15, 60, 50},  {30, 30, 100}, {40, 40, 200},
                         {60, 20, 100}, {99, 99, 3},  {99, 99, 200}, {99, 40, 150}};
  testing::TempDir dir;
  const std::string pdf = dir.File("page.pdf");
  int pages = 0, lists_left_off = 0, filled_15 = 0;
  for (std::size_t i = 0; i < std::size(kSizes); ++i) {
    const Size& size = kSizes[i];
    for (int place = 0; place < 9; ++place) {
      // Every place of the grid for every size; the other options take turns.
      const int turn = static_cast<int>(i) + place;
      testing::TestApp app;
      AppContext& ctx = app.ctx;
      MakePuzzle(ctx, size, turn % 4 == 0 ? kLongTitle : "Two hundred words");
      PrintOptions& o = ctx.print;
      o.PuzzleVertical = static_cast<VerticalPlace>(place / 3);
      o.PuzzleHorizontal = static_cast<Align>(place % 3);
      o.Left = turn % 2 == 0 ? 1 : 0;
      FollowPuzzlePlace(o);
      o.Paper = (turn / 2) % 2 == 0 ? kA4Paper : kLetterPaper;
      o.FillPage = (turn % 3 == 0 || size.columns == 15) && turn % 5 != 0 ? 1 : 0;
      const std::string where = Describe(size) + ", place " + std::to_string(place) + (o.Left ? ", Left" : "") +
                                (o.Paper == kA4Paper ? ", A4" : ", Letter") + (o.FillPage ? ", filling" : "");
      WritePdf(ctx, pdf);
      ++pages;

      const auto sizes = testing::ReadPdfPageSizes(pdf);
      const auto words = testing::ReadPdfWords(pdf);
      ASSERT_EQ(words.size(), 1u) << where;
      const std::pair<double, double> paper = o.Paper == kA4Paper ? std::pair(595.0, 842.0) : std::pair(612.0, 792.0);
      EXPECT_EQ(sizes.front(), paper) << where;
      testing::ExpectPageMatchesLayout(ctx, words[0]);

      const PageLayout& p = ctx.page;
      const PagePrinted& printed = ctx.printed;
      const Box inside{p.LeftMargin / 20.0, p.TopMargin / 20.0, paper.first - p.RightMargin / 20.0,
                       paper.second - p.BottomMargin / 20.0};
      const Box grid = InPoints(printed.Puzzle.Bounds);
      for (const PdfWord& word : words[0]) {
        EXPECT_TRUE(Inside(word, inside, 1))
            << where << ": \"" << word.text << "\" outside the margins at " << word.xMin << ", " << word.yMin;
        EXPECT_TRUE(Inside(word, grid, 1) || !Overlap(word, grid))
            << where << ": \"" << word.text << "\" over the grid";
      }
      const PageBlock* blocks[] = {&printed.Title, &printed.Instructions, &printed.Puzzle, &printed.SideList,
                                   &printed.ColumnList};
      for (const PageBlock* a : blocks) {
        for (const PageBlock* b : blocks) {
          if (a < b && a->Shown && b->Shown) {
            EXPECT_FALSE(Overlap(a->Bounds, b->Bounds)) << where << ": blocks overlap";
          }
        }
      }

      // The list at a legible size; left off only where it would not fit even with the
      // grid as small as it may be made for it.
      if (printed.ListFits) {
        EXPECT_GE(printed.ListSize, kSmallestListSize) << where;
        for (const PdfWord& word : words[0]) {
          if (printed.ColumnList.Shown && Inside(word, InPoints(printed.ColumnList.Bounds), 0.5) &&
              word.text != "words") {
            EXPECT_GE(word.yMax - word.yMin, kSmallestListSize * kListWordHeightPerPoint - 0.1) << where << word.text;
          }
        }
      } else {
        ++lists_left_off;
        ctx.fonts(kPuzzleFont).Size = static_cast<i16>(kSmallestGridSize);
        ctx.print.FillPage = 0;
        WritePdf(ctx, dir.File("smallest.pdf"));
        EXPECT_FALSE(ctx.printed.ListFits) << where << ": the list fits with the grid at its smallest";
        continue;
      }
      // Filling the page, a 15 x 15 grid spans most of it (but for the room of a list
      // beside it).
      if (size.columns == 15 && size.rows == 15 && o.FillPage && !printed.SideList.Shown) {
        ++filled_15;
        EXPECT_GE(p.GridWidth, 0.8 * p.PrintableWidth) << where << ": the grid does not fill the page";
      }
    }
  }
  EXPECT_EQ(pages, 126);
  EXPECT_GT(filled_15, 10);
  EXPECT_LT(lists_left_off, pages / 4) << "only where nothing else helps";
}

// The same options on the preview, a printer's page (a PDF at its resolution) and every
// kind of page file: one layout, to the twip, and the PDF's words where it says.
TEST(RealPage, ThePreviewAndEveryPageFileLayThePageOutAlike) {
  struct Case {
    Size size;
    VerticalPlace down;
    Align across;
    bool left;
    PaperSize paper;
    bool fill;
  };
  const Case cases[] = {{{15, 15, 25}, VerticalPlace::Top, Align::Right, true, kLetterPaper, false},
                        {{20, 30, 50}, VerticalPlace::Middle, Align::Center, false, kA4Paper, true},
                        {{99, 40, 150}, VerticalPlace::Bottom, Align::Left, false, kLegalPaper, false}};
  testing::TempDir dir;
  for (const Case& c : cases) {
    const std::string where = Describe(c.size);
    testing::TestApp app;
    AppContext& ctx = app.ctx;
    MakePuzzle(ctx, c.size, kLongTitle);
    ctx.print.PuzzleVertical = c.down;
    ctx.print.PuzzleHorizontal = c.across;
    ctx.print.Left = c.left ? 1 : 0;
    FollowPuzzlePlace(ctx.print);
    ctx.print.Paper = c.paper;
    ctx.print.FillPage = c.fill ? 1 : 0;
    const PrintOptions options = ctx.print;

    QtImageSurface preview(c.paper.Width, c.paper.Height, 96);
    preview.MeasureAsPaper();
    ctx.preview = &preview;
    DrawPreviewPage(ctx);
    const PageLayout layout = ctx.page;
    const PagePrinted printed = ctx.printed;
    EXPECT_EQ(printed.SideList.Shown, c.left) << where;

    QtPageFileDevice device;
    for (PageFormat format : {PageFormat::Pdf, PageFormat::Png, PageFormat::Svg}) {
      ctx.print = options;
      Surface* page = device.BeginDocument(format, "page", c.paper);
      ASSERT_TRUE(page);
      DrawPaperPage(ctx, *page);
      const std::string bytes = device.EndDocument();
      EXPECT_EQ(ctx.page, layout) << where << ", format " << static_cast<int>(format);
      EXPECT_EQ(ctx.printed, printed) << where << ", format " << static_cast<int>(format);
      if (format == PageFormat::Pdf) {
        std::ofstream(dir.File("page.pdf"), std::ios::binary) << bytes;
        const auto words = testing::ReadPdfWords(dir.File("page.pdf"));
        ASSERT_EQ(words.size(), 1u);
        testing::ExpectPageMatchesLayout(ctx, words[0]);
      }
      if (format == PageFormat::Svg) {
        EXPECT_NE(bytes.find("font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\""), std::string::npos);
        EXPECT_NE(bytes.find("font-family=\"Liberation Serif, Times New Roman, Times, serif\""), std::string::npos);
      }
    }
  }
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

 private:
  QImage image_;
  double twips_;
};

// The page on an image: the preview page at screen resolution, or the PNG page (the
// printer run at 300 dots per inch, as kivrel-cli draws it), the words outlined.
void ExpectImagePageAsLaidOut(const Size& c, double dpi) {
  const std::string where = Describe(c) + (dpi == 96 ? " (preview)" : " (PNG)");
  const double twips = 1440 / dpi;  // to a pixel
  testing::TestApp app;
  AppContext& ctx = app.ctx;
  MakePuzzle(ctx, c);
  ctx.print.OutlineWords = 1;
  QtImageSurface surface(12240, 15840, dpi);
  surface.MeasureAsPaper();
  ctx.preview = &surface;
  auto draw = [&] { dpi == 96 ? DrawPreviewPage(ctx) : DrawPaperPage(ctx, surface); };
  // The grid in the size the page with its list gives it, with the list and without.
  draw();
  ctx.fonts(kPuzzleFont).Size = static_cast<i16>(ctx.printed.PuzzleSize);
  surface.Cls();
  ctx.print.PrintWordList = 0;
  draw();
  const QImage without_list = surface.Image().copy();
  surface.Cls();
  ctx.print.PrintWordList = 1;
  draw();
  const PageImage image(surface.Image(), twips);
  image.ExpectGridOnLayout(ctx, where);
  const PageLayout& p = ctx.page;
  const Rect inside{p.LeftMargin, p.TopMargin, 12240 - p.LeftMargin - p.RightMargin,
                    15840 - p.TopMargin - p.BottomMargin};
  EXPECT_EQ(image.InkOutside(inside, 1), "") << where << ": ink outside the margins";
  if (!ctx.printed.ListFits) return;

  // What the list added to the page lies in the list's block, inside the margins and
  // off the grid.
  const Rect& list = ctx.printed.ColumnList.Bounds;
  const Rect& grid = ctx.printed.Puzzle.Bounds;
  ASSERT_TRUE(ctx.printed.ColumnList.Shown) << where;
  EXPECT_FALSE(Overlap(list, grid)) << where;
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

TEST(RealPage, PreviewAndPngImagesHoldTheirInkWhereTheLayoutPutIt) {
  const Size kCases[] = {{5, 5, 5},     {12, 12, 25},  {20, 20, 100}, {31, 31, 200}, {40, 40, 200},
                         {66, 66, 200}, {99, 99, 200}, {40, 15, 150}, {20, 30, 60},  {99, 40, 200}};
  for (const Size& c : kCases) {
    for (const double dpi : {96.0, 300.0}) ExpectImagePageAsLaidOut(c, dpi);
  }
}

}  // namespace
}  // namespace kivrel
