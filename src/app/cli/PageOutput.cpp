#include "PageOutput.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <iostream>
#include <memory>

#include "build/FillInBlanks.h"
#include "model/Numbers.h"
#include "platform/qt/QtSurface.h"
#include "print/PageDrawing.h"

namespace kivrel::cli {

const char* const kPageOptionsUsage =
    "Page options (print, build):\n"
    "  --pdf FILE | --png FILE | --svg FILE\n"
    "                      draw the printed page on Letter paper (8.5 x 11 in) into a PDF,\n"
    "                      a PNG (300 dots per inch) or an SVG file; blanks are filled first\n"
    "  --answer-key        add the answer key, the words outlined and no fill letters: a\n"
    "                      second PDF page, or a second file FILE-key.png / FILE-key.svg\n"
    "  --outline           outline the words on the page\n"
    "  --no-word-list      leave the word list off the page\n"
    "  --no-instructions   leave the instructions off the page\n"
    "  --title-align left|center|right       the title's place (default center)\n"
    "  --puzzle-position top|middle|bottom   the grid's place (default top)\n"
    "  --margins T,B,L,R   top, bottom, left and right margins in inches (default 1,1,1,1)\n";

namespace {

constexpr int kPdfDotsPerInch = 1200;  // what Qt's printers draw at
constexpr int kPngDotsPerInch = 300;
constexpr int kLetterWidthTwips = 12240;
constexpr int kLetterHeightTwips = 15840;

Align ParseAlign(const std::string& value) {
  if (value == "left") return Align::Left;
  if (value == "center" || value == "centre") return Align::Center;
  if (value == "right") return Align::Right;
  throw UsageError("--title-align takes left, center or right, not \"" + value + "\"");
}

void ApplyPuzzlePosition(const std::string& value, PrintOptions& o) {
  // The word list follows the puzzle as the print options dialog arranges it: below a
  // grid at the top or in the middle, above one at the bottom.
  if (value == "top" || value == "middle") {
    o.PuzzleVertical = value == "top" ? VerticalPlace::Top : VerticalPlace::Middle;
    o.Below = 1;
    o.Above = 0;
  } else if (value == "bottom") {
    o.PuzzleVertical = VerticalPlace::Bottom;
    o.Above = 1;
    o.Below = o.Left = o.Right = 0;
  } else {
    throw UsageError("--puzzle-position takes top, middle or bottom, not \"" + value + "\"");
  }
}

void ApplyMargins(const std::string& value, PrintOptions& o) {
  const std::string error = "--margins takes four numbers of inches, top,bottom,left,right, not \"" + value + "\"";
  std::string rest = value;
  for (int i = 0; i < 4; ++i) {
    std::size_t comma = rest.find(',');
    if ((comma == std::string::npos) != (i == 3)) throw UsageError(error);
    std::string field = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    if (!IsNumeric(field) || Val(field) < 0) throw UsageError(error);
    o.Margins[static_cast<std::size_t>(i)] = FormatMargin(Val(field)) + std::string(kInchMark);
  }
}

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

// "page.png" -> "page-key.png".
std::string KeyPath(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "-key";
  return path.substr(0, dot) + "-key" + path.substr(dot);
}

// The answer key: the outlines on and the cells no word uses left blank. The puzzle
// and the options are as they were afterwards.
template <typename Draw>
void DrawAnswerKey(AppContext& ctx, Draw draw) {
  PuzzleState& s = ctx.state;
  const LetterGrid grid = s.Grid;
  const PrintOptions options = ctx.print;
  const i16 outlines = s.OutlinesShown;
  for (int r = 1; r <= s.Grid.Height(); ++r) {
    for (int c = 1; c <= s.Grid.Width(); ++c) {
      if (s.Grid.At(r, c).UseCount == 0) s.Grid.At(r, c).Letter = " ";
    }
  }
  ctx.print.OutlineWords = 1;
  draw();
  s.Grid = grid;
  ctx.print = options;
  s.OutlinesShown = outlines;
}

void WritePdf(AppContext& ctx, const PageRequest& request) {
  QPdfWriter writer(QString::fromStdString(request.Path));
  writer.setResolution(kPdfDotsPerInch);
  writer.setPageSize(QPageSize(QPageSize::Letter));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setCreator(QStringLiteral("Kivrel"));
  writer.setTitle(QString::fromStdString(ctx.AttributesForm().Text("txtPuzName")));
  QtSurface page(&writer);
  if (!page.IsActive()) throw UsageError("cannot write \"" + request.Path + "\"");
  DrawPrinterPage(ctx, page);
  if (request.AnswerKey) {
    DrawAnswerKey(ctx, [&] {
      page.NewPage();
      DrawPrinterPage(ctx, page);
    });
  }
  page.End();
}

void WritePng(AppContext& ctx, const std::string& path) {
  QtImageSurface page(kLetterWidthTwips, kLetterHeightTwips, kPngDotsPerInch);
  DrawPrinterPage(ctx, page);
  page.End();
  if (!page.Image().save(QString::fromStdString(path), "PNG")) throw UsageError("cannot write \"" + path + "\"");
}

void WriteSvg(AppContext& ctx, const std::string& path) {
  QSvgGenerator svg;
  svg.setFileName(QString::fromStdString(path));
  svg.setResolution(kPdfDotsPerInch);
  svg.setSize(QSize(kLetterWidthTwips * kPdfDotsPerInch / 1440, kLetterHeightTwips * kPdfDotsPerInch / 1440));
  svg.setViewBox(QRect(QPoint(0, 0), svg.size()));
  svg.setTitle(QString::fromStdString(ctx.AttributesForm().Text("txtPuzName")));
  {
    QtSurface page(&svg);
    if (!page.IsActive()) throw UsageError("cannot write \"" + path + "\"");
    DrawPrinterPage(ctx, page);
  }
  if (!QFileInfo(QString::fromStdString(path)).isFile()) throw UsageError("cannot write \"" + path + "\"");
}

}  // namespace

std::optional<PageRequest> TakePageOptions(Args& args, PrintOptions& options) {
  std::optional<PageRequest> request;
  const std::pair<const char*, PageRequest::Format> outputs[] = {
      {"--pdf", PageRequest::Format::Pdf}, {"--png", PageRequest::Format::Png}, {"--svg", PageRequest::Format::Svg}};
  for (const auto& [flag, format] : outputs) {
    if (auto path = args.Value(flag)) {
      if (request) throw UsageError("give only one of --pdf, --png and --svg");
      request = PageRequest{format, *path, false};
    }
  }
  const bool answer_key = args.Flag("--answer-key");
  const bool outline = args.Flag("--outline");
  const bool no_word_list = args.Flag("--no-word-list");
  const bool no_instructions = args.Flag("--no-instructions");
  const auto title_align = args.Value("--title-align");
  const auto position = args.Value("--puzzle-position");
  const auto margins = args.Value("--margins");
  if (!request) {
    if (answer_key || outline || no_word_list || no_instructions || title_align || position || margins) {
      throw UsageError("the page options need an output file: --pdf, --png or --svg");
    }
    return std::nullopt;
  }
  request->AnswerKey = answer_key;
  options.OutlineWords = outline ? 1 : 0;
  options.PrintWordList = no_word_list ? 0 : 1;
  options.PrintInstructions = no_instructions ? 0 : 1;
  if (title_align) options.TitleAlign = ParseAlign(*title_align);
  if (position) ApplyPuzzlePosition(*position, options);
  if (margins) ApplyMargins(*margins, options);
  return request;
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
        DrawAnswerKey(ctx, [&] { WritePng(ctx, written.back()); });
      }
      break;
    case PageRequest::Format::Svg:
      WriteSvg(ctx, request.Path);
      if (request.AnswerKey) {
        written.push_back(KeyPath(request.Path));
        DrawAnswerKey(ctx, [&] { WriteSvg(ctx, written.back()); });
      }
      break;
  }
  // The page is still written, without the list, as the print options dialog shows it.
  if (!ctx.printed.ListFits) std::cerr << "kivrel-cli: " << kListTooLongText << ": it is left off the page\n";
  return written;
}

}  // namespace kivrel::cli
