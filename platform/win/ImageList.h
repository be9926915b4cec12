// Image lists: equal images in one system image list, drawn by index.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/core/Bitmap.h"

namespace qv {

class TImageList {
 public:
  TImageList(int width, int height);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  HIMAGELIST Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Cuts the bitmap into images of the list's size, left to right; pixels of
  // mask colour are transparent. Returns the index of the first image added.
  int AddMasked(TBitmap& bitmap, TColor mask);
  void Draw(HDC dc, int x, int y, int index) const;
  // Disabled: the image's dark pixels etched in the button highlight and
  // shadow colours, the way the system greys a picture.
  void Draw(HDC dc, int x, int y, int index, bool enabled) const;

 private:
  HIMAGELIST handle_;
  int width_, height_;
};

}  // namespace qv
