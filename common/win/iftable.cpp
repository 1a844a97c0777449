#include "common/win/iftable.h"

#include <windows.h>
#include <iphlpapi.h>

namespace vtc {

namespace {

// Room for a few more rows than asked for: an interface that comes up then
// costs no second round of growing.
constexpr size_t kSpareRows = 4;

bool SizeQueryAnswers(ULONG& size) {
  size = 0;
  return GetIfTable(nullptr, &size, FALSE) == ERROR_INSUFFICIENT_BUFFER;
}

void CopyRow(const MIB_IFROW& r, IfRow& row) {
  row.description.assign(reinterpret_cast<const char*>(r.bDescr),
                         RowDescriptionLength(r.bDescr, sizeof r.bDescr, r.dwDescrLen));
  row.index = r.dwIndex;
  row.type = r.dwType;
  row.mtu = r.dwMtu;
  row.speed = r.dwSpeed;
  row.inOctets = r.dwInOctets;
  row.outOctets = r.dwOutOctets;
  row.up = r.dwOperStatus == MIB_IF_OPER_STATUS_CONNECTED || r.dwOperStatus == MIB_IF_OPER_STATUS_OPERATIONAL;
}

}  // namespace

IfTableRead SystemInterfaceTable::Read(std::vector<IfRow>& rows) {
  const bool kept = !buf_.empty();
  ULONG size = 0;
  if (!kept) {
    if (!SizeQueryAnswers(size)) {
      rows.clear();
      return IfTableRead::kSizeQueryFailed;
    }
    buf_.resize(size);
  }
  // An interface that appears between the size and the read makes the table
  // larger than the buffer; a few more tries ride that out instead of
  // turning a busy moment into an offline tick.
  DWORD rc = ERROR_INSUFFICIENT_BUFFER;
  for (int attempt = 0; attempt < 3 && rc == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    size = static_cast<ULONG>(buf_.size());
    rc = GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buf_.data()), &size, FALSE);
    if (rc == ERROR_INSUFFICIENT_BUFFER) buf_.resize(size + kSpareRows * sizeof(MIB_IFROW));
  }
  if (rc != NO_ERROR) {
    rows.clear();
    // With a kept buffer the size query was skipped: ask it now, so that a
    // table that cannot even be sized is still told apart from a failed read.
    ULONG ignored = 0;
    if (kept && !SizeQueryAnswers(ignored)) return IfTableRead::kSizeQueryFailed;
    return IfTableRead::kReadFailed;
  }
  const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buf_.data());
  rows.resize(table->dwNumEntries);
  for (DWORD i = 0; i < table->dwNumEntries; ++i) CopyRow(table->table[i], rows[i]);
  return IfTableRead::kOk;
}

}  // namespace vtc
