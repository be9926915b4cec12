// Menu items measured and drawn from the skin: the items of popup menus, of
// the skinned system menu and of a form's main-menu drop-downs (as their
// OnMeasureItem and OnDrawItem), and the owner-drawn entries of a window's
// own menu (WM_MEASUREITEM and WM_DRAWITEM, raw menus through a temporary
// item). Every item is composed on a bitmap of its own size and copied in
// one blit, so a menu never shows a half-drawn item.
//
// The MenuItem element is a strip of five frames: 1 normal, 4 selected,
// 2 the separator. A popup menu's skinned background (TWinSkinPopMenu's
// MenuBg) covers the whole menu window; the item rectangles are in the
// coordinates of the DC the items are drawn in, which start inside the
// window's 3-pixel frame where the system gives menus one, and at the
// window's corner where it draws the frame in the client area itself.
#include <algorithm>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/Menus.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"

namespace qv {

namespace {

constexpr int kMenuBgOffset = 3;  // the popup frame, when no window tells
constexpr int kCheckCell = 16;
// The caption's flags: DT_SINGLELINE | DT_EXPANDTABS, and for a
// right-to-left menu DT_RIGHT | DT_RTLREADING on top.
constexpr UINT kTextFlags = DT_SINGLELINE | DT_EXPANDTABS;
constexpr UINT kRtlTextFlags = DT_RIGHT | DT_SINGLELINE | DT_EXPANDTABS | DT_RTLREADING;
constexpr int kShortCutEndGap = 11;
// The command numbers the class library gives out lie in this range; an
// entry of a form's menu in it that no item claims is someone else's.
constexpr UINT kLibraryCommandLast = 4095;

TDataSkinObject* MenuItemElement(TSkinData* fsd) {
  if (!fsd || !fsd->MenuItem || !fsd->MenuItem->Map || fsd->MenuItem->Map->Empty()) return nullptr;
  return fsd->MenuItem.get();
}

TImageList* UsableImages(const TMenu* menu) {
  TImageList* images = menu ? menu->Images() : nullptr;
  return images && images->Count() > 0 ? images : nullptr;
}



// A scratch bitmap of one item in the menu font.
std::unique_ptr<TBitmap> ItemBitmap(int width, int height) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(std::max(width, 0), std::max(height, 0));
  if (!b->Empty()) BitmapCanvas(*b).Font().Assign(Screen().MenuFont());
  return b;
}

void CopyToCanvas(TBitmap& b, TCanvas& target, int x, int y) {
  if (b.Empty() || !target.Handle()) return;
  BitBlt(target.Handle(), x, y, b.Width(), b.Height(), BitmapCanvas(b).Handle(), 0, 0, SRCCOPY);
}

// Where the origin of the menu's DC lies in its window, which is where the
// item rectangles lie in MenuBg. A DC of no window (a bitmap's) is taken
// for a client DC inside the usual frame.
TPoint MenuBgOffset(HDC dc) {
  HWND w = dc ? WindowFromDC(dc) : nullptr;
  RECT wr{};
  POINT org{};
  if (!w || !GetWindowRect(w, &wr) || !GetDCOrgEx(dc, &org)) return TPoint{kMenuBgOffset, kMenuBgOffset};
  return TPoint{org.x - wr.left, org.y - wr.top};
}

// The item's bitmap over rectangle S of a popup menu's skinned background,
// or over the menu colour where there is none. A popup skin that has not
// painted its frame yet has an empty background: the colour shows then.
std::unique_ptr<TBitmap> ItemBackground(const TRect& R, TBitmap* menuBg, TColor menuColour, TPoint offset) {
  auto B = ItemBitmap(R.Width(), R.Height());
  if (B->Empty()) return B;
  FillRect(*B, Rect(0, 0, B->Width(), B->Height()), menuColour);
  if (menuBg && !menuBg->Empty()) {
    const TRect S = Moved(R, offset.X, offset.Y);
    BitBlt(BitmapCanvas(*B).Handle(), 0, 0, B->Width(), B->Height(), BitmapCanvas(*menuBg).Handle(), S.Left, S.Top,
           SRCCOPY);
  }
  return B;
}

// The dithered face of a checked image cell: button face and highlight in
// alternating pixels.
void FillDitheredCell(HDC dc, const RECT& cell) {
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  const OwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, kPattern));
  if (!pattern) return;
  const OwnedBrush brush(CreatePatternBrush(pattern));
  TextStyleSaver style(dc);
  SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  if (brush) FillRect(dc, &cell, brush);
}

