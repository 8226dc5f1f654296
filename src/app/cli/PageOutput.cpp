#include "PageOutput.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <memory>

#include "build/FillInBlanks.h"
#include "files/FileIO.h"
#include "forms/PrintOptionsDialog.h"
#include "model/Numbers.h"
#include "platform/qt/QtSurface.h"
#include "print/PageDrawing.h"

namespace kivrel::cli {

std::vector<OptionInfo> PageOptions() {
  return {
      {"pdf", "FILE", "draw the printed page on Letter paper (8.5 x 11 in) into a PDF; blanks are filled first"},
      {"png", "FILE", "the page as a PNG image (300 dots per inch)"},
      {"svg", "FILE", "the page as an SVG drawing"},
      {"answer-key", "",
       "add the answer key, the words outlined and no fill letters: a second PDF page, or a second file "
       "FILE-key.png / FILE-key.svg",
       0},
      {"outline", "", "outline the words on the page", 0},
      {"no-word-list", "", "leave the word list off the page", 0},
      {"no-instructions", "", "leave the instructions off the page", 0},
      {"title-align", "left|center|right", "the title's place (default center)"},
      {"puzzle-position", "top|middle|bottom", "the grid's place (default top)"},
      {"margins", "T,B,L,R", "top, bottom, left and right margins in inches (default 1,1,1,1)"},
  };
}

const CommandInfo& PrintCommand() {
  static const CommandInfo info = [] {
    CommandInfo c;
    c.Name = "print";
    c.Arguments = "PUZZLE.kvp (--pdf FILE | --png FILE | --svg FILE)";
    c.About =
        "Draws the page of a puzzle file as Print in the window prints it, on a Letter page,\n"
        "into a file, and names the files written. The blanks of a puzzle saved without its\n"
        "fill letters are filled first, with random letters.\n";
    c.Options = PageOptions();
    c.Options.push_back({"seed", "N", "the random seed of those fill letters"});
    return c;
  }();
  return info;
}

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
  double inches[4] = {};
  for (int i = 0; i < 4; ++i) {
    std::size_t comma = rest.find(',');
    if ((comma == std::string::npos) != (i == 3)) throw UsageError(error);
    std::string field = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    if (!IsNumeric(field) || Val(field) < 0) throw UsageError(error);
    inches[i] = Val(field);
    if (inches[i] > kLargestMarginInches) {
      throw UsageError("--margins: a margin may be at most 22.75 inches, not \"" + field + "\"");
    }
  }
  // What the page keeps between the margins must hold something.
  if (inches[0] + inches[1] >= kLetterHeightTwips / 1440.0 || inches[2] + inches[3] >= kLetterWidthTwips / 1440.0) {
    throw UsageError("--margins " + value + " leave no room on the 8.5 x 11 inch page");
  }
  for (int i = 0; i < 4; ++i) o.Margins[static_cast<std::size_t>(i)] = FormatMargin(inches[i]) + std::string(kInchMark);
}

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

// "page.png" -> "page-key.png".
std::string KeyPath(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "-key";
  return path.substr(0, dot) + "-key" + path.substr(dot);
}

// The answer key: the outlines on and the cells no word uses left blank, but for the
// letters of the hidden message, which the key shows where they stand. The puzzle and
// the options are as they were afterwards.
template <typename Draw>
void DrawAnswerKey(AppContext& ctx, Draw draw) {
  PuzzleState& s = ctx.state;
  const LetterGrid grid = s.Grid;
  const PrintOptions options = ctx.print;
  const i16 outlines = s.OutlinesShown;
  const std::vector<std::pair<int, int>> unused = UnusedCells(s.Grid);
  for (std::size_t i = QuoteLetters(s).size(); i < unused.size(); ++i) {
    s.Grid.At(unused[i].first, unused[i].second).Letter = " ";
  }
  ctx.print.OutlineWords = 1;
  draw();
  s.Grid = grid;
  ctx.print = options;
  s.OutlinesShown = outlines;
}

