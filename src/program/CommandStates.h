#pragma once
// The four command states of the main window and the word list window, the statistics
// panel's values, and the operations that reset the puzzle as a whole.
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// Pictures for the statistics panel's counts.
inline constexpr std::string_view kCountPicture = "####";     // 0 shows nothing
inline constexpr std::string_view kJunctionPicture = "###0";  // 0 shows "0"

void SetBuildingState(AppContext& ctx);
void SetPuzzleReadyState(AppContext& ctx);
void SetListReadyState(AppContext& ctx);
void SetEmptyListState(AppContext& ctx);

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

/// Discards the puzzle: size 0 x 0, picture hidden and cleared, ListReady, statistics
/// emptied, PuzzleBuilt cleared.
void ClearPuzzle(AppContext& ctx);

/// Holds the changes of the main window's and the word list window's controls back
/// from the windows for as long as it lives (see Form::HoldChanges): long work that
/// switches commands off and on again, or empties labels and fills them with the same
/// values, leaves the windows untouched unless they were shown meanwhile.
class HeldWindowChanges {
 public:
  explicit HeldWindowChanges(AppContext& ctx);
  ~HeldWindowChanges() { Release(); }
  HeldWindowChanges(const HeldWindowChanges&) = delete;
  HeldWindowChanges& operator=(const HeldWindowChanges&) = delete;
  /// Passes on what is held so far (before events run, so the windows show the
  /// commands as they are) and goes on holding.
  void Show();
  /// Passes on what is held and ends the hold.
  void Release();

 private:
  Form* main_;
  Form* list_;
};

/// Shows PuzzleTitle in the main window's caption and the attributes dialog's title box.
void SetWindowTitle(AppContext& ctx);

}  // namespace kivrel
