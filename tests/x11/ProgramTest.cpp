// The program itself, `kivrel FILE`, run as a process on a real X server: what it puts on
// the screen is read from the server (the window manager's windows, their titles, the
// active one), and it is answered with real keys and sent real signals.
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>

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
  Screen() : display_(XOpenDisplay(nullptr)) {
    // A window may close between the look at the list and the look at its title.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~Screen() { XCloseDisplay(display_); }

  /// The window the window manager manages by that title (0: none).
  ::Window Find(const std::string& title) {
    const std::vector<::Window> shown = Windows(DefaultRootWindow(display_), "_NET_CLIENT_LIST");
    const auto found = std::ranges::find_if(shown, [&](::Window id) { return Title(id) == title; });
    return found == shown.end() ? 0 : *found;
  }
  /// The title of the window that has the keys (the X input focus).
  std::string Active() {
    ::Window id = 0;
    int revert = 0;
    XGetInputFocus(display_, &id, &revert);
    return id > PointerRoot ? Title(id) : "";
  }
  /// The title of the window that a window stands over.
  std::string Under(::Window id) {
    ::Window over = 0;
    return XGetTransientForHint(display_, id, &over) && over ? Title(over) : "";
  }
  /// What a test waits for after a key.
  enum Next { kWait, kPressAgain, kDone };
  /// Presses (`press`) once the window titled so has the keys, and again each time it gets
  /// them back after losing them or `next` asks for it, until `next` (which waits a moment
  /// for the state it looks at) is done. Until the window manager has handled all the
  /// program's requests for its windows it may pass the keys between them, and the
  /// program takes a key that came meanwhile for the window it then finds active.
  bool KeyUntil(const std::string& title, const std::function<void()>& press, const std::function<Next()>& next) {
    ::Window id = 0;
    if (!WaitFor([&] { return (id = Find(title)) != 0; })) return false;
    XSelectInput(display_, id, FocusChangeMask);
    bool pending = true;
    QElapsedTimer waited;
    for (waited.start(); waited.elapsed() < kPatience;) {
      for (XEvent event; XCheckWindowEvent(display_, id, FocusChangeMask, &event);) pending |= event.type == FocusOut;
      if (pending && Active() == title) {
        press();
        pending = false;
      }
      const Next now = next();
      if (now == kDone) return true;
      pending |= now == kPressAgain;
    }
    return false;
  }
  /// Presses a key in the window titled so until it has closed.
  bool KeyUntilClosed(XInput& input, const std::string& title, unsigned long key) {
    return KeyUntil(
        title, [&] { input.Key(key); }, [&] { return WaitFor([&] { return !Find(title); }, 20) ? kDone : kWait; });
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
    if (!ids.empty()) std::memcpy(ids.data(), bytes.data(), ids.size() * sizeof(::Window));
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
      {dir.Write("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 12)), kUntitled, "Kivrel Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Kivrel kivrel(c.file);
    Screen screen;
    ASSERT_TRUE(WaitFor(
        [&] { return screen.Find(c.main_title) && screen.Find(c.active_title) && screen.Active() == c.active_title; }));
    const ::Window error = screen.Find("Kivrel Error");
    EXPECT_EQ(error != 0, c.active_title == "Kivrel Error");
    if (!error) continue;
    EXPECT_EQ(screen.Under(error), kUntitled) << "the box does not stand over the main window";
    XInput input;
    EXPECT_TRUE(screen.KeyUntilClosed(input, "Kivrel Error", XK_Return));
    EXPECT_TRUE(WaitFor([&] { return screen.Active() == kUntitled; }));
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
  constexpr const char* kBig = "Kivrel Puzzle Maker - Big";
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    Kivrel kivrel(puzzle);
    Screen screen;
    XInput input;
    // Escape closes the word list window, and the main window keeps the keys.
    ASSERT_TRUE(screen.KeyUntilClosed(input, "Word List", XK_Escape)) << "no word list window";
    ASSERT_TRUE(WaitFor([&] { return screen.Active() == kBig; }));

    SaveWatch watch(dir.Folder());
    const auto pid = static_cast<pid_t>(kivrel.processId());
    std::string before;
    // A save that ends before the program is stopped is tried again.
    SaveWatch::Stop stop = SaveWatch::kNoSave;
    int saves = 0;
    const auto save = [&] {
      before = TempDir::Read(puzzle);
      input.Key(XK_s, {XK_Alt_L});  // Save Puzzle, to the file it came from
    };
    EXPECT_TRUE(screen.KeyUntil(kBig, save, [&] {
      stop = watch.StopInSave(pid, 20);
      if (stop == SaveWatch::kTooLate) return ++saves < 20 ? Screen::kPressAgain : Screen::kDone;
      return stop == SaveWatch::kStopped ? Screen::kDone : Screen::kWait;
    }));
    ASSERT_EQ(stop, SaveWatch::kStopped) << (saves ? "no save was caught" : "no save began") << " for signal "
                                         << signal;
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
