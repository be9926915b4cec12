#include "platform/core/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/core/TypInfo.h"

namespace qv {

namespace {

// Large enough for any skin or screen bitmap, small enough that a forged
// header cannot ask for gigabytes.
constexpr int64_t kMaxPixelBytes = int64_t{256} << 20;
constexpr char16_t kInvalidBitmap[] = u"Bitmap image is not valid";

class MemoryPixels : public TPixelStore {
 public:
  uint8_t* Reset(int, int, int, size_t bytes) override {
    pixels_.assign(bytes, 0);
    return bytes ? pixels_.data() : nullptr;
  }

 private:
  std::vector<uint8_t> pixels_;
};

uint32_t U16(const uint8_t* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8); }
uint32_t U32(const uint8_t* p) { return U16(p) | (U16(p + 2) << 16); }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidBitmap); }

}  // namespace

int64_t DibRowBytes(int64_t width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

int64_t BitmapFilePixelBytes(const uint8_t* file, size_t size) {
  if (size < 14 + 40 || file[0] != 'B' || file[1] != 'M') return 0;
  const int64_t width = S32(file + 18), height = S32(file + 22);
  const int bpp = static_cast<int>(U16(file + 28));
  if (width <= 0 || height == 0 || height == INT32_MIN) return 0;
  const int64_t rows = height < 0 ? -height : height, row = DibRowBytes(width, bpp == 32 ? 32 : 24);
  // Forged sizes saturate rather than overflow.
  constexpr int64_t kHuge = INT64_MAX / 4;
  return row > kHuge / rows ? kHuge : row * rows;
}

std::vector<uint8_t> BitmapFileHeaders(int width, int height, int bitsPerPixel, uint32_t paletteSize,
                                       uint32_t imageSize) {
  const uint32_t offBits = 14 + 40 + 4 * paletteSize;
  std::vector<uint8_t> out = {'B', 'M'};
  out.reserve(offBits + imageSize);
  Put32(out, offBits + imageSize);
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitsPerPixel));
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, paletteSize);
  Put32(out, 0);
  return out;
}

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TBitmap>(u"TBitmap", TPersistent::StaticClass()).Done();
  return info;
}

TBitmap::TBitmap() : store_(std::make_unique<MemoryPixels>()) {}

TBitmap::~TBitmap() = default;

void TBitmap::Reallocate(int width, int height, TPixelFormat format, bool keep) {
  if (width < 0 || height < 0) throw EInvalidGraphic(u"Invalid bitmap size");
  if (width == 0 || height == 0) width = height = 0;
  const int bpp = format == pf32bit ? 32 : 24;
  const int64_t stride = DibRowBytes(width, bpp);
  if (height > 0 && stride > kMaxPixelBytes / height) throw EOutOfResources(u"Bitmap too large");
  std::vector<uint8_t> old;
  const int oldW = width_, oldH = height_, oldStride = stride_;
  const int oldBpp = BytesPerPixel();
  if (keep && bits_) {
    store_->Sync();
    old.assign(bits_, bits_ + static_cast<size_t>(oldStride) * static_cast<size_t>(oldH));
  }
  bits_ = store_->Reset(width, height, bpp, static_cast<size_t>(stride * height));
  width_ = width;
  height_ = height;
  stride_ = static_cast<int>(stride);
  format_ = format;
  if (old.empty()) return;
  const int newBpp = BytesPerPixel();
  const int w = std::min(oldW, width), h = std::min(oldH, height);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = old.data() + static_cast<size_t>(y) * static_cast<size_t>(oldStride);
    uint8_t* d = bits_ + static_cast<size_t>(y) * static_cast<size_t>(stride_);
    if (oldBpp == newBpp) {
      std::memcpy(d, s, static_cast<size_t>(w) * static_cast<size_t>(newBpp));
    } else {
      for (int x = 0; x < w; ++x) std::memcpy(d + x * newBpp, s + x * oldBpp, 3);
    }
  }
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Reallocate(width, height, format_, true);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  Reallocate(width_, height_, format, true);
}

