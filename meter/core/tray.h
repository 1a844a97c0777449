// The meter's notification-area icon and its balloons.
#pragma once
#include <windows.h>

#include <string>

#include "meter/core/balloon.h"

namespace vtc {

constexpr const char* kTrayTip = "Varnok Traffic Counter 4.6";

class TrayIcon : public BalloonSink {
 public:
  // Adds the icon owned by `owner`; mouse messages arrive as `callbackMsg`.
  bool Add(HWND owner, UINT callbackMsg, HICON icon);
  void SetIcon(HICON icon);
  // Adds the icon again after Explorer restarted (TaskbarCreated).
  void Readd();
  void Remove();
  bool ShowBalloon(const std::string& text, uint8_t seconds, uint8_t icon, const std::string& title) override;

 private:
  HWND owner_ = nullptr;
  UINT msg_ = 0;
  HICON icon_ = nullptr;  // borrowed
  bool added_ = false;
};

}  // namespace vtc
