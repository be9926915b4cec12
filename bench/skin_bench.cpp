// The time to read a skin archive from its stored bytes to its members.
// Prints figures; no limits. (The coder alone: coder_bench.)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinConvert.h"

using namespace qv;
using Clock = std::chrono::steady_clock;
using qvbench::MixedData;
using qvbench::Rng;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

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
  ArchiveRead();
  return 0;
}
