#include <gtest/gtest.h>

#include <windows.h>

#include "common/encoding.h"
#include "common/win/file.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

TEST(WholeFile, ReplacesExactlyAndReadsBack) {
  struct Case {
    const char* what;
    std::string name;  // below the temp folder
    const char* before;  // null: no file yet
    std::string bytes;
  } cases[] = {
      {"new file", "a.txt", nullptr, std::string("x\r\n\0\x1a\xff", 6)},
      {"shorter than the old file", "b.txt", "[old]\r\nkey=a long value\r\n", "4.7"},
      {"nothing at all", "c.txt", "old", ""},
      // A folder no single-byte system code page holds in one.
      {"folder named in any language", "Zähler Счётчик 日本\\bug.txt", "old report", "report"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.before) dir.Write(c.name, c.before);
    ASSERT_TRUE(WriteWholeFile(dir.File(c.name), c.bytes));
    EXPECT_EQ(dir.Read(c.name), c.bytes);
    EXPECT_EQ(ReadWholeFile(dir.File(c.name)), c.bytes);
    EXPECT_FALSE(dir.Exists(c.name + ".new"));
  }
  EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt")).has_value());
}

TEST(WholeFile, AFailedReplaceLeavesTheOldFileWholeAndNothingBeside) {
  TempDir dir;
  dir.Write("statistic.ini", "[Первая Сессия]\r\nInTall=1\r\n");
  // Another program holds the file open without letting it be replaced.
  ScopedHandle holder(CreateFileW(Utf8ToWide(dir.File("statistic.ini")).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_FALSE(WriteWholeFile(dir.File("statistic.ini"), "cut"));
  holder.reset();
  EXPECT_EQ(dir.Read("statistic.ini"), "[Первая Сессия]\r\nInTall=1\r\n");
  EXPECT_EQ(dir.EntryCount(), 1);  // nothing left beside it
  // A folder that is not there: no file, and a failure rather than success.
  EXPECT_FALSE(WriteWholeFile(dir.File("gone\\bug.txt"), "x"));
  EXPECT_FALSE(dir.Exists("gone"));
}
