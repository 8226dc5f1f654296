// The page layout on the recording surface, whose metrics are fixed: a text is
// FontSize x 20 twips high; a character is FontSize x 10 twips wide, 1.5 times that
// for M and W, half of it for blanks, I, i, l, t, f and most punctuation. The page is
// 12240 x 15840 twips, so one-inch margins leave 9360 x 12960.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "TestApp.h"
#include "model/StartUp.h"
#include "print/PageDrawing.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;

class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    StartUp(ctx, 1);
    ctx.preview = &page;
  }

  // The text ops of the last layout (since the page was last cleared), in drawing order.
  std::vector<DrawOp> Texts() const {
    std::vector<DrawOp> texts;
    for (const DrawOp& op : page.ops) {
      if (op.kind == DrawOp::Kind::Cls) texts.clear();
      if (op.kind == DrawOp::Kind::Text) texts.push_back(op);
    }
    return texts;
  }
  std::optional<DrawOp> FindText(const std::string& text) const {
    for (const DrawOp& op : Texts()) {
      if (op.text == text) return op;
    }
    return std::nullopt;
  }
  // Places n words "ENTRY01".. of the given width in characters (first letter B).
  void PlaceNumberedWords(int n, int letters) {
    for (int k = 1; k <= n; ++k) {
      std::string digits = (k < 10 ? "0" : "") + std::to_string(k);
      std::string entry = std::string(static_cast<std::size_t>(letters - 2), 'B') + digits;
      testing::PlaceWord(ctx, entry, 1, 1, 1);
    }
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  PuzzleState& s = ctx.state;
  PageLayout& p = ctx.page;
  RecordingSurface page;
};

TEST(PrintOptions, StartWithTheDialogsDefaultsAndConvertMarginTexts) {
  PrintOptions o;
  EXPECT_EQ(o.TitleAlign, Align::Center);
  EXPECT_EQ(o.PuzzleVertical, VerticalPlace::Top);
  EXPECT_EQ(o.PuzzleHorizontal, Align::Center);
  EXPECT_EQ(o.InstructionsAlign, Align::Center);
  EXPECT_EQ(o.PrintInstructions, 1);
  EXPECT_EQ(o.PrintWordList, 1);
  EXPECT_EQ(o.Below, 1);
  EXPECT_EQ(o.Above + o.Left + o.Right + o.OutlineWords, 0);
  for (const std::string& margin : o.Margins) EXPECT_EQ(MarginTwips(margin), 1440);

  EXPECT_EQ(MarginTwips("1.25\""), 1800);
  EXPECT_EQ(MarginTwips(".5\""), 720);
  EXPECT_EQ(MarginTwips(" 0"), 0);
  EXPECT_EQ(MarginTwips("wide"), 0);
  EXPECT_EQ(MarginTwips("0.0003125\""), 0);  // 0.45 twips rounds down
}

