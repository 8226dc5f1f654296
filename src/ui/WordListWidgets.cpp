#include "ui/WordListWidgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "forms/AttributesDialog.h"
#include "qt/QtSurface.h"
#include "ui/PathLabel.h"
#include "ui/SpinButton.h"
#include "ui/WordListBox.h"

namespace kivrel {

namespace {

// Both windows use the picture's face at 8.25 points, bold.
QFont WindowFont() { return MakeFont("MS Sans Serif", 8.25, true, false); }

QDialog* MakeDialog(const Design& d, QWidget* parent, const Window& window, const char* caption, int width,
                    int height) {
  auto* dialog = Design::Named(new QDialog(parent), window);
  dialog->setWindowTitle(QString::fromUtf8(caption));
  dialog->setFont(WindowFont());
  dialog->setFixedSize(d.Px(width), d.Px(height));
  dialog->setModal(false);
  return dialog;
}

QLabel* Label(const Design& d, QWidget* parent, Control control, const char* caption, int left, int top, int width,
              int height) {
  auto* label = Design::Named(new QLabel(QString::fromUtf8(caption), parent), control);
  label->setWordWrap(height > 300);
  d.Place(label, left, top, width, height);
  return label;
}

QLineEdit* Box(const Design& d, QWidget* parent, Control control, int left, int top, int width, int height) {
  auto* box = Design::Named(new QLineEdit(parent), control);
  d.Place(box, left, top, width, height);
  return box;
}

SpinButton* Spin(const Design& d, QWidget* parent, Control control, int left, int top) {
  auto* spin = Design::Named(new SpinButton(parent), control);
  d.Place(spin, left, top, 195, 285);
  return spin;
}

QPlainTextEdit* TextArea(const Design& d, QWidget* parent, Control control, int left, int top, int width, int height) {
  auto* area = Design::Named(new QPlainTextEdit(parent), control);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area->setTabChangesFocus(true);
  d.Place(area, left, top, width, height);
  return area;
}

}  // namespace

QDialog* MakeWordListWindow(const Design& d, QWidget* parent, AppContext& ctx, WordListWindow& window) {
  QDialog* dialog = MakeDialog(d, parent, frmWordList::kWindow, "Word List", 4875, 6540);
  Label(d, dialog, frmWordList::lblFile, "File:", 90, 75, 495, 255);
  // The file's path needs more room than the design gave the label: it runs to the right
  // edge, and a longer one loses its middle.
  auto* file_name = Design::Named(new PathLabel(QStringLiteral("untitled"), dialog), frmWordList::lblFileName);
  file_name->setTextFormat(Qt::PlainText);
  d.Place(file_name, 495, 75, 4290, 255);

  struct ButtonDesign {
    Control control;
    const char* caption;
    bool enabled;
  };
  const ButtonDesign buttons[] = {
      {frmWordList::cmdAdd, "&Add", false},
      {frmWordList::cmdReplace, "Re&place", false},
      {frmWordList::cmdRemove, "&Remove", false},
      {frmWordList::cmdClear, "C&lear", false},
      {frmWordList::cmdSave, "&Save List", false},
      {frmWordList::cmdSort, "Sor&t", false},
      {frmWordList::cmdShowWord, "Show &Word", false},
      {frmWordList::cmdHideAll, "&Hide All", false},
      {frmWordList::cmdClose, "&Close", true},
      {frmWordList::cmdUndo, "&Undo", false},
      {frmWordList::cmdRedo, "Re&do", false},
  };
  int top = 450;
  for (const ButtonDesign& b : buttons) {
    // Undo and Redo stand apart from the list's own commands.
    if (b.control == frmWordList::cmdUndo) top += 180;
    d.Button(dialog, b.control, b.caption, 90, top, 1140, 330)->setEnabled(b.enabled);
    top += 360;
  }
  // The keys of the main window's Undo and Redo work here too.
  for (Control item : {frmKV_Puzzle::mnuUndo, frmKV_Puzzle::mnuRedo}) {
    const QString name = QString::fromUtf8(item.Name().data(), static_cast<qsizetype>(item.Name().size()));
    if (auto* action = parent ? parent->findChild<QAction*>(name) : nullptr) dialog->addAction(action);
  }

  auto* box = Design::Named(new WordListBox(ctx, window, dialog), frmWordList::cboWordList);
  d.Place(box, 1305, 450, 3480, 6030);
  Label(d, dialog, frmWordList::lblCount, "Word Count:", 135, 5895, 1155, 240);
  Label(d, dialog, frmWordList::lblWordCount, "", 495, 6165, 375, 255);
  return dialog;
}

QDialog* MakeAttributesDialog(const Design& d, QWidget* parent) {
  QDialog* dialog = MakeDialog(d, parent, frmAttributes::kWindow, "Set Puzzle Attributes", 6735, 5220);
  d.Button(dialog, frmAttributes::cmdOK, "&OK", 90, 90, 1215, 375);
  d.Button(dialog, frmAttributes::cmdDefaultDimensions, "&Default Dimensions", 1620, 90, 1950, 375);
  d.Button(dialog, frmAttributes::cmdSaveList, "&Save List", 3870, 90, 1260, 375);
  d.Button(dialog, frmAttributes::cmdCancel, "&Cancel", 5445, 90, 1215, 375);

  Label(d, dialog, frmAttributes::Label3, "Puzzle Title:", 105, 645, 1335, 255);
  Box(d, dialog, frmAttributes::txtPuzName, 1620, 630, 4965, 285);
  Label(d, dialog, frmAttributes::Label1, "Puzzle Width (in letters):", 90, 1170, 1275, 420);
  Box(d, dialog, frmAttributes::txtPuzWidth, 1620, 1170, 420, 285);
  Spin(d, dialog, frmAttributes::spnPuzWidth, 2070, 1170);
  Label(d, dialog, frmAttributes::Label2, "Puzzle Height:", 90, 1665, 1365, 255);
  Box(d, dialog, frmAttributes::txtPuzHeight, 1620, 1620, 420, 285);
  Spin(d, dialog, frmAttributes::spnPuzHeight, 2070, 1620);

  d.Check(dialog, frmAttributes::chkIncludeDiagonals, "Include Diagonals", 2385, 1125, 1995);
  d.Check(dialog, frmAttributes::chkBalanceDirections, "Balance Directions", 2385, 1395, 1995);
  d.Check(dialog, frmAttributes::chkFastBuild, "Fast Build", 2385, 1665, 1995)->setEnabled(false);
  d.Check(dialog, frmAttributes::chkStopOnReject, "Sto&p on first reject", 4545, 1125, 2130);
  d.Check(dialog, frmAttributes::chkRestartOnReject, "&Restart on first reject", 4545, 1395, 2130);
  d.Check(dialog, frmAttributes::chkBackwardsWords, "&Backwards words", 4545, 1665, 2130);

  Label(d, dialog, frmAttributes::Label7, "Stop when spaces remaining", 90, 1980, 2490, 255);
  auto* op = Design::Named(new QComboBox(dialog), frmAttributes::cbxStopRemOp);
  for (const auto& choice : kStopOperatorChoices) op->addItem(QString::fromUtf8(choice[0].data(), choice[0].size()));
  op->setCurrentIndex(-1);  // nothing chosen until the user chooses
  d.Place(op, 2610, 1980, 1815, 315);
  Box(d, dialog, frmAttributes::txtStopRem, 4545, 1980, 420, 285);
  Spin(d, dialog, frmAttributes::spnStopRem, 4995, 1980);

  Label(d, dialog, frmAttributes::Label4, "Instructions:", 90, 2295, 1185, 285);
  TextArea(d, dialog, frmAttributes::txtInstructions, 1620, 2340, 5010, 1860);
  Label(d, dialog, frmAttributes::Label5, "Mystery quote:", 90, 4275, 1320, 285);
  TextArea(d, dialog, frmAttributes::txtMysteryQuote, 1620, 4275, 5010, 465);
  Label(d, dialog, frmAttributes::Label6, "Letter Count:", 90, 4860, 1320, 240);
  Label(d, dialog, frmAttributes::lblLetterCount, "", 1620, 4815, 5010, 330);
  return dialog;
}

}  // namespace kivrel
