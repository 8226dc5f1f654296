#include "print/PageFiles.h"

#include <cctype>

#include "engine/FillInBlanks.h"

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

}  // namespace kivrel
