// options.ini, section Options: the one settings file both programs share.
// Key names are matched without regard to case, so the settings program's
// spellings ("denstr", "Statkol", "dof") name the meter's keys.
#pragma once
#include <string>

#include "common/win/ini.h"

namespace vtc {

constexpr const char* kOptionsSection = "Options";

namespace optkey {
constexpr const char* ShowBt = "ShowBt";
constexpr const char* Interface = "Interface";
constexpr const char* Interface2 = "Interface2";
constexpr const char* Denstr = "Denstr";
constexpr const char* AutoFind = "AutoFind";
constexpr const char* Statistic = "Statistic";
constexpr const char* Statkol = "statkol";
constexpr const char* Dof = "Dof";
constexpr const char* AutoClose = "AutoClose";
constexpr const char* StayOnTop = "StayOnTop";
constexpr const char* Left = "Left";
constexpr const char* Top = "Top";
constexpr const char* Visible = "Visible";
constexpr const char* AlphaBlend = "AlphaBlend";
constexpr const char* Look = "Look";
constexpr const char* AutoUpdate = "AutoUpdate";
// Address of the update file; only the meter reads it, nobody writes it.
constexpr const char* UpdateURL = "UpdateURL";
}  // namespace optkey

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
};

// Reads the keys in the meter's order; absent keys give the defaults above.
MeterOptions ReadMeterOptions(const IniFile& file);

// Writes Left, Top, Visible, StayOnTop in this order; other keys stay as they are.
void WriteWindowState(const IniFile& file, int left, int top, bool visible, bool stayOnTop);

}  // namespace vtc
