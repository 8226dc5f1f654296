#pragma once
// The word list's file commands: Open List, Save List, Save List As and the prompt
// that offers to save a changed list before it is replaced. They talk to the user
// through ctx.dialogs only.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kWordListFilter =
    "All Files (*.*)|*.*|Word List Files (*.kvl)|*.kvl|Text Files (*.txt)|*.txt";
inline constexpr const char* kFileNameErrorMessage = "File name error - please check the name";
inline constexpr const char* kListSaveErrorMessage = "Error while saving word list";
inline constexpr const char* kSaveListPrompt = "Do you want to save the current list?";
inline constexpr const char* kNoMemoryToOpenMessage = "Not enough memory to open the file";

/// Before a save: when code page 1252 cannot hold some characters of the texts, asks
/// whether to save with them written as "?" (OK, Cancel). True when the save may go on.
bool ConfirmUnstorableCharacters(AppContext& ctx, const std::vector<std::string_view>& texts);

/// The name Save List As suggests. When the list has no name, a puzzle name longer than
/// 4 characters is the start. A name longer than 4 characters whose fourth character
/// from the end is "." keeps its extension, except that "kvp" (in any case) becomes
/// "kvl"; a longer name without one has its file name (the part after the last "/")
/// cut to 8 characters and ".kvl" appended. "C:\PUZ\ANIMALS.kvp" gives
/// "C:\PUZ\ANIMALS.kvl", "LIST.txt" stays, "ABCDEFGHIJ" gives "ABCDEFGH.kvl".
std::string SuggestWordListName(std::string_view list_name, std::string_view puzzle_name);

/// A file chosen in the Open dialog, read whole, or refused from its head.
struct OpenedFile {
  std::string Path;
  std::string Bytes;
  /// Set when the check of the file's head refused it: Bytes is then empty.
  std::optional<FileError> Refused;
};

/// The Open dialog of the open commands (filter index 2), shown again with "File name
/// error - please check the name" for as long as the chosen file cannot be read (with
/// the system's reason when the file is there but cannot be read). With a head check,
/// a file it refuses is returned unread, with its refusal. Nothing when the user cancels.
/// It starts in the folder of the last file of its kind.
std::optional<OpenedFile> ChooseFileToOpen(AppContext& ctx, const std::string& title, const std::string& filter,
                                           FileDialogKind kind, const FileHeadCheck& head = {});

/// A message about a file with the system's reason after it, when there is one:
/// "Error while saving word list" and "/lists/zoo.kvl: Permission denied".
std::string WithReason(std::string message, const std::string& path, const std::string& reason);

/// Writes bytes to the file `name` names (through SaveFileAtomically). When the file
/// cannot be written at all, the user is told why (`failure` and the reason) and
/// `ask_again` offers another name, until one is written or `name` comes back empty. A
/// write that fails part-way is reported the same way. Returns whether it was saved.
bool SaveToChosenFile(AppContext& ctx, std::string& name, std::string_view bytes, const std::string& failure,
                      MessageIcon icon, const std::function<void()>& ask_again);

/// The Save As dialog of the save commands (filter index 2, asking before it replaces a
/// file), starting from a suggested name (in the folder of the last file of its kind when
/// the name gives none). Nothing when the user cancels.
std::optional<std::string> ChooseFileToSave(AppContext& ctx, const std::string& title, const std::string& filter,
                                            const std::string& suggested, const std::string& default_ext,
                                            FileDialogKind kind);

/// Puts a parsed list into the program as reading a list file does: the list is
/// replaced, the title becomes "(untitled)" and the size 0 x 0 unless a header says
/// otherwise, the default build options are set, the header's attributes applied, the
/// window title, the count and the word table brought up to date, and the word list
/// window's file name shown. Returns false (with error set) when the list passes the
/// limits of a word list; the entries up to that point are kept.
bool LoadWordList(AppContext& ctx, const ParsedWordList& parsed, std::string* error);

/// Puts a parsed list file into the program (LoadWordList: list, title, size, default
/// build options, header attributes, word table) and shows the word list window.
void ReadWordListFile(AppContext& ctx, const ParsedWordList& parsed);

/// Shows the word list window with the keys going to its entry box.
void ShowWordListForTyping(AppContext& ctx);

/// Writes the list to WordListFileName, asking for a name first when there is none and
/// again whenever the file cannot be opened for writing. Characters code page 1252
/// cannot hold are named first, and the user may cancel the save. On success WordListChanged is
/// cleared and WordListSaved set; a failed write shows "Error while saving word list"
/// and leaves the file that was there as it was. A save that does not happen (failed or
/// cancelled) leaves the list the file name it had. Returns WordListSaved.
bool SaveWordList(AppContext& ctx);

/// The Save Word List As dialog, starting from the suggested name. WordListFileName
/// becomes the name chosen ("" when cancelled) and the word list window shows it.
void SaveWordListAs(AppContext& ctx);

/// True when the caller may replace the list: it has no unsaved changes, or the user
/// answered No to "Do you want to save the current list?", or Yes and the save
/// succeeded. Cancel (or Yes and a save that did not happen) gives false.
bool ConfirmDiscardList(AppContext& ctx);

/// Reads a chosen list file into the program, replacing the list and discarding the
/// puzzle (ReadWordListFile), as File > Open List does once the file is chosen. A file
/// the reader refuses (a header number out of range, a list too long) is reported and
/// changes nothing.
void OpenWordListFile(AppContext& ctx, const OpenedFile& file);

/// File > Open List...: the save prompt, the Open dialog, then the list replaces the
/// current one and the puzzle is discarded. A file the reader refuses (a header
/// number out of range, a list too long), or one there is not memory enough to read,
/// is reported and changes nothing. During a
/// build the build is cancelled and the command runs once it has ended (AfterBuild).
void OpenList(AppContext& ctx);

/// File > Save List: SaveWordList.
void SaveList(AppContext& ctx);

/// File > Save List As...: SaveWordListAs, then SaveWordList when a name was chosen. When
/// no file is written the list keeps the file name it had.
void SaveListAs(AppContext& ctx);

}  // namespace kivrel
