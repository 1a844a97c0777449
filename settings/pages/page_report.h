// Page "Отчёт": the history of closed periods as a chart, the open period and
// its forecast, the average per day over the periods in view, and the export
// to CSV. It reads the stores afresh each time it is shown and writes none
// of them.
#pragma once
#include <windows.h>

#include <string>

#include "settings/control_ids.h"
#include "settings/pages/settings_page.h"
#include "settings/report/report_chart.h"
#include "settings/report/report_chart_model.h"
#include "settings/report/report_data.h"

namespace vtc {

class ReportPage : public SettingsPage {
 public:
  const char* Title() const override { return "Отчёт"; }
  // The window parents the save dialog and the message boxes.
  void Build(const PageContext& c) override;
  bool OnCommand(int id, int code) override;
  // The report is read whenever it is looked at: the meter moves its totals on.
  void OnShow() override { Refresh(); }
  void Refresh();
  // Writes the CSV file to `path` and says in a message box when it could not.
  void ExportTo(const std::wstring& path);

  ReportChart& chart() { return chart_; }
  HWND openLine() const { return openLine_; }
  HWND forecastLine() const { return forecastLine_; }
  HWND averageLine() const { return averageLine_; }
  HWND exportButton() const { return export_; }

 private:
  void ShowAverage();
  void AskAndExport();

  HWND owner_ = nullptr;
  std::string appDir_;
  ReportChart chart_;
  HWND openLine_ = nullptr;
  HWND forecastLine_ = nullptr;
  HWND averageLine_ = nullptr;
  HWND export_ = nullptr;
  ReportData data_;
  OpenForecast forecast_;
};

}  // namespace vtc
