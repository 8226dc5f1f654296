#include <gtest/gtest.h>

#include <string>

#include "CliRunner.h"

namespace {

using kivrel::testing::CliRun;
using kivrel::testing::RunCli;

CliRun Cli(const std::string& arguments, bool with_stderr = false) { return RunCli(arguments, with_stderr); }

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
