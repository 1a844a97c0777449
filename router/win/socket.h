// Owners for Winsock: its start-up, counted per caller, and a socket.
#pragma once
#include <winsock2.h>

namespace vtc {

// Winsock for the lifetime of the object; WSAStartup counts its callers, so
// each use holds its own.
class WinsockUser {
 public:
  WinsockUser();
  ~WinsockUser();
  WinsockUser(const WinsockUser&) = delete;
  WinsockUser& operator=(const WinsockUser&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

class ScopedSocket {
 public:
  ScopedSocket() = default;
  explicit ScopedSocket(SOCKET s) : s_(s) {}
  ScopedSocket(ScopedSocket&& o) noexcept;
  ScopedSocket& operator=(ScopedSocket&& o) noexcept;
  ScopedSocket(const ScopedSocket&) = delete;
  ScopedSocket& operator=(const ScopedSocket&) = delete;
  ~ScopedSocket();
  SOCKET get() const { return s_; }
  explicit operator bool() const { return s_ != INVALID_SOCKET; }

 private:
  SOCKET s_ = INVALID_SOCKET;
};

}  // namespace vtc
