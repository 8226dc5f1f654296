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

TEST(Cp1252, RoundTripsEveryByteAndWritesWhatItCannotHoldAsAQuestionMark) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(UnicodeToCp1252(U'Œ'), 0x8C);
  EXPECT_EQ(UnicodeToCp1252(U'Ω'), -1);
  EXPECT_EQ(Utf8ToCp1252("aΩb✓"), "a?b?");
  EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a?b");  // a malformed byte too
}

}  // namespace
}  // namespace kivrel
