// The statistics window: closed records of statistic.ini, newest first.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "meter/core/balloon.h"
#include "meter/tariff/tariffs.h"

namespace vtc {

class StatisticsWindow {
 public:
  StatisticsWindow();
  ~StatisticsWindow();
  // Builds the window hidden and fills it once (FillStatistics, which also
  // trims statistic.ini to statkol + 1 records).
  bool Create(const std::string& appDir, int statkol, const std::string& denstr);
  void Show();
  HWND hwnd() const;

 private:
  struct Impl;
  Impl* impl_;
};

// The "Текущий тариф" notice, shown whatever ShowBt says.
void ShowTariffInfo(const std::vector<TTariff>& tariffs, int active, const std::string& denstr, BalloonSink& sink);

}  // namespace vtc
