#pragma once
// Reading a whole file, and saving one so that a failed save never damages the file
// that was there: the bytes go to a temporary file beside the target, which replaces
// the target only once every byte is on disk.
#include <optional>
#include <string>
#include <string_view>

namespace kivrel {

/// The bytes of a regular file, or nothing when it cannot be opened or read (a missing
/// file, a directory, no permission, a read error).
std::optional<std::string> ReadWholeFile(const std::string& path);

enum class SaveResult {
  Saved,
  CannotOpen,   // the target cannot be written at all: nothing was touched
  WriteFailed,  // writing failed part-way: the old file, if any, is as it was
};

/// Writes bytes to path through a temporary file in the same folder and renames it over
/// the target. An existing target keeps its permissions; a symbolic link is followed,
/// so the file it points to is replaced, not the link.
///
/// CannotOpen: the target is a directory or another non-regular file, is a file that
/// may not be written, or is missing and its folder cannot take a new file.
/// WriteFailed: the target could be opened, but the bytes could not all be written
/// (no room, no temporary file beside an existing target, a failed rename).
SaveResult SaveFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace kivrel
