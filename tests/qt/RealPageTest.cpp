// The image surface, and the printed page on real surfaces and printers.
//
// A matrix of pages, from 5 x 5 to 99 x 99 with 3 to 200 words, in all nine places on
// the page, with and without the list beside the grid, with long titles, on A4, Letter
// and Legal, filling the page or not, is drawn into PDFs as kivrel-cli draws them and
// read back with pdftotext -bbox: every word inside the margins and none over the grid,
// the grid's letters in their cells, every placed word listed, at a legible size unless
// the grid had to be made as small as it may be. Some are drawn on the preview and as
// SVG and PNG too: one layout for all, and the images hold their ink where the layout
// put it.
//
// Printing through Qt: its printer (its own PDF printer) and print dialog, and a real
// print server: a CUPS daemon of the test's own (its configuration, spool and logs in a
// temporary folder, reached only through a socket file there) with two raw queues that
// print to /dev/null. libcups keeps the first server it reached for the whole process,
// so the CUPS test comes first here and needs a process of its own, as ctest runs it.
// The daemon runs nothing of ours: Debian confines /usr/sbin/cupsd with AppArmor, which
// would refuse a backend kept in a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRectF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "RunningProgram.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/PrintCommands.h"
#include "display/FillLetters.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"
#include "program/WordTable.h"
#include "qt/QtPageFileDevice.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"
#include "qt/QtSurface.h"

namespace kivrel {
namespace {

class PrivateCups {
 public:
  // Starts the daemon with the queues and points libcups at it; "" or why it cannot.
  std::string Start(const QStringList& queues) {
    if (Tool("cupsd").isEmpty() || Tool("lpadmin").isEmpty()) return "cupsd or lpadmin is missing";
    const QString r = root_.path();
    // When the daemon runs as root its helpers run as "lp", which must reach the folder.
    QFile::setPermissions(
        r, QFile::permissions(r) | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    for (const char* sub : {"spool/tmp", "cache", "state", "log", "bin"}) QDir(r).mkpath(sub);
    for (const char* sub : {"backend", "filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"}) {
      QFile::link(QStringLiteral("/usr/lib/cups/") + sub, r + "/bin/" + sub);  // the installed helpers
    }
    socket_ = r + "/cups.sock";
    for (const char* name : {"cupsd.conf", "cups-files.conf"}) {  // @ROOT@ stands for the folder
      QFile in(QStringLiteral(KIVREL_TEST_DATA_DIR "/cups/") + name), out(r + "/" + name);
      if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return "no configuration";
      out.write(QString::fromUtf8(in.readAll()).replace("@ROOT@", r).toUtf8());
    }
    // -f keeps the daemon in the foreground: this process owns it and stops it.
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start(Tool("cupsd"), {"-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"});
    if (!QTest::qWaitFor([&] { return QFile::exists(socket_) || daemon_.state() == QProcess::NotRunning; }, 15000) ||
        !QFile::exists(socket_)) {
      return "cupsd did not start: " + daemon_.readAll().toStdString() + Log();
    }
    for (const QString& queue : queues) {
      if (Lp("lpadmin", "-p " + queue + " -E -v file:///dev/null -m raw").code != 0) return "no queue: " + Log();
    }
    setenv("CUPS_SERVER", socket_.toLocal8Bit().constData(), 1);
    return {};
  }

  ~PrivateCups() {
    unsetenv("CUPS_SERVER");
    daemon_.terminate();
    if (!daemon_.waitForFinished(10000)) daemon_.kill();
    daemon_.waitForFinished(5000);
  }

  // The jobs of a queue, done or not.
  int Jobs(const QString& queue) {
    return static_cast<int>(std::ranges::count(Lp("lpstat", "-W all -o " + queue).out, '\n'));
  }
  std::string Log() const {
    QFile file(root_.path() + "/log/error_log");
    return file.open(QIODevice::ReadOnly) ? file.readAll().right(3000).toStdString() : "(no log)";
  }

 private:
  static QString Tool(const QString& name) {
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
  }
  // Runs a client of the daemon to its end.
  testing::CliRun Lp(const QString& tool, const QString& arguments) {
    return testing::RunShell((Tool(tool) + " -h " + socket_ + " " + arguments).toStdString());
  }

  QTemporaryDir root_{QDir::tempPath() + "/kivrel-cups-XXXXXX"};
  QString socket_;
  QProcess daemon_;
};

// Printer... lists the server's printers with the paper of the one picked; the printer
// chosen there takes the print job: three copies, three jobs. (That the copies print the
// same letters is tested in tests/commands.)
TEST(CupsPrinting, ThePrinterChosenInPrinterSetUpTakesAJobForEachCopy) {
  PrivateCups cups;
  const std::string reason = cups.Start({"kivrel-test", "kivrel-other"});
  if (!reason.empty()) GTEST_SKIP() << "a private CUPS daemon cannot run here: " << reason;

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 11);
  testing::MakeSeaPuzzle(ctx);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName("kivrel-test");
  ASSERT_EQ(printer.printerName().toStdString(), "kivrel-test") << "Qt does not see the queue";
  QtDialogs dialogs(printer);
  QStringList listed;
  int papers = -1;
  // The user, once the dialog shows: picks the other printer and presses OK. A dialog
  // without its printer box is closed, failing the test.
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    user.stop();
    auto* choice = dialog->findChild<QComboBox*>("cboPrinter");
    if (!choice) return (void)dialog->close();
    for (int i = 0; i < choice->count(); ++i) listed << choice->itemData(i).toString();
    choice->setCurrentIndex(choice->findData("kivrel-other"));
    papers = dialog->findChild<QComboBox*>("cboPaper")->count();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  user.start(20);
  ASSERT_TRUE(dialogs.Printer(kPrintSetupFlag)) << "the dialog was not accepted";
  listed.sort();
  EXPECT_EQ(listed.join(",").toStdString(), "kivrel-other,kivrel-test");
  EXPECT_GE(papers, 1);
  EXPECT_EQ(printer.printerName().toStdString(), "kivrel-other");

