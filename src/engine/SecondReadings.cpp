#include "engine/SecondReadings.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "model/Text.h"

namespace kivrel {

namespace {

using CellSet = std::vector<int>;  // cell indices, sorted

struct Target {
  std::string Word;
  std::u32string Chars;
  std::set<CellSet> Placements;  // where the word was placed: these readings are its own
};

}  // namespace

std::vector<SecondReading> FindSecondReadings(const PuzzleState& s, const std::vector<std::string>& avoid) {
  const LetterGrid& grid = s.Grid;
  const int height = grid.Height();
  const int width = grid.Width();
  auto index = [width](int row, int col) { return (row - 1) * width + (col - 1); };

  // The grid as characters; an empty cell matches nothing.
  std::vector<char32_t> letters(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  for (int row = 1; row <= height; ++row) {
    for (int col = 1; col <= width; ++col) {
      const CellRecord& cell = grid.At(row, col);
      if (cell.IsEmpty()) continue;
      std::size_t pos = 0;
      letters[static_cast<std::size_t>(index(row, col))] = DecodeUtf8(cell.Letter, pos);
    }
  }

  // One target per distinct text, with the placements of every record that holds it.
  std::vector<Target> targets;
  std::map<std::string, std::size_t> by_text;
  auto target_for = [&](const std::string& word) -> Target& {
    auto [it, added] = by_text.try_emplace(word, targets.size());
    if (added) targets.push_back(Target{word, Characters(word), {}});
    return targets[it->second];
  };
  for (std::size_t k = 1; k < s.Words.size(); ++k) {
    const WordRecord& w = s.Words[k];
    if (w.Status != kStatusPlaced || w.Text.empty() || w.Direction < 1 || w.Direction > kDirectionCount) continue;
    Target& target = target_for(w.Text);
    CellSet cells;
    const int n = static_cast<int>(target.Chars.size());
    for (int i = 0; i < n; ++i) {
      const int row = w.StartRow + i * kRowSteps[static_cast<std::size_t>(w.Direction)];
      const int col = w.StartCol + i * kColSteps[static_cast<std::size_t>(w.Direction)];
      if (grid.Contains(row, col)) cells.push_back(index(row, col));
    }
    std::sort(cells.begin(), cells.end());
    target.Placements.insert(std::move(cells));
  }
  for (const std::string& word : avoid) {
    if (!word.empty()) target_for(word);
  }

  // The targets by their first character, so each cell tries only the words it can start.
  std::unordered_map<char32_t, std::vector<std::size_t>> starting_with;
  for (std::size_t t = 0; t < targets.size(); ++t) starting_with[targets[t].Chars[0]].push_back(t);

  std::vector<SecondReading> found;
  std::set<std::pair<std::size_t, CellSet>> seen;  // a reading and its reverse are one
  for (int row = 1; row <= height; ++row) {
    for (int col = 1; col <= width; ++col) {
      const char32_t first = letters[static_cast<std::size_t>(index(row, col))];
      if (first == 0) continue;
      auto bucket = starting_with.find(first);
      if (bucket == starting_with.end()) continue;
      for (std::size_t t : bucket->second) {
        const Target& target = targets[t];
        const int n = static_cast<int>(target.Chars.size());
        // A one-letter word reads the same in every direction.
        const int directions = n == 1 ? 1 : kDirectionCount;
        for (int d = 1; d <= directions; ++d) {
          const int dr = kRowSteps[static_cast<std::size_t>(d)];
          const int dc = kColSteps[static_cast<std::size_t>(d)];
          if (!grid.Contains(row + (n - 1) * dr, col + (n - 1) * dc)) continue;
          auto letter_at = [&](int i) { return letters[static_cast<std::size_t>(index(row + i * dr, col + i * dc))]; };
          int i = 1;
          while (i < n && letter_at(i) == target.Chars[static_cast<std::size_t>(i)]) ++i;
          if (i < n) continue;
          CellSet cells;
          for (i = 0; i < n; ++i) cells.push_back(index(row + i * dr, col + i * dc));
          CellSet sorted = cells;
          std::sort(sorted.begin(), sorted.end());
          if (target.Placements.count(sorted) != 0) continue;
          if (!seen.insert({t, std::move(sorted)}).second) continue;
          SecondReading reading{target.Word, {}};
          for (int cell : cells) reading.Cells.emplace_back(cell / width + 1, cell % width + 1);
          found.push_back(std::move(reading));
        }
      }
    }
  }
  return found;
}

}  // namespace kivrel
