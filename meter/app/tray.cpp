#include "meter/app/tray.h"

#include "common/encoding.h"

namespace vtc {

namespace {

// Copies at most `limit` UTF-16 units and never leaves half of a surrogate
// pair at the end, so a cut text is still valid for the shell to draw.
template <size_t N>
void CopyCut(wchar_t (&dst)[N], const std::string& utf8, size_t limit) {
  std::wstring w = Utf8ToWide(utf8);
  size_t n = w.size() < limit ? w.size() : limit;
  if (n > N - 1) n = N - 1;
  if (n > 0 && n < w.size() && w[n - 1] >= 0xD800 && w[n - 1] <= 0xDBFF) --n;
  w.copy(dst, n);
  dst[n] = L'\0';
}

DWORD InfoFlags(uint8_t icon) {
  switch (icon) {
    case kBalloonInfo: return NIIF_INFO;
    case kBalloonWarning: return NIIF_WARNING;
    case kBalloonError: return NIIF_ERROR;
    default: return NIIF_NONE;
  }
}

}  // namespace

NOTIFYICONDATAW TrayIcon::Base() const {
  NOTIFYICONDATAW d = {};
  d.cbSize = sizeof d;
  d.hWnd = owner_;
  d.uID = kTrayIconId;
  return d;
}

NOTIFYICONDATAW TrayIcon::Whole() const {
  NOTIFYICONDATAW d = Base();
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  d.uCallbackMessage = msg_;
  d.hIcon = icon_;
  CopyCut(d.szTip, kTrayTip, 127);
  return d;
}

bool TrayIcon::Add(HWND owner, UINT callbackMsg, HICON icon) {
  owner_ = owner;
  msg_ = callbackMsg;
  icon_ = icon;
  NOTIFYICONDATAW d = Whole();
  added_ = Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
  return added_;
}

bool TrayIcon::AddIfMissing() {
  if (added_ || !owner_) return added_;
  NOTIFYICONDATAW d = Whole();
  // An add that timed out may have been carried out all the same: the icon
  // is then there, and a second add is refused, but it takes a change.
  added_ = Shell_NotifyIconW(NIM_ADD, &d) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
  return added_;
}

void TrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  if (!owner_) return;
  NOTIFYICONDATAW d = Base();
  d.uFlags = NIF_ICON;
  d.hIcon = icon_;
  Shell_NotifyIconW(NIM_MODIFY, &d);
}

void TrayIcon::Readd() {
  if (!owner_) return;
  // The new taskbar knows nothing of the old icon: add it afresh with the
  // icon it showed last.
  Add(owner_, msg_, icon_);
}

void TrayIcon::Remove() {
  if (!owner_ || !added_) return;
  NOTIFYICONDATAW d = Base();
  Shell_NotifyIconW(NIM_DELETE, &d);
  added_ = false;
}

NOTIFYICONDATAW TrayIcon::BalloonData(HWND owner, const std::string& text, uint8_t seconds, uint8_t icon,
                                      const std::string& title) {
  NOTIFYICONDATAW d = {};
  d.cbSize = sizeof d;
  d.hWnd = owner;
  d.uID = kTrayIconId;
  d.uFlags = NIF_INFO;
  CopyCut(d.szInfo, text, 255);
  CopyCut(d.szInfoTitle, title, 63);
  d.uTimeout = static_cast<UINT>(seconds) * 1000u;
  d.dwInfoFlags = InfoFlags(icon);
  return d;
}

bool TrayIcon::ShowBalloon(const std::string& text, uint8_t seconds, uint8_t icon, const std::string& title) {
  NOTIFYICONDATAW d = BalloonData(owner_, text, seconds, icon, title);
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

}  // namespace vtc
