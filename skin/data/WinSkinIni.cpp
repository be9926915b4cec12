#include "skin/data/WinSkinIni.h"

#include <memory>

#include "platform/core/AnsiText.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "skin/data/WinConvert.h"

namespace qv {

namespace {

// "[" + name + "]", built by appending (GCC 12 warns falsely on the operator+ form).
String Bracketed(StringView name) {
  String s;
  s.reserve(name.size() + 2);
  s += u'[';
  s += name;
  s += u']';
  return s;
}

void RequireStrings(const TStrings* Strings) {
  if (!Strings) throw Exception(u"The parameter Strings is unassigned!");
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The run-time library's integer conversion as ReadInteger sees it.
bool TextToInt(StringView s, int& value) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  bool hex = false;
  if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
    hex = true, ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true, i += 2;
  }
  if (i >= s.size()) return false;
  if (hex) {
    uint32_t v = 0;
    for (; i < s.size(); ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0 || v > 0x0FFFFFFFu) return false;
      v = v * 16 + static_cast<uint32_t>(d);
    }
    value = static_cast<int32_t>(negative ? 0u - v : v);
    return true;
  }
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    v = v * 10 + static_cast<uint64_t>(s[i] - u'0');
    if (v > 0x80000000ull) return false;
  }
  if (!negative && v > 0x7FFFFFFFull) return false;
  value = static_cast<int32_t>(negative ? 0ull - v : v);
  return true;
}

}  // namespace

TQuickIni::TQuickIni() : FIniFile(new TStringList) {}

TQuickIni::~TQuickIni() { delete FIniFile; }

// ---------------------------------------------------------------------------
// Line syntax

String TQuickIni::GetKeyName(StringView line) {
  const size_t eq = line.find(u'=');
  if (eq == StringView::npos) return String();
  return LowerCase(Trim(line.substr(0, eq)));
}

String TQuickIni::GetKeyValue(StringView line, StringView ident) {
  if (line.empty() || ident.empty()) return String();
  const size_t eq = line.find(u'=');
  if (eq == StringView::npos || GetKeyName(line) != ident) return String();
  return Trim(line.substr(eq + 1));
}

bool TQuickIni::IsSectionLine(StringView line) {
  const String t = Trim(line);
  return !t.empty() && t.front() == u'[' && t.back() == u']';
}

int TQuickIni::FindBody(StringView name, int& begin, int& end) const {
  const String wanted = Bracketed(name);
  for (size_t k = 0; k < FSections.size(); ++k) {
    if (!SameText(FSections[k].text, wanted)) continue;
    begin = FSections[k].line + 1;
    end = k + 1 < FSections.size() ? FSections[k + 1].line : FIniFile->Count();
    return static_cast<int>(k);
  }
  begin = end = 0;
  return -1;
}

int TQuickIni::FindSection(StringView name) const {
  int begin, end;
  const int k = FindBody(name, begin, end);
  return k < 0 ? -1 : FSections[static_cast<size_t>(k)].line;
}

void TQuickIni::ShiftSections(int fromEntry, int delta) {
  for (size_t k = static_cast<size_t>(fromEntry); k < FSections.size(); ++k) FSections[k].line += delta;
}

// ---------------------------------------------------------------------------
// Loading and saving

void TQuickIni::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  const int64_t left = Stream->Size() - Stream->Position();
  std::string bytes(static_cast<size_t>(left > 0 ? left : 0), '\0');
  if (!bytes.empty()) bytes.resize(static_cast<size_t>(Stream->Read(bytes.data(), left)));
  if (const size_t nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
  const String text = AnsiToText(bytes);

  FIniFile->BeginUpdate();
  FIniFile->Clear();
  FSections.clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != u'\r' && text[j] != u'\n') ++j;
    const String line = Trim(StringView(text).substr(i, j - i));
    if (j < text.size() && text[j] == u'\r') ++j;
    if (j < text.size() && text[j] == u'\n') ++j;
    i = j;
    if (line.empty() || line.front() == u';') continue;
    const int index = FIniFile->Add(line);
    if (IsSectionLine(line)) FSections.push_back({line, index});
  }
  FIniFile->EndUpdate();
}

void TQuickIni::LoadFromFile(StringView aname) {
  TFileStream f(aname, fmOpenRead);
  LoadFromStream(&f);
}

void TQuickIni::LoadFromZip(StringView aname) {
  TMemoryStream packed;
  packed.LoadFromFile(aname);
  TMemoryStream plain;
  UnpackStream(packed, plain);
  plain.SetPosition(0);
  LoadFromStream(&plain);
}

