// Tariffs: the meter's reading of tarif.ini, the choice of the tariff in force
// and the price of one tick.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/tariff_format.h"
#include "common/notice.h"

namespace vtc {

struct TTariff {
  std::string name;  // at most 31 characters
  uint16_t startHhmm = 0;
  uint16_t endHhmm = 0;
  double freeIn = 0, freeOut = 0;
  double pricePerByteIn = 0, pricePerByteOut = 0;
  double pricePerSecond = 0;
  bool days[7] = {};  // Monday first
};

// Never fails: a missing or empty file gives an empty table; sections beyond
// the 127th are ignored. Names keep their first 31 characters.
std::vector<TTariff> LoadTariffs(const std::string& path);

// Time of day as the selection sees it: hours * 100 + minutes, seconds ignored.
uint16_t TimeOfDay(const LocalTime& now);

// Index of the first tariff in file order whose range (both ends inclusive)
// holds `now` on a day it applies; -1 when none does.
int MatchTariff(const std::vector<TTariff>& tariffs, const LocalTime& now);

struct TariffChoice {
  int active = -1;
  std::optional<Notice> notice;  // what to tell the user, if anything
};

// The new ActiveTariff (the old one when nothing matches), with the notice
// for the user when a tariff with another name becomes active and ShowBt is on.
TariffChoice SelectTariff(const std::vector<TTariff>& tariffs, const LocalTime& now, int active, bool showBt);

// Price of one online tick; totals already include this tick. `seconds`:
// how long the tick's bytes took to pass. The tick that crosses a prepaid
// amount pays for its whole delta only when the delta is one second's; one
// that brings many seconds' bytes at once (a router's answer after a
// silence) pays for what lies beyond the amount.
double PriceTick(double dIn, double dOut, double totalIn, double totalOut, const std::vector<TTariff>& tariffs,
                 int active, double seconds = 1);

// The start-up error text when no tariff is in force (ends with one CR).
std::string NoTariffErrorText(int tariffCount);

// The text shown when a tariff becomes active.
std::string TariffActiveNotice(const std::string& name);

// No tariff in force: at start-up (shown only with ShowBt on), and as the
// tariff box's text.
constexpr const char* kNoTariffText = "Нет активного тарифа.";
Notice NoTariffNotice();

}  // namespace vtc
