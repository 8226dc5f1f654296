#pragma once
// A puzzle as one line of JSON, for `build --json` and for any command that shows a
// puzzle read from a file.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QJsonValue>

#include "model/PuzzleState.h"

namespace kivrel::cli {

/// How a puzzle was built, when it was built by this run.
struct BuildRunInfo {
  std::uint64_t Seed = 0;
  long long Attempts = 0;
  double ElapsedMs = 0;
  bool GaveUp = false;                  // a limit stopped the restarts; this is the best attempt
  int FillRedrawn = 0;                  // fill letters drawn again so that no word reads twice
  std::vector<std::string> FoundTwice;  // words that can still be found a second time
};

/// Words joined with ", ".
std::string JoinWords(const std::vector<std::string>& words);

/// Writes one JSON object and a newline: title, instructions, width, height, seed,
/// attempts, gaveUp, elapsedMs, fillRedrawn, foundTwice (null without `run`),
/// mysteryQuote, wordCount, inserted, rejected,
/// junctions, lettersRemaining, spacesRemaining, blanksFilled, directionCounts (8
/// numbers, Right to Down-Left), grid (one string per row, a blank cell as a space) and
/// words (text, display, status "placed" / "rejected" / "not placed", row, col,
/// direction 1..8 and directionName — null when not placed — and length). The grid is
/// read within its own bounds; records without a word are left out. Without
/// `with_words` the words are left out altogether (the counts stay).
void WritePuzzleJson(std::ostream& out, const PuzzleState& state, const std::optional<BuildRunInfo>& run,
                     bool with_words = true);

/// One JSON value as Qt writes it (compact): strings escaped, always valid UTF-8.
std::string JsonText(const QJsonValue& value);

/// A JSON object whose members stay in the order they are added (Qt's own objects sort
/// their keys, and the documented order of the fields is not sorted).
class OrderedJsonObject {
 public:
  void AddString(std::string_view key, std::string_view text);
  void AddNumber(std::string_view key, long long number);
  void AddBool(std::string_view key, bool flag);
  void AddNull(std::string_view key);
  /// A member whose value is already JSON text (a nested ordered object or array).
  void AddJson(std::string_view key, std::string_view json);
  std::string Text() const;

 private:
  void Key(std::string_view key);
  std::string text_;
};

}  // namespace kivrel::cli
