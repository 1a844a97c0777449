#include "router/upnp_reply.h"

#include <cctype>

namespace vtc {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::optional<uint64_t> ParseDigits(std::string_view s, int base) {
  if (s.empty() || s.size() > 20) return std::nullopt;
  uint64_t v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    if (v > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return std::nullopt;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  return v;
}

// Name of an element's tag without its namespace prefix.
std::string_view LocalName(std::string_view name) {
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// One tag at `pos` (which holds '<'): its name, whether it closes or is
// empty, and where it ends. Comments and declarations are skipped as tags
// without a name.
struct Tag {
  std::string_view name;
  bool closing = false, empty = false;
  size_t end = 0;  // one past '>'
};

std::optional<Tag> ReadTag(std::string_view s, size_t pos) {
  size_t gt = s.find('>', pos);
  if (gt == std::string_view::npos) return std::nullopt;
  Tag t;
  t.end = gt + 1;
  std::string_view inner = s.substr(pos + 1, gt - pos - 1);
  if (!inner.empty() && (inner[0] == '?' || inner[0] == '!')) return t;
  if (!inner.empty() && inner[0] == '/') {
    t.closing = true;
    inner.remove_prefix(1);
  } else if (!inner.empty() && inner.back() == '/') {
    t.empty = true;
    inner.remove_suffix(1);
  }
  size_t n = 0;
  while (n < inner.size() && !IsBlank(inner[n])) ++n;
  t.name = inner.substr(0, n);
  if (t.name.empty()) return std::nullopt;
  return t;
}

std::optional<std::string> Unescape(std::string_view s) {
  static const struct { std::string_view ent; char c; } kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] != '&') {
      out += s[i++];
      continue;
    }
    bool known = false;
    for (auto& e : kEntities) {
      if (s.substr(i, e.ent.size()) == e.ent) {
        out += e.c;
        i += e.ent.size();
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

}  // namespace

std::optional<HttpUrl> ParseHttpUrl(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.size() < kScheme.size() || !EqualsNoCase(url.substr(0, kScheme.size()), kScheme)) return std::nullopt;
  url.remove_prefix(kScheme.size());
  size_t slash = url.find('/');
  std::string_view hostport = url.substr(0, slash);
  HttpUrl out;
  out.path = slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
  size_t colon = hostport.rfind(':');
  if (colon != std::string_view::npos) {
    auto port = ParseDigits(hostport.substr(colon + 1), 10);
    if (!port || *port == 0 || *port > 65535) return std::nullopt;
    out.port = static_cast<uint16_t>(*port);
    hostport = hostport.substr(0, colon);
  }
  if (hostport.empty()) return std::nullopt;
  for (char c : hostport)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-')) return std::nullopt;
  for (char c : out.path)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) return std::nullopt;
  out.host = std::string(hostport);
  return out;
}

namespace {

std::string HostField(const HttpUrl& url) {
  return url.port == 80 ? url.host : url.host + ":" + std::to_string(url.port);
}

}  // namespace

std::string HttpGetRequest(const HttpUrl& url) {
  return "GET " + url.path + " HTTP/1.1\r\nHost: " + HostField(url) + "\r\nConnection: close\r\n\r\n";
}

std::string SoapRequest(const HttpUrl& url, std::string_view serviceType, std::string_view action) {
  std::string body =
      "<?xml version=\"1.0\"?>\r\n"
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
      "<s:Body><u:" + std::string(action) + " xmlns:u=\"" + std::string(serviceType) + "\"></u:" +
      std::string(action) + "></s:Body></s:Envelope>\r\n";
  return "POST " + url.path + " HTTP/1.1\r\n"
         "Host: " + HostField(url) + "\r\n"
         "Content-Length: " + std::to_string(body.size()) + "\r\n"
         "Content-Type: text/xml; charset=\"utf-8\"\r\n"
         "SOAPAction: \"" + std::string(serviceType) + "#" + std::string(action) + "\"\r\n"
         "Connection: close\r\n"
         "\r\n" + body;
}

std::optional<std::string> HttpReplyBody(std::string_view reply) {
  size_t headEnd = reply.find("\r\n\r\n");
  if (headEnd == std::string_view::npos) return std::nullopt;
  std::string_view head = reply.substr(0, headEnd);
  std::string_view rest = reply.substr(headEnd + 4);
  size_t eol = head.find("\r\n");
  std::string_view status = head.substr(0, eol);
  // "HTTP/1.x 200 ...": a status line shorter than that is no answer (and
  // substr past its end would throw on a device's word).
  if (status.size() < 12 || status.substr(0, 7) != "HTTP/1." || status.substr(8, 4) != " 200" ||
      (status.size() > 12 && status[12] != ' '))
    return std::nullopt;
  std::optional<uint64_t> length;
  bool chunked = false;
  while (eol != std::string_view::npos) {
    head.remove_prefix(eol + 2);
    eol = head.find("\r\n");
    std::string_view line = head.substr(0, eol);
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view name = Trim(line.substr(0, colon)), value = Trim(line.substr(colon + 1));
    if (EqualsNoCase(name, "Content-Length")) {
      length = ParseDigits(value, 10);
      if (!length) return std::nullopt;
    } else if (EqualsNoCase(name, "Transfer-Encoding")) {
      chunked = EqualsNoCase(value, "chunked");
      if (!chunked) return std::nullopt;
    }
  }
  if (chunked) {
    std::string body;
    for (;;) {
      size_t le = rest.find("\r\n");
      if (le == std::string_view::npos) return std::nullopt;
      std::string_view size = rest.substr(0, le);
      size = size.substr(0, size.find(';'));
      auto n = ParseDigits(Trim(size), 16);
      if (!n || *n > rest.size()) return std::nullopt;
      rest.remove_prefix(le + 2);
      if (*n == 0) return body;
      if (rest.size() < *n + 2 || rest.substr(*n, 2) != "\r\n") return std::nullopt;
      body.append(rest.substr(0, *n));
      rest.remove_prefix(*n + 2);
    }
  }
  if (length) {
    if (rest.size() < *length) return std::nullopt;
    rest = rest.substr(0, *length);
  }
  return std::string(rest);
}

std::optional<std::map<std::string, std::string>> SoapResponseArgs(std::string_view body,
                                                                   std::string_view action) {
  // Walks Envelope > Body > ACTIONResponse > arguments, each a level deeper.
  const std::string response = std::string(action) + "Response";
  std::map<std::string, std::string> args;
  int depth = 0;
  bool inResponse = false, answered = false, done = false;
  std::string_view open;  // the argument being read
  size_t textStart = 0;
  for (size_t pos = body.find('<'); pos != std::string_view::npos; pos = body.find('<', pos)) {
    auto tag = ReadTag(body, pos);
    if (!tag) return std::nullopt;
    size_t next = tag->end;
    if (tag->name.empty()) {
      if (!open.empty()) return std::nullopt;
      pos = next;
      continue;
    }
    std::string_view local = LocalName(tag->name);
    if (done && !(tag->closing && depth == 1 && local == "Envelope")) return std::nullopt;
    if (tag->closing) {
      if (depth == 4) {
        if (open.empty() || tag->name != open) return std::nullopt;
        auto value = Unescape(body.substr(textStart, pos - textStart));
        if (!value || args.count(std::string(open))) return std::nullopt;
        args[std::string(open)] = *value;
        open = {};
      } else if (depth == 3) {
        if (!inResponse || local != response) return std::nullopt;
        inResponse = false;
        answered = true;
      } else if (depth == 2) {
        if (local != "Body" || !answered) return std::nullopt;
        done = true;
      }
      --depth;
      if (depth < 0) return std::nullopt;
    } else {
      ++depth;
      if (depth == 1 && local != "Envelope") return std::nullopt;
      if (depth == 2 && local != "Header" && local != "Body") return std::nullopt;
      if (depth == 2 && local == "Header") return std::nullopt;  // no router sends one
      if (depth == 3 && (local != response || answered)) return std::nullopt;  // a Fault, another answer
      if (depth == 3) inResponse = true;
      if (depth == 4) {
        open = tag->name;
        textStart = next;
      }
      if (depth > 4) return std::nullopt;
      if (tag->empty) {
        if (depth == 4) {
          if (args.count(std::string(open))) return std::nullopt;
          args[std::string(open)] = "";
          open = {};
        }
        if (depth == 3) {
          inResponse = false;
          answered = true;
        }
        --depth;
      }
    }
    pos = next;
  }
  if (!done || depth != 0) return std::nullopt;
  return args;
}

namespace {

// The text of the first element `name` of a description (the root device's,
// which comes before its embedded ones); empty when there is none or it is
// not short plain text.
std::string FirstElementText(std::string_view description, std::string_view name) {
  const std::string open = "<" + std::string(name) + ">", close = "</" + std::string(name) + ">";
  size_t at = description.find(open);
  if (at == std::string_view::npos) return {};
  at += open.size();
  size_t end = description.find(close, at);
  if (end == std::string_view::npos || end - at > 256) return {};
  auto text = Unescape(Trim(description.substr(at, end - at)));
  if (!text || text->find('<') != std::string::npos) return {};
  for (char c : *text)
    if (static_cast<unsigned char>(c) < ' ') return {};
  return *text;
}

}  // namespace

std::string DescriptionFriendlyName(std::string_view description) {
  return FirstElementText(description, "friendlyName");
}

std::string DescriptionUdn(std::string_view description) { return FirstElementText(description, "UDN"); }

bool UrlOnHost(std::string_view url, std::string_view host) {
  auto parsed = ParseHttpUrl(url);
  return parsed && !host.empty() && EqualsNoCase(parsed->host, host);
}

std::optional<uint64_t> ParseUpnpCounter(std::string_view text) {
  return ParseDigits(Trim(text), 10);
}

std::optional<std::string> ParseUpnpStatus(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.size() > 32) return std::nullopt;
  for (char c : text)
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::nullopt;
  return std::string(text);
}

std::optional<RouterReading> UpnpReadingOf(const std::map<std::string, std::string>& status,
                                           const std::map<std::string, std::string>& received,
                                           const std::map<std::string, std::string>& sent) {
  const auto arg = [](const std::map<std::string, std::string>& args, const char* name) -> std::string_view {
    auto it = args.find(name);
    return it == args.end() ? std::string_view() : std::string_view(it->second);
  };
  auto state = ParseUpnpStatus(arg(status, "NewConnectionStatus"));
  auto in = ParseUpnpCounter(arg(received, "NewTotalBytesReceived"));
  auto out = ParseUpnpCounter(arg(sent, "NewTotalBytesSent"));
  if (!state || !in || !out) return std::nullopt;
  RouterReading r;
  r.id.protocol = RouterProtocol::kUpnp;
  r.up = *state == "Connected";
  r.in = *in;
  r.out = *out;
  // The connection's own uptime: a router that says 0 keeps no record.
  auto uptime = ParseUpnpCounter(arg(status, "NewUptime"));
  if (uptime && *uptime > 0 && *uptime <= 0xFFFFFFFFu) r.uptime = static_cast<double>(*uptime);
  if (r.up && r.uptime) r.linkUp = *r.uptime;
  return r;
}

}  // namespace vtc
