#include "settings/settings_window.h"

#include <commctrl.h>

#include "common/encoding.h"
#include "common/stored_names.h"
#include "settings/control_ids.h"
#include "settings/counter_reset.h"
#include "settings/pages/settings_io.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcSettingsWindow";
constexpr int kClientW = 504, kClientH = 473;
constexpr int kFontHeight = 15;  // cell height: the layout is made for it
const char* const kPageNames[] = {"Общие", "Интерфейс", "Тарифы", "Учет трафика", "Лимиты", "Отчёт"};
constexpr int kPageCount = sizeof kPageNames / sizeof kPageNames[0];

HWND Button(HWND parent, HFONT font, int id, const char* text, int x, int w) {
  ControlArgs a;
  a.id = id;
  a.cls = L"BUTTON";
  a.text = text;
  a.x = x;
  a.y = 448;
  a.w = w;
  a.h = 22;
  a.style = BS_PUSHBUTTON | WS_TABSTOP;
  a.font = font;
  return CreateControl(parent, a);
}

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

  ControlArgs t;
  t.cls = WC_TABCONTROLW;
  t.id = kIdTab;
  t.w = 505;
  t.h = 441;
  t.style = WS_CLIPSIBLINGS | WS_TABSTOP;
  t.font = font_.get();
  tab_ = CreateControl(hwnd_, t);
  for (int i = 0; i < kPageCount; ++i) {
    std::wstring name = Utf8ToWide(kPageNames[i]);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = name.data();
    SendMessageW(tab_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }

  general.Create(tab_, font_.get());
  look.Create(tab_, font_.get());
  tariffs.Create(tab_, font_.get());
  traffic.Create(tab_, font_.get(), boldFont_.get());
  limits.Create(tab_, font_.get(), hwnd_, appDir_);
  report.Create(tab_, font_.get(), hwnd_, appDir_);
  pages_[0] = general.page;
  pages_[1] = look.page;
  pages_[2] = tariffs.page;
  pages_[3] = traffic.page;
  pages_[4] = limits.page();
  pages_[5] = report.page();

  reset_ = Button(hwnd_, font_.get(), kIdReset, "Обнулить текущие счетчики", 168, 184);
  cancel_ = Button(hwnd_, font_.get(), kIdCancel, "Отмена", 360, 64);
  ok_ = Button(hwnd_, font_.get(), kIdOk, "ОК", 432, 64);  // Cyrillic О and К

  SelectPage(0);
  CenterOnScreen(hwnd_);

  // The pages' behaviour: tariff editor, interface chooser, skin chooser.
  tariffEditor_.Attach(hwnd_, tariffs);
  interfaceChooser_.Attach(hwnd_, traffic);
  skinChooser_.Attach(hwnd_, look, appDir_);
  return true;
}

void SettingsWindow::Load() {
  LoadSteps steps;
  steps.openTariffs = [this] { tariffEditor_.Load(appDir_ + kTariffFileName); };
  steps.createPreview = [this] { skinChooser_.CreatePreview(); };
  steps.fillSkinList = [this] { skinChooser_.FillSkinList(); };
  LoadSettings(SettingsControls{&general, &look, &traffic}, appDir_ + kOptionsFileName, steps);
  limits.Load(IniFile(appDir_ + kOptionsFileName));
  tariffEditor_.Empty(false);
  skinChooser_.BuildTestWindow();
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
  for (int i = 0; i < kPageCount; ++i) {
    if (i != index) ShowWindow(pages_[i], SW_HIDE);
  }
  if (index < 0 || index >= kPageCount) return;
  // The report is read whenever it is looked at: the meter moves its totals on.
  if (pages_[index] == report.page()) report.Refresh();
  if (pages_[index] == limits.page()) limits.Refresh(GetTextUtf8(look.currency));
  ShowWindow(pages_[index], SW_SHOW);
}

void SettingsWindow::OnOk() {
  // A field the meter could not use is refused before anything is written.
  if (!limits.Acceptable()) return;
  SaveSettings(SettingsControls{&general, &look, &traffic}, appDir_ + kOptionsFileName, appDir_);
  limits.Save(IniFile(appDir_ + kOptionsFileName));
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
  // The pages' behaviour: each object answers for its own controls.
  if (report.OnCommand(id, code)) return;
  if (limits.OnCommand(id, code)) return;
  if (tariffEditor_.OnCommand(id, code)) return;
  if (interfaceChooser_.OnCommand(id, code)) return;
  skinChooser_.OnCommand(id, code);
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
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace vtc
