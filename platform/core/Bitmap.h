// Device-independent bitmaps of the class library, platform-free: rows of 24
// or 32 bits per pixel, top row first, each row padded to 4 bytes (the layout
// of a top-down DIB), read and written as Windows bitmap files.
//
// Files of 1, 4 and 8 bits per pixel are expanded through their palette into
// 24 bits per pixel when loaded; 24- and 32-bit files keep their format. A
// file that is not a bitmap this class reads raises EInvalidGraphic and
// leaves the bitmap as it was.
//
// The pixels live in a TPixelStore. The default keeps them in ordinary
// memory; the Windows build swaps in a store backed by a DIB section when a
// bitmap is first drawn on, so that GDI and scan lines share the same bytes.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/Colors.h"
#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Geometry.h"

namespace qv {

QV_EXCEPTION(EInvalidGraphic, Exception)
QV_EXCEPTION(EOutOfResources, Exception)

enum TPixelFormat { pf24bit, pf32bit };

class TPixelStore {
 public:
  virtual ~TPixelStore() = default;
  // Zeroed memory of `bytes` bytes for the geometry, replacing what the store
  // held; null only for an empty geometry (bytes 0).
  virtual uint8_t* Reset(int width, int height, int bitsPerPixel, size_t bytes) = 0;
  // Before the pixels are read or written directly (GDI batches its drawing).
  virtual void Sync() {}
};

class TBitmap : public TPersistent {
  QV_CLASS(TBitmap)
 public:
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TPixelFormat PixelFormat() const { return format_; }
  int BytesPerPixel() const { return format_ == pf32bit ? 4 : 3; }
  int RowBytes() const { return stride_; }

  // Pixels inside both the old and the new size are kept; new ones are black.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Converts the pixels (a fourth byte is 0 when widening).
  void SetPixelFormat(TPixelFormat format);
  // Width and height 0.
  void Clear() { SetSize(0, 0); }

  // Row y (0 = top); "Scan line index out of range" for any other row.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  // 0x00BBGGRR; outside the bitmap -1 (reads) or nothing (writes).
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  TColor TransparentColor = clDefault;
  bool Transparent = false;

  // From another TBitmap: size, format, pixels and transparency.
  void Assign(const TPersistent& source) override;

  // A bitmap file from the stream's position to its end.
  void LoadFromStream(TStream& stream);
  // 24 or 32 bits per pixel, rows bottom-up, no palette.
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(StringView fileName);
  void SaveToFile(StringView fileName) const;

  TPixelStore* Store() const { return store_.get(); }
  // Moves the pixels into a new store.
  void SetStore(std::unique_ptr<TPixelStore> store);

 private:
  void Reallocate(int width, int height, TPixelFormat format, bool keep);
  std::unique_ptr<TPixelStore> store_;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  TPixelFormat format_ = pf24bit;
};

// Bytes of one row of a DIB: padded to 4 bytes.
int64_t DibRowBytes(int64_t width, int bitsPerPixel);
// The pixel bytes a bitmap file takes once loaded (palette formats widen to
// 24 bits per pixel), from its headers alone; 0 for bytes that are not a
// bitmap file's start.
int64_t BitmapFilePixelBytes(const uint8_t* file, size_t size);
// The file and info headers of a bottom-up, uncompressed bitmap file whose
// paletteSize colours and imageSize bytes of rows follow them.
std::vector<uint8_t> BitmapFileHeaders(int width, int height, int bitsPerPixel, uint32_t paletteSize,
                                       uint32_t imageSize);

// Pixel operations on whole bitmaps, clipped to both bitmaps: nothing outside
// either is read or written.
void FillRect(TBitmap& bmp, const TRect& r, TColor color);
// Copies src's rectangle s onto d of dst, stretched by nearest pixel (as a
// stretching blit in colour-on-colour mode); a rectangle of no area copies
// nothing.
void StretchCopy(TBitmap& dst, const TRect& d, const TBitmap& src, const TRect& s);
// Copies src unscaled to (x, y) of dst, leaving out pixels of the key colour.
void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src, TColor key);

}  // namespace qv
