#include "common/budget.h"

#include <gtest/gtest.h>

using namespace vtc;

TEST(Budget, PercentagesAndLimitsAsTypedOrStored) {
  const struct {
    const char* text;
    std::optional<int> want;
  } percents[] = {{"0", 0}, {"80", 80}, {" 99 ", 99}, {"100", std::nullopt}, {"-1", std::nullopt},
                  {"", std::nullopt}, {"8O", std::nullopt}, {"5%", std::nullopt}, {"1 0", std::nullopt}};
  for (const auto& c : percents) EXPECT_EQ(ParseAlertPercent(c.text), c.want) << c.text;

  const struct {
    const char* text;
    std::optional<double> want;
  } limits[] = {{"", 0.0},           {"  ", 0.0},          {"500", 500.0},       {"1,5", 1.5},
                {" 1.5 ", 1.5},      {".5", 0.5},          {"-1", std::nullopt}, {"1.2.3", std::nullopt},
                {"1,5,", std::nullopt}, {"1e3", std::nullopt}, {".", std::nullopt},  {"500 руб.", std::nullopt}};
  for (const auto& c : limits) EXPECT_EQ(ParseMoneyLimit(c.text), c.want) << c.text;
}

TEST(Budget, AbsentOrUnreadableOptionsGiveTheDefaultsAndNoLimit) {
  BudgetOptions absent = BudgetFromTexts(std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(absent.prepaidAlert, 80);
  EXPECT_EQ(absent.moneyLimit, 0);
  EXPECT_EQ(absent.moneyAlert, 80);
  BudgetOptions damaged = BudgetFromTexts(std::string("150"), std::string("много"), std::string(""));
  EXPECT_EQ(damaged.prepaidAlert, 80);
  EXPECT_EQ(damaged.moneyLimit, 0);
  EXPECT_EQ(damaged.moneyAlert, 80);
  BudgetOptions set = BudgetFromTexts(std::string("0"), std::string("612,5"), std::string("50"));
  EXPECT_EQ(set.prepaidAlert, 0);
  EXPECT_EQ(set.moneyLimit, 612.5);
  EXPECT_EQ(set.moneyAlert, 50);
}
