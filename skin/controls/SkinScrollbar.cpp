#include "skin/controls/SkinScrollbar.h"

#include "platform/core/TypInfo.h"
#include "platform/win/GdiHandles.h"
#include "skin/controls/SkinControlList.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

constexpr StringView kFixedColor = u"FixedColor";

bool HasIntegerProp(TObject* obj, StringView name) {
  const TPropInfo* p = obj ? GetPropInfo(obj, name) : nullptr;
  return p && p->kind == TPropKind::Ordinal && p->getOrd && p->setOrd;
}

TColor FaceColor(const TSkinData* sd) { return sd ? sd->Colors[scButtonFace] : clBtnFace; }

// The overlay shows a scroll code as the part it moved.
void ShowScrollCode(TWScrollbar* bar, WPARAM wparam) {
  if (!bar) return;
  bar->scrollpos = LOWORD(wparam);
  bar->Invalidate();
}

void InvalidateShown(TWScrollbar* bar) {
  if (bar && bar->sbVisible) bar->Invalidate();
}

bool BothShown(const TWScrollbar* hb, const TWScrollbar* vb) {
  return hb && vb && hb->sbVisible && vb->sbVisible;
}

// The fields are cleared first: freeing a window may send messages here.
void FreeOverlays(TWScrollbar*& hb, TWScrollbar*& vb) {
  TWScrollbar* h = hb;
  TWScrollbar* v = vb;
  hb = vb = nullptr;
  delete h;
  delete v;
}

bool Covers(const TWScrollbar* bar) { return bar && bar->PaintsOverBar(); }

void PlaceOverlays(TWScrollbar* hb, TWScrollbar* vb, HWND hwnd) {
  if (hb) hb->SetPosition(hwnd);
  if (vb) vb->SetPosition(hwnd);
}

}  // namespace

// ---------------------------------------------------------------------------
// TSkinScrollbar

const TClassInfo& TSkinScrollbar::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinScrollbar>(u"TSkinScrollbar", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinScrollbar::TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) { kind = sbkBordered; }

TSkinScrollbar::~TSkinScrollbar() { FreeOverlays(hb, vb); }

