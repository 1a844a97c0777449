// Page "Общие": password, autorun, statistics period, week start, record count.
#pragma once
#include <windows.h>

#include "settings/pages/settings_page.h"

namespace vtc {

class GeneralPage : public SettingsPage {
 public:
  const char* Title() const override { return "Общие"; }
  void Build(const PageContext& c) override;
  void Load(const StoredSettings& s) override;
  void Save(StoredSettings& s) const override;
  bool OnCommand(int id, int) override;  // no behaviour of its own

  HWND passwordCaption = nullptr;
  HWND password = nullptr;  // masked field
  HWND autorun = nullptr;   // check box
  HWND statCaption = nullptr;
  HWND statPeriod = nullptr;  // drop-down list, 5 entries
  HWND weekCaption = nullptr;
  HWND weekStart = nullptr;  // drop-down list, 7 entries
  HWND recordsCaption = nullptr;
  HWND records = nullptr;  // field
};

}  // namespace vtc
