#include "common/win/speed_graph.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/encoding.h"
#include "common/text.h"
#include "common/win/gdi.h"

namespace vtc {

namespace {

constexpr const char* kSection = "Options";

// A high byte would make GDI read the value as a palette index.
COLORREF Color(uint32_t v) { return static_cast<COLORREF>(v & 0x00FFFFFFu); }

// `share` of the way from `a` to `b`.
COLORREF Mix(COLORREF a, COLORREF b, double share) {
  auto ch = [&](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * share)); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

// Light marks on a dark box, dark ones on a light box.
COLORREF Contrast(COLORREF c) {
  return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128000 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

// Height in pixels of a speed; any traffic at all gets at least one pixel,
// so a trickle is told apart from a dead line.
int Bar(double v, double top, int height) {
  if (!(v > 0)) return 0;
  int px = static_cast<int>(std::lround(v / top * height));
  return std::clamp(px, 1, height);
}

}  // namespace

GraphLook ReadGraphLook(const IniFile& ini) {
  GraphLook g;
  g.visible = ini.ReadBool(kSection, kGraphVisibleKey, false);
  g.left = ini.ReadInt(kSection, kGraphLeftKey, 0);
  g.top = ini.ReadInt(kSection, kGraphTopKey, 0);
  g.width = ini.ReadInt(kSection, kGraphWidthKey, 0);
  g.height = ini.ReadInt(kSection, kGraphHeightKey, 0);
  g.back = static_cast<uint32_t>(ini.ReadInt(kSection, kGraphColorKey, 0));
  g.in = static_cast<uint32_t>(ini.ReadInt(kSection, kGraphInColorKey, 0));
  g.out = static_cast<uint32_t>(ini.ReadInt(kSection, kGraphOutColorKey, 0));
  g.seconds = ClampGraphSeconds(ini.ReadInt(kSection, kGraphSecondsKey, kGraphDefaultSeconds));
  return g;
}

void PaintSpeedGraph(HDC dc, const GraphLook& g, const SpeedHistory& h) {
  if (!g.Drawn()) return;
  const int w = g.width, ht = g.height;
  MemoryDC mem(dc);
  Bitmap canvas(CreateCompatibleBitmap(dc, w, ht));
  if (!mem || !canvas) return;
  SelectGuard selCanvas(mem.get(), canvas.get());
  const COLORREF back = Color(g.back), in = Color(g.in), out = Color(g.out);

  RECT all{0, 0, w, ht};
  Brush backBrush(CreateSolidBrush(back));
  FillRect(mem.get(), &all, backBrush.get());

  const std::vector<SpeedSample> columns = GraphColumns(h, g.seconds, w);
  const GraphScale scale = ScaleFor(LargestSpeed(columns));

  // The step's line lies under the traffic, its text over it.
  const COLORREF mark = Contrast(back);
  const int stepY = std::max(0, ht - Bar(scale.step, scale.top, ht));
  {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, Mix(back, mark, 0.22)));
    SelectGuard selPen(mem.get(), pen.get());
    MoveToEx(mem.get(), 0, stepY, nullptr);
    LineTo(mem.get(), w, stepY);
  }

  // Both directions as steps, one point pair per run of equal height, so a
  // minute over a wide box costs a few dozen points rather than a call per
  // pixel. Incoming is a filled area, outgoing a line over it.
  std::vector<POINT> area{{0, ht}}, line;
  area.reserve(static_cast<size_t>(w) * 2 + 2);
  line.reserve(static_cast<size_t>(w) * 2);
  for (int x = 0; x < w;) {
    const int yIn = ht - Bar(columns[static_cast<size_t>(x)].in, scale.top, ht);
    const int yOut = ht - Bar(columns[static_cast<size_t>(x)].out, scale.top, ht);
    int end = x + 1;
    while (end < w && ht - Bar(columns[static_cast<size_t>(end)].in, scale.top, ht) == yIn &&
           ht - Bar(columns[static_cast<size_t>(end)].out, scale.top, ht) == yOut)
      ++end;
    area.push_back({x, yIn});
    area.push_back({end, yIn});
    // A line at the box's bottom edge is below the box: no traffic, no line.
    line.push_back({x, std::min(yOut, ht)});
    line.push_back({end, std::min(yOut, ht)});
    x = end;
  }
  area.push_back({w, ht});
  {
    // Without a pen the fill leaves out the right and bottom edges, so each
    // run covers exactly its own columns and rows.
    Brush inBrush(CreateSolidBrush(in));
    SelectGuard selBrush(mem.get(), inBrush.get());
    SelectGuard selPen(mem.get(), GetStockObject(NULL_PEN));
    Polygon(mem.get(), area.data(), static_cast<int>(area.size()));
  }
  {
    GdiObject<HPEN> outPen(CreatePen(PS_SOLID, 1, out));
    SelectGuard selPen(mem.get(), outPen.get());
    Polyline(mem.get(), line.data(), static_cast<int>(line.size()));
  }

  const std::wstring text = Utf8ToWide(FormatBytes(scale.step) + "b/s");
  SelectGuard selFont(mem.get(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(mem.get(), TRANSPARENT);
  SetTextColor(mem.get(), Mix(back, mark, 0.6));
  TextOutW(mem.get(), 2, 1, text.c_str(), static_cast<int>(text.size()));

  BitBlt(dc, g.left, g.top, w, ht, mem.get(), 0, 0, SRCCOPY);
}

}  // namespace vtc
