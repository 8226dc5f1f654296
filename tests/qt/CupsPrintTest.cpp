// Printing to a real print server: a CUPS daemon of the test's own (its configuration,
// spool and logs in a temporary folder, reached only through a socket file there) with
// two raw queues that print to /dev/null and keep each job's document in the spool. The
// printer is chosen in Printer... and the puzzle printed in three copies through the
// print command and Qt's printer, as the window prints.
//
// libcups keeps the first server it reached for the whole process, so this test needs
// a process of its own, as ctest runs it.
//
// The daemon runs nothing of ours: Debian confines /usr/sbin/cupsd with AppArmor, which
// would refuse to run a backend kept in a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/PrintCommands.h"
#include "program/StartUp.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"

namespace kivrel {
namespace {

// Polls until the condition holds or `ms` milliseconds have passed; whether it holds.
bool Until(const std::function<bool()>& condition, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > ms) return false;
    QThread::msleep(50);
  }
  return true;
}

class PrivateCups {
 public:
  // Starts the daemon with the queues and points libcups at it; "" or why the daemon
  // cannot run here.
  std::string Start(const QStringList& queues) {
    const QString cupsd = Tool("cupsd");
    if (cupsd.isEmpty() || Tool("lpadmin").isEmpty()) return "cupsd or lpadmin is missing";
    const QString r = root_.path();
    // When the daemon runs as root its helpers run as "lp", which must reach the folder.
    QFile::setPermissions(
        r, QFile::permissions(r) | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
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
    daemon_.start(cupsd, {"-f", "-c", r + "/cupsd.conf", "-s", r + "/cups-files.conf"});
    if (!Until([&] { return QFile::exists(socket_) || daemon_.state() == QProcess::NotRunning; }, 15000) ||
        !QFile::exists(socket_)) {
      return "cupsd did not start: " + daemon_.readAll().toStdString() + Log();
    }
    for (const QString& queue : queues) {
      if (!Lp("lpadmin", {"-p", queue, "-E", "-v", "file:///dev/null", "-m", "raw"})) return "no queue: " + Log();
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

  // The jobs of a queue, or with "" those not completed yet.
  int Jobs(const QString& queue) {
    QString out;
    Lp("lpstat", queue.isEmpty() ? QStringList{"-W", "not-completed", "-o"} : QStringList{"-W", "all", "-o", queue},
       &out);
    return static_cast<int>(out.split('\n', Qt::SkipEmptyParts).size());
  }
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
  // Runs a client of the daemon to its end; whether it succeeded, its output in *out.
  bool Lp(const QString& tool, const QStringList& arguments, QString* out = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(Tool(tool), QStringList{"-h", socket_} + arguments);
    const bool ok =
        process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (out) *out = QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
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
  EXPECT_EQ(printer.printerName().toStdString(), "kivrel-other");

  QtPrinterDevice device(printer);
  ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{3, {}});
  PrintPuzzle(ctx);  // an error message would fail the test here
  EXPECT_EQ(ctx.state.BlanksFilled, kTrue);
  EXPECT_TRUE(Until([&] { return cups.Jobs("") == 0; }, 60000)) << cups.Log();
  EXPECT_EQ(cups.Jobs("kivrel-other"), 3) << cups.Log();
  EXPECT_EQ(cups.Jobs("kivrel-test"), 0);

  const QStringList jobs = cups.Documents();
  ASSERT_EQ(jobs.size(), 3) << cups.Log();
  std::vector<std::string> texts;
  for (const QString& job : jobs) {
    const auto pages = testing::ReadPdfWords(job.toStdString());
    ASSERT_EQ(pages.size(), 1u) << job.toStdString();
    std::string text;
    for (const auto& word : pages[0]) text += word.text + "@" + std::to_string(word.xMin) + " ";
    texts.push_back(text);
  }
  EXPECT_NE(texts[0].find("Creatures@"), std::string::npos) << texts[0];
  EXPECT_EQ(texts[1], texts[0]);
  EXPECT_EQ(texts[2], texts[0]);
}

}  // namespace
}  // namespace kivrel
