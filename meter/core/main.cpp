// Placeholder entry: the meter's start-up lands with its own change.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"qmeter", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(w);
  return 0;
}
