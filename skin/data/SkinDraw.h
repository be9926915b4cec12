// The skin drawing primitives: skin frames cut from image strips, drawn
// through the nine-part grid, the three-part strip or the bar, with the key
// colour left out; window regions from key-coloured bitmaps; the parent's
// background under a control; small text and arrow helpers. Nothing is kept
// between calls but the scratch surfaces they compose on (user-interface
// thread only). Images are TBitmaps (their GDI side is BitmapCanvas); frames
// are counted from 1, N frames side by side or, with vertical, stacked.
//
// A rectangle with Right < Left or Bottom < Top draws nothing. A frame
// count below 1 counts as 1; a frame outside the strip or an empty image
// draws nothing rather than reading outside the image.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/core/Alignment.h"
#include "platform/core/Bitmap.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Controls.h"
#include "skin/data/ImgUtil.h"

namespace qv {

// A new 24-bit bitmap of the target's size holding frame I through the
// nine-part grid (margins unscaled; centre stretched, or tiled with tile).
std::unique_ptr<TBitmap> CreateSkinBitmap(const TRect& target, TBitmap& image, const TRect& margins, bool vertical,
                                          bool tile, int N, int I);
// CreateSkinBitmap of rect drawn at rect's top-left; key pixels left out
// (kSkinKeyColor) when transparent.
void DrawSkinImage(HDC DC, const TRect& rect, TBitmap& image, bool vertical, bool tile, bool transparent, int N,
                   int I, const TRect& margins);
// DrawSkinImage of image as it would be once turned, frames and margins
// being the turned strip's; only the rect-sized result is turned, never the
// picture itself.
void DrawTurnedSkinImage(HDC DC, const TRect& rect, TBitmap& image, TTurn turn, bool tile, bool transparent, int N,
                         int I, const TRect& margins);
// Left and right margins unscaled, the middle repeated at its own width, all
// stretched to rect's height; key pixels left out when transparent.
void StretchSkinFrame(TCanvas& canvas, const TRect& rect, TBitmap& image, bool vertical, bool transparent, int N,
                      int I, const TRect& margins);
// Frame I of a side-by-side strip stretched into rect.
void DrawSkinFrame(HDC DC, const TRect& rect, TBitmap& image, bool transparent, int N, int I);
// Frame I of a side-by-side strip, unscaled, centred in rect (overhanging
// both sides when larger).
void DrawSkinFrameCentered(HDC DC, const TRect& rect, TBitmap& image, bool transparent, int N, int I);
// Straight onto the DC: the whole frame stretched when wider than rect,
// else left part, stretched middle and right part.
void StretchSkinBar(HDC DC, const TRect& rect, TBitmap& image, bool vertical, int N, int I, const TRect& margins);
// The region of the pixels outside the key range (key to key + tolerance per
// channel), moved by the offsets; an empty region when every pixel is key,
// 0 when the system refuses one. The image is read as it is.
HRGN BitmapToRegion(TBitmap& image, int xOffset, int yOffset, int blueTolerance, int greenTolerance,
                    int redTolerance, TColor key);
// The image at rect's top-left (at most rect's size) without its key pixels.
void DrawTransparentBitmap(HDC DC, const TRect& rect, TBitmap& image, TColor key);
// Copies of bitmap's source rectangle covering dst row by row from its
// top-left; nothing for a source without area.
void TileBitmapRect(TCanvas& canvas, const TRect& dst, TBitmap& bitmap, const TRect& src);
// The parent's WM_ERASEBKGND and WM_PAINT into DC, moved and clipped to the
// control; the DC is restored even when the parent's painting fails.
void DrawParentBackground(TControl* control, HDC DC);
// At most 99 characters.
String GetWndClassName(HWND wnd);
// One line measured and centred in rect; disabled text in clBtnShadow, which
// stays in the canvas font.
void DrawCenteredText(TCanvas& canvas, const TRect& rect, StringView text, bool enabled, TAlignment alignment);
// A small line arrow with the DC's current pen: 0 up, 1 down, 2 left,
// 3 right; other directions draw nothing.
void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction);

// The bitmap the frame painting composes on; null once the skinned-window
// module has ended, after which nothing paints.
extern TBitmap* SkinScratchBitmap;

}  // namespace qv
