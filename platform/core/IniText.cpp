#include "platform/core/IniText.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/core/AnsiText.h"

namespace qv {

namespace {

enum class TIniEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct TMark {
  TIniEncoding encoding;
  std::string_view bytes;
};
const TMark kMarks[] = {{TIniEncoding::Utf16LE, "\xFF\xFE"}, {TIniEncoding::Utf16BE, "\xFE\xFF"},
                        {TIniEncoding::Utf8, "\xEF\xBB\xBF"}};

// Sections and keys are matched as the profile functions match them.
bool SameName(StringView a, StringView b) {
#ifdef _WIN32
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
#else
  return SameText(a, b);
#endif
}

String Decode(std::string_view bytes, TIniEncoding& encoding) {
  encoding = TIniEncoding::Ansi;
  for (const TMark& m : kMarks) {
    if (bytes.starts_with(m.bytes)) {
      encoding = m.encoding;
      bytes.remove_prefix(m.bytes.size());
      break;
    }
  }
  if (encoding == TIniEncoding::Ansi) return AnsiToText(bytes);
  if (encoding == TIniEncoding::Utf8) return FromUtf8(bytes);
  const bool little = encoding == TIniEncoding::Utf16LE;
  String text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<uint8_t>(bytes[little ? i : i + 1]);
    const auto hi = static_cast<uint8_t>(bytes[little ? i + 1 : i]);
    text.push_back(static_cast<char16_t>(lo | hi << 8));
  }
  return text;
}

std::string Encode(StringView text, TIniEncoding encoding) {
  if (encoding == TIniEncoding::Ansi) return TextToAnsi(text);
  std::string out;
  for (const TMark& m : kMarks) {
    if (m.encoding == encoding) out = m.bytes;
  }
  if (encoding == TIniEncoding::Utf8) return out + ToUtf8(text);
  const bool little = encoding == TIniEncoding::Utf16LE;
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out.push_back(little ? lo : hi);
    out.push_back(little ? hi : lo);
  }
  return out;
}

bool CanHold(TIniEncoding encoding, StringView text) {
  return encoding != TIniEncoding::Ansi || AnsiToText(TextToAnsi(text)) == text;
}

}  // namespace

String IniTextWithValue(StringView text, StringView section, StringView key, StringView value) {
  const String entry = String(key) + u"=" + String(value);
  bool inSection = false;
  size_t insertAt = 0;  // after the section's last line that is not blank
  for (size_t pos = 0; pos < text.size();) {
    const size_t eol = text.find(u'\n', pos);
    const size_t next = eol == StringView::npos ? text.size() : eol + 1;
    size_t end = eol == StringView::npos ? text.size() : eol;
    if (end > pos && text[end - 1] == u'\r') --end;
    const StringView line = text.substr(pos, end - pos);
    const String trimmed = Trim(line);
    if (!trimmed.empty() && trimmed[0] == u'[') {
      if (inSection) break;
      const size_t close = trimmed.rfind(u']');
      inSection = SameName(Trim(StringView(trimmed).substr(1, close == String::npos ? String::npos : close - 1)), section);
      insertAt = next;
    } else if (inSection) {
      const size_t eq = line.find(u'=');
      if (eq != StringView::npos && SameName(Trim(line.substr(0, eq)), key)) {
        return String(text.substr(0, pos)) + entry + String(text.substr(end));
      }
      if (!trimmed.empty()) insertAt = next;
    }
    pos = next;
  }
  String out;
  if (inSection) {
    out = String(text.substr(0, insertAt));
  } else {
    out = String(text);
    insertAt = text.size();
  }
  if (!out.empty() && out.back() != u'\n') out += u"\r\n";
  if (!inSection) out += u"[" + String(section) + u"]\r\n";
  return out + entry + u"\r\n" + String(text.substr(insertAt));
}

std::string IniFileWithValue(std::optional<std::string_view> bytes, StringView section, StringView key,
                             StringView value) {
  TIniEncoding encoding = TIniEncoding::Utf16LE;
  const String old = bytes ? Decode(*bytes, encoding) : String();
  const String text = IniTextWithValue(old, section, key, value);
  return Encode(text, CanHold(encoding, text) ? encoding : TIniEncoding::Utf16LE);
}

}  // namespace qv
