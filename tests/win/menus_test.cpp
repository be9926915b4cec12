// The class library's menus on real windows under Wine: items become entries
// of real menu handles with their texts, states and commands; a form shows
// its main menu and runs OnClick on WM_COMMAND; owner-drawn items are
// measured and drawn through their handlers; a changed main menu tells the
// form's window with CM_MENUCHANGED; a popup menu runs the chosen item.
#include <gtest/gtest.h>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Menus.h"
#include "platform/win/WinString.h"
#include "tests/support/WinTestSupport.h"

using namespace qv;

namespace {

TMenuItem* NewItem(TMenuItem* parent, const char16_t* caption) {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

String EntryString(HMENU menu, UINT pos) {
  wchar_t buf[128] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING;
  mii.dwTypeData = buf;
  mii.cch = 127;
  if (!GetMenuItemInfoW(menu, pos, TRUE, &mii)) return u"<none>";
  return FromW(buf);
}

MENUITEMINFOW EntryInfo(HMENU menu, UINT pos) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  GetMenuItemInfoW(menu, pos, TRUE, &mii);
  return mii;
}

// Records the private messages that reach a window, then hands everything on.
std::vector<UINT>* gRecorded = nullptr;
WNDPROC gRecordedPrev = nullptr;
LRESULT CALLBACK RecordingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (gRecorded && msg >= CM_BASE && msg < CN_BASE) gRecorded->push_back(msg);
  return CallWindowProcW(gRecordedPrev, w, msg, wp, lp);
}

class MenusTest : public testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(nullptr);
    form->SetBounds(50, 50, 300, 200);
    menu = new TMainMenu(form);
    file = NewItem(menu->Items(), u"&File");
    open = NewItem(file, u"&Open");
    open->SetShortCut(MakeShortCut('O', scCtrl));
    NewItem(file, u"-");
    exit = NewItem(file, u"E&xit");
    exit->SetEnabled(false);
    wrap = NewItem(file, u"Wrap");
    wrap->SetChecked(true);
    edit = NewItem(menu->Items(), u"&Edit");
  }
  void TearDown() override { delete form; }

  TForm* form = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *exit = nullptr, *wrap = nullptr, *edit = nullptr;
};

}  // namespace

TEST_F(MenusTest, ItemsBecomeEntriesOfTheWindowsMenu) {
  form->SetMenu(menu);
  HWND w = form->Handle();
  HMENU bar = GetMenu(w);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, menu->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(EntryString(bar, 0), u"&File");
  EXPECT_EQ(EntryString(bar, 1), u"&Edit");
  EXPECT_EQ(EntryInfo(bar, 0).hSubMenu, file->Handle());
  EXPECT_EQ(EntryInfo(bar, 1).hSubMenu, nullptr);
  EXPECT_EQ(EntryInfo(bar, 1).wID, edit->Command());

  HMENU drop = file->Handle();
  ASSERT_EQ(GetMenuItemCount(drop), 4);
  EXPECT_EQ(EntryString(drop, 0), u"&Open\tCtrl+O");
  EXPECT_TRUE(EntryInfo(drop, 1).fType & MFT_SEPARATOR);
  EXPECT_TRUE(EntryInfo(drop, 2).fState & MFS_GRAYED);
  EXPECT_FALSE(EntryInfo(drop, 0).fState & MFS_GRAYED);
  EXPECT_TRUE(EntryInfo(drop, 3).fState & MFS_CHECKED);
  EXPECT_EQ(EntryInfo(drop, 0).wID, open->Command());

  // Every item has a command of its own.
  std::vector<UINT> commands{file->Command(), open->Command(), exit->Command(), wrap->Command(), edit->Command()};
  std::sort(commands.begin(), commands.end());
  EXPECT_EQ(std::unique(commands.begin(), commands.end()), commands.end());
  EXPECT_GT(commands.front(), 0u);

  // Changes reach the entries; a hidden item leaves the menu.
  exit->SetEnabled(true);
  EXPECT_FALSE(EntryInfo(drop, 2).fState & MFS_GRAYED);
  open->SetCaption(u"&Open...");
  EXPECT_EQ(EntryString(drop, 0), u"&Open...\tCtrl+O");
  wrap->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(drop), 3);
  // An item freed leaves its parent's menu; the form's menu goes with it.
  delete exit;
  EXPECT_EQ(GetMenuItemCount(drop), 2);
  EXPECT_EQ(file->Count(), 3);
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(w), nullptr);
}

