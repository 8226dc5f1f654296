#include <gtest/gtest.h>

#include "model/PuzzleState.h"

namespace kivrel {
namespace {

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
