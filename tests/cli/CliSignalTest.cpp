// kivrel-cli caught in the middle of a save and sent a real signal: an interrupt, a
// terminate or a hang-up removes the save's temporaries and ends the program as the
// signal would, the files that were there as they were.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "SaveWatch.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::SaveWatch;
using testing::TempDir;

TEST(CliSignals, ASignalDuringASaveRemovesItsTemporariesAndEndsTheProgram) {
  TempDir dir;
  const std::string list = dir.Write("words.kvl", testing::LargeWordList()), page = dir.File("page.svg");
  // A 99 x 99 build saving its SVG page and key, as on a server (env drops the display),
  // output discarded and the three signals at their defaults.
  const char* const argv[] = {"env", "-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", KIVREL_CLI_PATH,
                              "build", list.c_str(), "--seed", "1", "--width", "99", "--height", "99", "--svg",
                              page.c_str(), "--answer-key", nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  for (int fd : {1, 2}) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // Tried until a save is caught in the middle; one that was over first made new files.
    int status = -1;
    for (int attempt = 0; attempt < 20 && status == -1; ++attempt) {
      dir.Write("page.svg", "old page");
      dir.Write("page-key.svg", "old key");
      SaveWatch watch(dir.Folder());
      pid_t pid = -1;
      ASSERT_EQ(posix_spawnp(&pid, "env", &files, &attributes, const_cast<char* const*>(argv), environ), 0);
      const bool caught = watch.StopInSave(pid, 60000);
      if (caught) {
        ::kill(pid, signal);
        ::kill(pid, SIGCONT);
      }
      int ended = 0;
      ::waitpid(pid, &ended, 0);
      if (caught) status = ended;
    }
    ASSERT_NE(status, -1) << "no save was caught for signal " << signal;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": status " << status;
    EXPECT_EQ(SaveWatch(dir.Folder()).Temporaries(), std::vector<std::string>{}) << signal;
    EXPECT_EQ(TempDir::Read(dir.File("page.svg")) + TempDir::Read(dir.File("page-key.svg")), "old pageold key");
  }
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
}

}  // namespace
}  // namespace kivrel
