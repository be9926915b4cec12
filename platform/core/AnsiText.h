// 8-bit text of files that the system writes in its ANSI code page (skin
// description INIs, the member names of skin archives). On Windows the
// system converts; where there is no such system (the host build) each byte
// is one Latin-1 code unit.
#pragma once
#include <string>
#include <string_view>

#include "platform/core/UString.h"

namespace qv {

// Embedded NULs are kept; bytes that do not form a character of the code
// page become the system's replacement character.
String AnsiToText(std::string_view bytes);
// A character that the code page lacks becomes '?'.
std::string TextToAnsi(StringView text);

#ifdef _WIN32
// The same in any code page the system knows (0 is the ANSI one). A
// character the code page lacks becomes defaultChar, or the code page's own
// default character when that is null.
String CodePageToText(unsigned codePage, std::string_view bytes);
std::string TextToCodePage(unsigned codePage, StringView text, const char* defaultChar = nullptr);
#endif

}  // namespace qv
