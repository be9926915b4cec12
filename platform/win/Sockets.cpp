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
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &tv);
    if (ready == 1 && FD_ISSET(s, &writable)) {
      socket_ = s;
      freeaddrinfo(found);
      return;
    }
    error = WSAETIMEDOUT;
    if (ready == 1) {
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
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket_, &writable);
    if (select(0, nullptr, &writable, nullptr, nullptr) == SOCKET_ERROR) RaiseSocketError(WSAGetLastError());
  }
}

size_t TTcpClient::Receive(char* buffer, size_t size, int timeoutMs) {
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, &tv);
    if (ready == 0) RaiseSocketError(WSAETIMEDOUT);
    if (ready == SOCKET_ERROR) RaiseSocketError(WSAGetLastError());
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
