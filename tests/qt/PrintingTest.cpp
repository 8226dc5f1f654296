// Printing through Qt: its printer (its own PDF printer) and print dialog, and a real
// print server: a CUPS daemon of the test's own (its configuration, spool and logs in a
// temporary folder, reached only through a socket file there) with two raw queues that
// print to /dev/null and keep each job's document in the spool.
//
// libcups keeps the first server it reached for the whole process, so the CUPS test
// needs a process of its own, as ctest runs it. The daemon runs nothing of ours: Debian
// confines /usr/sbin/cupsd with AppArmor, which would refuse a backend kept in a
// temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QPrintDialog>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <set>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/PrintCommands.h"
#include "program/StartUp.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"

namespace kivrel {
namespace {

class PrivateCups {
 public:
  // Starts the daemon with the queues and points libcups at it; "" or why it cannot.
  std::string Start(const QStringList& queues) {
    if (Tool("cupsd").isEmpty() || Tool("lpadmin").isEmpty()) return "cupsd or lpadmin is missing";
    const QString r = root_.path();
    // When the daemon runs as root its helpers run as "lp", which must reach the folder.
    QFile::setPermissions(r, QFile::permissions(r) | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                 QFile::ExeGroup);
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
      if (Lp("lpadmin", {"-p", queue, "-E", "-v", "file:///dev/null", "-m", "raw"}).isNull()) return "no queue: " + Log();
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
  int Jobs(const QString& queue) { return static_cast<int>(Lp("lpstat", {"-W", "all", "-o", queue}).count('\n')); }
  // The documents the jobs brought, in job order.
  QStringList Documents() const {
    QDir spool(root_.path() + "/spool");
    QStringList names = spool.entryList({"d*-001"}, QDir::Files, QDir::Name);
    for (QString& name : names) name = spool.filePath(name);
    return names;
  }
  std::string Log() const {
    QFile file(root_.path() + "/log/error_log");
    return file.open(QIODevice::ReadOnly) ? file.readAll().right(3000).toStdString() : "(no log)";
  }

 private:
  static QString Tool(const QString& name) {
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
  }
  // Runs a client of the daemon to its end: its output with a line break after it, or
  // a null string when it failed.
  QString Lp(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(Tool(tool), QStringList{"-h", socket_} + arguments);
    const bool ok =
        process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const QString out = QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok ? (out.isEmpty() ? QString("") : out + "\n") : QString();
  }

  QTemporaryDir root_{QDir::tempPath() + "/kivrel-cups-XXXXXX"};
  QString socket_;
  QProcess daemon_;
};

// Printer... lists the server's printers with the paper of the one picked; the printer
// chosen there takes the print job: three copies, three one-page jobs with the same
// letters in the same places.
TEST(CupsPrinting, ThePrinterChosenInPrinterSetUpTakesThreeOnePageJobsWithTheSameLetters) {
  PrivateCups cups;
  const std::string reason = cups.Start({"kivrel-test", "kivrel-other"});
  if (!reason.empty()) GTEST_SKIP() << "a private CUPS daemon cannot run here: " << reason;

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 11);
  testing::MakeSeaPuzzle(ctx);
  FillInBlanks(ctx);  // takes the fill letters away: the first copy fills the blanks again
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

  // The same letters in the same places in each job.
  const QStringList jobs = cups.Documents();
  ASSERT_EQ(jobs.size(), 3) << cups.Log();
  std::set<std::string> texts;
  for (const QString& job : jobs) {
    const auto pages = testing::ReadPdfWords(job.toStdString());
    ASSERT_EQ(pages.size(), 1u) << job.toStdString();
    std::string text;
    for (const auto& word : pages[0]) text += word.text + "@" + std::to_string(word.xMin) + " ";
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), 1u);
  EXPECT_NE(texts.begin()->find("Creatures@"), std::string::npos) << *texts.begin();
}

// Qt's printer (here its own PDF printer): the page it prints is the page as laid out,
// and a printer that cannot start a job is reported, the program left as it was.
TEST(QtPrinterDevice, PrintsThePageAsLaidOutOrReportsAPrinterThatCannotStart) {
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
  EXPECT_EQ(app.ctx.state.PrintingInProgress, kFalse);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

// A puzzle prints on one page, each copy a job of its own: the print dialog offers no
// range of pages (Qt's dialog shows one whatever it is told) and no collating.
TEST(QtPrinterDevice, ThePrintDialogOffersNoPageRange) {
  QPrinter printer(QPrinter::HighResolution);
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

}  // namespace
}  // namespace kivrel
