#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempDir.h"
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

}  // namespace
}  // namespace kivrel
