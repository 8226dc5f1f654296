// The page layout on the recording surface, whose metrics are fixed: a text is
// FontSize x 20 twips high; a character is FontSize x 10 twips wide, 1.5 times that
// for M and W, half of it for blanks, I, i, l, t, f and most punctuation. The page is
// 12240 x 15840 twips, so one-inch margins leave 9360 x 12960. That every block stays
// inside the margins and the list legible on real pages is tested in tests/qt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TestApp.h"
#include "controls/PrintOptionsControls.h"
#include "display/FillLetters.h"
#include "model/Numbers.h"
#include "print/Booklet.h"
#include "print/PageDrawing.h"
#include "print/PageFiles.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::MakeGrid;
using testing::PlaceWord;
using testing::RecordingSurface;

class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    StartUp(ctx, 1);
    ctx.preview = &page;
    ctx.print.PrintInstructions = 0;  // most tests look at the grid and the list only
  }

  // Lays the page out again on the preview and returns the texts of that layout.
  std::vector<DrawOp> Draw() {
    DrawPreviewPage(ctx);
    std::vector<DrawOp> texts;
    for (const DrawOp& op : page.ops) {
      if (op.kind == DrawOp::Kind::Cls) texts.clear();
      if (op.kind == DrawOp::Kind::Text) texts.push_back(op);
    }
    return texts;
  }
  // The text drawn at (x, y) by the last layout, or "-".
  std::string At(double x, double y) const { return page.TextAt(x, y) ? page.TextAt(x, y)->text : "-"; }
  std::optional<DrawOp> Find(const std::string& text) {
    const std::vector<DrawOp> texts = Draw();
    const auto found = std::ranges::find(texts, text, &DrawOp::text);
    return found == texts.end() ? std::nullopt : std::optional(*found);
  }
  int DialogFontSize(Control button) const { return ctx.forms.Get(frmPrintOptions::kWindow).Font(button).Size; }
  // n entries "BB..01", "BB..02", ... of `letters` characters, all placed in row 1.
  void PlaceNumberedWords(int n, int letters) {
    for (int k = 1; k <= n; ++k) {
      PlaceWord(ctx, std::string(static_cast<std::size_t>(letters - 2), 'B') + (k < 10 ? "0" : "") + std::to_string(k),
                1, 1, 1);
    }
  }
  const std::string& Entry(int k) const { return s.Words[static_cast<std::size_t>(k)].DisplayText; }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  RecordingSurface page;
};

// The default page worked out by hand: title, instructions wrapping onto a second
// line, the grid, and the list in columns below.
TEST_F(PageTest, DefaultPageIsLaidOutAsWorkedOutByHand) {
  ctx.print = PrintOptions{};
  MakeGrid(ctx, 5, 5);
  testing::SetTitle(ctx, "ANIMALS");  // 6 x 180 + 90 for the I = 1260 at 18 points
  s.PuzzleInstructions = "Find the words.";
  PlaceWord(ctx, "CAT", 1, 1, 1);
  PlaceWord(ctx, "DOG", 3, 2, 1);
  PlaceWord(ctx, "EMU [bird]", 5, 1, 1);
  Draw();
  // Margins of 1440; the title at Int((9360 - 1260) / 2) + 1440; the instructions' band
  // is the grid's (cells of 320 at 16 points) and starts a blank line of 260 under the
  // title, two lines and a blank one; the list column is "EMU bird" (900) plus a line
  // of 240, and the list starts two list lines below the grid.
  EXPECT_EQ(p, (PageLayout{1440, 1440, 1440, 1440, 9360, 12960, 5490, 1260, 360,  5320, 6920, 2060,
                           520,  2580, 5320, 6920, 2840, 4440,  1600, 1600, 1140, 0,    4920, 240}));
  EXPECT_EQ(page.TextAt(5490, 1440)->font, (FontSpec{"Times New Roman", 18, true, true}));
  // "words." would pass the band's edge at 6920, so it starts the second line. The
  // header a line above the list, not bold; the placed words in columns 1170 apart.
  // (Letters centred in their cells and the frame round the grid are read back from
  // real pages, in tests/qt.)
  EXPECT_EQ(At(5320, 2060) + At(5840, 2060) + At(5320, 2320) + "/" + At(1440, 4680) + "/" + At(1440, 4920) + "/" +
                At(2610, 4920) + "/" + At(3780, 4920),
            "Findthewords./ 3  words/CAT/DOG/E");
  EXPECT_FALSE(page.TextAt(1440, 4680)->font.Bold);
  // A bracketed note prints in regular weight without its brackets, letter by letter.
  std::string bold, regular;
  for (const DrawOp& op : page.ops) {
    if (op.kind == DrawOp::Kind::Text && op.y == 4920 && op.x >= 3780) (op.font.Bold ? bold : regular) += op.text;
  }
  EXPECT_EQ(bold + "|" + regular, "EMU |bird");
  ctx.print.TitleAlign = Align::Right;
  Draw();
  EXPECT_EQ(p.TitleX, 12240 - 1440 - 1260);
}

