#pragma once
// The puzzle file (.kvp): the whole built puzzle in binary. Every integer is a signed
// 16-bit little-endian number; a string is a 16-bit length and that many code page
// 1252 bytes. There is no magic number: the reader knows a puzzle by its counts.
//
//   header      17 numbers (WordCount .. FastBuild), the stop operator (string),
//               StopRemainingCount
//   the mystery quote (empty for an ordinary puzzle), the title, the instructions
//               (strings)
//   WordCount word records: 11 numbers (SortPosition, Status, StartCol, StartRow,
//               Direction, Length, Shown, ListStartCol, ListStartRow, ListDirection,
//               ListWidth) and 4 strings (Text, DisplayText, ListText, ListDisplayText)
//   PuzzleHeight x PuzzleWidth cells, row by row: Letter (string), UseCount,
//               ShowCount, WordRefs 1..8
//   DirectionWordCount 1..8
//
// Anything after the direction counts is ignored, as long as the file is no longer than
// its counts allow.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileIO.h"
#include "files/FileResult.h"
#include "model/PuzzleState.h"

namespace kivrel {

/// The record that opens a puzzle file, in file order.
struct PuzzleFileHeader {
  i16 WordCount = 0;
  i16 InsertedCount = 0;
  i16 RejectedCount = 0;
  i16 LetterCount = 0;
  i16 SpaceCount = 0;
  i16 LettersRemaining = 0;
  i16 SpacesRemaining = 0;
  i16 JunctionCount = 0;
  i16 LongestWordIndex = 0;
  i16 LongestWordLength = 0;
  i16 ShortestWordLength = 0;
  i16 PuzzleWidth = 0;
  i16 PuzzleHeight = 0;
  i16 BlanksFilled = 0;
  i16 BalanceDirections = 0;
  i16 IncludeDiagonals = 0;
  i16 FastBuild = 0;
  std::string StopRemainingOperator;
  i16 StopRemainingCount = 0;
  bool operator==(const PuzzleFileHeader&) const = default;
};

/// Everything a puzzle file holds, as stored (no value adjusted yet).
struct PuzzleFile {
  PuzzleFileHeader Header;
  std::string MysteryQuote;
  std::string PuzzleTitle;
  std::string PuzzleInstructions;
  std::vector<WordRecord> Words = std::vector<WordRecord>(1);  // 1..WordCount; [0] unused
  LetterGrid Grid;
  std::array<i16, 9> DirectionWordCount{};  // 1..8; [0] unused
  bool operator==(const PuzzleFile&) const = default;
};

/// A record marked placed that holds no letters: what the build leaves for an entry
/// that is a note alone ("[Animals of Africa]"). It is read as a note, not as a word.
bool IsNoteRecord(const WordRecord& word);

/// Reads and checks a whole puzzle file. Refused: counts that fail the plausibility
/// check (the size times the size is not SpaceCount, no words, more words inserted or
/// rejected than there are, more spaces remaining than spaces), a file shorter than its
/// counts of words and cells need or longer than they allow, a file that ends early,
/// a negative or out-of-range count or size, a placed word that leaves the grid or has
/// no direction 1..8, a cell with more than 8 words or a word reference outside the
/// table, an unknown stop operator, and a word table whose entries would not make a
/// word list (none, or more than a list holds): Invalid, with the reason and the byte
/// where the reader noticed. On success `consumed` (when given) is the length of the
/// puzzle in the bytes.
FileResult<PuzzleFile> ParsePuzzleFile(std::string_view bytes, std::size_t* consumed = nullptr);

/// For ReadWholeFile: the header and the file's size are checked as ParsePuzzleFile
/// checks them, so a file refused there (not a puzzle, or far larger than its counts
/// allow) is never read further.
FileHeadCheck PuzzleFileHeadCheck();

/// The puzzle of a state as a file holds it: the header from the counters and
/// attributes, the word table and the grid. The file describes what it carries, so the
/// size and SpaceCount come from the grid's own bounds and WordCount from the word
/// table's, which are the state's values whenever the two agree.
PuzzleFile PuzzleFileFromState(const PuzzleState& state);

/// The bytes of a puzzle file; Invalid when a value cannot be stored: a text longer
/// than 32767 bytes in code page 1252, or more records than a 16-bit count carries.
FileResult<std::string> EncodePuzzleFile(const PuzzleFile& file);

/// Every text a puzzle file stores (the stop operator, the title, the instructions, the
/// words' texts and the cells' letters), to see whether code page 1252 holds them.
std::vector<std::string_view> PuzzleFileTexts(const PuzzleFile& file);

/// Copies a read file into the state: the counters and attributes of the header (the
/// flags Balance and Diagonals as absolute values, FastBuild 1 whatever the file
/// says), the quote, the title, the instructions, the word table (BuildOrder re-made to
/// fit it; a note record becomes a record not placed, as the notes of a list are), the
/// grid and the direction counts.
void ApplyPuzzleFile(PuzzleState& state, PuzzleFile file);

}  // namespace kivrel
