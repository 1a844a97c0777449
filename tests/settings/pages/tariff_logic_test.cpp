#include <gtest/gtest.h>

#include "settings/pages/tariff_logic.h"

using namespace vtc;

namespace {

TariffFields Typed(const std::string& start, const std::string& end, const std::string& name = "Ночной") {
  TariffFields f;
  f.name = name;
  f.start = start;
  f.end = end;
  return f;
}

std::string Value(const std::vector<std::pair<std::string, std::string>>& kv, const std::string& key) {
  for (const auto& [k, v] : kv)
    if (k == key) return v;
  return "<absent>";
}

}  // namespace

TEST(TariffSaveChecks, TimeWarningsComeInTheirOrder) {
  std::vector<std::string> names = {"Ночной"};
  EXPECT_EQ(CheckTariffSave(Typed("0603", "18"), names, 0), TariffRefusal::StartFormat);
  EXPECT_EQ(CheckTariffSave(Typed("06:03", "1800"), names, 0), TariffRefusal::EndFormat);
  EXPECT_EQ(CheckTariffSave(Typed("07:00", "06:00"), names, 0), TariffRefusal::StartAfterEnd);
  EXPECT_EQ(CheckTariffSave(Typed("06:03", "06:03"), names, 0), TariffRefusal::None);
  // Only the numbers count: 6:3 is 63, 24:00 is 2400, a leading space gives 0.
  EXPECT_EQ(CheckTariffSave(Typed("6:3", "00:63"), names, 0), TariffRefusal::None);
  EXPECT_EQ(CheckTariffSave(Typed("24:00", "23:59"), names, 0), TariffRefusal::StartAfterEnd);
  EXPECT_EQ(CheckTariffSave(Typed(" 06:03", "00:00"), names, 0), TariffRefusal::None);
  // A bad time is reported before a bad name.
  EXPECT_EQ(CheckTariffSave(Typed("07:00", "06:00", ""), names, 0), TariffRefusal::StartAfterEnd);
  EXPECT_EQ(RefusalText(TariffRefusal::StartAfterEnd),
            "Начальный период больше конечного. Проверьте правильность ввода");
  EXPECT_EQ(RefusalText(TariffRefusal::StartFormat),
            "Начальный период введен в неправильном формате. Вводить нужно в формате: ЧЧ:ММ (например: 06:03)");
  EXPECT_EQ(RefusalText(TariffRefusal::EndFormat),
            "Конечный период введен в неправильном формате. Вводить нужно в формате: ЧЧ:ММ (например: 06:03)");
}

TEST(TariffSaveChecks, RenameThatWouldBreakOrMergeSectionsIsRefused) {
  std::vector<std::string> names = {"Дневной", "Ночной", "Week-end"};
  auto rename = [&](const std::string& to) { return CheckTariffSave(Typed("00:00", "23:59", to), names, 1); };
  EXPECT_EQ(rename(""), TariffRefusal::NameEmpty);
  EXPECT_EQ(rename("   "), TariffRefusal::NameEmpty);
  EXPECT_EQ(rename("Тариф]"), TariffRefusal::NameBrackets);
  EXPECT_EQ(rename("[Тариф"), TariffRefusal::NameBrackets);
  EXPECT_EQ(rename("ДНЕВНОЙ"), TariffRefusal::NameTaken);
  EXPECT_EQ(rename("week-END"), TariffRefusal::NameTaken);
  EXPECT_EQ(rename(" Дневной "), TariffRefusal::NameTaken);
  EXPECT_EQ(rename("Тариф \xF0\x9F\x98\x80"), TariffRefusal::NameCharacters);
  // 31 Cyrillic characters are 62 bytes and still fit; 32 do not.
  std::string name31;
  for (int i = 0; i < 31; ++i) name31 += "Ж";
  EXPECT_EQ(rename(name31), TariffRefusal::None);
  EXPECT_EQ(rename(name31 + "Ж"), TariffRefusal::NameTooLong);
  // The tariff's own name in another letter case is a rename, not a clash.
  EXPECT_EQ(rename("НОЧНОЙ"), TariffRefusal::None);
  EXPECT_EQ(rename("Ёлка ґ"), TariffRefusal::None);
  // An unchanged name is not checked again.
  std::vector<std::string> odd = {"a[b"};
  EXPECT_EQ(CheckTariffSave(Typed("00:00", "23:59", "a[b"), odd, 0), TariffRefusal::None);
  for (auto r : {TariffRefusal::NameEmpty, TariffRefusal::NameBrackets, TariffRefusal::NameTooLong,
                 TariffRefusal::NameCharacters, TariffRefusal::NameTaken, TariffRefusal::TooMany})
    EXPECT_FALSE(RefusalText(r).empty());
}

