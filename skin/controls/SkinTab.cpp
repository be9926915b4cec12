#include "skin/controls/SkinTab.h"

#include <algorithm>

#include "platform/core/AnsiText.h"
#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinDraw.h"
#include "skin/windows/SkinManager.h"

namespace qv {

namespace {

// Tab texts are read into a buffer of this many characters, the last one
// the terminating NUL.
constexpr int kItemTextChars = 80;
// The frame round the display area when it comes from the tab element's
// own picture.
constexpr TRect kMaskMargins{4, 5, 4, 4};
// The size of the tab pictures handed to a page control of its own.
constexpr int kTabPictureWidth = 100, kTabPictureHeight = 21;


bool HasImage(const TBitmap* b) { return b && !b->Empty(); }

// dest := a 24-bit copy of source, when source has pixels; false otherwise
// (dest keeps what it had).
bool CopyPicture(TBitmap* source, TBitmap& dest) {
  if (!HasImage(source)) return false;
  CopyBitmap(*source, dest);
  dest.SetPixelFormat(pf24bit);
  return true;
}

// The canvas font as the window's own font (a raw window has no TFont).
void AssignFontHandle(TFont& font, HFONT handle) {
  LOGFONTW lf{};
  if (!handle || !GetObjectW(handle, sizeof lf, &lf)) return;
  font.SetName(FromW(lf.lfFaceName));
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  font.SetStyle((lf.lfWeight >= FW_BOLD ? 1u << fsBold : 0u) | (lf.lfItalic ? 1u << fsItalic : 0u));
}

// The first "msctls_updown32" child, skinned once; true while it shows.
bool CheckUpDownOf(TSkinControl& skin, TSkinUpDown*& updown) {
  HWND child = skin.hwnd ? FindWindowExW(skin.hwnd, nullptr, L"msctls_updown32", nullptr) : nullptr;
  if (!child) return false;
  if (!updown) {
    updown = new TSkinUpDown(skin.Owner());
    updown->FreeNotification(&skin);
    updown->Inithwnd(child, skin.fsd, skin.fCanvas, skin.skinform);
  }
  return (static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & WS_VISIBLE) != 0;
}

// A bitmap object property (declared of class TBitmap or below) set to
// value; other properties are left alone.
void SetBitmapProp(TObject* obj, StringView name, TBitmap* value) {
  const TPropInfo* p = obj ? GetPropInfo(obj, name) : nullptr;
  if (!p || p->kind != TPropKind::Object || !p->objectClass || !p->setObj) return;
  if (!p->objectClass().InheritsFrom(TBitmap::StaticClass())) return;
  SetObjectProp(obj, *p, value);
}

}  // namespace

TSkinTabPosition TabPositionOfStyle(DWORD style) {
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (vertical) return bottom ? Stright : Stleft;
  return bottom ? Stbottom : StTop;
}

// ---------------------------------------------------------------------------
// TSkinTab

const TClassInfo& TSkinTab::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinTab>(u"TSkinTab", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinTab::TSkinTab(TComponent* AOwner)
    : TSkinControl(AOwner),
      tabbmp(std::make_unique<TBitmap>()),
      borderbmp(std::make_unique<TBitmap>()),
      Drawtemp(std::make_unique<TBitmap>()) {
  Drawtemp->SetPixelFormat(pf24bit);
}

TSkinTab::~TSkinTab() = default;

void TSkinTab::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == updown) updown = nullptr;
}

void TSkinTab::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (!hwnd) return;
  enabled = !(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & WS_DISABLED);
  inittab();
  CheckUpDown();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

void TSkinTab::Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & WS_DISABLED);
  inittab();
  CheckUpDown();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

bool TSkinTab::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      return false;
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

// The old up-down went with the old window; the new window may stand on
// another side.
void TSkinTab::WindowRecreated() {
  delete updown;
  inittab();
}

void TSkinTab::SkinChange() {
  TSkinControl::SkinChange();
  inittab();
}

void TSkinTab::GetPosition() {
  Position = TabPositionOfStyle(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)));
}

