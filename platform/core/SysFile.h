// A file of the operating system, opened by name: the one place where the
// file functions of the system are called, so that every writer gets the
// same answer to "did all of the bytes go in, and if not, why not".
#pragma once
#include <cstdint>

#include "platform/core/UString.h"

namespace qv {

class TSysFile {
 public:
  enum TOpenMode {
    omCreate,     // a new empty file, replacing one of the same name
    omCreateNew,  // a new empty file; fails when the name is taken
    omRead,
    omWrite,
    omReadWrite,
    // A lock file: created when missing and held by this handle alone, so
    // that another omLock open of it, in this or any other process, fails
    // while this one lives (HeldElsewhere). On Windows it goes when closed.
    omLock,
  };

  TSysFile(StringView path, TOpenMode mode);
  ~TSysFile();
  TSysFile(const TSysFile&) = delete;
  TSysFile& operator=(const TSysFile&) = delete;

  bool IsOpen() const;
  // The system's code of the last failure (a Windows error code, an errno
  // value on the host).
  uint32_t Error() const { return error_; }
  // Whether an omLock open failed because another handle holds the file.
  bool HeldElsewhere() const;

  // Bytes read; 0 at the end or on a failure.
  int64_t Read(void* buffer, int64_t count);
  // Goes on until every byte is in: a disk that fills takes part of a write
  // and refuses the rest. Less than count only after a failure.
  int64_t Write(const void* buffer, int64_t count);
  // The new position, or -1.
  int64_t Seek(int64_t offset, int whence);
  // Cuts or extends the file; the position stays where it was.
  bool SetSize(int64_t size);
  // Makes the bytes written so far durable.
  bool Flush();
  // Closes the file; false when the system reports a failure on the way.
  bool Close();

 private:
  bool Fail();
#ifdef _WIN32
  void* handle_;
#else
  int fd_ = -1;
#endif
  uint32_t error_ = 0;
};

}  // namespace qv
