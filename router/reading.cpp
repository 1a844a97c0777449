#include "router/reading.h"

namespace vtc {

namespace {
constexpr uint64_t kEnd32 = 0xFFFFFFFFu;
}  // namespace

CounterTrouble TroubleOf(const RouterReading& r) {
  if (!r.present || !r.up) return CounterTrouble::kNone;
  if (!r.id.wide && (r.in == kEnd32 || r.out == kEnd32)) return CounterTrouble::kStuckAtEnd;
  if (r.in == 0 && r.out == 0) return CounterTrouble::kZero;
  return CounterTrouble::kNone;
}

std::string TroubleText(CounterTrouble t) {
  switch (t) {
    case CounterTrouble::kStuckAtEnd:
      return "Счетчик трафика роутера остановился на 4 ГБ и не растет: трафик не считается. Перезагрузите "
             "роутер. Если это повторится, включите на роутере SNMP v2c и выберите в настройках «С роутера по "
             "SNMP».";
    case CounterTrouble::kZero:
      return "Роутер отдает нулевые счетчики трафика: трафик не считается. Перезагрузите роутер. Если это не "
             "поможет, включите на роутере SNMP и выберите в настройках «С роутера по SNMP».";
    case CounterTrouble::kNone:
      break;
  }
  return {};
}

}  // namespace vtc
