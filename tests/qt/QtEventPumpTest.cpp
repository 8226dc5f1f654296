#include <gtest/gtest.h>

#include <QTimer>

#include "qt/QtServices.h"

namespace kivrel {
namespace {

// A long run of yields lets the window's events in once they are due, the window
// brought up to date first; before they are due it runs nothing and shows nothing.
TEST(QtEventPump, ALongRunOfYieldsRunsDueEventsAfterBringingTheWindowUpToDate) {
  const std::function<bool()> never = [] { return false; };
  bool ran = false, up_to_date_first = false;
  int shown = 0;
  QTimer::singleShot(0, [&] { ran = true; });
  QtEventPump patient(60 * 60 * 1000);
  patient.BeforeEvents = [&] { ++shown; };
  patient.Yield(5000, never);
  for (int i = 0; i < 5000; ++i) patient.Yield();
  EXPECT_FALSE(ran);
  EXPECT_EQ(shown, 0);

  QtEventPump due(0);
  due.BeforeEvents = [&] {
    ++shown;
    up_to_date_first = !ran;
  };
  due.Yield(5000, never);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(up_to_date_first);
}

}  // namespace
}  // namespace kivrel
