#include "settings/pages/router_text.h"

#include <gtest/gtest.h>

#include "common/encoding.h"

using namespace vtc;

namespace {

snmp::InterfaceRow Row(const std::string& name, bool up, uint64_t in, uint64_t out) {
  snmp::InterfaceRow r;
  r.description = name;
  r.operUp = up;
  r.in = in;
  r.out = out;
  r.is64bit = true;
  return r;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

// A wrong community gets no answer at all, so the text for silence has to
// name it beside the address and SNMP being off.
TEST(RouterCheckText, EachOutcomeSaysWhatHappenedAndWhatToDo) {
  const std::vector<snmp::InterfaceRow> rows = {Row("lo", true, 10, 10), Row("wan0", true, 3 << 20, 1536),
                                                Row("off0", false, 0, 0)};
  struct Case {
    std::optional<std::vector<snmp::InterfaceRow>> rows;
    std::string wan;
    std::vector<std::string> says;
  } cases[] = {
      {std::nullopt, "wan0", {"198.18.0.1 не ответил", "SNMP", "сообщество (community)"}},
      {rows, "", {"Выберите в списке WAN-интерфейс"}},
      {rows, "ppp0", {"нет интерфейса «ppp0»", "Выберите WAN-интерфейс"}},
      {rows, "wan0", {"«wan0» работает", "получено 3Mb", "отправлено 1.5Kb"}},
      {rows, "off0", {"«off0» отключен"}},
  };
  for (const Case& c : cases) {
    const std::string text = SnmpCheckText("198.18.0.1", c.rows, c.wan);
    for (const std::string& part : c.says) EXPECT_TRUE(Has(text, part)) << c.wan << ": " << text;
  }
}

TEST(RouterCheckText, UpnpNamesTheMissingPart) {
  struct Case {
    UpnpCheck check;
    std::string says;
  } cases[] = {
      {{}, "Роутер с UPnP не найден"},
      {{true, "Gateway", std::nullopt, 5, std::string("Connected")}, "«Gateway» найден, но не отдал счетчики"},
      {{true, "Gateway", 2048, 1024, std::string("Connected")}, "получено 2Kb, отправлено 1Kb, состояние соединения: Connected."},
      {{true, "Gateway", 2048, 1024, std::nullopt}, "получено 2Kb, отправлено 1Kb."},
  };
  for (const Case& c : cases) EXPECT_TRUE(Has(UpnpCheckText(c.check), c.says)) << UpnpCheckText(c.check);
}

TEST(RouterRows, DescriptionsIn1251OrUtf8ShowAsTheyWereMeant) {
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"eth0.2", "eth0.2"},
      {"Порт WAN", "Порт WAN"},
      {Utf8ToCp1251("Порт WAN"), "Порт WAN"},
      {"\xD0", Cp1251ToUtf8("\xD0")},  // cut short: not UTF-8
      {"\x80", Cp1251ToUtf8("\x80")},  // a continuation byte first
      {"\xF8\x88\x80\x80\x80", Cp1251ToUtf8("\xF8\x88\x80\x80\x80")},  // five bytes: no longer UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(RouterRowName(Row(c.bytes, true, 0, 0)), c.shown) << c.shown;
  EXPECT_EQ(RouterRowText(Row("wan0", false, 1536, 0)), "wan0  —  отключен,  получено 1.5Kb,  отправлено 0b");
}
