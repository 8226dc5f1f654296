#pragma once
// Making a puzzle from the word list and the attributes: the size check, the attempts
// with their reject and stop rules, Cancel, the statistics panel and the end of a build;
// and what the other commands may ask of a running build.
//
// A build runs inside the Build command and yields to the window system after every
// line it searches and every word it places. A command that must not run in the middle
// of a build (New List, Open List, Open Puzzle, Exit, emptying the list) hands its work
// to AfterBuild: with no build running the work is done at once; otherwise the build
// is cancelled and the work runs as soon as the build has finished its end-of-build
// steps, still inside the yield's caller.
#include <chrono>
#include <functional>
#include <optional>

#include "engine/PlaceFinder.h"
#include "program/AppContext.h"

namespace kivrel {

/// Limits for a build that may start attempt after attempt (restart on the first
/// reject, "stop when spaces remaining"). The window sets none: Cancel ends such a
/// build there. A limit never cuts an attempt short; it stops the next one starting.
struct BuildLimits {
  /// Attempts after which a build that wants another one gives up (0: no limit).
  long long MaxAttempts = 0;
  /// A build that wants another attempt after this moment gives up.
  std::optional<std::chrono::steady_clock::time_point> Deadline;
  /// The search for each word's place; null: the build's own line scan.
  PlaceFinder* Finder = nullptr;
};

enum class BuildEnd {
  NotStarted,   // a build was running already, the list holds no word to place, or the
                // grid is smaller than the longest word (the attributes dialog opened)
  Finished,     // every word was tried, a stop rule was met, or the first reject stopped it
  Cancelled,    // Cancel ended it; the grid keeps what was placed
  GaveUp,       // a limit stopped the restarts; the state holds the best attempt made
  Interrupted,  // another command discarded the puzzle under the build
};

struct BuildOutcome {
  BuildEnd End = BuildEnd::NotStarted;
  long long Attempts = 0;
};

/// Builds a puzzle from the word list into the state, drawing it on the puzzle picture.
/// When it gives up, the state holds the attempt that placed the most words (with the
/// "stop when spaces remaining" rule on, the nearest to its number among those).
BuildOutcome BuildPuzzle(AppContext& ctx, const BuildLimits& limits = {});

/// True from the moment a build starts its attempts until its end-of-build steps ran.
bool BuildRunning(const AppContext& ctx);

/// Asks a running build to stop, as the Cancel button does. Nothing happens when none runs.
void CancelBuild(AppContext& ctx);

/// Runs `action` now when no build is running; otherwise cancels the build and runs the
/// action right after the build's end-of-build steps (actions in the order given).
void AfterBuild(AppContext& ctx, std::function<void()> action);

}  // namespace kivrel
