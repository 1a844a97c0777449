#include "meter/stats/statistics_window.h"

#include <gtest/gtest.h>

#include "common/encoding.h"
#include "common/win/ini.h"
#include "meter/stats/history.h"
#include "meter/stats/history_file.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

namespace {

std::string Records(int from, int to) {
  std::string s;
  for (int i = from; i <= to; ++i)
    s += "[За день 0" + std::to_string(i) + ".12.2026]\r\nInTall=" + std::to_string(i * 1024) + "\r\nOutTall=" +
         std::to_string(i) + "\r\nDenall=" + std::to_string(i) + ".5\r\ntimeall=00:00:0" + std::to_string(i) + "\r\n";
  return Utf8ToCp1251(s);
}

std::string Day(int i) { return "За день 0" + std::to_string(i) + ".12.2026"; }

std::string Shown(int i) {
  return RecordText(Day(i), std::to_string(i * 1024), std::to_string(i), std::to_string(i) + ".5", "руб.");
}

// A rich edit hands its text out with CR LF; the lines are what matters.
std::string Lines(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += s[i] == '\n' ? '\r' : s[i];
  }
  return out;
}


}  // namespace

TEST(FillStatistics, LimitTwoWithFiveRecordsKeepsTheThreeNewest) {
  TempDir dir;
  dir.Write("statistic.ini", Records(1, 5));
  IniFile f(dir.File("statistic.ini"));
  EXPECT_EQ(FillStatisticsText(f, 2, "руб."), Shown(5) + Shown(4) + Shown(3));
  EXPECT_EQ(dir.Read("statistic.ini"), Records(3, 5));
  // Applying the same limit again changes nothing.
  EXPECT_EQ(FillStatisticsText(f, 2, "руб."), Shown(5) + Shown(4) + Shown(3));
  EXPECT_EQ(dir.Read("statistic.ini"), Records(3, 5));
}

TEST(FillStatistics, LimitOneWithFourRecordsAndLimitZero) {
  TempDir dir;
  dir.Write("statistic.ini", Records(1, 4));
  IniFile f(dir.File("statistic.ini"));
  EXPECT_EQ(FillStatisticsText(f, 1, "$"), RecordText(Day(4), "4096", "4", "4.5", "$") +
                                              RecordText(Day(3), "3072", "3", "3.5", "$"));
  EXPECT_EQ(f.SectionNames(), (std::vector<std::string>{Day(3), Day(4)}));
  FillStatisticsText(f, 0, "$");
  EXPECT_EQ(f.SectionNames(), (std::vector<std::string>{Day(4)}));
}

TEST(FillStatistics, NegativeLimitKeepsTheWholeHistory) {
  TempDir dir;
  dir.Write("statistic.ini", Records(1, 4));
  IniFile f(dir.File("statistic.ini"));
  EXPECT_EQ(FillStatisticsText(f, -1, "руб."), Shown(4) + Shown(3) + Shown(2) + Shown(1));
  EXPECT_EQ(dir.Read("statistic.ini"), Records(1, 4));
}

TEST(FillStatistics, MissingFileAndMissingKeys) {
  TempDir dir;
  IniFile f(dir.File("statistic.ini"));
  EXPECT_EQ(FillStatisticsText(f, 10, "руб."), "");
  EXPECT_FALSE(dir.Exists("statistic.ini"));
  dir.Write("statistic.ini", "[Empty]\r\n[Lower]\r\nintall=1536\r\nDENALL=1\r\n");
  EXPECT_EQ(FillStatisticsText(f, 10, "руб."),
            RecordText("Lower", "1536", "0", "1", "руб.") + RecordText("Empty", "0", "0", "0", "руб."));
}

TEST(StatisticsWindow, BuiltHiddenWithItsControlsAndFilledOnce) {
  TempDir dir;
  dir.Write("statistic.ini", Records(1, 5));
  StatisticsWindow w;
  ASSERT_TRUE(w.Create(dir.path(), 2, "руб."));
  HWND h = w.hwnd();
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(Lines(w.Text()), Shown(5) + Shown(4) + Shown(3));
  EXPECT_EQ(dir.Read("statistic.ini"), Records(3, 5));

  HWND box = GetDlgItem(h, 100);
  HWND ok = GetDlgItem(h, IDOK);
  ASSERT_TRUE(box && ok);
  RECT rb{}, ro{};
  GetWindowRect(box, &rb);
  GetWindowRect(ok, &ro);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&rb), 2);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&ro), 2);
  EXPECT_EQ(rb.left, 0);
  EXPECT_EQ(rb.top, 0);
  EXPECT_EQ(rb.right - rb.left, 537);
  EXPECT_EQ(rb.bottom - rb.top, 473);
  EXPECT_EQ(ro.left, 416);
  EXPECT_EQ(ro.top, 480);
  EXPECT_EQ(ro.right - ro.left, 120);
  RECT client{};
  GetClientRect(h, &client);
  EXPECT_GE(client.bottom, ro.bottom);
  EXPECT_GE(client.right, ro.right);
  EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY);
  wchar_t cls[32] = {};
  GetClassNameW(box, cls, 32);
  EXPECT_TRUE(_wcsicmp(cls, L"RICHEDIT50W") == 0 || _wcsicmp(cls, L"RichEdit20W") == 0) << WideToUtf8(cls);
  wchar_t caption[8] = {};
  GetWindowTextW(ok, caption, 8);
  EXPECT_STREQ(caption, L"OK");
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ok, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  EXPECT_GE(lf.lfWeight, FW_BOLD);

  // Showing does not refill: a record added since start-up stays out.
  IniFile(dir.File("statistic.ini")).WriteString("Later", "InTall", "1");
  w.Show();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(Lines(w.Text()), Shown(5) + Shown(4) + Shown(3));

  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(h));
  EXPECT_TRUE(IsWindowVisible(h));
  SendMessageW(ok, BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindow(h));
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST(StatisticsWindow, LongHistoryIsNotCutByTheTextBoxLimit) {
  TempDir dir;
  std::string body;
  for (int i = 0; i < 800; ++i) body += "[Сессия " + std::to_string(i) + "]\r\nInTall=1\r\n";
  dir.Write("statistic.ini", Utf8ToCp1251(body));
  StatisticsWindow w;
  ASSERT_TRUE(w.Create(dir.path(), 10000, "руб."));
  std::string text = Lines(w.Text());
  ASSERT_GT(text.size(), 65536u);
  EXPECT_EQ(text.find("Сессия 799\r"), std::string("================================\r").size());
  EXPECT_NE(text.find("\rСессия 0\r"), std::string::npos);
}

