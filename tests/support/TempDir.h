#pragma once
// A fresh folder for a test's files, removed with everything in it at the end, and
// ways to make writes fail: a file-size limit that works for every user, root
// included, and a small file system that really fills up, for root.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>

namespace kivrel::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kivrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  std::string Folder() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  /// Writes a file in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
    return File(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  /// A file of `size` bytes that starts with `head` and takes no room on disk beyond it
  /// (the rest is a hole that reads as zeros).
  std::string Sparse(const std::string& name, const std::string& head, std::uintmax_t size) const {
    const std::string path = Write(name, head);
    std::filesystem::resize_file(path, size);
    return path;
  }
  /// Number of entries in the folder (to see that no temporary file was left).
  long EntryCount() const {
    return std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator());
  }

 private:
  std::filesystem::path path_;
};

/// A 64 KB tmpfs mounted on a new folder for as long as it lives: a file system that
/// really fills up. Mounting needs root; Mounted() says whether it worked.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(std::string folder) : folder_(std::move(folder)) {
    std::filesystem::create_directory(folder_);
    mounted_ = std::system(("mount -t tmpfs -o size=64k tmpfs " + folder_ + " 2>/dev/null").c_str()) == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) std::system(("umount " + folder_).c_str());
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  bool Mounted() const { return mounted_; }
  const std::string& Folder() const { return folder_; }
  static constexpr const char* kWhyNot = "cannot mount a tmpfs here (it needs root)";

 private:
  std::string folder_;
  bool mounted_ = false;
};

/// While it lives, this process's soft limit of a resource is lowered. SIGXFSZ, which
/// would end the process at a write past the file size limit, is ignored meanwhile.
template <int kResource>
class ResourceLimit {
 public:
  explicit ResourceLimit(rlim_t limit) : old_handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(kResource, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    ::setrlimit(kResource, &lowered);
  }
  ~ResourceLimit() {
    ::setrlimit(kResource, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }
  ResourceLimit(const ResourceLimit&) = delete;
  ResourceLimit& operator=(const ResourceLimit&) = delete;

 private:
  rlimit saved_{};
  void (*old_handler_)(int);
};

/// No file of this process may grow past `bytes`: a longer write fails with EFBIG.
using FileSizeLimit = ResourceLimit<RLIMIT_FSIZE>;

/// This process may take at most `bytes` more memory (address space) than it has: an
/// allocation past that fails.
class MemoryLimit : public ResourceLimit<RLIMIT_AS> {
 public:
  explicit MemoryLimit(rlim_t bytes) : ResourceLimit(InUse() + bytes) {}
  /// False under AddressSanitizer, whose own allocations past a limit end the process.
  static constexpr bool Applies() { return !KIVREL_SANITIZE; }

 private:
  static rlim_t InUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      if (line.starts_with("VmSize:")) return std::stoull(line.substr(7)) * 1024;
    }
    return 0;
  }
};

}  // namespace kivrel::testing
