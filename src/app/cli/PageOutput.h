#pragma once
// Printed pages without a printer, with the print options taken from the command line:
// the print command, and build when it is asked for a page. The files are written by
// WritePages (print/PageFiles.h), drawn with Qt.
#include <iosfwd>
#include <optional>
#include <string>

#include "Cli.h"
#include "print/PageFiles.h"
#include "program/AppContext.h"

namespace kivrel::cli {

/// The page options (print, build, booklet), and the print command's options and help.
std::vector<OptionInfo> PageOptions();
const CommandInfo& PrintCommand();

/// The command "print PUZZLE.kvp" with the page options: names the files written.
int Print(Args& args, std::ostream& out);

/// Takes the page options out of args: one of --pdf/--png/--svg/--html FILE, --answer-key,
/// --outline, --no-word-list, --no-instructions, --title-align left|center|right,
/// --puzzle-position top|middle|bottom, --margins T,B,L,R (inches), applied to
/// `options` as the print options dialog would set them. Returns nothing when no output
/// file is asked for (and then none of the other page options may be given).
std::optional<PageRequest> TakePageOptions(const Args& args, PrintOptions& options);

/// WritePages, drawn with Qt, and a line on stderr when the word list had no room on
/// the page and was left off it. UsageError naming the file when one cannot be written.
std::vector<std::string> WritePageFiles(AppContext& ctx, const PageRequest& request);

}  // namespace kivrel::cli
