#include "common/budget.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/text.h"

namespace vtc {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> ParseAlertPercent(const std::string& text) {
  const std::string t = TrimBlanks(text);
  if (t.empty() || t.size() > 2) return std::nullopt;
  for (char c : t)
    if (!IsDigit(c)) return std::nullopt;
  return std::stoi(t);
}

std::optional<double> ParseMoneyLimit(const std::string& text) {
  std::string t = TrimBlanks(text);
  if (t.empty()) return 0.0;
  bool digits = false, separator = false;
  for (char& c : t) {
    if (IsDigit(c)) {
      digits = true;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
      c = '.';
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  // Only digits and a point are left, so strtod reads them as they stand.
  const double v = std::strtod(t.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

BudgetOptions BudgetFromTexts(const std::optional<std::string>& prepaidAlert,
                              const std::optional<std::string>& moneyLimit,
                              const std::optional<std::string>& moneyAlert) {
  BudgetOptions b;
  if (prepaidAlert) b.prepaidAlert = ParseAlertPercent(*prepaidAlert).value_or(kDefaultAlertPercent);
  if (moneyLimit) b.moneyLimit = ParseMoneyLimit(*moneyLimit).value_or(0);
  if (moneyAlert) b.moneyAlert = ParseAlertPercent(*moneyAlert).value_or(kDefaultAlertPercent);
  return b;
}

std::string MoneyText(double v, const std::string& denstr) {
  std::string s = FloatText(RoundMoney(v));
  return denstr.empty() ? s : s + " " + denstr;
}

long long WholePercent(double part, double whole) {
  const double p = std::floor(part * 100 / whole);
  return static_cast<long long>(p > 0 ? std::min(p, 1e12) : 0);
}

}  // namespace vtc
