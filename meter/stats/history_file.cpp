#include "meter/stats/history_file.h"

#include <vector>

namespace vtc {

bool WriteRecord(const IniFile& file, const std::string& name, const RecordValues& values) {
  RecordValues stored;
  auto in = file.Find(name, reckey::InTall);
  auto out = file.Find(name, reckey::OutTall);
  auto den = file.Find(name, reckey::Denall);
  auto time = file.Find(name, reckey::Timeall);
  RecordValues v = values;
  if (in || out || den || time) {
    stored.inTall = in.value_or("");
    stored.outTall = out.value_or("");
    stored.denall = den.value_or("");
    stored.timeall = time.value_or("");
    v = MergeRecordValues(stored, values);
  }
  bool ok = file.WriteString(name, reckey::InTall, v.inTall);
  ok = file.WriteString(name, reckey::OutTall, v.outTall) && ok;
  ok = file.WriteString(name, reckey::Denall, v.denall) && ok;
  ok = file.WriteString(name, reckey::Timeall, v.timeall) && ok;
  return ok;
}

std::string FillStatisticsText(const IniFile& file, int statkol, const std::string& denstr) {
  std::vector<std::string> names = file.SectionNames();
  size_t first = FirstKeptSection(names.size(), statkol);
  // The profile functions delete the first section of a name, so deleting the
  // old ones before reading leaves each kept name pointing at its own section.
  for (size_t i = 0; i < first; ++i) file.DeleteSection(names[i]);
  std::string text;
  for (size_t i = names.size(); i-- > first;) {
    const std::string& n = names[i];
    text += RecordText(n, file.ReadString(n, reckey::InTall, "0"), file.ReadString(n, reckey::OutTall, "0"),
                       file.ReadString(n, reckey::Denall, "0"), denstr);
  }
  return text;
}

}  // namespace vtc