// A title too wide for one line goes onto two, split where the longer line is
// shortest, before it is made smaller, for that page only; everything below moves down.
TEST_F(PageTest, ATitleTakesOneLineThenTwoThenShrinks) {
  MakeGrid(ctx, 5, 5);
  const std::string w12 = std::string(12, 'W');  // 3240 wide at 18 points, 3060 at 17
  const std::string words = w12 + " " + w12;     // three blocks take 9350 at 17
  const std::string last = std::string(11, 'W') + "A";
  const struct {
    std::string title, first, second;
    double size;
  } cases[] = {{std::string(52, 'A'), std::string(52, 'A'), "", 18},  // exactly the printable width
               {std::string(40, 'W'), std::string(40, 'W'), "", 15},  // no blank: 15 points make 9000, 16 make 9600
               {words + " AND " + words + " W", words + " AND", words + " W", 18},  // 7200 and 6930
               {words + " " + w12 + " " + words + " " + last, words + " " + w12, words + " " + last, 17}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    testing::SetTitle(ctx, c.title);
    const int lines = c.second.empty() ? 1 : 2;
    ASSERT_TRUE(Find(c.first) && (lines == 1 || Find(c.second)));
    EXPECT_EQ(Find(c.first)->font.Size, c.size);
    EXPECT_EQ(p.PuzzleTop, 1440 + lines * c.size * 20 + 320);
    EXPECT_EQ(DialogFontSize(frmPrintOptions::cmdTitleFont), c.size);
    EXPECT_EQ(ctx.fonts(kTitleFont).Size, 18) << "the size the user chose stays";
  }
}

// The instructions' band for each alignment against each place of the grid, and their
// lines within it.
TEST_F(PageTest, InstructionsFollowTheirBandAndTheirLineBreaks) {
  ctx.print.PrintInstructions = 1;
  MakeGrid(ctx, 5, 5);  // 1600 wide: left 1440..3040, centre 5320..6920, right 9200..10800
  testing::SetTitle(ctx, "ANIMALS");
  const struct {
    Align instructions, puzzle;
    int left, right;
  } cases[] = {{Align::Left, Align::Right, 1440, 10000},   {Align::Left, Align::Left, 1440, 3040},
               {Align::Left, Align::Center, 1440, 6920},   {Align::Right, Align::Left, 2240, 10800},
               {Align::Right, Align::Center, 5320, 10800}, {Align::Right, Align::Right, 9200, 10800},
               {Align::Center, Align::Left, 5320, 6920}};  // centred whatever the grid's place
  for (const auto& c : cases) {
    ctx.print.InstructionsAlign = c.instructions;
    ctx.print.PuzzleHorizontal = c.puzzle;
    Draw();
    EXPECT_EQ(std::make_pair(p.InstructionsLeft, p.InstructionsRight), std::make_pair(i16(c.left), i16(c.right)))
        << static_cast<int>(c.instructions) << "/" << static_cast<int>(c.puzzle);
  }

  // A line break starts a new line, a tab is a blank, and an empty line (even of
  // blanks) starts a paragraph after a blank line.
  MakeGrid(ctx, 20, 5);  // the band is the grid; lines of 260
  s.PuzzleInstructions = "Find\tthe animals.\r\nGood luck!\r\n \r\n\r\nHave fun.\nBye";
  std::vector<std::vector<std::string>> lines(5);
  for (const DrawOp& op : Draw()) {
    const auto line = static_cast<std::size_t>((op.y - p.InstructionsTop) / 260);
    if (op.y >= p.InstructionsTop && line < 5 && op.font.Italic) lines[line].push_back(op.text);
  }
  EXPECT_EQ(lines, (std::vector<std::vector<std::string>>{
                       {"Find", "the", "animals."}, {"Good", "luck!"}, {}, {"Have", "fun."}, {"Bye"}}));
  EXPECT_EQ(p.HeaderBottom, p.InstructionsTop + 5 * 260);
}

