// Skin archives from any bytes. An even first byte: the rest is a stored
// archive (a compressed block). An odd one: the rest is the plain data,
// packed here first, so the directory checks get exercised.
#include <cstdint>
#include <cstdlib>

#include "platform/core/Dialogs.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (qv::SetMessageBoxHandler([](qv::StringView, qv::StringView, unsigned) { return 1; }), true);
  (void)quiet;
  if (size == 0) return 0;
  qv::TMemoryStream block;
  if (data[0] & 1) {
    qv::TMemoryStream plain;
    if (size > 1) plain.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
    qv::PackStream(plain, block);
  } else if (size > 1) {
    block.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
  }
  qv::TSkinReader reader;
  try {
    if (!reader.Loadfromstream(block)) {
      if (reader.Num != 0 || reader.ms->Size() != 0) std::abort();
      return 0;
    }
  } catch (const qv::ElzhException&) {
    return 0;
  }
  if (reader.Num < 0 || reader.Num > qv::kSkinMaxMembers || reader.Dir->Count() != reader.Num) std::abort();
  qv::TMemoryStream member;
  qv::String name;
  reader.readIni(u".ini", member, name);
  int64_t total = 0;
  for (int i = 0; i < reader.Num; ++i) {
    reader.readfile(reader.Dir->Get(i), member);
    total += reader.sizes[static_cast<size_t>(i)];
  }
  if (total > reader.ms->Size()) std::abort();
  return 0;
}
