// Asking the update server whether a newer version has been published.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/notice.h"
#include "vtc_version.h"

namespace vtc {

constexpr const char* kCurrentVersion = VTC_VERSION;
constexpr const char* kUpdateBalloonText = "Доступна новая версия программы!";

// The built-in address of /VER.TXT (the build option's host).
std::string DefaultUpdateUrl();

// Downloads `url` into `file` and announces a first line that differs from
// kCurrentVersion: by balloon when automatic, by message box owned by `owner` otherwise.
// Only an HTTP 200 answer counts; on anything else nothing is shown and `file`
// keeps its old content. Connect, send and receive are each bounded by a few
// seconds, because the check holds up the meter's only thread.
// In automatic mode the announcement is returned for the caller to show.
std::optional<Notice> CheckForUpdate(const std::string& url, const std::string& file, bool automatic, HWND owner);

// The pieces of the check that need no network (raw bytes in, 1251 text).
// First line of the file: up to CR, LF or the end-of-file mark 26.
std::string UpdateFirstLine(const std::string& bytes);
// A non-empty line that differs byte for byte from kCurrentVersion.
bool IsNewVersion(const std::string& line);
// Texts of the two notices, UTF-8, from the raw line.
std::string UpdateBalloonTitle(const std::string& line);
std::string UpdateMessageText(const std::string& line);

// The body of `url` when the server answered 200 and the whole body arrived;
// each network step gets timeoutMs, the whole request 2 * timeoutMs + 2 s.
std::optional<std::string> FetchUpdateFile(const std::string& url, DWORD timeoutMs);

}  // namespace vtc
