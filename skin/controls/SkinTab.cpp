#include "skin/controls/SkinTab.h"

#include <algorithm>
#include <vector>

#include "platform/core/AnsiText.h"
#include "platform/core/TypInfo.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinPlatform.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"

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

// The current skin's tab element with a picture to draw tabs from, or null.
TDataSkinBorder* TabPicture(TSkinData* sd) {
  TDataSkinBorder* tab = sd ? sd->tab.get() : nullptr;
  return HasPicture(tab) ? tab : nullptr;
}

// A picture made for tabs on top, drawn as it stands for tabs on `side`.
// The skin's own picture is drawn from every time, never copied: a large
// picture would otherwise be held (and turned) once per tab control.
void DrawForSide(HDC dc, const TRect& rect, TBitmap& image, TSkinTabPosition side, bool tile, bool transparent, int N,
                 int I, const TRect& margins) {
  switch (side) {
    case StTop: DrawSkinImage(dc, rect, image, false, tile, transparent, N, I, margins); return;
    case Stbottom: DrawTurnedSkinImage(dc, rect, image, TTurn::Flip, tile, transparent, N, I, margins); return;
    case Stleft: DrawTurnedSkinImage(dc, rect, image, TTurn::Left, tile, transparent, N, I, margins); return;
    case Stright: DrawTurnedSkinImage(dc, rect, image, TTurn::Right, tile, transparent, N, I, margins); return;
  }
}

// Frame 2 shows the current tab when the strip has one; a strip of one
// frame draws it as the others, text colour included.
int TabFrame(bool current, int N) { return current && N >= 2 ? 2 : 1; }

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

void TakeTabPictures(TObject* pageControl) {
  SetBitmapProp(pageControl, u"TabBackGround", nullptr);
  SetBitmapProp(pageControl, u"TabBackGroundActive", nullptr);
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

TSkinTab::TSkinTab(TComponent* AOwner) : TSkinControl(AOwner), Drawtemp(std::make_unique<TBitmap>()) {
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
  GetPosition();
  CheckUpDown();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

void TSkinTab::Inithwnd(HWND ahwnd, TSkinData* sd, TCanvas* acanvas, TComponent* sf) {
  TSkinControl::Inithwnd(ahwnd, sd, acanvas, sf);
  focused = GetFocus() == hwnd;
  enabled = !(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & WS_DISABLED);
  GetPosition();
  CheckUpDown();
  skinned = true;
  unicode = IsWindowUnicode(hwnd) != FALSE;
}

bool TSkinTab::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // Without a tab picture the control paints its own tabs; the frame
      // is laid over them afterwards (AfterProc).
      if (!TabPicture(fsd)) return TSkinControl::BeforeProc(Message);
      WMPaint(Message);
      return false;
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

// The old up-down went with the old window; the new window may stand on
// another side, which its first paint reads.
void TSkinTab::WindowRecreated() { delete updown; }

void TSkinTab::GetPosition() {
  Position = TabPositionOfStyle(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)));
}

bool TSkinTab::CheckUpDown() { return CheckUpDownOf(*this, updown); }

String TSkinTab::ItemText(const wchar_t* text) {
  if (unicode) return WideCopy(text, -1);
  // A window of the ANSI side keeps only what its code page can hold.
  return AnsiToWide(TextToCodePage(SkinCodePage, WideCopy(text, -1)));
}

void TSkinTab::SelectTextFont(TCanvas& canvas) {
  if (auto* f = As<TFont>(GetObjectPropByName(control, u"Font", TFont::StaticClass()))) canvas.Font().Assign(*f);
  else canvas.Font().AssignHandle(WindowFont(hwnd));
}

void TSkinTab::DrawControl(HDC dc, const TRect& R) {
  // Nothing of a skin that has no tab element (a reload may have taken it).
  TDataSkinBorder* tab = fsd ? fsd->tab.get() : nullptr;
  if (!tab) return;
  // Read at every paint: a window re-created on another side is painted
  // for that side at once.
  GetPosition();
  RECT d = ToRECT(R);
  SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
  InflateRect(&d, 4, 4);
  switch (Position) {
    case StTop: d.top += 1; break;
    case Stbottom: d.bottom -= 1; break;
    case Stleft: d.left += 1; break;
    case Stright: d.right -= 1; break;
  }
  const TRect D = FromRECT(d);
  if (HasPicture(tab)) DrawStrip(dc, R, D, *tab);
  DrawFrame(dc, D, *tab);
}

void TSkinTab::DrawFrame(HDC dc, const TRect& D, TDataSkinBorder& tab) {
  if (tab.style == 0 && HasImage(tab.MaskMap.get())) {
    try {
      DrawForSide(dc, D, *tab.MaskMap, Position, false, false, 1, 1, kMaskMargins);
    } catch (...) {
      // A frame picture too small for its margins leaves the area unframed.
    }
  } else if (tab.style == 1 && HasPicture(fsd->TabSheet.get())) {
    DrawForSide(dc, D, *fsd->TabSheet->Map, Position, false, false, 1, 1, fsd->TabSheet->r);
  }
}

