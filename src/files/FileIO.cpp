#include "files/FileIO.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivrel {

namespace {

// A file descriptor that is closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  /// Closes now and reports whether the close succeeded (it can report a late write error).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void Explain(std::string* why, std::string text) {
  if (why) *why = std::move(text);
}

// The path a chain of symbolic links ends at, also when that file does not exist yet,
// so a save through a dangling link makes the file the link names. A loop is left to
// the system to report (ELOOP) when the result is used.
std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return path;
    std::string next(link.data(), static_cast<std::size_t>(n));
    path = next.starts_with('/') ? next : FolderOf(path) + "/" + next;
  }
  return path;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* why) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) {
    Explain(why, std::strerror(errno));
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    Explain(why, std::strerror(errno));
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    Explain(why, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
    return std::nullopt;
  }
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Explain(why, std::strerror(errno));
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

SaveResult SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* why) {
  if (path.empty()) {
    Explain(why, std::strerror(ENOENT));
    return SaveResult::CannotOpen;
  }
  // Replace the file a link points to, not the link.
  const std::string target = FollowLinks(path);
  struct stat info {};
  bool exists = false;
  if (::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) {
      Explain(why, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
      return SaveResult::CannotOpen;
    }
    if (::access(target.c_str(), W_OK) != 0) {
      Explain(why, std::strerror(errno));
      return SaveResult::CannotOpen;
    }
    exists = true;
  } else if (errno != ENOENT) {
    Explain(why, std::strerror(errno));
    return SaveResult::CannotOpen;
  }

  // From here on the target could be opened: a failure is a failed write, except that a
  // new file whose folder takes no file cannot be created at all.
  std::string temp = FolderOf(target) + "/.kivrel-save-XXXXXX";
  Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.valid()) {
    Explain(why, std::strerror(errno));
    return exists ? SaveResult::WriteFailed : SaveResult::CannotOpen;
  }

  bool written = WriteAll(fd.get(), bytes);
  if (written) {
    // Only a privileged process can keep another user's ownership; otherwise the new
    // file is ours, which is fine.
    if (exists && ::fchown(fd.get(), info.st_uid, info.st_gid) != 0) {
    }
    written = ::fchmod(fd.get(), exists ? (info.st_mode & 07777) : NewFileMode()) == 0;
  }
  written = written && ::fsync(fd.get()) == 0;
  written = fd.Close() && written;
  if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
    Explain(why, std::strerror(errno));
    ::unlink(temp.c_str());
    return SaveResult::WriteFailed;
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
  return SaveResult::Saved;
}

}  // namespace kivrel
