#include "qt/GlyphCache.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kivrel {

namespace {

// A position is kept to 1/4096 of a pixel: far finer than the 1/64 steps text is placed
// in, so a text drawn at the kept position lands on the same pixels.
constexpr double kSteps = 4096;
// Room around a text's box for glyphs that reach beyond it, in device-independent pixels.
constexpr int kMargin = 8;
// Enough for every letter of every size and colour a picture uses; past it the cache
// starts again rather than grow without end.
constexpr qsizetype kMostEntries = 20000;

// At a whole ratio a whole device-independent pixel is a whole number of device
// pixels, so a text moved by whole pixels comes out the same, moved. At a fractional
// ratio QPainter places a text's glyphs by rules of its own that a copy cannot follow,
// so texts are drawn there.
bool WholeRatio(double ratio) { return std::abs(ratio - std::round(ratio)) < 1e-9 && ratio >= 1; }

// std::floor and std::llround without a call into the maths library: a letter is
// placed thousands of times per build.
double Floor(double value) {
  const double truncated = static_cast<double>(static_cast<qint64>(value));
  return truncated > value ? truncated - 1 : truncated;
}
qint64 RoundNonNegative(double value) { return static_cast<qint64>(value + 0.5); }

// Where a text falls along one axis: the corner of its entry on the image (its whole
// pixels less the margin, in device pixels) and what is left within the pixel, in steps.
struct AxisPlace {
  int corner;
  qint64 in_pixel;
};
AxisPlace PlaceOnAxis(double position, int scale) {
  const double whole = Floor(position);
  return {(static_cast<int>(whole) - kMargin) * scale, RoundNonNegative((position - whole) * kSteps)};
}

// Eight pixels at once (one AVX2 register where the processor has it).
typedef std::uint32_t EightPixels __attribute__((vector_size(32)));

// Sets the pixels of `rows` rows of `chunks` times eight pixels from `origin` that the
// masks say, leaving the others as they are.
__attribute__((target_clones("avx2", "default"))) void BlendMaskedPixels(uchar* origin, qsizetype stride,
                                                                         const std::uint8_t* masks, int rows,
                                                                         int chunks, QRgb pixel) {
  const EightPixels lane_bits = {1, 2, 4, 8, 16, 32, 64, 128};
  const EightPixels colour = EightPixels{} + pixel;
  for (int y = 0; y < rows; ++y) {
    auto* row = reinterpret_cast<QRgb*>(origin + y * stride);
    for (int c = 0; c < chunks; ++c) {
      const std::uint8_t mask = *masks++;
      if (mask == 0) continue;
      const EightPixels set = reinterpret_cast<EightPixels>(((EightPixels{} + mask) & lane_bits) != 0);
      EightPixels pixels;
      std::memcpy(&pixels, row + 8 * c, sizeof pixels);
      pixels = (pixels & ~set) | (colour & set);
      std::memcpy(row + 8 * c, &pixels, sizeof pixels);
    }
  }
}

#if defined(__x86_64__)
// The same with stores that write only the set pixels: nothing is read from the image,
// so a letter never waits for its rows to come from memory.
// Sixteen pixels a store where they fit: most letters are nine to sixteen pixels wide.
__attribute__((target("avx512f,avx512vl"))) void StoreMaskedPixels(uchar* origin, qsizetype stride,
                                                                   const std::uint8_t* masks, int rows, int chunks,
                                                                   QRgb pixel) {
  const __m512i sixteen = _mm512_set1_epi32(static_cast<int>(pixel));
  const __m256i eight = _mm256_set1_epi32(static_cast<int>(pixel));
  for (int y = 0; y < rows; ++y) {
    auto* row = reinterpret_cast<QRgb*>(origin + y * stride);
    int c = 0;
    for (; c + 1 < chunks; c += 2, masks += 2) {
      _mm512_mask_storeu_epi32(row + 8 * c, static_cast<__mmask16>(masks[0] | (masks[1] << 8)), sixteen);
    }
    if (c < chunks) _mm256_mask_storeu_epi32(row + 8 * c, *masks++, eight);
  }
}
#endif

bool ProcessorHasMaskedStores() {
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

bool masked_stores = ProcessorHasMaskedStores();

void SetMaskedPixels(uchar* origin, qsizetype stride, const std::uint8_t* masks, int rows, int chunks, QRgb pixel) {
#if defined(__x86_64__)
  if (masked_stores) return StoreMaskedPixels(origin, stride, masks, rows, chunks, pixel);
#endif
  BlendMaskedPixels(origin, stride, masks, rows, chunks, pixel);
}

// Whether the box of width x height pixels from (left, top) may be written.
bool OnTarget(const GlyphCache::Target& target, int left, int top, int width, int height) {
  return left >= target.left && top >= target.top && top + height <= target.bottom && left + width <= target.right;
}

uchar* PixelAt(const GlyphCache::Target& target, int left, int top) {
  return target.bits + top * target.stride + left * static_cast<qsizetype>(sizeof(QRgb));
}

}  // namespace

GlyphCache::Entry GlyphCache::Render(const QFont& font, const Key& key, int pad) {
  Entry entry;
  const QFontMetricsF metrics(font);
  const double ratio = key.ratio;
  const int width = static_cast<int>(std::ceil((metrics.horizontalAdvance(key.text) + 2.0 * pad) * ratio));
  const int height = static_cast<int>(std::ceil((metrics.height() + 2.0 * pad) * ratio));
  QImage glyph(width, height, QImage::Format_ARGB32_Premultiplied);
  glyph.setDevicePixelRatio(ratio);
  glyph.fill(Qt::transparent);
  {
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(key.color));
    QStaticText text(key.text);
    text.setTextFormat(Qt::PlainText);
    painter.drawStaticText(QPointF(pad + key.x / kSteps, pad + key.y / kSteps), text);
  }
  Shape shape;
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
    for (int x = 0; x < width;) {
      const int alpha = qAlpha(line[x]);
      if (alpha == 0) {
        ++x;
        continue;
      }
      if (alpha != 255) return entry;  // smoothed: a copy would not be the same
      const int start = x;
      while (x < width && qAlpha(line[x]) == 255) ++x;
      shape.runs.push_back({start, y, x - start});
    }
  }
  // The runs from the corner of their box; the entry keeps where that corner is.
  int left = width, top = height, right = 0, bottom = 0;
  for (const Run& run : shape.runs) {
    left = std::min(left, run.x);
    top = std::min(top, run.y);
    right = std::max(right, run.x + run.length);
    bottom = std::max(bottom, run.y + 1);
  }
  if (shape.runs.empty()) left = top = right = bottom = 0;
  for (Run& run : shape.runs) {
    run.x -= left;
    run.y -= top;
  }
  shape.width = right - left;
  shape.height = bottom - top;
  if (shape.width <= 8 * kMaskChunks) {
    shape.chunks = (shape.width + 7) / 8;
    shape.masks.assign(static_cast<std::size_t>(shape.height * shape.chunks), 0);
    for (const Run& run : shape.runs) {
      for (int x = run.x; x < run.x + run.length; ++x) {
        shape.masks[static_cast<std::size_t>(run.y * shape.chunks + x / 8)] |= static_cast<std::uint8_t>(1u << (x % 8));
      }
    }
  }
  const QByteArray runs(reinterpret_cast<const char*>(shape.runs.data()),
                        static_cast<qsizetype>(shape.runs.size() * sizeof(Run)));
  auto found = shapes_.constFind(runs);
  entry.shape = found != shapes_.constEnd()
                    ? *found
                    : shapes_.insert(runs, std::make_shared<const Shape>(std::move(shape))).value();
  entry.dx = left;
  entry.dy = top;
  return entry;
}

