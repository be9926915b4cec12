// INI text of any bytes loads and answers lookups without failing.
#include <cstdint>

#include "skin/data/WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::TMemoryStream s;
  if (size) s.WriteBuffer(data, static_cast<int64_t>(size));
  s.SetPosition(0);
  qv::TQuickIni ini;
  ini.LoadFromStream(&s);
  qv::TStringList sections, keys;
  ini.ReadSections(&sections);
  for (int i = 0; i < sections.Count() && i < 16; ++i) {
    const qv::String section = sections[i];
    ini.ReadSection(section, &keys);
    for (int k = 0; k < keys.Count() && k < 16; ++k) {
      ini.ReadString(section, keys[k], u"");
      ini.ReadInteger(section, keys[k], 0);
    }
    ini.WriteString(section, u"fuzz", u"1");
    ini.DeleteKey(section, u"fuzz");
  }
  if (sections.Count()) ini.EraseSection(sections[0]);
  qv::TMemoryStream out;
  ini.SaveToStream(&out);
  return 0;
}
