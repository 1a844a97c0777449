#include "settings/report/report_chart.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/encoding.h"
#include "common/win/gdi.h"

namespace vtc {
namespace {

constexpr wchar_t kClassName[] = L"VtcReportChart";
constexpr int kFontHeight = 13;
// Margins of the plot: byte captions left, money captions right, the
// legend above and the bar captions below.
constexpr int kLeft = 54, kRight = 46, kTop = 24, kBottom = 20;
constexpr int kInset = 4;
constexpr int kMinSlots = 12;  // a few bars stay bars, not slabs
constexpr int kWheelStep = 3;

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kGrid = RGB(226, 226, 226);
const COLORREF kAxis = RGB(120, 120, 120);
const COLORREF kText = RGB(64, 64, 64);
const COLORREF kIn = RGB(52, 120, 200);
const COLORREF kOut = RGB(240, 150, 40);
const COLORREF kOpenTint = RGB(236, 242, 250);
const COLORREF kMoney = RGB(190, 30, 45);
const COLORREF kForecast = RGB(70, 70, 70);
const COLORREF kHover = RGB(228, 236, 248);

void Fill(HDC dc, int l, int t, int r, int b, HBRUSH brush) {
  if (r <= l || b <= t) return;
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, brush);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

SIZE TextSize(HDC dc, const std::wstring& t) {
  SIZE s{};
  GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &s);
  return s;
}

// `align`: 0 left edge at x, 1 centred on x, 2 right edge at x; y is the middle.
void Text(HDC dc, const std::string& utf8, int x, int y, int align, COLORREF colour) {
  std::wstring t = Utf8ToWide(utf8);
  SIZE s = TextSize(dc, t);
  int left = align == 0 ? x : align == 1 ? x - s.cx / 2 : x - s.cx;
  SetTextColor(dc, colour);
  TextOutW(dc, left, y - s.cy / 2, t.c_str(), static_cast<int>(t.size()));
}

double Positive(const std::optional<double>& v) { return v && *v > 0 ? *v : 0; }

// The height of `v` on axis `a` in `plot`; beyond the axis's ends is at them.
int PlotY(const RECT& plot, double v, const ChartAxis& a) {
  const int height = std::max(1, static_cast<int>(plot.bottom - plot.top));
  v = std::min(std::max(v, 0.0), a.top);
  return plot.bottom - static_cast<int>(std::lround(v / a.top * height));
}

}  // namespace

bool ReportChart::Create(HWND parent, int id, int x, int y, int w, int h) {
  font_.reset(MakeFont("Tahoma", kFontHeight));
  if (!CreateWin(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y, w, h,
                 parent))
    return false;
  SetWindowLongPtrW(hwnd_, GWLP_ID, id);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  if (tip_) {
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 420);  // lets the text break at its '\n'
  }
  Rebuild();
  return true;
}

void ReportChart::SetData(const ReportData* data, const OpenForecast* forecast) {
  data_ = data;
  forecast_ = forecast;
  first_ = data_ ? NewestFirst(data_->records.size()) : 0;
  Rebuild();
}

size_t ReportChart::shownRecords() const {
  if (!data_) return 0;
  return std::min(kChartRecords, data_->records.size() - std::min(first_, data_->records.size()));
}

void ReportChart::ScrollTo(size_t first) {
  if (!data_) return;
  first = std::min(first, NewestFirst(data_->records.size()));
  if (first == first_) return;
  first_ = first;
  Rebuild();
  SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), kViewChanged),
               reinterpret_cast<LPARAM>(hwnd_));
}

void ReportChart::Rebuild() {
  static const ReportData kEmpty;
  static const OpenForecast kNoForecast;
  model_ = BuildChart(data_ ? *data_ : kEmpty, first_, forecast_ ? *forecast_ : kNoForecast);
  if (!hwnd_) return;
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const size_t n = data_ ? data_->records.size() : 0;
  si.nMax = n > 0 ? static_cast<int>(std::min<size_t>(n - 1, INT_MAX)) : 0;
  si.nPage = static_cast<UINT>(kChartRecords);
  si.nPos = static_cast<int>(std::min<size_t>(first_, INT_MAX));
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);  // hidden while everything fits
  HideTip();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

