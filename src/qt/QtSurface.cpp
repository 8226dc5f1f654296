#include "qt/QtSurface.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPaintEngine>
#include <cmath>
#include <limits>
#include <numbers>

namespace kivrel {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kPaperDotsPerInch = 1200.0;        // what text is measured at on paper
constexpr std::size_t kMostWaitingLetters = 20000;  // two 99 x 99 grids
}  // namespace

QString ResolveFontFamily(std::string_view name) {
  QString requested = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).trimmed();
  QString key = requested.toLower();
  if (key == "arial" || key == "ms sans serif" || key == "helvetica") return QStringLiteral("Liberation Sans");
  if (key == "times new roman" || key == "times") return QStringLiteral("Liberation Serif");
  if (key == "courier new" || key == "courier") return QStringLiteral("Liberation Mono");
  return requested;
}

QFont MakeFont(std::string_view name, double points, bool bold, bool italic) {
  QFont font(ResolveFontFamily(name));
  if (points > 0) font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QtSurface::QtSurface(QPaintDevice* device) : device_(nullptr) {
  SetFontName("Arial");
  Rebind(device);
}

QtSurface::~QtSurface() { End(); }

void QtSurface::Rebind(QPaintDevice* device) {
  DrawWaitingLetters();
  if (painter_.isActive()) painter_.end();
  device_ = device;
  paints_on_image_ = device->devType() == QInternal::Image;
  px_per_twip_x_ = device->logicalDpiX() / kTwipsPerInch;
  px_per_twip_y_ = device->logicalDpiY() / kTwipsPerInch;
  // A painter draws in device-independent pixels; an image of a higher pixel ratio has
  // that many device pixels to each.
  const double ratio = device->devicePixelRatio();
  width_twips_ = device->width() / ratio / px_per_twip_x_;
  height_twips_ = device->height() / ratio / px_per_twip_y_;
  if (painter_.begin(device)) {  // a printer that cannot start leaves it inactive
    painter_.setRenderHint(QPainter::Antialiasing, !paints_on_image_);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBrush(Qt::NoBrush);
  }
  FontChanged();
}

double QtSurface::ScaleWidth() const { return width_twips_ / user_x_; }
double QtSurface::ScaleHeight() const { return height_twips_ / user_y_; }

void QtSurface::Scale(double width, double height) {
  user_x_ = width > 0 ? width_twips_ / width : 1;
  user_y_ = height > 0 ? height_twips_ / height : 1;
  FontChanged();
}

void QtSurface::MeasureAsPaper() {
  paper_ = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
  const int dots_per_meter = static_cast<int>(std::lround(kPaperDotsPerInch / 0.0254));
  paper_->setDotsPerMeterX(dots_per_meter);
  paper_->setDotsPerMeterY(dots_per_meter);
  SetFontSize(FontSize());
  FontChanged();
}

double QtSurface::MeasuredPixelsPerTwip() const {
  // On paper a text measures the same in a page's units whatever device the page is
  // made to cover (a PDF page is a whole number of points, the paper's size need not
  // be): every device lays the page out alike.
  return paper_ ? kPaperDotsPerInch / kTwipsPerInch : px_per_twip_x_ * user_x_;
}

double QtSurface::UsableFontSize(double points) const {
  // On paper the size asked is the size measured (a dot of 1/1200 inch at least).
  if (paper_) return std::max(points, 72.0 / kPaperDotsPerInch);
  // The device draws whole pixels, so the size used is the nearest whole pixel size.
  double dpi = device_ ? device_->logicalDpiY() : 96.0;
  double pixels = std::max(1.0, std::round(points * dpi / 72.0));
  return pixels * 72.0 / dpi;
}

void QtSurface::SetSmoothText(bool smooth) {
  smooth_text_ = smooth;
  FontChanged();
}

void QtSurface::FontChanged() {
  if (!device_) return;
  font_ = MakeFont(FontName(), 0, FontBold(), FontItalic());
  if (!smooth_text_) font_.setStyleStrategy(QFont::NoAntialias);
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(FontSize() * device_->logicalDpiY() / 72.0))));
  metrics_.emplace(font_, device_);
  if (painter_.isActive()) painter_.setFont(font_);
  short_texts_.clear();
  font_id_ = glyph_cache_.FontId(font_);
  if (!fonts_.contains(font_id_)) fonts_.insert(font_id_, font_);
  measure_id_ = font_id_;
  measure_.reset();
  if (paper_) {
    const QFont paper_font = MakeFont(FontName(), FontSize(), FontBold(), FontItalic());
    measure_.emplace(paper_font, paper_.get());
    measure_id_ = glyph_cache_.FontId(paper_font);
  }
}

