#include "skin/controls/SkinBitButton.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/ImageList.h"
#include "platform/win/Picture.h"
#include "platform/win/WinGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {


// Margin and Spacing of a bit button. "taCenter" centres glyph and caption
// as a group: the margin becomes automatic, a given spacing stays.
void ReadMarginSpacing(TObject* control, int& margin, int& spacing) {
  margin = GetOrdPropByName(control, u"Margin");
  spacing = GetOrdPropByName(control, u"Spacing");
  if (SameText(GetEnumPropByName(control, u"Alignment"), u"tacenter")) margin = -1;
}

}  // namespace

void SelectCaptionColor(TCanvas& canvas, TColor color) {
  canvas.Font().SetColor(color);
  canvas.TextExtent(StringView());
}

// ---------------------------------------------------------------------------
// Layout and glyphs

TGlyphPlacement PlaceGlyph(int W, int H, int gw, int gh, int tw, int th, int margin, int spacing,
                           TGlyphLayoutKind layout, bool speed) {
  TGlyphPlacement p;
  const bool across = layout == glLeft || layout == glRight;
  int gx = 0, gy = 0, tx = 0, ty = 0;
  if (across) {
    gy = (H - gh + 1) / 2;
    ty = (H - th + 1) / 2;
  } else {
    gx = (W - gw + 1) / 2;
    tx = (W - tw + 1) / 2;
  }
  if (gw == 0 || tw == 0) spacing = 0;
  const int S = across ? W : H, g = across ? gw : gh, t = across ? tw : th;
  if (margin == -1 && spacing == -1) {
    margin = (S - (g + t)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (S - (g + spacing + t)) / 2 + (speed ? 1 : 0);
  } else if (spacing == -1) {
    spacing = ((S - (margin + g)) - t) / 2;
  }
  switch (layout) {
    case glLeft:
      gx = margin;
      tx = gx + gw + spacing;
      p.flags = DT_WORDBREAK;
      break;
    case glRight:
      gx = W - margin - gw;
      tx = gx - spacing - tw;
      p.flags = DT_WORDBREAK | DT_RIGHT;
      break;
    case glTop:
      gy = margin;
      ty = gy + gh + spacing;
      p.flags = DT_WORDBREAK | DT_CENTER;
      break;
    case glBottom:
      gy = H - margin - gh;
      ty = gy - spacing - th;
      p.flags = DT_WORDBREAK | DT_CENTER;
      break;
  }
  p.glyph = TPoint{gx, gy};
  p.text = TRect{tx, ty, tx + tw, ty + th};
  return p;
}

TGlyphLayoutKind GlyphLayoutOf(TObject* control) {
  const String layout = LowerCase(GetEnumPropByName(control, u"Layout"));
  if (layout == u"blglyphright") return glRight;
  if (layout == u"blglyphtop") return glTop;
  if (layout == u"blglyphbottom") return glBottom;
  return glLeft;
}

int GlyphIndexOfFrame(int frame) {
  if (frame == kFramePressed) return 3;
  if (frame == kFrameDisabled) return 2;
  return 1;
}

int ReadNumGlyphs(TObject* control) {
  const int32_t n = GetOrdPropByName(control, u"NumGlyphs");
  return n < 0 ? 1 : n;
}

std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph) {
  auto result = std::make_unique<TBitmap>();
  const int w = glyph.Width(), h = glyph.Height();
  result->SetSize(w, h);
  if (glyph.Empty()) return result;
  HDC rdc = BitmapCanvas(*result).Handle();
  HDC gdc = BitmapCanvas(glyph).Handle();
  // The mask: the monochrome conversion keyed on black, so 1 for the black
  // figure and 0 for everything else, the glyph's own key colour included
  // (a "not white" mask would turn a magenta or olive key grey, and the
  // transparent draw would then key out the whole glyph).
  MemoryDC mdc(gdc);
  OwnedBitmap mono(CreateBitmap(w, h, 1, 1, nullptr));
  if (!mdc || !mono) return result;
  SelectGuard useMono(mdc, mono);
  {
    TextStyleSaver glyphStyle(gdc);
    SetBkColor(gdc, RGB(0, 0, 0));
    BitBlt(mdc, 0, 0, w, h, gdc, 0, 0, SRCCOPY);
  }

  RECT all{0, 0, w, h};
  FillRect(rdc, &all, GetSysColorBrush(COLOR_BTNFACE));
  TextStyleSaver style(rdc);
  SetTextColor(rdc, RGB(0, 0, 0));
  SetBkColor(rdc, RGB(255, 255, 255));
  // Where the mask is 1 the brush paints, elsewhere the face stays
  // (destination XOR (source AND (brush XOR destination)): 0xE20746).
  SelectGuard highlight(rdc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  BitBlt(rdc, 1, 1, w, h, mdc, 0, 0, 0x00E20746);
  SelectGuard shadow(rdc, GetSysColorBrush(COLOR_BTNSHADOW));
  BitBlt(rdc, 0, 0, w, h, mdc, 0, 0, 0x00E20746);
  return result;
}

void DrawGlyph(HDC dc, const TRect& rect, int NumGlyphs, int index, TBitmap& glyph) {
  if (NumGlyphs < 1 || glyph.Empty()) return;
  const int fw = glyph.Width() / NumGlyphs, h = glyph.Height();
  if (fw < 1) return;
  const int requested = index;
  if (index > NumGlyphs || index < 1) index = 1;
  std::unique_ptr<TBitmap> image;
  if (requested == 2 && NumGlyphs == 1) {
    image = CreateDisabledGlyph(glyph);
  } else {
    image = std::make_unique<TBitmap>();
    image->SetSize(fw, h);
    StretchCopy(*image, TRect{0, 0, fw, h}, glyph, TRect{(index - 1) * fw, 0, index * fw, h});
  }
  const int w = image->Width();
  const auto key = static_cast<UINT>(ColorToRGB(image->Pixel(0, h - 1)));
  GdiTransparentBlt(dc, rect.Left, rect.Top, w, h, BitmapCanvas(*image).Handle(), 0, 0, w, h, key);
}

// ---------------------------------------------------------------------------
// TSkinBitButton

const TClassInfo& TSkinBitButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinBitButton>(u"TSkinBitButton", TSkinButton::StaticClass()).Done();
  return info;
}

