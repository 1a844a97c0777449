// Every name under which the two programs keep data: the files of the program
// folder, the keys of options.ini, tarif.ini, statistic.ini and a skin's
// look.ini, and the registry keys and values. The meter and the settings
// program meet only through these, and users' files and registries already
// hold them, so each is spelt here once, exactly as it is stored; a change
// here is a change of the stored format.
// Platform-free.
#pragma once

namespace vtc {

// Files of the program folder (the folder's path ends with a backslash).
constexpr const char* kOptionsFileName = "options.ini";
constexpr const char* kTariffFileName = "tarif.ini";
constexpr const char* kStatisticsFileName = "statistic.ini";
constexpr const char* kErrorReportFileName = "bug.txt";
constexpr const char* kUpdateFileName = "last_upd.txt";
constexpr const char* kMeterProgramFileName = "qmeter4.exe";  // also the autorun entry's target
constexpr const char* kSettingsProgramFileName = "qmeter_cfg.exe";

// The skin root: one folder per skin below it, the two tray icons in it.
constexpr const char* kSkinRootFolder = "Look\\";
constexpr const char* kSkinPictureFileName = "main.bmp";
constexpr const char* kSkinDescriptionFileName = "look.ini";
constexpr const char* kOnlineIconFileName = "online.ico";
constexpr const char* kOfflineIconFileName = "offline.ico";

// look.ini of a skin: [About] tells the settings program whose skin it is,
// [Options] places the twelve value labels, each key a label's name followed
// by one of the suffixes (Label1_Left). tools/make_skins.py reads these too.
constexpr const char* kSkinAboutSection = "About";
constexpr const char* kSkinLabelsSection = "Options";
namespace skinkey {
constexpr const char* Author = "Author";
constexpr const char* Name = "Name";
constexpr const char* Label = "Label";  // followed by the number, 1 to 12
constexpr const char* Left = "_Left";
constexpr const char* Top = "_Top";
constexpr const char* Width = "_Width";
constexpr const char* Height = "_Height";
constexpr const char* Color = "_Color";
constexpr const char* FontHeight = "_Font_Height";
constexpr const char* FontName = "_Font_Name";
constexpr const char* FontColor = "_Font_Color";
constexpr const char* Visible = "_Visible";
// The speed graph, beside the labels; a skin without them has none.
constexpr const char* GraphVisible = "Graph_Visible";
constexpr const char* GraphLeft = "Graph_Left";
constexpr const char* GraphTop = "Graph_Top";
constexpr const char* GraphWidth = "Graph_Width";
constexpr const char* GraphHeight = "Graph_Height";
constexpr const char* GraphColor = "Graph_Color";
constexpr const char* GraphInColor = "Graph_In_Color";
constexpr const char* GraphOutColor = "Graph_Out_Color";
constexpr const char* GraphSeconds = "Graph_Seconds";
}  // namespace skinkey

// options.ini, section Options. Key names are matched without regard to case.
constexpr const char* kOptionsSection = "Options";
namespace optkey {
constexpr const char* ShowBt = "ShowBt";
constexpr const char* Interface = "Interface";
constexpr const char* Interface2 = "Interface2";
constexpr const char* Denstr = "Denstr";
constexpr const char* AutoFind = "AutoFind";
constexpr const char* Statistic = "Statistic";
constexpr const char* Statkol = "statkol";
constexpr const char* Dof = "Dof";
constexpr const char* AutoClose = "AutoClose";
constexpr const char* StayOnTop = "StayOnTop";
constexpr const char* Left = "Left";
constexpr const char* Top = "Top";
constexpr const char* Visible = "Visible";
constexpr const char* AlphaBlend = "AlphaBlend";
constexpr const char* Look = "Look";
constexpr const char* AutoUpdate = "AutoUpdate";
// Address of the update file; only the meter reads it, nobody writes it.
constexpr const char* UpdateURL = "UpdateURL";
// Where the traffic is read: this computer's interfaces, or the router's WAN
// counters by UPnP or SNMP; the router's address, community and WAN interface.
constexpr const char* Source = "Source";
constexpr const char* Router = "Router";
constexpr const char* RouterCommunity = "RouterCommunity";
constexpr const char* RouterInterface = "RouterInterface";
// The warnings before the money flows: percentages of a prepaid volume and of
// the money limit, and the limit itself as number text.
constexpr const char* PrepaidAlert = "PrepaidAlert";
constexpr const char* MoneyLimit = "MoneyLimit";
constexpr const char* MoneyAlert = "MoneyAlert";
// The settings program has always written these three in a case of its own.
// They name the keys above, and files it wrote keep their spelling when it
// writes them again.
namespace cfg {
constexpr const char* Denstr = "denstr";
constexpr const char* Statkol = "Statkol";
constexpr const char* Dof = "dof";
}  // namespace cfg
}  // namespace optkey

// Keys of one section of tarif.ini, which is one tariff: the section's name
// is the tariff's name, and the order of the sections the priority order.
constexpr const char* kTariffStartKey = "st";         // hours * 100 + minutes
constexpr const char* kTariffEndKey = "et";           // inclusive, same encoding
constexpr const char* kTariffFreeInKey = "freein";    // prepaid incoming bytes
constexpr const char* kTariffFreeOutKey = "freeout";  // prepaid outgoing bytes
constexpr const char* kTariffPriceInKey = "int";      // money per incoming byte
constexpr const char* kTariffPriceOutKey = "outt";    // money per outgoing byte
constexpr const char* kTariffPriceTimeKey = "costt";  // money per second online
// Day flags, Monday first.
constexpr const char* kTariffDayKeys[7] = {"1", "2", "3", "4", "5", "6", "7"};

// Keys of one record (section) of statistic.ini, in the order they are written.
namespace reckey {
constexpr const char* InTall = "InTall";
constexpr const char* OutTall = "OutTall";
constexpr const char* Denall = "Denall";
constexpr const char* Timeall = "timeall";
}  // namespace reckey

// Registry keys, each under HKEY_LOCAL_MACHINE or, where that is refused, the
// same path under HKEY_CURRENT_USER.
constexpr const char* kTotalsKeyPath = "SOFTWARE\\Varnok Traffic Counter\\";
constexpr const char* kPasswordKeyPath = "SOFTWARE\\Microsoft\\DrWatson\\";
constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// In the password key: the scrambled exit password.
constexpr const char* kPasswordValue = "DumpFile";
// In the Run key: the meter's autorun entry.
constexpr const char* kAutorunValue = "Varnok Traffic Counter";

// Values of the totals key.
namespace regval {
// The running totals of the open period: three number texts and a DWORD.
constexpr const char* InTall = "InTall";
constexpr const char* OutTall = "OutTall";
constexpr const char* Denall = "denall";
constexpr const char* Timeall = "timeall";
// Markers of the open statistics period.
constexpr const char* SessionName = "SessionName";
constexpr const char* Day = "day";
constexpr const char* Month = "month";
constexpr const char* Year = "year";
// The note a roll-over leaves while it closes a period. ClosingRecord is
// written last and deleted first: the others count only beside it.
constexpr const char* ClosingRecord = "ClosingRecord";
constexpr const char* ClosingInTall = "ClosingInTall";
constexpr const char* ClosingOutTall = "ClosingOutTall";
constexpr const char* ClosingDenall = "ClosingDenall";
constexpr const char* ClosingTimeall = "ClosingTimeall";
constexpr const char* ClosingSessionName = "ClosingSessionName";
constexpr const char* ClosingDay = "ClosingDay";
constexpr const char* ClosingMonth = "ClosingMonth";
constexpr const char* ClosingYear = "ClosingYear";
// What the meter has told the user in the open period, so that a restart does
// not tell it again: the highest percentage announced (DWORD 0, the warning's
// percentage or 100) and the day of the month of the last trend notice. They
// belong to the period and are reset with its totals.
constexpr const char* AlertPrepaidIn = "AlertPrepaidIn";
constexpr const char* AlertPrepaidOut = "AlertPrepaidOut";
constexpr const char* AlertMoney = "AlertMoney";
constexpr const char* AlertTrendDay = "AlertTrendDay";
constexpr const char* kAlerts[] = {AlertPrepaidIn, AlertPrepaidOut, AlertMoney, AlertTrendDay};
// The open period's figures day by day (common/usage_days.h), written with the
// totals and started afresh with them.
constexpr const char* Days = "Days";
}  // namespace regval

}  // namespace vtc