bool TSkinTab::CheckUpDown() { return CheckUpDownOf(*this, updown); }

void TSkinTab::inittab() {
  GetPosition();
  TDataSkinBorder* tab = fsd ? fsd->tab.get() : nullptr;
  const bool newTab = tab && CopyPicture(tab->Map.get(), *tabbmp);
  bool newBorder = false;
  if (tab && tab->style == 0) newBorder = CopyPicture(tab->MaskMap.get(), *borderbmp);
  if (tab && tab->style == 1 && fsd->TabSheet) newBorder = CopyPicture(fsd->TabSheet->Map.get(), *borderbmp);
  // Only a fresh copy is turned: a kept picture is turned already.
  switch (Position) {
    case Stbottom:
      if (newBorder) FlipBitmap(*borderbmp);
      if (newTab) FlipBitmap(*tabbmp);
      break;
    case Stleft:
      if (newBorder) RotateBitmapLeft(*borderbmp);
      break;
    case Stright:
      if (newBorder) RotateBitmapRight(*borderbmp);
      break;
    case StTop:
      break;
  }
}

void TSkinTab::DrawTabImage(TCanvas& canvas, const TRect& rect, int I) {
  TDataSkinBorder* tab = fsd->tab.get();
  const int N = std::max(tab->frame, 1);
  // A strip without a frame of its own for the current tab shows it as the
  // others.
  if (I > N) I = 1;
  DrawSkinImage(canvas.Handle(), rect, *tabbmp, false, tab->Tile != 0, tab->trans == 1, N, I, tab->r);
}

String TSkinTab::ItemText(const wchar_t* text) {
  if (unicode) return WideCopy(text, -1);
  // A window of the ANSI side keeps only what its code page can hold.
  return AnsiToWide(TextToCodePage(SkinCodePage, WideCopy(text, -1)));
}

void TSkinTab::SelectTextFont(TCanvas& canvas) {
  if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) canvas.Font().Assign(*f);
  else AssignFontHandle(canvas.Font(), reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
}

void TSkinTab::DrawControl(HDC dc, const TRect& R) {
  const bool HasTabs = fsd && fsd->tab && HasImage(fsd->tab->Map.get());
  RECT d = ToRECT(R);
  SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
  InflateRect(&d, 4, 4);
  switch (Position) {
    case StTop: d.top += 1; break;
    case Stbottom: d.bottom -= 1; break;
    case Stleft: d.left += 1; break;
    case Stright: d.right -= 1; break;
  }
  const TRect D{d.left, d.top, d.right, d.bottom};
  if (HasTabs) DrawStrip(dc, R, D);
  if (!HasImage(borderbmp.get())) return;
  if (fsd->tab->style == 0) {
    try {
      DrawSkinImage(dc, D, *borderbmp, false, false, false, 1, 1, kMaskMargins);
    } catch (...) {
      // A frame picture too small for its margins leaves the area unframed.
    }
  } else if (fsd->TabSheet) {
    DrawSkinImage(dc, D, *borderbmp, false, false, false, 1, 1, fsd->TabSheet->r);
  }
}

