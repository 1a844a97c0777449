// The report's text and the platform tag: no platform calls here.
#include "meter/services/error_report.h"

#include "common/encoding.h"

namespace vtc {

std::string PlatformTag(uint32_t version) {
  const unsigned major = version & 0xFF;
  const unsigned minor = (version >> 8) & 0xFF;
  if (version & 0x80000000u) {  // Windows 95 family
    if (major < 4 || (major == 4 && minor < 10)) return "";
    if (major == 4 && minor < 90) return "W98";
    return "WME";
  }
  if (major < 5) return "WNT";
  if (major == 5) {
    if (minor == 0) return "W2K";
    if (minor == 1) return "WXP";
    return "WServer2003";
  }
  return "WVista";
}

std::string ErrorReportBytes(const std::string& folder, const std::string& platformTag,
                             const std::string& errorText) {
  const char kEol[] = "\r\n";
  std::string text = ":: Баг-отчет программы Varnok Traffic Counter 4.x ::";
  text += kEol;
  text += "Этот файл создан потому, что во время выполнения кода программы возникли ошибки";
  text += kEol;
  text += "Директория: " + folder + kEol;
  if (!platformTag.empty()) text += "Платформа: " + platformTag + kEol;
  text += errorText + kEol;
  return Utf8ToCp1251(text);
}

}  // namespace vtc
