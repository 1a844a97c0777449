// Behaviour of the page "Учет трафика": "Найти" lists the interfaces of the
// chosen connection type from the platform's interface table, and the two
// buttons under the list copy the picked description into the primary or the
// secondary interface field.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "settings/pages/interface_rows.h"

namespace vtc {

class TrafficPage;

// The interface table's rows, or nullopt when the platform would not give it.
std::optional<std::vector<InterfaceRow>> ReadInterfaceRows();

class InterfaceChooser {
 public:
  // `page` owns this.
  void Attach(HWND owner, TrafficPage& page);
  // A control of the page, by its ID, told the window `code`; true when the
  // ID is one of the page's.
  bool OnCommand(int id, int code);

  void Find();
  void MakePrimary();
  void MakeSecondary();

 private:
  void CopyFound(HWND field);

  HWND owner_ = nullptr;
  TrafficPage* page_ = nullptr;  // borrowed: the page that owns this
};

}  // namespace vtc