// Entries run down columns at least an em (240) apart: below the grid, or beside it
// until the line below one would start past the grid's bottom plus a line, and then in
// columns where the side list ended.
TEST_F(PageTest, TheListRunsDownColumnsBelowOrBesideTheGrid) {
  MakeGrid(ctx, 16, 16);
  PlaceNumberedWords(25, 16);  // 1920 wide: columns of 2160, Nearest(9360 / 2160) = 4
  Draw();
  EXPECT_EQ(std::make_pair(p.ColumnListTop, p.ColumnListHeight), std::make_pair(i16(2120 + 5120 + 480), i16(7 * 240)));
  EXPECT_EQ(At(1440, p.ColumnListTop - 240), " 25  words");
  for (int n = 1; n <= 25; ++n) {  // four columns of seven rows, 2340 apart
    EXPECT_EQ(At(1440 + (n - 1) / 7 * 2340, p.ColumnListTop + (n - 1) % 7 * 240.0), Entry(n)) << n;
  }

  MakeGrid(ctx, 6, 6);        // at the right: 8880..10800, 2120..4040
  PlaceNumberedWords(12, 6);  // 720 wide: a list column of 960
  ctx.print.PuzzleHorizontal = Align::Right;
  ctx.print.Left = 1;
  Draw();
  EXPECT_EQ(At(1440, 2120), " 12  words");  // level with the grid's top
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(At(1440, 2120 + k * 240.0), Entry(k)) << k;
  // 9360 / (720 + 240) makes 9 columns, 1040 apart.
  EXPECT_EQ(p.ColumnListTop, 2120 + 10 * 240);
  for (int k = 10; k <= 12; ++k) EXPECT_EQ(At(1440 + (k - 10) * 1040.0, p.ColumnListTop), Entry(k)) << k;
  EXPECT_EQ(ctx.print.Left, 1);

  MakeGrid(ctx, 5, 5);  // with no word placed only the header prints, and only beside the puzzle
  testing::AddUnplacedWord(ctx, "YAK");
  EXPECT_EQ(Draw().size(), 2u);  // the (empty) title and the header
  EXPECT_EQ(At(1440, p.PuzzleTop), " 0  words");
  ctx.print.Left = 0;
  EXPECT_EQ(Draw().size(), 1u);
}

