#include "skin/controls/WMediaPlayer.h"

#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/controls/PropByName.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace qv {

namespace {

constexpr TColor kGlyphKey = 0x008080;  // olive

const char16_t* const kLook[] = {u"EN", u"DI", u"CL"};
const char16_t* const kButton[] = {u"MPPLAY", u"MPPAUSE", u"MPSTOP",   u"MPNEXT", u"MPPREV",
                                   u"MPSTEP", u"MPBACK",  u"MPRECORD", u"MPEJECT"};

// A glyph that is not there stays an empty bitmap: the button is drawn
// without one.
std::unique_ptr<TBitmap> LoadGlyph(const String& name) {
  auto b = std::make_unique<TBitmap>();
  // The bitmap copies the loaded picture.
  const OwnedBitmap h(LoadBitmapW(GetModuleHandleW(nullptr), W(name)));
  if (h) AssignBitmapHandle(*b, h);
  return b;
}

bool Named(const String& set, int b) { return Pos(kMPBtnTypeInfo.names[static_cast<size_t>(b)], set) > 0; }

}  // namespace

String MPGlyphName(int look, int button) { return String(kLook[look]) + u"_" + kButton[button]; }

const TClassInfo& TWMediaPlayer::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TWMediaPlayer>(u"TWMediaPlayer", TCustomPanel::StaticClass()).Done();
  return info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* AOwner) : TCustomPanel(AOwner) {
  tabStop_ = false;
  visible_ = false;
  SetBevelOuter(bvNone);
  for (int b = 0; b < kMPButtonCount; ++b)
    for (int i = 0; i < 3; ++i) Buttons[static_cast<size_t>(b)].glyph[static_cast<size_t>(i)] = LoadGlyph(MPGlyphName(i, b));
}

TWMediaPlayer::~TWMediaPlayer() {
  alive_.End();
  if (obj) obj->RemoveFreeNotification(this);
}

void TWMediaPlayer::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove && component == obj) obj = nullptr;
}

void TWMediaPlayer::CreateParams(TCreateParams& params) {
  TCustomPanel::CreateParams(params);
  params.style &= ~WS_TABSTOP;
}

void TWMediaPlayer::Attach(TSkinControl* askin, TWinControl* aObj) {
  if (!aObj) return;
  skincontrol = askin;
  fsd = askin ? askin->fsd : nullptr;
  if (fsd) {
    SetTag(fsd->DisableTag());
    SetColor(fsd->Colors[scButtonFace]);
  }
  SetPosition(aObj);
  SetParent(aObj->Parent());
  SetPosition(aObj);
}

