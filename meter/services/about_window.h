// The About window: product, version, author, thanks and contacts.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/gdi.h"
#include "common/win/ui.h"
#include "common/win/window.h"

namespace vtc {

// The fixed texts, also used by the tests (UTF-8).
std::string AboutAuthorLine();
std::string AboutThanksText();  // lines separated by CR LF

class AboutWindow : public BaseWindow {
 public:
  static constexpr int kClientWidth = 368;
  static constexpr int kClientHeight = 452;

  // Built hidden and centred; `owner` (the program's hidden application
  // window) keeps it off the taskbar.
  bool Create(HWND owner = nullptr);
  void Show();    // a shown window simply stays shown
  void Hide();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Font title_, version_, author_, heading_, contactHeading_, body_, link_, button_;
  Brush back_;
  HWND contacts_[3] = {};
};

}  // namespace vtc
