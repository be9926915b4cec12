// Pictures of other formats than the bitmap: TGraphic is what a picture
// property holds; TPngImage decodes a PNG file through the system's imaging
// component into premultiplied 32-bit pixels and draws them with their
// alpha; TPicture holds one graphic.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/core/Bitmap.h"
#include "platform/core/Component.h"

namespace qv {

class TGraphic : public TPersistent {
  QV_CLASS(TGraphic)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // The whole picture with its top-left corner at (x, y).
  virtual void Draw(HDC dc, int x, int y) = 0;
};

class TPngImage : public TGraphic {
  QV_CLASS(TPngImage)
 public:
  TPngImage();
  ~TPngImage() override;
  int Width() const override { return pixels_->Width(); }
  int Height() const override { return pixels_->Height(); }
  void Draw(HDC dc, int x, int y) override;
  void Assign(const TPersistent& source) override;
  // The bytes of a PNG file; EInvalidGraphic (the image left as it was)
  // when they are not one the imaging component decodes.
  void LoadFromBytes(const std::string& bytes);
  void LoadFromFile(StringView fileName);
  // Premultiplied BGRA, top row first.
  TBitmap& Pixels() { return *pixels_; }

 private:
  std::unique_ptr<TBitmap> pixels_;
};

class TPicture : public TPersistent {
  QV_CLASS(TPicture)
 public:
  TPicture();
  ~TPicture() override;
  // Null while empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  // A copy of graphic (null empties the picture).
  void SetGraphic(TGraphic* graphic);
  // PNG files only; EInvalidGraphic for other files.
  void LoadFromFile(StringView fileName);

 private:
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace qv