bool GlyphCache::UseMaskedStores(bool on) {
  masked_stores = on && ProcessorHasMaskedStores();
  return masked_stores;
}

void GlyphCache::Clear() {
  ++generation_;
  placements_.clear();  // their letters point into the entries
  last_placement_ = nullptr;
  entries_.clear();
  shapes_.clear();
}

int GlyphCache::FontId(const QFont& font) {
  const QString key = font.key();
  auto found = font_ids_.constFind(key);
  if (found != font_ids_.constEnd()) return *found;
  const int id = static_cast<int>(font_ids_.size()) + 1;
  font_ids_.insert(key, id);
  return id;
}

bool GlyphCache::Prepare(QImage& image, Target* target) {
  const double ratio = image.devicePixelRatio();
  if (!WholeRatio(ratio) || image.depth() != 32) return false;
  *target = {image.bits(),  image.bytesPerLine(), 0,     0,
             image.width(), image.height(),       ratio, static_cast<int>(std::round(ratio))};
  return true;
}

bool GlyphCache::Draw(const Target& target, const QFont& font, int font_id, QPointF at, QRgb color,
                      const QString& text) {
  Copied found;
  if (!Find(target, font, font_id, at, color, text, &found)) return false;
  CopyAll(target, {&found, 1});
  return true;
}

