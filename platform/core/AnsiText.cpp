#include "platform/core/AnsiText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv {

#ifdef _WIN32
String CodePageToText(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return String();
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return String();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
  return String(wide.begin(), wide.end());
}

std::string TextToCodePage(unsigned codePage, StringView text, const char* defaultChar) {
  if (text.empty()) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, 0, wide, size, nullptr, 0, defaultChar, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide, size, out.data(), n, defaultChar, nullptr);
  return out;
}

String AnsiToText(std::string_view bytes) { return CodePageToText(CP_ACP, bytes); }

std::string TextToAnsi(StringView text) { return TextToCodePage(CP_ACP, text, "?"); }
#else
String AnsiToText(std::string_view bytes) { return FromLatin1(bytes); }

std::string TextToAnsi(StringView text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}
#endif

}  // namespace qv
