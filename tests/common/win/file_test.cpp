#include <gtest/gtest.h>

#include <windows.h>

#include "common/encoding.h"
#include "common/win/file.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

TEST(WholeFile, ReplacesExactlyAndReadsBack) {
  TempDir dir;
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
      // A valid path of 255 characters, whose temporary name beside it is not.
      {"deep folder", std::string(255 - dir.path().size() - 8, 'd') + "\\bug.txt", "old", "deep"},
  };
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

TEST(WholeFile, ReplacingKeepsTheFilesAttributes) {
  TempDir dir;
  dir.Write("last_upd.txt", "old");
  const std::wstring path = Utf8ToWide(dir.File("last_upd.txt"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteWholeFile(dir.File("last_upd.txt"), "new"));
  EXPECT_EQ(dir.Read("last_upd.txt"), "new");
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(dir.EntryCount(), 1);
}

// A write killed between creating its temporary file and moving it into
// place leaves that file; the next start removes it, and only such files.
TEST(WholeFile, LeftoversOfEndedWritersGoAndNothingElse) {
  TempDir dir;
  const std::string mine = ".~" + std::to_string(GetCurrentProcessId()) + "-0.tmp";
  const struct {
    std::string name;
    bool stays;
  } files[] = {
      {"statistic.ini.~4000000-0.tmp", false},
      {"Отчёт за год.csv.~4000004-17.tmp", false},
      {"bug.txt" + mine, true},  // its writer is still running
      {"statistic.ini", true},
      {"notes.~draft-1.tmp", true},
      {"a.~12-0.tmp.txt", true},
      {".~12-0.tmp", true},
      {"b.~-0.tmp", true},
  };
  for (const auto& f : files) dir.Write(f.name, "x");
  dir.Write("folder.~4000008-0.tmp\\inside.txt", "x");
  RemoveLeftovers(dir.path());
  for (const auto& f : files) EXPECT_EQ(dir.Exists(f.name), f.stays) << f.name;
  EXPECT_TRUE(dir.Exists("folder.~4000008-0.tmp\\inside.txt"));
}
