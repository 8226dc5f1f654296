// The installed program itself, `kivrel FILE`, on a real X server: what it puts on the
// screen is read from the server (the window manager's list of windows and their
// titles), and it is answered with real keys.
#include <QProcess>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    if (XGetWindowProperty(display_, of, XInternAtom(display_, name, False), 0, 1024, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success && data) {
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
                           &data) == Success && data) {
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
  ASSERT_TRUE(WaitFor([&] { return (box = screen.Find("Kivrel Error")) != nullptr; }, 15000))
      << "no error box came up";
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

}  // namespace
}  // namespace kivrel::testing
