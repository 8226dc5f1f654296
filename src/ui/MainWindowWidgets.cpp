#include "ui/MainWindowWidgets.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

#include "controls/AboutControls.h"
#include "display/GridDisplay.h"
#include "forms/MainWindow.h"
#include "qt/QtSurface.h"
#include "ui/PuzzlePicture.h"
#include "ui/StatisticsFrame.h"

namespace kivrel {

using namespace frmKV_Puzzle;

namespace {

// The program's icon: a corner of a letter grid with one word ringed.
QPixmap ProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = MakeFont("Arial", 0, true, false);
  font.setPixelSize(std::max(4, size / 4));
  painter.setFont(font);
  const char* rows[] = {"KIV", "REL", "WAX"};
  const double cell = size / 3.0;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      painter.drawText(QRectF(c * cell, r * cell, cell, cell), Qt::AlignCenter, QString(QChar(rows[r][c])));
    }
  }
  painter.setPen(QPen(QColor(200, 0, 0), std::max(1.0, size / 24.0)));
  painter.drawRoundedRect(QRectF(cell * 0.1, cell * 1.1, cell * 2.8, cell * 0.8), cell * 0.4, cell * 0.4);
  return pixmap;
}

struct ButtonDesign {
  Control control;
  const char* caption;
  int left;
  int width;
};

// The row of command buttons, left to right: top 0, height 465 twips.
const ButtonDesign kButtons[] = {
    {cmdAttributes, "&Attrib", 0, 690},          {cmdBuild, "&Build", 690, 690},
    {cmdFillinBlanks, "F&illin", 1380, 690},     {cmdOutlineWords, "&Outline", 2070, 735},
    {cmdViewMatches, " &Junctions", 2805, 1020}, {cmdPrint, "&Print", 3825, 690},
    {cmdViewList, "&List", 4515, 555},           {cmdSavePuzzle, "&Save Puzzle", 5070, 1140},
    {cmdCancel, "&Cancel", 6210, 690},           {cmdExit, "E&xit", 6900, 690},
};
constexpr int kButtonHeight = 465;

struct StatRow {
  Control caption_label;
  const char* caption;
  Control value_label;
};

const StatRow kStatRows[] = {
    {lblWordCountLabel, "Word Count:", lblWordCount},
    {Label1, "Inserted:", lblInsertedCount},
    {Label2, "Rejected:", lblRejectedCount},
    {lblNbrLettersLabel, "Letters:", lblNbrLetters},
    {lblNbrSpacesLabel, "Spaces:", lblNbrSpaces},
    {lblLettersRemainingLabel, "Letters Remaining:", lblLettersRemaining},
    {lblRemainingLabel, "Spaces Remaining:", lblSpacesRemaining},
    {Label3, "Junctions:", lblMatches},
    {lblRedrawnLabel, "Fill Re-drawn:", lblRedrawnCount},
};

// The statistics frame: a caption on the left and a value on the right of each row,
// rows 270 twips apart.
constexpr int kStatsWidth = 2220;
constexpr int kStatsHeight = 5325;
constexpr int kStatsTop = 495;
constexpr int kFirstRowTop = 300;
constexpr int kRowPitch = 270;
constexpr int kRowHeight = 240;

