// PLACEHOLDER until the update change lands.
#include "meter/services/update_check.h"

namespace vtc {
std::string DefaultUpdateUrl() { return std::string("http://") + VTC_UPDATE_HOST + "/VER.TXT"; }
void CheckForUpdate(const std::string&, const std::string&, bool, BalloonSink&, HWND) {}
}  // namespace vtc
