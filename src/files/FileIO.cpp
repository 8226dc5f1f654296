#include "files/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Random.h"

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

namespace {

// Reads up to `wanted` more bytes into `bytes`, fewer at the end of the file.
bool ReadInto(int fd, std::string& bytes, std::size_t wanted) {
  char buffer[65536];
  while (wanted > 0) {
    ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, wanted));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    wanted -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

FileResult<std::string> ReadWholeFile(const std::string& path, const FileHeadCheck& head) {
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return Failure(FileFault::CannotOpen, path);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failure(FileFault::CannotOpen, path);
  if (!S_ISREG(info.st_mode)) return Failure(FileFault::CannotOpen, path, KindReason(info));
  const auto size = static_cast<std::uint64_t>(info.st_size);
  std::string bytes;
  if (head.Check) {
    if (!ReadInto(fd.get(), bytes, head.HeadBytes)) return Failure(FileFault::CannotOpen, path);
    if (FileResult<void> checked = head.Check(bytes, size); !checked) {
      FileError error = checked.Error();
      error.Path = path;
      return error;
    }
  }
  if (size > bytes.size()) bytes.reserve(static_cast<std::size_t>(size));
  if (!ReadInto(fd.get(), bytes, SIZE_MAX)) return Failure(FileFault::CannotOpen, path);
  return bytes;
}

namespace {

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Where a write to path lands: the file its links lead to, named from a folder without
// links, "." or ".."; "" when that folder is not there.
std::string WriteTarget(const std::string& path) {
  const std::string target = FollowLinks(path);
  char* folder = ::realpath(FolderOf(target).c_str(), nullptr);
  if (!folder) return {};
  std::string resolved = std::string(folder) + "/" + NameOf(target);
  std::free(folder);
  return resolved;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  const bool a_exists = ::stat(a.c_str(), &first) == 0;
  const bool b_exists = ::stat(b.c_str(), &second) == 0;
  if (a_exists && b_exists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (a_exists || b_exists) return false;
  const std::string target = WriteTarget(a);
  return !target.empty() && target == WriteTarget(b);
}

// The temporary files of the saves under way, where a signal handler can find them: a
// slot is claimed (1), its path written, and only then marked live (2). The handler
// reads nothing but live slots, and lock-free atomics and unlink() are safe in it.
namespace {

constexpr std::string_view kTemporaryPrefix = ".kivrel-save-";
constexpr std::size_t kTemporarySuffix = 6;  // letters and digits, as mkstemp makes them
constexpr std::string_view kSuffixCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A temporary no save holds that is older than this was left by a save that ended
// without cleaning up; a younger one may be a save that has not locked it yet.
constexpr std::time_t kStaleAfterSeconds = 60;

struct TemporarySlot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 live
  char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
TemporarySlot g_temporaries[8];  // more files than any one save writes

// While the files of a save take their places, a signal waits until all have: a page
// and its key are replaced together or not at all.
std::atomic<int> g_renaming{0};
std::atomic<int> g_signal_after_renaming{0};

extern "C" void RemoveTemporariesAndEnd(int signal) {
  const int saved_errno = errno;
  if (g_renaming.load() > 0) {
    g_signal_after_renaming.store(signal);
    return;
  }
  for (TemporarySlot& slot : g_temporaries) {
    if (slot.state.load() == 2) ::unlink(slot.path);
  }
  // The handler was reset to the default on entry (SA_RESETHAND): once this returns,
  // the signal raised again ends the program as it would have without us.
  ::raise(signal);
  errno = saved_errno;
}

// Keeps a temporary's path where the signal handler finds it, from before the file is
// made until it is renamed or removed. Without a free slot the file is only cleaned up
// the ordinary way.
class TemporaryName {
 public:
  explicit TemporaryName(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (TemporarySlot& candidate : g_temporaries) {
      int free = 0;
      if (!candidate.state.compare_exchange_strong(free, 1)) continue;
      std::memcpy(candidate.path, path.c_str(), path.size() + 1);
      candidate.state.store(2);
      slot_ = &candidate;
      return;
    }
  }
  ~TemporaryName() {
    if (slot_) slot_->state.store(0);
  }
  TemporaryName(const TemporaryName&) = delete;
  TemporaryName& operator=(const TemporaryName&) = delete;

 private:
  TemporarySlot* slot_ = nullptr;
};

bool IsTemporaryName(std::string_view name) {
  return name.size() == kTemporaryPrefix.size() + kTemporarySuffix && name.starts_with(kTemporaryPrefix) &&
         name.find_first_not_of(kSuffixCharacters, kTemporaryPrefix.size()) == std::string_view::npos;
}

// Removes the temporaries of our naming in a folder that no save holds (each save keeps
// its own locked) and that are older than a save takes to lock its own.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    const std::string path = folder + "/" + entry->d_name;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - info.st_mtime < kStaleAfterSeconds) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a save is writing it
    ::unlink(path.c_str());
  }
  ::closedir(dir);
}

}  // namespace

void GuardSavesAgainstSignals() {
  std::signal(SIGXFSZ, SIG_IGN);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    // One that is ignored (nohup) or handled by someone else is left as it is.
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    for (int other : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
}

namespace {

// A file's new bytes, whole and on disk in a temporary file beside the file they replace.
struct Pending {
  std::string path;                     // as the caller named it
  std::string target;                   // the file the links lead to
  std::string temp;                     // "" once renamed
  std::unique_ptr<TemporaryName> name;  // where a signal finds it meanwhile
  int lock = -1;                        // held for as long as the temporary is ours
};

// The temporaries not yet renamed are removed when the save ends, however it ends.
struct PendingFiles {
  std::vector<Pending> files;
  ~PendingFiles() {
    for (Pending& file : files) {
      if (!file.temp.empty()) ::unlink(file.temp.c_str());
      file.name.reset();
      if (file.lock >= 0) ::close(file.lock);
    }
  }
};

// A new temporary file of our naming in `folder`, with its name kept where a signal
// finds it before the file is there; -1 (errno set) when none can be made.
int CreateTemporary(const std::string& folder, Pending& pending) {
  // Not std::random_device alone: it throws where the system has no random source, and
  // the save would end there with the user's work unsaved.
  Random random(FreshSeed());
  const int characters = static_cast<int>(kSuffixCharacters.size());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(kTemporaryPrefix);
    for (std::size_t i = 0; i < kTemporarySuffix; ++i) name += kSuffixCharacters[random.Below(characters)];
    pending.temp = folder + "/" + name;
    pending.name = std::make_unique<TemporaryName>(pending.temp);
    const int fd = ::open(pending.temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    const int error = errno;
    pending.temp.clear();
    pending.name.reset();
    errno = error;
    if (error != EEXIST) return -1;
  }
  return -1;
}

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
  const std::string folder = FolderOf(target);
  RemoveStaleTemporaries(folder);
  Pending& added = pending.files.emplace_back();
  added.path = path;
  added.target = target;
  Descriptor fd(CreateTemporary(folder, added));
  if (!fd.valid()) return Failure(exists ? FileFault::WriteFailed : FileFault::CannotOpen, path);
  // Locked, so that a save starting beside it knows it is not left over.
  added.lock = ::dup(fd.get());
  if (added.lock >= 0) ::flock(added.lock, LOCK_EX | LOCK_NB);

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
  {
    // A signal that comes meanwhile ends the program once the renames are done.
    struct Renaming {
      Renaming() { g_renaming.fetch_add(1); }
      ~Renaming() {
        if (g_renaming.fetch_sub(1) == 1) {
          if (const int signal = g_signal_after_renaming.exchange(0)) RemoveTemporariesAndEnd(signal);
        }
      }
    } renaming;
    for (std::size_t i = 0; i < pending.files.size(); ++i) {
      Pending& file = pending.files[i];
      if (::rename(file.temp.c_str(), file.target.c_str()) != 0) {
        return Failure(i == 0 ? FileFault::WriteFailed : FileFault::PartlyReplaced, file.path);
      }
      file.temp.clear();
      file.name.reset();
    }
  }
  // Make the renames themselves durable; a failure here leaves complete files either way.
  for (const Pending& file : pending.files) {
    Descriptor folder(::open(FolderOf(file.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
  }
  return {};
}

}  // namespace kivrel
