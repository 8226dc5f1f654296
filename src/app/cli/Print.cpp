// kivrel-cli print: a puzzle file's printed page, drawn into a file instead of a printer.
#include <ostream>

#include "Cli.h"
#include "PageOutput.h"
#include "commands/PuzzleCommands.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"

namespace kivrel::cli {

int Print(Args& args, std::ostream& out) {
  PageSettings page_settings;
  const auto page = TakePageOptions(args, page_settings);
  const auto seed = args.Number("--seed", 0, kLargestSeed);
  const std::string path = args.Positional("puzzle file");
  args.Finish();
  if (!page) throw UsageError("print needs an output file: --pdf, --png, --svg or --html");
  CheckOutputFiles({path}, PagePaths(*page));
  const std::string bytes = ReadPuzzleFileBytes(path);

  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  StartUp(ctx, FirstSeed(seed));
  ReadPuzzleFile(ctx, path, bytes);
  // Earlier versions could save larger grids; their page would be cut off.
  const LetterGrid& grid = ctx.state.Grid;
  if (grid.Width() > kLargestSide || grid.Height() > kLargestSide) {
    throw UsageError(path + ": a " + std::to_string(grid.Width()) + " x " + std::to_string(grid.Height()) +
                     " puzzle does not fit a page; the largest is " + std::to_string(kLargestSide) + " x " +
                     std::to_string(kLargestSide));
  }
  page_settings.ApplyTo(ctx);
  TakeLetterCase(args, ctx);
  for (const std::string& file : WritePageFiles(ctx, *page)) out << Printable(file) << "\n";
  return kExitOk;
}

}  // namespace kivrel::cli
