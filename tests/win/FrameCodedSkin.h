// Skin pictures whose every frame is one solid colour, so that one pixel
// read back names the frame that was drawn.
#pragma once
#include <initializer_list>
#include <memory>

#include "platform/core/Bitmap.h"
#include "skin/data/SkinElements.h"
#include "tests/win/SkinWindowFixture.h"

namespace qvtest {

// Frames side by side, fw x h each, in the given colours.
inline std::unique_ptr<qv::TBitmap> FrameStrip(std::initializer_list<qv::TColor> frames, int fw, int h) {
  auto b = Bmp(fw * static_cast<int>(frames.size()), h, 0);
  int x = 0;
  for (qv::TColor c : frames) {
    qv::FillRect(*b, qv::Rect(x, 0, x + fw, h), c);
    x += fw;
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
