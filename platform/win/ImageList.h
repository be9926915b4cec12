// Image lists: equal images in one system image list, drawn by index.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "platform/core/Bitmap.h"
#include "platform/core/Component.h"

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

// An image list as a component, for the Images property of controls.
class TCustomImageList : public TComponent {
  QV_CLASS(TCustomImageList)
 public:
  explicit TCustomImageList(TComponent* owner) : TCustomImageList(owner, 16, 16) {}
  TCustomImageList(TComponent* owner, int width, int height);
  ~TCustomImageList() override;
  TImageList& List() { return *list_; }
  int Width() const { return list_->Width(); }
  int Height() const { return list_->Height(); }
  int Count() const { return list_->Count(); }

 private:
  std::unique_ptr<TImageList> list_;
};

}  // namespace qv
