// Skinned scroll bars under Wine: overlays over the native bars of real
// memos, list boxes and scroll-bar controls (placement, z-order, hiding,
// presses handed to the system's tracking, hot and pressed frames of a
// frame-coded skin, thumbs that follow line and wheel scrolling), the
// skinned border and FixedColor of a grid-like control, and the combo
// list's own thumb drag with every way it can end.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/TypInfo.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinApi.h"
#include "skin/data/WinSkinData.h"
#include "platform/win/WinString.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;

namespace {

// ---------------------------------------------------------------------------
// Controls of the system's classes that the class library here lacks

const TEnumInfo kTestScrollKind{{u"sbHorizontal", u"sbVertical"}};
const TEnumInfo kTestBorderStyle{{u"bsNone", u"bsSingle"}};

class TTestListBox : public TWinControl {
  QV_CLASS(TTestListBox)
 public:
  explicit TTestListBox(TComponent* owner) : TWinControl(owner) {}

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClassName = u"LISTBOX";
    p.style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    p.exStyle |= WS_EX_CLIENTEDGE;
  }
};

class TTestScrollBar : public TWinControl {
  QV_CLASS(TTestScrollBar)
 public:
  explicit TTestScrollBar(TComponent* owner) : TWinControl(owner) {}
  int Kind() const { return kind; }
  void SetKind(int v) { kind = v; }
  int kind = 1;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClassName = u"SCROLLBAR";
    p.style |= kind == 0 ? SBS_HORZ : SBS_VERT;
  }
};

// A window with both bars, a colour of its fixed cells and a border style.
class TTestGrid : public TWinControl {
  QV_CLASS(TTestGrid)
 public:
  explicit TTestGrid(TComponent* owner) : TWinControl(owner) {}
  TColor FixedColor() const { return fixed; }
  void SetFixedColor(TColor c) { fixed = c; }
  int BorderStyle() const { return style; }
  void SetBorderStyle(int v) { style = v; }
  TColor fixed = 0x00ABCDEF;
  int style = 1;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.style |= WS_VSCROLL | WS_HSCROLL;
    p.exStyle |= WS_EX_CLIENTEDGE;
  }
};

}  // namespace

const TClassInfo& TTestListBox::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTestListBox>(u"TTestListBox", TWinControl::StaticClass()).Done();
  return info;
}
const TClassInfo& TTestScrollBar::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTestScrollBar>(u"TTestScrollBar", TWinControl::StaticClass())
                                      .Enum(u"Kind", &TTestScrollBar::Kind, &TTestScrollBar::SetKind, kTestScrollKind)
                                      .Done();
  return info;
}
const TClassInfo& TTestGrid::StaticClass() {
  static const TClassInfo& info =
      TClassBuilder<TTestGrid>(u"TTestGrid", TWinControl::StaticClass())
          .Int(u"FixedColor", &TTestGrid::FixedColor, &TTestGrid::SetFixedColor)
          .Enum(u"BorderStyle", &TTestGrid::BorderStyle, &TTestGrid::SetBorderStyle, kTestBorderStyle)
          .Done();
  return info;
}

namespace {

// Frame-coded skin: every frame of every strip is one solid colour that
// tells which frame it is.
TColor ArrowCode(int frame) { return RGB(10 * frame, 90, 30); }
TColor TrackCode(int frame) { return RGB(200, 20 * frame, 0); }
TColor SliderCode(int frame) { return RGB(0, 200, 50 * frame); }
constexpr TColor kFace = RGB(0x33, 0x66, 0x99);
constexpr TColor kShadow = RGB(0x11, 0x22, 0x33);

std::unique_ptr<TDataSkinObject> Strip(const char16_t* name, int frames, int fw, int fh, TColor (*code)(int)) {
  auto o = std::make_unique<TDataSkinObject>(name);
  o->Map = qvtest::Bmp(frames * fw, fh, 0);
  for (int f = 1; f <= frames; ++f) FillRect(*o->Map, Bounds((f - 1) * fw, 0, fw, fh), code(f));
  o->frame = frames;
  return o;
}

struct TimerHook {
  static std::function<void()>& Action() {
    static std::function<void()> action;
    return action;
  }
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (auto a = std::move(Action())) a();
  }
  // Runs action once from the message loop that is running then.
  static void After(int ms, std::function<void()> action) {
    Action() = std::move(action);
    SetTimer(nullptr, 0, ms, Proc);
  }
};

SCROLLBARINFO BarInfo(HWND w, LONG id) {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  GetScrollBarInfo(w, id, &sbi);
  return sbi;
}

RECT BarRect(HWND w, LONG id) { return BarInfo(w, id).rcScrollBar; }

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// What the overlay paints, read back from a memory bitmap.
std::unique_ptr<TBitmap> Painted(TWScrollbar* bar) {
  auto bmp = qvtest::DrawnBy(bar->Handle(), WM_PAINT, qvtest::ClientSize(bar->Handle()), RGB(1, 2, 3));
  GdiFlush();
  return bmp;
}

using qvtest::Pump;

