#pragma once
// Everything one running program shares: the puzzle state, the word list, the windows'
// models, the random source, the display metrics, the print fonts, and the platform
// services. There is exactly one per program; operations receive it by reference.
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/AttributesControls.h"
#include "controls/MainWindowControls.h"
#include "controls/WordListControls.h"
#include "model/DisplayMetrics.h"
#include "model/FontTable.h"
#include "model/Forms.h"
#include "model/PrintOptions.h"
#include "model/PuzzleState.h"
#include "model/Random.h"
#include "model/WordList.h"
#include "platform/Dialogs.h"
#include "platform/EditHistory.h"
#include "platform/PageFileDevice.h"
#include "platform/PrinterDevice.h"
#include "platform/Services.h"
#include "platform/Surface.h"

namespace kivrel {

struct ListSnapshot;  // commands/ListEdits.h

/// Whether a build is running and what waits for its end. Only the build changes it;
/// other commands use the functions of commands/BuildCommands.h (BuildRunning, AfterBuild).
struct BuildRunState {
  bool Running = false;
  std::vector<std::function<void()>> AfterBuild;
};

/// The kinds of file the file dialogs are for.
enum class FileDialogKind { Lists, Puzzles, Pages };

/// What the file dialogs remember for the session: the folder of the last file of each
/// kind opened or saved, where the next dialog of that kind starts, and the file type and
/// answer key box Export Page was last given.
struct FileDialogMemory {
  std::array<std::string, 3> Folders;
  int PageFileType = 1;  // 1-based pair of the export filter
  bool PageAnswerKey = false;

  const std::string& FolderOf(FileDialogKind kind) const { return Folders[static_cast<std::size_t>(kind)]; }
  /// Takes the folder of a file just opened or saved.
  void Remember(FileDialogKind kind, const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos) Folders[static_cast<std::size_t>(kind)] = path.substr(0, slash == 0 ? 1 : slash);
  }
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
  PrintOptions print;  // mirrored by the print options dialog
  PageLayout page;     // results of the last page layout
  /// Words the fill must never spell (Options > Avoid Words...), as placed words.
  std::vector<std::string> AvoidWords;
  PagePrinted printed;  // the blocks and font sizes of the last page layout
  FileDialogMemory files;

  Dialogs& dialogs;
  EventPump& pump;
  Beeper& beeper;
  WindowMetrics& metrics;
  /// The puzzle picture; the GUI replaces it with its retained image when the main
  /// window is made.
  Surface* picture;
  /// The preview page (a page of 12240 x 15840 twips) that DrawPreviewPage draws on;
  /// null until the preview window makes it.
  Surface* preview = nullptr;
  /// The printer the print command prints to; null when the program has none.
  PrinterDevice* printer = nullptr;
  /// What draws page files (Export Page, kivrel-cli's pages); null when the program has
  /// nothing to draw them with.
  PageFileDevice* page_files = nullptr;
  /// Where the edits of the list and the attributes are recorded to be undone; null
  /// when the program keeps no record (see AttachEditHistory).
  EditHistory* history = nullptr;
  /// The list and the attributes as last saved, opened or begun afresh: an edit undone
  /// or redone back to them leaves the list unchanged (see MarkListUnchanged).
  std::shared_ptr<const ListSnapshot> unchanged_list;

  Form& MainForm() { return forms.Get(frmKV_Puzzle::kWindow); }
  Form& WordListForm() { return forms.Get(frmWordList::kWindow); }
  Form& AttributesForm() { return forms.Get(frmAttributes::kWindow); }

  /// Sizes the puzzle picture and its window for the current grid. Until the display
  /// is attached this does nothing.
  std::function<void()> SizePuzzleDisplay = [] {};

  /// Called when a page layout itself changes a print option: it clears `print.Left`
  /// (chkLeft) when the word list has no room beside the puzzle. The print options
  /// dialog mirrors the option into that control; that change counts as a click on it,
  /// which asks for a nested relayout (ignored while PrintingInProgress). Until the
  /// dialog is attached this does nothing.
  std::function<void(Control control)> PrintOptionChangedByLayout = [](Control) {};
};

}  // namespace kivrel
