#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTimer>

#include "platform/qt/QtServices.h"

namespace kivrel {
namespace {

TEST(QtEventPump, RunsPendingEventsOnlyOnceTheIntervalHasPassed) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  QtEventPump patient(60 * 60 * 1000);
  for (int i = 0; i < 100; ++i) patient.Yield();
  EXPECT_FALSE(ran) << "within the interval a yield runs nothing";

  QtEventPump pump(5);
  QThread::msleep(10);
  for (int i = 0; i < 16; ++i) pump.Yield();  // the clock is read on every 16th call
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace kivrel
