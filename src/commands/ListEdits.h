#pragma once
// Edits of the word list and of the puzzle's attributes as steps the user can undo and
// redo. A step holds the list and the attributes as they were before and after it;
// taking it back puts the earlier ones in place as the edit itself would have, so a
// puzzle on screen stays as built unless its size changes. No step touches a file.
#include <functional>
#include <string>
#include <vector>

#include "files/WordListFile.h"
#include "program/AppContext.h"

namespace kivrel {

/// The word list and the attributes the attributes dialog sets.
struct ListSnapshot {
  std::vector<std::string> Entries;
  WordListHeader Header;  // what a list file holds besides the entries
  // The build rules, which the file does not hold.
  i16 StopOnFirstReject = 0;
  i16 RestartOnFirstReject = 0;
  std::string StopRemainingOperator;
  i16 StopRemainingCount = 0;

  bool operator==(const ListSnapshot&) const = default;
  /// Whether a list file saved from either would hold the same.
  bool SameFile(const ListSnapshot& other) const;
};

ListSnapshot TakeListSnapshot(const AppContext& ctx);

/// Puts a snapshot in place, as the edits would: the entries (an emptied list discards
/// the puzzle), the title on the windows, a new size discards a puzzle of another size,
/// a new quote fills a filled puzzle again. The list counts as changed when a file
/// saved from it would differ from the one it was last marked unchanged at.
void PutListSnapshot(AppContext& ctx, const ListSnapshot& snapshot);

/// Ends an edit that began at `before`: when it changed anything, it becomes a step of
/// the history named `name`, and the list counts as changed when its file would change.
/// Returns whether anything changed.
bool RecordEdit(AppContext& ctx, const std::string& name, const ListSnapshot& before);

/// Runs `edit` as one step (RecordEdit).
bool RecordEdit(AppContext& ctx, const std::string& name, const std::function<void()>& edit);

/// The list is as its file holds it (just saved or opened) or as a new list begins:
/// it counts as unchanged, and so again whenever edits are undone or redone back to it.
void MarkListUnchanged(AppContext& ctx);

/// Makes `history` the program's record of edits: the Undo and Redo commands of the
/// main window and of the word list window follow it.
void AttachEditHistory(AppContext& ctx, EditHistory& history);

/// Forgets every step: another list has taken the place of the one they edited.
void ForgetEdits(AppContext& ctx);

/// Edit > Undo and Edit > Redo. During a build the build is cancelled first.
void UndoEdit(AppContext& ctx);
void RedoEdit(AppContext& ctx);

/// A filled puzzle is filled again, so that its letters spell the quote that is now set
/// (and the answer key and a saved file agree with it).
void FillAgainForQuote(AppContext& ctx);

}  // namespace kivrel
