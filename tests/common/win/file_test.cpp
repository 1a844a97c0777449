#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>

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

// Every point where a replacement can fail, for real where a test can make
// it so (a file held open, no folder) and by a fault where it cannot: the
// old content or the new one is always there, under the file's name or,
// once the old file is gone, beside it to take the name at the next start.
TEST(WholeFile, EveryFailurePointLeavesTheOldOrTheNewContent) {
  std::wstring path;  // the case's file, which the faults act on
  const auto at = [](WriteStep step, DWORD error) {
    return [=](WriteStep s) -> DWORD { return s == step ? error : 0; };
  };
  const auto oldGone = [&](DWORD moveError) {  // ReplaceFile removed the old file, did not move the new one
    return [&path, moveError](WriteStep s) -> DWORD {
      if (s == WriteStep::kReplace && DeleteFileW(path.c_str())) return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
      return s == WriteStep::kMove ? moveError : 0;
    };
  };
  const struct {
    const char* what;
    std::function<DWORD(WriteStep)> fault;
    int heldMs;          // another program holds the file unshared; -1: all along
    const char* named;   // under the file's name afterwards ("": nothing)
    const char* beside;  // left beside it
  } cases[] = {
      {"a full disk", at(WriteStep::kWrite, ERROR_DISK_FULL), 0, "old", ""},
      {"held open for a moment", nullptr, 300, "new", ""},
      {"held open all along", nullptr, -1, "old", ""},
      {"a share without ReplaceFile", at(WriteStep::kReplace, ERROR_NOT_SUPPORTED), 0, "new", ""},
      {"the old file replaced away, the new one moved", oldGone(0), 0, "new", ""},
      {"the old file replaced away, the new one held", oldGone(ERROR_SHARING_VIOLATION), 0, "", "new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("statistic.ini", "old");
    path = Utf8ToWide(dir.File("statistic.ini"));
    ScopedHandle holder(c.heldMs ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : nullptr);
    std::thread release([&] {
      if (c.heldMs <= 0) return;
      Sleep(c.heldMs);
      holder.reset();
    });
    {
      ScopedWriteFaults faults(c.fault);
      EXPECT_EQ(WriteWholeFile(dir.File("statistic.ini"), "new"), std::string(c.named) == "new");
    }
    release.join();
    holder.reset();
    EXPECT_EQ(dir.Read("statistic.ini"), c.named);
    EXPECT_EQ(dir.Read("statistic.ini.~" + std::to_string(GetCurrentProcessId()) + "-0.tmp"), c.beside);
    EXPECT_EQ(dir.EntryCount(), 1);
  }
  // A folder that is not there: no file, and a failure rather than success.
  TempDir dir;
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
// place leaves that file; the next start deletes it where its target is
// there, makes it the target where the target is gone, and touches nothing
// else.
TEST(WholeFile, LeftoversOfEndedWritersGoOrTakeTheirPlaceAndNothingElse) {
  TempDir dir;
  const std::string mine = ".~" + std::to_string(GetCurrentProcessId()) + "-0.tmp";
  const struct {
    std::string name;
    bool stays;
  } files[] = {
      {"statistic.ini.~4000000-0.tmp", false},
      {"Отчёт за год.csv.~4000004-17.tmp", false},  // becomes "Отчёт за год.csv"
      {"bug.txt" + mine, true},  // its writer is still running
      {"statistic.ini", true},
      {"notes.~draft-1.tmp", true},
      {"a.~12-0.tmp.txt", true},
      {".~12-0.tmp", true},
      {"b.~-0.tmp", true},
  };
  for (const auto& f : files) dir.Write(f.name, f.name);
  dir.Write("folder.~4000008-0.tmp\\inside.txt", "x");
  RemoveLeftovers(dir.path());
  for (const auto& f : files) EXPECT_EQ(dir.Exists(f.name), f.stays) << f.name;
  EXPECT_EQ(dir.Read("statistic.ini"), "statistic.ini");
  EXPECT_EQ(dir.Read("Отчёт за год.csv"), "Отчёт за год.csv.~4000004-17.tmp");
  EXPECT_TRUE(dir.Exists("folder.~4000008-0.tmp\\inside.txt"));
}
