#include "meter/services/lock_window.h"

#include <commctrl.h>

#include "common/encoding.h"

namespace vtc {

namespace {
constexpr const char* kLockTitle = "Блокировка";
constexpr const char* kLockPrompt = "Введите пароль разблокировки";
constexpr int kIdBox = 101;
constexpr int kIdOk = IDOK;
}  // namespace

bool LockWindow::Create(HWND owner, const std::string* expected, std::function<void()> onMatch) {
  expected_ = expected;
  onMatch_ = std::move(onMatch);
  // No title bar but a dialog frame: WS_POPUP | WS_DLGFRAME without WS_CAPTION.
  const DWORD style = WS_POPUP | WS_DLGFRAME;
  const DWORD ex = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;
  if (!CreateWin(L"VtcLockWindow", Utf8ToWide(kLockTitle).c_str(), style, ex, 0, 0, 100, 100, owner)) return false;
  SIZE outer = OuterSizeForClient(hwnd_, kClientWidth, kClientHeight);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOACTIVATE);
  font_.reset(MakeFont("Tahoma", 13));
  boxBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  label_ = CreateControl(hwnd_, {.text = kLockPrompt, .x = 0, .y = 0, .w = 217, .h = 17, .font = font_.get()});
  box_ = CreateControl(hwnd_, {.cls = L"EDIT",
                               .text = "",
                               .x = 0,
                               .y = 24,
                               .w = 153,
                               .h = 21,
                               .style = WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL,
                               .exStyle = WS_EX_CLIENTEDGE,
                               .id = kIdBox,
                               .font = font_.get()});
  button_ = CreateControl(hwnd_, {.cls = L"BUTTON",
                                  .text = "OK",
                                  .x = 160,
                                  .y = 24,
                                  .w = 60,
                                  .h = 21,
                                  .style = WS_TABSTOP | BS_DEFPUSHBUTTON,
                                  .id = kIdOk,
                                  .font = font_.get()});
  // Enter in a single-line edit of a plain window goes nowhere; route it to OK.
  SetWindowSubclass(box_, &LockWindow::BoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
  CenterOnScreen(hwnd_);
  return true;
}

void LockWindow::ClearBox() {
  if (box_) SetWindowTextW(box_, L"");
}

void LockWindow::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(box_);
}

void LockWindow::Confirm() {
  std::string typed = GetTextUtf8(box_);
  bool match = expected_ && typed == *expected_;
  ShowWindow(hwnd_, SW_HIDE);
  if (match && onMatch_) onMatch_();
}

LRESULT CALLBACK LockWindow::BoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<LockWindow*>(ref);
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) return DLGC_WANTALLKEYS;
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    self->Confirm();
    return 0;
  }
  if (msg == WM_CHAR && (wp == '\r' || wp == '\n')) return 0;  // no beep
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, &LockWindow::BoxProc, 1);
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT LockWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      return 0;  // only "OK" dismisses it
    case WM_COMMAND:
      if (LOWORD(wp) == kIdOk && HIWORD(wp) == BN_CLICKED) {
        Confirm();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      // The password box is drawn on the window background colour.
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(boxBrush_.get());
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) return 0;
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