void TQuickIni::SaveToStream(TStream* Stream) const {
  if (!Stream) return;
  std::string bytes;
  for (int i = 0; i < FIniFile->Count(); ++i) {
    bytes += TextToAnsi(FIniFile->Get(i));
    bytes += "\r\n";
  }
  if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TQuickIni::SaveToFile(StringView aname) const {
  TFileStream f(aname, fmCreate);
  SaveToStream(&f);
}

void TQuickIni::SavetoZip(StringView aname) const {
  TMemoryStream plain;
  SaveToStream(&plain);
  TMemoryStream packed;
  PackStream(plain, packed);
  packed.SaveToFile(aname);
}

// ---------------------------------------------------------------------------
// Reading

String TQuickIni::ReadString(StringView Section, StringView Ident, StringView Default) const {
  String result(Default);
  if (FIniFile->Count() == 0) return result;
  int begin, end;
  if (FindBody(Section, begin, end) < 0) return result;
  const String id = LowerCase(Ident);
  for (int i = begin; i < end; ++i) {
    const String line = FIniFile->Get(i);
    if (GetKeyName(line) != id) continue;
    // The first line with the key decides, even when its value is empty.
    const String value = GetKeyValue(line, id);
    if (!value.empty()) result = value;
    break;
  }
  return result;
}

int TQuickIni::ReadInteger(StringView Section, StringView Ident, int Default) const {
  String text = ReadString(Section, Ident, String());
  if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    text.erase(0, 1);
    text[0] = u'$';
  }
  int value;
  return TextToInt(text, value) ? value : Default;
}

bool TQuickIni::ReadBool(StringView Section, StringView Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TQuickIni::ReadSection(StringView Section, TStrings* Strings) const {
  RequireStrings(Strings);
  Strings->BeginUpdate();
  Strings->Clear();
  int begin, end;
  if (FindBody(Section, begin, end) >= 0) {
    for (int i = begin; i < end; ++i) {
      const String key = GetKeyName(FIniFile->Get(i));
      if (!key.empty()) Strings->Add(key);
    }
  }
  Strings->EndUpdate();
}

void TQuickIni::ReadSections(TStrings* Strings) const {
  RequireStrings(Strings);
  Strings->BeginUpdate();
  Strings->Clear();
  for (const auto& s : FSections) Strings->Add(Trim(StringView(s.text).substr(1, s.text.size() - 2)));
  Strings->EndUpdate();
}

void TQuickIni::ReadSectionValues(StringView Section, TStrings* Strings) const {
  RequireStrings(Strings);
  Strings->BeginUpdate();
  Strings->Clear();
  int begin, end;
  if (FindBody(Section, begin, end) >= 0) {
    for (int i = begin; i < end; ++i) Strings->Add(FIniFile->Get(i));
  }
  Strings->EndUpdate();
}

// ---------------------------------------------------------------------------
// Editing

void TQuickIni::WriteString(StringView Section, StringView Ident, StringView Value) {
  const String line = String(Ident) + u"=" + String(Value);
  int begin, end;
  const int k = FindBody(Section, begin, end);
  if (k < 0) {
    const String header = Bracketed(Section);
    FSections.push_back({header, FIniFile->Add(header)});
    if (!Ident.empty()) FIniFile->Add(line);
    return;
  }
  const String id = LowerCase(Ident);
  for (int i = begin; i < end; ++i) {
    if (GetKeyName(FIniFile->Get(i)) == id) {
      if (!Ident.empty()) FIniFile->Put(i, line);
      return;
    }
  }
  if (Ident.empty()) return;
  // At the end of its own section's body, before the next section line.
  FIniFile->Insert(end, line);
  ShiftSections(k + 1, 1);
}

void TQuickIni::WriteInteger(StringView Section, StringView Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TQuickIni::WriteBool(StringView Section, StringView Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

void TQuickIni::DeleteKey(StringView Section, StringView Ident) {
  int begin, end;
  const int k = FindBody(Section, begin, end);
  if (k < 0) return;
  const String id = LowerCase(Ident);
  for (int i = begin; i < end; ++i) {
    if (GetKeyName(FIniFile->Get(i)) == id) {
      FIniFile->Delete(i);
      ShiftSections(k + 1, -1);
      return;
    }
  }
}

void TQuickIni::EraseSection(StringView Section) {
  int begin, end;
  const int k = FindBody(Section, begin, end);
  if (k < 0) return;
  const int start = begin - 1;  // the section line
  for (int i = end - 1; i >= start; --i) FIniFile->Delete(i);
  int delta = start - end;
  if (start > 0) {
    FIniFile->Insert(start, String());
    ++delta;
  }
  FSections.erase(FSections.begin() + k);
  ShiftSections(k, delta);
}

void TQuickIni::SetIniFile(const TStrings* Value) {
  FIniFile->BeginUpdate();
  FIniFile->Clear();
  if (Value) {
    for (int i = 0; i < Value->Count(); ++i) FIniFile->Add(Value->Get(i));
  }
  FIniFile->EndUpdate();
  RebuildSections();
}

void TQuickIni::RebuildSections() {
  FSections.clear();
  for (int i = 0; i < FIniFile->Count(); ++i) {
    const String line = FIniFile->Get(i);
    if (IsSectionLine(line)) FSections.push_back({Trim(line), i});
  }
}

void TQuickIni::Clear() {
  FIniFile->Clear();
  FSections.clear();
}

void TQuickIni::SetFileName(StringView Value) {
  if (FFileName != Value) FFileName = String(Value);
}

}  // namespace qv
