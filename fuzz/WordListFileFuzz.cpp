// Fuzz target: the word list reader. Whatever it accepts must load into the program,
// and writing the loaded list and reading that back must give the same list.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "program/AppContext.h"
#include "program/HeadlessProgram.h"

namespace {

struct Program {
  kivrel::HeadlessProgram program;
  kivrel::AppContext& ctx = program.ctx;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto parsed = kivrel::ParseWordList(bytes, &error);
  if (!parsed) {
    Require(!error.empty());
    return 0;
  }
  Program first;
  Require(kivrel::LoadWordList(first.ctx, *parsed, &error));

  auto again = kivrel::ParseWordList(kivrel::WordListFileBytes(first.ctx.state, first.ctx.list.Entries()), &error);
  Require(again.has_value());
  Program second;
  Require(kivrel::LoadWordList(second.ctx, *again, &error));
  const kivrel::PuzzleState& a = first.ctx.state;
  const kivrel::PuzzleState& b = second.ctx.state;
  Require(first.ctx.list.Entries() == second.ctx.list.Entries());
  Require(a.PuzzleTitle == b.PuzzleTitle && a.PuzzleInstructions == b.PuzzleInstructions);
  Require(a.PuzzleWidth == b.PuzzleWidth && a.PuzzleHeight == b.PuzzleHeight);
  Require(a.IncludeDiagonals == b.IncludeDiagonals && a.BalanceDirections == b.BalanceDirections);
  Require(a.WordCount == b.WordCount && a.LetterCount == b.LetterCount);
  return 0;
}
