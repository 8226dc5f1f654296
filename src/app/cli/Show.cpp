// kivrel-cli show, and saving a built puzzle: the puzzle file from the command line.
#include <ostream>

#include "Cli.h"
#include "PuzzleJson.h"
#include "PuzzleText.h"
#include "commands/PuzzleCommands.h"
#include "files/FileIO.h"
#include "files/PuzzleFile.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"

namespace kivrel::cli {

void SavePuzzle(const PuzzleState& state, const std::string& path) {
  std::string error;
  std::optional<std::string> bytes = EncodePuzzleFile(PuzzleFileFromState(state), &error);
  if (!bytes) throw UsageError(path + ": " + kPuzzleSaveErrorMessage + " (" + error + ")");
  switch (SaveFileAtomically(path, *bytes)) {
    case SaveResult::Saved:
      return;
    case SaveResult::CannotOpen:
      throw UsageError("cannot write \"" + path + "\"");
    case SaveResult::WriteFailed:
      throw UsageError(path + ": " + kPuzzleSaveErrorMessage);
  }
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
    WritePuzzleText(out, ctx.state, std::nullopt);
  }
  return kExitOk;
}

}  // namespace kivrel::cli
