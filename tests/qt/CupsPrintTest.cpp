// Printing to a real print server: a CUPS daemon of the test's own (its configuration,
// spool and logs in a temporary folder, reached only through a socket file there) with
// a raw queue that prints to /dev/null and keeps each job's document in its spool. The
// puzzle is printed in three copies through the print command, the scripted print
// dialog and Qt's printer, as the window prints.
//
// libcups keeps the first server it reached for the whole process, so each test here
// needs a process of its own, as ctest runs them.
//
// The daemon runs nothing of ours: Debian confines /usr/sbin/cupsd with AppArmor, which
// would refuse to run a backend kept in a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/PrintCommands.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

constexpr const char* kQueue = "kivrel-test";

QString Program(const QString& name) {
  QString found = QStandardPaths::findExecutable(name);
  return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin"}) : found;
}

// Runs a program to its end; its output in *output. True when it succeeded.
bool Run(const QString& program, const QStringList& arguments, QString* output) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  bool ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  *output = QString::fromLocal8Bit(process.readAll()).trimmed();
  return ok;
}

class PrivateCups {
 public:
  // Starts the daemon and adds the queue; returns "" or why the daemon cannot run here.
  QString Start() {
    const QString cupsd = Program("cupsd"), lpadmin = Program("lpadmin");
    if (cupsd.isEmpty() || lpadmin.isEmpty()) return "cupsd or lpadmin is missing (cups-daemon, cups-client)";
    const QString r = root_.path();
    // When the daemon runs as root its helpers run as "lp", which must reach the folder.
    QFile::setPermissions(r, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                 QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char* sub : {"spool/tmp", "cache", "state", "log", "bin"}) QDir(r).mkpath(sub);
    for (const char* sub : {"backend", "filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"}) {
      QFile::link(QStringLiteral("/usr/lib/cups/") + sub, r + "/bin/" + sub);  // the installed helpers
    }
    socket_ = r + "/cups.sock";
    Write(r + "/cupsd.conf", "Listen " + socket_ +
                                 "\nLogLevel debug\nPreserveJobFiles Yes\nBrowsing No\nWebInterface No\n"
                                 "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    Write(r + "/cups-files.conf", QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                                 "CacheDir %1/cache\nStateDir %1/state\nServerBin %1/bin\n"
                                                 "DataDir /usr/share/cups\nAccessLog %1/log/access_log\n"
                                                 "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                                 "Printcap %1/printcap\nFileDevice Yes\n")
                                      .arg(r));
    // -f keeps the daemon in the foreground: this process owns it and stops it.
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start(cupsd, {"-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"});
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(socket_)) {
      if (daemon_.state() == QProcess::NotRunning || clock.elapsed() > 15000) {
        return "cupsd did not start (" + daemon_.errorString() +
               "): " + QString::fromLocal8Bit(daemon_.readAll()).trimmed() + "\n" + Log();
      }
      QThread::msleep(50);
    }
    return AddQueue(kQueue);
  }

  // Adds a raw queue that prints to /dev/null; returns "" or why it could not.
  QString AddQueue(const QString& name) {
    QString output;
    if (!Run(Program("lpadmin"), {"-h", socket_, "-p", name, "-E", "-v", "file:///dev/null", "-m", "raw"}, &output)) {
      return "lpadmin could not add the queue: " + output + "\n" + Log();
    }
    return {};
  }

  ~PrivateCups() {
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(10000)) daemon_.kill();
    daemon_.waitForFinished(5000);
  }

  const QString& Socket() const { return socket_; }
  // Waits (a minute at most) until every job has gone through.
  void WaitForJobs() const {
    QElapsedTimer clock;
    clock.start();
    while (PendingJobs() > 0 && clock.elapsed() < 60000) QThread::msleep(100);
  }
  // The jobs a queue took, done or not.
  int Jobs(const QString& queue) const {
    QString output;
    Run(Program("lpstat"), {"-h", socket_, "-W", "all", "-o", queue}, &output);
    return static_cast<int>(output.split('\n', Qt::SkipEmptyParts).size());
  }
  int PendingJobs() const {
    QString output;
    Run(Program("lpstat"), {"-h", socket_, "-W", "not-completed", "-o"}, &output);
    return static_cast<int>(output.split('\n', Qt::SkipEmptyParts).size());
  }
  // The documents the jobs brought, in job order.
  QStringList Documents() const {
    QDir spool(root_.path() + "/spool");
    QStringList names = spool.entryList({"d*-001"}, QDir::Files, QDir::Name);
    for (QString& name : names) name = spool.filePath(name);
    return names;
  }
  QString Log() const {
    QFile file(root_.path() + "/log/error_log");
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(3000)) : "(no log)";
  }

 private:
  static void Write(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
  }

  QTemporaryDir root_{QDir::tempPath() + "/kivrel-cups-XXXXXX"};
  QString socket_;
  QProcess daemon_;
};

