#include "meter/traffic/display.h"

#include "common/text.h"

namespace vtc {

namespace {

std::string Money(double v, const std::string& currency) { return FloatText(RoundMoney(v)) + " " + currency; }

}  // namespace

std::string LabelText(int number, const MeterState& s, const std::string& currency, double dIn, double dOut) {
  switch (number) {
    case 1: return BytesText(s.sessionIn);
    case 2: return BytesText(s.sessionOut);
    case 3: return Money(s.sessionMoney, currency);
    case 4: return FormatBytes(dIn) + "b/s";
    case 5: return FormatBytes(dOut) + "b/s";
    case 6: return FormatBytes(s.maxIn) + "b/s";
    case 7: return FormatBytes(s.maxOut) + "b/s";
    case 8: return BytesText(s.totalIn);
    case 9: return BytesText(s.totalOut);
    case 10: return Money(s.totalMoney, currency);
    case 11: return FormatSeconds(s.sessionTime);
    case 12: return FormatSeconds(s.totalTime);
    default: return "";
  }
}

}  // namespace vtc
