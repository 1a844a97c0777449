// What the page "Роутер" says about the router it asked, in words a user
// understands. Platform-free, so that every outcome is checked by a table.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "router/snmp_walk.h"

namespace vtc {

// One line of the router's interface list: description, state, counters.
std::string RouterRowText(const snmp::InterfaceRow& row);
// The description as a window shows it: agents send ASCII, UTF-8 or, on
// older Russian firmware, code page 1251.
std::string RouterRowName(const snmp::InterfaceRow& row);

// The line under "Найти роутер". `name` is the friendlyName or sysDescr.
std::string FoundText(bool upnp, const std::string& address, const std::optional<std::string>& name);

// "Проверить" over SNMP: `rows` is nullopt when the agent did not answer,
// which is also what a wrong community gets.
std::string SnmpCheckText(const std::string& address, const std::optional<std::vector<snmp::InterfaceRow>>& rows,
                          const std::string& wan);

// "Проверить" over UPnP: `found` false when no gateway answered.
struct UpnpCheck {
  bool found = false;
  std::string name;
  std::optional<uint64_t> received, sent;
  std::optional<std::string> status;
};
std::string UpnpCheckText(const UpnpCheck& c);

// With an empty address field: no default route, so nowhere to ask.
constexpr const char* kNoGateway =
    "Адрес роутера не найден: у компьютера нет шлюза по умолчанию. Впишите адрес роутера.";

}  // namespace vtc
