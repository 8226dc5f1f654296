#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct CliRun {
  int code = -1;
  std::string out;
};

// Runs kivrel-cli with arguments; stderr is joined to stdout when asked.
CliRun Cli(const std::string& arguments, bool with_stderr = false) {
  std::string command = std::string(KIVREL_CLI_PATH) + " " + arguments + (with_stderr ? " 2>&1" : " 2>/dev/null");
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

TEST(Cli, SummarisesAWordList) {
  CliRun run = Cli("summary " + kAnimals);
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("Entries:    25"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Longest:    ANTELOPE (8 letters)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Size:       15 x 15"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Default:    11 x 11"), std::string::npos) << run.out;
}

TEST(Cli, HelpAndVersion) {
  EXPECT_EQ(Cli("--help").code, 0);
  CliRun version = Cli("--version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("kivrel-cli ", 0), 0u);
}

TEST(Cli, BadUsageSaysSoOnOneLineAndExitsWithTwo) {
  for (const std::string& args : {std::string("summary /no/such/file.kvl"), std::string("frobnicate"),
                                   std::string(""), "summary " + kAnimals + " --bogus"}) {
    CliRun run = Cli(args, true);
    EXPECT_EQ(run.code, 2) << args;
    ASSERT_FALSE(run.out.empty()) << args;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << args << ": " << run.out;
  }
}

}  // namespace
