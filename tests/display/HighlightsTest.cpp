#include <gtest/gtest.h>

#include "TestApp.h"
#include "display/Highlights.h"

namespace kivrel {
namespace {

TEST(ClearHighlights, WalksTheGridItHasWhateverTheSizeSays) {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  s.Grid.Create(1, 2);
  s.Grid.At(1, 1) = {"A", 1, 2, {}};
  s.Grid.At(1, 2) = {" ", 0, 1, {}};
  s.Words.resize(3);
  s.Words[2].Shown = 1;
  s.PuzzleWidth = s.PuzzleHeight = 9;
  s.WordCount = 2;
  ClearHighlights(app.ctx);
  EXPECT_EQ(app.picture.Texts(), std::vector<std::string>{"A"});
  EXPECT_EQ(s.Grid.At(1, 1).ShowCount + s.Grid.At(1, 2).ShowCount, 0);
  EXPECT_EQ(s.Words[2].Shown, 0);
}

}  // namespace
}  // namespace kivrel
