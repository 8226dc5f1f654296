#include <gtest/gtest.h>

#include "TestApp.h"
#include "model/StartUp.h"

namespace kivrel {
namespace {

using testing::TestApp;

TEST(StartUp, SetsTheConstantsTheDirectionTableAndTheFonts) {
  TestApp app;
  int sized = 0;
  app.ctx.SizePuzzleDisplay = [&] { ++sized; };
  StartUp(app.ctx, 1234);
  const PuzzleState& s = app.ctx.state;

  const int rows[] = {0, 0, 1, -1, 1, -1, -1, 1};
  const int cols[] = {1, -1, 0, 0, 1, -1, 1, -1};
  for (int d = 1; d <= 8; ++d) {
    EXPECT_EQ(s.RowStep[d], rows[d - 1]) << "direction " << d;
    EXPECT_EQ(s.ColStep[d], cols[d - 1]) << "direction " << d;
  }
  EXPECT_FLOAT_EQ(s.Pi, 3.14159265f);
  EXPECT_EQ(s.BalanceDirections, 1);
  EXPECT_EQ(s.IncludeDiagonals, 0);  // stays off until the options are set
  EXPECT_EQ(s.FastBuild, 0);
  EXPECT_NE(s.LayoutEnabled, 0);
  EXPECT_EQ(s.PrintingInProgress, 0);
  EXPECT_EQ(s.TabChar, '\t');
  EXPECT_EQ(s.QuoteChar, '"');
  EXPECT_EQ(sized, 1);
  EXPECT_TRUE(app.ctx.MainForm().Visible());
  EXPECT_FALSE(app.ctx.MainForm().ShownModal());
  EXPECT_EQ(app.ctx.fonts(kTitleFont), (FontRecord{"Title", "Times New Roman", 18, kTrue, kTrue}));
  EXPECT_EQ(app.ctx.fonts(kPuzzleFont).FontName, "Arial");
  EXPECT_EQ(app.ctx.fonts(kWordListFont).Size, 12);
  EXPECT_EQ(app.ctx.fonts(kQuotationFont).Section, "");
}

TEST(StartUp, TheSeedDecidesTheRandomSequence) {
  TestApp a, b;
  StartUp(a.ctx, 99);
  StartUp(b.ctx, 99);
  for (int i = 0; i < 100; ++i) {
    float r = a.ctx.rng.Next();
    EXPECT_EQ(r, b.ctx.rng.Next());
    EXPECT_GE(r, 0.0f);
    EXPECT_LT(r, 1.0f);
  }
  EXPECT_EQ(a.ctx.rng.Below(0), 0);
}

TEST(Random, IsUniformEnoughForAFairDie) {
  Random rng(7);
  int counts[6] = {};
  for (int i = 0; i < 60000; ++i) ++counts[rng.Below(6)];
  for (int count : counts) {
    EXPECT_GT(count, 9500);
    EXPECT_LT(count, 10500);
  }
}

TEST(PuzzleState, DefaultBuildOptionsLeaveTheRejectOptions) {
  PuzzleState s;
  s.StopOnFirstReject = 1;
  s.RestartOnFirstReject = 0;
  s.SetDefaultBuildOptions();
  EXPECT_EQ(s.StopRemainingCount, -1);
  EXPECT_EQ(s.IncludeDiagonals, 1);
  EXPECT_EQ(s.BalanceDirections, 1);
  EXPECT_EQ(s.FastBuild, 1);
  EXPECT_EQ(s.StopOnFirstReject, 1);
  EXPECT_EQ(s.RestartOnFirstReject, 0);
}

TEST(LetterGrid, HasRowAndColumnZeroAndRefusesCellsOutside) {
  LetterGrid grid;
  grid.Create(3, 1);
  EXPECT_EQ(grid.Height(), 3);
  EXPECT_EQ(grid.Width(), 1);
  EXPECT_TRUE(grid.At(0, 0).Letter.empty());
  EXPECT_TRUE(grid.At(3, 1).IsEmpty());
  EXPECT_FALSE(grid.Contains(0, 1));
  EXPECT_TRUE(grid.Contains(3, 1));
  EXPECT_THROW(grid.At(4, 1), std::out_of_range);
  EXPECT_THROW(grid.At(1, 2), std::out_of_range);
  EXPECT_THROW(grid.Create(200, 200), std::invalid_argument);  // 40000 cells pass 16 bits
}

TEST(LetterGrid, ACellHoldsEightWords) {
  LetterGrid grid;
  grid.Create(2, 2);
  CellRecord& cell = grid.At(1, 1);
  for (int k = 1; k <= 8; ++k) {
    ++cell.UseCount;
    cell.WordRefs[cell.UseCount] = static_cast<i16>(10 + k);
  }
  EXPECT_EQ(cell.UseCount, 8);
  EXPECT_EQ(grid.At(1, 1).WordRefs[8], 18);
  EXPECT_EQ(grid.At(1, 1).WordRefs[1], 11);
}

TEST(CellRecord, EmptyMeansNothingOrASpace) {
  CellRecord cell;
  EXPECT_TRUE(cell.IsEmpty());
  cell.Letter = " ";
  EXPECT_TRUE(cell.IsEmpty());
  cell.Letter = "A";
  EXPECT_FALSE(cell.IsEmpty());
  cell.Letter = "É";
  EXPECT_FALSE(cell.IsEmpty());
}

TEST(PuzzleState, GridSizesThatTheCountsCanCarry) {
  EXPECT_TRUE(GridSizeFits(99, 99));
  EXPECT_TRUE(GridSizeFits(32767, 1));
  EXPECT_FALSE(GridSizeFits(200, 200));
  EXPECT_FALSE(GridSizeFits(-1, 5));
}

}  // namespace
}  // namespace kivrel
