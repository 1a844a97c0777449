// PLACEHOLDER until the statistics change lands.
#include "meter/stats/statistics_window.h"

namespace vtc {
struct StatisticsWindow::Impl {};
StatisticsWindow::StatisticsWindow() : impl_(new Impl) {}
StatisticsWindow::~StatisticsWindow() { delete impl_; }
bool StatisticsWindow::Create(const std::string&, int, const std::string&) { return true; }
void StatisticsWindow::Show() {}
HWND StatisticsWindow::hwnd() const { return nullptr; }
void ShowTariffInfo(const std::vector<TTariff>&, int, const std::string&, BalloonSink&) {}
}  // namespace vtc
