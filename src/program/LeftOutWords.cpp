#include "program/LeftOutWords.h"

namespace kivrel {

std::vector<std::string> LeftOutEntries(const PuzzleState& s) {
  std::vector<std::string> entries;
  if (s.PuzzleBuilt == kFalse) return entries;
  const int words = Min(s.WordCount, s.WordsUpperBound());
  for (int i = 1; i <= words; ++i) {
    const WordRecord& word = s.Words[static_cast<std::size_t>(i)];
    if (word.Length > 0 && word.Status != kStatusPlaced) entries.push_back(word.DisplayText);
  }
  return entries;
}

std::string LeftOutToolTip(const std::vector<std::string>& entries) {
  std::string tip;
  for (const std::string& entry : entries) tip += (tip.empty() ? "Not placed: " : ", ") + entry;
  return tip;
}

void ShowLeftOutWords(AppContext& ctx) {
  std::vector<std::string> entries = LeftOutEntries(ctx.state);
  ctx.MainForm().SetToolTip(frmKV_Puzzle::lblRejectedCount, LeftOutToolTip(entries));
  ctx.list.SetLeftOut(std::move(entries));
}

void ClearLeftOutWords(AppContext& ctx) {
  ctx.MainForm().SetToolTip(frmKV_Puzzle::lblRejectedCount, "");
  ctx.list.SetLeftOut({});
}

}  // namespace kivrel
