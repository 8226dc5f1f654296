#pragma once
// The operations on the word list that reach into the puzzle: adding entries with the
// duplicate test, counting them, building the word table Words with its summary values,
// and sorting the list.
#include <cstdint>
#include <string>
#include <vector>

#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kDuplicateMessage = "Duplicate word";

/// Appends an entry unless it is blank (empty or spaces only). Returns false when the
/// entry was not added: blank, or the list would pass its limits (WordList::Fits).
bool AddEntry(AppContext& ctx, const std::string& text);

/// Adds the edit text as a new entry: refused with "Duplicate word" when an entry equals
/// it ignoring case; then the edit text is emptied, the count updated and the word table
/// marked stale. Returns whether the entry was added.
bool AddTypedEntry(AppContext& ctx);

/// Sets WordCount from the list and shows it on both windows; an empty list discards
/// the puzzle and the word table.
void UpdateWordCount(AppContext& ctx);

/// Rebuilds Words from the entries (one record for each entry that gives a placed
/// word), with LongestWordLength, LongestWordIndex, ShortestWordLength and LetterCount,
/// then ResetCounts.
void BuildWordTable(AppContext& ctx);
/// The same without ResetCounts, for a state of its own (WordCount already set).
void FillWordTable(PuzzleState& state, const WordList& list);

/// SpaceCount and SpacesRemaining from the size, LettersRemaining from LetterCount, shown
/// on the statistics panel; clears WordTableStale.
void ResetCounts(AppContext& ctx);

/// Shows SpaceCount, LetterCount, LettersRemaining and SpacesRemaining on the statistics
/// panel as plain numbers.
void ShowTableCounts(AppContext& ctx);

/// Sorts the entries by their words, ignoring case, keeping the order of equal words.
/// The records of Words stay as they are (a built puzzle keeps its words and its printed
/// list); each record whose entry is in the list notes the entry's new SortPosition.
void SortWordList(AppContext& ctx);

/// For each position of the list, the record of Words made from that entry, or 0 when
/// none is: the entry gives no placed word, or it was added or changed after the table
/// was built. Records are matched by their entry text, the n-th equal entry to the
/// n-th equal record, so list order and word-less entries do not matter.
std::vector<int> EntryRecords(const PuzzleState& state, const WordList& list);
/// The record of the entry at one position (EntryRecords), 0 when none.
int RecordOfEntry(const PuzzleState& state, const WordList& list, int position);

/// Whether a dialog that needs the list's longest word should rebuild Words first: the
/// table is stale or was never built, and no puzzle is shown. A shown puzzle's table
/// holds its placements; the next build rebuilds it from the list.
bool WordTableOutOfDate(const PuzzleState& state);

/// A square size for the list: the longest word's length when its square reaches
/// LetterCount - WordCount (plus `extra_cells`, which a quote needs), otherwise the
/// largest side below 100 whose square is still smaller than that. Sets PuzzleWidth
/// and PuzzleHeight (nothing changes past 99).
void ComputeDefaultDimensions(PuzzleState& state, int extra_cells = 0);

/// The seeds of the trial builds of ComputeTrialDimensions.
inline constexpr std::uint64_t kTrialSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

/// The size Default Dimensions proposes: ComputeDefaultDimensions's square for the list
/// to start with, grown until trial builds of the list, with the build options of
/// `state`, each place every word and leave `extra_cells` cells empty. The trials draw
/// from random sources of their own, so the program's sequence is untouched. Sets
/// PuzzleWidth and PuzzleHeight (to the first square when no side up to 99 passes the
/// trials); nothing changes when the list has no word.
void ComputeTrialDimensions(PuzzleState& state, const WordList& list, int extra_cells);

}  // namespace kivrel
