#include "settings/pages/page_tariffs.h"

#include "common/stored_names.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"

namespace vtc {
namespace {

const char* const kDayNames[7] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};

}  // namespace

void TariffsPage::Build(const PageContext& c) {
  appDir_ = c.appDir;
  page_ = CreatePageHost(c.tab, kIdTariffsPage);
  PageBuilder b{page_, c.font};
  list = b.List(kIdTariffList, 0, 0, 164, 377);
  del = b.Button(kIdDelete, "Удалить", 0, 384, 73);
  add = b.Button(kIdAdd, "Добавить", 88, 384, 72);
  nameCaption = b.Label(kIdNameCaption, "Название тарифа", 176, 0, 105);
  name = b.Field(kIdName, 176, 24, 313);
  periodCaption = b.Label(kIdPeriodCaption, "Время действия тарифа (с меньшего до большего)", 176, 48, 321);
  fromLabel = b.Label(kIdFromLabel, "с", 176, 72, 9);
  start = b.Field(kIdStart, 200, 72, 100);
  toLabel = b.Label(kIdToLabel, "до", 312, 72, 17);
  end = b.Field(kIdEnd, 336, 72, 100);
  daysCaption = b.Label(kIdDaysCaption, "Дни недели, в которые действует тариф", 176, 96, 241);
  for (int i = 0; i < 7; ++i) days[i] = b.Check(kIdMonday + i, kDayNames[i], 176 + 40 * i, 112, 33);
  all = b.Button(kIdAllDays, "Все", 450, 96, 41);
  none = b.Button(kIdNoDays, "Нет", 450, 120, 41);
  freeInCaption = b.Label(kIdFreeInCaption, "Предоплаченный входящий трафик (Мб)", 176, 136, 241);
  freeIn = b.Field(kIdFreeIn, 176, 160, 305);
  freeOutCaption = b.Label(kIdFreeOutCaption, "Предоплаченный исходящий трафик (Мб)", 176, 184, 241);
  freeOut = b.Field(kIdFreeOut, 176, 208, 305);
  priceInCaption = b.Label(kIdPriceInCaption, "Стоимость 1Мб входящего трафика", 176, 232, 209);
  priceIn = b.Field(kIdPriceIn, 176, 256, 305);
  priceOutCaption = b.Label(kIdPriceOutCaption, "Стоимость 1Мб исходящего трафика", 176, 280, 217);
  priceOut = b.Field(kIdPriceOut, 176, 304, 313);
  priceHourCaption = b.Label(kIdPriceHourCaption, "Стоимость 1 часа интернета", 176, 328, 169);
  priceHour = b.Field(kIdPriceHour, 176, 352, 313);
  save = b.Button(kIdSave, "Сохранить", 176, 384, 313);
  FitLabels(page_, c.font);
  editor_.Attach(c.owner, *this);
}

void TariffsPage::Load(const StoredSettings&) {
  editor_.Load(appDir_ + kTariffFileName);
  editor_.Empty(false);
}

}  // namespace vtc
