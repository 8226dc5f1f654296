#include "platform/qt/GlyphCache.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>

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

// The smallest whole number of device-independent pixels that is also a whole number of
// device pixels: 1 at a whole ratio. At a fractional ratio QPainter places a text's
// glyphs by rules of its own that a copy cannot follow, so texts are drawn there (0).
int Period(double ratio) {
  return std::abs(ratio - std::round(ratio)) < 1e-9 && ratio >= 1 ? 1 : 0;
}

// std::floor and std::llround without a call into the maths library: a letter is
// placed thousands of times per build.
double Floor(double value) {
  const double truncated = static_cast<double>(static_cast<qint64>(value));
  return truncated > value ? truncated - 1 : truncated;
}
qint64 RoundNonNegative(double value) { return static_cast<qint64>(value + 0.5); }

}  // namespace

GlyphCache::Entry GlyphCache::Render(const QFont& font, const Key& key, int pad) {
  Entry entry;
  const QFontMetricsF metrics(font);
  const double ratio = key.ratio;
  const int width = static_cast<int>(std::ceil((metrics.horizontalAdvance(key.text) + 2.0 * pad) * ratio));
  const int height = static_cast<int>(std::ceil((metrics.height() + 2.0 * pad) * ratio));
  entry.width = width;
  entry.height = height;
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
      entry.runs.push_back({start, y, x - start});
    }
  }
  entry.usable = true;
  return entry;
}

void GlyphCache::Clear() {
  entries_.clear();
  std::fill(slots_.begin(), slots_.end(), Slot{});
}

int GlyphCache::FontId(const QFont& font) {
  const QString key = font.key();
  auto found = font_ids_.constFind(key);
  if (found != font_ids_.constEnd()) return *found;
  const int id = static_cast<int>(font_ids_.size()) + 1;
  font_ids_.insert(key, id);
  return id;
}

bool GlyphCache::Draw(QImage& image, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text) {
  const double ratio = image.devicePixelRatio();
  const int period = Period(ratio);
  if (period == 0 || image.depth() != 32) return false;
  // Whole periods move a text by whole device pixels; what is left decides its pixels.
  const double whole_x = Floor(at.x() / period) * period;
  const double whole_y = Floor(at.y() / period) * period;
  const int pad = (kMargin + period - 1) / period * period;
  const qint64 in_x = RoundNonNegative((at.x() - whole_x) * kSteps);
  const qint64 in_y = RoundNonNegative((at.y() - whole_y) * kSteps);
  color &= 0xFFFFFFu;
  Slot* slot = nullptr;
  if (text.size() == 1) {
    const char16_t character = text[0].unicode();
    const std::size_t hash = (static_cast<std::size_t>(character) * 0x9E3779B1u) ^
                             (static_cast<std::size_t>(in_x) * 0x85EBCA6Bu) ^
                             (static_cast<std::size_t>(in_y) * 0xC2B2AE35u) ^ (color * 0x27D4EB2Fu) ^
                             static_cast<std::size_t>(font_id);
    slot = &slots_[(hash ^ (hash >> 15)) % kSlots];
    if (slot->entry && slot->character == character && slot->font == font_id && slot->color == color &&
        slot->x == in_x && slot->y == in_y && slot->ratio == ratio) {
      if (!slot->entry->usable) return false;
      Copy(image, *slot->entry, whole_x, whole_y, pad, ratio, color);
      return true;
    }
  }
  const Key key{font_id, text, color, in_x, in_y, ratio};
  auto found = entries_.constFind(key);
  std::shared_ptr<const Entry> made;
  if (found != entries_.constEnd()) {
    made = *found;
  } else {
    if (entries_.size() >= kMostEntries) Clear();
    made = std::make_shared<const Entry>(Render(font, key, pad));
    entries_.insert(key, made);
  }
  const Entry* entry = made.get();
  if (slot) *slot = {entry, font_id, text[0].unicode(), color, in_x, in_y, ratio};
  if (!entry->usable) return false;
  Copy(image, *entry, whole_x, whole_y, pad, ratio, color);
  return true;
}

void GlyphCache::Copy(QImage& image, const Entry& entry, double whole_x, double whole_y, int pad, double ratio,
                      QRgb color) {
  // The entry's origin on the image, in device pixels: a whole number (whole periods
  // and the pad are whole device pixels).
  const int left = static_cast<int>(Floor((whole_x - pad) * ratio + 0.5));
  const int top = static_cast<int>(Floor((whole_y - pad) * ratio + 0.5));
  const QRgb pixel = 0xFF000000u | color;
  const int width = image.width();
  const int height = image.height();
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  if (left >= 0 && top >= 0 && left + entry.width <= width && top + entry.height <= height) {
    // The whole box is on the image (a grid's letters always are).
    uchar* origin = bits + top * stride + left * static_cast<qsizetype>(sizeof(QRgb));
    for (const Run& run : entry.runs) {
      auto* from = reinterpret_cast<QRgb*>(origin + run.y * stride) + run.x;
      std::fill(from, from + run.length, pixel);
    }
    return;
  }
  for (const Run& run : entry.runs) {
    const int y = top + run.y;
    if (y < 0 || y >= height) continue;
    const int from = std::max(0, left + run.x);
    const int to = std::min(width, left + run.x + run.length);
    if (from >= to) continue;
    auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
    std::fill(line + from, line + to, pixel);
  }
}

}  // namespace kivrel
