// A skin's speed graph as look.ini describes it, in section Options beside
// the labels (its keys are skinkey::Graph... of common/stored_names.h). Every default is the off value, so a skin that does not
// mention the graph has none. Platform-free.
#pragma once
#include <cstdint>

#include "common/stored_names.h"

namespace vtc {


constexpr int kGraphDefaultSeconds = 60;
constexpr int kGraphMinSeconds = 10;
constexpr int kGraphMaxSeconds = 3600;  // all the meter keeps

struct GraphLook {
  bool visible = false;
  int left = 0, top = 0, width = 0, height = 0;  // pixels from the window's top left
  uint32_t back = 0, in = 0, out = 0;            // 0x00BBGGRR
  int seconds = kGraphDefaultSeconds;            // what the box's width shows

  bool Drawn() const { return visible && width > 0 && height > 0; }
};

inline int ClampGraphSeconds(int s) {
  return s < kGraphMinSeconds ? kGraphMinSeconds : s > kGraphMaxSeconds ? kGraphMaxSeconds : s;
}

}  // namespace vtc
