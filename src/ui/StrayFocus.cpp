#include "ui/StrayFocus.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace kivrel {

namespace {

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// Tells Qt which of its windows has the server's focus, in the words Qt listens to: an
// activation request addressed to that window, sent to this program alone.
void TellQtTheServersFocus(xcb_connection_t* x) {
  const XcbReply<xcb_get_input_focus_reply_t> focus(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr),
                                                    &std::free);
  if (!focus) return;
  const auto windows = QGuiApplication::topLevelWindows();
  const bool ours = std::any_of(windows.begin(), windows.end(), [&](const QWindow* window) {
    return window->isVisible() && window->winId() == focus->focus;
  });
  if (!ours) return;  // with another program: the server tells Qt when the keys come back
  static constexpr char kName[] = "_NET_ACTIVE_WINDOW";
  const XcbReply<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, sizeof kName - 1, kName), nullptr), &std::free);
  if (!atom) return;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = focus->focus;
  event.type = atom->atom;
  event.data.data32[0] = 1;  // from an application
  xcb_send_event(x, 0, focus->focus, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(x);
}

}  // namespace

void KeepKeysOffHiddenWindows(QObject* owner) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return;
  xcb_connection_t* x = x11->connection();
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, owner, [x](QWindow* focus) {
    if (focus && !focus->isVisible()) TellQtTheServersFocus(x);
  });
}

}  // namespace kivrel
