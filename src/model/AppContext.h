#pragma once
// Everything one running program shares: the puzzle state, the word list, the windows'
// models, the random source, the display metrics, the print fonts, and the platform
// services. There is exactly one per program; operations receive it by reference.
#include <functional>
#include <vector>

#include "display/DisplayMetrics.h"
#include "model/Forms.h"
#include "model/PuzzleState.h"
#include "model/Random.h"
#include "model/WordList.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Surface.h"
#include "print/FontTable.h"

namespace kivrel {

/// Whether a build is running and what waits for its end. Only the build changes it;
/// other commands use the functions of build/BuildPuzzle.h (BuildRunning, AfterBuild).
struct BuildRunState {
  bool Running = false;
  std::vector<std::function<void()>> AfterBuild;
};

class AppContext {
 public:
  /// The services must outlive the context. `picture` is the puzzle picture's surface.
  AppContext(Dialogs& dialogs, EventPump& pump, Beeper& beeper, WindowMetrics& metrics, Surface& picture)
      : dialogs(dialogs), pump(pump), beeper(beeper), metrics(metrics), picture(&picture) {}
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  PuzzleState state;
  WordList list;
  Forms forms;
  Random rng;
  DisplayMetrics display;
  FontTable fonts;
  BuildRunState build;

  Dialogs& dialogs;
  EventPump& pump;
  Beeper& beeper;
  WindowMetrics& metrics;
  /// The puzzle picture; the GUI replaces it with its retained image when the main
  /// window is made.
  Surface* picture;

  Form& MainForm() { return forms.Get(kMainForm); }
  Form& WordListForm() { return forms.Get(kWordListForm); }
  Form& AttributesForm() { return forms.Get(kAttributesForm); }

  /// Sizes the puzzle picture and its window for the current grid. Until the display
  /// is attached this does nothing.
  std::function<void()> SizePuzzleDisplay = [] {};
};

}  // namespace kivrel
