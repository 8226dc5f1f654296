// The printed page on real surfaces. A matrix of pages, from 5 x 5 to 99 x 99 with 3 to
// 200 words, in all nine places on the page, with and without the list beside the
// grid, with long titles, on A4 and Letter, filling the page or not, is drawn into PDFs
// as kivrel-cli draws them and read back with pdftotext -bbox: every word inside the
// margins and none over the grid, the grid's letters in their cells, every placed word
// listed, at a legible size unless the grid had to be made as small as it may be. The
// preview and every page file lay the same options out alike, and the preview and PNG
// images hold their ink where the layout put it.
#include <gtest/gtest.h>

#include <QImage>
#include <QRectF>
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

const std::string kLongTitle =
    "The Great Big Autumn Term Word Search of Animals, Plants, Places and Things We Met in Class This Year";

// A started program whose grid has the case's size, full of letters (wide and narrow
// ones), with the case's number of words placed across or down, as a build would
// leave them for the page.
void MakePuzzle(AppContext& ctx, const Size& c, const std::string& title) {
  StartUp(ctx, 1);
  testing::MakeGrid(ctx, c.columns, c.rows);
  testing::SetTitle(ctx, title);
  ctx.state.PuzzleInstructions = "Find the words hidden in the grid.\nGood luck!";
  std::ifstream bench(KIVREL_BENCH_DATA_DIR "/words-200.kvl");
  int placed = 0;
  for (std::string word; placed < c.words && std::getline(bench, word);) {
    if (!word.empty() && word.back() == '\r') word.pop_back();
    const int length = static_cast<int>(word.size());
    if (length == 0 || word.find('\t') != std::string::npos || (length > c.columns && length > c.rows)) continue;
    if (length <= c.columns) {
      testing::PlaceWord(ctx, word, placed % c.rows + 1, 1, 1);
    } else {
      testing::PlaceWord(ctx, word, 1, placed % c.columns + 1, 3);
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

void Place(PrintOptions& o, int place, bool left, PaperSize paper, bool fill) {
  o.PuzzleVertical = static_cast<VerticalPlace>(place / 3);
  o.PuzzleHorizontal = static_cast<Align>(place % 3);
  o.Left = left ? 1 : 0;
  FollowPuzzlePlace(o);
  o.Paper = paper;
  o.FillPage = fill ? 1 : 0;
}

// The page of ctx drawn by the page file device, as kivrel-cli draws it.
std::string PageFile(AppContext& ctx, PageFormat format) {
  QtPageFileDevice device;
  Surface* page = device.BeginDocument(format, "page", ctx.print.Paper);
  EXPECT_TRUE(page);
  if (page) DrawPaperPage(ctx, *page);
  return device.EndDocument();
}

// Boxes in points from the page's top-left corner.
QRectF InPoints(const Rect& r) { return QRectF(r.Left / 20.0, r.Top / 20.0, r.Width / 20.0, r.Height / 20.0); }
QRectF Of(const PdfWord& w) { return QRectF(QPointF(w.xMin, w.yMin), QPointF(w.xMax, w.yMax)); }
bool Inside(const QRectF& a, const QRectF& b, double slack) {
  return b.adjusted(-slack, -slack, slack, slack).contains(a);
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
  int lists_left_off = 0, filled_15 = 0;
  for (std::size_t i = 0; i < std::size(kSizes); ++i) {
    const Size& size = kSizes[i];
    for (int place = 0; place < 9; ++place) {
      // Every place of the grid for every size; the other options take turns.
      const int turn = static_cast<int>(i) + place;
      testing::TestApp app;
      AppContext& ctx = app.ctx;
      MakePuzzle(ctx, size, turn % 4 == 0 ? kLongTitle : "Two hundred words");
      PrintOptions& o = ctx.print;
      Place(o, place, turn % 2 == 0, (turn / 2) % 2 == 0 ? kA4Paper : kLetterPaper,
            (turn % 3 == 0 || size.columns == 15) && turn % 5 != 0);
      SCOPED_TRACE(::testing::Message() << size.columns << " x " << size.rows << ", " << size.words << " words, place "
                                        << place << (o.Left ? ", Left" : "") << (o.Paper == kA4Paper ? ", A4" : "")
                                        << (o.FillPage ? ", filling" : ""));
      dir.Write("page.pdf", PageFile(ctx, PageFormat::Pdf));

      const auto words = testing::ReadPdfWords(pdf);
      ASSERT_EQ(words.size(), 1u);
      const std::pair<double, double> paper = o.Paper == kA4Paper ? std::pair(595.0, 842.0) : std::pair(612.0, 792.0);
      EXPECT_EQ(testing::ReadPdfPageSizes(pdf).front(), paper);
      testing::ExpectPageMatchesLayout(ctx, words[0]);

      const PageLayout& p = ctx.page;
      const PagePrinted& printed = ctx.printed;
      const QRectF inside(QPointF(p.LeftMargin, p.TopMargin) / 20.0,
                          QPointF(paper.first - p.RightMargin / 20.0, paper.second - p.BottomMargin / 20.0));
      const QRectF grid = InPoints(printed.Puzzle.Bounds);
      for (const PdfWord& word : words[0]) {
        EXPECT_TRUE(Inside(Of(word), inside, 1)) << "\"" << word.text << "\" outside the margins";
        EXPECT_TRUE(Inside(Of(word), grid, 1) || !Of(word).intersects(grid)) << "\"" << word.text << "\" over the grid";
      }
      const PageBlock* blocks[] = {&printed.Title, &printed.Instructions, &printed.Puzzle, &printed.SideList,
                                   &printed.ColumnList};
      for (const PageBlock* a : blocks) {
        for (const PageBlock* b : blocks) {
          EXPECT_FALSE(a < b && a->Shown && b->Shown && InPoints(a->Bounds).intersects(InPoints(b->Bounds)))
              << "blocks overlap";
        }
      }

      // The list at a legible size; left off only where it would not fit even with the
      // grid as small as it may be made for it.
      if (!printed.ListFits) {
        ++lists_left_off;
        ctx.fonts(kPuzzleFont).Size = static_cast<i16>(kSmallestGridSize);
        ctx.print.FillPage = 0;
        PageFile(ctx, PageFormat::Pdf);
        EXPECT_FALSE(ctx.printed.ListFits) << "the list fits with the grid at its smallest";
        continue;
      }
      EXPECT_GE(printed.ListSize, kSmallestListSize);
      for (const PdfWord& word : words[0]) {
        if (printed.ColumnList.Shown && Inside(Of(word), InPoints(printed.ColumnList.Bounds), 0.5) &&
            word.text != "words") {
          EXPECT_GE(word.yMax - word.yMin, kSmallestListSize * kListWordHeightPerPoint - 0.1) << word.text;
        }
      }
      // Filling the page, a 15 x 15 grid spans most of it (but for the room of a list
      // beside it).
      if (size.columns == 15 && size.rows == 15 && o.FillPage && !printed.SideList.Shown) {
        ++filled_15;
        EXPECT_GE(p.GridWidth, 0.8 * p.PrintableWidth) << "the grid does not fill the page";
      }
    }
  }
  EXPECT_GT(filled_15, 10);
  EXPECT_LT(lists_left_off, 126 / 4) << "only where nothing else helps";
}

// The ink of a page image as the layout put it: inside the shown blocks (to a pixel or
// two), some in each of them, the grid's frame along the grid's bounds and a letter in
// every cell.
void ExpectImageAsLaidOut(const QImage& image, const AppContext& ctx, double twips_per_pixel) {
  auto px = [&](double twips) { return static_cast<int>(twips / twips_per_pixel); };
  auto ink = [&](int x, int y, int limit = 250) { return image.valid(x, y) && qGray(image.pixel(x, y)) < limit; };
  auto ink_in = [&](int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        if (ink(x, y)) return true;
      }
    }
    return false;
  };
  std::vector<QRect> blocks;
  for (const PageBlock* b : {&ctx.printed.Title, &ctx.printed.Instructions, &ctx.printed.Puzzle, &ctx.printed.SideList,
                             &ctx.printed.ColumnList}) {
    if (!b->Shown) continue;
    const Rect& r = b->Bounds;
    blocks.push_back(QRect(QPoint(px(r.Left), px(r.Top)), QPoint(px(r.Left + r.Width), px(r.Top + r.Height))));
    EXPECT_TRUE(ink_in(blocks.back().left(), blocks.back().top(), blocks.back().right(), blocks.back().bottom()))
        << "an empty block at " << r.Left << ", " << r.Top;
  }
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ink(x, y) && std::none_of(blocks.begin(), blocks.end(),
                                    [&](const QRect& b) { return b.adjusted(-2, -2, 2, 2).contains(x, y); })) {
        ADD_FAILURE() << "ink outside the blocks at twips " << x * twips_per_pixel << ", " << y * twips_per_pixel;
        return;
      }
    }
  }
  const PageLayout& p = ctx.page;
  const int left = px(p.PuzzleLeft), top = px(p.PuzzleTop);
  const int right = px(p.PuzzleLeft + p.GridWidth), bottom = px(p.PuzzleTop + p.GridHeight);
  // A side of the frame: a line of dark pixels, to a pixel, over nine tenths of its run.
  auto line = [&](int at, int from, int to, bool down) {
    for (int offset = -1; offset <= 1; ++offset) {
      int dark = 0;
      for (int i = from + 2; i <= to - 2; ++i) dark += down ? ink(at + offset, i, 160) : ink(i, at + offset, 160);
      if (dark >= (to - from - 3) * 9 / 10) return true;
    }
    return false;
  };
  EXPECT_TRUE(line(left, top, bottom, true) && line(right, top, bottom, true)) << "the frame's sides";
  EXPECT_TRUE(line(top, left, right, false) && line(bottom, left, right, false)) << "the frame's top and bottom";
  const double cell = static_cast<double>(p.GridWidth) / ctx.state.Grid.Width();
  for (int row = 1; row <= ctx.state.Grid.Height(); ++row) {
    for (int col = 1; col <= ctx.state.Grid.Width(); ++col) {
      const double x = p.PuzzleLeft + (col - 1) * cell, y = p.PuzzleTop + (row - 1) * cell;
      if (!ink_in(px(x) + 1, px(y) + 1, px(x + cell) - 1, px(y + cell) - 1)) {
        ADD_FAILURE() << "no letter in row " << row << ", column " << col;
        return;
      }
    }
  }
}

