// Tariffs: the meter's reading of tarif.ini, the choice of the tariff in force
// and the price of one tick.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/clock.h"
#include "meter/core/balloon.h"

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

constexpr int kMaxTariffs = 127;

// Never fails: a missing or empty file gives an empty table; sections beyond
// the 127th are ignored.
std::vector<TTariff> LoadTariffs(const std::string& path);

// Returns the new ActiveTariff (the old one when nothing matches) and tells
// the user through `sink` when a tariff with another name becomes active.
int SelectTariff(const std::vector<TTariff>& tariffs, const LocalTime& now, int active, bool showBt,
                 BalloonSink& sink);

// Price of one online tick; totals already include this tick.
double PriceTick(double dIn, double dOut, double totalIn, double totalOut, const std::vector<TTariff>& tariffs,
                 int active);

// The start-up error text when no tariff is in force (ends with one CR).
std::string NoTariffErrorText(int tariffCount);

}  // namespace vtc
