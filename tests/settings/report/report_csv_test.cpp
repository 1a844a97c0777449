#include "settings/report/report_csv.h"

#include <gtest/gtest.h>

using namespace vtc;

namespace {

const std::string kHead = "\xEF\xBB\xBFПериод;Входящий, байт;Исходящий, байт;Деньги;Время онлайн, с\r\n";

StoredRecord Rec(const std::string& name, StoredText in, StoredText out, StoredText money, StoredText time) {
  return StoredRecord{name, std::move(in), std::move(out), std::move(money), std::move(time)};
}

// The line a lone record gives, without the header and the open period.
std::string LineOf(const StoredRecord& r) {
  ReportData d;
  d.records = {r};
  std::string all = CsvBytes(d);
  const std::string open = "Текущий период;;;;\r\n";
  return all.substr(kHead.size(), all.size() - kHead.size() - open.size());
}

}  // namespace

TEST(CsvBytes, WholeFileWithBomHeaderRecordsInFileOrderAndTheOpenPeriodLast) {
  ReportData d;
  d.records = {Rec("За день 05.12.2026", "1048576", "20480", "1.5", "01:02:05"),
               Rec("За день 06.12.2026", "0", "0", "0", "00:00:00")};
  d.open.stored = true;
  d.open.in = "2048";
  d.open.out = "1024";
  d.open.money = "0.25";
  d.open.seconds = 60;
  EXPECT_EQ(CsvBytes(d), kHead +
                             "За день 05.12.2026;1048576;20480;1,5;3725\r\n"
                             "За день 06.12.2026;0;0;0;0\r\n"
                             "Текущий период;2048;1024;0,25;60\r\n");
}

TEST(CsvBytes, NoRecordsAndNoTotalsStillGiveTheHeaderAndAnEmptyOpenPeriod) {
  EXPECT_EQ(CsvBytes(ReportData{}), kHead + "Текущий период;;;;\r\n");
}

TEST(CsvBytes, FieldsOfOneRecord) {
  struct Case {
    StoredRecord record;
    std::string line;
  } cases[] = {
      // Quoting only where a name would end its field or line.
      {Rec("a;b", "1", "2", "3", "00:00:04"), "\"a;b\";1;2;3;4\r\n"},
      {Rec("say \"hi\"", "1", "2", "3", "00:00:04"), "\"say \"\"hi\"\"\";1;2;3;4\r\n"},
      {Rec("two\r\nlines", "1", "2", "3", "00:00:04"), "\"two\r\nlines\";1;2;3;4\r\n"},
      {Rec("comma, fine", "1", "2", "3", "00:00:04"), "comma, fine;1;2;3;4\r\n"},
      // Money keeps its digits with a decimal comma; bytes are whole.
      {Rec("m", "1.5E6", "2.6", "12.3456", "00:00:00"), "m;1500000;3;12,3456;0\r\n"},
      {Rec("neg", "-0", "10737418240", "-0.5", "00:00:00"), "neg;0;10737418240;-0,5;0\r\n"},
      // Online time past 99 hours.
      {Rec("long", "1", "1", "1", "123456:59:59"), "long;1;1;1;444445199\r\n"},
      // Damaged or absent values leave their own field empty, never the line.
      {Rec("bad", "12abc", "", "1,5", "1:2"), "bad;;;;\r\n"},
      {Rec("gone", std::nullopt, "7", std::nullopt, std::nullopt), "gone;;7;;\r\n"},
      {Rec("huge", "1e999", "1.2.3", "--1", "aa:bb:cc"), "huge;;;;\r\n"},
      // Out of range once added up is no number; rounding to zero is 0.
      {Rec("inf", "-0.4", "-0.5", "1", std::string(320, '9') + ":00:00"), "inf;0;0;1;\r\n"},
      // A name a spreadsheet would run as a formula stays text there.
      {Rec("=HYPERLINK(\"x\")", "1", "2", "3", "00:00:04"), "\"'=HYPERLINK(\"\"x\"\")\";1;2;3;4\r\n"},
      {Rec("+1", "1", "2", "3", "00:00:04"), "'+1;1;2;3;4\r\n"},
      {Rec("-2+3", "1", "2", "3", "00:00:04"), "'-2+3;1;2;3;4\r\n"},
      {Rec("@SUM(A1)", "1", "2", "3", "00:00:04"), "'@SUM(A1);1;2;3;4\r\n"},
      {Rec("\tx", "1", "2", "3", "00:00:04"), "'\tx;1;2;3;4\r\n"},
      {Rec("\rx", "1", "2", "3", "00:00:04"), "\"'\rx\";1;2;3;4\r\n"},
      {Rec("a=b", "1", "2", "3", "00:00:04"), "a=b;1;2;3;4\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(LineOf(c.record), c.line) << c.record.name;
}
