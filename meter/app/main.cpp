// qmeter4.exe: the application object, the floating window (whose creation
// runs the start-up), the hidden helper windows, then the message loop.
#include <windows.h>
#include <commctrl.h>

#include "meter/app/app.h"
#include "meter/app/float_window.h"
#include "meter/stats/statistics_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  vtc::App app;
  if (!app.ClaimSingleInstance()) return 0;
  if (!app.Create()) return 1;

  vtc::FloatWindow floating(app);
  if (!floating.Create()) return 1;
  floating.CreateDialogs();  // lock window, About window, popup menu
  const vtc::MeterState& state = floating.state();

  vtc::StatisticsWindow statistics;
  statistics.Create(state.appDir, state.statkol, state.denstr);
  floating.SetStatisticsWindow(&statistics);

  return app.Run();
}