// The answer key: outlines ring the placed words on the page's grid (the main window's
// flag follows its own picture only), and the hidden message goes under the list, also
// when the grid grows to fill the page.
TEST_F(PageTest, AnAnswerKeyRingsTheWordsAndTellsTheHiddenMessage) {
  MakeGrid(ctx, 5, 5);
  PlaceWord(ctx, "CAT", 2, 1, 1);  // right
  PlaceWord(ctx, "GOD", 3, 3, 8);  // down-left
  testing::AddUnplacedWord(ctx, "EMU");
  s.MysteryQuote = "Go cats";
  EXPECT_FALSE(Find("Hidden"));  // a puzzle page keeps its secret
  ctx.print.OutlineWords = 1;
  Draw();
  EXPECT_EQ(s.OutlinesShown, kFalse);
  const auto lines = page.OfKind(DrawOp::Kind::Line);
  const auto arcs = page.OfKind(DrawOp::Kind::Arc);
  ASSERT_EQ(std::make_pair(lines.size(), arcs.size()), std::make_pair(std::size_t{4}, std::size_t{4}));
  // The full half width of "W" at 16 points round the cell centres on the page (the
  // capsule itself is checked on the picture, which draws the same); the down-left
  // word's first end is its lower-left one (row 5, column 1).
  const double left = p.PuzzleLeft, top = p.PuzzleTop, r = 120, d = std::sqrt(r * r / 2), pi = s.Pi;
  EXPECT_EQ(
      std::vector<double>({lines[2].x, lines[2].y, lines[2].x2, lines[2].y2, arcs[3].x, arcs[3].start}),
      std::vector<double>({left + 160 - d, top + 1440 - d, left + 800 - d, top + 800 - d, left + 800, 1.75 * pi}));
  // One line of the quotation font (13 points: 260 twips) below the list's last row.
  const auto caption = Find("Hidden");
  ASSERT_TRUE(caption && Find("message:") && Find("cats"));
  EXPECT_EQ(std::tie(caption->x, caption->y, Find("cats")->y),
            std::make_tuple(1440., p.ColumnListTop + p.ColumnListHeight + 260., caption->y));
  EXPECT_EQ(std::tie(caption->font.Name, caption->font.Italic), std::make_tuple(std::string("Times New Roman"), true));

  MakeGrid(ctx, 5, 10);  // three lines of message keep their room above the bottom margin
  PlaceWord(ctx, "CAT", 2, 1, 1);
  s.MysteryQuote = "Find every word and then read the letters left over in order: " + std::string(120, 'x');
  ctx.print.FillPage = 1;
  ASSERT_TRUE(Find("every"));
  EXPECT_GT(ctx.printed.PuzzleSize, 16);
  for (const DrawOp& op : Draw()) EXPECT_LE(op.y + Nearest(op.font.Size * 20), 15840 - 1440) << op.text;
}

// The answer key's grid: the fill letters blanked but the hidden message's kept, the
// words outlined; the puzzle as it was once the key is drawn.
TEST_F(PageTest, TheAnswerKeyKeepsTheMessagesLettersAndThenPutsThePuzzleBack) {
  MakeGrid(ctx, 6, 1);
  PlaceWord(ctx, "CAT", 1, 1, 1);
  s.MysteryQuote = "Go";
  FillInBlanks(ctx);
  auto last_two = [&] { return s.Grid.At(1, 5).Letter + s.Grid.At(1, 6).Letter; };
  const std::string filled = last_two();
  WithAnswerKey(ctx, [&] { EXPECT_EQ(last_two() + (ctx.print.OutlineWords ? ", outlined" : ""), "O , outlined"); });
  EXPECT_EQ(std::make_tuple(s.Grid.At(1, 4).Letter, last_two(), ctx.print.OutlineWords),
            std::make_tuple("G", filled, i16{0}));
}

TEST_F(PageTest, HopelessSizesEndAtOnePointAndAListThatCannotFitIsLeftOff) {
  MakeGrid(ctx, 1000, 1);                          // 20000 wide even at 1 point
  testing::SetTitle(ctx, std::string(1000, 'W'));  // 15000 wide at 1 point
  PlaceWord(ctx, std::string(200, 'W'), 1, 1, 1);  // 12000 wide at 4 points
  EXPECT_EQ(Find(" 1  words"), std::nullopt) << "no list rather than a list off the page";
  EXPECT_EQ(std::tie(ctx.printed.TitleSize, ctx.printed.PuzzleSize, ctx.printed.ListSize, ctx.printed.ListFits),
            std::make_tuple(1., 1., kSmallestListSize, false));
  ctx.print.Margins[kTopMargin] = "30\"";  // 43200 twips: more than 16 bits hold
  Draw();
  EXPECT_EQ(p.TopMargin, 32767);
}

