#pragma once
// The puzzle's file commands: Open Puzzle, Save Puzzle and Save Puzzle As, and the
// steps that put a read puzzle on screen. They talk to the user through ctx.dialogs
// only.
#include <string>
#include <string_view>

#include "commands/WordListCommands.h"
#include "files/PuzzleFile.h"
#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kPuzzleFilter = "All Files (*.*)|*.*|Puzzle Files (*.kvp)|*.kvp";
inline constexpr const char* kNotAPuzzleMessage = "File does not contain a Kivrel puzzle";
inline constexpr const char* kPuzzleSaveErrorMessage = "Error while saving puzzle";

/// The name Save Puzzle As suggests, from the trimmed puzzle name or, when there is
/// none, a trimmed list name longer than 4 characters: a name longer than 4 characters
/// whose fourth character from the end is "." gets the extension "kvp" in place of its
/// own; a longer name without one gets ".kvp" appended; a shorter name stays.
std::string SuggestPuzzleName(std::string_view puzzle_name, std::string_view list_name);

/// Writes the puzzle to PuzzleFileName, asking for a name first when there is none and
/// again whenever the file cannot be opened for writing. Characters code page 1252
/// cannot hold are named first, and the user may cancel the save. A failed write (or a puzzle
/// the format cannot carry) shows "Error while saving puzzle" and leaves the file that
/// was there as it was, and the puzzle keeps the file name it had. Returns true when the
/// file was written; the puzzle then counts as saved.
bool WritePuzzleFile(AppContext& ctx);

/// The Save Puzzle As dialog, starting from the suggested name. PuzzleFileName becomes
/// the name chosen ("" when cancelled).
void AskPuzzleName(AppContext& ctx);

/// Puts a puzzle file's bytes on screen. The whole file is read and checked first: a
/// file that is not a puzzle shows "File does not contain a Kivrel puzzle" and leaves
/// everything as it was (returns false). Otherwise the puzzle replaces the current one:
/// state, instructions box, word list (RestoreWordList), picture with no highlights,
/// statistics, the puzzle-ready commands; PuzzleFileName becomes path and the list's
/// file name is emptied; WordListChanged is cleared; the main window is shown.
bool ReadPuzzleFile(AppContext& ctx, const std::string& path, std::string_view bytes);

/// Refills the word list from the entries of Words (blank ones add nothing), shows the
/// list's (empty) file name, the title and the count, disables Hide All and enables the
/// Save List commands.
void RestoreWordList(AppContext& ctx);

/// ReadPuzzleFile on a chosen file (one refused from its head is told as not a puzzle),
/// then the word list window shown (also when the file was refused), as File > Open
/// Puzzle does once the file is chosen.
void OpenPuzzleFile(AppContext& ctx, const OpenedFile& file);

/// File > Open Puzzle...: the save prompt, the Open dialog, ReadPuzzleFile, and the word
/// list window shown (also when the file was refused). During a build the build is
/// cancelled and the command runs once it has ended (AfterBuild).
void OpenPuzzle(AppContext& ctx);

/// File > Save Puzzle (and the Save Puzzle button): WritePuzzleFile.
void SavePuzzle(AppContext& ctx);

/// File > Save Puzzle As...: AskPuzzleName, then WritePuzzleFile when a name was chosen.
/// When no file is written the puzzle keeps the file name it had.
void SavePuzzleAs(AppContext& ctx);

}  // namespace kivrel
