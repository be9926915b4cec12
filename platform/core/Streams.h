// Byte streams of the class library: an abstract stream, a growable memory
// stream and a file stream. ReadBuffer/WriteBuffer throw when short.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/core/SysFile.h"
#include "platform/core/UString.h"

namespace qv {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t newSize) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source's position; count 0 copies all of source
  // from its start. Returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);

 protected:
  // What WriteBuffer says when Write fell short.
  virtual String WriteErrorMessage() const { return u"Stream write error"; }
};

class TMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void Clear();
  void LoadFromStream(TStream& source);
  void SaveToStream(TStream& dest);
  void LoadFromFile(StringView fileName);
  void SaveToFile(StringView fileName);

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

enum TFileMode { fmCreate, fmOpenRead, fmOpenWrite, fmOpenReadWrite };

// Every write goes to the system at once: the bytes are in the file when
// Write returns, or WriteBuffer throws naming the file and the system's
// reason.
class TFileStream : public TStream {
 public:
  TFileStream(StringView fileName, TFileMode mode);
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  const String& FileName() const { return fileName_; }

 protected:
  String WriteErrorMessage() const override;

 private:
  String fileName_;
  TSysFile file_;
};

}  // namespace qv
