#include "settings/pages/interface_chooser.h"

#include "common/conntypes.h"
#include "common/encoding.h"
#include "common/win/iftable.h"
#include "common/win/ui.h"
#include "settings/control_ids.h"
#include "settings/pages/page_traffic.h"

namespace vtc {
std::optional<std::vector<InterfaceRow>> ReadInterfaceRows() {
  SystemInterfaceTable table;
  std::vector<IfRow> rows;
  if (table.Read(rows) != IfTableRead::kOk) return std::nullopt;
  std::vector<InterfaceRow> out;
  out.reserve(rows.size());
  for (const IfRow& r : rows) out.push_back({r.type, Cp1251ToUtf8(r.description)});
  return out;
}

void InterfaceChooser::Attach(HWND owner, TrafficPage& page) {
  owner_ = owner;
  page_ = &page;
}

bool InterfaceChooser::OnCommand(int id, int code) {
  if (!page_ || !OnPage(id, kIdTrafficPage)) return false;
  // The lists and fields have no behaviour of their own.
  if (code != BN_CLICKED) return true;
  switch (id) {
    case kIdFind:
      Find();
      break;
    case kIdMakePrimary:
      MakePrimary();
      break;
    case kIdMakeSecondary:
      MakeSecondary();
      break;
    default:
      break;
  }
  return true;
}

void InterfaceChooser::Find() {
  if (!page_) return;
  SendMessageW(page_->found, LB_RESETCONTENT, 0, 0);
  LRESULT index = SendMessageW(page_->typeList, CB_GETCURSEL, 0, 0);
  int type = ConnectionTypeAt(index == CB_ERR ? 0 : static_cast<int>(index)).type;
  // A failed call or a type with no interface simply leaves the list empty.
  std::optional<std::vector<InterfaceRow>> rows = ReadInterfaceRows();
  if (!rows) return;
  for (const auto& d : InterfacesOfType(*rows, type))
    SendMessageW(page_->found, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(d).c_str()));
}

void InterfaceChooser::MakePrimary() { CopyFound(page_ ? page_->primary : nullptr); }
void InterfaceChooser::MakeSecondary() { CopyFound(page_ ? page_->secondary : nullptr); }

void InterfaceChooser::CopyFound(HWND field) {
  if (!page_ || !field) return;
  LRESULT sel = SendMessageW(page_->found, LB_GETCURSEL, 0, 0);
  if (sel == LB_ERR) return;  // nothing picked: the field keeps what it has
  SetTextUtf8(field, ListBoxText(page_->found, static_cast<int>(sel)));
}

}  // namespace vtc
