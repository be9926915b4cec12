// Buttons with pictures: bitmap buttons (glyph strip, one-frame glyph shown
// embossed when disabled, image list), the drop-down button, a PNG button
// and speed buttons (plain, flat, a group with one Down, PNG).
#include <string>

#include "platform/win/Buttons.h"
#include "tools/gallery/Gallery.h"

namespace qv {

namespace {

// 16 x 16 pixels: a round blue and green figure on transparency.
const unsigned char kRoundPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0xF3, 0xFF, 0x61, 0x00, 0x00, 0x00,
    0x48, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x60, 0xA0, 0x05, 0x30, 0x98, 0x60, 0xD0, 0x80, 0x0D, 0x93,
    0xAA, 0xF9, 0x3F, 0x1A, 0x26, 0x6C, 0x08, 0x0E, 0x8D, 0x18, 0x06, 0x11, 0xA5, 0xF9, 0xC3, 0x01, 0x05, 0x14,
    0x8C, 0xD7, 0x10, 0x74, 0x67, 0xA3, 0x6B, 0xC6, 0x62, 0x08, 0xAA, 0x77, 0x88, 0xD1, 0x8C, 0xCD, 0x90, 0x61,
    0x68, 0x00, 0xF9, 0x81, 0x48, 0x71, 0x34, 0x52, 0x25, 0x21, 0x51, 0x25, 0x29, 0x53, 0x25, 0x33, 0x91, 0x0A,
    0x00, 0xB7, 0x04, 0x45, 0x60, 0x02, 0x3A, 0x73, 0xF4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE,
    0x42, 0x60, 0x82};

// A strip of frames of 16 x 16 on white (the bottom-left colour, so
// transparent): a diamond in each frame's colour.
void MakeGlyph(TBitmap& b, std::initializer_list<TColor> colours) {
  b.SetSize(16 * static_cast<int>(colours.size()), 16);
  FillRect(b, Rect(0, 0, b.Width(), 16), clWhite);
  int frame = 0;
  for (TColor c : colours) {
    for (int y = 2; y < 14; ++y) {
      const int half = y < 8 ? y - 2 : 13 - y;
      FillRect(b, Rect(frame * 16 + 8 - half - 1, y, frame * 16 + 8 + half + 1, y + 1), c);
    }
    ++frame;
  }
}

template <class T>
T* Place(TForm& form, const TRect& r, const String& caption) {
  auto* c = new T(&form);
  c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  c->SetParent(&form);
  c->SetCaption(caption);
  return c;
}

TPngImage& RoundPng() {
  static TPngImage png;
  if (png.Empty()) png.LoadFromBytes(std::string(reinterpret_cast<const char*>(kRoundPng), sizeof kRoundPng));
  return png;
}

}  // namespace

void AddButtonControls(TForm& form, const TRect& cell) {
  MapControlClass(form, u"TBitBtn=bitbtn");
  MapControlClass(form, u"TSpeedButton=speedbutton");
  const int x = cell.Left, y = cell.Top;
  Place<TLabel>(form, Bounds(x, y, 200, 16), u"Buttons with pictures");

  TBitmap glyph;
  MakeGlyph(glyph, {0x2060D0, 0x808080, 0x1050A0});
  auto* bit = Place<TBitBtn>(form, Bounds(x, y + 20, 105, 28), u"Bit button");
  bit->SetGlyph(&glyph);
  bit->SetNumGlyphs(3);
  TBitmap single;
  MakeGlyph(single, {0x101010});
  auto* off = Place<TBitBtn>(form, Bounds(x + 111, y + 20, 105, 28), u"Disabled bit");
  off->SetGlyph(&single);
  off->SetEnabled(false);

  auto* images = new TCustomImageList(&form, 16, 16);
  TBitmap strip;
  MakeGlyph(strip, {0x20A020, 0xA02020});
  images->List().AddMasked(strip, clWhite);
  auto* listed = Place<TBitBtn>(form, Bounds(x, y + 54, 105, 28), u"Image button");
  listed->SetImages(images);
  listed->SetImageIndex(1);
  auto* menu = Place<TcxButton>(form, Bounds(x + 111, y + 54, 105, 28), u"Menu button");
  menu->SetKind(cxbkDropDownButton);

  auto* png = Place<TPngBitBtn>(form, Bounds(x, y + 88, 105, 28), u"PNG button");
  png->SetPngImage(&RoundPng());
  png->SetLayout(blGlyphRight);

  auto* speed = Place<TSpeedButton>(form, Bounds(x, y + 124, 52, 26), u"Speed");
  speed->SetGlyph(&single);
  auto* flat = Place<TSpeedButton>(form, Bounds(x + 56, y + 124, 52, 26), u"Flat");
  flat->SetFlat(true);
  for (int i = 0; i < 2; ++i) {
    auto* group = Place<TSpeedButton>(form, Bounds(x + 112 + i * 52, y + 124, 50, 26), i ? u"Two" : u"One");
    group->SetGroupIndex(1);
    group->SetDown(i == 0);
  }
  auto* pngSpeed = Place<TPngSpeedButton>(form, Bounds(x, y + 156, 26, 26), String());
  pngSpeed->SetPngImage(&RoundPng());
}

}  // namespace qv
