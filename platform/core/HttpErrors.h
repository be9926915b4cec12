// Errors of the HTTP client. EHttpProtocolError (Exceptions.h) covers an
// address that cannot be requested, a malformed or cut-off answer and a
// redirect loop; a status outside 2xx is its descendant EHttpStatusError,
// whose message starts with the status line ("HTTP/1.1 404 Not Found"). The
// transport raises ESocketError ("Socket Error # %d\r\n%s"). The client adds
// the address that failed to each (THttpClient::Get).
#pragma once
#include "platform/core/Exceptions.h"

namespace qv {

class EHttpStatusError : public EHttpProtocolError {
 public:
  EHttpStatusError(int statusCode, String statusLine)
      : EHttpProtocolError(std::move(statusLine)), statusCode_(statusCode) {}
  int StatusCode() const { return statusCode_; }

 private:
  int statusCode_;
};

}  // namespace qv
