#include "settings/pages/interface_rows.h"

namespace vtc {

std::vector<std::string> InterfacesOfType(const std::vector<InterfaceRow>& rows, int type) {
  std::vector<std::string> out;
  for (const auto& r : rows)
    if (type == 0 || static_cast<int64_t>(r.type) == type) out.push_back(r.description);
  return out;
}

}  // namespace vtc
