#include "skin/controls/SkinSpeedButton.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/ExceptionBarrier.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/Picture.h"
#include "skin/controls/SkinControlList.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

namespace qv {

const TClassInfo& TSkinSpeedButton::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinSpeedButton>(u"TSkinSpeedButton", TSkinBitButton::StaticClass()).Done();
  return info;
}

TSkinSpeedButton::TSkinSpeedButton(TComponent* AOwner) : TSkinBitButton(AOwner) {}

TSkinSpeedButton::~TSkinSpeedButton() { RestoreWindowProc(); }

void TSkinSpeedButton::InitGraphicControl(TComponent* sf, TSkinData* sd, TCanvas* acanvas) {
  auto* g = As<TGraphicControl>(Owner());
  if (!g || Inited) return;
  fsd = sd;
  fCanvas = acanvas;
  GControl = g;
  skinform = sf;
  g->FreeNotification(this);
  HookWindowProc(g);
  if (auto* f = ControlSkinHostOf(skinform)) f->ControlSkins().Add(this);
  skinstate = TControlSkinState::Active;
  Inited = true;
  trans = g->Tag() == kTagTransparent || (fsd && InSet(fsd->Options(), xoTransparent));
  g->Invalidate();
}

bool TSkinSpeedButton::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (!ButtonPicture()) return true;
      WMPaintSpeed(Message);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const TLifeToken alive = Alive();
      CallOldProc(Message);
      if (!alive) return false;
      state |= kStatePressed;
      PaintControl(nullptr);
      return false;
    }
    case WM_LBUTTONUP:
      return true;
    default:
      return TSkinButton::BeforeProc(Message);
  }
}

void TSkinSpeedButton::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONUP:
      state &= ~kStatePressed;
      PaintControl(nullptr);
      break;
    case CM_MOUSEENTER:
      state |= kStateHot;
      PaintControl(nullptr);
      break;
    case CM_MOUSELEAVE:
      state &= ~(kStateHot | kStatePressed);
      if (GControl && GControl->Visible()) PaintControl(nullptr);
      break;
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
      break;
    case WM_NCDESTROY:
    case CM_RELEASE:
      RestoreWindowProc();
      break;
    default:
      TSkinButton::AfterProc(Message);
      break;
  }
}

void TSkinSpeedButton::PaintControl(HDC) {
  TGraphicControl* g = GControl;
  TWinControl* parent = g ? g->Parent() : nullptr;
  if (!g || !g->Visible() || !parent || !parent->HandleAllocated()) return;
  WindowDC dc(parent->Handle());
  if (!dc) return;
  SavedDC saved(dc);
  SetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
  ExceptionBarrier([&] { DrawSpeedbtn(dc, TRect{0, 0, g->Width(), g->Height()}); });
}

void TSkinSpeedButton::WMPaintSpeed(TMessage& Message) {
  Message.Result = 1;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc || !GControl) return;
  ExceptionBarrier([&] { DrawSpeedbtn(dc, TRect{0, 0, GControl->Width(), GControl->Height()}); });
}

void TSkinSpeedButton::DrawSpeedbtn(HDC dc, const TRect& rect) { Draw(dc, rect, !PicField.empty()); }

void TSkinSpeedButton::DrawPicFieldSpeedbtn(HDC dc, const TRect& rect) { Draw(dc, rect, true); }

void TSkinSpeedButton::Draw(HDC dc, const TRect& rect, bool picture) {
  TDataSkinButton* skin = ButtonPicture();
  TGraphicControl* g = GControl;
  if (!skin || !g || SameText(GetEnumPropByName(g, u"Visible"), u"false")) return;
  if (FReentr) return;
  FReentr = true;
  // Cleared on every way out; not when the skin went meanwhile.
  struct Guard {
    TLifeToken alive;
    bool& flag;
    ~Guard() {
      if (alive) flag = false;
    }
  } guard{Alive(), FReentr};

  enabled = ReadsTrue(g, u"Enabled");
  const bool down = ReadsTrue(g, u"Down");
  int frame = kFrameNormal;
  if (state & kStatePressed) frame = kFramePressed;
  else if (state & kStateHot) frame = kFrameHot;
  if (!enabled) frame = kFrameDisabled;
  if (down) frame = kFramePressed;
  const int glyphIndex = down ? 4 : GlyphIndexOfFrame(frame);
  caption = GetStrPropByName(g, u"Caption");
  focused = false;
  const bool flat = ReadsTrue(g, u"Flat");
  const int n = ReadNumGlyphs(g);

  const TRect B{0, 0, rect.Width(), rect.Height()};
  if (B.Width() < 1 || B.Height() < 1) return;
  try {
    btemp->SetSize(B.Width(), B.Height());
  } catch (...) {
    return;
  }
  TCanvas& c = BitmapCanvas(*btemp);
  HDC bdc = c.Handle();
  c.SetHandle(bdc);
  if (auto* font = As<TFont>(GetObjectPropByName(g, u"Font", TFont::StaticClass()))) c.Font().Assign(*font);
  if (trans) DrawParentBackground(g, bdc);
  else FillColorRect(bdc, B, fsd->Colors[scButtonFace]);
  if (frame == kFramePressed || frame == kFrameHot || !flat) DrawSkinMap(bdc, B, skin, frame, skin->frame);

  int gw = 0, gh = 0;
  std::function<void(int, int)> drawGlyph;
  if (picture) {
    auto* graphic = As<TGraphic>(GetObjectPropByName(g, PicField, TGraphic::StaticClass()));
    if (graphic && !graphic->Empty() && n > 0) {
      gw = graphic->Width() / n;
      gh = graphic->Height();
      drawGlyph = [graphic, bdc](int x, int y) { graphic->Draw(bdc, x, y); };
    }
  } else if (auto* glyph = As<TBitmap>(GetObjectPropByName(g, u"Glyph", TBitmap::StaticClass()));
             glyph && !glyph->Empty() && n > 0) {
    gw = glyph->Width() / n;
    gh = glyph->Height();
    drawGlyph = [&, glyph, n, glyphIndex](int x, int y) {
      DrawGlyph(bdc, TRect{x, y, x + gw, y + gh}, n, glyphIndex, *glyph);
    };
  }

  if (gw > 0 && gh > 0) {
    SelectCaptionColor(c, ButtonCaptionColor(c.Font().Color(), *skin, frame, enabled, false));
    PaintGlyphAndCaption(c, B, gw, gh, GetOrdPropByName(g, u"Margin"), GetOrdPropByName(g, u"Spacing"),
                         GlyphLayoutOf(g), true, false, drawGlyph);
  } else {
    // No picture to place: the caption centred as on a plain speed button;
    // the picture kind keeps its normal colour to the normal frame.
    SelectCaptionColor(c, ButtonCaptionColor(c.Font().Color(), *skin, frame, enabled, !picture));
    DrawButtonCaption(c, B, DT_CENTER);
  }
  BitBlt(dc, rect.Left, rect.Top, B.Width(), B.Height(), bdc, 0, 0, SRCCOPY);
  c.SetHandle(bdc);
}

}  // namespace qv