class SkinScrollTest : public qvtest::SkinControlFixture {
 protected:
  void SetUp() override {
    cw = GetSystemMetrics(SM_CXHSCROLL);
    data = std::make_unique<TSkinData>(nullptr);
    data->SArrow = Strip(u"SArrow", kScrollArrowFrames, cw, cw, ArrowCode);
    data->VBar = Strip(u"VBar", 4, cw, cw, TrackCode);
    data->HBar = Strip(u"HBar", 4, cw, cw, TrackCode);
    data->VSlider = Strip(u"VSlider", 3, cw, cw, SliderCode);
    data->HSlider = Strip(u"HSlider", 3, cw, cw, SliderCode);
    data->Colors[3] = kFace;
    data->Colors[7] = kShadow;
    NewForm(60, 60, 420, 320);
  }

  TMemo* NewMemo(int lines) {
    auto* memo = new TMemo(form.get());
    memo->SetBounds(10, 10, 220, 150);
    memo->SetScrollBars(ssVertical);
    memo->SetParent(form.get());
    String text;
    for (int i = 0; i < lines; ++i) text += u"line " + IntToStr(i) + u"\r\n";
    memo->SetText(text);
    return memo;
  }

  TSkinScrollbar* SkinOf(TWinControl* c) {
    auto* skin = new TSkinScrollbar(c);
    skin->InitScrollbar(c, data.get(), nullptr, nullptr);
    return skin;
  }

  int cw = 0;
};

}  // namespace

// ---------------------------------------------------------------------------
// Placement

TEST_F(SkinScrollTest, OverlaysCoverTheNativeBarsDirectlyAboveTheirControl) {
  TMemo* memo = NewMemo(60);
  auto* list = new TTestListBox(form.get());
  list->SetBounds(240, 10, 150, 150);
  list->SetParent(form.get());
  for (int i = 0; i < 80; ++i)
    SendMessageW(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"an item of the list"));
  form->Show();
  TSkinScrollbar* ms = SkinOf(memo);
  TSkinScrollbar* ls = SkinOf(list);

  struct Case {
    TSkinScrollbar* skin;
    TWinControl* c;
    const char* name;
  };
  for (const Case& k : {Case{ms, memo, "memo"}, Case{ls, list, "list box"}}) {
    SCOPED_TRACE(k.name);
    TSkinScrollbar* skin = k.skin;
    TWinControl* c = k.c;
    ASSERT_NE(skin->vb, nullptr);
    ASSERT_NE(skin->hb, nullptr);
    EXPECT_TRUE(skin->vb->sbVisible);
    EXPECT_TRUE(SameRect(WindowRectOf(skin->vb->Handle()), BarRect(c->Handle(), OBJID_VSCROLL)));
    EXPECT_EQ(GetWindow(c->Handle(), GW_HWNDPREV), skin->vb->Handle());
    EXPECT_EQ(GetParent(skin->vb->Handle()), form->Handle());
    EXPECT_EQ(GetWindowLongPtrW(skin->vb->Handle(), GWL_EXSTYLE), WS_EX_TOOLWINDOW);
    // No horizontal bar: its overlay stays hidden.
    EXPECT_FALSE(skin->hb->sbVisible);
    EXPECT_FALSE(IsWindowVisible(skin->hb->Handle()));
  }

  // A control that moves and grows takes its overlay along.
  memo->SetBounds(20, 30, 200, 200);
  EXPECT_TRUE(SameRect(WindowRectOf(ms->vb->Handle()), BarRect(memo->Handle(), OBJID_VSCROLL)));
  EXPECT_EQ(GetWindow(memo->Handle(), GW_HWNDPREV), ms->vb->Handle());

  // Hidden with its control, back in place when it shows again.
  memo->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(ms->vb->Handle()));
  EXPECT_FALSE(ms->vb->sbVisible);
  memo->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(ms->vb->Handle()));
  EXPECT_TRUE(SameRect(WindowRectOf(ms->vb->Handle()), BarRect(memo->Handle(), OBJID_VSCROLL)));

  // Disabled with it.
  memo->SetEnabled(false);
  EXPECT_FALSE(ms->vb->Enabled());
  memo->SetEnabled(true);
  EXPECT_TRUE(ms->vb->Enabled());

  // Unskinning takes the overlays away and leaves the control working.
  ms->Unsubclass();
  EXPECT_EQ(ms->vb, nullptr);
  EXPECT_EQ(ms->hb, nullptr);
  delete ms;
  EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 61);
}

