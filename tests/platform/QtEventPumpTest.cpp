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
  int brought_up_to_date = 0;
  bool up_to_date_before_events = false;
  QtEventPump patient(60 * 60 * 1000);
  patient.BeforeEvents = [&] { ++brought_up_to_date; };
  for (int i = 0; i < 1000; ++i) patient.Yield();
  EXPECT_FALSE(ran) << "within the interval a yield runs nothing";
  EXPECT_EQ(brought_up_to_date, 0) << "nor shows anything";

  QtEventPump pump(5);
  pump.BeforeEvents = [&] {
    ++brought_up_to_date;
    up_to_date_before_events = !ran;
  };
  QThread::msleep(10);
  for (int i = 0; i < 256; ++i) pump.Yield();  // the clock is read on every 256th call
  EXPECT_TRUE(ran);
  EXPECT_EQ(brought_up_to_date, 1);
  EXPECT_TRUE(up_to_date_before_events) << "the window is brought up to date before the events run";
}

}  // namespace
}  // namespace kivrel
