// Turning a response body into text by the character set its Content-Type
// names. UTF-8 and Latin-1 are decoded here; other sets go through a decoder
// that the platform installs (the Windows build uses the system's code
// pages). Decoding never throws: bytes that do not fit become U+FFFD.
#pragma once
#include <string_view>

#include "platform/core/UString.h"

namespace qv {

// The charset parameter of a Content-Type value, lower-case and unquoted;
// the empty text when there is none.
String CharsetFromContentType(StringView contentType);

// The Windows code page of a charset name (936 for "gbk" and "gb2312",
// 65001 for "utf-8", ...); 0 when the name is unknown.
unsigned CodePageOfCharset(StringView charset);

// Decodes bytes of a code page into text; false when it cannot.
using CodePageDecoder = bool (*)(unsigned codePage, std::string_view bytes, String& text);
// Installs the platform's decoder (nullptr removes it).
void SetCodePageDecoder(CodePageDecoder decoder);

// UTF-8 when the charset is missing or unknown. Without a platform decoder,
// a double-byte set (GBK, Big5, ...) keeps its ASCII text and turns each
// multi-byte character into one U+FFFD, so no stray ASCII byte appears.
String DecodeText(std::string_view bytes, StringView charset);

}  // namespace qv
