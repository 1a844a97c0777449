#include "settings/pages/page_limits.h"

#include "common/budget.h"
#include "common/win/local_clock.h"
#include "common/win/ui.h"
#include "settings/pages/limits_text.h"
#include "settings/pages/page_host.h"
#include "settings/pages/page_look.h"
#include "settings/report/report_reader.h"

namespace vtc {
namespace {

LimitFields Typed(HWND prepaid, HWND limit, HWND money) {
  return LimitFields{GetTextUtf8(prepaid), GetTextUtf8(limit), GetTextUtf8(money)};
}

}  // namespace

void LimitsPage::Build(const PageContext& c) {
  appDir_ = c.appDir;
  page_ = CreatePageHost(c.tab, kIdLimitsPage);
  PageBuilder b{page_, c.font};
  b.WrapLabel(kIdPrepaidAlertCaption,
              "Предупреждение о трафике: сообщить, когда израсходован этот процент предоплаченного "
              "трафика (0 - не сообщать; об исчерпании сообщается всегда)",
              8, 0, 481, 48);  // room for a third line: in two the text reaches the very edge
  prepaid_ = b.Field(kIdPrepaidAlert, 8, 54, 64);
  b.Label(kIdPrepaidAlertUnit, "%", 80, 57, 16, 17);
  b.WrapLabel(kIdMoneyLimitCaption,
              "Лимит расходов: сколько вы готовы потратить за период статистики (пусто или 0 - без "
              "лимита)",
              8, 90, 481, 34);
  limit_ = b.Field(kIdMoneyLimit, 8, 130, 100);
  currency_ = b.Label(kIdMoneyLimitCurrency, "", 116, 133, 153, 17);
  b.WrapLabel(kIdMoneyAlertCaption,
              "Предупреждение о расходах: сообщить, когда потрачен этот процент лимита (0 - не сообщать; "
              "о достижении лимита сообщается всегда)",
              8, 166, 481, 34);
  money_ = b.Field(kIdMoneyAlert, 8, 206, 64);
  b.Label(kIdMoneyAlertUnit, "%", 80, 209, 16, 17);
  b.WrapLabel(kIdLimitsNote,
              "Предупреждения видны у значка в области уведомлений, даже если подсказки отключены, и каждое "
              "- не чаще раза за период статистики.",
              8, 242, 481, 34);
  constexpr int kFrameX = 8, kFrameY = 284;
  b.Frame(kIdPeriodFrame, "Текущий период", kFrameX, kFrameY, 481, 105);
  spent_ = b.Label(kIdPeriodSpent, "", kFrameX + 8, kFrameY + 24, 465, 18);
  traffic_ = b.Label(kIdPeriodTraffic, "", kFrameX + 8, kFrameY + 48, 465, 18);
  forecast_ = b.Label(kIdPeriodForecast, "", kFrameX + 8, kFrameY + 72, 465, 18);
}

void LimitsPage::Load(const StoredSettings& s) {
  SetTextUtf8(prepaid_, s.limits.prepaidAlert);
  SetTextUtf8(limit_, s.limits.moneyLimit);
  SetTextUtf8(money_, s.limits.moneyAlert);
}

void LimitsPage::OnShow() { Refresh(look_.currencyText()); }

void LimitsPage::Refresh(const std::string& denstr) {
  denstr_ = denstr;
  SetTextUtf8(currency_, denstr);
  data_ = ReadOpenPeriod(appDir_);
  ahead_ = ForecastOpen(data_, NowLocal());
  refreshed_ = true;
  ShowSummary();
}

void LimitsPage::ShowSummary() {
  LimitsSummary s = SummarizeLimits(data_, ahead_, ParseMoneyLimit(GetTextUtf8(limit_)), denstr_);
  SetTextUtf8(spent_, s.spent);
  SetTextUtf8(traffic_, s.traffic);
  SetTextUtf8(forecast_, s.forecast);
}

bool LimitsPage::OnCommand(int id, int code) {
  if (id <= kIdLimitsPage || id > kIdPeriodForecast) return false;
  // The lines follow the limit as it is typed.
  if (id == kIdMoneyLimit && code == EN_CHANGE && refreshed_) ShowSummary();
  return true;
}

std::optional<std::string> LimitsPage::Refusal() const { return LimitsRefusal(Typed(prepaid_, limit_, money_)); }

void LimitsPage::Save(StoredSettings& s) const { s.limits = Typed(prepaid_, limit_, money_); }

}  // namespace vtc
