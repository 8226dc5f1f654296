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

FileError Failure(FileFault fault, const std::string& path, std::string reason = std::strerror(errno)) {
  return FileError(fault, std::move(reason), path);
}

// A directory or a device gives its own reason; only regular files are read and written.
std::string KindReason(const struct stat& info) {
  return S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
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

FileResult<std::string> ReadWholeFile(const std::string& path) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return Failure(FileFault::CannotOpen, path);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failure(FileFault::CannotOpen, path);
  if (!S_ISREG(info.st_mode)) return Failure(FileFault::CannotOpen, path, KindReason(info));
  std::string bytes;
  if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(FileFault::CannotOpen, path);
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

namespace {

// A file's new bytes, whole and on disk in a temporary file beside the file they replace.
struct Pending {
  std::string path;    // as the caller named it
  std::string target;  // the file the links lead to
  std::string temp;    // "" once renamed
};

// The temporaries not yet renamed are removed when the save ends, however it ends.
struct PendingFiles {
  std::vector<Pending> files;
  ~PendingFiles() {
    for (const Pending& file : files) {
      if (!file.temp.empty()) ::unlink(file.temp.c_str());
    }
  }
};

FileResult<void> WriteTemporary(const FileToSave& file, PendingFiles& pending) {
  const std::string& path = file.Path;
  if (path.empty()) return Failure(FileFault::CannotOpen, path, std::strerror(ENOENT));
  // Replace the file a link points to, not the link.
  const std::string target = FollowLinks(path);
  struct stat info {};
  bool exists = false;
  if (::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return Failure(FileFault::CannotOpen, path, KindReason(info));
    // With the ids the program runs as, as the rename will be done.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Failure(FileFault::CannotOpen, path);
    exists = true;
  } else if (errno != ENOENT) {
    return Failure(FileFault::CannotOpen, path);
  }

  // From here on the target could be opened: a failure is a failed write, except that a
  // new file whose folder takes no file cannot be created at all.
  std::string temp = FolderOf(target) + "/.kivrel-save-XXXXXX";
  Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.valid()) return Failure(exists ? FileFault::WriteFailed : FileFault::CannotOpen, path);
  pending.files.push_back({path, target, temp});

  bool written = WriteAll(fd.get(), file.Bytes);
  if (written) {
    // Only a privileged process can keep another user's ownership; otherwise the new
    // file is ours, which is fine.
    if (exists && ::fchown(fd.get(), info.st_uid, info.st_gid) != 0) {
    }
    written = ::fchmod(fd.get(), exists ? (info.st_mode & 07777) : NewFileMode()) == 0;
  }
  written = written && ::fsync(fd.get()) == 0;
  written = fd.Close() && written;
  if (!written) return Failure(FileFault::WriteFailed, path);
  return {};
}

}  // namespace

FileResult<void> SaveFileAtomically(const std::string& path, std::string_view bytes) {
  return SaveFilesTogether({{path, bytes}});
}

FileResult<void> SaveFilesTogether(const std::vector<FileToSave>& files) {
  PendingFiles pending;
  for (const FileToSave& file : files) {
    if (FileResult<void> written = WriteTemporary(file, pending); !written) return written;
  }
  for (std::size_t i = 0; i < pending.files.size(); ++i) {
    Pending& file = pending.files[i];
    if (::rename(file.temp.c_str(), file.target.c_str()) != 0) {
      return Failure(i == 0 ? FileFault::WriteFailed : FileFault::PartlyReplaced, file.path);
    }
    file.temp.clear();
  }
  // Make the renames themselves durable; a failure here leaves complete files either way.
  for (const Pending& file : pending.files) {
    Descriptor folder(::open(FolderOf(file.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
  }
  return {};
}

}  // namespace kivrel
