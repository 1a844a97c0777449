// The floating window: a borderless pop-up with the skin's picture and the
// twelve value labels, the one-second tick and the tariff timer. Building it
// runs the meter's start-up.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/product.h"
#include "common/win/window.h"
#include "meter/app/app.h"
#include "meter/traffic/display.h"
#include "meter/traffic/iftable.h"
#include "meter/traffic/meter_state.h"
#include "meter/app/popup_menu.h"
#include "meter/traffic/sampling.h"
#include "meter/traffic/tick_clock.h"
#include "meter/look/skin.h"
#include "meter/services/about_window.h"
#include "meter/services/lock_window.h"
#include "meter/tariff/tariffs.h"

namespace vtc {

class StatisticsWindow;

constexpr const wchar_t* kFloatCaption = L"" VTC_PRODUCT_TITLE;

class FloatWindow : public BaseWindow<FloatWindow> {
 public:
  static constexpr UINT_PTR kTickTimer = 1;
  static constexpr UINT_PTR kTariffTimer = 2;
  static constexpr UINT kTickInterval = 1000;
  static constexpr UINT kTariffInterval = 60000;

  explicit FloatWindow(App& app) : app_(app) {}
  FloatWindow(const FloatWindow&) = delete;
  FloatWindow& operator=(const FloatWindow&) = delete;

  // Builds the window and its parts; the last step is OnFormCreate.
  bool Create();

  MeterState& state() { return state_; }
  const std::vector<TTariff>& tariffs() const { return tariffs_; }
  SkinLabel& label(int number) { return labels_[number - 1]; }
  void SetStatisticsWindow(StatisticsWindow* w) { statistics_ = w; }

  // Mouse messages of the tray icon (the callback's lParam).
  void OnTrayMouse(UINT mouseMsg);
  // The popup menu, the lock window and the About window, built hidden after
  // the floating window (float_window_actions.cpp).
  void CreateDialogs();
  // A command id of the popup menu; false for any other id.
  bool OnMenuCommand(UINT commandId);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnFormCreate();
  void StartUp(const std::string& optionsPath);
  void Baseline(std::string& errorText);
  void OnTick();
  void OnTariffTimer();
  void ApplyTariffChoice(const TariffChoice& choice);

  void OnlineTransition(const TickSample& sample, const std::string& errorText);
  void OfflineTransition();
  void RefreshLabels(const TickDeltas& d);

  void PlaceWindow(int left, int top);
  void SetStayOnTop(bool on);
  void SetFloatVisible(bool visible);
  void SaveWindowState(const std::string& optionsPath);
  void RequestExit();
  void OnClose();
  void ShowMenu(HWND owner, POINT at);
  void ToggleFloatVisible();
  // Mouse on the labels or the background: drag, snap, context menu.
  bool OnSurfaceMouse(UINT msg, WPARAM wp, LPARAM lp);

  bool CreateBackground();
  static LRESULT CALLBACK BackgroundProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void PaintBackground(HDC dc) const;

  App& app_;
  MeterState state_;
  SkinLabel labels_[kLabelCount];  // labels_[0] is Label1
  HWND background_ = nullptr;
  SkinResources skin_;
  std::vector<TTariff> tariffs_;
  SystemInterfaceTable table_;
  StatisticsWindow* statistics_ = nullptr;  // borrowed
  PopupMenu menu_;
  LockWindow lock_;
  AboutWindow about_;

  bool stayOnTop_ = true;
  bool visibleChecked_ = true;  // check mark of the "Плавающее окно" menu item
  uint64_t lastSampleMs_ = 0;   // when the current baseline was taken
  TickClock tickClock_;
  SumParts sumParts_;
};

}  // namespace vtc
