// The forecast as the page "Лимиты" says it: the day a prepaid volume or the
// money limit runs out with its band, or that it lasts the period, and what
// today may use. Platform-free.
#pragma once
#include <cstdint>
#include <string>

#include "common/outlook.h"

namespace vtc {

enum class Budget { kPrepaid, kMoneyLimit };

// "Пакет закончится около 23.12 (между 21.12 и 25.12)", "Пакета хватит до
// конца месяца", "Пакет закончился"; for the money limit "Лимит будет
// исчерпан около ...", "Лимита хватит до конца месяца", "Лимит исчерпан".
// A band's late edge beyond the period is its end ("между 21.12 и концом
// месяца"). Empty for the modes without calendar periods.
std::string RunOutLine(const RunOut& r, int mode, Budget budget);

// "Сегодня можно: 1,2 Гб" (bytes), "Сегодня можно потратить: 45.5 руб."
// (money). Both round down: never more than is left.
std::string AllowanceLine(double allowance, Budget budget, const std::string& denstr);

// Bytes in the meter's units (as FormatBytes picks them) with one decimal,
// truncated, after a comma: "1,2 Гб", "512 б".
std::string ShortBytesText(double bytes);

// "23.12".
std::string DayMonthText(int64_t dayNumber);

}  // namespace vtc
