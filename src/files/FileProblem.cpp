#include "files/FileProblem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivrel {

namespace {

constexpr const char* kNotRegular = "Not a regular file";

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Checked with the ids the program runs as, as opening the file is.
bool Allowed(const std::string& path, int mode) { return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0; }

std::string KindProblem(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return SystemReason(EISDIR);
  if (!S_ISREG(info.st_mode)) return kNotRegular;
  return {};
}

}  // namespace

std::string SystemReason(int error) { return error == 0 ? std::string() : std::string(std::strerror(error)); }

std::string ReadProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return SystemReason(errno);
  if (std::string kind = KindProblem(info); !kind.empty()) return kind;
  if (!Allowed(path, R_OK)) return SystemReason(errno);
  return {};
}

std::string WriteProblem(const std::string& path) {
  if (path.empty()) return SystemReason(ENOENT);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    if (std::string kind = KindProblem(info); !kind.empty()) return kind;
    return Allowed(path, W_OK) ? std::string() : SystemReason(errno);
  }
  if (errno != ENOENT) return SystemReason(errno);
  // A new file: its folder must be there and take files.
  const std::string folder = FolderOf(path);
  if (::stat(folder.c_str(), &info) != 0) return SystemReason(errno);
  if (!S_ISDIR(info.st_mode)) return SystemReason(ENOTDIR);
  if (!Allowed(folder, W_OK | X_OK)) return SystemReason(errno);
  return {};
}

}  // namespace kivrel
