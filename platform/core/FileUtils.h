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
// The same, but a folder that cannot be made throws EInOutError naming that
// folder and the system's reason.
void CreateFolders(StringView path);
bool RemoveFile(StringView path);

// "C:\a\b.txt" -> "C:\a\" ; ExtractFileDir -> "C:\a" ; ExtractFileName -> "b.txt"
String ExtractFilePath(StringView path);
String ExtractFileDir(StringView path);
String ExtractFileName(StringView path);
String ExtractFileExt(StringView path);
String IncludeTrailingPathDelimiter(StringView path);
String ExcludeTrailingPathDelimiter(StringView path);

// Whole-file reads and writes; they throw EFOpenError / EFCreateError /
// EWriteError naming the file and the system's reason.
std::vector<uint8_t> ReadFileBytes(StringView path);
void WriteFileBytes(StringView path, const void* data, size_t size);

// Writes a file that does not exist yet: the bytes go to tempPath (on the
// same volume, replaced when it exists), and the file, once whole and on
// disk, is moved under its name unless that is taken. So a process that is
// killed on the way leaves at most tempPath behind, never a part of the file
// under its name.
enum class TNewFileResult {
  Written,
  Taken,        // a file or folder has exactly this name; nothing written
  NameTooLong,  // the file system refuses the name; nothing left behind
};
// A name the file system cannot hold is reported as NameTooLong also where
// the system would store it cut short (Wine on a file system with a 255-byte
// limit). A write that fails throws EWriteError, other failures to put the
// file in place EFCreateError, both naming path; neither leaves a file behind.
TNewFileResult WriteNewFileBytes(StringView path, StringView tempPath, const void* data, size_t size);

// Puts a complete new file in the place of path: the bytes go to a new file
// beside it, which then replaces path in one step, so that path is always
// either the old file, whole, or the new one. Throws EWriteError naming path
// and the system's reason, with the old file untouched and nothing else left.
void ReplaceFileBytes(StringView path, const void* data, size_t size);

}  // namespace qv
