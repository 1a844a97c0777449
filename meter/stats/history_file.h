// statistic.ini through the profile functions: writing a closed record, and
// the statistics window's text with the record limit applied to the file.
#pragma once
#include <string>

#include "common/win/ini.h"
#include "meter/stats/history.h"

namespace vtc {

// Writes the record's four keys in their order; a record of the same name
// already in the file gets the sum of both (MergeRecordValues). False when
// the file refused a write.
bool WriteRecord(const IniFile& file, const std::string& name, const RecordValues& values);

// The two halves of WriteRecord. What the record will hold once `values` are
// closed into it (the sum when it is already there) ...
RecordValues ClosedRecordValues(const IniFile& file, const std::string& name, const RecordValues& values);
// ... and writing exactly that, which may be repeated without changing more.
// The four keys are written at once: the file holds all of them or none.
bool PutRecord(const IniFile& file, const std::string& name, const RecordValues& values);
// Whether the record already holds exactly these values.
bool RecordHolds(const IniFile& file, const std::string& name, const RecordValues& values);

// Deletes the sections older than the newest historyRecords + 1 and returns the text
// of the remaining records, newest first.
std::string FillStatisticsText(const IniFile& file, int historyRecords, const std::string& currency);

// The same, one profile-function call per key and per deleted section: the
// reference the one-pass reading is held to, and its fallback whenever it
// does not see the file's sections as the profile functions do.
std::string FillStatisticsTextByProfileCalls(const IniFile& file, int historyRecords, const std::string& currency);

}  // namespace vtc
