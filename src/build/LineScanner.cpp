#include "build/LineScanner.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string_view>

#include "files/Cp1252.h"
#include "model/Text.h"

namespace kivrel {

namespace {

constexpr int kFullCell = 8;  // WordRefs has 8 slots: a full cell takes no ninth word

// The code page 1252 byte of the character at text[pos] (0 for one it cannot hold;
// placed words hold none such).
std::uint8_t NextByte(std::string_view text, std::size_t& pos) {
  int code = UnicodeToCp1252(DecodeUtf8(text, pos));
  return static_cast<std::uint8_t>(code < 0 ? 0 : code);
}

int LowestBit(std::uint64_t bits) { return std::countr_zero(bits); }
int HighestBit(std::uint64_t bits) { return 63 - std::countl_zero(bits); }

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

  // A fitting place once a best exists: the tie-break rules.
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

void LineScanner::StartBuild(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  width_ = Max(s.PuzzleWidth, 0);
  height_ = Max(s.PuzzleHeight, 0);

  // Letter codes 1..codes_ for the characters of the word table, and each word coded
  // forwards and backwards.
  code_of_byte_.fill(0);
  codes_ = 0;
  word_codes_.clear();
  word_start_.assign(s.Words.size(), 0);
  for (std::size_t index = 1; index < s.Words.size(); ++index) {
    const WordRecord& word = s.Words[index];
    const std::size_t start = word_codes_.size();
    word_start_[index] = start;
    std::size_t pos = 0;
    for (int k = 0; k < word.Length && pos < word.Text.size(); ++k) {
      std::uint8_t byte = NextByte(word.Text, pos);
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
  const int w = width_;
  const int h = height_;
  const int cells = w * h;
  std::size_t total = 0;
  int widest = 1;
  auto add_line = [&](Orientation& o, int row, int col, int length) {
    Line line;
    line.row = row;
    line.col = col;
    line.length = length;
    line.words = (length + 63) / 64;
    line.first = Cell(row, col);
    line.base = total;
    total += static_cast<std::size_t>(codes_ + 1) * static_cast<std::size_t>(line.words);
    widest = Max(widest, line.words);
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
    orientation.lines.clear();
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
  masks_.assign(total, 0);
  cell_code_.assign(static_cast<std::size_t>(cells), 0);
  cell_use_.assign(static_cast<std::size_t>(cells), 0);
  fits_.assign(static_cast<std::size_t>(widest), 0);
  crosses_.assign(static_cast<std::size_t>(widest), 0);
}

std::uint8_t LineScanner::CodeOf(const std::string& letter) const {
  std::size_t pos = 0;
  const std::uint8_t code = code_of_byte_[NextByte(letter, pos)];
  return code != 0 ? code : static_cast<std::uint8_t>(codes_ + 1);
}

void LineScanner::SetLetter(int cell, std::uint8_t code, int use) {
  cell_code_[static_cast<std::size_t>(cell)] = code;
  cell_use_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(use);
  for (const Orientation& o : orientations_) {
    const Line& line = o.lines[static_cast<std::size_t>(o.line_of[static_cast<std::size_t>(cell)])];
    const int pos = o.pos_of[static_cast<std::size_t>(cell)];
    const std::size_t word = static_cast<std::size_t>(pos >> 6);
    const std::uint64_t bit = std::uint64_t{1} << (pos & 63);
    masks_[line.base + word] |= bit;
    if (code <= codes_ && use < kFullCell) {
      masks_[line.base + static_cast<std::size_t>(code) * static_cast<std::size_t>(line.words) + word] |= bit;
    }
  }
}

void LineScanner::AddUse(int cell) {
  const std::uint8_t use = ++cell_use_[static_cast<std::size_t>(cell)];
  const std::uint8_t code = cell_code_[static_cast<std::size_t>(cell)];
  if (use != kFullCell || code > codes_) return;
  // The cell is full: from now on it matches no letter.
  for (const Orientation& o : orientations_) {
    const Line& line = o.lines[static_cast<std::size_t>(o.line_of[static_cast<std::size_t>(cell)])];
    const int pos = o.pos_of[static_cast<std::size_t>(cell)];
    masks_[line.base + static_cast<std::size_t>(code) * static_cast<std::size_t>(line.words) +
           static_cast<std::size_t>(pos >> 6)] &= ~(std::uint64_t{1} << (pos & 63));
  }
}

void LineScanner::StartAttempt(AppContext& ctx) {
  std::fill(masks_.begin(), masks_.end(), 0);
  std::fill(cell_code_.begin(), cell_code_.end(), 0);
  std::fill(cell_use_.begin(), cell_use_.end(), 0);
  const LetterGrid& grid = ctx.state.Grid;
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

void LineScanner::WordInserted(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
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

void LineScanner::ScanLine(AppContext&, Scan& scan, const Line& line) {
  const int n = line.length;
  const int length = scan.length;
  const int words = line.words;
  const std::uint64_t* filled = masks_.data() + line.base;

  bool empty = true;
  for (int j = 0; j < words && empty; ++j) empty = filled[j] == 0;
  if (empty) {
    // An empty line: a random offset, and only while nothing better is known.
    if (scan.best.direction == 0) {
      const int offset = scan.rng.Below(n - length + 1);
      scan.Record(line, scan.reversed ? n - length - offset : offset);
    }
    return;
  }

  // fits: offsets where the word fits; crosses: offsets where one of its letters
  // meets the same letter. Bit q stands for offset q along the orientation.
  const int offsets = n - length + 1;
  const int offset_words = (offsets + 63) / 64;
  std::uint64_t* fits = fits_.data();
  std::uint64_t* crosses = crosses_.data();
  if (words == 1) {
    std::uint64_t fit = offsets >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << offsets) - 1;
    std::uint64_t cross = 0;
    const std::uint64_t free = ~filled[0];
    for (int i = 0; i < length; ++i) {
      const std::uint64_t same = filled[scan.codes[i]];
      fit &= (free | same) >> i;
      if (fit == 0) return;
      cross |= same >> i;
    }
    fits[0] = fit;
    crosses[0] = cross;
  } else {
    for (int j = 0; j < offset_words; ++j) {
      fits[j] = ~std::uint64_t{0};
      crosses[j] = 0;
    }
    if (offsets % 64 != 0) fits[offset_words - 1] = (std::uint64_t{1} << (offsets % 64)) - 1;
    auto ok_at = [&](const std::uint64_t* same, int j) {
      return j < words ? (~filled[j] | same[j]) : ~std::uint64_t{0};
    };
    auto same_at = [&](const std::uint64_t* same, int j) { return j < words ? same[j] : std::uint64_t{0}; };
    for (int i = 0; i < length; ++i) {
      const std::uint64_t* same = filled + static_cast<std::size_t>(scan.codes[i]) * static_cast<std::size_t>(words);
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
      if (any == 0) return;
    }
  }

  // Crossings and UseSum of the word at offset q (where it fits).
  const Orientation& o = *scan.orientation;
  auto count = [&](int q, int& crossings, int& use_sum) {
    crossings = 0;
    use_sum = 0;
    if (words == 1) {
      std::uint64_t window = filled[0] >> q;
      if (length < 64) window &= (std::uint64_t{1} << length) - 1;
      crossings = std::popcount(window);
      for (; window != 0; window &= window - 1) {
        const int cell = line.first + (q + LowestBit(window)) * o.cell_step;
        use_sum += cell_use_[static_cast<std::size_t>(cell)];
      }
      return;
    }
    for (int i = 0; i < length; ++i) {
      const int cell = line.first + (q + i) * o.cell_step;
      if (cell_code_[static_cast<std::size_t>(cell)] != 0) {
        ++crossings;
        use_sum += cell_use_[static_cast<std::size_t>(cell)];
      }
    }
  };

  int crossings = 0;
  int use_sum = 0;
  if (scan.best.direction == 0) {
    // The first place that fits, crossing or not, becomes the best.
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
    count(q, crossings, use_sum);
    scan.Record(line, q, crossings, use_sum);
    crosses[q >> 6] &= ~(std::uint64_t{1} << (q & 63));
  }
  // Then every later place that fits and crosses, in the order of the direction.
  if (!scan.reversed) {
    for (int j = 0; j < offset_words; ++j) {
      for (std::uint64_t bits = fits[j] & crosses[j]; bits != 0; bits &= bits - 1) {
        const int q = j * 64 + LowestBit(bits);
        count(q, crossings, use_sum);
        scan.Consider(line, q, crossings, use_sum);
      }
    }
  } else {
    for (int j = offset_words - 1; j >= 0; --j) {
      for (std::uint64_t bits = fits[j] & crosses[j]; bits != 0;) {
        const int bit = HighestBit(bits);
        bits &= ~(std::uint64_t{1} << bit);
        const int q = j * 64 + bit;
        count(q, crossings, use_sum);
        scan.Consider(line, q, crossings, use_sum);
      }
    }
  }
}

bool LineScanner::Search(AppContext& ctx, BuildPause& pause) {
  PuzzleState& s = ctx.state;
  const std::size_t index = static_cast<std::size_t>(s.CurrentWordIndex);
  const int length = s.Words[index].Length;
  const std::uint8_t* forward = word_codes_.data() + word_start_[index];
  const int count = s.DirectionCount;

  Scan scan(s, ctx.rng);
  scan.length = length;
  // BestUseSum is compared only after a place that crosses has set it.
  scan.best.use_sum = s.BestUseSum;
  int d = ctx.rng.Below(count) + 1;
  const int step = ctx.rng.Next() < 0.5f ? -1 : 1;
  bool going_on = true;
  for (int k = 0; k < count && going_on; ++k) {
    s.CurrentDirection = static_cast<i16>(d);
    const int o = (d - 1) / 2;
    scan.orientation = &orientations_[static_cast<std::size_t>(o)];
    scan.reversed = (d - 1) % 2 == 1;
    scan.direction = d;
    scan.codes = scan.reversed ? forward + length : forward;
    auto [first, last] = LineRange(o, length);
    for (int i = first; i <= last; ++i) {
      ScanLine(ctx, scan, scan.orientation->lines[static_cast<std::size_t>(i)]);
      if (!pause.Yield()) {
        going_on = false;
        break;
      }
    }
    d += step;
    if (d > count) d = 1;
    if (d < 1) d = count;
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
