// Choosing the tariff in force and pricing one tick. Platform-free: the clock
// and the notification area come in as arguments.
#include "meter/tariff/tariffs.h"

#include <algorithm>

#include "common/product.h"

namespace vtc {

namespace {

bool ValidIndex(const std::vector<TTariff>& tariffs, int i) {
  return i >= 0 && static_cast<size_t>(i) < tariffs.size();
}

}  // namespace

uint16_t TimeOfDay(const LocalTime& now) { return static_cast<uint16_t>(now.hour * 100 + now.minute); }

int MatchTariff(const std::vector<TTariff>& tariffs, const LocalTime& now) {
  if (now.weekday < 1 || now.weekday > 7) return -1;
  const uint16_t t = TimeOfDay(now);
  for (size_t i = 0; i < tariffs.size(); ++i) {
    const TTariff& tariff = tariffs[i];
    if (tariff.startHhmm <= t && t <= tariff.endHhmm && tariff.days[now.weekday - 1]) return static_cast<int>(i);
  }
  return -1;
}

std::string TariffActiveNotice(const std::string& name) { return "Тариф \"" + name + "\" активен."; }

TariffChoice SelectTariff(const std::vector<TTariff>& tariffs, const LocalTime& now, int active, bool showBt) {
  int found = MatchTariff(tariffs, now);
  if (found < 0) return {active, std::nullopt};  // the tariff in force stays in force
  // Tariffs are told apart by name: re-selecting the same tariff, or moving to
  // a same-named one, is not news for the user.
  bool renamed = !ValidIndex(tariffs, active) || tariffs[active].name != tariffs[found].name;
  TariffChoice choice{found, std::nullopt};
  if (showBt && renamed) choice.notice = Notice{TariffActiveNotice(tariffs[found].name), kNoticeSeconds, kBalloonNone, kProductTitle};
  return choice;
}

double PriceTick(double dIn, double dOut, double totalIn, double totalOut, const std::vector<TTariff>& tariffs,
                 int active, double seconds) {
  if (!ValidIndex(tariffs, active)) return 0;
  const TTariff& t = tariffs[active];
  if (t.pricePerSecond > 0) return t.pricePerSecond;  // one tick is one second online
  // The totals already hold this tick, so the tick that crosses the prepaid
  // amount pays for all of its bytes and one that ends exactly on it is free.
  const bool catchUp = seconds > 1;
  const auto charged = [catchUp](double delta, double total, double free) {
    if (total <= free) return 0.0;
    return catchUp ? std::min(delta, total - free) : delta;
  };
  return charged(dIn, totalIn, t.freeIn) * t.pricePerByteIn + charged(dOut, totalOut, t.freeOut) * t.pricePerByteOut;
}

std::string NoTariffErrorText(int tariffCount) {
  return "Ошибка 308: Текущее состояние не подходит под указанные тарифы (Кол-во тарифов: " +
         std::to_string(tariffCount) + ")\r";
}

Notice NoTariffNotice() { return Notice{kNoTariffText, kNoticeSeconds, kBalloonError, kProductTitle}; }

}  // namespace vtc
