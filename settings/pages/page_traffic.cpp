#include "settings/pages/page_traffic.h"

#include "common/conntypes.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"

namespace vtc {
namespace {

// The text ends without a closing parenthesis, as the program has always shown it.
constexpr const char* kInstruction =
    "Интерфейс, с которого будет сниматься трафик (Для правильного выбора интерфейса: 1. Подключитесь к сети "
    "интернет с помощью того оборудования, с которого хотите снимать трафик. 2. Выберите тип соединения 3. "
    "Нажмите кнопку \"Найти\" 4. Ниже выберите из списка нужный интерфейс";

}  // namespace

void TrafficPage::Build(const PageContext& c) {
  page_ = CreatePageHost(c.tab, kIdTrafficPage);
  PageBuilder b{page_, c.font};
  const char* findTexts[kConnectionTypeCount];
  const char* autoTexts[kConnectionTypeCount];
  for (int i = 0; i < kConnectionTypeCount; ++i) {
    findTexts[i] = ConnectionTypeAt(i).findText;
    autoTexts[i] = ConnectionTypeAt(i).autoText;
  }
  instruction = b.WrapLabel(kIdInstruction, kInstruction, 8, 0, 489, 65);
  typeCaption = b.Label(kIdTypeCaption, "Тип соединения", 8, 72, 97);
  typeList = b.DropList(kIdTypeList, 112, 72, 377, findTexts, kConnectionTypeCount);
  find = b.Button(kIdFind, "Найти", 112, 104, 377);
  primaryCaption = b.Label(kIdPrimaryCaption, "Основной интерфейс", 0, 136, 137);
  primary = b.Field(kIdPrimary, 144, 136, 345);
  if (c.boldFont) SendMessageW(primary, WM_SETFONT, reinterpret_cast<WPARAM>(c.boldFont), FALSE);
  secondaryCaption = b.Label(kIdSecondaryCaption, "Вторичный интерфейс", 0, 160, 137);
  secondary = b.Field(kIdSecondary, 144, 160, 345);
  found = b.List(kIdFound, 8, 184, 481, 105);
  makeSecondary = b.Button(kIdMakeSecondary, "Сделать вторичным", 240, 296, 121);
  makePrimary = b.Button(kIdMakePrimary, "Сделать основным", 368, 296, 121);
  autoCaption =
      b.Label(kIdAutoCaption, "Автоопределение интерфейса (работает только на основной интерфейс)", 8, 333, 481, 17);
  autoList = b.DropList(kIdAutoList, 8, 352, 481, autoTexts, kConnectionTypeCount);
  FitLabels(page_, c.font);
  chooser_.Attach(c.owner, *this);
}

void TrafficPage::Load(const StoredSettings& s) {
  Select(autoList, s.options.autoFindIndex);
  SetTextUtf8(primary, s.options.iface);
  SetTextUtf8(secondary, s.options.iface2);
}

void TrafficPage::Save(StoredSettings& s) const {
  s.options.iface = GetTextUtf8(primary);
  s.options.iface2 = GetTextUtf8(secondary);
  s.options.autoFindIndex = Selected(autoList);
}

}  // namespace vtc