void TBitmap::SetStore(std::unique_ptr<TPixelStore> store) {
  // Straight from the old store into the new one, which is let go after:
  // a large picture is copied once, not twice through a buffer.
  const size_t bytes = bits_ ? static_cast<size_t>(stride_) * static_cast<size_t>(height_) : 0;
  if (bits_) store_->Sync();
  uint8_t* fresh = store->Reset(width_, height_, format_ == pf32bit ? 32 : 24, bytes);
  if (bytes) std::memcpy(fresh, bits_, bytes);
  store_ = std::move(store);
  bits_ = fresh;
}

uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_) throw EInvalidGraphic(u"Scan line index out of range");
  store_->Sync();
  return bits_ + static_cast<size_t>(y) * static_cast<size_t>(stride_);
}

const uint8_t* TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const uint8_t* p = ScanLine(y) + x * BytesPerPixel();
  return static_cast<TColor>(RGBColor(p[2], p[1], p[0]));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const uint32_t c = ColorToRGB(color);
  uint8_t* p = ScanLine(y) + x * BytesPerPixel();
  p[0] = BlueOf(c);
  p[1] = GreenOf(c);
  p[2] = RedOf(c);
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* src = dynamic_cast<const TBitmap*>(&source);
  if (!src) return TPersistent::Assign(source);
  if (src == this) return;
  Reallocate(src->width_, src->height_, src->format_, false);
  if (bits_) {
    src->store_->Sync();
    std::memcpy(bits_, src->bits_, static_cast<size_t>(stride_) * static_cast<size_t>(height_));
  }
  TransparentColor = src->TransparentColor;
  Transparent = src->Transparent;
}

void TBitmap::LoadFromStream(TStream& stream) {
  const int64_t avail = stream.Size() - stream.Position();
  if (avail < 14 + 40) Invalid();
  std::vector<uint8_t> file(static_cast<size_t>(avail));
  stream.ReadBuffer(file.data(), avail);
  const uint8_t* f = file.data();
  const int64_t size = avail;

  if (f[0] != 'B' || f[1] != 'M') Invalid();
  const int64_t offBits = U32(f + 10);
  const uint8_t* h = f + 14;
  const uint32_t headerSize = U32(h);
  if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124) Invalid();
  if (14 + int64_t{headerSize} > size) Invalid();
  const int32_t width = S32(h + 4);
  const int32_t rawHeight = S32(h + 8);
  const uint32_t planes = U16(h + 12);
  const int bpp = static_cast<int>(U16(h + 14));
  const uint32_t compression = U32(h + 16);
  uint32_t colorsUsed = U32(h + 32);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || planes != 1) Invalid();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) Invalid();
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;

  int64_t at = 14 + headerSize;
  if (compression == 3 /* BI_BITFIELDS */) {
    if (bpp != 32) Invalid();
    const uint8_t* masks = h + 40;
    if (headerSize == 40) {
      if (at + 12 > size) Invalid();
      at += 12;
    }
    // Only the layout every writer uses: blue, green, red bytes in order.
    if (U32(masks) != 0xFF0000 || U32(masks + 4) != 0xFF00 || U32(masks + 8) != 0xFF) Invalid();
  } else if (compression != 0 /* BI_RGB */) {
    Invalid();
  }

  std::vector<uint32_t> palette;
  if (bpp <= 8) {
    const uint32_t maxColors = 1u << bpp;
    if (colorsUsed == 0) colorsUsed = maxColors;
    if (colorsUsed > maxColors) Invalid();
    if (at + int64_t{4} * colorsUsed > size) Invalid();
    for (uint32_t i = 0; i < colorsUsed; ++i) {
      const uint8_t* q = f + at + 4 * i;
      palette.push_back(RGBColor(q[2], q[1], q[0]));
    }
    at += int64_t{4} * colorsUsed;
  }

  const int64_t srcStride = DibRowBytes(width, bpp);
  if (offBits < at || offBits > size) Invalid();
  if (srcStride > (size - offBits) / height) Invalid();

  // Everything is checked: the pixels are decoded in place, with no second
  // copy of them held meanwhile.
  Reallocate(width, height, bpp == 32 ? pf32bit : pf24bit, false);
  for (int32_t row = 0; row < height; ++row) {
    const int32_t srcRow = topDown ? row : height - 1 - row;
    const uint8_t* s = f + offBits + srcStride * srcRow;
    uint8_t* d = ScanLine(row);
    if (bpp >= 24) {
      std::memcpy(d, s, static_cast<size_t>(width) * static_cast<size_t>(bpp / 8));
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      const int64_t bit = int64_t{x} * bpp;
      const unsigned byte = s[bit / 8];
      const unsigned index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
      // An index past a short palette reads as black rather than past the table.
      const uint32_t c = index < palette.size() ? palette[index] : 0;
      d[3 * x] = BlueOf(c);
      d[3 * x + 1] = GreenOf(c);
      d[3 * x + 2] = RedOf(c);
    }
  }
}

