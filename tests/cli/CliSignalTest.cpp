// kivrel-cli caught in the middle of a save and sent a real signal: an interrupt, a
// terminate or a hang-up removes the save's temporaries and ends the program as the
// signal would, the files that were there as they were. A temporary that a killed save
// left is removed by the next save beside it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <functional>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "SaveWatch.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::SaveWatch;
using testing::TempDir;

// Starts a 99 x 99 build of a large list saving its SVG pages and key into the folder,
// as on a server (env drops the display and keeps the pid), output discarded and the
// three signals at their defaults; sends `signal` once the save is caught and returns
// how the program ended, or -1 when no save was caught in 20 tries.
int SignalDuringSave(const std::string& folder, int signal, const std::function<void()>& reset) {
  const std::string list = folder + "/words.kvl", page = folder + "/page.svg";
  if (!std::filesystem::exists(list)) TempDir::WriteTo(list, testing::LargeWordList());
  std::vector<const char*> argv{"env",     "-u",     "QT_QPA_PLATFORM", "-u",     "DISPLAY",    "-u",
                                "WAYLAND_DISPLAY", KIVREL_CLI_PATH, "build",  list.c_str(), "--seed", "1",
                                "--width", "99",     "--height",        "99",     "--svg",      page.c_str(),
                                "--answer-key",      nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  int status = -1;
  for (int attempt = 0; attempt < 20 && status == -1; ++attempt) {
    SaveWatch watch(folder);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "env", &files, &attributes, const_cast<char* const*>(argv.data()), environ) != 0) break;
    const bool caught = watch.StopInSave(pid, 60000);
    if (caught) {
      ::kill(pid, signal);
      ::kill(pid, SIGCONT);
    }
    int ended = 0;
    ::waitpid(pid, &ended, 0);
    if (caught) status = ended;
    else reset();  // the save was over first: its files are new
  }
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return status;
}

TEST(CliSignals, ASignalDuringASaveRemovesItsTemporariesAndEndsTheProgram) {
  TempDir dir;
  auto reset = [&] {
    dir.Write("page.svg", "old page");
    dir.Write("page-key.svg", "old key");
  };
  reset();
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const int status = SignalDuringSave(dir.Folder(), signal, reset);
    ASSERT_NE(status, -1) << "no save was caught for signal " << signal;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": status " << status;
    EXPECT_EQ(SaveWatch(dir.Folder()).Temporaries(), std::vector<std::string>{}) << signal;
    EXPECT_EQ(TempDir::Read(dir.File("page.svg")) + TempDir::Read(dir.File("page-key.svg")), "old pageold key");
  }
}

TEST(CliSignals, ATemporaryLeftByAKilledSaveIsRemovedByTheNextSaveBesideIt) {
  TempDir dir;
  // SIGKILL cannot be handled: what the save had made stays.
  ASSERT_NE(SignalDuringSave(dir.Folder(), SIGKILL, [] {}), -1);
  const std::vector<std::string> left = SaveWatch(dir.Folder()).Temporaries();
  ASSERT_FALSE(left.empty());
  // Beside it: one that a save is writing now (it holds its lock), one just made that a
  // save has not locked yet, and a file of another naming.
  const std::string held = dir.Write(".kivrel-save-Held01", "being written");
  const int lock = ::open(held.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  dir.Write(".kivrel-save-Young1", "just made");
  const std::string other = dir.Write(".kivrel-save-notes.txt", "mine");
  const timespec an_hour_ago[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  for (const std::string& name : left) ASSERT_EQ(::utimensat(AT_FDCWD, dir.File(name).c_str(), an_hour_ago, 0), 0);
  for (const std::string& path : {held, other}) ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), an_hour_ago, 0), 0);

  EXPECT_EQ(testing::RunCli("build " + dir.File("words.kvl") + " --seed 2 -o " + dir.File("words.kvp")).code, 0);
  ::close(lock);
  EXPECT_EQ(SaveWatch(dir.Folder()).Temporaries(),
            (std::vector<std::string>{".kivrel-save-Held01", ".kivrel-save-Young1", ".kivrel-save-notes.txt"}));
}

}  // namespace
}  // namespace kivrel
