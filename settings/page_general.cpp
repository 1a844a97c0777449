#include "settings/page_general.h"

#include "settings/page_host.h"

namespace vtc {
namespace {

const char* const kPeriods[] = {"По сессиям", "По дням", "По неделям", "По месяцам", "По годам"};
const char* const kWeekStarts[] = {"С понедельника", "Со вторника", "Со среды", "С четверга",
                                   "С пятницы",      "С субботы",   "С воскресенья"};

}  // namespace

void PageGeneral::Create(HWND tab, HFONT font) {
  page = CreatePageHost(tab);
  PageBuilder b{page, font};
  passwordCaption =
      b.WrapLabel("Пароль на выключение программы и изменение настроек (пусто - пароль отключен)", 8, 0, 201, 49);
  password = b.PasswordField(8, 56, 201);
  autorun = b.Check("Автозагрузка вместе с Windows", 8, 88, 201);
  statCaption = b.Label("Статистика", 8, 117, 64, 17);
  statPeriod = b.DropList(8, 136, 201, kPeriods, 5);
  weekCaption = b.Label("Неделя начинается", 8, 165, 113, 17);
  weekStart = b.DropList(8, 184, 201, kWeekStarts, 7);
  recordsCaption = b.Label("Количество записей статистики:", 8, 216, 201);
  records = b.Field(8, 240, 201);
  FitLabels(page, font);
}

}  // namespace vtc
