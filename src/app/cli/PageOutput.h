#pragma once
// Printed pages without a printer: the printer run drawn on a Letter page (8.5 x 11
// inches) into a PDF, PNG or SVG file, with the print options taken from the command
// line: the print command, and build when it is asked for a page.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "program/AppContext.h"

namespace kivrel::cli {

struct PageRequest {
  enum class Format { Pdf, Png, Svg };
  Format Kind = Format::Pdf;
  std::string Path;
  /// A second page with the outlines on and no fill letters (for PNG and SVG a second
  /// file, named like the first with "-key" before the extension).
  bool AnswerKey = false;
};

/// The page options (print, build), and the print command's options and help.
std::vector<OptionInfo> PageOptions();
const CommandInfo& PrintCommand();

/// The command "print PUZZLE.kvp" with the page options: names the files written.
int Print(Args& args, std::ostream& out);

/// Takes the page options out of args: one of --pdf/--png/--svg FILE, --answer-key,
/// --outline, --no-word-list, --no-instructions, --title-align left|center|right,
/// --puzzle-position top|middle|bottom, --margins T,B,L,R (inches), applied to
/// `options` as the print options dialog would set them. Returns nothing when no output
/// file is asked for (and then none of the other page options may be given).
std::optional<PageRequest> TakePageOptions(const Args& args, PrintOptions& options);

/// The files a request writes: its path, and for PNG and SVG with the answer key the
/// key's file.
std::vector<std::string> PagePaths(const PageRequest& request);

/// Prints the puzzle of ctx as the print command does (blanks filled first when they
/// are not) and writes the pages. Every page is drawn in memory first and each file
/// saved through a temporary file, so a file that cannot be written whole is left as
/// it was. Returns the files written; UsageError when a file cannot be written. Starts
/// Qt's offscreen platform when no platform is chosen.
std::vector<std::string> WritePages(AppContext& ctx, const PageRequest& request);

}  // namespace kivrel::cli