// The system's check mark, its black pixels in the button-text colour and
// the rest left as they are.
void DrawCheckMark(HDC dc, int cellLeft, int cellWidth, const TRect& R) {
  constexpr WORD kObmCheck = 0x7FF8;  // OBM_CHECK, an OEM resource of user32
  const OwnedBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck)));
  if (!check) return;
  BITMAP bm{};
  GetObjectW(check, sizeof bm, &bm);
  MemoryDC mem(dc);
  SelectGuard useCheck(mem, check);
  const int x = cellLeft + (cellWidth - bm.bmWidth) / 2 + 1;
  const int y = R.Top + (R.Height() - bm.bmHeight) / 2 + 1;
  constexpr DWORD kBrushWhereZero = 0x00B8074A;
  TextStyleSaver style(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const OwnedBrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
  SelectGuard useBrush(dc, brush);
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, kBrushWhereZero);
}

// Text and state of a raw menu's entry by command, up to 80 characters.
bool ReadMenuEntry(HMENU menu, UINT command, String& text, UINT& state) {
  wchar_t buf[81] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING | MIIM_STATE;
  mii.dwTypeData = buf;
  mii.cch = 80;
  if (!menu || !GetMenuItemInfoW(menu, command, FALSE, &mii)) return false;
  text = FromW(buf, std::min<size_t>(mii.cch, 80));
  state = mii.fState;
  return true;
}

bool OnWin9x() { return (SkinWinVersion & 0x80000000u) != 0 || !IsWinNT; }

}  // namespace

// ---------------------------------------------------------------------------
// Measuring

void TWinSkinForm::MeasureItem(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height) {
  auto* item = As<TMenuItem>(Sender);
  if (!item) return;
  // The class library's own measure, without this handler in the way.
  TMenuMeasureItemEvent own;
  own.swap(item->OnMeasureItem);
  item->MeasureItem(ACanvas, Width, Height);
  item->OnMeasureItem.swap(own);
  if (TDataSkinObject* e = MenuItemElement(fsd)) Width += e->r.Left;
  Width += UsableImages(item->GetParentMenu()) ? 10 : 35;
}

void TWinSkinForm::MeasurePopupItem(TObject* Sender, TCanvas& /*ACanvas*/, int& Width, int& /*Height*/) {
  auto* item = As<TMenuItem>(Sender);
  if (!item) return;
  if (TDataSkinObject* e = MenuItemElement(fsd)) Width += e->r.Left;
  Width += UsableImages(item->GetParentMenu()) ? 12 : 35;
}

void TWinSkinForm::MeasureRawMenuItem(MEASUREITEMSTRUCT& mis) {
  String text;
  UINT state = 0;
  ReadMenuEntry(menuBar.activemenu, mis.itemID, text, state);
  int width = 0;
  {
    WindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen);
    canvas.Font().Assign(Screen().MenuFont());
    width = canvas.TextExtent(text).cx;
    canvas.SetHandle(nullptr);
  }
  width += 26;
  if (TDataSkinObject* e = MenuItemElement(fsd)) width += e->r.Left;
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = text.empty() ? 8 : mis.itemHeight + 4;
  if (OnWin9x()) mis.itemHeight += 4;
}

// ---------------------------------------------------------------------------
// Drawing

