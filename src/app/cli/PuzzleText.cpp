#include "PuzzleText.h"

#include "Cli.h"
#include "program/LetterCase.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace kivrel::cli {

void WritePuzzleText(std::ostream& out, AppContext& ctx, const std::optional<BuildRunInfo>& run) {
  const PuzzleState& s = ctx.state;
  out << (s.PuzzleTitle.empty() ? "(untitled)" : Printable(s.PuzzleTitle)) << " - " << s.Grid.Width() << " x "
      << s.Grid.Height();
  if (run) out << ", seed " << run->Seed;
  out << "\n\n";
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    std::string line;
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      const CellRecord& cell = s.Grid.At(row, col);
      if (col > 1) line += ' ';
      line += cell.IsEmpty() ? "." : Printable(ShownLetters(ctx, cell.Letter));
    }
    out << "  " << line << "\n";
  }
  int words = 0;
  std::string left_out;
  for (int i = 1; i <= s.WordsUpperBound(); ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Length <= 0) continue;
    ++words;
    if (word.Status != kStatusPlaced) left_out += (left_out.empty() ? "" : ", ") + Printable(word.DisplayText);
  }
  out << "\nInserted: " << s.InsertedCount << " of " << words << "   Rejected: " << s.RejectedCount
      << "   Junctions: " << s.JunctionCount << "\n";
  out << "Letters remaining: " << s.LettersRemaining << "   Spaces remaining: " << s.SpacesRemaining << "\n";
  out << "Directions:";
  for (int d = 1; d <= kDirectionCount; ++d) {
    out << (d > 1 ? "," : "") << " " << kDirectionNames[d] << " " << s.DirectionWordCount[static_cast<std::size_t>(d)];
  }
  out << "\n";
  if (!left_out.empty()) out << "Not placed: " << left_out << "\n";
  if (!s.MysteryQuote.empty()) out << "Mystery quote: " << s.MysteryQuote << "\n";
  if (run && run->FillRedrawn > 0) out << "Fill letters re-drawn: " << run->FillRedrawn << "\n";
  if (run && !run->FoundTwice.empty()) out << "Found twice: " << JoinWords(run->FoundTwice) << "\n";
  if (run) {
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.3f", run->ElapsedMs);
    out << "Attempts: " << run->Attempts << (run->GaveUp ? " (gave up; this is the best attempt)" : "") << ", "
        << elapsed << " ms\n";
  }
}

}  // namespace kivrel::cli
