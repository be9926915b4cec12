#include "platform/core/HttpClient.h"

#include <chrono>

#include "platform/core/Format.h"
#include "platform/core/HttpCharset.h"
#include "platform/core/HttpErrors.h"

namespace qv {

namespace {

// What the transports say when a receive times out.
constexpr char16_t kTimedOutMessage[] = u"Socket Error # 10060\r\nConnection timed out.";

// The line a socket error of a request ends with.
String SocketAddressLine(StringView host, uint16_t port) {
  return u"Host " + String(host) + u", port " + IntToStr(port) + u".";
}

// A request's error message as the error box shows it, then the address as
// the caller asked for it (a user's home page, an article as its list page
// links it) and the redirect target that failed when it was not that one.
String WithAddressLine(const String& message, const THttpUrl& requested, StringView hop) {
  String text = WithFullStop(message) + u"\r\nAddress: " + requested.ToString();
  if (!hop.empty()) text += u", redirected to " + String(hop);
  return text + u".";
}

class TConnection {
 public:
  TConnection(THttpTransport& transport, const THttpUrl& url) : transport_(transport) {
    try {
      transport_.Connect(url.host, url.port);
    } catch (...) {
      transport_.Disconnect();  // a half-opened socket is closed too
      throw;
    }
  }
  ~TConnection() { transport_.Disconnect(); }
  TConnection(const TConnection&) = delete;
  TConnection& operator=(const TConnection&) = delete;

 private:
  THttpTransport& transport_;
};

}  // namespace

bool IsFollowedRedirect(int statusCode) {
  return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307;
}

String THttpResponse::Charset() const { return CharsetFromContentType(Header(u"Content-Type")); }

String THttpResponse::Text() const { return DecodeText(body, Charset()); }

THttpResponse THttpClient::Exchange(const THttpUrl& url, std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  const std::string request = BuildGetRequest(url, referer_, allowCookies_ ? cookies_.CookieHeader(url) : String());
  THttpResponseParser parser(limits_);
  try {
    TConnection connection(transport_, url);
    transport_.Send(request.data(), request.size());
    char buffer[16 * 1024];
    bool done = false;
    // A server that trickles its answer would keep the request (and the
    // window waiting on it) busy for ever: each period must bring enough.
    auto periodStart = steady_clock::now();
    size_t periodBytes = 0;
    while (!done) {
      const auto left = ceil<milliseconds>(deadline - steady_clock::now());
      if (left <= milliseconds::zero()) throw ESocketError(kTimedOutMessage);
      const size_t n = transport_.Receive(buffer, sizeof buffer, left);
      if (n == 0) {
        parser.FinishAtClose();
        break;
      }
      done = parser.Feed(buffer, n);
      periodBytes += n;
      const auto now = steady_clock::now();
      if (!done && now - periodStart >= limits_.lowSpeedTime) {
        if (periodBytes < limits_.lowSpeedBytes) throw ESocketError(kTimedOutMessage);
        periodStart = now;
        periodBytes = 0;
      }
    }
  } catch (const ESocketError& e) {
    // "Connection refused" alone does not say which server refused.
    throw ESocketError(e.Message() + u"\r\n" + SocketAddressLine(url.host, url.port));
  }
  THttpResponse response;
  response.url = url.ToString();
  response.statusCode = parser.StatusCode();
  response.statusLine = parser.StatusLine();
  response.headers = parser.Headers();
  response.body = parser.TakeBody();
  if (allowCookies_) cookies_.StoreFromResponse(url, response.headers);
  return response;
}

THttpResponse THttpClient::Get(StringView url) {
  const THttpUrl requested = ParseHttpUrl(url);  // its error names the address itself
  String hop;
  try {
    return Follow(requested, hop);
  } catch (const EHttpStatusError& e) {
    // "404 Not Found" alone does not say which page was missing.
    throw EHttpStatusError(e.StatusCode(), WithAddressLine(e.Message(), requested, hop));
  } catch (const EHttpProtocolError& e) {
    throw EHttpProtocolError(WithAddressLine(e.Message(), requested, hop));
  } catch (const ESocketError& e) {
    throw ESocketError(WithAddressLine(e.Message(), requested, hop));
  }
}

THttpResponse THttpClient::Follow(const THttpUrl& url, String& hop) {
  THttpUrl target = url;
  const auto deadline = std::chrono::steady_clock::now() + limits_.wholeAnswerTime;
  for (int redirects = 0;; ++redirects) {
    THttpResponse response = Exchange(target, deadline);
    const String location = response.Header(u"Location");
    if (handleRedirects_ && IsFollowedRedirect(response.statusCode) && !location.empty()) {
      if (redirects >= redirectMaximum_) {
        hop.clear();  // the loop as a whole failed, not its last step
        throw EHttpProtocolError(u"Too many redirects (more than " + IntToStr(redirectMaximum_) + u").");
      }
      target = ParseHttpUrl(ResolveReference(response.url, location));
      hop = target.ToString();
      continue;
    }
    if (response.statusCode < 200 || response.statusCode > 299) {
      throw EHttpStatusError(response.statusCode, response.statusLine);
    }
    const String coding = LowerCase(Trim(response.Header(u"Content-Encoding")));
    if (!coding.empty() && coding != u"identity") {
      throw EHttpProtocolError(u"The server sent the page in an unsupported content coding \"" + coding + u"\".");
    }
    return response;
  }
}

}  // namespace qv
