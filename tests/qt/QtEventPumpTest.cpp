#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTimer>

#include "qt/QtServices.h"

namespace kivrel {
namespace {

const std::function<bool()> never = [] { return false; };

TEST(QtEventPump, RunsPendingEventsOnlyOnceTheIntervalHasPassed) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  int brought_up_to_date = 0;
  bool up_to_date_before_events = false;
  QtEventPump patient(60 * 60 * 1000);
  patient.BeforeEvents = [&] { ++brought_up_to_date; };
  for (int i = 0; i < 3000; ++i) patient.Yield();
  EXPECT_FALSE(ran) << "within the interval a yield runs nothing";
  EXPECT_EQ(brought_up_to_date, 0) << "nor shows anything";

  QtEventPump pump(5);
  pump.BeforeEvents = [&] {
    ++brought_up_to_date;
    up_to_date_before_events = !ran;
  };
  QThread::msleep(10);
  for (int i = 0; i < 1024; ++i) pump.Yield();  // the clock is read on every 1024th call
  EXPECT_TRUE(ran);
  EXPECT_EQ(brought_up_to_date, 1);
  EXPECT_TRUE(up_to_date_before_events) << "the window is brought up to date before the events run";
}

TEST(QtEventPump, ARunOfYieldsReadsTheClockWhereSingleYieldsWouldAndRunsEventsOnce) {
  int runs = 0;
  QtEventPump pump(0);  // events are always due when the clock is read
  pump.BeforeEvents = [&] { ++runs; };
  pump.Yield(1023, never);
  EXPECT_EQ(runs, 0) << "1023 yields read no clock";
  pump.Yield(1, never);
  EXPECT_EQ(runs, 1) << "the 1024th does";
  pump.Yield(100, never);
  pump.Yield();
  EXPECT_EQ(runs, 1);
  pump.Yield(2400, never);  // passes two reads: the events run once for the whole run
  EXPECT_EQ(runs, 2);
  pump.Yield(0, never);
  pump.Yield(-3, never);
  EXPECT_EQ(runs, 2);
}

TEST(QtEventPump, WorkThatStartsWaitsAWholeIntervalBeforeEventsRun) {
  int runs = 0;
  QtEventPump pump(200);
  pump.BeforeEvents = [&] { ++runs; };
  QThread::msleep(250);  // the interval since the pump was made has passed
  pump.WorkStarts();
  pump.Yield(1000, never);
  EXPECT_EQ(runs, 0) << "a build that has just started is not stopped for a repaint";
  QThread::msleep(250);
  pump.Yield(256, never);
  EXPECT_EQ(runs, 1) << "once the interval has passed the events run again";
}

}  // namespace
}  // namespace kivrel
