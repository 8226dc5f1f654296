#include "qt/QtPageFileDevice.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include "qt/QtSurface.h"

namespace kivrel {

namespace {

constexpr int kPdfDotsPerInch = 1200;  // what Qt's printers draw at
constexpr int kPngDotsPerInch = 300;

QtMessageHandler qt_messages = nullptr;
bool filtering = false;

// The command reports what goes wrong itself, in one line; Qt's own remarks (about
// the session folder, a painter, an image writer) would add more lines.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
  if (qt_messages) qt_messages(type, context, message);
}

std::unique_ptr<QGuiApplication> StartDrawing() {
  if (QGuiApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!filtering) qt_messages = qInstallMessageHandler(FilterQtMessages);
  filtering = true;
  static int argc = 1;
  static char name[] = "kivrel-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// The paper as Qt names it (Letter, A4, Legal, ...), so that a reader shows its name;
// a size of no name keeps its own.
QPageSize PageSizeOf(const PaperSize& paper) {
  const QSizeF inches(paper.Width / 1440.0, paper.Height / 1440.0);
  const QPageSize::PageSizeId id = QPageSize::id(inches, QPageSize::Inch, QPageSize::FuzzyMatch);
  return id == QPageSize::Custom ? QPageSize(inches, QPageSize::Inch) : QPageSize(id);
}

// The generic family that stands in for a face a reader of the drawing does not have.
QString GenericFamily(const QString& family) {
  const QString name = family.toLower();
  if (QFontDatabase::isFixedPitch(family) || name.contains(QLatin1String("mono")) ||
      name.contains(QLatin1String("courier"))) {
    return QStringLiteral("monospace");
  }
  static const QRegularExpression serif(QStringLiteral("(?<!sans )serif|times|georgia|garamond|palatino|roman|book"));
  return serif.match(name).hasMatch() ? QStringLiteral("serif") : QStringLiteral("sans-serif");
}

// An SVG drawing names the faces it was drawn with; each is followed by the faces of
// the same measure that other systems have, and a generic family.
QByteArray WithFallbackFamilies(const QByteArray& svg) {
  static const QRegularExpression attribute(QStringLiteral("font-family=\"([^\"]*)\""));
  QString text = QString::fromUtf8(svg);
  QString out;
  qsizetype last = 0;
  for (auto it = attribute.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    const QString family = match.captured(1);
    QString families = family;
    if (family == QLatin1String("Liberation Sans")) families += QStringLiteral(", Arial, Helvetica");
    if (family == QLatin1String("Liberation Serif")) families += QStringLiteral(", Times New Roman, Times");
    if (family == QLatin1String("Liberation Mono")) families += QStringLiteral(", Courier New, Courier");
    out += QStringView(text).mid(last, match.capturedStart() - last);
    out += QStringLiteral("font-family=\"") + families + QStringLiteral(", ") + GenericFamily(family) + '"';
    last = match.capturedEnd();
  }
  out += QStringView(text).mid(last);
  return out.toUtf8();
}

}  // namespace

QtPageFileDevice::QtPageFileDevice() = default;

QtPageFileDevice::~QtPageFileDevice() { Reset(); }

// The surface ends its painting before the device it paints on goes.
void QtPageFileDevice::Reset() {
  image_ = nullptr;
  page_.reset();
  svg_.reset();
  pdf_.reset();
  buffer_.reset();
}

Surface* QtPageFileDevice::BeginDocument(PageFormat format, const std::string& title, const PaperSize& paper) {
  Reset();
  if (!application_) application_ = StartDrawing();
  format_ = format;
  bytes_.clear();
  buffer_ = std::make_unique<QBuffer>(&bytes_);
  buffer_->open(QIODevice::WriteOnly);
  const QString name = QString::fromStdString(title);
  switch (format) {
    case PageFormat::Pdf:
      pdf_ = std::make_unique<QPdfWriter>(buffer_.get());
      pdf_->setResolution(kPdfDotsPerInch);
      pdf_->setPageSize(PageSizeOf(paper));
      pdf_->setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf_->setCreator(QStringLiteral("Kivrel"));
      pdf_->setTitle(name);
      page_ = std::make_unique<QtSurface>(pdf_.get());
      break;
    case PageFormat::Png: {
      auto image = std::make_unique<QtImageSurface>(paper.Width, paper.Height, kPngDotsPerInch);
      image_ = image.get();
      page_ = std::move(image);
      break;
    }
    case PageFormat::Svg:
      svg_ = std::make_unique<QSvgGenerator>();
      svg_->setOutputDevice(buffer_.get());
      svg_->setResolution(kPdfDotsPerInch);
      svg_->setSize(QSize(paper.Width * kPdfDotsPerInch / 1440, paper.Height * kPdfDotsPerInch / 1440));
      svg_->setViewBox(QRect(QPoint(0, 0), svg_->size()));
      svg_->setTitle(name);
      page_ = std::make_unique<QtSurface>(svg_.get());
      break;
  }
  if (!page_->IsActive()) {
    Reset();
    return nullptr;
  }
  page_->MeasureAsPaper();
  return page_.get();
}

void QtPageFileDevice::NewPage() {
  if (page_) page_->NewPage();
}

std::string QtPageFileDevice::EndDocument() {
  if (!page_) return {};
  page_->End();  // a PDF or an SVG is written out here
  bool made = true;
  if (format_ == PageFormat::Png) made = image_->Image().save(buffer_.get(), "PNG");
  Reset();
  if (!made) return {};
  if (format_ == PageFormat::Svg) bytes_ = WithFallbackFamilies(bytes_);
  return std::string(bytes_.constData(), static_cast<std::size_t>(bytes_.size()));
}

}  // namespace kivrel
