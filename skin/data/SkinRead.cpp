#include "skin/data/SkinRead.h"

#include <cstring>

#include "platform/core/AnsiText.h"
#include "platform/core/Dialogs.h"
#include "platform/core/FileUtils.h"
#include "skin/data/WinConvert.h"

namespace qv {

namespace {

int32_t ReadInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

}  // namespace

int SkinVersionSkip(int32_t version) {
  switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
  }
}

TSkinReader::TSkinReader() : Dir(new TStringList), ms(new TMemoryStream) {}

TSkinReader::~TSkinReader() {
  delete Dir;
  delete ms;
}

void TSkinReader::Decompress(TStream& source, TStream& Dest) {
  TLZH lzh;
  lzh.UnpackStream(source, Dest);
}

bool TSkinReader::Loadfromstream(TStream& source) {
  TMemoryStream plain;
  Decompress(source, plain);
  const uint8_t* p = plain.Memory();
  const int64_t size = plain.Size();
  if (size < 16) return false;

  TSkinHeader h;
  h.Version = ReadInt32(p);
  h.DirLen = ReadInt32(p + 4);
  h.U1 = ReadInt32(p + 8);
  h.U2 = ReadInt32(p + 12);
  const int skip = SkinVersionSkip(h.Version);
  if (skip < 0) {
    ShowMessage(kOlderSkinMessage);
    return false;
  }

  // Every part must lie inside the plain data; all sums in 64 bits.
  int64_t at = 16 + skip;
  if (at > size || h.DirLen < 0 || h.DirLen > size - at) return false;
  TStringList names;
  names.SetText(
      LowerCase(AnsiToText(std::string_view(reinterpret_cast<const char*>(p + at), static_cast<size_t>(h.DirLen)))));
  at += h.DirLen;
  const int count = names.Count();
  if (count > kSkinMaxMembers || int64_t{4} * count > size - at) return false;
  std::array<int32_t, kSkinMaxMembers> newSizes{};
  int64_t total = 0;
  for (int i = 0; i < count; ++i) {
    newSizes[static_cast<size_t>(i)] = ReadInt32(p + at + 4 * i);
    if (newSizes[static_cast<size_t>(i)] < 0) return false;
    total += newSizes[static_cast<size_t>(i)];
  }
  at += int64_t{4} * count;
  if (total > size - at) return false;

  header = h;
  Dir->Assign(names);
  Num = count;
  sizes = newSizes;
  ms->Clear();
  if (size > at) ms->WriteBuffer(p + at, size - at);
  return true;
}

bool TSkinReader::loadfromfile(StringView aname) {
  if (!FileExists(aname)) return false;
  TMemoryStream data;
  data.LoadFromFile(aname);
  return Loadfromstream(data);
}

void TSkinReader::CopyMember(int index, TMemoryStream& stream) const {
  int64_t start = 0;
  for (int i = 0; i < index; ++i) start += sizes[static_cast<size_t>(i)];
  const int32_t n = sizes[static_cast<size_t>(index)];
  if (n > 0) stream.WriteBuffer(ms->Memory() + start, n);
  stream.SetPosition(0);
}

void TSkinReader::readfile(StringView aname, TMemoryStream& stream) {
  stream.Clear();
  const String wanted = LowerCase(aname);
  for (int i = 0; i < Num; ++i) {
    if (Dir->Get(i) == wanted) {
      CopyMember(i, stream);
      return;
    }
  }
}

void TSkinReader::readIni(StringView aname, TMemoryStream& stream, String& fname) {
  stream.Clear();
  for (int i = 0; i < Num; ++i) {
    const String name = Dir->Get(i);
    if (Pos(aname, name) > 0) {
      CopyMember(i, stream);
      fname = name;
      return;
    }
  }
}

}  // namespace qv
