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

// The search over one grid: its letters by cell index, (row - 1) x width + column - 1.
class Readings {
 public:
  explicit Readings(const LetterGrid& grid);

  /// One target per distinct text, with the placements of every record that holds it,
  /// then the avoided words that are not placed words.
  void AddTargets(const PuzzleState& state, const std::vector<std::string>& avoid);
  /// Every reading of a target that is not one of its placements, cell by cell in
  /// reading order.
  std::vector<SecondReading> Find();

 private:
  int Index(int row, int col) const { return (row - 1) * width_ + (col - 1); }
  Target& TargetFor(const std::string& word);
  CellSet PlacedCells(const WordRecord& word, int length) const;
  // The readings of target t that start at (row, col), in direction order.
  void FindFrom(int row, int col, std::size_t t, std::vector<SecondReading>& found);

  const LetterGrid& grid_;
  int height_;
  int width_;
  std::vector<char32_t> letters_;  // 0 for an empty cell: it matches nothing
  std::vector<Target> targets_;
  std::map<std::string, std::size_t> by_text_;
  std::set<std::pair<std::size_t, CellSet>> seen_;  // a reading and its reverse are one
};

Readings::Readings(const LetterGrid& grid)
    : grid_(grid),
      height_(grid.Height()),
      width_(grid.Width()),
      letters_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {
  for (int row = 1; row <= height_; ++row) {
    for (int col = 1; col <= width_; ++col) {
      const CellRecord& cell = grid.At(row, col);
      if (cell.IsEmpty()) continue;
      std::size_t pos = 0;
      letters_[static_cast<std::size_t>(Index(row, col))] = DecodeUtf8(cell.Letter, pos);
    }
  }
}

Target& Readings::TargetFor(const std::string& word) {
  auto [it, added] = by_text_.try_emplace(word, targets_.size());
  if (added) targets_.push_back(Target{word, Characters(word), {}});
  return targets_[it->second];
}

CellSet Readings::PlacedCells(const WordRecord& w, int length) const {
  CellSet cells;
  for (int i = 0; i < length; ++i) {
    const int row = w.StartRow + i * kRowSteps[static_cast<std::size_t>(w.Direction)];
    const int col = w.StartCol + i * kColSteps[static_cast<std::size_t>(w.Direction)];
    if (grid_.Contains(row, col)) cells.push_back(Index(row, col));
  }
  std::sort(cells.begin(), cells.end());
  return cells;
}

void Readings::AddTargets(const PuzzleState& s, const std::vector<std::string>& avoid) {
  for (std::size_t k = 1; k < s.Words.size(); ++k) {
    const WordRecord& w = s.Words[k];
    if (w.Status != kStatusPlaced || w.Text.empty() || w.Direction < 1 || w.Direction > kDirectionCount) continue;
    Target& target = TargetFor(w.Text);
    target.Placements.insert(PlacedCells(w, static_cast<int>(target.Chars.size())));
  }
  for (const std::string& word : avoid) {
    if (!word.empty()) TargetFor(word);
  }
}

std::vector<SecondReading> Readings::Find() {
  // The targets by their first character, so each cell tries only the words it can start.
  std::unordered_map<char32_t, std::vector<std::size_t>> starting_with;
  for (std::size_t t = 0; t < targets_.size(); ++t) starting_with[targets_[t].Chars[0]].push_back(t);
  std::vector<SecondReading> found;
  for (int row = 1; row <= height_; ++row) {
    for (int col = 1; col <= width_; ++col) {
      const char32_t first = letters_[static_cast<std::size_t>(Index(row, col))];
      if (first == 0) continue;
      auto bucket = starting_with.find(first);
      if (bucket == starting_with.end()) continue;
      for (std::size_t t : bucket->second) FindFrom(row, col, t, found);
    }
  }
  return found;
}

void Readings::FindFrom(int row, int col, std::size_t t, std::vector<SecondReading>& found) {
  const Target& target = targets_[t];
  const int n = static_cast<int>(target.Chars.size());
  // A one-letter word reads the same in every direction.
  const int directions = n == 1 ? 1 : kDirectionCount;
  for (int d = 1; d <= directions; ++d) {
    const int dr = kRowSteps[static_cast<std::size_t>(d)];
    const int dc = kColSteps[static_cast<std::size_t>(d)];
    if (!grid_.Contains(row + (n - 1) * dr, col + (n - 1) * dc)) continue;
    auto letter_at = [&](int i) { return letters_[static_cast<std::size_t>(Index(row + i * dr, col + i * dc))]; };
    int i = 1;
    while (i < n && letter_at(i) == target.Chars[static_cast<std::size_t>(i)]) ++i;
    if (i < n) continue;
    CellSet cells;
    for (i = 0; i < n; ++i) cells.push_back(Index(row + i * dr, col + i * dc));
    CellSet sorted = cells;
    std::sort(sorted.begin(), sorted.end());
    if (target.Placements.count(sorted) != 0) continue;
    if (!seen_.insert({t, std::move(sorted)}).second) continue;
    SecondReading reading{target.Word, {}};
    for (int cell : cells) reading.Cells.emplace_back(cell / width_ + 1, cell % width_ + 1);
    found.push_back(std::move(reading));
  }
}

}  // namespace

std::vector<SecondReading> FindSecondReadings(const PuzzleState& s, const std::vector<std::string>& avoid) {
  Readings readings(s.Grid);
  readings.AddTargets(s, avoid);
  return readings.Find();
}

}  // namespace kivrel
