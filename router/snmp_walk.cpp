#include "router/snmp_walk.h"

#include <algorithm>

#include "common/encoding.h"
#include "common/text.h"

namespace vtc::snmp {

namespace {

// Status and counters of one row; false when the agent's answer is not one
// the meter can count from, nothing when it did not answer.
std::optional<bool> ReadCells(Session& s, Version version, InterfaceRow& row, bool wide) {
  const Oid& inCol = wide ? mib::kIfHCInOctets : mib::kIfInOctets;
  const Oid& outCol = wide ? mib::kIfHCOutOctets : mib::kIfOutOctets;
  auto a = s.Ask(version, PduType::kGetRequest,
                 {mib::Cell(mib::kIfOperStatus, row.index), mib::Cell(inCol, row.index), mib::Cell(outCol, row.index)});
  if (!a) return std::nullopt;
  if (a->errorStatus == kNoSuchName) return false;
  if (a->errorStatus != 0) return std::nullopt;
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

bool Missing(const Value& v) { return v.type == ValueType::kNoSuchObject || v.type == ValueType::kNoSuchInstance; }

// Whether a GetNext answer ends the walk of `column`: v1 says noSuchName past
// the end of its names, v2c endOfMibView; either may go on to the next column.
bool WalkEnds(const Message& a, const Oid& column) {
  return a.errorStatus == kNoSuchName || a.varbinds[0].value.type == ValueType::kEndOfMibView ||
         !mib::RowOf(column, a.varbinds[0].name);
}

}  // namespace

std::optional<std::vector<InterfaceRow>> WalkInterfaces(Session& session, Version version) {
  std::vector<InterfaceRow> rows;
  Oid at = mib::kIfDescr;
  for (size_t step = 0; step < kMaxInterfaceRows; ++step) {
    auto a = session.Ask(version, PduType::kGetNextRequest, {at});
    if (!a) return std::nullopt;
    if (a->errorStatus != 0 && a->errorStatus != kNoSuchName) return std::nullopt;
    if (WalkEnds(*a, mib::kIfDescr)) break;
    const VarBind& vb = a->varbinds[0];
    at = vb.name;
    if (vb.value.type != ValueType::kOctetString) continue;
    InterfaceRow row;
    row.index = at.back();
    row.description = vb.value.bytes;
    // v1 cannot carry Counter64 at all, so it is not asked for.
    std::optional<bool> ok = false;
    if (version == Version::kV2c) ok = ReadCells(session, version, row, true);
    if (ok && !*ok) ok = ReadCells(session, version, row, false);
    if (!ok) return std::nullopt;
    if (*ok) rows.push_back(std::move(row));
  }
  return rows;
}

std::string RowName(const std::string& description) {
  return std::string(TrimControls(DeviceTextToUtf8(description)));
}

WanReader::WanReader(const std::string& wan) : wan_(TrimControls(wan)) {}

std::optional<RouterReading> WanReader::Read(Session& session) {
  // A row that left, or lost its 64-bit counters, is found again at once
  // when the agent answers in time.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!row_ || lookAgain_) {
      Found f = Walk(session);
      if (f == Found::kNoAnswer) return Unanswered();
      if (f == Found::kNoRow) {
        RouterReading missing;
        missing.id.protocol = version_ == Version::kV1 ? RouterProtocol::kSnmpV1 : RouterProtocol::kSnmpV2c;
        missing.present = false;
        missing.wan = wan_;
        return missing;
      }
    }
    RouterReading r;
    switch (Ask(session, r)) {
      case Cells::kNoAnswer:
        return Unanswered();
      case Cells::kOk:
        lookAgain_ = !r.up;
        return r;
      case Cells::kRowGone:
        row_.reset();
        break;
      case Cells::kNarrow:
        narrow_ = true;
        break;
    }
  }
  return std::nullopt;
}

std::optional<RouterReading> WanReader::Unanswered() {
  // An agent that speaks only v1 is silent to v2c, and the reverse.
  if (!v2cAnswered_) {
    version_ = version_ == Version::kV2c ? Version::kV1 : Version::kV2c;
    walking_ = false;
  }
  return std::nullopt;
}

