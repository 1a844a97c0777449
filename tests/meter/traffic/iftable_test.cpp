#include "meter/traffic/iftable.h"

#include <gtest/gtest.h>

namespace vtc {
namespace {

// The system's own table: whatever it holds, the lookups must agree with it.
TEST(SystemTable, LookupsWalkTheRealTableAndAppendNothingWhenItReads) {
  SystemInterfaceTable table;
  std::vector<IfRow> all;
  std::string err;
  ASSERT_EQ(table.FindInterface(all, "\x01no such interface", err, -1), -1);
  ASSERT_EQ(err, "");
  ASSERT_FALSE(all.empty());  // at least the loopback interface

  std::vector<IfRow> copy;
  EXPECT_EQ(table.FindInterface(copy, "\x01", err, static_cast<int>(all[0].type)), 0);
  EXPECT_EQ(copy.size(), all.size());

  const size_t last = all.size() - 1;
  std::string name = TrimDescription(all[last].description);
  int pos = table.FindInterface(copy, name, err, -1);
  ASSERT_GE(pos, 0);
  EXPECT_EQ(TrimDescription(copy[static_cast<size_t>(pos)].description), name);
  // The description reaches no further than its text.
  EXPECT_EQ(all[last].description.find('\0'), std::string::npos);
  EXPECT_EQ(err, "");
}

TEST(SystemTable, SampleOfTheLoopbackRowByType) {
  SystemInterfaceTable table;
  std::string err;
  TickSample s = TakeSample(table, "", "", 24, err);
  ASSERT_TRUE(s.online) << "no loopback row of type 24";
  EXPECT_EQ(s.pos2, -1);
  EXPECT_EQ(s.sumIn, s.row1()->inOctets);
}

}  // namespace
}  // namespace vtc
