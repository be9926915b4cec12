#include "skin/controls/SkinGroupBox.h"

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
  kind = control ? 1 : 0;
}

bool TSkinGroupBox::BeforeProc(TMessage& Message) {
  const bool result = TSkinControl::BeforeProc(Message);
  if (Message.Msg == WM_PAINT && kind != 0) {
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
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  COLORREF oldText = CLR_INVALID;
  if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) {
    font = f->Handle();
    oldText = SetTextColor(dc, ColorToRGB(f->Color()));
  }
  const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  const int y = TextHeight(dc, u"0") / 2 - 1;

  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(fsd ? fsd->Colors[7] : clBtnShadow));
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 1, y, R.Right - 1, R.Bottom - 1, 5, 5);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);

  // The DC's own background mode stays: opaque, the caption's cell covers
  // the frame line.
  const COLORREF oldBk = SetBkColor(dc, ColorToRGB(fsd ? fsd->Colors[3] : clBtnFace));
  if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_RIGHT) {
    RECT r{R.Left, R.Top, R.Right - 8, R.Bottom};
    SkinDrawText(dc, caption, r, CheckBiDi(DT_RIGHT | DT_NOCLIP));
  } else {
    RECT r{R.Left + 8, R.Top, R.Right, R.Bottom};
    SkinDrawText(dc, caption, r, DT_NOCLIP);
  }
  SetBkColor(dc, oldBk);
  if (oldFont) SelectObject(dc, oldFont);
  if (oldText != CLR_INVALID) SetTextColor(dc, oldText);
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
    control->SetColor(fsd ? fsd->Colors[3] : clBtnFace);
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
