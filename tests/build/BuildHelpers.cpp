#include "BuildHelpers.h"

#include <gtest/gtest.h>

#include <map>

#include "model/CommandStates.h"
#include "model/Numbers.h"
#include "model/StartUp.h"
#include "model/Text.h"

namespace kivrel::testing {

void SetUpPuzzle(TestApp& app, const std::vector<std::string>& words, int width, int height, std::uint64_t seed) {
  StartUp(app.ctx, seed);
  for (const std::string& word : words) app.ctx.list.AddItem(word);
  app.ctx.state.WordCount = static_cast<i16>(app.ctx.list.ListCount());
  app.ctx.state.PuzzleWidth = static_cast<i16>(width);
  app.ctx.state.PuzzleHeight = static_cast<i16>(height);
  app.ctx.state.SetDefaultBuildOptions();
  app.ctx.MainForm().SetChecked("mnuSound", true);
}

std::string GridText(const PuzzleState& s) {
  std::string text;
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      text += cell.IsEmpty() ? "." : cell.Letter;
    }
    text += "\n";
  }
  return text;
}

void ExpectConsistent(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  const int h = s.Grid.Height();
  const int w = s.Grid.Width();
  // The words through each cell, in the order they were placed (BuildOrder).
  std::map<std::pair<int, int>, std::vector<int>> through;
  int placed = 0, rejected = 0, letters_left = 0, crossings = 0;
  std::array<int, 9> by_direction{};
  for (std::size_t position = 1; position < s.BuildOrder.size(); ++position) {
    const int index = s.BuildOrder[position];
    if (index == 0) continue;
    const WordRecord& word = s.Words[static_cast<std::size_t>(index)];
    if (word.Status == kStatusRejected) ++rejected;
    if (word.Status != kStatusPlaced) {
      if (word.Status != kStatusRejected) letters_left += word.Length;
      continue;
    }
    ++placed;
    ++by_direction[static_cast<std::size_t>(word.Direction)];
    for (int k = 1; k <= word.Length; ++k) {
      const int row = word.StartRow + (k - 1) * s.RowStep[static_cast<std::size_t>(word.Direction)];
      const int col = word.StartCol + (k - 1) * s.ColStep[static_cast<std::size_t>(word.Direction)];
      ASSERT_TRUE(s.Grid.Contains(row, col)) << word.Text << " leaves the grid";
      EXPECT_EQ(s.Grid.At(row, col).Letter, CharAt(word.Text, static_cast<std::size_t>(k)))
          << word.Text << " letter " << k << "\n" << GridText(s);
      through[{row, col}].push_back(index);
    }
  }
  int empty = 0;
  for (int row = 1; row <= h; ++row) {
    for (int col = 1; col <= w; ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      const std::vector<int>& words = through[{row, col}];
      ASSERT_EQ(cell.UseCount, static_cast<int>(words.size())) << "cell " << row << "," << col;
      ASSERT_LE(cell.UseCount, 8);
      for (std::size_t slot = 1; slot <= words.size(); ++slot) EXPECT_EQ(cell.WordRefs[slot], words[slot - 1]);
      if (cell.IsEmpty()) {
        ++empty;
        EXPECT_EQ(cell.UseCount, 0);
      }
      if (cell.UseCount > 1) crossings += cell.UseCount - 1;
    }
  }
  EXPECT_EQ(s.InsertedCount, placed);
  EXPECT_EQ(s.RejectedCount, rejected);
  EXPECT_EQ(s.JunctionCount, crossings);
  EXPECT_EQ(s.SpacesRemaining, empty);
  EXPECT_EQ(s.LettersRemaining, letters_left);
  for (int d = 1; d <= kDirectionCount; ++d) EXPECT_EQ(s.DirectionWordCount[static_cast<std::size_t>(d)], by_direction[static_cast<std::size_t>(d)]);

  Form& main = ctx.MainForm();
  EXPECT_EQ(main.Text(kInsertedLabel), FormatPicture(placed, kCountPicture));
  EXPECT_EQ(main.Text(kJunctionsLabel), FormatPicture(crossings, kJunctionPicture));
  EXPECT_EQ(main.Text(kSpacesRemainingLabel), FormatPicture(empty, kCountPicture));
  EXPECT_EQ(main.Text(kLettersRemainingLabel), FormatPicture(letters_left, kCountPicture));
  if (rejected > 0) {
    EXPECT_EQ(main.Text(kRejectedLabel), FormatPicture(rejected, kCountPicture));
  }
  for (int d = 1; d <= kDirectionCount; ++d) {
    if (by_direction[static_cast<std::size_t>(d)] > 0) {
      EXPECT_EQ(main.Text(DirectionLabel(d - 1)), FormatPicture(by_direction[static_cast<std::size_t>(d)], kCountPicture));
    }
  }
}

}  // namespace kivrel::testing
