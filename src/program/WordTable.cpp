#include "program/WordTable.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "engine/BuildRun.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/Statistics.h"

namespace kivrel {

namespace {

// An entry, the word it places and that word's length in characters.
struct PlacedEntry {
  std::string entry;
  std::string word;
  long long length = 0;
};

// The placed word of the entry at a position of the list. Every build makes the table
// again, mostly from the same entries, so the last ones worked out are kept by
// position (per thread: a booklet builds on two) and only a changed entry is worked
// out again.
const PlacedEntry& Placed(std::size_t position, const std::string& entry) {
  static thread_local std::vector<PlacedEntry> kept;
  if (position >= kept.size()) kept.resize(position + 1);  // "" places "", 0 letters
  PlacedEntry& placed = kept[position];
  if (placed.entry != entry) {
    placed.entry = entry;
    placed.word = PlacedWord(entry);
    placed.length = static_cast<long long>(CharCount(placed.word));
  }
  return placed;
}

}  // namespace

bool AddEntry(AppContext& ctx, const std::string& text) {
  if (Trim(text).empty()) return false;
  if (!ctx.list.Fits(text)) return false;
  ctx.list.AddItem(text);
  return true;
}

bool AddTypedEntry(AppContext& ctx) {
  std::string text = ctx.list.EditText();
  if (Trim(text).empty()) return false;
  std::string upper = ToUpper(text);
  for (int i = 0; i < ctx.list.ListCount(); ++i) {
    if (ToUpper(ctx.list.List(i)) == upper) {
      ShowMessage(ctx.dialogs, kDuplicateMessage, kMessageTitle, MessageIcon::Exclamation);
      return false;
    }
  }
  if (!AddEntry(ctx, text)) {
    ShowMessage(ctx.dialogs, kListFullMessage, kMessageTitle, MessageIcon::Exclamation);
    return false;
  }
  ctx.list.SetEditText("");
  UpdateWordCount(ctx);
  ctx.state.WordTableStale = kTrue;
  return true;
}

void UpdateWordCount(AppContext& ctx) {
  int n = ctx.list.ListCount();
  std::string caption;
  if (n >= 1) {
    caption = FormatPicture(n, kCountPicture);
    ctx.WordListForm().SetText(frmWordList::lblWordCount, caption);
    ctx.state.WordCount = CheckedI16(n);
  } else {
    ctx.WordListForm().SetText(frmWordList::lblWordCount, "");
    ctx.state.WordCount = 0;
    ClearPuzzle(ctx);
    ClearStatistics(ctx);
    SetEmptyListState(ctx);
    ctx.state.EditIndex = -1;
    ctx.picture->Cls();
    ctx.state.Words.assign(1, WordRecord{});
  }
  ctx.MainForm().SetText(frmKV_Puzzle::lblWordCount, caption);
}

void BuildWordTable(AppContext& ctx) {
  FillWordTable(ctx.state, ctx.list);
  if (ctx.state.WordCount >= 1) ResetCounts(ctx);
}

void FillWordTable(PuzzleState& s, const WordList& list) {
  s.LongestWordIndex = 0;
  s.LongestWordLength = 0;
  s.ShortestWordLength = 99;
  s.LetterCount = 0;
  if (s.WordCount < 1) return;
  // Made anew rather than assigned an empty record each: every build comes here.
  s.Words.clear();
  s.Words.resize(static_cast<std::size_t>(s.WordCount) + 1);
  s.BuildOrder.assign(static_cast<std::size_t>(s.WordCount) + 1, 0);
  int k = 0;
  int letters = 0;
  bool last_empty = true;  // the last entry read placed no word
  // One pass past the last entry reads "", as the list model gives it.
  for (int i = 0; i <= list.ListCount() && k < s.WordCount; ++i) {
    std::string entry = list.List(i);
    const PlacedEntry& placed = Placed(static_cast<std::size_t>(i), entry);
    last_empty = placed.word.empty();
    if (last_empty) continue;
    ++k;
    WordRecord& word = s.Words[static_cast<std::size_t>(k)];
    word.Text = placed.word;
    word.DisplayText = std::move(entry);
    word.Length = CheckedI16(placed.length);
    if (word.Length > s.LongestWordLength) {
      s.LongestWordIndex = CheckedI16(k);
      s.LongestWordLength = word.Length;
    }
    if (word.Length < s.ShortestWordLength) s.ShortestWordLength = word.Length;
    letters += word.Length;
    word.Status = kStatusNotPlaced;
  }
  // The current word is the last entry's, as reading them one by one leaves it.
  s.CurrentWord = last_empty ? std::string() : s.Words[static_cast<std::size_t>(k)].Text;
  s.LetterCount = CheckedI16(letters);
}

void ResetCounts(AppContext& ctx) {
  ctx.state.ResetCounts();
  ShowTableCounts(ctx);
  ctx.state.WordTableStale = kFalse;
}

void ShowTableCounts(AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  ShowStatistic(ctx, frmKV_Puzzle::lblNbrSpaces, s.SpaceCount);
  ShowStatistic(ctx, frmKV_Puzzle::lblNbrLetters, s.LetterCount);
  ShowStatistic(ctx, frmKV_Puzzle::lblLettersRemaining, s.LettersRemaining);
  ShowStatistic(ctx, frmKV_Puzzle::lblSpacesRemaining, s.SpacesRemaining);
}

void SortWordList(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  const int n = ctx.list.ListCount();
  if (n < 1) return;
  // Only the list is reordered. The records keep their words, entries and placements, so
  // a built puzzle and its printed list stay as they are.
  std::vector<std::string> keys;
  keys.reserve(static_cast<std::size_t>(n));
  for (const std::string& entry : ctx.list.Entries()) keys.push_back(ToLower(ExtractWord(entry)));
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int p = 0; p < n; ++p) order[static_cast<std::size_t>(p)] = p;
  std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
    return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
  });
  std::vector<std::string> sorted;
  sorted.reserve(static_cast<std::size_t>(n));
  for (int p : order) sorted.push_back(ctx.list.List(p));
  ctx.list.SetEntries(std::move(sorted));
  // Each record notes where its entry now stands.
  const std::vector<int> records = EntryRecords(s, ctx.list);
  for (int p = 0; p < n; ++p) {
    const int k = records[static_cast<std::size_t>(p)];
    if (k > 0) s.Words[static_cast<std::size_t>(k)].SortPosition = CheckedI16(p + 1);
  }
  s.WordListChanged = kTrue;
}

