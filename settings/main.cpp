// Placeholder entry: the settings window lands with its own change.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HWND w = CreateWindowExW(0, L"STATIC", L"Настройки", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(w);
  return 0;
}
