// The update check: one HTTP GET of /VER.TXT, its raw body kept in
// last_upd.txt, and a notice when its first line names another version.
#include "meter/services/update_check.h"

#include <wininet.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "common/encoding.h"
#include "common/product.h"
#include "common/win/file.h"
#include "common/win/net.h"
#include "common/win/ui.h"

namespace vtc {

namespace {

constexpr DWORD kReadChunk = 1024;
// Each network step may take this long; the whole check, a connect and a
// receive plus the library's own start-up, at most 10 s.
constexpr DWORD kNetTimeoutMs = 4000;
// A version file is a few bytes; anything far bigger is not one, and is not
// worth the memory.
constexpr size_t kMaxBody = 64 * 1024;

}  // namespace

std::string DefaultUpdateUrl() { return std::string("http://") + VTC_UPDATE_HOST + "/VER.TXT"; }

std::string UpdateFirstLine(const std::string& bytes) {
  size_t end = bytes.find_first_of(std::string("\r\n\x1a", 3));
  return bytes.substr(0, end);
}

bool IsNewVersion(const std::string& line) { return !line.empty() && line != kCurrentVersion; }

std::string UpdateBalloonTitle(const std::string& line) {
  return std::string(kProductTitle) + " " + Cp1251ToUtf8(line);
}

std::string UpdateMessageText(const std::string& line) {
  return "Доступна новая версия программы \"" + std::string(kProductTitle) + " " + Cp1251ToUtf8(line) + "\"!";
}

namespace {

// The request itself, on its own thread: the session handle is the caller's,
// and closing it is what aborts a call that hangs here.
std::optional<std::string> Download(HINTERNET session, const std::string& url) {
  // A cached copy could hide a release; a redirect is how captive portals
  // answer, and their login page is no version file.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  ScopedInternetHandle request(InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0));
  if (!request) return std::nullopt;

  DWORD status = 0, size = sizeof status, index = 0;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index) ||
      status != 200)
    return std::nullopt;

  std::string body;
  char buf[kReadChunk];
  for (;;) {
    DWORD got = 0;
    // A failed read is a broken transfer: its partial body is not the file.
    if (!InternetReadFile(request.get(), buf, kReadChunk, &got)) return std::nullopt;
    if (got == 0) break;
    body.append(buf, got);
    if (body.size() > kMaxBody) return std::nullopt;
  }
  // A server that hangs up early ends the body like a normal end: only the
  // announced length tells a cut-off file from a whole one.
  DWORD length = 0;
  size = sizeof length;
  index = 0;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, &index) &&
      body.size() != length)
    return std::nullopt;
  return body;
}

}  // namespace

std::optional<std::string> FetchUpdateFile(const std::string& url, DWORD timeoutMs) {
  ScopedInternetHandle session(InternetOpenA("", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return std::nullopt;
  // Set on the session so that every handle opened from it inherits them.
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
    DWORD ms = timeoutMs;
    InternetSetOptionA(session.get(), option, &ms, sizeof ms);
  }
  DWORD retries = 1;
  InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);

  // Not every WinINet honours those timeouts (nor bounds the name lookup), so
  // the caller waits for the request only so long, then closes the session,
  // which makes the hung call return on the helper thread.
  auto result = std::make_shared<std::promise<std::optional<std::string>>>();
  std::future<std::optional<std::string>> done = result->get_future();
  try {
    std::thread([session = session.get(), url, result] { result->set_value(Download(session, url)); }).detach();
  } catch (...) {
    return std::nullopt;
  }
  const bool finished = done.wait_for(std::chrono::milliseconds(2 * timeoutMs + 2000)) == std::future_status::ready;
  session.reset();
  if (!finished) return std::nullopt;
  return done.get();
}

std::string RunUpdateCheck(const std::string& url, const std::string& file) {
  std::optional<std::string> body = FetchUpdateFile(url, kNetTimeoutMs);
  // A failed check empties the file: an older answer would no longer
  // describe the last check. The notice follows the file: when last_upd.txt
  // cannot be written (a read-only program folder) the check gives up
  // without a word.
  if (!WriteWholeFile(file, body.value_or(std::string()))) return std::string();
  return body ? UpdateFirstLine(*body) : std::string();
}

bool StartUpdateCheck(const std::string& url, const std::string& file, HWND window, UINT message) {
  try {
    std::thread([url, file, window, message] {
      auto line = std::make_unique<std::string>(RunUpdateCheck(url, file));
      // The window is gone when the program ended meanwhile: the answer goes nowhere.
      if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(line.get()))) line.release();
    }).detach();
  } catch (...) {
    return false;
  }
  return true;
}

std::string TakeUpdateAnswer(LPARAM answer) {
  std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(answer));
  return line ? *line : std::string();
}

std::optional<Notice> UpdateNotice(const std::string& line) {
  if (!IsNewVersion(line)) return std::nullopt;
  return Notice{kUpdateBalloonText, kNoticeSeconds, kBalloonInfo, UpdateBalloonTitle(line)};
}

void ShowUpdateMessage(HWND owner, const std::string& line) {
  if (!IsNewVersion(line)) return;
  MessageBoxUtf8(owner, UpdateMessageText(line), owner ? GetTextUtf8(owner) : std::string(),
                 MB_OK | MB_ICONINFORMATION);
}

}  // namespace vtc
