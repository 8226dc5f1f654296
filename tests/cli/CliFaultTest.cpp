// kivrel-cli against real faults: a full file system, a file-size limit, a full
// stdout, inputs that are not regular files, links, the input named as the output,
// UTF-8 lists and hostile text. Each failure is exit code 2 with one line on stderr,
// the file that was there byte for byte as it was and no temporary file left.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <sys/stat.h>

#include "CliRunner.h"
#include "TempDir.h"
#include "model/Text.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::RunCliScript;
using testing::TempDir;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

// The failure was reported as it must be: exit code 2 and one line saying `says`.
void ExpectOneLineFailure(const CliRun& run, const std::string& says, const std::string& what) {
  EXPECT_EQ(run.code, 2) << what << ": " << run.out;
  EXPECT_NE(run.out.find(says), std::string::npos) << what << ": " << run.out;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << what << ": " << run.out;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The files a command might write, each already there with bytes of its own.
struct OldFiles {
  explicit OldFiles(const std::string& folder) : folder(folder) {
    for (const char* name : {"page.pdf", "page.png", "page-key.png", "page.svg", "page-key.svg", "out.kvp"}) {
      TempDir::WriteTo(folder + "/" + name, std::string("old ") + name);
    }
  }
  void ExpectUnchanged(const std::string& what) const {
    for (const char* name : {"page.pdf", "page.png", "page-key.png", "page.svg", "page-key.svg", "out.kvp"}) {
      EXPECT_EQ(TempDir::Read(folder + "/" + name), std::string("old ") + name) << what;
    }
  }
  std::string folder;
};

// Every way kivrel-cli writes, into a folder where writing fails part-way.
void ExpectEveryWriteFailsCleanly(const std::string& folder, const std::string& limit, const std::string& says) {
  const OldFiles old(folder);
  const std::vector<std::string> before = Names(folder);
  const std::string build = "$CLI build " + kAnimals + " --seed 7 ";
  for (const std::string& args :
       {"--pdf " + folder + "/page.pdf --answer-key", "--png " + folder + "/page.png --answer-key",
        "--svg " + folder + "/page.svg --answer-key", "-o " + folder + "/out.kvp"}) {
    ExpectOneLineFailure(RunCliScript(limit + build + args + " >/dev/null"), says, args);
    old.ExpectUnchanged(args);
    EXPECT_EQ(Names(folder), before) << args << ": no temporary file is left";
  }
  // Standard output into that folder: many puzzles, the last ones cut.
  ExpectOneLineFailure(RunCliScript(limit + build + "--count 200 --json > " + folder + "/out.json"),
                       "cannot write the output: " + says, "stdout");
}

TEST(CliFaults, OnAFullFileSystemNothingIsReportedWrittenAndOldFilesStay) {
  TempDir dir;
  const testing::SmallFileSystem small(dir.File("small"));
  if (!small.Mounted()) {
    GTEST_SKIP() << small.kWhyNot << "; AFileSizeLimitIsAWriteErrorLikeAnyOther makes the same writes fail part-way";
  }
  const std::string& mount = small.Folder();
  const OldFiles old(mount);  // before the filler takes the rest
  ASSERT_NE(std::system(("dd if=/dev/zero of=" + mount + "/filler bs=1k 2>/dev/null").c_str()), 0);
  ExpectEveryWriteFailsCleanly(mount, "", "No space left on device");
}

// The limit (ulimit -f, in 512-byte blocks here) would end a process with SIGXFSZ
// unless it is ignored: then it is a write error, reported like a full disk.
TEST(CliFaults, AFileSizeLimitIsAWriteErrorLikeAnyOther) {
  TempDir dir;
  ExpectEveryWriteFailsCleanly(dir.File(""), "ulimit -f 8; ", "File too large");
}

TEST(CliFaults, AFullStandardOutputIsAnError) {
  ExpectOneLineFailure(RunCliScript("$CLI build " + kAnimals + " --json >/dev/full"),
                       "kivrel-cli: cannot write the output: No space left on device", "build");
  ExpectOneLineFailure(RunCliScript("$CLI build --help >/dev/full"), "cannot write the output", "help");
  EXPECT_EQ(RunCliScript("$CLI build " + kAnimals + " --json >/dev/null").code, 0);
}

// A FIFO would block every reader for ever and /dev/zero never ends: only regular
// files are read, and anything else is refused at once.
TEST(CliFaults, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
  TempDir dir;
  const std::string fifo = dir.File("list.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, std::string> inputs[] = {
      {fifo, "Not a regular file"}, {"/dev/zero", "Not a regular file"}, {dir.File(""), "Is a directory"}};
  for (const auto& [input, says] : inputs) {
    for (const std::string& command :
         {"summary " + input, "build " + input, "show " + input, "print " + input + " --pdf " + dir.File("page.pdf")}) {
      ExpectOneLineFailure(RunCliScript("timeout 20 $CLI " + command), "cannot read \"" + input + "\": " + says,
                           command);
    }
  }
  EXPECT_FALSE(fs::exists(dir.File("page.pdf")));
}

// No command writes over a file it reads (the list, the avoid list, the puzzle, each of
// a booklet's lists), whatever name or link leads to it, nor writes two outputs into
// one file.
// A 2 GB file is refused from its header, without being read, also where there is no
// memory for it.
TEST(CliFaults, AHugeFileIsRefusedFromItsHeaderAsAPuzzle) {
  TempDir dir;
  const std::string zoo = TempDir::Read(std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl");
  for (const std::string& command :
       {"show " + dir.Sparse("list.kvp", zoo, 2'000'000'000),
        "print " + dir.Sparse("list.kvp", zoo, 2'000'000'000) + " --pdf " + dir.File("p.pdf")}) {
    ExpectOneLineFailure(
        RunCliScript("ulimit -v 1000000; $CLI " + command),
        "File does not contain a Kivrel puzzle (the width times the height is not the number of spaces, at byte 34)",
        command);
  }
}

TEST(CliFaults, NoInputIsWrittenOverAndNoTwoOutputsShareAFile) {
  TempDir dir;
  const std::string list = dir.Write("zoo.kvl", "LION\r\nTIGER\r\nBEAR\r\n");
  const std::string avoid = dir.Write("avoid.kvl", "CAT\r\n");
  fs::create_symlink("zoo.kvl", dir.File("link.kvl"));
  const std::string puzzle = dir.File("zoo.kvp");
  ASSERT_EQ(RunCliScript("$CLI build " + list + " --seed 1 -o " + puzzle).code, 0);
  const std::string saved = TempDir::Read(puzzle);
  const std::string out = dir.File("out");
  struct Case {
    std::string command, says;
  };
  for (const Case& c : std::vector<Case>{
           {"build " + list + " -o " + list, "is the input file"},
           {"build " + list + " --pdf " + list, "is the input file"},
           {"build " + list + " -o " + dir.File("link.kvl"), "is the input file"},
           {"build " + dir.File("link.kvl") + " --svg " + list, "is the input file"},
           {"print " + puzzle + " --png " + puzzle, "is the input file"},
           {"build " + list + " --avoid " + avoid + " -o " + avoid, "is the input file"},
           {"build " + list + " --avoid " + avoid + " --svg " + avoid, "is the input file"},
           {"booklet " + list + " --pdf " + dir.File("link.kvl"), "is the input file"},
           {"booklet " + kAnimals + " " + list + " --pdf " + list, "is the input file"},
           {"build " + list + " -o " + out + " --pdf " + dir.File("./out"), "are one file"},
           {"build " + list + " -o " + dir.File("k-key.png") + " --png " + dir.File("k.png") + " --answer-key",
            "are one file"}}) {
    ExpectOneLineFailure(RunCliScript("$CLI " + c.command), c.says, c.command);
  }
  EXPECT_EQ(TempDir::Read(list), "LION\r\nTIGER\r\nBEAR\r\n");
  EXPECT_EQ(TempDir::Read(avoid), "CAT\r\n");
  EXPECT_EQ(TempDir::Read(puzzle), saved);
  EXPECT_FALSE(fs::exists(out) || fs::exists(dir.File("k.png")) || fs::exists(dir.File("k-key.png")));
}

// A save through a link whose file is not there yet makes that file; the link stays.
TEST(CliFaults, ADanglingLinkIsWrittenThrough) {
  TempDir dir;
  fs::create_directory(dir.File("puzzles"));
  fs::create_symlink("puzzles/animals.kvp", dir.File("latest.kvp"));
  ASSERT_EQ(RunCliScript("$CLI build " + kAnimals + " --seed 7 -o " + dir.File("latest.kvp")).code, 0);
  EXPECT_TRUE(fs::is_symlink(dir.File("latest.kvp")));
  CliRun shown = RunCliScript("$CLI show " + dir.File("puzzles/animals.kvp"));
  EXPECT_EQ(shown.code, 0);
  EXPECT_EQ(shown.out.rfind("Animals - 15 x 15\n", 0), 0u) << shown.out;
}

// Lists from Linux editors are UTF-8, with or without a byte-order mark; the puzzle
// file is code page 1252 and says before it is written what it cannot hold.
TEST(CliFaults, Utf8ListsReadAsUtf8AndASaveNamesWhatItCannotHold) {
  TempDir dir;
  const std::string text =
      "1\tStra\xC3\x9F"
      "en\t 9\t 9\t 1\t 1\t\r\nStra\xC3\x9F"
      "e\r\n\xC5\x81\xC3\xB3"
      "d\xC5\xBA\r\n";
  for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
    const std::string list = dir.Write("cities.kvl", bytes);
    CliRun summary = RunCliScript("$CLI summary " + list);
    EXPECT_NE(summary.out.find("Title:      Straßen\n"), std::string::npos) << summary.out;
    EXPECT_NE(summary.out.find("Size:       9 x 9"), std::string::npos) << summary.out;
    CliRun built =
        RunCliScript("$CLI build " + list + " --seed 3 --json -o " + dir.File("cities.kvp") + " 2>&1 >/dev/null");
    EXPECT_EQ(built.code, 0);
    EXPECT_EQ(built.out, "kivrel-cli: warning: " + dir.File("cities.kvp") +
                             " is written in code page 1252, which cannot hold Ł ź: they are written as \"?\"\n");
    CliRun json = RunCliScript("$CLI build " + list + " --seed 3 --json");
    EXPECT_NE(json.out.find("\"text\":\"STRAßE\",\"display\":\"Straße\""), std::string::npos) << json.out;
  }
  EXPECT_NE(RunCliScript("$CLI show --json " + dir.File("cities.kvp")).out.find("\"display\":\"?ód?\""),
            std::string::npos);
}

// Text output shows control characters escaped; JSON is valid UTF-8 whatever it holds.
TEST(CliFaults, TextFromOutsideIsPrintedSafely) {
  const std::string build = "$CLI build " + kAnimals + " --seed 7 ";
  CliRun text = RunCliScript(build + "--title \"$(printf '\\033[31mRed\\tTitle')\"");
  ASSERT_EQ(text.code, 0) << text.out;
  EXPECT_EQ(text.out.rfind("\\x1B[31mRed\\x09Title - 15 x 15", 0), 0u) << text.out;
  EXPECT_EQ(text.out.find('\033'), std::string::npos);

  CliRun json = RunCliScript(build + "--json --title \"$(printf 'caf\\351 \\001')\"");
  ASSERT_EQ(json.code, 0);
  EXPECT_TRUE(IsValidUtf8(json.out));
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  EXPECT_EQ(document.object().value("title").toString().toStdString(), "caf\uFFFD \x01");
  EXPECT_EQ(json.out.find("{\"title\":"), 0u) << "the documented order of the fields";
  EXPECT_NE(json.out.find(",\"words\":[{\"text\":\"ANTELOPE\",\"display\":\"ANTELOPE\",\"status\":\"placed\",\"row\":"),
            std::string::npos);
}

TEST(CliFaults, MessagesSayWhatIsWrong) {
  TempDir dir;
  const std::string long_word = std::string(300, 'Q');
  const std::string wide = dir.Write("wide.kvl", std::string(100, 'W') + "\r\nCAT\r\n");
  const std::string longest = dir.Write("long.kvl", long_word + "\r\n");
  const std::string negative = dir.Write("negative.kvl", "1\tOdd\t-5\t 10\t 1\t 1\t\r\nCAT\r\n");
  const std::string pdf = dir.File("page.pdf");
  struct Case {
    std::string args, says;
  };
  for (const Case& c : std::vector<Case>{
           {"build " + wide, "no default size up to 99 x 99 holds the list"},
           {"build " + longest + " --width 5 --height 5",
            "the longest word, " + long_word.substr(0, 40) + "... (300 letters)"},
           {"summary " + negative, "negative width or height"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 100,100,100,100",
            "a margin may be at most 22.75 inches"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 1,1,4.25,4.25",
            "--margins 1,1,4.25,4.25: the left and right margins (4.25\" and 4.25\") leave nothing of the paper's "
            "8.5\" "
            "width. At least 2.0\" must remain across and down."},
           {"build " + kAnimals + " --pdf " + pdf + " --paper a4 --margins 1,1,3.25,3.25",  // 2" of Letter
            "(3.25\" and 3.25\") leave 1.77\" of the paper's 8.27\" width"},
           {"build " + kAnimals + " --pdf " + pdf + " --paper a4 --margins 4.9,4.9,1,1",
            "the top and bottom margins (4.9\" and 4.9\") leave 1.89\" of the paper's 11.69\" height"},
           {"build " + kAnimals + " --title --json", "--title needs a value, not the option \"--json\""},
           {"build " + kAnimals + " --stop-remaining '<'", "--stop-remaining needs 2 values"}}) {
    ExpectOneLineFailure(RunCliScript("$CLI " + c.args), c.says, c.args);
  }
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_EQ(RunCliScript("$CLI build " + kAnimals + " --title=--json --json").out.find("{\"title\":\"--json\""), 0u);
}

}  // namespace
}  // namespace kivrel