TSkinBitButton::TSkinBitButton(TComponent* AOwner) : TSkinButton(AOwner) {}

bool TSkinBitButton::BeginButton(const TRect& R, int frame, TCanvas*& canvas) {
  TDataSkinButton* skin = ButtonPicture();
  const TRect B{0, 0, R.Width(), R.Height()};
  if (!skin || B.IsEmpty()) return false;
  btemp->SetSize(B.Width(), B.Height());
  TCanvas& c = BitmapCanvas(*btemp);
  HDC bdc = c.Handle();
  // The canvas's font leaves the DC before it is changed below.
  c.SetHandle(bdc);
  if (trans && control) DrawParentBackground(control, bdc);
  else FillColorRect(bdc, B, fsd->Colors[scButtonFace]);
  DrawSkinMap(bdc, B, skin, frame, skin->frame);
  // A raw window's font is copied, not selected: its owner may delete it.
  if (auto* font = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) c.Font().Assign(*font);
  else c.Font().AssignHandle(WindowFont(hwnd));
  canvas = &c;
  return true;
}

void TSkinBitButton::EndButton(HDC dc, const TRect& R, TCanvas& canvas) {
  HDC bdc = canvas.Handle();
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), bdc, 0, 0, SRCCOPY);
  canvas.SetHandle(bdc);
}

