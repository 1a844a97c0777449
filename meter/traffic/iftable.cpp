#include "meter/traffic/iftable.h"

#include <windows.h>
#include <iphlpapi.h>

#include <cstring>
#include <memory>

namespace vtc {

namespace {

IfRow FromMib(const MIB_IFROW& r) {
  IfRow row;
  size_t n = r.dwDescrLen < sizeof r.bDescr ? r.dwDescrLen : sizeof r.bDescr;
  const char* d = reinterpret_cast<const char*>(r.bDescr);
  const void* nul = memchr(d, 0, n);
  if (nul) n = static_cast<size_t>(static_cast<const char*>(nul) - d);
  row.description.assign(d, n);
  row.type = r.dwType;
  row.mtu = r.dwMtu;
  row.speed = r.dwSpeed;
  row.inOctets = r.dwInOctets;
  row.outOctets = r.dwOutOctets;
  return row;
}

}  // namespace

int SystemInterfaceTable::FindInterface(std::vector<IfRow>& copy, const std::string& name, std::string& errorText,
                                        int type) {
  ULONG size = 0;
  if (GetIfTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) {
    errorText += kErrIfTableSize;
    return -1;
  }
  // An interface that appears between the two calls makes the table larger
  // than the size just given; a few more tries ride that out instead of
  // turning a busy moment into an offline tick.
  std::unique_ptr<unsigned char[]> buf;
  DWORD rc = ERROR_INSUFFICIENT_BUFFER;
  for (int attempt = 0; attempt < 3 && rc == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    buf.reset(new unsigned char[size]);
    rc = GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buf.get()), &size, FALSE);
  }
  if (rc != NO_ERROR) {
    errorText += kErrIfTableRead;
    return -1;
  }
  const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buf.get());
  if (table->dwNumEntries == 0) {
    errorText += kErrIfTableEmpty;
    return -1;
  }
  copy.assign(table->dwNumEntries, IfRow{});
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    copy[i] = FromMib(table->table[i]);
    if (RowMatches(copy[i], name, type)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vtc
