#include "platform/win/BitmapCanvas.h"

#include <cstring>

namespace qv {

namespace {

class DibPixels : public TPixelStore {
 public:
  DibPixels() : dc_(CreateCompatibleDC(nullptr)) { canvas_.SetHandle(dc_); }
  ~DibPixels() override {
    canvas_.SetHandle(nullptr);
    Release();
    DeleteDC(dc_);
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
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) throw EOutOfResources(u"Out of system resources");
    old_ = SelectObject(dc_, bitmap_);
    std::memset(bits, 0, bytes);
    return static_cast<uint8_t*>(bits);
  }
  void Sync() override { GdiFlush(); }

  TCanvas& Canvas() { return canvas_; }
  HBITMAP Handle() const { return bitmap_; }

 private:
  void Release() {
    if (!bitmap_) return;
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
  }
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
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
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, source);
  BitBlt(BitmapCanvas(bitmap).Handle(), 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

}  // namespace qv
