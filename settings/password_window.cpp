#include "settings/password_window.h"

#include "settings/control_ids.h"

namespace vtc {
namespace {

constexpr const char* kPrompt = "Введите пароль";

// Enter does not confirm, closing is a refusal. "OK" is in Latin letters,
// unlike the settings window's button.
const PasswordPrompt::Look kGateLook = {
    .className = L"VtcPasswordWindow",
    .title = kPrompt,
    .prompt = kPrompt,
    .clientW = 211,
    .clientH = 46,
    .promptId = kIdGatePrompt,
    .fieldId = kIdGateField,
    .okId = kIdGateOk,
    .promptPlace = {0, 0, 209, 22},
    .fieldPlace = {0, 24, 137, 22},
    .okPlace = {144, 24, 64, 22},
    .promptWraps = false,
    .exStyle = WS_EX_CONTROLPARENT,
    .okIsDefault = false,
    .enterConfirms = false,
    .fieldOnFace = false,
    .closeRefused = false,
};

}  // namespace

bool PasswordMatches(const std::string& typed, const std::string& stored) { return typed == stored; }

bool PasswordWindow::Create(HFONT font, std::function<void(bool)> onClosed) {
  onClosed_ = std::move(onClosed);
  return CreatePrompt(nullptr, font, kGateLook);
}

bool PasswordWindow::RunGate(const std::string& stored) {
  stored_ = stored;
  locked_ = true;
  closed_ = false;
  if (stored.empty()) {
    ShowWindow(hwnd_, SW_HIDE);
    return true;
  }
  ShowPrompt();
  return false;
}

void PasswordWindow::OnConfirm(const std::string& typed) {
  if (PasswordMatches(typed, stored_)) locked_ = false;
  DestroyWindow(hwnd_);  // one attempt, right or wrong
}

void PasswordWindow::OnDestroyed() {
  // Only a gate that showed this window decides anything when it goes.
  if (!closed_ && !stored_.empty() && onClosed_) {
    closed_ = true;
    onClosed_(!locked_);
  }
}

}  // namespace vtc