ReportChart::Layout ReportChart::LayoutFor(const RECT& client) const {
  Layout l;
  l.plot = {client.left + kLeft, client.top + kTop, client.right - kRight, client.bottom - kBottom};
  l.slots = std::max<int>(kMinSlots, static_cast<int>(model_.bars.size()));
  // A little room at both ends for the forecast's outline.
  l.pitch = static_cast<double>(l.plot.right - l.plot.left - 2 * kInset) / l.slots;
  return l;
}

// The bar's column over the whole height of the plot.
RECT ReportChart::BarRect(const Layout& l, size_t bar) const {
  const size_t slot = l.slots - model_.bars.size() + bar;
  const double centre = l.plot.left + kInset + (slot + 0.5) * l.pitch;
  const double half = std::max(1.0, l.pitch * 0.34);
  return RECT{static_cast<LONG>(std::lround(centre - half)), l.plot.top, static_cast<LONG>(std::lround(centre + half)),
              l.plot.bottom};
}

int ReportChart::BarAt(int x, int y) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  Layout l = LayoutFor(client);
  if (y < l.plot.top || y >= client.bottom) return -1;
  for (size_t i = 0; i < model_.bars.size(); ++i) {
    RECT r = BarRect(l, i);
    // The whole slot answers, so thin bars are easy to point at.
    const int pad = static_cast<int>(l.pitch / 2 - (r.right - r.left) / 2.0);
    if (x >= r.left - pad && x < r.right + pad) return static_cast<int>(i);
  }
  return -1;
}

void ReportChart::Paint(HDC target) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  MemoryCanvas canvas(target, client.right, client.bottom);
  if (!canvas.ok()) return Draw(target, client);
  Draw(canvas.dc(), client);
  BitBlt(target, 0, 0, client.right, client.bottom, canvas.dc(), 0, 0, SRCCOPY);
}

void ReportChart::Draw(HDC dc, const RECT& client) {
  Brush background(CreateSolidBrush(kBackground));
  FillRect(dc, &client, background.get());
  SelectGuard font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  const Layout l = LayoutFor(client);
  DrawScales(dc, l);
  DrawMoney(dc, l, DrawBars(dc, l));
  DrawCaptions(dc, l);
  DrawLegend(dc, client);
  if (GetFocus() == hwnd_) {
    RECT f = l.plot;
    InflateRect(&f, 2, 2);
    DrawFocusRect(dc, &f);
  }
}

void ReportChart::DrawScales(HDC dc, const Layout& l) {
  Pen grid(CreatePen(PS_SOLID, 1, kGrid)), axis(CreatePen(PS_SOLID, 1, kAxis));
  {
    SelectGuard pen(dc, grid.get());
    for (const auto& t : model_.bytes.ticks) {
      const int ty = PlotY(l.plot, t.first, model_.bytes);
      if (t.first > 0) Line(dc, l.plot.left, ty, l.plot.right, ty);
      Text(dc, t.second, l.plot.left - 4, ty, 2, kText);
    }
  }
  for (const auto& t : model_.money.ticks)
    Text(dc, t.second, l.plot.right + 5, PlotY(l.plot, t.first, model_.money), 0, kMoney);
  SelectGuard pen(dc, axis.get());
  Line(dc, l.plot.left, l.plot.top, l.plot.left, l.plot.bottom);
  Line(dc, l.plot.right, l.plot.top, l.plot.right, l.plot.bottom);
  Line(dc, l.plot.left, l.plot.bottom, l.plot.right + 1, l.plot.bottom);
}

