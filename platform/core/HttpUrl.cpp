#include "platform/core/HttpUrl.h"

#include "platform/core/HttpErrors.h"

namespace qv {

namespace {

bool IsAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHex(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Surrounding blanks and controls go; tabs and line breaks inside go too.
String CleanAddress(StringView url) {
  String out;
  for (char16_t c : Trim(url)) {
    if (c != u'\t' && c != u'\r' && c != u'\n') out.push_back(c);
  }
  return out;
}

// Keeps a message box readable when a page hands us a huge address.
String Quoted(StringView url) {
  constexpr size_t kMaxShown = 200;
  String shown(url.substr(0, kMaxShown));
  if (url.size() > kMaxShown) shown += u"...";
  for (auto& c : shown) {
    if (c < u' ') c = u' ';
  }
  return u"\"" + shown + u"\"";
}

// The pieces of a URI reference (RFC 3986 appendix B); "has" flags tell an
// empty component from an absent one.
struct Pieces {
  String scheme, authority, path, query, fragment;
  bool hasScheme = false, hasAuthority = false, hasQuery = false, hasFragment = false;
};

Pieces Split(StringView s) {
  Pieces p;
  size_t i = 0;
  // A scheme is letters first, then letters, digits, '+', '-', '.', ended by ':'.
  if (!s.empty() && IsAlpha(s[0])) {
    size_t j = 1;
    while (j < s.size() && (IsAlpha(s[j]) || IsDigit(s[j]) || s[j] == u'+' || s[j] == u'-' || s[j] == u'.')) ++j;
    if (j < s.size() && s[j] == u':') {
      p.scheme = LowerCase(s.substr(0, j));
      p.hasScheme = true;
      i = j + 1;
    }
  }
  if (s.substr(i, 2) == u"//") {
    size_t j = i + 2;
    while (j < s.size() && s[j] != u'/' && s[j] != u'?' && s[j] != u'#') ++j;
    p.authority = String(s.substr(i + 2, j - i - 2));
    p.hasAuthority = true;
    i = j;
  }
  size_t j = i;
  while (j < s.size() && s[j] != u'?' && s[j] != u'#') ++j;
  p.path = String(s.substr(i, j - i));
  i = j;
  if (i < s.size() && s[i] == u'?') {
    j = i + 1;
    while (j < s.size() && s[j] != u'#') ++j;
    p.query = String(s.substr(i + 1, j - i - 1));
    p.hasQuery = true;
    i = j;
  }
  if (i < s.size() && s[i] == u'#') {
    p.fragment = String(s.substr(i + 1));
    p.hasFragment = true;
  }
  return p;
}

String Join(const Pieces& p) {
  String out;
  if (p.hasScheme) out += p.scheme + u":";
  if (p.hasAuthority) out += u"//" + p.authority;
  out += p.path;
  if (p.hasQuery) out += u"?" + p.query;
  if (p.hasFragment) out += u"#" + p.fragment;
  return out;
}

// RFC 3986 5.2.4.
String RemoveDotSegments(StringView in) {
  String input(in), output;
  while (!input.empty()) {
    if (input.starts_with(u"../")) {
      input.erase(0, 3);
    } else if (input.starts_with(u"./")) {
      input.erase(0, 2);
    } else if (input.starts_with(u"/./")) {
      input.erase(0, 2);
    } else if (input == u"/.") {
      input = u"/";
    } else if (input.starts_with(u"/../") || input == u"/..") {
      input = input.size() == 3 ? String(u"/") : input.substr(3);
      const size_t cut = output.rfind(u'/');
      output.erase(cut == String::npos ? 0 : cut);
    } else if (input == u"." || input == u"..") {
      input.clear();
    } else {
      size_t end = input.find(u'/', input[0] == u'/' ? 1 : 0);
      if (end == String::npos) end = input.size();
      output += input.substr(0, end);
      input.erase(0, end);
    }
  }
  return output;
}

String MergePaths(const Pieces& base, StringView refPath) {
  if (base.hasAuthority && base.path.empty()) return u"/" + String(refPath);
  const size_t slash = base.path.rfind(u'/');
  return (slash == String::npos ? String() : base.path.substr(0, slash + 1)) + String(refPath);
}

bool ParseAuthority(StringView authority, THttpUrl& out) {
  StringView host = authority;
  String port;
  const size_t colon = authority.rfind(u':');
  if (colon != StringView::npos) {
    host = authority.substr(0, colon);
    port = String(authority.substr(colon + 1));
  }
  if (host.empty()) return false;
  // Letters, digits, '-', '.' and '_' only: no user information, no IPv6
  // literal, nothing that could break the Host header.
  for (char16_t c : host) {
    if (!IsAlpha(c) && !IsDigit(c) && c != u'-' && c != u'.' && c != u'_') return false;
  }
  out.host = LowerCase(host);
  out.port = 80;
  if (!port.empty()) {
    if (port.size() > 5) return false;
    int value = 0;
    for (char16_t c : port) {
      if (!IsDigit(c)) return false;
      value = value * 10 + (c - u'0');
    }
    if (value < 1 || value > 65535) return false;
    out.port = static_cast<uint16_t>(value);
  }
  return true;
}

// Returns the reason an address cannot be requested, or the empty text.
String ParseInto(StringView url, THttpUrl& out) {
  const Pieces p = Split(CleanAddress(url));
  if (!p.hasScheme || p.scheme != u"http" || !p.hasAuthority) return u"only http:// addresses can be requested";
  if (!ParseAuthority(p.authority, out)) return u"the host or port is not valid";
  out.path = p.path.empty() ? String(u"/") : p.path;
  if (out.path[0] != u'/') out.path.insert(out.path.begin(), u'/');
  if (p.hasQuery) out.path += u"?" + p.query;
  return String();
}

}  // namespace

String THttpUrl::Authority() const { return port == 80 ? host : host + u":" + IntToStr(port); }

String THttpUrl::ToString() const { return u"http://" + Authority() + path; }

THttpUrl ParseHttpUrl(StringView url) {
  THttpUrl out;
  const String reason = ParseInto(url, out);
  if (!reason.empty()) throw EHttpProtocolError(u"Cannot request " + Quoted(url) + u": " + reason + u".");
  return out;
}

bool TryParseHttpUrl(StringView url, THttpUrl& out) {
  THttpUrl parsed;
  if (!ParseInto(url, parsed).empty()) return false;
  out = parsed;
  return true;
}

String ResolveReference(StringView base, StringView reference) {
  const Pieces b = Split(CleanAddress(base));
  const Pieces r = Split(CleanAddress(reference));
  Pieces t;
  if (r.hasScheme) {
    t = r;
    t.path = RemoveDotSegments(r.path);
  } else {
    t.scheme = b.scheme;
    t.hasScheme = b.hasScheme;
    if (r.hasAuthority) {
      t.authority = r.authority;
      t.hasAuthority = true;
      t.path = RemoveDotSegments(r.path);
      t.query = r.query;
      t.hasQuery = r.hasQuery;
    } else {
      t.authority = b.authority;
      t.hasAuthority = b.hasAuthority;
      if (r.path.empty()) {
        t.path = b.path;
        t.query = r.hasQuery ? r.query : b.query;
        t.hasQuery = r.hasQuery || b.hasQuery;
      } else {
        t.path = RemoveDotSegments(r.path[0] == u'/' ? r.path : MergePaths(b, r.path));
        t.query = r.query;
        t.hasQuery = r.hasQuery;
      }
    }
  }
  t.fragment = r.fragment;
  t.hasFragment = r.hasFragment;
  return Join(t);
}

std::string EncodeRequestTarget(StringView pathAndQuery) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string bytes = ToUtf8(pathAndQuery);
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const bool unreserved = IsAlpha(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
    const bool allowed = unreserved || std::string_view("!$&'()*+,;=:@/?").find(static_cast<char>(c)) != std::string_view::npos;
    const bool escape = c == '%' && i + 2 < bytes.size() && IsHex(static_cast<unsigned char>(bytes[i + 1])) &&
                        IsHex(static_cast<unsigned char>(bytes[i + 2]));
    if (allowed || escape) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

}  // namespace qv
