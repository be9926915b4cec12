// INI files over the platform's profile functions.
#pragma once
#include "platform/core/StringList.h"

namespace qv {

class TIniFile {
 public:
  explicit TIniFile(StringView fileName) : fileName_(fileName) {}
  const String& FileName() const { return fileName_; }

  String ReadString(StringView section, StringView ident, StringView def) const;
  // Throws EIniFileException when the value cannot be written.
  void WriteString(StringView section, StringView ident, StringView value);
  int ReadInteger(StringView section, StringView ident, int def) const;
  void WriteInteger(StringView section, StringView ident, int value);
  bool SectionExists(StringView section) const;
  void ReadSections(TStrings& out) const;
  void EraseSection(StringView section);
  // Flushes the system's cached copy of the file.
  void UpdateFile();

 private:
  String fileName_;
};

}  // namespace qv
