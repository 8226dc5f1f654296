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

// Answers the next file dialog as a user would: the file type `steps` rows down the
// type list, the answer key box ticked or not, the name typed.
void AnswerExportDialog(const std::string& name, int steps, bool answer_key) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog) << "no file dialog";
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("chkFileDialogOption"));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!types || !box || !edit) {
      dialog->reject();
      FAIL() << "the dialog lacks its type list, check box or name box";
    }
    EXPECT_EQ(box->text(), "Add the &answer key");
    for (int i = 0; i < steps; ++i) QTest::keyClick(types, Qt::Key_Down);
    if (answer_key) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
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
  auto* export_page = app.mainWindow()->findChild<QAction*>(QStringLiteral("mnuExportPage"));
  ASSERT_TRUE(export_page);
  EXPECT_FALSE(export_page->isEnabled());  // nothing to export before a build
  QTest::mouseClick(app.mainWindow()->findChild<QPushButton*>(QStringLiteral("cmdBuild")), Qt::LeftButton);
  ASSERT_NE(ctx.state.PuzzleBuilt, 0);
  ASSERT_TRUE(export_page->isEnabled());
  // As the print options dialog sets it:
  ctx.forms.Get(frmPrintOptions::kWindow).SetValue(frmPrintOptions::chkPrintInstructions, 0);
  ASSERT_EQ(ctx.print.PrintInstructions, 0);

  // (A PNG with its answer key is tested on the X server, typed with real keys.)
  // A PDF: the type stays PDF, the name typed with its extension. A PDF carries its
  // time of making, so the words and their places are compared.
  AnswerExportDialog(dir.File("sheet.pdf"), 0, false);
  export_page->trigger();
  EXPECT_NE(ctx.state.BlanksFilled, 0);  // filled first, as printing does
  // The same puzzle, its fill letters saved, through the command-line program.
  const std::string puzzle = dir.Write("zoo.kvp", *EncodePuzzleFile(PuzzleFileFromState(ctx.state)));
  testing::CliRun run = testing::RunCli("print " + puzzle + " --no-instructions --pdf " + dir.File("cli.pdf"), true);
  ASSERT_EQ(run.code, 0) << run.out;
  const auto window_pages = testing::ReadPdfWords(dir.File("sheet.pdf"));
  const auto cli_pages = testing::ReadPdfWords(dir.File("cli.pdf"));
  ASSERT_EQ(window_pages.size(), 1u);
  ASSERT_EQ(cli_pages.size(), 1u);
  ASSERT_EQ(window_pages[0].size(), cli_pages[0].size());
  for (std::size_t i = 0; i < cli_pages[0].size(); ++i) {
    const testing::PdfWord& w = window_pages[0][i];
    const testing::PdfWord& c = cli_pages[0][i];
    EXPECT_EQ(w.text, c.text);
    EXPECT_LT(std::fabs(w.xMin - c.xMin) + std::fabs(w.yMin - c.yMin), 0.01) << w.text;
  }

  // The web page: the fourth file type, the name typed without an extension.
  AnswerExportDialog(dir.File("sheet"), 3, false);
  export_page->trigger();
  run = testing::RunCli("print " + puzzle + " --no-instructions --html " + dir.File("cli.html"), true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(TempDir::Read(dir.File("sheet.html")), TempDir::Read(dir.File("cli.html")));
  EXPECT_NE(TempDir::Read(dir.File("cli.html")).find("<!DOCTYPE html>"), std::string::npos);
}

}  // namespace
}  // namespace kivrel
