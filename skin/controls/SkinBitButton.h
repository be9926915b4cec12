// The skins of buttons with a picture beside the caption: the bitmap button
// (a glyph strip, an image-list image or a picture property such as
// "PngImage") and the drop-down (menu) button with its small triangle. Both
// compose the button in the push button's off-screen bitmap from the skin's
// button strip (1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused or
// default) and copy it in one blit; the message handling is the push
// button's.
//
// Glyph strips hold NumGlyphs frames side by side: 1 up, 2 disabled, 3
// pressed, 4 down. A strip of one frame is shown embossed grey when the
// button is disabled. A NumGlyphs of 0, an empty glyph, an image index
// outside the list and a picture property that is absent or holds no
// graphic show no picture.
#pragma once
#include <functional>
#include <memory>

#include "skin/controls/SkinButton.h"

namespace qv {

enum TGlyphLayoutKind { glLeft, glRight, glTop, glBottom };

// Where a glyph of (gw, gh) and a caption of (tw, th) go in a W x H button.
struct TGlyphPlacement {
  TPoint glyph;
  TRect text;
  UINT flags = 0;  // DrawText flags of the caption
};
// margin and spacing -1: automatic. speed: the speed button's rule for an
// automatic margin with a given spacing (one pixel further right).
TGlyphPlacement PlaceGlyph(int W, int H, int gw, int gh, int tw, int th, int margin, int spacing,
                           TGlyphLayoutKind layout, bool speed);
// The control's "Layout" property; glyph-left for none or another value.
TGlyphLayoutKind GlyphLayoutOf(TObject* control);
// The glyph frame shown in a button frame: 3 pressed, 2 disabled, else 1.
int GlyphIndexOfFrame(int frame);
// Frame index (1-based) of a strip of NumGlyphs frames at rect's top-left,
// its bottom-left pixel's colour transparent; frame 2 of a one-frame strip
// is the embossed disabled look. Nothing for NumGlyphs below 1 or frames
// narrower than a pixel.
void DrawGlyph(HDC dc, const TRect& rect, int NumGlyphs, int index, TBitmap& glyph);
// The embossed grey copy of a one-frame glyph: the glyph's black pixels
// become button shadow with a button highlight copy one pixel down and
// right behind them; every other pixel, its key colour included, the
// button face.
std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph);
// NumGlyphs as a skin reads it: below 0 (or absent) counts as 1.
int ReadNumGlyphs(TObject* control);
// Sets the caption colour in canvas's font and selects the font.
void SelectCaptionColor(TCanvas& canvas, TColor color);

class TSkinBitButton : public TSkinButton {
  QV_CLASS(TSkinBitButton)
 public:
  explicit TSkinBitButton(TComponent* AOwner);

  void DrawControl(HDC dc, const TRect& rc) override;
  // PicField mode: the graphic in that property drawn whole.
  void DrawPicFieldButton(HDC dc, const TRect& rc);

  // Empty: glyph mode.
  String PicField;

 protected:
  // btemp sized to rc with the background and the frame drawn, the canvas
  // font from the control (a copy of a raw window's own font); false when
  // there is nothing to draw.
  bool BeginButton(const TRect& rc, int frame, TCanvas*& canvas);
  // btemp onto dc at rc, and the canvas font out of btemp's DC.
  void EndButton(HDC dc, const TRect& rc, TCanvas& canvas);
  // The caption measured in canvas's font, the glyph (gw x gh) placed and
  // drawn by drawGlyph, the caption drawn when there is one and, with
  // focusRect, the focus rectangle around it.
  void PaintGlyphAndCaption(TCanvas& canvas, const TRect& B, int gw, int gh, int margin, int spacing,
                            TGlyphLayoutKind layout, bool speed, bool focusRect,
                            const std::function<void(int x, int y)>& drawGlyph);
};

class TSkinMenuButton : public TSkinButton {
  QV_CLASS(TSkinMenuButton)
 public:
  explicit TSkinMenuButton(TComponent* AOwner);
  void DrawControl(HDC dc, const TRect& rc) override;
};

}  // namespace qv