// The whole default page, worked out by hand: title, instructions wrapping onto a
// second line, the grid's letters and frame, and the list in columns below it.
TEST_F(PageTest, DefaultPageIsLaidOutAsWorkedOutByHand) {
  testing::MakeGrid(ctx, 5, 5);
  testing::SetTitle(ctx, "ANIMALS");  // 180 x 6 + 90 for the I = 1260 at 18 points
  s.PuzzleInstructions = "Find the words.";
  testing::PlaceWord(ctx, "CAT", 1, 1, 1);
  testing::AddUnplacedWord(ctx, "YAK");
  testing::PlaceWord(ctx, "DOG", 3, 2, 1);
  testing::PlaceWord(ctx, "EMU [bird]", 5, 1, 1);

  DrawPreviewPage(ctx);

  PageLayout want;
  want.LeftMargin = want.RightMargin = want.TopMargin = want.BottomMargin = 1440;
  want.PrintableWidth = 9360;
  want.PrintableHeight = 12960;
  want.TitleX = 5490;  // Int((9360 - 1260) / 2) + 1440
  want.TitleWidth = 1260;
  want.TitleHeight = 360;
  want.GridWidth = want.GridHeight = 1600;  // cells of 320 at 16 points
  want.PuzzleLeft = want.InstructionsLeft = 5320;
  want.PuzzleRight = want.InstructionsRight = 6920;
  want.InstructionsTop = 2060;     // 1800 + one blank line of 260
  want.HeaderBottom = 2580;        // two lines of instructions and a blank one
  want.InstructionsHeight = 520;
  want.PuzzleTop = 2840;
  want.PuzzleBottom = 4440;
  want.ListColumnWidth = 1140;     // "EMU bird" is 900 wide, plus a line of 240
  want.ColumnListTop = 4920;       // two list lines below the grid
  want.ColumnListHeight = 240;
  EXPECT_EQ(p, want);

  ASSERT_FALSE(page.ops.empty());
  EXPECT_EQ(page.ops.front().kind, DrawOp::Kind::Cls);
  const auto title = FindText("ANIMALS");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->x, 5490);
  EXPECT_EQ(title->y, 1440);
  EXPECT_EQ(title->font, (FontSpec{"Times New Roman", 18, true, true}));

  // "words." would pass the band's right edge at 6920, so it starts the second line.
  ASSERT_TRUE(page.TextAt(5320, 2060) && page.TextAt(5840, 2060));
  EXPECT_EQ(page.TextAt(5320, 2060)->text, "Find");
  EXPECT_EQ(page.TextAt(5840, 2060)->text, "the");
  ASSERT_TRUE(page.TextAt(5320, 2320));
  EXPECT_EQ(page.TextAt(5320, 2320)->text, "words.");
  EXPECT_EQ(page.TextAt(5320, 2320)->font, (FontSpec{"Times New Roman", 13, false, true}));

  // Letters centred across their cells, hanging from the cell tops.
  ASSERT_TRUE(page.TextAt(5400, 2840));  // C: (320 - 160) / 2 into the first cell
  EXPECT_EQ(page.TextAt(5400, 2840)->text, "C");
  ASSERT_TRUE(page.TextAt(5680, 4120));  // M: (320 - 240) / 2 into row 5, column 2
  EXPECT_EQ(page.TextAt(5680, 4120)->text, "M");
  EXPECT_EQ(page.TextAt(5680, 4120)->font, (FontSpec{"Arial", 16, false, false}));

  auto boxes = page.OfKind(DrawOp::Kind::Box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(std::vector<double>({boxes[0].x, boxes[0].y, boxes[0].x2, boxes[0].y2}),
            std::vector<double>({5320, 2840, 6920, 4440}));
  EXPECT_TRUE(page.OfKind(DrawOp::Kind::Arc).empty());
  EXPECT_EQ(s.OutlinesShown, 0);

  // The list: the header a line above, the placed words only, in columns 1170 apart.
  ASSERT_TRUE(page.TextAt(1440, 4680));
  EXPECT_EQ(page.TextAt(1440, 4680)->text, " 3  words");
  EXPECT_FALSE(page.TextAt(1440, 4680)->font.Bold);
  ASSERT_TRUE(page.TextAt(1440, 4920) && page.TextAt(2610, 4920));
  EXPECT_EQ(page.TextAt(1440, 4920)->text, "CAT");
  EXPECT_TRUE(page.TextAt(1440, 4920)->font.Bold);
  EXPECT_EQ(page.TextAt(2610, 4920)->text, "DOG");
  EXPECT_EQ(FindText("YAK"), std::nullopt);
  EXPECT_EQ(s.Words[3].ListDisplayText, "EMU [bird]");
  EXPECT_EQ(s.Words[3].ListWidth, 900);
  EXPECT_EQ(ctx.fonts(kTitleFont).Size, 18);
  EXPECT_EQ(ctx.fonts(kPuzzleFont).Size, 16);
}

