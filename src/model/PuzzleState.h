#pragma once
// The one puzzle of a running program: the letter grid, the word table with its
// placements, the attributes, the build options, the counters and the shared flags.
// Every field carries the name the rest of the program knows it by. Counts are signed
// 16-bit where they are stored; flags are 0 for false and -1 (or 1, a check box value)
// for true.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kivrel {

using i16 = std::int16_t;

constexpr i16 kTrue = -1;
constexpr i16 kFalse = 0;
inline i16 Flag(bool value) { return value ? kTrue : kFalse; }

/// One cell of the grid.
struct CellRecord {
  std::string Letter;             // "" as created, " " after fill letters were taken away
  i16 UseCount = 0;               // placed words through this cell
  i16 ShowCount = 0;              // highlighted words covering this cell
  std::array<i16, 9> WordRefs{};  // slots 1..8 hold word indices; slot 0 is unused

  /// True for "" and " " (every character that sorts at or before a space). "" reads as
  /// its terminating 0: one test, which a grid's row of cells can take without a branch.
  bool IsEmpty() const { return static_cast<unsigned char>(Letter.c_str()[0]) <= ' '; }

  bool operator==(const CellRecord&) const = default;
};

/// One entry of the word list and its placement.
struct WordRecord {
  std::string Text;         // the placed word
  std::string DisplayText;  // the list entry unchanged
  i16 SortPosition = 0;
  i16 Status = 0;  // 0 not placed, 1 placed, 2 rejected (-1 briefly while ordering)
  i16 StartCol = 0;
  i16 StartRow = 0;
  i16 Direction = 0;  // 1..8
  i16 Length = 0;     // characters of Text
  i16 Shown = 0;      // highlighted by the word list window
  // The print layout's copy of the placed words, packed to the front of the table.
  std::string ListText;
  std::string ListDisplayText;
  i16 ListStartCol = 0;
  i16 ListStartRow = 0;
  i16 ListDirection = 0;
  i16 ListWidth = 0;

  bool operator==(const WordRecord&) const = default;
};

constexpr i16 kStatusNotPlaced = 0;
constexpr i16 kStatusPlaced = 1;
constexpr i16 kStatusRejected = 2;

/// The letter grid: rows 0..Height and columns 0..Width, row first. Row 0 and column 0
/// exist but are never used.
class LetterGrid {
 public:
  LetterGrid() { Create(0, 0); }

  /// Re-creates the grid empty with rows 0..height and columns 0..width.
  void Create(int height, int width);

  int Height() const { return height_; }
  int Width() const { return width_; }

  /// True for a cell in use: row 1..Height, column 1..Width.
  bool Contains(int row, int col) const { return row >= 1 && row <= height_ && col >= 1 && col <= width_; }

  /// The cell at (row, col); both may be 0. Out-of-range indices are a programming error.
  CellRecord& At(int row, int col) {
    const std::size_t index = Index(row, col);
    emptied_ = false;  // the caller may write to it
    return cells_[index];
  }
  const CellRecord& At(int row, int col) const { return cells_[Index(row, col)]; }

  bool operator==(const LetterGrid& other) const {
    return height_ == other.height_ && width_ == other.width_ && cells_ == other.cells_;
  }

 private:
  // Inline: a build reaches the grid's cells tens of thousands of times.
  std::size_t Index(int row, int col) const {
    if (row < 0 || row > height_ || col < 0 || col > width_) OutOfRange(row, col);
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width_ + 1) + static_cast<std::size_t>(col);
  }
  [[noreturn]] static void OutOfRange(int row, int col);

  int height_ = 0;
  int width_ = 0;
  std::vector<CellRecord> cells_;
  // No cell was handed out for writing since the grid was last emptied: emptying it
  // again at the same size has nothing to do (a build does so twice).
  bool emptied_ = false;
};

/// Directions 1..8: Right, Left, Down, Up, Down-Right, Up-Left, Up-Right, Down-Left.
constexpr int kDirectionCount = 8;
extern const char* const kDirectionNames[kDirectionCount + 1];  // [0] = ""
/// The steps of each direction: +1 row goes down, +1 column goes right. [0] is unused.
inline constexpr std::array<i16, kDirectionCount + 1> kRowSteps{0, 0, 0, 1, -1, 1, -1, -1, 1};
inline constexpr std::array<i16, kDirectionCount + 1> kColSteps{0, 1, -1, 0, 0, 1, -1, 1, -1};

/// The directions words read in without backwards words, in the order a build turns
/// through them: Right, Down, and the diagonals that read left to right, Down-Right and
/// Up-Right. [0] is unused.
inline constexpr std::array<i16, 5> kForwardDirections{0, 1, 3, 5, 7};

/// True when all `length` cells from (row, col) in direction d (1..8) lie inside the grid.
bool WordInsideGrid(const LetterGrid& grid, int row, int col, int direction, int length);

