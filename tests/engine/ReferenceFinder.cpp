#include "ReferenceFinder.h"

#include <string>

#include "model/Numbers.h"
#include "model/Text.h"

namespace kivrel::testing {

std::vector<LineSpan> TableLines(int d, int w, int h, int l) {
  std::vector<LineSpan> lines;
  int row = 0, col = 0, length = 0, count = 0;
  switch (d) {
    case 1:
      row = 1;
      col = 1;
      length = w;
      count = h;
      break;
    case 2:
      row = 1;
      col = w;
      length = w;
      count = h;
      break;
    case 3:
      row = 1;
      col = 1;
      length = h;
      count = w;
      break;
    case 4:
      row = h;
      col = 1;
      length = h;
      count = w;
      break;
    case 5:
      row = h - l + 1;
      col = 1;
      length = l;
      count = w + h - 2 * l + 1;
      break;
    case 6:
      row = h;
      col = l;
      length = l;
      count = w + h - 2 * l + 1;
      break;
    case 7:
      row = l;
      col = 1;
      length = l;
      count = w + h - 2 * l + 1;
      break;
    case 8:
      row = 1;
      col = l;
      length = l;
      count = w + h - 2 * l + 1;
      break;
  }
  for (int i = 0; i < count; ++i) {
    lines.push_back({row, col, length});
    switch (d) {
      case 1:
      case 2:
        row += 1;
        break;
      case 3:
      case 4:
        col += 1;
        break;
      case 5:
        if (row < 2) {
          col += 1;
          length = Min(w - col + 1, h);
        } else {
          row -= 1;
          length = Min(h - row + 1, w);
        }
        break;
      case 6:
        if (col >= w) {
          row -= 1;
          length = Min(row, w);
        } else {
          col += 1;
          length = Min(col, h);
        }
        break;
      case 7:
        if (row >= h) {
          col += 1;
          length = Min(w - col + 1, h);
        } else {
          row += 1;
          length = Min(row, w);
        }
        break;
      case 8:
        if (col >= w) {
          row += 1;
          length = Min(h - row + 1, w);
        } else {
          col += 1;
          length = Min(col, h);
        }
        break;
    }
  }
  return lines;
}

bool ReferenceFinder::Search(PuzzleState& s, Random& rng, BuildPause& pause) {
  const WordRecord& word = s.Words[static_cast<std::size_t>(s.CurrentWordIndex)];
  const int l = word.Length;
  std::vector<std::string> letters;
  for (int i = 1; i <= l; ++i) letters.push_back(CharAt(word.Text, static_cast<std::size_t>(i)));

  int turn = Int(rng.Next() * static_cast<double>(s.DirectionCount)) + 1;
  const int step = rng.Next() < 0.5f ? -1 : 1;
  s.BestRow = s.BestCol = s.BestDirection = s.BestCrossings = 0;
  int best_use_sum = s.BestUseSum;

  for (int k = 1; k <= s.DirectionCount; ++k) {
    const int d = s.BuildDirection(turn);
    s.CurrentDirection = static_cast<i16>(d);
    for (const LineSpan& line : TableLines(d, s.PuzzleWidth, s.PuzzleHeight, l)) {
      std::vector<std::string> line_letters(static_cast<std::size_t>(line.Length), " ");
      std::vector<int> line_use(static_cast<std::size_t>(line.Length) + 1, 0);
      bool all_spaces = true;
      for (int p = 1; p <= line.Length; ++p) {
        const CellRecord& cell = s.Grid.At(line.Row + (p - 1) * s.RowStep[d], line.Col + (p - 1) * s.ColStep[d]);
        if (!cell.IsEmpty()) {
          line_letters[static_cast<std::size_t>(p - 1)] = cell.Letter;
          all_spaces = false;
        }
        line_use[static_cast<std::size_t>(p)] = cell.UseCount;
      }
      auto record = [&](int o) {
        s.BestCol = static_cast<i16>(line.Col + (o - 1) * s.ColStep[d]);
        s.BestRow = static_cast<i16>(line.Row + (o - 1) * s.RowStep[d]);
        s.BestDirection = static_cast<i16>(d);
      };
      if (all_spaces) {
        if (s.BestDirection == 0) record(Int(rng.Next() * static_cast<double>(line.Length - l + 1)) + 1);
      } else {
        for (int o = 1; o + l - 1 <= line.Length; ++o) {
          bool fit = true;
          int crossings = 0;
          int use_sum = 0;
          for (int i = 1; i <= l && fit; ++i) {
            const std::size_t p = static_cast<std::size_t>(o + i - 1);
            const std::string& there = line_letters[p - 1];
            if (there == " ") continue;
            if (there == letters[static_cast<std::size_t>(i - 1)] && line_use[p] < 8) {
              ++crossings;
              use_sum += line_use[p];
            } else {
              fit = false;
            }
          }
          if (!fit) continue;
          bool take = false;
          if (s.BestDirection == 0) {
            take = true;
          } else if (crossings > 0) {
            if (crossings > s.BestCrossings) {
              take = true;
            } else if (crossings == s.BestCrossings) {
              if (use_sum > best_use_sum) {
                take = true;
              } else {
                const float r = rng.Next();
                take =
                    (r > 0.5f && s.BalanceDirections != 1 && use_sum == best_use_sum) ||
                    (s.BalanceDirections == 1 && s.DirectionWordCount[static_cast<std::size_t>(d)] <
                                                     s.DirectionWordCount[static_cast<std::size_t>(s.BestDirection)]);
              }
            }
          }
          if (take) {
            s.BestCrossings = static_cast<i16>(crossings);
            best_use_sum = use_sum;
            record(o);
          }
        }
      }
      if (!pause.Yield()) return false;
    }
    turn += step;
    if (turn > s.DirectionCount) turn = 1;
    if (turn < 1) turn = s.DirectionCount;
  }
  s.BestUseSum = static_cast<i16>(Min(best_use_sum, 32767));
  if (s.BestDirection != 0) {
    s.CurrentCol = s.BestCol;
    s.CurrentRow = s.BestRow;
    s.CurrentDirection = s.BestDirection;
  }
  return true;
}

}  // namespace kivrel::testing
