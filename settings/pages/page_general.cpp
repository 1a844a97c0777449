#include "settings/pages/page_general.h"

#include "settings/control_ids.h"
#include "settings/pages/page_host.h"

namespace vtc {
namespace {

const char* const kPeriods[] = {"По сессиям", "По дням", "По неделям", "По месяцам", "По годам"};
const char* const kWeekStarts[] = {"С понедельника", "Со вторника", "Со среды", "С четверга",
                                   "С пятницы",      "С субботы",   "С воскресенья"};

}  // namespace

void PageGeneral::Create(HWND tab, HFONT font) {
  page = CreatePageHost(tab, kIdGeneralPage);
  PageBuilder b{page, font};
  passwordCaption = b.WrapLabel(
      kIdPasswordCaption, "Пароль на выключение программы и изменение настроек (пусто - пароль отключен)", 8, 0, 201, 49);
  password = b.PasswordField(kIdPassword, 8, 56, 201);
  autorun = b.Check(kIdAutorun, "Автозагрузка вместе с Windows", 8, 88, 201);
  statCaption = b.Label(kIdStatCaption, "Статистика", 8, 117, 64, 17);
  statPeriod = b.DropList(kIdStatPeriod, 8, 136, 201, kPeriods, 5);
  weekCaption = b.Label(kIdWeekCaption, "Неделя начинается", 8, 165, 113, 17);
  weekStart = b.DropList(kIdWeekStart, 8, 184, 201, kWeekStarts, 7);
  recordsCaption = b.Label(kIdRecordsCaption, "Количество записей статистики:", 8, 216, 201);
  records = b.Field(kIdRecords, 8, 240, 201);
  FitLabels(page, font);
}

}  // namespace vtc
