#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "RunningProgram.h"
#include "TempDir.h"
#include "engine/FillInBlanks.h"
#include "program/StartUp.h"

// The hidden message and the check for words found twice in the program's windows: a
// list whose header carries a quote, the quote typed in the attributes dialog, and Fill in.
namespace kivrel {
namespace {

using testing::RunningProgram;

TEST(HiddenMessageOnScreen, TheQuoteIsTypedCountedAndFilledIn) {
  RunningProgram p;
  testing::TempDir dir;
  p.OpenList(dir.Write("zoo.kvl", "1\tZoo\t 7\t 7\t 1\t 1\tFind them.\tOld\r\nZEBRA\r\nLLAMA\r\nOKAPI\r\nLION\r\n"));
  EXPECT_EQ(p.ctx().state.MysteryQuote, "Old");
  EXPECT_TRUE(p.Action("mnuNoDuplicates")->isChecked());
  p.Click("cmdBuild");
  QApplication::processEvents();
  const PuzzleState& s = p.ctx().state;
  ASSERT_GT(s.SpacesRemaining, 6);

  // The user types a quote of as many letters as the build left spaces.
  std::string quote;
  for (int i = 0; i < s.SpacesRemaining; ++i) quote += (i % 5 == 4) ? "e! " : "t";
  bool typed = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = p.Window(frmAttributes::kWindow);
    ASSERT_TRUE(dialog && dialog->isVisible());
    p.Activate(dialog);
    auto* box = p.In<QPlainTextEdit>(dialog, "txtMysteryQuote");
    ASSERT_TRUE(box && box->isEnabled());
    EXPECT_EQ(box->toPlainText().toStdString(), "Old");  // from the list's header
    box->selectAll();
    box->setFocus();
    QTest::keyClicks(box, QString::fromStdString(quote));
    EXPECT_EQ(
        p.In<QLabel>(dialog, "lblLetterCount")->text().toStdString(),
        std::to_string(s.SpacesRemaining) + " letters, " + std::to_string(s.SpacesRemaining) + " spaces remaining");
    p.ClickIn(dialog, "cmdOK");
    typed = true;
  });
  p.Click("cmdAttributes");
  ASSERT_TRUE(typed);

  p.Click("cmdFillinBlanks");
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  std::string letters;
  for (char c : quote) {
    if (c != ' ' && c != '!') letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  EXPECT_EQ(read, letters);
  EXPECT_EQ(p.Label("lblRedrawnCount")->text(), "");  // the quote left no letter to re-draw
}

}  // namespace
}  // namespace kivrel
