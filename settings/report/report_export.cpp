#include "settings/report/report_export.h"

#include <shellapi.h>

#include "common/encoding.h"
#include "common/win/file.h"
#include "settings/report/report_csv.h"
#include "settings/report/report_reader.h"

namespace vtc {

ExportResult ExportReport(const std::string& appDir, const std::wstring& path) {
  ReportData d = ReadReport(appDir);
  if (!d.historyFound && !d.open.stored) return kExportNothing;
  std::string target = WideToUtf8(path);
  size_t slash = target.find_last_of("\\/");
  RemoveLeftovers(slash == std::string::npos ? std::string(".\\") : target.substr(0, slash + 1));
  return WriteWholeFile(target, CsvBytes(d)) ? kExportDone : kExportUnwritable;
}

std::optional<int> ExportFromCommandLine(const std::string& appDir, const wchar_t* commandLine) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine, &argc);
  if (!argv) return std::nullopt;
  std::optional<int> code;
  if (argc >= 2 && (lstrcmpiW(argv[1], L"/export") == 0 || lstrcmpiW(argv[1], L"-export") == 0))
    // Exactly one path: a path with blanks that was not quoted arrives in
    // pieces, and its first piece is some other file.
    code = argc == 3 && argv[2][0] ? ExportReport(appDir, argv[2]) : kExportUnwritable;
  LocalFree(argv);
  return code;
}

}  // namespace vtc