TEST_F(MenusTest, FindItemByCommandHandleAndShortCut) {
  EXPECT_EQ(menu->FindItem(open->Command(), fkCommand), open);
  EXPECT_EQ(menu->FindItem(edit->Command(), fkCommand), edit);
  EXPECT_EQ(menu->FindItem(reinterpret_cast<UINT_PTR>(file->Handle()), fkHandle), file);
  EXPECT_EQ(menu->FindItem(MakeShortCut('O', scCtrl), fkShortCut), open);
  EXPECT_EQ(menu->FindItem(MakeShortCut('O', scAlt), fkShortCut), nullptr);
  EXPECT_EQ(menu->FindItem(0, fkCommand), nullptr);
  EXPECT_EQ(menu->FindItem(0, fkShortCut), nullptr);
  EXPECT_EQ(open->Parent(), file);
  EXPECT_EQ(open->GetParentMenu(), menu);
  EXPECT_EQ(open->MenuIndex(), 0);
  EXPECT_EQ(file->Parent(), menu->Items());
  // A command given back is given out again.
  const UINT gone = exit->Command();
  delete exit;
  auto* again = new TMenuItem(form);
  EXPECT_EQ(again->Command(), gone);
  EXPECT_EQ(menu->FindItem(gone, fkCommand), nullptr);
}

TEST_F(MenusTest, WMCommandRunsTheItemsOnClick) {
  form->SetMenu(menu);
  HWND w = form->Handle();
  std::vector<TObject*> clicked;
  open->OnClick = [&](TObject* s) { clicked.push_back(s); };
  exit->OnClick = [&](TObject* s) { clicked.push_back(s); };
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], open);
  // A disabled item does nothing; a control's notification is not a menu's.
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(open->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(w));
  EXPECT_EQ(clicked.size(), 1u);
  // An item may free itself in its handler.
  open->OnClick = [&](TObject* s) { delete static_cast<TMenuItem*>(s); };
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  EXPECT_EQ(file->Count(), 3);
}

