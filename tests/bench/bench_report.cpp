// Times opening the page "Отчёт" on a long statistic.ini, as a user opens it:
// the settings window built and shown, the page's tab picked, the chart
// painted on the screen.
//   bench_report <folder with statistic.ini, trailing backslash>
// Prints "name value" lines; the registry is redirected to a scratch key.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "common/encoding.h"
#include "common/win/registry.h"
#include "settings/settings_window.h"
#include "tests/bench/bench_util.h"

using namespace vtc;
using vtc::bench::Ms;
using vtc::bench::Now;
using vtc::bench::ReadWhole;

namespace {

// Handles what is waiting, the chart's first paint included.
void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::string dir = WideToUtf8(argv[1]);
  ScopedRegistryRedirect reg("SOFTWARE\\vtc-bench-" + std::to_string(GetCurrentProcessId()) + "\\");
  {
    RegKey k = RegKey::Open(kTotalsKeyPath);
    k.SetString("InTall", "1234567");
    k.SetString("OutTall", "1536");
    k.SetString("denall", "12.3456");
    k.SetDword("timeall", 3725);
  }

  LARGE_INTEGER r0 = Now();
  size_t bytes = ReadWhole(Utf8ToWide(dir + "statistic.ini"));
  LARGE_INTEGER r1 = Now();

  LARGE_INTEGER w0 = Now();
  SettingsWindow w;
  if (!w.Create(dir)) return 1;
  w.Load();
  w.Show();
  Pump();
  LARGE_INTEGER p0 = Now();
  int page = static_cast<int>(SendMessageW(w.tab(), TCM_GETITEMCOUNT, 0, 0)) - 1;
  w.SelectPage(page);
  UpdateWindow(w.report.chart().hwnd());  // painted now, not when the queue gets to it
  Pump();
  LARGE_INTEGER p1 = Now();

  std::printf("bytes %zu\nread_once_ms %.3f\nwindow_ms %.3f\npage_ms %.3f\nbars %zu\nrecords_first %zu\n", bytes,
              Ms(r0, r1), Ms(w0, p0), Ms(p0, p1), w.report.chart().model().bars.size(), w.report.chart().first());
  w.Close();
  return 0;
}
