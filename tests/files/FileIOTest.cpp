#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempDir.h"
#include "files/Cp1252.h"
#include "files/FileIO.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The failed saves are tested with the commands that report them.
TEST(SaveFileAtomically, ReplacesTheFileKeepingItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("list.kvl");
  ASSERT_EQ(SaveFileAtomically(path, "first"), SaveResult::Saved);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(SaveFileAtomically(path, "second, longer"), SaveResult::Saved);
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
    std::string said;
    EXPECT_FALSE(ReadWholeFile(path, &said)) << path;
    EXPECT_EQ(said, why) << path;
  }
  EXPECT_EQ(ReadWholeFile(dir.Write("list.kvl", "CAT\r\n")), "CAT\r\n");
}

// A link is written through: to the file it names, made when it is not there yet (a
// relative link counts from the link's folder), and the link stays a link.
TEST(SaveFileAtomically, WritesThroughLinksAlsoToAFileNotThereYet) {
  TempDir dir;
  fs::create_directory(dir.File("lists"));
  fs::create_symlink("lists/zoo.kvl", dir.File("dangling"));
  fs::create_symlink("dangling", dir.File("chain"));
  ASSERT_EQ(SaveFileAtomically(dir.File("chain"), "LION\r\n"), SaveResult::Saved);
  EXPECT_TRUE(fs::is_symlink(dir.File("chain")) && fs::is_symlink(dir.File("dangling")));
  EXPECT_EQ(TempDir::Read(dir.File("lists/zoo.kvl")), "LION\r\n");
  EXPECT_TRUE(SameFile(dir.File("chain"), dir.File("lists/zoo.kvl")));
  EXPECT_FALSE(SameFile(dir.File("chain"), dir.Write("other.kvl", "LION\r\n")));

  fs::create_symlink("nowhere/x.kvl", dir.File("no-folder"));
  std::string why;
  EXPECT_EQ(SaveFileAtomically(dir.File("no-folder"), "x", &why), SaveResult::CannotOpen);
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_TRUE(fs::is_symlink(dir.File("no-folder")));
}

// A file system that is really full: a small tmpfs, when this process may mount one.
TEST(SaveFileAtomically, OnAFullFileSystemTheOldFileStaysAndNoTemporaryIsLeft) {
  TempDir dir;
  const testing::SmallFileSystem small(dir.File("small"));
  if (!small.Mounted()) {
    GTEST_SKIP() << small.kWhyNot << "; the file-size limit tests (SaveWordList, the kivrel-cli fault tests) "
                                     "cover writes that fail part-way";
  }
  const std::string& mount = small.Folder();
  const std::string path = mount + "/list.kvl";
  EXPECT_EQ(SaveFileAtomically(path, "OLD LIST\r\n"), SaveResult::Saved);
  std::string why;
  EXPECT_EQ(SaveFileAtomically(path, std::string(100 * 1024, 'x'), &why), SaveResult::WriteFailed);
  EXPECT_EQ(why, "No space left on device");
  EXPECT_EQ(TempDir::Read(path), "OLD LIST\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(mount), fs::directory_iterator()), 1);
}

TEST(Cp1252, RoundTripsEveryByteAndWritesWhatItCannotHoldAsAQuestionMark) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(UnicodeToCp1252(U'Œ'), 0x8C);
  EXPECT_EQ(UnicodeToCp1252(U'Ω'), -1);
  EXPECT_EQ(Utf8ToCp1252("aΩb✓"), "a?b?");
  EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");  // a malformed byte too
  EXPECT_EQ(UnstorableCharacters({"Straße €", "Łódź", "✓ and Ł again"}), "Ł ź ✓");
  EXPECT_EQ(UnstorableCharacters({"Straße", "Œuvre"}), "");
}

}  // namespace
}  // namespace kivrel
