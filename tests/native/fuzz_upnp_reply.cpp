// Whatever a device on the LAN sends as a UPnP answer: each parser takes any
// bytes and gives its result or refuses, never past the buffer and never by
// an exception, which on the poller's thread would end the meter. A URL that
// parses names its host; a reading has the counters the answers said.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "router/upnp_reply.h"

using namespace vtc;

namespace {

void Parse(std::string_view text) {
  for (const char* action : {"GetStatusInfo", "GetTotalBytesReceived", "GetTotalBytesSent"}) {
    auto args = SoapResponseArgs(text, action);
    if (!args) continue;
    auto reading = UpnpReadingOf(*args, *args, *args);
    if (reading && (args->count("NewTotalBytesReceived") == 0 || reading->linkUp < 0)) std::abort();
  }
  DescriptionFriendlyName(text);
  DescriptionUdn(text);
  ParseUpnpCounter(text);
  ParseUpnpStatus(text);
  if (auto url = ParseHttpUrl(text)) {
    if (!UrlOnHost(text, url->host) || url->path.empty() || url->path[0] != '/') std::abort();
    HttpGetRequest(*url);
    SoapRequest(*url, "urn:schemas-upnp-org:service:WANIPConnection:1", "GetStatusInfo");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Parse(text);
  if (auto body = HttpReplyBody(text)) {
    if (body->size() > size) std::abort();
    Parse(*body);
  }
  return 0;
}
