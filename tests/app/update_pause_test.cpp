// The update's pause against a clock whose sleep returns early, as Sleep
// may by up to a timer tick on Windows.
#include "update_pause.h"

#include <gtest/gtest.h>

namespace {

const LONGLONG MICROSECONDS = 1000000;

struct CEarlyClock : IPauseClock {
  explicit CEarlyClock(int percentSlept) : m_percentSlept(percentSlept) {}
  LONGLONG Ticks() override { return m_now; }
  LONGLONG TicksPerSecond() override { return MICROSECONDS; }
  void Sleep(DWORD milliseconds) override { m_now += milliseconds * 10 * m_percentSlept; }

  int m_percentSlept;  // of the time asked for
  LONGLONG m_now = 0;
};

class MeasuredPause : public ::testing::TestWithParam<int> {};

TEST_P(MeasuredPause, LastsTheWholeTimeAskedForAndLessThanAMillisecondMore) {
  CEarlyClock clock(GetParam());
  CMeasuredPause(clock).Pause(10);
  EXPECT_GE(clock.m_now, 10 * MICROSECONDS / 1000);
  EXPECT_LT(clock.m_now, 11 * MICROSECONDS / 1000);
}

INSTANTIATE_TEST_SUITE_P(SleepReturning, MeasuredPause, ::testing::Values(100, 66, 1));

}  // namespace
