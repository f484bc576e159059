// The wall clock: seconds, the local date and time, and waiting.
//
// Messages that stay up for a while, the pause before exit and the script's WAIT all wait on a
// Clock, so tests can use a fake one whose waits cost no real time.
#pragma once

namespace lumora {

// A calendar moment in local time (month 1..12, day 1..31).
struct LocalDateTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
public:
  virtual ~Clock() = default;

  // Seconds since 1.1.1970 00:00 UTC.
  virtual double Seconds() const = 0;

  // The local date and time of Seconds() + correction (the setup's clock correction).
  virtual LocalDateTime LocalTime(long long correction = 0) const = 0;

  // Stands still for the given time; zero, negative and non-finite times return at once.
  virtual void Wait(double seconds) = 0;
};

// The system clock with the system's time zone.
class SystemClock final : public Clock {
public:
  double Seconds() const override;
  LocalDateTime LocalTime(long long correction = 0) const override;
  void Wait(double seconds) override;
};

// Calendar date and time of a count of seconds since 1.1.1970, without any time zone.
LocalDateTime CalendarOf(long long epochSeconds);

} // namespace lumora