void TWinSkinForm::DrawMenuItem(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected) {
  auto* item = As<TMenuItem>(Sender);
  if (!item) return;
  if (SkinManager) SkinManager->SetPopMenu();
  TDataSkinObject* e = MenuItemElement(fsd);
  if (!e) {
    DrawPlainMenuItem(item, ACanvas, Selected, ARect);
    return;
  }
  const TRect R = ARect;
  HMENU parentMenu = nullptr;
  if (item->Parent()) {
    parentMenu = item->Parent()->Handle();
    if (SkinManager) SkinManager->SetHMenu(parentMenu);
  }
  auto B = ItemBackground(R, SkinManager && parentMenu ? SkinManager->GetMenuBg(parentMenu) : nullptr,
                          fsd->Colors[scMenu], MenuBgOffset(ACanvas.Handle()));
  if (B->Empty()) return;
  TCanvas& bc = BitmapCanvas(*B);
  const TRect local = Rect(0, 0, B->Width(), B->Height());
  const int frame = Selected ? 4 : 1;
  if (!item->IsLine()) {
    DrawSkinImage(bc.Handle(), local, *e->Map, false, e->Tile == 1, e->trans == 1, 5, frame, e->r);
    DrawMenuItemContent(item, bc, Selected, local);
    CopyToCanvas(*B, ACanvas, R.Left, R.Top);
  } else {
    CopyToCanvas(*B, ACanvas, R.Left, R.Top);
    DrawMenuSeparator(ACanvas, R);
  }
}

void TWinSkinForm::DrawMenuItemOfHandle(HMENU Menu, TMenuItem* Item, bool Selected, const TRect& ARect,
                                        TCanvas& ACanvas) {
  if (!Item) return;
  TDataSkinObject* e = MenuItemElement(fsd);
  if (!e) {
    DrawPlainMenuItem(Item, ACanvas, Selected, ARect);
    return;
  }
  auto B = ItemBackground(ARect, SkinManager ? SkinManager->GetMenuBg(Menu) : nullptr, fsd->Colors[scMenu],
                          MenuBgOffset(ACanvas.Handle()));
  if (B->Empty()) return;
  TCanvas& bc = BitmapCanvas(*B);
  const TRect local = Rect(0, 0, B->Width(), B->Height());
  DrawSkinImage(bc.Handle(), local, *e->Map, false, e->Tile == 1, e->trans == 1, 5, Selected ? 4 : 1, e->r);
  DrawMenuItemContent(Item, bc, Selected, local);
  CopyToCanvas(*B, ACanvas, ARect.Left, ARect.Top);
}

void TWinSkinForm::DrawPlainMenuItem(TMenuItem* Item, TCanvas& ACanvas, bool Selected, const TRect& ARect) {
  if (!Item || !fsd) return;
  auto B = ItemBitmap(ARect.Width(), ARect.Height());
  if (B->Empty()) return;
  const TRect local = Rect(0, 0, B->Width(), B->Height());
  FillRect(*B, local, fsd->Colors[Selected ? scHilight : scMenu]);
  DrawMenuItemContent(Item, BitmapCanvas(*B), Selected, local);
  CopyToCanvas(*B, ACanvas, ARect.Left, ARect.Top);
}

