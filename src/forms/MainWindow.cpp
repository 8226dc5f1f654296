#include "forms/MainWindow.h"

#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "commands/OpenGivenFile.h"
#include "commands/PuzzleCommands.h"
#include "commands/WordListCommands.h"
#include "display/GridDisplay.h"
#include "display/GridViews.h"
#include "forms/WindowPlacement.h"
#include "program/StartUp.h"

namespace kivrel {

using namespace frmKV_Puzzle;

MainWindow::MainWindow(AppContext& ctx) : ctx_(ctx), example_lists_(TitledThemeLists(ThemeFolder())) {
  Form& main = ctx_.MainForm();
  SetPictureDesignFont(*ctx_.picture);
  main.SetEnabled(mnuOpenExampleList, !example_lists_.empty());

  main.On({}, Event::Load, [this] { Form_Load(); });
  main.On({}, Event::Resize, [this] { Form_Resize(); });
  main.OnQueryUnload([this] { return Form_QueryUnload(); });

  main.On(mnuBuild, Event::Click, [this] { mnuBuild_Click(); });
  main.On(mnuFillinBlanks, Event::Click, [this] { mnuFillinBlanks_Click(); });
  main.On(mnuExit, Event::Click, [this] { mnuExit_Click(); });
  main.On(mnuOpenList, Event::Click, [this] { OpenList(ctx_); });
  main.On(mnuSaveList, Event::Click, [this] { SaveList(ctx_); });
  main.On(mnuSaveListAs, Event::Click, [this] { SaveListAs(ctx_); });
  main.On(mnuOpenPuzzle, Event::Click, [this] { OpenPuzzle(ctx_); });
  main.On(mnuSavePuzzle, Event::Click, [this] { SavePuzzle(ctx_); });
  main.On(mnuSavePuzzleAs, Event::Click, [this] { SavePuzzleAs(ctx_); });
  main.On(mnuUndo, Event::Click, [this] { UndoEdit(ctx_); });
  main.On(mnuRedo, Event::Click, [this] { RedoEdit(ctx_); });
  main.On(mnuSound, Event::Click, [this] { mnuSound_Click(); });
  main.On(mnuUpperCase, Event::Click, [this] { mnuUpperCase_Click(); });
  main.On(mnuNoDuplicates, Event::Click, [this] { mnuNoDuplicates_Click(); });
  main.On(mnuLowerCase, Event::Click, [this] { mnuLowerCase_Click(); });
  main.On(mnuAvoidWords, Event::Click, [this] { mnuAvoidWords_Click(); });
  main.On(mnuOutlineWords, Event::Click, [this] { mnuOutlineWords_Click(); });
  main.On(mnuViewMatches, Event::Click, [this] { mnuViewMatches_Click(); });
  main.On(mnuAbout, Event::Click, [this] { mnuAbout_Click(); });
  main.On(mnuPrint, Event::Click, [this] { mnuPrint_Click(); });
  main.On(cmdCancel, Event::Click, [this] { cmdCancel_Click(); });
  for (const ButtonCommand& command : kButtonCommands) {
    main.On(command.Button, Event::Click, [&main, menu = command.Menu] { main.Raise(menu, Event::Click); });
  }

  Form& about = ctx_.forms.Get(frmAbout::kWindow);
  about.On(frmAbout::cmdOK, Event::Click, [&about] { about.Unload(); });
}

void MainWindow::Form_Load() {
  Form_Resize();
  CenterForm(ctx_, ctx_.MainForm());
}

void MainWindow::Form_Resize() {
  Form& main = ctx_.MainForm();
  Rect stats = main.Bounds(fraStats);
  stats.Left = main.Geometry().Width - stats.Width - kStatsRightGap;
  main.SetBounds(fraStats, stats);
  SizePuzzleWindow(ctx_);
}

bool MainWindow::Form_QueryUnload() {
  if (BuildRunning(ctx_)) {
    UnloadAfterBuild();
    return true;
  }
  // However the window is closed (Exit, the close box, the session ending), a changed
  // list is offered for saving first; Exit has offered it already.
  const bool offered = save_offered_;
  save_offered_ = false;
  if (!offered && !ConfirmDiscardList(ctx_)) return true;
  if (!ConfirmExit()) return true;
  for (const Window* window : kUnloadOrder) {
    if (ctx_.forms.Has(*window)) ctx_.forms.Get(*window).Unload();
  }
  return false;
}

bool MainWindow::ConfirmExit() {
  const PuzzleState& s = ctx_.state;
  if (s.PuzzleBuilt == 0 || s.PuzzleChanged == 0) {
    return ShowMessage(ctx_.dialogs, std::string(kExitQuestion), std::string(kExitTitle), MessageIcon::Question,
                       MessageButtons::OkCancel) == MessageAnswer::Ok;
  }
  switch (ShowMessage(ctx_.dialogs, UnsavedPuzzleQuestion(s), std::string(kExitTitle), MessageIcon::Question,
                      MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
      return WritePuzzleFile(ctx_);
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

std::string UnsavedPuzzleQuestion(const PuzzleState& state) {
  const std::string name = state.PuzzleTitle.empty() ? "the puzzle" : "the puzzle \"" + state.PuzzleTitle + "\"";
  return "Do you want to save " + name + " before you exit Kivrel?";
}

void MainWindow::mnuExampleList_Click(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= example_lists_.size()) return;
  OpenExampleList(ctx_, example_lists_[static_cast<std::size_t>(index)].Path);
}

void MainWindow::mnuBuild_Click() {
  BuildPuzzle(ctx_);
  // Entries that are only notes or punctuation leave nothing to place: say so rather
  // than do nothing.
  if (!BuildRunning(ctx_) && ctx_.state.LongestWordLength < 1) {
    ShowMessage(ctx_.dialogs, kNothingToBuildMessage, kMessageTitle, MessageIcon::Exclamation);
  }
}

void MainWindow::mnuFillinBlanks_Click() { FillBlanks(ctx_); }

void MainWindow::mnuExit_Click() { UnloadAfterBuild(); }

void MainWindow::UnloadAfterBuild() {
  if (unload_pending_) return;
  unload_pending_ = true;
  AfterBuild(ctx_, [this] {
    unload_pending_ = false;
    // A changed list is offered for saving first; its Cancel, or a failed save, stays.
    if (!ConfirmDiscardList(ctx_)) return;
    save_offered_ = true;
    ctx_.MainForm().Unload();
    save_offered_ = false;
  });
}

void MainWindow::mnuSound_Click() {
  Form& main = ctx_.MainForm();
  main.SetChecked(mnuSound, !main.Checked(mnuSound));
}

void MainWindow::mnuUpperCase_Click() {
  Form& main = ctx_.MainForm();
  main.SetChecked(mnuUpperCase, !main.Checked(mnuUpperCase));
}

void MainWindow::mnuNoDuplicates_Click() {
  Form& main = ctx_.MainForm();
  main.SetChecked(mnuNoDuplicates, !main.Checked(mnuNoDuplicates));
}

void MainWindow::mnuLowerCase_Click() {
  Form& main = ctx_.MainForm();
  main.SetChecked(mnuLowerCase, !main.Checked(mnuLowerCase));
  // The grid on screen (or the one being built) is drawn again in the other case.
  if (ctx_.state.PuzzleBuilt != 0 || BuildRunning(ctx_)) RedrawGrid(ctx_);
}

void MainWindow::mnuAvoidWords_Click() {
  std::optional<OpenedFile> file = ChooseFileToOpen(ctx_, "Avoid Words", kWordListFilter, FileDialogKind::Lists);
  ctx_.AvoidWords.clear();
  if (file) {
    const FileResult<ParsedWordList> parsed = ParseWordList(file->Bytes);
    if (parsed) {
      ctx_.AvoidWords = PlacedWords(*parsed);
    } else {
      ShowMessage(ctx_.dialogs, parsed.Error().Reason, kErrorTitle, MessageIcon::Critical);
    }
  }
  ctx_.MainForm().SetChecked(mnuAvoidWords, !ctx_.AvoidWords.empty());
}

void MainWindow::mnuOutlineWords_Click() { ToggleOutlines(ctx_); }

void MainWindow::mnuViewMatches_Click() { ToggleJunctions(ctx_); }

void MainWindow::mnuAbout_Click() { ctx_.forms.Get(frmAbout::kWindow).Show(true); }

void MainWindow::mnuPrint_Click() { ctx_.forms.Get(frmPrintOptions::kWindow).Show(false); }

void MainWindow::cmdCancel_Click() { CancelBuild(ctx_); }

}  // namespace kivrel
