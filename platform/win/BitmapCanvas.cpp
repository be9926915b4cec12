#include "platform/win/BitmapCanvas.h"

#include <cstring>
#include <optional>

#include "platform/win/GdiHandles.h"

namespace qv {

namespace {

class DibPixels : public TPixelStore {
 public:
  DibPixels() { canvas_.SetHandle(dc_); }
  ~DibPixels() override {
    canvas_.SetHandle(nullptr);
    Release();
  }

  uint8_t* Reset(int width, int height, int bitsPerPixel, size_t bytes) override {
    Release();
    if (bytes == 0) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first, as the core keeps it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) throw EOutOfResources(u"Out of system resources");
    selected_.emplace(dc_, bitmap_);
    std::memset(bits, 0, bytes);
    return static_cast<uint8_t*>(bits);
  }
  void Sync() override { GdiFlush(); }

  TCanvas& Canvas() { return canvas_; }
  HBITMAP Handle() const { return bitmap_; }

 private:
  // The DIB is selected out before it is deleted.
  void Release() {
    selected_.reset();
    bitmap_.Reset();
  }
  MemoryDC dc_;
  OwnedBitmap bitmap_;
  std::optional<SelectGuard> selected_;
  TCanvas canvas_;
};

DibPixels& Dib(TBitmap& bitmap) {
  if (auto* d = dynamic_cast<DibPixels*>(bitmap.Store())) return *d;
  bitmap.SetStore(std::make_unique<DibPixels>());
  return *static_cast<DibPixels*>(bitmap.Store());
}

}  // namespace

TCanvas& BitmapCanvas(TBitmap& bitmap) { return Dib(bitmap).Canvas(); }

HBITMAP BitmapHandle(TBitmap& bitmap) { return Dib(bitmap).Handle(); }

void AssignBitmapHandle(TBitmap& bitmap, HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) {
    bitmap.Clear();
    return;
  }
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(info.bmWidth, info.bmHeight);
  if (bitmap.Empty()) return;
  MemoryDC src;
  SelectGuard selected(src, source);
  BitBlt(BitmapCanvas(bitmap).Handle(), 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
}

}  // namespace qv