QString QtSurface::ToText(std::string_view text) {
  if (text.size() == 1 && static_cast<unsigned char>(text[0]) < ascii_letters_.size()) {
    QString& letter = ascii_letters_[static_cast<unsigned char>(text[0])];
    if (letter.isEmpty()) letter = QString(QLatin1Char(text[0]));
    return letter;  // shares the kept string: no allocation
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

double QtSurface::TextWidth(std::string_view text) {
  const QString string = ToText(text);
  if (string.size() == 1 && string[0].unicode() < 256) {
    // The picture measures every character it can show at each sizing: measured once
    // per font.
    auto widths = char_widths_.find(measure_id_);
    if (widths == char_widths_.end()) {
      std::array<double, 256> unknown;
      unknown.fill(std::numeric_limits<double>::quiet_NaN());
      widths = char_widths_.insert(measure_id_, unknown);
    }
    double& width = (*widths)[string[0].unicode()];
    if (std::isnan(width)) width = Measure().horizontalAdvance(string[0]);
    return width / MeasuredPixelsPerTwip();
  }
  // One character needs no shaping: its advance is the width.
  double width = string.size() == 1 ? Measure().horizontalAdvance(string[0]) : Measure().horizontalAdvance(string);
  return width / MeasuredPixelsPerTwip();
}

double QtSurface::TextHeight(std::string_view) {
  if (paper_) return measure_->height() / MeasuredPixelsPerTwip();
  return metrics_->height() / PixelsPerTwipY();
}

bool QtSurface::CopiesLetters() const {
  return use_glyph_cache_ && paints_on_image_ && !smooth_text_ && painter_.transform().isIdentity();
}

void QtSurface::WaitLetters(double y, std::span<const PlacedText> texts) {
  // A cleared image keeps its letters waiting while it is shown; past a bound (letters
  // shown and taken away again and again) they are drawn on it.
  if (waiting_.size() + texts.size() > kMostWaitingLetters) DrawWaitingLetters();
  const Rgb c = ForeColor();
  const QRgb color = qRgb(c.R, c.G, c.B);
  const double top = Map(0, y).y();
  const double scale = PixelsPerTwipX();
  std::size_t queued = 0;
  for (const PlacedText& text : texts) {
    const auto character = static_cast<unsigned char>(text.Text.empty() ? 0 : text.Text[0]);
    if (text.Text.size() == 1 && character < ascii_letters_.size()) {
      waiting_.push_back({QPointF(text.X * scale, top), color, font_id_, character});
      ++queued;
    } else {
      DrawTextNow(text.X, y, text.Text);
    }
  }
  if (queued > 0) Changed();
}

void QtSurface::DrawText(double x, double y, std::string_view text) {
  if (CopiesLetters()) {
    const PlacedText letter{x, text};
    WaitLetters(y, {&letter, 1});
  } else {
    DrawTextNow(x, y, text);
  }
}

void QtSurface::DrawTextNow(double x, double y, std::string_view text) {
  const Rgb c = ForeColor();
  const QPointF at = Map(x, y);
  DrawWaitingLetters();
  const QString string = ToText(text);
  if (CopiesLetters() && string.size() <= 2 &&
      glyph_cache_.Draw(*static_cast<QImage*>(device_), font_, font_id_, at, qRgb(c.R, c.G, c.B), string)) {
    Changed();
    return;
  }
  DrawTextAt(at, qRgb(c.R, c.G, c.B), string);
  Changed();
}

void QtSurface::DrawWaitingLetters() {
  if (blank_) {
    blank_ = false;
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(QRectF(0, 0, width_twips_ * px_per_twip_x_, height_twips_ * px_per_twip_y_), Qt::white);
    painter_.restore();
  }
  if (waiting_.empty()) return;
  GlyphCache::Target target;
  const bool copies = GlyphCache::Prepare(*static_cast<QImage*>(device_), &target);
  std::vector<GlyphCache::Copied> found;
  for (const WaitingLetter& letter : waiting_) {
    // Each letter is copied as soon as it is found: finding the next may make the cache
    // start again. A letter drawn as text may detach the image: the target is made
    // again after it.
    if (copies && FindLetters(target, {&letter, 1}, found)) {
      GlyphCache::CopyAll(target, found);
    } else {
      DrawLetterAsText(letter);
      if (copies) GlyphCache::Prepare(*static_cast<QImage*>(device_), &target);
    }
  }
  waiting_.clear();
}

void QtSurface::DrawLetterAsText(const WaitingLetter& letter) {
  if (letter.font != font_id_) painter_.setFont(fonts_[letter.font]);
  const char character = static_cast<char>(letter.character);
  DrawTextAt(letter.at, letter.color, ToText(std::string_view(&character, 1)));
  if (letter.font != font_id_) painter_.setFont(font_);
}

void QtSurface::DrawTextAt(QPointF at, QRgb color, const QString& string) {
  painter_.setPen(QColor(color));
  if (string.size() <= 2) {
    auto cached = short_texts_.find(string);
    if (cached == short_texts_.end()) {
      cached = short_texts_.insert(string, QStaticText(string));
      cached->setTextFormat(Qt::PlainText);
    }
    painter_.drawStaticText(at, *cached);  // at is the top-left corner
  } else {
    painter_.drawText(QPointF(at.x(), at.y() + metrics_->ascent()), string);
  }
}

void QtSurface::PrintRow(double y, std::span<const PlacedText> texts) {
  if (CopiesLetters()) {
    WaitLetters(y, texts);  // a grid's row of letters waits to be copied, letter by letter
    return;
  }
  QPaintEngine* engine = device_->paintEngine();
  if (paints_on_image_ || !engine || engine->type() != QPaintEngine::Pdf || texts.empty()) {
    Surface::PrintRow(y, texts);
    return;
  }
  // One text object for the whole row, instead of one (with its font and place) for
  // each letter: a 99 x 99 grid is written ten times faster and takes a tenth of the
  // space. What the font has no glyph for is drawn as text, with a fallback font.
  auto raw = raw_fonts_.find(font_id_);
  if (raw == raw_fonts_.end()) raw = raw_fonts_.insert(font_id_, QRawFont::fromFont(font_));
  const double baseline = Map(0, y).y() + raw->ascent();
  QList<quint32> glyphs;
  QList<QPointF> positions;
  const Rgb c = ForeColor();
  for (const PlacedText& text : texts) {
    const QList<quint32> indexes = raw->glyphIndexesForString(ToText(text.Text));
    if (indexes.size() != 1 || indexes[0] == 0) {
      DrawTextAt(Map(text.X, y), qRgb(c.R, c.G, c.B), ToText(text.Text));
      continue;
    }
    glyphs.append(indexes[0]);
    positions.append(QPointF(Map(text.X, y).x(), baseline));
  }
  if (!glyphs.isEmpty()) {
    QGlyphRun run;
    run.setRawFont(*raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter_.setPen(QColor(c.R, c.G, c.B));
    painter_.drawGlyphRun(QPointF(0, 0), run);
  }
  Changed();
}

void QtSurface::ApplyPen() {
  Rgb c = ForeColor();
  // DrawWidth counts pixels of 1/96 inch, so a line looks the same on every device.
  double width = DrawWidth() * device_->logicalDpiX() / 96.0;
  QPen pen(QColor(c.R, c.G, c.B));
  pen.setWidthF(paints_on_image_ ? std::max(1.0, std::round(width)) : width);
  pen.setCapStyle(Qt::FlatCap);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
}

void QtSurface::Line(double x1, double y1, double x2, double y2) {
  DrawWaitingLetters();
  ApplyPen();
  painter_.drawLine(Map(x1, y1), Map(x2, y2));
  Changed();
}

void QtSurface::Box(double x1, double y1, double x2, double y2) {
  DrawWaitingLetters();
  ApplyPen();
  painter_.drawRect(QRectF(Map(x1, y1), Map(x2, y2)).normalized());
  Changed();
}

void QtSurface::Arc(double x, double y, double radius, double start, double end) {
  DrawWaitingLetters();
  ApplyPen();
  double span = end - start;
  if (span <= 0) span += 2 * std::numbers::pi;
  QPointF centre = Map(x, y);
  double rx = radius * PixelsPerTwipX();
  double ry = radius * PixelsPerTwipX();  // a circle: the radius is measured across
  QRectF box(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);
  auto sixteenths = [](double radians) {
    return static_cast<int>(std::lround(radians * 180.0 / std::numbers::pi * 16));
  };
  painter_.drawArc(box, sixteenths(start), sixteenths(span));
  Changed();
}

void QtSurface::Cls() {
  CurrentX = 0;
  CurrentY = 0;
  if (paints_on_image_) {
    // Cleared when something reads or draws on the image, unless another clear comes
    // first: a build clears at every attempt.
    waiting_.clear();  // cleared away before they were drawn
    blank_ = true;
    Changed();
  }
}

bool QtSurface::NewPage() {
  if (device_ && device_->devType() != QInternal::Image) {
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device_)) return paged->newPage();
  }
  return false;
}

void QtSurface::End() {
  DrawWaitingLetters();
  if (painter_.isActive()) painter_.end();
}

std::unique_ptr<QImage> QtImageSurface::MakeImage(int width_twips, int height_twips, double dpi, double ratio) {
  // The size in device-independent pixels is the same at every ratio.
  int w = std::max(1, static_cast<int>(std::lround(std::lround(width_twips * dpi / kTwipsPerInch) * ratio)));
  int h = std::max(1, static_cast<int>(std::lround(std::lround(height_twips * dpi / kTwipsPerInch) * ratio)));
  auto image = std::make_unique<QImage>(w, h, QImage::Format_RGB32);
  int dots_per_meter = static_cast<int>(std::lround(dpi / 0.0254));
  image->setDotsPerMeterX(dots_per_meter);
  image->setDotsPerMeterY(dots_per_meter);
  image->setDevicePixelRatio(ratio);
  image->fill(Qt::white);
  return image;
}

QtImageSurface::QtImageSurface(int width_twips, int height_twips, double dots_per_inch, double device_pixel_ratio)
    : detail::ImageHolder{MakeImage(width_twips, height_twips, dots_per_inch, device_pixel_ratio)},
      QtSurface(image_.get()),
      dpi_(dots_per_inch),
      ratio_(device_pixel_ratio),
      requested_width_(width_twips),
      requested_height_(height_twips) {}

QtImageSurface::~QtImageSurface() { End(); }

void QtImageSurface::Resize(int width_twips, int height_twips) {
  if (width_twips == requested_width_ && height_twips == requested_height_) return;
  requested_width_ = width_twips;
  requested_height_ = height_twips;
  auto image = MakeImage(width_twips, height_twips, dpi_, ratio_);
  if (image->size() == image_->size()) return;
  Replace(std::move(image));
}

void QtImageSurface::SetDevicePixelRatio(double ratio) {
  if (ratio <= 0 || ratio == ratio_) return;
  ratio_ = ratio;
  Replace(MakeImage(requested_width_, requested_height_, dpi_, ratio_));
}

void QtImageSurface::Replace(std::unique_ptr<QImage> image) {
  End();
  {
    QPainter copy(image.get());
    copy.setRenderHint(QPainter::SmoothPixmapTransform);
    // Both images measure the same in device-independent pixels: a copy at another
    // ratio is scaled.
    copy.drawImage(QPointF(0, 0), *image_);
  }
  image_ = std::move(image);
  Rebind(image_.get());
  Changed();
}

void QtImageSurface::Show(QPainter& painter, const QRegion& region, const QRect& widget) {
  if (ShowBlankWithLetters(painter, region, widget)) return;
  shown_.store = 0;
  const QImage& image = Image();
  // White where the image does not reach (the widget may be larger); the image is
  // opaque, so under it there is nothing to clear.
  const QSizeF covered = image.deviceIndependentSize();  // whole pixels only
  const QRegion uncovered = region - QRect(0, 0, static_cast<int>(covered.width()), static_cast<int>(covered.height()));
  for (const QRect& rect : uncovered) painter.fillRect(rect, Qt::white);
  painter.drawImage(0, 0, image);
}

bool QtImageSurface::ShowBlankWithLetters(QPainter& painter, const QRegion& region, const QRect& widget) {
  if (!Blank()) return false;
  // The device a widget's painter draws on is its window's backing store: an image,
  // on which the widget's corner is a whole device pixel at the image's ratio.
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
      engine->paintDevice()->devType() != QInternal::Image) {
    return false;
  }
  QImage& store = *static_cast<QImage*>(engine->paintDevice());
  const QImage::Format format = store.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied) {
    return false;
  }
  const QTransform to_device = painter.deviceTransform();
  const double dx = to_device.dx();
  const double dy = to_device.dy();
  if (to_device.type() > QTransform::TxScale || to_device.m11() != ratio_ || to_device.m22() != ratio_ ||
      dx != std::round(dx) || dy != std::round(dy)) {
    return false;
  }
  GlyphCache::Target target;
  if (!GlyphCache::Prepare(store, &target) || target.ratio != ratio_) return false;
  // What may be painted, in the store's pixels: the region asked for, within what the
  // window system asked to be painted.
  QRegion paint = to_device.map(region) & store.rect();
  if (!engine->systemClip().isEmpty()) paint &= engine->systemClip();
  const QRect whole = to_device.mapRect(widget) & store.rect();
  uchar* const bits = target.bits;
  const QPoint origin(static_cast<int>(dx), static_cast<int>(dy));
  target.bits += origin.y() * target.stride + origin.x() * static_cast<qsizetype>(sizeof(QRgb));
  const QRect image_rect = image_->rect();  // letters are cut off at the image's edges
  auto clip_to = [&target](const QRect& clip) {
    target.left = clip.left();
    target.top = clip.top();
    target.right = clip.right() + 1;
    target.bottom = clip.bottom() + 1;
  };

  // The whole widget, painted on the store it was painted on last time, where only its
  // own paints reach (an opaque widget): the letters left there are taken away. A
  // window system that clears what is to be painted first (a translucent window)
  // leaves no pixel opaque.
  const qint64 serial = store.cacheKey() >> 32;
  const bool painting_whole = paint == QRegion(whole) && !whole.isEmpty();
  auto opaque = [&](QPoint at) {
    return qAlpha(reinterpret_cast<const QRgb*>(bits + at.y() * target.stride)[at.x()]) == 255;
  };
  const bool store_as_left = painting_whole && shown_.store == serial && shown_.size == store.size() &&
                             shown_.widget == whole && shown_.generation == GlyphGeneration() &&
                             opaque(whole.topLeft()) && opaque(whole.bottomRight());
  shown_.store = 0;
  if (store_as_left) {
    clip_to(whole.translated(-origin));  // all the letters left, wherever the image ended then
    GlyphCache::CopyAll(target, shown_.letters, true);
  } else {
    for (const QRect& rect : paint) {
      for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * target.stride) + rect.left();
        std::fill(line, line + rect.width(), 0xFFFFFFFFu);
      }
    }
  }
  std::vector<GlyphCache::Copied>& letters = shown_.letters;
  const int generation = GlyphGeneration();
  if (!FindLetters(target, WaitingLetters(), letters)) return false;  // drawn as text, through the image
  if (GlyphGeneration() != generation) return false;                  // the cache started again meanwhile
  for (const QRect& rect : paint) {
    const QRect clip = rect.translated(-origin) & image_rect;
    if (clip.isEmpty()) continue;
    clip_to(clip);
    GlyphCache::CopyAll(target, letters);
  }
  if (painting_whole) shown_ = {serial, store.size(), whole, generation, std::move(letters)};
  return true;
}

}  // namespace kivrel
