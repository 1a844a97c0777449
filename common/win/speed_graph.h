// The speed graph both programs draw: the meter in its floating window, the
// settings program in the skin test.
#pragma once
#include <windows.h>

#include <vector>

#include "common/graph_look.h"
#include "common/speed_history.h"
#include "common/win/gdi.h"
#include "common/win/ini.h"

namespace vtc {

// The Graph_ keys of a skin's look.ini (section Options); absent keys give
// the off values, and the seconds are held to what the meter keeps.
GraphLook ReadGraphLook(const IniFile& lookIni);

// The box of the graph in the window's client coordinates.
inline RECT GraphBox(const GraphLook& g) { return RECT{g.left, g.top, g.left + g.width, g.top + g.height}; }

// Paints a skin's graph. The meter paints it every second for weeks, so the
// off-screen canvas, its pens and brushes are made once per look and kept.
class SpeedGraph {
 public:
  SpeedGraph() = default;
  SpeedGraph(const SpeedGraph&) = delete;
  SpeedGraph& operator=(const SpeedGraph&) = delete;

  void SetLook(const GraphLook& g);
  const GraphLook& look() const { return look_; }

  // Draws `h` into the box on `dc`: composed off screen and copied in one
  // piece, so the box never shows half a picture. Nothing for a skin
  // without a graph.
  void Paint(HDC dc, const SpeedHistory& h);

 private:
  bool Prepare(HDC dc);

  GraphLook look_;
  Bitmap canvas_;
  Brush back_, in_;
  GdiObject<HPEN> stepPen_, outPen_;
  std::vector<POINT> area_, line_;
  // Last, so that it goes first: an object is freed only once no DC holds it.
  UniqueHandle<HDC, FreeDC> mem_;
};

}  // namespace vtc
