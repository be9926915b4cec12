// HTTP/1.1 messages as bytes: the GET request the client sends, and an
// incremental parser for the answer that is fed whatever the socket returned.
// Header text is kept byte for byte as Latin-1 code units, so a cookie value
// goes back exactly as it came.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/HttpUrl.h"

namespace qv {

inline constexpr char16_t kHttpAccept[] = u"text/html, */*";
inline constexpr char16_t kHttpUserAgent[] = u"Mozilla/3.0 (compatible; Indy Library)";

struct THttpHeader {
  String name;
  String value;
};
using THttpHeaders = std::vector<THttpHeader>;

// First value of the header, names compared without regard to letter case;
// the empty text when absent.
String HeaderValue(const THttpHeaders& headers, StringView name);

// "GET <target> HTTP/1.1" with Host, Accept, Accept-Encoding: identity,
// User-Agent, Referer (when not empty), Cookie (when not empty) and
// Connection: close. The referer is percent-encoded like a request target;
// line breaks and other control characters never reach the header block.
std::string BuildGetRequest(const THttpUrl& url, StringView referer, StringView cookies);

// Limits that keep a hostile or broken server from exhausting memory or
// holding a request (and the window waiting on it) for ever.
struct THttpLimits {
  size_t maxLine = 8 * 1024;           // status line, one header line, one chunk-size line
  size_t maxHeaderBytes = 64 * 1024;   // the whole header block and the trailers
  size_t maxHeaders = 200;
  size_t maxBody = 64 * 1024 * 1024;   // the body with its chunk-size lines
  // An answer that delivers fewer bytes than this in any such time ends as
  // a socket time-out.
  size_t lowSpeedBytes = 1024;
  std::chrono::milliseconds lowSpeedTime{30000};
  // A request (its redirects included) whose whole answer has not arrived
  // within this time ends as a socket time-out: a body that never ends can
  // still be fast enough for the rate rule. No real page takes this long.
  std::chrono::milliseconds wholeAnswerTime{120000};
};

class THttpResponseParser {
 public:
  THttpResponseParser() = default;
  explicit THttpResponseParser(const THttpLimits& limits) : limits_(limits) {}

  // Consumes received bytes; true once the whole response has been read.
  // Bytes after the end of the response are ignored. Throws EHttpProtocolError on a
  // malformed answer or one that breaks a limit, and again on every later call.
  bool Feed(const void* data, size_t size);
  // The peer closed the connection. Ends a body that runs to the close;
  // throws EHttpProtocolError when the response is incomplete (a cut-off body is
  // never passed off as a whole one).
  void FinishAtClose();

  bool Done() const { return state_ == State::kDone; }
  int StatusCode() const { return statusCode_; }
  // "HTTP/1.1 404 Not Found", without the line break.
  const String& StatusLine() const { return statusLine_; }
  const THttpHeaders& Headers() const { return headers_; }
  const std::string& Body() const { return body_; }
  std::string TakeBody() { return std::move(body_); }

 private:
  enum class State { kStatusLine, kHeaders, kBody, kBodyToClose, kChunkSize, kChunkData, kChunkEnd, kTrailers, kDone, kFailed };

  [[noreturn]] void Fail(StringView why);
  // Collects one line into line_; true when it is complete (CR LF or LF).
  bool TakeLine(const char*& p, const char* end);
  void OnStatusLine();
  void OnHeaderLine();
  void StartBody();
  void OnChunkSizeLine();
  void AppendBody(const char* p, size_t n);

  THttpLimits limits_;
  State state_ = State::kStatusLine;
  String failure_;
  std::string line_;
  size_t headerBytes_ = 0;
  size_t framingBytes_ = 0;  // chunk-size lines and the line ends after chunks
  bool received_ = false;
  int statusCode_ = 0;
  String statusLine_;
  THttpHeaders headers_;
  std::string body_;
  uint64_t remaining_ = 0;  // of a Content-Length body or of the current chunk
};

}  // namespace qv
