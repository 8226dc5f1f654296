// Fuzz target: the puzzle file reader. The check of a file's head refuses exactly what
// the reader refuses from the header and the size. Whatever the reader accepts must
// write back as a file that reads as the same puzzle and is the same bytes, go on
// screen through the Open Puzzle steps, and keep every placed word and every cell's
// word references inside the grid and the word table.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands/PuzzleCommands.h"
#include "files/PuzzleFile.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kivrel;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t consumed = 0;
  const auto file = ParsePuzzleFile(bytes, &consumed);
  const FileHeadCheck head = PuzzleFileHeadCheck();
  const auto checked = head.Check(bytes.substr(0, head.HeadBytes), size);
  if (!checked) {
    // Refused from the head: refused the same way from the whole file.
    Require(!file && file.Error().Reason == checked.Error().Reason && file.Error().Offset == checked.Error().Offset);
  }
  if (!file) {
    Require(file.Error().Fault == FileFault::Invalid && !file.Error().Reason.empty() && file.Error().Offset <= size);
    return 0;
  }
  const auto written = EncodePuzzleFile(*file);
  Require(static_cast<bool>(written));
  std::size_t rewritten = 0;
  const auto again = ParsePuzzleFile(*written, &rewritten);
  Require(again && *again == *file && rewritten == written->size());
  Require(*written == bytes.substr(0, consumed));

  HeadlessProgram program;
  AppContext& ctx = program.ctx;
  Require(ReadPuzzleFile(ctx, "fuzz.kvp", bytes));
  Require(program.dialogs.messages.empty());

  // Grid.At and Words.at throw on a bad index, which ends the run as a crash.
  const PuzzleState& s = ctx.state;
  for (const WordRecord& word : s.Words) {
    if (word.Status != kStatusPlaced) continue;
    for (int i = 0; i < word.Length; ++i) {
      s.Grid.At(word.StartRow + i * kRowSteps[static_cast<std::size_t>(word.Direction)],
                word.StartCol + i * kColSteps[static_cast<std::size_t>(word.Direction)]);
    }
  }
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      for (int slot = 1; slot <= cell.UseCount; ++slot) s.Words.at(static_cast<std::size_t>(cell.WordRefs.at(slot)));
    }
  }
  return 0;
}
