// The local date and time as the tariffs and the statistics see it.
#pragma once

namespace vtc {

constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerDay = 24 * kSecondsPerHour;

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  int weekday = 1;  // 1 Monday ... 7 Sunday
};

}  // namespace vtc
