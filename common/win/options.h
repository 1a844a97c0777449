// options.ini as the meter reads and writes it; its key names are in
// common/stored_names.h.
#pragma once
#include <string>

#include "common/budget.h"
#include "router/router_options.h"
#include "common/stored_names.h"
#include "common/win/ini.h"

namespace vtc {

// The options as the meter reads them, with the meter's defaults.
struct MeterOptions {
  bool showBalloons = true;         // ShowBt
  std::string interfaceName;        // Interface
  std::string secondInterfaceName;  // Interface2
  std::string currency;             // Denstr
  int interfaceType = 0;            // AutoFind; 0 means "none chosen", and the meter uses 23 then
  int statistics = 0;               // Statistic: the period in the low 8 bits
  int historyRecords = 0;           // Statkol
  int firstDayOfWeek = 0;           // Dof
  bool windowFollowsLine = false;   // AutoClose
  bool stayOnTop = true;
  int left = 0;
  int top = 0;
  bool visible = true;
  int opacity = 0;  // AlphaBlend
  std::string skin = "Default";  // Look
  bool autoUpdate = false;
  std::string updateUrl;  // empty: the built-in address
  BudgetOptions budget;
  RouterOptions router;
};

// Reads the keys in the meter's order; absent keys give the defaults above.
MeterOptions ReadMeterOptions(const IniFile& file);

// Writes Left, Top, Visible, StayOnTop in this order; other keys stay as they are.
void WriteWindowState(const IniFile& file, int left, int top, bool visible, bool stayOnTop);

}  // namespace vtc