TEST_F(SkinScrollTest, AStandaloneScrollBarIsCoveredWhole) {
  auto* bar = new TTestScrollBar(form.get());
  bar->SetBounds(300, 10, cw, 200);
  bar->SetParent(form.get());
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 21, 0, 0};
  SetScrollInfo(bar->Handle(), SB_CTL, &si, TRUE);
  form->Show();
  auto* skin = new TSkinScControl(bar);
  skin->InitScrollbar(bar, data.get(), nullptr, nullptr);
  ASSERT_NE(skin->sb, nullptr);
  TWScrollbar* sb = skin->sb;
  EXPECT_EQ(sb->sbDir, 1);
  EXPECT_TRUE(SameRect(WindowRectOf(sb->Handle()), WindowRectOf(bar->Handle())));
  EXPECT_EQ(GetWindow(bar->Handle(), GW_HWNDPREV), sb->Handle());

  // The thumb worked out from the control's scroll information.
  auto before = Painted(sb);
  const TThumbSpan t0 = ControlThumbSpan(200, cw, TScrollRange{0, 100, 21, 0});
  EXPECT_EQ(before->Pixel(cw / 2, t0.Top + 1), SliderCode(1));
  si.fMask = SIF_POS;
  si.nPos = 60;
  SetScrollInfo(bar->Handle(), SB_CTL, &si, TRUE);
  auto after = Painted(sb);
  const TThumbSpan t1 = ControlThumbSpan(200, cw, TScrollRange{0, 100, 21, 60});
  EXPECT_GT(t1.Top, t0.Bottom);
  EXPECT_EQ(after->Pixel(cw / 2, t1.Top + 1), SliderCode(1));
  EXPECT_EQ(after->Pixel(cw / 2, t0.Top + 1), TrackCode(1));
  EXPECT_EQ(after->Pixel(cw / 2, 2), ArrowCode(9));

  bar->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(sb->Handle()));
  bar->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(sb->Handle()));
  delete skin;

  // A horizontal one, by its Kind.
  auto* across = new TTestScrollBar(form.get());
  across->kind = 0;
  across->SetBounds(10, 250, 200, cw);
  across->SetParent(form.get());
  auto* acrossSkin = new TSkinScControl(across);
  acrossSkin->InitScrollbar(across, data.get(), nullptr, nullptr);
  EXPECT_EQ(acrossSkin->sb->sbDir, 0);
  EXPECT_TRUE(SameRect(WindowRectOf(acrossSkin->sb->Handle()), WindowRectOf(across->Handle())));
  EXPECT_EQ(Painted(acrossSkin->sb)->Pixel(2, cw / 2), ArrowCode(1));
}

TEST_F(SkinScrollTest, ARawListWindowGetsOverlaysByHandle) {
  form->Show();
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                              20, 20, 150, 120, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 50; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"raw item"));
  auto* skin = new TSkinScrollbarH(nullptr);
  skin->Inithwnd(list, data.get(), nullptr, nullptr);
  ASSERT_NE(skin->vb, nullptr);
  EXPECT_EQ(skin->control, nullptr);
  EXPECT_TRUE(skin->vb->sbVisible);
  EXPECT_FALSE(skin->hb->sbVisible);
  EXPECT_TRUE(SameRect(WindowRectOf(skin->vb->Handle()), BarRect(list, OBJID_VSCROLL)));
  EXPECT_EQ(GetWindow(list, GW_HWNDPREV), skin->vb->Handle());
  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(skin->vb->scrollpos, SB_PAGEDOWN);
  EXPECT_EQ(Painted(skin->vb)->Pixel(cw / 2, skin->vb->thumbTop), SliderCode(1));
  EXPECT_GT(skin->vb->thumbTop, cw);
  ShowWindow(list, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(skin->vb->Handle()));
  skin->Unsubclass();
  EXPECT_EQ(skin->vb, nullptr);
  delete skin;
  DestroyWindow(list);
}