  QtPrinterDevice device(printer);
  ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{3, {}});
  PrintPuzzle(ctx);  // an error message would fail the test here
  EXPECT_EQ(cups.Jobs("kivrel-other"), 3) << cups.Log();
}

// Qt's printer (here its own PDF printer): the page it prints is the page as laid out,
// a printer that cannot start a job is reported, and the print dialog asks no range.
TEST(QtPrinterDevice, PrintsThePageAsLaidOutReportsAPrinterThatCannotStartAndAsksNoRange) {
  testing::TestApp app;
  StartUp(app.ctx, 2);
  testing::MakeSeaPuzzle(app.ctx);
  testing::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(QString::fromStdString(dir.File("sea.pdf")));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the page's twips are the sheet's
  QtPrinterDevice device(printer);
  app.ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{1, {}});
  PrintPuzzle(app.ctx);
  const auto pages = testing::ReadPdfWords(dir.File("sea.pdf"));
  ASSERT_EQ(pages.size(), 1u);
  testing::ExpectPageMatchesLayout(app.ctx, pages[0]);

  printer.setOutputFileName(QString::fromStdString(dir.File("no-such-folder/copy.pdf")));
  app.dialogs.ExpectPrinter(PrintChoice{2, {}})
      .ExpectMessage(MessageAnswer::Ok,
                     std::string("Error while printing puzzle: the printer could not start the print job"));
  PrintPuzzle(app.ctx);
  EXPECT_TRUE(app.dialogs.Done());

  // A puzzle prints on one page, each copy a job of its own: the print dialog offers no
  // range of pages (Qt's dialog shows one whatever it is told) and no collating.
  QtDialogs dialogs(printer);
  bool looked = false;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    user.stop();
    for (const char* part : {"printAll", "printRange", "pagesRadioButton", "collate"}) {
      const QWidget* widget = dialog->findChild<QWidget*>(part);
      looked = looked || widget;
      EXPECT_FALSE(widget && widget->isVisibleTo(dialog)) << part;
    }
    dialog->reject();
  });
  user.start(20);
  EXPECT_FALSE(dialogs.Printer(kPrintDialogFlags));
  EXPECT_TRUE(looked) << "the dialog showed, with the parts this test knows";
}

using testing::PdfWord;

struct Size {
  int columns, rows, words;
};

const std::string kLongTitle =
    "The Great Big Autumn Term Word Search of Animals, Plants, Places and Things We Met in Class This Year";

// The page of ctx drawn by the page file device, as kivrel-cli draws it.
std::string PageFile(AppContext& ctx, PageFormat format) {
  QtPageFileDevice device;
  Surface* page = device.BeginDocument(format, "page", ctx.print.Paper);
  EXPECT_TRUE(page);
  if (page) DrawPaperPage(ctx, *page);
  return device.EndDocument();
}

