// The HTTP client without its socket: it builds each GET, feeds the answer to
// the parser, keeps cookies, follows redirects and turns a failed status into
// an error. The platform supplies only a blocking transport (Winsock on
// Windows), so a whole exchange is: connect, send, receive until done.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "platform/core/HttpCookies.h"
#include "platform/core/HttpMessage.h"

namespace qv {

class THttpTransport {
 public:
  virtual ~THttpTransport() = default;
  // Opens a connection to host:port; throws ESocketError.
  virtual void Connect(const String& host, uint16_t port) = 0;
  // Sends every byte or throws ESocketError.
  virtual void Send(const void* data, size_t size) = 0;
  // Waits for bytes, at most maxWait (and no longer than the transport's own
  // read time-out); 0 when the peer has closed the connection. Throws
  // ESocketError on a reset, another failure or when nothing came in time.
  virtual size_t Receive(void* buffer, size_t size, std::chrono::milliseconds maxWait) = 0;
  virtual void Disconnect() noexcept = 0;
};

struct THttpResponse {
  String url;  // the address that answered, after any redirects
  int statusCode = 0;
  String statusLine;
  THttpHeaders headers;
  std::string body;

  String Header(StringView name) const { return HeaderValue(headers, name); }
  // Charset of the Content-Type, lower-case; empty when none is declared.
  String Charset() const;
  // The body decoded by that charset (UTF-8 when none or unknown).
  String Text() const;
};

// What the page readers need of a client: one GET.
class THttpGetter {
 public:
  virtual ~THttpGetter() = default;
  virtual THttpResponse Get(StringView url) = 0;
};

// Redirects at most that many times per request; one more is an error.
inline constexpr int kDefaultRedirectMaximum = 15;

class THttpClient : public THttpGetter {
 public:
  explicit THttpClient(THttpTransport& transport) : transport_(transport) {}

  // 301, 302, 303 and 307 are followed only when this is on (off by default,
  // as for a client nobody configured); otherwise they fail like any status
  // outside 2xx.
  bool HandleRedirects() const { return handleRedirects_; }
  void SetHandleRedirects(bool on) { handleRedirects_ = on; }
  int RedirectMaximum() const { return redirectMaximum_; }
  void SetRedirectMaximum(int n) { redirectMaximum_ = n; }
  bool AllowCookies() const { return allowCookies_; }
  void SetAllowCookies(bool on) { allowCookies_ = on; }
  const String& Referer() const { return referer_; }
  void SetReferer(StringView referer) { referer_ = String(referer); }
  void SetLimits(const THttpLimits& limits) { limits_ = limits; }
  THttpCookieJar& Cookies() { return cookies_; }

  // GET url. Throws EHttpProtocolError for an address that is not http:// (also as
  // a redirect target), a malformed or cut-off answer, too many redirects or
  // a content coding other than identity; EHttpStatusError (message: the
  // status line first) for a status outside 2xx; ESocketError from the
  // transport or for an answer too slow for the limits, with a line that
  // names the host and port. Every message but that of a url that is no
  // http:// address (which quotes it) ends in a line naming the address, as
  // "Address: http://h/a, redirected to http://h/b.".
  THttpResponse Get(StringView url) override;
  std::string GetBytes(StringView url) { return Get(url).body; }
  String GetText(StringView url) { return Get(url).Text(); }

 private:
  // url and the redirects it leads to; hop names the redirect target being
  // requested, empty while it is url itself.
  THttpResponse Follow(const THttpUrl& url, String& hop);
  THttpResponse Exchange(const THttpUrl& url, std::chrono::steady_clock::time_point deadline);

  THttpTransport& transport_;
  bool handleRedirects_ = false;
  int redirectMaximum_ = kDefaultRedirectMaximum;
  bool allowCookies_ = true;
  String referer_;
  THttpLimits limits_;
  THttpCookieJar cookies_;
};

bool IsFollowedRedirect(int statusCode);

}  // namespace qv
