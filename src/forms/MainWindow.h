#pragma once
// What the main window frmKV_Puzzle does: the handlers of its menu items and buttons,
// its load, resize and close, wired to the operations of the rest of the program. The
// Qt window only shows the form and forwards the user's actions; every decision is
// here, where it is tested without the window system.
//
// A build runs inside the Build command and lets events in while it works. Commands
// that would pull the puzzle away from under it (Exit, and the window's close box) go
// through AfterBuild: they cancel the build and run once it has finished.
#include <string>
#include <string_view>
#include <vector>

#include "controls/AboutControls.h"
#include "controls/PrintOptionsControls.h"
#include "controls/PrintPreviewControls.h"
#include "files/ThemeLists.h"
#include "program/AppContext.h"

namespace kivrel {

/// Each button does what the menu item beside it does.
struct ButtonCommand {
  Control Button;
  Control Menu;
};
inline constexpr ButtonCommand kButtonCommands[] = {
    {frmKV_Puzzle::cmdAttributes, frmKV_Puzzle::mnuAttributes},
    {frmKV_Puzzle::cmdBuild, frmKV_Puzzle::mnuBuild},
    {frmKV_Puzzle::cmdFillinBlanks, frmKV_Puzzle::mnuFillinBlanks},
    {frmKV_Puzzle::cmdOutlineWords, frmKV_Puzzle::mnuOutlineWords},
    {frmKV_Puzzle::cmdViewMatches, frmKV_Puzzle::mnuViewMatches},
    {frmKV_Puzzle::cmdPrint, frmKV_Puzzle::mnuPrint},
    {frmKV_Puzzle::cmdViewList, frmKV_Puzzle::mnuViewList},
    {frmKV_Puzzle::cmdSavePuzzle, frmKV_Puzzle::mnuSavePuzzle},
    {frmKV_Puzzle::cmdExit, frmKV_Puzzle::mnuExit},
};

inline constexpr std::string_view kExitQuestion = "Are you sure you want to exit Kivrel?";
inline constexpr std::string_view kExitTitle = "Exit Kivrel";

/// The exit question when the puzzle on screen was built since it was last saved or
/// opened: it names the puzzle by its title and offers to save it (Yes, No, Cancel).
std::string UnsavedPuzzleQuestion(const PuzzleState& state);
inline constexpr const char* kNothingToBuildMessage =
    "Nothing to build - no entry of the word list holds a letter or a digit";

/// The windows closed when the program ends, in this order, before the main window.
inline constexpr const Window* kUnloadOrder[] = {&frmPrintPreview::kWindow, &frmAttributes::kWindow,
                                                 &frmWordList::kWindow, &frmPrintOptions::kWindow};

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
  /// Offers to save a changed list, then asks before the program ends (offering to save
  /// a puzzle built since it was saved); on OK closes the other windows in order. Returns
  /// true to refuse. During a build it refuses for now, cancels the build and closes the
  /// window (asking then) once the build has ended.
  bool Form_QueryUnload();

  /// The lists File > Open Example List offers: the themed lists that come with the
  /// program, by title. The submenu is disabled when there are none.
  const std::vector<ThemeList>& ExampleLists() const { return example_lists_; }
  /// Opens example list `index` of ExampleLists as Open List opens a file: after a
  /// running build, and once a changed list was offered for saving.
  void mnuExampleList_Click(int index);

  void mnuBuild_Click();
  void mnuFillinBlanks_Click();
  void mnuExit_Click();
  void mnuSound_Click();
  void mnuUpperCase_Click();
  void mnuNoDuplicates_Click();
  /// Shows the letters in lower case, or in capitals again, on the picture at once and on
  /// every page drawn afterwards.
  void mnuLowerCase_Click();
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
  /// The exit question; with an unsaved puzzle Yes saves it first. True to go on.
  bool ConfirmExit();

  AppContext& ctx_;
  std::vector<ThemeList> example_lists_;
  bool unload_pending_ = false;
  bool save_offered_ = false;  // the unload under way has asked to save the list
};

}  // namespace kivrel
