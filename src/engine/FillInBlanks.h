#pragma once
// Filling the cells no word uses with letters, and taking them away again. The fill
// writes the mystery quote first, when there is one, and then random letters; with the
// "No Duplicate Words" mark on it re-draws random letters until no listed word (and no
// word to avoid) can be read anywhere but where it was placed.
#include <string>
#include <string_view>
#include <vector>

#include "model/PuzzleState.h"
#include "model/Random.h"

namespace kivrel {

/// How often the fill letters may be re-drawn before the fill gives up on a word.
inline constexpr int kMaxRedrawRounds = 100;

/// The characters fill letters are drawn from. A-Z, each equally likely, unless the
/// placed words hold other characters (accented capitals, digits): then those join
/// A-Z, each about as frequent among the fill letters as among the placed letters, and
/// A-Z share the rest evenly.
class FillAlphabet {
 public:
  /// The alphabet of the placed words; before any word is placed, of every word in
  /// the table (the words a build will place).
  explicit FillAlphabet(const PuzzleState& state);

  /// True when the fill may write the character (upper case).
  bool Contains(char32_t ch) const;
  /// A fresh random letter: one draw from the random source.
  std::string Draw(Random& rng) const;
  /// The characters beyond A-Z, in code order.
  const std::u32string& Extras() const { return extras_; }

 private:
  std::u32string extras_;
  std::vector<long long> weights_;  // A-Z, then the extras; empty when only A-Z
  long long total_ = 0;
};

/// The letters of a quote the fill writes, in order: upper-cased, and only those of the
/// fill alphabet (spaces and punctuation are skipped). Without a quote, the state's
/// mystery quote.
std::vector<std::string> QuoteLetters(const PuzzleState& state, std::string_view quote);
std::vector<std::string> QuoteLetters(const PuzzleState& state);

/// The cells of the grid that no word uses, in reading order (row by row).
std::vector<std::pair<int, int>> UnusedCells(const LetterGrid& grid);

/// What a fill did besides writing letters.
struct FillReport {
  int Redrawn = 0;                      // fill cells drawn again so that no word reads twice
  std::vector<std::string> FoundTwice;  // words read a second time in letters the fill may not change
  std::vector<std::string> NotCleared;  // words the re-drawing could not clear within its rounds
  int QuoteLettersLeftOut = 0;          // quote letters that found no empty cell
  bool QuoteWritten = false;            // the fill wrote letters of a quote
  bool Stopped = false;                 // the re-drawing was stopped before it was done
};

/// Whoever watches a long fill: the re-drawing tells it after each round, and it may
/// let the window system run there and stop the fill.
class FillProgress {
 public:
  virtual ~FillProgress() = default;
  /// A round of re-drawing is done, `redrawn` fill letters drawn again so far. False
  /// stops the re-drawing: the letters stay as they are.
  virtual bool RoundDone(int redrawn) = 0;
};

/// What the fill must see to: with `NoDuplicates` (the "No Duplicate Words" mark) no
/// placed word, nor any of `Avoid` (placed words, upper case), may be read anywhere but
/// where it was placed. `Progress`, when given, hears of each round of re-drawing.
struct FillOptions {
  bool NoDuplicates = true;
  std::vector<std::string> Avoid;
  FillProgress* Progress = nullptr;
};

/// Toggles BlanksFilled. Filling writes, in reading order, the letters of the state's
/// mystery quote into the cells with UseCount 0 and random letters into the rest; then,
/// with NoDuplicates, re-draws the random letters of every cell in a second reading of a
/// placed or avoided word, round after round, until none is left (at most
/// kMaxRedrawRounds rounds, or until the progress stops it: the words still readable
/// twice are then NotCleared). Clearing sets those cells to " ". No counter changes.
///
/// Without NoDuplicates, no quote and placed words of A-Z only, the fill is one draw of
/// A-Z per empty cell in reading order, as it always was.
FillReport ToggleFill(PuzzleState& state, Random& rng, const FillOptions& options);

}  // namespace kivrel