TEST_F(SkinScrollTest, WithoutTheSystemsBarInformationNothingIsCoveredOrTaken) {
  TMemo* memo = NewMemo(60);
  form->Show();
  struct Restore {
    TSkinUser32::GetScrollBarInfoProc saved = SkinUser32().GetScrollBarInfo;
    ~Restore() { SkinUser32().GetScrollBarInfo = saved; }
  } restore;
  SkinUser32().GetScrollBarInfo = nullptr;
  TSkinScrollbar* skin = SkinOf(memo);
  EXPECT_FALSE(skin->vb->sbVisible);
  EXPECT_FALSE(skin->vb->HandleAllocated() && IsWindowVisible(skin->vb->Handle()));
  auto* combo = new TComboxScrollBar(nullptr);
  combo->Inithwnd(memo->Handle(), data.get(), nullptr, nullptr);
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  const TMessage press{WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(bar.left + 2, bar.top + 20), 0};
  EXPECT_FALSE(combo->TrackThumb(press));
  delete combo;
  delete skin;
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(SkinScrollTest, HotPartsOneAtATimeAndPressedWhileTheSystemTracks) {
  TMemo* memo = NewMemo(60);
  form->Show();
  TSkinScrollbar* skin = SkinOf(memo);
  TWScrollbar* vb = skin->vb;
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  const int h = bar.bottom - bar.top, x = cw / 2;
  auto normal = Painted(vb);
  EXPECT_EQ(normal->Pixel(x, 2), ArrowCode(9));
  EXPECT_EQ(normal->Pixel(x, h - 3), ArrowCode(13));
  // The grip sits in the middle of the thumb.
  EXPECT_EQ(normal->Pixel(x, (vb->thumbTop + vb->thumbbottom) / 2), ArrowCode(20));
  EXPECT_EQ(normal->Pixel(x, h - cw - 3), TrackCode(1));

  SendMessageW(vb->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, h - 3));
  EXPECT_EQ(vb->scrollpos, kScrollPartSecondArrow);
  auto hot = Painted(vb);
  EXPECT_EQ(hot->Pixel(x, h - 3), ArrowCode(16));
  EXPECT_EQ(hot->Pixel(x, 2), ArrowCode(9));
  const int thumbMid = (vb->thumbTop + vb->thumbbottom) / 2;
  SendMessageW(vb->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, thumbMid));
  EXPECT_EQ(vb->scrollpos, kScrollPartThumb);
  auto hotThumb = Painted(vb);
  EXPECT_EQ(hotThumb->Pixel(x, h - 3), ArrowCode(13));
  EXPECT_EQ(hotThumb->Pixel(x, thumbMid), ArrowCode(22));
  SendMessageW(vb->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(vb->scrollpos, kScrollPartNone);

  // A press on the down arrow goes to the memo as a non-client press at
  // screen coordinates; the memo scrolls by a line; while the system's
  // tracking runs, the arrow shows pressed.
  std::vector<TMessage> seen;
  const TWndMethod prev = memo->WindowProc;
  memo->WindowProc = [&seen, prev](TMessage& m) {
    if (m.Msg == WM_NCLBUTTONDOWN) seen.push_back(m);
    prev(m);
  };
  TColor pressed = 0;
  bool fdownInside = false;
  TimerHook::After(50, [&] {
    fdownInside = vb->fdown;
    pressed = Painted(vb)->Pixel(x, h - 3);
    PostMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  });
  EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SendMessageW(vb->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, h - 3));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].WParam, static_cast<WPARAM>(HTVSCROLL));
  EXPECT_EQ(seen[0].LParam, MAKELPARAM(bar.left + x, bar.top + h - 3));
  EXPECT_TRUE(fdownInside);
  EXPECT_EQ(pressed, ArrowCode(14));
  EXPECT_FALSE(vb->fdown);
  EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  memo->WindowProc = prev;
  delete skin;
}

TEST_F(SkinScrollTest, APressedThumbFollowsTheCursorUntilTheSystemLetsGo) {
  TMemo* memo = NewMemo(80);
  form->Show();
  TSkinScrollbar* skin = SkinOf(memo);
  TWScrollbar* vb = skin->vb;
  Painted(vb);
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  const int x = cw / 2, top = vb->thumbTop, size = vb->thumbbottom - vb->thumbTop;
  const POINT grab{bar.left + x, bar.top + top + size / 2};
  SetCursorPos(grab.x, grab.y);
  int dragged = -1;
  TColor grip = 0;
  TimerHook::After(50, [&] {
    SetCursorPos(grab.x, grab.y + 30);
    auto b = Painted(vb);
    dragged = vb->thumbTop;
    grip = b->Pixel(x, dragged + size / 2);
    PostMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  });
  SendMessageW(vb->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, top + size / 2));
  EXPECT_EQ(dragged, top + 30);
  // Pressed: the grip's frame 21 where it fits on the thumb, else the thumb's frame 2.
  EXPECT_EQ(grip, cw < size + 2 ? ArrowCode(21) : SliderCode(2));
  EXPECT_EQ(vb->trackthumb, top);
  delete skin;
}

TEST_F(SkinScrollTest, UnskinnedInsideTheSystemsTrackingNothingIsTouchedAfterwards) {
  TMemo* memo = NewMemo(60);
  form->Show();
  TSkinScrollbar* skin = SkinOf(memo);
  TWScrollbar* vb = skin->vb;
  const HWND overlay = vb->Handle();
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  TimerHook::After(50, [&] {
    skin->Unsubclass();
    delete skin;
    PostMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  });
  SendMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cw / 2, bar.bottom - bar.top - 3));
  EXPECT_FALSE(IsWindow(overlay));
  // The memo still works, with its own procedures.
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  EXPECT_EQ(SendMessageW(memo->Handle(), SM_QUERYSKINNED, 0, 0), 0);
}

// ---------------------------------------------------------------------------
// Scrolling

