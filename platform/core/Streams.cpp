#include "platform/core/Streams.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#endif

#include "platform/core/Exceptions.h"
#include "platform/core/SysError.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qv {

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(u"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const int64_t total = count;
  uint8_t buf[65536];
  while (count > 0) {
    const int64_t n = std::min<int64_t>(count, sizeof buf);
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    count -= n;
  }
  return total;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  const int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t newSize) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(0, newSize)));
  if (position_ > Size()) position_ = Size();
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const int64_t n = source.Size();
  SetSize(n);
  if (n) source.ReadBuffer(data_.data(), n);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
  if (!data_.empty()) dest.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(StringView fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(StringView fileName) {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

TFileStream::TFileStream(StringView fileName, TFileMode mode) : fileName_(fileName) {
#ifdef _WIN32
  const wchar_t* how = mode == fmCreate ? L"w+b" : mode == fmOpenRead ? L"rb" : L"r+b";
  file_ = _wfopen(reinterpret_cast<const wchar_t*>(fileName_.c_str()), how);
#else
  const char* how = mode == fmCreate ? "w+b" : mode == fmOpenRead ? "rb" : "r+b";
  file_ = std::fopen(ToUtf8(fileName_).c_str(), how);
#endif
  if (!file_) {
    // The reason goes with the name: a failed backup shows only this text.
    if (mode == fmCreate) {
      throw EFCreateError(u"Cannot create file \"" + fileName_ + u"\". " + SysErrorMessage(LastFileError()));
    }
    throw EFOpenError(u"Cannot open file \"" + fileName_ + u"\"");
  }
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  std::fseek(file_, 0, SEEK_CUR);  // required between a write and a read
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  std::fseek(file_, 0, SEEK_CUR);
  const auto n = static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
  std::fflush(file_);
  return n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  _fseeki64(file_, offset, whence);
  return _ftelli64(file_);
#else
  fseeko(file_, offset, whence);
  return ftello(file_);
#endif
}

void TFileStream::SetSize(int64_t newSize) {
  std::fflush(file_);
#ifdef _WIN32
  if (_chsize_s(_fileno(file_), newSize) != 0) throw EWriteError(u"Stream write error");
#else
  if (ftruncate(fileno(file_), newSize) != 0) throw EWriteError(u"Stream write error");
#endif
}

}  // namespace qv
