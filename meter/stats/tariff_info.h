// The "Текущий тариф" notice without the platform: which balloon to show for
// the tariff in force.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "meter/tariff/tariffs.h"

namespace vtc {

struct BalloonRequest {
  std::string text;
  uint8_t seconds = 0;
  uint8_t icon = 0;
  std::string title;
};

// Prices of one megabyte in and out and of one hour online for the tariff at
// `active`; the no-tariff notice when `active` names no tariff of the table.
BalloonRequest TariffInfoBalloon(const std::vector<TTariff>& tariffs, int active, const std::string& denstr);

}  // namespace vtc
