#include "meter/tariff/tariff_info.h"

#include "common/product.h"
#include "common/tariff_format.h"
#include "common/text.h"

namespace vtc {
namespace {

const char kTitlePrefix[] = "Тариф \"";
const char kInPrice[] = "1Мб Входящего трафика = ";
const char kOutPrice[] = "1Мб Исходящего трафика = ";
const char kHourPrice[] = "1час времени в интернете  = ";

std::string Price(double v, const std::string& currency) { return FloatText(RoundMoney(v)) + " " + currency; }

}  // namespace

Notice TariffInfoBalloon(const std::vector<TTariff>& tariffs, int active, const std::string& currency) {
  Notice b;
  // An index outside the table (the table is never changed while the meter
  // runs, so this means a caller's mistake) is told as "no tariff" rather
  // than read past the end.
  if (active < 0 || static_cast<size_t>(active) >= tariffs.size()) {
    b.text = kNoTariffText;
    b.icon = kBalloonError;
    b.title = kProductTitle;
    return b;
  }
  const TTariff& t = tariffs[static_cast<size_t>(active)];
  b.icon = kBalloonNone;
  b.title = kTitlePrefix + t.name + "\"";
  b.text = kInPrice + Price(t.pricePerByteIn * kBytesPerMegabyte, currency) + "\r" + kOutPrice +
           Price(t.pricePerByteOut * kBytesPerMegabyte, currency) + "\r" + kHourPrice + Price(t.pricePerSecond * kSecondsPerHour, currency);
  return b;
}

}  // namespace vtc