TEST(CupsPrinting, ThreeCopiesArriveAsThreeOnePageJobsWithTheSameLetters) {
  PrivateCups cups;
  const QString reason = cups.Start();
  if (!reason.isEmpty()) GTEST_SKIP() << "a private CUPS daemon cannot run here: " << reason.toStdString();
  // Qt prints through libcups, which finds its server here.
  setenv("CUPS_SERVER", cups.Socket().toLocal8Bit().constData(), 1);

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 11);
  testing::MakeSeaPuzzle(ctx);
  FillInBlanks(ctx);  // takes the fill letters away: the first copy fills the blanks again
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(kQueue);
  ASSERT_EQ(printer.printerName(), kQueue) << "Qt does not see the queue";
  QtPrinterDevice device(printer);
  ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{3, {}});
  PrintPuzzle(ctx);  // an error message would fail the test here
  EXPECT_EQ(ctx.state.BlanksFilled, kTrue);

  cups.WaitForJobs();
  const QStringList jobs = cups.Documents();
  ASSERT_EQ(jobs.size(), 3) << cups.Log().toStdString();
  std::vector<std::string> texts;
  for (const QString& job : jobs) {
    auto pages = testing::ReadPdfWords(job.toStdString());
    ASSERT_EQ(pages.size(), 1u) << job.toStdString();
    std::string text;
    for (const auto& word : pages[0]) text += word.text + "@" + std::to_string(word.xMin) + " ";
    texts.push_back(text);
  }
  EXPECT_NE(texts[0].find("Creatures@"), std::string::npos) << texts[0];
  EXPECT_EQ(texts[1], texts[0]);
  EXPECT_EQ(texts[2], texts[0]);
  EXPECT_EQ(cups.PendingJobs(), 0) << cups.Log().toStdString();
  unsetenv("CUPS_SERVER");
}

// Printer... lists the server's printers with the paper of the one picked; the printer
// chosen there is the one Print prints to.
TEST(CupsPrinting, ThePrinterChosenInPrinterSetUpTakesThePrintJob) {
  PrivateCups cups;
  QString reason = cups.Start();
  if (reason.isEmpty()) reason = cups.AddQueue("kivrel-other");
  if (!reason.isEmpty()) GTEST_SKIP() << "a private CUPS daemon cannot run here: " << reason.toStdString();
  setenv("CUPS_SERVER", cups.Socket().toLocal8Bit().constData(), 1);

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 11);
  testing::MakeSeaPuzzle(ctx);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(kQueue);
  QtDialogs dialogs(printer);
  QStringList listed;
  int papers = -1;
  // The user, once the dialog shows: picks the other printer and presses OK. A dialog
  // that never shows its printer box is cancelled after ten seconds, failing the test.
  QTimer user;
  QElapsedTimer waited;
  waited.start();
  QObject::connect(&user, &QTimer::timeout, [&] {
    for (QWidget* dialog : QApplication::topLevelWidgets()) {
      auto* choice = dialog->isVisible() ? dialog->findChild<QComboBox*>("cboPrinter") : nullptr;
      if (!choice) continue;
      user.stop();
      for (int i = 0; i < choice->count(); ++i) listed << choice->itemData(i).toString();
      choice->setCurrentIndex(choice->findData("kivrel-other"));
      if (auto* paper = dialog->findChild<QComboBox*>("cboPaper")) papers = paper->count();
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      return;
    }
    if (waited.elapsed() > 10000 && QApplication::activeModalWidget()) {
      user.stop();
      QApplication::activeModalWidget()->close();
    }
  });
  user.start(20);
  ASSERT_TRUE(dialogs.Printer(kPrintSetupFlag)) << "the dialog was not accepted";
  listed.sort();
  EXPECT_EQ(listed.join(",").toStdString(), "kivrel-other,kivrel-test");
  EXPECT_GE(papers, 1);
  EXPECT_EQ(printer.printerName(), "kivrel-other");

  QtPrinterDevice device(printer);
  ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{1, {}});
  PrintPuzzle(ctx);
  cups.WaitForJobs();
  EXPECT_EQ(cups.Jobs("kivrel-other"), 1) << cups.Log().toStdString();
  EXPECT_EQ(cups.Jobs(kQueue), 0);
  unsetenv("CUPS_SERVER");
}

}  // namespace
}  // namespace kivrel
