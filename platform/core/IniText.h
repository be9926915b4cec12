// INI files as the system's profile functions read them (text in the ANSI
// code page, or UTF-8 or UTF-16 after a byte-order mark), changed one value
// at a time with every other line kept as it was.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/UString.h"

namespace qv {

// text with "key=value" in section. Section and key are found regardless of
// letter case, the first section of that name as the profile functions find
// it; a missing key is added after the section's last line, a missing
// section at the end.
String IniTextWithValue(StringView text, StringView section, StringView key, StringView value);

// The bytes of an INI file after IniTextWithValue. The file keeps its
// encoding when that can hold the new text; otherwise (a name that the ANSI
// code page lacks), and for a new file (no bytes), it is written as UTF-16
// with its mark, which the profile functions read back exactly.
std::string IniFileWithValue(std::optional<std::string_view> bytes, StringView section, StringView key,
                             StringView value);

}  // namespace qv
