// The speed graph both programs draw: the meter in its floating window, the
// settings program in the skin test.
#pragma once
#include <windows.h>

#include "common/graph_look.h"
#include "common/speed_history.h"
#include "common/win/ini.h"

namespace vtc {

// The Graph_ keys of a skin's look.ini (section Options); absent keys give
// the off values, and the seconds are held to what the meter keeps.
GraphLook ReadGraphLook(const IniFile& lookIni);

// The box of the graph in the window's client coordinates.
inline RECT GraphBox(const GraphLook& g) { return RECT{g.left, g.top, g.left + g.width, g.top + g.height}; }

// Draws the graph of `h` into its box on `dc`: composed off screen and
// copied in one piece, so the box never shows half a picture. Nothing for a
// skin without a graph.
void PaintSpeedGraph(HDC dc, const GraphLook& g, const SpeedHistory& h);

}  // namespace vtc
