#include "platform/win/Sockets.h"

#include <ws2tcpip.h>

#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"
#include "platform/win/WinString.h"

namespace qv {

namespace {

void EnsureWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) RaiseSocketError(WSASYSNOTREADY);
}

String SocketErrorText(int code) {
  switch (code) {
    case WSAECONNREFUSED: return u"Connection refused.";
    case WSAETIMEDOUT: return u"Connection timed out.";
    case WSAECONNRESET: return u"Connection reset by peer.";
    case WSAECONNABORTED: return u"Software caused connection abort.";
    case WSAENETUNREACH: return u"Network is unreachable.";
    case WSAEHOSTUNREACH: return u"No route to host.";
    case WSAHOST_NOT_FOUND: return u"Host not found.";
    case WSATRY_AGAIN: return u"Non-authoritative host not found.";
    case WSANO_DATA: return u"Valid name, no data record of requested type.";
    default: {
      String text = SysErrorMessage(static_cast<DWORD>(code));
      return text.empty() ? u"Unknown error." : text;
    }
  }
}

enum class TWaitFor { kRead, kWrite, kConnect };
// kFailed: the connect failed; kError: select itself did (its code is
// WSAGetLastError's).
enum class TWaitResult { kReady, kFailed, kTimedOut, kError };

// Waits in select until s can be read or written, or its connect has ended.
// Only a connect watches the exception set: on a connected socket it would
// report out-of-band data, and a peer could keep the wait from ever
// sleeping. timeoutMs < 0 waits without end.
TWaitResult WaitOnSocket(SOCKET s, TWaitFor what, int timeoutMs) {
  fd_set ready, failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const bool reading = what == TWaitFor::kRead, connecting = what == TWaitFor::kConnect;
  const int n = select(0, reading ? &ready : nullptr, reading ? nullptr : &ready, connecting ? &failed : nullptr,
                       timeoutMs < 0 ? nullptr : &tv);
  if (n == SOCKET_ERROR) return TWaitResult::kError;
  if (n == 0) return TWaitResult::kTimedOut;
  return connecting && FD_ISSET(s, &failed) ? TWaitResult::kFailed : TWaitResult::kReady;
}

}  // namespace

String SocketErrorMessage(int code) { return Format(u"Socket Error # %d\r\n%s", {code, SocketErrorText(code)}); }

void RaiseSocketError(int code) { throw ESocketError(SocketErrorMessage(code)); }

void TTcpClient::Connect(const std::string& host, uint16_t port, int timeoutMs) {
  EnsureWinsock();
  Close();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found) RaiseSocketError(WSAHOST_NOT_FOUND);
  int error = WSAETIMEDOUT;
  for (addrinfo* ai = found; ai; ai = ai->ai_next) {
    SOCKET s = socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
    if (s == INVALID_SOCKET) {
      error = WSAGetLastError();
      continue;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, ai->ai_addr, static_cast<int>(ai->ai_addrlen)) == SOCKET_ERROR &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
      error = WSAGetLastError();
      closesocket(s);
      continue;
    }
    const TWaitResult result = WaitOnSocket(s, TWaitFor::kConnect, timeoutMs);
    if (result == TWaitResult::kReady) {
      socket_ = s;
      freeaddrinfo(found);
      return;
    }
    error = WSAETIMEDOUT;
    if (result == TWaitResult::kError) error = WSAGetLastError();
    if (result == TWaitResult::kFailed) {
      int soError = 0, len = sizeof soError;
      getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &len);
      error = soError ? soError : WSAECONNREFUSED;
    }
    closesocket(s);
  }
  freeaddrinfo(found);
  RaiseSocketError(error);
}

void TTcpClient::SendAll(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n != SOCKET_ERROR) {
      sent += static_cast<size_t>(n);
      continue;
    }
    const int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
    // The send buffer is full: wait until it takes more, as a blocking send would.
    if (WaitOnSocket(socket_, TWaitFor::kWrite, -1) == TWaitResult::kError) RaiseSocketError(WSAGetLastError());
  }
}

size_t TTcpClient::Receive(char* buffer, size_t size, int timeoutMs) {
  for (;;) {
    const TWaitResult ready = WaitOnSocket(socket_, TWaitFor::kRead, timeoutMs);
    if (ready == TWaitResult::kTimedOut) RaiseSocketError(WSAETIMEDOUT);
    if (ready == TWaitResult::kError) RaiseSocketError(WSAGetLastError());
    const int n = recv(socket_, buffer, static_cast<int>(size), 0);
    if (n != SOCKET_ERROR) return static_cast<size_t>(n);
    // Readable yet nothing to take (the system may say so): wait again.
    if (WSAGetLastError() != WSAEWOULDBLOCK) RaiseSocketError(WSAGetLastError());
  }
}

void TTcpClient::Close() {
  if (socket_ != INVALID_SOCKET) {
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
}

}  // namespace qv
