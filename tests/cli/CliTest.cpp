// kivrel-cli runs as a table of shell scripts with the output each must give, kept in
// tests/data/cli/runs.txt. A case reads
//
//   ## what it shows
//   $ a line of the script ($EX is the examples folder, $DATA tests/data)
//   what it prints, where `cli ARGS` runs kivrel-cli and prints its stdout, then its
//   stderr with each line marked "2> ", then "[exit N]" unless N is 0
//
// and runs in a fresh folder of its own, "$T", which is also its working folder. Paths
// and times are written back as placeholders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "CliRunner.h"
#include "SaveWatch.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::SaveWatch;
using testing::TempDir;

const std::string kRuns = KIVREL_TEST_DATA_DIR "/cli/runs.txt";

struct Case {
  std::string name, script, expected;
};

TEST(CliRuns, EachPrintsWhatItsCaseSays) {
  std::ifstream in(kRuns);
  std::vector<Case> runs;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("## ")) {
      runs.push_back({line.substr(3), "", ""});
    } else if (runs.empty() || line.empty()) {
      continue;  // the file's own comments, and the blank lines between cases
    } else if (line.starts_with("$ ")) {
      runs.back().script += line.substr(2) + "\n";
    } else {
      runs.back().expected += line + "\n";
    }
  }
  ASSERT_GT(runs.size(), 20u) << kRuns;
  for (const Case& run : runs) {
    TempDir root;
    const std::string t = root.File("t"), err = root.File("cli.err");
    std::filesystem::create_directory(t);
    root.Write("case.sh", "cli() { \"$CLI\" \"$@\" 2>" + err + "; s=$?; sed 's/^/2> /' " + err +
                              "; [ $s = 0 ] || echo \"[exit $s]\"; return $s; }\n" + run.script);
    // What the script's other commands say on stderr follows, marked the same way.
    std::string printed = testing::RunShell("unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY; export CLI=" KIVREL_CLI_PATH
                                            " EX=" KIVREL_EXAMPLES_DIR " DATA=" KIVREL_TEST_DATA_DIR " T=" +
                                            t + "; cd \"$T\" && sh ../case.sh 2>../err; sed 's/^/2> /' ../err")
                              .out;
    for (auto [from, to] : {std::pair<std::string, std::string>{t, "$T"},
                            {KIVREL_EXAMPLES_DIR, "$EX"},
                            {KIVREL_TEST_DATA_DIR, "$DATA"},
                            {KIVREL_CLI_PATH, "$CLI"}}) {
      for (std::size_t at = 0; (at = printed.find(from, at)) != std::string::npos; at += to.size()) {
        printed.replace(at, from.size(), to);
      }
    }
    printed = std::regex_replace(printed, std::regex("\"elapsedMs\":[0-9.]+"), "\"elapsedMs\":_");
    printed = std::regex_replace(printed, std::regex("[0-9.]+ ms\n"), "_ ms\n");
    // A blank line is left out of the file: it only separates cases there.
    printed = std::regex_replace(printed, std::regex("\n\n+"), "\n");
    EXPECT_EQ(printed.starts_with('\n') ? printed.substr(1) : printed, run.expected) << "## " << run.name << "\n"
                                                                                     << run.script;
  }
}

// kivrel-cli caught in the middle of a save and sent a real signal: an interrupt, a
// terminate or a hang-up removes the save's temporaries and ends the program as the
// signal would, the files that were there as they were.
TEST(CliSignals, ASignalDuringASaveRemovesItsTemporariesAndEndsTheProgram) {
  TempDir dir;
  const std::string list = dir.Write("words.kvl", testing::LargeWordList()), page = dir.File("page.svg");
  // A 99 x 99 build saving its SVG page and key, as on a server (env drops the display),
  // output discarded and the three signals at their defaults.
  const char* const argv[] = {
      "env",   "-u",         "QT_QPA_PLATFORM", "-u",   "DISPLAY", "-u", "WAYLAND_DISPLAY", KIVREL_CLI_PATH,
      "build", list.c_str(), "--seed",          "1",    "--width", "99", "--height",        "99",
      "--svg", page.c_str(), "--answer-key",    nullptr};
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
      const bool caught = watch.StopInSave(pid, 60000) == SaveWatch::kStopped;
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