TEST(TariffNames, NewNameTakesSmallestFreeNumberUpToTheMetersLimit) {
  EXPECT_EQ(NameForNewTariff({}).value_or("-"), "Новый тариф №0");
  EXPECT_EQ(NameForNewTariff({"новый ТАРИФ №0", "Новый тариф №2"}).value_or("-"), "Новый тариф №1");
  std::vector<std::string> many;
  for (int i = 0; i < 126; ++i) many.push_back("T" + std::to_string(i));
  EXPECT_EQ(NameForNewTariff(many).value_or("-"), "Новый тариф №0");
  many.push_back("T126");
  EXPECT_FALSE(NameForNewTariff(many).has_value());
}

TEST(TariffValues, TypedUnitsToStoredKeysInWriteOrder) {
  TariffFields f = Typed("06:03", "18:00");
  f.freeIn = "100";
  f.freeOut = "1,5";
  f.priceIn = "1,5";
  f.priceOut = "0.5";
  f.priceHour = "36";
  f.days = {true, false, true, false, false, false, true};
  auto kv = StoredTariffValues(f);
  std::vector<std::string> keys;
  for (const auto& p : kv) keys.push_back(p.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"st", "et", "freein", "freeout", "int", "outt", "costt", "1", "2", "3",
                                            "4", "5", "6", "7"}));
  EXPECT_EQ(Value(kv, "st"), "603");
  EXPECT_EQ(Value(kv, "et"), "1800");
  EXPECT_EQ(Value(kv, "freein"), "104857600");
  EXPECT_EQ(Value(kv, "freeout"), "1048576");
  EXPECT_EQ(Value(kv, "int"), "0.00000143051147460938");
  EXPECT_EQ(Value(kv, "costt"), "0.01");
  EXPECT_EQ(Value(kv, "1"), "1");
  EXPECT_EQ(Value(kv, "2"), "0");
  EXPECT_EQ(Value(kv, "7"), "1");
}

TEST(TariffValues, PrepaidAbove2047MegabytesStaysPositiveAndComesBack) {
  TariffFields f = Typed("00:00", "23:59");
  f.freeIn = "3000";
  f.freeOut = "2048";
  auto kv = StoredTariffValues(f);
  EXPECT_EQ(Value(kv, "freein"), "3145728000");
  EXPECT_EQ(Value(kv, "freeout"), "2147483648");
  TariffFields shown = ShownTariffFields("x", [&](const std::string& k) -> std::optional<std::string> {
    return Value(kv, k);
  });
  EXPECT_EQ(shown.freeIn, "3000");
  EXPECT_EQ(shown.freeOut, "2048");
}

TEST(TariffValues, StoredKeysShowBackInUserUnits) {
  TariffFields f = Typed("06:03", "18:00");
  f.freeIn = "100";
  f.priceIn = "1,5";
  f.priceOut = "0.5";
  f.priceHour = "1";
  f.days[5] = true;
  auto kv = StoredTariffValues(f);
  TariffFields shown = ShownTariffFields("Ночной", [&](const std::string& k) -> std::optional<std::string> {
    return Value(kv, k);
  });
  EXPECT_EQ(shown.name, "Ночной");
  EXPECT_EQ(shown.start, "06:03");
  EXPECT_EQ(shown.end, "18:00");
  EXPECT_EQ(shown.freeIn, "100");
  EXPECT_EQ(shown.freeOut, "0");
  EXPECT_EQ(shown.priceIn, "1.5");
  EXPECT_EQ(shown.priceOut, "0.5");
  EXPECT_EQ(shown.priceHour, "1");
  EXPECT_EQ(shown.days, (std::array<bool, 7>{false, false, false, false, false, true, false}));

  // A section that holds only st=0 (a new tariff) shows every default; 63 shows as 00:63.
  TariffFields fresh = ShownTariffFields("n", [](const std::string& k) -> std::optional<std::string> {
    if (k == "st") return "63";
    if (k == "et") return "";
    return std::nullopt;
  });
  EXPECT_EQ(fresh.start, "00:63");
  EXPECT_EQ(fresh.end, "00:00");
  EXPECT_EQ(fresh.freeIn, "0");
  EXPECT_EQ(fresh.priceIn, "0");
  EXPECT_EQ(fresh.priceHour, "0");
  EXPECT_EQ(fresh.days, (std::array<bool, 7>{}));
}