// Boxes in points from the page's top-left corner.
QRectF InPoints(const Rect& r) { return QRectF(r.Left / 20.0, r.Top / 20.0, r.Width / 20.0, r.Height / 20.0); }
QRectF Of(const PdfWord& w) { return QRectF(QPointF(w.xMin, w.yMin), QPointF(w.xMax, w.yMax)); }
bool Inside(const QRectF& a, const QRectF& b, double slack) {
  return b.adjusted(-slack, -slack, slack, slack).contains(a);
}

// What pdftotext gives as a word's height in Liberation Sans Bold, per point of its size:
// the face's ascent and descent over its em.
constexpr double kListWordHeightPerPoint = (1854.0 + 434.0) / 2048.0;

bool Dark(QRgb p) { return qGray(p) < 128; }
bool Ink(QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }

// The smallest rectangle that holds every pixel that is not white.
QRect InkBounds(const QImage& image, bool (*ink)(QRgb) = Ink) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) bounds |= ink(image.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
  }
  return bounds;
}

// The ink of a page image as the layout put it: some in each shown block and none
// outside them (to two pixels), the grid's frame along the grid's bounds and a letter
// in every cell.
void ExpectImageAsLaidOut(const QImage& image, const AppContext& ctx, double twips_per_pixel) {
  auto px = [&](double twips) { return static_cast<int>(twips / twips_per_pixel); };
  auto box = [&](double left, double top, double width, double height) {
    return QRect(QPoint(px(left), px(top)), QPoint(px(left + width), px(top + height)));
  };
  auto ink = [](QRgb c) { return qGray(c) < 250; };
  QImage rest = image.convertToFormat(QImage::Format_RGB32);
  rest.setDevicePixelRatio(1);
  QPainter blank(&rest);
  for (const PageBlock* b : {&ctx.printed.Title, &ctx.printed.Instructions, &ctx.printed.Puzzle, &ctx.printed.SideList,
                             &ctx.printed.ColumnList}) {
    if (!b->Shown) continue;
    const QRect at = box(b->Bounds.Left, b->Bounds.Top, b->Bounds.Width, b->Bounds.Height);
    EXPECT_GT(testing::CountWhere(image, at, ink), 0)
        << "an empty block at " << b->Bounds.Left << ", " << b->Bounds.Top;
    blank.fillRect(at.adjusted(-2, -2, 2, 2), Qt::white);
  }
  blank.end();
  EXPECT_EQ(testing::CountWhere(rest, rest.rect(), ink), 0) << "ink outside the blocks";

  // The frame along the grid's bounds, to a pixel.
  const PageLayout& p = ctx.page;
  const QRect grid = box(p.PuzzleLeft, p.PuzzleTop, p.GridWidth, p.GridHeight);
  const QRect frame =
      InkBounds(image.copy(grid.adjusted(-4, -4, 4, 4)), Dark).translated(grid.topLeft() - QPoint(4, 4));
  for (int off : {frame.left() - grid.left(), frame.top() - grid.top(), frame.right() - grid.right(),
                  frame.bottom() - grid.bottom()}) {
    EXPECT_LE(std::abs(off), 1) << "the frame";
  }
  const double cell = static_cast<double>(p.GridWidth) / ctx.state.Grid.Width();
  for (int row = 1; row <= ctx.state.Grid.Height(); ++row) {
    for (int col = 1; col <= ctx.state.Grid.Width(); ++col) {
      const QRect at = box(p.PuzzleLeft + (col - 1) * cell, p.PuzzleTop + (row - 1) * cell, cell, cell);
      if (testing::CountWhere(image, at.adjusted(1, 1, -1, -1), ink) == 0) {
        ADD_FAILURE() << "no letter in row " << row << ", column " << col;
        return;
      }
    }
  }
}

