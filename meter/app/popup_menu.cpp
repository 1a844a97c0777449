#include "meter/app/popup_menu.h"

#include <string>

#include "common/encoding.h"
#include "common/product.h"

namespace vtc {

namespace {
const char* const kCaptions[kMenuItemCount] = {
    "О программе",
    "-",
    "Поверх остальных окон",
    "Плавающее окно",
    "-",
    "Проверить обновление",
    "Текущий тариф",
    "Статистика",
    "-",
    kSettingsTitle,
    "-",
    "Выход",
};
}  // namespace

const char* MenuCaption(int position) {
  if (position < 0 || position >= kMenuItemCount) return "";
  return kCaptions[position];
}

int MenuPositionOf(UINT commandId) {
  if (commandId < kMenuIdBase || commandId >= kMenuIdBase + kMenuItemCount) return -1;
  int pos = static_cast<int>(commandId - kMenuIdBase);
  return std::string(MenuCaption(pos)) == "-" ? -1 : pos;
}

PopupMenu::~PopupMenu() {
  if (menu_) DestroyMenu(menu_);
}

bool PopupMenu::Create() {
  if (menu_) return true;
  menu_ = CreatePopupMenu();
  if (!menu_) return false;
  for (int i = 0; i < kMenuItemCount; ++i) {
    std::string c = kCaptions[i];
    if (c == "-") {
      AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu_, MF_STRING, MenuCommandId(i), Utf8ToWide(c).c_str());
    }
  }
  return true;
}

void PopupMenu::SetChecked(int position, bool checked) {
  if (menu_) CheckMenuItem(menu_, static_cast<UINT>(position), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::IsChecked(int position) const {
  if (!menu_) return false;
  UINT s = GetMenuState(menu_, static_cast<UINT>(position), MF_BYPOSITION);
  return s != static_cast<UINT>(-1) && (s & MF_CHECKED) != 0;
}

UINT PopupMenu::Track(HWND owner, POINT at) const {
  if (!menu_) return 0;
  SetForegroundWindow(owner);
  UINT cmd = static_cast<UINT>(TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NOANIMATION,
                                              at.x, at.y, 0, owner, nullptr));
  // Lets the owner's thread notice the menu has gone, so that a second click
  // on the tray icon opens it again at once.
  PostMessageW(owner, WM_NULL, 0, 0);
  return cmd;
}

}  // namespace vtc
