// LoadTariffs: tarif.ini through the profile functions.
#include "common/stored_names.h"
#include "common/text.h"
#include "common/win/ini.h"
#include "meter/tariff/tariffs.h"

namespace vtc {

std::vector<TTariff> LoadTariffs(const std::string& path) {
  IniFile ini(path);
  std::vector<std::string> sections = ini.SectionNames();
  // The tariff count is a signed 8-bit number in both programs: a longer file
  // is read up to what the meter can hold.
  if (sections.size() > static_cast<size_t>(kMaxTariffs)) sections.resize(kMaxTariffs);

  std::vector<TTariff> tariffs;
  tariffs.reserve(sections.size());
  for (const std::string& section : sections) {
    TTariff t;
    t.name = FirstChars(section, kTariffNameChars);
    // The profile reader's integer kept as 16 bits, as the stored range is.
    t.startHhmm = static_cast<uint16_t>(ini.ReadInt(section, kTariffStartKey, 0));
    t.endHhmm = static_cast<uint16_t>(ini.ReadInt(section, kTariffEndKey, 0));
    t.freeIn = TextFloat(ini.ReadString(section, kTariffFreeInKey));
    t.freeOut = TextFloat(ini.ReadString(section, kTariffFreeOutKey));
    t.pricePerByteIn = TextFloat(ini.ReadString(section, kTariffPriceInKey));
    t.pricePerByteOut = TextFloat(ini.ReadString(section, kTariffPriceOutKey));
    t.pricePerSecond = TextFloat(ini.ReadString(section, kTariffPriceTimeKey));
    for (int d = 0; d < 7; ++d) t.days[d] = ini.ReadInt(section, kTariffDayKeys[d], 0) != 0;
    tariffs.push_back(std::move(t));
  }
  return tariffs;
}

}  // namespace vtc