TEST_F(SkinScrollTest, TheOverlaysThumbFollowsLinesAndTheWheel) {
  TMemo* memo = NewMemo(80);
  form->Show();
  TSkinScrollbar* skin = SkinOf(memo);
  TWScrollbar* vb = skin->vb;
  const int x = cw / 2;
  auto thumbAt = [&](TBitmap& b, int y) { return b.Pixel(x, y) == SliderCode(1) || b.Pixel(x, y) == ArrowCode(20); };

  Pump(50);
  auto top = Painted(vb);
  const int top0 = vb->thumbTop;
  EXPECT_EQ(top0, BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop);
  EXPECT_TRUE(thumbAt(*top, top0 + 1));

  ValidateRect(vb->Handle(), nullptr);
  for (int i = 0; i < 20; ++i) SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  // The scroll code shows as the part it moved until the mouse says otherwise.
  EXPECT_EQ(vb->scrollpos, SB_LINEDOWN);
  EXPECT_TRUE(GetUpdateRect(vb->Handle(), nullptr, FALSE));
  auto lines = Painted(vb);
  const int top1 = vb->thumbTop;
  EXPECT_GT(top1, top0);
  EXPECT_EQ(top1, BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop);
  EXPECT_TRUE(thumbAt(*lines, top1 + 1));
  EXPECT_FALSE(thumbAt(*lines, top0 + 1));

  const RECT wr = WindowRectOf(memo->Handle());
  ValidateRect(vb->Handle(), nullptr);
  SendMessageW(memo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA * 2)),
               MAKELPARAM(wr.left + 20, wr.top + 20));
  EXPECT_TRUE(GetUpdateRect(vb->Handle(), nullptr, FALSE));
  auto wheel = Painted(vb);
  EXPECT_GT(vb->thumbTop, top1);
  EXPECT_EQ(vb->thumbTop, BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop);
  EXPECT_TRUE(thumbAt(*wheel, vb->thumbTop + 1));
  delete skin;
}

// A log box appending lines: the covered native bar is not redrawn, nor
// the frame around it (the overlay, moved aside here, would hide the bar),
// while the text scrolls and the overlay shows the thumb where it went. A skin without the
// arrow strip paints no bar, so there the native bar is the one the user
// sees and it is redrawn.
TEST_F(SkinScrollTest, AnAppendedLineRedrawsTheTextButNotACoveredNativeBar) {
  struct Case {
    const char* name;
    bool arrows;
  };
  for (const Case& k : {Case{"covered", true}, Case{"no arrow strip", false}}) {
    SCOPED_TRACE(k.name);
    if (!k.arrows) data->SArrow.reset();
    TMemo* memo = NewMemo(40);
    form->Show();
    TSkinScrollbar* skin = SkinOf(memo);
    // The caret at the end, where the last appended line left it.
    SendMessageW(memo->Handle(), EM_SETSEL, 0x7FFF, 0x7FFF);
    SetWindowPos(skin->vb->Handle(), nullptr, 300, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(50);
    const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
    const RECT wr = WindowRectOf(memo->Handle());
    RECT mark = bar;
    OffsetRect(&mark, -wr.left, -wr.top);
    HDC dc = GetWindowDC(memo->Handle());
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &mark, green);
    DeleteObject(green);
    ReleaseDC(memo->Handle(), dc);
    const int first = static_cast<int>(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    const int thumb0 = BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop;
    int framePaints = 0;
    const TWndMethod prev = memo->WindowProc;
    memo->WindowProc = [&framePaints, prev](TMessage& m) {
      if (m.Msg == WM_NCPAINT) ++framePaints;
      prev(m);
    };

    for (int i = 0; i < 5; ++i) memo->Lines()->Add(u"one more line");
    EXPECT_TRUE(IsWindowVisible(memo->Handle()));
    EXPECT_TRUE(GetUpdateRect(memo->Handle(), nullptr, FALSE));
    Pump(50);
    memo->WindowProc = prev;
    if (k.arrows) EXPECT_EQ(framePaints, 0);
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), first + 5);
    const int y = (bar.top + bar.bottom) / 2;
    const std::vector<uint32_t> seen = qvtest::ScreenPixels(RECT{bar.left + 2, y, bar.left + 3, y + 1});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0] == 0x00FF00u, k.arrows);
    if (!k.arrows) continue;
    // The overlay, where it was moved, shows the thumb where it went.
    const int thumb1 = BarInfo(memo->Handle(), OBJID_VSCROLL).xyThumbTop;
    ASSERT_GT(thumb1, thumb0 + 1);
    const RECT ov = WindowRectOf(skin->vb->Handle());
    const int x = ov.left + cw / 2;
    const std::vector<uint32_t> column = qvtest::ScreenPixels(RECT{x, ov.top, x + 1, ov.bottom});
    auto rgb = [](TColor c) { return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); };
    ASSERT_GT(column.size(), static_cast<size_t>(thumb1 + 1));
    EXPECT_EQ(column[thumb1 + 1], rgb(SliderCode(1)));
    EXPECT_EQ(column[thumb0], rgb(TrackCode(1)));
    delete skin;
    delete memo;
  }
}

// ---------------------------------------------------------------------------
// Border and colours

