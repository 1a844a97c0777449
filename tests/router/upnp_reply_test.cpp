#include "router/upnp_reply.h"

#include <gtest/gtest.h>

using namespace vtc;

namespace {

std::string Envelope(const std::string& inner) {
  return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
         "<s:Body>" + inner + "</s:Body></s:Envelope>";
}

}  // namespace

TEST(ParseUpnpCounter, DigitsWithin64BitsOnly) {
  struct Case { const char* text; std::optional<uint64_t> want; } cases[] = {
      {"0", 0}, {"4294967296", 4294967296ull}, {" 12\r\n", 12}, {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt}, {"", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
      {"12abc", std::nullopt}, {"0x10", std::nullopt}, {"1 2", std::nullopt}, {"1e9", std::nullopt},
  };
  for (auto& c : cases) EXPECT_EQ(ParseUpnpCounter(c.text), c.want) << c.text;
}

TEST(SoapResponseArgs, OnlyTheAnswerAskedFor) {
  const std::string ok = Envelope("<u:GetTotalBytesSentResponse xmlns:u=\"x\">"
                                  "<NewTotalBytesSent>42</NewTotalBytesSent></u:GetTotalBytesSentResponse>");
  auto args = SoapResponseArgs(ok, "GetTotalBytesSent");
  ASSERT_TRUE(args);
  EXPECT_EQ(args->at("NewTotalBytesSent"), "42");

  struct Case { const char* why; std::string body; } bad[] = {
      {"another action's answer", ok},
      {"a fault", Envelope("<s:Fault><faultcode>s:Client</faultcode></s:Fault>")},
      {"cut short", ok.substr(0, ok.size() - 20)},
      {"markup inside a value", Envelope("<u:GetTotalBytesReceivedResponse><NewTotalBytesReceived><b>1</b>"
                                         "</NewTotalBytesReceived></u:GetTotalBytesReceivedResponse>")},
      {"a value twice", Envelope("<u:GetTotalBytesReceivedResponse><A>1</A><A>2</A>"
                                 "</u:GetTotalBytesReceivedResponse>")},
      {"two answers", Envelope("<u:GetTotalBytesReceivedResponse/><u:GetTotalBytesReceivedResponse/>")},
      {"mismatched close", Envelope("<u:GetTotalBytesReceivedResponse><A>1</B></u:GetTotalBytesReceivedResponse>")},
      {"no envelope", "<u:GetTotalBytesReceivedResponse><A>1</A></u:GetTotalBytesReceivedResponse>"},
      {"unknown entity", Envelope("<u:GetTotalBytesReceivedResponse><A>&x;</A></u:GetTotalBytesReceivedResponse>")},
      {"empty", ""},
  };
  for (auto& c : bad) EXPECT_FALSE(SoapResponseArgs(c.body, "GetTotalBytesReceived")) << c.why;
}

TEST(HttpReplyBody, WholeAnswersWithStatus200) {
  struct Case { std::string reply; std::optional<std::string> want; } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", "abc"},
      {"HTTP/1.0 200 OK\r\n\r\nuntil close", "until close"},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2;x\r\nde\r\n0\r\n\r\n", "abcde"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc", std::nullopt},  // cut short
      {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 1\r\n\r\nx", std::nullopt},
      {"HTTP/1.1 2000 OK\r\n\r\nx", std::nullopt},
      {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nx", std::nullopt},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffff\r\nabc", std::nullopt},
      {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n", std::nullopt},  // no end of headers
      {"HTTP/1.\r\n\r\n", std::nullopt},                             // a status line cut short
  };
  for (auto& c : cases) EXPECT_EQ(HttpReplyBody(c.reply), c.want) << c.reply;
}

TEST(ParseHttpUrl, PlainHttpWithOptionalPort) {
  auto u = ParseHttpUrl("http://198.18.0.1:5000/ctl/IPConn");
  ASSERT_TRUE(u);
  EXPECT_EQ(u->host, "198.18.0.1");
  EXPECT_EQ(u->port, 5000);
  EXPECT_EQ(u->path, "/ctl/IPConn");
  EXPECT_EQ(ParseHttpUrl("http://router")->path, "/");
  for (const char* bad : {"https://198.18.0.1/", "http://:80/", "http://h:0/", "http://h:70000/", "http://h/a b",
                          "http://user@h/", "198.18.0.1", ""})
    EXPECT_FALSE(ParseHttpUrl(bad)) << bad;
}

// A reading is whole or none; an uptime of 0 is no record of the link.
TEST(UpnpReadingOf, TheThreeAnswersMakeOneReading) {
  using Args = std::map<std::string, std::string>;
  const Args rx = {{"NewTotalBytesReceived", "4294967296"}}, tx = {{"NewTotalBytesSent", "7"}};
  auto r = UpnpReadingOf({{"NewConnectionStatus", "Connected"}, {"NewUptime", "3600"}}, rx, tx);
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->up);
  EXPECT_EQ(r->in, 4294967296u);
  EXPECT_EQ(r->out, 7u);
  EXPECT_EQ(r->uptime, 3600.0);
  EXPECT_EQ(r->linkUp, 3600.0);
  EXPECT_EQ(r->id.protocol, RouterProtocol::kUpnp);
  r = UpnpReadingOf({{"NewConnectionStatus", "Disconnected"}, {"NewUptime", "0"}}, rx, tx);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->up || r->uptime || r->linkUp);
  EXPECT_FALSE(UpnpReadingOf({{"NewConnectionStatus", "Connected"}}, rx, {{"NewTotalBytesSent", "-1"}}));
  EXPECT_FALSE(UpnpReadingOf({}, rx, tx));
}

TEST(UpnpTexts, StatusAndNameArePlainText) {
  EXPECT_EQ(ParseUpnpStatus(" Connected "), "Connected");
  for (const char* bad : {"", "Connected\x01", "<b>", "Up 1", "ThisIsAStatusLongerThanThirtyTwoLetters"})
    EXPECT_FALSE(ParseUpnpStatus(bad)) << bad;
  EXPECT_EQ(DescriptionFriendlyName("<root><friendlyName>A &amp; B</friendlyName>"
                                    "<friendlyName>WAN</friendlyName></root>"),
            "A & B");
  EXPECT_EQ(DescriptionFriendlyName("<friendlyName><script/></friendlyName>"), "");
  EXPECT_EQ(DescriptionFriendlyName("<friendlyName>no end"), "");
  EXPECT_EQ(DescriptionUdn("<root><device><UDN>uuid:3d3c</UDN><deviceList><device><UDN>uuid:x</UDN>"),
            "uuid:3d3c");
  EXPECT_TRUE(UrlOnHost("http://198.18.0.1:5000/ctl/IPConn", "198.18.0.1"));
  for (const char* elsewhere : {"http://198.18.0.9:5000/ctl", "http://198.18.0.1.evil/ctl", "/ctl", ""})
    EXPECT_FALSE(UrlOnHost(elsewhere, "198.18.0.1")) << elsewhere;
}
