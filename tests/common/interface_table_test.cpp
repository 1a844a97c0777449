#include "common/interface_table.h"

#include <gtest/gtest.h>

namespace vtc {
namespace {

TEST(RowDescription, IsItsLengthInBytesUpToTheFirstZero) {
  const unsigned char d[8] = {'e', 't', 'h', '0', 0, 'x', 'y', 'z'};
  EXPECT_EQ(RowDescriptionLength(d, sizeof d, 8), 4u);
  EXPECT_EQ(RowDescriptionLength(d, sizeof d, 3), 3u);
  EXPECT_EQ(RowDescriptionLength(d, sizeof d, 0), 0u);
  // A length beyond the array is cut at the array's end.
  const unsigned char full[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(RowDescriptionLength(full, sizeof full, 400), 4u);
}

}  // namespace
}  // namespace vtc
