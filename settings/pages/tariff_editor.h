// Behaviour of the page "Тарифы": the tariff list kept in step with tarif.ini
// and the editor of one tariff. Every add, delete and save is written to the
// file at once; "ОК" and "Отмена" of the settings window do not touch tariffs.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/win/ini.h"
#include "settings/pages/tariff_logic.h"

namespace vtc {

class TariffsPage;

class TariffEditor {
 public:
  // `owner` parents the warning boxes; `page` owns this.
  void Attach(HWND owner, TariffsPage& page);
  // Opens the tariff file and lists its sections in file order.
  void Load(const std::string& tarifPath);
  // Clears every field and day box and enables or disables the editor. The
  // list, "Добавить" and "Удалить" are never disabled.
  void Empty(bool enabled);
  // A control of the page, by its ID, told the window `code`; true when the
  // ID is one of the page's.
  bool OnCommand(int id, int code);

  void ShowSelected();  // the tariff list's selection changed
  void Save();          // "Сохранить"
  void Add();           // "Добавить"
  void Delete();        // "Удалить", without asking
  void SetAllDays(bool ticked);

  // The fields as typed, and filling them.
  TariffFields Fields() const;
  void SetFields(const TariffFields& f);
  std::vector<std::string> Names() const;
  bool Enabled() const;

  // Where warnings go: a message box captioned "Настройки" with the warning
  // icon unless replaced (tests collect them instead).
  std::function<void(const std::string&)> warn;

 private:
  void Warn(TariffRefusal r);

  HWND owner_ = nullptr;
  TariffsPage* page_ = nullptr;  // borrowed: the page that owns this
  std::optional<IniFile> file_;
};

}  // namespace vtc
