#include "platform/core/HttpCookies.h"

#include <algorithm>
#include <ctime>

namespace qv {

namespace {

// A hostile server could otherwise grow the jar without end.
constexpr size_t kMaxCookies = 1000;
constexpr size_t kMaxPerDomain = 60;
constexpr size_t kMaxCookieBytes = 4096;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsIpAddress(StringView host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char16_t c) { return IsDigit(c) || c == u'.'; });
}

bool DomainMatches(StringView host, StringView domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == u'.' &&
         !IsIpAddress(host);
}

String RequestPath(const THttpUrl& url) {
  const size_t q = url.path.find(u'?');
  return q == String::npos ? url.path : url.path.substr(0, q);
}

String DefaultPath(const THttpUrl& url) {
  const String path = RequestPath(url);
  const size_t slash = path.rfind(u'/');
  if (path.empty() || path[0] != u'/' || slash == 0 || slash == String::npos) return u"/";
  return path.substr(0, slash);
}

bool PathMatches(StringView requestPath, StringView cookiePath) {
  if (requestPath == cookiePath) return true;
  if (!requestPath.starts_with(cookiePath)) return false;
  return cookiePath.back() == u'/' || requestPath[cookiePath.size()] == u'/';
}

// Control characters would let a cookie break the request's header block.
bool HasControl(StringView s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return (c < u' ' && c != u'\t') || c == 0x7F; });
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// "h:m:s" with one or two digits each.
bool ParseTime(StringView token, int& hour, int& minute, int& second) {
  int parts[3] = {0, 0, 0};
  size_t k = 0;
  for (int n = 0; n < 3; ++n) {
    const size_t start = k;
    while (k < token.size() && IsDigit(token[k])) ++k;
    if (k == start || k - start > 2) return false;
    parts[n] = StrToIntDef(token.substr(start, k - start), 0);
    if (n < 2) {
      if (k >= token.size() || token[k] != u':') return false;
      ++k;
    }
  }
  hour = parts[0], minute = parts[1], second = parts[2];
  return true;
}

}  // namespace

bool ParseCookieDate(StringView text, int64_t& seconds) {
  static const char16_t* const kMonths[] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                            u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
  bool haveTime = false, haveDay = false, haveMonth = false, haveYear = false;
  int hour = 0, minute = 0, second = 0, day = 0, month = 0, year = 0;
  size_t i = 0;
  while (i < text.size()) {
    // Tokens are runs of letters, digits and ':' (RFC 6265 5.1.1).
    auto isTokenChar = [](char16_t c) {
      return IsDigit(c) || c == u':' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c > 0x7F;
    };
    while (i < text.size() && !isTokenChar(text[i])) ++i;
    size_t j = i;
    while (j < text.size() && isTokenChar(text[j])) ++j;
    const StringView token = text.substr(i, j - i);
    i = j;
    if (token.empty()) break;
    size_t digits = 0;
    while (digits < token.size() && IsDigit(token[digits])) ++digits;
    if (!haveTime && ParseTime(token, hour, minute, second)) {
      haveTime = true;
      continue;
    }
    if (!haveDay && digits >= 1 && digits <= 2 && (digits == token.size() || !IsDigit(token[digits]))) {
      haveDay = true;
      day = StrToIntDef(token.substr(0, digits), 0);
      continue;
    }
    if (!haveMonth && token.size() >= 3) {
      const String prefix = LowerCase(token.substr(0, 3));
      for (int m = 0; m < 12; ++m) {
        if (prefix == kMonths[m]) {
          haveMonth = true;
          month = m + 1;
        }
      }
      if (haveMonth) continue;
    }
    if (!haveYear && digits >= 2 && digits <= 4) {
      haveYear = true;
      year = StrToIntDef(token.substr(0, digits), 0);
      if (year >= 70 && year <= 99) year += 1900;
      else if (year >= 0 && year <= 69 && digits <= 2) year += 2000;
    }
  }
  if (!haveTime || !haveDay || !haveMonth || !haveYear) return false;
  if (day < 1 || day > 31 || year < 1601 || hour > 23 || minute > 59 || second > 59) return false;
  seconds = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
            minute * 60 + second;
  return true;
}

