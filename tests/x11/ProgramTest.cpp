// The program itself, `kivrel FILE`, run as a process on a real X server: what it puts on
// the screen is read from the server (the window manager's windows, their titles, the
// active one), and it is answered with real keys. And File > Export Page... through Qt's
// own file dialog, its type list reached with real keys.
#include <QComboBox>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "CliRunner.h"
#include "RealDialogs.h"
#include "SaveWatch.h"
#include "commands/BuildCommands.h"
#include "files/PuzzleFile.h"

// Xlib last: its macros clash with Qt's and GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kivrel::testing {
namespace {

// The windows the window manager manages, by their titles.
class Screen {
 public:
  Screen() : display_(XOpenDisplay(nullptr)) {}
  ~Screen() { XCloseDisplay(display_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  /// The window of that title, or 0.
  ::Window Find(const std::string& title) {
    const std::string ids = Property(DefaultRootWindow(display_), "_NET_CLIENT_LIST", XA_WINDOW);
    for (std::size_t at = 0; at + sizeof(::Window) <= ids.size(); at += sizeof(::Window)) {
      ::Window id = 0;
      std::memcpy(&id, ids.data() + at, sizeof id);
      if (Property(id, "_NET_WM_NAME", XInternAtom(display_, "UTF8_STRING", False)) == title) return id;
    }
    return 0;
  }
  bool Active(::Window id) {
    const std::string active = Property(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return id && active.size() == sizeof id && std::memcmp(active.data(), &id, sizeof id) == 0;
  }
  ::Window Over(::Window id) {
    ::Window over = 0;
    XGetTransientForHint(display_, id, &over);
    return over;
  }

 private:
  // The bytes of a property as Xlib hands them over (32-bit items as longs).
  std::string Property(::Window of, const char* name, Atom type) {
    Atom got = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string bytes;
    if (XGetWindowProperty(display_, of, XInternAtom(display_, name, False), 0, 1024, False, type, &got, &format,
                           &count, &after, &data) == Success &&
        data) {
      bytes.assign(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : format / 8));
      XFree(data);
    }
    return bytes;
  }
  Display* display_;
};

// `kivrel FILE` started as a desktop starts it, signals as they come from outside.
struct Kivrel : QProcess {
  explicit Kivrel(const std::string& file) {
    setChildProcessModifier([] {
      for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
    });
    start(QStringLiteral(KIVREL_GUI_PATH), {QString::fromStdString(file)});
    EXPECT_TRUE(waitForStarted(kPatience));
  }
  ~Kivrel() override {
    kill();
    waitForFinished(kPatience);
  }
};

constexpr const char* kUntitled = "Kivrel Puzzle Maker - (untitled)";

// What comes up first for each kind of file, and the window that has the keys.
TEST(GivenFileProgram, EachKindOfFileOpensWithTheRightWindowActive) {
  TempDir dir;
  const struct {
    std::string file, main_title, active_title;
  } cases[] = {
      {dir.Write("birds.kvl", "HERON\r\nOWL\r\n"), kUntitled, "Word List"},
      // A puzzle built elsewhere from a list with a note alone holds a blank record for
      // it, marked placed: it opens all the same.
      {KIVREL_TEST_DATA_DIR "/note-record.kvp", "Kivrel Puzzle Maker - Zoo Trip", "Word List"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Kivrel kivrel(c.file);
    Screen screen;
    EXPECT_TRUE(WaitFor([&] { return screen.Find(c.main_title) && screen.Active(screen.Find(c.active_title)); }));
    EXPECT_EQ(screen.Find("Kivrel Error"), 0u);
  }
}

TEST(GivenFileProgram, AFileOfNeitherKindIsRefusedOverTheMainWindowAndEnterLeavesTheProgramOpen) {
  TempDir dir;
  Kivrel kivrel(dir.Write("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 14)));
  Screen screen;
  ASSERT_TRUE(WaitFor([&] { return screen.Active(screen.Find("Kivrel Error")); })) << "no error box has the keys";
  const ::Window main = screen.Find(kUntitled);
  ASSERT_NE(main, 0u) << "the box came up without the main window";
  EXPECT_EQ(screen.Over(screen.Find("Kivrel Error")), main) << "the box does not stand over the main window";
  XInput().Key(XK_Return);
  EXPECT_TRUE(WaitFor([&] { return !screen.Find("Kivrel Error") && screen.Active(main); })) << "Enter left the box open";
  EXPECT_EQ(kivrel.state(), QProcess::Running) << "the program ended";
}

// Ctrl-C, a closed terminal or the desktop ending the session in the middle of Save
// Puzzle: the save's temporary file goes with the program, and the file stays as it was.
TEST(GivenFileProgram, ASignalDuringASaveLeavesNoTemporaryAndTheFileAsItWas) {
  TempDir dir;
  // A 99 x 99 puzzle of 400 words with long notes: a save of some hundred kilobytes.
  const std::string puzzle = dir.File("big.kvp");
  const std::string list = dir.Write("big.kvl", "1\tBig\t 99\t 99\t 1\t 1\t\r\n" + LargeWordList(500));
  ASSERT_EQ(RunShell(std::string(KIVREL_CLI_PATH) + " build " + list + " --seed 1 -o " + puzzle + " >/dev/null 2>&1").code,
            0);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    Kivrel kivrel(puzzle);
    Screen screen;
    XInput input;
    ASSERT_TRUE(WaitFor([&] { return screen.Active(screen.Find("Word List")); })) << "no word list window";
    // Escape closes the word list window and the main window has the keys. (The window
    // manager may call a window active a moment before the program has the keys there.)
    const auto main_active = [&] { return screen.Active(screen.Find("Kivrel Puzzle Maker - Big")); };
    for (int tries = 0; tries < 5 && !main_active(); ++tries) {
      input.Key(XK_Escape);
      WaitFor(main_active, kPatience / 5);
    }
    ASSERT_TRUE(main_active());

    SaveWatch watch(dir.Folder());
    const auto pid = static_cast<pid_t>(kivrel.processId());
    std::string before;
    bool caught = false;
    for (int attempt = 0; attempt < 30 && !caught; ++attempt) {
      before = TempDir::Read(puzzle);
      input.Key(XK_s, {XK_Alt_L});  // Save Puzzle, to the file it came from
      caught = watch.StopInSave(pid, kPatience);
    }
    ASSERT_TRUE(caught) << "no save was caught for signal " << signal;
    ::kill(pid, signal);
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(kivrel.waitForFinished(kPatience)) << signal;
    EXPECT_EQ(kivrel.exitStatus(), QProcess::CrashExit) << signal;
    EXPECT_EQ(watch.Temporaries(), std::vector<std::string>{}) << signal;
    EXPECT_EQ(TempDir::Read(puzzle), before) << signal;
  }
}

TEST(ExportPageDesktop, KeysThroughTheRealDialogWriteTheSamePageAsKivrelCli) {
  TempDir dir;
  RealProgram program;
  AppContext& ctx = program.ctx();
  OpenList(ctx, KIVREL_EXAMPLES_DIR "/animals.kvl");
  ctx.state.WordListFileName = dir.File("animals.kvl");  // the dialog opens in its folder
  BuildPuzzle(ctx);
  ASSERT_TRUE(Ready(program.window()));

  XInput input;
  BoxAnswers boxes(input);
  // The type list is reached with Tab from the name box; PNG is the next type after PDF.
  // Then the answer key box by its access key, and the name typed and entered.
  boxes.ThenDo([&](QDialog* dialog) {
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* name = dialog->findChild<QWidget*>(QStringLiteral("fileNameEdit"));
    const auto tab_to = [&](QWidget* target) {
      for (int i = 0; i < 20 && target && QApplication::focusWidget() != target; ++i) input.Key(XK_Tab);
      return target && QApplication::focusWidget() == target;
    };
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == name; }));
    if (!tab_to(types)) return dialog->reject();
    input.Key(XK_Down);
    input.Key(XK_a, {XK_Alt_L});
    tab_to(name);
    input.Key(XK_a, {XK_Control_L});
    input.Type("page\r");
    // An Enter while the name box offers names that start alike closes that offer only.
    if (dialog->isVisible()) input.Key(XK_Return);
  });
  input.Key(XK_f, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
  input.Key(XK_e);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Export Page"});
  ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(QString::fromStdString(dir.File("page-key.png"))); }))
      << "the page and its answer key were not written (did Tab reach the type list?)";

  // The same puzzle, its fill letters as exported, through the command-line program.
  const std::string puzzle = dir.Write("zoo.kvp", *EncodePuzzleFile(PuzzleFileFromState(ctx.state)));
  CliRun run = RunCli("print " + puzzle + " --answer-key --png " + dir.File("cli.png"), true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_TRUE(TempDir::Read(dir.File("page.png")) == TempDir::Read(dir.File("cli.png")));
  EXPECT_TRUE(TempDir::Read(dir.File("page-key.png")) == TempDir::Read(dir.File("cli-key.png")));
}

}  // namespace
}  // namespace kivrel::testing