/// The larger and the smaller of two values.
inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }

/// The largest grid the 16-bit counts can carry: Width x Height must stay below 32768.
bool GridSizeFits(long long width, long long height);

/// The most letters a side of a puzzle may have: what Default Dimensions proposes and a
/// page prints whole. A larger size is refused wherever it is given.
inline constexpr int kLargestSide = 99;
/// "The largest puzzle is 99 x 99 letters".
inline constexpr const char* kLargestSizeText = "The largest puzzle is 99 x 99 letters";

struct PuzzleState {
  // The grid and the word table.
  LetterGrid Grid;
  std::vector<WordRecord> Words = std::vector<WordRecord>(1);  // index 0 unused; 1..WordCount
  std::vector<i16> BuildOrder = std::vector<i16>(1);           // index 0 unused
  std::array<i16, 9> DirectionWordCount{};                     // 1..8 used
  std::array<i16, 9> RowStep{};                                // the direction table, 1..8
  std::array<i16, 9> ColStep{};

  // Attributes.
  std::string PuzzleTitle;
  std::string PuzzleInstructions;
  i16 PuzzleWidth = 0;
  i16 PuzzleHeight = 0;
  i16 BalanceDirections = 0;
  i16 FastBuild = 0;  // carried by the puzzle file and the attributes dialog; no build reads it
  i16 IncludeDiagonals = 0;
  /// Words may also read right to left and bottom to top (Left, Up, Up-Left and
  /// Down-Left); 0 places them only as they are read. The word list header carries it;
  /// the puzzle file does not.
  i16 BackwardsWords = 1;
  i16 StopOnFirstReject = 0;
  i16 RestartOnFirstReject = 0;
  std::string StopRemainingOperator;
  i16 StopRemainingCount = 0;
  /// The hidden message: the fill writes its letters into the empty cells in reading
  /// order. Empty for an ordinary puzzle.
  std::string MysteryQuote;

  // Word list summary.
  i16 WordCount = 0;
  i16 LongestWordLength = 0;
  i16 LongestWordIndex = 0;
  i16 ShortestWordLength = 0;
  i16 LetterCount = 0;
  i16 SpaceCount = 0;

  // Build state and counters.
  std::string CurrentWord;
  i16 CurrentWordLength = 0;
  i16 CurrentWordIndex = 0;
  i16 CurrentRow = 0;
  i16 CurrentCol = 0;
  i16 CurrentDirection = 0;
  i16 DirectionCount = 0;  // directions a build uses; BuildDirection names them
  i16 BestRow = 0;
  i16 BestCol = 0;
  i16 BestDirection = 0;
  i16 BestCrossings = 0;
  i16 BestUseSum = 0;
  i16 InsertedCount = 0;
  i16 RejectedCount = 0;
  i16 JunctionCount = 0;
  i16 LettersRemaining = 0;
  i16 SpacesRemaining = 0;

  // Flags shared with the windows.
  i16 CancelRequested = 0;
  i16 BlanksFilled = 0;
  i16 AttributesForBuild = 0;
  i16 PuzzleBuilt = 0;
  i16 PuzzleChanged = 0;  // the puzzle on screen was built or filled since it was saved or opened
  i16 OutlinesShown = 0;
  i16 JunctionsShown = 0;

  // The word list's flags and selection.
  i16 WordListChanged = 0;
  i16 WordTableStale = 0;
  i16 EditIndex = -1;
  i16 SelectedWordIndex = 0;

  // Files.
  std::string WordListFileName;
  i16 WordListSaved = 0;
  std::string PuzzleFileName;

  // Printing flags.
  i16 LayoutEnabled = kTrue;
  i16 PrintingInProgress = kFalse;
  i16 SkipActivateRelayout = kFalse;

  // Constants made at start-up.
  float Pi = 0;

  /// Upper bound of Words (0 for the single blank record).
  int WordsUpperBound() const { return static_cast<int>(Words.size()) - 1; }

  /// Fills RowStep and ColStep with the direction table.
  void FillDirectionTable();

  /// SpaceCount and SpacesRemaining from the size, LettersRemaining from LetterCount:
  /// the counts of an empty grid.
  void ResetCounts();

  /// StopRemainingCount -1, IncludeDiagonals, BalanceDirections, BackwardsWords and
  /// FastBuild 1; the two reject options stay as they are.
  void SetDefaultBuildOptions();

  /// DirectionCount for a build from its options: 8 with diagonals, else 4, and half as
  /// many without backwards words.
  void SetBuildDirections();

  /// The direction (1..8) that a build's search visits as its k-th (1..DirectionCount).
  /// With backwards words that is direction k itself, so the build draws as it always did.
  int BuildDirection(int k) const {
    return BackwardsWords != 0 ? k : kForwardDirections.at(static_cast<std::size_t>(k));
  }
};

}  // namespace kivrel
