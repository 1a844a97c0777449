#include "common/window_behaviour.h"

#include <cstdlib>

namespace vtc {

ScreenPoint SnapToWorkArea(const ScreenRect& work, const ScreenRect& window) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  ScreenPoint p{window.left, window.top};
  if (std::abs(work.left - p.x) <= kSnapDistance) p.x = work.left;
  if (std::abs((work.right - width) - p.x) <= kSnapDistance) p.x = work.right - width;
  if (std::abs(work.top - p.y) <= kSnapDistance) p.y = work.top;
  if (std::abs((work.bottom - height) - p.y) <= kSnapDistance) p.y = work.bottom - height;
  return p;
}

}  // namespace vtc
