#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <iphlpapi.h>

#include <cstring>

#include "common/conntypes.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/interface_chooser.h"
#include "settings/pages/page_traffic.h"

using namespace vtc;

TEST(InterfaceRows, TypeZeroListsEveryRowOthersOnlyTheirOwnInTableOrder) {
  std::vector<InterfaceRow> rows = {{24, "lo"}, {6, "veth a"}, {23, "ppp"}, {6, "veth a"}};
  EXPECT_EQ(InterfacesOfType(rows, 0), (std::vector<std::string>{"lo", "veth a", "ppp", "veth a"}));
  EXPECT_EQ(InterfacesOfType(rows, 6), (std::vector<std::string>{"veth a", "veth a"}));
  EXPECT_TRUE(InterfacesOfType(rows, 71).empty());
}

TEST(InterfaceRows, RealTableMatchesThePlatformsOwnCount) {
  auto rows = ReadInterfaceRows();
  ASSERT_TRUE(rows.has_value());
  DWORD count = 0;
  ASSERT_EQ(GetNumberOfInterfaces(&count), NO_ERROR);
  EXPECT_EQ(rows->size(), count);
  bool loopback = false;
  for (const auto& r : *rows) {
    EXPECT_FALSE(r.description.empty());
    if (r.type == 24) loopback = true;
  }
  EXPECT_TRUE(loopback);
}

namespace {

class TrafficPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top = CreateWindowExW(0, L"STATIC", L"t", WS_POPUP, 0, 0, 505, 473, nullptr, nullptr, nullptr, nullptr);
    tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 505, 441, top, nullptr, nullptr,
                          nullptr);
    page.Build({tab, top, nullptr, nullptr, ""});
  }
  void TearDown() override { DestroyWindow(top); }
  int FoundCount() { return static_cast<int>(SendMessageW(page.found, LB_GETCOUNT, 0, 0)); }

  HWND top = nullptr, tab = nullptr;
  TrafficPage page;
  InterfaceChooser& chooser = page.chooser();
};

}  // namespace

TEST_F(TrafficPageTest, MakePrimaryAndSecondaryCopyThePickedEntryOnly) {
  SetTextUtf8(page.primary, "typed by hand");
  SetTextUtf8(page.secondary, "second");
  SendMessageW(page.found, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Адаптер 1"));
  SendMessageW(page.found, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Адаптер 2"));
  chooser.OnCommand(kIdMakePrimary, BN_CLICKED);
  chooser.OnCommand(kIdMakeSecondary, BN_CLICKED);
  EXPECT_EQ(GetTextUtf8(page.primary), "typed by hand");
  EXPECT_EQ(GetTextUtf8(page.secondary), "second");
  SendMessageW(page.found, LB_SETCURSEL, 1, 0);
  chooser.OnCommand(kIdMakePrimary, BN_CLICKED);
  EXPECT_EQ(GetTextUtf8(page.primary), "Адаптер 2");
  SendMessageW(page.found, LB_SETCURSEL, 0, 0);
  chooser.OnCommand(kIdMakeSecondary, BN_CLICKED);
  EXPECT_EQ(GetTextUtf8(page.secondary), "Адаптер 1");
  EXPECT_EQ(GetTextUtf8(page.primary), "Адаптер 2");
  EXPECT_FALSE(chooser.OnCommand(kIdSave, BN_CLICKED));  // another page's control
}
