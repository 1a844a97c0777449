// The password window of the gate: "Введите пароль", a masked field and "OK".
// With a stored password the settings stay hidden until it is typed; one
// attempt, and anything but the right password ends the program silently.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/password_prompt.h"

namespace vtc {

class PasswordWindow : public PasswordPrompt {
 public:
  // Builds the window hidden and centred. `onClosed(unlocked)` runs once when
  // the window closes: true when the right password was confirmed.
  bool Create(HFONT font, std::function<void(bool unlocked)> onClosed);

  // Runs the gate against `stored` (UTF-8): with an empty one the window stays
  // hidden and the result is true (open); otherwise the window shows and the
  // result is false (locked until the window closes).
  bool RunGate(const std::string& stored);

  bool locked() const { return locked_; }

 protected:
  void OnConfirm(const std::string& typed) override;
  void OnDestroyed() override;

 private:
  std::string stored_;
  bool locked_ = false;
  bool closed_ = false;
  std::function<void(bool)> onClosed_;
};

// Exact comparison, letter case counts.
bool PasswordMatches(const std::string& typed, const std::string& stored);

}  // namespace vtc
