#include "platform/core/FileUtils.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
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

bool WriteNewFileBytes(StringView path, const void* data, size_t size) {
  const String name(path);
#ifdef _WIN32
  const int fd = _wopen(reinterpret_cast<const wchar_t*>(name.c_str()), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
#else
  const int fd = open(ToUtf8(name).c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
#endif
  if (fd < 0) return false;
  const char* at = static_cast<const char*>(data);
  bool ok = true;
  for (size_t left = size; ok && left;) {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(left, size_t{1} << 30));
#ifdef _WIN32
    const int n = _write(fd, at, chunk);
#else
    const auto n = write(fd, at, chunk);
#endif
    ok = n > 0;
    if (ok) at += n, left -= static_cast<size_t>(n);
  }
#ifdef _WIN32
  ok = _close(fd) == 0 && ok;
#else
  ok = close(fd) == 0 && ok;
#endif
  if (!ok) throw EWriteError(u"Stream write error");
  return true;
}

}  // namespace qv
