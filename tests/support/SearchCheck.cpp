#include "SearchCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <sstream>
#include <vector>

#include "engine/BuildProgress.h"
#include "engine/LineScanner.h"
#include "engine/Placement.h"
#include "model/PuzzleState.h"
#include "model/Random.h"
#include "model/Text.h"
#include "model/WordList.h"
#include "program/WordTable.h"

namespace kivrel::testing {
namespace {

struct Place {
  int row = 0;
  int col = 0;
  int direction = 0;
  int crossings = 0;
  int use_sum = 0;
  bool operator==(const Place&) const = default;
};

struct Line {
  int row = 0;
  int col = 0;
  int length = 0;
};

// The lines of direction d that can hold a word of `length` letters, in the order a
// search takes them: rows from the top, columns from the left, the down-right diagonals
// by column - row and the up-right ones by row + column, each from its first cell in d.
std::vector<Line> LinesOf(int d, int width, int height, int length) {
  const int row_step = kRowSteps[static_cast<std::size_t>(d)];
  const int col_step = kColSteps[static_cast<std::size_t>(d)];
  auto inside = [&](int row, int col) { return row >= 1 && row <= height && col >= 1 && col <= width; };
  auto order = [&](const Line& line) {
    return d <= 2 ? line.row : d <= 4 ? line.col : d <= 6 ? line.col - line.row : line.row + line.col;
  };
  std::vector<Line> lines;
  for (int row = 1; row <= height; ++row) {
    for (int col = 1; col <= width; ++col) {
      if (inside(row - row_step, col - col_step)) continue;  // not the first cell of its line
      Line line{row, col, 0};
      while (inside(row + line.length * row_step, col + line.length * col_step)) ++line.length;
      if (line.length >= length) lines.push_back(line);
    }
  }
  std::stable_sort(lines.begin(), lines.end(), [&](const Line& a, const Line& b) { return order(a) < order(b); });
  return lines;
}

struct PlainResult {
  Place best;
  long long lines = 0;  // lines that could hold the word: one yield each
};

// The search the scanner stands for, offset by offset. A cell that already carries
// eight words matches no letter.
PlainResult PlainSearch(const PuzzleState& s, Random& rng) {
  // The word's letters as numbers: each its first position in the word.
  const std::u32string letters = Characters(s.CurrentWord);
  const int length = static_cast<int>(letters.size());
  std::vector<int> word(letters.size());
  for (std::size_t i = 0; i < letters.size(); ++i) word[i] = static_cast<int>(letters.find(letters[i]));
  constexpr int kEmpty = -1;
  constexpr int kNoMatch = -2;  // another letter, or a full cell

  PlainResult result;
  Place& best = result.best;
  best.use_sum = s.BestUseSum;
  const int count = s.DirectionCount;
  int k = rng.Below(count) + 1;
  const int step = rng.Next() < 0.5f ? -1 : 1;
  std::vector<int> code;
  std::vector<int> use;
  for (int turn = 0; turn < count; ++turn, k = (k + step + count - 1) % count + 1) {
    const int d = s.BuildDirection(k);
    const int row_step = kRowSteps[static_cast<std::size_t>(d)];
    const int col_step = kColSteps[static_cast<std::size_t>(d)];
    for (const Line& line : LinesOf(d, s.PuzzleWidth, s.PuzzleHeight, length)) {
      ++result.lines;
      bool empty = true;
      code.assign(static_cast<std::size_t>(line.length), kEmpty);
      use.assign(static_cast<std::size_t>(line.length), 0);
      for (std::size_t i = 0; i < code.size(); ++i) {
        const CellRecord& cell =
            s.Grid.At(line.row + static_cast<int>(i) * row_step, line.col + static_cast<int>(i) * col_step);
        if (cell.IsEmpty()) continue;
        empty = false;
        const std::size_t letter = letters.find(Characters(cell.Letter).front());
        code[i] = letter == std::u32string::npos || cell.UseCount >= 8 ? kNoMatch : static_cast<int>(letter);
        use[i] = cell.UseCount;
      }
      auto record = [&](int offset) {
        best.row = line.row + offset * row_step;
        best.col = line.col + offset * col_step;
        best.direction = d;
      };
      if (empty) {
        if (best.direction == 0) record(rng.Below(line.length - length + 1));
        continue;
      }
      for (int offset = 0; offset + length <= line.length; ++offset) {
        bool fits = true;
        int crossings = 0;
        int use_sum = 0;
        for (int i = 0; i < length && fits; ++i) {
          const int at = code[static_cast<std::size_t>(offset + i)];
          if (at == kEmpty) continue;
          fits = at == word[static_cast<std::size_t>(i)];
          crossings += 1;
          use_sum += use[static_cast<std::size_t>(offset + i)];
        }
        if (!fits) continue;
        bool take =
            best.direction == 0 ||
            (crossings > 0 && (crossings > best.crossings || (crossings == best.crossings && use_sum > best.use_sum)));
        if (!take && crossings > 0 && crossings == best.crossings) {
          const float r = rng.Next();
          take = (r > 0.5f && s.BalanceDirections != 1 && use_sum == best.use_sum) ||
                 (s.BalanceDirections == 1 && s.DirectionWordCount[static_cast<std::size_t>(d)] <
                                                  s.DirectionWordCount[static_cast<std::size_t>(best.direction)]);
        }
        if (take) {
          record(offset);
          best.crossings = crossings;
          best.use_sum = use_sum;
        }
      }
    }
  }
  return result;
}

class CountingProgress : public BuildProgress {
 public:
  CountingProgress(PuzzleState& state, bool yields, int at_once, long long cancel_at)
      : state_(state), yields_(yields), at_once_(at_once), cancel_at_(cancel_at) {}
  bool Yields() const override { return yields_; }
  int YieldsAtOnce() const override { return at_once_; }
  void Yield(int steps) override {
    steps_ += steps;
    if (cancel_at_ > 0 && steps_ >= cancel_at_) state_.CancelRequested = kTrue;
  }
  long long Steps() const { return steps_; }

