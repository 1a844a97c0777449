#include "settings/pages/page_limits.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/encoding.h"
#include "common/forecast.h"
#include "common/stored_names.h"
#include "common/win/registry.h"
#include "common/win/ui.h"
#include "settings/pages/limits_text.h"
#include "settings/settings_window.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;
using vtc::test::TestRegistry;

namespace {

struct LimitsPageTest : ::testing::Test {
  TempDir dir;
  TestRegistry reg;
  SettingsWindow w;
  std::vector<std::string> warnings;
  void Open() {
    ASSERT_TRUE(w.Create(dir.path()));
    w.warn = [this](const std::string& t) { warnings.push_back(t); };
    w.Load();
  }
  void Type(const char* prepaid, const char* limit, const char* money) {
    SetTextUtf8(w.limits.prepaidAlert(), prepaid);
    SetTextUtf8(w.limits.moneyLimit(), limit);
    SetTextUtf8(w.limits.moneyAlert(), money);
  }
  void TearDown() override {
    w.Close();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

}  // namespace

TEST_F(LimitsPageTest, OkRefusesWhatTheMeterCannotUseNamingTheFieldThenSavesWhatWasUnderstood) {
  const std::string before = "[Options]\r\nStatkol=30\r\nMoneyAlert=50\r\n";
  dir.Write("options.ini", before);
  Open();
  EXPECT_EQ(GetTextUtf8(w.limits.prepaidAlert()), "80");  // absent: the default
  EXPECT_EQ(GetTextUtf8(w.limits.moneyAlert()), "50");
  const struct {
    const char *prepaid, *limit, *money, *field;
  } refused[] = {{"100", "500", "80", "Предупреждение о трафике"},
                 {"80", "500 руб.", "80", "Лимит расходов"},
                 {"80", "", "-1", "Предупреждение о расходах"}};
  for (const auto& c : refused) {
    Type(c.prepaid, c.limit, c.money);
    warnings.clear();
    SendMessageW(w.okButton(), BM_CLICK, 0, 0);
    ASSERT_EQ(warnings.size(), 1u) << c.field;
    EXPECT_NE(warnings.back().find(std::string("\"") + c.field + "\""), std::string::npos) << warnings.back();
    EXPECT_EQ(dir.Read("options.ini"), before) << c.field;
    EXPECT_NE(w.hwnd(), nullptr) << "the window stays open";
  }

  Type("80", " 612,5 ", "90");
  std::atomic<bool> answered{false};
  std::thread user([&] {  // presses OK of the restart notice once it shows
    for (int i = 0; i < 500 && !answered; ++i) {
      HWND box = FindWindowW(L"#32770", Utf8ToWide(kSettingsTitle).c_str());
      if (box && IsWindowVisible(box)) answered = PostMessageW(box, WM_COMMAND, IDOK, 0) != 0;
      Sleep(20);
    }
  });
  SendMessageW(w.okButton(), BM_CLICK, 0, 0);
  user.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(w.hwnd(), nullptr);
  IniFile saved(dir.File("options.ini"));
  EXPECT_EQ(saved.Find(kOptionsSection, "PrepaidAlert"), std::nullopt);  // absent and only the default
  EXPECT_EQ(saved.Find(kOptionsSection, "MoneyLimit"), std::optional<std::string>("612.5"));
  EXPECT_EQ(saved.Find(kOptionsSection, "MoneyAlert"), std::optional<std::string>("90"));
}

TEST_F(LimitsPageTest, ThePeriodSoFarFollowsTheTypedLimitAndCurrency) {
  dir.Write("options.ini", Utf8ToCp1251("[Options]\r\nStatistic=0\r\ndenstr=руб.\r\nMoneyLimit=500\r\n"));
  {
    RegKey k = RegKey::Open(kTotalsKeyPath);
    k.SetString("InTall", "1572864");
    k.SetString("OutTall", "20480");
    k.SetString("denall", "204.5");
  }
  Open();
  SetTextUtf8(GetDlgItem(w.look.page(), kIdCurrency), "грн.");
  w.SelectPage(5);
  EXPECT_EQ(GetTextUtf8(w.limits.currency()), "грн.");
  EXPECT_EQ(GetTextUtf8(w.limits.spentLine()), "Потрачено: 204.5 грн. из 500 грн. (40 %)");
  EXPECT_EQ(GetTextUtf8(w.limits.trafficLine()), "Трафик: вх. 1.5Mb, исх. 20Kb");
  EXPECT_EQ(GetTextUtf8(w.limits.forecastLine()), "Прогноз: нет, статистика ведется по сессиям");
  SetTextUtf8(w.limits.moneyLimit(), "");
  EXPECT_EQ(GetTextUtf8(w.limits.spentLine()), "Потрачено: 204.5 грн., лимит не задан");

  // With a forecast: whole money, as the meter's trend notice gives it.
  ReportData d;
  d.mode = kByMonths;
  OpenForecast f;
  f.figures = Figures{};
  f.figures->money = 702.67;
  EXPECT_EQ(SummarizeLimits(d, f, 500.0, "руб.").forecast, "Прогноз к концу месяца: около 703 руб., больше лимита");
  EXPECT_EQ(SummarizeLimits(d, f, 800.0, "").forecast, "Прогноз к концу месяца: около 703");
}
