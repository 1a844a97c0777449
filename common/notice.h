// Something a module has to tell the user. Lower modules return it and the
// top layer shows it as a balloon of the tray icon, so nothing below the
// application needs to know that a notification area exists.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

enum BalloonIcon : uint8_t { kBalloonNone = 0, kBalloonInfo = 1, kBalloonWarning = 2, kBalloonError = 3 };

// How long every notice of the meter stays up.
constexpr uint8_t kNoticeSeconds = 7;

struct Notice {
  std::string text;
  uint8_t seconds = kNoticeSeconds;
  uint8_t icon = kBalloonNone;
  std::string title;
};

}  // namespace vtc