void TWinSkinForm::DrawMenuSeparator(TCanvas& ACanvas, const TRect& R) {
  TDataSkinObject* e = MenuItemElement(fsd);
  if (!e || R.IsEmpty() || !ACanvas.Handle()) return;
  TBitmap& image = *e->Map;
  const int F = image.Width() / 5, H = image.Height(), h = R.Height(), w = R.Width();
  if (F <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(w, h);
  FillRect(B, Rect(0, 0, w, h), kSkinKeyColor);
  const int srcTop = h < H ? H - h : 0;
  const int srcH = H - srcTop;
  // Margins wider than the frame or the item are cut to fit.
  const int left = std::clamp<int>(e->r.Left, 0, std::min(F, w));
  const int right = std::clamp<int>(e->r.Right, 0, std::min(F - left, w - left));
  HDC dst = BitmapCanvas(B).Handle();
  HDC src = BitmapCanvas(image).Handle();
  const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  if (left > 0) StretchBlt(dst, 0, 0, left, h, src, F, srcTop, left, srcH, SRCCOPY);
  if (right > 0) StretchBlt(dst, w - right, 0, right, h, src, 2 * F - right, srcTop, right, srcH, SRCCOPY);
  const int midSrc = F - left - right, midDst = w - left - right;
  if (midSrc > 0 && midDst > 0) StretchBlt(dst, left, 0, midDst, h, src, F + left, srcTop, midSrc, srcH, SRCCOPY);
  SetStretchBltMode(dst, oldMode);
  DrawTransparentBitmap(ACanvas.Handle(), R, B, kSkinKeyColor);
}

void TWinSkinForm::DrawMenuItemContent(TMenuItem* Item, TCanvas& ACanvas, bool Selected, const TRect& R) {
  HDC dc = ACanvas.Handle();
  if (!Item || !dc) return;
  const String caption = Item->Caption();
  const TMenu* owner = Item->GetParentMenu();
  if (!owner && menuBar.menu) owner = menuBar.menu->LiveMenu();
  TImageList* images = owner ? owner->Images() : nullptr;
  int W = images ? images->Width() : kCheckCell;
  if (Item->Checked() && W < kCheckCell) W = kCheckCell;
  const bool rtl = owner && owner->IsRightToLeft();
  const int margin = MenuItemElement(fsd) ? MenuItemElement(fsd)->r.Left : 0;
  const bool line = caption == u"-";

  // The image or check mark in the cell [IL, IR).
  auto drawCell = [&](int IL, int IR) {
    int IT = R.Top + 1;
    const int index = Item->ImageIndex();
    if (images && index >= 0 && index < images->Count()) {
      if (Item->Checked()) {
        RECT cell{IL, IT, IR, IT + W};
        FillDitheredCell(dc, cell);
        DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT);
        IT = R.Top + (R.Height() - kCheckCell) / 2;
      } else {
        IT = R.Top + (R.Height() - images->Height()) / 2;
      }
      images->Draw(dc, IL, IT, index, Item->Enabled());
    } else if (Item->Checked()) {
      DrawCheckMark(dc, IL, W, R);
    }
  };

  UINT flags = kTextFlags;
  TRect T;
  if (!rtl) {
    const int IL = R.Left + 1 + margin;
    int IR = 0;
    if (!line) {
      IR = IL + W;
      drawCell(IL, IR);
    }
    T = Rect(IR + 3, R.Top, R.Right - 1, R.Bottom);
  } else {
    flags = kRtlTextFlags;
    const int IR = R.Right - 1 - margin;
    const int IL = IR - W;
    if (!line) drawCell(IL, IR);
    T = Rect(R.Left + 1, R.Top, line ? R.Right - 3 : IL - 3, R.Bottom);
  }
  TRect M = T;
  DrawMenuText(Item, ACanvas, flags | DT_CALCRECT | DT_NOCLIP, Selected, M, caption);
  const int dy = (R.Height() - M.Height()) / 2;
  T = Moved(T, 0, dy);
  DrawMenuText(Item, ACanvas, flags, Selected, T, caption);
  if (Item->ShortCut() == scNone || line) return;
  const String keys = ShortCutToText(Item->ShortCut());
  if (!rtl) {
    TRect K = Rect(M.Right, T.Top, R.Right - kShortCutEndGap, T.Bottom);
    DrawMenuText(Item, ACanvas, kTextFlags | DT_RIGHT, Selected, K, keys);
  } else {
    TRect K = Rect(R.Left + kShortCutEndGap, T.Top, T.Right, T.Bottom);
    DrawMenuText(Item, ACanvas, DT_SINGLELINE | DT_EXPANDTABS | DT_RTLREADING, Selected, K, keys);
  }
}

