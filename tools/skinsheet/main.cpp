// skinsheet: loads a skin archive the way the program does and draws every
// element and each of its state frames onto one PNG contact sheet, with a
// small window frame assembled from the borders and caption buttons, so the
// artwork can be judged before any window paints it.
//
//   skinsheet ARCHIVE OUT.png
//
// Frames are shown at twice their size, split by thin gaps; see-through
// (magenta) pixels show as a grey checkerboard.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/Dialogs.h"
#include "platform/core/FileUtils.h"
#include "skin/data/CustomSkinData.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinImage.h"

namespace {

using namespace qv;

// ---- PNG: stored deflate blocks are enough for a development picture.
uint32_t Crc(const uint8_t* p, size_t n, uint32_t c = 0xFFFFFFFFu) {
  static uint32_t table[256];
  if (!table[1])
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t v = i;
      for (int k = 0; k < 8; ++k) v = v & 1 ? 0xEDB88320u ^ (v >> 1) : v >> 1;
      table[i] = v;
    }
  for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c;
}
void Be32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}
void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  Be32(out, uint32_t(body.size()));
  std::vector<uint8_t> t(type, type + 4);
  t.insert(t.end(), body.begin(), body.end());
  out.insert(out.end(), t.begin(), t.end());
  Be32(out, Crc(t.data(), t.size()) ^ 0xFFFFFFFFu);
}
std::vector<uint8_t> Png(const TBitmap& b) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < b.Height(); ++y) {
    raw.push_back(0);
    const uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x) raw.insert(raw.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    z.push_back(at + n >= raw.size() ? 1 : 0);
    z.insert(z.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    if (raw.empty()) break;
  }
  uint32_t a = 1, s = 0;
  for (uint8_t c : raw) a = (a + c) % 65521, s = (s + a) % 65521;
  Be32(z, (s << 16) | a);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  Be32(ihdr, uint32_t(b.Width()));
  Be32(ihdr, uint32_t(b.Height()));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

// ---- a 3 x 5 font for labels
const char* Glyph(char c) {
  switch (c) {
    case 'A': return "010101111101101"; case 'B': return "110101110101110"; case 'C': return "011100100100011";
    case 'D': return "110101101101110"; case 'E': return "111100110100111"; case 'F': return "111100110100100";
    case 'G': return "011100101101011"; case 'H': return "101101111101101"; case 'I': return "111010010010111";
    case 'J': return "001001001101010"; case 'K': return "101101110101101"; case 'L': return "100100100100111";
    case 'M': return "101111111101101"; case 'N': return "110101101101101"; case 'O': return "010101101101010";
    case 'P': return "110101110100100"; case 'Q': return "010101101110011"; case 'R': return "110101110101101";
    case 'S': return "011100010001110"; case 'T': return "111010010010010"; case 'U': return "101101101101111";
    case 'V': return "101101101101010"; case 'W': return "101101111111101"; case 'X': return "101101010101101";
    case 'Y': return "101101010010010"; case 'Z': return "111001010100111"; case '0': return "111101101101111";
    case '1': return "010110010010111"; case '2': return "110001010100111"; case '3': return "110001010001110";
    case '4': return "101101111001001"; case '5': return "111100110001110"; case '6': return "011100111101111";
    case '7': return "111001010010010"; case '8': return "111101111101111"; case '9': return "111101111001110";
    case '.': return "000000000000010"; case '-': return "000000111000000"; case 'x': return "000101010101000";
    default: return "000000000000000";
  }
}
void Text(TBitmap& b, int x, int y, const std::string& s, TColor c) {
  for (char ch : s) {
    const char* g = Glyph(ch == 'x' ? 'x' : char(std::toupper(static_cast<unsigned char>(ch))));
    for (int r = 0; r < 5; ++r)
      for (int k = 0; k < 3; ++k)
        if (g[r * 3 + k] == '1') FillRect(b, Bounds(x + 2 * k, y + 2 * r, 2, 2), c);
    x += 8;
  }
}

constexpr int kZoom = 2, kGap = 3;
const TColor kSheet = 0xFFFFFF, kInk = 0x3A2F26;

// One picture, at zoom, magenta shown as a checkerboard.
void Put(TBitmap& sheet, int x, int y, const TBitmap& pic, const TRect& part, int zoom) {
  for (int j = 0; j < part.Height(); ++j)
    for (int i = 0; i < part.Width(); ++i) {
      TColor c = pic.Pixel(part.Left + i, part.Top + j);
      if (c == kSkinKeyColor) c = ((i / 2 + j / 2) & 1) ? 0xD8D8D8 : 0xF2F2F2;
      FillRect(sheet, Bounds(x + i * zoom, y + j * zoom, zoom, zoom), c);
    }
}

struct Row {
  std::string label;
  const TBitmap* pic;
  int frames;
  bool vertical;
};

// Frames side by side with gaps; returns the height used.
int PutRow(TBitmap* sheet, int x, int y, const Row& row, int& width) {
  const int frames = std::max(1, row.frames);
  int cx = x;
  int h = 0;
  for (int k = 1; k <= frames; ++k) {
    const TRect f = SkinFrameRect(*row.pic, row.vertical, frames, k);
    if (sheet) Put(*sheet, cx, y + 14, *row.pic, f, kZoom);
    cx += f.Width() * kZoom + kGap;
    h = std::max(h, f.Height() * kZoom);
  }
  width = std::max(width, cx - x);
  if (sheet) {
    std::string label = row.label + " " + std::to_string(row.pic->Width()) + "x" + std::to_string(row.pic->Height()) +
                        " F" + std::to_string(row.frames);
    Text(*sheet, x, y, label, kInk);
  }
  return 14 + h + 10;
}

// A small window assembled from the borders and caption buttons, drawn the
// way the frame painting will: sides stretched, top and bottom stacked
// strips, buttons placed from the window's right edge.
void MockWindow(TBitmap& out, const TCustomSkinData& d, int W, int H, bool active) {
  out.SetSize(W, H);
  FillRect(out, Rect(0, 0, W, H), kSkinKeyColor);
  const auto& b = d.border;
  const int img = active ? 1 : 2;
  auto frames = [](const TDataSkinObject& o) { return std::max(1, o.frame); };
  const int bl = b[1]->Map->Width() / frames(*b[1]), br = b[2]->Map->Width() / frames(*b[2]);
  const int bt = b[3]->Map->Height() / frames(*b[3]), bb = b[4]->Map->Height() / frames(*b[4]);
  FillRect(out, Rect(bl, bt, W - br, H - bb), d.Colors[scButtonFace]);
  auto side = [&](int i, const TRect& r, bool vertical) {
    const TDataSkinBorder& e = *b[size_t(i)];
    TBitmap piece;
    CreateSkinBitmap(piece, r.Width(), r.Height(), *e.Map, e.r, vertical, e.Tile != 1, frames(e),
                     frames(e) == 1 ? 1 : img);
    StretchCopy(out, r, piece, Rect(0, 0, piece.Width(), piece.Height()));
  };
  side(1, Rect(0, 0, bl, H), false);
  side(2, Rect(W - br, 0, W, H), false);
  side(4, Rect(bl, H - bb, W - br, H), true);
  side(3, Rect(bl, 0, W - br, bt), true);
  for (const auto& btn : d.SysBtn) {
    if (btn->Map->Empty() || btn->Align != 1) continue;
    if (btn->Visibility == 1 || btn->Visibility == 10) continue;  // restore and help: not in a normal window
    const int fw = btn->Map->Width() / std::max(1, btn->frame);
    const int frame = active ? 1 : std::min(4, btn->frame);
    TBitmap glyph;
    glyph.SetSize(fw, btn->Map->Height());
    StretchCopy(glyph, Rect(0, 0, fw, glyph.Height()), *btn->Map, SkinFrameRect(*btn->Map, false, btn->frame, frame));
    DrawTransparent(out, W - btn->XCoord, btn->YCoord, glyph, kSkinKeyColor);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: skinsheet ARCHIVE OUT.png\n");
    return 2;
  }
  SetMessageBoxHandler([](StringView text, StringView, unsigned) {
    std::fprintf(stderr, "skinsheet: %s\n", ToUtf8(text).c_str());
    return 1;
  });
  try {
    TCustomSkinData d(nullptr);
    d.LoadFromFile(FromUtf8(argv[1]));
    if (d.Empty) {
      std::fprintf(stderr, "skinsheet: %s holds no skin\n", argv[1]);
      return 1;
    }
    std::vector<Row> rows;
    for (const TDataSkinObject* e : d.Elements()) {
      if (e->Map->Empty()) continue;
      // The top and bottom borders are stacked strips; all else side by side.
      const bool stacked = e == d.border[3].get() || e == d.border[4].get();
      std::string name = ToUtf8(e->IDName);
      rows.push_back({name, e->Map.get(), e->frame, stacked});
      if (auto* bo = dynamic_cast<const TDataSkinBorder*>(e); bo && !bo->MaskMap->Empty())
        // The tab's second picture is the page frame, one image.
        rows.push_back({name + " mask", bo->MaskMap.get(), e == d.tab.get() ? 1 : e->frame, false});
      if (auto* bu = dynamic_cast<const TDataSkinButton*>(e)) {
        if (!bu->CheckMap->Empty()) rows.push_back({"check", bu->CheckMap.get(), bu->checkframe, false});
        if (!bu->RadioMap->Empty()) rows.push_back({"radio", bu->RadioMap.get(), bu->radioframe, false});
      }
    }
    // Lay the rows out in three columns.
    const int columns = 3, pad = 16;
    std::vector<int> heights, widths;
    for (const Row& r : rows) {
      int w = 0;
      heights.push_back(PutRow(nullptr, 0, 0, r, w));
      widths.push_back(std::max(w, int(r.label.size() + 12) * 8));
    }
    const size_t perColumn = (rows.size() + columns - 1) / columns;
    std::vector<int> colX(columns + 1, pad), colH(columns, 0);
    for (int c = 0; c < columns; ++c) {
      int w = 0;
      for (size_t i = c * perColumn; i < std::min(rows.size(), (c + 1) * perColumn); ++i) {
        w = std::max(w, widths[i]);
        colH[size_t(c)] += heights[i];
      }
      colX[size_t(c) + 1] = colX[size_t(c)] + w + 2 * pad;
    }
    TBitmap active, inactive;
    MockWindow(active, d, 360, 140, true);
    MockWindow(inactive, d, 360, 140, false);
    const int mockH = 140 * kZoom + 40;
    const int W = std::max(colX[columns], 2 * (360 * kZoom + pad) + pad);
    const int H = mockH + *std::max_element(colH.begin(), colH.end()) + 2 * pad;
    TBitmap sheet;
    sheet.SetSize(W, H);
    FillRect(sheet, Rect(0, 0, W, H), kSheet);
    Text(sheet, pad, pad / 2, ToUtf8(d.SkinName) + " - " + std::to_string(d.Elements().size()) + " elements", kInk);
    Put(sheet, pad, pad + 12, active, Rect(0, 0, 360, 140), kZoom);
    Put(sheet, 2 * pad + 360 * kZoom, pad + 12, inactive, Rect(0, 0, 360, 140), kZoom);
    for (int c = 0; c < columns; ++c) {
      int y = mockH + pad;
      for (size_t i = c * perColumn; i < std::min(rows.size(), (c + 1) * perColumn); ++i) {
        int w = 0;
        y += PutRow(&sheet, colX[size_t(c)], y, rows[i], w);
      }
    }
    const std::vector<uint8_t> png = Png(sheet);
    WriteFileBytes(FromUtf8(argv[2]), png.data(), png.size());
    std::printf("skinsheet: %s, %zu pictures, %dx%d\n", argv[2], rows.size(), W, H);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinsheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
