#include "platform/win/IniFiles.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/IniText.h"
#include "platform/win/WinString.h"

namespace qv {

String TIniFile::ReadString(StringView section, StringView ident, StringView def) const {
  const String s(section), k(ident), d(def);
  std::vector<wchar_t> buf(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(W(s), W(k), W(d), buf.data(), static_cast<DWORD>(buf.size()), W(fileName_));
    if (n < buf.size() - 1) return FromW(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

void TIniFile::WriteString(StringView section, StringView ident, StringView value) {
  // Not through the profile functions: they rewrite the file in place, so a
  // full disk leaves it cut short, and they write a name that the file's
  // code page lacks as "?". The new file is complete before it replaces the
  // old one.
  try {
    std::optional<std::string> old;
    if (FileExists(fileName_)) {
      const std::vector<uint8_t> bytes = ReadFileBytes(fileName_);
      old.emplace(bytes.begin(), bytes.end());
    }
    const std::string bytes = IniFileWithValue(old, section, ident, value);
    ReplaceFileBytes(fileName_, bytes.data(), bytes.size());
  } catch (const EStreamError& e) {
    throw EIniFileException(e.Message());
  }
}

int TIniFile::ReadInteger(StringView section, StringView ident, int def) const {
  return StrToIntDef(ReadString(section, ident, u""), def);
}

void TIniFile::WriteInteger(StringView section, StringView ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::ReadSections(TStrings& out) const {
  std::vector<wchar_t> buf(16384);
  for (;;) {
    const DWORD n = GetPrivateProfileSectionNamesW(buf.data(), static_cast<DWORD>(buf.size()), W(fileName_));
    if (n < buf.size() - 2) {
      out.Clear();
      for (const wchar_t* p = buf.data(); *p; p += wcslen(p) + 1) out.Add(FromW(p));
      return;
    }
    buf.resize(buf.size() * 2);
  }
}

bool TIniFile::SectionExists(StringView section) const {
  TStringList sections;
  ReadSections(sections);
  return sections.IndexOf(section) >= 0;
}

void TIniFile::EraseSection(StringView section) {
  const String s(section);
  if (!WritePrivateProfileStringW(W(s), nullptr, nullptr, W(fileName_)))
    throw EIniFileException(u"Unable to write to " + fileName_);
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(fileName_)); }

}  // namespace qv
