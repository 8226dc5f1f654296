// The installed program itself, `kivrel FILE`, on a real X server: what it puts on the
// screen is read from the server (the window manager's list of windows and their
// titles), and it is answered with real keys.
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "SaveWatch.h"
#include "TempDir.h"
#include "XInput.h"

// Xlib last: its macros clash with Qt's and GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kivrel::testing {
namespace {

struct TopWindow {
  Window id;
  std::string title;
  Window over;  // the window it is a dialog of (its transient-for), or 0
};

// The windows the window manager manages, from its client list.
class Screen {
 public:
  Screen() : display_(XOpenDisplay(nullptr)) {}
  ~Screen() {
    if (display_) XCloseDisplay(display_);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  std::vector<TopWindow> Windows() {
    std::vector<TopWindow> windows;
    if (!display_) return windows;
    for (Window id : WindowProperty(DefaultRootWindow(display_), "_NET_CLIENT_LIST")) {
      Window over = 0;
      XGetTransientForHint(display_, id, &over);
      windows.push_back({id, Title(id), over});
    }
    return windows;
  }
  Window Active() {
    std::vector<Window> active = WindowProperty(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
  }
  const TopWindow* Find(const std::string& title) {
    found_ = Windows();
    for (const TopWindow& window : found_) {
      if (window.title == title) return &window;
    }
    return nullptr;
  }

 private:
  std::vector<Window> WindowProperty(Window of, const char* name) {
    std::vector<Window> ids;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, of, XInternAtom(display_, name, False), 0, 1024, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
      auto* values = reinterpret_cast<unsigned long*>(data);
      ids.assign(values, values + count);
      XFree(data);
    }
    return ids;
  }
  std::string Title(Window id) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display_, id, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display_, "UTF8_STRING", False), &type, &format, &count, &after,
                           &data) == Success &&
        data) {
      title.assign(reinterpret_cast<char*>(data), count);
      XFree(data);
    }
    return title;
  }
  Display* display_;
  std::vector<TopWindow> found_;
};

constexpr const char* kMainTitle = "Kivrel Puzzle Maker - (untitled)";

TEST(GivenFileProgram, AFileOfNeitherKindIsRefusedOverTheMainWindowAndEnterLeavesTheProgramOpen) {
  TempDir dir;
  const std::string path = dir.Write("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 14));
  QProcess kivrel;
  kivrel.start(QStringLiteral(KIVREL_GUI_PATH), {QString::fromStdString(path)});
  ASSERT_TRUE(kivrel.waitForStarted(10000));

  Screen screen;
  const TopWindow* box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = screen.Find("Kivrel Error")) != nullptr; }, 15000)) << "no error box came up";
  const Window box_id = box->id;
  const Window box_over = box->over;
  const TopWindow* main = screen.Find(kMainTitle);
  ASSERT_NE(main, nullptr) << "the box came up without the main window";
  const Window main_id = main->id;
  EXPECT_EQ(box_over, main_id) << "the box does not stand over the main window";
  ASSERT_TRUE(WaitFor([&] { return screen.Active() == box_id; }, 10000)) << "the box does not have the keys";

  XInput input;
  input.Key(XK_Return);
  EXPECT_TRUE(WaitFor([&] { return screen.Find("Kivrel Error") == nullptr; }, 10000)) << "Enter left the box open";
  // The program stays, with its main window active.
  EXPECT_FALSE(kivrel.waitForFinished(1000)) << "the program ended with code " << kivrel.exitCode();
  EXPECT_TRUE(WaitFor([&] { return screen.Active() == main_id; }, 10000));
  EXPECT_NE(screen.Find(kMainTitle), nullptr);

  kivrel.kill();
  kivrel.waitForFinished(5000);
}

// A puzzle built elsewhere from a list with a note alone holds a blank record for it,
// marked placed: the program opens it, with the note back in the word list.
TEST(GivenFileProgram, APuzzleWithANoteRecordMarkedPlacedOpens) {
  QProcess kivrel;
  kivrel.start(QStringLiteral(KIVREL_GUI_PATH), {QStringLiteral(KIVREL_TEST_DATA_DIR "/note-record.kvp")});
  ASSERT_TRUE(kivrel.waitForStarted(10000));
  Screen screen;
  EXPECT_TRUE(WaitFor([&] { return screen.Find("Kivrel Puzzle Maker - Zoo Trip") != nullptr; }, 15000))
      << "the puzzle did not open";
  EXPECT_EQ(screen.Find("Kivrel Error"), nullptr);
  kivrel.kill();
  kivrel.waitForFinished(5000);
}

// Ctrl-C, a closed terminal or the desktop ending the session in the middle of Save
// Puzzle: the save's temporary file goes with the program, and the file stays as it was.
TEST(GivenFileProgram, ASignalDuringASaveLeavesNoTemporaryAndTheFileAsItWas) {
  TempDir dir;
  // A 99 x 99 puzzle of 400 words with long notes: a save of some hundred kilobytes.
  const std::string list = "1\tBig\t 99\t 99\t 1\t 1\t\r\n" + LargeWordList(500);
  const std::string puzzle = dir.File("big.kvp");
  ASSERT_EQ(RunShell(std::string(KIVREL_CLI_PATH) + " build " + dir.Write("big.kvl", list) + " --seed 1 -o " + puzzle +
                     " >/dev/null 2>&1")
                .code,
            0);

  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    QProcess kivrel;
    kivrel.setChildProcessModifier([] {  // whatever the test runner ignores
      for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
    });
    kivrel.start(QStringLiteral(KIVREL_GUI_PATH), {QString::fromStdString(puzzle)});
    ASSERT_TRUE(kivrel.waitForStarted(10000));
    Screen screen;
    const TopWindow* word_list = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (word_list = screen.Find("Word List")) && screen.Active() == word_list->id; }, 15000))
        << "no word list window";
    XInput input;
    input.Key(XK_Escape);  // the word list window, opened over it, goes; the main window has the keys
    const TopWindow* main = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (main = screen.Find("Kivrel Puzzle Maker - Big")) && screen.Active() == main->id; }, 10000));

    SaveWatch watch(dir.File(""));
    const auto pid = static_cast<pid_t>(kivrel.processId());
    std::string before;
    bool caught = false;
    for (int attempt = 0; attempt < 30 && !caught; ++attempt) {
      before = TempDir::Read(puzzle);
      input.Key(XK_s, {XK_Alt_L});  // Save Puzzle, to the file it came from
      caught = watch.StopInSave(pid, 20000);
    }
    ASSERT_TRUE(caught) << "no save was caught for signal " << signal;
    ::kill(pid, signal);
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(kivrel.waitForFinished(20000)) << signal;
    EXPECT_EQ(kivrel.exitStatus(), QProcess::CrashExit) << signal;
    EXPECT_EQ(watch.Temporaries(), std::vector<std::string>{}) << signal;
    EXPECT_EQ(TempDir::Read(puzzle), before) << signal;
  }
}

}  // namespace
}  // namespace kivrel::testing
