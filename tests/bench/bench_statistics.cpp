// Times the start-up's work on a long statistic.ini: the roll-over that
// appends one record, and the statistics window's fill with the record limit.
//   bench_statistics <folder with statistic.ini, trailing backslash> <historyRecords> <fill>
// fill: "text" (the file's side of the fill: reading and trimming), "window"
// (the whole statistics window, its rich-text box included) or "keybykey"
// (the one-profile-call-per-key reference, no window).
// Prints "name value" lines; the registry is redirected to a scratch key.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/encoding.h"
#include "common/win/ini.h"
#include "common/win/registry.h"
#include "meter/stats/history_file.h"
#include "meter/stats/rollover.h"
#include "meter/stats/statistics_window.h"
#include "tests/bench/bench_util.h"

using namespace vtc;
using vtc::bench::Ms;
using vtc::bench::Now;
using vtc::bench::ReadWhole;

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  std::string dir = WideToUtf8(argv[1]);
  int historyRecords = _wtoi(argv[2]);
  std::string file = dir + kStatisticsFileName;

  ScopedRegistryRedirect reg("SOFTWARE\\vtc-bench-" + std::to_string(GetCurrentProcessId()) + "\\");
  {
    RegKey k = RegKey::Open(kTotalsKeyPath);
    k.SetDword("day", 6);
    k.SetDword("month", 12);
    k.SetDword("year", 2026);
    k.SetString("InTall", "1234567");
    k.SetString("OutTall", "1536");
    k.SetString("denall", "12.3456");
    k.SetDword("timeall", 3725);
  }
  LocalTime now;
  now.year = 2026;
  now.month = 12;
  now.day = 7;
  now.weekday = 1;

  // One reading through the profile functions, on a copy so that nothing the
  // timed steps do is already parsed and cached.
  std::string copy = dir + "bench-copy.ini";
  CopyFileW(Utf8ToWide(file).c_str(), Utf8ToWide(copy).c_str(), FALSE);
  LARGE_INTEGER p0 = Now();
  size_t listed = IniFile(copy).SectionNames().size();
  LARGE_INTEGER p1 = Now();
  DeleteFileW(Utf8ToWide(copy).c_str());

  LARGE_INTEGER t0 = Now();
  size_t bytes = ReadWhole(Utf8ToWide(file));
  LARGE_INTEGER t1 = Now();
  RollStatistics(dir, 1, 0, now);
  LARGE_INTEGER t2 = Now();
  std::wstring fill = argc > 3 ? argv[3] : L"text";
  StatisticsWindow w;
  bool ok = false;
  if (fill == L"window")
    ok = w.Create(dir, historyRecords, "руб.");
  else if (fill == L"keybykey")
    ok = !FillStatisticsTextByProfileCalls(IniFile(file), historyRecords, "руб.").empty();
  else
    ok = !FillStatisticsText(IniFile(file), historyRecords, "руб.").empty();
  LARGE_INTEGER t3 = Now();
  size_t kept = IniFile(file).SectionNames().size();
  std::printf("sections %zu\nprofile_read_once_ms %.3f\n", listed, Ms(p0, p1));
  std::printf("bytes %zu\nread_once_ms %.3f\nrollover_ms %.3f\nfill_ms %.3f\nfill_ok %d\nkept %zu\n", bytes,
              Ms(t0, t1), Ms(t1, t2), Ms(t2, t3), ok ? 1 : 0, kept);
  return 0;
}
