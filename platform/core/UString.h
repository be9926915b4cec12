// The class library's text: UTF-16 code units on every build, so positions
// computed on the host match the Windows program. Routines keep the run-time
// library's 1-based positions and never throw for out-of-range arguments.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid input becomes U+FFFD; never throws.
String FromUtf8(std::string_view utf8);
std::string ToUtf8(StringView s);
// Latin-1 bytes to text, one code unit per byte.
String FromLatin1(std::string_view bytes);

// Position of the first occurrence of sub in s, 1-based; 0 when absent or sub is empty.
int Pos(StringView sub, StringView s);
// Position of sub in s searching from the 1-based offset; 0 when absent.
int PosEx(StringView sub, StringView s, int offset = 1);
// Up to count units from the 1-based index; indexes below 1 count as 1, and a
// count running past the end is clamped. Never throws.
String Copy(StringView s, int index, int count);

// Trimming removes every unit at or below the space character.
String Trim(StringView s);
String TrimLeft(StringView s);
String TrimRight(StringView s);

// Only 'a'..'z' and 'A'..'Z' change.
String UpperCase(StringView s);
String LowerCase(StringView s);
bool SameText(StringView a, StringView b);
int CompareText(StringView a, StringView b);

enum ReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
String StringReplace(StringView s, StringView oldPattern, StringView newPattern, unsigned flags);

String IntToStr(int64_t value);
String IntToHex(uint64_t value, int digits);
// Decimal with optional sign, or hexadecimal with a leading '$' or "0x"/"0X";
// surrounding blanks are allowed. StrToInt throws EConvertError.
bool TryStrToInt(StringView s, int& value);
bool TryStrToInt64(StringView s, int64_t& value);
int StrToInt(StringView s);
int StrToIntDef(StringView s, int def);

// String from a narrow literal written in UTF-8 source.
inline String S(const char* utf8) { return FromUtf8(utf8); }

}  // namespace qv
