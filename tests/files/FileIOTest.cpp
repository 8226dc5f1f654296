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

TEST(SaveFileAtomically, ReplacesTheFileKeepingItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("list.kvl");
  ASSERT_TRUE(SaveFileAtomically(path, "first"));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(SaveFileAtomically(path, "second, longer"));
  EXPECT_EQ(TempDir::Read(path), "second, longer");
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(dir.EntryCount(), 1);
}

// Only regular files are read, and anything else is refused without waiting on it (a
// FIFO with no writer would block an open or a read for ever) or reading from it.
TEST(ReadWholeFile, RefusesWhatIsNotARegularFileAtOnce) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  fs::create_directory(dir.File("folder"));
  const std::pair<std::string, std::string> cases[] = {{dir.File("fifo"), "Not a regular file"},
                                                       {"/dev/zero", "Not a regular file"},
                                                       {dir.File("folder"), "Is a directory"},
                                                       {dir.File("missing"), "No such file or directory"}};
  for (const auto& [path, why] : cases) {
    const FileResult<std::string> read = ReadWholeFile(path);
    ASSERT_FALSE(read) << path;
    EXPECT_EQ(read.Error().Reason, why) << path;
  }
  const FileResult<std::string> read = ReadWholeFile(dir.Write("list.kvl", "CAT\r\n"));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, "CAT\r\n");
}

// A link is written through: to the file it names, made when it is not there yet (a
// relative link counts from the link's folder), and the link stays a link.
TEST(SaveFileAtomically, WritesThroughLinksAlsoToAFileNotThereYet) {
  TempDir dir;
  fs::create_directory(dir.File("lists"));
  fs::create_symlink("lists/zoo.kvl", dir.File("dangling"));
  fs::create_symlink("dangling", dir.File("chain"));
  ASSERT_TRUE(SaveFileAtomically(dir.File("chain"), "LION\r\n"));
  EXPECT_TRUE(fs::is_symlink(dir.File("chain")) && fs::is_symlink(dir.File("dangling")));
  EXPECT_EQ(TempDir::Read(dir.File("lists/zoo.kvl")), "LION\r\n");
  EXPECT_TRUE(SameFile(dir.File("chain"), dir.File("lists/zoo.kvl")));
  EXPECT_FALSE(SameFile(dir.File("chain"), dir.Write("other.kvl", "LION\r\n")));

  fs::create_symlink("nowhere/x.kvl", dir.File("no-folder"));
  const FileResult<void> saved = SaveFileAtomically(dir.File("no-folder"), "x");
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.Error().Fault, FileFault::CannotOpen);
  EXPECT_EQ(saved.Error().Reason, "No such file or directory");
  EXPECT_TRUE(fs::is_symlink(dir.File("no-folder")));
}

// A page and its answer key: the key cannot be written, so the page stays as it was
// too, and no temporary is left. The failure names the key.
void ExpectNeitherReplaced(const std::string& folder, const std::string& key_bytes, FileFault fault,
                           const std::string& why) {
  const std::string page = folder + "/page.png", key = folder + "/page-key.png";
  ASSERT_TRUE(SaveFilesTogether({{page, "OLD PAGE"}, {key, "OLD KEY"}}));
  const auto entries = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  const FileResult<void> saved = SaveFilesTogether({{page, "NEW PAGE"}, {key, key_bytes}});
  ASSERT_FALSE(saved) << why;
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Reason, saved.Error().Path), std::tie(fault, why, key));
  EXPECT_EQ(TempDir::Read(page), "OLD PAGE") << why;
  EXPECT_EQ(TempDir::Read(key), "OLD KEY") << why;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), entries) << why;
}

TEST(SaveFilesTogether, OneFileThatCannotBeWrittenLeavesEveryFileAsItWas) {
  TempDir dir;
  {
    const testing::FileSizeLimit limit(4096);
    ExpectNeitherReplaced(dir.File(""), std::string(10000, 'k'), FileFault::WriteFailed, "File too large");
  }
  // A folder where the key should go: nothing is written at all.
  TempDir other;
  fs::create_directory(other.File("page-key.png"));
  const FileResult<void> saved =
      SaveFilesTogether({{other.File("page.png"), "PAGE"}, {other.File("page-key.png"), "KEY"}});
  ASSERT_FALSE(saved);
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Reason),
            std::make_tuple(FileFault::CannotOpen, "Is a directory"));
  EXPECT_EQ(other.EntryCount(), 1);
}

// A file system that is really full: a small tmpfs, when this process may mount one.
TEST(SaveFilesTogether, OnAFullFileSystemNeitherFileIsReplaced) {
  TempDir dir;
  const testing::SmallFileSystem small(dir.File("small"));
  if (!small.Mounted()) GTEST_SKIP() << small.kWhyNot << "; the file-size limit makes writes fail part-way as well";
  ExpectNeitherReplaced(small.Folder(), std::string(100 * 1024, 'k'), FileFault::WriteFailed,
                        "No space left on device");
}

// Only a rename can still fail once every file is whole: a file with another mounted
// over it (EBUSY). The files before it are new then, and the error says so.
TEST(SaveFilesTogether, ARenameThatFailsAfterAnotherIsReportedAsSuch) {
  TempDir dir;
  const std::string page = dir.Write("page.png", "OLD PAGE"), key = dir.Write("page-key.png", "OLD KEY");
  const std::string over = dir.Write("over", "MOUNTED");
  if (std::system(("mount --bind " + over + " " + key + " 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "cannot mount a file over another here (it needs root)";
  }
  const FileResult<void> saved = SaveFilesTogether({{page, "NEW PAGE"}, {key, "NEW KEY"}});
  EXPECT_EQ(TempDir::Read(key), "MOUNTED");
  EXPECT_EQ(std::system(("umount " + key).c_str()), 0);
  ASSERT_FALSE(saved);
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Path), std::make_tuple(FileFault::PartlyReplaced, key));
  EXPECT_EQ(TempDir::Read(page), "NEW PAGE");
  EXPECT_EQ(TempDir::Read(key), "OLD KEY");
  EXPECT_EQ(dir.EntryCount(), 3);
}

TEST(Cp1252, RoundTripsEveryByteAndWritesWhatItCannotHoldAsAQuestionMark) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(UnicodeToCp1252(U'Œ'), 0x8C);
  EXPECT_EQ(UnicodeToCp1252(U'Ω'), -1);
  EXPECT_EQ(Utf8ToCp1252("aΩb✓"), "a?b?");
  EXPECT_EQ(Utf8ToCp1252("a\xFF"
                         "b"),
            "a?b");  // a malformed byte too
  EXPECT_EQ(UnstorableCharacters({"Straße €", "Łódź", "✓ and Ł again"}), "Ł ź ✓");
  EXPECT_EQ(UnstorableCharacters({"Straße", "Œuvre"}), "");
}

}  // namespace
}  // namespace kivrel
