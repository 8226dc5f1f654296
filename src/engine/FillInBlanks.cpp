#include "engine/FillInBlanks.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "engine/SecondReadings.h"
#include "model/Text.h"

namespace kivrel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool IsAtoZ(char32_t ch) { return ch >= U'A' && ch <= U'Z'; }

}  // namespace

FillAlphabet::FillAlphabet(const PuzzleState& s) {
  bool any_placed = false;
  for (std::size_t k = 1; k < s.Words.size(); ++k) any_placed = any_placed || s.Words[k].Status == kStatusPlaced;
  std::map<char32_t, long long> extra_counts;
  long long letters = 0;
  for (std::size_t k = 1; k < s.Words.size(); ++k) {
    const WordRecord& w = s.Words[k];
    if (any_placed && w.Status != kStatusPlaced) continue;
    for (char32_t ch : Characters(w.Text)) {
      ++letters;
      if (!IsAtoZ(ch)) ++extra_counts[ch];
    }
  }
  if (extra_counts.empty()) return;
  // Out of 26 x letters: each extra character 26 x its count, each of A-Z the letters
  // that are A-Z, so an extra is as frequent among the fill as among the placed letters.
  long long extras = 0;
  for (const auto& [ch, count] : extra_counts) extras += count;
  weights_.assign(26, letters - extras);
  for (const auto& [ch, count] : extra_counts) {
    extras_ += ch;
    weights_.push_back(26 * count);
  }
  total_ = 26 * letters;
}

bool FillAlphabet::Contains(char32_t ch) const { return IsAtoZ(ch) || extras_.find(ch) != std::u32string::npos; }

std::string FillAlphabet::Draw(Random& rng) const {
  if (weights_.empty()) return std::string(1, kAlphabet[rng.Below(26)]);
  long long k = rng.Below(static_cast<int>(total_));
  std::size_t i = 0;
  while (i + 1 < weights_.size() && k >= weights_[i]) k -= weights_[i++];
  if (i < 26) return std::string(1, kAlphabet[i]);
  std::string letter;
  AppendUtf8(letter, extras_[i - 26]);
  return letter;
}

std::vector<std::string> QuoteLetters(const PuzzleState& s) { return QuoteLetters(s, s.MysteryQuote); }

std::vector<std::string> QuoteLetters(const PuzzleState& s, std::string_view quote) {
  std::vector<std::string> letters;
  if (quote.empty()) return letters;
  const FillAlphabet alphabet(s);
  for (char32_t ch : Characters(quote)) {
    ch = UpperChar(ch);
    if (!alphabet.Contains(ch)) continue;
    letters.emplace_back();
    AppendUtf8(letters.back(), ch);
  }
  return letters;
}

std::vector<std::pair<int, int>> UnusedCells(const LetterGrid& grid) {
  std::vector<std::pair<int, int>> cells;
  for (int row = 1; row <= grid.Height(); ++row) {
    for (int col = 1; col <= grid.Width(); ++col) {
      if (grid.At(row, col).UseCount == 0) cells.emplace_back(row, col);
    }
  }
  return cells;
}

namespace {

// Re-draws the random letters of the cells in a second reading of a placed or avoided
// word until none is left; the words' letters and the quote's stay. Each round draws
// the cells of its readings in reading order, as a set of cells would give them.
void RedrawSecondReadings(PuzzleState& s, Random& rng, const FillAlphabet& alphabet, const FillOptions& options,
                          const std::vector<bool>& random_cell, FillReport& report) {
  SecondReadingFinder finder(s, options.Avoid);
  const int width = s.Grid.Width();
  std::vector<bool> offending(random_cell.size());
  std::vector<bool> redrawn(random_cell.size());
  // By target: read twice in letters the fill may not change (in any round), and read
  // twice where re-drawing can mend it (in this round).
  std::vector<bool> stuck(finder.Targets());
  std::vector<bool> uncleared(finder.Targets());
  auto words = [&finder](const std::vector<bool>& targets) {
    std::vector<std::string> named;
    for (std::size_t t = 0; t < targets.size(); ++t) {
      if (targets[t]) named.push_back(finder.Word(static_cast<int>(t)));
    }
    std::sort(named.begin(), named.end());
    return named;
  };
  for (int round = 0;; ++round) {
    std::fill(offending.begin(), offending.end(), false);
    std::fill(uncleared.begin(), uncleared.end(), false);
    bool any = false;
    for (const SecondReadingFinder::Reading& reading : finder.Find()) {
      const int step = kRowSteps[static_cast<std::size_t>(reading.Direction)] * width +
                       kColSteps[static_cast<std::size_t>(reading.Direction)];
      bool mendable = false;
      for (int i = 0, cell = reading.Start; i < reading.Length; ++i, cell += step) {
        if (!random_cell[static_cast<std::size_t>(cell)]) continue;
        offending[static_cast<std::size_t>(cell)] = true;
        mendable = true;
      }
      any = any || mendable;
      (mendable ? uncleared : stuck)[static_cast<std::size_t>(reading.Target)] = true;
    }
    if (!any) break;
    if (round == kMaxRedrawRounds || report.Stopped) {
      report.NotCleared = words(uncleared);
      break;
    }
    for (std::size_t cell = 0; cell < offending.size(); ++cell) {
      if (!offending[cell]) continue;
      s.Grid.At(static_cast<int>(cell) / width + 1, static_cast<int>(cell) % width + 1).Letter = alphabet.Draw(rng);
      if (!redrawn[cell]) ++report.Redrawn;
      redrawn[cell] = true;
    }
    // Stopped, the next search still names the words left readable twice.
    if (options.Progress && !options.Progress->RoundDone(report.Redrawn)) report.Stopped = true;
  }
  report.FoundTwice = words(stuck);
}

}  // namespace

FillReport ToggleFill(PuzzleState& s, Random& rng, const FillOptions& options) {
  FillReport report;
  const bool filling = s.BlanksFilled == 0;
  s.BlanksFilled = Flag(filling);
  // The grid's own bounds: they are what the cells are, whatever the size fields say.
  const std::vector<std::pair<int, int>> cells = UnusedCells(s.Grid);
  if (!filling) {
    for (auto [row, col] : cells) s.Grid.At(row, col).Letter = " ";
    return report;
  }

  // The quote's letters first, then one random letter per cell.
  const std::vector<std::string> quote = QuoteLetters(s);
  const std::size_t quoted = std::min(quote.size(), cells.size());
  report.QuoteLettersLeftOut = static_cast<int>(quote.size() - quoted);
  const FillAlphabet alphabet(s);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    s.Grid.At(cells[i].first, cells[i].second).Letter = i < quoted ? quote[i] : alphabet.Draw(rng);
  }
  report.QuoteWritten = quoted > 0;
  if (options.NoDuplicates) {
    std::vector<bool> random_cell(static_cast<std::size_t>(s.Grid.Width()) * static_cast<std::size_t>(s.Grid.Height()));
    for (std::size_t i = quoted; i < cells.size(); ++i) {
      random_cell[static_cast<std::size_t>((cells[i].first - 1) * s.Grid.Width() + cells[i].second - 1)] = true;
    }
    RedrawSecondReadings(s, rng, alphabet, options, random_cell, report);
  }
  return report;
}

}  // namespace kivrel
