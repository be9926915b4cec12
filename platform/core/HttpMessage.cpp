#include "platform/core/HttpMessage.h"

#include <algorithm>
#include <cctype>

#include "platform/core/HttpErrors.h"

namespace qv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Header text of the request: one byte per code unit; controls are dropped
// so that no value can end the header line early.
std::string HeaderBytes(StringView s) {
  std::string out;
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c < u' ' || c == 0x7F) continue;
    out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

String HeaderValue(const THttpHeaders& headers, StringView name) {
  for (const auto& h : headers) {
    if (SameText(h.name, name)) return h.value;
  }
  return String();
}

std::string BuildGetRequest(const THttpUrl& url, StringView referer, StringView cookies) {
  std::string r = "GET " + EncodeRequestTarget(url.path) + " HTTP/1.1\r\n";
  r += "Host: " + HeaderBytes(url.Authority()) + "\r\n";
  r += "Accept: " + HeaderBytes(kHttpAccept) + "\r\n";
  // Without it a server may pick any content coding; we read none but identity.
  r += "Accept-Encoding: identity\r\n";
  r += "User-Agent: " + HeaderBytes(kHttpUserAgent) + "\r\n";
  if (!referer.empty()) r += "Referer: " + EncodeRequestTarget(referer) + "\r\n";
  const std::string cookieBytes = HeaderBytes(cookies);
  if (!cookieBytes.empty()) r += "Cookie: " + cookieBytes + "\r\n";
  // One request per connection: the client's loop ends when the answer does.
  r += "Connection: close\r\n\r\n";
  return r;
}

void THttpResponseParser::Fail(StringView why) {
  state_ = State::kFailed;
  failure_ = String(why);
  throw EHttpProtocolError(failure_);
}

bool THttpResponseParser::TakeLine(const char*& p, const char* end) {
  const char* nl = std::find(p, end, '\n');
  const size_t n = static_cast<size_t>(nl - p);
  if (line_.size() + n > limits_.maxLine) Fail(u"Invalid HTTP response: a line is too long.");
  const size_t taken = n + (nl != end ? 1 : 0);
  if (state_ == State::kChunkEnd || state_ == State::kChunkSize) {
    // Chunk-size lines may carry extensions of any length: they count as
    // body, so a server cannot send them without end.
    framingBytes_ += taken;
    if (body_.size() + framingBytes_ > limits_.maxBody) Fail(u"Invalid HTTP response: the body is too large.");
  } else {
    headerBytes_ += taken;
    if (headerBytes_ > limits_.maxHeaderBytes) Fail(u"Invalid HTTP response: the header is too large.");
  }
  line_.append(p, n);
  if (nl == end) {
    p = end;
    return false;
  }
  p = nl + 1;
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  return true;
}

void THttpResponseParser::OnStatusLine() {
  const std::string_view line = line_;
  if (line.empty()) return;  // a stray blank line before the status line is tolerated
  // "HTTP/" digit "." digit, blanks, three digits, then the end or a blank.
  size_t i = 0;
  bool ok = line.size() >= 12 && line.substr(0, 5) == "HTTP/" && std::isdigit(static_cast<unsigned char>(line[5])) &&
            line[6] == '.' && std::isdigit(static_cast<unsigned char>(line[7])) && IsBlank(line[8]);
  if (ok) {
    i = 8;
    while (i < line.size() && IsBlank(line[i])) ++i;
    int code = 0, digits = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && digits < 4) {
      code = code * 10 + (line[i] - '0');
      ++i, ++digits;
    }
    ok = digits == 3 && (i == line.size() || IsBlank(line[i])) && code >= 100 && code <= 599;
    statusCode_ = code;
  }
  if (!ok) Fail(u"Invalid HTTP response: the status line is not valid.");
  statusLine_.clear();
  for (char c : line) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7F) statusLine_.push_back(u);
  }
  statusLine_ = TrimRight(statusLine_);
  if (statusCode_ == 101) Fail(u"Invalid HTTP response: the server switched protocols unasked.");
  state_ = State::kHeaders;
}

void THttpResponseParser::OnHeaderLine() {
  if (line_.empty()) {
    StartBody();
    return;
  }
  if (IsBlank(line_[0])) {
    // An obsolete folded line continues the previous value.
    if (!headers_.empty()) headers_.back().value += u" " + FromLatin1(TrimBlanks(line_));
    return;
  }
  const size_t colon = line_.find(':');
  if (colon == std::string::npos) return;  // not a header; tolerated like browsers do
  const std::string_view name = TrimBlanks(std::string_view(line_).substr(0, colon));
  if (name.empty()) return;
  if (headers_.size() >= limits_.maxHeaders) Fail(u"Invalid HTTP response: too many header lines.");
  headers_.push_back({FromLatin1(name), FromLatin1(TrimBlanks(std::string_view(line_).substr(colon + 1)))});
}

