#include "util/clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace lumora {
namespace {

constexpr long long kSecondsPerDay = 86400;
// The calendar's years run from -32767 to 32767; a moment beyond them takes the nearest end.
constexpr long long kFirstDay =
    std::chrono::sys_days{std::chrono::year{-32767} / 1 / 1}.time_since_epoch().count();
constexpr long long kLastDay =
    std::chrono::sys_days{std::chrono::year{32767} / 12 / 31}.time_since_epoch().count();
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
  days = std::clamp(days, kFirstDay, kLastDay);
  const std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}};

  LocalDateTime out;
  out.year = static_cast<int>(date.year());
  out.month = static_cast<int>(static_cast<unsigned>(date.month()));
  out.day = static_cast<int>(static_cast<unsigned>(date.day()));
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
