// The router's side of a UPnP query as plain text: the HTTP request the
// programs send, and what they believe of the answer. Platform-free, so that
// a hostile or broken answer can be tried here without a router.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "router/reading.h"

namespace vtc {

// The largest answer taken from a router; a reply to one query is a few
// hundred bytes, and anything near this size is not one.
constexpr size_t kUpnpMaxReply = 16 * 1024;

struct HttpUrl {
  std::string host;  // as written: a name or an IPv4 address
  uint16_t port = 80;
  std::string path;  // "/" at least
};

// Only http:// with an optional port; a router's control URL is never more.
std::optional<HttpUrl> ParseHttpUrl(std::string_view url);

// A complete GET request for a device's description.
std::string HttpGetRequest(const HttpUrl& url);

// A complete SOAP request (headers and body) for an action without arguments.
std::string SoapRequest(const HttpUrl& url, std::string_view serviceType, std::string_view action);

// The body of a whole HTTP response with status 200, by Content-Length, by
// chunks, or up to the connection's end; nothing when the response is cut
// short, has another status or is malformed.
std::optional<std::string> HttpReplyBody(std::string_view reply);

// The arguments of <prefix:ACTIONResponse> in a SOAP envelope's Body, with
// XML's five entities resolved; nothing for a fault, another response, or
// an argument that holds markup of its own.
std::optional<std::map<std::string, std::string>> SoapResponseArgs(std::string_view body,
                                                                   std::string_view action);

// The friendly name of a description's root device (UTF-8 as sent), for
// showing; empty when there is none or it is not plain text.
std::string DescriptionFriendlyName(std::string_view description);
// The root device's unique name (its UDN): another device at the same
// address is another router. Empty when there is none.
std::string DescriptionUdn(std::string_view description);

// Whether `url` names exactly `host`: a control URL of a description must
// lead back to the device that answered, not send the meter elsewhere.
bool UrlOnHost(std::string_view url, std::string_view host);

// A byte counter: decimal digits only (blanks around them allowed), within
// 64 bits. Anything else counts nothing.
std::optional<uint64_t> ParseUpnpCounter(std::string_view text);

// A connection status as the router names it ("Connected", "Disconnected",
// ...): a short word of letters only.
std::optional<std::string> ParseUpnpStatus(std::string_view text);

// The WAN link's reading from the arguments of the answers to GetStatusInfo,
// GetTotalBytesReceived and GetTotalBytesSent (without the router's name and
// the time, which the caller knows); nothing when a status or a counter is
// missing or not what it says. An uptime of 0 or none is not told.
std::optional<RouterReading> UpnpReadingOf(const std::map<std::string, std::string>& status,
                                           const std::map<std::string, std::string>& received,
                                           const std::map<std::string, std::string>& sent);

}  // namespace vtc
