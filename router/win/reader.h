// What the router says about its WAN link now, asked one way for both
// programs: the meter's poller asks once a tick, the page "Роутер" once a
// click. The address is trimmed, the WAN interface matched and the SNMP
// version chosen here and nowhere else.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "router/reading.h"
#include "router/router_options.h"
#include "router/snmp_walk.h"

namespace vtc {

class RouterReader {
 public:
  explicit RouterReader(const RouterOptions& options);
  ~RouterReader();
  RouterReader(const RouterReader&) = delete;
  RouterReader& operator=(const RouterReader&) = delete;

  // One reading, its questions all answered within `budgetMs`; nothing when
  // the router did not answer. A UPnP router is searched for first when it
  // has not been found yet, or has not answered for a while (a reboot onto
  // another port, another address, another router): the search takes longer.
  std::optional<RouterReading> Read(int budgetMs);

  // Why the last Read brought nothing.
  RouterSilence silence() const { return silence_; }
  // Where the last Read went: an IPv4 address; empty when nowhere.
  const std::string& address() const { return address_; }
  // What the balloons call the router: its UPnP name once found, else its
  // address (or the address typed, before any Read).
  std::string Name() const;

 private:
  struct Snmp;
  struct Upnp;
  std::optional<RouterReading> ReadSnmp(int budgetMs);
  std::optional<RouterReading> ReadUpnp(int budgetMs);

  RouterOptions options_;
  RouterSilence silence_ = RouterSilence::kNone;
  std::string address_;
  std::unique_ptr<Snmp> snmp_;
  std::unique_ptr<Upnp> upnp_;
};

// What the page "Роутер" shows of a router beside its reading: where it
// answered, its own name (sysDescr, friendlyName) when asked for, and over
// SNMP its interface table (in v2c, or v1 from an agent silent to v2c).
struct RouterSurvey {
  RouterSilence silence = RouterSilence::kNone;
  std::string address;
  std::optional<std::string> name;
  std::optional<std::vector<snmp::InterfaceRow>> rows;
};
RouterSurvey SurveyRouter(const RouterOptions& options, bool withName, int budgetMs);

}  // namespace vtc
