#include <gtest/gtest.h>

#include "BuildHelpers.h"
#include "build/BuildPuzzle.h"
#include "build/FillInBlanks.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::SetUpPuzzle;
using testing::TestApp;

struct Built : TestApp {
  Built() {
    SetUpPuzzle(*this, {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, 9, 9, 6);
    BuildPuzzle(ctx);
    placed = ctx.state.Grid;
    picture.ops.clear();
  }
  std::vector<std::string> BlankLetters() const {
    std::vector<std::string> letters;
    for (int r = 1; r <= 9; ++r) {
      for (int c = 1; c <= 9; ++c) {
        if (placed.At(r, c).UseCount == 0) letters.push_back(ctx.state.Grid.At(r, c).Letter);
      }
    }
    return letters;
  }
  LetterGrid placed;
};

TEST(FillInBlanks, FillsEveryBlankInReadingOrderAndLeavesTheWords) {
  Built app;
  const PuzzleState& s = app.ctx.state;
  const i16 spaces = s.SpacesRemaining;
  Random expected_rng = app.ctx.rng;
  FillInBlanks(app.ctx);
  EXPECT_EQ(s.BlanksFilled, kTrue);
  EXPECT_EQ(app.picture.ForeColor(), kBlack);
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < app.BlankLetters().size(); ++i) {
    expected.push_back(std::string(1, static_cast<char>('A' + expected_rng.Below(26))));
  }
  EXPECT_EQ(app.BlankLetters(), expected);
  for (int r = 1; r <= 9; ++r) {
    for (int c = 1; c <= 9; ++c) {
      if (app.placed.At(r, c).UseCount > 0) {
        EXPECT_EQ(s.Grid.At(r, c), app.placed.At(r, c));
      }
    }
  }
  EXPECT_EQ(app.picture.OfKind(DrawOp::Kind::Text).size(), expected.size());
  EXPECT_EQ(s.SpacesRemaining, spaces);  // filler still counts as empty
}

TEST(FillInBlanks, ClearingErasesTheFillerInWhiteAndRefillingDrawsNewLetters) {
  Built app;
  FillInBlanks(app.ctx);
  const std::vector<std::string> first = app.BlankLetters();
  app.picture.ops.clear();
  FillInBlanks(app.ctx);
  EXPECT_EQ(app.ctx.state.BlanksFilled, 0);
  EXPECT_EQ(app.picture.ForeColor(), kWhite);
  EXPECT_EQ(app.BlankLetters(), std::vector<std::string>(first.size(), " "));
  std::vector<std::string> erased;
  for (const DrawOp& op : app.picture.OfKind(DrawOp::Kind::Text)) {
    EXPECT_EQ(op.color, kWhite);
    erased.push_back(op.text);
  }
  EXPECT_EQ(erased, first);
  FillInBlanks(app.ctx);
  EXPECT_NE(app.BlankLetters(), first);
  for (const std::string& letter : app.BlankLetters()) EXPECT_NE(letter, " ");
}

TEST(FillInBlanks, AGridWithoutBlanksOnlyTogglesTheFlagAndColour) {
  TestApp app;
  SetUpPuzzle(app, {"Q"}, 1, 1, 1);
  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::Finished);
  ASSERT_EQ(app.ctx.state.SpacesRemaining, 0);
  const LetterGrid grid = app.ctx.state.Grid;
  app.picture.ops.clear();
  FillInBlanks(app.ctx);
  EXPECT_EQ(app.ctx.state.BlanksFilled, kTrue);
  FillInBlanks(app.ctx);
  EXPECT_EQ(app.ctx.state.BlanksFilled, 0);
  EXPECT_EQ(app.picture.ForeColor(), kWhite);
  EXPECT_TRUE(app.ctx.state.Grid == grid);
  EXPECT_TRUE(app.picture.ops.empty());
}

}  // namespace
}  // namespace kivrel