TEST_F(PageTest, TitleThatDoesNotFitShrinksAndStaysShrunk) {
  testing::MakeGrid(ctx, 5, 5);
  testing::SetTitle(ctx, std::string(40, 'W'));  // 40 x 270 = 10800 at 18 points
  DrawPreviewPage(ctx);
  // 16 points make 9600, 15 points 9000 <= 9360.
  EXPECT_EQ(p.TitleWidth, 9000);
  EXPECT_EQ(p.TitleX, 1620);
  EXPECT_EQ(p.TitleHeight, 300);
  EXPECT_EQ(ctx.fonts(kTitleFont).Size, 15);
  EXPECT_EQ(FindText(std::string(40, 'W'))->font.Size, 15);
  EXPECT_EQ(ctx.forms.Get(kPrintOptionsForm).Font("cmdTitleFont"),
            (FontSpec{"Times New Roman", 15, true, true}));

  // The next layout starts from the stored size, even for a title that would fit at 18.
  testing::SetTitle(ctx, "OWL");
  DrawPreviewPage(ctx);
  EXPECT_EQ(FindText("OWL")->font.Size, 15);
  EXPECT_EQ(p.TitleWidth, 3 * 150 + 75);
}

TEST_F(PageTest, TitleAndGridFollowTheirPlaces) {
  testing::MakeGrid(ctx, 5, 5);
  testing::SetTitle(ctx, "ANIMALS");
  ctx.print.TitleAlign = Align::Right;
  ctx.print.PuzzleHorizontal = Align::Right;
  ctx.print.PuzzleVertical = VerticalPlace::Middle;
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.TitleX, 12240 - 1440 - 1260);
  EXPECT_EQ(p.PuzzleLeft, 12240 - 1440 - 1600);
  EXPECT_EQ(p.PuzzleTop, (12960 - 1600) / 2 + 1440);

  ctx.print.TitleAlign = Align::Left;
  ctx.print.PuzzleHorizontal = Align::Left;
  ctx.print.PuzzleVertical = VerticalPlace::Bottom;
  ctx.print.Margins[kLeftMargin] = ".5\"";
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.TitleX, 720);
  EXPECT_EQ(p.PuzzleLeft, 720);
  EXPECT_EQ(p.PuzzleBottom, 15840 - 1440);
}

TEST_F(PageTest, InstructionBandDependsOnBothAlignments) {
  testing::MakeGrid(ctx, 5, 5);  // 1600 wide: left 1440..3040, centre 5320..6920, right 9200..10800
  struct Case {
    Align instructions, puzzle;
    int left, right;
  };
  const Case cases[] = {
      {Align::Left, Align::Right, 1440, 10000},  {Align::Left, Align::Left, 1440, 3040},
      {Align::Left, Align::Center, 1440, 6920},  {Align::Right, Align::Left, 2240, 10800},
      {Align::Right, Align::Center, 5320, 10800}, {Align::Right, Align::Right, 9200, 10800},
      {Align::Center, Align::Center, 5320, 6920}, {Align::Center, Align::Left, 5320, 6920},
      {Align::Center, Align::Right, 5320, 6920},
  };
  for (const Case& c : cases) {
    ctx.print.InstructionsAlign = c.instructions;
    ctx.print.PuzzleHorizontal = c.puzzle;
    DrawPreviewPage(ctx);
    EXPECT_EQ(p.InstructionsLeft, c.left) << static_cast<int>(c.instructions) << "/" << static_cast<int>(c.puzzle);
    EXPECT_EQ(p.InstructionsRight, c.right) << static_cast<int>(c.instructions) << "/" << static_cast<int>(c.puzzle);
  }
}

TEST_F(PageTest, InstructionWordWiderThanTheBandStandsAloneOnANewLine) {
  testing::MakeGrid(ctx, 5, 5);  // the band is the grid: 5320..6920
  s.PuzzleInstructions = "  WWWWWWWWWW   and  so on ";  // the first word is 1950 wide
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.InstructionsTop, 2060);
  auto at = [&](double x, double y) { return page.TextAt(x, y) ? page.TextAt(x, y)->text : std::string("-"); };
  EXPECT_EQ(at(5320, 2060), "-");  // the first line stays empty
  EXPECT_EQ(at(5320, 2320), "WWWWWWWWWW");
  EXPECT_EQ(at(5320, 2580), "and");
  EXPECT_EQ(at(5775, 2580), "so");
  EXPECT_EQ(at(6100, 2580), "on");
  EXPECT_EQ(p.HeaderBottom, 2840);
  EXPECT_EQ(p.InstructionsHeight, 780);

  // Without instructions the grid moves up to one cell below the title.
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.HeaderBottom, 1800);
  EXPECT_EQ(p.PuzzleTop, 2120);
  EXPECT_EQ(FindText("and"), std::nullopt);
}

