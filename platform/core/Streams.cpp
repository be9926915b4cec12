#include "platform/core/Streams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/core/Exceptions.h"
#include "platform/core/SysError.h"

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
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(WriteErrorMessage());
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

TFileStream::TFileStream(StringView fileName, TFileMode mode)
    : fileName_(fileName),
      file_(fileName, mode == fmCreate       ? TSysFile::omCreate
                      : mode == fmOpenRead  ? TSysFile::omRead
                      : mode == fmOpenWrite ? TSysFile::omWrite
                                            : TSysFile::omReadWrite) {
  if (!file_.IsOpen()) {
    // The reason goes with the name: a failed backup shows only this text.
    if (mode == fmCreate) throw EFCreateError(FileErrorMessage(u"Cannot create file", fileName_, file_.Error()));
    throw EFOpenError(FileErrorMessage(u"Cannot open file", fileName_, file_.Error()));
  }
}

int64_t TFileStream::Read(void* buffer, int64_t count) { return file_.Read(buffer, count); }

int64_t TFileStream::Write(const void* buffer, int64_t count) { return count <= 0 ? 0 : file_.Write(buffer, count); }

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  return file_.Seek(offset, origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END);
}

void TFileStream::SetSize(int64_t newSize) {
  if (!file_.SetSize(newSize)) throw EWriteError(WriteErrorMessage());
}

String TFileStream::WriteErrorMessage() const { return FileErrorMessage(u"Cannot write to file", fileName_, file_.Error()); }

}  // namespace qv
