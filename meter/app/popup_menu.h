// The meter's popup menu: twelve items at fixed positions, shared by the tray
// icon and the floating window.
#pragma once
#include <windows.h>

namespace vtc {

// Positions of the items; the command id of an item is kMenuIdBase + position.
enum MenuItem : int {
  kMenuAbout = 0,
  kMenuStayOnTop = 2,
  kMenuFloating = 3,
  kMenuUpdate = 5,
  kMenuTariff = 6,
  kMenuStatistics = 7,
  kMenuSettings = 9,
  kMenuExit = 11,
};
constexpr int kMenuItemCount = 12;
constexpr UINT kMenuIdBase = 40100;

constexpr UINT MenuCommandId(int position) { return kMenuIdBase + static_cast<UINT>(position); }
// Position of a command id, or -1 when the id is not one of the menu's.
int MenuPositionOf(UINT commandId);

// Caption of an item (UTF-8); separators are "-".
const char* MenuCaption(int position);

class PopupMenu {
 public:
  PopupMenu() = default;
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  bool Create();
  HMENU handle() const { return menu_; }

  void SetChecked(int position, bool checked);
  bool IsChecked(int position) const;

  // Opens the menu at a screen point on behalf of `owner` and returns the
  // chosen command id (0 when dismissed). The owner becomes the foreground
  // window first, or the menu would not close when the user clicks elsewhere.
  UINT Track(HWND owner, POINT at) const;

 private:
  HMENU menu_ = nullptr;
};

}  // namespace vtc
