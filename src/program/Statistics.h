#pragma once
// The statistics panel of the main window: the counts of the list, the puzzle and the
// build, each shown on its label through a picture.
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// Pictures for the statistics panel's counts.
inline constexpr std::string_view kCountPicture = "####";     // 0 shows nothing
inline constexpr std::string_view kJunctionPicture = "###0";  // 0 shows "0"

/// Shows a count on a statistics label of the main window through a picture
/// ("####", "###0"), or as plain digits when the picture is empty.
void ShowStatistic(AppContext& ctx, Control label, long long value, std::string_view picture = {});
/// The same on a main window already at hand (a build shows several counts per word).
void ShowStatistic(Form& main, Control label, long long value, std::string_view picture = {});

/// Shows the counters of a build on the statistics panel: inserted, rejected, letters
/// and spaces remaining and the words per direction through "####", the junctions
/// through "###0".
void ShowBuildCounters(AppContext& ctx);

/// Empties every value of the statistics panel except the word count.
void ClearStatistics(AppContext& ctx);

}  // namespace kivrel