void TBitmap::SaveToStream(TStream& stream) const {
  const int bpp = format_ == pf32bit ? 32 : 24;
  const uint32_t imageSize = static_cast<uint32_t>(stride_) * static_cast<uint32_t>(height_);
  std::vector<uint8_t> out = BitmapFileHeaders(width_, height_, bpp, 0, imageSize);
  for (int y = height_ - 1; y >= 0; --y) {
    const uint8_t* row = ScanLine(y);
    out.insert(out.end(), row, row + stride_);
  }
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TBitmap::LoadFromFile(StringView fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TBitmap::SaveToFile(StringView fileName) const {
  TFileStream f(fileName, fmCreate);
  SaveToStream(f);
}

void FillRect(TBitmap& bmp, const TRect& r, TColor color) {
  const int l = std::max(0, r.Left), t = std::max(0, r.Top);
  const int rr = std::min(bmp.Width(), r.Right), b = std::min(bmp.Height(), r.Bottom);
  const uint32_t c = ColorToRGB(color);
  const int n = bmp.BytesPerPixel();
  for (int y = t; y < b; ++y) {
    uint8_t* row = bmp.ScanLine(y);
    for (int x = l; x < rr; ++x) {
      row[x * n] = BlueOf(c);
      row[x * n + 1] = GreenOf(c);
      row[x * n + 2] = RedOf(c);
    }
  }
}

void StretchCopy(TBitmap& dst, const TRect& d, const TBitmap& src, const TRect& s) {
  const int64_t dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  const int y0 = std::max(d.Top, 0), y1 = std::min<int64_t>(d.Bottom, dst.Height());
  const int x0 = std::max(d.Left, 0), x1 = std::min<int64_t>(d.Right, dst.Width());
  for (int y = y0; y < y1; ++y) {
    const int64_t sy = s.Top + (int64_t{y - d.Top} * sh) / dh;
    if (sy < 0 || sy >= src.Height()) continue;
    const uint8_t* srow = src.ScanLine(static_cast<int>(sy));
    uint8_t* drow = dst.ScanLine(y);
    for (int x = x0; x < x1; ++x) {
      const int64_t sx = s.Left + (int64_t{x - d.Left} * sw) / dw;
      if (sx < 0 || sx >= src.Width()) continue;
      std::memcpy(drow + x * dn, srow + sx * sn, 3);
    }
  }
}

void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src, TColor key) {
  const uint32_t k = ColorToRGB(key);
  const int dn = dst.BytesPerPixel(), sn = src.BytesPerPixel();
  for (int sy = 0; sy < src.Height(); ++sy) {
    const int64_t dy = int64_t{y} + sy;
    if (dy < 0 || dy >= dst.Height()) continue;
    const uint8_t* srow = src.ScanLine(sy);
    uint8_t* drow = dst.ScanLine(static_cast<int>(dy));
    for (int sx = 0; sx < src.Width(); ++sx) {
      const int64_t dx = int64_t{x} + sx;
      if (dx < 0 || dx >= dst.Width()) continue;
      const uint8_t* p = srow + sx * sn;
      if (RGBColor(p[2], p[1], p[0]) == k) continue;
      std::memcpy(drow + dx * dn, p, 3);
    }
  }
}

}  // namespace qv
