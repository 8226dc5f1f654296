#include "BuildHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

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

std::string BuildDigest(const PuzzleState& s, Random rng) {
  std::ostringstream text;
  text << GridText(s);
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& w = s.Words[static_cast<std::size_t>(i)];
    text << w.Status << ' ' << w.StartRow << ' ' << w.StartCol << ' ' << w.Direction << '\n';
  }
  for (int d = 1; d <= kDirectionCount; ++d) text << s.DirectionWordCount[static_cast<std::size_t>(d)] << ' ';
  text << s.InsertedCount << ' ' << s.RejectedCount << ' ' << s.JunctionCount << ' ' << rng.Next();
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const char byte : text.str()) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
  char digest[20];
  std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(hash));
  return digest;
}

void ExpectConsistent(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  auto at = [](int i) { return static_cast<std::size_t>(i); };
  std::map<std::pair<int, int>, std::vector<int>> through;  // in the order the words were placed
  int placed = 0, rejected = 0, letters_left = 0, crossings = 0, empty = 0;
  std::array<i16, 9> by_direction{};
  for (std::size_t position = 1; position < s.BuildOrder.size(); ++position) {
    const int index = s.BuildOrder[position];
    const WordRecord& word = s.Words[at(index)];
    rejected += index > 0 && word.Status == kStatusRejected;
    letters_left += index > 0 && word.Status != kStatusPlaced && word.Status != kStatusRejected ? word.Length : 0;
    if (index == 0 || word.Status != kStatusPlaced) continue;
    ++placed;
    ++by_direction[at(word.Direction)];
    for (int k = 0; k < word.Length; ++k) {
      const int row = word.StartRow + k * s.RowStep[at(word.Direction)];
      const int col = word.StartCol + k * s.ColStep[at(word.Direction)];
      ASSERT_TRUE(s.Grid.Contains(row, col)) << word.Text << " leaves the grid";
      EXPECT_EQ(s.Grid.At(row, col).Letter, CharAt(word.Text, at(k + 1))) << word.Text << "\n" << GridText(s);
      through[{row, col}].push_back(index);
    }
  }
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      const std::vector<int>& words = through[{row, col}];
      ASSERT_EQ(cell.UseCount, static_cast<int>(words.size())) << "cell " << row << "," << col;
      for (std::size_t slot = 1; slot <= words.size(); ++slot) EXPECT_EQ(cell.WordRefs[slot], words[slot - 1]);
      empty += cell.IsEmpty();
      crossings += std::max(cell.UseCount - 1, 0);
    }
  }
  EXPECT_EQ(std::tie(s.InsertedCount, s.RejectedCount, s.JunctionCount, s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(placed, rejected, crossings, empty, letters_left));
  EXPECT_EQ(s.DirectionWordCount, by_direction);

  // The statistics panel shows the same counts (the rejected count once it is not 0).
  const Form& main = ctx.MainForm();
  EXPECT_EQ(main.Text(frmKV_Puzzle::lblInsertedCount) + "/" + main.Text(frmKV_Puzzle::lblSpacesRemaining) + "/" +
                main.Text(frmKV_Puzzle::lblMatches) + "/" + main.Text(frmKV_Puzzle::lblDirection[0]),
            FormatPicture(placed, kCountPicture) + "/" + FormatPicture(empty, kCountPicture) + "/" +
                FormatPicture(crossings, kJunctionPicture) + "/" + FormatPicture(by_direction[1], kCountPicture));
  EXPECT_TRUE(rejected == 0 || main.Text(frmKV_Puzzle::lblRejectedCount) == std::to_string(rejected));
}

}  // namespace kivrel::testing
