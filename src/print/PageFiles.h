#pragma once
// Printed pages written to files instead of a printer: what is asked for (the file, its
// kind, whether the answer key follows) and the answer key's drawing state. The files
// themselves are drawn by the platform (qt/PageFiles.h); a web page is written by
// print/WebPage.h.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "program/AppContext.h"

namespace kivrel {

struct PageRequest {
  /// Html: the web page to solve on screen, which shows its own answers (no key file).
  enum class Format { Pdf, Png, Svg, Html };
  Format Kind = Format::Pdf;
  std::string Path;
  /// A second page with the outlines on and no fill letters (for PNG and SVG a second
  /// file, named like the first with "-key" before the extension).
  bool AnswerKey = false;
};

/// "page.png" -> "page-key.png": the file of the answer key beside a PNG or SVG page.
std::string KeyPath(const std::string& path);

/// The files a request writes: its path, and for PNG and SVG with the answer key the
/// key's file.
std::vector<std::string> PagePaths(const PageRequest& request);

/// The kind of page file a name asks for by its extension (.pdf, .png, .svg, or .html
/// and .htm, in any case), or nothing.
std::optional<PageRequest::Format> FormatOfPath(const std::string& path);

/// Runs `draw` with the puzzle of ctx as its answer key: the outlines on and the cells
/// no word uses left blank, but for the letters of the hidden message, which the key
/// shows where they stand. The grid and the print options are as they were afterwards.
void WithAnswerKey(AppContext& ctx, const std::function<void()>& draw);

}  // namespace kivrel