bool GlyphCache::Find(const Target& target, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text,
                      Copied* copied) {
  const double ratio = target.ratio;
  // Whole pixels move a text by whole device pixels; what is left decides its pixels.
  // The entry's origin on the image, in device pixels, and the position within a pixel.
  const auto [left, in_x] = PlaceOnAxis(at.x(), target.scale);
  const auto [top, in_y] = PlaceOnAxis(at.y(), target.scale);
  color &= 0xFFFFFFu;
  // Past the bound the cache starts again; not further on, where what it holds is in use
  // (a draw adds three entries at most).
  if (entries_.size() >= kMostEntries) Clear();
  if (text.size() == 1 && text[0].unicode() < 128) {
    Placement& placement = PlacementOf(font_id, ratio);
    // Known shifts are looked up here; ShiftAt learns the others.
    qint8 shift_x = placement.shift[0][static_cast<std::size_t>(in_x)];
    if (shift_x == kUnknown) shift_x = ShiftAt(placement, font, 0, in_x);
    qint8 shift_y = shift_x >= 0 ? placement.shift[1][static_cast<std::size_t>(in_y)] : kIrregular;
    if (shift_y == kUnknown) shift_y = ShiftAt(placement, font, 1, in_y);
    if (shift_y >= 0) {
      const Letter* letter = KnownLetter(placement, text[0].unicode(), color, shift_x, shift_y);
      if (!letter) {
        // Drawn at a position of the same shifts, it falls on the same device pixels.
        const Entry& entry =
            Find(font, {font_id, text, color, placement.example[0][shift_x], placement.example[1][shift_y], ratio});
        std::vector<Letter>& letters = placement.letters[text[0].unicode()];
        letters.push_back({color, shift_x, shift_y, entry.shape.get(), entry.dx, entry.dy});
        letter = &letters.back();
      }
      if (!letter->shape) return false;
      *copied = {letter->shape, left + letter->dx, top + letter->dy, color};
      return true;
    }
  }
  const Entry& entry = Find(font, {font_id, text, color, in_x, in_y, ratio});
  if (!entry.shape) return false;
  *copied = {entry.shape.get(), left + entry.dx, top + entry.dy, color};
  return true;
}

const GlyphCache::Letter* GlyphCache::KnownLetter(const Placement& placement, char16_t character, QRgb color,
                                                  qint8 shift_x, qint8 shift_y) {
  for (const Letter& known : placement.letters[character]) {
    if (known.color == color && known.shift_x == shift_x && known.shift_y == shift_y) return &known;
  }
  return nullptr;
}

bool GlyphCache::FindLetters(const Target& target, std::span<const LetterAt> letters, const QHash<int, QFont>& fonts,
                             std::vector<Copied>& found) {
  found.resize(letters.size());
  bool all = true;
  // What the letters of the current row share: the placement of their font, and the
  // shift and top their height gives. Null: no row (the last letter went through Find).
  const Placement* row = nullptr;
  int row_font = 0;
  QRgb row_color = 0;
  double row_y = 0;
  qint8 shift_y = 0;
  int top = 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const LetterAt& letter = letters[i];
    const QRgb color = letter.color & 0xFFFFFFu;
    if (row && letter.font == row_font && color == row_color && letter.at.y() == row_y && letter.character < 128) {
      const AxisPlace x = PlaceOnAxis(letter.at.x(), target.scale);
      const qint8 shift_x = row->shift[0][static_cast<std::size_t>(x.in_pixel)];
      const Letter* known = shift_x >= 0 ? KnownLetter(*row, letter.character, color, shift_x, shift_y) : nullptr;
      if (known && known->shape) {
        found[i] = {known->shape, x.corner + known->dx, top + known->dy, color};
        continue;
      }
    }
    // Find learns what the next letters of the row need.
    const auto font = fonts.constFind(letter.font);
    if (font == fonts.constEnd() ||
        !Find(target, *font, letter.font, letter.at, letter.color, QString(QChar(letter.character)), &found[i])) {
      found[i] = {};
      all = false;
    }
    row = nullptr;
    if (letter.character >= 128) continue;
    Placement& placement = PlacementOf(letter.font, target.ratio);
    const AxisPlace y = PlaceOnAxis(letter.at.y(), target.scale);
    shift_y = placement.shift[1][static_cast<std::size_t>(y.in_pixel)];
    if (shift_y < 0) continue;
    row = &placement;
    row_font = letter.font;
    row_color = color;
    row_y = letter.at.y();
    top = y.corner;
  }
  return all;
}

