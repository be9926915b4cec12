// Any bytes as a compressed block: the reader either gives exactly the
// stated plain size or raises ElzhException, and reads nothing outside.
#include <cstdint>
#include <cstdlib>

#include "skin/data/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::TMemoryStream src, dst;
  if (size) src.WriteBuffer(data, static_cast<int64_t>(size));
  try {
    qv::UnpackStream(src, dst);
  } catch (const qv::ElzhException&) {
    if (size >= 4) {
      const int32_t plain = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24);
      if (dst.Size() > plain && plain >= 0) std::abort();
    }
    return 0;
  }
  const int32_t plain = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24);
  if (dst.Size() != plain) std::abort();
  // What decodes must pack and decode back to itself.
  qv::TMemoryStream again, back;
  qv::PackStream(dst, again);
  qv::UnpackStream(again, back);
  if (back.Bytes() != dst.Bytes()) std::abort();
  return 0;
}
