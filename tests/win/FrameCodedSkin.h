// Skin pictures whose every frame is one solid colour, so that one pixel
// read back names the frame that was drawn.
#pragma once
#include <initializer_list>
#include <memory>

#include "platform/core/Bitmap.h"
#include "skin/data/SkinElements.h"
#include "tests/win/SkinWindowFixture.h"

namespace qvtest {

// Frames side by side (or stacked), fw x h each, in the given colours.
inline std::unique_ptr<qv::TBitmap> FrameStrip(std::initializer_list<qv::TColor> frames, int fw, int h,
                                               bool stacked = false) {
  const int n = static_cast<int>(frames.size());
  auto b = stacked ? Bmp(fw, h * n, 0) : Bmp(fw * n, h, 0);
  int i = 0;
  for (qv::TColor c : frames) {
    qv::FillRect(*b, stacked ? qv::Bounds(0, i * h, fw, h) : qv::Bounds(i * fw, 0, fw, h), c);
    ++i;
  }
  return b;
}

template <class Element = qv::TDataSkinObject>
std::unique_ptr<Element> CodedElement(const char16_t* name, std::unique_ptr<qv::TBitmap> map, int frames = 1) {
  auto e = std::make_unique<Element>(name);
  e->Map = std::move(map);
  e->frame = frames;
  return e;
}

}  // namespace qvtest
