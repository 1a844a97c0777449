#include "common/win/password_prompt.h"

#include <commctrl.h>

#include "common/encoding.h"
#include "common/win/ui.h"

namespace vtc {

bool PasswordPrompt::CreatePrompt(HWND owner, HFONT font, const Look& look) {
  look_ = look;
  const DWORD style = WS_POPUP | WS_DLGFRAME;  // a dialog frame, no caption bar
  if (!CreateWin(look.className, Utf8ToWide(look.title).c_str(), style, WS_EX_TOPMOST | look.exStyle, 0, 0, 100,
                 100, owner))
    return false;
  SIZE outer = OuterSizeForClient(hwnd_, look.clientW, look.clientH);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOACTIVATE);
  const PageBuilder b{hwnd_, font};
  const Place& p = look.promptPlace;
  prompt_ = look.promptWraps ? b.WrapLabel(look.promptId, look.prompt, p.x, p.y, p.w, p.h)
                             : b.Label(look.promptId, look.prompt, p.x, p.y, p.w, p.h);
  const Place& f = look.fieldPlace;
  field_ = b.PasswordField(look.fieldId, f.x, f.y, f.w, f.h);
  const Place& o = look.okPlace;
  ok_ = b.Control(look.okId, L"BUTTON", "OK", o.x, o.y, o.w, o.h,
                  (look.okIsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP);
  if (look.fieldOnFace) fieldBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  // Enter in a single-line edit of a plain window goes nowhere; route it to OK.
  if (look.enterConfirms) SetWindowSubclass(field_, &PasswordPrompt::FieldProc, 1, reinterpret_cast<DWORD_PTR>(this));
  CenterOnScreen(hwnd_);
  return true;
}

void PasswordPrompt::ShowPrompt() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(field_);
}

void PasswordPrompt::Confirm() { OnConfirm(GetTextUtf8(field_)); }

LRESULT CALLBACK PasswordPrompt::FieldProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<PasswordPrompt*>(ref);
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) return DLGC_WANTALLKEYS;
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    self->Confirm();
    return 0;
  }
  if (msg == WM_CHAR && (wp == '\r' || wp == '\n')) return 0;  // no beep
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, &PasswordPrompt::FieldProc, 1);
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT PasswordPrompt::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Only "OK" confirms. Where Enter is not "OK", it comes as IDOK without
      // a control and another ID, and confirms nothing.
      if (LOWORD(wp) == look_.okId && HIWORD(wp) == BN_CLICKED && (lp || look_.enterConfirms)) {
        Confirm();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (!fieldBrush_) break;
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(fieldBrush_.get());
    case WM_CLOSE:
      if (!look_.closeRefused) OnCloseRequest();
      return 0;
    case WM_SYSCOMMAND:
      if (look_.closeRefused && (wp & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_DESTROY:
      OnDestroyed();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
