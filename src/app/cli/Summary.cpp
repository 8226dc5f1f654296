#include <ostream>

#include "Cli.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"
#include "program/WordTable.h"

namespace kivrel::cli {

const CommandInfo& SummaryCommand() {
  static const CommandInfo info{
      "summary",
      "LIST",
      std::string(
          "Reads a word list (.kvl or .txt) and shows its entries, longest word, letters and\ndefault puzzle size.\n") +
          kThemesHelp,
      {},
      ""};
  return info;
}

int Summary(Args& args, std::ostream& out) {
  const std::string path = WordListPath(args.Positional("word list file"));
  args.Finish();
  const ParsedWordList parsed = ReadWordListArgument(path);

  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  std::string error;
  if (!LoadWordList(ctx, parsed, &error)) throw UsageError(path + ": " + error);

  const PuzzleState& s = ctx.state;
  out << "Title:      " << Printable(s.PuzzleTitle) << "\n";
  out << "Entries:    " << s.WordCount << "\n";
  out << "Longest:    " << Printable(s.LongestWordIndex > 0 ? s.Words[s.LongestWordIndex].Text : std::string("-"))
      << " (" << s.LongestWordLength << " letters)\n";
  out << "Letters:    " << s.LetterCount << "\n";
  PuzzleState sized = s;
  sized.PuzzleWidth = sized.PuzzleHeight = 0;
  ComputeDefaultDimensions(sized);
  if (parsed.RefusedSize.empty()) {
    out << "Size:       " << s.PuzzleWidth << " x " << s.PuzzleHeight << " (from the list's header)\n";
  } else {
    out << "Size:       refused: the header asks for " << Printable(parsed.RefusedSize) << " (the largest is "
        << kLargestSide << " x " << kLargestSide << ")\n";
  }
  if (sized.PuzzleWidth == 0) {
    out << "Default:    none (no size up to 99 x 99 holds the list)\n";
  } else {
    out << "Default:    " << sized.PuzzleWidth << " x " << sized.PuzzleHeight << "\n";
  }
  return kExitOk;
}

}  // namespace kivrel::cli
