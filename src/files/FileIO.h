#pragma once
// Reading a whole file, and saving one so that a failed save never damages the file
// that was there: the bytes go to a temporary file beside the target, which replaces
// the target only once every byte is on disk.
#include <optional>
#include <string>
#include <string_view>

namespace kivrel {

/// The bytes of a regular file, or nothing when it cannot be opened or read (a missing
/// file, no permission, a read error). Only regular files are read: a directory, a
/// FIFO or a device is refused at once, without waiting on it or reading from it.
/// `why` (when given) says what went wrong, in the system's words ("Is a directory",
/// "No such file or directory"; "Not a regular file" for a FIFO or a device).
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* why = nullptr);

/// True when both paths name one existing file (also through links or other names).
bool SameFile(const std::string& a, const std::string& b);

/// A file-size limit (ulimit -f) ends a process with SIGXFSZ unless it is ignored; with
/// it ignored the write fails instead, and the save reports that and cleans up.
void IgnoreFileSizeSignal();

enum class SaveResult {
  Saved,
  CannotOpen,   // the target cannot be written at all: nothing was touched
  WriteFailed,  // writing failed part-way: the old file, if any, is as it was
};

/// Writes bytes to path through a temporary file in the same folder and renames it over
/// the target. An existing target keeps its permissions; a symbolic link is followed,
/// so the file it points to is replaced (or made, when it is not there yet), not the
/// link. On failure no temporary file is left, and `why` (when given) holds the
/// system's reason.
///
/// CannotOpen: the target is a directory or another non-regular file, is a file that
/// may not be written, or is missing and its folder cannot take a new file.
/// WriteFailed: the target could be opened, but the bytes could not all be written
/// (no room, no temporary file beside an existing target, a failed rename).
SaveResult SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* why = nullptr);

}  // namespace kivrel