// A page drawn in memory, to be saved as a whole.
struct PageFile {
  std::string Path;
  QByteArray Bytes;
};

PageFile DrawPdf(AppContext& ctx, const PageRequest& request) {
  PageFile file{request.Path, {}};
  QBuffer buffer(&file.Bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Kivrel"));
    writer.setTitle(QString::fromStdString(ctx.AttributesForm().Text("txtPuzName")));
    QtSurface page(&writer);
    if (!page.IsActive()) throw UsageError("cannot draw the page for \"" + request.Path + "\"");
    DrawPrinterPage(ctx, page);
    if (request.AnswerKey) {
      DrawAnswerKey(ctx, [&] {
        page.NewPage();
        DrawPrinterPage(ctx, page);
      });
    }
    page.End();
  }
  return file;
}

PageFile DrawPng(AppContext& ctx, const std::string& path) {
  QtImageSurface page(kLetterWidthTwips, kLetterHeightTwips, kPngDotsPerInch);
  DrawPrinterPage(ctx, page);
  page.End();
  PageFile file{path, {}};
  QBuffer buffer(&file.Bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!page.Image().save(&buffer, "PNG")) throw UsageError("cannot draw the page for \"" + path + "\"");
  return file;
}

PageFile DrawSvg(AppContext& ctx, const std::string& path) {
  PageFile file{path, {}};
  QBuffer buffer(&file.Bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(kPdfDotsPerInch);
  svg.setSize(QSize(kLetterWidthTwips * kPdfDotsPerInch / 1440, kLetterHeightTwips * kPdfDotsPerInch / 1440));
  svg.setViewBox(QRect(QPoint(0, 0), svg.size()));
  svg.setTitle(QString::fromStdString(ctx.AttributesForm().Text("txtPuzName")));
  {
    QtSurface page(&svg);
    if (!page.IsActive()) throw UsageError("cannot draw the page for \"" + path + "\"");
    DrawPrinterPage(ctx, page);
  }
  return file;
}

void Save(const PageFile& file) {
  std::string why;
  switch (SaveFileAtomically(file.Path, std::string_view(file.Bytes.constData(), file.Bytes.size()), &why)) {
    case SaveResult::Saved:
      return;
    case SaveResult::CannotOpen:
      throw UsageError("cannot write \"" + file.Path + "\": " + why);
    case SaveResult::WriteFailed:
      throw UsageError("error while writing \"" + file.Path + "\": " + why + " (any file that was there is unchanged)");
  }
}

}  // namespace

std::optional<PageRequest> TakePageOptions(const Args& args, PrintOptions& options) {
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

std::vector<std::string> PagePaths(const PageRequest& request) {
  std::vector<std::string> paths{request.Path};
  if (request.AnswerKey && request.Kind != PageRequest::Format::Pdf) paths.push_back(KeyPath(request.Path));
  return paths;
}

std::vector<std::string> WritePages(AppContext& ctx, const PageRequest& request) {
  // As printing does: a printed puzzle always has its blanks filled.
  if (ctx.state.BlanksFilled == kFalse) FillInBlanks(ctx);
  auto application = StartDrawing();
  const std::vector<std::string> paths = PagePaths(request);
  std::vector<PageFile> files;
  switch (request.Kind) {
    case PageRequest::Format::Pdf:
      files.push_back(DrawPdf(ctx, request));
      break;
    case PageRequest::Format::Png:
      files.push_back(DrawPng(ctx, paths[0]));
      if (request.AnswerKey) DrawAnswerKey(ctx, [&] { files.push_back(DrawPng(ctx, paths[1])); });
      break;
    case PageRequest::Format::Svg:
      files.push_back(DrawSvg(ctx, paths[0]));
      if (request.AnswerKey) DrawAnswerKey(ctx, [&] { files.push_back(DrawSvg(ctx, paths[1])); });
      break;
  }
  for (const PageFile& file : files) Save(file);
  return paths;
}

}  // namespace kivrel::cli