// The same options on the preview and on the SVG and PNG page files: one layout, to the
// twip, and the images' ink where it says.
void ExpectPreviewAndImagesAsLaidOut(AppContext& ctx) {
  const PrintOptions options = ctx.print;
  QtImageSurface preview(options.Paper.Width, options.Paper.Height, 96);
  preview.MeasureAsPaper();
  Surface* const before = std::exchange(ctx.preview, &preview);
  DrawPreviewPage(ctx);
  ctx.preview = before;
  const PageLayout layout = ctx.page;
  const PagePrinted printed = ctx.printed;
  {
    SCOPED_TRACE("the preview");
    ExpectImageAsLaidOut(preview.Image(), ctx, 15);
  }
  for (PageFormat format : {PageFormat::Svg, PageFormat::Png}) {
    SCOPED_TRACE(format == PageFormat::Png ? "the PNG" : "the SVG");
    ctx.print = options;
    const std::string bytes = PageFile(ctx, format);
    EXPECT_EQ(ctx.page, layout);
    EXPECT_EQ(ctx.printed, printed);
    if (format == PageFormat::Png) {
      ExpectImageAsLaidOut(QImage::fromData(QByteArray::fromStdString(bytes), "PNG"), ctx, 1440 / 300.0);
    }
  }
  ctx.print = options;
}

TEST(RealPage, AMatrixOfPagesKeepsItsBlocksInsideTheMarginsAndItsListLegible) {
  const Size kSizes[] = {{5, 5, 3},     {5, 5, 5},    {10, 10, 25},  {15, 15, 25},  {15, 15, 60},
                         {20, 30, 50},  {20, 40, 50}, {15, 60, 50},  {30, 30, 100}, {40, 40, 200},
                         {60, 20, 100}, {99, 99, 3},  {99, 99, 200}, {99, 40, 150}, {40, 15, 150}};
  const PaperSize kPapers[] = {kA4Paper, kLetterPaper, kLegalPaper};
  testing::TempDir dir;
  const std::string pdf = dir.File("page.pdf");
  int lists_left_off = 0, filled_15 = 0;
  for (std::size_t i = 0; i < std::size(kSizes); ++i) {
    const Size& size = kSizes[i];
    for (int place = 0; place < 9; ++place) {
      // Every place of the grid for every size; the other options take turns.
      const int turn = static_cast<int>(i) + place;
      // The case's size built from the case's number of words (the first of a long list
      // that fit the grid), its blanks filled.
      testing::TestApp app;
      AppContext& ctx = app.ctx;
      StartUp(ctx, 1);
      std::ifstream bench(KIVREL_BENCH_DATA_DIR "/words-200.kvl");
      int entries = 0;
      for (std::string word; entries < size.words && std::getline(bench, word);) {
        if (!word.empty() && word.back() == '\r') word.pop_back();
        const int length = static_cast<int>(word.size());
        if (word.find('\t') != std::string::npos || (length > size.columns && length > size.rows)) continue;
        AddEntry(ctx, word);
        ++entries;
      }
      UpdateWordCount(ctx);
      ctx.state.PuzzleWidth = static_cast<i16>(size.columns);
      ctx.state.PuzzleHeight = static_cast<i16>(size.rows);
      ctx.state.PuzzleInstructions = "Find the words hidden in the grid.\nGood luck!";
      SetListReadyState(ctx);
      BuildPuzzle(ctx);
      FillInBlanks(ctx);
      testing::SetTitle(ctx, turn % 4 == 0 ? kLongTitle : "Two hundred words");
      ASSERT_GT(ctx.state.InsertedCount, 0);
      PrintOptions& o = ctx.print;
      o.PuzzleVertical = static_cast<VerticalPlace>(place / 3);
      o.PuzzleHorizontal = static_cast<Align>(place % 3);
      o.Left = turn % 2 == 0 ? 1 : 0;
      FollowPuzzlePlace(o);
      o.Paper = kPapers[(turn / 2) % 3];
      o.FillPage = (turn % 3 == 0 || size.columns == 15) && turn % 5 != 0 ? 1 : 0;
      o.OutlineWords = turn % 3 == 1 ? 1 : 0;
      SCOPED_TRACE(::testing::Message() << size.columns << " x " << size.rows << ", " << size.words << " words, place "
                                        << place << (o.Left ? ", Left" : "") << ", paper " << o.Paper.Height
                                        << (o.FillPage ? ", filling" : ""));
      if ((i * 9 + static_cast<std::size_t>(place)) % 19 == 4) ExpectPreviewAndImagesAsLaidOut(ctx);
      dir.Write("page.pdf", PageFile(ctx, PageFormat::Pdf));

      std::vector<std::pair<double, double>> sizes;
      const auto words = testing::ReadPdfWords(pdf, &sizes);
      ASSERT_EQ(words.size(), 1u);
      const std::pair<double, double> paper(std::round(o.Paper.Width / 20.0), std::round(o.Paper.Height / 20.0));
      EXPECT_EQ(std::make_pair(std::round(sizes[0].first), std::round(sizes[0].second)), paper);
      testing::ExpectPageMatchesLayout(ctx, words[0]);
      const PageLayout& p = ctx.page;
      const PagePrinted& printed = ctx.printed;
      const QRectF inside(QPointF(p.LeftMargin, p.TopMargin) / 20.0,
                          QPointF(paper.first - p.RightMargin / 20.0, paper.second - p.BottomMargin / 20.0));
      const QRectF grid = InPoints(printed.Puzzle.Bounds);
      for (const PdfWord& word : words[0]) {
        EXPECT_TRUE(Inside(Of(word), inside, 1)) << "\"" << word.text << "\" outside the margins";
        EXPECT_TRUE(Inside(Of(word), grid, 1) || !Of(word).intersects(grid)) << "\"" << word.text << "\" over the grid";
      }
      const PageBlock* blocks[] = {&printed.Title, &printed.Instructions, &printed.Puzzle, &printed.SideList,
                                   &printed.ColumnList};
      for (const PageBlock* a : blocks) {
        for (const PageBlock* b : blocks) {
          EXPECT_FALSE(a < b && a->Shown && b->Shown && InPoints(a->Bounds).intersects(InPoints(b->Bounds)))
              << "blocks overlap";
        }
      }

      // The list at a legible size; left off only where it would not fit even with the
      // grid as small as it may be made for it.
      if (!printed.ListFits) {
        ++lists_left_off;
        ctx.fonts(kPuzzleFont).Size = static_cast<i16>(kSmallestGridSize);
        ctx.print.FillPage = 0;
        PageFile(ctx, PageFormat::Pdf);
        EXPECT_FALSE(ctx.printed.ListFits) << "the list fits with the grid at its smallest";
        continue;
      }
      EXPECT_GE(printed.ListSize, kSmallestListSize);
      for (const PdfWord& word : words[0]) {
        if (printed.ColumnList.Shown && Inside(Of(word), InPoints(printed.ColumnList.Bounds), 0.5) &&
            word.text != "words") {
          EXPECT_GE(word.yMax - word.yMin, kSmallestListSize * kListWordHeightPerPoint - 0.1) << word.text;
        }
      }
      // Filling the page, a 15 x 15 grid spans most of it (but for the room of a list
      // beside it).
      if (size.columns == 15 && size.rows == 15 && o.FillPage && !printed.SideList.Shown) {
        ++filled_15;
        EXPECT_GE(p.GridWidth, 0.8 * p.PrintableWidth) << "the grid does not fill the page";
      }
    }
  }
  EXPECT_GT(filled_15, 10);
  EXPECT_LT(lists_left_off, 135 / 4) << "only where nothing else helps";
}

