// Throughput of the compressed-block coder on random, text and mixed input,
// beside the coder of the commit named in bench/CMakeLists.txt (built into
// this program under qv::before) when the source tree has that history.
// Both run in turns, best of several rounds, so a busy machine slows both
// alike. Prints figures; fails only when the two code streams differ.
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "skin/data/WinConvert.h"
#if QV_CODER_BEFORE
#include "WinConvertBefore.h"
#endif

using namespace qv;

namespace {

using Coder = void (*)(TStream&, TStream&);

struct Rates {
  double pack = 0, unpack = 0;  // MB/s, best round
  std::vector<uint8_t> code;
  bool roundTrips = true;
};

// Processor time of this (single-threaded) program: other work on a busy
// machine stretches the wall clock but hardly this.
double Seconds(const std::function<void()>& call) {
  const std::clock_t a = std::clock();
  call();
  return static_cast<double>(std::clock() - a) / CLOCKS_PER_SEC;
}

void Round(Coder pack, Coder unpack, const std::vector<uint8_t>& data, Rates& r) {
  TMemoryStream plain, packed, back;
  plain.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  const double mb = static_cast<double>(data.size()) / 1e6;
  r.pack = std::max(r.pack, mb / Seconds([&] { pack(plain, packed); }));
  r.unpack = std::max(r.unpack, mb / Seconds([&] { unpack(packed, back); }));
  r.code = packed.Bytes();
  r.roundTrips = r.roundTrips && back.Bytes() == data;
}

bool Measure(const char* label, const std::vector<uint8_t>& data, int rounds) {
  Rates now;
#if QV_CODER_BEFORE
  Rates before;
  for (int i = 0; i < rounds; ++i) {
    Round(before::PackStream, before::UnpackStream, data, before);
    Round(PackStream, UnpackStream, data, now);
  }
  const bool same = before.code == now.code;
  std::printf("%-14s %5.1f %%  pack %6.1f -> %6.1f MB/s (%.2fx)  unpack %6.1f -> %6.1f MB/s (%.2fx)  aim 1.50x%s%s\n",
              label, 100.0 * static_cast<double>(now.code.size()) / static_cast<double>(data.size()), before.pack,
              now.pack, now.pack / before.pack, before.unpack, now.unpack, now.unpack / before.unpack,
              same ? "" : "  CODE DIFFERS", now.roundTrips ? "" : "  MISMATCH");
  return same && now.roundTrips;
#else
  for (int i = 0; i < rounds; ++i) Round(PackStream, UnpackStream, data, now);
  std::printf("%-14s %5.1f %%  pack %6.1f MB/s  unpack %6.1f MB/s  (no earlier coder to compare)%s\n", label,
              100.0 * static_cast<double>(now.code.size()) / static_cast<double>(data.size()), now.pack, now.unpack,
              now.roundTrips ? "" : "  MISMATCH");
  return now.roundTrips;
#endif
}

}  // namespace

// "--small [random|text|mixed]": a sixteenth of the data, one round, one
// input or all (for callgrind).
int main(int argc, char** argv) {
  const bool small = argc > 1 && std::string(argv[1]) == "--small";
  const std::string only = small && argc > 2 ? argv[2] : "";
  auto run = [&](const char* name) { return only.empty() || only == name; };
  const size_t k = small ? 64 * 1024 : 1024 * 1024;
  const int rounds = small ? 1 : 3;
  std::printf("block coder, Release, processor time, best of %d round(s)%s:\n", rounds,
              QV_CODER_BEFORE ? ", earlier -> now in turns" : "");
  bool ok = true;
  if (run("random")) ok = Measure(small ? "random 64 KiB" : "random 1 MiB", qvbench::RandomData(k, 7), rounds) && ok;
  if (run("text")) ok = Measure(small ? "text 256 KiB" : "text 4 MiB", qvbench::TextData(4 * k, 8), rounds) && ok;
  if (run("mixed")) ok = Measure(small ? "mixed 1 MiB" : "mixed 16 MiB", qvbench::MixedData(16 * k, 2), rounds) && ok;
  return ok ? 0 : 1;
}
