// qmeter4.exe: the hidden window that holds the tray icon, then the meter on
// the desktop (opening it runs the meter's start-up and builds the hidden
// helper windows), then the message loop.
#include <windows.h>
#include <commctrl.h>

#include "meter/app/meter_desktop.h"
#include "meter/app/tray_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  vtc::TrayHost host;
  if (!host.ClaimSingleInstance()) return 0;
  if (!host.Create()) return 1;

  vtc::MeterDesktop desktop(host);
  if (!desktop.Open()) return 1;
  return host.Run();
}