void TSkinBitButton::PaintGlyphAndCaption(TCanvas& canvas, const TRect& B, int gw, int gh, int margin, int spacing,
                                          TGlyphLayoutKind layout, bool speed, bool focusRect,
                                          const std::function<void(int x, int y)>& drawGlyph) {
  HDC dc = canvas.Handle();
  caption = ReplaceFirst(caption, u"||", u"\r\n");
  RECT box{B.Left + 2, B.Top + 2, B.Right - 2, B.Bottom - 2};
  if (layout == glLeft || layout == glRight) box.right -= gw + 2;
  else box.bottom -= gh + 2;
  int tw = 0, th = 0;
  if (!caption.empty()) {
    SkinDrawText(dc, caption, box, DT_CALCRECT | DT_WORDBREAK);
    tw = box.right - box.left;
    th = box.bottom - box.top;
  }
  const TGlyphPlacement p = PlaceGlyph(B.Width(), B.Height(), gw, gh, tw, th, margin, spacing, layout, speed);
  if (gw > 0 && gh > 0 && drawGlyph) drawGlyph(p.glyph.X, p.glyph.Y);
  if (caption.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  RECT t = ToRECT(p.text);
  SkinDrawText(dc, caption, t, CheckBiDi(p.flags));
  if (focusRect && focused && !InSet(fsd->Options(), xoNoFocusRect)) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(dc, &t);
  }
}

void TSkinBitButton::DrawControl(HDC dc, const TRect& R) {
  if (!ButtonPicture()) return;
  if (!PicField.empty()) {
    DrawPicFieldButton(dc, R);
    return;
  }
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE)) & WS_DISABLED);
  caption = control ? GetStrPropByName(control, u"Caption") : GetWindowCaption(hwnd);
  const int frame = FrameIndex(control && ReadsTrue(control, u"Default"));
  TCanvas* c = nullptr;
  if (!BeginButton(R, frame, c)) return;
  HDC bdc = c->Handle();

  int gw = 0, gh = 0;
  std::function<void(int, int)> drawGlyph;
  auto* glyph = As<TBitmap>(GetObjectPropByName(control, u"Glyph", TBitmap::StaticClass()));
  if (glyph && !glyph->Empty()) {
    const int n = ReadNumGlyphs(control);
    if (n > 0 && glyph->Width() / n > 0) {
      gw = glyph->Width() / n;
      gh = glyph->Height();
      drawGlyph = [&, n, frame](int x, int y) {
        DrawGlyph(bdc, TRect{x, y, x + gw, y + gh}, n, GlyphIndexOfFrame(frame), *glyph);
      };
    }
  } else if (auto* images = As<TCustomImageList>(
                 GetObjectPropByName(control, u"Images", TCustomImageList::StaticClass()))) {
    const int index = GetOrdPropByName(control, u"ImageIndex");
    const int disabledIndex = GetOrdPropByName(control, u"DisabledIndex");
    const int shown = enabled || disabledIndex == -1 ? index : disabledIndex;
    if (index != -1 && shown >= 0 && shown < images->Count()) {
      gw = images->Width();
      gh = images->Height();
      drawGlyph = [&, shown](int x, int y) { images->List().Draw(bdc, x, y, shown, enabled); };
    }
  }

  SelectCaptionColor(*c, ButtonCaptionColor(c->Font().Color(), *fsd->Button, frame, enabled, true));
  int margin = -1, spacing = -1;
  ReadMarginSpacing(control, margin, spacing);
  PaintGlyphAndCaption(*c, TRect{0, 0, R.Width(), R.Height()}, gw, gh, margin, spacing, GlyphLayoutOf(control),
                       false, true, drawGlyph);
  EndButton(dc, R, *c);
}

void TSkinBitButton::DrawPicFieldButton(HDC dc, const TRect& R) {
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE)) & WS_DISABLED);
  caption = control ? GetStrPropByName(control, u"Caption") : GetWindowCaption(hwnd);
  const int frame = FrameIndex(false);
  TCanvas* c = nullptr;
  if (!BeginButton(R, frame, c)) return;
  HDC bdc = c->Handle();
  auto* picture = As<TGraphic>(GetObjectPropByName(control, PicField, TGraphic::StaticClass()));
  const int gw = picture && !picture->Empty() ? picture->Width() : 0;
  const int gh = gw ? picture->Height() : 0;
  SelectCaptionColor(*c, ButtonCaptionColor(c->Font().Color(), *fsd->Button, frame, enabled, false));
  int margin = -1, spacing = -1;
  ReadMarginSpacing(control, margin, spacing);
  PaintGlyphAndCaption(*c, TRect{0, 0, R.Width(), R.Height()}, gw, gh, margin, spacing, GlyphLayoutOf(control),
                       false, true, [&](int x, int y) { picture->Draw(bdc, x, y); });
  EndButton(dc, R, *c);
}