void MakeStatistics(const Design& d, QWidget* client, int client_width) {
  auto* frame = Design::Named(new StatisticsFrame(QStringLiteral("Statistics"), client), fraStats);
  frame->setFont(MakeFont("Arial", 8.25, true, false));
  d.Place(frame, client_width - kStatsWidth - kStatsRightGap, kStatsTop, kStatsWidth, kStatsHeight);
  const QFont caption_font = MakeFont("Arial", 7.5, true, false);
  const QFont value_font = MakeFont("Arial", 9, true, false);
  auto caption = [&](Control control, const QString& text, int row, int left) {
    auto* label = Design::Named(new QLabel(text, frame), control);
    label->setFont(caption_font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    d.Place(label, left, kFirstRowTop + row * kRowPitch, 1500 + 90 - left, kRowHeight);
  };
  auto value = [&](Control control, int row) {
    auto* label = Design::Named(new FigureLabel(frame), control);
    label->setFont(value_font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    d.Place(label, 1620, kFirstRowTop + row * kRowPitch, 510, kRowHeight);
    label->SetBox(label->geometry());  // held at that size
  };
  int row = 0;
  for (const StatRow& stat : kStatRows) {
    caption(stat.caption_label, QString::fromUtf8(stat.caption), row, 90);
    value(stat.value_label, row);
    ++row;
  }
  caption(Label4, QStringLiteral("Directions:"), row++, 225);
  for (int i = 0; i < kDirectionCount; ++i, ++row) {
    caption(lblDirectionLabel[i], QString::fromUtf8(kDirectionNames[i + 1]), row, 90);
    value(lblDirection[i], row);
  }
}

QMenu* Menu(QMenuBar* bar, Control control, const char* caption) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
  Design::Named(menu->menuAction(), control);
  return menu;
}

QAction* Separator(QMenu* menu, Control control) { return Design::Named(menu->addSeparator(), control); }

// File > Open Example List: one item for each list, by its title. The items are the
// lists the program found, not controls of the window, so they carry no name.
void ExampleListMenu(QMenu* file, MainWindow& main) {
  QMenu* examples = file->addMenu(QStringLiteral("Open Example &List"));
  Design::Named(examples->menuAction(), mnuOpenExampleList);
  const std::vector<ThemeList>& lists = main.ExampleLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    QString caption = QString::fromStdString(lists[i].Title);
    QAction* item = examples->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    QObject::connect(item, &QAction::triggered, item, [&main, i] { main.mnuExampleList_Click(static_cast<int>(i)); });
  }
}

void MakeMenus(QMainWindow* window, MainWindow& main) {
  QMenuBar* bar = window->menuBar();
  QMenu* file = Menu(bar, mnuFile, "&File");
  Design::Item(file, mnuNewList, "&New List")->setShortcut(QKeySequence::New);
  Design::Item(file, mnuOpenList, "&Open List...")->setShortcut(QKeySequence::Open);
  ExampleListMenu(file, main);
  Design::Item(file, mnuSaveList, "&Save List", false)->setShortcut(QKeySequence::Save);
  Design::Item(file, mnuSaveListAs, "Save List &As...", false);
  Separator(file, mnuSep1);
  // Quotation files are not offered: these items stay hidden and do nothing.
  for (auto [item, caption] :
       {std::pair{mnuNewQuotation, "&New Quotation"}, std::pair{mnuOpenQuotation, "Open &Quotation..."},
        std::pair{mnuSaveQuotation, "Save Qu&otation"}, std::pair{mnuSaveQuotationAs, "Save Quo&tation As..."}}) {
    Design::Item(file, item, caption)->setVisible(false);
  }
  Separator(file, mnuSepQuotation)->setVisible(false);
  Design::Item(file, mnuOpenPuzzle, "O&pen Puzzle...");
  Design::Item(file, mnuSavePuzzle, "Sa&ve Puzzle", false);
  Design::Item(file, mnuSavePuzzleAs, "Save Pu&zzle As...", false);
  Separator(file, mnuSep2);
  Design::Item(file, mnuPrint, "&Print...", false)->setShortcut(QKeySequence::Print);
  Design::Item(file, mnuExportPage, "&Export Page...", false);
  Separator(file, mnuSep3);
  Design::Item(file, mnuExit, "E&xit")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  // The word list window answers the same keys (MakeWordListWindow).
  QMenu* edit = Menu(bar, mnuEdit, "&Edit");
  Design::Item(edit, mnuUndo, "&Undo", false)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  Design::Item(edit, mnuRedo, "&Redo", false)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

  QMenu* puzzle = Menu(bar, mnuPuzzle, "&Puzzle");
  Design::Item(puzzle, mnuAttributes, "&Attributes", false);
  Design::Item(puzzle, mnuBuild, "&Build", false);
  Design::Item(puzzle, mnuFillinBlanks, "F&ill in Blanks", false);
  Design::Item(puzzle, mnuOutlineWords, "&Outline Words", false);
  Design::Item(puzzle, mnuViewMatches, "Show &Junctions", false);
  Design::Item(puzzle, mnuViewList, "View &List", false);
  Design::Item(puzzle, mnuViewPuzzle, "View &Puzzle", false);

  QMenu* options = Menu(bar, mnuOptions, "&Options");
  for (auto [item, caption] : {std::pair{mnuSound, "&Sound"}, std::pair{mnuUpperCase, "&Upper case word list"},
                               std::pair{mnuNoDuplicates, "&No Duplicate Words"}}) {
    QAction* mark = Design::Item(options, item, caption);
    mark->setCheckable(true);
    mark->setChecked(true);
  }
  Design::Item(options, mnuLowerCase, "&Lower Case Letters")->setCheckable(true);
  Design::Item(options, mnuAvoidWords, "&Avoid Words...")->setCheckable(true);

  QMenu* help = Menu(bar, mnuHelp, "&Help");
  Design::Item(help, mnuAbout, "&About...");
}

}  // namespace

