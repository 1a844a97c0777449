// qmeter_cfg: the settings program. Builds the settings window, loads the
// settings into it, then lets the password gate decide whether it shows.
#include <windows.h>

#include "common/win/appdir.h"
#include "common/win/file.h"
#include "common/win/ui.h"
#include "settings/password_window.h"
#include "settings/report/report_export.h"
#include "settings/settings_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // What a write of ours killed halfway left beside the files.
  vtc::RemoveLeftovers(vtc::AppDir());
  // "/export PATH" writes the CSV file for scripts, with no window at all.
  if (std::optional<int> code = vtc::ExportFromCommandLine(vtc::AppDir(), GetCommandLineW())) return *code;

  vtc::SettingsWindow settings;
  if (!settings.Create(vtc::AppDir())) return 1;
  settings.Load();

  vtc::PasswordWindow gate;
  gate.Create(settings.font(), [&settings](bool unlocked) {
    if (unlocked)
      settings.Show();
    else
      settings.Close();  // silently: the user has to start the program again
  });
  if (gate.RunGate(vtc::GetTextUtf8(settings.general.password))) settings.Show();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab moves between controls as in a dialog.
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
