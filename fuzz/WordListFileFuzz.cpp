// Fuzz target: the word list reader. Whatever it accepts must be text, hold no entry
// longer than an entry may be and no size above 99 x 99, and load into the program;
// writing the loaded list and reading that back must give the same list, when code
// page 1252 holds its text and the bytes written do not read as UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/Cp1252.h"
#include "model/Text.h"

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

bool Storable(const std::string& text) { return kivrel::Cp1252ToUtf8(kivrel::Utf8ToCp1252(text)) == text; }

// Bytes the reader takes for UTF-8: code page 1252 text can look like it ("Ã©").
bool LooksLikeUtf8(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return kivrel::IsValidUtf8(bytes);
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto parsed = kivrel::ParseWordList(bytes);
  if (!parsed) {
    Require(parsed.Error().Fault == kivrel::FileFault::Invalid && !parsed.Error().Reason.empty());
    return 0;
  }
  Require(kivrel::IsWordListText(bytes));
  for (const std::string& entry : parsed->Entries) Require(kivrel::CharCount(entry) <= kivrel::kLongestEntry);
  if (parsed->Header) {
    Require(parsed->Header->Width >= 0 && parsed->Header->Width <= kivrel::kLargestSide);
    Require(parsed->Header->Height >= 0 && parsed->Header->Height <= kivrel::kLargestSide);
  }
  std::string error;
  Program first;
  Require(kivrel::LoadWordList(first.ctx, *parsed, &error));

  const std::string written = kivrel::WordListFileBytes(first.ctx.state, first.ctx.list.Entries());
  const auto again = kivrel::ParseWordList(written);
  Require(static_cast<bool>(again));
  Program second;
  Require(kivrel::LoadWordList(second.ctx, *again, &error));
  const kivrel::PuzzleState& a = first.ctx.state;
  bool storable = Storable(a.PuzzleTitle) && Storable(a.PuzzleInstructions);
  for (const std::string& entry : first.ctx.list.Entries()) storable = storable && Storable(entry);
  if (!storable || LooksLikeUtf8(written)) return 0;
  const kivrel::PuzzleState& b = second.ctx.state;
  Require(first.ctx.list.Entries() == second.ctx.list.Entries());
  Require(a.PuzzleTitle == b.PuzzleTitle && a.PuzzleInstructions == b.PuzzleInstructions);
  Require(a.PuzzleWidth == b.PuzzleWidth && a.PuzzleHeight == b.PuzzleHeight);
  Require(a.IncludeDiagonals == b.IncludeDiagonals && a.BalanceDirections == b.BalanceDirections &&
          a.BackwardsWords == b.BackwardsWords);
  Require(a.WordCount == b.WordCount && a.LetterCount == b.LetterCount);
  return 0;
}
