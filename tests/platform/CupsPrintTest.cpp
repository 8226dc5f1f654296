// Printing to a real print server: a private CUPS daemon of the test's own (its own
// configuration, spool and log folders, reached through a socket file of its own) with
// one raw queue that prints to /dev/null and keeps each job's document in its spool.
// The puzzle is printed with three copies through the program's print command, the
// scripted print dialog and Qt's printer, exactly as the window prints.
//
// The daemon runs nothing of ours: its backend and filters are the installed ones
// (Debian confines /usr/sbin/cupsd with AppArmor, which would refuse to run a backend
// from a temporary folder).
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "build/FillInBlanks.h"
#include "model/StartUp.h"
#include "platform/qt/QtPrinterDevice.h"
#include "print/Printing.h"

namespace kivrel {
namespace {

constexpr const char* kQueue = "kivrel-test";

QString FindProgram(const QString& name) {
  QString found = QStandardPaths::findExecutable(name);
  if (found.isEmpty()) found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin"});
  return found;
}

bool WriteFile(const QString& path, const QByteArray& content, QFile::Permissions permissions) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) return false;
  file.close();
  return file.setPermissions(permissions);
}

QString Tail(const QString& path, int lines = 15) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "(no log)";
  QStringList all = QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
  return all.mid(std::max<qsizetype>(0, all.size() - lines)).join('\n');
}

// A CUPS daemon in a folder of its own, stopped when the object goes.
class PrivateCups {
 public:
  // Starts the daemon and adds the queue; returns "" or the reason it cannot run.
  QString Start() {
    cupsd_path_ = FindProgram("cupsd");
    lpadmin_ = FindProgram("lpadmin");
    if (cupsd_path_.isEmpty() || lpadmin_.isEmpty()) {
      return "cupsd or lpadmin is not installed (Debian packages cups-daemon and cups-client)";
    }
    if (!root_.isValid()) return "no temporary folder";
    const QString r = root_.path();
    // The daemon's helpers (which run as the user "lp" when the daemon runs as root)
    // must be able to reach the folder.
    QFile::setPermissions(r, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                 QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char* sub : {"spool/tmp", "cache", "state", "log", "bin"}) QDir(r).mkpath(sub);
    // Backends, filters and helpers are the installed ones.
    for (const char* sub : {"backend", "filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"}) {
      QFile::link("/usr/lib/cups/" + QString(sub), r + "/bin/" + sub);
    }
    socket_ = r + "/cups.sock";
    const QByteArray cupsd_conf = QStringLiteral(
        "Listen %1\n"
        "LogLevel debug\n"
        "PreserveJobFiles Yes\n"
        "Browsing No\n"
        "WebInterface No\n"
        "DefaultAuthType None\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n").arg(socket_).toUtf8();
    const QByteArray files_conf = QStringLiteral(
        "ServerRoot %1\n"
        "RequestRoot %1/spool\n"
        "TempDir %1/spool/tmp\n"
        "CacheDir %1/cache\n"
        "StateDir %1/state\n"
        "ServerBin %1/bin\n"
        "DataDir /usr/share/cups\n"
        "AccessLog %1/log/access_log\n"
        "ErrorLog %1/log/error_log\n"
        "PageLog %1/log/page_log\n"
        "Printcap %1/printcap\n"
        "FileDevice Yes\n").arg(r).toUtf8();
    const auto config = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (!WriteFile(r + "/cupsd.conf", cupsd_conf, config) || !WriteFile(r + "/cups-files.conf", files_conf, config)) {
      return "cannot write the daemon's configuration";
    }

    // -f: stay in the foreground, so this process owns the daemon and can stop it.
    daemon_.setProgram(cupsd_path_);
    daemon_.setArguments({"-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"});
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start();
    if (!daemon_.waitForStarted(5000)) return "cupsd could not be started: " + daemon_.errorString();
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(socket_)) {
      if (daemon_.state() == QProcess::NotRunning) {
        return "cupsd stopped at once (exit code " + QString::number(daemon_.exitCode()) + "): " +
               QString::fromLocal8Bit(daemon_.readAll()).trimmed() + "\n" + Tail(r + "/log/error_log");
      }
      if (clock.elapsed() > 15000) return "cupsd did not open its socket within 15 s:\n" + Tail(r + "/log/error_log");
      QThread::msleep(50);
    }
    QString output;
    if (!Run(lpadmin_, {"-h", socket_, "-p", kQueue, "-E", "-v", "file:///dev/null", "-m", "raw"}, &output)) {
      return "lpadmin could not add the queue: " + output + "\n" + Tail(r + "/log/error_log");
    }
    return {};
  }

  ~PrivateCups() {
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.terminate();
      if (!daemon_.waitForFinished(10000)) {
        daemon_.kill();
        daemon_.waitForFinished(5000);
      }
    }
  }

  const QString& Socket() const { return socket_; }
  // The spooled documents of the jobs, in job order.
  QStringList Documents() const {
    QDir spool(root_.path() + "/spool");
    QStringList names = spool.entryList({"d*-001"}, QDir::Files, QDir::Name);
    for (QString& name : names) name = spool.filePath(name);
    return names;
  }
  // Jobs the daemon has not finished.
  int PendingJobs() {
    QString output;
    Run(FindProgram("lpstat"), {"-h", socket_, "-W", "not-completed", "-o"}, &output);
    return static_cast<int>(output.split('\n', Qt::SkipEmptyParts).size());
  }
  QString ErrorLog() const { return Tail(root_.path() + "/log/error_log", 30); }

 private:
  static bool Run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    bool ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
  }

  QTemporaryDir root_{QDir::tempPath() + "/kivrel-cups-XXXXXX"};
  QString cupsd_path_, lpadmin_, socket_;
  QProcess daemon_;
};