std::vector<POINT> ReportChart::DrawBars(HDC dc, const Layout& l) {
  if (model_.bars.empty()) {
    SetBkMode(dc, OPAQUE);  // over the grid line
    SetBkColor(dc, kBackground);
    Text(dc, "Закрытых периодов пока нет", (l.plot.left + l.plot.right) / 2, (l.plot.top + l.plot.bottom) / 2, 1,
         kText);
    SetBkMode(dc, TRANSPARENT);
    return {};
  }
  Brush in(CreateSolidBrush(kIn)), out(CreateSolidBrush(kOut)), hover(CreateSolidBrush(kHover));
  Brush openIn(CreateHatchBrush(HS_BDIAGONAL, kIn)), openOut(CreateHatchBrush(HS_BDIAGONAL, kOut));
  Pen outline(CreatePen(PS_SOLID, 1, kForecast)), dashed(CreatePen(PS_DOT, 1, kForecast));
  std::vector<POINT> money(model_.bars.size(), POINT{0, -1});
  for (size_t i = 0; i < model_.bars.size(); ++i) {
    const ChartBar& b = model_.bars[i];
    const RECT r = BarRect(l, i);
    const int centre = (r.left + r.right) / 2;
    if (static_cast<int>(i) == hover_) {
      const int half = static_cast<int>(l.pitch / 2);
      Fill(dc, centre - half, l.plot.top + 1, centre + half, l.plot.bottom, hover.get());
    }
    const double inBytes = Positive(b.value.in), outBytes = Positive(b.value.out);
    const int yIn = PlotY(l.plot, inBytes, model_.bytes), yTop = PlotY(l.plot, inBytes + outBytes, model_.bytes);
    if (b.open) {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, kOpenTint);
    }
    Fill(dc, r.left, yIn, r.right, l.plot.bottom, (b.open ? openIn : in).get());
    Fill(dc, r.left, yTop, r.right, yIn, (b.open ? openOut : out).get());
    SetBkMode(dc, TRANSPARENT);
    if (b.open) {
      SelectGuard pen(dc, outline.get());
      SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, r.left - 1, yTop - 1, r.right + 1, l.plot.bottom + 1);
    }
    if (b.forecast) {
      const int yAhead = PlotY(l.plot, Positive(b.forecast->in) + Positive(b.forecast->out), model_.bytes);
      SelectGuard pen(dc, dashed.get());
      SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, r.left - 3, yAhead, r.right + 3, l.plot.bottom + 1);
    }
    if (b.value.money) money[i] = POINT{centre, PlotY(l.plot, *b.value.money, model_.money)};
  }
  return money;
}

// A line through the periods that have a figure, a dot on each.
void ReportChart::DrawMoney(HDC dc, const Layout& l, const std::vector<POINT>& money) {
  if (money.empty()) return;
  Pen moneyPen(CreatePen(PS_SOLID, 2, kMoney)), moneyDots(CreatePen(PS_DOT, 1, kMoney));
  Brush moneyFill(CreateSolidBrush(kMoney));
  {
    SelectGuard pen(dc, moneyPen.get());
    for (size_t i = 1; i < money.size(); ++i) {
      if (money[i - 1].y < 0 || money[i].y < 0) continue;
      // The open period is not over: its part of the line is only dotted.
      SelectGuard style(dc, (model_.bars[i].open ? moneyDots : moneyPen).get());
      Line(dc, money[i - 1].x, money[i - 1].y, money[i].x, money[i].y);
    }
    SelectGuard fill(dc, moneyFill.get());
    for (const POINT& p : money)
      if (p.y >= 0) Ellipse(dc, p.x - 3, p.y - 3, p.x + 4, p.y + 4);
  }
  const ChartBar& last = model_.bars.back();
  if (!last.forecast || !last.forecast->money) return;
  // The forecast's money: a ring above (or below) today's dot.
  const RECT r = BarRect(l, model_.bars.size() - 1);
  const int x = (r.left + r.right) / 2;
  const int ahead = PlotY(l.plot, *last.forecast->money, model_.money);
  SelectGuard pen(dc, moneyDots.get());
  if (money.back().y >= 0) Line(dc, x, money.back().y, x, ahead);
  SelectGuard thick(dc, moneyPen.get());
  SelectGuard ring(dc, GetStockObject(WHITE_BRUSH));
  Ellipse(dc, x - 4, ahead - 4, x + 5, ahead + 5);
}

// Under the bars, as many as fit side by side, newest first.
void ReportChart::DrawCaptions(HDC dc, const Layout& l) {
  std::vector<std::pair<int, int>> spans;
  for (size_t i = 0; i < model_.bars.size(); ++i) {
    const RECT r = BarRect(l, i);
    const int w = TextSize(dc, Utf8ToWide(model_.bars[i].caption)).cx, centre = (r.left + r.right) / 2;
    spans.emplace_back(centre - w / 2, centre - w / 2 + w);
  }
  std::vector<bool> drawn = CaptionsThatFit(spans, 6);
  for (size_t i = 0; i < model_.bars.size(); ++i)
    if (drawn[i])
      Text(dc, model_.bars[i].caption, (spans[i].first + spans[i].second) / 2, l.plot.bottom + kBottom / 2, 1,
           kText);
}

