#pragma once
// Filling the cells no word uses with letters, and taking them away again. The fill
// writes the mystery quote first, when there is one, and then random letters; with the
// "No Duplicate Words" mark on it re-draws random letters until no listed word (and no
// word to avoid) can be read anywhere but where it was placed.
#include <string>
#include <string_view>
#include <vector>

#include "program/AppContext.h"

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
  int Redrawn = 0;                       // fill cells drawn again so that no word reads twice
  std::vector<std::string> FoundTwice;   // words read a second time in letters the fill may not change
  std::vector<std::string> NotCleared;   // words the re-drawing could not clear within its rounds
  int QuoteLettersLeftOut = 0;           // quote letters that found no empty cell
};

/// Toggles BlanksFilled. Filling writes, in reading order, the quote's letters into the
/// cells with UseCount 0 and random letters into the rest, drawn in black; then, with
/// the No Duplicate Words mark on, re-draws the random letters of every cell in a
/// second reading of a placed or avoided word, round after round, until none is left
/// (at most kMaxRedrawRounds rounds). The statistics panel shows how many were
/// re-drawn. Clearing sets those cells to " " and draws their old letters in
/// white, which erases them. The picture's fore colour is left white after clearing
/// and black after filling. No counter changes.
///
/// With the mark off, no quote and placed words of A-Z only, the fill is one draw of
/// A-Z per empty cell in reading order, as it always was.
FillReport FillInBlanks(AppContext& ctx);

/// What the user is told of a fill: the words that stay readable twice and the quote
/// letters that did not fit; "" when there is nothing to tell.
std::string FillReportMessage(const FillReport& report);

/// Shows FillReportMessage in a message box ("Kivrel Message"), when it says anything.
void TellFillReport(AppContext& ctx, const FillReport& report);

}  // namespace kivrel
