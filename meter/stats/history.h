// The meter's history without the platform: names of the records the start-up
// closes, the decision whether the open period has ended, the text a record
// shows in the statistics window and which old records the limit removes.
// No <windows.h> here; the adapters in rollover.cpp and history_file.cpp do
// the registry and profile-file work.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/stored_names.h"

namespace vtc {

// Values of the Statistic option.
enum StatisticMode { kStatBySession = 0, kStatByDay = 1, kStatByWeek = 2, kStatByMonth = 3, kStatByYear = 4 };

// What the registry holds about the open period (absent values: "" and 0).
struct RollMarkers {
  std::string sessionName;
  uint32_t day = 0, month = 0, year = 0;
};

// What the start-up has to do.
struct RollPlan {
  bool close = false;  // false: the open period goes on, nothing is written
  std::string record;  // name of the record to close
  std::optional<std::string> newSessionName;
  bool storeToday = false;  // day, month, year := today
};

RollPlan PlanRoll(int statistic, int firstDayOfWeek, const RollMarkers& stored, const LocalTime& now);

// Name parts: DD.MM.YYYY with zeros kept ("00.00.0000" for nothing stored).
std::string DateText(int64_t day, int64_t month, int64_t year);
std::string SessionMarkerName(const LocalTime& now);  // "Сессия HH:MM:SS DD.MM.YYYY"
std::string WeekMarkerName(const LocalTime& now);     // "Неделя с DD.MM.YYYY"

// The four values of a closed record as they are written to the file.
struct RecordValues {
  std::string inTall, outTall, denall, timeall;
};

// Values to write when a record of the same name is already in the file
// (the clock was set back, or two runs started within one second): the
// figures are added, so that neither period's traffic is lost. An empty
// incoming value leaves the stored one as it is.
RecordValues MergeRecordValues(const RecordValues& stored, const RecordValues& incoming);

// Seconds of a FormatSeconds text (hours may have more than two digits);
// anything unreadable gives 0.
double SecondsFromText(const std::string& text);

// The seven lines of one record in the statistics window, each ended by a CR.
std::string RecordText(const std::string& name, const std::string& inText, const std::string& outText,
                       const std::string& moneyText, const std::string& currency);

// Index of the oldest section that the record limit keeps among `count`
// sections in file order: the newest historyRecords + 1 stay. A negative limit keeps
// everything: it cannot have been meant, and a history once deleted is gone.
size_t FirstKeptSection(size_t count, int historyRecords);

}  // namespace vtc
