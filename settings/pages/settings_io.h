// Moving the settings between their stores (options.ini, the scrambled
// password, the autorun entry) and the controls of the settings window.
#pragma once
#include <functional>
#include <string>

#include "common/win/ini.h"

namespace vtc {

struct PageGeneral;
struct PageLook;
struct PageTraffic;

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

// The pages whose controls hold the settings; all borrowed.
struct SettingsControls {
  const PageGeneral* general = nullptr;
  const PageLook* look = nullptr;
  const PageTraffic* traffic = nullptr;
};

// Steps of loading that belong to the pages' behaviour objects.
struct LoadSteps {
  std::function<void()> openTariffs;    // open tarif.ini, fill the tariff list
  std::function<void()> createPreview;  // the empty preview bitmap of the skin test
  std::function<void()> fillSkinList;   // the skin list, before Look is selected
};

void LoadSettings(const SettingsControls& c, const std::string& iniPath, const LoadSteps& steps);
void SaveSettings(const SettingsControls& c, const std::string& iniPath, const std::string& appDir);

constexpr const char* kRestartNotice = "Чтобы изменения вступили в силу необходимо перезагрузить программу.";

}  // namespace vtc
