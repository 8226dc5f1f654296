#include "commands/WordListCommands.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "files/Cp1252.h"
#include "files/FileIO.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/WindowTitle.h"
#include "program/WordTable.h"

namespace kivrel {

std::string SuggestWordListName(std::string_view list_name, std::string_view puzzle_name) {
  std::u32string name = Characters(list_name);
  if (name.empty() && CharCount(puzzle_name) > 4) name = Characters(puzzle_name);
  if (name.size() <= 4) return Utf8(name);
  if (name[name.size() - 4] == U'.') {
    if (ToLower(Utf8(name.substr(name.size() - 3))) == "kvp") name.replace(name.size() - 3, 3, U"kvl");
  } else {
    // Only the file name is cut: the folders before it stay whole.
    std::size_t slash = name.find_last_of(U'/');
    std::size_t start = slash == std::u32string::npos ? 0 : slash + 1;
    if (name.size() - start > 8) name.resize(start + 8);
    name += U".kvl";
  }
  return Utf8(name);
}

std::optional<OpenedFile> ChooseFileToOpen(AppContext& ctx, const std::string& title, const std::string& filter,
                                           FileDialogKind kind, const FileHeadCheck& head) {
  std::string name;
  while (true) {
    int backslash = FindLast(name, "\\");
    if (backslash > 0) name = name.substr(static_cast<std::size_t>(backslash));
    std::optional<std::string> chosen = ctx.dialogs.File({.Action = FileRequest::Kind::Open,
                                                          .DialogTitle = title,
                                                          .Filter = filter,
                                                          .FilterIndex = 2,
                                                          .FileName = name,
                                                          .Folder = ctx.files.FolderOf(kind),
                                                          .DefaultExt = {},
                                                          .Flags = 0});
    if (!chosen) return std::nullopt;
    name = *chosen;
    FileResult<std::string> bytes = ReadWholeFile(name, head);
    if (bytes) return OpenedFile{name, std::move(*bytes), std::nullopt};
    if (bytes.Error().Fault == FileFault::Invalid) return OpenedFile{name, {}, bytes.Error()};
    // A missing file is the name error itself; any other cause is named.
    std::string reason = bytes.Error().Reason;
    if (reason == std::strerror(ENOENT)) reason.clear();
    ShowMessage(ctx.dialogs, WithReason(kFileNameErrorMessage, name, reason), kMessageTitle, MessageIcon::Critical);
  }
}

void ReadWordListFile(AppContext& ctx, const ParsedWordList& parsed) {
  // The parser already refused lists beyond the limits, so the whole list goes in.
  LoadWordList(ctx, parsed, nullptr);
  ShowWordListForTyping(ctx);
}

void ShowWordListForTyping(AppContext& ctx) {
  ctx.WordListForm().Show(false);
  ctx.WordListForm().SetFocus(frmWordList::cboWordList);
}

bool LoadWordList(AppContext& ctx, const ParsedWordList& parsed, std::string* error) {
  PuzzleState& s = ctx.state;
  ctx.list.Clear();
  s.PuzzleTitle = "(untitled)";
  s.PuzzleInstructions = "";
  s.MysteryQuote = "";
  s.PuzzleWidth = 0;
  s.PuzzleHeight = 0;
  s.SetDefaultBuildOptions();
  if (parsed.Header) ApplyHeader(s, *parsed.Header);
  bool complete = true;
  for (const std::string& entry : parsed.Entries) {
    if (Trim(entry).empty()) continue;
    if (!AddEntry(ctx, entry)) {
      complete = false;
      if (error) *error = kListFullMessage;
      break;
    }
  }
  SetWindowTitle(ctx);
  UpdateWordCount(ctx);
  BuildWordTable(ctx);
  ctx.WordListForm().SetText(frmWordList::lblFileName, s.WordListFileName);
  return complete;
}

std::optional<std::string> ChooseFileToSave(AppContext& ctx, const std::string& title, const std::string& filter,
                                            const std::string& suggested, const std::string& default_ext,
                                            FileDialogKind kind) {
  return ctx.dialogs.File({.Action = FileRequest::Kind::SaveAs,
                           .DialogTitle = title,
                           .Filter = filter,
                           .FilterIndex = 2,
                           .FileName = suggested,
                           .Folder = ctx.files.FolderOf(kind),
                           .DefaultExt = default_ext,
                           .Flags = kFileOverwritePrompt});
}

std::string WithReason(std::string message, const std::string& path, const std::string& reason) {
  if (!reason.empty()) message += "\n\n" + path + ": " + reason;
  return message;
}

bool SaveToChosenFile(AppContext& ctx, std::string& name, std::string_view bytes, const std::string& failure,
                      MessageIcon icon, const std::function<void()>& ask_again) {
  while (true) {
    const FileResult<void> saved = SaveFileAtomically(name, bytes);
    if (saved) return true;
    ShowMessage(ctx.dialogs, WithReason(failure, name, saved.Error().Reason), kErrorTitle, icon);
    if (saved.Error().Fault != FileFault::CannotOpen) return false;
    // Nothing could be written there: another name may do.
    ask_again();
    if (name.empty()) return false;
  }
}

void SaveWordListAs(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.WordListFileName = SuggestWordListName(s.WordListFileName, s.PuzzleFileName);
  s.WordListFileName =
      ChooseFileToSave(ctx, "Save Word List As", kWordListFilter, s.WordListFileName, "KVL", FileDialogKind::Lists)
          .value_or("");
  ctx.WordListForm().SetText(frmWordList::lblFileName, s.WordListFileName);
}

bool ConfirmUnstorableCharacters(AppContext& ctx, const std::vector<std::string_view>& texts) {
  const std::string characters = UnstorableCharacters(texts);
  if (characters.empty()) return true;
  const std::string question =
      "The file cannot hold these characters, which will be written as \"?\": " + characters + "\n\nSave all the same?";
  return ShowMessage(ctx.dialogs, question, kPromptTitle, MessageIcon::Exclamation, MessageButtons::OkCancel) ==
         MessageAnswer::Ok;
}

namespace {

// A save that did not happen leaves the list with the file name it had.
void KeepListName(AppContext& ctx, const std::string& name) {
  ctx.state.WordListFileName = name;
  ctx.WordListForm().SetText(frmWordList::lblFileName, name);
}

}  // namespace

bool SaveWordList(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.WordListSaved = kFalse;
  const std::string had = s.WordListFileName;
  if (Trim(s.WordListFileName).empty()) {
    SaveWordListAs(ctx);
    if (Trim(s.WordListFileName).empty()) {
      KeepListName(ctx, had);
      return false;
    }
  }
  std::vector<std::string_view> texts{s.PuzzleTitle, s.PuzzleInstructions, s.MysteryQuote};
  texts.insert(texts.end(), ctx.list.Entries().begin(), ctx.list.Entries().end());
  const std::string bytes = WordListFileBytes(s, ctx.list.Entries());
  if (!ConfirmUnstorableCharacters(ctx, texts) ||
      !SaveToChosenFile(ctx, s.WordListFileName, bytes, kListSaveErrorMessage, MessageIcon::Exclamation,
                        [&ctx] { SaveWordListAs(ctx); })) {
    KeepListName(ctx, had);
    return false;
  }
  MarkListUnchanged(ctx);
  s.WordListSaved = kTrue;
  ctx.files.Remember(FileDialogKind::Lists, s.WordListFileName);
  return true;
}

bool ConfirmDiscardList(AppContext& ctx) {
  if (!ctx.state.WordListChanged) return true;
  switch (ShowMessage(ctx.dialogs, kSaveListPrompt, kPromptTitle, MessageIcon::None, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
      SaveWordList(ctx);
      return ctx.state.WordListSaved != 0;
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void OpenWordListFile(AppContext& ctx, const OpenedFile& file) {
  const FileResult<ParsedWordList> parsed = [&]() -> FileResult<ParsedWordList> {
    try {
      return ParseWordList(file.Bytes);
    } catch (const std::bad_alloc&) {
      return FileError(FileFault::CannotOpen, kNoMemoryToOpenMessage);
    }
  }();
  if (!parsed) {
    ShowMessage(ctx.dialogs, parsed.Error().Reason, kErrorTitle, MessageIcon::Critical);
    return;
  }
  PuzzleState& s = ctx.state;
  s.WordListFileName = file.Path;
  ClearPuzzle(ctx);
  ReadWordListFile(ctx, *parsed);
  // A file without entries leaves the empty-list state that counting them set.
  if (s.WordCount > 0) SetListReadyState(ctx);
  MarkListUnchanged(ctx);
  ForgetEdits(ctx);
  ctx.files.Remember(FileDialogKind::Lists, file.Path);
  if (!parsed->RefusedSize.empty()) {
    ShowMessage(ctx.dialogs, RefusedSizeMessage(parsed->RefusedSize), kMessageTitle, MessageIcon::Exclamation);
  }
}

void OpenList(AppContext& ctx) {
  AfterBuild(ctx, [&ctx] {
    if (!ConfirmDiscardList(ctx)) return;
    std::optional<OpenedFile> file;
    try {
      file = ChooseFileToOpen(ctx, "Open Word List", kWordListFilter, FileDialogKind::Lists);
    } catch (const std::bad_alloc&) {
      ShowMessage(ctx.dialogs, kNoMemoryToOpenMessage, kErrorTitle, MessageIcon::Critical);
      return;
    }
    if (file) OpenWordListFile(ctx, *file);
  });
}

void SaveList(AppContext& ctx) { SaveWordList(ctx); }

void SaveListAs(AppContext& ctx) {
  const std::string had = ctx.state.WordListFileName;
  SaveWordListAs(ctx);
  if (ctx.state.WordListFileName.empty() || !SaveWordList(ctx)) KeepListName(ctx, had);
}

}  // namespace kivrel
