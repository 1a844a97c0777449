// The router's answers: any bytes either decode to a message or to nothing,
// never past the buffer. A decoded message re-encodes in the canonical form,
// which decodes to the same message and is its own re-encoding; an answer
// without an error answers a Get of its own names.
#include <cstdint>
#include <cstdlib>

#include "router/snmp.h"

namespace {

bool Same(const vtc::snmp::Message& a, const vtc::snmp::Message& b) {
  return a.version == b.version && a.community == b.community && a.type == b.type && a.requestId == b.requestId &&
         a.errorStatus == b.errorStatus && a.errorIndex == b.errorIndex && a.varbinds == b.varbinds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vtc::snmp;
  auto m = Decode(data, size);
  if (!m) return 0;
  std::vector<uint8_t> bytes = Encode(*m);
  // Canonical form is never longer than what was read, but for the zero
  // byte a counter past 2^31 gains: one per value at most.
  if (bytes.empty()) {
    if (size + 5 * m->varbinds.size() < kMaxMessageSize) std::abort();
    return 0;
  }
  auto again = Decode(bytes);
  if (!again || !Same(*m, *again) || Encode(*again) != bytes) std::abort();

  if (m->type == PduType::kGetResponse && m->errorStatus == 0) {
    std::vector<Oid> names;
    for (const VarBind& vb : m->varbinds) names.push_back(vb.name);
    if (!IsAnswerTo(MakeRequest(PduType::kGetRequest, m->version, m->community, m->requestId, names), *m)) {
      std::abort();
    }
  }
  for (const VarBind& vb : m->varbinds) {
    if (vb.name.size() < 2 || vb.name.size() > kMaxOidLength) std::abort();
    auto text = ParseOid(OidText(vb.name));
    if (!text || *text != vb.name) std::abort();
  }
  return 0;
}
