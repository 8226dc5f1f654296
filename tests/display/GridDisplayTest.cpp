#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TestApp.h"
#include "display/GridDisplay.h"
#include "forms/MainWindow.h"
#include "forms/WindowPlacement.h"
#include "files/Cp1252.h"

// The recording surface measures a text "A" as FontSize x 20 twips high, "W" as
// FontSize x 15 wide and "I" as FontSize x 5 wide, so at 12 points a cell is 240 twips.
namespace kivrel {
namespace {

using namespace testing;

struct Display : ::testing::Test {
  TestApp app;
  FakeMainWindow window{app.ctx};
  MainWindow main{app.ctx};  // its resize handler runs the nested sizing

  Form& form() { return app.ctx.MainForm(); }
  const DisplayMetrics& metrics() { return app.ctx.display; }
  void Size(int width, int height) {
    app.ctx.state.PuzzleWidth = static_cast<i16>(width);
    app.ctx.state.PuzzleHeight = static_cast<i16>(height);
    SizePuzzleDisplay(app.ctx);
  }
  void SetScreen(int width, int height) { app.metrics = FixedWindowMetrics(width, height); }
  // The font size, cell size and width of "W" the display measured.
  std::tuple<int, int, int> Sizes() { return {metrics().DisplayFontSize, metrics().CellSize, metrics().WideCharWidth}; }
  std::pair<int, int> WindowSize() { return {form().Geometry().Width, form().Geometry().Height}; }
  Rect Picture() { return form().Bounds(frmKV_Puzzle::picPuzzle); }
};

TEST_F(Display, WithoutAPuzzleShowsFifteenByFifteenCellsAtTwelvePointsCentringEachLetter) {
  SizePuzzleDisplay(app.ctx);
  EXPECT_EQ(Sizes(), std::make_tuple(12, 240, 180));
  EXPECT_EQ(Picture(), (Rect{45, 495, 3600, 3600}));
  EXPECT_TRUE(form().IsVisible(frmKV_Puzzle::picPuzzle));
  EXPECT_TRUE(app.picture.FontName() == "MS Sans Serif" && app.picture.FontBold());
  // Every character that can stand in a cell is measured, and the small letters they
  // may be shown as (W, I, Ä, Š, t, ä); nothing else (~).
  const auto& widths = metrics().CharWidths;
  EXPECT_EQ((std::vector<int>{widths['W'], widths['I'], widths[0xC4], widths[UnicodeToCp1252(U'\u0160')], widths['t'],
                              widths[0xE4], widths['~']}),
            (std::vector<int>{180, 60, 120, 120, 60, 120, 0}));

  // A letter is centred on its first character, in capitals or, with lower case shown,
  // as its small letter centred on its own width.
  app.picture.ops.clear();
  DrawCellLetter(app.ctx, 2, 3, "I");
  DrawCellLetter(app.ctx, 2, 3, "W");
  DrawCellLetter(app.ctx, 1, 1, "\u00c4");  // Ä, a letter beyond A-Z
  DrawCellLetter(app.ctx, 4, 1, "12");      // centred on the "1", runs to the right
  app.ctx.display.CellSize = 241;           // an odd room rounds the left edge down: Int(60.5)
  DrawCellLetter(app.ctx, 1, 2, "A");
  std::vector<std::pair<double, double>> places;
  for (const DrawOp& op : app.picture.OfKind(DrawOp::Kind::Text)) places.emplace_back(op.x, op.y);
  EXPECT_EQ(places, (std::vector<std::pair<double, double>>{
                        {480 + 90, 240}, {480 + 30, 240}, {60, 0}, {60, 720}, {241 + 60, 0}}));

  app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuLowerCase, true);
  SizePuzzleDisplay(app.ctx);
  app.picture.ops.clear();
  for (const char* letter : {"T", "\u00c4", "\u00df", "7"}) DrawCellLetter(app.ctx, 1, 1, letter);  // T Ä ß 7
  EXPECT_EQ(app.picture.Texts(), (std::vector<std::string>{"t", "\u00e4", "\u00df", "7"}));
  EXPECT_EQ(app.picture.OfKind(DrawOp::Kind::Text)[0].x, 90);  // "t" is half as wide as "T"
}

TEST_F(Display, ShrinksTheFontUntilThePuzzleFitsTheScreen) {
  // At s points a 40 x 40 picture is 800s twips: it needs 2670 + 800s across
  // (45 + picture + 2220 frame + 3 x 60 border + 225) and 1395 + 800s down.
  SetScreen(9000, 20000);
  Size(40, 40);
  EXPECT_EQ(Sizes(), std::make_tuple(7, 140, 180)) << "the outline radius keeps the 12-point width";
  EXPECT_EQ(metrics().CharWidths['A'], 70) << "letters are measured in the final font";
  EXPECT_EQ(Picture(), (Rect{45, 495, 5600, 5600}));
  EXPECT_EQ(WindowSize(), std::make_pair(2670 + 5600, 1395 + 5600));
  SetScreen(20000, 7000);  // now the height decides: 1395 + 800s <= 7000
  Size(40, 40);
  EXPECT_EQ(metrics().DisplayFontSize, 7);
  SetScreen(3000, 3000);  // even 5 points is too large: 5 points, and the window grows anyway
  Size(40, 40);
  EXPECT_EQ(Sizes(), std::make_tuple(5, 100, 180));
}

TEST_F(Display, TheWindowOnlyGrowsAndMakesRoomForTheButtonRow) {
  form().UpdateGeometry({0, 0, 5000, 4000, 4880, 3280});
  Size(3, 3);  // the button row (6900 + 690 + 2 x 60) is wider than picture and frame
  EXPECT_EQ(WindowSize(), std::make_pair(7710, 5055 + 495 + 720 + 180));
  Size(30, 25);  // the resize handler re-anchors the statistics frame to the new width
  EXPECT_EQ(WindowSize(), std::make_pair(45 + 7200 + 2220 + 180 + 225, 6000 + 495 + 720 + 180));
  EXPECT_EQ(form().Bounds(frmKV_Puzzle::fraStats).Left, 45 + 7200 + 180);
  Size(5, 5);
  EXPECT_EQ(form().Geometry().Width, 45 + 7200 + 2220 + 180 + 225);
  EXPECT_EQ(Picture(), (Rect{45, 495, 1200, 1200}));
  window.Resize(40000, 30000);  // far larger than the screen: kept, and no smaller font
  Size(20, 20);
  EXPECT_EQ(metrics().DisplayFontSize, 12);
  EXPECT_EQ(WindowSize(), std::make_pair(40000, 30000));
}

TEST_F(Display, TheWindowGrowsOnlyInsideTheScreen) {
  // 25 x 25 at 12 points needs 8670 x 7395: growing from (6000, 4000) would pass the
  // right and the bottom edge, so the window moves left and up first.
  SetScreen(12000, 9000);
  form().UpdateGeometry({6000, 4000, 5000, 4000, 4880, 3280});
  Size(25, 25);
  const FormGeometry& grown = form().Geometry();
  EXPECT_EQ(std::tie(grown.Left, grown.Top, grown.Width, grown.Height), std::make_tuple(3330, 1605, 8670, 7395));
}

TEST_F(Display, TheWordListMovesAsideOnlyWhenAPuzzleGrowsTheWindowOverIt) {
  SetScreen(40000, 20000);
  Form& list = app.ctx.WordListForm();
  list.UpdateGeometry({7900, 0, 6000, 8000, 5880, 7400});  // just right of the window
  list.Show(false);
  window.Resize(9000, 6900);  // the user drags the window over it: it stays
  EXPECT_EQ(list.Geometry().Left, 7900);
  app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 40;  // 12 points: 45 + 9600 + 2220 + 180 + 225
  SizePuzzleWindow(app.ctx);
  EXPECT_EQ(list.Geometry().Left, 12270);
}

TEST_F(Display, AMaximisedOrMinimisedWindowIsNotResized) {
  for (int state : {kWindowMaximized, kWindowMinimized}) {
    form().SetWindowState(state);
    FormGeometry before = form().Geometry();
    Size(30, 30);
    EXPECT_EQ(form().Geometry(), before);
    EXPECT_EQ(Picture(), (Rect{45, 495, 7200, 7200}));
    EXPECT_TRUE(form().IsVisible(frmKV_Puzzle::picPuzzle));
  }
}

TEST_F(Display, ClearHighlightsTurnsRedLettersBlackAndKeepsWhatIsDrawn) {
  Size(3, 2);
  PuzzleState& s = app.ctx.state;
  s.Grid.Create(2, 3);
  // C shown by two words, a fill letter taken away (" ") shown by one, T shown by none.
  for (auto [row, col, letter, shown] : {std::tuple{1, 1, "C", 2}, {1, 2, " ", 1}, {2, 3, "T", 0}}) {
    s.Grid.At(row, col).Letter = letter;
    s.Grid.At(row, col).ShowCount = static_cast<i16>(shown);
  }
  s.WordCount = 1;
  s.Words.resize(2);
  s.Words[1].Shown = kTrue;
  app.picture.ops.clear();
  ClearHighlights(app.ctx);
  EXPECT_EQ(app.picture.Texts(), (std::vector<std::string>{"C", "T"}));
  for (const DrawOp& op : app.picture.ops) EXPECT_TRUE(op.kind != DrawOp::Kind::Cls && op.color == kBlack);
  EXPECT_EQ(std::tie(s.Grid.At(1, 1).ShowCount, s.Grid.At(1, 2).ShowCount, s.Words[1].Shown),
            std::make_tuple(i16{0}, i16{0}, i16{0}));

  s.WordCount = 3;  // a word count beyond the table stops the word pass quietly
  EXPECT_NO_THROW(ClearHighlights(app.ctx));
}

// A cell stays highlighted until the last shown word through it is hidden: CAT going
// Right from (2, 1) and BAD going Down from (1, 2) share (2, 2); DOG is not placed.
TEST(ShowSelectedWord, ShowsOnlyPlacedWordsAndACellStaysHighlightedUntilItsLastShownWordIsHidden) {
  TestApp app;
  app.AddEntries({"CAT", "BAD", "DOG"});
  testing::MakeGrid(app.ctx, 4, 4);
  testing::PlaceWord(app.ctx, "CAT", 2, 1, 1);
  testing::PlaceWord(app.ctx, "BAD", 1, 2, 3);
  testing::AddUnplacedWord(app.ctx, "DOG");
  // The entry chosen, shown or hidden, then the letters drawn so far and the words
  // showing the shared cell. No entry, one not placed or one past the table: nothing.
  const std::tuple<int, WriteMode, int, int> steps[] = {
      {0, WriteMode::Show, 0, 0}, {3, WriteMode::Show, 0, 0}, {8, WriteMode::Show, 0, 0},  {1, WriteMode::Show, 3, 1},
      {2, WriteMode::Show, 6, 2}, {2, WriteMode::Hide, 8, 1}, {1, WriteMode::Hide, 11, 0}, {1, WriteMode::Hide, 11, 0}};
  for (auto [index, mode, draws, shared] : steps) {
    app.ctx.state.SelectedWordIndex = static_cast<i16>(index);
    ShowSelectedWord(app.ctx, mode);
    EXPECT_EQ(app.picture.OfKind(DrawOp::Kind::Text).size(), static_cast<std::size_t>(draws)) << index;
    EXPECT_EQ(app.ctx.state.Grid.At(2, 2).ShowCount, shared) << index;
  }
  EXPECT_EQ(app.ctx.state.Grid.At(2, 1).ShowCount, 0);
}

}  // namespace
}  // namespace kivrel
