// INI files: read through the platform's profile functions; a value is
// written by replacing the whole file with a complete new one.
#pragma once
#include "platform/core/StringList.h"

namespace qv {

class TIniFile {
 public:
  explicit TIniFile(StringView fileName) : fileName_(fileName) {}
  const String& FileName() const { return fileName_; }

  String ReadString(StringView section, StringView ident, StringView def) const;
  // A new file is written as UTF-16; one that exists keeps its encoding
  // unless that cannot hold the new text, and is then rewritten as UTF-16.
  // Throws EIniFileException naming the file and the system's reason when
  // the value cannot be written; the old file is then left whole.
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
