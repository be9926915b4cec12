// Cookies kept for the program's life and sent back by domain and path, as
// a browser would (RFC 6265): a server may set cookies only for its own host
// or a parent domain of it, and an expired or deleted cookie is dropped.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/HttpMessage.h"

namespace qv {

class THttpCookieJar {
 public:
  // Stores every Set-Cookie of a response to a request for url. now is
  // seconds since 1970 (UTC).
  void StoreFromResponse(const THttpUrl& url, const THttpHeaders& headers, int64_t now);
  void StoreFromResponse(const THttpUrl& url, const THttpHeaders& headers);
  // One Set-Cookie value; false when it is rejected or malformed.
  bool Store(const THttpUrl& url, StringView setCookie, int64_t now);

  // The Cookie header value for a request to url ("a=1; b=2"), longest
  // path first; the empty text when no cookie applies.
  String CookieHeader(const THttpUrl& url, int64_t now) const;
  String CookieHeader(const THttpUrl& url) const;

  size_t Count() const { return cookies_.size(); }
  void Clear() { cookies_.clear(); }

 private:
  struct Cookie {
    String name, value, domain, path;
    bool hostOnly = true;
    bool secure = false;
    int64_t expires = INT64_MAX;
    uint64_t created = 0;
  };
  std::vector<Cookie> cookies_;
  uint64_t sequence_ = 0;
};

// Parses a cookie date ("Wed, 09 Jun 2021 10:18:14 GMT" and the other forms
// servers write) into seconds since 1970; false when it is not a date.
bool ParseCookieDate(StringView text, int64_t& seconds);

}  // namespace qv
