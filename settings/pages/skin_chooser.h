// Behaviour of the page "Интерфейс": the skin list filled from the folders
// under Look\, the author and name of the skin the user picks, and the skin
// test ("Тест скина").
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/pages/skin_test_window.h"

namespace vtc {

// Names of the entries of `lookDir` (ending with a backslash) that have no
// extension, "." and ".." left out, in the order the platform gives them.
// Files count as much as folders.
std::vector<std::string> SkinFolderNames(const std::string& lookDir);

class SkinChooser {
 public:
  // `page` is the window of the page that owns this, holding the skin list,
  // the opacity field and the skin information by their IDs; `appDir` ends
  // with a backslash.
  void Attach(HWND owner, HWND page, const std::string& appDir);
  // The preview starts empty.
  void CreatePreview();
  void FillSkinList();
  // The skin test window, hidden until the first test.
  void BuildTestWindow();
  // A control of the page, by its ID, told the window `code`; true when the
  // ID is one of the page's.
  bool OnCommand(int id, int code);

  // The user picked a skin: author line and skin name from its look.ini.
  void ShowSkinInfo();
  // "Тест скина".
  void RunTest();

  SkinTestWindow& testWindow() { return test_; }

 private:
  std::string SelectedSkin() const;
  HWND Item(int id) const { return GetDlgItem(page_, id); }

  HWND owner_ = nullptr;
  HWND page_ = nullptr;  // borrowed: the page's window
  std::string appDir_;
  SkinTestWindow test_;
};

}  // namespace vtc