// The image surface in twips at screen resolution: what a drawing leaves on the image,
// the glyph cache against text drawn directly, and the image resized or moved to another
// pixel ratio, where a letter of the puzzle picture stands where it stood, twice the size.
void PrintAt(Surface& s, double x, double y, std::string_view text) {
  s.CurrentX = x;
  s.CurrentY = y;
  s.Print(text);
}

TEST(QtImageSurface, MeasuresInTwipsWithFontSizesInWholePixels) {
  QtImageSurface surface(3000, 1500);
  EXPECT_EQ(surface.Image().size(), QSize(200, 100));
  // Angles run counter-clockwise as seen: from 0 to pi over the top, back under it.
  for (auto [start, end, bounds] : {std::tuple{0.0, std::numbers::pi, QRect(60, 60, 80, 40)},
                                    std::tuple{std::numbers::pi, 0.0, QRect(60, 100, 81, 41)}}) {
    QtImageSurface round(3000, 3000);
    round.Arc(1500, 1500, 600, start, end);
    EXPECT_EQ(InkBounds(round.Image()), bounds) << start;
  }
  // 5 points are 6.67 pixels: the nearest whole pixel size, 7, is 5.25 points.
  for (auto [asked, size] : {std::pair{12.0, 12.0}, std::pair{8.25, 8.25}, std::pair{5.0, 5.25}}) {
    surface.SetFontSize(asked);
    EXPECT_DOUBLE_EQ(surface.FontSize(), size) << asked;
  }
  surface.SetFontName("Arial");
  surface.SetFontSize(12);
  surface.SetSmoothText(false);  // as the puzzle picture draws its letters
  const double width = surface.TextWidth("W"), height = surface.TextHeight("W");
  PrintAt(surface, 600, 600, "W");
  const QRect letter = InkBounds(surface.Image());
  surface.Cls();

  // Resized, the image keeps what was drawn and can be drawn on where it grew.
  surface.Line(0, 0, 1500, 0);
  surface.Resize(3000, 3000);
  EXPECT_EQ(testing::CountWhere(surface.Image(), QRect(0, 0, 200, 1), Dark), 100);
  surface.Line(0, 2985, 3000, 2985);
  EXPECT_EQ(testing::CountWhere(surface.Image(), QRect(0, 199, 200, 1), Dark), 200);
  // At another pixel ratio: twice the pixels, the same twips, the same text widths.
  surface.SetDevicePixelRatio(2);
  EXPECT_EQ(surface.Image().size(), QSize(400, 400));
  EXPECT_NEAR(surface.ScaleWidth(), 3000, 0.01);
  EXPECT_DOUBLE_EQ(surface.TextWidth("W"), width);
  EXPECT_DOUBLE_EQ(surface.TextHeight("W"), height);
  EXPECT_GT(testing::CountWhere(surface.Image(), QRect(0, 0, 200, 2), Dark), 150);
  // A letter (as the picture draws one in each cell) where it stood, twice the size.
  PrintAt(surface, 0, 0, "W");  // waits in the glyph cache: clearing takes it away
  surface.Cls();
  PrintAt(surface, 600, 600, "W");
  const QRect twice = InkBounds(surface.Image());
  EXPECT_LE((twice.topLeft() - letter.topLeft() * 2).manhattanLength(), 2) << letter.x() << "," << twice.x();
  EXPECT_LE((QPoint(twice.width(), twice.height()) - QPoint(letter.width(), letter.height()) * 2).manhattanLength(), 3);
  surface.Resize(3000, 1500);
  EXPECT_EQ(surface.Image().size(), QSize(400, 200)) << "resizing keeps the ratio";
}

