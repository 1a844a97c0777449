// What the interface chooser takes from the platform's interface table, as
// plain data, and which rows it lists. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtc {

struct InterfaceRow {
  uint32_t type = 0;        // IANA ifType
  std::string description;  // UTF-8
};

// A row's description: `length` bytes of its description array (at most
// `capacity`), up to the first zero byte, as code page 1251 text.
std::string InterfaceDescription(const unsigned char* bytes, size_t capacity, uint32_t length);

// Descriptions of the rows of `type`, in table order; type 0 lists every row.
std::vector<std::string> InterfacesOfType(const std::vector<InterfaceRow>& rows, int type);

}  // namespace vtc
