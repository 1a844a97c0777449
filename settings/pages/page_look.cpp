#include "settings/pages/page_look.h"

#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"

namespace vtc {
namespace {

const char* const kCurrencies[] = {"руб.", "грн.", "$", "€"};

// The two labels of the skin information sit inside the frame; the page
// holds them at the frame's offset so that they paint and hit-test as its own.
constexpr int kFrameX = 168, kFrameY = 16;

}  // namespace

void LookPage::Build(const PageContext& c) {
  page_ = CreatePageHost(c.tab, kIdLookPage);
  PageBuilder b{page_, c.font};
  b.Label(kIdSkinCaption, "Внешний вид", 8, 0, 81, 17);
  b.DropList(kIdSkinList, 8, 24, 153, nullptr, 0);
  b.Label(kIdAlphaCaption, "Прозрачность (0-255)", 8, 56, 153);
  b.Field(kIdAlpha, 8, 80, 153);
  b.Button(kIdSkinTest, "Тест скина", 8, 112, 153);
  b.Label(kIdCurrencyCaption, "Наименование валюты", 8, 144, 153);
  b.DropBox(kIdCurrency, 8, 168, 153, kCurrencies, 4);
  b.Frame(kIdInfoFrame, "Информация о скине", kFrameX, kFrameY, 321, 177);
  b.WrapLabel(kIdAuthor, "", kFrameX + 8, kFrameY + 24, 305, 41);
  b.WrapLabel(kIdSkinName, "", kFrameX + 8, kFrameY + 72, 305, 97);
  b.Check(kIdHints, "Показывать всплывающие подсказки", 8, 208, 233);
  b.Check(kIdAutoHide, "Автоскрытие при отсутствии онлайна", 8, 232, 241);
  b.Check(kIdOnTop, "Поверх всех окон", 8, 256, 121);
  b.Check(kIdAutoUpdate, "Автоматическая проверка обновлений (1Кб вх. трафика за раз)", 8, 280, 441);
  FitLabels(page_, c.font);
  chooser_.Attach(c.owner, page_, c.appDir);
}

void LookPage::Load(const StoredSettings& s) {
  chooser_.CreatePreview();
  chooser_.FillSkinList();
  const OptionValues& v = s.options;
  // CB_SETCURSEL sends no CBN_SELCHANGE: selecting the stored skin is not the
  // user picking one, and the skin information stays empty.
  HWND skins = Item(kIdSkinList);
  Select(skins, FindEntry(skins, v.look));
  SetTextUtf8(Item(kIdCurrency), v.denstr);
  SetTextUtf8(Item(kIdAlpha), v.alphaBlend);
  Tick(Item(kIdHints), v.showBt);
  Tick(Item(kIdAutoHide), v.autoClose);
  Tick(Item(kIdOnTop), v.stayOnTop);
  Tick(Item(kIdAutoUpdate), v.autoUpdate);
  chooser_.BuildTestWindow();
}

void LookPage::Save(StoredSettings& s) const {
  OptionValues& v = s.options;
  v.look = GetTextUtf8(Item(kIdSkinList));
  v.alphaBlend = GetTextUtf8(Item(kIdAlpha));
  v.denstr = GetTextUtf8(Item(kIdCurrency));
  v.showBt = Ticked(Item(kIdHints));
  v.autoClose = Ticked(Item(kIdAutoHide));
  v.stayOnTop = Ticked(Item(kIdOnTop));
  v.autoUpdate = Ticked(Item(kIdAutoUpdate));
}

std::string LookPage::currencyText() const { return GetTextUtf8(Item(kIdCurrency)); }

}  // namespace vtc