TEST(FillStatistics, HandWrittenLayoutReadsAsTheProfileFunctionsReadIt) {
  TempDir dir;
  const std::string body = Utf8ToCp1251(
      "; kept before the first record\r\n"
      "\r\n"
      "[Old]\r\nInTall=1\r\n"
      "  [ Spaced name ]  \r\n"
      "  intall = 1536 \r\n"
      "INTALL=999\r\n"
      "OutTall\r\n"
      "\r\n"
      "[Сессия 09:05:07 06.12.2026]\n"
      "Denall=\"2.5\"\n"
      "OutTall=1024");
  dir.Write("statistic.ini", body);
  IniFile f(dir.File("statistic.ini"));
  ASSERT_EQ(f.SectionNames().size(), 3u);
  EXPECT_EQ(FillStatisticsText(f, 1, "руб."), RecordText("Сессия 09:05:07 06.12.2026", "0", "1024", "2.5", "руб.") +
                                                 RecordText("Spaced name", "1536", "0", "0", "руб."));
  // The old record goes; what is kept is kept byte for byte.
  EXPECT_EQ(dir.Read("statistic.ini"),
            Utf8ToCp1251("; kept before the first record\r\n\r\n") + body.substr(body.find("  [ Spaced")));
  EXPECT_EQ(f.ReadString("Spaced name", "InTall"), "1536");
  EXPECT_EQ(f.ReadString("Сессия 09:05:07 06.12.2026", "OutTall"), "1024");
  EXPECT_FALSE(dir.Exists("statistic.ini.new"));
}

TEST(FillStatistics, OnePassAgreesWithKeyByKeyReading) {
  const std::vector<std::string> files = {
      Records(1, 5),
      "junk line\n [x] \n InTall = 12.5e3 \nDenall=1,5\n[y]\nDenall\n[z\nInTall=7\n",
      Utf8ToCp1251("[Сессия]\r\nInTall=1\r\n\r\n\r\n[Неделя с 07.12.2026]\r\nOutTall=2048\r\n"),
  };
  for (int historyRecords : {-1, 0, 1, 2, 100}) {
    for (const std::string& body : files) {
      TempDir a, b;
      a.Write("statistic.ini", body);
      b.Write("statistic.ini", body);
      IniFile fa(a.File("statistic.ini")), fb(b.File("statistic.ini"));
      EXPECT_EQ(FillStatisticsText(fa, historyRecords, "р"), FillStatisticsTextByProfileCalls(fb, historyRecords, "р"))
          << historyRecords << " " << body;
      EXPECT_EQ(fa.SectionNames(), fb.SectionNames()) << historyRecords << " " << body;
    }
  }
}

// Key by key, every section of a name would show the first one's figures.
TEST(FillStatistics, SectionsOfTheSameNameShowTheirOwnFigures) {
  TempDir dir;
  dir.Write("statistic.ini", "[A]\r\nInTall=1\r\n[a]\r\nInTall=2\r\n[B]\r\n[A]\r\nintall=3\r\noUTtALL=4\r\n");
  IniFile f(dir.File("statistic.ini"));
  EXPECT_EQ(FillStatisticsText(f, 2, "р"), RecordText("A", "3", "4", "0", "р") + RecordText("B", "0", "0", "0", "р") +
                                              RecordText("a", "2", "0", "0", "р"));
  EXPECT_EQ(dir.Read("statistic.ini"), "[a]\r\nInTall=2\r\n[B]\r\n[A]\r\nintall=3\r\noUTtALL=4\r\n");
}

TEST(FillStatistics, TenThousandRecordsTrimmedInOneRewrite) {
  TempDir dir;
  std::string body;
  for (int i = 0; i < 10000; ++i)
    body += "[R" + std::to_string(i) + "]\r\nInTall=" + std::to_string(i) + "\r\nOutTall=0\r\nDenall=0\r\ntimeall=00:00:00\r\n";
  dir.Write("statistic.ini", body);
  IniFile f(dir.File("statistic.ini"));
  DWORD start = GetTickCount();
  std::string text = FillStatisticsText(f, 10, "руб.");
  // Key by key this takes minutes; in one pass well under a second here.
  EXPECT_LT(GetTickCount() - start, 20000u);
  auto names = f.SectionNames();
  ASSERT_EQ(names.size(), 11u);
  EXPECT_EQ(names.front(), "R9989");
  EXPECT_EQ(names.back(), "R9999");
  EXPECT_EQ(text.substr(0, RecordText("R9999", "9999", "0", "0", "руб.").size()),
            RecordText("R9999", "9999", "0", "0", "руб."));
}
