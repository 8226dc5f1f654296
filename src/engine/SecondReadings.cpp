#include "engine/SecondReadings.h"

#include <algorithm>
#include <deque>
#include <tuple>

#include "model/Text.h"

namespace kivrel {

namespace {

// A target and the first and last cell of one of its placements, as one key.
std::uint64_t PlacementKey(int target, int first, int last) {
  if (first > last) std::swap(first, last);
  return static_cast<std::uint64_t>(target) << 40 | static_cast<std::uint64_t>(first) << 20 |
         static_cast<std::uint64_t>(last);
}

}  // namespace

SecondReadingFinder::SecondReadingFinder(const PuzzleState& s, const std::vector<std::string>& avoid) : grid_(s.Grid) {
  for (std::size_t k = 1; k < s.Words.size(); ++k) {
    const WordRecord& w = s.Words[k];
    if (w.Status != kStatusPlaced || w.Text.empty() || w.Direction < 1 || w.Direction > kDirectionCount) continue;
    const int target = TargetFor(w.Text);
    // Only a placement whose cells are all in the grid can be the cells of a reading.
    const int last = static_cast<int>(characters_[static_cast<std::size_t>(target)].size()) - 1;
    const int end_row = w.StartRow + last * kRowSteps[static_cast<std::size_t>(w.Direction)];
    const int end_col = w.StartCol + last * kColSteps[static_cast<std::size_t>(w.Direction)];
    if (!grid_.Contains(w.StartRow, w.StartCol) || !grid_.Contains(end_row, end_col)) continue;
    placements_.insert(PlacementKey(target, Index(w.StartRow, w.StartCol), Index(end_row, end_col)));
    placed_[static_cast<std::size_t>(target)] = true;
  }
  for (const std::string& word : avoid) {
    if (!word.empty()) TargetFor(word);
  }
  BuildAutomaton();
}

int SecondReadingFinder::TargetFor(const std::string& word) {
  auto [it, added] = by_text_.try_emplace(word, static_cast<int>(words_.size()));
  if (added) {
    words_.push_back(word);
    characters_.push_back(Characters(word));
    const std::u32string& chars = characters_.back();
    palindrome_.push_back(
        std::equal(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(chars.size() / 2), chars.rbegin()));
    placed_.push_back(false);
  }
  return it->second;
}

int SecondReadingFinder::Symbol(char32_t ch) const {
  auto it = std::lower_bound(alphabet_.begin(), alphabet_.end(), ch);
  return it != alphabet_.end() && *it == ch ? static_cast<int>(it - alphabet_.begin()) : -1;
}

void SecondReadingFinder::BuildAutomaton() {
  for (const std::u32string& chars : characters_) alphabet_.insert(alphabet_.end(), chars.begin(), chars.end());
  std::sort(alphabet_.begin(), alphabet_.end());
  alphabet_.erase(std::unique(alphabet_.begin(), alphabet_.end()), alphabet_.end());
  symbols_ = static_cast<int>(alphabet_.size());
  const auto k = static_cast<std::size_t>(symbols_);

  // The trie: a child of 0 means none (the root is nobody's child).
  next_.assign(k, 0);
  ends_.assign(1, -1);
  for (std::size_t t = 0; t < characters_.size(); ++t) {
    std::size_t node = 0;
    for (char32_t ch : characters_[t]) {
      const std::size_t move = node * k + static_cast<std::size_t>(Symbol(ch));
      if (next_[move] == 0) {
        next_[move] = static_cast<int>(ends_.size());
        ends_.push_back(-1);
        next_.resize(next_.size() + k, 0);
      }
      node = static_cast<std::size_t>(next_[move]);
    }
    ends_[node] = static_cast<int>(t);
  }

  // Breadth first, each node's failure link and the moves it lacks, taken from the
  // node its failure link names (already complete, being nearer the root).
  fail_.assign(ends_.size(), 0);
  more_.assign(ends_.size(), -1);
  std::deque<int> queue;
  for (std::size_t s = 0; s < k; ++s) {
    if (next_[s] != 0) queue.push_back(next_[s]);
  }
  while (!queue.empty()) {
    const auto node = static_cast<std::size_t>(queue.front());
    queue.pop_front();
    const auto fail = static_cast<std::size_t>(fail_[node]);
    for (std::size_t s = 0; s < k; ++s) {
      int& move = next_[node * k + s];
      if (move == 0) {
        move = next_[fail * k + s];
        continue;
      }
      const auto child = static_cast<std::size_t>(move);
      fail_[child] = next_[fail * k + s];
      const auto suffix = static_cast<std::size_t>(fail_[child]);
      more_[child] = ends_[suffix] >= 0 ? static_cast<int>(suffix) : more_[suffix];
      queue.push_back(move);
    }
  }
}

const std::vector<SecondReadingFinder::Reading>& SecondReadingFinder::Find() {
  found_.clear();
  const int width = grid_.Width();
  const int height = grid_.Height();
  cells_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1);
  for (int row = 1; row <= height; ++row) {
    for (int col = 1; col <= width; ++col) {
      const CellRecord& cell = grid_.At(row, col);
      if (cell.IsEmpty()) continue;  // an empty cell matches nothing
      std::size_t pos = 0;
      cells_[static_cast<std::size_t>(Index(row, col))] = Symbol(DecodeUtf8(cell.Letter, pos));
    }
  }
  const auto k = static_cast<std::size_t>(symbols_);
  for (int d = 1; d <= kDirectionCount; ++d) {
    const int dr = kRowSteps[static_cast<std::size_t>(d)];
    const int dc = kColSteps[static_cast<std::size_t>(d)];
    const int step = dr * width + dc;
    // Every line of this direction, from the cell with no cell before it.
    for (int row = 1; row <= height; ++row) {
      for (int col = 1; col <= width; ++col) {
        if (grid_.Contains(row - dr, col - dc)) continue;
        std::size_t node = 0;
        for (int r = row, c = col; grid_.Contains(r, c); r += dr, c += dc) {
          const int cell = Index(r, c);
          const int symbol = cells_[static_cast<std::size_t>(cell)];
          if (symbol < 0) {
            node = 0;
            continue;
          }
          node = static_cast<std::size_t>(next_[node * k + static_cast<std::size_t>(symbol)]);
          for (int at = ends_[node] >= 0 ? static_cast<int>(node) : more_[node]; at >= 0;
               at = more_[static_cast<std::size_t>(at)]) {
            Report(ends_[static_cast<std::size_t>(at)], cell, step, d);
          }
        }
      }
    }
  }
  return found_;
}

