#pragma once
// The Build and Fill in commands: the windows' side of a build around the engine's, and
// what the user is told of a fill. Build rebuilds the word table, checks the size (a grid
// too small opens the attributes dialog), puts the windows in the building state, draws
// every word as it is placed and keeps the statistics panel counting; what the other
// commands may ask of a running build is here too.
//
// A build runs inside the Build command and yields to the window system after every
// line it searches and every word it places. A command that must not run in the middle
// of a build (New List, Open List, Open Puzzle, Exit, emptying the list) hands its work
// to AfterBuild: with no build running the work is done at once; otherwise the build
// is cancelled and the work runs as soon as the build has finished its end-of-build
// steps, still inside the yield's caller.
#include <functional>
#include <string>

#include "display/FillLetters.h"
#include "engine/BuildRun.h"
#include "program/AppContext.h"

namespace kivrel {

/// Builds a puzzle from the word list into the state, drawing it on the puzzle picture,
/// and ends with the commands of what is on screen. Sounds the beep when the Sound mark
/// is on and the build finished with every word placed.
BuildOutcome BuildPuzzle(AppContext& ctx, const BuildLimits& limits = {});

/// True from the moment a build starts its attempts until its end-of-build steps ran.
bool BuildRunning(const AppContext& ctx);

/// Asks a running build to stop, as the Cancel button does. Nothing happens when none runs.
void CancelBuild(AppContext& ctx);

/// Runs `action` now when no build is running; otherwise cancels the build and runs the
/// action right after the build's end-of-build steps (actions in the order given).
void AfterBuild(AppContext& ctx, std::function<void()> action);

/// The Fill in command (menu and button): fills the blanks, or takes the fill letters
/// away, and tells what the fill could not do (TellFillReport). In the window a long
/// fill lets events run after each round of re-drawing: the commands are those of a
/// build meanwhile, the count of letters re-drawn counts along, and Cancel (or a
/// command handed to AfterBuild) stops it where it is.
void FillBlanks(AppContext& ctx);

/// What the user is told of a fill: the words that stay readable twice (the first ten,
/// and how many more) and the quote letters that did not fit; "" when there is nothing
/// to tell.
std::string FillReportMessage(const FillReport& report);

/// Shows FillReportMessage in a message box ("Kivrel Message"), when it says anything.
void TellFillReport(AppContext& ctx, const FillReport& report);

}  // namespace kivrel
