// Online seconds nobody can vouch for yet. A tick without a reading (the
// interface table could not be read, the router did not answer) does not
// know whether the line is still up: its second is held aside, priced by the
// tariff in force at that second, and the next reading decides. The line
// kept (the same row is back, the router's own record shows its WAN link up
// all along): the seconds and their money join the online period and the
// totals. Otherwise they are dropped: nothing invented, nothing lost.
// Platform-free.
#pragma once
#include "meter/traffic/meter_state.h"

namespace vtc {

class HeldSeconds {
 public:
  // One second, at the price of a second under the tariff in force now.
  void Hold(double price) {
    seconds_ += 1;
    money_ += price;
  }
  double seconds() const { return seconds_; }
  double money() const { return money_; }

  // The line was up all along.
  void Keep(MeterState& s) {
    s.sessionTime += seconds_;
    s.totalTime += seconds_;
    s.sessionMoney += money_;
    s.totalMoney += money_;
    Drop();
  }
  void Drop() { seconds_ = money_ = 0; }

 private:
  double seconds_ = 0, money_ = 0;
};

}  // namespace vtc
