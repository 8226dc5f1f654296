#pragma once
// The operations on the word list that reach into the puzzle: adding entries with the
// duplicate test, counting them, building the word table Words with its summary values,
// and sorting the list.
#include <string>

#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kDuplicateMessage = "Duplicate word";

/// Appends an entry unless it is blank (empty or spaces only). Returns false when the
/// entry was not added: blank, or the list would pass its limits (WordList::Fits).
bool AddEntry(AppContext& ctx, const std::string& text);

/// Adds the edit text as a new entry: refused with "Duplicate word" when an entry equals
/// it ignoring case; then the edit text is emptied, the count updated and the word table
/// marked stale.
void AddTypedEntry(AppContext& ctx);

/// Sets WordCount from the list and shows it on both windows; an empty list discards
/// the puzzle and the word table.
void UpdateWordCount(AppContext& ctx);

/// Rebuilds Words from the entries (one record for each entry that gives a placed
/// word), with LongestWordLength, LongestWordIndex, ShortestWordLength and LetterCount,
/// then ResetCounts.
void BuildWordTable(AppContext& ctx);

/// SpaceCount and SpacesRemaining from the size, LettersRemaining from LetterCount, shown
/// on the statistics panel; clears WordTableStale.
void ResetCounts(AppContext& ctx);

/// Sorts the entries by their words, ignoring case, keeping the order of equal words;
/// writes each record's SortPosition.
void SortWordList(AppContext& ctx);

/// A square size for the list: the longest word's length when its square reaches
/// LetterCount - WordCount (plus `extra_cells`, which a quote needs), otherwise the
/// largest side below 100 whose square is still smaller than that. Sets PuzzleWidth
/// and PuzzleHeight (nothing changes past 99).
void ComputeDefaultDimensions(PuzzleState& state, int extra_cells = 0);

}  // namespace kivrel
