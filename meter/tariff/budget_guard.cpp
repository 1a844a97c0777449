#include "meter/tariff/budget_guard.h"

#include <algorithm>
#include <cmath>

#include "common/tariff_format.h"
#include "common/text.h"

namespace vtc {
namespace {

const char kPrepaidTitle[] = "Предоплаченный трафик";
const char kPrepaidGoneTitle[] = "Предоплаченный трафик исчерпан";
const char kMoneyTitle[] = "Расходы за период";
const char kLimitTitle[] = "Лимит расходов исчерпан";
const char kTrendTitle[] = "Прогноз расходов";

constexpr uint32_t kUsedUp = 100;

// Never below the mark that was found crossed: a division must not make
// 80 % read as 79.
std::string PercentText(double part, double whole, int mark) {
  return std::to_string(std::max<long long>(WholePercent(part, whole), mark)) + " %";
}

// Money as the user sees it, to the hundredth; nothing spent reaches nothing.
bool MoneyReached(double money, double threshold) {
  return money > 0 && std::round(money * 100) >= std::round(threshold * 100);
}

struct Direction {
  const char* name;  // "Входящий", "Исходящий"
  double total;
  double volume;
  double pricePerByte;
  uint32_t Announced::*done;
};

// A prepaid volume is worth a warning when the bytes beyond it cost money:
// the tariff prices traffic, not time, and this direction has a price.
bool Judged(const TTariff* t, const Direction& d) {
  return t && !(t->pricePerSecond > 0) && d.volume > 0 && d.pricePerByte > 0;
}

std::optional<Alert> PrepaidAlert(const GuardInput& in, const Announced& done) {
  const TTariff* t = in.tariff;
  if (!t) return std::nullopt;
  const Direction dirs[2] = {
      {"Входящий", in.totalIn, t->freeIn, t->pricePerByteIn, &Announced::prepaidIn},
      {"Исходящий", in.totalOut, t->freeOut, t->pricePerByteOut, &Announced::prepaidOut},
  };
  // Nearly used: the early warning, unless the volume is gone already.
  const int p = in.budget.prepaidAlert;
  for (const Direction& d : dirs) {
    if (!Judged(t, d) || p <= 0 || d.total >= d.volume || done.*d.done >= static_cast<uint32_t>(p)) continue;
    if (d.total * 100 < d.volume * p) continue;  // exact in bytes: both sides are whole numbers
    Alert a{{std::string(d.name) + ": использовано " + PercentText(d.total, d.volume, p) + " (" + BytesText(d.total) +
                 " из " + BytesText(d.volume) + ")",
             kNoticeSeconds, kBalloonInfo, kPrepaidTitle},
            done};
    a.after.*d.done = static_cast<uint32_t>(p);
    return a;
  }
  // Used up: from here on the tick is charged (the pricing compares with >,
  // so the byte that ends exactly on the volume was the last free one).
  for (const Direction& d : dirs) {
    if (!Judged(t, d) || d.total < d.volume || done.*d.done >= kUsedUp) continue;
    Alert a{{std::string(d.name) + " трафик теперь платный: 1Mb стоит " +
                 MoneyText(d.pricePerByte * kBytesPerMegabyte, in.currency),
             kNoticeSeconds, kBalloonWarning, kPrepaidGoneTitle},
            done};
    a.after.*d.done = kUsedUp;
    return a;
  }
  return std::nullopt;
}

std::optional<Alert> MoneyAlert(const GuardInput& in, const Announced& done) {
  const double limit = in.budget.moneyLimit;
  if (!(limit > 0)) return std::nullopt;
  const std::string limitText = MoneyText(limit, in.currency);
  if (MoneyReached(in.totalMoney, limit)) {
    if (done.money >= kUsedUp) return std::nullopt;
    Alert a{{"Потрачено " + MoneyText(in.totalMoney, in.currency) + " при лимите " + limitText, kNoticeSeconds,
             kBalloonWarning, kLimitTitle},
            done};
    a.after.money = kUsedUp;
    return a;
  }
  const int p = in.budget.moneyAlert;
  if (p > 0 && done.money < static_cast<uint32_t>(p) && MoneyReached(in.totalMoney, limit * p / 100)) {
    Alert a{{"Потрачено " + PercentText(RoundMoney(in.totalMoney), limit, p) + " лимита: " +
                 MoneyText(in.totalMoney, in.currency) + " из " + limitText,
             kNoticeSeconds, kBalloonInfo, kMoneyTitle},
            done};
    a.after.money = static_cast<uint32_t>(p);
    return a;
  }
  // The trend: once a day, while the limit still holds and the pace would
  // pass it by the period's end.
  if (done.trendDay == static_cast<uint32_t>(in.now.day)) return std::nullopt;
  if (!PeriodIsCurrent(in.statisticsMode, in.firstDayOfWeek, in.period, in.now)) return std::nullopt;
  const std::optional<double> ahead = Forecast(in.totalMoney, in.statisticsMode, in.firstDayOfWeek, in.now);
  if (!ahead || !(std::round(*ahead) > limit)) return std::nullopt;
  Alert a{{"При нынешнем расходе " + PeriodEndPhrase(in.statisticsMode) + ": около " +
               MoneyText(std::round(*ahead), in.currency) + " (лимит " + limitText + ")",
           kNoticeSeconds, kBalloonInfo, kTrendTitle},
          done};
  a.after.trendDay = static_cast<uint32_t>(in.now.day);
  return a;
}

}  // namespace

std::optional<Alert> NextAlert(const GuardInput& in, const Announced& done) {
  if (auto a = PrepaidAlert(in, done)) return a;
  return MoneyAlert(in, done);
}

}  // namespace vtc
