#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
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
  TempDir dir;
  const std::string name = "statistic.ini";
  std::wstring path;  // the case's file, which the faults act on
  int moves = 0;
  const auto fail = [](WriteStep at, DWORD error) {
    return [at, error](WriteStep s) -> DWORD { return s == at ? error : 0; };
  };
  // ReplaceFile removed the old file and could not move the new one.
  const auto oldGone = [&](WriteStep s) -> DWORD {
    if (s != WriteStep::kReplace) return 0;
    DeleteFileW(path.c_str());
    return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  };
  const struct {
    const char* what;
    bool old;  // an old file is there
    std::function<DWORD(WriteStep)> fault;
    int heldMs;  // another program holds the old file without sharing it; -1: all along
    bool written;
    const char* named;   // what the file's name holds afterwards; null: nothing
    const char* beside;  // what waits beside it; null: nothing
  } cases[] = {
      {"a full disk", true, fail(WriteStep::kWrite, ERROR_DISK_FULL), 0, false, "old", nullptr},
      {"held open for a moment", true, nullptr, 300, true, "new", nullptr},
      {"held open all along", true, nullptr, -1, false, "old", nullptr},
      {"a share without ReplaceFile", true, fail(WriteStep::kReplace, ERROR_NOT_SUPPORTED), 0, true, "new", nullptr},
      {"the old file removed, the new one moved", true, oldGone, 0, true, "new", nullptr},
      {"the old file removed, the new one held for a moment", true,
       [&](WriteStep s) -> DWORD {
         if (s == WriteStep::kMove) return ++moves < 3 ? ERROR_SHARING_VIOLATION : 0;
         return oldGone(s);
       },
       0, true, "new", nullptr},
      {"the old file removed, the new one held all along", true,
       [&](WriteStep s) { return s == WriteStep::kMove ? ERROR_SHARING_VIOLATION : oldGone(s); }, 0, false, nullptr,
       "new"},
      {"a new file held all along", false, fail(WriteStep::kMove, ERROR_SHARING_VIOLATION), 0, false, nullptr, "new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir fresh;
    path = Utf8ToWide(fresh.File(name));
    if (c.old) fresh.Write(name, "old");
    ScopedHandle holder;
    std::thread release;
    if (c.heldMs) {
      holder = ScopedHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder);
      if (c.heldMs > 0) release = std::thread([&, ms = c.heldMs] {
          Sleep(ms);
          holder.reset();
        });
    }
    {
      ScopedWriteFaults faults(c.fault);
      EXPECT_EQ(WriteWholeFile(fresh.File(name), "new"), c.written);
    }
    if (release.joinable()) release.join();
    holder.reset();
    EXPECT_EQ(fresh.Exists(name), c.named != nullptr);
    EXPECT_EQ(fresh.Read(name), c.named ? c.named : "");
    const std::string temp = name + ".~" + std::to_string(GetCurrentProcessId()) + "-0.tmp";
    EXPECT_EQ(fresh.Exists(temp), c.beside != nullptr);
    EXPECT_EQ(fresh.Read(temp), c.beside ? c.beside : "");
    EXPECT_EQ(fresh.EntryCount(), (c.named ? 1 : 0) + (c.beside ? 1 : 0));
  }
  // A folder that is not there: no file, and a failure rather than success.
  EXPECT_FALSE(WriteWholeFile(dir.File("gone\\bug.txt"), "x"));
  EXPECT_FALSE(dir.Exists("gone"));
}

// An edit in place made on a copy: all of it reaches the file, or none.
TEST(WholeFile, AnEditReachesTheFileWholeOrNotAtAll) {
  TempDir dir;
  const auto append = [](const char* more, bool ok) {
    return [more, ok](const std::string& copy) {
      FILE* f = _wfopen(Utf8ToWide(copy).c_str(), L"ab");
      fputs(more, f);
      fclose(f);
      return ok;
    };
  };
  ASSERT_TRUE(EditWholeFile(dir.File("a.ini"), append("[a]", true)));
  EXPECT_FALSE(EditWholeFile(dir.File("a.ini"), append("[b]", false)));
  ASSERT_TRUE(EditWholeFile(dir.File("a.ini"), append("[c]", true)));
  EXPECT_EQ(dir.Read("a.ini"), "[a][c]");
  EXPECT_EQ(dir.EntryCount(), 1);
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
  enum Fate { kGoes, kStays, kTakesPlace };
  const struct {
    std::string name;
    Fate fate;
  } files[] = {
      {"statistic.ini.~4000000-0.tmp", kGoes},
      {"Отчёт за год.csv.~4000004-17.tmp", kTakesPlace},
      {"bug.txt" + mine, kStays},  // its writer is still running
      {"statistic.ini", kStays},
      {"notes.~draft-1.tmp", kStays},
      {"a.~12-0.tmp.txt", kStays},
      {".~12-0.tmp", kStays},
      {"b.~-0.tmp", kStays},
  };
  for (const auto& f : files) dir.Write(f.name, f.name);
  dir.Write("folder.~4000008-0.tmp\\inside.txt", "x");
  // Two writes whose target went: the later one's content is the file's.
  dir.Write("last_upd.txt.~4000012-1.tmp", "4.8");
  dir.Write("last_upd.txt.~4000016-0.tmp", "4.7");
  const auto writtenAt = [&](const char* leftover, DWORD ago) {
    ScopedHandle h(CreateFileW(Utf8ToWide(dir.File(leftover)).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    FILETIME t;
    GetSystemTimeAsFileTime(&t);
    ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
    u.QuadPart -= ago * 10000000ull;
    t = {u.LowPart, u.HighPart};
    ASSERT_TRUE(SetFileTime(h.get(), nullptr, nullptr, &t));
  };
  writtenAt("last_upd.txt.~4000012-1.tmp", 60);
  writtenAt("last_upd.txt.~4000016-0.tmp", 120);
  RemoveLeftovers(dir.path());
  for (const auto& f : files) EXPECT_EQ(dir.Exists(f.name), f.fate == kStays) << f.name;
  EXPECT_EQ(dir.Read("Отчёт за год.csv"), "Отчёт за год.csv.~4000004-17.tmp");
  EXPECT_EQ(dir.Read("last_upd.txt"), "4.8");
  EXPECT_FALSE(dir.Exists("last_upd.txt.~4000016-0.tmp"));
  EXPECT_TRUE(dir.Exists("folder.~4000008-0.tmp\\inside.txt"));
}
