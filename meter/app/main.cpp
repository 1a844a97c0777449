// qmeter4.exe: the application object, then the shell around the meter (its
// start runs the meter's start-up and builds the hidden helper windows),
// then the message loop.
#include <windows.h>
#include <commctrl.h>

#include "meter/app/app.h"
#include "meter/app/shell.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  vtc::App app;
  if (!app.ClaimSingleInstance()) return 0;
  if (!app.Create()) return 1;

  vtc::Shell shell(app);
  if (!shell.Start()) return 1;
  return app.Run();
}
