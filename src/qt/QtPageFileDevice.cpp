#include "qt/QtPageFileDevice.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "qt/QtSurface.h"

namespace kivrel {

namespace {

constexpr int kPdfDotsPerInch = 1200;  // what Qt's printers draw at
constexpr int kPngDotsPerInch = 300;
constexpr int kLetterWidthTwips = 12240;
constexpr int kLetterHeightTwips = 15840;

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

Surface* QtPageFileDevice::BeginDocument(PageFormat format, const std::string& title) {
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
      pdf_->setPageSize(QPageSize(QPageSize::Letter));
      pdf_->setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf_->setCreator(QStringLiteral("Kivrel"));
      pdf_->setTitle(name);
      page_ = std::make_unique<QtSurface>(pdf_.get());
      break;
    case PageFormat::Png: {
      auto image = std::make_unique<QtImageSurface>(kLetterWidthTwips, kLetterHeightTwips, kPngDotsPerInch);
      image_ = image.get();
      page_ = std::move(image);
      break;
    }
    case PageFormat::Svg:
      svg_ = std::make_unique<QSvgGenerator>();
      svg_->setOutputDevice(buffer_.get());
      svg_->setResolution(kPdfDotsPerInch);
      svg_->setSize(QSize(kLetterWidthTwips * kPdfDotsPerInch / 1440, kLetterHeightTwips * kPdfDotsPerInch / 1440));
      svg_->setViewBox(QRect(QPoint(0, 0), svg_->size()));
      svg_->setTitle(name);
      page_ = std::make_unique<QtSurface>(svg_.get());
      break;
  }
  if (!page_->IsActive()) {
    Reset();
    return nullptr;
  }
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
  return std::string(bytes_.constData(), static_cast<std::size_t>(bytes_.size()));
}

}  // namespace kivrel