const GlyphCache::Entry& GlyphCache::Find(const QFont& font, const Key& key) {
  auto found = entries_.constFind(key);
  if (found != entries_.constEnd()) return **found;
  return **entries_.insert(key, std::make_shared<const Entry>(Render(font, key, kMargin)));
}

GlyphCache::Placement& GlyphCache::PlacementOf(int font_id, double ratio) {
  if (last_placement_ && last_placement_->font == font_id && last_placement_->ratio == ratio) return *last_placement_;
  for (auto& placement : placements_) {
    if (placement->font == font_id && placement->ratio == ratio) return *(last_placement_ = placement.get());
  }
  auto made = std::make_unique<Placement>();
  made->font = font_id;
  made->ratio = ratio;
  for (auto& axis : made->shift) axis.assign(static_cast<std::size_t>(kSteps) + 1, kUnknown);
  for (auto& axis : made->example) axis.fill(-1);
  placements_.push_back(std::move(made));
  return *(last_placement_ = placements_.back().get());
}

qint8 GlyphCache::ShiftAt(Placement& placement, const QFont& font, int axis, qint64 position) {
  qint8& shift = placement.shift[static_cast<std::size_t>(axis)][static_cast<std::size_t>(position)];
  if (shift != kUnknown) return shift;
  // The probe at this position against the probe at the start of the pixel: the same
  // shape, moved along this axis only.
  const QString probe = QStringLiteral("H");
  const Entry& start = Find(font, {placement.font, probe, 0, 0, 0, placement.ratio});
  const Entry& here =
      Find(font, {placement.font, probe, 0, axis == 0 ? position : 0, axis == 1 ? position : 0, placement.ratio});
  const int moved = axis == 0 ? here.dx - start.dx : here.dy - start.dy;
  const int across = axis == 0 ? here.dy - start.dy : here.dx - start.dx;
  const bool regular = start.shape && !start.shape->runs.empty() && here.shape == start.shape && across == 0 &&
                       moved >= 0 && moved < kMostShift;
  shift = regular ? static_cast<qint8>(moved) : kIrregular;
  auto& example = placement.example[static_cast<std::size_t>(axis)];
  if (regular && example[static_cast<std::size_t>(moved)] < 0) example[static_cast<std::size_t>(moved)] = position;
  return shift;
}

// A copy costs a few stores: the common case, a letter whose every chunk of eight pixels
// lies on the image, goes straight to them.
inline void GlyphCache::Copy(const Target& target, const Shape& shape, int left, int top, QRgb color) {
  const QRgb pixel = 0xFF000000u | color;
  if (shape.chunks > 0 && OnTarget(target, left, top, 8 * shape.chunks, shape.height)) {
    SetMaskedPixels(PixelAt(target, left, top), target.stride, shape.masks.data(), shape.height, shape.chunks, pixel);
    return;
  }
  CopyRuns(target, shape, left, top, pixel);
}

void GlyphCache::CopyRuns(const Target& target, const Shape& shape, int left, int top, QRgb pixel) {
  const qsizetype stride = target.stride;
  if (OnTarget(target, left, top, shape.width, shape.height)) {
    uchar* origin = PixelAt(target, left, top);
    for (const Run& run : shape.runs) {
      auto* from = reinterpret_cast<QRgb*>(origin + run.y * stride) + run.x;
      std::fill(from, from + run.length, pixel);
    }
    return;
  }
  for (const Run& run : shape.runs) {
    const int y = top + run.y;
    if (y < target.top || y >= target.bottom) continue;
    const int from = std::max(target.left, left + run.x);
    const int to = std::min(target.right, left + run.x + run.length);
    if (from >= to) continue;
    auto* line = reinterpret_cast<QRgb*>(PixelAt(target, 0, y));
    std::fill(line + from, line + to, pixel);
  }
}

void GlyphCache::CopyAll(const Target& target, std::span<const Copied> copies, bool white) {
  for (const Copied& copy : copies) {
    Copy(target, *static_cast<const Shape*>(copy.shape), copy.left, copy.top, white ? 0xFFFFFFu : copy.color);
  }
}

}  // namespace kivrel
