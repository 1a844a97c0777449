// The statistics window: closed records of statistic.ini, newest first.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace vtc {

class StatisticsWindow {
 public:
  StatisticsWindow();
  ~StatisticsWindow();  // out of line: Impl is complete only there
  StatisticsWindow(const StatisticsWindow&) = delete;
  StatisticsWindow& operator=(const StatisticsWindow&) = delete;
  // Builds the window hidden and fills it once (FillStatistics, which also
  // trims statistic.ini to historyRecords + 1 records).
  bool Create(const std::string& appDir, int historyRecords, const std::string& currency);
  // Rebuilds the text from the file and applies the record limit to it.
  void FillStatistics(int historyRecords);
  void Show();
  HWND hwnd() const;
  // The text box's contents (UTF-8), as a user could copy them.
  std::string Text() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vtc
