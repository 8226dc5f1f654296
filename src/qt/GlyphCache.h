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
#include <span>
#include <vector>

namespace kivrel {

class GlyphCache {
 public:
  /// An image made ready for copies, its facts read once for a run of letters.
  struct Target {
    uchar* bits = nullptr;  // the pixel at the letters' origin, detached from every copy of the image
    qsizetype stride = 0;
    // What may be written, in device pixels from the origin: from (left, top) up to
    // (right, bottom), not included.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    double ratio = 1;
    int scale = 1;  // the ratio, a whole number
  };
  /// Where a text was copied to: enough to take it away again (Erase).
  struct Copied {
    const void* shape = nullptr;  // the cache's, valid while Generation() stays the same
    int left = 0;                 // its corner, in device pixels from the target's origin
    int top = 0;
    QRgb color = 0;
  };
  /// False when nothing can be copied onto the image (its pixel ratio is not a whole
  /// number, or its pixels are not 32 bits): texts are then drawn as text. The target
  /// stays valid until the image is painted on otherwise or copied.
  static bool Prepare(QImage& image, Target* target);
  /// A one-byte letter to be copied: where (as for Draw), its colour, and its font
  /// (FontId).
  struct LetterAt {
    QPointF at;
    QRgb color;
    int font;
    char16_t character;
  };
  /// Draw (below) on a prepared image: a run of letters prepares it once.
  bool Draw(const Target& target, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text);
  /// What Draw would copy, without copying it; false when the text cannot be copied.
  bool Find(const Target& target, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text,
            Copied* copied);
  /// Finds each letter as Find would, in order, one entry of `found` each (a null shape
  /// for a letter that cannot be copied: it is drawn as text); false when there is such
  /// a letter. Letters along a row (one font, colour and height) share what their row
  /// needs worked out, so a grid's letters cost a lookup each. `fonts` holds each font
  /// by its FontId. What was found stays valid while Generation() stays the same.
  bool FindLetters(const Target& target, std::span<const LetterAt> letters, const QHash<int, QFont>& fonts,
                   std::vector<Copied>& found);
  /// Copies texts found (on a target of the same origin) in their colours, or all in
  /// white to take them away again.
  static void CopyAll(const Target& target, std::span<const Copied> copies, bool white = false);
  /// Changes whenever the cache forgets what it holds.
  int Generation() const { return generation_; }

  /// Draws `text` (in `font`, which must draw without smoothing) with its top-left
  /// corner at `at`, in the image's device-independent pixels, as
  /// QPainter::drawStaticText would. False when the text cannot be copied (the image's
  /// pixel ratio is not a whole number, or the text came out smoothed): the caller
  /// then draws it as text.
  /// `font_id` is FontId(font), which the caller keeps with the font.
  bool Draw(QImage& image, const QFont& font, int font_id, QPointF at, QRgb color, const QString& text) {
    Target target;
    return Prepare(image, &target) && Draw(target, font, font_id, at, color, text);
  }

  /// A number for the font, the same for every font with the same key.
  int FontId(const QFont& font);

  /// Forgets every text.
  void Clear();

  /// Whether letters are copied with stores that write only their pixels, where the
  /// processor has them (the default), or by blending eight pixels at a time (the way
  /// for every other processor). Returns the way now used.
  static bool UseMaskedStores(bool on);

 private:
  // One run of set pixels in a row of a drawn text, relative to its shape's corner.
  struct Run {
    int x = 0;
    int y = 0;
    int length = 0;
  };
  // The set pixels of a drawn text, from the corner of the smallest box holding them.
  // A letter drawn at different places within a pixel mostly comes out the same, only
  // moved: its entries share one shape, so a grid's letters are a few shapes, not
  // thousands.
  struct Shape {
    int width = 0;
    int height = 0;
    std::vector<Run> runs;
    // For a shape at most kMaskChunks * 8 pixels wide: per row, one byte per eight
    // pixels saying which are set (a letter's rows are copied eight pixels at once).
    int chunks = 0;  // 0: too wide, copied by its runs
    std::vector<std::uint8_t> masks;
  };
  static constexpr int kMaskChunks = 4;
  struct Entry {
    std::shared_ptr<const Shape> shape;  // null when the text cannot be copied
    int dx = 0;                          // the shape's corner from the entry's origin, in device pixels
    int dy = 0;
  };
  struct Key {
    int font = 0;  // FontId
    QString text;
    QRgb color = 0;
    qint64 x = 0;  // the position less whole pixels, in 1/4096 pixel
    qint64 y = 0;
    double ratio = 1;
    bool operator==(const Key&) const = default;
  };
  friend size_t qHash(const Key& key, size_t seed) noexcept {
    return qHashMulti(seed, key.font, key.text, key.color, key.x, key.y, key.ratio);
  }

  Entry Render(const QFont& font, const Key& key, int pad);
  const Entry& Find(const QFont& font, const Key& key);
  static void Copy(const Target& target, const Shape& shape, int left, int top, QRgb color);
  // Copy by the shape's runs, cut off at the target's edges: a shape too wide for its
  // masks, or reaching past an edge.
  static void CopyRuns(const Target& target, const Shape& shape, int left, int top, QRgb pixel);

  // Entries stay where they are made: the letters of the placements point into them.
  QHash<Key, std::shared_ptr<const Entry>> entries_;
  QHash<QByteArray, std::shared_ptr<const Shape>> shapes_;  // by their runs
  // Where a letter falls within a pixel moves it by zero or more whole device pixels
  // and changes nothing else, and by the same for every letter of a font (the glyphs are
  // placed from the text's position, rounded the same way, and drawn at whole pixels).
  // So one-byte letters are kept per shift rather than per position: a grid's letters
  // are then a few dozen entries, found at once, instead of a thousand, each looked up
  // in a large table. The shift of each position is learnt from a probe letter drawn
  // there and at the start of the pixel; a position where the probe comes out other
  // than moved is irregular and its letters go through the entries by position.
  static constexpr qint8 kUnknown = -1;
  static constexpr qint8 kIrregular = -2;
  static constexpr int kMostShift = 8;
  struct Letter {
    QRgb color = 0;
    qint8 shift_x = 0;
    qint8 shift_y = 0;
    const Shape* shape = nullptr;  // owned through entries_; null: drawn as text
    int dx = 0;
    int dy = 0;
  };
  struct Placement {  // of one font at one pixel ratio
    int font = 0;
    double ratio = 0;
    std::array<std::vector<qint8>, 2> shift;                // by position within a pixel, per axis
    std::array<std::array<qint64, kMostShift>, 2> example;  // a position of each shift
    std::array<std::vector<Letter>, 128> letters;
  };
  Placement& PlacementOf(int font_id, double ratio);
  static const Letter* KnownLetter(const Placement& placement, char16_t character, QRgb color, qint8 shift_x,
                                   qint8 shift_y);
  qint8 ShiftAt(Placement& placement, const QFont& font, int axis, qint64 position);
  std::vector<std::unique_ptr<Placement>> placements_;
  Placement* last_placement_ = nullptr;
  QHash<QString, int> font_ids_;
  int generation_ = 0;
};

}  // namespace kivrel
