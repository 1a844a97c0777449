// Page "Общие": password, autorun, statistics period, week start, record count.
#pragma once
#include <windows.h>

namespace vtc {

struct PageGeneral {
  HWND page = nullptr;  // the page window; its WM_COMMAND goes to the settings window
  HWND passwordCaption = nullptr;
  HWND password = nullptr;  // masked field
  HWND autorun = nullptr;   // check box
  HWND statCaption = nullptr;
  HWND statPeriod = nullptr;  // drop-down list, 5 entries
  HWND weekCaption = nullptr;
  HWND weekStart = nullptr;  // drop-down list, 7 entries
  HWND recordsCaption = nullptr;
  HWND records = nullptr;  // field

  // Builds the page (hidden) over the tab control's display area.
  void Create(HWND tab, HFONT font);
};

}  // namespace vtc
