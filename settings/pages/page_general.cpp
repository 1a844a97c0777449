#include "settings/pages/page_general.h"

#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"

namespace vtc {
namespace {

const char* const kPeriods[] = {"По сессиям", "По дням", "По неделям", "По месяцам", "По годам"};
const char* const kWeekStarts[] = {"С понедельника", "Со вторника", "Со среды", "С четверга",
                                   "С пятницы",      "С субботы",   "С воскресенья"};

}  // namespace

void GeneralPage::Build(const PageContext& c) {
  page_ = CreatePageHost(c.tab, kIdGeneralPage);
  PageBuilder b{page_, c.font};
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
  FitLabels(page_, c.font);
}

void GeneralPage::Load(const StoredSettings& s) {
  SetTextUtf8(password, s.password);
  Tick(autorun, s.autorun);
  if (s.options.dofIndex != 0) Select(weekStart, s.options.dofIndex);
  Select(statPeriod, s.options.statisticIndex);
  SetTextUtf8(records, s.options.statkol);
}

void GeneralPage::Save(StoredSettings& s) const {
  s.password = GetTextUtf8(password);
  s.autorun = Ticked(autorun);
  s.options.statkol = GetTextUtf8(records);
  s.options.statisticIndex = Selected(statPeriod);
  s.options.dofIndex = Selected(weekStart);
}

bool GeneralPage::OnCommand(int id, int) { return OnPage(id, kIdGeneralPage); }

}  // namespace vtc
