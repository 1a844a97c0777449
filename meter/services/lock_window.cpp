#include "meter/services/lock_window.h"

namespace vtc {

namespace {

constexpr int kIdBox = 101;

// Only "OK" dismisses it, and Enter in the box is "OK".
const PasswordPrompt::Look kLockLook = {
    .className = L"VtcLockWindow",
    .title = "Блокировка",
    .prompt = "Введите пароль разблокировки",
    .clientW = LockWindow::kClientWidth,
    .clientH = LockWindow::kClientHeight,
    .promptId = 0,
    .fieldId = kIdBox,
    .okId = IDOK,
    .promptPlace = {0, 0, 217, 17},
    .fieldPlace = {0, 24, 153, 21},
    .okPlace = {160, 24, 60, 21},
    .promptWraps = true,
    .exStyle = WS_EX_DLGMODALFRAME,
    .okIsDefault = true,
    .enterConfirms = true,
    .fieldOnFace = true,
    .closeRefused = true,
};

}  // namespace

bool LockWindow::Create(HWND owner, const std::string* expected, std::function<void()> onMatch) {
  expected_ = expected;
  onMatch_ = std::move(onMatch);
  font_.reset(MakeFont("Tahoma", 13));
  return CreatePrompt(owner, font_.get(), kLockLook);
}

void LockWindow::ClearBox() {
  if (box()) SetWindowTextW(box(), L"");
}

void LockWindow::Confirm() {
  std::string typed = GetTextUtf8(box());
  bool match = expected_ && typed == *expected_;
  ShowWindow(hwnd_, SW_HIDE);
  if (match && onMatch_) onMatch_();
}

}  // namespace vtc
