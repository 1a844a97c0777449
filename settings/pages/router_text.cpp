#include "settings/pages/router_text.h"

#include "common/text.h"

namespace vtc {
namespace {

std::string Quoted(const std::string& s) { return "«" + s + "»"; }

constexpr const char* kNoAnswer =
    "Роутер %s не ответил. Проверьте адрес роутера, что на нём включён SNMP и что сообщество (community) "
    "указано верно.";
constexpr const char* kNoUpnp =
    "Роутер с UPnP не найден. Проверьте, что на роутере включён UPnP, или впишите его адрес.";

std::string WithAddress(const char* pattern, const std::string& address) {
  std::string out = pattern;
  out.replace(out.find("%s"), 2, address);
  return out;
}

// Why nothing was read, or empty when something was.
std::string SilenceText(bool upnp, RouterSilence silence, const std::string& address) {
  switch (silence) {
    case RouterSilence::kNone:
      return {};
    case RouterSilence::kNoGateway:
      return "Адрес роутера не найден: у компьютера нет шлюза по умолчанию. Впишите адрес роутера.";
    case RouterSilence::kNotAnAddress:
      return Quoted(address) + " — не адрес IPv4. Впишите адрес роутера, например 192.168.1.1.";
    case RouterSilence::kNotFound:
      return kNoUpnp;
    case RouterSilence::kNoAnswer:
      break;
  }
  return upnp ? kNoUpnp : WithAddress(kNoAnswer, address);
}

std::string Counters(const RouterReading& r) {
  return "получено " + BytesText(static_cast<double>(r.in)) + ", отправлено " + BytesText(static_cast<double>(r.out));
}

}  // namespace

std::string RouterRowText(const snmp::InterfaceRow& row) {
  return snmp::RowName(row.description) + "  —  " + (row.operUp ? "работает" : "отключен") + ",  получено " +
         BytesText(static_cast<double>(row.in)) + ",  отправлено " + BytesText(static_cast<double>(row.out));
}

std::string FoundText(bool upnp, RouterSilence silence, const std::string& address,
                      const std::optional<std::string>& name) {
  if (silence != RouterSilence::kNone || !name) {
    return SilenceText(upnp, silence == RouterSilence::kNone ? RouterSilence::kNoAnswer : silence, address);
  }
  std::string shown = name->empty() ? std::string("(роутер не назвал себя)") : *name;
  return "Найден роутер " + address + ": " + shown;
}

std::string CheckText(const RouterCheck& c) {
  if (!c.reading) {
    if (c.upnp && c.silence == RouterSilence::kNoAnswer) {
      return "Роутер " + Quoted(c.name.empty() ? c.address : c.name) + " найден, но не отдал счетчики трафика по UPnP.";
    }
    if (c.silence != RouterSilence::kNone) return SilenceText(c.upnp, c.silence, c.address);
    return "Роутер ответил. Выберите в списке WAN-интерфейс: тот, чей счетчик растет во время загрузки.";
  }
  const RouterReading& r = *c.reading;
  std::string text;
  if (c.upnp) {
    text = "Счетчики прочитаны: " + Counters(r) + ", соединение с интернетом " +
           (r.up ? "установлено." : "не установлено.");
  } else if (!r.present) {
    return "У роутера нет интерфейса " + Quoted(c.wan) + ". Выберите WAN-интерфейс в списке.";
  } else {
    text = "Счетчики прочитаны: интерфейс " + Quoted(c.wan) + " " + (r.up ? "работает" : "отключен") + ", " +
           Counters(r) + ".";
  }
  const CounterTrouble trouble = TroubleOf(r);
  if (trouble != CounterTrouble::kNone) text += " " + TroubleText(trouble);
  return text;
}

}  // namespace vtc
