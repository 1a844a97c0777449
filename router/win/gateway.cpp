#include "router/win/gateway.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <ws2tcpip.h>

#include <vector>

namespace vtc {

std::string DefaultGateway() {
  ULONG size = 0;
  if (GetIpForwardTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::vector<unsigned char> buf(size);
  auto* table = reinterpret_cast<MIB_IPFORWARDTABLE*>(buf.data());
  if (GetIpForwardTable(table, &size, FALSE) != NO_ERROR) return {};
  const MIB_IPFORWARDROW* best = nullptr;
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_IPFORWARDROW& r = table->table[i];
    // A default route on a link without a next hop (a modem's) leads to no router.
    if (r.dwForwardDest != 0 || r.dwForwardMask != 0 || r.dwForwardNextHop == 0) continue;
    if (!best || r.dwForwardMetric1 < best->dwForwardMetric1) best = &r;
  }
  if (!best) return {};
  in_addr a{};
  a.s_addr = best->dwForwardNextHop;
  char text[INET_ADDRSTRLEN] = {};
  return inet_ntop(AF_INET, &a, text, sizeof text) ? text : std::string();
}

}  // namespace vtc
