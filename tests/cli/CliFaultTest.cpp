// kivrel-cli writing into a folder where every write fails part-way (a full file system,
// a file-size limit): each way it writes fails with exit code 2 and one line on stderr,
// the files that were there stay byte for byte, and no temporary file is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CliRunner.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::TempDir;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

const char* const kOld[] = {"page.pdf", "page.png", "page-key.png", "page.svg", "page-key.svg", "out.kvp"};

void WriteOldFiles(const std::string& folder) {
  for (const char* name : kOld) TempDir::WriteTo(folder + "/" + name, std::string("old ") + name);
}

void ExpectEveryWriteFailsCleanly(const std::string& folder, const std::string& limit, const std::string& says) {
  const std::vector<std::string> before = Names(folder);
  const std::string build = "$CLI build " KIVREL_EXAMPLES_DIR "/animals.kvl --seed 7 ";
  for (const std::string& args :
       {"--pdf " + folder + "/page.pdf --answer-key", "--png " + folder + "/page.png --answer-key",
        "--svg " + folder + "/page.svg --answer-key", "-o " + folder + "/out.kvp",
        "--count 200 --json > " + folder + "/out.json"}) {
    const testing::CliRun run = testing::RunCliScript(limit + build + args + (args.find('>') == args.npos ? " >/dev/null" : ""));
    EXPECT_EQ(run.code, 2) << args << ": " << run.out;
    EXPECT_NE(run.out.find((args.find('>') == args.npos ? "" : "cannot write the output: ") + says), std::string::npos) << args << ": " << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << args << ": " << run.out;
    if (args.find("out.json") != std::string::npos) continue;  // standard output: the shell made the file
    for (const char* name : kOld) EXPECT_EQ(TempDir::Read(folder + "/" + name), std::string("old ") + name) << args;
    EXPECT_EQ(Names(folder), before) << args << ": no temporary file is left";
  }
}

TEST(CliFaults, OnAFullFileSystemNothingIsReportedWrittenAndOldFilesStay) {
  TempDir dir;
  const testing::SmallFileSystem small(dir.File("small"));
  if (!small.Mounted()) GTEST_SKIP() << small.kWhyNot << "; the file-size limit makes the same writes fail";
  WriteOldFiles(small.Folder());  // before the filler takes the rest
  ASSERT_NE(std::system(("dd if=/dev/zero of=" + small.Folder() + "/filler bs=1k 2>/dev/null").c_str()), 0);
  ExpectEveryWriteFailsCleanly(small.Folder(), "", "No space left on device");
}

// The limit (ulimit -f, in 512-byte blocks) would end the process with SIGXFSZ unless it
// is ignored: then it is a write error, reported like a full disk.
TEST(CliFaults, AFileSizeLimitIsAWriteErrorLikeAnyOther) {
  TempDir dir;
  WriteOldFiles(dir.Folder());
  ExpectEveryWriteFailsCleanly(dir.Folder(), "ulimit -f 8; ", "File too large");
}

}  // namespace
}  // namespace kivrel
