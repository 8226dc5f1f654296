#pragma once
// Reading a whole file, and saving files so that a failed save never damages the file
// that was there: the bytes go to a temporary file beside the target, which replaces
// the target only once every byte is on disk.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"

namespace kivrel {

/// What a reader can tell from the first bytes of a file and its size, before the rest
/// is read: a file that is refused there (Invalid) is never read further.
struct FileHeadCheck {
  std::size_t HeadBytes = 0;
  std::function<FileResult<void>(std::string_view head, std::uint64_t size)> Check;
};

/// The bytes of a regular file. Only regular files are read: a directory, a FIFO or a
/// device is refused at once, without waiting on it or reading from it. CannotOpen says
/// why in the system's words ("Is a directory", "No such file or directory"; "Not a
/// regular file" for a FIFO or a device), also for a read that fails part-way. With a
/// head check, its first HeadBytes (fewer in a shorter file) and the file's size are
/// checked first, and its refusal is the result.
FileResult<std::string> ReadWholeFile(const std::string& path, const FileHeadCheck& head = {});

/// True when writing to `a` and writing to `b` would write one file: both name one
/// existing file (also through links or other names), or links and folders lead both to
/// one name where no file is yet.
bool SameFile(const std::string& a, const std::string& b);

/// Sets up the signals around saving, once, at the start of a program. A file-size limit
/// (ulimit -f) ends a process with SIGXFSZ unless it is ignored; with it ignored the
/// write fails instead, and the save reports that and cleans up. SIGINT, SIGTERM and
/// SIGHUP (where they would end the program) first remove the temporary files of a save
/// that is under way, then end it as they would have.
void GuardSavesAgainstSignals();

/// Writes bytes to path through a temporary file in the same folder and renames it over
/// the target. An existing target keeps its permissions; a symbolic link is followed,
/// so the file it points to is replaced (or made, when it is not there yet), not the
/// link; a file with other hard links gets a new inode, so the other names keep the old
/// bytes. On failure no temporary file is left. Temporaries that an earlier save left
/// in that folder (a program killed while saving) are removed first, once no save holds
/// them and they are a minute old.
///
/// CannotOpen: the target is a directory or another non-regular file, is a file that
/// may not be written, or is missing and its folder cannot take a new file.
/// WriteFailed: the target could be opened, but the bytes could not all be written
/// (no room, no temporary file beside an existing target, a failed rename).
FileResult<void> SaveFileAtomically(const std::string& path, std::string_view bytes);

/// One file of a save of several.
struct FileToSave {
  std::string Path;
  std::string_view Bytes;
};

/// Saves files that belong together (a page and its answer key) as SaveFileAtomically
/// saves one: every file is written to its temporary first, and they replace their
/// targets, in order, only once all are whole. When one cannot be written, none is
/// replaced and every temporary is removed; the error names the file (Path). Only a
/// rename that fails after an earlier one succeeded leaves some replaced
/// (PartlyReplaced).
FileResult<void> SaveFilesTogether(const std::vector<FileToSave>& files);

}  // namespace kivrel
