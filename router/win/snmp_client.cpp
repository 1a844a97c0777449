#include "router/win/snmp_client.h"

#include <ws2tcpip.h>

#include <chrono>
#include <utility>

namespace vtc {

SnmpClient::SnmpClient(SnmpAgent agent) : agent_(std::move(agent)) {
  // Ids that differ from one run to the next, so that a late answer to a
  // previous run's request is not taken for this one's.
  nextId_ = static_cast<int32_t>((GetTickCount() ^ (GetCurrentProcessId() << 16)) & 0x3FFFFFFF) + 1;
  if (!winsock_.ok()) return;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(agent_.port);
  if (inet_pton(AF_INET, agent_.address.c_str(), &to.sin_addr) != 1) return;
  ScopedSocket s(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  // Connected, so that the system drops datagrams from anyone but the agent.
  if (!s || connect(s.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) return;
  socket_ = std::move(s);
}

std::optional<snmp::Message> SnmpClient::Ask(snmp::Version version, snmp::PduType type,
                                             const std::vector<snmp::Oid>& names) {
  // With the time spent, a quick answer would only be luck.
  if (!socket_ || Clock::now() >= deadline_) return std::nullopt;
  int32_t id = nextId_;
  nextId_ = nextId_ == 0x7FFFFFFF ? 1 : nextId_ + 1;
  snmp::Message request = snmp::MakeRequest(type, version, agent_.community, id, names);
  std::vector<uint8_t> bytes = snmp::Encode(request);
  if (bytes.empty()) return std::nullopt;
  if (send(socket_.get(), reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0) !=
      static_cast<int>(bytes.size())) {
    return std::nullopt;
  }
  std::vector<uint8_t> buf(snmp::kMaxMessageSize + 1);
  while (true) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline_ - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_.get(), &readable);
    timeval tv{static_cast<long>(left / 1000000), static_cast<long>(left % 1000000)};
    int ready = select(0, &readable, nullptr, nullptr, &tv);
    if (ready <= 0) return std::nullopt;
    int n = recv(socket_.get(), reinterpret_cast<char*>(buf.data()), static_cast<int>(buf.size()), 0);
    if (n < 0) {
      // A port that says "unreachable" comes back as a reset or a message
      // too large: neither is an answer, and the time left still runs.
      int err = WSAGetLastError();
      if (err == WSAECONNRESET || err == WSAECONNREFUSED || err == WSAEMSGSIZE) continue;
      return std::nullopt;
    }
    auto answer = snmp::Decode(buf.data(), static_cast<size_t>(n));
    if (answer && snmp::IsAnswerTo(request, *answer)) return answer;
  }
}

}  // namespace vtc