TEST_F(PageTest, LargeGridShrinksThePuzzleFontUntilItFits) {
  testing::MakeGrid(ctx, 40, 40);
  for (int r = 1; r <= 40; ++r) {
    for (int c = 1; c <= 40; ++c) s.Grid.At(r, c).Letter = std::string(1, static_cast<char>('A' + (r + c) % 26));
  }
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  // 12 points make cells of 240 and a grid of 9600 > 9360; 11 points make 8800.
  EXPECT_EQ(ctx.fonts(kPuzzleFont).Size, 11);
  EXPECT_EQ(ctx.forms.Get(kPrintOptionsForm).Font("cmdPuzzleFont").Size, 11);
  EXPECT_EQ(p.GridWidth, 8800);
  EXPECT_EQ(p.GridHeight, 8800);
  EXPECT_EQ(p.PuzzleLeft, 1720);
  EXPECT_EQ(p.PuzzleTop, 1800 + 220);

  int letters = 0;
  for (const DrawOp& op : Texts()) {
    if (op.font.Name != "Arial" || op.font.Size != 11) continue;
    ++letters;
    int col = static_cast<int>((op.x - 1720) / 220) + 1;
    int row = static_cast<int>((op.y - p.PuzzleTop) / 220) + 1;
    double width = op.text == "I" ? 55 : op.text == "M" || op.text == "W" ? 165 : 110;
    EXPECT_EQ(op.x, std::floor((220 - width) / 2) + (col - 1) * 220 + 1720) << op.text;
    EXPECT_EQ(op.y, p.PuzzleTop + (row - 1) * 220.0);
    EXPECT_EQ(op.text, s.Grid.At(row, col).Letter);
  }
  EXPECT_EQ(letters, 1600);
}

TEST_F(PageTest, TwentyFiveWordsFillFourColumnsOfSevenRows) {
  testing::MakeGrid(ctx, 16, 16);
  PlaceNumberedWords(25, 16);  // 16 x 120 = 1920 wide: columns of 2160, 4 across 9360
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.ListColumnWidth, 2160);
  EXPECT_EQ(p.ColumnListTop, 2120 + 5120 + 480);
  EXPECT_EQ(p.ColumnListHeight, 7 * 240);
  const auto header = FindText(" 25  words");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->x, 1440);
  EXPECT_EQ(header->y, p.ColumnListTop - 240);
  for (int n = 1; n <= 25; ++n) {
    int column = (n - 1) / 7, row = (n - 1) % 7;
    const auto entry = page.TextAt(1440 + column * 2340, p.ColumnListTop + row * 240);
    ASSERT_TRUE(entry) << n;
    EXPECT_EQ(entry->text, s.Words[static_cast<std::size_t>(n)].DisplayText);
    EXPECT_TRUE(entry->font.Bold);
  }
  EXPECT_EQ(page.TextAt(1440 + 3 * 2340, p.ColumnListTop + 4 * 240), std::nullopt);  // column 4 ends at 25
}