std::unique_ptr<QMainWindow> MakeMainWindowWidgets(const Design& d, QtImageSurface& picture, MainWindow& main) {
  constexpr int kClientWidth = 7650;
  constexpr int kClientHeight = 5850;
  auto window = std::make_unique<QMainWindow>();
  Design::Named(window.get(), frmKV_Puzzle::kWindow);
  window->setWindowTitle(QStringLiteral("Kivrel Puzzle Maker - (untitled)"));
  window->setWindowIcon(QIcon(ProgramIcon(64)));
  auto* client = new QWidget(window.get());
  window->setCentralWidget(client);

  const QFont button_font = MakeFont("Arial", 8.25, true, false);
  for (const ButtonDesign& b : kButtons) {
    QPushButton* button = d.Button(client, b.control, b.caption, b.left, 0, b.width, kButtonHeight);
    button->setFont(button_font);
    button->setEnabled(b.control == cmdExit);  // the others wait for a word list
  }

  auto* pic = Design::Named(new PuzzlePicture(picture, client), picPuzzle);
  d.Place(pic, 45, 495, kEmptyPictureCells * 270, kEmptyPictureCells * 270);

  MakeStatistics(d, client, kClientWidth);
  MakeMenus(window.get(), main);

  window->resize(d.Px(kClientWidth), d.Px(kClientHeight) + window->menuBar()->sizeHint().height());
  return window;
}

QDialog* MakeAboutBox(const Design& d, QWidget* parent) {
  auto* about = Design::Named(new QDialog(parent), frmAbout::kWindow);
  about->setWindowTitle(QStringLiteral("About Kivrel"));
  about->setFixedSize(d.Px(4530), d.Px(1860));
  const QColor light_grey(192, 192, 192);

  auto* icon = Design::Named(new QLabel(about), frmAbout::Picture1);
  icon->setAutoFillBackground(true);
  QPalette grey_background = icon->palette();
  grey_background.setColor(QPalette::Window, light_grey);
  icon->setPalette(grey_background);
  icon->setAlignment(Qt::AlignCenter);
  icon->setPixmap(ProgramIcon(d.Px(480)));
  d.Place(icon, 225, 135, 645, 510);

  auto* title = Design::Named(new QLabel(QStringLiteral("Kivrel Puzzle Builder"), about), frmAbout::Label1);
  title->setFont(MakeFont("Times New Roman", 11.25, false, false));
  title->setAutoFillBackground(true);
  title->setPalette(grey_background);
  d.Place(title, 1125, 90, 3255, 285);

  auto* version = Design::Named(new QLabel(QStringLiteral("Version 1.0"), about), frmAbout::Label2);
  version->setFont(MakeFont("Times New Roman", 9.75, false, false));
  d.Place(version, 1125, 405, 1005, 240);

  auto* line = Design::Named(new QFrame(about), frmAbout::Line1);
  line->setAutoFillBackground(true);
  QPalette line_colour = line->palette();
  line_colour.setColor(QPalette::Window, QColor(128, 128, 128));
  line->setPalette(line_colour);
  d.Place(line, 225, 765, 4320 - 225, 0);
  line->setFixedHeight(1);

  d.Button(about, frmAbout::cmdOK, "&OK", 1530, 1350, 1635, 330)->setDefault(true);
  return about;
}

}  // namespace kivrel
