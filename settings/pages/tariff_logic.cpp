#include "settings/pages/tariff_logic.h"

#include "common/encoding.h"
#include "common/tariff_format.h"
#include "common/text.h"

namespace vtc {
namespace {

const char kStartFormatText[] =
    "Начальный период введен в неправильном формате. Вводить нужно в формате: ЧЧ:ММ (например: 06:03)";
const char kEndFormatText[] =
    "Конечный период введен в неправильном формате. Вводить нужно в формате: ЧЧ:ММ (например: 06:03)";
const char kStartAfterEndText[] = "Начальный период больше конечного. Проверьте правильность ввода";
const char kNameEmptyText[] = "Название тарифа не введено. Введите название тарифа";
const char kNameBracketsText[] =
    "Название тарифа содержит недопустимые символы \"[\" или \"]\". Проверьте правильность ввода";
const char kNameTooLongText[] = "Название тарифа слишком длинное. Вводить нужно не более 31 символа";
const char kNameCharactersText[] =
    "Название тарифа содержит символы, которые нельзя сохранить в файле тарифов. Проверьте правильность ввода";
const char kNameTakenText[] = "Тариф с таким названием уже есть. Введите другое название";
const char kTooManyText[] = "Тарифов не может быть больше 127. Удалите ненужные тарифы";

int StoredInt(const std::optional<std::string>& v) { return v && !v->empty() ? ProfileInt(*v) : 0; }

}  // namespace

std::string RefusalText(TariffRefusal r) {
  switch (r) {
    case TariffRefusal::None: return "";
    case TariffRefusal::StartFormat: return kStartFormatText;
    case TariffRefusal::EndFormat: return kEndFormatText;
    case TariffRefusal::StartAfterEnd: return kStartAfterEndText;
    case TariffRefusal::NameEmpty: return kNameEmptyText;
    case TariffRefusal::NameBrackets: return kNameBracketsText;
    case TariffRefusal::NameTooLong: return kNameTooLongText;
    case TariffRefusal::NameCharacters: return kNameCharactersText;
    case TariffRefusal::NameTaken: return kNameTakenText;
    case TariffRefusal::TooMany: return kTooManyText;
  }
  return "";
}

bool SameSectionName(const std::string& a, const std::string& b) {
  return SameTariffName(TrimBlanks(a), TrimBlanks(b));
}

TariffRefusal CheckTariffName(const std::string& name, const std::vector<std::string>& names, int self) {
  if (TrimBlanks(name).empty()) return TariffRefusal::NameEmpty;
  if (name.find_first_of("[]") != std::string::npos) return TariffRefusal::NameBrackets;
  if (CharCount(name) > kTariffNameChars) return TariffRefusal::NameTooLong;
  // A character the file cannot hold would be stored as "?" and the section
  // would no longer be found under the name the list shows.
  if (Cp1251ToUtf8(Utf8ToCp1251(name)) != name) return TariffRefusal::NameCharacters;
  for (size_t i = 0; i < names.size(); ++i)
    if (static_cast<int>(i) != self && SameSectionName(name, names[i])) return TariffRefusal::NameTaken;
  return TariffRefusal::None;
}

TariffRefusal CheckTariffSave(const TariffFields& f, const std::vector<std::string>& names, int self) {
  if (f.start.find(':') == std::string::npos) return TariffRefusal::StartFormat;
  if (f.end.find(':') == std::string::npos) return TariffRefusal::EndFormat;
  if (TimeNumber(f.start) > TimeNumber(f.end)) return TariffRefusal::StartAfterEnd;
  bool renamed = self < 0 || static_cast<size_t>(self) >= names.size() || names[self] != f.name;
  return renamed ? CheckTariffName(f.name, names, self) : TariffRefusal::None;
}

std::optional<std::string> NameForNewTariff(const std::vector<std::string>& names) {
  if (names.size() >= static_cast<size_t>(kMaxTariffs)) return std::nullopt;
  return NewTariffName(names);
}

std::vector<std::pair<std::string, std::string>> StoredTariffValues(const TariffFields& f) {
  std::vector<std::pair<std::string, std::string>> out = {
      {kTariffStartKey, std::to_string(TimeNumber(f.start))},
      {kTariffEndKey, std::to_string(TimeNumber(f.end))},
      {kTariffFreeInKey, PrepaidStoredText(f.freeIn)},
      {kTariffFreeOutKey, PrepaidStoredText(f.freeOut)},
      {kTariffPriceInKey, PriceStoredText(f.priceIn, kBytesPerMegabyte)},
      {kTariffPriceOutKey, PriceStoredText(f.priceOut, kBytesPerMegabyte)},
      {kTariffPriceTimeKey, PriceStoredText(f.priceHour, kSecondsPerHour)},
  };
  for (int d = 0; d < 7; ++d) out.emplace_back(kTariffDayKeys[d], f.days[d] ? "1" : "0");
  return out;
}

TariffFields ShownTariffFields(const std::string& name,
                               const std::function<std::optional<std::string>(const std::string&)>& read) {
  auto text = [&](const char* key) { return read(key).value_or(""); };
  TariffFields f;
  f.name = name;
  f.start = HhmmText(StoredInt(read(kTariffStartKey)));
  f.end = HhmmText(StoredInt(read(kTariffEndKey)));
  f.freeIn = PrepaidShownText(text(kTariffFreeInKey));
  f.freeOut = PrepaidShownText(text(kTariffFreeOutKey));
  f.priceIn = PriceShownText(text(kTariffPriceInKey), kBytesPerMegabyte);
  f.priceOut = PriceShownText(text(kTariffPriceOutKey), kBytesPerMegabyte);
  f.priceHour = PriceShownText(text(kTariffPriceTimeKey), kSecondsPerHour);
  for (int d = 0; d < 7; ++d) f.days[d] = StoredInt(read(kTariffDayKeys[d])) != 0;
  return f;
}

}  // namespace vtc
