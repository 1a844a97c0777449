// The default gateway of this computer, where a home router answers when the
// user has not typed its address.
#pragma once
#include <string>

namespace vtc {

// The dotted IPv4 address of the default route's next hop with the lowest
// metric; empty when there is no default route.
std::string DefaultGateway();

}  // namespace vtc