bool THttpCookieJar::Store(const THttpUrl& url, StringView setCookie, int64_t now) {
  if (setCookie.size() > kMaxCookieBytes || HasControl(setCookie)) return false;
  const size_t semi = setCookie.find(u';');
  const StringView pair = setCookie.substr(0, semi);
  const size_t eq = pair.find(u'=');
  if (eq == StringView::npos) return false;
  Cookie c;
  c.name = Trim(pair.substr(0, eq));
  c.value = Trim(pair.substr(eq + 1));
  if (c.name.empty()) return false;

  String domainAttr;
  bool havePath = false, haveMaxAge = false;
  StringView rest = semi == StringView::npos ? StringView() : setCookie.substr(semi + 1);
  while (!rest.empty()) {
    const size_t next = rest.find(u';');
    const StringView attr = rest.substr(0, next);
    rest = next == StringView::npos ? StringView() : rest.substr(next + 1);
    const size_t aeq = attr.find(u'=');
    const String key = Trim(attr.substr(0, aeq));
    const String value = aeq == StringView::npos ? String() : Trim(attr.substr(aeq + 1));
    if (SameText(key, u"domain")) {
      if (!value.empty()) domainAttr = LowerCase(value[0] == u'.' ? StringView(value).substr(1) : StringView(value));
    } else if (SameText(key, u"path")) {
      if (!value.empty() && value[0] == u'/') {
        c.path = value;
        havePath = true;
      }
    } else if (SameText(key, u"max-age")) {
      int64_t seconds;
      if (!value.empty() && (IsDigit(value[0]) || value[0] == u'-') && TryStrToInt64(value, seconds)) {
        haveMaxAge = true;
        if (seconds <= 0) c.expires = INT64_MIN;
        else c.expires = seconds > INT64_MAX - now ? INT64_MAX : now + seconds;
      }
    } else if (SameText(key, u"expires")) {
      int64_t when;
      if (!haveMaxAge && ParseCookieDate(value, when)) c.expires = when;
    } else if (SameText(key, u"secure")) {
      c.secure = true;
    }
  }

  if (domainAttr.empty()) {
    c.domain = url.host;
  } else {
    // Only our own host or a parent domain with an inner dot (no "com").
    const bool sameHost = domainAttr == url.host;
    if (!sameHost && (domainAttr.find(u'.') == String::npos || !DomainMatches(url.host, domainAttr))) return false;
    c.domain = domainAttr;
    c.hostOnly = false;
  }
  if (!havePath) c.path = DefaultPath(url);

  auto same = [&](const Cookie& o) { return o.name == c.name && o.domain == c.domain && o.path == c.path; };
  cookies_.erase(std::remove_if(cookies_.begin(), cookies_.end(), same), cookies_.end());
  // Drop whatever has expired by now, including the one just deleted.
  cookies_.erase(std::remove_if(cookies_.begin(), cookies_.end(), [&](const Cookie& o) { return o.expires <= now; }),
                 cookies_.end());
  if (c.expires <= now) return true;

  c.created = ++sequence_;
  const auto inDomain = std::count_if(cookies_.begin(), cookies_.end(), [&](const Cookie& o) { return o.domain == c.domain; });
  if (static_cast<size_t>(inDomain) >= kMaxPerDomain) {
    cookies_.erase(std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& o) { return o.domain == c.domain; }));
  }
  if (cookies_.size() >= kMaxCookies) cookies_.erase(cookies_.begin());
  cookies_.push_back(std::move(c));
  return true;
}

void THttpCookieJar::StoreFromResponse(const THttpUrl& url, const THttpHeaders& headers, int64_t now) {
  for (const auto& h : headers) {
    if (SameText(h.name, u"Set-Cookie")) Store(url, h.value, now);
  }
}

void THttpCookieJar::StoreFromResponse(const THttpUrl& url, const THttpHeaders& headers) {
  StoreFromResponse(url, headers, static_cast<int64_t>(std::time(nullptr)));
}

String THttpCookieJar::CookieHeader(const THttpUrl& url, int64_t now) const {
  const String path = RequestPath(url);
  std::vector<const Cookie*> chosen;
  for (const auto& c : cookies_) {
    if (c.expires <= now || c.secure) continue;  // only plain http is spoken here
    const bool domainOk = c.hostOnly ? url.host == c.domain : DomainMatches(url.host, c.domain);
    if (domainOk && PathMatches(path, c.path)) chosen.push_back(&c);
  }
  std::stable_sort(chosen.begin(), chosen.end(), [](const Cookie* a, const Cookie* b) {
    return a->path.size() != b->path.size() ? a->path.size() > b->path.size() : a->created < b->created;
  });
  String out;
  for (const Cookie* c : chosen) {
    if (!out.empty()) out += u"; ";
    out += c->name + u"=" + c->value;
  }
  return out;
}

String THttpCookieJar::CookieHeader(const THttpUrl& url) const {
  return CookieHeader(url, static_cast<int64_t>(std::time(nullptr)));
}

}  // namespace qv
