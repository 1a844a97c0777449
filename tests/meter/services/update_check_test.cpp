#include <gtest/gtest.h>
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "meter/services/update_check.h"
#include "support/temp_dir.h"

using namespace vtc;
using vtc::test::TempDir;

namespace {

struct RecordingSink {
  std::vector<Notice> shown;
};

// The automatic check as its worker and then the meter run it, its
// announcement recorded.
void CheckForUpdate(const std::string& url, const std::string& file, RecordingSink& sink) {
  if (auto n = UpdateNotice(RunUpdateCheck(url, file))) sink.shown.push_back(*n);
}

// Winsock is taken at run time so that the module needs no extra link library.
struct Winsock {
  HMODULE dll = LoadLibraryW(L"ws2_32.dll");
  template <class F>
  F Get(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
  }
  decltype(&WSAStartup) startup = Get<decltype(&WSAStartup)>("WSAStartup");
  decltype(&socket) socket_ = Get<decltype(&socket)>("socket");
  decltype(&bind) bind_ = Get<decltype(&bind)>("bind");
  decltype(&listen) listen_ = Get<decltype(&listen)>("listen");
  decltype(&getsockname) getsockname_ = Get<decltype(&getsockname)>("getsockname");
  decltype(&accept) accept_ = Get<decltype(&accept)>("accept");
  decltype(&recv) recv_ = Get<decltype(&recv)>("recv");
  decltype(&send) send_ = Get<decltype(&send)>("send");
  decltype(&closesocket) close_ = Get<decltype(&closesocket)>("closesocket");
  decltype(&htons) htons_ = Get<decltype(&htons)>("htons");
  decltype(&ntohs) ntohs_ = Get<decltype(&ntohs)>("ntohs");
};

// Small HTTP server on 127.0.0.1: for each response in turn it takes one
// connection, reads the request, sends the response and closes; or (silent)
// holds the first connection without a word.
class OneShotServer {
 public:
  explicit OneShotServer(std::string response, bool silent = false, std::string second = "")
      : response_(std::move(response)), second_(std::move(second)) {
    WSADATA wd;
    ws_.startup(MAKEWORD(2, 2), &wd);
    listener_ = ws_.socket_(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = 0x0100007F;  // 127.0.0.1
    ws_.bind_(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    ws_.getsockname_(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ws_.ntohs_(a.sin_port);
    ws_.listen_(listener_, 4);
    thread_ = std::thread([this, silent] {
      for (const std::string* response : {&response_, &second_}) {
        if (response->empty() && !silent) return;
        SOCKET c = ws_.accept_(listener_, nullptr, nullptr);
        if (c == INVALID_SOCKET) return;
        std::string req;
        char buf[2048];
        int n;
        while (req.find("\r\n\r\n") == std::string::npos && (n = ws_.recv_(c, buf, sizeof buf, 0)) > 0)
          req.append(buf, n);
        if (request_.empty()) request_ = req;
        if (silent) {
          while (!stop_) Sleep(20);
          ws_.close_(c);
          return;
        }
        ws_.send_(c, response->data(), static_cast<int>(response->size()), 0);
        ws_.close_(c);
      }
    });
  }
  ~OneShotServer() {
    stop_ = true;
    ws_.close_(listener_);
    thread_.join();
  }
  std::string Url(const char* path = "/VER.TXT") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  const std::string& request() const { return request_; }

 private:
  Winsock ws_;
  SOCKET listener_;
  int port_ = 0;
  std::string response_, second_, request_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::string Http(int status, const std::string& body, const std::string& extra = "") {
  return "HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Type: text/plain\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n" + extra + "\r\n" + body;
}

}  // namespace

TEST(UpdateFirstLine, EndsAtCrLfOrEofMark) {
  EXPECT_EQ(UpdateFirstLine(""), "");
  EXPECT_EQ(UpdateFirstLine("4.8"), "4.8");
  EXPECT_EQ(UpdateFirstLine("4.8\r\nnotes"), "4.8");
  EXPECT_EQ(UpdateFirstLine("4.8\nnotes"), "4.8");
  EXPECT_EQ(UpdateFirstLine("4.8\rnotes"), "4.8");
  EXPECT_EQ(UpdateFirstLine(std::string("4.8\x1a" "junk")), "4.8");
  EXPECT_EQ(UpdateFirstLine("\r\n4.9\r\n"), "");
  EXPECT_EQ(UpdateFirstLine(std::string("4\0.8\n", 5)), std::string("4\0.8", 4));
}

TEST(IsNewVersion, TextualComparisonNotAnOrdering) {
  EXPECT_FALSE(IsNewVersion("4.7"));
  EXPECT_FALSE(IsNewVersion(""));
  EXPECT_TRUE(IsNewVersion("4.6"));
  EXPECT_TRUE(IsNewVersion("4.8"));
  EXPECT_TRUE(IsNewVersion("4.7 "));
  EXPECT_TRUE(IsNewVersion("4.70"));
}

TEST(UpdateNoticeTexts, CarryTheRemoteVersionText) {
  EXPECT_EQ(UpdateBalloonTitle("4.8"), "Varnok Traffic Counter 4.8");
  EXPECT_EQ(UpdateMessageText("4.8"), "Доступна новая версия программы \"Varnok Traffic Counter 4.8\"!");
  EXPECT_EQ(UpdateBalloonTitle("\xE1\xE5\xF2\xE0"), "Varnok Traffic Counter бета");  // 1251 on the wire
}

TEST(CheckForUpdate, NewVersionGivesTheBalloonAndTheFileHoldsTheBody) {
  TempDir dir;
  const std::string body("4.8\r\nЧто нового\r\n\x1a\0tail", 32);
  OneShotServer server(Http(200, body));
  RecordingSink sink;
  CheckForUpdate(server.Url(), dir.File("last_upd.txt"), sink);
  EXPECT_EQ(dir.Read("last_upd.txt"), body);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text, "Доступна новая версия программы!");
  EXPECT_EQ(sink.shown[0].title, "Varnok Traffic Counter 4.8");
  EXPECT_EQ(sink.shown[0].seconds, 7);
  EXPECT_EQ(sink.shown[0].icon, kBalloonInfo);
  // The request asks every cache on the way for a fresh copy.
  EXPECT_NE(server.request().find("GET /VER.TXT"), std::string::npos);
  EXPECT_NE(server.request().find("no-cache"), std::string::npos);
}

TEST(CheckForUpdate, SameVersionOrEmptyFirstLineShowsNothingButKeepsTheBody) {
  for (std::string body : {"4.7", "4.7\r\n", "\r\n4.8\r\n", ""}) {
    TempDir dir;
    dir.Write("last_upd.txt", "old");
    OneShotServer server(Http(200, body));
    RecordingSink sink;
    CheckForUpdate(server.Url(), dir.File("last_upd.txt"), sink);
    EXPECT_TRUE(sink.shown.empty()) << body;
    EXPECT_EQ(dir.Read("last_upd.txt"), body);
  }
}

// A failed check leaves the file empty: the old answer no longer describes the last check.
TEST(CheckForUpdate, ErrorPagesCutBodiesAndRedirectsAreNotAnnouncedAndEmptyTheFile) {
  // A body cut short: the server hangs up after 3 of the 40 bytes it announced.
  const std::string cut = "HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\n4.9";
  for (const std::string& response : {Http(404, "<html>Not here</html>"), Http(500, "oops"), cut}) {
    TempDir dir;
    dir.Write("last_upd.txt", "4.7\r\n");
    OneShotServer server(response);
    RecordingSink sink;
    CheckForUpdate(server.Url(), dir.File("last_upd.txt"), sink);
    EXPECT_TRUE(sink.shown.empty()) << response;
    EXPECT_TRUE(dir.Exists("last_upd.txt")) << response;
    EXPECT_EQ(dir.Read("last_upd.txt"), "") << response;
  }
  // A captive portal: a redirect to a login page that itself answers 200.
  TempDir dir;
  dir.Write("last_upd.txt", "4.7\r\n");
  OneShotServer portal(Http(200, "<html>login</html>"));
  OneShotServer server(Http(302, "", "Location: " + portal.Url("/login") + "\r\n"));
  RecordingSink sink;
  CheckForUpdate(server.Url(), dir.File("last_upd.txt"), sink);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_EQ(dir.Read("last_upd.txt"), "");
}

TEST(CheckForUpdate, SilentServerIsGivenUpWithinSecondsAndEmptiesTheFile) {
  TempDir dir;
  dir.Write("last_upd.txt", "kept");
  OneShotServer server("", true);
  RecordingSink sink;
  auto t0 = std::chrono::steady_clock::now();
  CheckForUpdate(server.Url(), dir.File("last_upd.txt"), sink);
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(s, 12.0);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_TRUE(dir.Exists("last_upd.txt"));
  EXPECT_EQ(dir.Read("last_upd.txt"), "");
}

TEST(CheckForUpdate, UnwritableFileOrNoServerGivesUpSilently) {
  TempDir dir;
  RecordingSink sink;
  {
    OneShotServer server(Http(200, "4.8"));
    CheckForUpdate(server.Url(), dir.File("no such folder\\last_upd.txt"), sink);
  }
  EXPECT_FALSE(dir.Exists("no such folder"));
  // Nobody listens on port 1: the connection is refused at once.
  dir.Write("last_upd.txt", "4.7");
  CheckForUpdate("http://127.0.0.1:1/VER.TXT", dir.File("last_upd.txt"), sink);
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_TRUE(dir.Exists("last_upd.txt"));
  EXPECT_EQ(dir.Read("last_upd.txt"), "");
}