TEST_F(SkinScrollTest, BorderOnlyWhereTheControlHasOne) {
  auto grid = [&](int style) {
    auto* g = new TTestGrid(form.get());
    g->SetBounds(10, 10, 200, 150);
    g->SetBorderStyle(style);
    g->SetParent(form.get());
    return g;
  };
  TSkinScrollbar* bordered = SkinOf(grid(1));
  EXPECT_TRUE(bordered->border);
  TSkinScrollbar* none = SkinOf(grid(0));
  EXPECT_FALSE(none->border);
  auto* single = new TSkinScrollbar(grid(1));
  single->kind = 1;
  single->InitScrollbar(As<TWinControl>(single->Owner()), data.get(), nullptr, nullptr);
  EXPECT_FALSE(single->border);
  TSkinScrollbar* memoSkin = SkinOf(NewMemo(3));  // no BorderStyle property at all
  EXPECT_TRUE(memoSkin->border);

  // SM_PAINTBORDER paints the border into the DC it brings, only with the magic.
  TBitmap bmp;
  bmp.SetSize(200, 150);
  FillRect(bmp, Rect(0, 0, 200, 150), RGB(1, 2, 3));
  HDC dc = BitmapCanvas(bmp).Handle();
  EXPECT_EQ(SendMessageW(bordered->hwnd, SM_PAINTBORDER, reinterpret_cast<WPARAM>(dc), 0x1234), 0);
  GdiFlush();
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(bordered->hwnd, SM_PAINTBORDER, reinterpret_cast<WPARAM>(dc), SkinPaintMagic),
            static_cast<LRESULT>(SkinPaintMagic));
  GdiFlush();
  EXPECT_EQ(bmp.Pixel(0, 0), kShadow);
  EXPECT_EQ(bmp.Pixel(199, 149), kShadow);
  EXPECT_EQ(bmp.Pixel(1, 1), kFace);
  EXPECT_EQ(bmp.Pixel(2, 2), RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(bordered->hwnd, SM_PAINTBORDER, 0, SkinPaintMagic), static_cast<LRESULT>(SkinPaintMagic));

  // The window's own frame painting ends with ours on top.
  form->Show();
  RedrawWindow(bordered->hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC wdc = GetWindowDC(bordered->hwnd);
  EXPECT_EQ(static_cast<TColor>(GetPixel(wdc, 0, 0)), kShadow);
  EXPECT_EQ(static_cast<TColor>(GetPixel(wdc, 1, 1)), kFace);
  ReleaseDC(bordered->hwnd, wdc);
}

TEST_F(SkinScrollTest, TheControlsOwnFixedColorComesBackAfterSkinChanges) {
  auto* g = new TTestGrid(form.get());
  g->SetBounds(10, 10, 200, 150);
  g->SetParent(form.get());
  auto* memo = NewMemo(3);
  const TColor memoColor = memo->Color();
  TSkinScrollbar* skin = SkinOf(g);
  TSkinScrollbar* memoSkin = SkinOf(memo);
  EXPECT_EQ(g->FixedColor(), kFace);
  EXPECT_EQ(memo->Color(), memoColor);  // Color is not the skin's business here

  data->Colors[3] = RGB(0x40, 0x50, 0x60);
  skin->SkinChange();
  memoSkin->SkinChange();
  EXPECT_EQ(g->FixedColor(), RGB(0x40, 0x50, 0x60));
  data->Colors[3] = RGB(0x70, 0x80, 0x90);
  skin->SkinChange();
  EXPECT_EQ(g->FixedColor(), RGB(0x70, 0x80, 0x90));

  skin->Unsubclass();
  memoSkin->Unsubclass();
  EXPECT_EQ(g->FixedColor(), 0x00ABCDEF);
  EXPECT_EQ(memo->Color(), memoColor);

  // Skinned again after that, the same colour is the one recorded.
  delete skin;
  skin = SkinOf(g);
  EXPECT_EQ(g->FixedColor(), RGB(0x70, 0x80, 0x90));
  skin->Unsubclass();
  EXPECT_EQ(g->FixedColor(), 0x00ABCDEF);
}

// ---------------------------------------------------------------------------
// The combo list's thumb drag

namespace {


struct ScrollLog {
  static std::vector<std::pair<int, int>>& Codes() {
    static std::vector<std::pair<int, int>> codes;
    return codes;
  }
  static WNDPROC& Prev() {
    static WNDPROC prev;
    return prev;
  }
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_VSCROLL) Codes().push_back({LOWORD(wp), static_cast<short>(HIWORD(wp))});
    return CallWindowProcW(Prev(), w, msg, wp, lp);
  }
};

class ComboListDragTest : public SkinScrollTest {
 protected:
  void SetUp() override {
    SkinScrollTest::SetUp();
    qvtest::RegisterWindowClass(L"QvListHost");
    host = CreateWindowExW(0, L"QvListHost", L"", WS_POPUP, 100, 100, 200, 220, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    MakeList();
    ShowWindow(host, SW_SHOWNOACTIVATE);
    ScrollLog::Codes().clear();
    skin = new TComboxScrollBar(nullptr);
    skin->Inithwnd(list, data.get(), nullptr, nullptr);
    const SCROLLBARINFO sbi = BarInfo(list, OBJID_VSCROLL);
    thumb = POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2,
                  sbi.rcScrollBar.top + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2};
    SetCursorPos(thumb.x, thumb.y);
  }

  void TearDown() override {
    if (backstop) KillTimer(nullptr, backstop);
    delete skin;
    if (IsWindow(host)) DestroyWindow(host);
    // A drag that did not end would have left this behind.
    TimerHook::Action() = nullptr;
    SkinScrollTest::TearDown();
  }

