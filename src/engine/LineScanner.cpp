#include "engine/LineScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <utility>

#include "files/Cp1252.h"
#include "model/Text.h"

namespace kivrel {

namespace {

constexpr int kFullCell = 8;  // WordRefs has 8 slots: a full cell takes no ninth word
// The most lines the kernel works on at once (see LanesN); the per-line arrays are padded
// by as many, as the kernel reads and writes past a line range's end.
constexpr int kMostLanes = 8;

// The code page 1252 byte of the character at text[pos] (0 for one it cannot hold;
// placed words hold none such).
std::uint8_t NextByte(std::string_view text, std::size_t& pos) {
  int code = UnicodeToCp1252(DecodeUtf8(text, pos));
  return static_cast<std::uint8_t>(code < 0 ? 0 : code);
}

__extension__ typedef unsigned __int128 Cells128;  // a line of up to 128 cells

int LowestBit(std::uint64_t bits) { return std::countr_zero(bits); }
int HighestBit(std::uint64_t bits) { return 63 - std::countl_zero(bits); }
int CountBits(std::uint64_t bits) { return std::popcount(bits); }
int LowestBit(Cells128 bits) {
  const auto low = static_cast<std::uint64_t>(bits);
  return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(static_cast<std::uint64_t>(bits >> 64));
}
int HighestBit(Cells128 bits) {
  const auto high = static_cast<std::uint64_t>(bits >> 64);
  return high != 0 ? 127 - std::countl_zero(high) : HighestBit(static_cast<std::uint64_t>(bits));
}
int CountBits(Cells128 bits) {
  return std::popcount(static_cast<std::uint64_t>(bits)) + std::popcount(static_cast<std::uint64_t>(bits >> 64));
}

}  // namespace

// The search of one word in one direction: what every line of it needs.
struct LineScanner::Scan {
  Scan(PuzzleState& state, Random& random) : s(state), rng(random) {}