void TWinSkinForm::DrawMenuText(TMenuItem* Item, TCanvas& ACanvas, UINT Flags, bool Selected, TRect& R,
                                const String& Text) {
  HDC dc = ACanvas.Handle();
  if (!Item || !dc || !fsd) return;
  const bool measuring = (Flags & DT_CALCRECT) != 0;
  String text = Text;
  // A line's height even without a visible character.
  if (measuring && (text.empty() || text == u"&")) text += u" ";
  if (text == u"-") {
    if (!measuring) {
      RECT line = ToRECT(Moved(R, 0, 4));
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  TFont& font = ACanvas.Font();
  if (Item->Default()) font.SetStyle(font.Style() | (1u << fsBold));
  TColor colour;
  if (!Item->Enabled())
    colour = fsd->Colors[scButtonShadow] == fsd->Colors[scMenuText] ? clBtnShadow : fsd->Colors[scButtonShadow];
  else
    colour = Selected ? fsd->Colors[scHilightText] : fsd->Colors[scMenuText];
  font.SetColor(colour);
  // The canvas puts its font and colour into the DC; the skin's text call
  // does the drawing.
  ACanvas.TextExtent(u"");
  SetBkMode(dc, TRANSPARENT);
  RECT r = ToRECT(R);
  SkinDrawText(dc, text, r, Flags);
  if (measuring) R = FromRECT(r);
}

// ---------------------------------------------------------------------------
// The window menu's owner-drawn entries

std::unique_ptr<TMenuItem> TWinSkinForm::MenuItemFromHandle(HMENU Menu, UINT Command) {
  auto item = std::make_unique<TMenuItem>(nullptr);
  String text;
  UINT state = 0;
  ReadMenuEntry(Menu, Command, text, state);
  item->SetCaption(text.empty() ? String(u"-") : text);
  item->SetEnabled((state & (MFS_GRAYED | MFS_DISABLED)) == 0);
  item->SetChecked((state & MFS_CHECKED) != 0);
  return item;
}

namespace {
// The main menu whose items the window's entries are: the bar's, else the
// form's own.
TMainMenu* WindowMainMenu(TWinSkinMenu* bar, TWinControl* form) {
  if (bar)
    if (TMainMenu* m = bar->LiveMenu()) return m;
  if (auto* f = As<TCustomForm>(form)) return f->Menu();
  return nullptr;
}
}  // namespace

void TWinSkinForm::WMMeasureItem(TMessage& Message) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (!TakesFrameMessages() || !mis || mis->CtlType != ODT_MENU || !menuBar.hmenu) {
    CallPrevWndProc(Message);
    return;
  }
  if (FForm) {
    if (SkinManager) SkinManager->SetPopMenu();
    TMainMenu* mm = WindowMainMenu(menuBar.menu, FForm);
    if (TMenuItem* item = mm ? mm->FindItem(mis->itemID, fkCommand) : nullptr) {
      int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
      {
        WindowDC dc(Hwnd, WindowDC::Whole);
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Font().Assign(Screen().MenuFont());
        MeasureItem(item, canvas, width, height);
        canvas.SetHandle(nullptr);
      }
      mis->itemWidth = static_cast<UINT>(std::max(width, 0));
      mis->itemHeight = static_cast<UINT>(std::max(height, 0));
      Message.Result = TRUE;
      return;
    }
    if (mis->itemID >= 1 && mis->itemID <= kLibraryCommandLast) {
      CallPrevWndProc(Message);
      return;
    }
  }
  MeasureRawMenuItem(*mis);
  Message.Result = TRUE;
}

void TWinSkinForm::WMDrawItem(TMessage& Message) {
  const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  const bool nt4 = IsWinNT && LOBYTE(LOWORD(CurrentSkinPlatform().Version)) == 4;
  if (!TakesFrameMessages() || !dis || dis->CtlType != ODT_MENU || !menuBar.hmenu || !dis->hDC ||
      (frame.FormStyle == sfsMDIform && nt4)) {
    CallPrevWndProc(Message);
    return;
  }
  HMENU itemMenu = reinterpret_cast<HMENU>(dis->hwndItem);
  if (SkinManager) {
    SkinManager->SetHMenu(itemMenu);
    SkinManager->SetPopMenu();
  }
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  const TRect r = FromRECT(dis->rcItem);
  TMenuItem* item = nullptr;
  if (FForm) {
    TMainMenu* mm = WindowMainMenu(menuBar.menu, FForm);
    item = mm ? mm->FindItem(dis->itemID, fkCommand) : nullptr;
    if (!item && dis->itemID >= 1 && dis->itemID <= kLibraryCommandLast) {
      CallPrevWndProc(Message);
      return;
    }
  }
  {
    SavedDC saved(dis->hDC);
    TCanvas canvas;
    canvas.SetHandle(dis->hDC);
    canvas.Font().Assign(Screen().MenuFont());
    if (item) {
      if (MenuItemElement(fsd))
        DrawMenuItem(item, canvas, r, selected);
      else
        DrawPlainMenuItem(item, canvas, selected, r);
    } else {
      std::unique_ptr<TMenuItem> temp = MenuItemFromHandle(itemMenu, dis->itemID);
      DrawMenuItemOfHandle(itemMenu, temp.get(), selected, r, canvas);
    }
    canvas.SetHandle(nullptr);
  }
  Message.Result = TRUE;
}

}  // namespace qv