void ReportChart::DrawLegend(HDC dc, const RECT& client) {
  int x = client.left + kLeft;
  const int mid = client.top + kTop / 2;
  Brush in(CreateSolidBrush(kIn)), out(CreateSolidBrush(kOut)), open(CreateHatchBrush(HS_BDIAGONAL, kIn));
  Pen moneyPen(CreatePen(PS_SOLID, 2, kMoney)), dashed(CreatePen(PS_DOT, 1, kForecast));
  auto label = [&](const std::string& text) {
    Text(dc, text, x, mid, 0, kText);
    x += TextSize(dc, Utf8ToWide(text)).cx + 12;
  };
  Fill(dc, x, mid - 5, x + 10, mid + 5, in.get());
  x += 14;
  label("входящий");
  Fill(dc, x, mid - 5, x + 10, mid + 5, out.get());
  x += 14;
  label("исходящий");
  {
    SelectGuard pen(dc, moneyPen.get());
    Line(dc, x, mid, x + 14, mid);
  }
  x += 18;
  label(data_ && !data_->denstr.empty() ? "деньги, " + data_->denstr : "деньги");
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, kOpenTint);
  Fill(dc, x, mid - 5, x + 10, mid + 5, open.get());
  SetBkMode(dc, TRANSPARENT);
  x += 14;
  label("сейчас");
  {
    SelectGuard pen(dc, dashed.get());
    SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x, mid - 6, x + 11, mid + 6);
  }
  x += 15;
  label("прогноз");
}

void ReportChart::HideTip() {
  if (tip_ && hover_ >= 0) {
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  }
  if (hover_ >= 0 && hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  hover_ = -1;
}

void ReportChart::OnMouseMove(int x, int y) {
  if (!tracking_) {
    TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&tme) != 0;
  }
  const int bar = BarAt(x, y);
  if (bar == hover_) return;
  HideTip();
  if (bar < 0 || !tip_) return;
  hover_ = bar;
  std::wstring text = Utf8ToWide(model_.bars[static_cast<size_t>(bar)].hover);
  TTTOOLINFOW ti = {};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = text.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  // Below right of the pointer, but kept on its monitor: a tracking tooltip
  // goes wherever it is put.
  POINT pt{x, y};
  ClientToScreen(hwnd_, &pt);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
  LRESULT size = SendMessageW(tip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
  const int w = LOWORD(size), h = HIWORD(size);
  int left = pt.x + 14, top = pt.y + 18;
  if (left + w > mi.rcWork.right) left = std::max<int>(mi.rcWork.left, pt.x - 4 - w);
  if (top + h > mi.rcWork.bottom) top = std::max<int>(mi.rcWork.top, pt.y - 4 - h);
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(left, top));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ReportChart::OnScroll(int request) {
  const size_t newest = data_ ? NewestFirst(data_->records.size()) : 0;
  const size_t page = kChartRecords;
  switch (request) {
    case SB_LINELEFT: return ScrollTo(first_ > 0 ? first_ - 1 : 0);
    case SB_LINERIGHT: return ScrollTo(first_ + 1);
    case SB_PAGELEFT: return ScrollTo(first_ > page ? first_ - page : 0);
    case SB_PAGERIGHT: return ScrollTo(first_ + page);
    case SB_LEFT: return ScrollTo(0);
    case SB_RIGHT: return ScrollTo(newest);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si = {};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, SB_HORZ, &si)) ScrollTo(static_cast<size_t>(std::max(0, si.nTrackPos)));
      return;
    }
    default: return;
  }
}

LRESULT ReportChart::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PaintDC ps(hwnd_);
      Paint(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_HSCROLL:
      OnScroll(LOWORD(wp));
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // Wheel up (or left) looks back in time.
      int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * (msg == WM_MOUSEWHEEL ? -1 : 1);
      size_t by = static_cast<size_t>(std::abs(notches)) * kWheelStep;
      ScrollTo(notches < 0 ? (first_ > by ? first_ - by : 0) : first_ + by);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      switch (wp) {
        case VK_LEFT: OnScroll(SB_LINELEFT); return 0;
        case VK_RIGHT: OnScroll(SB_LINERIGHT); return 0;
        case VK_PRIOR: OnScroll(SB_PAGELEFT); return 0;
        case VK_NEXT: OnScroll(SB_PAGERIGHT); return 0;
        case VK_HOME: OnScroll(SB_LEFT); return 0;
        case VK_END: OnScroll(SB_RIGHT); return 0;
        default: break;
      }
      break;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      HideTip();
      return 0;
    case WM_DESTROY:
      if (tip_) DestroyWindow(tip_);
      tip_ = nullptr;
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
