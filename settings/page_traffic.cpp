#include "settings/page_traffic.h"

#include "common/conntypes.h"
#include "settings/page_host.h"

namespace vtc {
namespace {

// The text ends without a closing parenthesis, as the program has always shown it.
constexpr const char* kInstruction =
    "Интерфейс, с которого будет сниматься трафик (Для правильного выбора интерфейса: 1. Подключитесь к сети "
    "интернет с помощью того оборудования, с которого хотите снимать трафик. 2. Выберите тип соединения 3. "
    "Нажмите кнопку \"Найти\" 4. Ниже выберите из списка нужный интерфейс";

}  // namespace

void PageTraffic::Create(HWND tab, HFONT font, HFONT boldFont) {
  page = CreatePageHost(tab);
  PageBuilder b{page, font};
  const char* findTexts[kConnectionTypeCount];
  const char* autoTexts[kConnectionTypeCount];
  for (int i = 0; i < kConnectionTypeCount; ++i) {
    findTexts[i] = ConnectionTypeAt(i).findText;
    autoTexts[i] = ConnectionTypeAt(i).autoText;
  }
  instruction = b.WrapLabel(kInstruction, 8, 0, 489, 65);
  typeCaption = b.Label("Тип соединения", 8, 72, 97);
  typeList = b.DropList(112, 72, 377, findTexts, kConnectionTypeCount);
  find = b.Button("Найти", 112, 104, 377);
  primaryCaption = b.Label("Основной интерфейс", 0, 136, 137);
  primary = b.Field(144, 136, 345);
  if (boldFont) SendMessageW(primary, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont), FALSE);
  secondaryCaption = b.Label("Вторичный интерфейс", 0, 160, 137);
  secondary = b.Field(144, 160, 345);
  found = b.List(8, 184, 481, 105);
  makeSecondary = b.Button("Сделать вторичным", 240, 296, 121);
  makePrimary = b.Button("Сделать основным", 368, 296, 121);
  autoCaption = b.Label("Автоопределение интерфейса (работает только на основной интерфейс)", 8, 333, 481, 17);
  autoList = b.DropList(8, 352, 481, autoTexts, kConnectionTypeCount);
  FitLabels(page, font);
}

}  // namespace vtc
