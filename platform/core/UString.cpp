#include "platform/core/UString.h"

#include "platform/core/Exceptions.h"

namespace qv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(String& out, uint32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? c - 32 : c; }
char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

}  // namespace

String FromUtf8(std::string_view in) {
  String out;
  out.reserve(in.size());
  size_t i = 0;
  const size_t n = in.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(in[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int extra;
    uint32_t cp;
    uint32_t min;
    if ((b0 & 0xE0) == 0xC0) {
      extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= n || (static_cast<unsigned char>(in[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(in[j]) & 0x3F);
    }
    if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      i = ok ? j : i + 1;
      // Skip the continuation bytes of a broken sequence as one error.
      while (!ok && i < n && (static_cast<unsigned char>(in[i]) & 0xC0) == 0x80) ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i = j;
  }
  return out;
}

std::string ToUtf8(StringView s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // a lone surrogate cannot be written as UTF-8
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

String FromLatin1(std::string_view bytes) {
  String out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

int Pos(StringView sub, StringView s) { return PosEx(sub, s, 1); }

int PosEx(StringView sub, StringView s, int offset) {
  if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
  const size_t at = s.find(sub, static_cast<size_t>(offset - 1));
  return at == StringView::npos ? 0 : static_cast<int>(at) + 1;
}

String Copy(StringView s, int index, int count) {
  if (index < 1) index = 1;
  const auto len = static_cast<int64_t>(s.size());
  if (count <= 0 || index > len) return String();
  const int64_t avail = len - index + 1;
  return String(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count < avail ? count : avail)));
}

String TrimLeft(StringView s) {
  size_t b = 0;
  while (b < s.size() && s[b] <= u' ') ++b;
  return String(s.substr(b));
}

String TrimRight(StringView s) {
  size_t e = s.size();
  while (e > 0 && s[e - 1] <= u' ') --e;
  return String(s.substr(0, e));
}

String Trim(StringView s) { return TrimLeft(TrimRight(s)); }

String UpperCase(StringView s) {
  String out(s);
  for (auto& c : out) c = AsciiUpper(c);
  return out;
}

String LowerCase(StringView s) {
  String out(s);
  for (auto& c : out) c = AsciiLower(c);
  return out;
}

int CompareText(StringView a, StringView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = AsciiUpper(a[i]), y = AsciiUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(StringView a, StringView b) { return CompareText(a, b) == 0; }

String StringReplace(StringView s, StringView oldPattern, StringView newPattern, unsigned flags) {
  if (oldPattern.empty()) return String(s);
  const bool ignoreCase = flags & rfIgnoreCase;
  const String hay = ignoreCase ? UpperCase(s) : String(s);
  const String needle = ignoreCase ? UpperCase(oldPattern) : String(oldPattern);
  String out;
  size_t from = 0;
  while (from <= hay.size()) {
    const size_t at = hay.find(needle, from);
    if (at == String::npos) break;
    out.append(s.substr(from, at - from));
    out.append(newPattern);
    from = at + needle.size();
    if (!(flags & rfReplaceAll)) break;
  }
  if (from < s.size()) out.append(s.substr(from));
  return out;
}

String IntToStr(int64_t value) {
  const std::string d = std::to_string(value);
  return String(d.begin(), d.end());
}

String IntToHex(uint64_t value, int digits) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  String out;
  do {
    out.insert(out.begin(), kHex[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), u'0');
  return out;
}

bool TryStrToInt64(StringView s, int64_t& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;  // the run-time library skips leading blanks only
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  int base = 10;
  if (i < s.size() && s[i] == u'$') {
    base = 16, ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16, i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i];
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return false;
    if (acc > (UINT64_MAX - digit) / base) return false;
    acc = acc * base + digit;
  }
  if (base == 10) {
    if (acc > (negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX))) return false;
    value = negative ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
  } else {
    value = static_cast<int64_t>(negative ? 0 - acc : acc);
  }
  return true;
}

bool TryStrToInt(StringView s, int& value) {
  int64_t v;
  if (!TryStrToInt64(s, v)) return false;
  // Hexadecimal spans the whole 32-bit pattern ($FFFFFFFF is -1), as the
  // run-time library reads it.
  const bool hex = s.find(u'$') != StringView::npos || s.find(u'x') != StringView::npos ||
                   s.find(u'X') != StringView::npos;
  if (hex) {
    if (v > int64_t(UINT32_MAX) || v < -int64_t(UINT32_MAX)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(StringView s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError(u"'" + String(s) + u"' is not a valid integer value");
  return v;
}

int StrToIntDef(StringView s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

}  // namespace qv
