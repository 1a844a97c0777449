#include "settings/settings_window.h"

#include <commctrl.h>

#include "common/encoding.h"
#include "common/stored_names.h"
#include "settings/control_ids.h"
#include "settings/counter_reset.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcSettingsWindow";
constexpr int kClientW = 504, kClientH = 473;
constexpr int kFontHeight = 15;  // cell height: the layout is made for it

}  // namespace

bool SettingsWindow::Create(const std::string& appDir) {
  appDir_ = appDir;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  font_.reset(MakeFont("Tahoma", kFontHeight));
  boldFont_.reset(MakeFont("Tahoma", kFontHeight, true));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT r = {0, 0, kClientW, kClientH};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  if (!CreateWin(kClassName, Utf8ToWide(kSettingsTitle).c_str(), style, exStyle, 0, 0, r.right - r.left,
                 r.bottom - r.top))
    return false;
  // A dialog frame has no icon and the window can be neither sized,
  // minimised nor maximised.
  if (HMENU sys = GetSystemMenu(hwnd_, FALSE)) {
    for (UINT cmd : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) DeleteMenu(sys, cmd, MF_BYCOMMAND);
  }

  const PageBuilder b{hwnd_, font_.get()};
  tab_ = b.Control(kIdTab, WC_TABCONTROLW, "", 0, 0, 505, 441, WS_CLIPSIBLINGS | WS_TABSTOP);
  for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
    std::wstring name = Utf8ToWide(pages_[i]->Title());
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = name.data();
    SendMessageW(tab_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }

  const PageContext context{tab_, hwnd_, font_.get(), boldFont_.get(), appDir_};
  for (SettingsPage* p : pages_) p->Build(context);

  constexpr int kButtonsY = 448;
  reset_ = b.Button(kIdReset, "Обнулить текущие счетчики", 168, kButtonsY, 184);
  cancel_ = b.Button(kIdCancel, "Отмена", 360, kButtonsY);
  ok_ = b.Button(kIdOk, "ОК", 432, kButtonsY);  // Cyrillic О and К

  SelectPage(0);
  CenterOnScreen(hwnd_);
  return true;
}

void SettingsWindow::Load() {
  const StoredSettings stored = ReadSettings(appDir_);
  for (SettingsPage* p : pages_) p->Load(stored);
}

void SettingsWindow::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void SettingsWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void SettingsWindow::Close() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void SettingsWindow::SelectPage(int index) {
  SendMessageW(tab_, TCM_SETCURSEL, index, 0);
  ShowPage(index);
}

void SettingsWindow::ShowPage(int index) {
  const int count = static_cast<int>(pages_.size());
  for (int i = 0; i < count; ++i) {
    if (i == index) continue;
    pages_[i]->OnHide();
    ShowWindow(pages_[i]->page(), SW_HIDE);
  }
  if (index < 0 || index >= count) return;
  pages_[index]->OnShow();
  ShowWindow(pages_[index]->page(), SW_SHOW);
}

bool SettingsWindow::Save() {
  // A field the meter could not use is refused before anything is written.
  for (const SettingsPage* p : pages_) {
    if (std::optional<std::string> refusal = p->Refusal()) {
      if (warn) {
        warn(*refusal);
      } else {
        MessageBoxUtf8(hwnd_, *refusal, kSettingsTitle, MB_OK | MB_ICONWARNING);
      }
      return false;
    }
  }
  StoredSettings stored;
  for (const SettingsPage* p : pages_) p->Save(stored);
  WriteSettings(stored, appDir_);
  return true;
}

void SettingsWindow::OnOk() {
  if (!Save()) return;
  MessageBoxUtf8(hwnd_, kRestartNotice, kSettingsTitle, MB_OK | MB_ICONINFORMATION);
  Close();
}

void SettingsWindow::OnCommand(int id, int code) {
  if (code == BN_CLICKED) {
    switch (id) {
      case kIdOk:
        return OnOk();
      case kIdCancel:
        return Close();
      case kIdReset:
        ResetCounters();  // reports nothing, by design
        return;
      default:
        break;
    }
  }
  for (SettingsPage* p : pages_) {
    if (p->OnCommand(id, code)) return;
  }
}

LRESULT SettingsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Enter and Esc come as IDOK/IDCANCEL without a control; neither saves
      // nor discards the settings.
      if (lp) OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<NMHDR*>(lp);
      if (n->idFrom == kIdTab && n->code == TCN_SELCHANGE)
        ShowPage(static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      for (SettingsPage* p : pages_) p->OnHide();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace vtc
