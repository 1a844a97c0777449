// The "Текущий тариф" notice without the platform: which balloon to show for
// the tariff in force.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/notice.h"
#include "meter/tariff/tariffs.h"

namespace vtc {

// Prices of one megabyte in and out and of one hour online for the tariff at
// `active`; the no-tariff notice when `active` names no tariff of the table.
Notice TariffInfoBalloon(const std::vector<TTariff>& tariffs, int active, const std::string& currency);

}  // namespace vtc
