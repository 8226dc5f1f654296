#pragma once
// Runs the real kivrel-cli for a test, as on a server (no display and no Qt platform
// chosen), and collects its exit code and output.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace kivrel::testing {

struct CliRun {
  int code = -1;
  std::string out;
};

/// A shell command line, with what it prints on stdout.
inline CliRun RunShell(const std::string& command) {
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

/// kivrel-cli with arguments (a shell command line); stderr joins stdout when asked.
inline CliRun RunCli(const std::string& arguments, bool with_stderr = false) {
  return RunShell("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " + std::string(KIVREL_CLI_PATH) + " " +
                  arguments + (with_stderr ? " 2>&1" : " 2>/dev/null"));
}

/// A shell script in which "$CLI" is kivrel-cli, run as above; what it writes on
/// stderr is collected with stdout (unless the script sends them elsewhere).
inline CliRun RunCliScript(const std::string& script) {
  return RunShell("unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY; CLI=" + std::string(KIVREL_CLI_PATH) + "; { " +
                  script + "; } 2>&1");
}

/// The rows of the "grid" of a puzzle's JSON object, a blank cell as a space.
inline std::vector<std::string> GridRows(const std::string& json) {
  std::smatch grid;
  EXPECT_TRUE(std::regex_search(json, grid, std::regex("\"grid\":\\[([^\\]]*)\\]")));
  std::vector<std::string> rows;
  const std::string inside = grid[1];
  const std::regex quoted("\"([^\"]*)\"");
  for (std::sregex_iterator it(inside.begin(), inside.end(), quoted), end; it != end; ++it) {
    rows.push_back((*it)[1]);
  }
  return rows;
}

}  // namespace kivrel::testing
