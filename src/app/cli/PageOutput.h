#pragma once
// Printed pages without a printer, with the print options taken from the command line:
// the print command, and build and booklet when they are asked for a page. The files
// are written by WritePages (print/PageFiles.h), drawn with Qt.
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Cli.h"
#include "print/PageFiles.h"
#include "program/AppContext.h"

namespace kivrel::cli {

/// The page options (print, build, booklet), and the print command's options and help.
std::vector<OptionInfo> PageOptions();
const CommandInfo& PrintCommand();

/// The command "print PUZZLE.kvp" with the page options: names the files written.
int Print(Args& args, std::ostream& out);

/// The page as the command line sets it: the print options as the print options dialog
/// would set them, and the fonts given (by font table slot).
struct PageSettings {
  PrintOptions Print;
  std::vector<std::pair<int, FontRecord>> Fonts;
  /// Gives a started program these options and fonts.
  void ApplyTo(AppContext& ctx) const;
};

/// Takes the page options out of args (see PageOptions) into `page`. Returns the output
/// file asked for (one of --pdf/--png/--svg/--html), or nothing when none is, and then
/// none of the other page options may be given.
std::optional<PageRequest> TakePageOptions(const Args& args, PageSettings& page);

/// WritePages, drawn with Qt, and a line on stderr when the word list had no room on
/// the page and was left off it. UsageError naming the file when one cannot be written.
std::vector<std::string> WritePageFiles(AppContext& ctx, const PageRequest& request);

}  // namespace kivrel::cli
