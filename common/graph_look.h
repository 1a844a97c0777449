// A skin's speed graph as look.ini describes it, in section Options beside
// the labels. Every default is the off value, so a skin that does not
// mention the graph has none. Platform-free.
#pragma once
#include <cstdint>

namespace vtc {

constexpr const char* kGraphVisibleKey = "Graph_Visible";
constexpr const char* kGraphLeftKey = "Graph_Left";
constexpr const char* kGraphTopKey = "Graph_Top";
constexpr const char* kGraphWidthKey = "Graph_Width";
constexpr const char* kGraphHeightKey = "Graph_Height";
constexpr const char* kGraphColorKey = "Graph_Color";
constexpr const char* kGraphInColorKey = "Graph_In_Color";
constexpr const char* kGraphOutColorKey = "Graph_Out_Color";
constexpr const char* kGraphSecondsKey = "Graph_Seconds";

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
