#include "meter/app/tray_host.h"

#include <string>

namespace vtc {

TrayHost::~TrayHost() { tray_.Remove(); }

bool TrayHost::ClaimSingleInstance() {
  const std::wstring global = std::wstring(L"Global\\") + kSingleInstanceMutex;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, global.c_str());
  DWORD err = GetLastError();
  // A meter of another user owns the name with rights that refuse us: it runs.
  if (!mutex && err == ERROR_ACCESS_DENIED) return false;
  if (!mutex) {
    // No global namespace here: one meter per session is the next best thing.
    mutex = CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
    err = GetLastError();
  }
  mutex_ = ScopedHandle(mutex);
  return !(mutex && err == ERROR_ALREADY_EXISTS);
}

bool TrayHost::Create() {
  if (!CreateWin(kMeterWindowClass, kMeterWindowCaption, WS_POPUP, 0, 0, 0, 0, 0)) return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  countersReset_ = RegisterWindowMessageW(kCountersResetMessage);
  return true;
}

void TrayHost::MakeToolWindow() {
  LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_TOOLWINDOW);
}

int TrayHost::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

LRESULT TrayHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayMessage) {
    if (listener_) listener_->OnTrayMouse(static_cast<UINT>(lp));
    return 0;
  }
  if (msg == kUpdateMessage) {
    if (listener_) listener_->OnUpdateAnswer(lp);
    return 0;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    tray_.Readd();
    if (listener_) listener_->OnTrayBack();
    return 0;
  }
  if (countersReset_ && msg == countersReset_) {
    if (listener_) listener_->OnCountersReset();
    return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
