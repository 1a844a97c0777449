// The meter's notification-area icon and its balloons.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/notice.h"
#include "common/product.h"

namespace vtc {

// Where the meter's notices are shown: the tray icon, a recorder in tests.
class BalloonSink {
 public:
  virtual ~BalloonSink() = default;
  // Text cut to 255 and title to 63 characters; returns whether the
  // notification area accepted it.
  virtual bool ShowBalloon(const std::string& text, uint8_t seconds, uint8_t icon, const std::string& title) = 0;
  bool Show(const Notice& n) { return ShowBalloon(n.text, n.seconds, n.icon, n.title); }
};

constexpr const char* kTrayTip = "Varnok Traffic Counter 4.6";
// The one icon the program puts into the notification area.
constexpr UINT kTrayIconId = 1;

class TrayIcon : public BalloonSink {
 public:
  // Adds the icon owned by `owner`; mouse messages arrive as `callbackMsg`.
  bool Add(HWND owner, UINT callbackMsg, HICON icon);
  void SetIcon(HICON icon);
  // Adds the icon again after Explorer restarted (TaskbarCreated).
  void Readd();
  // Adds the icon the notification area refused at Add: at a busy logon the
  // call times out while the taskbar exists, and no TaskbarCreated follows.
  // True when the icon is there.
  bool AddIfMissing();
  void Remove();
  bool ShowBalloon(const std::string& text, uint8_t seconds, uint8_t icon, const std::string& title) override;

  // The record ShowBalloon hands to the shell (exposed for tests): only the
  // balloon flag, text and title cut to what the record holds.
  static NOTIFYICONDATAW BalloonData(HWND owner, const std::string& text, uint8_t seconds, uint8_t icon,
                                     const std::string& title);

 private:
  NOTIFYICONDATAW Base() const;
  NOTIFYICONDATAW Whole() const;  // the icon with its tip and messages
  HWND owner_ = nullptr;
  UINT msg_ = 0;
  HICON icon_ = nullptr;  // borrowed
  bool added_ = false;
};

}  // namespace vtc
