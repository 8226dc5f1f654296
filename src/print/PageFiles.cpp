#include "print/PageFiles.h"

#include <cctype>

#include "display/FillLetters.h"
#include "files/FileIO.h"
#include "print/PageDrawing.h"
#include "print/WebPage.h"

namespace kivrel {

std::string KeyPath(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "-key";
  return path.substr(0, dot) + "-key" + path.substr(dot);
}

std::vector<std::string> PagePaths(const PageRequest& request) {
  std::vector<std::string> paths{request.Path};
  if (request.AnswerKey && (request.Kind == PageRequest::Format::Png || request.Kind == PageRequest::Format::Svg)) {
    paths.push_back(KeyPath(request.Path));
  }
  return paths;
}

std::optional<PageRequest::Format> FormatOfPath(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "pdf") return PageRequest::Format::Pdf;
  if (extension == "png") return PageRequest::Format::Png;
  if (extension == "svg") return PageRequest::Format::Svg;
  if (extension == "html" || extension == "htm") return PageRequest::Format::Html;
  return std::nullopt;
}

void WithAnswerKey(AppContext& ctx, const std::function<void()>& draw) {
  // Put back even when drawing fails: the window goes on showing this puzzle.
  struct Restore {
    AppContext& ctx;
    const LetterGrid grid = ctx.state.Grid;
    const PrintOptions options = ctx.print;
    const i16 outlines = ctx.state.OutlinesShown;
    ~Restore() {
      ctx.state.Grid = grid;
      ctx.print = options;
      ctx.state.OutlinesShown = outlines;
    }
  } restore{ctx};
  PuzzleState& s = ctx.state;
  const std::vector<std::pair<int, int>> unused = UnusedCells(s.Grid);
  for (std::size_t i = QuoteLetters(s).size(); i < unused.size(); ++i) {
    s.Grid.At(unused[i].first, unused[i].second).Letter = " ";
  }
  ctx.print.OutlineWords = 1;
  draw();
}

FileResult<std::string> DrawDocument(PageFileDevice& device, PageFormat format, const PaperSize& paper,
                                     const std::string& title, const std::string& path, const PageDrawer& draw) {
  const FileError cannot_draw(FileFault::CannotDraw, {}, path);
  Surface* page = device.BeginDocument(format, title, paper);
  if (!page) return cannot_draw;
  draw(*page, [&device] { device.NewPage(); });
  std::string bytes = device.EndDocument();
  if (bytes.empty()) return cannot_draw;
  return bytes;
}

namespace {

// What the device draws for a printed page's kind.
PageFormat DrawnFormat(PageRequest::Format kind) {
  switch (kind) {
    case PageRequest::Format::Png:
      return PageFormat::Png;
    case PageRequest::Format::Svg:
      return PageFormat::Svg;
    default:
      return PageFormat::Pdf;
  }
}

}  // namespace

FileResult<std::vector<std::string>> WritePages(AppContext& ctx, const PageRequest& request) {
  const std::vector<std::string> paths = PagePaths(request);
  const bool web_page = request.Kind == PageRequest::Format::Html;  // text of our own: nothing to draw
  if (!web_page && !ctx.page_files) return FileError(FileFault::CannotDraw, {}, request.Path);
  // As printing does: a printed puzzle always has its blanks filled.
  if (ctx.state.BlanksFilled == kFalse) FillInBlanks(ctx);
  const std::string title = ctx.AttributesForm().Text(frmAttributes::txtPuzName);
  auto draw = [&](const std::string& path, const PageDrawer& pages) {
    return DrawDocument(*ctx.page_files, DrawnFormat(request.Kind), ctx.print.Paper, title, path, pages);
  };

  // Every file is made before any is saved: a page that cannot be drawn leaves them all.
  std::vector<FileResult<std::string>> files;
  if (web_page) {
    files.push_back(WebPage(ctx));
  } else if (request.Kind == PageRequest::Format::Pdf) {
    files.push_back(draw(paths[0], [&](Surface& page, const std::function<void()>& new_page) {
      DrawPaperPage(ctx, page);
      if (request.AnswerKey) {
        WithAnswerKey(ctx, [&] {
          new_page();
          DrawPaperPage(ctx, page);
        });
      }
    }));
  } else {
    auto one_page = [&](Surface& page, const std::function<void()>&) { DrawPaperPage(ctx, page); };
    files.push_back(draw(paths[0], one_page));
    if (request.AnswerKey && files[0]) WithAnswerKey(ctx, [&] { files.push_back(draw(paths[1], one_page)); });
  }

  std::vector<FileToSave> saves;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i]) return files[i].Error();
    saves.push_back({paths[i], *files[i]});
  }
  if (FileResult<void> saved = SaveFilesTogether(saves); !saved) return saved.Error();
  return paths;
}

std::string PageFileFailureText(const FileError& error) {
  const std::string file = "\"" + error.Path + "\"";
  switch (error.Fault) {
    case FileFault::CannotDraw:
      return "cannot draw the page for " + file;
    case FileFault::WriteFailed:
      return "error while writing " + file + ": " + error.Reason + " (any file that was there is unchanged)";
    case FileFault::PartlyReplaced:
      return "error while writing " + file + ": " + error.Reason + " (the files before it were already replaced)";
    case FileFault::CannotOpen:
    case FileFault::Invalid:
      break;
  }
  return "cannot write " + file + ": " + error.Reason;
}

}  // namespace kivrel
