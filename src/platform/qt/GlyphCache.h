#pragma once
// Letters drawn once and copied afterwards. A build draws the letter of every cell it
// writes, thousands per puzzle; shaping and rasterising each of them as text is most of
// what a build in the window costs. The cache draws a short text the first time it is
// asked for it in a colour at a given position within a pixel, through QPainter exactly
// as the surface would, keeps the pixels it set, and copies them to every later place.
// Entries are kept per font, so a picture that goes through several sizes keeps them
// all. It serves text drawn without smoothing only: there every pixel is either set to the
// colour or left alone, so a copy is the same as drawing again.
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace kivrel {

class GlyphCache {
 public:
  /// Draws `text` (in `font`, which must draw without smoothing) with its top-left
  /// corner at `at`, in the image's device-independent pixels, as
  /// QPainter::drawStaticText would. False when the text cannot be copied (the image's
  /// pixel ratio is not a whole number, or the text came out smoothed): the caller
  /// then draws it as text.
  /// `font_id` is FontId(font), which the caller keeps with the font.
  bool Draw(QImage& image, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text);

  /// A number for the font, the same for every font with the same key.
  int FontId(const QFont& font);

  /// Forgets every text.
  void Clear();

 private:
  // One run of set pixels in a row of a drawn text, relative to the entry's origin.
  struct Run {
    int x = 0;
    int y = 0;
    int length = 0;
  };
  struct Entry {
    bool usable = false;
    int width = 0;  // of the drawn box, in device pixels
    int height = 0;
    std::vector<Run> runs;
  };
  struct Key {
    int font = 0;  // FontId
    QString text;
    QRgb color = 0;
    qint64 x = 0;  // the position less whole periods, in 1/4096 pixel
    qint64 y = 0;
    double ratio = 1;
    bool operator==(const Key&) const = default;
  };
  friend size_t qHash(const Key& key, size_t seed) noexcept {
    return qHashMulti(seed, key.font, key.text, key.color, key.x, key.y, key.ratio);
  }

  static Entry Render(const QFont& font, const Key& key, int pad);
  static void Copy(QImage& image, const Entry& entry, double whole_x, double whole_y, int pad, double ratio,
                   QRgb color);

  // Entries stay where they are made (a grid's letters are found again through `last_`).
  QHash<Key, std::shared_ptr<const Entry>> entries_;
  // One-character texts are found first in a small table of plain numbers, without
  // hashing their text (a grid draws thousands of them).
  struct Slot {
    const Entry* entry = nullptr;  // owned by entries_
    int font = 0;
    char16_t character = 0;
    QRgb color = 0;
    qint64 x = 0;
    qint64 y = 0;
    double ratio = 0;
  };
  static constexpr std::size_t kSlots = 4096;
  std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
  QHash<QString, int> font_ids_;
};

}  // namespace kivrel
