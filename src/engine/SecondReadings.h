#pragma once
// Finding a word where a solver could read it although it was not placed there: in any
// of the eight directions, anywhere in the grid. The fill uses it to make sure random
// letters never spell a listed word a second time (nor a word it was asked to avoid).
//
// The words are made into one automaton (a trie with failure links, Aho-Corasick), and
// each line of the grid in each direction is read through it once: the time grows with
// the grid and the readings found, not with the number of words.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/PuzzleState.h"

namespace kivrel {

/// One reading of a word outside its placements: the word and its cells (row, column),
/// from its first letter to its last.
struct SecondReading {
  std::string Word;
  std::vector<std::pair<int, int>> Cells;
};

/// The search for the placed words (Status placed) of a puzzle and the words to avoid,
/// made once and run over the state's grid as often as its letters change (not its
/// size, nor the words' placements). The state must outlive the finder.
class SecondReadingFinder {
 public:
  /// `avoid` holds placed words (upper case, cell characters only); those that are empty
  /// are passed over. A word is a target once, with the placements of every record that
  /// holds it: placed words in record order, then the avoided words that are not placed.
  SecondReadingFinder(const PuzzleState& state, const std::vector<std::string>& avoid);

  /// A reading: target `Target` read from cell `Start` (index (row - 1) x width + column
  /// - 1) in direction `Direction` (1..8), over `Length` cells.
  struct Reading {
    int Target;
    int Start;
    int Direction;
    int Length;
  };

  /// Every reading of a target in the grid that is not one of its placements. A
  /// placement read backwards covers the same cells and is the same placement (a
  /// palindrome); a reading whose cells are those of another placement of the same text
  /// is one too. A reading is reported once, whichever way round it reads (a palindrome
  /// from its end nearer the top left; a one-letter word as read rightwards). An empty
  /// cell matches nothing. The readings stay valid until the next search.
  const std::vector<Reading>& Find();

  /// How many targets there are (0 to Targets() - 1).
  int Targets() const { return static_cast<int>(words_.size()); }
  /// The text of a target.
  const std::string& Word(int target) const { return words_[static_cast<std::size_t>(target)]; }

 private:
  int TargetFor(const std::string& word);
  int Symbol(char32_t ch) const;
  void BuildAutomaton();
  void Report(int target, int end, int step, int direction);
  int Index(int row, int col) const { return (row - 1) * grid_.Width() + (col - 1); }

  const LetterGrid& grid_;
  std::unordered_map<std::string, int> by_text_;
  std::vector<std::string> words_;                // by target
  std::vector<std::u32string> characters_;        // by target
  std::vector<bool> palindrome_;                  // by target
  std::vector<bool> placed_;                      // the target has placements
  std::unordered_set<std::uint64_t> placements_;  // target, first and last cell of each

  // The automaton: node 0 is the root; next_ holds symbols_ entries per node.
  std::vector<char32_t> alphabet_;  // the characters of the targets, in code order
  int symbols_ = 0;
  std::vector<int> next_;
  std::vector<int> ends_;  // the target a node spells, or -1
  std::vector<int> fail_;  // the longest proper suffix that is a node
  std::vector<int> more_;  // the nearest node down the failure links that spells a target, or -1

  std::vector<int> cells_;  // the symbol in each cell of the grid, -1 for none
  std::vector<Reading> found_;
};

/// Every reading of a placed word or of an avoided word in the grid of the state that is
/// not a placement of that word (SecondReadingFinder), in reading order of their first
/// cells, then in target order, then by direction.
std::vector<SecondReading> FindSecondReadings(const PuzzleState& state, const std::vector<std::string>& avoid);

}  // namespace kivrel