  // A list of 100 items whose WM_VSCROLLs are logged under any skin.
  void MakeList() {
    list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                           200, 200, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 100; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    ScrollLog::Prev() = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollLog::Proc)));
  }

  // The press on the thumb; returns when the drag is over.
  LRESULT Press() { return SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y)); }

  // A release that ends a drag that failed to end by itself, late.
  static HWND& BackstopTarget() {
    static HWND target;
    return target;
  }
  static void CALLBACK Release(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (IsWindow(BackstopTarget())) PostMessageW(BackstopTarget(), WM_LBUTTONUP, 0, 0);
  }
  void Backstop() {
    BackstopTarget() = list;
    backstop = SetTimer(nullptr, 0, 3000, Release);
  }

  std::vector<int> CodesOnly() {
    std::vector<int> v;
    for (auto [code, pos] : ScrollLog::Codes()) v.push_back(code);
    return v;
  }

  HWND host = nullptr, list = nullptr;
  UINT_PTR backstop = 0;
  TComboxScrollBar* skin = nullptr;
  POINT thumb{};
};

}  // namespace

TEST_F(ComboListDragTest, AReleaseWithoutMovingKeepsThePosition) {
  PostMessageW(list, WM_LBUTTONUP, 0, 0);
  Press();
  EXPECT_NE(GetCapture(), list);
  Pump(30);
  ASSERT_EQ(CodesOnly(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(ScrollLog::Codes()[0].second, 0);
  // Presses beside the thumb stay with the system.
  const SCROLLBARINFO sbi = BarInfo(list, OBJID_VSCROLL);
  TMessage m{WM_NCLBUTTONDOWN, HTVSCROLL,
             MAKELPARAM(thumb.x, sbi.rcScrollBar.top + sbi.xyThumbBottom + 5), 0};
  EXPECT_FALSE(skin->TrackThumb(m));
  m.WParam = HTHSCROLL;
  m.LParam = MAKELPARAM(thumb.x, thumb.y);
  EXPECT_FALSE(skin->TrackThumb(m));
}

TEST_F(ComboListDragTest, DraggingScrollsTheListAndTheReleaseEndsIt) {
  Backstop();
  TimerHook::After(30, [&] {
    SetCursorPos(thumb.x, thumb.y + 40);
    PostMessageW(list, WM_MOUSEMOVE, 0, 0);
    PostMessageW(list, WM_LBUTTONUP, 0, 0);
  });
  Press();
  Pump(30);
  const auto codes = CodesOnly();
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front(), SB_THUMBTRACK);
  EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  const int pos = ScrollLog::Codes()[codes.size() - 2].second;
  EXPECT_GT(pos, 0);
  EXPECT_EQ(ScrollLog::Codes().front().second, pos);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), pos);
}

TEST_F(ComboListDragTest, ALostCaptureEndsTheDrag) {
  Backstop();
  TimerHook::After(30, [] { ReleaseCapture(); });
  Press();
  Pump(30);
  EXPECT_EQ(CodesOnly(), (std::vector<int>{SB_ENDSCROLL}));
}

TEST_F(ComboListDragTest, AQuitEndsTheDragAndStaysForTheApplicationsLoop) {
  Backstop();
  TimerHook::After(30, [] { PostQuitMessage(7); });
  Press();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  Pump(30);
  EXPECT_EQ(CodesOnly(), (std::vector<int>{SB_ENDSCROLL}));
}

TEST_F(ComboListDragTest, TheListGoingOrTheSkinGoingEndsItQuietly) {
  Backstop();
  TimerHook::After(30, [&] { DestroyWindow(list); });
  Press();
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(skin->skinstate, TControlSkinState::Dead);
  EXPECT_TRUE(CodesOnly().empty());

  // A new list; this time the skin is freed while the drag runs: the drag
  // finishes with the list alone.
  delete skin;
  skin = nullptr;
  MakeList();
  auto* second = new TComboxScrollBar(nullptr);
  second->Inithwnd(list, data.get(), nullptr, nullptr);
  TimerHook::After(30, [&] {
    delete second;
    PostMessageW(list, WM_LBUTTONUP, 0, 0);
  });
  Press();
  Pump(30);
  EXPECT_EQ(CodesOnly(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
}

TEST_F(ComboListDragTest, TheListsBarIsPaintedFromTheSkin) {
  RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const SCROLLBARINFO sbi = BarInfo(list, OBJID_VSCROLL);
  const RECT wr = WindowRectOf(list);
  HDC dc = GetWindowDC(list);
  const int x = sbi.rcScrollBar.left - wr.left + cw / 2, y0 = sbi.rcScrollBar.top - wr.top;
  EXPECT_EQ(static_cast<TColor>(GetPixel(dc, x, y0 + 2)), ArrowCode(9));
  EXPECT_EQ(static_cast<TColor>(GetPixel(dc, x, y0 + (sbi.rcScrollBar.bottom - sbi.rcScrollBar.top) - 3)),
            ArrowCode(13));
  const TColor mid = static_cast<TColor>(GetPixel(dc, x, y0 + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2));
  EXPECT_TRUE(mid == SliderCode(1) || mid == ArrowCode(20)) << std::hex << mid;
  ReleaseDC(list, dc);
  EXPECT_EQ(skin->thumbtop, sbi.xyThumbTop);
}

// ---------------------------------------------------------------------------
// In a form skinned by the manager, with the program's own skin

namespace {

class SkinScrollFormTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    data = qvtest::LoadProgramSkin([](TSkinData& d) { d.SetSkinControls(1u << xcScrollbar); });
    ASSERT_FALSE(data->Empty);
  }

  TSkinScrollbar* SkinOf(TWinSkinForm* sf, TWinControl* c) {
    for (TSkinControl* s : sf->controls.Controllist)
      if (s->control == c) return As<TSkinScrollbar>(s);
    return nullptr;
  }

  TForm* form = nullptr;
};

}  // namespace

