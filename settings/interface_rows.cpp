#include "settings/interface_rows.h"

#include "common/encoding.h"

namespace vtc {

std::string InterfaceDescription(const unsigned char* bytes, size_t capacity, uint32_t length) {
  size_t n = length < capacity ? length : capacity;
  size_t end = 0;
  while (end < n && bytes[end] != 0) ++end;
  return Cp1251ToUtf8(std::string(reinterpret_cast<const char*>(bytes), end));
}

std::vector<std::string> InterfacesOfType(const std::vector<InterfaceRow>& rows, int type) {
  std::vector<std::string> out;
  for (const auto& r : rows)
    if (type == 0 || static_cast<int64_t>(r.type) == type) out.push_back(r.description);
  return out;
}

}  // namespace vtc
