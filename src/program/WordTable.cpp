#include "program/WordTable.h"

#include "model/Numbers.h"
#include "model/Text.h"
#include "program/CommandStates.h"

namespace kivrel {

bool AddEntry(AppContext& ctx, const std::string& text) {
  if (Trim(text).empty()) return false;
  if (!ctx.list.Fits(text)) return false;
  ctx.list.AddItem(text);
  return true;
}

void AddTypedEntry(AppContext& ctx) {
  std::string text = ctx.list.EditText();
  if (Trim(text).empty()) return;
  std::string upper = ToUpper(text);
  for (int i = 0; i < ctx.list.ListCount(); ++i) {
    if (ToUpper(ctx.list.List(i)) == upper) {
      ShowMessage(ctx.dialogs, kDuplicateMessage, kMessageTitle, MessageIcon::Exclamation);
      return;
    }
  }
  if (!AddEntry(ctx, text)) {
    ShowMessage(ctx.dialogs, kListFullMessage, kMessageTitle, MessageIcon::Exclamation);
    return;
  }
  ctx.list.SetEditText("");
  UpdateWordCount(ctx);
  ctx.state.WordTableStale = kTrue;
}

void UpdateWordCount(AppContext& ctx) {
  int n = ctx.list.ListCount();
  std::string caption;
  if (n >= 1) {
    caption = FormatPicture(n, kCountPicture);
    ctx.WordListForm().SetText(kWordCountLabel, caption);
    ctx.state.WordCount = CheckedI16(n);
  } else {
    ctx.WordListForm().SetText(kWordCountLabel, "");
    ctx.state.WordCount = 0;
    ClearPuzzle(ctx);
    ClearStatistics(ctx);
    SetEmptyListState(ctx);
    ctx.state.EditIndex = -1;
    ctx.picture->Cls();
    ctx.state.Words.assign(1, WordRecord{});
  }
  ctx.MainForm().SetText(kWordCountLabel, caption);
}

void BuildWordTable(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.LongestWordIndex = 0;
  s.LongestWordLength = 0;
  s.ShortestWordLength = 99;
  s.LetterCount = 0;
  if (s.WordCount < 1) return;
  s.Words.assign(static_cast<std::size_t>(s.WordCount) + 1, WordRecord{});
  s.BuildOrder.assign(static_cast<std::size_t>(s.WordCount) + 1, 0);
  int k = 0;
  int letters = 0;
  // One pass past the last entry reads "", as the list model gives it.
  for (int i = 0; i <= ctx.list.ListCount() && k < s.WordCount; ++i) {
    std::string entry = ctx.list.List(i);
    s.CurrentWord = PlacedWord(entry);
    if (s.CurrentWord.empty()) continue;
    ++k;
    WordRecord& word = s.Words[static_cast<std::size_t>(k)];
    word.Text = s.CurrentWord;
    word.DisplayText = entry;
    word.Length = CheckedI16(static_cast<long long>(CharCount(word.Text)));
    if (word.Length > s.LongestWordLength) {
      s.LongestWordIndex = CheckedI16(k);
      s.LongestWordLength = word.Length;
    }
    if (word.Length < s.ShortestWordLength) s.ShortestWordLength = word.Length;
    letters += word.Length;
    word.Status = kStatusNotPlaced;
  }
  s.LetterCount = CheckedI16(letters);
  ResetCounts(ctx);
}

void ResetCounts(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.SpaceCount = CheckedI16(static_cast<long long>(s.PuzzleWidth) * s.PuzzleHeight);
  s.SpacesRemaining = s.SpaceCount;
  s.LettersRemaining = s.LetterCount;
  ShowStatistic(ctx, kSpacesLabel, s.SpaceCount);
  ShowStatistic(ctx, kLettersLabel, s.LetterCount);
  ShowStatistic(ctx, kLettersRemainingLabel, s.LettersRemaining);
  ShowStatistic(ctx, kSpacesRemainingLabel, s.SpacesRemaining);
  s.WordTableStale = kFalse;
}

void SortWordList(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  const int n = s.WordCount;
  if (n < 1) return;
  s.Words.resize(static_cast<std::size_t>(n) + 1);
  // The keys are kept beside the table, so each record's placed word stays intact.
  std::vector<std::string> keys(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    s.Words[i].DisplayText = ctx.list.List(i - 1);
    keys[i] = ToLower(ExtractWord(s.Words[i].DisplayText));
  }
  s.Words[1].SortPosition = 1;
  for (int i = 2; i <= n; ++i) {
    i16 position = 1;
    for (int j = 1; j < i; ++j) {
      if (keys[i] >= keys[j]) {
        ++position;
      } else {
        ++s.Words[j].SortPosition;
      }
    }
    s.Words[i].SortPosition = position;
  }
  std::vector<std::string> sorted(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) sorted[static_cast<std::size_t>(s.Words[i].SortPosition - 1)] = s.Words[i].DisplayText;
  for (int p = 0; p < n && p < ctx.list.ListCount(); ++p) ctx.list.SetList(p, sorted[static_cast<std::size_t>(p)]);
  s.WordListChanged = kTrue;
}

void ComputeDefaultDimensions(PuzzleState& state, int extra_cells) {
  const int target = state.LetterCount - state.WordCount + extra_cells;
  for (int side = state.LongestWordLength; side <= 99; ++side) {
    if (side * side >= target) {
      state.PuzzleWidth = state.PuzzleHeight = static_cast<i16>(Max(side - 1, state.LongestWordLength));
      return;
    }
  }
}

}  // namespace kivrel
