#include "util/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace lumora {
namespace {

constexpr long long kSecondsPerDay = 86400;
// Longer waits are cut here so that the conversion to a duration cannot overflow.
constexpr double kLongestWait = 1e9;

} // namespace

LocalDateTime CalendarOf(long long epochSeconds) {
  long long days = epochSeconds / kSecondsPerDay;
  long long rest = epochSeconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  // Civil date from a day count, in 400-year eras starting on 1 March.
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const long long month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

  LocalDateTime out;
  out.year = static_cast<int>(year);
  out.month = static_cast<int>(month);
  out.day = static_cast<int>(day);
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

double SystemClock::Seconds() const {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration<double>(sinceEpoch).count();
}

LocalDateTime SystemClock::LocalTime(long long correction) const {
  const std::time_t when = std::time(nullptr) + static_cast<std::time_t>(correction);
  std::tm parts{};
  if (localtime_r(&when, &parts) == nullptr) return CalendarOf(static_cast<long long>(when));
  LocalDateTime out;
  out.year = parts.tm_year + 1900;
  out.month = parts.tm_mon + 1;
  out.day = parts.tm_mday;
  out.hour = parts.tm_hour;
  out.minute = parts.tm_min;
  out.second = parts.tm_sec;
  return out;
}

void SystemClock::Wait(double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
  if (seconds > kLongestWait) seconds = kLongestWait;
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

} // namespace lumora
