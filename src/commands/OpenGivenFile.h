#pragma once
// Opening a file named when the program starts (by the menu entry, the file manager or
// a terminal): the steps of File > Open List or File > Open Puzzle without the Open
// dialog, the file's kind taken from its name or, failing that, from its contents.
#include <string>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kNotAListOrPuzzleMessage = "File does not contain a Kivrel word list or puzzle";

enum class FileKind { WordList, Puzzle, Neither };

/// A name ending in .kvp (in any case) is a puzzle, .kvl or .txt a word list. Any other
/// file is a puzzle when the puzzle reader accepts it, a word list when it is text
/// (IsWordListText), else neither.
FileKind KindOfFile(std::string_view path, std::string_view bytes);

/// Opens `path` as Open List or Open Puzzle would once it is chosen: after a running
/// build has ended and the save prompt, with the same checks and messages ("File name
/// error - please check the name" when it cannot be read, with the file and the
/// system's reason after it). A file of neither kind is
/// refused with "File does not contain a Kivrel word list or puzzle" and changes
/// nothing.
void OpenGivenFile(AppContext& ctx, const std::string& path);

/// File > Open Example List: opens one of the lists that come with the program as Open
/// List would, but as an untitled list, so that Save List asks for a name and never
/// writes over the shipped file.
void OpenExampleList(AppContext& ctx, const std::string& path);

}  // namespace kivrel
