// The meter's program-wide record: options the tick needs, the online-period
// values, the running totals, the baselines and the flags.
#pragma once
#include <cstdint>
#include <string>

namespace vtc {

struct MeterState {
  std::string appDir;  // program folder with a trailing backslash (UTF-8)

  double prevIn = 0, prevOut = 0;  // counter sums at the previous online tick
  double sessionIn = 0, sessionOut = 0, sessionTime = 0, sessionMoney = 0;
  double maxIn = 0, maxOut = 0;
  double totalIn = 0, totalOut = 0, totalMoney = 0, totalTime = 0;

  bool firstOnline = true;
  bool exitAllowed = false;
  int8_t activeTariff = -1;
  int8_t tariffCount = 0;

  // Options the tick needs.
  bool showBt = true;
  std::string iface, iface2, denstr;
  int autoFindType = 23;
  int statkol = 0;
  bool autoClose = false;

  // The unscrambled exit password read by the last exit request.
  std::string password;
};

}  // namespace vtc
