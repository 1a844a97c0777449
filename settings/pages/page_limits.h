// Page "Лимиты": how early the meter warns about a prepaid volume and about
// the money limit, the limit itself, and where the open period stands
// against it (read-only, from the running totals and the shared forecast).
// The three fields are saved with "ОК" like the other pages, and only when
// all of them hold what the meter can use.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "settings/control_ids.h"
#include "settings/pages/settings_page.h"
#include "settings/report/report_chart_model.h"
#include "settings/report/report_data.h"

namespace vtc {

class LookPage;

class LimitsPage : public SettingsPage {
 public:
  // `look` holds the currency the period's lines are in.
  explicit LimitsPage(const LookPage& look) : look_(look) {}

  const char* Title() const override { return "Лимиты"; }
  void Build(const PageContext& c) override;
  // The three keys into the fields; a missing key shows its default.
  void Load(const StoredSettings& s) override;
  // The warning that names the first field holding what cannot be stored.
  std::optional<std::string> Refusal() const override;
  // The fields as typed; they are stored as they were understood.
  void Save(StoredSettings& s) const override;
  bool OnCommand(int id, int code) override;
  // The period so far, read afresh.
  void OnShow() override;
  // The period so far with the currency `denstr`.
  void Refresh(const std::string& denstr);

  HWND prepaidAlert() const { return prepaid_; }
  HWND moneyLimit() const { return limit_; }
  HWND moneyAlert() const { return money_; }
  HWND currency() const { return currency_; }
  HWND spentLine() const { return spent_; }
  HWND trafficLine() const { return traffic_; }
  HWND forecastLine() const { return forecast_; }

 private:
  void ShowSummary();

  const LookPage& look_;
  std::string appDir_;
  HWND prepaid_ = nullptr, limit_ = nullptr, money_ = nullptr, currency_ = nullptr;
  HWND spent_ = nullptr, traffic_ = nullptr, forecast_ = nullptr;
  std::string denstr_;
  bool refreshed_ = false;  // the period has been read
  ReportData data_;
  OpenForecast ahead_;
};

}  // namespace vtc