 private:
  PuzzleState& state_;
  bool yields_;
  int at_once_;
  long long cancel_at_;
  long long steps_ = 0;
};

// The case the bytes describe.
struct Case {
  int width = 1;
  int height = 1;
  i16 diagonals = 0;
  i16 backwards = 0;
  i16 balance = 0;
  bool two_attempts = false;
  bool second_build = false;
  LineScanner::Code code = LineScanner::Code::Plain;
  bool yields = false;
  int at_once = 1;
  long long cancel_at = 0;
  std::uint64_t seed = 0;
  std::vector<std::string> words;
};

Case ReadCase(std::string_view bytes) {
  std::size_t at = 0;
  auto next = [&]() -> unsigned { return at < bytes.size() ? static_cast<unsigned char>(bytes[at++]) : 0u; };
  Case c;
  // Up to 140 cells a side: lines of up to 64 cells, of 65 to 128, and longer.
  c.width = 1 + static_cast<int>(next() % 140);
  c.height = 1 + static_cast<int>(next() % 140);
  const unsigned options = next();
  c.diagonals = static_cast<i16>(options & 1);
  c.backwards = static_cast<i16>(options >> 1 & 1);
  c.balance = static_cast<i16>(std::min(static_cast<int>(options >> 2 & 3), 2) - 1);  // -1, 0, 1
  c.two_attempts = (options & 0x10) != 0;
  c.second_build = (options & 0x20) != 0;
  const std::vector<LineScanner::Code> codes = LineScanner::Runnable();
  c.code = codes[(options >> 6) % codes.size()];
  const unsigned yields = next();
  c.yields = (yields & 3) != 0;
  c.at_once = std::array{1, 1, 3, 64}[yields & 3];
  if (yields >= 0xC0) c.cancel_at = 1 + (yields & 0x3F) * 13;
  for (int i = 0; i < 8; ++i) c.seed = c.seed << 8 | next();
  // Words of at most the shorter side, so that the first one fits in every direction,
  // as many as keep the plain search to some three million letter tests: it tries every
  // letter of a word at every cell in every direction.
  static constexpr std::array<const char*, 7> kAlphabet{"A", "B", "C", "É", "A", "Ñ", "D"};
  const std::size_t longest = static_cast<std::size_t>(Min(c.width, c.height));
  std::string word;
  const std::size_t per_letter = 8 * static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height);
  std::size_t letters = 0;
  std::size_t total = 0;
  auto end_word = [&] {
    if (letters > 0 && c.words.size() < 400 && (total + letters) * per_letter <= 3'000'000) {
      c.words.push_back(word);
      total += letters;
    }
    word.clear();
    letters = 0;
  };
  while (at < bytes.size()) {
    const unsigned b = next();
    if (b >= 0xE0) {
      end_word();
    } else if (letters < longest) {
      word += kAlphabet[b % kAlphabet.size()];
      ++letters;
    }
  }
  end_word();
  return c;
}

class Checker {
 public:
  explicit Checker(const Case& c) : c_(c), rng_(c.seed) { scanner_.SearchWith(c.code); }