  PuzzleState& s;
  Random& rng;
  Orientation* orientation = nullptr;
  bool reversed = false;  // the direction runs against the orientation
  // The orientation's fits and a part's marks of this direction: [0] forwards, [1] back.
  std::size_t Side() const { return reversed ? 1 : 0; }
  int direction = 0;
  int length = 0;
  const std::uint8_t* forward = nullptr;  // the word's letters
  const std::uint8_t* codes = nullptr;    // and in the orientation's order
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
  // An empty line that can hold the word: a random place on it.
  void RecordAnywhere(const Line& line) {
    const int offset = rng.Below(line.length - length + 1);
    Record(line, reversed ? line.length - length - offset : offset);
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
    const bool take = (r > 0.5f && !balance && use_sum == best.use_sum) ||
                      (balance && s.DirectionWordCount[static_cast<std::size_t>(direction)] <
                                      s.DirectionWordCount[static_cast<std::size_t>(best.direction)]);
    // A coin toss: chosen without a branch, which would be mispredicted half the time.
    const int pos = reversed ? q + length - 1 : q;
    const int row = line.row + pos * orientation->row_step;
    const int col = line.col + pos * orientation->col_step;
    best.row = take ? row : best.row;
    best.col = take ? col : best.col;
    best.direction = take ? direction : best.direction;
    best.use_sum = take ? use_sum : best.use_sum;  // crossings tie
  }
};

void LineScanner::StartBuild(const PuzzleState& s) {
  width_ = Max(s.PuzzleWidth, 0);
  height_ = Max(s.PuzzleHeight, 0);

  // Letter codes 1..codes_ for the characters of the word table, and each word coded
  // forwards and backwards.
  code_of_byte_.fill(0);
  codes_ = 0;
  word_start_.assign(s.Words.size(), 0);
  std::size_t total = 0;
  for (std::size_t index = 1; index < s.Words.size(); ++index) {
    word_start_[index] = total;
    total += 2 * static_cast<std::size_t>(Max(s.Words[index].Length, 0));
  }
  word_codes_.assign(total, 0);  // a letter the text lacks stays 0
  for (std::size_t index = 1; index < s.Words.size(); ++index) {
    const WordRecord& word = s.Words[index];
    std::uint8_t* codes = word_codes_.data() + word_start_[index];
    std::size_t pos = 0;
    for (int k = 0; k < word.Length && pos < word.Text.size(); ++k) {
      const unsigned char lead = static_cast<unsigned char>(word.Text[pos]);
      const std::uint8_t byte = lead < 0x80 ? (++pos, lead) : NextByte(word.Text, pos);
      if (code_of_byte_[byte] == 0) {
        if (codes_ >= 254) throw std::length_error("too many different letters");
        code_of_byte_[byte] = static_cast<std::uint8_t>(++codes_);
      }
      codes[k] = code_of_byte_[byte];
    }
    std::reverse_copy(codes, codes + word.Length, codes + word.Length);
  }

  // The lines of the four orientations: rows left to right, columns top to bottom,
  // the down-right diagonals by ascending column - row, the up-right ones by ascending
  // row + column (each from its lower-left end). Both directions of an orientation
  // visit its lines in this order.
  const int cells = width_ * height_;
  if (width_ != laid_width_ || height_ != laid_height_) LayOutLines();
  for (Orientation& o : orientations_) {
    o.masks.assign(static_cast<std::size_t>(codes_ + 1) * static_cast<std::size_t>(o.total_words) + kMostLanes, 0);
    std::fill(o.letters.begin(), o.letters.end(), 0);
  }
  batch_lines_.clear();
  cell_code_.assign(static_cast<std::size_t>(cells), 0);
  cell_use_.assign(static_cast<std::size_t>(cells), 0);
  fits_.assign(scratch_ + kMostLanes, 0);
  crosses_.assign(scratch_ + kMostLanes, 0);
  clean_ = true;
}

void LineScanner::LayOutLines() {
  const int w = width_;
  const int h = height_;
  const int cells = w * h;
  std::size_t scratch = 1;
  const int steps[4][3] = {{0, 1, 1}, {1, 0, w}, {1, 1, w + 1}, {-1, 1, 1 - w}};
  places_.assign(static_cast<std::size_t>(cells), {});
  for (std::size_t index = 0; index < orientations_.size(); ++index) {
    Orientation& o = orientations_[index];
    o.row_step = steps[index][0];
    o.col_step = steps[index][1];
    o.cell_step = steps[index][2];
    o.lines.clear();
    o.parts.clear();
    o.blocked.clear();
    o.ends.clear();
    o.below_ends.clear();
    o.first_line.clear();
    auto add_line = [&](int row, int col, int length) {
      Line line;
      line.row = row;
      line.col = col;
      line.length = length;
      line.words = (length + 63) / 64;
      line.first = Cell(row, col);
      o.lines.push_back(line);
    };
    if (cells > 0 && index == 0) {
      for (int row = 1; row <= h; ++row) add_line(row, 1, w);
    } else if (cells > 0 && index == 1) {
      for (int col = 1; col <= w; ++col) add_line(1, col, h);
    } else if (cells > 0 && index == 2) {
      for (int k = 1 - h; k <= w - 1; ++k) {
        const int row = k >= 0 ? 1 : 1 - k;
        const int col = k >= 0 ? 1 + k : 1;
        add_line(row, col, Min(h - row + 1, w - col + 1));
      }
    } else if (cells > 0) {
      for (int sum = 2; sum <= h + w; ++sum) {
        const int row = Min(h, sum - 1);
        const int col = sum - row;
        add_line(row, col, Min(row, w - col + 1));
      }
    }
    // The runs of one kind.
    o.longest = 0;
    for (int i = 0; i < static_cast<int>(o.lines.size()); ++i) {
      const int length = o.lines[static_cast<std::size_t>(i)].length;
      const LineKind kind = length <= 64 ? LineKind::Narrow : length <= 128 ? LineKind::Wide : LineKind::Long;
      if (o.parts.empty() || o.parts.back().kind != kind) {
        Part part;
        part.kind = kind;
        part.first = i;
        o.parts.push_back(part);
      }
      o.parts.back().last = i;
      o.longest = Max(o.longest, length);
    }
    // The narrow lines packed into words: into the last word when it has room for the
    // line, else a word of its own. The longer ones counted for the planes.
    int planar = 0;
    for (const Part& part : o.parts) {
      int bit = 64;  // the next free bit of the last word
      for (int i = part.first; i <= part.last; ++i) {
        Line& line = o.lines[static_cast<std::size_t>(i)];
        if (part.kind != LineKind::Narrow) {
          line.offset = planar++;
          scratch = std::max(scratch, static_cast<std::size_t>(line.words));
          continue;
        }
        const int length = line.length;
        if (bit + length > 64) {
          o.blocked.push_back(~std::uint64_t{0});
          o.ends.push_back(0);
          o.below_ends.push_back(0);
          o.first_line.push_back(i);
          bit = 0;
        }
        line.offset = static_cast<int>(o.blocked.size()) - 1;
        line.shift = bit;
        line.bits = length < 64 ? (std::uint64_t{1} << length) - 1 : ~std::uint64_t{0};
        line.end = Min(bit + length, 63);
        o.blocked.back() &= ~(line.bits << bit);
        o.ends.back() |= std::uint64_t{1} << line.end;
        o.below_ends.back() |= ((std::uint64_t{1} << line.end) - 1) & ~((std::uint64_t{1} << bit) - 1);
        bit += length + 1;  // and a cell of none between two lines
      }
    }
    // The planes after the narrow words, each padded like the masks (a kernel reads and
    // writes up to seven words past a range's end).
    const int planes = (o.longest + 63) / 64;
    const int base = static_cast<int>(o.blocked.size()) + (planar > 0 ? kMostLanes : 0);
    o.stride = planar > 0 ? planar + kMostLanes : 0;
    o.total_words = base + planes * o.stride;
    // Lines of 65 to 80 cells: a letter's cells 64 and on in 16 bits a line, where the
    // search built for VBMI2 runs (it widens them in one instruction; the four-lane
    // searches need three, and were slower for it on 70 x 70).
    const bool compact = planes == 2 && o.longest <= 64 + 16 && code_ == Code::Vbmi2;
    o.letters_compact_at = compact ? base + o.stride : INT_MAX;
    o.blocked.resize(static_cast<std::size_t>(o.total_words) + kMostLanes, ~std::uint64_t{0});
    o.ends.resize(o.blocked.size(), 0);
    o.below_ends.resize(o.blocked.size(), 0);
    for (Line& line : o.lines) {
      if (line.length > 64) {
        line.offset += base;
        for (int plane = 0; plane < planes; ++plane) {
          const int in_plane = std::clamp(line.length - 64 * plane, 0, 64);
          o.blocked[static_cast<std::size_t>(plane * o.stride + line.offset)] =
              in_plane == 64 ? 0 : ~((std::uint64_t{1} << in_plane) - 1);
        }
      }
      const int at = static_cast<int>(&line - o.lines.data());
      for (int p = 0; p < line.length; ++p) {
        const int bit_on_line = line.shift + p;  // below 64 on a narrow line
        places_[static_cast<std::size_t>(line.first + p * o.cell_step)][index] = {
            line.offset + (bit_on_line >> 6) * o.stride, static_cast<std::uint16_t>(at),
            static_cast<std::uint8_t>(bit_on_line & 63)};
      }
    }
    o.letters.assign(o.lines.size(), 0);
    for (auto* pass : {&o.fits[0], &o.fits[1], &o.once, &o.twice}) pass->assign(o.blocked.size(), 0);
    for (Part& part : o.parts) {
      for (auto& marks : part.marks) marks.assign(static_cast<std::size_t>(o.total_words) / 64 + 2, 0);
    }
  }
  scratch_ = scratch;
  laid_width_ = w;
  laid_height_ = h;
}

// Inline: every letter of every word placed comes here.
[[gnu::always_inline]] inline void LineScanner::SetLetter(int cell, std::uint8_t code) {
  cell_code_[static_cast<std::size_t>(cell)] = code;
  cell_use_[static_cast<std::size_t>(cell)] = 1;  // one word through it: not full
  const CellPlaces& places = places_[static_cast<std::size_t>(cell)];
  for (std::size_t index = 0; index < orientations_.size(); ++index) {
    Orientation& o = orientations_[index];
    const CellPlace& place = places[index];
    std::uint64_t* const filled = o.masks.data() + place.word;
    *filled |= place.Bit();
    ++o.letters[place.line];
    o.LetterByte(code, place) |= place.BitInByte();
  }
}

[[gnu::always_inline]] inline void LineScanner::AddUse(int cell) {
  if (++cell_use_[static_cast<std::size_t>(cell)] != kFullCell) return;
  const std::uint8_t code = cell_code_[static_cast<std::size_t>(cell)];
  // The cell is full: from now on it matches no letter.
  const CellPlaces& places = places_[static_cast<std::size_t>(cell)];
  for (std::size_t index = 0; index < orientations_.size(); ++index) {
    Orientation& o = orientations_[index];
    const CellPlace& place = places[index];
    o.LetterByte(code, place) &= static_cast<unsigned char>(~place.BitInByte());
  }
}

void LineScanner::StartAttempt() {
  if (!clean_) {
    for (Orientation& o : orientations_) {
      std::fill(o.masks.begin(), o.masks.end(), 0);
      std::fill(o.letters.begin(), o.letters.end(), 0);
    }
    std::fill(cell_code_.begin(), cell_code_.end(), 0);
    std::fill(cell_use_.begin(), cell_use_.end(), 0);
  }
  clean_ = false;
}

void LineScanner::WordInserted(const PuzzleState& s) {
  const std::size_t index = static_cast<std::size_t>(s.CurrentWordIndex);
  const WordRecord& word = s.Words[index];
  const std::uint8_t* codes = word_codes_.data() + word_start_[index];
  const std::size_t d = static_cast<std::size_t>(word.Direction);
  const int step = s.RowStep[d] * width_ + s.ColStep[d];
  int cell = Cell(word.StartRow, word.StartCol);
  for (int k = 0; k < word.Length; ++k, cell += step) {
    if (cell_code_[static_cast<std::size_t>(cell)] == 0) {
      SetLetter(cell, codes[k]);
    } else {
      AddUse(cell);
    }
  }
}

// Inline: ScanDirections asks for it in every direction of every search.
[[gnu::always_inline]] inline std::pair<int, int> LineScanner::LineRange(int o, int length) const {
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

// The places of one line that need a look of their own: with no best yet, the first
// place that fits; then every place that fits and crosses, in the order of the
// direction. `filled` and `fits` are the line's masks; `crosses` the offsets worth a
// look (those crossing at least as often as the best might). Inline: it takes the
// processor features of the scan it is part of.
template <typename Cells>
[[gnu::always_inline]] inline void LineScanner::Candidates(Scan& scan, const Line& line, Cells filled, Cells fits,
                                                           Cells crosses) {
  const int length = scan.length;
  const int step = scan.orientation->cell_step;
  // Crossings and UseSum of the word at offset q: the filled cells of its window, in a
  // word of cells W (one of 64 bits where the word is no longer, also on a wide line). A
  // place with fewer crossings than the best needs no more than its count.
  auto look = [&]<typename W>(W window_mask, int q, bool first) __attribute__((always_inline)) {
    const W window = static_cast<W>(filled >> q) & window_mask;
    const int crossings = CountBits(window);
    if (!first && crossings < scan.best.crossings) return;
    int use_sum = 0;
    W bits = window;
    if constexpr (std::is_same_v<W, std::uint64_t>) {
      // The first three crossings without a branch each (a place's crossings vary from
      // one to the next): a cell that is not there reads the line's first and counts 0.
      for (int n = 0; n < 3; ++n) {
        const bool any = bits != 0;
        const int at = any ? line.first + (q + LowestBit(bits)) * step : line.first;
        use_sum += any ? cell_use_[static_cast<std::size_t>(at)] : 0;
        bits &= bits - 1;
      }
    }
    for (; bits != 0; bits &= bits - 1) {
      use_sum += cell_use_[static_cast<std::size_t>(line.first + (q + LowestBit(bits)) * step)];
    }
    if (first) {
      scan.Record(line, q, crossings, use_sum);
    } else {
      scan.Consider(line, q, crossings, use_sum);
    }
  };
  auto look_all = [&]<typename W>(W window_mask) __attribute__((always_inline)) {
    Cells places = fits & crosses;
    if (scan.best.direction == 0) {
      const int q = scan.reversed ? HighestBit(fits) : LowestBit(fits);
      look(window_mask, q, true);
      places &= ~(Cells{1} << q);
    }
    if (!scan.reversed) {
      for (; places != 0; places &= places - 1) look(window_mask, LowestBit(places), false);
    } else {
      while (places != 0) {
        const int q = HighestBit(places);
        places &= ~(Cells{1} << q);
        look(window_mask, q, false);
      }
    }
  };
  if constexpr (sizeof(Cells) > sizeof(std::uint64_t)) {
    if (length < 64) {
      look_all((std::uint64_t{1} << length) - 1);
      return;
    }
  }
  constexpr int kBits = 8 * sizeof(Cells);
  look_all(length < kBits ? (Cells{1} << length) - 1 : ~Cells{0});
}

namespace {

// Where a place of `length` cells would hold one letter (`one`) and two (`two`), bit q
// for the place from cell q, from the filled cells: windows of n cells doubled and
// grown one cell at a time along the bits of `length` from the highest down. Inline: it
// takes the processor features of the scan it is part of.
template <typename Cells>
[[gnu::always_inline]] inline void Crossed(const Cells& filled, int length, Cells& one, Cells& two) {
  one = filled;
  two = Cells{};
  int n = 1;
  for (int bit = std::bit_width(static_cast<unsigned>(length)) - 2; bit >= 0; --bit) {
    const Cells one_on = one >> n;
    two = two | (two >> n) | (one & one_on);
    one |= one_on;
    n *= 2;
    if ((length >> bit) & 1) {
      const Cells cell = filled >> n;
      two |= one & cell;
      one |= cell;
      ++n;
    }
  }
}

// kN words of masks at once (GCC vector extension). Four in the search built for most
// processors: one AVX2 register where the processor has it, plain SSE2 code elsewhere
// (eight were much slower without AVX-512). Eight, one AVX-512 register, in the search
// built for AVX-512 with VBMI2 (see WideOf).
template <int kN>
struct LanesOfWidth {
  typedef std::uint64_t type __attribute__((vector_size(8 * kN)));
};
template <int kN>
using LanesN = typename LanesOfWidth<kN>::type;
template <typename L>
constexpr bool kIsLanes = std::is_same_v<L, LanesN<4>> || std::is_same_v<L, LanesN<8>>;
template <typename L>
constexpr int kWidth = static_cast<int>(sizeof(L) / sizeof(std::uint64_t));
static_assert(kWidth<LanesN<kMostLanes>> == kMostLanes);

// Sets lane j's bit of `lane_bits` in lane j of `marks` when lane j of a group of words
// of masks holds one of `places` (a place is always at a cell of a line; which of the
// word's lines hold one, the scan works out when it comes to the word). For words i to
// i + kWidth - 1 of a block of 64, the bits are i - block + j: kFirstLaneBits, shifted
// on by kWidth a step. The lanes of a block are folded into one word of marks at its
// end (Folded): kWidth divides 64, so a group never straddles two words of marks.
template <typename L>
constexpr L kFirstLaneBits{};
template <>
[[maybe_unused]] constexpr LanesN<4> kFirstLaneBits<LanesN<4>> = {1, 2, 4, 8};
template <>
[[maybe_unused]] constexpr LanesN<8> kFirstLaneBits<LanesN<8>> = {1, 2, 4, 8, 16, 32, 64, 128};
template <typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline void Mark(const L& places, const L& lane_bits, L& marks) {
  marks |= lane_bits & ~reinterpret_cast<L>(places == 0);
}
template <typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline std::uint64_t Folded(const L& marks) {
  L folded = marks;
  if constexpr (kWidth<L> == 8) {
    folded |= __builtin_shufflevector(folded, folded, 4, 5, 6, 7, 0, 1, 2, 3);
    folded |= __builtin_shufflevector(folded, folded, 2, 3, 0, 1, 6, 7, 4, 5);
    folded |= __builtin_shufflevector(folded, folded, 1, 0, 3, 2, 5, 4, 7, 6);
  } else {
    folded |= __builtin_shufflevector(folded, folded, 2, 3, 0, 1);
    folded |= __builtin_shufflevector(folded, folded, 1, 0, 3, 2);
  }
  return folded[0];
}

// Wide lines side by side (four, or eight with kVbmi2): cells 0 to 63 of each in `low`,
// cells 64 to 127 in `high`, shifted as one value of 128 bits each. kVbmi2: built only
// into the search for processors with AVX-512 and VBMI2, which takes the low word of a
// shifted pair of words in one instruction, tests a register of words for none in
// another, and works on eight lines at once, narrow ones too (NarrowOf).
template <bool kVbmi2>
using NarrowOf = LanesN<kVbmi2 ? 8 : 4>;
template <bool kVbmi2>
struct WideOf {
  using Lanes = NarrowOf<kVbmi2>;
  Lanes low, high;
};
// The lanes of a kind of cells.
template <typename Cells>
struct LanesOfCells {
  using type = Cells;
};
template <bool kVbmi2>
struct LanesOfCells<WideOf<kVbmi2>> {
  using type = NarrowOf<kVbmi2>;
};
template <typename Cells>
using LanesOf = typename LanesOfCells<Cells>::type;
// The instructions GCC does not find for itself in the search built for VBMI2 are
// written out for it. Clang checks an asm's registers against the function it is written
// in, not the one it is inlined into, so it gets the plain code, in which it finds the
// same instructions when it builds for VBMI2.
#if defined(__clang__)
#define KIVREL_VBMI2_ASM 0
#else
#define KIVREL_VBMI2_ASM 1
#endif
// Whether this processor runs the search built for x86-64 level 3 (AVX2, BMI2, FMA) or
// 4 (AVX-512), and the one built for AVX-512 with VBMI2. Clang 14 knows the levels only
// as their features (of level 3 the ones it can name).
bool RunsLevel(int level) {
#if defined(__clang__)
  const bool v3 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                  __builtin_cpu_supports("fma");
  return level == 3 ? v3
                    : v3 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
                          __builtin_cpu_supports("avx512cd");
#else
  return level == 3 ? __builtin_cpu_supports("x86-64-v3") : __builtin_cpu_supports("x86-64-v4");
#endif
}
bool RunsVbmi2() {
  static const bool vbmi2 = RunsLevel(4) && __builtin_cpu_supports("avx512vbmi2");
  return vbmi2;
}
template <typename Cells>
constexpr bool kIsWide = false;
template <bool kVbmi2>
constexpr bool kIsWide<WideOf<kVbmi2>> = true;

template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2> operator|(const WideOf<kVbmi2>& a, const WideOf<kVbmi2>& b) {
  return {a.low | b.low, a.high | b.high};
}
template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2> operator&(const WideOf<kVbmi2>& a, const WideOf<kVbmi2>& b) {
  return {a.low & b.low, a.high & b.high};
}
template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2> operator~(const WideOf<kVbmi2>& a) {
  return {~a.low, ~a.high};
}
template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2>& operator|=(WideOf<kVbmi2>& a, const WideOf<kVbmi2>& b) {
  return a = a | b;
}
template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2>& operator&=(WideOf<kVbmi2>& a, const WideOf<kVbmi2>& b) {
  return a = a & b;
}
template <bool kVbmi2>
[[gnu::always_inline]] inline WideOf<kVbmi2> operator>>(const WideOf<kVbmi2>& a, int n) {
  if (n == 0) return a;
  using Lanes = NarrowOf<kVbmi2>;
  if (n >= 64) return {a.high >> (n - 64), Lanes{}};
#if KIVREL_VBMI2_ASM
  if constexpr (kVbmi2) {
    // VPSHRDVQ: the low word of high:low shifted right. GCC does not make it of the
    // two shifts below, and its intrinsic will not inline outside a function built for
    // the instruction, which this one only ever is inlined into.
    Lanes low = a.low;
    const Lanes count = Lanes{} + static_cast<std::uint64_t>(n);
    asm("vpshrdvq %2, %1, %0" : "+v"(low) : "v"(a.high), "vm"(count));
    return {low, a.high >> n};
  }
#endif
  return {(a.low >> n) | (a.high << (64 - n)), a.high >> n};
}

// A line of the group holds a place when either plane does.
template <bool kVbmi2>
[[gnu::always_inline]] inline void Mark(const WideOf<kVbmi2>& places, const NarrowOf<kVbmi2>& lane_bits,
                                        NarrowOf<kVbmi2>& marks) {
  Mark(places.low | places.high, lane_bits, marks);
}

// A group of words of masks from word i of `plane`, and of the plane after it in a wide
// orientation (`stride` words on); and back.
template <typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline void Load(L& cells, const std::uint64_t* plane, std::size_t, int i) {
  std::memcpy(&cells, plane + i, sizeof cells);
}
template <bool kVbmi2>
[[gnu::always_inline]] inline void Load(WideOf<kVbmi2>& cells, const std::uint64_t* plane, std::size_t stride, int i) {
  std::memcpy(&cells.low, plane + i, sizeof cells.low);
  std::memcpy(&cells.high, plane + stride + i, sizeof cells.high);
}
template <typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline void Store(std::uint64_t* plane, std::size_t, int i, const L& cells) {
  std::memcpy(plane + i, &cells, sizeof cells);
}
template <bool kVbmi2>
[[gnu::always_inline]] inline void Store(std::uint64_t* plane, std::size_t stride, int i, const WideOf<kVbmi2>& cells) {
  std::memcpy(plane + i, &cells.low, sizeof cells.low);
  std::memcpy(plane + stride + i, &cells.high, sizeof cells.high);
}
// The same for a letter's masks, whose lines of 65 to 80 cells (kCompact, only in the
// search built for VBMI2) keep their second plane in two bytes a line from byte
// `slots_at` + 2 i (see Orientation).
template <bool kCompact, typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline void LoadLetter(L& cells, const std::uint64_t* mask, std::size_t stride, std::ptrdiff_t,
                                              int i) {
  Load(cells, mask, stride, i);
}
template <bool kCompact, bool kVbmi2>
[[gnu::always_inline]] inline void LoadLetter(WideOf<kVbmi2>& cells, const std::uint64_t* mask, std::size_t stride,
                                              [[maybe_unused]] std::ptrdiff_t slots_at, int i) {
  if constexpr (!kCompact) {
    Load(cells, mask, stride, i);
  } else {
    static_assert(kVbmi2, "two-byte slots only in the search built for AVX-512 with VBMI2");
    typedef std::uint16_t Slots __attribute__((vector_size(2 * kWidth<NarrowOf<kVbmi2>>)));
    Slots slots;
    std::memcpy(&cells.low, mask + i, sizeof cells.low);
    std::memcpy(&slots, reinterpret_cast<const unsigned char*>(mask) + slots_at + 2 * std::ptrdiff_t{i}, sizeof slots);
#if KIVREL_VBMI2_ASM
    // VPMOVZXWQ: GCC widens in two steps.
    asm("vpmovzxwq %1, %0" : "=v"(cells.high) : "vm"(slots));
#else
    cells.high = __builtin_convertvector(slots, NarrowOf<kVbmi2>);
#endif
  }
}
// Whether a group of words (lines) of masks holds no cell.
template <typename L>
  requires kIsLanes<L>
[[gnu::always_inline]] inline bool Empty(const L& cells) {
  if constexpr (kWidth<L> == 8) {
    // Eight lanes are only in the search built for AVX-512 (see WideOf): VPTESTMQ tests
    // them in one instruction, where GCC takes each word out to OR them.
#if KIVREL_VBMI2_ASM
    unsigned char any;
    asm("vptestmq %1, %1, %0" : "=k"(any) : "v"(cells));
    return any == 0;
#else
    return (cells[0] | cells[1] | cells[2] | cells[3] | cells[4] | cells[5] | cells[6] | cells[7]) == 0;
#endif
  } else {
    return (cells[0] | cells[1] | cells[2] | cells[3]) == 0;
  }
}
template <bool kVbmi2>
[[gnu::always_inline]] inline bool Empty(const WideOf<kVbmi2>& cells) {
  return Empty(cells.low | cells.high);
}

// The places worth a look for a best that crosses `crossings` times (1 or 2): those
// that fit, and cross as often.
template <typename Cells>
[[gnu::always_inline]] inline void Worth(Cells& places, const Cells& one, const Cells& two, int crossings) {
  if (crossings == 1) places &= one;
  if (crossings >= 2) places &= two;
}

// For each word w of [first, last] of an orientation's narrow lines (`total` words per
// letter code; Cells = LanesN): fits[0][w] gets the offsets where the word fits,
// fits[1][w] those where it fits read backwards, once[w] the offsets whose `length`
// cells hold a letter, and twice[w] those whose cells hold two. Where the word fits,
// every letter in its cells is one of its own, so these are where a place crosses once
// or twice, in either direction. marks[0] and marks[1] get the words of each direction
// that hold a place worth a look for a best that crosses `crossings` times (1 or 2, see
// Worth). Words with no letter in any of their lines (a group at a time) are left as
// they were: no place there crosses, and the word fits each of those lines anywhere.
// Reads and writes up to seven words past `last` (the arrays are padded for it); their marks
// are garbage. The same for each word w of the first plane of wide lines (Cells =
// WideOf), whose masks and results have their second plane `stride` words on (a
// letter's, kCompact, as LoadLetter reads it).
// kLength is the word's length when it is known here (the loops over its letters and
// the doubling then unroll, with every shift a constant), 0 when it is not. Without
// kHigh no place starts at cell 64 or later (no line is long enough for the word to
// start there): the fits of the second plane are none and go uncomputed.
template <typename Cells, int kLength, bool kHigh, bool kCompact>
[[gnu::always_inline]] inline void FitsOf(const std::uint64_t* masks, std::size_t total, std::size_t stride,
                                          std::ptrdiff_t slots_at, const std::uint64_t* blocked,
                                          const std::uint8_t* codes, int word_length, int first, int last,
                                          int crossings, std::uint64_t* const fits[2], std::uint64_t* once,
                                          std::uint64_t* twice, std::uint64_t* const marks[2]) {
  const int length = kLength > 0 ? kLength : word_length;
  const std::uint64_t* letters[128];  // each letter's masks (a line of two planes holds 128 letters at most)
  for (int k = 0; k < length; ++k) letters[k] = masks + static_cast<std::size_t>(codes[k]) * total;
  // The word marks are gathered in registers (see Mark) and stored a word at a time,
  // after the 64 words of masks they mark.
  using L = LanesOf<Cells>;
  for (int block = first; block <= last; block += 64) {
    L words[2] = {};
    L lane_bits = kFirstLaneBits<L>;
    for (int i = block; i <= Min(block + 63, last); i += kWidth<L>, lane_bits <<= kWidth<L>) {
      Cells filled, outside, same;
      Load(filled, masks, stride, i);
      // Empty words hold no place that crosses (early in a build, most of them).
      if (Empty(filled)) continue;
      Load(outside, blocked, stride, i);
      // A cell of no line is neither free nor any letter, so a place that reaches one
      // (past a line's end, or past the word's) fits nowhere.
      const Cells free = ~(filled | outside);
      Cells forward = ~Cells{};
      Cells backward = ~Cells{};
      for (int k = 0; k < length; ++k) {
        LoadLetter<kCompact>(same, letters[k], stride, slots_at, i);
        const Cells ok = free | same;
        forward &= ok >> k;
        backward &= ok >> (length - 1 - k);
      }
      if constexpr (!kHigh) {
        forward.high = backward.high = L{};
      }
      Cells one, two;
      Crossed(filled, length, one, two);
      Store(fits[0], stride, i, forward);
      Store(fits[1], stride, i, backward);
      if constexpr (kIsWide<Cells> && !kHigh) {
        // Where the fits of the second plane are none, nothing reads its crossings.
        Store(once, stride, i, one.low);
        Store(twice, stride, i, two.low);
      } else {
        Store(once, stride, i, one);
        Store(twice, stride, i, two);
      }
      Cells forward_worth = forward;
      Cells backward_worth = backward;
      Worth(forward_worth, one, two, crossings);
      Worth(backward_worth, one, two, crossings);
      Mark(forward_worth, lane_bits, words[0]);
      Mark(backward_worth, lane_bits, words[1]);
    }
    marks[0][(block - first) / 64] = Folded(words[0]);
    marks[1][(block - first) / 64] = Folded(words[1]);
  }
}

template <typename Cells>
[[gnu::always_inline]] inline void Fits(const std::uint64_t* masks, std::size_t total, std::size_t stride, bool compact,
                                        std::ptrdiff_t slots_at, const std::uint64_t* blocked,
                                        const std::uint8_t* codes, int length, bool high, int first, int last,
                                        int crossings, std::uint64_t* const fits[2], std::uint64_t* once,
                                        std::uint64_t* twice, std::uint64_t* const marks[2]) {
  auto fits_with = [&]<int kLength, bool kHigh>() __attribute__((always_inline)) {
    if constexpr (std::is_same_v<Cells, WideOf<true>>) {
      if (compact) {
        FitsOf<Cells, kLength, kHigh, true>(masks, total, stride, slots_at, blocked, codes, length, first, last,
                                            crossings, fits, once, twice, marks);
        return;
      }
    }
    FitsOf<Cells, kLength, kHigh, false>(masks, total, stride, slots_at, blocked, codes, length, first, last, crossings,
                                         fits, once, twice, marks);
  };
  auto fits_of = [&]<int kLength>() __attribute__((always_inline)) {
    if constexpr (kIsWide<Cells>) {
      if (!high) {
        fits_with.template operator()<kLength, false>();
        return;
      }
    }
    fits_with.template operator()<kLength, true>();
  };
  // The lengths most words have get a pass of their own.
  auto known = [&]<int... kLengths>(std::integer_sequence<int, kLengths...>) __attribute__((always_inline)) {
    return ((length == kLengths && (fits_of.template operator()<kLengths>(), true)) || ...);
  };
  if (!known(std::integer_sequence<int, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12>{})) fits_of.template operator()<0>();
}

// The marks of one direction again, from the masks Fits made, for a best that now
// crosses `crossings` times (1 or 2).
template <typename Cells>
[[gnu::always_inline]] inline void Marks(const std::uint64_t* filled, std::size_t stride, const std::uint64_t* fits,
                                         const std::uint64_t* once, const std::uint64_t* twice, int first, int last,
                                         int crossings, std::uint64_t* marks) {
  using L = LanesOf<Cells>;
  for (int block = first; block <= last; block += 64) {
    L words = {};
    L lane_bits = kFirstLaneBits<L>;
    for (int i = block; i <= Min(block + 63, last); i += kWidth<L>, lane_bits <<= kWidth<L>) {
      Cells cells, places, one, two;
      Load(cells, filled, stride, i);
      if (Empty(cells)) continue;
      Load(places, fits, stride, i);
      Load(one, once, stride, i);
      Load(two, twice, stride, i);
      Worth(places, one, two, crossings);
      Mark(places, lane_bits, words);
    }
    marks[(block - first) / 64] = Folded(words);
  }
}

}  // namespace

// The grid stays as it is during a search: both directions of an orientation take their
// places from one pass over a part's words [first, last] (of the first plane, for wide
// lines), made for the first of them; it writes every mark word of the range. When the
// best got better before the second, fewer lines are worth a look: that direction is
// marked again. Returns the crossings (1 or 2) the direction's marks are for. Inline: it
// takes the processor features of ScanDirections.
template <typename Cells>
[[gnu::always_inline]] inline int LineScanner::MarkPart(Scan& scan, Part& part, int first, int last) {
  Orientation& o = *scan.orientation;
  const std::uint64_t* filled = o.masks.data();
  const auto stride = static_cast<std::size_t>(o.stride);
  std::uint64_t* const sets[2] = {part.marks[0].data(), part.marks[1].data()};
  const int crossings = Min(Max(scan.best.crossings, 1), 2);
  if (part.searched != searches_) {
    std::uint64_t* const fits[2] = {o.fits[0].data(), o.fits[1].data()};
    Fits<Cells>(filled, static_cast<std::size_t>(o.total_words), stride, o.LettersCompact(), o.LetterSlotsAt(),
                o.blocked.data(), scan.forward, scan.length, o.longest - scan.length >= 64, first, last, crossings,
                fits, o.once.data(), o.twice.data(), sets);
    part.searched = searches_;
    part.marked_for = crossings;
  } else if (crossings != part.marked_for) {
    Marks<Cells>(filled, stride, o.fits[scan.Side()].data(), o.once.data(), o.twice.data(), first, last, crossings,
                 sets[scan.Side()]);
  }
  return crossings;
}

// Inline: it takes the processor features of ScanDirections.
template <typename LineCells>
[[gnu::always_inline]] inline int LineScanner::LookAtFirst(Scan& scan, int first, int last, const LineCells& cells,
                                                           int& yielded, BuildPause& pause) {
  const Orientation& o = *scan.orientation;
  const int* letter_counts = o.letters.data();
  const std::uint64_t* fits = o.fits[scan.Side()].data();
  int i = first;
  while (i <= last && letter_counts[i] != 0 && cells(fits, i) == 0) ++i;
  if (i > last) return pause.Yield(last + 1 - yielded) ? i : -1;
  if (!pause.Yield(i - yielded)) return -1;
  const Line& line = o.lines[static_cast<std::size_t>(i)];
  if (letter_counts[i] == 0) {
    // An empty line: a random offset.
    scan.RecordAnywhere(line);
  } else {
    Candidates(scan, line, cells(o.masks.data(), i), cells(fits, i), cells(o.once.data(), i));
  }
  if (!pause.Yield()) return -1;
  yielded = i + 1;
  return i;
}

// Inline: it takes the processor features of ScanDirections.
template <typename LineCells>
[[gnu::always_inline]] inline bool LineScanner::LookAtMarked(Scan& scan, int i, const LineCells& cells, int& yielded,
                                                             BuildPause& pause) {
  const Orientation& o = *scan.orientation;
  if (!pause.Yield(i - yielded)) return false;
  if (o.letters[static_cast<std::size_t>(i)] >= scan.best.crossings) {
    // Once the best crosses twice, a place that crosses once cannot matter.
    const auto fit = cells(o.fits[scan.Side()].data(), i);
    const auto worth = cells(scan.best.crossings >= 2 ? o.twice.data() : o.once.data(), i);
    if ((fit & worth) != 0)
      Candidates(scan, o.lines[static_cast<std::size_t>(i)], cells(o.masks.data(), i), fit, worth);
  }
  if (!pause.Yield()) return false;
  yielded = i + 1;
  return true;
}

// Inline: it takes the processor features of ScanDirections.
template <bool kVbmi2>
[[gnu::always_inline]] inline bool LineScanner::ScanNarrow(Scan& scan, Part& part, int first, int last,
                                                           BuildPause& pause) {
  Orientation& o = *scan.orientation;
  if (first > last) return true;  // no line can hold the word (it then has 64 letters at most)
  const Line* lines = o.lines.data();
  const int first_word = lines[first].offset;
  const int last_word = lines[last].offset;
  const int mark_words = (last_word - first_word) / 64 + 1;

  // The lines that may matter as things stand at the start are marked, and each is
  // looked at again when its turn comes (the best only gets better meanwhile); the
  // lines between them only yield. Those are the lines where the word fits and crosses
  // as often as the best needs (once, or twice when the best crosses twice or more): a
  // line with fewer letters than the best crosses never needs a look. While nothing is
  // known, the first line where the word fits gives the best (an empty line of the
  // range always holds it: a random place), found line by line; from there on the
  // marks for a best that crosses once serve. Lines outside the range are shorter than
  // the word: nothing fits there, and no mark is set for them.
  const int crossings = MarkPart<NarrowOf<kVbmi2>>(scan, part, first_word, last_word);
  const std::uint64_t* fits = o.fits[scan.Side()].data();
  const std::uint64_t* marks = part.marks[scan.Side()].data();
  // Line i of a mask.
  auto cells = [lines](const std::uint64_t* plane, int i) __attribute__((always_inline)) {
    return lines[i].Of(plane[lines[i].offset]);
  };
  // The places this direction's marks were made for: the marked lines of a marked word
  // are those holding one.
  const std::uint64_t* marked_worth = crossings >= 2 ? o.twice.data() : o.once.data();
  const std::uint64_t* ends = o.ends.data();
  const std::uint64_t* below_ends = o.below_ends.data();
  int yielded = first;  // the lines before this one have yielded
  int from_word = first_word;
  std::uint64_t looked_at = 0;  // the mark bits of from_word's lines looked at already
  if (scan.best.direction == 0) {
    const int i = LookAtFirst(scan, first, last, cells, yielded, pause);
    if (i < 0 || i > last) return i > last;
    from_word = lines[i].offset;
    looked_at = (std::uint64_t{2} << lines[i].end) - 1;
  }
  const int from = from_word - first_word;
  for (int m = from / 64; m < mark_words; ++m) {
    std::uint64_t marked = marks[m];
    if (m == from / 64) marked &= ~((std::uint64_t{1} << (from & 63)) - 1);
    while (marked != 0) {
      const int bit = std::countr_zero(marked);
      marked &= marked - 1;
      const int word = first_word + m * 64 + bit;
      if (word > last_word) break;
      // The mark bits of the word's lines that hold one of the places: adding a line's
      // bits below its mark bit carries into the mark bit exactly when one of them is
      // set (a line that ends at bit 63 keeps its last cell as its mark bit, so that is
      // or-ed in).
      const std::uint64_t places = fits[word] & marked_worth[word];
      std::uint64_t marked_lines = (((places & below_ends[word]) + below_ends[word]) | places) & ends[word];
      if (word == from_word) marked_lines &= ~looked_at;
      while (marked_lines != 0) {
        const int end = std::countr_zero(marked_lines);
        marked_lines &= marked_lines - 1;
        // The line of that mark bit: the word's first line, and one more for each mark
        // bit below it.
        const int i =
            o.first_line[static_cast<std::size_t>(word)] + std::popcount(ends[word] & ((std::uint64_t{1} << end) - 1));
        if (!LookAtMarked(scan, i, cells, yielded, pause)) return false;
      }
    }
  }
  return pause.Yield(last + 1 - yielded);
}

// As ScanNarrow, with a line where it has a word of lines: the marks are the lines'
// own. Inline: it takes the processor features of ScanDirections.
template <bool kVbmi2>
[[gnu::always_inline]] inline bool LineScanner::ScanWide(Scan& scan, Part& part, int first, int last,
                                                         BuildPause& pause) {
  Orientation& o = *scan.orientation;
  if (first > last) return true;
  const auto stride = static_cast<std::size_t>(o.stride);
  const int to_word = o.lines[static_cast<std::size_t>(first)].offset - first;  // a line's word in the first plane
  MarkPart<WideOf<kVbmi2>>(scan, part, first + to_word, last + to_word);
  // Line i of a mask with its two planes.
  auto cells = [ stride, to_word ](const std::uint64_t* plane, int i) __attribute__((always_inline)) {
    const auto word = static_cast<std::size_t>(i + to_word);
    return static_cast<Cells128>(plane[word]) | static_cast<Cells128>(plane[stride + word]) << 64;
  };
  int yielded = first;  // the lines before this one have yielded
  if (scan.best.direction == 0) {
    const int i = LookAtFirst(scan, first, last, cells, yielded, pause);
    if (i < 0 || i > last) return i > last;
  }
  const std::uint64_t* marks = part.marks[scan.Side()].data();
  for (int m = (yielded - first) / 64; m <= (last - first) / 64; ++m) {
    std::uint64_t marked = marks[m];
    if (m == (yielded - first) / 64) marked &= ~((std::uint64_t{1} << ((yielded - first) & 63)) - 1);
    for (; marked != 0; marked &= marked - 1) {
      const int i = first + m * 64 + std::countr_zero(marked);
      if (i > last) break;
      if (!LookAtMarked(scan, i, cells, yielded, pause)) return false;
    }
  }
  return pause.Yield(last + 1 - yielded);
}

// Lines of more than 128 cells (a grid only a word that long asks for): each line on
// its own, the masks a word at a time along it.
bool LineScanner::ScanLong(Scan& scan, int first, int last, BuildPause& pause) {
  const Orientation& o = *scan.orientation;
  for (int i = first; i <= last; ++i) {
    const Line& line = o.lines[static_cast<std::size_t>(i)];
    if (o.letters[static_cast<std::size_t>(i)] == 0) {
      // An empty line: a random offset, and only while nothing better is known.
      if (scan.best.direction == 0) {
        scan.RecordAnywhere(line);
      }
    } else if (o.letters[static_cast<std::size_t>(i)] >= scan.best.crossings && LongFits(scan, line)) {
      // A line with fewer letters than the best place crosses cannot matter.
      LongCandidates(scan, line);
    }
    if (!pause.Yield()) return false;
  }
  return true;
}

bool LineScanner::LongFits(const Scan& scan, const Line& line) {
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
  // Word j of the line is in plane j; past the line's last word every cell counts as
  // free and holding no letter.
  const auto stride = static_cast<std::size_t>(o.stride);
  auto ok_at = [&](const std::uint64_t* same, int j) {
    return j < words ? (~filled[j * stride] | same[j * stride]) : ~std::uint64_t{0};
  };
  auto same_at = [&](const std::uint64_t* same, int j) { return j < words ? same[j * stride] : std::uint64_t{0}; };
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

void LineScanner::LongCandidates(Scan& scan, const Line& line) {
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
      for (std::uint64_t bits = fits[j] & crosses[j]; bits != 0; bits &= bits - 1)
        look(j * 64 + LowestBit(bits), false);
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

template <bool kVbmi2>
[[gnu::always_inline]] inline bool LineScanner::ScanDirectionsWith(Scan& scan, int k, int step, BuildPause& pause) {
  PuzzleState& s = scan.s;
  const int count = s.DirectionCount;
  const std::uint8_t* forward = scan.forward;
  const int length = scan.length;
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
    for (Part& part : scan.orientation->parts) {
      const int from = Max(first, part.first);
      const int to = Min(last, part.last);
      if (from > to) continue;
      going_on = part.kind == LineKind::Narrow ? ScanNarrow<kVbmi2>(scan, part, from, to, pause)
                 : part.kind == LineKind::Wide ? ScanWide<kVbmi2>(scan, part, from, to, pause)
                                               : ScanLong(scan, from, to, pause);
      if (!going_on) break;
    }
    k += step;
    if (k > count) k = 1;
    if (k < 1) k = count;
  }
  return going_on;
}

// Built for the processor it runs on: AVX2 takes four words of masks at a time, and
// counting bits or finding the lowest one is one instruction. Where AVX-512 is there too,
// its twice as many registers and its instructions that combine two logic operations
// make the same kernel a few per cent faster on large grids, and with VBMI2 a wide
// line's shift is one instruction instead of three.
__attribute__((target("arch=x86-64-v4"))) bool LineScanner::ScanDirectionsAvx512(Scan& scan, int k, int step,
                                                                                 BuildPause& pause) {
  return ScanDirectionsWith<false>(scan, k, step, pause);
}
__attribute__((target("arch=x86-64-v3"))) bool LineScanner::ScanDirectionsAvx2(Scan& scan, int k, int step,
                                                                               BuildPause& pause) {
  return ScanDirectionsWith<false>(scan, k, step, pause);
}
bool LineScanner::ScanDirectionsPlain(Scan& scan, int k, int step, BuildPause& pause) {
  return ScanDirectionsWith<false>(scan, k, step, pause);
}
// Clang would otherwise split each register of eight words in two.
#if defined(__clang__)
#define KIVREL_WHOLE_REGISTERS __attribute__((min_vector_width(512)))
#else
#define KIVREL_WHOLE_REGISTERS
#endif
__attribute__((target("arch=x86-64-v4,avx512vbmi2"))) KIVREL_WHOLE_REGISTERS bool LineScanner::ScanDirectionsVbmi2(
    Scan& scan, int k, int step, BuildPause& pause) {
  return ScanDirectionsWith<true>(scan, k, step, pause);
}
bool LineScanner::ScanDirections(Scan& scan, int k, int step, BuildPause& pause) {
  switch (code_) {
    case Code::Vbmi2:
      return ScanDirectionsVbmi2(scan, k, step, pause);
    case Code::Avx512:
      return ScanDirectionsAvx512(scan, k, step, pause);
    case Code::Avx2:
      return ScanDirectionsAvx2(scan, k, step, pause);
    case Code::Plain:
      break;
  }
  return ScanDirectionsPlain(scan, k, step, pause);
}

std::vector<LineScanner::Code> LineScanner::Runnable() {
  std::vector<Code> codes;
  if (RunsVbmi2()) codes.push_back(Code::Vbmi2);
  if (RunsLevel(4)) codes.push_back(Code::Avx512);
  if (RunsLevel(3)) codes.push_back(Code::Avx2);
  codes.push_back(Code::Plain);
  return codes;
}

LineScanner::Code LineScanner::Fastest() {
  static const Code fastest = Runnable().front();
  return fastest;
}

void LineScanner::SearchWith(Code code) {
  code_ = code;
  laid_width_ = laid_height_ = -1;  // the lines' layout depends on it (compact masks)
}

bool LineScanner::Search(PuzzleState& s, Random& rng, BuildPause& pause) {
  const std::size_t index = static_cast<std::size_t>(s.CurrentWordIndex);
  const int length = s.Words[index].Length;
  const std::uint8_t* forward = word_codes_.data() + word_start_[index];
  const int count = s.DirectionCount;

  Scan scan(s, rng);
  scan.length = length;
  scan.forward = forward;
  ++searches_;
  // BestUseSum is compared only after a place that crosses has set it.
  scan.best.use_sum = s.BestUseSum;
  // The directions in turn, from one drawn at random, one way round or the other.
  const int k = rng.Below(count) + 1;
  const int step = rng.Next() < 0.5f ? -1 : 1;
  bool going_on;
  if (pause.Batched()) {
    // A progress that takes the steps in batches gets the search's lines after they were
    // looked at, all together: they are looked at through a pause that lets nothing run,
    // so the search's inner loops never call the progress. Every line of every direction
    // yields once.
    BuildPause quiet = pause.Quiet();
    going_on = ScanDirections(scan, k, step, quiet);
    if (static_cast<std::size_t>(length) >= batch_lines_.size()) batch_lines_.resize(length + 1, -1);
    int& lines = batch_lines_[static_cast<std::size_t>(length)];
    if (lines < 0) {
      lines = 0;
      for (int d = 1; d <= count; ++d) {
        const auto [first, last] = LineRange((s.BuildDirection(d) - 1) / 2, length);
        lines += Max(last + 1 - first, 0);
      }
    }
    if (going_on) going_on = pause.Yield(lines);
  } else {
    going_on = ScanDirections(scan, k, step, pause);
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
