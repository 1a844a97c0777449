// The user's budget for one statistics period: how early to warn about a
// prepaid volume, the money the user means to spend and how early to warn
// about that; and what the meter has already told the user in the open
// period. Both programs read the option texts by these rules, so the
// settings program refuses exactly what the meter could not use.
// Platform-free.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vtc {

constexpr int kDefaultAlertPercent = 80;

struct BudgetOptions {
  int prepaidAlert = kDefaultAlertPercent;  // 0: no early warning
  double moneyLimit = 0;                    // 0: no limit
  int moneyAlert = kDefaultAlertPercent;    // 0: no early warning
};

// A warning percentage as typed or stored: a whole number from 0 to 99 with
// blanks around it allowed; nothing for any other text. 100 is no early
// warning: that is the used-up notice itself.
std::optional<int> ParseAlertPercent(const std::string& text);

// A money limit as typed or stored: empty or blank gives 0 (no limit);
// otherwise digits with at most one "." or "," (as the tariffs' prices are
// typed), blanks around them allowed; nothing for any other text.
std::optional<double> ParseMoneyLimit(const std::string& text);

// The options from their stored texts (nullopt: the key is absent). An
// absent or unreadable percentage is the default; an unreadable limit is no
// limit, since no figure could be warned about.
BudgetOptions BudgetFromTexts(const std::optional<std::string>& prepaidAlert,
                              const std::optional<std::string>& moneyLimit,
                              const std::optional<std::string>& moneyAlert);

// The whole percentage `part` is of `whole` (> 0), truncated: what has been
// used, never rounded up to a mark not yet reached. Kept within 0..10^12.
long long WholePercent(double part, double whole);

// Money as the warnings and the page "Лимиты" write it: rounded to the
// hundredth, then the currency after a blank (none without a currency).
std::string MoneyText(double v, const std::string& denstr);

// What the meter has announced in the open period: for the prepaid volumes
// and the money limit the highest percentage (0, the warning's percentage or
// 100), and the day of the month of the last trend notice (0: none).
struct Announced {
  uint32_t prepaidIn = 0, prepaidOut = 0, money = 0, trendDay = 0;
  bool operator==(const Announced& o) const {
    return prepaidIn == o.prepaidIn && prepaidOut == o.prepaidOut && money == o.money && trendDay == o.trendDay;
  }
  bool operator!=(const Announced& o) const { return !(*this == o); }
};

}  // namespace vtc