std::vector<int> EntryRecords(const PuzzleState& state, const WordList& list) {
  // The n-th entry of a text belongs to the n-th record showing that text.
  std::unordered_map<std::string_view, std::vector<int>> records;
  for (int k = state.WordsUpperBound(); k >= 1; --k) {
    const WordRecord& word = state.Words[static_cast<std::size_t>(k)];
    if (!word.Text.empty()) records[word.DisplayText].push_back(k);
  }
  std::vector<int> result(static_cast<std::size_t>(list.ListCount()), 0);
  for (int p = 0; p < list.ListCount(); ++p) {
    auto found = records.find(list.Entries()[static_cast<std::size_t>(p)]);
    if (found == records.end() || found->second.empty()) continue;
    result[static_cast<std::size_t>(p)] = found->second.back();
    found->second.pop_back();
  }
  return result;
}

int RecordOfEntry(const PuzzleState& state, const WordList& list, int position) {
  if (position < 0 || position >= list.ListCount()) return 0;
  return EntryRecords(state, list)[static_cast<std::size_t>(position)];
}

bool WordTableOutOfDate(const PuzzleState& state) {
  return (state.LongestWordLength == 0 || state.WordTableStale != 0) && state.PuzzleBuilt == 0;
}

void ComputeTrialDimensions(PuzzleState& state, const WordList& list, int extra_cells) {
  PuzzleState trial = state;
  trial.WordCount = CheckedI16(list.ListCount());
  FillWordTable(trial, list);
  trial.PuzzleWidth = trial.PuzzleHeight = 0;
  ComputeDefaultDimensions(trial, extra_cells);
  if (trial.PuzzleWidth == 0) return;
  state.PuzzleWidth = state.PuzzleHeight = trial.PuzzleWidth;
  // A plain build: no rule stops it early or starts it again.
  trial.StopOnFirstReject = trial.RestartOnFirstReject = kFalse;
  trial.StopRemainingCount = -1;
  int words = 0;
  for (int k = 1; k <= trial.WordsUpperBound(); ++k) words += trial.Words[static_cast<std::size_t>(k)].Length > 0;
  const std::vector<WordRecord> table = trial.Words;
  BuildProgress unwatched;
  for (int side = trial.PuzzleWidth; side <= kLargestSide; ++side) {
    const bool holds = std::all_of(std::begin(kTrialSeeds), std::end(kTrialSeeds), [&](std::uint64_t seed) {
      trial.Words = table;
      trial.PuzzleWidth = trial.PuzzleHeight = static_cast<i16>(side);
      trial.CancelRequested = kFalse;
      Random rng(seed);
      RunBuild(trial, rng, unwatched);
      return trial.InsertedCount == words && trial.SpacesRemaining >= extra_cells;
    });
    if (holds) {
      state.PuzzleWidth = state.PuzzleHeight = static_cast<i16>(side);
      return;
    }
  }
}

void ComputeDefaultDimensions(PuzzleState& state, int extra_cells) {
  const int target = state.LetterCount - state.WordCount + extra_cells;
  for (int side = state.LongestWordLength; side <= kLargestSide; ++side) {
    if (side * side >= target) {
      state.PuzzleWidth = state.PuzzleHeight = static_cast<i16>(Max(side - 1, state.LongestWordLength));
      return;
    }
  }
}

}  // namespace kivrel
