#include <gtest/gtest.h>

#include "BuildHelpers.h"
#include "commands/BuildCommands.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::SetUpPuzzle;
using testing::TestApp;

struct Built : TestApp {
  explicit Built(std::vector<std::string> words = {"KANGAROO", "WOMBAT", "EMU", "KOALA"}, int size = 9) {
    SetUpPuzzle(*this, words, size, size, 6);
    BuildPuzzle(ctx);
    placed = ctx.state.Grid;
    picture.ops.clear();
  }
  // The letters of the cells no word uses, in reading order.
  std::vector<std::string> Blanks() const {
    std::vector<std::string> letters;
    for (int r = 1; r <= placed.Height(); ++r) {
      for (int c = 1; c <= placed.Width(); ++c) {
        if (placed.At(r, c).UseCount == 0) letters.push_back(ctx.state.Grid.At(r, c).Letter);
      }
    }
    return letters;
  }
  std::vector<std::string> Drawn(Rgb color) const {
    std::vector<std::string> texts;
    for (const DrawOp& op : picture.OfKind(DrawOp::Kind::Text)) {
      EXPECT_EQ(op.color, color);
      texts.push_back(op.text);
    }
    return texts;
  }
  LetterGrid placed;
};

TEST(FillInBlanks, FillsTheBlanksInReadingOrderAndClearsThemAgain) {
  Built app;
  const PuzzleState& s = app.ctx.state;
  const i16 spaces = s.SpacesRemaining;
  Random rng = app.ctx.rng;
  FillInBlanks(app.ctx);
  EXPECT_EQ(s.BlanksFilled, kTrue);
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < app.Blanks().size(); ++i)
    expected.push_back(std::string(1, static_cast<char>('A' + rng.Below(26))));
  EXPECT_EQ(app.Blanks(), expected);
  EXPECT_EQ(app.Drawn(kBlack), expected);
  EXPECT_EQ(s.SpacesRemaining, spaces);  // filler still counts as empty

  app.picture.ops.clear();
  FillInBlanks(app.ctx);
  EXPECT_EQ(s.BlanksFilled, 0);
  EXPECT_EQ(app.picture.ForeColor(), kWhite);
  EXPECT_EQ(app.Blanks(), std::vector<std::string>(expected.size(), " "));
  EXPECT_EQ(app.Drawn(kWhite), expected);  // erased by drawing them in white

  FillInBlanks(app.ctx);  // cleared cells count as blanks again, with new letters
  EXPECT_NE(app.Blanks(), expected);
  for (int r = 1; r <= 9; ++r) {
    for (int c = 1; c <= 9; ++c) {
      if (app.placed.At(r, c).UseCount > 0) {
        EXPECT_EQ(s.Grid.At(r, c), app.placed.At(r, c));
      } else {
        EXPECT_NE(s.Grid.At(r, c).Letter, " ");
      }
    }
  }
}

TEST(FillInBlanks, AGridWithoutBlanksOnlyTogglesTheFlagAndColour) {
  Built app({"Q"}, 1);
  FillInBlanks(app.ctx);
  EXPECT_EQ(app.ctx.state.BlanksFilled, kTrue);
  FillInBlanks(app.ctx);
  EXPECT_EQ(app.ctx.state.BlanksFilled, 0);
  EXPECT_EQ(app.picture.ForeColor(), kWhite);
  EXPECT_TRUE(app.ctx.state.Grid == app.placed);
  EXPECT_TRUE(app.picture.ops.empty());
}

}  // namespace
}  // namespace kivrel
