#include "settings/pages/router_text.h"

#include <gtest/gtest.h>

using namespace vtc;

namespace {

RouterReading Reading(bool present, bool up, uint64_t in, uint64_t out, bool wide = true) {
  RouterReading r;
  r.present = present;
  r.up = up;
  r.in = in;
  r.out = out;
  r.id.wide = wide;
  return r;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

// A wrong community gets no answer at all, so the text for silence has to
// name it beside the address and SNMP being off; a counter in trouble says
// what to do.
TEST(RouterCheckText, EachOutcomeSaysWhatHappenedAndWhatToDo) {
  const auto Snmp = [](RouterSilence silence, std::string wan, std::optional<RouterReading> r) {
    return RouterCheck{false, silence, "198.18.0.1", "", std::move(wan), std::move(r)};
  };
  const auto Upnp = [](RouterSilence silence, std::optional<RouterReading> r) {
    return RouterCheck{true, silence, "198.18.0.1", "Gateway", "", std::move(r)};
  };
  const RouterSilence kQuiet = RouterSilence::kNoAnswer, kNone = RouterSilence::kNone;
  const struct {
    RouterCheck check;
    std::vector<std::string> says;
  } cases[] = {
      {Snmp(kQuiet, "wan0", std::nullopt), {"198.18.0.1 не ответил", "SNMP", "сообщество (community)"}},
      {Snmp(RouterSilence::kNoGateway, "wan0", std::nullopt), {"нет шлюза по умолчанию"}},
      {RouterCheck{false, RouterSilence::kNotAnAddress, "роутер", "", "wan0", std::nullopt}, {"«роутер» — не адрес IPv4"}},
      {Snmp(kNone, "", std::nullopt), {"Выберите в списке WAN-интерфейс"}},
      {Snmp(kNone, "ppp0", Reading(false, false, 0, 0)), {"нет интерфейса «ppp0»", "Выберите WAN-интерфейс"}},
      {Snmp(kNone, "wan0", Reading(true, true, 3 << 20, 1536)), {"«wan0» работает", "получено 3Mb", "отправлено 1.5Kb."}},
      {Snmp(kNone, "wan0", Reading(true, false, 0, 0)), {"«wan0» отключен"}},
      {Snmp(kNone, "wan0", Reading(true, true, 0xFFFFFFFF, 10, false)), {"остановился на 4 ГБ", "Перезагрузите роутер"}},
      {Upnp(RouterSilence::kNotFound, std::nullopt), {"Роутер с UPnP не найден"}},
      {Upnp(kQuiet, std::nullopt), {"«Gateway» найден, но не отдал счетчики"}},
      {Upnp(kNone, Reading(true, true, 2048, 1024, false)), {"получено 2Kb, отправлено 1Kb, соединение с интернетом установлено."}},
      {Upnp(kNone, Reading(true, true, 0, 0, false)), {"нулевые счетчики", "включите на роутере SNMP"}},
  };
  for (const auto& c : cases) {
    const std::string text = CheckText(c.check);
    for (const std::string& part : c.says) EXPECT_TRUE(Has(text, part)) << text;
  }
  snmp::InterfaceRow row;
  row.description = "wan0";
  row.in = 1536;
  EXPECT_EQ(RouterRowText(row), "wan0  —  отключен,  получено 1.5Kb,  отправлено 0b");
}
