#include "commands/PuzzleCommands.h"

#include <new>

#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "commands/WordListCommands.h"
#include "display/GridDisplay.h"
#include "files/FileIO.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/LeftOutWords.h"
#include "program/Statistics.h"
#include "program/WindowTitle.h"
#include "program/WordTable.h"

namespace kivrel {

std::string SuggestPuzzleName(std::string_view puzzle_name, std::string_view list_name) {
  std::u32string name = Characters(Trim(puzzle_name));
  if (name.empty() && CharCount(Trim(list_name)) > 4) name = Characters(Trim(list_name));
  const std::size_t m = name.size();
  if (m > 4) {
    if (name[m - 4] == U'.') {
      name.replace(m - 3, 3, U"kvp");
    } else {
      name += U".kvp";
    }
  }
  return Utf8(name);
}

namespace {

void TellNotAPuzzle(AppContext& ctx) {
  ShowMessage(ctx.dialogs, kNotAPuzzleMessage, kErrorTitle, MessageIcon::Critical);
}

void ShowPuzzleStatistics(AppContext& ctx) {
  ShowStatistic(ctx, frmKV_Puzzle::lblNbrLetters, ctx.state.LetterCount, kCountPicture);
  ShowStatistic(ctx, frmKV_Puzzle::lblNbrSpaces, ctx.state.SpaceCount, kCountPicture);
  ShowBuildCounters(ctx);
}

}  // namespace

void AskPuzzleName(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.PuzzleFileName = SuggestPuzzleName(s.PuzzleFileName, s.WordListFileName);
  s.PuzzleFileName =
      ChooseFileToSave(ctx, "Save Puzzle As", kPuzzleFilter, s.PuzzleFileName, "KVP", FileDialogKind::Puzzles)
          .value_or("");
}

bool WritePuzzleFile(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  // A save that does not happen leaves the puzzle the file name it had.
  const std::string had = s.PuzzleFileName;
  const auto not_saved = [&s, &had] {
    s.PuzzleFileName = had;
    return false;
  };
  if (Trim(s.PuzzleFileName).empty()) {
    AskPuzzleName(ctx);
    if (Trim(s.PuzzleFileName).empty()) return not_saved();
  }
  const PuzzleFile file = PuzzleFileFromState(s);
  const FileResult<std::string> bytes = EncodePuzzleFile(file);
  if (!bytes) {
    ShowMessage(ctx.dialogs, kPuzzleSaveErrorMessage, kErrorTitle, MessageIcon::Critical);
    return not_saved();
  }
  if (!ConfirmUnstorableCharacters(ctx, PuzzleFileTexts(file)) ||
      !SaveToChosenFile(ctx, s.PuzzleFileName, *bytes, kPuzzleSaveErrorMessage, MessageIcon::Critical,
                        [&ctx] { AskPuzzleName(ctx); })) {
    return not_saved();
  }
  s.PuzzleChanged = kFalse;
  ctx.files.Remember(FileDialogKind::Puzzles, s.PuzzleFileName);
  return true;
}

void RestoreWordList(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  Form& window = ctx.WordListForm();
  ctx.list.Clear();
  window.SetText(frmWordList::lblFileName, s.WordListFileName);
  window.SetEnabled(frmWordList::cmdHideAll, false);
  const int last = Min(s.WordCount, s.WordsUpperBound());
  for (int k = 1; k <= last; ++k) AddEntry(ctx, s.Words[static_cast<std::size_t>(k)].DisplayText);
  SetWindowTitle(ctx);
  UpdateWordCount(ctx);
  window.SetEnabled(frmWordList::cmdSave, true);
  ctx.MainForm().SetEnabled(frmKV_Puzzle::mnuSaveList, true);
  ctx.MainForm().SetEnabled(frmKV_Puzzle::mnuSaveListAs, true);
}

bool ReadPuzzleFile(AppContext& ctx, const std::string& path, std::string_view bytes) {
  FileResult<PuzzleFile> file = ParsePuzzleFile(bytes);
  if (!file) {
    TellNotAPuzzle(ctx);
    return false;
  }
  PuzzleState& s = ctx.state;
  ClearPuzzle(ctx);
  ApplyPuzzleFile(s, std::move(*file));
  s.PuzzleFileName = path;
  s.WordListFileName = "";
  ctx.AttributesForm().SetText(frmAttributes::txtInstructions, s.PuzzleInstructions);
  ctx.AttributesForm().SetText(frmAttributes::txtMysteryQuote, s.MysteryQuote);
  RestoreWordList(ctx);
  ctx.SizePuzzleDisplay();
  ClearHighlights(ctx);
  ShowPuzzleStatistics(ctx);
  SetPuzzleReadyState(ctx);
  s.OutlinesShown = kFalse;
  s.JunctionsShown = kFalse;
  MarkListUnchanged(ctx);
  // The list was made from the table just read: the table is the list's.
  s.WordTableStale = kFalse;
  s.PuzzleBuilt = kTrue;
  s.PuzzleChanged = kFalse;
  ForgetEdits(ctx);
  ctx.files.Remember(FileDialogKind::Puzzles, path);
  ShowLeftOutWords(ctx);
  ctx.MainForm().Show(false);
  return true;
}

void OpenPuzzle(AppContext& ctx) {
  AfterBuild(ctx, [&ctx] {
    if (!ConfirmDiscardList(ctx)) return;
    try {
      std::optional<OpenedFile> file =
          ChooseFileToOpen(ctx, "Open Puzzle", kPuzzleFilter, FileDialogKind::Puzzles, PuzzleFileHeadCheck());
      if (!file) return;
      OpenPuzzleFile(ctx, *file);
    } catch (const std::bad_alloc&) {
      // Reading checks the whole file before it changes anything on screen.
      ShowMessage(ctx.dialogs, kNoMemoryToOpenMessage, kErrorTitle, MessageIcon::Critical);
      ShowWordListForTyping(ctx);
    }
  });
}

void OpenPuzzleFile(AppContext& ctx, const OpenedFile& file) {
  if (file.Refused) {
    TellNotAPuzzle(ctx);
  } else {
    ReadPuzzleFile(ctx, file.Path, file.Bytes);
  }
  ShowWordListForTyping(ctx);
}

void SavePuzzle(AppContext& ctx) { WritePuzzleFile(ctx); }

void SavePuzzleAs(AppContext& ctx) {
  const std::string had = ctx.state.PuzzleFileName;
  AskPuzzleName(ctx);
  if (ctx.state.PuzzleFileName.empty() || !WritePuzzleFile(ctx)) ctx.state.PuzzleFileName = had;
}

}  // namespace kivrel
