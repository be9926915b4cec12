#include "skin/controls/SkinGroupBox.h"

#include "platform/win/GdiHandles.h"
#include "skin/controls/SkinControlList.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

namespace qv {

// ---------------------------------------------------------------------------
// Group box

const TClassInfo& TSkinGroupBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinGroupBox>(u"TSkinGroupBox", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinGroupBox::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  TSkinControl::Init(sf, sd, acanvas, acolor);
  kind = control ? gkSkinPainted : gkSelfPainted;
}

bool TSkinGroupBox::BeforeProc(TMessage& Message) {
  const bool result = TSkinControl::BeforeProc(Message);
  if (Message.Msg == WM_PAINT && kind != gkSelfPainted) {
    WMPaint(Message);
    return false;
  }
  return result;
}

int TSkinGroupBox::TextHeight(HDC dc, StringView s) { return HdcTextExtent(dc, s).cy; }

void TSkinGroupBox::DrawGroupBox(HDC dc, const TRect& R) {
  caption = GetWindowCaption(hwnd);
  if (caption.empty() && control) caption = GetStrPropByName(control, u"Caption");
  if (control) FillFaceRect(dc, R);
  {
    // The window's font is its parent's, a class-library control's its TFont's.
    FontRef font = WindowFont(hwnd);
    TextStyleSaver style(dc);
    if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) {
      font = f->Handle();
      SetTextColor(dc, ColorToRGB(f->Color()));
    }
    SelectGuard useFont(dc, font);
    const int y = TextHeight(dc, u"0") / 2 - 1;
    {
      const OwnedPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(fsd ? fsd->Colors[scButtonShadow] : clBtnShadow)));
      SelectGuard usePen(dc, pen), hollow(dc, GetStockObject(NULL_BRUSH));
      RoundRect(dc, 1, y, R.Right - 1, R.Bottom - 1, 5, 5);
    }

    // The DC's own background mode stays: opaque, the caption's cell covers
    // the frame line.
    SetBkColor(dc, ColorToRGB(fsd ? fsd->Colors[scButtonFace] : clBtnFace));
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_RIGHT) {
      RECT r{R.Left, R.Top, R.Right - 8, R.Bottom};
      SkinDrawText(dc, caption, r, CheckBiDi(DT_RIGHT | DT_NOCLIP));
    } else {
      RECT r{R.Left + 8, R.Top, R.Right, R.Bottom};
      SkinDrawText(dc, caption, r, DT_NOCLIP);
    }
  }
  if (control && kind == 1) control->PaintControls(dc);
}

// ---------------------------------------------------------------------------
// Box

const TClassInfo& TSkinBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinBox>(u"TSkinBox", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinBox::~TSkinBox() {
  if (skinstate != TControlSkinState::LetGo && skinstate != TControlSkinState::Unskinning) RestoreColor();
}

void TSkinBox::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  newColor = acolor;
  fsd = sd;
  fCanvas = acanvas;
  skinform = sf;
  control = As<TWinControl>(Owner());
  if (!control) return;
  control->FreeNotification(this);
  hwnd = control->Handle();
  if (auto* f = ControlSkinHostOf(skinform)) f->ControlSkins().Add(this);
  if (newColor) {
    oldcolor = control->Color();
    control->SetColor(fsd ? fsd->Colors[scButtonFace] : clBtnFace);
  }
}

void TSkinBox::Unsubclass() {
  if (skinstate != TControlSkinState::Unskinning) RestoreColor();
  skinstate = TControlSkinState::LetGo;
}

void TSkinBox::RestoreColor() {
  if (newColor && control && !control->Destroying()) control->SetColor(oldcolor);
  newColor = false;
}

}  // namespace qv
