#pragma once
// Catching a running program in the middle of a save: the folder it saves into is
// watched (inotify), and the moment a temporary file of a save (.kivrel-save-*) appears
// the program is stopped, so that a signal can be sent to it while the temporary is
// there.
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace kivrel::testing {

/// 400 words of 5 to 12 letters, one a line, each with a note of `note` letters: at 99 x
/// 99 their puzzle and pages are large enough for a save to be caught in the middle.
inline std::string LargeWordList(std::size_t note = 0) {
  std::string list;
  unsigned seed = 28;
  for (int word = 0; word < 400; ++word) {
    for (unsigned n = 5 + word % 8; n > 0; --n) {
      seed = seed * 1103515245u + 12345u;
      list += static_cast<char>('A' + (seed >> 16) % 26);
    }
    list += (note > 0 ? " [" + std::string(note, 'n') + "]" : "") + "\r\n";
  }
  return list;
}

class SaveWatch {
 public:
  explicit SaveWatch(const std::string& folder) : folder_(folder), fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
  }
  ~SaveWatch() { ::close(fd_); }
  SaveWatch(const SaveWatch&) = delete;
  SaveWatch& operator=(const SaveWatch&) = delete;

  /// What became of the save StopInSave waited for.
  enum Stop { kNoSave, kStopped, kTooLate };
  /// Waits up to `timeout_ms` for a new file in the folder and stops `pid` at once
  /// (SIGSTOP). Stopped: in its save, a temporary there and no file renamed into place
  /// yet (a save of a page and its key renames two). Too late: the save got further
  /// first (the program then goes on). No save: nothing appeared in time.
  Stop StopInSave(pid_t pid, int timeout_ms) {
    pollfd watched{fd_, POLLIN, 0};
    while (::poll(&watched, 1, timeout_ms) > 0) {
      const std::uint32_t seen = Events();
      if (!(seen & IN_CREATE)) continue;  // only a new file starts a save
      ::kill(pid, SIGSTOP);
      if (Stopped(pid) && !((seen | Events()) & IN_MOVED_TO) && !Temporaries().empty()) return kStopped;
      ::kill(pid, SIGCONT);
      return kTooLate;
    }
    return kNoSave;
  }

  /// The names of the temporaries in the folder now.
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      if (entry.path().filename().string().starts_with(".kivrel-save-")) names.push_back(entry.path().filename());
    }
    return names;
  }

 private:
  // The kinds of the events queued since the last look (IN_CREATE, IN_MOVED_TO), read.
  std::uint32_t Events() {
    alignas(inotify_event) char events[4096];
    std::uint32_t seen = 0;
    for (ssize_t n; (n = ::read(fd_, events, sizeof events)) > 0;) {
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        seen |= event->mask;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return seen;
  }
  // Waits (up to ten seconds) for the stop to take effect: the process's state is T.
  static bool Stopped(pid_t pid) {
    for (int tries = 0; tries < 10000; ++tries) {
      std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
      std::string line;
      std::getline(in, line);
      const std::size_t paren = line.rfind(')');
      if (paren == std::string::npos || paren + 2 >= line.size()) return false;
      if (line[paren + 2] == 'T') return true;
      ::poll(nullptr, 0, 1);
    }
    return false;
  }

  std::string folder_;
  int fd_;
};

}  // namespace kivrel::testing
