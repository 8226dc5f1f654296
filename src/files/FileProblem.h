#pragma once
// Why a file could not be read or written, in the system's own words, for the message
// that tells the user.
#include <string>

namespace kivrel {

/// Why the file cannot be read ("Permission denied", "No such file or directory", "Is a
/// directory", "Not a regular file"); "" when nothing stands in the way now.
std::string ReadProblem(const std::string& path);

/// Why the file cannot be written: the file itself when it exists, otherwise its folder
/// ("Permission denied", "No such file or directory" for a missing folder, "Is a
/// directory", "Not a regular file"); "" when nothing stands in the way now.
std::string WriteProblem(const std::string& path);

/// The system's text for an error number; "" for 0.
std::string SystemReason(int error);

}  // namespace kivrel
