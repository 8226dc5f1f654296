#pragma once
// A Surface over any Qt paint device: a retained QImage (the puzzle picture and the
// preview page), a QPrinter, a QPdfWriter, a QSvgGenerator. Twips are converted with
// the device's own resolution, and text is measured on the device it is drawn on.
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QStaticText>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Surface.h"
#include "qt/GlyphCache.h"

class QPaintDevice;

namespace kivrel {

/// The installed face that stands for a font name of the program: "Arial" and
/// "MS Sans Serif" are drawn with Liberation Sans, "Times New Roman" with Liberation
/// Serif, "Courier New" with Liberation Mono; any other name is given to Qt as it is.
QString ResolveFontFamily(std::string_view name);

/// A QFont for a font name, size in points, weight and slant.
QFont MakeFont(std::string_view name, double points, bool bold, bool italic);

class QtSurface : public Surface {
 public:
  /// Paints on device from now until End() or destruction. The drawing area is the
  /// device's whole page in twips.
  explicit QtSurface(QPaintDevice* device);
  ~QtSurface() override;

  double ScaleWidth() const override;
  double ScaleHeight() const override;
  void Scale(double width, double height) override;

  double TextWidth(std::string_view text) override;
  double TextHeight(std::string_view text) override;
  void Line(double x1, double y1, double x2, double y2) override;
  void Box(double x1, double y1, double x2, double y2) override;
  void Arc(double x, double y, double radius, double start, double end) override;
  void Cls() override;
  /// On a PDF (or a printer, which draws one) a row goes in as one run of glyphs.
  void PrintRow(double y, std::span<const PlacedText> texts) override;

  /// Measures text as on paper at 1200 dots per inch, in the sizes asked, whatever the
  /// device: every page surface (the preview, a printer, PDF, PNG and SVG files) then
  /// lays a page out alike, and the device only draws it. A device of fewer dots draws
  /// the letters at its nearest whole pixel size, where the layout put them.
  void MeasureAsPaper();

  /// Starts a new page on a paged device (printer, PDF); false when the device has none.
  bool NewPage();
  /// Ends the painting (finishes the document on a printer or PDF).
  void End();
  /// False when the device refused to be painted on (a printer that cannot start).
  bool IsActive() const { return painter_.isActive(); }

  /// Device pixels per twip, horizontally and vertically.
  double PixelsPerTwipX() const { return px_per_twip_x_ * user_x_; }
  double PixelsPerTwipY() const { return px_per_twip_y_ * user_y_; }

  /// Called after something is drawn (a widget showing the device repaints), once until
  /// ChangesShown says the change was shown.
  void SetChangedCallback(std::function<void()> changed) {
    changed_ = std::move(changed);
    change_reported_ = false;
  }
  /// What was drawn has been shown: the next drawing calls the callback again.
  void ChangesShown() { change_reported_ = false; }

  /// Whether glyph edges are smoothed (the default). Without smoothing a text drawn
  /// again in the background colour erases the same text exactly, as the puzzle
  /// picture needs when fill letters are taken away.
  void SetSmoothText(bool smooth);
  /// Whether short texts drawn without smoothing on an image are copied from a glyph
  /// cache (the default) rather than drawn as text each time; both give the same pixels.
  void SetGlyphCache(bool on) { use_glyph_cache_ = on; }
  /// One-letter texts copied from the glyph cache wait until something else is drawn
  /// or the image is looked at, and are then copied one after another: a build draws a
  /// letter between long searches, which would find the cache cold every time. A clear
  /// of an image waits the same way. This draws what waits now.
  void DrawWaitingLetters();

 protected:
  using WaitingLetter = GlyphCache::LetterAt;  // its font: font_id_ when it was drawn
  /// What the image holds is white (when Blank()) with the waiting letters over it, in
  /// order, until DrawWaitingLetters draws them.
  const std::vector<WaitingLetter>& WaitingLetters() const { return waiting_; }
  bool Blank() const { return blank_; }
  /// Finds the waiting letters in the glyph cache, to be copied onto target; false when
  /// one cannot be copied (it is then drawn as text).
  bool FindLetters(const GlyphCache::Target& target, std::span<const WaitingLetter> letters,
                   std::vector<GlyphCache::Copied>& found) {
    return glyph_cache_.FindLetters(target, letters, fonts_, found);
  }
  int GlyphGeneration() const { return glyph_cache_.Generation(); }

  void DrawText(double x, double y, std::string_view text) override;
  double UsableFontSize(double points) const override;
  void FontChanged() override;

  /// Rebinds the surface to another device of the same kind (a resized image).
  void Rebind(QPaintDevice* device);
  void Changed() {
    if (changed_ && !change_reported_) {
      change_reported_ = true;
      changed_();
    }
  }

 private:
  QPointF Map(double x, double y) const { return {x * PixelsPerTwipX(), y * PixelsPerTwipY()}; }
  void ApplyPen();
  // The text as a QString; a grid's one-letter texts are made once, not per letter.
  QString ToText(std::string_view text);
  // Draws text with its top-left corner at `at` (device-independent pixels).
  void DrawTextAt(QPointF at, QRgb color, const QString& text);

