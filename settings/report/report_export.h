// The history and the open period written as a CSV file, from the report
// page and from the command line ("qmeter_cfg.exe /export PATH"), which
// scripts and schedulers run: no window, no password (it reads only what
// anyone can read), and an exit code that says how it went.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vtc {

enum ExportResult : int {
  kExportDone = 0,
  kExportUnwritable = 2,  // nothing is left at the path, not even in part
  kExportNothing = 3,     // no history file and no running totals; no file is written
};

// `appDir` ends with a backslash. On kExportUnwritable, GetLastError() tells why.
ExportResult ExportReport(const std::string& appDir, const std::wstring& path);

// The export's exit code when the command line (whole, as GetCommandLineW
// gives it) asks for one; nothing otherwise. "/export" without a path, or
// with anything after it, cannot be written.
std::optional<int> ExportFromCommandLine(const std::string& appDir, const wchar_t* commandLine);

}  // namespace vtc
