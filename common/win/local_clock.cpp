#include "common/win/local_clock.h"

#include <windows.h>

namespace vtc {

LocalTime NowLocal() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.weekday = st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek;  // the platform counts from Sunday = 0
  return t;
}

}  // namespace vtc
