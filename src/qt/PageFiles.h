#pragma once
// Printed pages without a printer: the printer run drawn on a Letter page (8.5 x 11
// inches) into a PDF, PNG or SVG file, or the puzzle as a web page. kivrel-cli's print and build commands and the
// window's Export Page command write through here. Each file is drawn in memory and
// then saved through a temporary file, so a failed write leaves the old file whole.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "print/PageFiles.h"
#include "program/AppContext.h"

namespace kivrel {

class QtSurface;

/// A page file that could not be written; the message names it.
class PageFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Prints the puzzle of ctx as the print command does (blanks filled first when they
/// are not) and writes the pages. Returns the files written; PageFileError when a file
/// cannot be written. Starts Qt's offscreen platform when no platform is chosen and no
/// application runs.
std::vector<std::string> WritePages(AppContext& ctx, const PageRequest& request);

/// Writes a PDF of Letter pages at the resolution of Qt's printers: `draw` paints the
/// pages on the surface, calling QtSurface::NewPage between them. PageFileError when
/// the file cannot be written. Starts the offscreen platform as WritePages does.
void WritePdfDocument(const std::string& path, const std::string& title, const std::function<void(QtSurface&)>& draw);

}  // namespace kivrel
