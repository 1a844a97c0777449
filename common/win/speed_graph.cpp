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
  g.visible = ini.ReadBool(kSkinLabelsSection, skinkey::GraphVisible, false);
  g.left = ini.ReadInt(kSkinLabelsSection, skinkey::GraphLeft, 0);
  g.top = ini.ReadInt(kSkinLabelsSection, skinkey::GraphTop, 0);
  g.width = ini.ReadInt(kSkinLabelsSection, skinkey::GraphWidth, 0);
  g.height = ini.ReadInt(kSkinLabelsSection, skinkey::GraphHeight, 0);
  g.back = static_cast<uint32_t>(ini.ReadInt(kSkinLabelsSection, skinkey::GraphColor, 0));
  g.in = static_cast<uint32_t>(ini.ReadInt(kSkinLabelsSection, skinkey::GraphInColor, 0));
  g.out = static_cast<uint32_t>(ini.ReadInt(kSkinLabelsSection, skinkey::GraphOutColor, 0));
  g.seconds = ClampGraphSeconds(ini.ReadInt(kSkinLabelsSection, skinkey::GraphSeconds, kGraphDefaultSeconds));
  return g;
}

void SpeedGraph::SetLook(const GraphLook& g) {
  mem_.reset();  // first: it holds the others
  canvas_.reset();
  back_.reset();
  in_.reset();
  stepPen_.reset();
  outPen_.reset();
  look_ = g;
}

bool SpeedGraph::Prepare(HDC dc) {
  if (mem_) return true;
  const COLORREF back = Color(look_.back);
  canvas_.reset(CreateCompatibleBitmap(dc, look_.width, look_.height));
  back_.reset(CreateSolidBrush(back));
  in_.reset(CreateSolidBrush(Color(look_.in)));
  // The step's line is faint; its text a little less.
  const COLORREF mark = Contrast(back);
  stepPen_.reset(CreatePen(PS_SOLID, 1, Mix(back, mark, 0.22)));
  outPen_.reset(CreatePen(PS_SOLID, 1, Color(look_.out)));
  mem_.reset(CreateCompatibleDC(dc));
  if (!mem_ || !canvas_ || !back_ || !in_ || !stepPen_ || !outPen_) {
    mem_.reset();
    return false;
  }
  SelectObject(mem_.get(), canvas_.get());
  SelectObject(mem_.get(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(mem_.get(), TRANSPARENT);
  SetTextColor(mem_.get(), Mix(back, mark, 0.6));
  return true;
}

void SpeedGraph::Paint(HDC dc, const SpeedHistory& h) {
  if (!look_.Drawn() || !Prepare(dc)) return;
  const int w = look_.width, ht = look_.height;
  HDC mem = mem_.get();
  RECT all{0, 0, w, ht};
  FillRect(mem, &all, back_.get());

  const std::vector<SpeedSample> columns = GraphColumns(h, look_.seconds, w);
  const GraphScale scale = ScaleFor(LargestSpeed(columns));

  // The step's line lies under the traffic, its text over it.
  const int stepY = std::max(0, ht - Bar(scale.step, scale.top, ht));
  SelectObject(mem, stepPen_.get());
  MoveToEx(mem, 0, stepY, nullptr);
  LineTo(mem, w, stepY);

  // Both directions as steps, one point pair per run of equal height, so a
  // minute over a wide box costs a few dozen points rather than a call per
  // pixel. Incoming is a filled area, outgoing a line over it.
  area_.assign(1, POINT{0, ht});
  line_.clear();
  auto yOf = [&](float v) { return ht - Bar(v, scale.top, ht); };
  for (int x = 0; x < w;) {
    const int yIn = yOf(columns[static_cast<size_t>(x)].in), yOut = yOf(columns[static_cast<size_t>(x)].out);
    int end = x + 1;
    while (end < w && yOf(columns[static_cast<size_t>(end)].in) == yIn &&
           yOf(columns[static_cast<size_t>(end)].out) == yOut)
      ++end;
    area_.push_back({x, yIn});
    area_.push_back({end, yIn});
    // A line at the box's bottom edge is below the box: no traffic, no line.
    line_.push_back({x, yOut});
    line_.push_back({end, yOut});
    x = end;
  }
  area_.push_back({w, ht});
  // Without a pen the fill leaves out the right and bottom edges, so each
  // run covers exactly its own columns and rows.
  SelectObject(mem, GetStockObject(NULL_PEN));
  SelectObject(mem, in_.get());
  Polygon(mem, area_.data(), static_cast<int>(area_.size()));
  SelectObject(mem, outPen_.get());
  Polyline(mem, line_.data(), static_cast<int>(line_.size()));

  const std::wstring text = Utf8ToWide(FormatBytes(scale.step) + "b/s");
  TextOutW(mem, 2, 1, text.c_str(), static_cast<int>(text.size()));

  BitBlt(dc, look_.left, look_.top, w, ht, mem, 0, 0, SRCCOPY);
}

}  // namespace vtc
