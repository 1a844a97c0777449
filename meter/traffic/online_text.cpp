#include "meter/traffic/online_text.h"

#include "common/text.h"

namespace vtc {

namespace {
const char kCR = '\r';

std::string Block(const std::string& name, const IfDetails& row) {
  std::string t = name;
  t += kCR;
  t += "Онлайн";
  t += kCR;
  t += "Тип: " + std::to_string(row.type);
  t += kCR;
  t += "MTU: " + std::to_string(row.mtu);
  t += kCR;
  // Port speed is in bits; shown in bytes per second like the labels.
  t += "Скорость порта: " + FormatBytes(row.speed / 8) + "b/s";
  return t;
}
}  // namespace

std::string OnlineBalloonText(const std::string& iface, const IfDetails& row1, const std::string& lookupErrors,
                              const std::string& iface2, const IfDetails* row2) {
  std::string text = iface.empty() ? lookupErrors : Block(iface, row1);
  if (!iface2.empty() && row2) {
    text += kCR;
    text += kCR;
    text += Block(iface2, *row2);
  }
  return text;
}

std::string RouterOnlineText(const std::string& router, const std::string& wan) {
  std::string text = "Роутер " + router;
  text += kCR;
  text += "Онлайн";
  if (!wan.empty()) {
    text += kCR;
    text += wan;
  }
  return text;
}

}  // namespace vtc