void THttpResponseParser::StartBody() {
  if (statusCode_ < 200) {
    // An interim answer (100 Continue and the like): the real one follows.
    headers_.clear();
    state_ = State::kStatusLine;
    return;
  }
  if (statusCode_ == 204 || statusCode_ == 304) {
    state_ = State::kDone;
    return;
  }
  const String coding = LowerCase(Trim(HeaderValue(headers_, u"Transfer-Encoding")));
  if (!coding.empty() && coding != u"identity") {
    if (coding != u"chunked") Fail(u"Invalid HTTP response: unsupported transfer coding \"" + coding + u"\".");
    state_ = State::kChunkSize;
    return;
  }
  // Every Content-Length (and every item of a list in one) must agree.
  bool haveLength = false;
  uint64_t length = 0;
  for (const auto& h : headers_) {
    if (!SameText(h.name, u"Content-Length")) continue;
    size_t i = 0;
    while (i <= h.value.size()) {
      size_t comma = h.value.find(u',', i);
      if (comma == String::npos) comma = h.value.size();
      const String item = Trim(StringView(h.value).substr(i, comma - i));
      uint64_t v = 0;
      if (item.empty()) Fail(u"Invalid HTTP response: the Content-Length is not valid.");
      for (char16_t c : item) {
        if (c < u'0' || c > u'9') Fail(u"Invalid HTTP response: the Content-Length is not valid.");
        v = v * 10 + (c - u'0');
        if (v > limits_.maxBody) Fail(u"Invalid HTTP response: the body is too large.");
      }
      if (haveLength && v != length) Fail(u"Invalid HTTP response: conflicting Content-Length values.");
      haveLength = true;
      length = v;
      i = comma + 1;
    }
  }
  if (!haveLength) {
    state_ = State::kBodyToClose;
  } else if (length == 0) {
    state_ = State::kDone;
  } else {
    remaining_ = length;
    body_.reserve(static_cast<size_t>(length));
    state_ = State::kBody;
  }
}

void THttpResponseParser::OnChunkSizeLine() {
  std::string_view s = TrimBlanks(line_);
  const size_t ext = s.find(';');
  if (ext != std::string_view::npos) s = TrimBlanks(s.substr(0, ext));
  if (s.empty()) Fail(u"Invalid HTTP response: a chunk size is not valid.");
  uint64_t size = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) Fail(u"Invalid HTTP response: a chunk size is not valid.");
    size = size * 16 + static_cast<uint64_t>(d);
    if (size > limits_.maxBody) Fail(u"Invalid HTTP response: the body is too large.");
  }
  if (size == 0) {
    state_ = State::kTrailers;
  } else {
    remaining_ = size;
    state_ = State::kChunkData;
  }
}

void THttpResponseParser::AppendBody(const char* p, size_t n) {
  if (body_.size() + framingBytes_ + n > limits_.maxBody) Fail(u"Invalid HTTP response: the body is too large.");
  body_.append(p, n);
}

bool THttpResponseParser::Feed(const void* data, size_t size) {
  if (state_ == State::kFailed) throw EHttpProtocolError(failure_);
  const char* p = static_cast<const char*>(data);
  const char* const end = p + size;
  if (size) received_ = true;
  while (p < end && state_ != State::kDone) {
    switch (state_) {
      case State::kStatusLine:
        if (TakeLine(p, end)) {
          OnStatusLine();
          line_.clear();
        }
        break;
      case State::kHeaders:
        if (TakeLine(p, end)) {
          OnHeaderLine();
          line_.clear();
        }
        break;
      case State::kBody:
      case State::kChunkData: {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(remaining_, static_cast<uint64_t>(end - p)));
        AppendBody(p, n);
        p += n;
        remaining_ -= n;
        if (remaining_ == 0) state_ = state_ == State::kBody ? State::kDone : State::kChunkEnd;
        break;
      }
      case State::kBodyToClose:
        AppendBody(p, static_cast<size_t>(end - p));
        p = end;
        break;
      case State::kChunkSize:
        if (TakeLine(p, end)) {
          OnChunkSizeLine();
          line_.clear();
        }
        break;
      case State::kChunkEnd:
        if (TakeLine(p, end)) {
          if (!line_.empty()) Fail(u"Invalid HTTP response: a chunk is longer than its size.");
          state_ = State::kChunkSize;
        }
        break;
      case State::kTrailers:
        if (TakeLine(p, end)) {
          if (line_.empty()) state_ = State::kDone;
          line_.clear();
        }
        break;
      case State::kDone:
      case State::kFailed:
        break;
    }
  }
  return state_ == State::kDone;
}

void THttpResponseParser::FinishAtClose() {
  switch (state_) {
    case State::kDone:
      return;
    case State::kFailed:
      throw EHttpProtocolError(failure_);
    case State::kBodyToClose:
      state_ = State::kDone;
      return;
    default:
      if (!received_) Fail(u"The server closed the connection without answering.");
      Fail(u"The server closed the connection before the whole response arrived.");
  }
}

}  // namespace qv
