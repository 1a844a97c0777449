// The password window of the gate: "Введите пароль", a masked field and "OK".
// With a stored password the settings stay hidden until it is typed; one
// attempt, and anything but the right password ends the program silently.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/ui.h"
#include "common/win/window.h"

namespace vtc {

class PasswordWindow : public BaseWindow<PasswordWindow> {
 public:
  // Builds the window hidden and centred. `onClosed(unlocked)` runs once when
  // the window closes: true when the right password was confirmed.
  bool Create(HFONT font, std::function<void(bool unlocked)> onClosed);

  // Runs the gate against `stored` (UTF-8): with an empty one the window stays
  // hidden and the result is true (open); otherwise the window shows and the
  // result is false (locked until the window closes).
  bool RunGate(const std::string& stored);

  HWND field() const { return field_; }
  HWND okButton() const { return ok_; }
  bool locked() const { return locked_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnConfirm();

  std::string stored_;
  bool locked_ = false;
  bool closed_ = false;
  HWND label_ = nullptr;
  HWND field_ = nullptr;
  HWND ok_ = nullptr;
  std::function<void(bool)> onClosed_;
};

// Exact comparison, letter case counts.
bool PasswordMatches(const std::string& typed, const std::string& stored);

}  // namespace vtc
