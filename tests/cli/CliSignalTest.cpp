// kivrel-cli caught in the middle of a save and sent a real signal: an interrupt, a
// terminate or a hang-up removes the save's temporary files and ends the program as the
// signal would, and the files that were there stay as they were. A temporary that a
// killed save left behind is removed by the next save beside it.
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

extern char** environ;

namespace kivrel {
namespace {

using testing::SaveWatch;
using testing::TempDir;

// kivrel-cli with these arguments, as on a server (no display), its output discarded
// and the three signals at their defaults whatever the test runner set.
pid_t StartCli(const std::vector<std::string>& args) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!entry.starts_with("QT_QPA_PLATFORM=") && !entry.starts_with("DISPLAY=") &&
        !entry.starts_with("WAYLAND_DISPLAY=")) {
      env.push_back(entry);
    }
  }
  std::vector<char*> argv{const_cast<char*>(KIVREL_CLI_PATH)}, envp;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  if (posix_spawn(&pid, KIVREL_CLI_PATH, &files, &attributes, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

// Runs the save until the program is caught in it and then sends it `signal`; returns
// how it ended (its wait status), or -1 when no run was caught.
int SignalDuringSave(const std::vector<std::string>& args, const std::string& folder, int signal,
                     const std::function<void()>& reset) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    SaveWatch watch(folder);
    const pid_t pid = StartCli(args);
    if (pid < 0) return -1;
    const bool caught = watch.StopInSave(pid, 60000);
    if (caught) {
      ::kill(pid, signal);
      ::kill(pid, SIGCONT);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (caught) return status;
    reset();  // the save was over first: its files are new
  }
  return -1;
}

TEST(CliSignals, ASignalDuringASaveRemovesItsTemporariesAndEndsTheProgram) {
  TempDir dir;
  const std::string list = dir.Write("words.kvl", testing::LargeWordList());
  const std::string page = dir.File("page.svg"), key = dir.File("page-key.svg");
  auto reset = [&] {
    TempDir::WriteTo(page, "old page");
    TempDir::WriteTo(key, "old key");
  };
  reset();
  const std::vector<std::string> args{"build",    list, "--seed", "1",  "--width",     "99",
                                      "--height", "99", "--svg",  page, "--answer-key"};
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const int status = SignalDuringSave(args, dir.File(""), signal, reset);
    ASSERT_NE(status, -1) << "no save was caught for signal " << signal;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": status " << status;
    EXPECT_EQ(SaveWatch(dir.File("")).Temporaries(), std::vector<std::string>{}) << signal;
    EXPECT_EQ(TempDir::Read(page), "old page") << signal;
    EXPECT_EQ(TempDir::Read(key), "old key") << signal;
  }
}

TEST(CliSignals, ATemporaryLeftByAKilledSaveIsRemovedByTheNextSaveBesideIt) {
  TempDir dir;
  const std::string list = dir.Write("words.kvl", testing::LargeWordList());
  const std::vector<std::string> args{
      "build", list, "--seed", "1", "--width", "99", "--height", "99", "--svg", dir.File("page.svg"), "--answer-key"};
  // SIGKILL cannot be handled: what the save had made stays.
  ASSERT_NE(SignalDuringSave(args, dir.File(""), SIGKILL, [] {}), -1);
  std::vector<std::string> left = SaveWatch(dir.File("")).Temporaries();
  ASSERT_FALSE(left.empty());

  // Beside it: one that a save is writing now (it holds its lock), one just made that a
  // save has not locked yet, and a file of another naming.
  const std::string held = dir.Write(".kivrel-save-Held01", "being written");
  const int lock = ::open(held.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  const std::string young = dir.Write(".kivrel-save-Young1", "just made");
  const std::string other = dir.Write(".kivrel-save-notes.txt", "mine");
  const timespec an_hour_ago[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  for (const std::string& name : left) ASSERT_EQ(::utimensat(AT_FDCWD, dir.File(name).c_str(), an_hour_ago, 0), 0);
  for (const std::string& path : {held, other}) ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), an_hour_ago, 0), 0);

  testing::RunShell("env -u QT_QPA_PLATFORM -u DISPLAY " + std::string(KIVREL_CLI_PATH) + " build " + list +
                    " --seed 2 -o " + dir.File("words.kvp") + " >/dev/null 2>&1");
  ::close(lock);
  EXPECT_EQ(SaveWatch(dir.File("")).Temporaries(),
            (std::vector<std::string>{".kivrel-save-Held01", ".kivrel-save-Young1", ".kivrel-save-notes.txt"}));
  EXPECT_TRUE(std::filesystem::exists(dir.File("words.kvp")));
}

}  // namespace
}  // namespace kivrel
