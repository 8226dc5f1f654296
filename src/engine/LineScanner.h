#pragma once
// The build's search for the best place of a word: the line scan.
//
// A search visits every direction, and in each direction every line of the grid that
// can hold the word, trying each offset along the line in turn. Testing offset by offset
// is slow, so the scanner keeps the grid as bit masks per line in its four orientations
// (rows, columns and the two diagonals): one mask of the filled cells and, for each
// letter of the word table, one of the cells holding that letter. A word fits at offset
// q when every letter i finds cell q + i empty or holding that letter, so all offsets of
// a line are tested at once with one shift, OR and AND per letter. The two directions of
// an orientation share its masks: the backward one tests the reversed word and takes
// the offsets from the far end. Only the offsets that fit and cross a placed letter are
// then looked at one by one, in the order the search visits them, so every decision and
// every random draw is the one the offset-by-offset scan makes.
//
// The kernel also marks the lines worth a look: once a best place is known, only a line
// where the word fits and crosses as often as the best needs can tie or beat it (a line
// holding fewer letters than the best crosses never can); the others draw no number and
// record nothing, so the scan passes over them with nothing but their yields.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/BuildProgress.h"
#include "model/PuzzleState.h"
#include "model/Random.h"

namespace kivrel {

class LineScanner {
 public:
  /// The builds of the search, the fastest first: for AVX-512 with VBMI2, for AVX-512,
  /// for AVX2, and for any x86-64 processor.
  /// All make the same decisions and the same draws.
  enum class Code { Vbmi2, Avx512, Avx2, Plain };
  /// The builds this processor runs, the fastest first.
  static std::vector<Code> Runnable();
  /// Makes this scanner search with `code` (one of Runnable()) instead of the fastest,
  /// from the next StartBuild on: the tests check each build against the plain search.
  void SearchWith(Code code);

  /// A build starts: lays out the lines of the PuzzleWidth x PuzzleHeight grid (unless
  /// the last build was of the same size) and codes the letters of the word table.
  /// Allocates; nothing after it does.
  void StartBuild(const PuzzleState& state);
  /// An attempt starts, on an empty grid: the masks hold no letter.
  void StartAttempt();
  /// The current word (CurrentWordIndex) has just been written at its place.
  void WordInserted(const PuzzleState& state);
  /// Searches the best place of the current word, yielding after every line. Leaves it
  /// in BestRow, BestCol, BestDirection, BestCrossings and, when found, in CurrentRow,
  /// CurrentCol, CurrentDirection (BestDirection 0: no place). Returns false when Cancel
  /// ended the search. It reads the grid through its own copy, so a command that
  /// discards the puzzle during a yield does not disturb it.
  bool Search(PuzzleState& state, Random& rng, BuildPause& pause);

