#include "files/PuzzleFile.h"

#include <algorithm>
#include <cstdlib>

#include "files/Cp1252.h"
#include "model/Text.h"
#include "model/WordList.h"

namespace kivrel {

namespace {

// The smallest a word record and a cell can be: their numbers and empty strings.
constexpr std::size_t kMinWordBytes = 11 * 2 + 4 * 2;
constexpr std::size_t kMinCellBytes = 2 + 2 + 2 + 8 * 2;
constexpr std::size_t kDirectionBytes = 8 * 2;
constexpr std::size_t kMinTextsBytes = 3 * 2;  // the empty text, the title, the instructions

// The most a text of the file can hold: a 16-bit length.
constexpr std::size_t kMaxTextBytes = 2 + 32767;
// The numbers of the header, then the operator's length, the operator (at most two
// characters) and the stop count: enough to check a file's counts and size.
constexpr std::size_t kHeadBytes = 17 * 2 + 2 + 2 + 2;

// Thrown inside the reader; ParsePuzzleFile turns it into its error.
struct Refusal {
  std::string reason;
  std::size_t offset;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Offset() const { return pos_; }
  void Back(std::size_t bytes) { pos_ -= std::min(bytes, pos_); }
  std::size_t Remaining() const { return bytes_.size() - pos_; }

  [[noreturn]] void Refuse(std::string reason) const { throw Refusal{std::move(reason), pos_}; }

  i16 Number() {
    if (Remaining() < 2) Refuse("the file ends early");
    auto low = static_cast<unsigned char>(bytes_[pos_]);
    auto high = static_cast<unsigned char>(bytes_[pos_ + 1]);
    pos_ += 2;
    return static_cast<i16>(static_cast<std::uint16_t>(low | (high << 8)));
  }

