#include "platform/win/ImageList.h"

#include <cstring>

#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"

namespace qv {

TImageList::TImageList(int width, int height)
    : handle_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddMasked(TBitmap& bitmap, TColor mask) {
  if (!handle_ || bitmap.Empty()) return -1;
  // The list selects the bitmap itself, so it gets one of its own that no
  // DC holds.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = bitmap.Width();
  bi.bmiHeader.biHeight = -bitmap.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = bitmap.PixelFormat() == pf32bit ? 32 : 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedBitmap temp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (temp && bits)
    for (int y = 0; y < bitmap.Height(); ++y)
      std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * bitmap.RowBytes(), bitmap.ScanLine(y),
                  static_cast<size_t>(bitmap.RowBytes()));
  const int first = temp ? ImageList_AddMasked(handle_, temp, static_cast<COLORREF>(ColorToRGB(mask))) : -1;
  return first;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  if (handle_) ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (enabled) {
    Draw(dc, x, y, index);
    return;
  }
  if (!handle_ || index < 0 || index >= Count()) return;
  // A one-bit stencil: drawing the image onto a monochrome surface turns
  // pixels of the surface's background colour (white) into 1 and every
  // other pixel into 0; transparent pixels keep the white fill.
  MemoryDC mono(dc);
  OwnedBitmap stencil(CreateBitmap(width_, height_, 1, 1, nullptr));
  if (!mono || !stencil) return;
  SelectGuard stencilSelected(mono, stencil);
  PatBlt(mono, 0, 0, width_, height_, WHITENESS);
  SetBkColor(mono, RGB(255, 255, 255));
  ImageList_Draw(handle_, index, mono, 0, 0, ILD_TRANSPARENT);
  // Where the stencil is 0 the brush is painted, elsewhere the target
  // stays (destination = ((dest xor brush) and source) xor brush).
  constexpr DWORD kBrushWhereZero = 0x00B8074A;
  TextStyleSaver style(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  {
    SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, width_, height_, mono, 0, 0, kBrushWhereZero);
  }
  SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
  BitBlt(dc, x, y, width_, height_, mono, 0, 0, kBrushWhereZero);
}

const TClassInfo& TCustomImageList::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TCustomImageList>(u"TCustomImageList", TComponent::StaticClass()).Done();
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), list_(std::make_unique<TImageList>(width, height)) {}

TCustomImageList::~TCustomImageList() = default;

}  // namespace qv
