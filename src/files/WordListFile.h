#pragma once
// The text form of a word list: a header line of attributes (tag "1", title, width,
// height, diagonals, balance, instructions, then the mystery quote when there is one and
// a 0 when backwards words are off, separated by tabs) and one entry per line, written
// in code page 1252. Reading is lenient: lines may end in CR LF, LF or CR, a file
// without a header is a plain list, a later header overrides an earlier one, a file
// with a UTF-8 byte-order mark, or valid UTF-8 holding non-ASCII characters, is read as
// UTF-8, and one with a UTF-16 byte-order mark (what some editors call "Unicode") as
// UTF-16.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"
#include "model/PuzzleState.h"

namespace kivrel {

struct WordListHeader {
  std::string Title;
  i16 Width = 0;
  i16 Height = 0;
  i16 IncludeDiagonals = 0;
  i16 BalanceDirections = 0;
  std::string Instructions;
  std::string MysteryQuote;
  i16 BackwardsWords = 1;  // on unless a ninth field says 0
  bool operator==(const WordListHeader&) const = default;
};

struct ParsedWordList {
  std::optional<WordListHeader> Header;  // the last header line, if any
  std::vector<std::string> Entries;      // entry lines, quotes removed, blank ones left out
  /// The size a header asked for when a side passes kLargestSide ("150 x 15"); the
  /// header's width and height are then 0, as in a list without a size.
  std::string RefusedSize;
};

inline constexpr const char* kNotAWordListMessage = "File does not contain a Kivrel word list";
/// The most characters an entry may have: more than a line of the word list shows.
inline constexpr std::size_t kLongestEntry = 1000;

/// Whether bytes are text a word list can be read from: code page 1252, UTF-8, or UTF-16
/// with its byte-order mark, without a NUL, and with no entry line that is more than
/// half control characters (the form feed aside).
bool IsWordListText(std::string_view bytes);

/// Splits the file's bytes into its header and entry lines. Refuses them (Invalid, the
/// reason a sentence for the user) when they are not text (IsWordListText), when a
/// header holds a number out of range (a negative size, any number outside 16 bits but
/// the size), when an entry is longer than kLongestEntry characters (naming its line),
/// and when the entries pass the limits of a word list (WordList::Fits), noticed at the
/// line that passes them. A header asking for a side above kLargestSide is kept without
/// its size (RefusedSize).
FileResult<ParsedWordList> ParseWordList(std::string_view bytes);

/// What the user is told of a size a list asked for that is refused: "The list asks
/// for a 150 x 15 puzzle. The largest puzzle is 99 x 99 letters: Default Dimensions
/// proposes a size for it."
std::string RefusedSizeMessage(const std::string& size);

/// The bytes of a word list file: the header line (tag "1", title, width, height,
/// diagonals, the absolute value of balance, instructions; numbers with their sign
/// place; an eighth field with the mystery quote only when there is one, and a ninth,
/// " 0", only when backwards words are off) and then every entry that is not blank, one
/// per line, each line ending in CR LF, in code page 1252. (An entry that starts with a
/// control character sorts before a space but is kept all the same: every entry of the
/// list is written.)
///
/// So that ParseWordList gives back what was written, a tab or a line break inside a
/// field or an entry is written as a space, and an entry holding a double quote is
/// written between double quotes (the reader takes off the first and last character
/// of such a line).
///
/// Readers that know seven fields pass the later ones over. So that a reader which takes
/// a run of tabs for one separator still finds each field in its place, an empty field
/// with another after it (the title, the instructions, the quote) is written as one
/// space (read back empty).
std::string WordListFileBytes(const PuzzleState& state, const std::vector<std::string>& entries);

/// What the header of a list saved from `state` holds.
WordListHeader HeaderOf(const PuzzleState& state);
/// Puts a list's header into the state (the fields it names, nothing else).
void ApplyHeader(PuzzleState& state, const WordListHeader& header);

/// The fields of a header line: split on every single tab, each trimmed of spaces, so
/// an empty field counts.
std::vector<std::string> HeaderFields(std::string_view line);

/// The placed word of every entry that gives one, in list order (the words of a list
/// of words to avoid).
std::vector<std::string> PlacedWords(const ParsedWordList& list);

/// An entry line as it is added to the list: a line holding a double quote loses its
/// first and last characters (a lone double quote leaves nothing).
std::string UnquoteEntry(std::string_view line);

}  // namespace kivrel