void TSkinTab::DrawStrip(HDC dc, const TRect& R, const TRect& D) {
  TRect S;
  switch (Position) {
    case StTop: S = TRect{R.Left, R.Top, R.Right, D.Top}; break;
    case Stbottom: S = TRect{R.Left, D.Bottom, R.Right, R.Bottom}; break;
    case Stleft: S = TRect{R.Left, R.Top, D.Left, R.Bottom}; break;
    case Stright: S = TRect{D.Right, R.Top, R.Right, R.Bottom}; break;
  }
  if (S.Width() <= 0 || S.Height() <= 0) return;
  const bool lying = Position == Stleft || Position == Stright;
  const int L = S.Height();
  Drawtemp->SetPixelFormat(pf24bit);
  if (lying) Drawtemp->SetSize(S.Height(), S.Width());
  else Drawtemp->SetSize(S.Width(), S.Height());
  TCanvas& canvas = BitmapCanvas(*Drawtemp);
  HDC tdc = canvas.Handle();
  FillParentRect(tdc, TRect{0, 0, Drawtemp->Width(), Drawtemp->Height()});
  SelectTextFont(canvas);

  const int n = static_cast<int>(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0));
  const int cur = static_cast<int>(SendMessageW(hwnd, TCM_GETCURFOCUS, 0, 0));
  const auto ImgList = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TCM_GETIMAGELIST, 0, 0));
  TDataSkinBorder* tab = fsd->tab.get();
  for (int i = 0; i < n; ++i) {
    wchar_t text[kItemTextChars] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = kItemTextChars;
    item.iImage = -1;
    SendMessageW(hwnd, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    text[kItemTextChars - 1] = 0;
    // The control may hand back its own buffer instead of filling ours.
    const String itemText = ItemText(item.pszText ? item.pszText : text);
    RECT t{};
    if (!SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t))) continue;
    TRect T{t.left, t.top, t.right, t.bottom};
    switch (Position) {
      case StTop: T = TRect{T.Left, T.Top + 1, T.Right, T.Bottom + 1}; break;
      case Stbottom: T = TRect{T.Left, T.Top - D.Bottom - 1, T.Right, T.Bottom - D.Bottom - 1}; break;
      case Stleft: T = TRect{L - T.Bottom, T.Left, L - T.Top, T.Right}; break;
      case Stright: T = TRect{T.Top - 1, R.Right - T.Right, T.Bottom - 1, R.Right - T.Left}; break;
    }
    const int I = i == cur ? 2 : 1;
    DrawTabImage(canvas, T, I);
    canvas.Font().SetColor(I == 1 ? tab->Normalcolor2 : tab->Overcolor2);
    DrawImgCaption(canvas, T, ImgList, item.iImage, itemText, 1);
  }
  canvas.SetHandle(tdc);  // the canvas's font leaves the bitmap's DC
  if (Position == Stright) RotateBitmapRight(*Drawtemp);
  if (Position == Stleft) RotateBitmapLeft(*Drawtemp);
  if (CheckUpDown()) CopyStrip(dc, S);
  else BitBlt(dc, S.Left, S.Top, Drawtemp->Width(), Drawtemp->Height(), BitmapCanvas(*Drawtemp).Handle(), 0, 0, SRCCOPY);
}

