#include "BuildHelpers.h"

#include <gtest/gtest.h>

#include <map>

#include "model/Numbers.h"
#include "model/Text.h"
#include "program/StartUp.h"
#include "program/Statistics.h"

namespace kivrel::testing {

void SetUpPuzzle(TestApp& app, const std::vector<std::string>& words, int width, int height, std::uint64_t seed) {
  StartUp(app.ctx, seed);
  for (const std::string& word : words) app.ctx.list.AddItem(word);
  app.ctx.state.WordCount = static_cast<i16>(app.ctx.list.ListCount());
  app.ctx.state.PuzzleWidth = static_cast<i16>(width);
  app.ctx.state.PuzzleHeight = static_cast<i16>(height);
  app.ctx.state.SetDefaultBuildOptions();
  app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, true);
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
  auto at = [](int i) { return static_cast<std::size_t>(i); };
  // The words through each cell, in the order they were placed (BuildOrder).
  std::map<std::pair<int, int>, std::vector<int>> through;
  int placed = 0, rejected = 0, letters_left = 0, crossings = 0, empty = 0;
  std::array<int, 9> by_direction{};
  for (std::size_t position = 1; position < s.BuildOrder.size(); ++position) {
    const int index = s.BuildOrder[position];
    if (index == 0) continue;
    const WordRecord& word = s.Words[at(index)];
    if (word.Status == kStatusRejected) ++rejected;
    if (word.Status != kStatusPlaced && word.Status != kStatusRejected) letters_left += word.Length;
    if (word.Status != kStatusPlaced) continue;
    ++placed;
    ++by_direction[at(word.Direction)];
    for (int k = 1; k <= word.Length; ++k) {
      const int row = word.StartRow + (k - 1) * s.RowStep[at(word.Direction)];
      const int col = word.StartCol + (k - 1) * s.ColStep[at(word.Direction)];
      ASSERT_TRUE(s.Grid.Contains(row, col)) << word.Text << " leaves the grid";
      EXPECT_EQ(s.Grid.At(row, col).Letter, CharAt(word.Text, at(k))) << word.Text << " letter " << k << "\n"
                                                                      << GridText(s);
      through[{row, col}].push_back(index);
    }
  }
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      const std::vector<int>& words = through[{row, col}];
      ASSERT_EQ(cell.UseCount, static_cast<int>(words.size())) << "cell " << row << "," << col;
      ASSERT_LE(cell.UseCount, 8);
      for (std::size_t slot = 1; slot <= words.size(); ++slot) EXPECT_EQ(cell.WordRefs[slot], words[slot - 1]);
      if (cell.IsEmpty()) ++empty;
      if (cell.UseCount > 1) crossings += cell.UseCount - 1;
    }
  }
  EXPECT_EQ(std::tie(s.InsertedCount, s.RejectedCount, s.JunctionCount, s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(placed, rejected, crossings, empty, letters_left));
  for (int d = 1; d <= kDirectionCount; ++d) EXPECT_EQ(s.DirectionWordCount[at(d)], by_direction[at(d)]) << d;

  // The statistics panel shows the same counts (a rejected or direction count only once it is not 0).
  std::vector<std::tuple<Control, int, std::string_view>> shown = {
      {frmKV_Puzzle::lblInsertedCount, placed, kCountPicture},
      {frmKV_Puzzle::lblMatches, crossings, kJunctionPicture},
      {frmKV_Puzzle::lblSpacesRemaining, empty, kCountPicture},
      {frmKV_Puzzle::lblLettersRemaining, letters_left, kCountPicture}};
  if (rejected > 0) shown.emplace_back(frmKV_Puzzle::lblRejectedCount, rejected, kCountPicture);
  for (int d = 1; d <= kDirectionCount; ++d) {
    if (by_direction[at(d)] > 0) {
      shown.emplace_back(frmKV_Puzzle::lblDirection[d - 1], by_direction[at(d)], kCountPicture);
    }
  }
  for (const auto& [label, value, picture] : shown) {
    EXPECT_EQ(ctx.MainForm().Text(label), FormatPicture(value, picture)) << label;
  }
}

}  // namespace kivrel::testing
