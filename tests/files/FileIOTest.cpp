#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "files/FileIO.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::TempDir;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(ReadWholeFile, ReadsEveryByteAndRefusesWhatIsNotAFile) {
  TempDir dir;
  const std::string bytes("a\0b\r\n\xff", 6);
  EXPECT_EQ(ReadWholeFile(dir.Write("f.bin", bytes)), bytes);
  EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")), "");
  EXPECT_FALSE(ReadWholeFile(dir.File("missing")));
  EXPECT_FALSE(ReadWholeFile(dir.path().string()));
}

TEST(SaveFileAtomically, CreatesAndReplacesKeepingPermissionsAndLeavingNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("list.kvl");
  ASSERT_EQ(SaveFileAtomically(path, "first"), SaveResult::Saved);
  EXPECT_EQ(TempDir::Read(path), "first");
  mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(path), 0666 & ~mask);

  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(SaveFileAtomically(path, "second, longer"), SaveResult::Saved);
  EXPECT_EQ(TempDir::Read(path), "second, longer");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(SaveFileAtomically, ALinkKeepsPointingAtTheReplacedFile) {
  TempDir dir;
  const std::string target = dir.Write("real.kvl", "old");
  const std::string link = dir.File("link.kvl");
  fs::create_symlink(target, link);
  ASSERT_EQ(SaveFileAtomically(link, "new"), SaveResult::Saved);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(TempDir::Read(target), "new");
}

TEST(SaveFileAtomically, ATargetThatCannotBeOpenedIsLeftAlone) {
  TempDir dir;
  fs::create_directory(dir.File("folder"));
  EXPECT_EQ(SaveFileAtomically(dir.File("folder"), "x"), SaveResult::CannotOpen);
  EXPECT_TRUE(fs::is_directory(dir.File("folder")));
  EXPECT_EQ(SaveFileAtomically(dir.File("no/such/folder.kvl"), "x"), SaveResult::CannotOpen);
  EXPECT_EQ(SaveFileAtomically("", "x"), SaveResult::CannotOpen);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(SaveFileAtomically, AFailedWriteLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string path = dir.Write("puzzle.kvp", "the old puzzle");
  {
    FileSizeLimit limit(8);
    EXPECT_EQ(SaveFileAtomically(path, std::string(100, 'x')), SaveResult::WriteFailed);
  }
  EXPECT_EQ(TempDir::Read(path), "the old puzzle");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(SaveFileAtomically, AFolderThatTakesNoNewFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  TempDir dir;
  const std::string path = dir.Write("list.kvl", "old");
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(SaveFileAtomically(path, "new"), SaveResult::WriteFailed);  // the file itself is writable
  EXPECT_EQ(SaveFileAtomically(dir.File("other.kvl"), "new"), SaveResult::CannotOpen);
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(TempDir::Read(path), "old");
}

}  // namespace
}  // namespace kivrel