  std::string Text() {
    i16 length = Number();
    if (length < 0) {
      pos_ -= 2;
      Refuse("a text has a negative length");
    }
    if (Remaining() < static_cast<std::size_t>(length)) Refuse("the file ends early");
    std::string text = Cp1252ToUtf8(bytes_.substr(pos_, static_cast<std::size_t>(length)));
    pos_ += static_cast<std::size_t>(length);
    return text;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The header's numbers are checked as soon as they are read, before the stop operator:
// a file that is not a puzzle is told by its counts.
PuzzleFileHeader ReadHeader(Reader& in) {
  PuzzleFileHeader h;
  for (i16* field :
       {&h.WordCount, &h.InsertedCount, &h.RejectedCount, &h.LetterCount, &h.SpaceCount, &h.LettersRemaining,
        &h.SpacesRemaining, &h.JunctionCount, &h.LongestWordIndex, &h.LongestWordLength, &h.ShortestWordLength,
        &h.PuzzleWidth, &h.PuzzleHeight, &h.BlanksFilled, &h.BalanceDirections, &h.IncludeDiagonals, &h.FastBuild}) {
    *field = in.Number();
  }

  // The counts a puzzle is recognised by.
  if (static_cast<double>(h.PuzzleHeight) * static_cast<double>(h.PuzzleWidth) != h.SpaceCount) {
    in.Refuse("the width times the height is not the number of spaces");
  }
  if (h.WordCount == 0) in.Refuse("the puzzle has no words");
  if (h.InsertedCount > h.WordCount || h.RejectedCount > h.WordCount) {
    in.Refuse("more words are inserted or rejected than the puzzle has");
  }
  if (h.SpacesRemaining > h.SpaceCount) in.Refuse("more spaces remain than the puzzle has");

  // What the rest of the program relies on.
  if (h.PuzzleWidth < 0 || h.PuzzleHeight < 0) in.Refuse("the size is negative");
  for (i16 count : {h.WordCount, h.InsertedCount, h.RejectedCount, h.LetterCount, h.LettersRemaining, h.SpacesRemaining,
                    h.JunctionCount, h.LongestWordIndex, h.LongestWordLength, h.ShortestWordLength}) {
    if (count < 0) in.Refuse("a count is negative");
  }
  if (h.LongestWordIndex > h.WordCount) in.Refuse("the longest word is not in the word table");
  if (h.BalanceDirections == -32768 || h.IncludeDiagonals == -32768) in.Refuse("a build option is out of range");

  // The operator is at most two characters: a longer one is told by its length alone.
  if (in.Remaining() >= 2) {
    const i16 length = in.Number();
    in.Back(2);
    if (length > 2) in.Refuse("the stop operator is unknown");
  }
  h.StopRemainingOperator = in.Text();
  const std::string& op = h.StopRemainingOperator;
  if (!(op.empty() || op == "=" || op == "<" || op == "<=")) in.Refuse("the stop operator is unknown");
  h.StopRemainingCount = in.Number();
  if (h.StopRemainingCount < -1) in.Refuse("the stop count is out of range");
  return h;
}

WordRecord ReadWord(Reader& in, const PuzzleFileHeader& h, int index) {
  WordRecord w;
  for (i16* field : {&w.SortPosition, &w.Status, &w.StartCol, &w.StartRow, &w.Direction, &w.Length, &w.Shown,
                     &w.ListStartCol, &w.ListStartRow, &w.ListDirection, &w.ListWidth}) {
    *field = in.Number();
  }
  w.Text = in.Text();
  w.DisplayText = in.Text();
  w.ListText = in.Text();
  w.ListDisplayText = in.Text();
  // A note alone has no letters to place: the build leaves its record blank and marked
  // placed, with no letters. It is a note, not a placed word.
  if (w.Status == kStatusPlaced && !IsNoteRecord(w)) {
    const std::string word = "word " + std::to_string(index);
    if (w.Direction < 1 || w.Direction > kDirectionCount) in.Refuse(word + " has no direction 1 to 8");
    if (w.Length < 1) in.Refuse(word + " is placed without letters");
    const int last = w.Length - 1;
    const int end_row = w.StartRow + last * kRowSteps[static_cast<std::size_t>(w.Direction)];
    const int end_col = w.StartCol + last * kColSteps[static_cast<std::size_t>(w.Direction)];
    auto inside = [&](int row, int col) {
      return row >= 1 && row <= h.PuzzleHeight && col >= 1 && col <= h.PuzzleWidth;
    };
    if (!inside(w.StartRow, w.StartCol) || !inside(end_row, end_col)) in.Refuse(word + " leaves the grid");
  }
  return w;
}

void ReadCell(Reader& in, const PuzzleFileHeader& h, CellRecord& cell) {
  cell.Letter = in.Text();
  cell.UseCount = in.Number();
  cell.ShowCount = in.Number();
  for (int slot = 1; slot <= 8; ++slot) cell.WordRefs[static_cast<std::size_t>(slot)] = in.Number();
  if (cell.UseCount < 0 || cell.UseCount > 8) in.Refuse("a cell is used by fewer than 0 or more than 8 words");
  for (int slot = 1; slot <= cell.UseCount; ++slot) {
    i16 ref = cell.WordRefs[static_cast<std::size_t>(slot)];
    if (ref < 1 || ref > h.WordCount) in.Refuse("a cell refers to a word that is not in the table");
  }
}

// The word list made again from the table must be one the program can hold.
void CheckWordList(const std::vector<WordRecord>& words, const Reader& in) {
  WordList list;
  for (std::size_t k = 1; k < words.size(); ++k) {
    const std::string& entry = words[k].DisplayText;
    if (Trim(entry).empty()) continue;
    if (!list.Fits(entry)) in.Refuse("the word table holds more than a word list can");
    list.AddItem(entry);
  }
  if (list.ListCount() == 0) in.Refuse("the word table has no entries");
}

// The header's counts say how long the file must at least be, and at most can be (every
// text as long as a text can be): a file outside that is refused before anything more
// is read or room is made for its records. `in` stands just after the header.
void CheckSize(const Reader& in, const PuzzleFileHeader& h, std::uint64_t file_size) {
  const auto words = static_cast<std::uint64_t>(h.WordCount);
  const auto cells = static_cast<std::uint64_t>(h.SpaceCount);
  const std::uint64_t rest = file_size - in.Offset();
  if (rest < kMinTextsBytes + words * kMinWordBytes + cells * kMinCellBytes + kDirectionBytes) {
    in.Refuse("the file is shorter than its counts of words and cells need");
  }
  const std::uint64_t most = 3 * kMaxTextBytes + words * (kMinWordBytes + 4 * (kMaxTextBytes - 2)) +
                             cells * (kMinCellBytes + kMaxTextBytes - 2) + kDirectionBytes;
  if (rest > most) in.Refuse("the file is longer than its counts of words and cells allow");
}

}  // namespace

bool IsNoteRecord(const WordRecord& word) { return word.Length == 0 && word.Text.empty(); }

FileHeadCheck PuzzleFileHeadCheck() {
  return {kHeadBytes, [](std::string_view head, std::uint64_t size) -> FileResult<void> {
            Reader in(head);
            try {
              CheckSize(in, ReadHeader(in), size);
              return {};
            } catch (const Refusal& refusal) {
              return FileError(FileFault::Invalid, refusal.reason, {}, refusal.offset);
            }
          }};
}

FileResult<PuzzleFile> ParsePuzzleFile(std::string_view bytes, std::size_t* consumed) {
  Reader in(bytes);
  try {
    PuzzleFile file;
    file.Header = ReadHeader(in);
    const PuzzleFileHeader& h = file.Header;
    CheckSize(in, h, bytes.size());
    const auto words = static_cast<std::size_t>(h.WordCount);
    // Files of puzzles without a quote hold an empty text here, as they always did.
    file.MysteryQuote = in.Text();
    file.PuzzleTitle = in.Text();
    file.PuzzleInstructions = in.Text();
    file.Words.resize(words + 1);
    for (std::size_t k = 1; k <= words; ++k) file.Words[k] = ReadWord(in, h, static_cast<int>(k));
    file.Grid.Create(h.PuzzleHeight, h.PuzzleWidth);
    for (int row = 1; row <= h.PuzzleHeight; ++row) {
      for (int col = 1; col <= h.PuzzleWidth; ++col) ReadCell(in, h, file.Grid.At(row, col));
    }
    for (int d = 1; d <= kDirectionCount; ++d) {
      i16 count = in.Number();
      if (count < 0) in.Refuse("a direction count is negative");
      file.DirectionWordCount[static_cast<std::size_t>(d)] = count;
    }
    CheckWordList(file.Words, in);
    if (consumed) *consumed = in.Offset();
    return file;
  } catch (const Refusal& refusal) {
    return FileError(FileFault::Invalid, refusal.reason, {}, refusal.offset);
  }
}

PuzzleFile PuzzleFileFromState(const PuzzleState& s) {
  PuzzleFile file;
  PuzzleFileHeader& h = file.Header;
  h.WordCount = static_cast<i16>(Min(s.WordsUpperBound(), 32767));
  h.InsertedCount = s.InsertedCount;
  h.RejectedCount = s.RejectedCount;
  h.LetterCount = s.LetterCount;
  h.SpaceCount = static_cast<i16>(s.Grid.Width() * s.Grid.Height());  // the grid never passes 32767 cells
  h.LettersRemaining = s.LettersRemaining;
  h.SpacesRemaining = s.SpacesRemaining;
  h.JunctionCount = s.JunctionCount;
  h.LongestWordIndex = s.LongestWordIndex;
  h.LongestWordLength = s.LongestWordLength;
  h.ShortestWordLength = s.ShortestWordLength;
  h.PuzzleWidth = static_cast<i16>(s.Grid.Width());
  h.PuzzleHeight = static_cast<i16>(s.Grid.Height());
  h.BlanksFilled = s.BlanksFilled;
  h.BalanceDirections = s.BalanceDirections;
  h.IncludeDiagonals = s.IncludeDiagonals;
  h.FastBuild = s.FastBuild;
  h.StopRemainingOperator = s.StopRemainingOperator;
  h.StopRemainingCount = s.StopRemainingCount;
  file.MysteryQuote = s.MysteryQuote;
  file.PuzzleTitle = s.PuzzleTitle;
  file.PuzzleInstructions = s.PuzzleInstructions;
  file.Words.assign(s.Words.begin(), s.Words.begin() + h.WordCount + 1);
  file.Grid = s.Grid;
  file.DirectionWordCount = s.DirectionWordCount;
  return file;
}

namespace {

class Writer {
 public:
  void Number(i16 value) {
    auto bits = static_cast<std::uint16_t>(value);
    bytes_ += static_cast<char>(bits & 0xFF);
    bytes_ += static_cast<char>(bits >> 8);
  }
  void Text(std::string_view text) {
    std::string stored = Utf8ToCp1252(text);
    if (stored.size() > 32767) {
      if (failure_.empty()) failure_ = "a text is longer than 32767 characters";
      stored.clear();
    }
    Number(static_cast<i16>(stored.size()));
    bytes_ += stored;
  }
  const std::string& failure() const { return failure_; }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
  std::string failure_;
};

}  // namespace

FileResult<std::string> EncodePuzzleFile(const PuzzleFile& file) {
  const PuzzleFileHeader& h = file.Header;
  // The counts say how many records follow: they must be the records there are.
  if (static_cast<std::size_t>(h.WordCount) + 1 != file.Words.size() || h.WordCount < 0 ||
      h.PuzzleWidth != file.Grid.Width() || h.PuzzleHeight != file.Grid.Height()) {
    return FileError(FileFault::Invalid, "the counts do not match the word table and the grid");
  }
  Writer out;
  for (i16 field :
       {h.WordCount, h.InsertedCount, h.RejectedCount, h.LetterCount, h.SpaceCount, h.LettersRemaining,
        h.SpacesRemaining, h.JunctionCount, h.LongestWordIndex, h.LongestWordLength, h.ShortestWordLength,
        h.PuzzleWidth, h.PuzzleHeight, h.BlanksFilled, h.BalanceDirections, h.IncludeDiagonals, h.FastBuild}) {
    out.Number(field);
  }
  out.Text(h.StopRemainingOperator);
  out.Number(h.StopRemainingCount);
  out.Text(file.MysteryQuote);
  out.Text(file.PuzzleTitle);
  out.Text(file.PuzzleInstructions);
  for (std::size_t k = 1; k < file.Words.size(); ++k) {
    const WordRecord& w = file.Words[k];
    for (i16 field : {w.SortPosition, w.Status, w.StartCol, w.StartRow, w.Direction, w.Length, w.Shown, w.ListStartCol,
                      w.ListStartRow, w.ListDirection, w.ListWidth}) {
      out.Number(field);
    }
    out.Text(w.Text);
    out.Text(w.DisplayText);
    out.Text(w.ListText);
    out.Text(w.ListDisplayText);
  }
  for (int row = 1; row <= file.Grid.Height(); ++row) {
    for (int col = 1; col <= file.Grid.Width(); ++col) {
      const CellRecord& cell = file.Grid.At(row, col);
      out.Text(cell.Letter);
      out.Number(cell.UseCount);
      out.Number(cell.ShowCount);
      for (int slot = 1; slot <= 8; ++slot) out.Number(cell.WordRefs[static_cast<std::size_t>(slot)]);
    }
  }
  for (int d = 1; d <= kDirectionCount; ++d) out.Number(file.DirectionWordCount[static_cast<std::size_t>(d)]);
  if (!out.failure().empty()) return FileError(FileFault::Invalid, out.failure());
  return std::move(out.bytes());
}

std::vector<std::string_view> PuzzleFileTexts(const PuzzleFile& file) {
  std::vector<std::string_view> texts{file.Header.StopRemainingOperator, file.PuzzleTitle, file.PuzzleInstructions};
  for (std::size_t k = 1; k < file.Words.size(); ++k) {
    const WordRecord& w = file.Words[k];
    texts.insert(texts.end(), {w.Text, w.DisplayText, w.ListText, w.ListDisplayText});
  }
  for (int row = 1; row <= file.Grid.Height(); ++row) {
    for (int col = 1; col <= file.Grid.Width(); ++col) texts.push_back(file.Grid.At(row, col).Letter);
  }
  return texts;
}

void ApplyPuzzleFile(PuzzleState& s, PuzzleFile file) {
  const PuzzleFileHeader& h = file.Header;
  s.PuzzleWidth = h.PuzzleWidth;
  s.PuzzleHeight = h.PuzzleHeight;
  s.WordCount = h.WordCount;
  s.SpaceCount = h.SpaceCount;
  s.InsertedCount = h.InsertedCount;
  s.LetterCount = h.LetterCount;
  s.RejectedCount = h.RejectedCount;
  s.LettersRemaining = h.LettersRemaining;
  s.JunctionCount = h.JunctionCount;
  s.SpacesRemaining = h.SpacesRemaining;
  s.LongestWordIndex = h.LongestWordIndex;
  s.ShortestWordLength = h.ShortestWordLength;
  s.LongestWordLength = h.LongestWordLength;
  s.BlanksFilled = h.BlanksFilled;
  s.StopRemainingOperator = h.StopRemainingOperator;
  s.StopRemainingCount = h.StopRemainingCount;
  s.BalanceDirections = static_cast<i16>(std::abs(h.BalanceDirections));
  s.IncludeDiagonals = static_cast<i16>(std::abs(h.IncludeDiagonals));
  s.FastBuild = 1;
  s.MysteryQuote = std::move(file.MysteryQuote);
  s.PuzzleTitle = std::move(file.PuzzleTitle);
  s.PuzzleInstructions = std::move(file.PuzzleInstructions);
  s.Words = std::move(file.Words);
  for (WordRecord& word : s.Words) {
    if (word.Status == kStatusPlaced && IsNoteRecord(word)) {
      word.Status = kStatusNotPlaced;
      word.Direction = 0;
    }
  }
  s.BuildOrder.assign(s.Words.size(), 0);
  s.Grid = std::move(file.Grid);
  s.DirectionWordCount = file.DirectionWordCount;
  s.DirectionWordCount[0] = 0;
}

}  // namespace kivrel
