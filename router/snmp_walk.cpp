#include "router/snmp_walk.h"

namespace vtc::snmp {

namespace {

// Status and counters of one row; false when the agent's answer is not one
// the meter can count from.
std::optional<bool> ReadCells(Session& s, InterfaceRow& row, bool wide) {
  const Oid& inCol = wide ? mib::kIfHCInOctets : mib::kIfInOctets;
  const Oid& outCol = wide ? mib::kIfHCOutOctets : mib::kIfOutOctets;
  auto a = s.Ask(PduType::kGetRequest, {mib::Cell(mib::kIfOperStatus, row.index), mib::Cell(inCol, row.index),
                                        mib::Cell(outCol, row.index)});
  if (!a) return std::nullopt;
  if (a->errorStatus != 0) return false;
  const ValueType counter = wide ? ValueType::kCounter64 : ValueType::kCounter32;
  const Value& status = a->varbinds[0].value;
  if (status.type != ValueType::kInteger || a->varbinds[1].value.type != counter ||
      a->varbinds[2].value.type != counter) {
    return false;
  }
  row.operUp = status.integer == mib::kOperStatusUp;
  row.in = a->varbinds[1].value.number;
  row.out = a->varbinds[2].value.number;
  row.is64bit = wide;
  return true;
}

}  // namespace

std::optional<std::vector<InterfaceRow>> WalkInterfaces(Session& session) {
  std::vector<InterfaceRow> rows;
  Oid at = mib::kIfDescr;
  for (size_t step = 0; step < kMaxInterfaceRows; ++step) {
    auto a = session.Ask(PduType::kGetNextRequest, {at});
    if (!a) return std::nullopt;
    // v1 says noSuchName past the last name; either way the column ended.
    if (a->errorStatus != 0) break;
    const VarBind& vb = a->varbinds[0];
    auto index = mib::RowOf(mib::kIfDescr, vb.name);
    if (!index || vb.value.type == ValueType::kEndOfMibView) break;
    at = vb.name;
    if (vb.value.type != ValueType::kOctetString) continue;
    InterfaceRow row;
    row.index = *index;
    row.description = vb.value.bytes;
    // v1 cannot carry Counter64 at all, so it is not asked for.
    std::optional<bool> ok = false;
    if (session.version() == Version::kV2c) ok = ReadCells(session, row, true);
    if (ok && !*ok) ok = ReadCells(session, row, false);
    if (!ok) return std::nullopt;
    if (*ok) rows.push_back(std::move(row));
  }
  return rows;
}

const InterfaceRow* WanRow(const std::vector<InterfaceRow>& rows,
                           const std::function<bool(const InterfaceRow&)>& isWan) {
  const InterfaceRow* first = nullptr;
  for (const InterfaceRow& row : rows) {
    if (!isWan(row)) continue;
    if (row.operUp) return &row;
    if (!first) first = &row;
  }
  return first;
}

}  // namespace vtc::snmp
