#include "commands/OpenGivenFile.h"

#include <algorithm>
#include <new>

#include "commands/BuildCommands.h"
#include "commands/PuzzleCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "model/Text.h"

namespace kivrel {

namespace {

bool IsText(std::string_view bytes) {
  return std::none_of(bytes.begin(), bytes.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r';
  });
}

}  // namespace

FileKind KindOfFile(std::string_view path, std::string_view bytes) {
  std::string_view name = path.substr(path.find_last_of('/') + 1);
  std::size_t dot = name.find_last_of('.');
  const std::string extension = dot == std::string_view::npos ? "" : ToLower(name.substr(dot + 1));
  if (extension == "kvp") return FileKind::Puzzle;
  if (extension == "kvl" || extension == "txt") return FileKind::WordList;
  if (ParsePuzzleFile(bytes)) return FileKind::Puzzle;
  return IsText(bytes) ? FileKind::WordList : FileKind::Neither;
}

void OpenGivenFile(AppContext& ctx, const std::string& path) {
  AfterBuild(ctx, [&ctx, path] {
    if (!ConfirmDiscardList(ctx)) return;
    try {
      FileResult<std::string> bytes = ReadWholeFile(path);
      if (!bytes) {
        ShowMessage(ctx.dialogs, kFileNameErrorMessage, kMessageTitle, MessageIcon::Critical);
        return;
      }
      const OpenedFile file{path, std::move(*bytes)};
      switch (KindOfFile(file.Path, file.Bytes)) {
        case FileKind::WordList:
          OpenWordListFile(ctx, file);
          break;
        case FileKind::Puzzle:
          OpenPuzzleFile(ctx, file);
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

}  // namespace kivrel
