// Generated inputs shared by the host benchmarks.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace qvbench {

struct Rng {
  uint32_t s;
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
};

inline std::vector<uint8_t> RandomData(size_t size, uint32_t seed) {
  Rng rng{seed};
  std::vector<uint8_t> out(size);
  for (auto& b : out) b = static_cast<uint8_t>(rng.Next() >> 7);
  return out;
}

// Words of a small vocabulary, each followed by a blank: what skin
// descriptions and INI files hold.
inline void AppendWords(std::vector<uint8_t>& out, Rng& rng, int count) {
  static const char* kWords[] = {"skin",  "button", "caption", "border", "colour", "frame", "image",
                                 "left",  "right",  "top",     "bottom", "=",      "0x1F", "255 0 255",
                                 "[Form]", "\r\n",  "Tile",    "Stretch", "menu",  "hover"};
  for (int w = 0; w < count; ++w) {
    const char* word = kWords[rng.Next() % (sizeof kWords / sizeof *kWords)];
    out.insert(out.end(), word, word + std::strlen(word));
    out.push_back(' ');
  }
}

inline std::vector<uint8_t> TextData(size_t size, uint32_t seed) {
  Rng rng{seed};
  std::vector<uint8_t> out;
  out.reserve(size + 64);
  while (out.size() < size) AppendWords(out, rng, 1);
  out.resize(size);
  return out;
}

// Text, a bitmap-like stretch (runs and gradients) and a little noise, in
// turns: roughly what a skin archive holds.
inline std::vector<uint8_t> MixedData(size_t size, uint32_t seed) {
  Rng rng{seed};
  std::vector<uint8_t> out;
  out.reserve(size);
  while (out.size() < size) {
    switch (rng.Next() % 3) {
      case 0:
        AppendWords(out, rng, 200);
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

}  // namespace qvbench
