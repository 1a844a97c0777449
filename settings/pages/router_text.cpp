#include "settings/pages/router_text.h"

#include "common/encoding.h"
#include "common/text.h"

namespace vtc {
namespace {

bool IsUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
    if (n == 4 || i + n >= s.size() + (n ? 0 : 1)) return n == 0;
    for (size_t k = 1; k <= n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    }
    i += n + 1;
  }
  return true;
}

std::string Quoted(const std::string& s) { return "«" + s + "»"; }

constexpr const char* kNoAnswer =
    "Роутер %s не ответил. Проверьте адрес роутера, что на нём включён SNMP и что сообщество (community) "
    "указано верно.";

std::string WithAddress(const char* pattern, const std::string& address) {
  std::string out = pattern;
  out.replace(out.find("%s"), 2, address);
  return out;
}

}  // namespace

std::string RouterRowName(const snmp::InterfaceRow& row) {
  return IsUtf8(row.description) ? row.description : Cp1251ToUtf8(row.description);
}

std::string RouterRowText(const snmp::InterfaceRow& row) {
  return RouterRowName(row) + "  —  " + (row.operUp ? "работает" : "отключен") + ",  получено " +
         BytesText(static_cast<double>(row.in)) + ",  отправлено " + BytesText(static_cast<double>(row.out));
}

std::string FoundText(bool upnp, const std::string& address, const std::optional<std::string>& name) {
  if (!name) {
    if (upnp) return "Роутер с UPnP не найден. Проверьте, что на роутере включён UPnP, или впишите его адрес.";
    return WithAddress(kNoAnswer, address);
  }
  std::string shown = name->empty() ? std::string("(роутер не назвал себя)") : *name;
  return "Найден роутер " + address + ": " + shown;
}

std::string SnmpCheckText(const std::string& address, const std::optional<std::vector<snmp::InterfaceRow>>& rows,
                          const std::string& wan) {
  if (!rows) return WithAddress(kNoAnswer, address);
  if (wan.empty()) return "Роутер ответил. Выберите в списке WAN-интерфейс: тот, чей счетчик растет во время загрузки.";
  const snmp::InterfaceRow* r =
      snmp::WanRow(*rows, [&wan](const snmp::InterfaceRow& row) { return RouterRowName(row) == wan; });
  if (r) {
    return "Счетчики прочитаны: интерфейс " + Quoted(wan) + " " + (r->operUp ? "работает" : "отключен") +
           ", получено " + BytesText(static_cast<double>(r->in)) + ", отправлено " +
           BytesText(static_cast<double>(r->out)) + ".";
  }
  return "У роутера нет интерфейса " + Quoted(wan) + ". Выберите WAN-интерфейс в списке.";
}

std::string UpnpCheckText(const UpnpCheck& c) {
  if (!c.found) return FoundText(true, "", std::nullopt);
  if (!c.received || !c.sent) return "Роутер " + Quoted(c.name) + " найден, но не отдал счетчики трафика по UPnP.";
  std::string text = "Счетчики прочитаны: получено " + BytesText(static_cast<double>(*c.received)) +
                     ", отправлено " + BytesText(static_cast<double>(*c.sent));
  if (c.status) text += ", состояние соединения: " + *c.status;
  return text + ".";
}

}  // namespace vtc