TEST_F(PageTest, SideListRunsBesideThePuzzleAndContinuesInColumns) {
  testing::MakeGrid(ctx, 6, 6);  // 1920 x 1920 at the right: 8880..10800, 2120..4040
  PlaceNumberedWords(12, 6);     // "BBBB01" is 720 wide
  ctx.print.PrintInstructions = 0;
  ctx.print.PuzzleHorizontal = Align::Right;
  ctx.print.Left = 1;
  int changes = 0;
  ctx.PrintOptionChangedByLayout = [&](std::string_view) { ++changes; };
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.SideListX, 1440);
  const auto header = FindText(" 12  words");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->x, 1440);
  EXPECT_EQ(header->y, 2120);  // level with the grid's top
  // Entries go on until the line below one starts past the grid's bottom + a line (4280).
  for (int k = 1; k <= 9; ++k) {
    auto entry = page.TextAt(1440, 2120 + k * 240.0);
    ASSERT_TRUE(entry) << k;
    EXPECT_EQ(entry->text, s.Words[static_cast<std::size_t>(k)].DisplayText);
  }
  // The other three continue in columns where the side list ended, with no second
  // header: Nearest(9360 / 960) = 10 columns, 936 apart.
  EXPECT_EQ(p.ListColumnWidth, 960);
  EXPECT_EQ(p.ColumnListTop, 2120 + 10 * 240);
  EXPECT_EQ(p.ColumnListHeight, 240);
  for (int k = 10; k <= 12; ++k) {
    auto entry = page.TextAt(1440 + (k - 10) * 936.0, p.ColumnListTop);
    ASSERT_TRUE(entry) << k;
    EXPECT_EQ(entry->text, s.Words[static_cast<std::size_t>(k)].DisplayText);
  }
  int list_texts = 0;
  for (const DrawOp& op : Texts()) list_texts += op.font.Name == "Arial" && op.font.Size == 12;
  EXPECT_EQ(list_texts, 13);  // one header and twelve entries
  EXPECT_EQ(ctx.print.Left, 1);
  EXPECT_EQ(changes, 0);
}

TEST_F(PageTest, SideListWithNoRoomClearsLeftAndTheNestedRelayoutAgrees) {
  testing::MakeGrid(ctx, 6, 6);
  PlaceNumberedWords(3, 6);
  ctx.print.Left = 1;
  ctx.print.PuzzleHorizontal = Align::Left;  // no room between the margin and the grid
  std::vector<std::string> changed;
  // What the print options dialog does: mirror the option, then lay the page out again.
  ctx.PrintOptionChangedByLayout = [&](std::string_view control) {
    changed.emplace_back(control);
    DrawPreviewPage(ctx);
  };
  DrawPreviewPage(ctx);
  EXPECT_EQ(changed, std::vector<std::string>{"chkLeft"});
  EXPECT_EQ(ctx.print.Left, 0);
  const PageLayout nested = p;

  // A fresh run with Left cleared gives the same page.
  RecordingSurface fresh;
  ctx.preview = &fresh;
  DrawPreviewPage(ctx);
  EXPECT_EQ(p, nested);
  EXPECT_EQ(changed.size(), 1u);
  EXPECT_EQ(fresh.TextAt(1440, p.PuzzleBottom + 480.0)->text, "BBBB01");
  EXPECT_EQ(fresh.TextAt(1440, p.PuzzleBottom + 240.0)->text, " 3  words");
}

TEST_F(PageTest, BracketedNotesPrintInRegularWeightWithoutBrackets) {
  testing::MakeGrid(ctx, 12, 12);
  testing::PlaceWord(ctx, "New York [city]", 1, 1, 1);
  testing::PlaceWord(ctx, "OWL", 2, 1, 1);
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  // N e w _ Y o r k _ c i t y: 120 120 180 60 120 120 120 120 60 120 60 60 120
  EXPECT_EQ(s.Words[1].ListWidth, 1380);
  const double top = p.ColumnListTop;
  std::string bold, regular;
  double x = 1440;
  for (const DrawOp& op : Texts()) {
    if (op.y != top || op.x >= 1440 + 1380) continue;
    EXPECT_EQ(op.x, x) << op.text;
    x += page.CharWidth(static_cast<unsigned char>(op.text[0]));
    (op.font.Bold ? bold : regular) += op.text;
  }
  EXPECT_EQ(bold, "New York ");
  EXPECT_EQ(regular, "city");
  EXPECT_EQ(FindText("["), std::nullopt);
  EXPECT_EQ(FindText("]"), std::nullopt);
  ASSERT_TRUE(FindText("OWL"));
  EXPECT_TRUE(FindText("OWL")->font.Bold);  // the weight comes back after a note
}