  // Whether one-letter texts are copied from the glyph cache (and so wait).
  bool CopiesLetters() const;
  // Queues the one-letter texts of a row, in the fore colour, to be copied in order;
  // any other text among them is drawn where it stands (the letters before it first).
  void WaitLetters(double y, std::span<const PlacedText> texts);
  // Draws text now, copied from the glyph cache where it can be.
  void DrawTextNow(double x, double y, std::string_view text);
  void DrawLetterAsText(const WaitingLetter& letter);

  // The metrics text is measured with, and their pixels per twip.
  const QFontMetricsF& Measure() const { return measure_ ? *measure_ : *metrics_; }
  double MeasuredPixelsPerTwip() const;

  QPaintDevice* device_;
  QPainter painter_;
  QHash<int, QFont> fonts_;  // by font_id_: the fonts waiting letters are drawn in
  QFont font_;
  std::optional<QFontMetricsF> metrics_;  // of font_ on the device, kept for every text measured
  // Measuring as on paper: a small image at 1200 dots per inch stands for the paper,
  // and the font in the size asked is measured on it.
  std::unique_ptr<QImage> paper_;
  std::optional<QFontMetricsF> measure_;
  QHash<int, QRawFont> raw_fonts_;  // by font_id_: the font of a PDF's glyph runs
  // Short texts (a grid's letters) keep their laid-out form until the font changes, so
  // a page of thousands of letters is not shaped letter by letter again.
  QHash<QString, QStaticText> short_texts_;
  GlyphCache glyph_cache_;  // the same, drawn once and copied: used without smoothing
  int font_id_ = 0;         // glyph_cache_.FontId(font_)
  int measure_id_ = 0;      // the font measured with: font_id_, or that of the paper's font
  // The widths of one-character texts by font, measured once (NaN: not yet).
  QHash<int, std::array<double, 256>> char_widths_;
  std::array<QString, 128> ascii_letters_;  // one-byte texts, made when first needed
  bool use_glyph_cache_ = true;
  std::vector<WaitingLetter> waiting_;
  bool blank_ = false;  // cleared, and not yet filled with white
  double px_per_twip_x_ = 1;
  double px_per_twip_y_ = 1;
  double user_x_ = 1;  // twips per user unit
  double user_y_ = 1;
  double width_twips_ = 0;
  double height_twips_ = 0;
  bool paints_on_image_ = false;
  bool smooth_text_ = true;
  std::function<void()> changed_;
  bool change_reported_ = false;
};

namespace detail {
// Holds the image so that it exists before the surface that paints on it.
struct ImageHolder {
  std::unique_ptr<QImage> image_;
};
}  // namespace detail

/// A retained picture: a white image in screen resolution that keeps what was drawn on
/// it, shown by a widget on demand. On a screen with a device pixel ratio above 1 the
/// image has that many times more pixels each way (and says so), so what is drawn is
/// as sharp as the widgets around it; its size in twips and everything measured on it
/// stay the same.
class QtImageSurface : private detail::ImageHolder, public QtSurface {
 public:
  /// An image of width x height twips at dots_per_inch, with device_pixel_ratio device
  /// pixels to each pixel of dots_per_inch.
  QtImageSurface(int width_twips, int height_twips, double dots_per_inch = 96, double device_pixel_ratio = 1);
  ~QtImageSurface() override;

  /// Changes the image's size, keeping what is drawn at its top-left corner.
  void Resize(int width_twips, int height_twips);
  /// Moves the image to another device pixel ratio (the window went to another
  /// screen), keeping what is drawn, scaled, until it is drawn again.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const { return ratio_; }
  /// The image, with every letter drawn so far.
  const QImage& Image() {
    DrawWaitingLetters();
    return *image_;
  }
  double DotsPerInch() const { return dpi_; }
  /// Paints the image for a widget of `widget` (a rectangle from (0, 0)) within `region`,
  /// the painter's coordinates, white where the image does not reach. A cleared image
  /// with only letters drawn on it since goes straight onto the window's backing store:
  /// the letters are copied there and nothing passes through the image, which stays as
  /// it is until something reads it. When the whole widget is painted so again, on the
  /// same backing store, the letters it left are taken away rather than the whole
  /// widget cleared.
  void Show(QPainter& painter, const QRegion& region, const QRect& widget);
  /// The widget was hidden, moved or resized: what it left on the backing store may be
  /// gone.
  void ForgetShown() { shown_.store = 0; }

 private:
  static std::unique_ptr<QImage> MakeImage(int width_twips, int height_twips, double dpi, double ratio);
  void Replace(std::unique_ptr<QImage> image);
  // Show without the image, when the painter draws on a backing store the letters can
  // be copied to; false otherwise.
  bool ShowBlankWithLetters(QPainter& painter, const QRegion& region, const QRect& widget);

  // What the last paint straight onto a backing store left on it: white, and these
  // letters over it.
  struct Shown {
    qint64 store = 0;  // the serial number of the store's image; 0: nothing known
    QSize size;        // of the store
    QRect widget;      // in the store's pixels
    int generation = 0;
    std::vector<GlyphCache::Copied> letters;  // from the widget's corner
  };
  Shown shown_;

  double dpi_;
  double ratio_;
  int requested_width_;  // twips
  int requested_height_;
};

}  // namespace kivrel
