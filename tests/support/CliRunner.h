#pragma once
// Runs the real kivrel-cli for a test, as on a server (no display and no Qt platform
// chosen), and collects its exit code and output.
#include <sys/wait.h>

#include <cstdio>
#include <string>

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
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

/// kivrel-cli with arguments (a shell command line), what it says on stderr left out.
inline CliRun RunCli(const std::string& arguments) {
  return RunShell("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " KIVREL_CLI_PATH " " + arguments +
                  " 2>/dev/null");
}

}  // namespace kivrel::testing
