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

// A failure as its reason, or "saved".
std::string Failed(const FileResult<void>& saved) { return saved ? "saved" : saved.Error().Reason; }

// A page and its answer key saved together.
FileResult<void> SavePage(const std::string& folder, const std::string& page, const std::string& key) {
  return SaveFilesTogether({{folder + "/page.png", page}, {folder + "/page-key.png", key}});
}

TEST(Files, ASaveKeepsPermissionsWritesThroughLinksAndOnlyOverRegularFiles) {
  TempDir dir;
  const std::string path = dir.File("list.kvl");
  ASSERT_TRUE(SaveFileAtomically(path, "first"));
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, mode);
  ASSERT_TRUE(SaveFileAtomically(path, "second, longer"));
  EXPECT_EQ(std::make_tuple(TempDir::Read(path), fs::status(path).permissions(), dir.EntryCount()),
            std::make_tuple("second, longer", mode, 1L));

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
  EXPECT_EQ(Failed(SaveFileAtomically(dir.File("no-folder"), "x")), "No such file or directory");
  EXPECT_TRUE(fs::is_symlink(dir.File("no-folder")));

  // Only regular files are read or saved over, and anything else is refused without
  // waiting on it (a FIFO with no writer would block an open or a read for ever).
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  fs::create_directories(dir.File("folder/page-key.png"));
  const std::pair<std::string, std::string> cases[] = {{dir.File("fifo"), "Not a regular file"},
                                                       {dir.File("folder"), "Is a directory"},
                                                       {dir.File("missing"), "No such file or directory"}};
  for (const auto& [file, why] : cases) {
    const FileResult<std::string> read = ReadWholeFile(file);
    EXPECT_EQ(read ? "read" : read.Error().Reason, why) << file;
  }
  const FileResult<void> saved = SaveFileAtomically(dir.File("fifo"), "x");
  EXPECT_TRUE(!saved && saved.Error().Fault == FileFault::CannotOpen) << Failed(saved);
  // A folder where the key should go: nothing is written at all.
  EXPECT_EQ(Failed(SavePage(dir.File("folder"), "PAGE", "KEY")), "Is a directory");
  EXPECT_FALSE(fs::exists(dir.File("folder/page.png")));
}

// The key cannot be written (a file-size limit; a file system that is really full, when
// this process may mount one), so the page stays as it was too, no temporary is left,
// and the failure names the key. Only a rename can still fail once every file is whole:
// a file with another mounted over it (EBUSY); the files before it are new then, and
// the error says so.
TEST(Files, OneFileThatCannotBeWrittenLeavesEveryFileAsItWas) {
  TempDir dir;
  const testing::SmallFileSystem small(dir.File("small"));
  for (const std::string& folder : {dir.Folder(), small.Folder()}) {
    if (folder == small.Folder() && !small.Mounted()) GTEST_SKIP() << small.kWhyNot << "; the size limit was tested";
    const bool full = folder == small.Folder();
    ASSERT_TRUE(SavePage(folder, "OLD PAGE", "OLD KEY"));
    const auto entries = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    std::optional<testing::FileSizeLimit> limit;
    if (!full) limit.emplace(4096);
    const FileResult<void> saved = SavePage(folder, "NEW PAGE", std::string(full ? 100 * 1024 : 10000, 'k'));
    limit.reset();
    ASSERT_FALSE(saved);
    EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Reason, saved.Error().Path),
              std::make_tuple(FileFault::WriteFailed, full ? "No space left on device" : "File too large",
                              folder + "/page-key.png"));
    EXPECT_EQ(TempDir::Read(folder + "/page.png") + TempDir::Read(folder + "/page-key.png"), "OLD PAGEOLD KEY");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), entries);
  }
  const std::string key = dir.File("page-key.png"), over = dir.Write("over", "MOUNTED");
  if (std::system(("mount --bind " + over + " " + key + " 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "cannot mount a file over another here";
  }
  const FileResult<void> saved = SavePage(dir.Folder(), "NEW PAGE", "NEW KEY");
  EXPECT_EQ(std::system(("umount " + key).c_str()), 0);
  ASSERT_FALSE(saved);
  EXPECT_EQ(std::tie(saved.Error().Fault, saved.Error().Path), std::make_tuple(FileFault::PartlyReplaced, key));
  EXPECT_EQ(TempDir::Read(dir.File("page.png")) + TempDir::Read(key), "NEW PAGEOLD KEY");
}

TEST(Cp1252, RoundTripsEveryByteAndWritesWhatItCannotHoldAsAQuestionMark) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\x8A\x9F\xE9"), "€ŠŸé");
  EXPECT_EQ(Utf8ToCp1252("aΩb✓\377c"), "a?b??c");  // a malformed byte too
  EXPECT_EQ(UnstorableCharacters({"Straße €", "Łódź", "✓ and Ł again"}), "Ł ź ✓");
}

}  // namespace
}  // namespace kivrel
