// The text of the balloon that announces an online period. Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

// What the balloon tells about one interface row.
struct IfDetails {
  uint32_t type = 0;  // IANA interface type
  uint32_t mtu = 0;
  double speed = 0;  // bits per second
};

// `iface` is the configured name of interface 1; when it is empty the text
// starts with this tick's lookup errors instead (normally none). The block of
// interface 2 follows only when it is configured and was found. Lines are
// separated by CR (13) alone.
std::string OnlineBalloonText(const std::string& iface, const IfDetails& row1, const std::string& lookupErrors,
                              const std::string& iface2, const IfDetails* row2);

// The same balloon when the router's WAN link is what is measured.
std::string RouterOnlineText(const std::string& router, const std::string& wan);

}  // namespace vtc