void TSkinTab::CopyStrip(HDC dc, const TRect& S) {
  RECT U{}, W{};
  if (!updown || !GetWindowRect(updown->hwnd, &U) || !GetWindowRect(hwnd, &W)) return;
  OffsetRect(&U, -W.left, -W.top);
  OffsetRect(&W, -W.left, -W.top);
  HRGN clip = CreateRectRgn(0, 0, W.right, W.bottom);
  SelectClipRgn(dc, clip);
  ExcludeClipRect(dc, U.left, U.top, U.right, U.bottom);
  BitBlt(dc, S.Left, S.Top, Drawtemp->Width(), Drawtemp->Height(), BitmapCanvas(*Drawtemp).Handle(), 0, 0, SRCCOPY);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

// ---------------------------------------------------------------------------
// TSkinTab31

const TClassInfo& TSkinTab31::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinTab31>(u"TSkinTab31", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinTab31::TSkinTab31(TComponent* AOwner) : TSkinControl(AOwner), tabbmp(std::make_unique<TBitmap>()) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool /*acolor*/) {
  control = As<TWinControl>(Owner());
  if (!control) return;
  control->FreeNotification(this);
  TSkinControl::Inithwnd(control->Handle(), sd, acanvas, sf);
  WatchRecreation();
  inittab();
}

void TSkinTab31::inittab() {
  if (!fsd || !fsd->tab || !CopyPicture(fsd->tab->Map.get(), *tabbmp)) return;
  FlipBitmap(*tabbmp);
}

void TSkinTab31::SkinChange() {
  TSkinControl::SkinChange();
  inittab();
}

bool TSkinTab31::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The tab set's own painting then finds nothing left to paint, and
      // the skin paints once more after it.
      WMPaint(Message);
      return true;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TSkinTab31::DrawControl(HDC dc, const TRect& rc) {
  TDataSkinBorder* tab = fsd ? fsd->tab.get() : nullptr;
  if (!tab || !HasImage(tab->Map.get()) || !HasImage(tabbmp.get()) || !control) return;
  const int width = rc.Width(), height = rc.Height();
  if (width <= 0 || height <= 0) return;
  TBitmap temp;
  temp.SetSize(width, height);
  TCanvas& canvas = BitmapCanvas(temp);
  FillFaceRect(canvas.Handle(), TRect{0, 0, width, height});
  if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) canvas.Font().Assign(*f);

  auto* tabs = As<TStrings>(GetObjectPropByName(control, u"Tabs", TStrings::StaticClass()));
  const int count = tabs ? tabs->Count() : 0;
  const int sel = GetOrdPropByName(control, u"TabIndex");
  const int first = std::max(0, GetOrdPropByName(control, u"FirstIndex"));
  int x = std::max(0, GetOrdPropByName(control, u"StartMargin"));
  const int limit = width - std::max(0, GetOrdPropByName(control, u"EndMargin"));
  const int N = std::max(tab->frame, 1);
  for (int i = first; i < count; ++i) {
    const String text = tabs->Get(i);
    const int w = canvas.TextExtent(text).cx + 9;
    if (x + w > limit) continue;  // a later, narrower tab may still fit
    const TRect T{x, 0, x + w, height};
    const int I = i == sel && N >= 2 ? 2 : 1;
    DrawSkinImage(canvas.Handle(), T, *tabbmp, false, tab->Tile != 0, tab->trans == 1, N, I, tab->r);
    canvas.Font().SetColor(i == sel ? tab->Overcolor2 : tab->Normalcolor2);
    DrawCaption(canvas, T, text, true, false, DT_CENTER);
    x += w;
  }
  canvas.SetHandle(canvas.Handle());
  BitBlt(dc, rc.Left, rc.Top, width, height, canvas.Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinAdvPage

const TClassInfo& TSkinAdvPage::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinAdvPage>(u"TSkinAdvPage", TSkinControl::StaticClass()).Done();
  return info;
}

void TSkinAdvPage::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == updown) updown = nullptr;
}

void TSkinAdvPage::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool acolor) {
  if (Inited) return;
  TSkinControl::Init(sf, sd, acanvas, acolor);
  if (kind == 4) SetTabBackgrounds();
  Inited = true;
  skinstate = 1;
}

void TSkinAdvPage::SkinChange() {
  if (kind == 4) SetTabBackgrounds();
}

void TSkinAdvPage::WindowRecreated() {
  delete updown;
  if (kind == 4) SetTabBackgrounds();
}

void TSkinAdvPage::Unsubclass() {
  SetBitmapProp(control, u"TabBackGround", nullptr);
  SetBitmapProp(control, u"TabBackGroundActive", nullptr);
}

void TSkinAdvPage::DrawControl(HDC, const TRect&) { CheckUpDown(); }

bool TSkinAdvPage::CheckUpDown() { return CheckUpDownOf(*this, updown); }

void TSkinAdvPage::SetTabBackgrounds() {
  TDataSkinBorder* tab = fsd ? fsd->tab.get() : nullptr;
  if (!tab || !HasImage(tab->Map.get()) || !control) return;
  const TRect size{0, 0, kTabPictureWidth, kTabPictureHeight};
  const int N = std::max(tab->frame, 1);
  const char16_t* props[] = {u"TabBackGround", u"TabBackGroundActive"};
  for (int I = 1; I <= 2; ++I) {
    // A strip of one frame gives both pictures the same.
    std::unique_ptr<TBitmap> picture = CreateSkinBitmap(size, *tab->Map, tab->r, false, tab->Tile != 0, N, std::min(I, N));
    if (picture) SetBitmapProp(control, props[I - 1], picture.get());
  }
}

}  // namespace qv