// ---------------------------------------------------------------------------
// TSkinMenuButton

const TClassInfo& TSkinMenuButton::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinMenuButton>(u"TSkinMenuButton", TSkinButton::StaticClass()).Done();
  return info;
}

TSkinMenuButton::TSkinMenuButton(TComponent* AOwner) : TSkinButton(AOwner) {}

void TSkinMenuButton::DrawControl(HDC dc, const TRect& R) {
  TDataSkinButton* skin = ButtonPicture();
  const int W = R.Width(), H = R.Height();
  if (!skin || W <= 0 || H <= 0) return;
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWndLong(hwnd, GWL_STYLE)) & WS_DISABLED);
  caption = control ? GetStrPropByName(control, u"Caption") : GetWindowCaption(hwnd);
  // Focus shows the hot frame; the default look is not read.
  int frame = kFrameNormal;
  if (focused || (state & kStateHot)) frame = kFrameHot;
  if (state & kStatePressed) frame = kFramePressed;
  if (!enabled) frame = kFrameDisabled;

  btemp->SetSize(W, H);
  TCanvas& c = BitmapCanvas(*btemp);
  HDC bdc = c.Handle();
  c.SetHandle(bdc);
  const TRect B{0, 0, W, H};
  if (trans && control) DrawParentBackground(control, bdc);
  else FillColorRect(bdc, B, fsd->Colors[scButtonFace]);
  DrawSkinMap(bdc, B, skin, frame, skin->frame);
  auto* glyph = As<TBitmap>(GetObjectPropByName(control, u"Glyph", TBitmap::StaticClass()));
  const int gw = glyph && !glyph->Empty() ? glyph->Width() : 0, gh = gw ? glyph->Height() : 0;
  if (auto* font = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) c.Font().Assign(*font);

  SelectCaptionColor(c, ButtonCaptionColor(c.Font().Color(), *skin, frame, enabled, false));
  const TColor ink = enabled ? clWindowText : clBtnShadow;

  caption = ReplaceFirst(caption, u"||", u"\r\n");
  constexpr int kArrowW = 8;
  RECT box{2, 2, W - gw - kArrowW - 2, H - 2};
  int tw = 0, th = 0;
  if (!caption.empty()) {
    SkinDrawText(bdc, caption, box, DT_CALCRECT | DT_WORDBREAK);
    tw = box.right - box.left;
    th = box.bottom - box.top;
  }
  int margin = GetOrdPropByName(control, u"Margin"), spacing = GetOrdPropByName(control, u"Spacing");
  if (margin == -1 && spacing == -1) {
    margin = (W - (gw + tw + kArrowW)) / 4;
    spacing = margin;
  } else if (margin == -1) {
    margin = (W - (gw + tw + 2 * spacing + kArrowW)) / 2;
  } else if (spacing == -1) {
    spacing = ((W - (2 * margin + gw - kArrowW)) - tw) / 2;
  }
  const int tx = margin + gw + spacing, ty = (H - th + 1) / 2;
  const int ax = tx + tw + 2 * spacing, ay = (H - 3) / 2;
  if (gw > 0) DrawGlyph(bdc, TRect{margin, (H - gh) / 2, margin + gw, (H - gh) / 2 + gh}, 1, 1, *glyph);

  {
    const OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(ink))));
    const OwnedPen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(ink))));
    SelectGuard useBrush(bdc, brush), usePen(bdc, pen);
    const POINT arrow[3] = {{ax, ay + 2}, {ax - 3, ay - 1}, {ax + 3, ay - 1}};
    Polygon(bdc, arrow, 3);
  }

  RECT t{tx, ty, tx + tw, ty + th};
  {
    TextStyleSaver style(bdc);
    SetBkMode(bdc, TRANSPARENT);
    SkinDrawText(bdc, caption, t, DT_WORDBREAK);
  }
  if (focused && !InSet(fsd->Options(), xoNoFocusRect)) {
    InflateRect(&t, 2, 2);
    DrawFocusRect(bdc, &t);
  }
  BitBlt(dc, R.Left, R.Top, W, H, bdc, 0, 0, SRCCOPY);
  c.SetHandle(bdc);
}

}  // namespace qv
