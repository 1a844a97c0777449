// The tariff editor's rules that need no window: the checks made before a
// tariff is written, the names a tariff may take, and the conversions between
// the editor's fields and the keys of a tariff section. Platform-free.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtc {

// The fields of the editor, as the user sees and types them.
struct TariffFields {
  std::string name;
  std::string start, end;        // ЧЧ:ММ
  std::string freeIn, freeOut;   // whole megabytes
  std::string priceIn, priceOut; // money per megabyte
  std::string priceHour;         // money per hour
  std::array<bool, 7> days{};    // Monday first
};

// Why a save or an add is refused. None: go ahead.
enum class TariffRefusal {
  None,
  StartFormat,     // start time without ":"
  EndFormat,       // end time without ":"
  StartAfterEnd,   // start time number greater than the end's
  NameEmpty,
  NameBrackets,    // "[" or "]" would break the section line
  NameTooLong,     // more than the meter keeps
  NameCharacters,  // characters the tariff file's code page cannot hold
  NameTaken,       // another tariff has it, letter case aside
  TooMany,         // "Добавить" beyond what the meter holds
};

// The warning shown for a refusal (empty for None).
std::string RefusalText(TariffRefusal r);

// Checks made by "Сохранить", in the order the user is told about them: the
// three time checks, then (only when the name was changed) the new name
// against the other tariffs. `names` is the tariff list, `self` the index of
// the tariff being saved in it.
TariffRefusal CheckTariffSave(const TariffFields& f, const std::vector<std::string>& names, int self);

// The new name alone (used by CheckTariffSave when the name changed).
TariffRefusal CheckTariffName(const std::string& name, const std::vector<std::string>& names, int self);

// Name for "Добавить": "Новый тариф №" and the smallest free number, or
// nullopt when the list already holds as many tariffs as the meter can.
std::optional<std::string> NameForNewTariff(const std::vector<std::string>& names);

// Two tariff names that the tariff file would take for the same section:
// the profile functions ignore letter case and the blanks around a name.
bool SameSectionName(const std::string& a, const std::string& b);

// Keys of a tariff section with their texts, in the order they are written.
std::vector<std::pair<std::string, std::string>> StoredTariffValues(const TariffFields& f);

// The fields for a tariff section. `read` gives a key's stored text, or
// nullopt when the section lacks it (the key's default then applies).
TariffFields ShownTariffFields(const std::string& name,
                               const std::function<std::optional<std::string>(const std::string&)>& read);

}  // namespace vtc
