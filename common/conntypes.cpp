#include "common/conntypes.h"

namespace vtc {
namespace {

#define SAME(t) t, t
const ConnectionType kTypes[kConnectionTypeCount] = {
    {0, "(Показать все)", "(Автоопределение отключено)"},
    {23, SAME("Соединение через модем (PPP,PPPoe-протокол)")},
    {6, SAME("Соединение через локальную сеть (IEEE 802.3)")},
    {9, SAME("Соединение через локальную сеть типа TokenRing (IEEE 802.5)")},
    {37, SAME("Сеть ATM")},
    {71, SAME("Связь по средствам радиоканала Wi-Fi (IEEE 802.11)")},
    {144, SAME("Последовательная высокоскоростная шина (IEEE 1394)")},
    {146, SAME("DVB-RCC MAC Layer")},
    {147, SAME("DVB-RCC Downstream Channel")},
    {148, SAME("DVB-RCC Upstream Channel")},
    {239, SAME("DVB-RCS MAC Layer")},
    {240, SAME("DVB Satellite TDM")},
    {241, SAME("DVB-RCS TDMA")},
};
#undef SAME

}  // namespace

const ConnectionType& ConnectionTypeAt(int index) {
  if (index < 0 || index >= kConnectionTypeCount) index = 0;
  return kTypes[index];
}

int ConnectionTypeIndex(int type) {
  for (int i = 0; i < kConnectionTypeCount; ++i)
    if (kTypes[i].type == type) return i;
  return -1;
}

}  // namespace vtc
