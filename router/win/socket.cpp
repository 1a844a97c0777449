#include "router/win/socket.h"

#include <utility>

namespace vtc {

WinsockUser::WinsockUser() {
  WSADATA data;
  ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockUser::~WinsockUser() {
  if (ok_) WSACleanup();
}

ScopedSocket::ScopedSocket(ScopedSocket&& o) noexcept : s_(std::exchange(o.s_, INVALID_SOCKET)) {}

ScopedSocket& ScopedSocket::operator=(ScopedSocket&& o) noexcept {
  if (this != &o) {
    if (s_ != INVALID_SOCKET) closesocket(s_);
    s_ = std::exchange(o.s_, INVALID_SOCKET);
  }
  return *this;
}

ScopedSocket::~ScopedSocket() {
  if (s_ != INVALID_SOCKET) closesocket(s_);
}

}  // namespace vtc
