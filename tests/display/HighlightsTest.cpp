#include <gtest/gtest.h>

#include "TestApp.h"
#include "display/Highlights.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::TestApp;

TEST(ClearHighlights, DrawsTheLettersBlackOverTheRedAndKeepsTheRestOfThePicture) {
  TestApp app;
  PuzzleState& s = app.ctx.state;
  s.Grid.Create(2, 2);
  s.Grid.At(1, 1) = {"A", 1, 2, {}};
  s.Grid.At(1, 2) = {" ", 0, 0, {}};  // a fill letter taken away
  s.Grid.At(2, 2) = {"B", 1, 1, {}};
  s.Words.resize(3);
  s.Words[1].Shown = 1;
  s.Words[2].Shown = 1;
  // The counts claim a bigger puzzle and fewer words than there are: the grid's and
  // the table's own bounds are walked.
  s.PuzzleWidth = s.PuzzleHeight = 9;
  s.WordCount = 1;
  app.ctx.display.CellSize = 200;
  app.picture.SetForeColor(kRed);

  ClearHighlights(app.ctx);

  EXPECT_EQ(app.picture.Texts(), (std::vector<std::string>{"A", "B"}));
  for (const DrawOp& op : app.picture.ops) {
    EXPECT_EQ(op.kind, DrawOp::Kind::Text);  // nothing cleared
    EXPECT_EQ(op.color, kBlack);
  }
  EXPECT_TRUE(app.picture.TextAt(300, 200));  // B, centred in row 2, column 2
  for (int row = 1; row <= 2; ++row) {
    for (int col = 1; col <= 2; ++col) EXPECT_EQ(s.Grid.At(row, col).ShowCount, 0);
  }
  EXPECT_EQ(s.Words[1].Shown, 0);
  EXPECT_EQ(s.Words[2].Shown, 0);
}

}  // namespace
}  // namespace kivrel
