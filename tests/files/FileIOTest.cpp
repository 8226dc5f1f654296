#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>

#include "TempDir.h"
#include "files/Cp1252.h"
#include "files/FileIO.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct Files : ::testing::Test {
  TempDir dir;
  // A page and its answer key saved together.
  FileResult<void> SavePage(const std::string& folder, const std::string& page, const std::string& key) {
    return SaveFilesTogether({{folder + "/page.png", page}, {folder + "/page-key.png", key}});
  }
  // A failure as its reason and its kind.
  static std::string Describe(FileFault fault, const std::string& reason) {
    return reason + " (" + std::to_string(static_cast<int>(fault)) + ")";
  }
  static std::string Failed(const FileResult<void>& saved) {
    return saved ? "saved" : Describe(saved.Error().Fault, saved.Error().Reason);
  }
};

TEST_F(Files, ASaveReplacesTheFileKeepingItsPermissionsAndWritesThroughLinks) {
  const std::string path = dir.File("list.kvl");
  ASSERT_TRUE(SaveFileAtomically(path, "first"));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(SaveFileAtomically(path, "second, longer"));
  EXPECT_EQ(TempDir::Read(path), "second, longer");
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.EntryCount(), 1);

  // A link is written through: to the file it names, made when it is not there yet (a
  // relative link counts from the link's folder), and the link stays a link.
  fs::create_directory(dir.File("lists"));
  fs::create_symlink("lists/zoo.kvl", dir.File("dangling"));
  fs::create_symlink("dangling", dir.File("chain"));
  ASSERT_TRUE(SaveFileAtomically(dir.File("chain"), "LION\r\n"));
  EXPECT_TRUE(fs::is_symlink(dir.File("chain")) && fs::is_symlink(dir.File("dangling")));
  EXPECT_EQ(TempDir::Read(dir.File("lists/zoo.kvl")), "LION\r\n");
  EXPECT_TRUE(SameFile(dir.File("chain"), dir.File("lists/zoo.kvl")));
  EXPECT_FALSE(SameFile(dir.File("chain"), dir.Write("other.kvl", "LION\r\n")));
  fs::create_symlink("nowhere/x.kvl", dir.File("no-folder"));
  EXPECT_EQ(Failed(SaveFileAtomically(dir.File("no-folder"), "x")),
            Describe(FileFault::CannotOpen, "No such file or directory"));
  EXPECT_TRUE(fs::is_symlink(dir.File("no-folder")));
}

// Only regular files are read, and anything else is refused without waiting on it (a
// FIFO with no writer would block an open or a read for ever) or reading from it.
TEST_F(Files, AReadRefusesWhatIsNotARegularFileAtOnce) {
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  fs::create_directory(dir.File("folder"));
  const std::pair<std::string, std::string> cases[] = {{dir.File("fifo"), "Not a regular file"},
                                                       {"/dev/zero", "Not a regular file"},
                                                       {dir.File("folder"), "Is a directory"},
                                                       {dir.File("missing"), "No such file or directory"}};
  for (const auto& [path, why] : cases) {
    const FileResult<std::string> read = ReadWholeFile(path);
    EXPECT_EQ(read ? "read" : read.Error().Reason, why) << path;
  }
  EXPECT_EQ(ReadWholeFile(dir.Write("list.kvl", "CAT\r\n")).ValueOr(""), "CAT\r\n");
}

// The key cannot be written, so the page stays as it was too, and no temporary is
// left. The failure names the key.
void ExpectNeitherReplaced(Files& t, const std::string& folder, const std::string& key_bytes, const std::string& why) {
  ASSERT_TRUE(t.SavePage(folder, "OLD PAGE", "OLD KEY"));
  const auto entries = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  const FileResult<void> saved = t.SavePage(folder, "NEW PAGE", key_bytes);
  ASSERT_FALSE(saved) << why;
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Reason, saved.Error().Path),
            std::make_tuple(FileFault::WriteFailed, why, folder + "/page-key.png"));
  EXPECT_EQ(TempDir::Read(folder + "/page.png") + TempDir::Read(folder + "/page-key.png"), "OLD PAGEOLD KEY") << why;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), entries) << why;
}

TEST_F(Files, OneFileThatCannotBeWrittenLeavesEveryFileAsItWas) {
  {
    const testing::FileSizeLimit limit(4096);
    ExpectNeitherReplaced(*this, dir.Folder(), std::string(10000, 'k'), "File too large");
  }
  // A folder where the key should go: nothing is written at all.
  TempDir other;
  fs::create_directory(other.File("page-key.png"));
  EXPECT_EQ(Failed(SavePage(other.Folder(), "PAGE", "KEY")), Describe(FileFault::CannotOpen, "Is a directory"));
  EXPECT_EQ(other.EntryCount(), 1);
}

// A file system that is really full: a small tmpfs, when this process may mount one.
TEST_F(Files, OnAFullFileSystemNeitherFileIsReplaced) {
  const testing::SmallFileSystem small(dir.File("small"));
  if (!small.Mounted()) GTEST_SKIP() << small.kWhyNot << "; the file-size limit makes writes fail part-way as well";
  ExpectNeitherReplaced(*this, small.Folder(), std::string(100 * 1024, 'k'), "No space left on device");
}

// Only a rename can still fail once every file is whole: a file with another mounted
// over it (EBUSY). The files before it are new then, and the error says so.
TEST_F(Files, ARenameThatFailsAfterAnotherIsReportedAsSuch) {
  dir.Write("page.png", "OLD PAGE");
  const std::string key = dir.Write("page-key.png", "OLD KEY"), over = dir.Write("over", "MOUNTED");
  if (std::system(("mount --bind " + over + " " + key + " 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "cannot mount a file over another here (it needs root)";
  }
  const FileResult<void> saved = SavePage(dir.Folder(), "NEW PAGE", "NEW KEY");
  EXPECT_EQ(TempDir::Read(key), "MOUNTED");
  EXPECT_EQ(std::system(("umount " + key).c_str()), 0);
  ASSERT_FALSE(saved);
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Path), std::make_tuple(FileFault::PartlyReplaced, key));
  EXPECT_EQ(TempDir::Read(dir.File("page.png")) + TempDir::Read(key), "NEW PAGEOLD KEY");
  EXPECT_EQ(dir.EntryCount(), 3);
}

TEST(Cp1252, RoundTripsEveryByteAndWritesWhatItCannotHoldAsAQuestionMark) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(std::make_pair(UnicodeToCp1252(U'Œ'), UnicodeToCp1252(U'Ω')), std::make_pair(0x8C, -1));
  EXPECT_EQ(Utf8ToCp1252("aΩb✓\377c"), "a?b??c");  // a malformed byte too
  EXPECT_EQ(UnstorableCharacters({"Straße €", "Łódź", "✓ and Ł again"}), "Ł ź ✓");
  EXPECT_EQ(UnstorableCharacters({"Straße", "Œuvre"}), "");
}

}  // namespace
}  // namespace kivrel
