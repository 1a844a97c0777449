#include "common/profile_scan.h"

#include <gtest/gtest.h>

using namespace vtc;

TEST(ScanProfile, SectionsKeysAndOffsets) {
  const std::string bytes = "pre=1\n[A]\r\n k = v \r\nK=second\r\nlone\r\n  [B]x]  \nz=\"q\"";
  ScannedProfile p = ScanProfile(bytes);
  ASSERT_EQ(p.sections.size(), 2u);
  EXPECT_EQ(p.sections[0].name, "A");
  EXPECT_EQ(p.sections[0].begin, 6u);
  EXPECT_EQ(FindScannedKey(p.sections[0], "K").value_or("?"), "v");
  EXPECT_EQ(FindScannedKey(p.sections[0], "LONE").value_or("?"), "");
  EXPECT_FALSE(FindScannedKey(p.sections[0], "pre"));
  EXPECT_EQ(p.sections[1].name, "B]x");
  EXPECT_EQ(p.sections[1].begin, bytes.find("  [B"));
  EXPECT_EQ(FindScannedKey(p.sections[1], "z").value_or("?"), "\"q\"");
  EXPECT_FALSE(FindScannedKey(p.sections[1], "y"));  // as long as "z", yet another key
}
