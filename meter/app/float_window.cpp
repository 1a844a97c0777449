#include "meter/app/float_window.h"

#include <algorithm>

#include "common/win/appdir.h"
#include "common/win/local_clock.h"
#include "common/encoding.h"
#include "common/win/ini.h"
#include "common/win/options.h"
#include "common/win/ui.h"
#include "meter/traffic/totals.h"
#include "meter/services/error_report.h"
#include "meter/services/update_check.h"
#include "meter/stats/rollover.h"

namespace vtc {

namespace {

constexpr int kInitialLeft = 253, kInitialTop = 144, kInitialWidth = 860, kInitialHeight = 127;
constexpr int kInitialOpacity = 200;
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr int kBackgroundId = 200;
// Creation order of the labels.
constexpr int kLabelOrder[kLabelCount] = {1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

bool FloatWindow::Create() {
  static Brush silver(CreateSolidBrush(kSilver));
  if (!CreateWin(L"VtcFloatWindow", kFloatCaption, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, kInitialLeft,
                 kInitialTop, kInitialWidth, kInitialHeight, app_.hwnd(), silver.get()))
    return false;
  ApplyOpacity(hwnd_, kInitialOpacity);
  for (int n : kLabelOrder) labels_[n - 1].Create(hwnd_, n);
  CreateBackground();
  app_.Attach(this);
  HICON trayIcon = LoadIconW(GetModuleHandleW(nullptr), L"ZFORM1_TRAYICON1");
  app_.tray().Add(app_.hwnd(), App::kTrayMessage, trayIcon);
  OnFormCreate();
  return true;
}

void FloatWindow::OnFormCreate() {
  state_.activeTariff = -1;
  state_.firstOnline = true;
  app_.MakeToolWindow();
  state_.exitAllowed = false;
  state_.appDir = AppDir();
  StartUp(state_.appDir + "options.ini");

  tariffs_ = LoadTariffs(state_.appDir + "tarif.ini");
  state_.tariffCount = static_cast<int8_t>(std::min<size_t>(tariffs_.size(), kMaxTariffs));
  ApplyTariffChoice(SelectTariff(tariffs_, NowLocal(), state_.activeTariff, state_.showBt));
  if (state_.tariffCount > 1) SetTimer(hwnd_, kTariffTimer, kTariffInterval, nullptr);

  std::string errorText;
  if (state_.activeTariff == -1) {
    if (state_.showBt) app_.tray().Show(NoTariffNotice());
    errorText = NoTariffErrorText(state_.tariffCount);
  }
  Baseline(errorText);
  if (!errorText.empty()) WriteErrorReport(state_.appDir + "bug.txt", errorText);
  tickClock_.Start(GetTickCount64());
  SetTimer(hwnd_, kTickTimer, kTickInterval, nullptr);
}

void FloatWindow::StartUp(const std::string& optionsPath) {
  MeterOptions o = ReadMeterOptions(IniFile(optionsPath));
  state_.showBt = o.showBt;
  state_.iface = o.iface;
  state_.iface2 = o.iface2;
  state_.denstr = o.denstr;
  state_.autoFindType = o.autoFind;
  state_.statkol = o.statkol;
  state_.autoClose = o.autoClose;

  SetStayOnTop(o.stayOnTop);
  if (state_.autoFindType == 0) state_.autoFindType = 23;
  PlaceWindow(o.left, o.top);
  visibleChecked_ = o.visible;
  SetFloatVisible(o.visible);
  ApplyOpacity(hwnd_, o.alphaBlend);

  SkinLabel* labels[kLabelCount];
  for (int i = 0; i < kLabelCount; ++i) labels[i] = &labels_[i];
  LoadSkin(state_.appDir, state_.appDir + "Look\\" + o.look + "\\", hwnd_, background_, labels, skin_,
           [this](HICON icon) { app_.tray().SetIcon(icon); });

  if (o.autoUpdate) {
    std::string url = o.updateUrl.empty() ? DefaultUpdateUrl() : o.updateUrl;
    if (auto notice = CheckForUpdate(url, state_.appDir + "last_upd.txt", true, hwnd_)) app_.tray().Show(*notice);
  }

  RollStatistics(state_.appDir, o.statistic & 0xFF, o.dof, NowLocal());
  LoadTotals(state_);
}

void FloatWindow::Baseline(std::string& errorText) {
  TickSample s = TakeSample(table_, Utf8ToCp1251(state_.iface), Utf8ToCp1251(state_.iface2),
                            state_.autoFindType, errorText);
  TakeBaseline(state_, s, sumParts_);
  lastSampleMs_ = GetTickCount64();
}

void FloatWindow::OnTick() {
  KillTimer(hwnd_, kTickTimer);
  std::string errorText;
  TickSample s = TakeSample(table_, Utf8ToCp1251(state_.iface), Utf8ToCp1251(state_.iface2),
                            state_.autoFindType, errorText);
  uint64_t now = GetTickCount64();
  if (s.online) {
    if (state_.showBt && state_.firstOnline) OnlineTransition(s, errorText);
    TickDeltas d = AccountOnlineTick(state_, s, static_cast<double>(now - lastSampleMs_) / 1000.0, sumParts_);
    AddTickMoney(state_, PriceTick(d.dIn, d.dOut, state_.totalIn, state_.totalOut, tariffs_, state_.activeTariff));
    RefreshLabels(d);
  } else {
    if (!state_.firstOnline) OfflineTransition();
    AccountOfflineTick(state_, sumParts_);
  }
  lastSampleMs_ = now;
  SaveTotals(state_);
  SetTimer(hwnd_, kTickTimer, static_cast<UINT>(tickClock_.NextDelay(GetTickCount64())), nullptr);
}

void FloatWindow::OnTariffTimer() {
  ApplyTariffChoice(SelectTariff(tariffs_, NowLocal(), state_.activeTariff, state_.showBt));
}

void FloatWindow::ApplyTariffChoice(const TariffChoice& choice) {
  state_.activeTariff = static_cast<int8_t>(choice.active);
  if (choice.notice) app_.tray().Show(*choice.notice);
}

void FloatWindow::RefreshLabels(const TickDeltas& d) {
  if (!IsWindowVisible(hwnd_)) return;
  for (int n = 1; n <= kLabelCount; ++n) {
    SkinLabel& l = labels_[n - 1];
    if (l.ShownBySkin()) l.SetText(LabelText(n, state_, d.dIn, d.dOut));
  }
}

void FloatWindow::PlaceWindow(int left, int top) {
  RECT r;
  GetWindowRect(hwnd_, &r);
  RECT want = {left, top, left + (r.right - r.left), top + (r.bottom - r.top)};
  // A saved place on a monitor that is gone would leave the window out of reach.
  if (!MonitorFromRect(&want, MONITOR_DEFAULTTONULL)) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left;
    top = work.top;
  }
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FloatWindow::SetStayOnTop(bool on) {
  stayOnTop_ = on;
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FloatWindow::SetFloatVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

LRESULT FloatWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTickTimer) OnTick();
      if (wp == kTariffTimer) OnTariffTimer();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_COMMAND:
      if (OnMenuCommand(LOWORD(wp))) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_CONTEXTMENU:
      if (OnSurfaceMouse(msg, wp, lp)) return 0;
      break;
    case WM_QUERYENDSESSION:
      SaveWindowState(state_.appDir + "options.ini");
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool FloatWindow::CreateBackground() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  if (!GetClassInfoExW(inst, L"VtcBackground", &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FloatWindow::BackgroundProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"VtcBackground";
    RegisterClassExW(&wc);
  }
  background_ = CreateWindowExW(0, L"VtcBackground", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                kInitialWidth, kInitialHeight, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBackgroundId)), inst, this);
  return background_ != nullptr;
}

LRESULT CALLBACK FloatWindow::BackgroundProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<FloatWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_LBUTTONDOWN && self->OnSurfaceMouse(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      self->PaintBackground(dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      self->PaintBackground(reinterpret_cast<HDC>(wp));
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

void FloatWindow::PaintBackground(HDC dc) const {
  RECT rc;
  GetClientRect(background_, &rc);
  if (!skin_.background) {
    Brush silver(CreateSolidBrush(kSilver));
    FillRect(dc, &rc, silver.get());
    return;
  }
  PaintSkinBackground(dc, skin_);
}

}  // namespace vtc
