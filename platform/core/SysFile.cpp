#include "platform/core/SysFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv {

#ifdef _WIN32

TSysFile::TSysFile(StringView path, TOpenMode mode) {
  const String name(path);
  DWORD access = GENERIC_READ | GENERIC_WRITE, disposition = OPEN_EXISTING;
  if (mode == omCreate) disposition = CREATE_ALWAYS;
  if (mode == omCreateNew) disposition = CREATE_NEW;
  if (mode == omRead) access = GENERIC_READ;
  if (mode == omWrite) access = GENERIC_WRITE;
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE, flags = FILE_ATTRIBUTE_NORMAL;
  if (mode == omLock) {
    // Wine and Windows both refuse any further open while this handle lives.
    // The file goes with the handle; one left behind (a power cut) holds
    // nothing, and the next holder takes it over.
    disposition = OPEN_ALWAYS;
    share = 0;
    flags |= FILE_FLAG_DELETE_ON_CLOSE;
  }
  handle_ = CreateFileW(reinterpret_cast<const wchar_t*>(name.c_str()), access, share, nullptr, disposition, flags,
                        nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) Fail();
}

bool TSysFile::HeldElsewhere() const { return !IsOpen() && error_ == ERROR_SHARING_VIOLATION; }

TSysFile::~TSysFile() { Close(); }

bool TSysFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool TSysFile::Fail() {
  error_ = GetLastError();
  return false;
}

int64_t TSysFile::Read(void* buffer, int64_t count) {
  DWORD got = 0;
  const DWORD want = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30));
  if (!IsOpen() || count <= 0 || !ReadFile(handle_, buffer, want, &got, nullptr)) return Fail(), 0;
  return got;
}

int64_t TSysFile::Write(const void* buffer, int64_t count) {
  const char* at = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (IsOpen() && done < count) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
    if (!WriteFile(handle_, at + done, chunk, &put, nullptr)) return Fail(), done;
    if (put == 0) {
      error_ = ERROR_DISK_FULL;  // nothing taken and no reason given
      return done;
    }
    done += put;
  }
  return done;
}

int64_t TSysFile::Seek(int64_t offset, int whence) {
  LARGE_INTEGER to, now;
  to.QuadPart = offset;
  const DWORD method = whence == SEEK_SET ? FILE_BEGIN : whence == SEEK_CUR ? FILE_CURRENT : FILE_END;
  if (!IsOpen() || !SetFilePointerEx(handle_, to, &now, method)) return Fail(), -1;
  return now.QuadPart;
}

bool TSysFile::SetSize(int64_t size) {
  const int64_t at = Seek(0, SEEK_CUR);
  if (at < 0 || Seek(size, SEEK_SET) < 0) return false;
  const bool ok = SetEndOfFile(handle_) || Fail();
  Seek(at, SEEK_SET);
  return ok;
}

bool TSysFile::Flush() { return IsOpen() && (FlushFileBuffers(handle_) || Fail()); }

bool TSysFile::Close() {
  if (!IsOpen()) return true;
  const bool ok = CloseHandle(handle_) || Fail();
  handle_ = INVALID_HANDLE_VALUE;
  return ok;
}

#else

TSysFile::TSysFile(StringView path, TOpenMode mode) {
  int flags = O_RDWR;
  if (mode == omCreate) flags |= O_CREAT | O_TRUNC;
  if (mode == omCreateNew) flags |= O_CREAT | O_EXCL;
  if (mode == omRead) flags = O_RDONLY;
  if (mode == omWrite) flags = O_WRONLY;
  if (mode == omLock) flags |= O_CREAT;
  fd_ = open(ToUtf8(path).c_str(), flags | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    Fail();
  } else if (mode == omLock && flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    // The file stays: removing it here could take it from under the next
    // holder.
    Fail();
    close(fd_);
    fd_ = -1;
  }
}

bool TSysFile::HeldElsewhere() const { return !IsOpen() && error_ == EWOULDBLOCK; }

TSysFile::~TSysFile() { Close(); }

bool TSysFile::IsOpen() const { return fd_ >= 0; }

bool TSysFile::Fail() {
  error_ = static_cast<uint32_t>(errno);
  return false;
}

int64_t TSysFile::Read(void* buffer, int64_t count) {
  if (!IsOpen() || count <= 0) return 0;
  ssize_t got;
  do got = read(fd_, buffer, static_cast<size_t>(std::min<int64_t>(count, 1 << 30)));
  while (got < 0 && errno == EINTR);
  return got < 0 ? (Fail(), 0) : got;
}

int64_t TSysFile::Write(const void* buffer, int64_t count) {
  const char* at = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (IsOpen() && done < count) {
    const ssize_t put = write(fd_, at + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return Fail(), done;
    if (put == 0) {
      error_ = ENOSPC;
      return done;
    }
    done += put;
  }
  return done;
}

int64_t TSysFile::Seek(int64_t offset, int whence) {
  const off_t at = IsOpen() ? lseek(fd_, offset, whence) : -1;
  return at < 0 ? (Fail(), -1) : at;
}

bool TSysFile::SetSize(int64_t size) { return IsOpen() && (ftruncate(fd_, size) == 0 || Fail()); }

bool TSysFile::Flush() { return IsOpen() && (fsync(fd_) == 0 || Fail()); }

bool TSysFile::Close() {
  if (!IsOpen()) return true;
  const bool ok = close(fd_) == 0 || Fail();
  fd_ = -1;
  return ok;
}

#endif

}  // namespace qv