 private:
  struct Line {
    int row = 0;  // first cell in the orientation's forward direction
    int col = 0;
    int length = 0;
    int words = 0;           // 64-bit words per mask
    int first = 0;           // cell number of the first cell
    int offset = 0;          // the line's first word in each of the orientation's masks (see Orientation)
    int shift = 0;           // the bit of its first cell there (0 but for a narrow line)
    int end = 0;             // a narrow line's mark bit: the bit after its last cell, or that cell at bit 63
    std::uint64_t bits = 0;  // a narrow line's cells, from bit 0
    // A narrow line's part of one of its masks, from bit 0.
    std::uint64_t Of(std::uint64_t word) const { return (word >> shift) & bits; }
  };
  // Where a cell is in each orientation: its line, and its word and bit in the masks.
  // The four side by side, in eight bytes each: a word placed looks up all four for each
  // of its cells, and a large grid's places would not stay in the cache otherwise.
  struct CellPlace {
    std::int32_t word = 0;
    std::uint16_t line = 0;  // a grid has at most 32,767 cells, so fewer lines
    std::uint8_t bit = 0;
    std::uint64_t Bit() const { return std::uint64_t{1} << bit; }
    unsigned char BitInByte() const { return static_cast<unsigned char>(1u << (bit & 7)); }
  };
  using CellPlaces = std::array<CellPlace, 4>;
  // The lines of an orientation fall into runs of one kind, in the order the scan
  // visits them: narrow lines (up to 64 cells), wide ones (up to 128) and long ones.
  // Each kind has its own kernel; a diagonal orientation of a large grid runs narrow,
  // wide, narrow.
  enum class LineKind { Narrow, Wide, Long };
  struct Part {
    LineKind kind = LineKind::Narrow;
    int first = 0;  // its lines
    int last = -1;
    long long searched = -1;  // the search the orientation's scratch was made for
    // The words (wide lines) worth a look in each direction (see ScanNarrow), from the
    // first of the range the search covers, and the crossings of the best they were
    // marked for.
    std::array<std::vector<std::uint64_t>, 2> marks;
    int marked_for = 0;
  };
  // An orientation keeps one mask array per letter code: code 0 holds the filled cells,
  // codes 1..codes_ the cells holding that letter. Its narrow lines lie one after
  // another from word 0 and short ones share a word, each followed by a cell that is
  // never free and never holds a letter, so no place tested runs from one line into
  // the next; a part's first line starts a word. The lines of more than 64 cells follow
  // in planes of `stride` words from a base after them: cells 64j to 64j + 63 of the
  // n-th of them in word base + j * stride + n, so that four lines side by side are four words of
  // each plane, as four words of lines are for narrow ones.
  struct Orientation {
    int row_step = 0;
    int col_step = 0;
    int cell_step = 0;  // cell-number difference between neighbours on a line
    int total_words = 0;
    int longest = 0;  // cells of the longest line
    int stride = 0;   // words per plane
    std::vector<Line> lines;
    std::vector<Part> parts;
    // Per word of the narrow lines: the bits of no cell (also per word of the planes);
    // the lines' mark bits; the bits below each line's mark bit from its first cell on;
    // the first line in it.
    std::vector<std::uint64_t> blocked;
    std::vector<std::uint64_t> ends;
    std::vector<std::uint64_t> below_ends;
    std::vector<int> first_line;
    // A search's scratch, per word of the masks: where the word fits forwards and
    // backwards, and where a place would cross once and twice.
    std::array<std::vector<std::uint64_t>, 2> fits;
    std::vector<std::uint64_t> once;
    std::vector<std::uint64_t> twice;
    std::vector<int> letters;  // per line: how many of its cells hold a letter
    std::vector<std::uint64_t> masks;
    // The letters' masks of lines of 65 to 80 cells keep cells 64 and on in two bytes a
    // line, not a word (a search loads those of each letter of the word; the filled
    // cells' mask keeps its words): second-plane word w of a letter's masks at byte
    // 8 * letters_compact_at + 2 * (w - letters_compact_at). INT_MAX: none kept so.
    int letters_compact_at = INT_MAX;
    bool LettersCompact() const { return letters_compact_at != INT_MAX; }
    // The byte of a compact letter mask holding the second plane of the line whose
    // first plane is at word 0.
    std::ptrdiff_t LetterSlotsAt() const {
      return 8 * static_cast<std::ptrdiff_t>(letters_compact_at) +
             2 * static_cast<std::ptrdiff_t>(stride - letters_compact_at);
    }
    // The byte of a letter's masks that holds a cell.
    unsigned char& LetterByte(int code, const CellPlace& place) {
      auto* bytes = reinterpret_cast<unsigned char*>(masks.data() + static_cast<std::size_t>(code) *
                                                                        static_cast<std::size_t>(total_words));
      const std::ptrdiff_t at = place.word < letters_compact_at
                                    ? 8 * static_cast<std::ptrdiff_t>(place.word)
                                    : LetterSlotsAt() + 2 * static_cast<std::ptrdiff_t>(place.word - stride);
      return bytes[at + place.bit / 8];
    }
    const std::uint64_t* Mask(int code, const Line& line) const {
      return masks.data() + static_cast<std::size_t>(code) * static_cast<std::size_t>(total_words) +
             static_cast<std::size_t>(line.offset);
    }
  };
  struct Best {
    int row = 0;
    int col = 0;
    int direction = 0;
    int crossings = 0;
    int use_sum = 0;
  };
  struct Scan;  // the search of one word in one direction, see LineScanner.cpp

