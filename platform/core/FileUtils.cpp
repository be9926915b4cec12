#include "platform/core/FileUtils.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/core/SysError.h"
#include "platform/core/SysFile.h"

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

#ifdef _WIN32
const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// Whether the folder holds an entry of exactly this name. Wine stores a name
// that its file system cannot hold cut short, and then finds the cut file
// under the long name too; only a search of the folder tells the two apart.
bool HasEntryNamed(StringView path) {
  const String name(path);
  WIN32_FIND_DATAW found;
  const HANDLE h = FindFirstFileW(W(name), &found);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  const String want = ExtractFileName(path);
  return CompareStringOrdinal(found.cFileName, -1, W(want), static_cast<int>(want.size()), TRUE) == CSTR_EQUAL;
}

bool MakeFolder(const String& path, uint32_t& code) {
  if (CreateDirectoryW(W(path), nullptr)) return true;
  code = GetLastError();
  return false;
}

bool MoveReplacing(const String& from, const String& to, uint32_t& code) {
  if (MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  code = GetLastError();
  return false;
}

bool MoveNotReplacing(const String& from, const String& to, uint32_t& code) {
  if (MoveFileExW(W(from), W(to), MOVEFILE_WRITE_THROUGH)) return true;
  code = GetLastError();
  return false;
}

// Why a new file could not be put under its name: the name is taken, the
// file system refuses the name (Wine answers a name over its limit with "not
// found" or, when the cut name exists, "exists"), or another reason, which
// is thrown.
TNewFileResult CreateNewFailure(StringView path, uint32_t code) {
  if (HasEntryNamed(path)) return TNewFileResult::Taken;
  switch (code) {
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return TNewFileResult::NameTooLong;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      if (DirectoryExists(ExtractFileDir(path))) return TNewFileResult::NameTooLong;
      break;
  }
  throw EFCreateError(FileErrorMessage(u"Cannot create file", path, code));
}

bool CreatedUnderItsName(StringView path) { return HasEntryNamed(path); }
#else
bool MakeFolder(const String& path, uint32_t& code) {
  if (mkdir(ToUtf8(path).c_str(), 0777) == 0) return true;
  code = static_cast<uint32_t>(errno);
  return false;
}

bool MoveReplacing(const String& from, const String& to, uint32_t& code) {
  if (std::rename(ToUtf8(from).c_str(), ToUtf8(to).c_str()) == 0) return true;
  code = static_cast<uint32_t>(errno);
  return false;
}

// A second link fails when the name is taken, which a rename would not.
bool MoveNotReplacing(const String& from, const String& to, uint32_t& code) {
  if (link(ToUtf8(from).c_str(), ToUtf8(to).c_str()) != 0) {
    code = static_cast<uint32_t>(errno);
    return false;
  }
  unlink(ToUtf8(from).c_str());
  return true;
}

TNewFileResult CreateNewFailure(StringView path, uint32_t code) {
  if (code == EEXIST) return TNewFileResult::Taken;
  if (code == ENAMETOOLONG) return TNewFileResult::NameTooLong;
  throw EFCreateError(FileErrorMessage(u"Cannot create file", path, code));
}

bool CreatedUnderItsName(StringView) { return true; }
#endif

// Writes the whole of a new file at path, made durable; on a failure the
// system's code is in code and what was written is removed.
bool WriteDurably(const String& path, const void* data, size_t size, uint32_t& code) {
  bool ok;
  {
    TSysFile f(path, TSysFile::omCreate);
    ok = f.IsOpen() && f.Write(data, static_cast<int64_t>(size)) == static_cast<int64_t>(size) && f.Flush() && f.Close();
    if (!ok) code = f.Error();
  }
  if (!ok) RemoveFile(path);
  return ok;
}

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

void CreateFolders(StringView path) {
  const String dir = ExcludeTrailingPathDelimiter(path);
  if (dir.empty() || DirectoryExists(dir)) return;
  const String parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir) CreateFolders(parent);
  uint32_t code = 0;
  if (!MakeFolder(dir, code) && !DirectoryExists(dir)) {
    throw EInOutError(FileErrorMessage(u"Cannot create folder", dir, code));
  }
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

TNewFileResult WriteNewFileBytes(StringView path, StringView tempPath, const void* data, size_t size) {
  const String target(path), temp(tempPath);
  uint32_t code = 0;
  if (!WriteDurably(temp, data, size, code)) throw EWriteError(FileErrorMessage(u"Cannot write to file", target, code));
  if (!MoveNotReplacing(temp, target, code)) {
    RemoveFile(temp);
    return CreateNewFailure(target, code);
  }
  if (!CreatedUnderItsName(target)) {
    RemoveFile(target);
    return TNewFileResult::NameTooLong;
  }
  return TNewFileResult::Written;
}

void ReplaceFileBytes(StringView path, const void* data, size_t size) {
  const String target(path);
  const String temp = target + u".tmp";
  uint32_t code = 0;
  if (!WriteDurably(temp, data, size, code) || !MoveReplacing(temp, target, code)) {
    RemoveFile(temp);
    throw EWriteError(FileErrorMessage(u"Cannot write to file", target, code));
  }
}

}  // namespace qv
