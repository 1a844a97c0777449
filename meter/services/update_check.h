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

// The whole check on the calling thread: downloads `url`, replaces `file`
// with the body (empty when the check failed: no answer, a status other than
// 200, a body cut short) and returns the body's first line, empty when the
// check failed or the file could not be written.
std::string RunUpdateCheck(const std::string& url, const std::string& file);

// Runs RunUpdateCheck on a worker thread, so that a silent server holds
// nothing of the meter, and posts its first line to `window` as `message`;
// the lParam is taken with TakeUpdateAnswer. False when no worker could start.
bool StartUpdateCheck(const std::string& url, const std::string& file, HWND window, UINT message);
std::string TakeUpdateAnswer(LPARAM answer);

// What the automatic check announces (a balloon), when the line names
// another version than kCurrentVersion.
std::optional<Notice> UpdateNotice(const std::string& line);
// The menu's check: a message box owned by `owner` and titled with its
// caption, when the line names another version.
void ShowUpdateMessage(HWND owner, const std::string& line);

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
