// Page "Лимиты": how early the meter warns about a prepaid volume and about
// the money limit, the limit itself, and where the open period stands
// against it (read-only, from the running totals and the shared forecast).
// The three fields are saved with "ОК" like the other pages, and only when
// all of them hold what the meter can use.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/ini.h"
#include "settings/control_ids.h"
#include "settings/report/report_chart_model.h"
#include "settings/report/report_data.h"

namespace vtc {

class LimitsPage {
 public:
  // `owner` parents the warning box; `appDir` ends with a backslash.
  void Create(HWND tab, HFONT font, HWND owner, const std::string& appDir);
  // The three keys into the fields; a missing key shows its default.
  void Load(const IniFile& options);
  // The period so far, read afresh, with the currency typed on page "Интерфейс".
  void Refresh(const std::string& denstr);
  // True when `id` is one of the page's controls.
  bool OnCommand(int id, int code);
  // False, after a warning that names the field, when a field holds what
  // cannot be stored; then nothing may be saved.
  bool Acceptable();
  // Writes PrepaidAlert, MoneyLimit and MoneyAlert as they were understood,
  // each unless it is absent and would only get its default; only after
  // Acceptable().
  void Save(const IniFile& options) const;

  // Where warnings go: a message box captioned "Настройки" unless set (tests).
  std::function<void(const std::string&)> warn;

  HWND page() const { return page_; }
  HWND prepaidAlert() const { return prepaid_; }
  HWND moneyLimit() const { return limit_; }
  HWND moneyAlert() const { return money_; }
  HWND currency() const { return currency_; }
  HWND spentLine() const { return spent_; }
  HWND trafficLine() const { return traffic_; }
  HWND forecastLine() const { return forecast_; }

 private:
  void ShowSummary();

  HWND owner_ = nullptr;
  std::string appDir_;
  HWND page_ = nullptr;
  HWND prepaid_ = nullptr, limit_ = nullptr, money_ = nullptr, currency_ = nullptr;
  HWND spent_ = nullptr, traffic_ = nullptr, forecast_ = nullptr;
  std::string denstr_;
  bool refreshed_ = false;  // the period has been read
  ReportData data_;
  OpenForecast ahead_;
};

}  // namespace vtc
