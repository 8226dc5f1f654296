// File > Export Page... in the whole program, through Qt's own file dialog driven with
// key and mouse events, against kivrel-cli print of the same puzzle and options.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "CliRunner.h"
#include "PdfWords.h"
#include "RunningProgram.h"
#include "TempDir.h"
#include "files/PuzzleFile.h"
#include "ui/KivrelApp.h"

namespace kivrel {
namespace {

using testing::TempDir;

// The words of a one-page PDF with their places.
std::string PageText(const std::string& pdf) {
  const auto pages = testing::ReadPdfWords(pdf);
  EXPECT_EQ(pages.size(), 1u) << pdf;
  std::string text;
  for (const auto& page : pages) {
    for (const testing::PdfWord& w : page)
      text += w.text + "@" + std::to_string(w.xMin) + "," + std::to_string(w.yMin) + " ";
  }
  return text;
}

// Answers the next file dialog as a user would: the file type `steps` rows down the
// type list, the name typed.
void AnswerExportDialog(const std::string& name, int steps) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog) << "no file dialog";
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!types || !edit) {
      dialog->reject();
      FAIL() << "the dialog lacks its type list or name box";
    }
    for (int i = 0; i < steps; ++i) QTest::keyClick(types, Qt::Key_Down);
    // The dialog opens in the list's folder; the name is typed and entered. An Enter
    // pressed while the box offers names that start alike closes that offer only.
    const QFileInfo file(QString::fromStdString(name));
    EXPECT_EQ(dialog->directory(), QDir(file.absolutePath()));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, file.fileName());
    for (int i = 0; i < 2 && dialog->isVisible(); ++i) QTest::keyClick(edit, Qt::Key_Return);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog stayed open with \"" << edit->text().toStdString() << "\" typed";
      dialog->reject();
    }
  });
}

TEST(ExportPage, ThroughTheRealDialogTheSamePdfAndWebPageAsKivrelCliPrint) {
  TempDir dir;
  KivrelApp app;  // Qt's own dialogs
  app.Start(7);
  AppContext& ctx = app.context();
  testing::OpenList(ctx, KIVREL_EXAMPLES_DIR "/animals.kvl");
  ctx.state.WordListFileName = dir.File("animals.kvl");  // the dialog suggests its folder and name
  QApplication::processEvents();
  auto* export_page = app.mainWindow()->findChild<QAction*>("mnuExportPage");
  ASSERT_TRUE(export_page);
  EXPECT_FALSE(export_page->isEnabled());  // nothing to export before a build
  QTest::mouseClick(app.mainWindow()->findChild<QPushButton*>("cmdBuild"), Qt::LeftButton);
  ASSERT_NE(ctx.state.PuzzleBuilt, 0);
  ASSERT_TRUE(export_page->isEnabled());
  // As the print options dialog sets it:
  ctx.forms.Get(frmPrintOptions::kWindow).SetValue(frmPrintOptions::chkPrintInstructions, 0);
  ASSERT_EQ(ctx.print.PrintInstructions, 0);

  // (A PNG with its answer key is tested on the X server, typed with real keys.)
  // A PDF: the type stays PDF, the name typed with its extension. A PDF carries its
  // time of making, so the words and their places are compared.
  AnswerExportDialog(dir.File("sheet.pdf"), 0);
  export_page->trigger();
  EXPECT_NE(ctx.state.BlanksFilled, 0);  // filled first, as printing does
  // The same puzzle, its fill letters saved, through the command-line program.
  const std::string puzzle = dir.Write("zoo.kvp", *EncodePuzzleFile(PuzzleFileFromState(ctx.state)));
  ASSERT_EQ(testing::RunCli("print " + puzzle + " --no-instructions --pdf " + dir.File("cli.pdf")).code, 0);
  EXPECT_EQ(PageText(dir.File("sheet.pdf")), PageText(dir.File("cli.pdf")));

  // The web page: the fourth file type, the name typed without an extension.
  AnswerExportDialog(dir.File("sheet"), 3);
  export_page->trigger();
  ASSERT_EQ(testing::RunCli("print " + puzzle + " --no-instructions --html " + dir.File("cli.html")).code, 0);
  EXPECT_EQ(TempDir::Read(dir.File("sheet.html")), TempDir::Read(dir.File("cli.html")));
  EXPECT_NE(TempDir::Read(dir.File("cli.html")).find("<!DOCTYPE html>"), std::string::npos);
}

}  // namespace
}  // namespace kivrel
