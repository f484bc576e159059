#include "util/clock.h"
#include "util/fake_clock.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace lumora {
namespace {

void ExpectCalendar(const LocalDateTime& t, int year, int month, int day, int hour, int minute,
                    int second) {
  EXPECT_EQ(t.year, year);
  EXPECT_EQ(t.month, month);
  EXPECT_EQ(t.day, day);
  EXPECT_EQ(t.hour, hour);
  EXPECT_EQ(t.minute, minute);
  EXPECT_EQ(t.second, second);
}

TEST(Clock, CalendarOfKnownMoments) {
  ExpectCalendar(CalendarOf(0), 1970, 1, 1, 0, 0, 0);
  ExpectCalendar(CalendarOf(951782400), 2000, 2, 29, 0, 0, 0); // leap day of a 400-year
  ExpectCalendar(CalendarOf(1796459400), 2026, 12, 5, 8, 30, 0);
  ExpectCalendar(CalendarOf(-1), 1969, 12, 31, 23, 59, 59);
  ExpectCalendar(CalendarOf(4107542400), 2100, 3, 1, 0, 0, 0); // 2100 has no leap day
  // Far beyond any calendar a clock correction can reach, the nearest day the calendar has.
  ExpectCalendar(CalendarOf(std::numeric_limits<long long>::max()), 32767, 12, 31, 15, 30, 7);
  ExpectCalendar(CalendarOf(std::numeric_limits<long long>::min()), -32767, 1, 1, 8, 29, 52);
}

TEST(Clock, FakeWaitsAdvanceTimeAndAreRecorded) {
  FakeClock clock;
  const double start = clock.Seconds();
  for (double wait : {2.0, 0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), 0.5})
    clock.Wait(wait);
  EXPECT_DOUBLE_EQ(clock.Seconds() - start, 2.5);
  EXPECT_EQ(clock.Waits(), (std::vector<double>{2.0, 0.5}));
  // The local time follows, with the correction added on top.
  ExpectCalendar(clock.LocalTime(), 2026, 12, 5, 8, 30, 2);
  ExpectCalendar(clock.LocalTime(-8 * 3600 - 30 * 60 - 3), 2026, 12, 4, 23, 59, 59);
}

TEST(Clock, SystemClockRefusesWaitsThatCannotBeMeant) {
  SystemClock clock;
  const double start = clock.Seconds();
  EXPECT_GT(start, 1.5e9); // after 2017: a real wall clock in seconds
  clock.Wait(-1);
  clock.Wait(std::numeric_limits<double>::quiet_NaN());
  clock.Wait(std::numeric_limits<double>::infinity()); // would sleep forever or overflow
  EXPECT_GE(clock.LocalTime().year, 2017);
}

} // namespace
} // namespace lumora
