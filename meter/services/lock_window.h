// The exit password: reading the stored one, and the window that asks for it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/password.h"
#include "common/win/password_prompt.h"
#include "common/win/ui.h"

namespace vtc {

class LockWindow : public PasswordPrompt {
 public:
  static constexpr int kClientWidth = 226;
  static constexpr int kClientHeight = 48;

  // Built hidden. `expected` is the password the last exit request read
  // (borrowed; it lives in the meter's state); `onMatch` is run when the
  // user confirms that password.
  // `owner` (the program's hidden application window) keeps it off the taskbar.
  bool Create(HWND owner, const std::string* expected, std::function<void()> onMatch);

  void ClearBox();
  void Show() { ShowPrompt(); }
  // The "OK" action: exact, case-sensitive comparison; hides the window in
  // every case and gives no message for a wrong password.
  void Confirm();

  HWND box() const { return field(); }
  HWND button() const { return okButton(); }

 protected:
  void OnConfirm(const std::string&) override { Confirm(); }

 private:
  const std::string* expected_ = nullptr;
  std::function<void()> onMatch_;
  Font font_;
};

}  // namespace vtc
