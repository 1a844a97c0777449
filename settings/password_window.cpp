#include "settings/password_window.h"

#include "common/encoding.h"
#include "settings/control_ids.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcPasswordWindow";
constexpr const char* kPrompt = "Введите пароль";
constexpr int kClientW = 211, kClientH = 46;

}  // namespace

bool PasswordMatches(const std::string& typed, const std::string& stored) { return typed == stored; }

bool PasswordWindow::Create(HFONT font, std::function<void(bool)> onClosed) {
  onClosed_ = std::move(onClosed);
  const DWORD style = WS_POPUP | WS_DLGFRAME;  // a dialog frame, no caption bar
  const DWORD exStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  RECT r = {0, 0, kClientW, kClientH};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  if (!CreateWin(kClassName, Utf8ToWide(kPrompt).c_str(), style, exStyle, 0, 0, r.right - r.left,
                 r.bottom - r.top))
    return false;
  ControlArgs a;
  a.id = kIdGatePrompt;
  a.font = font;
  a.text = kPrompt;
  a.w = 209;
  a.style = SS_LEFTNOWORDWRAP;
  label_ = CreateControl(hwnd_, a);
  a = ControlArgs{};
  a.id = kIdGateField;
  a.font = font;
  a.cls = L"EDIT";
  a.y = 24;
  a.w = 137;
  a.style = ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP;
  a.exStyle = WS_EX_CLIENTEDGE;
  field_ = CreateControl(hwnd_, a);
  a = ControlArgs{};
  a.id = kIdGateOk;
  a.font = font;
  a.cls = L"BUTTON";
  a.text = "OK";  // Latin letters, unlike the settings window's button
  a.x = 144;
  a.y = 24;
  a.style = BS_PUSHBUTTON | WS_TABSTOP;
  ok_ = CreateControl(hwnd_, a);
  CenterOnScreen(hwnd_);
  return true;
}

bool PasswordWindow::RunGate(const std::string& stored) {
  stored_ = stored;
  locked_ = true;
  closed_ = false;
  if (stored.empty()) {
    ShowWindow(hwnd_, SW_HIDE);
    return true;
  }
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(field_);
  return false;
}

void PasswordWindow::OnConfirm() {
  if (PasswordMatches(GetTextUtf8(field_), stored_)) locked_ = false;
  DestroyWindow(hwnd_);  // one attempt, right or wrong
}

LRESULT PasswordWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Only a click on "OK" confirms; Enter (IDOK without a control) does not.
      if (lp && LOWORD(wp) == kIdGateOk && HIWORD(wp) == BN_CLICKED) OnConfirm();
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // Only a gate that showed this window decides anything when it goes.
      if (!closed_ && !stored_.empty() && onClosed_) {
        closed_ = true;
        onClosed_(!locked_);
      }
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace vtc
