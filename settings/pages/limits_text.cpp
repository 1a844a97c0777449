#include "settings/pages/limits_text.h"

#include <cmath>

#include "common/budget.h"
#include "common/forecast.h"
#include "common/text.h"

namespace vtc {
namespace {

std::string Percent(const std::string& field) {
  return "Поле \"" + field + "\": нужно целое число от 0 до 99.";
}

}  // namespace

std::optional<std::string> LimitsRefusal(const LimitFields& f) {
  if (!ParseAlertPercent(f.prepaidAlert)) return Percent("Предупреждение о трафике");
  if (!ParseMoneyLimit(f.moneyLimit))
    return std::string("Поле \"Лимит расходов\": нужно число не меньше 0 (или пусто - без лимита).");
  if (!ParseAlertPercent(f.moneyAlert)) return Percent("Предупреждение о расходах");
  return std::nullopt;
}

LimitFields StoredLimitTexts(const LimitFields& f) {
  LimitFields out;
  out.prepaidAlert = std::to_string(ParseAlertPercent(f.prepaidAlert).value_or(kDefaultAlertPercent));
  const double limit = ParseMoneyLimit(f.moneyLimit).value_or(0);
  out.moneyLimit = limit > 0 ? FloatText(limit) : "";
  out.moneyAlert = std::to_string(ParseAlertPercent(f.moneyAlert).value_or(kDefaultAlertPercent));
  return out;
}

LimitsSummary SummarizeLimits(const ReportData& d, const OpenForecast& f, std::optional<double> limit,
                              const std::string& denstr) {
  LimitsSummary s;
  const bool limited = limit && *limit > 0;
  const Figures so = FiguresOf(d.open);
  if (!d.open.stored) {
    s.spent = "Потрачено: текущие счетчики еще не сохранены";
  } else if (!so.money) {
    s.spent = "Потрачено: нет данных";
  } else {
    s.spent = "Потрачено: " + MoneyText(*so.money, denstr);
    if (limited) {
      s.spent += " из " + MoneyText(*limit, denstr) + " (" +
                 std::to_string(WholePercent(RoundMoney(*so.money), *limit)) + " %)";
    } else {
      s.spent += ", лимит не задан";
    }
  }
  if (d.open.stored) {
    auto bytes = [](const std::optional<double>& v) { return v ? BytesText(*v) : std::string("?"); };
    s.traffic = "Трафик: вх. " + bytes(so.in) + ", исх. " + bytes(so.out);
  }
  if (f.figures && f.figures->money) {
    // Whole money units, as the meter's trend notice gives it.
    const double ahead = std::round(*f.figures->money);
    s.forecast = "Прогноз " + PeriodEndPhrase(d.mode) + ": около " + MoneyText(ahead, denstr);
    if (limited && ahead > *limit) s.forecast += ", больше лимита";
  } else {
    s.forecast = f.line;
  }
  return s;
}

}  // namespace vtc
