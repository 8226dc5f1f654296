#include "qt/PageFiles.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <memory>

#include "engine/FillInBlanks.h"
#include "files/FileIO.h"
#include "qt/QtSurface.h"
#include "print/PageDrawing.h"
#include "print/WebPage.h"

namespace kivrel {

namespace {

constexpr int kPdfDotsPerInch = 1200;  // what Qt's printers draw at
constexpr int kPngDotsPerInch = 300;
constexpr int kLetterWidthTwips = 12240;
constexpr int kLetterHeightTwips = 15840;

QtMessageHandler qt_messages = nullptr;

// The command reports what goes wrong itself, in one line; Qt's own remarks (about
// the session folder, a painter, an image writer) would add more lines.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
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

[[noreturn]] void CannotDraw(const std::string& path) {
  throw PageFileError("cannot draw the page for \"" + path + "\"");
}

// Saves files that belong together (a page and its key): all replace their files or,
// when one cannot be written, none does.
void Save(const std::vector<std::string>& paths, const std::vector<QByteArray>& files) {
  std::vector<FileToSave> saves;
  for (std::size_t i = 0; i < files.size(); ++i) {
    saves.push_back({paths[i], std::string_view(files[i].constData(), static_cast<std::size_t>(files[i].size()))});
  }
  const FileResult<void> saved = SaveFilesTogether(saves);
  if (saved) return;
  const FileError& error = saved.Error();
  const std::string file = "\"" + error.Path + "\"";
  switch (error.Fault) {
    case FileFault::WriteFailed:
      throw PageFileError("error while writing " + file + ": " + error.Reason + " (any file that was there is unchanged)");
    case FileFault::PartlyReplaced:
      throw PageFileError("error while writing " + file + ": " + error.Reason + " (the files before it were already replaced)");
    default:
      throw PageFileError("cannot write " + file + ": " + error.Reason);
  }
}

std::string Title(AppContext& ctx) { return ctx.AttributesForm().Text(frmAttributes::txtPuzName); }

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

QByteArray DrawPng(AppContext& ctx, const std::string& path) {
  QtImageSurface page(kLetterWidthTwips, kLetterHeightTwips, kPngDotsPerInch);
  DrawPrinterPage(ctx, page);
  page.End();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!page.Image().save(&buffer, "PNG")) CannotDraw(path);
  return bytes;
}

QByteArray DrawSvg(AppContext& ctx, const std::string& path) {
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
    if (!page.IsActive()) CannotDraw(path);
    DrawPrinterPage(ctx, page);
  }
  return bytes;
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
    if (!page.IsActive()) CannotDraw(path);
    draw(page);
    page.End();
  }
  Save({path}, {bytes});
}

std::vector<std::string> WritePages(AppContext& ctx, const PageRequest& request) {
  // As printing does: a printed puzzle always has its blanks filled.
  if (ctx.state.BlanksFilled == kFalse) FillInBlanks(ctx);
  if (request.Kind == PageRequest::Format::Html) {  // text of our own: nothing to draw
    const std::string page = WebPage(ctx);
    Save({request.Path}, {QByteArray(page.data(), static_cast<qsizetype>(page.size()))});
    return {request.Path};
  }
  auto application = StartDrawing();
  const std::vector<std::string> paths = PagePaths(request);
  if (request.Kind == PageRequest::Format::Pdf) {
    WritePdf(ctx, request);
    return paths;
  }
  // Every file is drawn before any is saved, so a page that cannot be drawn leaves them all.
  const auto draw = request.Kind == PageRequest::Format::Png ? DrawPng : DrawSvg;
  std::vector<QByteArray> files{draw(ctx, paths[0])};
  if (request.AnswerKey) WithAnswerKey(ctx, [&] { files.push_back(draw(ctx, paths[1])); });
  Save(paths, files);
  return paths;
}

}  // namespace kivrel