TEST_F(PageTest, NoPlacedWordsPrintTheHeaderOnlyBesideThePuzzle) {
  testing::MakeGrid(ctx, 5, 5);
  testing::AddUnplacedWord(ctx, "YAK");
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  EXPECT_EQ(FindText(" 0  words"), std::nullopt);
  EXPECT_EQ(Texts().size(), 1u);  // the (empty) title only: the grid is empty too

  ctx.print.PuzzleHorizontal = Align::Right;
  ctx.print.Left = 1;
  DrawPreviewPage(ctx);
  const auto header = FindText(" 0  words");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->x, 1440);
  EXPECT_EQ(header->y, p.PuzzleTop);
}

TEST_F(PageTest, OutlinesAreTheSameWhicheverWayAWordReads) {
  testing::MakeGrid(ctx, 5, 5);
  testing::PlaceWord(ctx, "CAT", 2, 1, 1);  // right
  testing::PlaceWord(ctx, "TAC", 3, 3, 2);  // left: the same cells one row lower
  testing::PlaceWord(ctx, "DOG", 5, 1, 7);  // up-right from the lower-left end
  testing::PlaceWord(ctx, "GOD", 3, 3, 8);  // down-left: the same cells
  testing::AddUnplacedWord(ctx, "EMU");
  ctx.print.OutlineWords = 1;
  ctx.print.PrintInstructions = 0;
  DrawPreviewPage(ctx);
  EXPECT_EQ(s.OutlinesShown, kTrue);

  auto lines = page.OfKind(DrawOp::Kind::Line);
  auto arcs = page.OfKind(DrawOp::Kind::Arc);
  ASSERT_EQ(lines.size(), 8u);
  ASSERT_EQ(arcs.size(), 8u);
  const double left = p.PuzzleLeft, top = p.PuzzleTop, r = 120, pi = s.Pi;
  // CAT: centres of (row 2, columns 1 and 3); lines above and below, arcs outward.
  EXPECT_EQ(std::vector<double>({lines[0].x, lines[0].y, lines[0].x2, lines[0].y2}),
            std::vector<double>({left + 160, top + 480 - r, left + 800, top + 480 - r}));
  EXPECT_EQ(arcs[0].x, left + 160);
  EXPECT_EQ(arcs[0].radius, r);
  EXPECT_EQ(arcs[0].start, 0.5 * pi);
  EXPECT_EQ(arcs[0].end, 1.5 * pi);
  EXPECT_EQ(arcs[1].x, left + 800);
  EXPECT_EQ(arcs[1].start, 1.5 * pi);
  for (int i = 0; i < 2; ++i) {  // TAC is CAT one row (320) lower
    EXPECT_EQ(lines[2 + i].x, lines[i].x);
    EXPECT_EQ(lines[2 + i].x2, lines[i].x2);
    EXPECT_EQ(lines[2 + i].y, lines[i].y + 320);
    EXPECT_EQ(arcs[2 + i].x, arcs[i].x);
    EXPECT_EQ(arcs[2 + i].start, arcs[i].start);
  }
  // DOG and GOD: P1 is the lower-left end (row 5, column 1) in both.
  const double d = std::sqrt(r * r / 2);
  for (int w = 4; w <= 6; w += 2) {
    EXPECT_EQ(lines[w].x, left + 160 - d);
    EXPECT_EQ(lines[w].y, top + 1440 - d);
    EXPECT_EQ(lines[w].x2, left + 800 - d);
    EXPECT_EQ(lines[w].y2, top + 800 - d);
    EXPECT_EQ(arcs[w].start, 0.75 * pi);
    EXPECT_EQ(arcs[w + 1].x, left + 800);
    EXPECT_EQ(arcs[w + 1].start, 1.75 * pi);
  }

  ctx.print.OutlineWords = 0;
  DrawPreviewPage(ctx);
  EXPECT_EQ(s.OutlinesShown, 0);
}

