// PLACEHOLDER until the tray change lands: remembers the icon, shows nothing.
#include "meter/core/tray.h"

namespace vtc {
bool TrayIcon::Add(HWND owner, UINT msg, HICON icon) {
  owner_ = owner;
  msg_ = msg;
  icon_ = icon;
  return true;
}
void TrayIcon::SetIcon(HICON icon) { icon_ = icon; }
void TrayIcon::Readd() {}
void TrayIcon::Remove() {}
bool TrayIcon::ShowBalloon(const std::string&, uint8_t, uint8_t, const std::string&) { return false; }
}  // namespace vtc
