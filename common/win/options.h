// options.ini as the meter reads and writes it; its key names are in
// common/stored_names.h.
#pragma once
#include <string>

#include "common/budget.h"
#include "common/stored_names.h"
#include "common/win/ini.h"

namespace vtc {

// The options as the meter reads them, with the meter's defaults.
struct MeterOptions {
  bool showBt = true;
  std::string iface;
  std::string iface2;
  std::string denstr;
  int autoFind = 0;  // 0 means "none chosen"; the meter uses 23 then
  int statistic = 0;
  int statkol = 0;
  int dof = 0;
  bool autoClose = false;
  bool stayOnTop = true;
  int left = 0;
  int top = 0;
  bool visible = true;
  int alphaBlend = 0;
  std::string look = "Default";
  bool autoUpdate = false;
  std::string updateUrl;  // empty: the built-in address
  BudgetOptions budget;
};

// Reads the keys in the meter's order; absent keys give the defaults above.
MeterOptions ReadMeterOptions(const IniFile& file);

// Writes Left, Top, Visible, StayOnTop in this order; other keys stay as they are.
void WriteWindowState(const IniFile& file, int left, int top, bool visible, bool stayOnTop);

}  // namespace vtc
