#include "meter/services/error_report.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/encoding.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

namespace {

uint32_t Version(unsigned major, unsigned minor, bool win9x, unsigned build = 0) {
  return major | (minor << 8) | ((build & 0x7FFF) << 16) | (win9x ? 0x80000000u : 0);
}

const char kError308[] = "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: 0)\r";

}  // namespace

TEST(PlatformTag, EveryRowOfTheTableAtItsEdges) {
  struct Case { unsigned major, minor; bool win9x; const char* want; } cases[] = {
      {3, 95, true, ""},    {4, 0, true, ""},     {4, 9, true, ""},       // Windows 95
      {4, 10, true, "W98"}, {4, 89, true, "W98"},                         // Windows 98
      {4, 90, true, "WME"}, {4, 255, true, "WME"}, {5, 0, true, "WME"},   // Me and above
      {3, 51, false, "WNT"}, {4, 0, false, "WNT"}, {4, 90, false, "WNT"},
      {5, 0, false, "W2K"}, {5, 1, false, "WXP"}, {5, 2, false, "WServer2003"}, {5, 9, false, "WServer2003"},
      {6, 0, false, "WVista"}, {6, 1, false, "WVista"}, {6, 2, false, "WVista"}, {10, 0, false, "WVista"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(PlatformTag(Version(c.major, c.minor, c.win9x)), c.want) << c.major << "." << c.minor << " " << c.win9x;
    // The build number in the high word does not count.
    EXPECT_EQ(PlatformTag(Version(c.major, c.minor, c.win9x, 7601)), c.want);
  }
}

TEST(PlatformTag, TheRunningSystemsTagIsWorkedOutFromGetVersion) {
  EXPECT_EQ(CurrentPlatformTag(), PlatformTag(static_cast<uint32_t>(GetVersion())));
  EXPECT_EQ(&CurrentPlatformTag(), &CurrentPlatformTag());
}

TEST(ErrorReport, FourLinesInCp1251WithCrLfAndTheErrorTextLast) {
  std::string bytes = ErrorReportBytes("C:\\Программы\\VTC\\", "WXP", kError308);
  std::string want = Utf8ToCp1251(
      ":: Баг-отчет программы Varnok Traffic Counter 4.x ::\r\n"
      "Этот файл создан потому, что во время выполнения кода программы возникли ошибки\r\n"
      "Директория: C:\\Программы\\VTC\\\r\n"
      "Платформа: WXP\r\n"
      "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: 0)\r\r\n");
  EXPECT_EQ(bytes, want);
  EXPECT_EQ(bytes.substr(0, 6), ":: \xC1\xE0\xE3");  // "Баг" in 1251, one byte a letter
}

TEST(ErrorReport, NoPlatformLineWithoutATagAndRepeatedMessagesKept) {
  std::string text = std::string("Ошибка 87: a\r") + "Ошибка 87: a\r";
  std::string bytes = ErrorReportBytes("D:\\VTC\\", "", text);
  EXPECT_EQ(bytes.find(Utf8ToCp1251("Платформа")), std::string::npos);
  std::string tail = Utf8ToCp1251("Директория: D:\\VTC\\\r\nОшибка 87: a\rОшибка 87: a\r\r\n");
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(WriteErrorReport, OverwritesAnEarlierLongerReport) {
  TempDir dir;
  dir.Write("bug.txt", std::string(5000, 'x'));
  WriteErrorReport(dir.File("bug.txt"), kError308);
  EXPECT_EQ(dir.Read("bug.txt"), ErrorReportBytes(dir.path(), CurrentPlatformTag(), kError308));
  WriteErrorReport(dir.File("bug.txt"), kError308);  // a second start-up: still one report
  EXPECT_EQ(dir.Read("bug.txt"), ErrorReportBytes(dir.path(), CurrentPlatformTag(), kError308));
}

TEST(WriteErrorReport, AFolderThatCannotBeWrittenLosesTheReportQuietly) {
  TempDir dir;
  WriteErrorReport(dir.File("missing\\bug.txt"), kError308);
  EXPECT_FALSE(dir.Exists("missing\\bug.txt"));
}
