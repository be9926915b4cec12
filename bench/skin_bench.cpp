// Throughput of the compressed-block coder and the time to read a skin
// archive from its stored bytes to its members. Prints figures; no limits.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"

using namespace qv;
using Clock = std::chrono::steady_clock;

namespace {

struct Rng {
  uint32_t s;
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
};

// Text from a small vocabulary, a bitmap-like stretch (runs and gradients)
// and a little noise, in turns: roughly what skins and INI files hold.
std::vector<uint8_t> MixedData(size_t size, uint32_t seed) {
  static const char* kWords[] = {"skin",  "button", "caption", "border", "colour", "frame", "image",
                                 "left",  "right",  "top",     "bottom", "=",      "0x1F", "255 0 255",
                                 "[Form]", "\r\n",  "Tile",    "Stretch", "menu",  "hover"};
  Rng rng{seed};
  std::vector<uint8_t> out;
  out.reserve(size);
  while (out.size() < size) {
    switch (rng.Next() % 3) {
      case 0:
        for (int w = 0; w < 200; ++w) {
          const char* word = kWords[rng.Next() % (sizeof kWords / sizeof *kWords)];
          out.insert(out.end(), word, word + std::strlen(word));
          out.push_back(' ');
        }
        break;
      case 1: {
        uint8_t px[3] = {static_cast<uint8_t>(rng.Next()), static_cast<uint8_t>(rng.Next()), 255};
        for (int i = 0; i < 1200; ++i) {
          if (rng.Next() % 16 == 0) px[rng.Next() % 3] += static_cast<uint8_t>(rng.Next() % 5);
          out.insert(out.end(), px, px + 3);
        }
        break;
      }
      default:
        for (int i = 0; i < 256; ++i) out.push_back(static_cast<uint8_t>(rng.Next()));
        break;
    }
  }
  out.resize(size);
  return out;
}

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void Coder(const char* label, const std::vector<uint8_t>& data, int rounds) {
  TMemoryStream plain;
  plain.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  TMemoryStream packed;
  auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    packed.Clear();
    PackStream(plain, packed);
  }
  auto t1 = Clock::now();
  TMemoryStream back;
  for (int i = 0; i < rounds; ++i) {
    back.Clear();
    UnpackStream(packed, back);
  }
  auto t2 = Clock::now();
  const double mb = static_cast<double>(data.size()) * rounds / 1e6;
  std::printf("%-28s %9zu bytes -> %9lld (%.1f %%)  pack %7.1f MB/s  unpack %7.1f MB/s%s\n", label, data.size(),
              static_cast<long long>(packed.Size()), 100.0 * static_cast<double>(packed.Size()) / data.size(),
              mb / Seconds(t0, t1), mb / Seconds(t1, t2), back.Bytes() == data ? "" : "  MISMATCH");
}

void ArchiveRead() {
  // 34 bitmaps and one description, about the size of the program's own skin.
  std::vector<TSkinMember> members;
  Rng rng{99};
  for (int i = 0; i < 34; ++i) {
    TSkinMember m;
    m.name = u"part" + IntToStr(i) + u".bmp";
    const std::vector<uint8_t> px = MixedData(7400, rng.Next());
    m.bytes.assign(54, 0);
    m.bytes[0] = 'B', m.bytes[1] = 'M';
    m.bytes.insert(m.bytes.end(), px.begin(), px.end());
    members.push_back(std::move(m));
  }
  TSkinMember ini;
  ini.name = u"skin.ini";
  const std::vector<uint8_t> text = MixedData(3382, 5);
  ini.bytes.assign(text.begin(), text.end());
  members.push_back(ini);
  TMemoryStream archive;
  WriteSkinArchive(70000, members, archive);

  const int rounds = 50;
  size_t got = 0;
  auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    TSkinReader reader;
    reader.Loadfromstream(archive);
    TMemoryStream member;
    String name;
    reader.readIni(u".ini", member, name);
    got += static_cast<size_t>(member.Size());
    for (int k = 0; k < 34; ++k) {
      reader.readfile(members[static_cast<size_t>(k)].name, member);
      got += static_cast<size_t>(member.Size());
    }
  }
  auto t1 = Clock::now();
  std::printf("skin archive (35 members, %lld stored bytes, %zu member bytes): %.2f ms per read\n",
              static_cast<long long>(archive.Size()), got / rounds, 1000.0 * Seconds(t0, t1) / rounds);
}

}  // namespace

int main() {
  Coder("256 KiB mixed", MixedData(256 * 1024, 1), 8);
  Coder("16 MiB generated", MixedData(16 * 1024 * 1024, 2), 1);
  ArchiveRead();
  return 0;
}