TEST_F(PageTest, PrinterRunUsesWholeTwipsFourFrameLinesAndFlagsItself) {
  testing::MakeGrid(ctx, 6, 6);
  PlaceNumberedWords(2, 6);
  ctx.print.Left = 1;
  ctx.print.PuzzleHorizontal = Align::Left;  // the layout clears Left mid-run
  std::vector<i16> printing_seen;
  ctx.PrintOptionChangedByLayout = [&](std::string_view) { printing_seen.push_back(s.PrintingInProgress); };
  RecordingSurface printer(12000.4, 15599.6);
  DrawPrinterPage(ctx, printer);
  EXPECT_EQ(printing_seen, std::vector<i16>{kTrue});
  EXPECT_EQ(s.PrintingInProgress, kFalse);
  EXPECT_DOUBLE_EQ(printer.ScaleWidth(), 12000);
  EXPECT_EQ(p.PrintableWidth, 12000 - 2880);
  EXPECT_EQ(p.PrintableHeight, 15600 - 2880);
  EXPECT_TRUE(printer.OfKind(DrawOp::Kind::Box).empty());
  EXPECT_TRUE(printer.OfKind(DrawOp::Kind::Cls).empty());
  auto lines = printer.OfKind(DrawOp::Kind::Line);
  ASSERT_EQ(lines.size(), 4u);
  const double l = p.PuzzleLeft, t = p.PuzzleTop, r = p.PuzzleRight, b = p.PuzzleBottom;
  EXPECT_EQ(std::vector<double>({lines[0].x, lines[0].y, lines[1].x, lines[1].y, lines[2].x, lines[2].y,
                                 lines[3].x, lines[3].y}),
            std::vector<double>({l, t, r, t, r, b, l, b}));
  EXPECT_TRUE(page.ops.empty());  // the preview was not touched

  // The preview does nothing while the dialog holds layouts back.
  s.LayoutEnabled = kFalse;
  const PageLayout before = p;
  DrawPreviewPage(ctx);
  EXPECT_TRUE(page.ops.empty());
  EXPECT_EQ(p, before);
}

TEST_F(PageTest, HopelessSizesEndAtOnePointAndOneColumnWithoutWrapping) {
  testing::MakeGrid(ctx, 1000, 1);              // 1000 cells of 20 at 1 point still pass 9360
  testing::SetTitle(ctx, std::string(1000, 'W'));  // 15000 at 1 point
  testing::PlaceWord(ctx, std::string(200, 'W'), 1, 1, 1);  // 36000 at 12 points: wider than 2 pages
  DrawPreviewPage(ctx);
  EXPECT_EQ(ctx.fonts(kTitleFont).Size, 1);
  EXPECT_EQ(ctx.fonts(kPuzzleFont).Size, 1);
  EXPECT_EQ(p.GridWidth, 20000);
  EXPECT_EQ(p.PuzzleLeft, 1440 + (9360 - 20000) / 2);
  ASSERT_TRUE(FindText(std::string(200, 'W')));
  EXPECT_EQ(FindText(std::string(200, 'W'))->x, 1440);  // one column at the margin

  // A margin of 30 inches cannot be held in 16 bits: it stays at the limit.
  ctx.print.Margins[kTopMargin] = "30\"";
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.TopMargin, 32767);
  EXPECT_LT(p.PrintableHeight, 0);
}

TEST_F(PageTest, GridIsDrawnToItsOwnSizeWhenTheAttributesNameAnother) {
  testing::MakeGrid(ctx, 6, 4);
  testing::PlaceWord(ctx, "LYNX", 4, 3, 1);
  s.PuzzleWidth = 30;  // changed in the attributes, not built yet
  s.PuzzleHeight = 2;
  DrawPreviewPage(ctx);
  EXPECT_EQ(p.GridWidth, 6 * 320);
  EXPECT_EQ(p.GridHeight, 4 * 320);
  ASSERT_TRUE(FindText("X"));
  EXPECT_EQ(FindText("X")->y, p.PuzzleTop + 3 * 320.0);
}

}  // namespace
}  // namespace kivrel