TEST(QtImageSurface, LettersFromTheGlyphCacheAreThePixelsOfTheTextAtEveryPixelRatio) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789W";
  // Both ways of copying: by blending, and with masked stores where the processor has them.
  for (bool masked : {false, true}) {
    if (GlyphCache::UseMaskedStores(masked) != masked) continue;
    for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
      QtImageSurface cached(6000, 3000, 96, ratio);
      QtImageSurface drawn(6000, 3000, 96, ratio);
      drawn.SetGlyphCache(false);
      for (QtImageSurface* s : {&cached, &drawn}) {
        s->SetSmoothText(false);
        s->SetFontName("MS Sans Serif");
        s->SetFontBold(true);
        // Each letter again and again, at every fraction of a pixel, in every colour of
        // the picture (white takes some away again), lines drawn over some just after
        // them, and letters cut off by each edge of the image.
        for (double points : {12.0, 7.0}) {
          s->SetFontSize(points);
          for (int k = 0; k < 150; ++k) {
            const Rgb colours[] = {kBlack, kRed, kGrey, kBlack, kWhite};
            s->SetForeColor(colours[k % 5]);
            PrintAt(*s, (k % 25) * 233 + (points < 10 ? 41 : 7), (k / 25) * 251 + (points < 10 ? 1500 : 3),
                    letters.substr(static_cast<std::size_t>(k) % letters.size(), 1));
            if (k % 30 == 29) s->Line(0, s->CurrentY + 60, 6000, s->CurrentY + 90);
          }
          for (auto [x, y] : {std::pair{5950.0, 100.0}, {5990.0, 2950.0}, {-60.0, 700.0}, {300.0, -80.0}}) {
            PrintAt(*s, x, y, "W");
          }
        }
      }
      const QImage& image = drawn.Image();
      EXPECT_GT(testing::CountWhere(image, image.rect(), Ink), image.width() * image.height() * 3 / 100)
          << "letters were drawn";
      EXPECT_TRUE(cached.Image() == image) << "device pixel ratio " << ratio << (masked ? ", masked stores" : "");
    }
  }
  GlyphCache::UseMaskedStores(true);
}

}  // namespace
}  // namespace kivrel
