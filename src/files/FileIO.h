#pragma once
// Reading a whole file, and saving files so that a failed save never damages the file
// that was there: the bytes go to a temporary file beside the target, which replaces
// the target only once every byte is on disk.
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"

namespace kivrel {

/// The bytes of a regular file. Only regular files are read: a directory, a FIFO or a
/// device is refused at once, without waiting on it or reading from it. CannotOpen says
/// why in the system's words ("Is a directory", "No such file or directory"; "Not a
/// regular file" for a FIFO or a device), also for a read that fails part-way.
FileResult<std::string> ReadWholeFile(const std::string& path);

/// True when both paths name one existing file (also through links or other names).
bool SameFile(const std::string& a, const std::string& b);

/// A file-size limit (ulimit -f) ends a process with SIGXFSZ unless it is ignored; with
/// it ignored the write fails instead, and the save reports that and cleans up.
void IgnoreFileSizeSignal();

/// Writes bytes to path through a temporary file in the same folder and renames it over
/// the target. An existing target keeps its permissions; a symbolic link is followed,
/// so the file it points to is replaced (or made, when it is not there yet), not the
/// link. On failure no temporary file is left.
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
