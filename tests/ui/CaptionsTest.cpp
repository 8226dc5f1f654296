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
  std::string_view form;
  std::string_view control;
  const char* caption;
};

const Caption kCaptions[] = {
    // The main window's buttons.
    {kMainForm, "cmdAttributes", "&Attrib"},
    {kMainForm, "cmdBuild", "&Build"},
    {kMainForm, "cmdFillinBlanks", "F&illin"},
    {kMainForm, "cmdOutlineWords", "&Outline"},
    {kMainForm, "cmdViewMatches", " &Junctions"},
    {kMainForm, "cmdPrint", "&Print"},
    {kMainForm, "cmdViewList", "&List"},
    {kMainForm, "cmdSavePuzzle", "&Save Puzzle"},
    {kMainForm, "cmdCancel", "&Cancel"},
    {kMainForm, "cmdExit", "E&xit"},
    // Its menus.
    {kMainForm, "mnuFile", "&File"},
    {kMainForm, "mnuNewList", "&New List"},
    {kMainForm, "mnuOpenList", "&Open List..."},
    {kMainForm, "mnuSaveList", "&Save List"},
    {kMainForm, "mnuSaveListAs", "Save List &As..."},
    {kMainForm, "mnuOpenPuzzle", "O&pen Puzzle..."},
    {kMainForm, "mnuSavePuzzle", "Sa&ve Puzzle"},
    {kMainForm, "mnuSavePuzzleAs", "Save Pu&zzle As..."},
    {kMainForm, "mnuPrint", "&Print..."},
    {kMainForm, "mnuExit", "E&xit"},
    {kMainForm, "mnuPuzzle", "&Puzzle"},
    {kMainForm, "mnuAttributes", "&Attributes"},
    {kMainForm, "mnuBuild", "&Build"},
    {kMainForm, "mnuFillinBlanks", "F&ill in Blanks"},
    {kMainForm, "mnuOutlineWords", "&Outline Words"},
    {kMainForm, "mnuViewMatches", "Show &Junctions"},
    {kMainForm, "mnuViewList", "View &List"},
    {kMainForm, "mnuViewPuzzle", "View &Puzzle"},
    {kMainForm, "mnuOptions", "&Options"},
    {kMainForm, "mnuSound", "&Sound"},
    {kMainForm, "mnuUpperCase", "&Upper case word list"},
    {kMainForm, "mnuHelp", "&Help"},
    {kMainForm, "mnuAbout", "&About..."},
    // The word list window.
    {kWordListForm, "cmdAdd", "&Add"},
    {kWordListForm, "cmdReplace", "Re&place"},
    {kWordListForm, "cmdRemove", "&Remove"},
    {kWordListForm, "cmdClear", "C&lear"},
    {kWordListForm, "cmdSave", "&Save List"},
    {kWordListForm, "cmdSort", "Sor&t"},
    {kWordListForm, "cmdShowWord", "Show &Word"},
    {kWordListForm, "cmdHideAll", "&Hide All"},
    {kWordListForm, "cmdClose", "&Close"},
    {kWordListForm, "lblFile", "File:"},
    {kWordListForm, "lblCount", "Word Count:"},
    // The attributes dialog.
    {kAttributesForm, "cmdOK", "&OK"},
    {kAttributesForm, "cmdDefaultDimensions", "&Default Dimensions"},
    {kAttributesForm, "cmdSaveList", "&Save List"},
    {kAttributesForm, "cmdCancel", "&Cancel"},
    {kAttributesForm, "chkIncludeDiagonals", "Include Diagonals"},
    {kAttributesForm, "chkBalanceDirections", "Balance Directions"},
    {kAttributesForm, "chkFastBuild", "Fast Build"},
    {kAttributesForm, "chkStopOnReject", "Sto&p on first reject"},
    {kAttributesForm, "chkRestartOnReject", "&Restart on first reject"},
    {kAttributesForm, "Label3", "Puzzle Title:"},
    {kAttributesForm, "Label1", "Puzzle Width (in letters):"},
    {kAttributesForm, "Label2", "Puzzle Height:"},
    {kAttributesForm, "Label7", "Stop when spaces remaining"},
    {kAttributesForm, "Label4", "Instructions:"},
    // The print options dialog.
    {kPrintOptionsForm, "cmdTitleFont", "&Title"},
    {kPrintOptionsForm, "cmdInstructionsFont", "&Instructions"},
    {kPrintOptionsForm, "cmdPuzzleFont", "PU&ZZLE"},
    {kPrintOptionsForm, "cmdWordListFont", "&WORD LIST"},
    {kPrintOptionsForm, "chkPrintInstructions", "Print i&nstructions"},
    {kPrintOptionsForm, "chkPrintWordList", "Print word &list"},
    {kPrintOptionsForm, "chkOutlineWords", "&Outline words"},
    {kPrintOptionsForm, "cmdPreview", "Pre&view"},
    {kPrintOptionsForm, "cmdPrinter", "P&rinter..."},
    {kPrintOptionsForm, "cmdPrint", "&Print"},
    {kPrintOptionsForm, "cmdCancel", "&Close"},
    {kPrintOptionsForm, "chkAbove", "Above"},
    {kPrintOptionsForm, "chkLeft", "Left"},
    {kPrintOptionsForm, "chkRight", "Right"},
    {kPrintOptionsForm, "chkBelow", "Below"},
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
  for (std::string_view name : {kWordListForm, kAttributesForm, kPrintOptionsForm}) program.ctx().forms.Get(name).Load();
  for (const Caption& c : kCaptions) {
    QWidget* window = program.Window(c.form);
    ASSERT_NE(window, nullptr) << c.form;
    std::optional<QString> caption = CaptionOf(window, c.control);
    ASSERT_TRUE(caption) << c.form << " has no " << c.control;
    EXPECT_EQ(caption->toStdString(), c.caption) << c.form << " " << c.control;
  }
}

}  // namespace
}  // namespace kivrel::testing
