// The floating window: a borderless pop-up with the skin's picture and the
// twelve value labels. It draws what it is told, moves with the mouse, and
// hands its timers, commands, close requests and the system's power and
// session messages to its listener.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/product.h"
#include "common/win/options.h"
#include "common/win/speed_graph.h"
#include "common/win/window.h"
#include "meter/look/skin.h"
#include "meter/traffic/display.h"
#include "meter/traffic/meter_state.h"
#include "meter/traffic/sampling.h"

namespace vtc {

constexpr const wchar_t* kFloatCaption = L"" VTC_PRODUCT_TITLE;

class FloatWindowListener {
 public:
  virtual ~FloatWindowListener() = default;
  virtual void OnTimer(UINT_PTR id) = 0;
  virtual void OnCloseRequest() = 0;
  // A command id of the popup menu; false for any other id.
  virtual bool OnCommand(UINT id) = 0;
  virtual void OnContextMenu(POINT screenPoint) = 0;
  virtual void OnEndSession() = 0;
  // A WM_POWERBROADCAST event.
  virtual void OnPower(WPARAM event) = 0;
};

class FloatWindow : public BaseWindow {
 public:
  FloatWindow() = default;
  FloatWindow(const FloatWindow&) = delete;
  FloatWindow& operator=(const FloatWindow&) = delete;

  // Builds the window and its labels, hidden; `owner` keeps it off the
  // taskbar, `listener` (borrowed) gets its events.
  bool Create(HWND owner, FloatWindowListener* listener);

  void LoadSkin(const std::string& appDir, const std::string& skinDir, const std::function<void(HICON)>& setTrayIcon);
  const SkinResources& skin() const { return skin_; }
  SkinLabel& label(int number) { return labels_[number - 1]; }

  // Stay-on-top, place, visibility and opacity of the options, in this order.
  void ApplyOptions(const MeterOptions& o);
  void SetStayOnTop(bool on);
  bool stayOnTop() const { return stayOnTop_; }
  void SetVisible(bool visible);
  bool IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

  // Labels shown by the skin get their texts, and only while the window is shown.
  void ShowFigures(const MeterState& s, const std::string& currency, const TickDeltas& d);
  // The skin's graph draws `h` (borrowed, it outlives the window) from now
  // on, and is redrawn at once while the window is shown.
  void ShowGraph(const SpeedHistory& h);
  const GraphLook& graph() const { return graph_.look(); }

  void StartTimer(UINT_PTR id, UINT delayMs) { SetTimer(hwnd_, id, delayMs, nullptr); }
  void StopTimer(UINT_PTR id) { KillTimer(hwnd_, id); }
  // The timers stop and the window goes; the message loop then ends.
  void Close();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PlaceWindow(int left, int top);
  // Mouse on the labels or the background: drag, snap, context menu.
  bool OnSurfaceMouse(UINT msg, WPARAM wp, LPARAM lp);

  bool CreateBackground();
  static LRESULT CALLBACK BackgroundProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void PaintBackground(HDC dc) const;

  FloatWindowListener* listener_ = nullptr;  // borrowed
  SkinLabel labels_[kLabelCount];            // labels_[0] is Label1
  HWND background_ = nullptr;
  SkinResources skin_;
  mutable SpeedGraph graph_;  // keeps its canvas from paint to paint
  const SpeedHistory* history_ = nullptr;  // borrowed from the meter
  bool stayOnTop_ = true;
};

}  // namespace vtc
