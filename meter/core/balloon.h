// What the meter's modules need from the tray icon to tell the user something.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

enum BalloonIcon : uint8_t { kBalloonNone = 0, kBalloonInfo = 1, kBalloonWarning = 2, kBalloonError = 3 };

constexpr const char* kProductTitle = "Varnok Traffic Counter";

class BalloonSink {
 public:
  virtual ~BalloonSink() = default;
  // Text cut to 255 and title to 63 characters; returns whether the
  // notification area accepted it.
  virtual bool ShowBalloon(const std::string& text, uint8_t seconds, uint8_t icon, const std::string& title) = 0;
};

}  // namespace vtc
