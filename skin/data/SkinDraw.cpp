#include "skin/data/SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinGeometry.h"

namespace qv {

TBitmap* SkinScratchBitmap = nullptr;

static_assert(sizeof(TRect) == sizeof(RECT), "runs go into RGNDATA as they are");

namespace {

HDC DCOf(TBitmap& bitmap) { return BitmapCanvas(bitmap).Handle(); }

void Blit(HDC dst, const TSkinPiece& p, HDC src) {
  StretchBlt(dst, p.dst.Left, p.dst.Top, p.dst.Width(), p.dst.Height(), src, p.src.Left, p.src.Top, p.src.Width(),
             p.src.Height(), SRCCOPY);
}

// Stretching picks whole pixels. The DC comes first, so the pixels are
// allocated once, in the DIB section.
std::unique_ptr<TBitmap> NewBitmap(int width, int height) {
  auto b = std::make_unique<TBitmap>();
  SetStretchBltMode(DCOf(*b), COLORONCOLOR);
  b->SetSize(std::max(width, 0), std::max(height, 0));
  return b;
}

// Surfaces that the drawing functions compose on, reused from call to call:
// a fresh DIB section costs more than the drawing itself (every page of it
// is touched new), and every skinned paint composes. Each grows to the
// largest size asked for; the area used is cleared to black first, as a new
// bitmap would be, unless the caller fills it whole. Slot 0 composes, slot 1
// holds tile blocks, slot 2 what lies under a transparent image, slot 3 a
// composed picture turned. Used on the user-interface thread only, and never
// by two calls at once: nothing here calls out while a surface is in use.
TBitmap& Scratch(int slot, int width, int height, bool clear = true) {
  static std::unique_ptr<TBitmap> scratch[4];
  auto& b = scratch[slot];
  if (!b) b = NewBitmap(0, 0);
  if (b->Width() < width || b->Height() < height) b->SetSize(std::max(width, b->Width()), std::max(height, b->Height()));
  if (clear) PatBlt(DCOf(*b), 0, 0, width, height, BLACKNESS);
  return *b;
}

// The top-left w x h of image at (x, y), without its key pixels; w and h lie
// inside the image. What the DC holds there is copied out, the image's
// opaque pixels are laid over it run by run, and the result copied back:
// two plain copies, where masking blits (a monochrome mask, MaskBlt, XOR and
// AND passes) run pixel by pixel through the raster-operation code and cost
// twenty times as much. Pixels of the DC outside its clipping stay as they
// are, and key pixels go back unchanged.
void DrawTransparentPart(HDC DC, int x, int y, int w, int h, TBitmap& image, TColor key) {
  if (w <= 0 || h <= 0) return;
  TBitmap& under = Scratch(2, w, h, false);
  HDC u = DCOf(under);
  BitBlt(u, 0, 0, w, h, DC, x, y, SRCCOPY);
  const uint32_t k = ColorToRGB(key);
  const uint8_t kb = BlueOf(k), kg = GreenOf(k), kr = RedOf(k);
  const int n = image.BytesPerPixel();
  for (int row = 0; row < h; ++row) {
    const uint8_t* s = image.ScanLine(row);
    uint8_t* d = under.ScanLine(row);
    int i = 0;
    while (i < w) {
      while (i < w && s[i * n] == kb && s[i * n + 1] == kg && s[i * n + 2] == kr) ++i;
      const int start = i;
      while (i < w && !(s[i * n] == kb && s[i * n + 1] == kg && s[i * n + 2] == kr)) ++i;
      if (i == start) continue;
      if (n == 3) {
        std::memcpy(d + start * 3, s + start * 3, static_cast<size_t>(i - start) * 3);
      } else {
        for (int j = start; j < i; ++j) std::memcpy(d + j * 3, s + j * n, 3);
      }
    }
  }
  BitBlt(DC, x, y, w, h, u, 0, 0, SRCCOPY);
}

void Put(HDC DC, int x, int y, TBitmap& b, int w, int h, bool transparent) {
  if (transparent) DrawTransparentPart(DC, x, y, w, h, b, kSkinKeyColor);
  else BitBlt(DC, x, y, w, h, DCOf(b), 0, 0, SRCCOPY);
}

// The nine-part grid of frame into the top-left W x H of out.
void ComposeGrid(TBitmap& out, int W, int H, TBitmap& image, const TRect& frame, const TRect& margins, bool tile) {
  const TSkinGridCut cut = SkinGridCut(W, H, frame, margins);
  if (cut.count == 0) return;
  HDC dst = DCOf(out);
  HDC src = DCOf(image);
  for (int i = 0; i < cut.count; ++i) {
    const TSkinPiece& p = cut.piece[static_cast<size_t>(i)];
    if (i == cut.centre && tile) TileBitmapRect(BitmapCanvas(out), p.dst, image, p.src);
    else Blit(dst, p, src);
  }
}

}  // namespace

std::unique_ptr<TBitmap> CreateSkinBitmap(const TRect& target, TBitmap& image, const TRect& margins, bool vertical,
                                          bool tile, int N, int I) {
  auto out = NewBitmap(target.Width(), target.Height());
  ComposeGrid(*out, out->Width(), out->Height(), image, SkinFrameIn(image, vertical, N, I), margins, tile);
  return out;
}

void DrawSkinImage(HDC DC, const TRect& rect, TBitmap& image, bool vertical, bool tile, bool transparent, int N,
                   int I, const TRect& margins) {
  const TRect frame = SkinFrameIn(image, vertical, N, I);
  if (IsInvertedRect(rect) || rect.IsEmpty() || frame.IsEmpty()) return;
  const int W = rect.Width(), H = rect.Height();
  TBitmap& b = Scratch(0, W, H);
  ComposeGrid(b, W, H, image, frame, margins, tile);
  Put(DC, rect.Left, rect.Top, b, W, H, transparent);
}

void DrawTurnedSkinImage(HDC DC, const TRect& rect, TBitmap& image, TTurn turn, bool tile, bool transparent, int N,
                         int I, const TRect& margins) {
  // Frame I of the turned strip is a frame of the picture as it lies: the
  // same one after a flip, counted from the other end after a mirror, and a
  // band of a stacked strip after a quarter turn.
  N = std::max(N, 1);
  const bool fromOtherEnd = turn == TTurn::Mirror || turn == TTurn::Right;
  const TRect frame = SkinFrameIn(image, QuarterTurn(turn), N, fromOtherEnd ? N + 1 - I : I);
  if (IsInvertedRect(rect) || rect.IsEmpty() || frame.IsEmpty()) return;
  const int W = rect.Width(), H = rect.Height();
  const int w = QuarterTurn(turn) ? H : W, h = QuarterTurn(turn) ? W : H;
  TBitmap& lying = Scratch(0, w, h);
  ComposeGrid(lying, w, h, image, frame, MarginsBeforeTurn(turn, margins), tile);
  TBitmap& turned = Scratch(3, W, H, false);
  TurnPixels(lying, w, h, turned, turn);
  Put(DC, rect.Left, rect.Top, turned, W, H, transparent);
}

void StretchSkinFrame(TCanvas& canvas, const TRect& rect, TBitmap& image, bool vertical, bool transparent, int N,
                      int I, const TRect& margins) {
  if (IsInvertedRect(rect)) return;
  const int W = rect.Width(), H = rect.Height();
  const auto pieces = SkinFrameStrip(W, H, SkinFrameIn(image, vertical, N, I), margins.Left, margins.Right);
  if (pieces.empty()) return;
  TBitmap& b = Scratch(0, W, H);
  HDC dst = DCOf(b);
  HDC src = DCOf(image);
  for (const TSkinPiece& p : pieces) Blit(dst, p, src);
  Put(canvas.Handle(), rect.Left, rect.Top, b, W, H, transparent);
}

void DrawSkinFrame(HDC DC, const TRect& rect, TBitmap& image, bool transparent, int N, int I) {
  const TRect frame = SkinFrameIn(image, false, N, I);
  if (IsInvertedRect(rect) || rect.IsEmpty() || frame.IsEmpty()) return;
  const int W = rect.Width(), H = rect.Height();
  TBitmap& b = Scratch(0, W, H);
  Blit(DCOf(b), TSkinPiece{Rect(0, 0, W, H), frame}, DCOf(image));
  Put(DC, rect.Left, rect.Top, b, W, H, transparent);
}

void DrawSkinFrameCentered(HDC DC, const TRect& rect, TBitmap& image, bool transparent, int N, int I) {
  const TRect frame = SkinFrameIn(image, false, N, I);
  if (IsInvertedRect(rect) || frame.IsEmpty()) return;
  const int w = frame.Width(), h = frame.Height();
  TBitmap& b = Scratch(0, w, h);
  BitBlt(DCOf(b), 0, 0, w, h, DCOf(image), frame.Left, frame.Top, SRCCOPY);
  const TPoint at = CenteredOrigin(rect, w, h);
  Put(DC, at.X, at.Y, b, w, h, transparent);
}

void StretchSkinBar(HDC DC, const TRect& rect, TBitmap& image, bool vertical, int N, int I, const TRect& margins) {
  const auto pieces = SkinBarPieces(rect, SkinFrameIn(image, vertical, N, I), margins.Left, margins.Right);
  if (pieces.empty()) return;
  HDC src = DCOf(image);
  for (const TSkinPiece& p : pieces) Blit(DC, p, src);
}

HRGN BitmapToRegion(TBitmap& image, int xOffset, int yOffset, int blueTolerance, int greenTolerance,
                    int redTolerance, TColor key) {
  std::vector<TRect> runs;
  OpaqueRuns(image, xOffset, yOffset, KeyRange(key, blueTolerance, greenTolerance, redTolerance), runs);
  // The region is built in batches of this many rectangles, OR-ed together.
  constexpr size_t kBatch = 2000;
  std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  OwnedRegion result;
  size_t done = 0;
  do {
    const size_t n = std::min(kBatch, runs.size() - done);
    RECT bound{0, 0, 0, 0};
    if (n > 0) bound = RECT{0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF - 1, -0x7FFFFFFF - 1};
    for (size_t i = done; i < done + n; ++i) {
      bound.left = std::min<LONG>(bound.left, runs[i].Left);
      bound.top = std::min<LONG>(bound.top, runs[i].Top);
      bound.right = std::max<LONG>(bound.right, runs[i].Right);
      bound.bottom = std::max<LONG>(bound.bottom, runs[i].Bottom);
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = 0;
    data->rdh.rcBound = bound;
    if (n > 0) std::memcpy(data->Buffer, runs.data() + done, n * sizeof(RECT));
    OwnedRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT)), data));
    if (!part) return nullptr;
    if (!result) result = std::move(part);
    else CombineRgn(result, result, part, RGN_OR);
    done += n;
  } while (done < runs.size());
  return result.Release();  // the caller owns the region
}

