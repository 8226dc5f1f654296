#include "commands/ListEdits.h"

#include <memory>
#include <utility>

#include "commands/BuildCommands.h"
#include "display/FillLetters.h"
#include "program/CommandStates.h"
#include "program/WindowTitle.h"
#include "program/WordTable.h"

namespace kivrel {

namespace {

// The commands name the step they would take: "&Undo Clear".
void ShowEditCommands(AppContext& ctx) {
  const std::optional<std::string> undo = ctx.history ? ctx.history->NextUndo() : std::nullopt;
  const std::optional<std::string> redo = ctx.history ? ctx.history->NextRedo() : std::nullopt;
  Form& main = ctx.MainForm();
  main.SetEnabled(frmKV_Puzzle::mnuUndo, undo.has_value());
  main.SetText(frmKV_Puzzle::mnuUndo, undo ? "&Undo " + *undo : "&Undo");
  main.SetEnabled(frmKV_Puzzle::mnuRedo, redo.has_value());
  main.SetText(frmKV_Puzzle::mnuRedo, redo ? "&Redo " + *redo : "&Redo");
  Form& list = ctx.WordListForm();
  list.SetEnabled(frmWordList::cmdUndo, undo.has_value());
  list.SetToolTip(frmWordList::cmdUndo, undo ? "Undo " + *undo : "");
  list.SetEnabled(frmWordList::cmdRedo, redo.has_value());
  list.SetToolTip(frmWordList::cmdRedo, redo ? "Redo " + *redo : "");
}

}  // namespace

bool ListSnapshot::SameFile(const ListSnapshot& other) const {
  return Entries == other.Entries && Header == other.Header;
}

ListSnapshot TakeListSnapshot(const AppContext& ctx) {
  const PuzzleState& s = ctx.state;
  return {ctx.list.Entries(),      HeaderOf(s),         s.StopOnFirstReject, s.RestartOnFirstReject,
          s.StopRemainingOperator, s.StopRemainingCount};
}

void PutListSnapshot(AppContext& ctx, const ListSnapshot& snapshot) {
  PuzzleState& s = ctx.state;
  const ListSnapshot now = TakeListSnapshot(ctx);
  if (ctx.unchanged_list) {
    s.WordListChanged = snapshot.SameFile(*ctx.unchanged_list) ? kFalse : kTrue;
  } else if (!now.SameFile(snapshot)) {  // nothing saved or opened yet to compare with
    s.WordListChanged = kTrue;
  }
  if (now.Entries != snapshot.Entries) {
    ctx.list.SetEntries(snapshot.Entries);
    s.WordTableStale = kTrue;
    UpdateWordCount(ctx);
    if (now.Entries.empty() && !snapshot.Entries.empty()) SetListReadyState(ctx);
  }
  // A puzzle of another size than the one put back no longer fits it.
  const WordListHeader& header = snapshot.Header;
  if (s.PuzzleBuilt != 0 && (header.Width != s.Grid.Width() || header.Height != s.Grid.Height())) {
    ClearPuzzle(ctx);
  }
  const bool quote_changed = s.MysteryQuote != header.MysteryQuote;
  ApplyHeader(s, header);
  SetWindowTitle(ctx);
  s.StopOnFirstReject = snapshot.StopOnFirstReject;
  s.RestartOnFirstReject = snapshot.RestartOnFirstReject;
  s.StopRemainingOperator = snapshot.StopRemainingOperator;
  s.StopRemainingCount = snapshot.StopRemainingCount;
  if (quote_changed) FillAgainForQuote(ctx);
}

bool RecordEdit(AppContext& ctx, const std::string& name, const ListSnapshot& before) {
  ListSnapshot after = TakeListSnapshot(ctx);
  if (after == before) return false;
  if (!after.SameFile(before)) ctx.state.WordListChanged = kTrue;
  if (ctx.history) {
    ctx.history->Push({name, [&ctx, before] { PutListSnapshot(ctx, before); },
                       [&ctx, after = std::move(after)] { PutListSnapshot(ctx, after); }});
  }
  return true;
}

bool RecordEdit(AppContext& ctx, const std::string& name, const std::function<void()>& edit) {
  const ListSnapshot before = TakeListSnapshot(ctx);
  edit();
  return RecordEdit(ctx, name, before);
}

void MarkListUnchanged(AppContext& ctx) {
  ctx.state.WordListChanged = kFalse;
  ctx.unchanged_list = std::make_shared<const ListSnapshot>(TakeListSnapshot(ctx));
}

void AttachEditHistory(AppContext& ctx, EditHistory& history) {
  ctx.history = &history;
  history.Changed = [&ctx] { ShowEditCommands(ctx); };
  ShowEditCommands(ctx);
}

void ForgetEdits(AppContext& ctx) {
  if (ctx.history) ctx.history->Clear();
}

void UndoEdit(AppContext& ctx) {
  AfterBuild(ctx, [&ctx] {
    if (ctx.history) ctx.history->Undo();
  });
}

void RedoEdit(AppContext& ctx) {
  AfterBuild(ctx, [&ctx] {
    if (ctx.history) ctx.history->Redo();
  });
}

void FillAgainForQuote(AppContext& ctx) {
  if (ctx.state.PuzzleBuilt == 0 || ctx.state.BlanksFilled == 0) return;
  FillInBlanks(ctx);  // takes the old letters away
  TellFillReport(ctx, FillInBlanks(ctx));
}

}  // namespace kivrel