void TSkinScrollbar::InitScrollbar(TWinControl* acontrol, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  if (Inited || !acontrol) return;
  // The control's WindowProc is hooked through the base, which skins its
  // owner; the control owns its skin in any case.
  if (Owner() != acontrol) acontrol->InsertComponent(this);
  TSkinControl::Init(sf, sd, acanvas, false);
  if (!Inited) return;
  fCanvas = nullptr;

  border = LowerCase(GetEnumPropByName(control, u"BorderStyle")) != u"bsnone";
  if (control->ClassName() == u"TImageScrollBox" || kind == sbkSingleScrollbar) border = false;

  if (HasIntegerProp(control, kFixedColor)) {
    oldcolor = GetOrdPropByName(control, kFixedColor);
    newColor = true;
    SetPropByName(control, kFixedColor, IntToStr(FaceColor(fsd)));
  }

  const TLifeToken alive = Alive();
  hb = new TWScrollbar(this);
  hb->Attach(this, control, 0);
  if (!alive || !control) return;
  vb = new TWScrollbar(this);
  vb->Attach(this, control, 1);
  if (!alive || !control) return;
  hb->SetEnabled(control->Enabled());
  vb->SetEnabled(control->Enabled());
  if (!control->Visible()) {
    vb->HideScrollbar();
    hb->HideScrollbar();
  }
  // A border drawn by the system until now gets ours.
  if (border && hwnd) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TSkinScrollbar::UpdatePosition() { PlaceOverlays(hb, vb, hwnd); }

bool TSkinScrollbar::BarsCovered() const {
  if (!hwnd) return false;
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (!(style & WS_VISIBLE) || !(style & (WS_VSCROLL | WS_HSCROLL))) return false;
  return (!(style & WS_VSCROLL) || Covers(vb)) && (!(style & WS_HSCROLL) || Covers(hb));
}

void TSkinScrollbar::ReplaceSelUnderOverlays(TMessage& Message) {
  const HWND wnd = hwnd;
  // Whatever was due is painted now: holding the drawing drops it.
  UpdateWindow(wnd);
  struct Resume {
    TSkinScrollbar* self;
    HWND wnd;
    TLifeToken alive;
    ~Resume() {
      if (!IsWindow(wnd)) return;
      DefWindowProcW(wnd, WM_SETREDRAW, TRUE, 0);
      if (alive && self->hwnd == wnd && self->BarsCovered()) {
        // The bars the change asked to redraw lie under the overlays.
        RedrawWindow(wnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
        return;
      }
      // An overlay went meanwhile (it hides while the window counts as
      // hidden): everything is drawn and placed anew.
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      if (alive && self->hwnd == wnd) self->UpdatePosition();
    }
  } resume{this, wnd, Alive()};
  // The system's own hold: the window counts as hidden, so nothing of it is
  // drawn, the native bars included.
  DefWindowProcW(wnd, WM_SETREDRAW, FALSE, 0);
  CallOldProc(Message);
}

bool TSkinScrollbar::BeforeProc(TMessage& Message) {
  if (Message.Msg == EM_REPLACESEL && BarsCovered()) {
    ReplaceSelUnderOverlays(Message);
    return false;
  }
  // A re-created window gets a fresh skin from the form (WindowCameBack).
  if (Message.Msg == CM_RECREATEWND) return true;
  if (Message.Msg != WM_NCPAINT) return TSkinControl::BeforeProc(Message);
  if (!border) return true;
  // The system's frame and native bars first; the border goes over them.
  const TLifeToken alive = Alive();
  CallOldProc(Message);
  if (!alive || !hwnd) return false;
  WindowDC dc(hwnd, WindowDC::Whole);
  if (dc) DrawBorder(dc);
  return false;
}

void TSkinScrollbar::WindowCameBack() {
  // The overlays stand on the old window: the form frees this skin and
  // skins the control's new window afresh.
  if (auto* sf = ControlSkinHostOf(skinform); sf && sf->HostWindow())
    PostMessageW(sf->HostWindow(), SM_CONTROLRECREATED, reinterpret_cast<WPARAM>(hwnd), 0);
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  RECT r{};
  if (!fsd || !GetWindowRect(hwnd, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  const OwnedBrush shadow(CreateSolidBrush(ColorToRGB(fsd->Colors[scButtonShadow])));
  const OwnedBrush face(CreateSolidBrush(ColorToRGB(fsd->Colors[scButtonFace])));
  FrameRect(dc, &r, shadow);
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face);
}

void TSkinScrollbar::AfterProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      UpdatePosition();
      return;
    case WM_HSCROLL:
      ShowScrollCode(hb, Message.WParam);
      return;
    case WM_VSCROLL:
      ShowScrollCode(vb, Message.WParam);
      return;
    case WM_MOUSEWHEEL:
      InvalidateShown(vb);
      InvalidateShown(hb);
      return;
    case CM_VISIBLECHANGED:
      if (Message.WParam) {
        UpdatePosition();
      } else {
        if (vb) vb->HideScrollbar();
        if (hb) hb->HideScrollbar();
      }
      return;
    case CM_ENABLEDCHANGED:
      if (control) {
        if (hb) hb->SetEnabled(control->Enabled());
        if (vb) vb->SetEnabled(control->Enabled());
      }
      return;
    case SM_PAINTBORDER:
      if (static_cast<uintptr_t>(Message.LParam) == SkinPaintMagic) {
        if (Message.WParam) DrawBorder(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = static_cast<LRESULT>(SkinPaintMagic);
      }
      return;
    default:
      TSkinControl::AfterProc(Message);
  }
}

void TSkinScrollbar::DrawControl(HDC dc, const TRect& /*rc*/) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const TLifeToken alive = Alive();
  if (vb) {
    if (vb->sbVisible) vb->InvalidateChanged();
    else if (style & WS_VSCROLL) vb->SetPosition(hwnd);
  }
  if (!alive) return;
  if (hb) {
    if (hb->sbVisible) hb->InvalidateChanged();
    else if (style & WS_HSCROLL) hb->SetPosition(hwnd);
  }
  if (!alive) return;
  // The size box between the two bars (+2: the client edge).
  if (BothShown(hb, vb))
    FillFaceRect(dc, Rect(vb->sbRect.Left + 2, hb->sbRect.Top + 2, vb->sbRect.Right + 2, hb->sbRect.Bottom + 2));
}

void TSkinScrollbar::SkinChange() {
  // The next paint of the control repaints the overlays from the new skin.
  if (hb) hb->ForgetPainted();
  if (vb) vb->ForgetPainted();
  if (!HasIntegerProp(control, kFixedColor)) return;
  // The colour to give back stays the control's own, recorded at the first
  // skin; the current one is only the previous skin's face.
  if (!newColor) {
    oldcolor = GetOrdPropByName(control, kFixedColor);
    newColor = true;
  }
  SetPropByName(control, kFixedColor, IntToStr(FaceColor(fsd)));
}

void TSkinScrollbar::Unsubclass() {
  if (newColor && control) SetPropByName(control, kFixedColor, IntToStr(oldcolor));
  newColor = false;
  TSkinControl::Unsubclass();
  if (skinstate != TControlSkinState::Dead) FreeOverlays(hb, vb);
}

// ---------------------------------------------------------------------------
// TSkinScrollbarH

const TClassInfo& TSkinScrollbarH::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TSkinScrollbarH>(u"TSkinScrollbarH", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbarH::~TSkinScrollbarH() { FreeOverlays(hb, vb); }

void TSkinScrollbarH::Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  control = nullptr;
  if (!hwnd) return;
  const TLifeToken alive = Alive();
  hb = new TWScrollbar(this);
  hb->AttachHwnd(this, hwnd, 0);
  if (!alive) return;
  vb = new TWScrollbar(this);
  vb->AttachHwnd(this, hwnd, 1);
}

void TSkinScrollbarH::UpdatePosition() { PlaceOverlays(hb, vb, hwnd); }

void TSkinScrollbarH::AfterProc(TMessage& Message) {
  if (vb && !IsWindowVisible(hwnd)) vb->HideScrollbar();
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT: {
      const TLifeToken alive = Alive();
      UpdatePosition();
      if (alive) Redraw();
      return;
    }
    case WM_HSCROLL:
      ShowScrollCode(hb, Message.WParam);
      return;
    case WM_VSCROLL:
      ShowScrollCode(vb, Message.WParam);
      return;
    default:
      TSkinControl::AfterProc(Message);
  }
}

void TSkinScrollbarH::DrawControl(HDC dc, const TRect& /*rc*/) {
  InvalidateShown(vb);
  InvalidateShown(hb);
  if (BothShown(hb, vb))
    FillFaceRect(dc, Rect(vb->sbRect.Left, hb->sbRect.Top, vb->sbRect.Right + 2, hb->sbRect.Bottom + 2));
}

void TSkinScrollbarH::Unsubclass() {
  TSkinControl::Unsubclass();
  if (skinstate != TControlSkinState::Dead) FreeOverlays(hb, vb);
}

}  // namespace qv