  int Cell(int row, int col) const { return (row - 1) * width_ + (col - 1); }
  /// The lines of the four orientations for the grid's size, kept while the size stays.
  void LayOutLines();
  /// A word's letter in an empty cell.
  void SetLetter(int cell, std::uint8_t code);
  void AddUse(int cell);
  /// The first and last line of orientation o that can hold `length` cells.
  std::pair<int, int> LineRange(int o, int length) const;
  /// The directions from d on, turning by step, as far as Cancel lets the search go.
  bool ScanDirections(Scan& scan, int k, int step, BuildPause& pause);
  /// ScanDirections built for each Code.
  bool ScanDirectionsVbmi2(Scan& scan, int k, int step, BuildPause& pause);
  bool ScanDirectionsAvx512(Scan& scan, int k, int step, BuildPause& pause);
  bool ScanDirectionsAvx2(Scan& scan, int k, int step, BuildPause& pause);
  bool ScanDirectionsPlain(Scan& scan, int k, int step, BuildPause& pause);
  template <bool kVbmi2>
  bool ScanDirectionsWith(Scan& scan, int k, int step, BuildPause& pause);
  /// Works out the fits and marks of a part's words [first, last] (Cells: four narrow
  /// words or wide lines at a time) unless the search has them; the crossings marked for.
  template <typename Cells>
  int MarkPart(Scan& scan, Part& part, int first, int last);
  /// While nothing is known: the first line of [first, last] where the word fits looked
  /// at (`cells(mask, i)` reads line i of a mask), the lines before it yielded. Returns
  /// that line, last + 1 when there is none, -1 when Cancel was pressed.
  template <typename LineCells>
  int LookAtFirst(Scan& scan, int first, int last, const LineCells& cells, int& yielded, BuildPause& pause);
  /// Line i, marked, looked at if it still may matter, and the lines up to it yielded;
  /// false when Cancel was pressed.
  template <typename LineCells>
  bool LookAtMarked(Scan& scan, int i, const LineCells& cells, int& yielded, BuildPause& pause);
  /// The lines [first, last] of a part of narrow lines, four words of them at a time
  /// (eight with kVbmi2).
  template <bool kVbmi2>
  bool ScanNarrow(Scan& scan, Part& part, int first, int last, BuildPause& pause);
  /// The same for lines of 65 to 128 cells, four (eight) at a time.
  template <bool kVbmi2>
  bool ScanWide(Scan& scan, Part& part, int first, int last, BuildPause& pause);
  /// Lines of more than 128 cells, one at a time.
  bool ScanLong(Scan& scan, int first, int last, BuildPause& pause);
  /// Works out in fits_ and crosses_ (bit q for offset q along the orientation) where
  /// the word fits on a long line that holds letters, and where one of its letters
  /// meets the same letter. False when it fits nowhere on the line.
  bool LongFits(const Scan& scan, const Line& line);
  /// Looks at the places of a long line that need a look of their own, as Candidates
  /// does for a shorter one, from the masks LongFits left.
  void LongCandidates(Scan& scan, const Line& line);
  /// The places of one line that need a look of their own (`Cells`: a line of up to 64
  /// or up to 128 cells).
  template <typename Cells>
  void Candidates(Scan& scan, const Line& line, Cells filled, Cells fits, Cells crosses);

  static Code Fastest();
  Code code_ = Fastest();
  int width_ = 0;
  int height_ = 0;
  int laid_width_ = -1;  // the size the lines are laid out for
  int laid_height_ = -1;
  std::size_t scratch_ = 1;  // the scratch arrays' size for it
  long long searches_ = 0;
  bool clean_ = false;  // the masks hold nothing yet
  int codes_ = 0;       // letter codes 1..codes_, those of the words
  std::array<std::uint8_t, 256> code_of_byte_{};
  std::array<Orientation, 4> orientations_;
  std::vector<CellPlaces> places_;        // per cell number
  std::vector<std::uint8_t> cell_code_;   // 0 empty
  std::vector<std::uint8_t> cell_use_;    // UseCount, at most 8
  std::vector<std::uint8_t> word_codes_;  // per word: its codes, then the same reversed
  std::vector<std::size_t> word_start_;   // by word index
  std::vector<std::uint64_t> fits_;       // scratch: per word of one long line
  std::vector<std::uint64_t> crosses_;
  std::vector<int> batch_lines_;  // by word length: the lines a search yields (-1: not counted yet)
};

}  // namespace kivrel