// The sizes a page is drawn in: a list shrinks a point at a time until its last row
// ends above the bottom margin; below 8 points it makes the grid smaller first, unless
// the user chose a smaller size. (That grids fit, lists stay legible and "Fill the page"
// fills it is checked by rule on real pages, in tests/qt.) The sizes chosen stay in the
// font table and the dialog's buttons show the sizes drawn; the first page drawn again
// after the others is the page it was.
TEST_F(PageTest, TheListShrinksAPointAtATimeAndTheSizesChosenStay) {
  const struct {
    const char* what;
    int words, list_font;
    double puzzle, list;
  } cases[] = {{"at 10 points 8 columns of 15 rows end at 14500", 120, 12, 15, 9},
               {"a size chosen below 8 is kept", 50, 3, 15, 3},
               {"the first page again", 120, 12, 15, 9}};
  std::vector<std::tuple<std::string, double, double, FontSpec>> first, texts;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeGrid(ctx, 30, 30);
    PlaceNumberedWords(c.words, 10);
    ctx.fonts(kWordListFont).Size = c.list_font;
    texts.clear();
    for (const DrawOp& op : Draw()) texts.emplace_back(op.text, op.x, op.y, op.font);
    EXPECT_EQ(std::make_tuple(ctx.printed.PuzzleSize, ctx.printed.ListSize, ctx.printed.ListFits),
              std::make_tuple(c.puzzle, c.list, true));
    EXPECT_EQ(std::make_pair(ctx.fonts(kPuzzleFont).Size, ctx.fonts(kWordListFont).Size),
              std::make_pair(i16{16}, i16(c.list_font)));
    EXPECT_EQ(std::make_pair(DialogFontSize(frmPrintOptions::cmdPuzzleFont),
                             DialogFontSize(frmPrintOptions::cmdWordListFont)),
              std::make_pair(int(c.puzzle), int(c.list)));
    if (first.empty()) first = texts;
  }
  EXPECT_EQ(texts, first);
}

// Sixty copies of the sea puzzle in a booklet on a recording page. 34 rows of contents
// fit a page (12-point rows of 18 points from 1.5 inches down to the bottom margin): 61
// rows take two pages, 31 and 30 (the keys' row never stands alone); 60 puzzle pages;
// 15 pages of keys. A key leaves its puzzle as it was. (Where the keys stand on their
// pages is read back from kivrel-cli booklet's PDF.)
TEST(Booklet, ContentsRunOntoASecondPageAndEveryPageIsNumbered) {
  std::vector<std::unique_ptr<testing::TestApp>> apps;
  std::vector<BookletPuzzle> puzzles;
  for (int n = 0; n < 60; ++n) {
    AppContext& ctx = apps.emplace_back(std::make_unique<testing::TestApp>())->ctx;
    StartUp(ctx, 1);
    testing::MakeSeaPuzzle(ctx);
    puzzles.push_back({&ctx, 100u + static_cast<unsigned>(n), "Sea Creatures"});
  }
  testing::RecordingSurface page;
  std::vector<std::vector<DrawOp>> pages{1};
  auto take_page = [&] {
    pages.back() = page.OfKind(DrawOp::Kind::Text);
    page.ops.clear();
  };
  DrawBooklet(puzzles, page, 4, [&] {
    take_page();
    pages.emplace_back();
  });
  take_page();
  const BookletPlan plan = PlanBooklet(page, puzzles, 4);
  EXPECT_EQ(std::make_tuple(plan.ContentsPages, plan.FirstPuzzlePage, plan.FirstKeyPage, plan.PageCount),
            std::make_tuple(2, 3, 63, 77));
  ASSERT_EQ(pages.size(), 77u);
  auto holds = [&](std::size_t p, const std::string& text) {
    return std::any_of(pages[p].begin(), pages[p].end(), [&](const DrawOp& op) { return op.text == text; });
  };
  for (std::size_t p = 0; p < pages.size(); ++p) EXPECT_TRUE(holds(p, std::to_string(p + 1))) << p;
  for (int n = 1; n <= 60; ++n) {
    const std::size_t contents = n <= 31 ? 0 : 1, puzzle = static_cast<std::size_t>(n + 1);
    const std::string seed = "seed " + std::to_string(99 + n);
    EXPECT_TRUE(holds(contents, std::to_string(n) + ".") && holds(contents, seed) &&
                holds(contents, std::to_string(n + 2)) && holds(puzzle, "Puzzle " + std::to_string(n) + ", " + seed))
        << n;
  }
  EXPECT_TRUE(holds(1, "Answer keys"));
  EXPECT_EQ(puzzles[0].ctx->AttributesForm().Text(frmAttributes::txtPuzName), "Sea Creatures");
  EXPECT_EQ(puzzles[0].ctx->print.PrintWordList, 1);
}

}  // namespace
}  // namespace kivrel
