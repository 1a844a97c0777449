// The report's chart: a child window that draws a ChartModel (bars of the
// closed periods, incoming and outgoing stacked, money as a line on its own
// scale, the open period hatched with its forecast as an outline), painted
// through a memory bitmap so that it never flickers. A tooltip gives the full
// text of the bar under the mouse; the scroll bar, the wheel and the arrow
// keys reach older periods.
#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "common/win/ui.h"
#include "common/win/window.h"
#include "settings/report/report_chart_model.h"

namespace vtc {

class ReportChart : public BaseWindow {
 public:
  // Told to the parent as WM_COMMAND (the chart's ID, this code) whenever
  // other records come into view.
  static constexpr int kViewChanged = 1;

  bool Create(HWND parent, int id, int x, int y, int w, int h);
  // Shows `data` (borrowed: the caller keeps it alive and unchanged until the
  // next call) with the newest records on the right.
  void SetData(const ReportData* data, const OpenForecast* forecast);
  // Shows the records from `first` on, as far as there are records.
  void ScrollTo(size_t first);
  size_t first() const { return first_; }
  size_t shownRecords() const;  // closed periods in view
  const ChartModel& model() const { return model_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Layout {
    RECT plot{};
    int slots = 0;  // bar places across the plot, bars fill the rightmost
    double pitch = 0;
  };
  Layout LayoutFor(const RECT& client) const;
  RECT BarRect(const Layout& l, size_t bar) const;
  int BarAt(int x, int y) const;

  void Rebuild();
  void Paint(HDC target);
  // The stages of a picture, in the order they are drawn over each other.
  void Draw(HDC dc, const RECT& client);
  void DrawScales(HDC dc, const Layout& l);
  // The bars; gives the money's point of each bar, y < 0 where it has none.
  std::vector<POINT> DrawBars(HDC dc, const Layout& l);
  void DrawMoney(HDC dc, const Layout& l, const std::vector<POINT>& money);
  void DrawCaptions(HDC dc, const Layout& l);
  void DrawLegend(HDC dc, const RECT& client);
  void OnMouseMove(int x, int y);
  void HideTip();
  void OnScroll(int request);

  const ReportData* data_ = nullptr;        // borrowed
  const OpenForecast* forecast_ = nullptr;  // borrowed
  size_t first_ = 0;
  ChartModel model_;
  Font font_;
  HWND tip_ = nullptr;
  int hover_ = -1;
  bool tracking_ = false;
};

}  // namespace vtc
