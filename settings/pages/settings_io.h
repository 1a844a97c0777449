// Moving the settings between their stores (options.ini, the scrambled
// password, the autorun entry) and the controls of the settings window.
#pragma once
#include <string>

#include "router/router_options.h"
#include "common/win/ini.h"
#include "settings/pages/limits_text.h"

namespace vtc {

// The thirteen keys of options.ini the settings program owns, as plain data.
// List indexes are -1 when the stored value matches no entry.
struct OptionValues {
  std::string look;
  std::string denstr;
  int dofIndex = 0;        // week start list
  int statisticIndex = 0;  // statistics period list
  int autoFindIndex = 0;   // auto-detect list (row of the connection type table)
  std::string alphaBlend;
  std::string iface;
  std::string iface2;
  std::string statkol;
  bool showBt = false;
  bool autoClose = false;
  bool stayOnTop = false;
  bool autoUpdate = false;
};

// Reads the keys in the order Look, denstr, dof, Statistic, AutoFind,
// AlphaBlend, Interface, Interface2, Statkol, ShowBt, AutoClose, StayOnTop,
// AutoUpdate; a missing file or key gives the defaults.
OptionValues ReadOptionValues(const IniFile& file);
// Writes Look, AlphaBlend, denstr, Interface, Interface2, Statkol, Statistic,
// dof, AutoFind, ShowBt, AutoClose, StayOnTop, AutoUpdate, in this order, and
// touches no other key. A list without a selection is written as its first entry.
void WriteOptionValues(const IniFile& file, const OptionValues& v);

bool AutorunPresent();
// Ticked: the Run value = appDir + "qmeter4.exe"; clear: the value is deleted.
bool SaveAutorun(bool on, const std::string& appDir);

// Everything the pages show that is stored beside tarif.ini.
struct StoredSettings {
  std::string password;
  bool autorun = false;
  OptionValues options;
  LimitFields limits;  // as typed, or as stored
  RouterOptions router;
};

// Reads the password, the autorun entry, the thirteen keys and the three keys
// of the warnings and the router's four (a missing one shows its default).
StoredSettings ReadSettings(const std::string& appDir);
// The order the stores are written in: the password, the autorun entry, the
// thirteen keys, then the keys of the warnings as they were understood (one
// that is absent and would only get its default stays absent), then Source,
// Router, RouterCommunity and RouterInterface. Failed
// registry writes are not reported: the old password or autorun entry then
// stays, and the settings file is written all the same.
void WriteSettings(const StoredSettings& s, const std::string& appDir);

constexpr const char* kRestartNotice = "Чтобы изменения вступили в силу необходимо перезагрузить программу.";

}  // namespace vtc
