#pragma once
// Making a puzzle from the word table and the attributes of the state: the attempts with
// their reject and stop rules, Cancel, and the limits of a build that may start attempt
// after attempt. The build reads and writes nothing but the state and the random source;
// whoever watches it (the window, or nobody) learns of its progress through BuildProgress.
#include <chrono>
#include <optional>

#include "engine/BuildProgress.h"
#include "model/PuzzleState.h"
#include "model/Random.h"

namespace kivrel {

/// Limits for a build that may start attempt after attempt (restart on the first
/// reject, "stop when spaces remaining"). The window sets none: Cancel ends such a
/// build there. A limit never cuts an attempt short; it stops the next one starting.
struct BuildLimits {
  /// Attempts after which a build that wants another one gives up (0: no limit).
  long long MaxAttempts = 0;
  /// A build that wants another attempt after this moment gives up.
  std::optional<std::chrono::steady_clock::time_point> Deadline;
};

enum class BuildEnd {
  NotStarted,   // the list holds no word to place, the grid is smaller than the longest
                // word, or (the Build command) a build was running already
  Finished,     // every word was tried, a stop rule was met, or the first reject stopped it
  Cancelled,    // Cancel ended it; the grid keeps what was placed
  GaveUp,       // a limit stopped the restarts; the state holds the best attempt made
  Interrupted,  // another command discarded the puzzle under the build
};

struct BuildOutcome {
  BuildEnd End = BuildEnd::NotStarted;
  long long Attempts = 0;
};

/// Whether the word table and the size allow a build.
enum class BuildCheck {
  Ready,
  NothingToPlace,  // no record of the table holds a word
  GridTooSmall,    // the width or the height is smaller than the longest word
};
BuildCheck CheckBuild(const PuzzleState& state);

/// Builds a puzzle from the word table (Words, as built from the list) into the grid,
/// with the size and build options of the state. Every attempt starts from the table
/// as it was when the build started. A build that finishes with every word tried leaves
/// BuildEnd::Finished; when it gives up, the state holds the attempt that placed the most
/// words (with the "stop when spaces remaining" rule on, the nearest to its number among
/// those). Nothing is built (NotStarted) unless CheckBuild says Ready.
BuildOutcome RunBuild(PuzzleState& state, Random& rng, BuildProgress& progress, const BuildLimits& limits = {});

}  // namespace kivrel