void DrawTransparentBitmap(HDC DC, const TRect& rect, TBitmap& image, TColor key) {
  if (IsInvertedRect(rect) || image.Empty()) return;
  // Never past the image: the mask and the image have its size.
  DrawTransparentPart(DC, rect.Left, rect.Top, std::min(rect.Width(), image.Width()),
                      std::min(rect.Height(), image.Height()), image, key);
}

void TileBitmapRect(TCanvas& canvas, const TRect& dst, TBitmap& bitmap, const TRect& src) {
  const int tw = src.Width(), th = src.Height();
  if (tw <= 0 || th <= 0 || dst.IsEmpty()) return;
  // A tiny tile would cost one blit per copy: the copies are drawn from a
  // block of whole tiles (up to 64 x 64 pixels), built by doubling.
  const int bw = tw * std::max(1, std::min(dst.Width(), 64) / tw);
  const int bh = th * std::max(1, std::min(dst.Height(), 64) / th);
  HDC b = DCOf(Scratch(1, bw, bh));
  BitBlt(b, 0, 0, tw, th, DCOf(bitmap), src.Left, src.Top, SRCCOPY);
  for (int w = tw; w < bw; w += std::min(w, bw - w)) BitBlt(b, w, 0, std::min(w, bw - w), th, b, 0, 0, SRCCOPY);
  for (int h = th; h < bh; h += std::min(h, bh - h)) BitBlt(b, 0, h, bw, std::min(h, bh - h), b, 0, 0, SRCCOPY);
  HDC d = canvas.Handle();
  ForEachTile(dst, bw, bh, [&](const TRect& t) { BitBlt(d, t.Left, t.Top, t.Width(), t.Height(), b, 0, 0, SRCCOPY); });
}