TEST(CupsPrinting, ThreeCopiesArriveAsThreeOnePageJobsWithTheSameLetters) {
  PrivateCups cups;
  const QString reason = cups.Start();
  if (!reason.isEmpty()) GTEST_SKIP() << "a private CUPS daemon cannot run here: " << reason.toStdString();
  // Qt's printing reaches CUPS through libcups, which takes its server from here.
  setenv("CUPS_SERVER", cups.Socket().toLocal8Bit().constData(), 1);

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 11);
  testing::MakeSeaPuzzle(ctx);
  FillInBlanks(ctx);  // takes the fill letters away: the first copy fills the blanks again
  ASSERT_EQ(ctx.state.BlanksFilled, kFalse);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(kQueue);
  ASSERT_EQ(printer.printerName(), kQueue) << "Qt does not see the queue on " << cups.Socket().toStdString();
  printer.setPageSize(QPageSize(QPageSize::Letter));
  QtPrinterDevice device(printer);
  ctx.printer = &device;

  app.dialogs.ExpectPrinter(PrintChoice{3});
  cmdPrint_Click(ctx);  // an unexpected error message would fail the test here
  ASSERT_TRUE(app.dialogs.Done());
  EXPECT_EQ(ctx.state.BlanksFilled, kTrue);

  QElapsedTimer clock;
  clock.start();
  while (cups.PendingJobs() > 0 && clock.elapsed() < 60000) QThread::msleep(100);
  EXPECT_EQ(cups.PendingJobs(), 0) << cups.ErrorLog().toStdString();
  const QStringList jobs = cups.Documents();
  ASSERT_EQ(jobs.size(), 3) << "jobs that arrived: " << jobs.join(", ").toStdString() << "\n"
                            << cups.ErrorLog().toStdString();

  std::vector<std::vector<testing::PdfWord>> first;
  for (const QString& job : jobs) {
    auto pages = testing::ReadPdfWords(job.toStdString());
    ASSERT_EQ(pages.size(), 1u) << job.toStdString();
    std::string letters;
    for (const auto& word : pages[0]) letters += word.text + " ";
    EXPECT_NE(letters.find("Sea Creatures"), std::string::npos) << letters;
    EXPECT_NE(letters.find("OCTOPUS"), std::string::npos) << letters;
    if (first.empty()) {
      first = pages;
      continue;
    }
    ASSERT_EQ(pages[0].size(), first[0].size());
    for (std::size_t i = 0; i < pages[0].size(); ++i) {
      EXPECT_EQ(pages[0][i].text, first[0][i].text);
      EXPECT_DOUBLE_EQ(pages[0][i].xMin, first[0][i].xMin);
      EXPECT_DOUBLE_EQ(pages[0][i].yMin, first[0][i].yMin);
    }
  }
  unsetenv("CUPS_SERVER");
}

}  // namespace
}  // namespace kivrel
