// The rules of where the line scan puts a word (more crossings, then busier cells, then
// the less used direction) and the first word's place are pinned by the seeded builds'
// digests, which change with any of their decisions or draws.
#include <gtest/gtest.h>

#include "BuildHelpers.h"
#include "engine/Placement.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

// Eight words may cross in one cell, a ninth may not.
TEST(InsertWord, NeverPutsANinthWordThroughACell) {
  for (i16 through : {7, 8}) {
    testing::TestApp app;
    testing::SetUpPuzzle(app, {"A"}, 3, 3, 5);
    BuildWordTable(app.ctx);
    PuzzleState& s = app.ctx.state;
    s.Grid.Create(3, 3);
    s.Grid.At(2, 2) = CellRecord{"A", through};
    s.CurrentWordIndex = 1;
    s.CurrentDirection = s.CurrentRow = s.CurrentCol = 2;
    s.CurrentWordLength = 1;
    if (through == 7) {
      InsertWord(s);
      EXPECT_EQ(std::make_pair(s.Grid.At(2, 2).UseCount, s.Grid.At(2, 2).WordRefs[8]), std::make_pair(i16{8}, i16{1}));
    } else {
      EXPECT_THROW(InsertWord(s), std::logic_error);
    }
  }
}

}  // namespace
}  // namespace kivrel