TEST_F(SkinScrollFormTest, TheMemoOfASkinnedFormGetsItsBarSkinnedAndKeepsItWhenRecreated) {
  form = Own(new TForm(nullptr));
  form->SetBounds(80, 80, 360, 260);
  auto* memo = new TMemo(form);
  memo->SetBounds(8, 8, 300, 180);
  memo->SetScrollBars(ssVertical);
  memo->SetParent(form);
  String text;
  for (int i = 0; i < 100; ++i) text += u"log line " + IntToStr(i) + u"\r\n";
  memo->SetText(text);
  form->Show();
  TWinSkinForm* sf = nullptr;
  ASSERT_TRUE(qvtest::WaitUntil(
      [&] {
        sf = SkinManager->FindForm(form->Handle());
        return sf && sf->Skinstate == TSkinFormState::Skinned && SkinOf(sf, memo);
      },
      3000));
  TSkinScrollbar* skin = SkinOf(sf, memo);
  ASSERT_NE(skin->vb, nullptr);
  EXPECT_TRUE(IsWindowVisible(skin->vb->Handle()));
  EXPECT_TRUE(SameRect(WindowRectOf(skin->vb->Handle()), BarRect(memo->Handle(), OBJID_VSCROLL)));

  // The memo scrolled to its end: the overlay's thumb at the bottom.
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  Pump(100);
  const SCROLLBARINFO sbi = BarInfo(memo->Handle(), OBJID_VSCROLL);
  EXPECT_EQ(skin->vb->thumbbottom, sbi.xyThumbBottom);
  EXPECT_GE(sbi.xyThumbBottom, (sbi.rcScrollBar.bottom - sbi.rcScrollBar.top) - skin->vb->CW);

  // A new window for the memo: the form drops the old skin and makes a new one.
  const HWND old = memo->Handle();
  memo->RecreateWnd();
  ASSERT_NE(memo->Handle(), old);
  ASSERT_TRUE(qvtest::WaitUntil(
      [&] {
        TSkinScrollbar* s = SkinOf(sf, memo);
        return s && s->hwnd == memo->Handle();
      },
      3000));
  skin = SkinOf(sf, memo);
  ASSERT_NE(skin->vb, nullptr);
  EXPECT_TRUE(IsWindowVisible(skin->vb->Handle()));
  EXPECT_TRUE(SameRect(WindowRectOf(skin->vb->Handle()), BarRect(memo->Handle(), OBJID_VSCROLL)));
  int skins = 0;
  for (TSkinControl* s : sf->controls.Controllist) skins += s->control == memo;
  EXPECT_EQ(skins, 1);
}

TEST_F(SkinScrollFormTest, ARecreatedControlKeepsWhatItsFirstSkinWasMadeWith) {
  // A single scroll bar (no skinned border) over a control with a border
  // style and fixed cells of its own colour.
  data->Skin3rd()->Add(u"TTestGrid=singlescrollbar");
  form = Own(new TForm(nullptr));
  form->SetBounds(80, 80, 360, 260);
  auto* grid = new TTestGrid(form);
  grid->SetBounds(8, 8, 300, 180);
  grid->SetParent(form);
  form->Show();
  TWinSkinForm* sf = nullptr;
  ASSERT_TRUE(qvtest::WaitUntil(
      [&] {
        sf = SkinManager->FindForm(form->Handle());
        return sf && sf->Skinstate == TSkinFormState::Skinned && SkinOf(sf, grid);
      },
      3000));
  TSkinScrollbar* skin = SkinOf(sf, grid);
  EXPECT_EQ(skin->kind, 1);
  EXPECT_FALSE(skin->border);
  EXPECT_EQ(grid->FixedColor(), data->Colors[3]);

  const HWND old = grid->Handle();
  grid->RecreateWnd();
  ASSERT_NE(grid->Handle(), old);
  ASSERT_TRUE(qvtest::WaitUntil(
      [&] {
        TSkinScrollbar* s = SkinOf(sf, grid);
        return s && s->hwnd == grid->Handle();
      },
      3000));
  skin = SkinOf(sf, grid);
  EXPECT_EQ(skin->kind, 1);
  EXPECT_FALSE(skin->border);
  // Unskinned, the grid gets its own colour back, not the skin's face.
  skin->Unsubclass();
  EXPECT_EQ(grid->FixedColor(), 0x00ABCDEF);
}
