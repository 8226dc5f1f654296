#include "files/ThemeLists.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/FileIO.h"
#include "files/WordListFile.h"
#include "model/Text.h"

namespace kivrel {

namespace fs = std::filesystem;

std::string ThemeFolder(const std::string& program_folder, const std::string& source_folder) {
  std::error_code error;
  const fs::path installed =
      (fs::path(program_folder) / ".." / "share" / "kivrel" / "examples" / "themes").lexically_normal();
  if (fs::is_directory(installed, error)) return installed.string();
  return source_folder;
}

std::string ThemeFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return ThemeFolder(error ? std::string() : program.parent_path().string(), KIVREL_SOURCE_THEMES_DIR);
}

std::vector<ThemeList> ThemeLists(const std::string& folder) {
  std::vector<ThemeList> lists;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    std::error_code ignored;
    if (path.extension() == ".kvl" && it->is_regular_file(ignored)) {
      lists.push_back({path.stem().string(), path.string(), {}});
    }
  }
  std::sort(lists.begin(), lists.end(), [](const ThemeList& a, const ThemeList& b) { return a.Name < b.Name; });
  return lists;
}

std::vector<ThemeList> TitledThemeLists(const std::string& folder) {
  std::vector<ThemeList> lists = ThemeLists(folder);
  for (ThemeList& list : lists) {
    const FileResult<ParsedWordList> parsed = ParseWordList(ReadWholeFile(list.Path).ValueOr(""));
    const std::string title = parsed && parsed->Header ? Trim(parsed->Header->Title) : "";
    list.Title = title.empty() ? list.Name : title;
  }
  std::stable_sort(lists.begin(), lists.end(),
                   [](const ThemeList& a, const ThemeList& b) { return ToLower(a.Title) < ToLower(b.Title); });
  return lists;
}

std::optional<ThemeList> FindThemeList(const std::vector<ThemeList>& lists, std::string_view name) {
  const std::string wanted = ToLower(name);
  for (const ThemeList& list : lists) {
    if (ToLower(list.Name) == wanted) return list;
  }
  return std::nullopt;
}

}  // namespace kivrel
