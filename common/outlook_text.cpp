#include "common/outlook_text.h"

#include <cmath>
#include <cstdio>

#include "common/budget.h"
#include "common/forecast.h"
#include "common/text.h"

namespace vtc {
namespace {

// "месяца" of "к концу месяца": the period's name in the form both phrases share.
std::string PeriodName(int mode) {
  static const std::string kTo = "к концу ";
  const std::string phrase = PeriodEndPhrase(mode);
  return phrase.compare(0, kTo.size(), kTo) == 0 ? phrase.substr(kTo.size()) : std::string();
}

}  // namespace

std::string RunOutLine(const RunOut& r, int mode, Budget budget) {
  const std::string period = PeriodName(mode);
  if (period.empty()) return "";
  const bool money = budget == Budget::kMoneyLimit;
  if (r.gone) return money ? "Лимит исчерпан" : "Пакет закончился";
  if (!r.middle) return std::string(money ? "Лимита" : "Пакета") + " хватит до конца " + period;
  std::string line = std::string(money ? "Лимит будет исчерпан" : "Пакет закончится") + " около " + DayMonthText(*r.middle);
  const int64_t early = r.early.value_or(*r.middle);
  if (early != *r.middle || r.late != r.middle)
    line += " (между " + DayMonthText(early) + " и " + (r.late ? DayMonthText(*r.late) : "концом " + period) + ")";
  return line;
}

std::string AllowanceLine(double allowance, Budget budget, const std::string& denstr) {
  if (budget == Budget::kPrepaid) return "Сегодня можно: " + ShortBytesText(allowance);
  const double cents = allowance > 0 ? std::floor(allowance * 100 + 1e-6) : 0;
  return "Сегодня можно потратить: " + MoneyText(cents / 100, denstr);
}

std::string ShortBytesText(double v) {
  static const char* const kUnits[] = {"б", "Кб", "Мб", "Гб", "Тб"};
  if (!(v > 0)) v = 0;
  int unit = 0;
  while (unit < 4 && v >= 1024) {
    v /= 1024;
    ++unit;
  }
  const double tenths = unit == 0 ? std::trunc(v) * 10 : std::trunc(v * 10);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", std::trunc(tenths / 10));
  std::string text = buf;
  const int decimal = static_cast<int>(std::fmod(tenths, 10));
  if (decimal != 0) text += "," + std::to_string(decimal);
  return text + " " + kUnits[unit];
}

std::string DayMonthText(int64_t dayNumber) {
  const CivilDate c = DateOfDayNumber(dayNumber);
  return Pad2(c.day) + "." + Pad2(c.month);
}

}  // namespace vtc