// The same options on the preview and every kind of page file: one layout, to the twip,
// the PDF's words where it says and the images' ink where it says.
TEST(RealPage, ThePreviewAndEveryPageFileLayThePageOutAlike) {
  struct Case {
    Size size;
    int place;
    bool left;
    PaperSize paper;
    bool fill;
  };
  const Case cases[] = {{{15, 15, 25}, 2, true, kLetterPaper, false},  {{20, 30, 50}, 4, false, kA4Paper, true},
                        {{99, 40, 150}, 6, false, kLegalPaper, false}, {{5, 5, 5}, 0, false, kLetterPaper, false},
                        {{99, 99, 200}, 7, false, kA4Paper, false},    {{40, 15, 150}, 1, false, kLetterPaper, true}};
  testing::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size.columns) + " x " + std::to_string(c.size.rows));
    testing::TestApp app;
    AppContext& ctx = app.ctx;
    MakePuzzle(ctx, c.size, kLongTitle);
    Place(ctx.print, c.place, c.left, c.paper, c.fill);
    ctx.print.OutlineWords = 1;
    const PrintOptions options = ctx.print;

    QtImageSurface preview(c.paper.Width, c.paper.Height, 96);
    preview.MeasureAsPaper();
    ctx.preview = &preview;
    DrawPreviewPage(ctx);
    const PageLayout layout = ctx.page;
    const PagePrinted printed = ctx.printed;
    EXPECT_EQ(printed.SideList.Shown, c.left);
    {
      SCOPED_TRACE("the preview");
      ExpectImageAsLaidOut(preview.Image(), ctx, 15);
    }

    for (PageFormat format : {PageFormat::Pdf, PageFormat::Png, PageFormat::Svg}) {
      SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)));
      ctx.print = options;
      const std::string bytes = PageFile(ctx, format);
      EXPECT_EQ(ctx.page, layout);
      EXPECT_EQ(ctx.printed, printed);
      if (format == PageFormat::Pdf) {
        const auto words = testing::ReadPdfWords(dir.Write("page.pdf", bytes));
        ASSERT_EQ(words.size(), 1u);
        testing::ExpectPageMatchesLayout(ctx, words[0]);
      } else if (format == PageFormat::Png) {
        ExpectImageAsLaidOut(QImage::fromData(QByteArray::fromStdString(bytes), "PNG"), ctx, 1440 / 300.0);
      } else {
        EXPECT_NE(bytes.find("font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\""), std::string::npos);
        EXPECT_NE(bytes.find("font-family=\"Liberation Serif, Times New Roman, Times, serif\""), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace kivrel
