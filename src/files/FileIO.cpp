#include "files/FileIO.h"

#include <cerrno>
#include <cstdlib>
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

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return std::nullopt;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

SaveResult SaveFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return SaveResult::CannotOpen;
  // Replace the file a link points to, not the link.
  std::string target = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }

  bool exists = false;
  if (::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0) return SaveResult::CannotOpen;
    exists = true;
  } else if (errno != ENOENT) {
    return SaveResult::CannotOpen;
  }

  // From here on the target could be opened: a failure is a failed write, except that a
  // new file whose folder takes no file cannot be created at all.
  std::string temp = FolderOf(target) + "/.kivrel-save-XXXXXX";
  Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.valid()) return exists ? SaveResult::WriteFailed : SaveResult::CannotOpen;

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
    ::unlink(temp.c_str());
    return SaveResult::WriteFailed;
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) ::fsync(folder.get());
  return SaveResult::Saved;
}

}  // namespace kivrel
