#include "commands/OpenGivenFile.h"

#include <new>
#include <optional>

#include "commands/BuildCommands.h"
#include "commands/PuzzleCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "model/Text.h"

namespace kivrel {

namespace {

// The kind a file's name gives it, if any.
std::optional<FileKind> KindOfName(std::string_view path) {
  std::string_view name = path.substr(path.find_last_of('/') + 1);
  std::size_t dot = name.find_last_of('.');
  const std::string extension = dot == std::string_view::npos ? "" : ToLower(name.substr(dot + 1));
  if (extension == "kvp") return FileKind::Puzzle;
  if (extension == "kvl" || extension == "txt") return FileKind::WordList;
  return std::nullopt;
}

// Reads a file named outside the Open dialog, telling the user when it cannot be read.
// A file named as a puzzle is refused from its head, before the rest is read.
std::optional<OpenedFile> ReadGivenFile(AppContext& ctx, const std::string& path) {
  const bool puzzle = KindOfName(path) == FileKind::Puzzle;
  FileResult<std::string> bytes = ReadWholeFile(path, puzzle ? PuzzleFileHeadCheck() : FileHeadCheck{});
  if (!bytes && bytes.Error().Fault == FileFault::Invalid) {
    OpenPuzzleFile(ctx, {path, {}, bytes.Error()});
    return std::nullopt;
  }
  if (!bytes) {
    // Named with the reason: unlike a file picked in the Open dialog, the user may not
    // see which file was meant, nor why it cannot be read.
    ShowMessage(ctx.dialogs, WithReason(kFileNameErrorMessage, path, bytes.Error().Reason), kMessageTitle,
                MessageIcon::Critical);
    return std::nullopt;
  }
  return OpenedFile{path, std::move(*bytes), std::nullopt};
}

}  // namespace

FileKind KindOfFile(std::string_view path, std::string_view bytes) {
  if (std::optional<FileKind> kind = KindOfName(path)) return *kind;
  if (ParsePuzzleFile(bytes)) return FileKind::Puzzle;
  return IsWordListText(bytes) ? FileKind::WordList : FileKind::Neither;
}

void OpenGivenFile(AppContext& ctx, const std::string& path) {
  AfterBuild(ctx, [&ctx, path] {
    if (!ConfirmDiscardList(ctx)) return;
    try {
      const std::optional<OpenedFile> file = ReadGivenFile(ctx, path);
      if (!file) return;
      switch (KindOfFile(file->Path, file->Bytes)) {
        case FileKind::WordList:
          OpenWordListFile(ctx, *file);
          break;
        case FileKind::Puzzle:
          OpenPuzzleFile(ctx, *file);
          break;
        case FileKind::Neither:
          ShowMessage(ctx.dialogs, kNotAListOrPuzzleMessage, kErrorTitle, MessageIcon::Critical);
          break;
      }
    } catch (const std::bad_alloc&) {
      ShowMessage(ctx.dialogs, kNoMemoryToOpenMessage, kErrorTitle, MessageIcon::Critical);
    }
  });
}

void OpenExampleList(AppContext& ctx, const std::string& path) {
  AfterBuild(ctx, [&ctx, path] {
    if (!ConfirmDiscardList(ctx)) return;
    try {
      const std::optional<OpenedFile> file = ReadGivenFile(ctx, path);
      if (!file) return;
      // A shipped list is a starting point: saved, it goes to a file the user names,
      // never over the copy that came with the program, and the list dialogs stay in
      // the user's folder.
      const FileDialogMemory folders = ctx.files;
      OpenWordListFile(ctx, *file);
      if (ctx.state.WordListFileName != path) return;  // refused: nothing changed
      ctx.state.WordListFileName.clear();
      ctx.WordListForm().SetText(frmWordList::lblFileName, "untitled");
      ctx.files = folders;
    } catch (const std::bad_alloc&) {
      ShowMessage(ctx.dialogs, kNoMemoryToOpenMessage, kErrorTitle, MessageIcon::Critical);
    }
  });
}

}  // namespace kivrel