void SecondReadingFinder::Report(int target, int end, int step, int direction) {
  const auto t = static_cast<std::size_t>(target);
  const int length = static_cast<int>(characters_[t].size());
  // A one-letter word reads the same in every direction: once, as read rightwards.
  if (length == 1 && direction != 1) return;
  const int start = end - (length - 1) * step;
  // A palindrome reads the same from either end: once, from the end nearer the top left.
  if (length > 1 && palindrome_[t] && start > end) return;
  if (placed_[t] && placements_.count(PlacementKey(target, start, end)) != 0) return;
  found_.push_back({target, start, direction, length});
}

std::vector<SecondReading> FindSecondReadings(const PuzzleState& s, const std::vector<std::string>& avoid) {
  SecondReadingFinder finder(s, avoid);
  std::vector<SecondReadingFinder::Reading> found = finder.Find();
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return std::tie(a.Start, a.Target, a.Direction) < std::tie(b.Start, b.Target, b.Direction);
  });
  const int width = s.Grid.Width();
  std::vector<SecondReading> readings;
  for (const auto& reading : found) {
    SecondReading& r = readings.emplace_back(SecondReading{finder.Word(reading.Target), {}});
    const int row = reading.Start / width + 1;
    const int col = reading.Start % width + 1;
    for (int i = 0; i < reading.Length; ++i) {
      r.Cells.emplace_back(row + i * kRowSteps[static_cast<std::size_t>(reading.Direction)],
                           col + i * kColSteps[static_cast<std::size_t>(reading.Direction)]);
    }
  }
  return readings;
}

}  // namespace kivrel
