// Test support: a local date and time in one line. Header only, so that the
// native sanitizer tests can use it too.
#pragma once
#include "common/clock.h"

namespace vtc::test {

inline LocalTime At(int y, int mo, int d, int h, int mi, int weekday) {
  LocalTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.weekday = weekday;
  return t;
}

inline LocalTime At(int y, int mo, int d, int h, int mi, int s, int weekday) {
  LocalTime t = At(y, mo, d, h, mi, weekday);
  t.second = s;
  return t;
}

}  // namespace vtc::test
