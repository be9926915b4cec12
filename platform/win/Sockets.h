// A TCP client over Windows Sockets 2 with connect and receive time-outs, so
// that a peer that never answers cannot hold the caller forever. Its calls
// block; the socket itself stays non-blocking from the connect on (switching
// it back cost as much as a whole send under Wine), so sends and receives
// wait in select.
#pragma once
#include <winsock2.h>

#include <cstdint>
#include <string>

#include "platform/core/UString.h"

namespace qv {

// "Socket Error # <code>\r\n<text>"
String SocketErrorMessage(int code);
[[noreturn]] void RaiseSocketError(int code);

class TTcpClient {
 public:
  TTcpClient() = default;
  ~TTcpClient() { Close(); }
  TTcpClient(const TTcpClient&) = delete;
  TTcpClient& operator=(const TTcpClient&) = delete;

  // Resolves host (a name or an address) and connects; throws ESocketError.
  void Connect(const std::string& host, uint16_t port, int timeoutMs);
  void SendAll(const std::string& bytes);
  // Up to size bytes; 0 when the peer has closed. Throws ESocketError on a
  // failure or when nothing arrives within the time-out.
  size_t Receive(char* buffer, size_t size, int timeoutMs);
  void Close();
  bool Connected() const { return socket_ != INVALID_SOCKET; }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace qv
