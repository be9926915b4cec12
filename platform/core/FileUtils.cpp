#include "platform/core/FileUtils.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

fs::path ToPath(StringView s) {
#ifdef _WIN32
  return fs::path(std::wstring(s.begin(), s.end()));
#else
  return fs::path(ToUtf8(s));
#endif
}

bool IsDelim(char16_t c) { return c == u'\\' || c == u'/'; }

size_t LastDelim(StringView path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsDelim(path[i - 1]) || path[i - 1] == u':') return i;
  }
  return 0;
}

}  // namespace

bool FileExists(StringView path) {
  std::error_code ec;
  return fs::is_regular_file(ToPath(path), ec);
}

bool DirectoryExists(StringView path) {
  std::error_code ec;
  return fs::is_directory(ToPath(path), ec);
}

bool ForceDirectories(StringView path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(ToPath(ExcludeTrailingPathDelimiter(path)), ec);
  return DirectoryExists(path);
}

bool RemoveFile(StringView path) {
  std::error_code ec;
  return fs::remove(ToPath(path), ec);
}

String ExtractFilePath(StringView path) { return String(path.substr(0, LastDelim(path))); }

String ExtractFileDir(StringView path) {
  size_t n = LastDelim(path);
  // Keep a root ("C:\" or "/") whole; drop the separator otherwise.
  if (n > 1 && IsDelim(path[n - 1]) && path[n - 2] != u':' && !IsDelim(path[n - 2])) --n;
  return String(path.substr(0, n));
}

String ExtractFileName(StringView path) { return String(path.substr(LastDelim(path))); }

String ExtractFileExt(StringView path) {
  const String name = ExtractFileName(path);
  const size_t dot = name.rfind(u'.');
  return dot == String::npos ? String() : name.substr(dot);
}

String IncludeTrailingPathDelimiter(StringView path) {
  String out(path);
  if (out.empty() || !IsDelim(out.back())) out.push_back(PathDelim);
  return out;
}

String ExcludeTrailingPathDelimiter(StringView path) {
  String out(path);
  while (out.size() > 1 && IsDelim(out.back())) out.pop_back();
  return out;
}

std::vector<uint8_t> ReadFileBytes(StringView path) {
  TFileStream f(path, fmOpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(f.Size()));
  if (!bytes.empty()) f.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

void WriteFileBytes(StringView path, const void* data, size_t size) {
  TFileStream f(path, fmCreate);
  if (size) f.WriteBuffer(data, static_cast<int64_t>(size));
}

}  // namespace qv
