#include "meter/stats/history.h"

#include <cstdio>

#include "common/tariff_format.h"
#include "common/text.h"

namespace vtc {
namespace {

const char kFirstSession[] = "Первая Сессия";
const char kFirstWeek[] = "Первая Неделя";
const char kSessionPrefix[] = "Сессия ";
const char kWeekPrefix[] = "Неделя с ";
const char kDayPrefix[] = "За день ";
const char kMonthPrefix[] = "За месяц ";
const char kYearPrefix[] = "За год ";

const char kRule[] = "================================";
// A record name or currency name the meter never writes this long only comes
// from a damaged file; the text box's word wrap of one unbroken line of tens
// of thousands of characters takes minutes and holds up start-up.
constexpr size_t kMaxShownChars = 255;
const char kInLabel[] = "  Входящий трафик: ";
const char kOutLabel[] = "  Исходящий трафик: ";
const char kMoneyLabel[] = "  Потрачено: ";

std::string Pad4(int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(v));
  return buf;
}

bool SameDay(const RollMarkers& m, const LocalTime& now) {
  return m.day == static_cast<int64_t>(now.day) && m.month == static_cast<int64_t>(now.month) &&
         m.year == static_cast<int64_t>(now.year);
}

std::string AddTexts(const std::string& stored, const std::string& incoming) {
  if (incoming.empty()) return stored;
  if (stored.empty()) return incoming;
  return FloatText(TextFloat(stored) + TextFloat(incoming));
}

}  // namespace

std::string DateText(int64_t day, int64_t month, int64_t year) {
  return Pad2(day) + "." + Pad2(month) + "." + Pad4(year);
}

std::string SessionMarkerName(const LocalTime& now) {
  return kSessionPrefix + Pad2(now.hour) + ":" + Pad2(now.minute) + ":" + Pad2(now.second) + " " +
         DateText(now.day, now.month, now.year);
}

std::string WeekMarkerName(const LocalTime& now) { return kWeekPrefix + DateText(now.day, now.month, now.year); }

RollPlan PlanRoll(int statistic, int firstDayOfWeek, const RollMarkers& stored, const LocalTime& now) {
  RollPlan plan;
  switch (statistic) {
    case kStatBySession:
      plan.close = true;
      plan.record = stored.sessionName.empty() ? kFirstSession : stored.sessionName;
      plan.newSessionName = SessionMarkerName(now);
      break;
    case kStatByDay:
      if (SameDay(stored, now)) break;
      plan.close = true;
      plan.record = kDayPrefix + DateText(stored.day, stored.month, stored.year);
      plan.storeToday = true;
      break;
    case kStatByWeek: {
      std::string marker = WeekMarkerName(now);
      if (firstDayOfWeek != now.weekday || stored.sessionName == marker) break;
      plan.close = true;
      plan.record = stored.sessionName.empty() ? kFirstWeek : stored.sessionName;
      plan.newSessionName = marker;
      break;
    }
    case kStatByMonth:
      if (stored.month == static_cast<int64_t>(now.month) && stored.year == static_cast<int64_t>(now.year)) break;
      plan.close = true;
      plan.record = kMonthPrefix + Pad2(stored.month) + "." + Pad4(stored.year);
      plan.storeToday = true;
      break;
    case kStatByYear:
      if (stored.year == static_cast<int64_t>(now.year)) break;
      plan.close = true;
      plan.record = kYearPrefix + Pad4(stored.year);
      plan.storeToday = true;
      break;
    default:
      break;
  }
  return plan;
}

double SecondsFromText(const std::string& text) { return ParseSeconds(text).value_or(0); }

RecordValues MergeRecordValues(const RecordValues& stored, const RecordValues& incoming) {
  RecordValues out;
  out.inTall = AddTexts(stored.inTall, incoming.inTall);
  out.outTall = AddTexts(stored.outTall, incoming.outTall);
  out.denall = AddTexts(stored.denall, incoming.denall);
  out.timeall = FormatSeconds(SecondsFromText(stored.timeall) + SecondsFromText(incoming.timeall));
  return out;
}

std::string RecordText(const std::string& name, const std::string& inText, const std::string& outText,
                       const std::string& moneyText, const std::string& currency) {
  std::string t;
  t += kRule;
  t += '\r';
  t += FirstChars(name, kMaxShownChars);
  t += '\r';
  t += kRule;
  t += '\r';
  t += kInLabel + FormatBytes(TextFloat(inText)) + "b\r";
  t += kOutLabel + FormatBytes(TextFloat(outText)) + "b\r";
  t += kMoneyLabel + FloatText(RoundMoney(TextFloat(moneyText))) + " " + FirstChars(currency, kMaxShownChars) + "\r";
  t += '\r';
  return t;
}

size_t FirstKeptSection(size_t count, int historyRecords) {
  if (historyRecords < 0) return 0;
  uint64_t keep = static_cast<uint64_t>(historyRecords) + 1;
  return count > keep ? static_cast<size_t>(count - keep) : 0;
}

}  // namespace vtc