void TWMediaPlayer::SetPosition(TWinControl* aObj) {
  if (!aObj) return;
  if (obj != aObj) {
    if (obj) obj->RemoveFreeNotification(this);
    obj = aObj;
    obj->FreeNotification(this);
  }
  SetBounds(aObj->Left(), aObj->Top(), aObj->Width(), aObj->Height());
  if (!HandleAllocated() || !aObj->HandleAllocated()) return;
  // Directly above the player, so that whatever covers the player covers
  // the overlay too.
  HWND above = GetWindow(aObj->Handle(), GW_HWNDPREV);
  if (above != handle_)
    SetWindowPos(handle_, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::ReadButtons() {
  const String vis = obj ? GetEnumPropByName(obj, u"VisibleButtons") : String();
  const String en = obj ? GetEnumPropByName(obj, u"EnabledButtons") : String();
  const String col = obj ? GetEnumPropByName(obj, u"ColoredButtons") : String();
  // A disabled player has no enabled button, whatever its set says.
  const bool playerEnabled = obj && obj->Enabled();
  count = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    TMPButtonLook& look = Buttons[static_cast<size_t>(b)];
    look.visible = Named(vis, b);
    look.enabled = playerEnabled && Named(en, b);
    look.colored = Named(col, b);
    count += look.visible;
  }
  BtnWidth = count > 0 ? width_ / count : 0;
}

int TWMediaPlayer::HitTest(int x) {
  ReadButtons();
  BtnFocuse = kNoMPButton;
  int s = 0;
  for (int b = 0; b < kMPButtonCount && count > 0; ++b) {
    if (!Buttons[static_cast<size_t>(b)].visible) continue;
    if (s <= x && x <= s + BtnWidth) {
      BtnFocuse = b;
      break;
    }
    s += BtnWidth;
  }
  return BtnFocuse;
}

// ---------------------------------------------------------------------------
// Painting

void TWMediaPlayer::Paint() {
  ReadButtons();
  HDC dc = Canvas().Handle();
  const TColor face = fsd ? fsd->Colors[scButtonFace] : clBtnFace;
  if (width_ <= 0 || height_ <= 0) return;
  if (count == 0) {
    FillColorRect(dc, Rect(0, 0, width_, height_), face);
    return;
  }
  TBitmap buffer;
  buffer.SetSize(width_, height_);
  HDC bdc = BitmapCanvas(buffer).Handle();
  FillColorRect(bdc, Rect(0, 0, width_, height_), face);
  int x = 0;
  for (int b = 0; b < kMPButtonCount; ++b) {
    if (!Buttons[static_cast<size_t>(b)].visible) continue;
    DrawButton(bdc, Rect(x, 0, x + BtnWidth, height_), b);
    x += BtnWidth;
  }
  BitBlt(dc, 0, 0, width_, height_, bdc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawButton(HDC dc, const TRect& cell, int b) {
  const TMPButtonLook& look = Buttons[static_cast<size_t>(b)];
  const bool pressed = look.enabled && IsDown && BtnClick == b;
  const int frame = !look.enabled ? 3 : pressed ? 2 : 1;
  TDataSkinButton* button = fsd ? fsd->Button.get() : nullptr;
  // A strip that claims no frames, or fewer than the look needs, is left out.
  if (HasPicture(button) && button->frame >= frame)
    DrawSkinImage(dc, cell, *button->Map, false, button->Tile != 0, button->trans == 1, button->frame, frame,
                  button->r);
  TBitmap* glyph = look.glyph[!look.enabled ? 1 : look.colored ? 2 : 0].get();
  if (!glyph || glyph->Empty()) return;
  const int d = pressed ? 1 : 0;
  const int gx = cell.Left + (cell.Width() - glyph->Width()) / 2 + d;
  const int gy = (cell.Height() - glyph->Height()) / 2 + d;
  DrawTransparentBitmap(dc, Rect(gx, gy, gx + glyph->Width(), gy + glyph->Height()), *glyph, kGlyphKey);
}

// ---------------------------------------------------------------------------
// Mouse

void TWMediaPlayer::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      LButtonDown(message);
      return;
    case WM_LBUTTONUP:
      LButtonUp(message);
      return;
    default:
      TCustomPanel::Dispatch(message);
  }
}

bool TWMediaPlayer::TakesPress(int b) const {
  if (!obj || !obj->Enabled()) return false;
  return b == kNoMPButton || Buttons[static_cast<size_t>(b)].enabled;
}

void TWMediaPlayer::LButtonDown(TMessage& message) {
  TCustomPanel::Dispatch(message);
  // A disabled player, or a button it leaves disabled, is not pressed: the
  // player would act on a press it never takes itself.
  if (!TakesPress(HitTest(PointFromLParam(message.LParam).X))) {
    IsDown = false;
    BtnClick = kNoMPButton;
    return;
  }
  IsDown = true;
  // The player's handlers may free the player, its skin and this overlay.
  const TLifeToken alive = alive_.Token();
  if (obj) obj->Perform(WM_LBUTTONDOWN, message.WParam, message.LParam);
  if (!alive) return;
  ReleaseCapture();
  HitTest(PointFromLParam(message.LParam).X);
  BtnClick = BtnFocuse;
  Invalidate();
}

void TWMediaPlayer::LButtonUp(TMessage& message) {
  IsDown = false;
  TCustomPanel::Dispatch(message);
  HitTest(PointFromLParam(message.LParam).X);
  const TLifeToken alive = alive_.Token();
  if (BtnFocuse == BtnClick && TakesPress(BtnFocuse)) obj->Perform(WM_LBUTTONUP, message.WParam, message.LParam);
  if (!alive) return;
  BtnClick = BtnFocuse;
  Invalidate();
}

}  // namespace qv
