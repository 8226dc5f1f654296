#include "forms/WordListWindow.h"

#include <algorithm>

#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "commands/WordListCommands.h"
#include "display/GridDisplay.h"
#include "forms/WindowPlacement.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/WordTable.h"

namespace kivrel {

using namespace frmWordList;

namespace {

bool AnyWordShown(const PuzzleState& s) {
  return std::any_of(s.Words.begin(), s.Words.end(), [](const WordRecord& word) { return word.Shown != 0; });
}
}  // namespace

WordListWindow::WordListWindow(AppContext& ctx) : ctx_(ctx) {
  Form& f = form();
  f.On({}, Event::Load, [this] { Form_Load(); });
  f.On({}, Event::Activate, [this] { Form_Activate(); });
  f.On(cboWordList, Event::GotFocus, [this] { cboWordList_GotFocus(); });
  f.On(cmdAdd, Event::Click, [this] { cmdAdd_Click(); });
  f.On(cmdReplace, Event::Click, [this] { cmdReplace_Click(); });
  f.On(cmdRemove, Event::Click, [this] { cmdRemove_Click(); });
  f.On(cmdClear, Event::Click, [this] { cmdClear_Click(); });
  f.On(cmdSave, Event::Click, [this] { cmdSave_Click(); });
  f.On(cmdSort, Event::Click, [this] { cmdSort_Click(); });
  f.On(cmdShowWord, Event::Click, [this] { cmdShowWord_Click(); });
  f.On(cmdHideAll, Event::Click, [this] { cmdHideAll_Click(); });
  f.On(cmdClose, Event::Click, [this] { cmdClose_Click(); });
  f.On(cmdUndo, Event::Click, [this] { UndoEdit(ctx_); });
  f.On(cmdRedo, Event::Click, [this] { RedoEdit(ctx_); });
  // The title bar's close box hides the window like Close, so the list stays.
  f.OnQueryUnload([this] {
    cmdClose_Click();
    return true;
  });
  ctx_.list.Subscribe([this](WordList::Change change) {
    if (change == WordList::Change::EditText && !quiet_) cboWordList_Change();
    if (change == WordList::Change::ListIndex) cboWordList_Click();
    if (change == WordList::Change::Replaced) ListReplaced();
  });

  Form& main = ctx_.MainForm();
  main.On(frmKV_Puzzle::mnuNewList, Event::Click, [this] { mnuNewList_Click(); });
  main.On(frmKV_Puzzle::mnuViewList, Event::Click, [this] { mnuViewList_Click(); });
}

void WordListWindow::SetEditTextQuietly(const std::string& text) {
  quiet_ = true;
  ctx_.list.SetEditText(text);
  quiet_ = false;
}

void WordListWindow::SelectEntry(int p) {
  if (p < 0 || p >= ctx_.list.ListCount()) return;
  SetEditTextQuietly(ctx_.list.List(p));
  ctx_.list.SetListIndex(p);
}

void WordListWindow::ListReplaced() {
  PuzzleState& s = ctx_.state;
  // A picked entry belonged to the list that is gone: nothing stays selected, and the
  // edit field keeps only what the user was typing as a new entry.
  if (s.EditIndex >= 0) SetEditTextQuietly("");
  s.EditIndex = -1;
  s.SelectedWordIndex = 0;
  form().SetEnabled(cmdShowWord, false);
  form().SetText(cmdShowWord, std::string(kShowWordCaption));
  cboWordList_Change();
}

// Beside the main window rather than over the puzzle, where Show Word paints.
void WordListWindow::Form_Load() {
  if (!PlaceBeside(ctx_, form(), ctx_.MainForm())) CenterForm(ctx_, form());
}

void WordListWindow::Form_Activate() { UpdateWordCount(ctx_); }

void WordListWindow::cboWordList_Change() {
  Form& f = form();
  PuzzleState& s = ctx_.state;
  if (ctx_.list.EditText().empty()) {
    s.EditIndex = -1;
    ctx_.list.SetListIndex(-1);
    f.SetEnabled(cmdShowWord, false);
    // A word still shown red can always be hidden again.
    f.SetEnabled(cmdHideAll, s.PuzzleBuilt != 0 && AnyWordShown(s));
  }
  if (s.EditIndex < 0) {
    f.SetDefault(cmdAdd, true);
    f.SetEnabled(cmdAdd, true);
    f.SetEnabled(cmdReplace, false);
    f.SetEnabled(cmdRemove, false);
  } else {
    f.SetDefault(cmdReplace, true);
    f.SetEnabled(cmdReplace, true);
    f.SetEnabled(cmdRemove, true);
    f.SetEnabled(cmdAdd, true);
  }
}

void WordListWindow::SelectionChanged(bool got_focus) {
  Form& f = form();
  PuzzleState& s = ctx_.state;
  int p = ctx_.list.ListIndex();
  if (p >= 0) {
    // The entry's own record: list positions and records part ways at an entry without
    // a word, after Sort and after edits.
    s.SelectedWordIndex = static_cast<i16>(RecordOfEntry(s, ctx_.list, p));
    s.EditIndex = static_cast<i16>(p);
    f.SetDefault(cmdReplace, true);
    f.SetEnabled(cmdReplace, true);
    f.SetEnabled(cmdRemove, true);
    f.SetEnabled(cmdAdd, !got_focus);
    if (s.PuzzleBuilt != 0) f.SetEnabled(cmdHideAll, true);
    const WordRecord* word = s.SelectedWordIndex > 0 ? &s.Words[s.SelectedWordIndex] : nullptr;
    if (word && word->Status == kStatusPlaced && s.PuzzleBuilt != 0) {
      f.SetEnabled(cmdShowWord, true);
      f.SetText(cmdShowWord, std::string(word->Shown == 1 ? kHideWordCaption : kShowWordCaption));
    } else {
      f.SetEnabled(cmdShowWord, false);
    }
  } else {
    s.EditIndex = -1;
    f.SetDefault(cmdAdd, got_focus);
    f.SetEnabled(cmdAdd, got_focus);
    f.SetEnabled(cmdReplace, false);
    f.SetEnabled(cmdRemove, false);
    s.SelectedWordIndex = 0;
  }
}

void WordListWindow::cboWordList_Click() { SelectionChanged(false); }

void WordListWindow::cboWordList_GotFocus() { SelectionChanged(true); }

void WordListWindow::cmdAdd_Click() {
  Form& f = form();
  if (!ctx_.list.EditText().empty()) {
    if (ctx_.MainForm().Checked(frmKV_Puzzle::mnuUpperCase)) ctx_.list.SetEditText(ToUpper(ctx_.list.EditText()));
    ctx_.state.EditIndex = -1;
    // Only an entry really added changes the list and the command state: a refused one
    // leaves the puzzle on screen with its commands.
    bool added = false;
    RecordEdit(ctx_, "Add", [&] { added = AddTypedEntry(ctx_); });
    if (added) {
      if (ctx_.state.WordCount == 1) {
        SetListReadyState(ctx_);
        f.SetEnabled(cmdAdd, true);
        f.SetDefault(cmdAdd, true);
      } else {
        f.SetEnabled(cmdAdd, true);
        f.SetDefault(cmdAdd, true);
        f.SetEnabled(cmdClear, true);
        f.SetEnabled(cmdRemove, false);
        f.SetEnabled(cmdReplace, false);
      }
    }
  }
  f.SetFocus(cboWordList);
}

void WordListWindow::cmdReplace_Click() {
  Form& f = form();
  PuzzleState& s = ctx_.state;
  const int edit = s.EditIndex;
  if (edit < 0 || edit >= ctx_.list.ListCount()) {
    f.SetFocus(cboWordList);
    return;
  }
  std::string upper = ToUpper(ctx_.list.EditText());
  for (int i = 0; i < ctx_.list.ListCount(); ++i) {
    if (i != edit && ToUpper(ctx_.list.List(i)) == upper) {
      ShowMessage(ctx_.dialogs, kDuplicateMessage, kMessageTitle, MessageIcon::Exclamation);
      return;
    }
  }
  if (ctx_.MainForm().Checked(frmKV_Puzzle::mnuUpperCase)) ctx_.list.SetEditText(ToUpper(ctx_.list.EditText()));
  std::string text = ctx_.list.EditText();
  if (text != ctx_.list.List(edit)) {
    if (!ctx_.list.Fits(text, edit)) {
      ShowMessage(ctx_.dialogs, kListFullMessage, kMessageTitle, MessageIcon::Exclamation);
      return;
    }
    RecordEdit(ctx_, "Replace", [&] { ctx_.list.SetList(edit, text); });
    ctx_.list.SetListIndex(edit);
    s.WordTableStale = kTrue;
  }
  f.SetFocus(cboWordList);
}

void WordListWindow::cmdRemove_Click() {
  Form& f = form();
  PuzzleState& s = ctx_.state;
  if (const int p = ctx_.list.ListIndex(); p >= 0) {
    // A word shown red on the puzzle goes back to black with its entry.
    const int k = RecordOfEntry(s, ctx_.list, p);
    if (k > 0 && s.Words[static_cast<std::size_t>(k)].Shown != 0 && s.PuzzleBuilt != 0) {
      s.SelectedWordIndex = static_cast<i16>(k);
      ctx_.picture->SetForeColor(kBlack);
      ShowSelectedWord(ctx_, WriteMode::Hide);
      s.Words[static_cast<std::size_t>(k)].Shown = 0;
    }
    f.SetEnabled(cmdShowWord, false);
    f.SetText(cmdShowWord, std::string(kShowWordCaption));
    RecordEdit(ctx_, "Remove", [&] { ctx_.list.RemoveItem(p); });
    s.EditIndex = -1;
    f.SetEnabled(cmdReplace, false);
    f.SetEnabled(cmdRemove, false);
    f.SetEnabled(cmdAdd, true);
    f.SetDefault(cmdAdd, true);
  }
  UpdateWordCount(ctx_);
  s.WordTableStale = kTrue;
  f.SetFocus(cboWordList);
}

// Clear asks nothing: it can be undone, and a list it emptied counts as changed.
void WordListWindow::cmdClear_Click() {
  RecordEdit(ctx_, "Clear", [this] {
    ctx_.list.Clear();
    UpdateWordCount(ctx_);
  });
  ctx_.state.LongestWordLength = 0;
}

void WordListWindow::cmdSave_Click() { SaveWordList(ctx_); }

void WordListWindow::cmdSort_Click() {
  ctx_.list.SetEditText("");
  RecordEdit(ctx_, "Sort", [this] { SortWordList(ctx_); });
}

void WordListWindow::cmdShowWord_Click() {
  PuzzleState& s = ctx_.state;
  s.SelectedWordIndex = static_cast<i16>(RecordOfEntry(s, ctx_.list, ctx_.list.ListIndex()));
  const int k = s.SelectedWordIndex;
  if (k <= 0 || k > s.WordsUpperBound() || s.Words[k].Status != kStatusPlaced) return;
  WordRecord& word = s.Words[k];
  if (word.Shown != 0) {
    ctx_.picture->SetForeColor(kBlack);
    ShowSelectedWord(ctx_, WriteMode::Hide);
    word.Shown = 0;
    form().SetText(cmdShowWord, std::string(kShowWordCaption));
  } else {
    ctx_.picture->SetForeColor(kRed);
    ShowSelectedWord(ctx_, WriteMode::Show);
    word.Shown = 1;
    form().SetText(cmdShowWord, std::string(kHideWordCaption));
  }
}

void WordListWindow::cmdHideAll_Click() {
  ctx_.picture->SetForeColor(kBlack);
  ClearHighlights(ctx_);
  form().SetText(cmdShowWord, std::string(kShowWordCaption));
}

void WordListWindow::cmdClose_Click() { form().Hide(); }

void WordListWindow::mnuNewList_Click() {
  // A running build is cancelled first; the new list starts after its last steps.
  if (BuildRunning(ctx_)) {
    AfterBuild(ctx_, [this] { mnuNewList_Click(); });
    return;
  }
  if (!ConfirmDiscardList(ctx_)) return;
  ClearPuzzle(ctx_);
  ctx_.state.WordListFileName.clear();
  Form& f = form();
  ctx_.list.SetEditText("");
  f.SetText(lblFileName, "untitled");
  ctx_.list.Clear();
  UpdateWordCount(ctx_);
  ForgetEdits(ctx_);
  ShowWordListForTyping(ctx_);
  ctx_.state.SetDefaultBuildOptions();
  SetEmptyListState(ctx_);
  // A new list has nothing to save, whatever the answer to the prompt was.
  MarkListUnchanged(ctx_);
}

void WordListWindow::mnuViewList_Click() {
  ShowWordListForTyping(ctx_);
  form().SetWindowState(kWindowNormal);
}

}  // namespace kivrel
