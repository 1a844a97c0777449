#include "meter/stats/history_file.h"

#include <vector>

#include "common/encoding.h"
#include "common/win/appdir.h"
#include "common/win/file.h"
#include "common/win/ini_scan.h"

namespace vtc {
namespace {

std::string ValueOrZero(const ScannedSection& s, const char* key) {
  auto v = FindScannedKey(s, key);
  return v ? Cp1251ToUtf8(*v) : "0";
}

// Key by key through the profile functions: the reference behaviour, used
// when the one-pass reading does not see the file as they do.
std::string FillByProfileCalls(const IniFile& file, const std::vector<std::string>& names, size_t first,
                               const std::string& currency) {
  // The profile functions delete the first section of a name, so deleting the
  // old ones before reading leaves each kept name pointing at its own section.
  for (size_t i = 0; i < first; ++i) file.DeleteSection(names[i]);
  std::string text;
  for (size_t i = names.size(); i-- > first;) {
    const std::string& n = names[i];
    text += RecordText(n, file.ReadString(n, reckey::InTall, "0"), file.ReadString(n, reckey::OutTall, "0"),
                       file.ReadString(n, reckey::Denall, "0"), currency);
  }
  return text;
}

}  // namespace

RecordValues ClosedRecordValues(const IniFile& file, const std::string& name, const RecordValues& values) {
  auto in = file.Find(name, reckey::InTall);
  auto out = file.Find(name, reckey::OutTall);
  auto den = file.Find(name, reckey::Denall);
  auto time = file.Find(name, reckey::Timeall);
  if (!(in || out || den || time)) return values;
  RecordValues stored;
  stored.inTall = in.value_or("");
  stored.outTall = out.value_or("");
  stored.denall = den.value_or("");
  stored.timeall = time.value_or("");
  return MergeRecordValues(stored, values);
}

bool PutRecord(const IniFile& file, const std::string& name, const RecordValues& v) {
  // The four keys reach the file together or not at all: a record half
  // written, closed again at the next start, would count its traffic twice.
  // The profile functions edit a copy, which then takes the file's place.
  const bool existed = FileExists(file.path());
  const bool written = EditWholeFile(file.path(), [&](const std::string& copyPath) {
    const IniFile copy(copyPath);
    return copy.WriteString(name, reckey::InTall, v.inTall) && copy.WriteString(name, reckey::OutTall, v.outTall) &&
           copy.WriteString(name, reckey::Denall, v.denall) && copy.WriteString(name, reckey::Timeall, v.timeall);
  });
  // The old file replaced away and the new one not yet in its place: that
  // copy, record and all, becomes the file at the next start, so the record
  // counts as written. Closing the period again would put it in twice.
  return written || (existed && !FileExists(file.path()));
}

bool RecordHolds(const IniFile& file, const std::string& name, const RecordValues& v) {
  return file.Find(name, reckey::InTall) == v.inTall && file.Find(name, reckey::OutTall) == v.outTall &&
         file.Find(name, reckey::Denall) == v.denall && file.Find(name, reckey::Timeall) == v.timeall;
}

bool WriteRecord(const IniFile& file, const std::string& name, const RecordValues& values) {
  return PutRecord(file, name, ClosedRecordValues(file, name, values));
}

std::string FillStatisticsTextByProfileCalls(const IniFile& file, int historyRecords, const std::string& currency) {
  std::vector<std::string> names = file.SectionNames();
  return FillByProfileCalls(file, names, FirstKeptSection(names.size(), historyRecords), currency);
}

std::string FillStatisticsText(const IniFile& file, int historyRecords, const std::string& currency) {
  std::vector<std::string> names = file.SectionNames();
  size_t first = FirstKeptSection(names.size(), historyRecords);
  if (names.empty()) return "";

  // One reading of the whole file when it agrees with the profile functions
  // section for section; dropping the old records is then one rewrite of the
  // file instead of one rewrite per deleted record.
  std::optional<VerifiedScan> read = ScanIniFile(file, names);
  if (!read) return FillByProfileCalls(file, names, first, currency);
  const ScannedProfile& scan = read->scan;

  if (first > 0) {
    const std::string& bytes = read->bytes;
    std::string kept = bytes.substr(0, scan.sections[0].begin) + bytes.substr(scan.sections[first].begin);
    // A failed rewrite that left no file has left the trimmed one beside it,
    // to take the file's place at the next start: the profile functions
    // would start a new, empty file here instead.
    if (!WriteWholeFile(file.path(), kept) && FileExists(file.path()))
      return FillByProfileCalls(file, names, first, currency);
  }
  std::string text;
  for (size_t i = scan.sections.size(); i-- > first;) {
    const ScannedSection& s = scan.sections[i];
    text += RecordText(names[i], ValueOrZero(s, reckey::InTall), ValueOrZero(s, reckey::OutTall),
                       ValueOrZero(s, reckey::Denall), currency);
  }
  return text;
}

}  // namespace vtc
