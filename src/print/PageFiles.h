#pragma once
// Printed pages written to files instead of a printer: which pages (the page as it
// prints, and the answer key when asked for), the files they go to, and saving them
// whole and together. The platform's PageFileDevice only draws the bytes; a web page is
// text of our own (print/WebPage.h).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/FileResult.h"
#include "platform/PageFileDevice.h"
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

/// Draws the pages of a document: on `page`, calling `new_page` between two pages.
using PageDrawer = std::function<void(Surface& page, const std::function<void()>& new_page)>;

/// The bytes of a document on `paper` drawn on the device. CannotDraw, naming `path`,
/// when the device cannot draw it.
FileResult<std::string> DrawDocument(PageFileDevice& device, PageFormat format, const PaperSize& paper,
                                     const std::string& title, const std::string& path, const PageDrawer& draw);

/// Prints the puzzle of ctx into the files of the request as the print command prints
/// it (blanks filled first when they are not), on the paper of the print options,
/// drawn by ctx.page_files: the page, and
/// with the answer key a second PDF page or a second file; or writes the web page. Every
/// file is made first and then they are saved together (SaveFilesTogether), so a file
/// that cannot be written leaves all of them as they were. Returns the files written.
FileResult<std::vector<std::string>> WritePages(AppContext& ctx, const PageRequest& request);

/// The line that tells the user why page files were not written, naming the file:
/// "cannot write "page.pdf": Is a directory", "error while writing "page-key.png": No
/// space left on device (any file that was there is unchanged)".
std::string PageFileFailureText(const FileError& error);

}  // namespace kivrel
