#include "settings/pages/page_report.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "common/encoding.h"
#include "common/win/local_clock.h"
#include "common/win/ui.h"
#include "settings/pages/page_host.h"
#include "settings/report/report_export.h"
#include "settings/report/report_reader.h"

namespace vtc {
namespace {

constexpr const char* kExportCaption = "Экспорт в CSV…";
constexpr wchar_t kDefaultName[] = L"statistic.csv";

std::wstring DocumentsFolder() {
  wchar_t buf[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buf))) return buf;
  return L"";
}

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring w = n && text ? std::wstring(text, n) : L"";
  if (text) LocalFree(text);
  while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L' ')) w.pop_back();
  return WideToUtf8(w);
}

}  // namespace

void ReportPage::Build(const PageContext& c) {
  owner_ = c.owner;
  appDir_ = c.appDir;
  page_ = CreatePageHost(c.tab, kIdReportPage);
  chart_.Create(page_, kIdReportChart, 8, 0, 481, 302);
  const DWORD line = SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX;
  PageBuilder b{page_, c.font};
  openLine_ = b.Control(kIdReportOpenLine, L"STATIC", "", 8, 308, 481, 18, line);
  forecastLine_ = b.Control(kIdReportForecastLine, L"STATIC", "", 8, 328, 481, 18, line);
  averageLine_ = b.Control(kIdReportAverageLine, L"STATIC", "", 8, 348, 481, 18, line);
  export_ = b.Button(kIdReportExport, kExportCaption, 336, 384, 153);
}

void ReportPage::Refresh() {
  // A long history takes a moment to read.
  HCURSOR before = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  data_ = ReadReport(appDir_);
  forecast_ = ForecastOpen(data_, NowLocal());
  chart_.SetData(&data_, &forecast_);
  SetTextUtf8(openLine_, OpenPeriodLine(data_));
  SetTextUtf8(forecastLine_, forecast_.line);
  ShowAverage();
  SetCursor(before);
}

void ReportPage::ShowAverage() { SetTextUtf8(averageLine_, AverageLine(data_, chart_.first(), chart_.shownRecords())); }

bool ReportPage::OnCommand(int id, int code) {
  if (id == kIdReportChart) {
    if (code == ReportChart::kViewChanged) ShowAverage();
    return true;
  }
  if (id == kIdReportExport) {
    if (code == BN_CLICKED) AskAndExport();
    return true;
  }
  return id == kIdReportOpenLine || id == kIdReportForecastLine || id == kIdReportAverageLine;
}

void ReportPage::AskAndExport() {
  std::vector<wchar_t> file(32768, L'\0');
  wcscpy(file.data(), kDefaultName);
  std::wstring folder = DocumentsFolder();
  std::wstring filter = Utf8ToWide("Файлы CSV (*.csv)");
  filter += L'\0';
  filter += L"*.csv";
  filter += L'\0';
  filter += Utf8ToWide("Все файлы (*.*)");
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"csv";
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&ofn)) return;  // cancelled
  ExportTo(file.data());
}

void ReportPage::ExportTo(const std::wstring& path) {
  switch (ExportReport(appDir_, path)) {
    case kExportDone:
      return;
    case kExportNothing:
      MessageBoxUtf8(owner_, "Экспортировать нечего: статистики еще нет, текущие счетчики не сохранены.", kSettingsTitle,
                     MB_OK | MB_ICONINFORMATION);
      return;
    case kExportUnwritable: {
      std::string why = SystemMessage(GetLastError());
      MessageBoxUtf8(owner_, "Не удалось записать файл\n" + WideToUtf8(path) + (why.empty() ? "" : "\n\n" + why),
                     kSettingsTitle, MB_OK | MB_ICONERROR);
      return;
    }
  }
}

}  // namespace vtc
