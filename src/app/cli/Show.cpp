// kivrel-cli show, and saving a built puzzle: the puzzle file from the command line.
#include <ostream>

#include "Cli.h"
#include "PuzzleJson.h"
#include "PuzzleText.h"
#include "commands/PuzzleCommands.h"
#include "files/Cp1252.h"
#include "files/FileIO.h"
#include "files/PuzzleFile.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"

namespace kivrel::cli {

const CommandInfo& ShowCommand() {
  static const CommandInfo info{"show",
                                "PUZZLE.kvp",
                                "Reads a puzzle file and prints it as build does.\n",
                                {{"json", "", "the puzzle as one JSON object", 0}},
                                ""};
  return info;
}

void SavePuzzleOutput(const PuzzleState& state, const std::string& path, std::ostream& err) {
  const PuzzleFile file = PuzzleFileFromState(state);
  const FileResult<std::string> bytes = EncodePuzzleFile(file);
  if (!bytes) throw UsageError(path + ": " + kPuzzleSaveErrorMessage + " (" + bytes.Error().Reason + ")");
  const std::string unstorable = UnstorableCharacters(PuzzleFileTexts(file));
  if (!unstorable.empty()) {
    err << "kivrel-cli: warning: " << path << " is written in code page 1252, which cannot hold "
        << Printable(unstorable) << ": they are written as \"?\"\n";
  }
  const FileResult<void> saved = SaveFileAtomically(path, *bytes);
  if (saved) return;
  const std::string& why = saved.Error().Reason;
  if (saved.Error().Fault == FileFault::CannotOpen) throw UsageError("cannot write \"" + path + "\": " + why);
  throw UsageError(path + ": " + kPuzzleSaveErrorMessage + ": " + why + " (any file that was there is unchanged)");
}

int Show(Args& args, std::ostream& out) {
  const bool json = args.Flag("--json");
  const std::string path = args.Positional("puzzle file");
  args.Finish();
  const std::string bytes = ReadPuzzleFileBytes(path);
  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  ReadPuzzleFile(ctx, path, bytes);
  if (json) {
    WritePuzzleJson(out, ctx.state, std::nullopt);
  } else {
    WritePuzzleText(out, ctx, std::nullopt);
  }
  return kExitOk;
}

}  // namespace kivrel::cli
