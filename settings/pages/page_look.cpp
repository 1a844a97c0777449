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
  skinCaption = b.Label(kIdSkinCaption, "Внешний вид", 8, 0, 81, 17);
  skinList = b.DropList(kIdSkinList, 8, 24, 153, nullptr, 0);
  alphaCaption = b.Label(kIdAlphaCaption, "Прозрачность (0-255)", 8, 56, 153);
  alpha = b.Field(kIdAlpha, 8, 80, 153);
  test = b.Button(kIdSkinTest, "Тест скина", 8, 112, 153);
  currencyCaption = b.Label(kIdCurrencyCaption, "Наименование валюты", 8, 144, 153);
  currency = b.DropBox(kIdCurrency, 8, 168, 153, kCurrencies, 4);
  infoFrame = b.Frame(kIdInfoFrame, "Информация о скине", kFrameX, kFrameY, 321, 177);
  author = b.WrapLabel(kIdAuthor, "", kFrameX + 8, kFrameY + 24, 305, 41);
  skinName = b.WrapLabel(kIdSkinName, "", kFrameX + 8, kFrameY + 72, 305, 97);
  hints = b.Check(kIdHints, "Показывать всплывающие подсказки", 8, 208, 233);
  autoHide = b.Check(kIdAutoHide, "Автоскрытие при отсутствии онлайна", 8, 232, 241);
  onTop = b.Check(kIdOnTop, "Поверх всех окон", 8, 256, 121);
  autoUpdate = b.Check(kIdAutoUpdate, "Автоматическая проверка обновлений (1Кб вх. трафика за раз)", 8, 280, 441);
  FitLabels(page_, c.font);
  chooser_.Attach(c.owner, *this, c.appDir);
}

void LookPage::Load(const StoredSettings& s) {
  chooser_.CreatePreview();
  chooser_.FillSkinList();
  const OptionValues& v = s.options;
  // CB_SETCURSEL sends no CBN_SELCHANGE: selecting the stored skin is not the
  // user picking one, and the skin information stays empty.
  Select(skinList, FindEntry(skinList, v.look));
  SetTextUtf8(currency, v.denstr);
  SetTextUtf8(alpha, v.alphaBlend);
  Tick(hints, v.showBt);
  Tick(autoHide, v.autoClose);
  Tick(onTop, v.stayOnTop);
  Tick(autoUpdate, v.autoUpdate);
  chooser_.BuildTestWindow();
}

void LookPage::Save(StoredSettings& s) const {
  OptionValues& v = s.options;
  v.look = GetTextUtf8(skinList);
  v.alphaBlend = GetTextUtf8(alpha);
  v.denstr = GetTextUtf8(currency);
  v.showBt = Ticked(hints);
  v.autoClose = Ticked(autoHide);
  v.stayOnTop = Ticked(onTop);
  v.autoUpdate = Ticked(autoUpdate);
}

std::string LookPage::currencyText() const { return GetTextUtf8(currency); }

}  // namespace vtc
