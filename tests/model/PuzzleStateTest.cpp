#include <gtest/gtest.h>

#include "TestApp.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::TestApp;

// Start-up leaves the options off until they are set, sizes the display once and shows
// the main window, not as a dialog; the seed decides a fair random sequence.
TEST(StartUp, ShowsTheMainWindowAndTheSeedDecidesAFairRandomSequence) {
  TestApp a, b;
  int sized = 0;
  a.ctx.SizePuzzleDisplay = [&] { ++sized; };
  StartUp(a.ctx, 99);
  StartUp(b.ctx, 99);
  EXPECT_EQ(std::make_pair(a.ctx.state.IncludeDiagonals, sized), std::make_pair(i16{0}, 1));
  EXPECT_TRUE(a.ctx.MainForm().Visible() && !a.ctx.MainForm().ShownModal());
  int counts[6] = {};
  for (int i = 0; i < 60000; ++i) {
    const float r = a.ctx.rng.Next();
    ASSERT_TRUE(r == b.ctx.rng.Next() && r >= 0.0f && r < 1.0f) << r;
    ++counts[a.ctx.rng.Below(6)];
    b.ctx.rng.Next();
  }
  for (int count : counts) EXPECT_TRUE(count > 9500 && count < 10500) << count;
}

TEST(LetterGrid, HasRowAndColumnZeroAndRefusesCellsOutsideOrSizesPastSixteenBits) {
  LetterGrid grid;
  grid.Create(3, 1);
  EXPECT_TRUE(grid.At(0, 0).Letter.empty() && !grid.Contains(0, 1) && grid.Contains(3, 1));
  EXPECT_THROW(grid.At(4, 1), std::out_of_range);
  EXPECT_THROW(grid.At(1, 2), std::out_of_range);
  EXPECT_THROW(grid.Create(200, 200), std::invalid_argument);  // 40000 cells pass 16 bits
  EXPECT_TRUE(GridSizeFits(32767, 1) && !GridSizeFits(200, 200) && !GridSizeFits(-1, 5));
}

}  // namespace
}  // namespace kivrel
