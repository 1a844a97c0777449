// Control IDs of the settings program. The pages hand every WM_COMMAND of
// their controls to the settings window, so an ID is unique across the whole
// window: each page owns one hundred, its own window takes the round number.
// All of them lie above IDOK and IDCANCEL, which Enter and Esc send without a
// control, so a key press is never taken for a click.
// The end-to-end tests read the numbers from this file: keep one "name = value"
// per line.
#pragma once

namespace vtc {

// The settings window's own controls.
enum SettingsWindowId : int {
  kIdTab = 100,
  kIdReset = 101,  // "Обнулить текущие счетчики"
  kIdCancel = 102,
  kIdOk = 103,
};

// Page "Общие".
enum GeneralPageId : int {
  kIdGeneralPage = 200,
  kIdPasswordCaption = 201,
  kIdPassword = 202,
  kIdAutorun = 203,
  kIdStatCaption = 204,
  kIdStatPeriod = 205,
  kIdWeekCaption = 206,
  kIdWeekStart = 207,
  kIdRecordsCaption = 208,
  kIdRecords = 209,
};

// Page "Интерфейс".
enum LookPageId : int {
  kIdLookPage = 300,
  kIdSkinCaption = 301,
  kIdSkinList = 302,
  kIdAlphaCaption = 303,
  kIdAlpha = 304,
  kIdSkinTest = 305,
  kIdCurrencyCaption = 306,
  kIdCurrency = 307,
  kIdInfoFrame = 308,
  kIdAuthor = 309,
  kIdSkinName = 310,
  kIdHints = 311,
  kIdAutoHide = 312,
  kIdOnTop = 313,
  kIdAutoUpdate = 314,
};

// Page "Тарифы".
enum TariffsPageId : int {
  kIdTariffsPage = 400,
  kIdTariffList = 401,
  kIdDelete = 402,
  kIdAdd = 403,
  kIdNameCaption = 404,
  kIdName = 405,
  kIdPeriodCaption = 406,
  kIdFromLabel = 407,
  kIdStart = 408,
  kIdToLabel = 409,
  kIdEnd = 410,
  kIdDaysCaption = 411,
  kIdMonday = 412,  // the seven day boxes follow in order, Sunday = kIdMonday + 6
  kIdSunday = 418,
  kIdAllDays = 419,
  kIdNoDays = 420,
  kIdFreeInCaption = 421,
  kIdFreeIn = 422,
  kIdFreeOutCaption = 423,
  kIdFreeOut = 424,
  kIdPriceInCaption = 425,
  kIdPriceIn = 426,
  kIdPriceOutCaption = 427,
  kIdPriceOut = 428,
  kIdPriceHourCaption = 429,
  kIdPriceHour = 430,
  kIdSave = 431,
};

// Page "Учет трафика".
enum TrafficPageId : int {
  kIdTrafficPage = 500,
  kIdInstruction = 501,
  kIdTypeCaption = 502,
  kIdTypeList = 503,
  kIdFind = 504,
  kIdPrimaryCaption = 505,
  kIdPrimary = 506,
  kIdSecondaryCaption = 507,
  kIdSecondary = 508,
  kIdFound = 509,
  kIdMakeSecondary = 510,
  kIdMakePrimary = 511,
  kIdAutoCaption = 512,
  kIdAutoList = 513,
};

// Page "Лимиты".
enum LimitsPageId : int {
  kIdLimitsPage = 600,
  kIdPrepaidAlertCaption = 601,
  kIdPrepaidAlert = 602,
  kIdPrepaidAlertUnit = 603,
  kIdMoneyLimitCaption = 604,
  kIdMoneyLimit = 605,
  kIdMoneyLimitCurrency = 606,
  kIdMoneyAlertCaption = 607,
  kIdMoneyAlert = 608,
  kIdMoneyAlertUnit = 609,
  kIdLimitsNote = 610,
  kIdPeriodFrame = 611,
  kIdPeriodSpent = 612,
  kIdPeriodTraffic = 613,
  kIdPeriodForecast = 614,
};

// Page "Роутер".
enum RouterPageId : int {
  kIdRouterPage = 800,
  kIdSourceCaption = 801,
  kIdSource = 802,
  kIdRouterAddressCaption = 803,
  kIdRouterAddress = 804,
  kIdCommunityCaption = 805,
  kIdCommunity = 806,
  kIdFindRouter = 807,  // "Найти роутер"
  kIdCheckRouter = 808,  // "Проверить"
  kIdRouterName = 809,
  kIdRouterRowsCaption = 810,
  kIdRouterRows = 811,
  kIdWanCaption = 812,
  kIdWan = 813,
  kIdCheckResult = 814,
  kIdRouterSourceNote = 815,
};

// Page "Отчёт".
enum ReportPageId : int {
  kIdReportPage = 700,
  kIdReportChart = 701,
  kIdReportOpenLine = 702,
  kIdReportForecastLine = 703,
  kIdReportAverageLine = 704,
  kIdReportExport = 705,  // "Экспорт в CSV…"
};

// The password window of the gate.
enum PasswordWindowId : int {
  kIdGatePrompt = 901,
  kIdGateField = 902,
  kIdGateOk = 903,
};

// True for the controls of the page whose own ID is `page`.
constexpr bool OnPage(int id, int page) { return id > page && id < page + 100; }

}  // namespace vtc
