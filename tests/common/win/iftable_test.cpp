#include "common/win/iftable.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <iphlpapi.h>

namespace vtc {
namespace {

// The system's own table, read twice by one reader: the second read goes
// straight into the buffer the first one sized.
TEST(SystemTable, ReadsEveryRowAndReadsTheSameRowsAgainFromItsKeptBuffer) {
  SystemInterfaceTable table;
  std::vector<IfRow> first, second;
  ASSERT_EQ(table.Read(first), IfTableRead::kOk);
  DWORD count = 0;
  ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(first.size(), count);
  bool loopback = false;
  for (const IfRow& r : first) {
    EXPECT_NE(r.index, 0u);
    EXPECT_EQ(r.description.find('\0'), std::string::npos);
    if (r.type == 24) loopback = true;
  }
  EXPECT_TRUE(loopback);

  second.assign(7, IfRow{});  // whatever the caller's buffer held is replaced
  ASSERT_EQ(table.Read(second), IfTableRead::kOk);
  ASSERT_EQ(second.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(second[i].index, first[i].index);
    EXPECT_EQ(second[i].description, first[i].description);
  }
}

}  // namespace
}  // namespace vtc
