#include "settings/report_export.h"

#include <shellapi.h>

#include "settings/report_csv.h"
#include "settings/report_reader.h"

namespace vtc {

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  // Beside the target under a name of our own: the move is then a rename on
  // the same disk, a file of the user's is never touched, and a failure to
  // create it gives the folder's own reason (no such folder, no rights).
  HANDLE h = INVALID_HANDLE_VALUE;
  std::wstring temp;
  DWORD error = ERROR_FILE_EXISTS;
  for (int n = 0; h == INVALID_HANDLE_VALUE && error == ERROR_FILE_EXISTS && n < 100; ++n) {
    temp = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + L".tmp";
    h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  }
  if (h == INVALID_HANDLE_VALUE) {
    SetLastError(error);
    return false;
  }
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size() &&
            FlushFileBuffers(h);
  if (!ok) error = GetLastError();
  CloseHandle(h);
  if (ok && !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    SetLastError(error ? error : ERROR_WRITE_FAULT);
  }
  return ok;
}

ExportResult ExportReport(const std::string& appDir, const std::wstring& path) {
  ReportData d = ReadReport(appDir);
  if (!d.historyFound && !d.open.stored) return kExportNothing;
  return WriteWholeFile(path, CsvBytes(d)) ? kExportDone : kExportUnwritable;
}

std::optional<int> ExportFromCommandLine(const std::string& appDir, const wchar_t* commandLine) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
  if (!argv) return std::nullopt;
  std::optional<int> code;
  if (argc >= 2 && (lstrcmpiW(argv[1], L"/export") == 0 || lstrcmpiW(argv[1], L"-export") == 0))
    code = argc >= 3 && argv[2][0] ? ExportReport(appDir, argv[2]) : kExportUnwritable;
  LocalFree(argv);
  return code;
}

}  // namespace vtc