  // One build of the words: the scanner and the plain search take every word in turn.
  // False when it ended (a difference, or Cancel).
  bool Build(const std::vector<std::string>& words, int attempts) {
    PuzzleState s;
    s.FillDirectionTable();
    WordList list;
    for (const std::string& word : words) list.AddItem(word);
    s.WordCount = static_cast<i16>(list.ListCount());
    s.PuzzleWidth = static_cast<i16>(c_.width);
    s.PuzzleHeight = static_cast<i16>(c_.height);
    s.SetDefaultBuildOptions();
    s.IncludeDiagonals = c_.diagonals;
    s.BackwardsWords = c_.backwards;
    s.BalanceDirections = c_.balance;
    FillWordTable(s, list);
    s.SetBuildDirections();
    if (s.WordsUpperBound() < 1) return true;
    // Longest first, ties in list order.
    std::vector<int> order(static_cast<std::size_t>(s.WordsUpperBound()));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return s.Words[static_cast<std::size_t>(a)].Length > s.Words[static_cast<std::size_t>(b)].Length;
    });
    CountingProgress progress(s, c_.yields, c_.at_once, c_.cancel_at);
    BuildPause pause(s, progress);
    scanner_.StartBuild(s);
    long long lines = 0;  // the yields the searches owe
    for (int attempt = 1; attempt <= attempts; ++attempt) {
      s.Grid.Create(s.PuzzleHeight, s.PuzzleWidth);
      s.ResetCounts();
      s.DirectionWordCount.fill(0);
      s.JunctionCount = s.InsertedCount = s.RejectedCount = s.BestCrossings = 0;
      scanner_.StartAttempt();
      for (std::size_t position = 0; position < order.size(); ++position) {
        const WordRecord& word = s.Words[static_cast<std::size_t>(order[position])];
        s.CurrentWordIndex = static_cast<i16>(order[position]);
        s.CurrentWord = word.Text;
        s.CurrentWordLength = word.Length;
        if (position == 0) {
          s.CurrentDirection = static_cast<i16>(s.BuildDirection(rng_.Below(s.DirectionCount) + 1));
          PlaceFirstWord(s, rng_);
        } else {
          Random plain_rng = rng_;
          const PlainResult plain = PlainSearch(s, plain_rng);
          lines += plain.lines;
          const bool going_on = scanner_.Search(s, rng_, pause);
          if (s.CancelRequested != 0 || !going_on) {
            if (going_on || s.CancelRequested == 0)
              Fail(s, "Search " + std::string(going_on ? "went on after Cancel" : "stopped without Cancel"));
            return false;
          }
          const Place found{s.BestRow, s.BestCol, s.BestDirection, s.BestCrossings, s.BestUseSum};
          if (found != plain.best)
            return Fail(s, "the places differ: " + Describe(found) + " against " + Describe(plain.best));
          if (!SameDraws(rng_, plain_rng)) return Fail(s, "the draws differ");
          const long long owed = lines - progress.Steps();
          if (c_.yields && (owed < 0 || owed >= c_.at_once))
            return Fail(s, std::to_string(progress.Steps()) + " yields for " + std::to_string(lines) + " lines");
          if (found.direction == 0) continue;
        }
        InsertWord(s);
        scanner_.WordInserted(s);
      }
    }
    return true;
  }

  const std::string& Failure() const { return failure_; }

 private:
  static bool SameDraws(Random a, Random b) {
    for (int i = 0; i < 2; ++i)
      if (a.Next() != b.Next()) return false;
    return true;
  }
  static std::string Describe(const Place& p) {
    std::ostringstream out;
    out << "(" << p.row << ", " << p.col << ") direction " << p.direction << ", " << p.crossings << " crossings, use "
        << p.use_sum;
    return out.str();
  }
  bool Fail(const PuzzleState& s, const std::string& what) {
    std::ostringstream out;
    out << c_.width << " x " << c_.height << ", search " << static_cast<int>(c_.code) << ", word " << s.CurrentWordIndex
        << " " << s.CurrentWord << ": " << what;
    failure_ = out.str();
    return false;
  }

  const Case& c_;
  Random rng_;
  LineScanner scanner_;
  std::string failure_;
};

}  // namespace

std::string CheckSearches(std::string_view bytes) {
  const Case c = ReadCase(bytes);
  Checker checker(c);
  // A second build of the same size keeps the scanner's lines: the words in the other order.
  if (checker.Build(c.words, c.two_attempts ? 2 : 1) && c.second_build)
    checker.Build(std::vector<std::string>(c.words.rbegin(), c.words.rend()), 1);
  return checker.Failure();
}

}  // namespace kivrel::testing