WanReader::Found WanReader::Walk(Session& session) {
  if (!walking_) {
    walking_ = true;
    walkIndex_.reset();
    walkSteps_ = 0;
    walkFound_.clear();
  }
  for (; walkSteps_ < kMaxInterfaceRows; ++walkSteps_) {
    const std::vector<Oid> names = walkIndex_ ? std::vector<Oid>{mib::Cell(mib::kIfDescr, *walkIndex_),
                                                                 mib::Cell(mib::kIfOperStatus, *walkIndex_)}
                                              : std::vector<Oid>{mib::kIfDescr, mib::kIfOperStatus};
    auto a = session.Ask(version_, PduType::kGetNextRequest, names);
    if (!a) return Found::kNoAnswer;  // goes on from here next time
    if (version_ == Version::kV2c) v2cAnswered_ = true;
    if (a->errorStatus != 0 && a->errorStatus != kNoSuchName) {
      // Cut short: what was read is no table.
      walking_ = false;
      return Found::kNoAnswer;
    }
    if (WalkEnds(*a, mib::kIfDescr)) break;
    const VarBind& descr = a->varbinds[0];
    const VarBind& status = a->varbinds[1];
    walkIndex_ = descr.name.back();
    if (descr.value.type != ValueType::kOctetString || RowName(descr.value.bytes) != wan_) continue;
    const bool up = status.value.type == ValueType::kInteger && status.value.integer == mib::kOperStatusUp &&
                    mib::RowOf(mib::kIfOperStatus, status.name) == walkIndex_;
    walkFound_.emplace_back(*walkIndex_, up);
  }
  walking_ = false;
  lookAgain_ = false;
  if (walkFound_.empty()) {
    row_.reset();
    return Found::kNoRow;
  }
  // An agent keeps the row of a link made anew beside the new one, under the
  // same name: the first that is up counts. While none is, the row counted
  // so far stays, so that its counters go on when it comes back.
  const auto live = std::find_if(walkFound_.begin(), walkFound_.end(), [](const auto& f) { return f.second; });
  const bool stays = row_ && std::any_of(walkFound_.begin(), walkFound_.end(),
                                         [this](const auto& f) { return f.first == *row_; });
  const uint32_t pick = live != walkFound_.end() ? live->first : stays ? *row_ : walkFound_.front().first;
  if (row_ != pick) narrow_ = false;
  row_ = pick;
  return Found::kRow;
}

WanReader::Cells WanReader::Ask(Session& session, RouterReading& r) {
  const uint32_t i = *row_;
  const bool wide = version_ == Version::kV2c && !narrow_;
  auto a = session.Ask(version_, PduType::kGetRequest,
                       {mib::Cell(mib::kIfDescr, i), mib::Cell(mib::kIfOperStatus, i), mib::Cell(mib::kIfLastChange, i),
                        mib::Cell(wide ? mib::kIfHCInOctets : mib::kIfInOctets, i),
                        mib::Cell(wide ? mib::kIfHCOutOctets : mib::kIfOutOctets, i), mib::kSysUpTime});
  if (!a) return Cells::kNoAnswer;
  if (version_ == Version::kV2c) v2cAnswered_ = true;
  if (a->errorStatus == kNoSuchName) return Cells::kRowGone;
  if (a->errorStatus != 0) return Cells::kNoAnswer;
  const std::vector<VarBind>& v = a->varbinds;
  if (v[0].value.type != ValueType::kOctetString || RowName(v[0].value.bytes) != wan_) return Cells::kRowGone;
  if (wide && (Missing(v[3].value) || Missing(v[4].value))) return Cells::kNarrow;
  const ValueType counter = wide ? ValueType::kCounter64 : ValueType::kCounter32;
  if (v[1].value.type != ValueType::kInteger || v[2].value.type != ValueType::kTimeTicks ||
      v[3].value.type != counter || v[4].value.type != counter || v[5].value.type != ValueType::kTimeTicks) {
    // Not an answer anything can be counted from, whatever it says.
    return Cells::kNoAnswer;
  }
  r.id.row = i;
  r.id.protocol = version_ == Version::kV1 ? RouterProtocol::kSnmpV1 : RouterProtocol::kSnmpV2c;
  r.id.wide = wide;
  r.present = true;
  r.up = v[1].value.integer == mib::kOperStatusUp;
  r.in = v[3].value.number;
  r.out = v[4].value.number;
  const uint64_t now = v[5].value.number, changed = v[2].value.number;
  r.uptime = static_cast<double>(now) / 100;
  r.linkUp = r.up && changed <= now ? static_cast<double>(now - changed) / 100 : 0;
  r.wan = wan_;
  return Cells::kOk;
}

}  // namespace vtc::snmp
