// What the interface chooser takes from the platform's interface table, as
// plain data, and which rows it lists. Platform-free.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vtc {

struct InterfaceRow {
  uint32_t type = 0;        // IANA ifType
  std::string description;  // UTF-8
};

// Descriptions of the rows of `type`, in table order; type 0 lists every row.
std::vector<std::string> InterfacesOfType(const std::vector<InterfaceRow>& rows, int type);

}  // namespace vtc
