#include "common/interface_table.h"

namespace vtc {

size_t RowDescriptionLength(const unsigned char* bytes, size_t capacity, uint32_t length) {
  size_t n = length < capacity ? length : capacity;
  size_t end = 0;
  while (end < n && bytes[end] != 0) ++end;
  return end;
}

}  // namespace vtc
