#pragma once
// The themed word lists that come with Kivrel (ocean, farm, capitals ...): where the
// running program finds them, and which one a name means.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivrel {

struct ThemeList {
  std::string Name;  // the file name without ".kvl": "ocean", "de-tiere"
  std::string Path;
  std::string Title;  // the title its header gives ("Under the Sea"); TitledThemeLists sets it
};

/// The folder of the themed lists for a program kept in `program_folder`: the installed
/// one, PROGRAM_FOLDER/../share/kivrel/examples/themes, when it is there; otherwise
/// `source_folder`, the lists of the source tree, for a program run from its build
/// folder. The path is given without "..".
std::string ThemeFolder(const std::string& program_folder, const std::string& source_folder);

/// ThemeFolder of the running program (the folder of /proc/self/exe) and of the source
/// tree it was built from.
std::string ThemeFolder();

/// The .kvl files of a folder, sorted by name; none when the folder cannot be read.
std::vector<ThemeList> ThemeLists(const std::string& folder);

/// The lists of a folder as a menu offers them: each with the title its header gives (its
/// name when it gives none), in the order of the titles, ignoring case.
std::vector<ThemeList> TitledThemeLists(const std::string& folder);

/// The list called `name`, ignoring case ("Ocean" is "ocean").
std::optional<ThemeList> FindThemeList(const std::vector<ThemeList>& lists, std::string_view name);

}  // namespace kivrel
