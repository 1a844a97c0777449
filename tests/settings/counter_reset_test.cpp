#include "settings/counter_reset.h"

#include <gtest/gtest.h>

#include "common/stored_names.h"
#include "common/win/registry.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TestRegistry;

TEST(CounterReset, ZeroesTheFourTotalsWithTheirTypesAndNothingElse) {
  TestRegistry reg;
  {
    RegKey k = RegKey::Open(kTotalsKeyPath);
    k.SetString("InTall", "123456789");
    k.SetString("OutTall", "42.5");
    k.SetString("denall", "17.25");
    k.SetDword("timeall", 3600);
    k.SetString("SessionName", "Сессия");
  }
  ASSERT_TRUE(ResetCounters());
  RegKey k = RegKey::Open(kTotalsKeyPath);
  for (const char* name : {"InTall", "OutTall", "denall"})
    EXPECT_EQ(k.GetString(name), std::optional<std::string>("0")) << name;
  EXPECT_EQ(k.GetDword("timeall"), std::optional<uint32_t>(0));
  EXPECT_EQ(k.GetString("SessionName"), std::optional<std::string>("Сессия"));
}

TEST(CounterReset, CreatesTheKeyWhenMissing) {
  TestRegistry reg;
  ASSERT_TRUE(ResetCounters());
  EXPECT_EQ(RegKey::Open(kTotalsKeyPath).GetDword("timeall"), std::optional<uint32_t>(0));
}
