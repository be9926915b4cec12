#include "skin/data/BuiltinBitmaps.h"

#include <array>
#include <string_view>

namespace qv {

namespace {

// S silver, G grey, W white: the channel pictures, top row first.
constexpr std::array<std::string_view, 4> kTrack = {"SSGGGGGGGGGGGGWW", "SSWWWWWWWWWWWWWW", "GSWWWWWWWWWWWWWW",
                                                    "SSWWWWWWWWWWWWWW"};
constexpr std::array<std::string_view, 16> kTrackVert = {"SSGS", "SSSS", "GWWW", "GWWW", "GWWW", "GWWW",
                                                         "GWWW", "GWWW", "GWWW", "GWWW", "GWWW", "GWWW",
                                                         "GWWW", "GWWW", "WWWW", "WWWW"};

// The menu glyphs, 16 x 16 each, '#' black.
constexpr std::array<std::string_view, 16> kMenuGlyphs = {
    "................................................................",
    "................................................................",
    "................................................................",
    ".....######.......##########....................................",
    ".....######.......##########....................................",
    ".....#....#.......#........#.........................##....##...",
    "...######.#.......#........#..........................##..##....",
    "...######.#.......#........#...........................####.....",
    "...#....###.......#........#............................##......",
    "...#....#.........#........#...........................####.....",
    "...#....#.........#........#..........######..........##..##....",
    "...#....#.........#........#..........######.........##....##...",
    "...######.........##########....................................",
    "................................................................",
    "................................................................",
    "................................................................"};

// A bottom-up bitmap file of bpp bits per pixel; index(x, y) gives the
// palette index of each pixel.
template <class Index>
std::vector<uint8_t> PaletteFile(int width, int height, int bpp, const std::vector<uint32_t>& palette, Index index) {
  const int stride = static_cast<int>(DibRowBytes(width, bpp));
  std::vector<uint8_t> f = BitmapFileHeaders(width, height, bpp, static_cast<uint32_t>(palette.size()),
                                             static_cast<uint32_t>(stride * height));
  for (uint32_t c : palette) {
    // RGBQUAD: blue, green, red, reserved.
    f.push_back(static_cast<uint8_t>(c >> 16));
    f.push_back(static_cast<uint8_t>(c >> 8));
    f.push_back(static_cast<uint8_t>(c));
    f.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
    for (int x = 0; x < width; ++x) {
      const int bit = x * bpp;
      row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(index(x, y) << (8 - bpp - bit % 8));
    }
    f.insert(f.end(), row.begin(), row.end());
  }
  return f;
}

// The standard 16-colour palette, 0x00BBGGRR.
const std::vector<uint32_t> kVga16 = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

unsigned VgaIndex(char c) { return c == 'S' ? 7 : c == 'G' ? 8 : 15; }

template <size_t N>
std::vector<uint8_t> RowsFile(const std::array<std::string_view, N>& rows) {
  const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(N);
  return PaletteFile(w, h, 4, kVga16,
                     [&](int x, int y) { return VgaIndex(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]); });
}

}  // namespace

std::vector<uint8_t> BuiltinBitmapFile(StringView name) {
  if (SameText(name, u"TRACK")) return RowsFile(kTrack);
  if (SameText(name, u"TRACKVERT")) return RowsFile(kTrackVert);
  if (SameText(name, u"LUSTRANEMENU"))
    return PaletteFile(64, 16, 1, {0x000000, 0xFFFFFF}, [](int x, int y) {
      return kMenuGlyphs[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#' ? 0u : 1u;
    });
  return {};
}

bool LoadBuiltinBitmap(TBitmap& bmp, StringView name) {
  const std::vector<uint8_t> file = BuiltinBitmapFile(name);
  if (file.empty()) return false;
  TMemoryStream s;
  s.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
  s.SetPosition(0);
  bmp.LoadFromStream(s);
  return true;
}

}  // namespace qv
