#include "settings/pages/tariff_editor.h"

#include "common/encoding.h"
#include "common/tariff_format.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_host.h"
#include "settings/pages/page_tariffs.h"

namespace vtc {
namespace {

int ListSelection(HWND list) {
  LRESULT i = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

}  // namespace

void TariffEditor::Attach(HWND owner, TariffsPage& page) {
  owner_ = owner;
  page_ = &page;
}

void TariffEditor::Load(const std::string& tarifPath) {
  file_.emplace(tarifPath);
  if (!page_) return;
  SendMessageW(page_->list, LB_RESETCONTENT, 0, 0);
  for (const auto& name : file_->SectionNames())
    SendMessageW(page_->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
}

void TariffEditor::Empty(bool enabled) {
  if (!page_) return;
  HWND fields[] = {page_->name,   page_->start,   page_->end,      page_->freeIn,
                   page_->freeOut, page_->priceIn, page_->priceOut, page_->priceHour};
  for (HWND f : fields) {
    SetWindowTextW(f, L"");
    EnableWindow(f, enabled);
  }
  for (HWND d : page_->days) {
    Tick(d, false);
    EnableWindow(d, enabled);
  }
  EnableWindow(page_->all, enabled);
  EnableWindow(page_->none, enabled);
  EnableWindow(page_->save, enabled);
}

bool TariffEditor::Enabled() const { return page_ && IsWindowEnabled(page_->save); }

bool TariffEditor::OnCommand(int id, int code) {
  if (!page_ || !OnPage(id, kIdTariffsPage)) return false;
  if (id == kIdTariffList) {
    if (code == LBN_SELCHANGE) ShowSelected();
    return true;
  }
  if (code != BN_CLICKED) return true;  // fields and day boxes: read when saved
  switch (id) {
    case kIdSave:
      Save();
      break;
    case kIdAdd:
      Add();
      break;
    case kIdDelete:
      Delete();
      break;
    case kIdAllDays:
      SetAllDays(true);
      break;
    case kIdNoDays:
      SetAllDays(false);
      break;
    default:
      break;
  }
  return true;
}

std::vector<std::string> TariffEditor::Names() const {
  std::vector<std::string> names;
  if (!page_) return names;
  LRESULT n = SendMessageW(page_->list, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < n; ++i) names.push_back(ListBoxText(page_->list, i));
  return names;
}

TariffFields TariffEditor::Fields() const {
  TariffFields f;
  if (!page_) return f;
  f.name = GetTextUtf8(page_->name);
  f.start = GetTextUtf8(page_->start);
  f.end = GetTextUtf8(page_->end);
  f.freeIn = GetTextUtf8(page_->freeIn);
  f.freeOut = GetTextUtf8(page_->freeOut);
  f.priceIn = GetTextUtf8(page_->priceIn);
  f.priceOut = GetTextUtf8(page_->priceOut);
  f.priceHour = GetTextUtf8(page_->priceHour);
  for (int d = 0; d < 7; ++d) f.days[d] = Ticked(page_->days[d]);
  return f;
}

void TariffEditor::SetFields(const TariffFields& f) {
  if (!page_) return;
  SetTextUtf8(page_->name, f.name);
  SetTextUtf8(page_->start, f.start);
  SetTextUtf8(page_->end, f.end);
  SetTextUtf8(page_->freeIn, f.freeIn);
  SetTextUtf8(page_->freeOut, f.freeOut);
  SetTextUtf8(page_->priceIn, f.priceIn);
  SetTextUtf8(page_->priceOut, f.priceOut);
  SetTextUtf8(page_->priceHour, f.priceHour);
  for (int d = 0; d < 7; ++d) Tick(page_->days[d], f.days[d]);
}

void TariffEditor::ShowSelected() {
  if (!page_ || !file_) return;
  int sel = ListSelection(page_->list);
  if (sel < 0) return;
  Empty(true);
  std::string section = ListBoxText(page_->list, sel);
  const IniFile& file = *file_;
  SetFields(ShownTariffFields(section, [&](const std::string& key) { return file.Find(section, key); }));
}

void TariffEditor::Save() {
  if (!page_ || !file_) return;
  int sel = ListSelection(page_->list);
  if (sel < 0) return;
  std::vector<std::string> names = Names();
  TariffFields f = Fields();
  if (TariffRefusal r = CheckTariffSave(f, names, sel); r != TariffRefusal::None) {
    Warn(r);
    return;
  }
  std::string section = names[sel];
  if (f.name != section) {
    // The profile functions append the new section, so a renamed tariff
    // moves to the end of the priority order while keeping its list place.
    file_->DeleteSection(section);
    section = f.name;
    SendMessageW(page_->list, LB_DELETESTRING, sel, 0);
    SendMessageW(page_->list, LB_INSERTSTRING, sel, reinterpret_cast<LPARAM>(Utf8ToWide(section).c_str()));
    // Replacing the entry dropped the selection; the saved tariff stays the
    // one "Удалить" acts on.
    SendMessageW(page_->list, LB_SETCURSEL, sel, 0);
  }
  for (const auto& [key, value] : StoredTariffValues(f)) file_->WriteString(section, key, value);
  Empty(false);
}

void TariffEditor::Add() {
  if (!page_ || !file_) return;
  std::optional<std::string> name = NameForNewTariff(Names());
  if (!name) {
    Warn(TariffRefusal::TooMany);
    return;
  }
  SendMessageW(page_->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(*name).c_str()));
  file_->WriteString(*name, kTariffStartKey, "0");
}

void TariffEditor::Delete() {
  if (!page_ || !file_) return;
  int sel = ListSelection(page_->list);
  if (sel < 0) return;
  file_->DeleteSection(ListBoxText(page_->list, sel));
  SendMessageW(page_->list, LB_DELETESTRING, sel, 0);
  Empty(false);
}

void TariffEditor::SetAllDays(bool ticked) {
  if (!page_) return;
  for (HWND d : page_->days) Tick(d, ticked);
}

void TariffEditor::Warn(TariffRefusal r) {
  std::string text = RefusalText(r);
  if (warn) {
    warn(text);
    return;
  }
  MessageBoxUtf8(owner_, text, kSettingsTitle, MB_OK | MB_ICONWARNING);
}

}  // namespace vtc
