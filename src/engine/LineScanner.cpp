#include "engine/LineScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "files/Cp1252.h"
#include "model/Text.h"

namespace kivrel {

namespace {

constexpr int kFullCell = 8;  // WordRefs has 8 slots: a full cell takes no ninth word
// Lines the kernel works on at once; the per-line arrays are padded by as many, as the
// kernel reads and writes past a line range's end.
constexpr int kLanes = 4;

// The code page 1252 byte of the character at text[pos] (0 for one it cannot hold;
// placed words hold none such).
std::uint8_t NextByte(std::string_view text, std::size_t& pos) {
  int code = UnicodeToCp1252(DecodeUtf8(text, pos));
  return static_cast<std::uint8_t>(code < 0 ? 0 : code);
}

int LowestBit(std::uint64_t bits) { return std::countr_zero(bits); }
int HighestBit(std::uint64_t bits) { return 63 - std::countl_zero(bits); }

// The number of bits set, without the library call a baseline processor needs for it.
int CountBits(std::uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

}  // namespace

// The search of one word in one direction: what every line of it needs.
struct LineScanner::Scan {
  Scan(PuzzleState& state, Random& random) : s(state), rng(random) {}

  PuzzleState& s;
  Random& rng;
  const Orientation* orientation = nullptr;
  bool reversed = false;          // the direction runs against the orientation
  int direction = 0;
  int length = 0;
  const std::uint8_t* codes = nullptr;  // the word's letters in the orientation's order
  Best best;

  // Makes offset q (counted along the orientation) the best place.
  void Record(const Line& line, int q) {
    const int pos = reversed ? q + length - 1 : q;  // the word's first letter
    best.row = line.row + pos * orientation->row_step;
    best.col = line.col + pos * orientation->col_step;
    best.direction = direction;
  }
  void Record(const Line& line, int q, int crossings, int use_sum) {
    Record(line, q);
    best.crossings = crossings;
    best.use_sum = use_sum;
  }

