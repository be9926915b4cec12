// An INI text held in memory: the skin description inside a skin archive is
// read with it. Reads never fail; any bytes load.
//
// Syntax: a NUL byte ends the text; lines end at CR, LF or CR LF; every line
// is trimmed; empty lines and lines starting with ';' are dropped. "[x]" lines
// open sections. A key is the trimmed text before the first '=', in lower
// case; the value is the trimmed text after it. Section names are compared
// without regard to case (blanks inside the brackets count); the first
// matching section and the first matching key win; an empty value reads as
// absent.
#pragma once
#include <vector>

#include "platform/core/StringList.h"

namespace qv {

class TQuickIni {
 public:
  TQuickIni();
  ~TQuickIni();
  TQuickIni(const TQuickIni&) = delete;
  TQuickIni& operator=(const TQuickIni&) = delete;

  // From the stream's position to its end; nothing for a null stream.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(StringView aname);
  // The file is one compressed block (WinConvert).
  void LoadFromZip(StringView aname);
  // The kept lines, each followed by CR LF; nothing for a null stream.
  void SaveToStream(TStream* Stream) const;
  void SaveToFile(StringView aname) const;
  void SavetoZip(StringView aname) const;

  String ReadString(StringView Section, StringView Ident, StringView Default) const;
  // Decimal, or hexadecimal after "0x", "$" or "x" (eight digits wrap into
  // the signed range); anything else gives Default.
  int ReadInteger(StringView Section, StringView Ident, int Default) const;
  bool ReadBool(StringView Section, StringView Ident, bool Default) const;
  // Strings must be given ("The parameter Strings is unassigned!").
  void ReadSection(StringView Section, TStrings* Strings) const;
  void ReadSections(TStrings* Strings) const;
  void ReadSectionValues(StringView Section, TStrings* Strings) const;

  void WriteString(StringView Section, StringView Ident, StringView Value);
  void WriteInteger(StringView Section, StringView Ident, int Value);
  void WriteBool(StringView Section, StringView Ident, bool Value);
  void DeleteKey(StringView Section, StringView Ident);
  void EraseSection(StringView Section);

  TStringList* IniFile() const { return FIniFile; }
  void SetIniFile(const TStrings* Value);
  void RebuildSections();
  void Clear();

  const String& FileName() const { return FFileName; }
  void SetFileName(StringView Value);
  bool AutoSaveLoad() const { return FAuto; }
  void SetAutoSaveLoad(bool Value) { FAuto = Value; }

 private:
  struct SectionLine {
    String text;  // trimmed, brackets included
    int line;     // its index in FIniFile
  };

  static String GetKeyName(StringView line);
  static String GetKeyValue(StringView line, StringView ident);
  static bool IsSectionLine(StringView line);
  // Line index of the section line, or -1.
  int FindSection(StringView name) const;
  // Entry of FSections for the name, or -1; [begin, end) is its body.
  int FindBody(StringView name, int& begin, int& end) const;
  void ShiftSections(int fromEntry, int delta);

  bool FAuto = false;
  String FFileName;
  TStringList* FIniFile;
  std::vector<SectionLine> FSections;
};

}  // namespace qv
