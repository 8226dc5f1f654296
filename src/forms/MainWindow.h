#pragma once
// What the main window frmKV_Puzzle does: the handlers of its menu items and buttons,
// its load, resize and close, wired to the operations of the rest of the program. The
// Qt window only shows the form and forwards the user's actions; every decision is
// here, where it is tested without the window system.
//
// A build runs inside the Build command and lets events in while it works. Commands
// that would pull the puzzle away from under it (Exit, and the window's close box) go
// through AfterBuild: they cancel the build and run once it has finished.
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// Each button does what the menu item beside it does.
struct ButtonCommand {
  std::string_view Button;
  std::string_view Menu;
};
inline constexpr ButtonCommand kButtonCommands[] = {
    {"cmdAttributes", "mnuAttributes"}, {"cmdBuild", "mnuBuild"},
    {"cmdFillinBlanks", "mnuFillinBlanks"}, {"cmdOutlineWords", "mnuOutlineWords"},
    {"cmdViewMatches", "mnuViewMatches"}, {"cmdPrint", "mnuPrint"},
    {"cmdViewList", "mnuViewList"}, {"cmdSavePuzzle", "mnuSavePuzzle"},
    {"cmdExit", "mnuExit"},
};

inline constexpr std::string_view kExitQuestion = "Are you sure you want to exit Kivrel?";
inline constexpr std::string_view kExitTitle = "Exit Kivrel";
inline constexpr const char* kNothingToBuildMessage =
    "Nothing to build - no entry of the word list holds a letter or a digit";

/// The windows closed when the program ends, in this order, before the main window.
inline constexpr std::string_view kUnloadOrder[] = {
    kPrintPreviewForm, kAttributesForm, kWordListForm, "frmOpenSave", "frmPrintDialog", kPrintOptionsForm,
};

class MainWindow {
 public:
  /// Registers the handlers on the main window's form (and the About box's) and gives
  /// the puzzle picture its design font. The context must outlive this object, and
  /// this object the window that raises the events.
  explicit MainWindow(AppContext& ctx);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  /// Lays the window out and centres it on the screen.
  void Form_Load();
  /// Keeps the statistics frame 225 twips from the right edge and sizes the display.
  void Form_Resize();
  /// Offers to save a changed list, then asks before the program ends; on OK closes
  /// the other windows in order. Returns true to refuse. During a build it refuses for
  /// now, cancels the build and closes the window (asking then) once the build has ended.
  bool Form_QueryUnload();

  void mnuBuild_Click();
  void mnuFillinBlanks_Click();
  void mnuExit_Click();
  void mnuSound_Click();
  void mnuUpperCase_Click();
  void mnuNoDuplicates_Click();
  /// Options > Avoid Words...: a list file whose words the fill must never spell. The
  /// mark shows that such words are in force; cancelling the dialog drops them.
  void mnuAvoidWords_Click();
  void mnuOutlineWords_Click();
  void mnuViewMatches_Click();
  void mnuAbout_Click();
  /// Print: the print options dialog, modeless.
  void mnuPrint_Click();
  void cmdCancel_Click();

 private:
  /// Closes the window, after the running build if there is one (once, however often
  /// the user asks meanwhile), first asking to save a changed list.
  void UnloadAfterBuild();

  AppContext& ctx_;
  bool unload_pending_ = false;
  bool save_offered_ = false;  // the unload under way has asked to save the list
};

}  // namespace kivrel
