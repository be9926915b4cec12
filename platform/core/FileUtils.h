// File and folder helpers in the manner of the run-time library. Paths are
// UTF-16 text; both '\' and '/' separate folders when a path is taken apart.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/UString.h"

namespace qv {

#ifdef _WIN32
inline constexpr char16_t PathDelim = u'\\';
#else
inline constexpr char16_t PathDelim = u'/';
#endif

bool FileExists(StringView path);
bool DirectoryExists(StringView path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(StringView path);
bool RemoveFile(StringView path);

// "C:\a\b.txt" -> "C:\a\" ; ExtractFileDir -> "C:\a" ; ExtractFileName -> "b.txt"
String ExtractFilePath(StringView path);
String ExtractFileDir(StringView path);
String ExtractFileName(StringView path);
String ExtractFileExt(StringView path);
String IncludeTrailingPathDelimiter(StringView path);
String ExcludeTrailingPathDelimiter(StringView path);

// Whole-file reads and writes; they throw EFOpenError / EFCreateError.
std::vector<uint8_t> ReadFileBytes(StringView path);
void WriteFileBytes(StringView path, const void* data, size_t size);
// Writes a file that does not exist yet, in one open: false, with nothing
// written, when the name is taken or the file cannot be created; throws
// EWriteError when the file was made but the bytes did not all go in.
bool WriteNewFileBytes(StringView path, const void* data, size_t size);

}  // namespace qv
