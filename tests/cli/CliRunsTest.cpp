// kivrel-cli runs as a table of shell scripts with the output each must give, kept in
// tests/data/cli/runs.txt. A case reads
//
//   ## what it shows
//   $ a line of the script ($EX is the examples folder, $DATA tests/data)
//   what it prints, where `cli ARGS` runs kivrel-cli and prints its stdout, then its
//   stderr with each line marked "2> ", then "[exit N]" unless N is 0
//
// and runs in a fresh folder of its own, "$T", which is also its working folder. Paths
// and times are written back as placeholders. KIVREL_UPDATE_GOLDEN=1 rewrites the file
// with what the runs print now (read the difference before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::TempDir;

const std::string kRuns = std::string(KIVREL_TEST_DATA_DIR) + "/cli/runs.txt";

struct Case {
  std::string name, script, expected;
};

std::vector<Case> ReadRuns(std::vector<std::string>* preamble) {
  std::ifstream in(kRuns);
  std::vector<Case> runs;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("## ")) {
      runs.push_back({line.substr(3), "", ""});
    } else if (runs.empty()) {
      preamble->push_back(line);
    } else if (line.starts_with("$ ")) {
      runs.back().script += line.substr(2) + "\n";
    } else if (!line.empty()) {
      runs.back().expected += line + "\n";
    }
  }
  return runs;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Printed(const Case& run) {
  TempDir root;
  const std::string t = root.File("t");
  std::filesystem::create_directory(t);
  // cli: kivrel-cli, its stderr after its stdout marked "2> ", and its exit code when
  // that is not 0.
  root.Write("case.sh", "cli() { \"$CLI\" \"$@\" 2>" + root.File("cli.err") + "; s=$?; sed 's/^/2> /' " +
                            root.File("cli.err") + "; [ $s = 0 ] || echo \"[exit $s]\"; return $s; }\n" + run.script);
  testing::RunShell("unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY; export CLI=" KIVREL_CLI_PATH
                    " EX=" KIVREL_EXAMPLES_DIR " DATA=" KIVREL_TEST_DATA_DIR " T=" +
                    t + "; cd \"$T\" && sh ../case.sh >../out 2>../err");
  std::string printed = TempDir::Read(root.File("out"));
  std::string err = TempDir::Read(root.File("err"));  // of the script's other commands
  if (!err.empty() && err.back() == '\n') err.pop_back();
  if (!err.empty()) printed += "2> " + Replace(err, "\n", "\n2> ") + "\n";
  printed =
      Replace(Replace(Replace(Replace(printed, t, "$T"), KIVREL_EXAMPLES_DIR, "$EX"), KIVREL_TEST_DATA_DIR, "$DATA"),
              KIVREL_CLI_PATH, "$CLI");
  printed = std::regex_replace(printed, std::regex("\"elapsedMs\":[0-9.]+"), "\"elapsedMs\":_");
  printed = std::regex_replace(printed, std::regex("[0-9.]+ ms\n"), "_ ms\n");
  // A blank line is left out of the file: it only separates cases there.
  printed = std::regex_replace(printed, std::regex("\n\n+"), "\n");
  return printed.starts_with('\n') ? printed.substr(1) : printed;
}

TEST(CliRuns, EachPrintsWhatItsCaseSays) {
  std::vector<std::string> preamble;
  const std::vector<Case> runs = ReadRuns(&preamble);
  ASSERT_GT(runs.size(), 20u) << kRuns;
  const bool update = std::getenv("KIVREL_UPDATE_GOLDEN") != nullptr;
  std::string rewritten;
  for (const std::string& line : preamble) rewritten += line + "\n";
  for (const Case& run : runs) {
    const std::string printed = Printed(run);
    EXPECT_TRUE(update || printed == run.expected) << "## " << run.name << "\n"
                                                   << run.script << "printed:\n"
                                                   << printed;
    rewritten += "## " + run.name + "\n$ " + Replace(run.script.substr(0, run.script.size() - 1), "\n", "\n$ ") + "\n" +
                 printed + "\n";
  }
  if (update) std::ofstream(kRuns, std::ios::binary) << rewritten;
}

}  // namespace
}  // namespace kivrel