  // A fitting place once a best exists: the tie-break rules. A place that ties on
  // crossings without a greater UseSum always draws a number, balancing or not.
  void Consider(const Line& line, int q, int crossings, int use_sum) {
    if (crossings == 0 || crossings < best.crossings) return;
    if (crossings > best.crossings || use_sum > best.use_sum) {
      Record(line, q, crossings, use_sum);
      return;
    }
    const float r = rng.Next();
    const bool balance = s.BalanceDirections == 1;
    if ((r > 0.5f && !balance && use_sum == best.use_sum) ||
        (balance && s.DirectionWordCount[static_cast<std::size_t>(direction)] <
                        s.DirectionWordCount[static_cast<std::size_t>(best.direction)])) {
      Record(line, q, crossings, use_sum);
    }
  }
};

void LineScanner::StartBuild(const PuzzleState& s) {
  width_ = Max(s.PuzzleWidth, 0);
  height_ = Max(s.PuzzleHeight, 0);

  // Letter codes 1..codes_ for the characters of the word table, and each word coded
  // forwards and backwards.
  code_of_byte_.fill(0);
  codes_ = 0;
  word_codes_.clear();
  word_codes_.reserve(2 * static_cast<std::size_t>(Max(s.LetterCount, 0)));
  word_start_.assign(s.Words.size(), 0);
  for (std::size_t index = 1; index < s.Words.size(); ++index) {
    const WordRecord& word = s.Words[index];
    const std::size_t start = word_codes_.size();
    word_start_[index] = start;
    std::size_t pos = 0;
    for (int k = 0; k < word.Length && pos < word.Text.size(); ++k) {
      const unsigned char lead = static_cast<unsigned char>(word.Text[pos]);
      const std::uint8_t byte = lead < 0x80 ? (++pos, lead) : NextByte(word.Text, pos);
      if (code_of_byte_[byte] == 0) {
        if (codes_ >= 254) throw std::length_error("too many different letters");
        code_of_byte_[byte] = static_cast<std::uint8_t>(++codes_);
      }
      word_codes_.push_back(code_of_byte_[byte]);
    }
    word_codes_.resize(start + 2 * static_cast<std::size_t>(word.Length), 0);
    std::reverse_copy(word_codes_.begin() + static_cast<std::ptrdiff_t>(start),
                      word_codes_.begin() + static_cast<std::ptrdiff_t>(start + word.Length),
                      word_codes_.begin() + static_cast<std::ptrdiff_t>(start + word.Length));
  }

  // The lines of the four orientations: rows left to right, columns top to bottom,
  // the down-right diagonals by ascending column - row, the up-right ones by ascending
  // row + column (each from its lower-left end). Both directions of an orientation
  // visit its lines in this order.
  const int cells = width_ * height_;
  if (width_ != laid_width_ || height_ != laid_height_) LayOutLines();
  for (Orientation& o : orientations_) {
    o.masks.assign(static_cast<std::size_t>(codes_ + 1) * static_cast<std::size_t>(o.total_words) + kLanes, 0);
    std::fill(o.letters.begin(), o.letters.end(), 0);
  }
  cell_code_.assign(static_cast<std::size_t>(cells), 0);
  cell_use_.assign(static_cast<std::size_t>(cells), 0);
  fits_.assign(scratch_ + kLanes, 0);
  crosses_.assign(scratch_ + kLanes, 0);
  crosses_twice_.assign(scratch_ + kLanes, 0);
  marks_.assign(2 * (scratch_ / 64 + 2), 0);  // two sets of marks, see ScanNarrow
  clean_ = true;
}

void LineScanner::LayOutLines() {
  const int w = width_;
  const int h = height_;
  const int cells = w * h;
  std::size_t scratch = 1;
  auto add_line = [&](Orientation& o, int row, int col, int length) {
    Line line;
    line.row = row;
    line.col = col;
    line.length = length;
    line.words = (length + 63) / 64;
    line.first = Cell(row, col);
    line.offset = o.total_words;
    o.total_words += line.words;
    o.lengths.push_back(static_cast<std::uint64_t>(length));
    o.letters.push_back(0);
    o.narrow = o.narrow && line.words == 1;
    scratch = std::max(scratch, static_cast<std::size_t>(line.words));
    const int index = static_cast<int>(o.lines.size());
    for (int p = 0; p < length; ++p) {
      const int cell = line.first + p * o.cell_step;
      o.line_of[static_cast<std::size_t>(cell)] = index;
      o.pos_of[static_cast<std::size_t>(cell)] = p;
    }
    o.lines.push_back(line);
  };
  const int steps[4][3] = {{0, 1, 1}, {1, 0, w}, {1, 1, w + 1}, {-1, 1, 1 - w}};
  for (int o = 0; o < 4; ++o) {
    Orientation& orientation = orientations_[static_cast<std::size_t>(o)];
    orientation.row_step = steps[o][0];
    orientation.col_step = steps[o][1];
    orientation.cell_step = steps[o][2];
    orientation.total_words = 0;
    orientation.narrow = true;
    orientation.lines.clear();
    orientation.lengths.clear();
    orientation.letters.clear();
    orientation.lines.reserve(static_cast<std::size_t>(w + h));
    orientation.lengths.reserve(static_cast<std::size_t>(w + h + kLanes));
    orientation.line_of.assign(static_cast<std::size_t>(cells), 0);
    orientation.pos_of.assign(static_cast<std::size_t>(cells), 0);
  }
  if (cells > 0) {
    for (int row = 1; row <= h; ++row) add_line(orientations_[0], row, 1, w);
    for (int col = 1; col <= w; ++col) add_line(orientations_[1], 1, col, h);
    for (int k = 1 - h; k <= w - 1; ++k) {
      const int row = k >= 0 ? 1 : 1 - k;
      const int col = k >= 0 ? 1 + k : 1;
      add_line(orientations_[2], row, col, Min(h - row + 1, w - col + 1));
    }
    for (int sum = 2; sum <= h + w; ++sum) {
      const int row = Min(h, sum - 1);
      const int col = sum - row;
      add_line(orientations_[3], row, col, Min(row, w - col + 1));
    }
  }
  for (Orientation& o : orientations_) {
    o.lengths.resize(o.lines.size() + kLanes, 0);  // padded like the masks
    if (o.narrow) scratch = std::max(scratch, o.lines.size());
  }
  scratch_ = scratch;
  laid_width_ = w;
  laid_height_ = h;
}

std::uint8_t LineScanner::CodeOf(const std::string& letter) const {
  std::size_t pos = 0;
  const std::uint8_t code = code_of_byte_[NextByte(letter, pos)];
  return code != 0 ? code : static_cast<std::uint8_t>(codes_ + 1);
}

void LineScanner::SetLetter(int cell, std::uint8_t code, int use) {
  cell_code_[static_cast<std::size_t>(cell)] = code;
  cell_use_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(use);
  for (Orientation& o : orientations_) {
    const std::size_t index = static_cast<std::size_t>(o.line_of[static_cast<std::size_t>(cell)]);
    const Line& line = o.lines[index];
    const int pos = o.pos_of[static_cast<std::size_t>(cell)];
    const std::size_t word = static_cast<std::size_t>(line.offset + (pos >> 6));
    const std::uint64_t bit = std::uint64_t{1} << (pos & 63);
    o.masks[word] |= bit;
    ++o.letters[index];
    if (code <= codes_ && use < kFullCell) {
      o.masks[static_cast<std::size_t>(code) * static_cast<std::size_t>(o.total_words) + word] |= bit;
    }
  }
}

void LineScanner::AddUse(int cell) {
  const std::uint8_t use = ++cell_use_[static_cast<std::size_t>(cell)];
  const std::uint8_t code = cell_code_[static_cast<std::size_t>(cell)];
  if (use != kFullCell || code > codes_) return;
  // The cell is full: from now on it matches no letter.
  for (Orientation& o : orientations_) {
    const Line& line = o.lines[static_cast<std::size_t>(o.line_of[static_cast<std::size_t>(cell)])];
    const int pos = o.pos_of[static_cast<std::size_t>(cell)];
    o.masks[static_cast<std::size_t>(code) * static_cast<std::size_t>(o.total_words) +
            static_cast<std::size_t>(line.offset + (pos >> 6))] &= ~(std::uint64_t{1} << (pos & 63));
  }
}

void LineScanner::StartAttempt(const PuzzleState& state) {
  if (!clean_) {
    for (Orientation& o : orientations_) {
      std::fill(o.masks.begin(), o.masks.end(), 0);
      std::fill(o.letters.begin(), o.letters.end(), 0);
    }
    std::fill(cell_code_.begin(), cell_code_.end(), 0);
    std::fill(cell_use_.begin(), cell_use_.end(), 0);
  }
  clean_ = false;
  const LetterGrid& grid = state.Grid;
  const int rows = Min(height_, grid.Height());
  const int cols = Min(width_, grid.Width());
  for (int row = 1; row <= rows; ++row) {
    for (int col = 1; col <= cols; ++col) {
      const CellRecord& cell = grid.At(row, col);
      if (cell.IsEmpty()) continue;
      SetLetter(Cell(row, col), CodeOf(cell.Letter), std::clamp<int>(cell.UseCount, 0, kFullCell));
    }
  }
}

void LineScanner::WordInserted(const PuzzleState& s) {
  const std::size_t index = static_cast<std::size_t>(s.CurrentWordIndex);
  const WordRecord& word = s.Words[index];
  const std::uint8_t* codes = word_codes_.data() + word_start_[index];
  const int d = word.Direction;
  int row = word.StartRow;
  int col = word.StartCol;
  for (int k = 0; k < word.Length; ++k) {
    const int cell = Cell(row, col);
    if (cell_code_[static_cast<std::size_t>(cell)] == 0) SetLetter(cell, codes[k], 0);
    AddUse(cell);
    row += s.RowStep[static_cast<std::size_t>(d)];
    col += s.ColStep[static_cast<std::size_t>(d)];
  }
}

std::pair<int, int> LineScanner::LineRange(int o, int length) const {
  const int count = static_cast<int>(orientations_[static_cast<std::size_t>(o)].lines.size());
  const std::pair<int, int> none{0, -1};
  if (length < 1) return none;
  if (o == 0) return length <= width_ ? std::pair{0, count - 1} : none;
  if (o == 1) return length <= height_ ? std::pair{0, count - 1} : none;
  // A diagonal's length grows by one from either end of the order up to the shorter
  // side, so those of at least `length` cells are the middle of it.
  if (length > Min(width_, height_)) return none;
  return {length - 1, count - length};
}

std::vector<LineSpan> LineScanner::LinesOf(int direction, int length) const {
  std::vector<LineSpan> spans;
  const int o = (direction - 1) / 2;
  const bool reversed = (direction - 1) % 2 == 1;
  const Orientation& orientation = orientations_[static_cast<std::size_t>(o)];
  auto [first, last] = LineRange(o, length);
  for (int i = first; i <= last; ++i) {
    const Line& line = orientation.lines[static_cast<std::size_t>(i)];
    const int end = reversed ? line.length - 1 : 0;
    spans.push_back({line.row + end * orientation.row_step, line.col + end * orientation.col_step, line.length});
  }
  return spans;
}

// The places of one line of a narrow orientation that need a look of their own: with
// no best yet, the first place that fits; then every place that fits and crosses, in
// the order of the direction. `filled` and `fits` are the line's masks; `crosses` the
// offsets worth a look (those crossing at least as often as the best might).
void LineScanner::Candidates(Scan& scan, const Line& line, std::uint64_t filled, std::uint64_t fits,
                             std::uint64_t crosses) {
  const int length = scan.length;
  const int step = scan.orientation->cell_step;
  const std::uint64_t window_mask = length < 64 ? (std::uint64_t{1} << length) - 1 : ~std::uint64_t{0};
  // Crossings and UseSum of the word at offset q: the filled cells of its window. A
  // place with fewer crossings than the best needs no more than its count.
  auto look = [&](int q, bool first) {
    const std::uint64_t window = (filled >> q) & window_mask;
    const int crossings = CountBits(window);
    if (!first && crossings < scan.best.crossings) return;
    int use_sum = 0;
    for (std::uint64_t bits = window; bits != 0; bits &= bits - 1) {
      use_sum += cell_use_[static_cast<std::size_t>(line.first + (q + std::countr_zero(bits)) * step)];
    }
    if (first) {
      scan.Record(line, q, crossings, use_sum);
    } else {
      scan.Consider(line, q, crossings, use_sum);
    }
  };
  std::uint64_t places = fits & crosses;
  if (scan.best.direction == 0) {
    const int q = scan.reversed ? HighestBit(fits) : LowestBit(fits);
    look(q, true);
    places &= ~(std::uint64_t{1} << q);
  }
  if (!scan.reversed) {
    for (; places != 0; places &= places - 1) look(LowestBit(places), false);
  } else {
    while (places != 0) {
      const int q = HighestBit(places);
      places &= ~(std::uint64_t{1} << q);
      look(q, false);
    }
  }
}

namespace {

// Four lines' masks at once (GCC vector extension: one AVX2 register where the
// processor has it, plain SSE2 code elsewhere). Eight lines in one AVX-512 register
// were no faster, and much slower on a processor without it.
typedef std::uint64_t Lanes __attribute__((vector_size(8 * kLanes)));

// For each line i of [first, last] of a narrow orientation: fits[i] gets the offsets
// where the word fits, crosses[i] those where one of its letters meets the same letter,
// crosses_twice[i] those where two do, and bit i - first of `marks` is set when the
// line holds a place that fits and crosses at least `crossings` times (0, 1 or 2);
// lines no mark is set for may be left out. With `crossings` 0, `crossing_marks` gets
// the marks for 1 as well. `lengths` holds each line's length. Reads and writes up to three lines past `last`
// (the arrays are padded for it); their marks are garbage.
__attribute__((target_clones("avx2", "default"))) void NarrowMasks(const std::uint64_t* masks, std::size_t total,
                                                                    const std::uint64_t* lengths,
                                                                    const std::uint8_t* codes, int length, int first,
                                                                    int last, std::uint64_t* fits,
                                                                    std::uint64_t* crosses,
                                                                    std::uint64_t* crosses_twice, int crossings,
                                                                    std::uint64_t* marks,
                                                                    std::uint64_t* crossing_marks) {
  const Lanes one = Lanes{} + 1;
  const Lanes all = ~Lanes{};
  const std::uint64_t word_length = static_cast<std::uint64_t>(length);
  const std::uint64_t* letters[64];  // each letter's masks (a narrow line holds 64 letters at most)
  for (int k = 0; k < length; ++k) letters[k] = masks + static_cast<std::size_t>(codes[k]) * total;
  static_assert(kLanes == 4);
  for (int i = first; i <= last; i += kLanes) {
    // Four empty lines hold no place that crosses (early in a build, most of them).
    if (crossings > 0 && (masks[i] | masks[i + 1] | masks[i + 2] | masks[i + 3]) == 0) continue;
    Lanes free, line_lengths, same;
    std::memcpy(&free, masks + i, sizeof free);
    std::memcpy(&line_lengths, lengths + i, sizeof line_lengths);
    free = ~free;
    // The offsets the line has: bits 0 .. length of line - length of word.
    const Lanes offsets = line_lengths + 1 - word_length;
    Lanes fit = (offsets >= 64) ? all : (one << (offsets & 63)) - 1;
    Lanes cross = {};
    Lanes twice = {};
    for (int k = 0; k < length; ++k) {
      std::memcpy(&same, letters[k] + i, sizeof same);
      const Lanes hit = same >> k;
      fit &= (free | same) >> k;
      twice |= cross & hit;
      cross |= hit;
    }
    std::memcpy(fits + i, &fit, sizeof fit);
    std::memcpy(crosses + i, &cross, sizeof cross);
    std::memcpy(crosses_twice + i, &twice, sizeof twice);
    // Bit j for lane j, gathered without taking the lanes apart one by one. kLanes
    // divides 64, so a group's marks never straddle two words.
    const Lanes lane_bits = {1, 2, 4, 8};
    const int bit = i - first;
    const Lanes places = crossings == 0 ? fit : fit & (crossings == 1 ? cross : twice);
    const Lanes marked = reinterpret_cast<Lanes>(places != 0) & lane_bits;
    marks[bit >> 6] |= (marked[0] | marked[1] | marked[2] | marked[3]) << (bit & 63);
    if (crossings == 0) {
      const Lanes crossing = reinterpret_cast<Lanes>((fit & cross) != 0) & lane_bits;
      crossing_marks[bit >> 6] |= (crossing[0] | crossing[1] | crossing[2] | crossing[3]) << (bit & 63);
    }
  }
}

}  // namespace

bool LineScanner::ScanNarrow(Scan& scan, int first, int last, BuildPause& pause) {
  const Orientation& o = *scan.orientation;
  if (first > last) return true;  // no line can hold the word (it then has 64 letters at most)
  const std::uint64_t* filled = o.masks.data();
  const int* letter_counts = o.letters.data();
  const std::uint64_t* fits = fits_.data();
  const std::uint64_t* crosses = crosses_.data();
  const std::uint64_t* crosses_twice = crosses_twice_.data();
  std::uint64_t* marks = marks_.data();
  std::uint64_t* crossing_marks = marks + marks_.size() / 2;
  const Line* lines = o.lines.data();
  const int words = (last - first) / 64 + 1;
  std::fill(marks, marks + words, 0);
  std::fill(crossing_marks, crossing_marks + words, 0);

  // The lines that may matter as things stand at the start are marked, and each is
  // looked at again when its turn comes (the best only gets better meanwhile); the
  // lines between them only yield. Those are the lines where the word fits and crosses
  // as often as the best needs (once, or twice when the best crosses twice or more):
  // a line with fewer letters than the best crosses is among them only by the chance
  // of the kernel's arithmetic, never for a look. While nothing is known, every line
  // where the word fits matters, and so does every empty line (a random place): the
  // word fits every empty line of the range, so the kernel has marked those already.
  // Once the first of them gives a best, only the lines where the word fits and
  // crosses are left to look at.
  bool no_best = scan.best.direction == 0;
  NarrowMasks(filled, static_cast<std::size_t>(o.total_words), o.lengths.data(), scan.codes, scan.length, first,
              last, fits_.data(), crosses_.data(), crosses_twice_.data(),
              no_best ? 0 : Min(Max(scan.best.crossings, 1), 2), marks, crossing_marks);
  int yielded = first;  // the lines before this one have yielded
  for (int word = 0; word < words; ++word) {
    std::uint64_t marked = marks[word];
    while (marked != 0) {
      const int bit = std::countr_zero(marked);
      marked &= marked - 1;
      const int i = first + word * 64 + bit;
      if (i > last) break;
      if (!pause.Yield(i - yielded)) return false;
      const Line& line = lines[i];
      if (filled[i] == 0) {
        // An empty line: a random offset, and only while nothing better is known.
        if (scan.best.direction == 0) {
          const int offset = scan.rng.Below(line.length - scan.length + 1);
          scan.Record(line, scan.reversed ? line.length - scan.length - offset : offset);
        }
      } else if (scan.best.direction == 0) {
        if (fits[i] != 0) Candidates(scan, line, filled[i], fits[i], crosses[i]);
      } else if (letter_counts[i] >= scan.best.crossings) {
        // Once the best crosses twice, a place that crosses once cannot matter.
        const std::uint64_t worth = scan.best.crossings >= 2 ? crosses_twice[i] : crosses[i];
        if ((fits[i] & worth) != 0) Candidates(scan, line, filled[i], fits[i], worth);
      }
      if (!pause.Yield()) return false;
      yielded = i + 1;
      if (no_best && scan.best.direction != 0) {
        no_best = false;
        marks = crossing_marks;
        marked = marks[word] & ~((std::uint64_t{2} << bit) - 1);  // the lines after this one
      }
    }
  }
  return pause.Yield(last + 1 - yielded);
}

bool LineScanner::ScanWide(Scan& scan, int first, int last, BuildPause& pause) {
  const int* letter_counts = scan.orientation->letters.data();
  for (int i = first; i <= last; ++i) {
    // A line with fewer letters than the best place crosses cannot matter.
    if (scan.best.direction == 0 || letter_counts[i] >= scan.best.crossings) {
      ScanWideLine(scan, scan.orientation->lines[static_cast<std::size_t>(i)]);
    }
    if (!pause.Yield()) return false;
  }
  return true;
}

// One line of an orientation with lines longer than 64 cells: the same tests as the
// narrow kernel, word by word along the line.
void LineScanner::ScanWideLine(Scan& scan, const Line& line) {
  const std::uint64_t* filled = scan.orientation->Mask(0, line);
  if (std::all_of(filled, filled + line.words, [](std::uint64_t word) { return word == 0; })) {
    // An empty line: a random offset, and only while nothing better is known.
    if (scan.best.direction == 0) {
      const int offset = scan.rng.Below(line.length - scan.length + 1);
      scan.Record(line, scan.reversed ? line.length - scan.length - offset : offset);
    }
    return;
  }
  if (WideFits(scan, line)) WideCandidates(scan, line);
}

bool LineScanner::WideFits(const Scan& scan, const Line& line) {
  const Orientation& o = *scan.orientation;
  const int words = line.words;
  const std::uint64_t* filled = o.Mask(0, line);
  const int offsets = line.length - scan.length + 1;
  const int offset_words = (offsets + 63) / 64;
  std::uint64_t* fits = fits_.data();
  std::uint64_t* crosses = crosses_.data();
  for (int j = 0; j < offset_words; ++j) {
    fits[j] = ~std::uint64_t{0};
    crosses[j] = 0;
  }
  if (offsets % 64 != 0) fits[offset_words - 1] = (std::uint64_t{1} << (offsets % 64)) - 1;
  // Past the line's last word every cell counts as free and holding no letter.
  auto ok_at = [&](const std::uint64_t* same, int j) { return j < words ? (~filled[j] | same[j]) : ~std::uint64_t{0}; };
  auto same_at = [&](const std::uint64_t* same, int j) { return j < words ? same[j] : std::uint64_t{0}; };
  for (int i = 0; i < scan.length; ++i) {
    const std::uint64_t* same = o.Mask(scan.codes[i], line);
    const int shift_words = i >> 6;
    const int shift = i & 63;
    std::uint64_t any = 0;
    for (int j = 0; j < offset_words; ++j) {
      const int a = j + shift_words;
      std::uint64_t ok = ok_at(same, a);
      std::uint64_t hit = same_at(same, a);
      if (shift != 0) {
        ok = (ok >> shift) | (ok_at(same, a + 1) << (64 - shift));
        hit = (hit >> shift) | (same_at(same, a + 1) << (64 - shift));
      }
      fits[j] &= ok;
      crosses[j] |= hit;
      any |= fits[j];
    }
    if (any == 0) return false;
  }
  return true;
}

void LineScanner::WideCandidates(Scan& scan, const Line& line) {
  const Orientation& o = *scan.orientation;
  const int length = scan.length;
  const int offset_words = (line.length - length + 1 + 63) / 64;
  const std::uint64_t* fits = fits_.data();
  std::uint64_t* crosses = crosses_.data();
  // Crossings and UseSum of the word at offset q, counted cell by cell.
  auto look = [&](int q, bool first) {
    int crossings = 0;
    int use_sum = 0;
    for (int i = 0; i < length; ++i) {
      const std::size_t cell = static_cast<std::size_t>(line.first + (q + i) * o.cell_step);
      if (cell_code_[cell] != 0) {
        ++crossings;
        use_sum += cell_use_[cell];
      }
    }
    if (first) {
      scan.Record(line, q, crossings, use_sum);
    } else {
      scan.Consider(line, q, crossings, use_sum);
    }
  };
  if (scan.best.direction == 0) {
    int q = -1;
    if (!scan.reversed) {
      for (int j = 0; j < offset_words && q < 0; ++j) {
        if (fits[j] != 0) q = j * 64 + LowestBit(fits[j]);
      }
    } else {
      for (int j = offset_words - 1; j >= 0 && q < 0; --j) {
        if (fits[j] != 0) q = j * 64 + HighestBit(fits[j]);
      }
    }
    look(q, true);
    crosses[q >> 6] &= ~(std::uint64_t{1} << (q & 63));
  }
  if (!scan.reversed) {
    for (int j = 0; j < offset_words; ++j) {
      for (std::uint64_t bits = fits[j] & crosses[j]; bits != 0; bits &= bits - 1) look(j * 64 + LowestBit(bits), false);
    }
  } else {
    for (int j = offset_words - 1; j >= 0; --j) {
      for (std::uint64_t bits = fits[j] & crosses[j]; bits != 0;) {
        const int bit = HighestBit(bits);
        bits &= ~(std::uint64_t{1} << bit);
        look(j * 64 + bit, false);
      }
    }
  }
}

bool LineScanner::Search(PuzzleState& s, Random& rng, BuildPause& pause) {
  const std::size_t index = static_cast<std::size_t>(s.CurrentWordIndex);
  const int length = s.Words[index].Length;
  const std::uint8_t* forward = word_codes_.data() + word_start_[index];
  const int count = s.DirectionCount;

  Scan scan(s, rng);
  scan.length = length;
  // BestUseSum is compared only after a place that crosses has set it.
  scan.best.use_sum = s.BestUseSum;
  // The directions in turn, from one drawn at random, one way round or the other.
  int k = rng.Below(count) + 1;
  const int step = rng.Next() < 0.5f ? -1 : 1;
  bool going_on = true;
  for (int visited = 0; visited < count && going_on; ++visited) {
    const int d = s.BuildDirection(k);
    s.CurrentDirection = static_cast<i16>(d);
    const int o = (d - 1) / 2;
    scan.orientation = &orientations_[static_cast<std::size_t>(o)];
    scan.reversed = (d - 1) % 2 == 1;
    scan.direction = d;
    scan.codes = scan.reversed ? forward + length : forward;
    auto [first, last] = LineRange(o, length);
    going_on = scan.orientation->narrow ? ScanNarrow(scan, first, last, pause) : ScanWide(scan, first, last, pause);
    k += step;
    if (k > count) k = 1;
    if (k < 1) k = count;
  }

  s.BestRow = static_cast<i16>(scan.best.row);
  s.BestCol = static_cast<i16>(scan.best.col);
  s.BestDirection = static_cast<i16>(scan.best.direction);
  s.BestCrossings = static_cast<i16>(scan.best.crossings);
  s.BestUseSum = static_cast<i16>(Min(scan.best.use_sum, 32767));
  if (going_on && scan.best.direction != 0) {
    s.CurrentCol = s.BestCol;
    s.CurrentRow = s.BestRow;
    s.CurrentDirection = s.BestDirection;
  }
  return going_on;
}

}  // namespace kivrel
