// Record texts built from a damaged statistics or options file.
#include <gtest/gtest.h>

#include <string>

#include "meter/stats/history.h"

using namespace vtc;

TEST(RecordText, SeventyThousandCharacterNamesAreCutForTheWindow) {
  // Such a name once held up the meter's start-up for minutes while the text
  // box wrapped the one unbroken line.
  std::string name(70000, '7');
  std::string currency(70000, 'x');
  std::string t = RecordText(name, "1", "2", "3", currency);
  EXPECT_LT(t.size(), 1000u);
  EXPECT_NE(t.find(std::string(255, '7') + "\r"), std::string::npos);
  EXPECT_EQ(t.find(std::string(256, '7')), std::string::npos);
  // Cut at a character, not inside one.
  std::string cyr;
  for (int i = 0; i < 300; ++i) cyr += "Ж";
  std::string u = RecordText(cyr, "0", "0", "0", "р");
  std::string line = u.substr(u.find('\r') + 1);
  line = line.substr(0, line.find('\r'));
  EXPECT_EQ(line.size(), 255u * 2);
}
