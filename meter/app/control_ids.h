// Control IDs of the meter's floating window: its twelve value labels and the
// background under them. The labels' texts are the figures, so other programs
// and the tests find them by these IDs; keep one "name = value" per line.
#pragma once

namespace vtc {

enum FloatWindowId : int {
  kIdLabel1 = 101,  // Label n of a skin has kIdLabel1 + n - 1
  kIdLabel12 = 112,
  kIdBackground = 200,
};

}  // namespace vtc