TEST(MenuShortCuts, TextsBothWays) {
  EXPECT_EQ(ShortCutToText(MakeShortCut('S', scCtrl)), u"Ctrl+S");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F4, scAlt)), u"Alt+F4");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_DELETE, scShift | scCtrl)), u"Shift+Ctrl+Del");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F1, 0)), u"F1");
  EXPECT_EQ(ShortCutToText(scNone), u"");
  EXPECT_EQ(TextToShortCut(u"ALT+F4"), MakeShortCut(VK_F4, scAlt));
  EXPECT_EQ(TextToShortCut(u"ctrl+shift+s"), MakeShortCut('S', scCtrl | scShift));
  EXPECT_EQ(TextToShortCut(u"Esc"), MakeShortCut(VK_ESCAPE, 0));
  EXPECT_EQ(TextToShortCut(u"Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut(u"Ctrl+Nothing"), scNone);
  for (TShortCut sc : {MakeShortCut('Z', scAlt | scShift), MakeShortCut(VK_PRIOR, scCtrl), MakeShortCut('7', 0)})
    EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ToUtf8(ShortCutToText(sc));
  EXPECT_EQ(StripHotkey(u"E&xit && quit"), u"Exit & quit");
}

TEST_F(MenusTest, OwnerDrawnEntriesKeepTheirTextsAndUseTheHandlers) {
  form->SetMenu(menu);
  HWND w = form->Handle();
  HMENU drop = file->Handle();
  menu->SetOwnerDraw(true);
  EXPECT_TRUE(EntryInfo(drop, 0).fType & MFT_OWNERDRAW);
  EXPECT_TRUE(EntryInfo(drop, 1).fType & MFT_OWNERDRAW);
  EXPECT_TRUE(EntryInfo(GetMenu(w), 0).fType & MFT_OWNERDRAW);
  EXPECT_EQ(EntryString(drop, 0), u"&Open\tCtrl+O");
  EXPECT_TRUE(EntryInfo(drop, 2).fState & MFS_GRAYED);

  // No handler: the class library measures in the menu font.
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = open->Command();
  EXPECT_EQ(SendMessageW(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  const UINT plainWidth = mis.itemWidth;
  EXPECT_GT(mis.itemWidth, 40u);
  EXPECT_GE(mis.itemHeight, 12u);
  // A longer caption measures wider.
  open->SetCaption(u"&Open a much longer caption");
  mis.itemWidth = mis.itemHeight = 0;
  SendMessageW(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_GT(mis.itemWidth, plainWidth);

  // A handler adjusts the class library's measure, in the menu font.
  const UINT longWidth = mis.itemWidth;
  String fontName;
  open->OnMeasureItem = [&](TObject*, TCanvas& c, int& width, int& height) {
    fontName = c.Font().Name();
    width += 100;
    height = 33;
  };
  mis.itemWidth = 5;
  mis.itemHeight = 7;
  SendMessageW(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(mis.itemWidth, longWidth + 100);
  EXPECT_EQ(mis.itemHeight, 33u);
  EXPECT_EQ(fontName, Screen().MenuFont().Name());

  // Drawing: the advanced handler gets the whole state, the plain one the
  // selection; an item of no menu of this form is left to others.
  TBitmap bmp;
  bmp.SetSize(120, 20);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = open->Command();
  dis.itemState = ODS_SELECTED | ODS_CHECKED;
  dis.hDC = BitmapCanvas(bmp).Handle();
  dis.rcItem = RECT{0, 0, 120, 20};
  bool selected = false;
  open->OnDrawItem = [&](TObject*, TCanvas&, const TRect& r, bool s) { selected = s && r.Right == 120; };
  EXPECT_EQ(SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_TRUE(selected);
  TOwnerDrawState state = 0;
  open->OnAdvancedDrawItem = [&](TObject*, TCanvas&, const TRect&, TOwnerDrawState s) { state = s; };
  SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(state, static_cast<TOwnerDrawState>(ODS_SELECTED | ODS_CHECKED));
  dis.itemID = 0xFFF0;
  EXPECT_EQ(SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), FALSE);

  // Without handlers the plain look: the selection colour behind a
  // selected item, the menu colour behind the others.
  dis.itemID = edit->Command();
  dis.itemState = ODS_SELECTED;
  SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(bmp.Pixel(118, 1), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  dis.itemState = 0;
  SendMessageW(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(bmp.Pixel(118, 1), static_cast<TColor>(GetSysColor(COLOR_MENU)));

  menu->SetOwnerDraw(false);
  EXPECT_FALSE(EntryInfo(drop, 0).fType & MFT_OWNERDRAW);
  EXPECT_TRUE(EntryInfo(drop, 1).fType & MFT_SEPARATOR);
}

TEST_F(MenusTest, AChangedMainMenuSendsCMMenuChangedToTheWindow) {
  form->SetMenu(menu);
  HWND w = form->Handle();
  std::vector<UINT> recorded;
  gRecorded = &recorded;
  gRecordedPrev = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
  // Whoever took the bar away (a skin) finds it on the window again after
  // the message has passed the form.
  SetMenu(w, nullptr);
  edit->SetCaption(u"&Edit!");
  EXPECT_NE(std::find(recorded.begin(), recorded.end(), CM_MENUCHANGED), recorded.end());
  EXPECT_EQ(GetMenu(w), menu->Handle());
  recorded.clear();
  NewItem(file, u"Later");
  EXPECT_NE(std::find(recorded.begin(), recorded.end(), CM_MENUCHANGED), recorded.end());
  recorded.clear();
  // A popup menu of the form says nothing to it.
  TPopupMenu popup(form);
  NewItem(popup.Items(), u"Item");
  EXPECT_TRUE(recorded.empty());
  SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gRecordedPrev));
  gRecorded = nullptr;
}

TEST_F(MenusTest, APopupMenuRunsTheChosenItem) {
  TPopupMenu popup(form);
  TMenuItem* first = NewItem(popup.Items(), u"First");
  TMenuItem* second = NewItem(popup.Items(), u"Second");
  int clicks = 0, popups = 0;
  TObject* clicked = nullptr;
  first->OnClick = [&](TObject* s) { ++clicks, clicked = s; };
  second->OnClick = [&](TObject* s) { ++clicks, clicked = s; };
  popup.OnPopup = [&](TObject*) { ++popups; };
  form->Show();
  // The menu's own loop reads the keys: down twice, then enter.
  HWND w = form->Handle();
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(w, WM_KEYDOWN, key, 0);
  popup.Popup(100, 100);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(clicked, second);
  // Escape chooses nothing.
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  popup.Popup(100, 100);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(FindWindowW(L"#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowW(L"#32768", nullptr)), true);
}

TEST(MenuImages, ADisabledImageIsEtchedInTheShadowColours) {
  TBitmap strip;
  strip.SetSize(16, 16);
  FillRect(strip, Rect(0, 0, 16, 16), 0xFF00FF);
  FillRect(strip, Rect(4, 4, 12, 12), 0x0000C0);  // a dark red square
  TImageList list(16, 16);
  ASSERT_EQ(list.AddMasked(strip, 0xFF00FF), 0);
  TBitmap target;
  target.SetSize(20, 20);
  FillRect(target, Rect(0, 0, 20, 20), 0x00FF00);
  list.Draw(BitmapCanvas(target).Handle(), 0, 0, 0, true);
  EXPECT_EQ(target.Pixel(8, 8), 0x0000C0);
  EXPECT_EQ(target.Pixel(1, 1), 0x00FF00);
  FillRect(target, Rect(0, 0, 20, 20), 0x00FF00);
  list.Draw(BitmapCanvas(target).Handle(), 0, 0, 0, false);
  EXPECT_EQ(target.Pixel(8, 8), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
  // The highlight shows one pixel below and right of the shape.
  EXPECT_EQ(target.Pixel(12, 12), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(target.Pixel(1, 1), 0x00FF00);
  EXPECT_EQ(target.Pixel(15, 15), 0x00FF00);
}
