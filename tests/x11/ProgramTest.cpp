// The program itself, `kivrel FILE`, run as a process on a real X server: what it puts on
// the screen is read from the server (the window manager's windows, their titles, the
// active one), and it is answered with real keys and sent real signals.
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include "CliRunner.h"
#include "SaveWatch.h"
#include "TempDir.h"
#include "XInput.h"

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

  bool Shows(const std::string& title) {
    const std::vector<::Window> shown = Windows(DefaultRootWindow(display_), "_NET_CLIENT_LIST");
    return std::ranges::any_of(shown, [&](::Window id) { return Title(id) == title; });
  }
  /// The title of the window that has the keys (the X input focus), or (`over`) of the
  /// window it stands over.
  std::string Active(bool over = false) {
    ::Window id = 0;
    int revert = 0;
    XGetInputFocus(display_, &id, &revert);
    if (id > PointerRoot && over) XGetTransientForHint(display_, id, &id);
    return id > PointerRoot ? Title(id) : "";
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
  std::string Title(::Window id) { return Property(id, "_NET_WM_NAME", XInternAtom(display_, "UTF8_STRING", False)); }
  std::vector<::Window> Windows(::Window of, const char* name) {
    const std::string bytes = Property(of, name, XA_WINDOW);
    std::vector<::Window> ids(bytes.size() / sizeof(::Window));
    std::memcpy(ids.data(), bytes.data(), ids.size() * sizeof(::Window));
    return ids;
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

// What comes up first for each kind of file, and the window that has the keys. A file of
// neither kind is refused in a box over the main window, and Enter leaves the program open.
TEST(GivenFileProgram, EachKindOfFileOpensWithTheRightWindowActive) {
  TempDir dir;
  const struct {
    std::string file, main_title, active_title;
  } cases[] = {
      {dir.Write("birds.kvl", "HERON\r\nOWL\r\n"), kUntitled, "Word List"},
      {dir.Write("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 14)), kUntitled, "Kivrel Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Kivrel kivrel(c.file);
    Screen screen;
    ASSERT_TRUE(WaitFor([&] { return screen.Shows(c.main_title) && screen.Active() == c.active_title; }));
    EXPECT_EQ(screen.Shows("Kivrel Error"), c.active_title == "Kivrel Error");
    if (c.active_title != "Kivrel Error") continue;
    EXPECT_EQ(screen.Active(true), kUntitled) << "the box does not stand over the main window";
    XInput().Key(XK_Return);
    EXPECT_TRUE(WaitFor([&] { return !screen.Shows("Kivrel Error") && screen.Active() == kUntitled; }));
    EXPECT_EQ(kivrel.state(), QProcess::Running) << "the program ended";
  }
}

// Ctrl-C, a closed terminal or the desktop ending the session in the middle of Save
// Puzzle: the save's temporary file goes with the program, and the file stays as it was.
TEST(GivenFileProgram, ASignalDuringASaveLeavesNoTemporaryAndTheFileAsItWas) {
  TempDir dir;
  // A 99 x 99 puzzle of 400 words with long notes: a save of some hundred kilobytes.
  const std::string puzzle = dir.File("big.kvp");
  const std::string list = dir.Write("big.kvl", "1\tBig\t 99\t 99\t 1\t 1\t\r\n" + LargeWordList(500));
  ASSERT_EQ(RunCli("build " + list + " --seed 1 -o " + puzzle).code, 0);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    Kivrel kivrel(puzzle);
    Screen screen;
    XInput input;
    ASSERT_TRUE(WaitFor([&] { return screen.Active() == "Word List"; })) << "no word list window";
    // Escape closes the word list window and the main window has the keys. (The window
    // manager may call a window active a moment before the program has the keys there.)
    const auto main_active = [&] { return screen.Active() == "Kivrel Puzzle Maker - Big"; };
    for (int tries = 0; tries < 5 && !main_active(); ++tries) {
      input.Key(XK_Escape);
      WaitFor(main_active, kPatience / 5);
    }
    ASSERT_TRUE(main_active());

    SaveWatch watch(dir.Folder());
    const auto pid = static_cast<pid_t>(kivrel.processId());
    std::string before;
    bool caught = false;
    // A save that ends before the stop, or a key the program missed, is tried again.
    for (int attempt = 0; attempt < 20 && !caught; ++attempt) {
      before = TempDir::Read(puzzle);
      input.Key(XK_s, {XK_Alt_L});  // Save Puzzle, to the file it came from
      caught = watch.StopInSave(pid, kPatience / 6);
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

}  // namespace
}  // namespace kivrel::testing
