// What the page "Роутер" says about the router it asked, in words a user
// understands. Platform-free, so that every outcome is checked by a table.
#pragma once
#include <optional>
#include <string>

#include "router/reading.h"
#include "router/snmp_walk.h"

namespace vtc {

// One line of the router's interface list: description, state, counters.
std::string RouterRowText(const snmp::InterfaceRow& row);

// The line under "Найти роутер". `name` is the friendlyName or sysDescr;
// nothing when the router did not answer.
std::string FoundText(bool upnp, RouterSilence silence, const std::string& address,
                      const std::optional<std::string>& name);

// "Проверить": the router's reading, or why there is none.
struct RouterCheck {
  bool upnp = false;
  RouterSilence silence = RouterSilence::kNone;
  std::string address;  // where the question went
  std::string name;     // UPnP: the router's friendlyName
  std::string wan;      // SNMP: the WAN interface asked for; empty: none picked yet
  std::optional<RouterReading> reading;
};
std::string CheckText(const RouterCheck& c);

// With Source 1 or 2 the meter counts the router's WAN link alone.
constexpr const char* kRouterSourceNote =
    "Интерфейс 2 и тип подключения при подсчете на роутере не используются.";

}  // namespace vtc