void DrawParentBackground(TControl* control, HDC DC) {
  if (!control || !control->Parent()) return;
  RECT r = control->ClientRect();
  SavedDC saved(DC);
  OffsetViewportOrgEx(DC, -control->Left(), -control->Top(), nullptr);
  OffsetRect(&r, control->Left(), control->Top());
  IntersectClipRect(DC, r.left, r.top, r.right, r.bottom);
  TWinControl* parent = control->Parent();
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

String GetWndClassName(HWND wnd) {
  wchar_t name[100];
  const int n = GetClassNameW(wnd, name, 100);
  return n > 0 ? FromW(name, static_cast<size_t>(n)) : String();
}

void DrawCenteredText(TCanvas& canvas, const TRect& rect, StringView text, bool enabled, TAlignment alignment) {
  UINT f = DT_LEFT;
  if (alignment == taRightJustify) f = DT_RIGHT;
  else if (alignment == taCenter) f = DT_CENTER;
  f |= DT_SINGLELINE | DT_EXPANDTABS;
  SetBkMode(canvas.Handle(), TRANSPARENT);
  canvas.Font().SetStyle(0);
  RECT t = ToRECT(rect);
  canvas.DrawText(text, t, f | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&t, (rect.Width() - (t.right - t.left)) / 2, (rect.Height() - (t.bottom - t.top)) / 2);
  if (!enabled) canvas.Font().SetColor(clSystemColor | kColorBtnShadow);
  canvas.DrawText(text, t, f);
}

void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction) {
  HDC dc = canvas.Handle();
  auto line = [dc](int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
  };
  switch (direction) {
    case 0:
      line(x, y, x, y - 1);
      line(x + 1, y + 1, x + 4, y + 4);
      line(x, y + 1, x + 3, y + 4);
      line(x, y + 2, x + 2, y + 4);
      line(x - 1, y + 1, x - 4, y + 4);
      line(x, y + 2, x - 3, y + 4);
      line(x, y + 1, x - 2, y + 4);
      break;
    case 1:
      line(x, y + 3, x, y + 4);
      line(x + 1, y + 2, x + 4, y - 1);
      line(x, y + 2, x + 3, y - 1);
      line(x, y + 1, x + 2, y);
      line(x - 1, y + 2, x - 4, y - 1);
      line(x, y + 2, x - 3, y - 1);
      line(x, y + 1, x - 2, y);
      break;
    case 2: {
      const POINT p[] = {{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}};
      Polyline(dc, p, 5);
      break;
    }
    case 3: {
      const POINT p[] = {{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}};
      Polyline(dc, p, 5);
      break;
    }
    default:
      break;
  }
}

}  // namespace qv
