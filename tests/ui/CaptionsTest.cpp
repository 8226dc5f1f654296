// Every caption of the main window, its menus and the dialogs as the user reads it,
// access key ("&") included. (That one press of a key does one thing is tested on the
// X server, with real key presses.)
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "RunningProgram.h"

namespace kivrel::testing {
namespace {

struct Caption {
  const Window* form;
  std::string_view control;
  const char* caption;
};

const Caption kCaptions[] = {
    // The main window's buttons.
    {&frmKV_Puzzle::kWindow, "cmdAttributes", "&Attrib"},
    {&frmKV_Puzzle::kWindow, "cmdBuild", "&Build"},
    {&frmKV_Puzzle::kWindow, "cmdFillinBlanks", "F&illin"},
    {&frmKV_Puzzle::kWindow, "cmdOutlineWords", "&Outline"},
    {&frmKV_Puzzle::kWindow, "cmdViewMatches", " &Junctions"},
    {&frmKV_Puzzle::kWindow, "cmdPrint", "&Print"},
    {&frmKV_Puzzle::kWindow, "cmdViewList", "&List"},
    {&frmKV_Puzzle::kWindow, "cmdSavePuzzle", "&Save Puzzle"},
    {&frmKV_Puzzle::kWindow, "cmdCancel", "&Cancel"},
    {&frmKV_Puzzle::kWindow, "cmdExit", "E&xit"},
    // Its menus.
    {&frmKV_Puzzle::kWindow, "mnuFile", "&File"},
    {&frmKV_Puzzle::kWindow, "mnuNewList", "&New List"},
    {&frmKV_Puzzle::kWindow, "mnuOpenList", "&Open List..."},
    {&frmKV_Puzzle::kWindow, "mnuOpenExampleList", "Open Example &List"},
    {&frmKV_Puzzle::kWindow, "mnuSaveList", "&Save List"},
    {&frmKV_Puzzle::kWindow, "mnuSaveListAs", "Save List &As..."},
    {&frmKV_Puzzle::kWindow, "mnuOpenPuzzle", "O&pen Puzzle..."},
    {&frmKV_Puzzle::kWindow, "mnuSavePuzzle", "Sa&ve Puzzle"},
    {&frmKV_Puzzle::kWindow, "mnuSavePuzzleAs", "Save Pu&zzle As..."},
    {&frmKV_Puzzle::kWindow, "mnuPrint", "&Print..."},
    {&frmKV_Puzzle::kWindow, "mnuExit", "E&xit"},
    {&frmKV_Puzzle::kWindow, "mnuPuzzle", "&Puzzle"},
    {&frmKV_Puzzle::kWindow, "mnuAttributes", "&Attributes"},
    {&frmKV_Puzzle::kWindow, "mnuBuild", "&Build"},
    {&frmKV_Puzzle::kWindow, "mnuFillinBlanks", "F&ill in Blanks"},
    {&frmKV_Puzzle::kWindow, "mnuOutlineWords", "&Outline Words"},
    {&frmKV_Puzzle::kWindow, "mnuViewMatches", "Show &Junctions"},
    {&frmKV_Puzzle::kWindow, "mnuViewList", "View &List"},
    {&frmKV_Puzzle::kWindow, "mnuViewPuzzle", "View &Puzzle"},
    {&frmKV_Puzzle::kWindow, "mnuOptions", "&Options"},
    {&frmKV_Puzzle::kWindow, "mnuSound", "&Sound"},
    {&frmKV_Puzzle::kWindow, "mnuUpperCase", "&Upper case word list"},
    {&frmKV_Puzzle::kWindow, "mnuLowerCase", "&Lower Case Letters"},
    {&frmKV_Puzzle::kWindow, "mnuHelp", "&Help"},
    {&frmKV_Puzzle::kWindow, "mnuAbout", "&About..."},
    // The word list window.
    {&frmWordList::kWindow, "cmdAdd", "&Add"},
    {&frmWordList::kWindow, "cmdReplace", "Re&place"},
    {&frmWordList::kWindow, "cmdRemove", "&Remove"},
    {&frmWordList::kWindow, "cmdClear", "C&lear"},
    {&frmWordList::kWindow, "cmdSave", "&Save List"},
    {&frmWordList::kWindow, "cmdSort", "Sor&t"},
    {&frmWordList::kWindow, "cmdShowWord", "Show &Word"},
    {&frmWordList::kWindow, "cmdHideAll", "&Hide All"},
    {&frmWordList::kWindow, "cmdClose", "&Close"},
    {&frmWordList::kWindow, "lblFile", "File:"},
    {&frmWordList::kWindow, "lblCount", "Word Count:"},
    // The attributes dialog.
    {&frmAttributes::kWindow, "cmdOK", "&OK"},
    {&frmAttributes::kWindow, "cmdDefaultDimensions", "&Default Dimensions"},
    {&frmAttributes::kWindow, "cmdSaveList", "&Save List"},
    {&frmAttributes::kWindow, "cmdCancel", "&Cancel"},
    {&frmAttributes::kWindow, "chkIncludeDiagonals", "Include Diagonals"},
    {&frmAttributes::kWindow, "chkBalanceDirections", "Balance Directions"},
    {&frmAttributes::kWindow, "chkFastBuild", "Fast Build"},
    {&frmAttributes::kWindow, "chkStopOnReject", "Sto&p on first reject"},
    {&frmAttributes::kWindow, "chkRestartOnReject", "&Restart on first reject"},
    {&frmAttributes::kWindow, "chkBackwardsWords", "&Backwards words"},
    {&frmAttributes::kWindow, "Label3", "Puzzle Title:"},
    {&frmAttributes::kWindow, "Label1", "Puzzle Width (in letters):"},
    {&frmAttributes::kWindow, "Label2", "Puzzle Height:"},
    {&frmAttributes::kWindow, "Label7", "Stop when spaces remaining"},
    {&frmAttributes::kWindow, "Label4", "Instructions:"},
    // The print options dialog.
    {&frmPrintOptions::kWindow, "cmdTitleFont", "&Title"},
    {&frmPrintOptions::kWindow, "cmdInstructionsFont", "&Instructions"},
    {&frmPrintOptions::kWindow, "cmdPuzzleFont", "PU&ZZLE"},
    {&frmPrintOptions::kWindow, "cmdWordListFont", "&WORD LIST"},
    {&frmPrintOptions::kWindow, "chkPrintInstructions", "Print i&nstructions"},
    {&frmPrintOptions::kWindow, "chkPrintWordList", "Print word &list"},
    {&frmPrintOptions::kWindow, "chkOutlineWords", "&Outline words"},
    {&frmPrintOptions::kWindow, "chkFillPage", "&Fill the page"},
    {&frmPrintOptions::kWindow, "cmdPreview", "Pre&view"},
    {&frmPrintOptions::kWindow, "cmdPrinter", "P&rinter..."},
    {&frmPrintOptions::kWindow, "cmdPrint", "&Print"},
    {&frmPrintOptions::kWindow, "cmdCancel", "&Close"},
    {&frmPrintOptions::kWindow, "chkAbove", "Above"},
    {&frmPrintOptions::kWindow, "chkLeft", "Left"},
    {&frmPrintOptions::kWindow, "chkRight", "Right"},
    {&frmPrintOptions::kWindow, "chkBelow", "Below"},
};

// The caption a control shows, whatever kind of control it is.
std::optional<QString> CaptionOf(QWidget* window, std::string_view control) {
  const QString name = QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
  if (auto* action = window->findChild<QAction*>(name)) return action->text();
  if (auto* button = window->findChild<QAbstractButton*>(name)) return button->text();
  if (auto* label = window->findChild<QLabel*>(name)) return label->text();
  if (auto* group = window->findChild<QGroupBox*>(name)) return group->title();
  return std::nullopt;
}

TEST(Captions, EveryCaptionAndAccessKeyIsAsDesigned) {
  RunningProgram program;
  for (const Window* form : {&frmWordList::kWindow, &frmAttributes::kWindow, &frmPrintOptions::kWindow}) {
    program.ctx().forms.Get(*form).Load();
  }
  for (const Caption& c : kCaptions) {
    QWidget* window = program.Window(*c.form);
    ASSERT_NE(window, nullptr) << c.form->Name();
    std::optional<QString> caption = CaptionOf(window, c.control);
    ASSERT_TRUE(caption) << c.form->Name() << " has no " << c.control;
    EXPECT_EQ(caption->toStdString(), c.caption) << c.form->Name() << " " << c.control;
  }
}

}  // namespace
}  // namespace kivrel::testing
