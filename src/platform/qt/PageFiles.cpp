#include "platform/qt/PageFiles.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <memory>

#include "build/FillInBlanks.h"
#include "files/FileIO.h"
#include "platform/qt/QtSurface.h"
#include "print/PageDrawing.h"

namespace kivrel {

namespace {

constexpr int kPdfDotsPerInch = 1200;  // what Qt's printers draw at
constexpr int kPngDotsPerInch = 300;
constexpr int kLetterWidthTwips = 12240;
constexpr int kLetterHeightTwips = 15840;

QtMessageHandler qt_messages = nullptr;

// A command-line program has no session folder for Qt to complain about, and a page it
// cannot write is reported by the command itself, in one line.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
                               message.startsWith(QLatin1String("QPainter::begin(): Returned false")))) {
    return;
  }
  if (qt_messages) qt_messages(type, context, message);
}

// Qt draws text only with an application object. It is made here, for the drawing
// commands alone, on the offscreen platform unless the caller chose a platform.
std::unique_ptr<QGuiApplication> StartDrawing() {
  if (QGuiApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qt_messages = qInstallMessageHandler(FilterQtMessages);
  static int argc = 1;
  static char name[] = "kivrel-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

[[noreturn]] void CannotWrite(const std::string& path) { throw PageFileError("cannot write \"" + path + "\""); }

void Save(const std::string& path, const QByteArray& bytes) {
  if (SaveFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) !=
      SaveResult::Saved) {
    CannotWrite(path);
  }
}

std::string Title(AppContext& ctx) { return ctx.AttributesForm().Text("txtPuzName"); }

void WritePdf(AppContext& ctx, const PageRequest& request) {
  WritePdfDocument(request.Path, Title(ctx), [&](QtSurface& page) {
    DrawPrinterPage(ctx, page);
    if (request.AnswerKey) {
      WithAnswerKey(ctx, [&] {
        page.NewPage();
        DrawPrinterPage(ctx, page);
      });
    }
  });
}

void WritePng(AppContext& ctx, const std::string& path) {
  QtImageSurface page(kLetterWidthTwips, kLetterHeightTwips, kPngDotsPerInch);
  DrawPrinterPage(ctx, page);
  page.End();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!page.Image().save(&buffer, "PNG")) CannotWrite(path);
  Save(path, bytes);
}

void WriteSvg(AppContext& ctx, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(kPdfDotsPerInch);
  svg.setSize(QSize(kLetterWidthTwips * kPdfDotsPerInch / 1440, kLetterHeightTwips * kPdfDotsPerInch / 1440));
  svg.setViewBox(QRect(QPoint(0, 0), svg.size()));
  svg.setTitle(QString::fromStdString(Title(ctx)));
  {
    QtSurface page(&svg);
    if (!page.IsActive()) CannotWrite(path);
    DrawPrinterPage(ctx, page);
  }
  Save(path, bytes);
}

}  // namespace

void WritePdfDocument(const std::string& path, const std::string& title, const std::function<void(QtSurface&)>& draw) {
  auto application = StartDrawing();
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Kivrel"));
    writer.setTitle(QString::fromStdString(title));
    QtSurface page(&writer);
    if (!page.IsActive()) CannotWrite(path);
    draw(page);
    page.End();
  }
  Save(path, bytes);
}

std::vector<std::string> WritePages(AppContext& ctx, const PageRequest& request) {
  // As printing does: a printed puzzle always has its blanks filled.
  if (ctx.state.BlanksFilled == kFalse) FillInBlanks(ctx);
  auto application = StartDrawing();
  std::vector<std::string> written{request.Path};
  switch (request.Kind) {
    case PageRequest::Format::Pdf:
      WritePdf(ctx, request);
      break;
    case PageRequest::Format::Png:
      WritePng(ctx, request.Path);
      if (request.AnswerKey) {
        written.push_back(KeyPath(request.Path));
        WithAnswerKey(ctx, [&] { WritePng(ctx, written.back()); });
      }
      break;
    case PageRequest::Format::Svg:
      WriteSvg(ctx, request.Path);
      if (request.AnswerKey) {
        written.push_back(KeyPath(request.Path));
        WithAnswerKey(ctx, [&] { WriteSvg(ctx, written.back()); });
      }
      break;
  }
  return written;
}

}  // namespace kivrel
