// The skin test window: a borderless, always-on-top window that shows a
// skin's background picture for one second. A press on the picture keeps it
// up (the left button drags it); a click lets it hide a second later. It
// refuses to be closed: only the program's end destroys it.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/gdi.h"
#include "common/win/speed_graph.h"
#include "common/win/ui.h"
#include "common/win/window.h"

namespace vtc {

class SkinTestWindow : public BaseWindow {
 public:
  static constexpr UINT kHideMs = 1000;
  static constexpr int kInitialWidth = 109, kInitialHeight = 76;
  static constexpr int kInitialPicture = 64;

  // Builds the window hidden, centred on the screen; `owner` may be null.
  bool Create(HWND owner);
  // Drops the preview picture (the window keeps its size).
  void ClearPicture();
  // Loads a bitmap file as the preview and fits the window to it; false (and
  // nothing changed) when the file cannot be loaded.
  bool LoadPicture(const std::string& bmpPath);
  // The graph of the skin whose picture was loaded last, drawn over the
  // picture with a made-up minute of traffic; a look without one draws none.
  void SetGraph(const GraphLook& g);
  // Applies the opacity (low 8 bits count), shows the window and starts the
  // hide timer.
  void ShowTest(int alpha);

  bool timerRunning() const { return timerRunning_; }
  HBITMAP picture() const { return picture_.get(); }
  SIZE pictureSize() const { return pictureSize_; }
  // Paints the window's client area into `dc` (also for WM_PRINTCLIENT).
  void Paint(HDC dc);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void StartTimer();
  void StopTimer();
  bool OnPicture(LPARAM lp) const;
  void OnButtonDown(bool left);

  Bitmap picture_;
  SIZE pictureSize_{kInitialPicture, kInitialPicture};
  SpeedGraph graph_;
  SpeedHistory sample_;
  bool timerRunning_ = false;
  bool pressed_ = false;  // a button went down on the picture
};

}  // namespace vtc