void TSkinTab::DrawStrip(HDC dc, const TRect& R, const TRect& D, TDataSkinBorder& tab) {
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
  // The selected tab is the current one: the focus may rest on another
  // (buttons moved through by keyboard) while the page stays.
  const int cur = static_cast<int>(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
  const auto ImgList = reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TCM_GETIMAGELIST, 0, 0));
  const int N = std::max(tab.frame, 1);
  // The tabs are drawn lying down for the vertical sides, and the strip
  // turned as a whole afterwards.
  const TSkinTabPosition tabSide = Position == Stbottom ? Stbottom : StTop;
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
    // Into Drawtemp so that, once turned and copied to S, each tab lies
    // exactly on its item rectangle: a click on any pixel of it finds it.
    TRect T = FromRECT(t);
    switch (Position) {
      case StTop: break;
      case Stbottom: T = TRect{T.Left, T.Top - D.Bottom, T.Right, T.Bottom - D.Bottom}; break;
      case Stleft: T = TRect{L - T.Bottom, T.Left, L - T.Top, T.Right}; break;
      case Stright: T = TRect{T.Top, R.Right - T.Right, T.Bottom, R.Right - T.Left}; break;
    }
    const int I = TabFrame(i == cur, N);
    DrawForSide(tdc, T, *tab.Map, tabSide, tab.Tile != 0, tab.trans == 1, N, I, tab.r);
    canvas.Font().SetColor(I == 1 ? tab.Normalcolor2 : tab.Overcolor2);
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
  // Within the caller's clipping, which is given back as it was.
  ClipRegionSaver clip(dc);
  ExcludeClipRect(dc, U.left, U.top, U.right, U.bottom);
  BitBlt(dc, S.Left, S.Top, Drawtemp->Width(), Drawtemp->Height(), BitmapCanvas(*Drawtemp).Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinTab31

const TClassInfo& TSkinTab31::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinTab31>(u"TSkinTab31", TSkinControl::StaticClass()).Done();
  return info;
}

TSkinTab31::TSkinTab31(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::Init(TComponent* sf, TSkinData* sd, TCanvas* acanvas, bool /*acolor*/) {
  control = As<TWinControl>(Owner());
  if (!control) return;
  control->FreeNotification(this);
  TSkinControl::Inithwnd(control->Handle(), sd, acanvas, sf);
  WatchRecreation();
}

bool TSkinTab31::BeforeProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // Without a tab picture the tab set paints (and erases) for itself.
      if (!TabPicture(fsd)) return TSkinControl::BeforeProc(Message);
      // The tab set's own painting then finds nothing left to paint, and
      // the skin paints once more after it.
      WMPaint(Message);
      return true;
    case WM_ERASEBKGND:
      if (!TabPicture(fsd)) return TSkinControl::BeforeProc(Message);
      Message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(Message);
  }
}

void TSkinTab31::DrawControl(HDC dc, const TRect& rc) {
  TDataSkinBorder* tab = TabPicture(fsd);
  if (!tab || !control) return;
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
  const int limit = width - std::max(0, GetOrdPropByName(control, u"EndMargin"));
  // Laid out before anything is drawn, in the tab set's own font as it
  // measures: a caption drawn clears the canvas font's style.
  struct Placed {
    int index;
    TRect rect;
  };
  std::vector<Placed> placed;
  int x = std::max(0, GetOrdPropByName(control, u"StartMargin"));
  for (int i = first; i < count; ++i) {
    const int w = canvas.TextExtent(tabs->Get(i)).cx + 9;
    if (x + w > limit) continue;  // a later, narrower tab may still fit
    placed.push_back({i, TRect{x, 0, x + w, height}});
    x += w;
  }
  const int N = std::max(tab->frame, 1);
  for (const Placed& p : placed) {
    const int I = TabFrame(p.index == sel, N);
    // The strip upside down, so that the tabs hang from the top edge.
    DrawTurnedSkinImage(canvas.Handle(), p.rect, *tab->Map, TTurn::Flip, tab->Tile != 0, tab->trans == 1, N, I,
                        tab->r);
    canvas.Font().SetColor(I == 1 ? tab->Normalcolor2 : tab->Overcolor2);
    DrawCaption(canvas, p.rect, tabs->Get(p.index), true, DT_CENTER);
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
  if (kind == akTabBackgrounds) SetTabBackgrounds();
  Inited = true;
  skinstate = TControlSkinState::Active;
}

void TSkinAdvPage::SkinChange() {
  if (kind == akTabBackgrounds) SetTabBackgrounds();
}

void TSkinAdvPage::WindowRecreated() {
  delete updown;
  if (kind == akTabBackgrounds) SetTabBackgrounds();
}

void TSkinAdvPage::Unsubclass() { TakeTabPictures(control); }

void TSkinAdvPage::DrawControl(HDC, const TRect&) { CheckUpDown(); }

bool TSkinAdvPage::CheckUpDown() { return CheckUpDownOf(*this, updown); }

void TSkinAdvPage::SetTabBackgrounds() {
  if (!control) return;
  TDataSkinBorder* tab = TabPicture(fsd);
  if (!tab) {
    // A skin without tab pictures takes the last skin's away.
    TakeTabPictures(control);
    return;
  }
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
