// The class library's own messages as a control's WindowProc sees them:
// mouse entering and leaving (windowed and graphic controls), enabling,
// showing, focus moving, recreation, dialog keys offered to the form, and
// the reflections of WM_COMMAND, WM_VSCROLL and WM_NOTIFY. Also the
// self-painting controls: TCustomControl, TCustomPanel and ParentWindow.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "platform/win/Application.h"
#include "platform/win/Forms.h"
#include "platform/win/StdCtrls.h"
#include "tests/win/SkinControlFixture.h"

using namespace qv;

namespace {

struct Seen {
  TControl* control;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
};

// Records the class-library messages (CM_*, CN_*) reaching each watched
// control, in one log so that their order across controls shows. The log
// outlives the controls it watches.
class Recorder {
 public:
  void Watch(TControl* c) {
    TWndMethod old = c->WindowProc;
    c->WindowProc = [this, c, old](TMessage& m) {
      if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) {
        log.push_back({c, m.Msg, m.WParam, m.LParam});
        if (m.Msg == answer) {
          m.Result = 1;
          return;
        }
      }
      old(m);
    };
  }
  int Count(TControl* c, UINT msg) const {
    int n = 0;
    for (const Seen& s : log) n += s.control == c && s.msg == msg;
    return n;
  }
  // The messages of these numbers in order, as (control, message) pairs.
  std::vector<std::pair<TControl*, UINT>> Only(std::initializer_list<UINT> msgs) const {
    std::vector<std::pair<TControl*, UINT>> out;
    for (const Seen& s : log) {
      for (UINT m : msgs) {
        if (s.msg == m) out.emplace_back(s.control, s.msg);
      }
    }
    return out;
  }
  std::vector<Seen> log;
  UINT answer = 0;  // a message the watched controls take (Result 1)
};

class TSpot : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
};

// The form of the control-skin tests, with a graphic control besides, every
// control watched.
struct Fixture : qvtest::SkinControlFixture {
  void SetUp() override {
    MakeForm(75, 25);
    spot = new TSpot(form.get());
    spot->SetBounds(200, 100, 40, 40);
    spot->SetParent(form.get());
    for (TControl* c : {static_cast<TControl*>(form.get()), static_cast<TControl*>(edit),
                        static_cast<TControl*>(button), static_cast<TControl*>(spot)})
      rec.Watch(c);
  }

  void MouseMove(HWND wnd, int x, int y) { SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

  Recorder rec;  // the fixture's TearDown frees the form before it
  TSpot* spot = nullptr;
};

using P = std::pair<TControl*, UINT>;
using ControlMessages = Fixture;

TEST_F(ControlMessages, MouseEntersAndLeavesWindowedAndGraphicControls) {
  MouseMove(button->Handle(), 5, 5);
  MouseMove(button->Handle(), 6, 6);  // still inside: nothing new
  MouseMove(form->Handle(), 210, 110);  // over the graphic child
  MouseMove(form->Handle(), 215, 115);
  MouseMove(form->Handle(), 150, 200);  // the form's own area
  SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);
  SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);  // already left: nothing
  const TControl* f = form.get();
  EXPECT_EQ(rec.Only({CM_MOUSEENTER, CM_MOUSELEAVE}),
            (std::vector<P>{{button, CM_MOUSEENTER}, {button, CM_MOUSELEAVE}, {spot, CM_MOUSEENTER},
                            {spot, CM_MOUSELEAVE}, {const_cast<TControl*>(f), CM_MOUSEENTER},
                            {const_cast<TControl*>(f), CM_MOUSELEAVE}}));
}

TEST_F(ControlMessages, LeaveFromAWindowGoesToTheGraphicChildUnderTheMouse) {
  MouseMove(form->Handle(), 210, 110);
  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);  // not the button's to end
  EXPECT_EQ(rec.Count(spot, CM_MOUSELEAVE), 0);
  SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(rec.Only({CM_MOUSEENTER, CM_MOUSELEAVE}),
            (std::vector<P>{{spot, CM_MOUSEENTER}, {spot, CM_MOUSELEAVE}}));
}

TEST_F(ControlMessages, AControlFreedUnderTheMouseIsForgotten) {
  MouseMove(form->Handle(), 210, 110);
  delete spot;
  spot = nullptr;
  MouseMove(button->Handle(), 5, 5);  // no leave for the freed control
  MouseMove(form->Handle(), 210, 110);  // nothing there now: the form
  EXPECT_EQ(rec.Only({CM_MOUSEENTER, CM_MOUSELEAVE}).size(), 4u);
  EXPECT_EQ(rec.Count(button, CM_MOUSEENTER), 1);
  EXPECT_EQ(rec.Count(button, CM_MOUSELEAVE), 1);
  EXPECT_EQ(rec.Count(form.get(), CM_MOUSEENTER), 1);
}

TEST_F(ControlMessages, TheWindowHasChangedWhenTheOldProcedureReturns) {
  std::vector<bool> states;
  TWndMethod old = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    old(m);
    if (m.Msg == CM_ENABLEDCHANGED) states.push_back(IsWindowEnabled(button->Handle()));
    if (m.Msg == CM_VISIBLECHANGED) states.push_back(GetWindowLongPtrW(button->Handle(), GWL_STYLE) & WS_VISIBLE);
  };
  button->SetEnabled(false);
  button->SetVisible(false);
  button->SetEnabled(true);
  button->SetVisible(true);
  button->WindowProc = old;
  EXPECT_EQ(states, (std::vector<bool>{false, false, true, true}));
}

TEST_F(ControlMessages, EnabledAndVisibleChangesAreAnnounced) {
  button->SetEnabled(false);
  button->SetEnabled(false);  // no change, no message
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  button->SetEnabled(true);
  spot->SetVisible(false);
  edit->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(edit->Handle()));
  EXPECT_EQ(rec.Count(button, CM_ENABLEDCHANGED), 2);
  EXPECT_EQ(rec.Count(spot, CM_VISIBLECHANGED), 1);
  EXPECT_EQ(rec.Count(edit, CM_VISIBLECHANGED), 1);
  for (const Seen& s : rec.log) {
    if (s.msg == CM_VISIBLECHANGED) {
      EXPECT_EQ(s.wparam, 0u);
    }
  }
}

TEST_F(ControlMessages, FocusMovesTellTheFormAndTheControlLeft) {
  form->Show();
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  button->SetFocus();
  ASSERT_EQ(GetFocus(), button->Handle());
  TControl* f = form.get();
  EXPECT_EQ(rec.Only({CM_FOCUSCHANGED, CM_EXIT, CM_ENTER}),
            (std::vector<P>{{f, CM_FOCUSCHANGED}, {edit, CM_ENTER}, {edit, CM_EXIT}, {f, CM_FOCUSCHANGED},
                            {button, CM_ENTER}}));
  std::vector<LPARAM> focused;
  for (const Seen& s : rec.log) {
    if (s.msg == CM_FOCUSCHANGED) focused.push_back(s.lparam);
  }
  EXPECT_EQ(focused, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(static_cast<TControl*>(edit)),
                                          reinterpret_cast<LPARAM>(static_cast<TControl*>(button))}));
  // A focused control that goes away is not told later that it lost the focus.
  delete button;
  button = nullptr;
  edit->SetFocus();
  EXPECT_EQ(rec.Count(edit, CM_ENTER), 2);
  EXPECT_EQ(rec.Count(f, CM_FOCUSCHANGED), 3);
}

TEST_F(ControlMessages, RecreateWndGoesThroughTheMessageAndKeepsChildrenAndProperties) {
  auto* panel = new TPanel(form.get());
  panel->SetBounds(150, 8, 100, 60);
  panel->SetCaption(u"备份");
  panel->SetParent(form.get());
  auto* inner = new TEdit(form.get());
  inner->SetBounds(4, 4, 50, 21);
  inner->SetParent(panel);
  SetWindowTextW(inner->Handle(), L"typed");  // only the window knows this text
  button->SetEnabled(false);
  rec.Watch(panel);
  const HWND oldForm = form->Handle();
  const HWND oldInner = inner->Handle();

  form->RecreateWnd();
  EXPECT_EQ(rec.Count(form.get(), CM_RECREATEWND), 1);
  EXPECT_FALSE(IsWindow(oldForm));
  EXPECT_FALSE(IsWindow(oldInner));
  ASSERT_TRUE(inner->HandleAllocated());
  EXPECT_EQ(GetParent(inner->Handle()), panel->Handle());
  EXPECT_EQ(GetParent(panel->Handle()), form->Handle());
  EXPECT_EQ(inner->GetText(), u"typed");
  EXPECT_EQ(panel->GetText(), u"备份");
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  RECT r;
  GetWindowRect(panel->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(panel->Left(), 150);
  EXPECT_EQ(FindControl(panel->Handle()), panel);
  // The replaced WindowProc still sees the new window's messages.
  const size_t before = rec.log.size();
  panel->SetEnabled(false);
  EXPECT_GT(rec.log.size(), before);

  // A control without a window has nothing to recreate.
  auto* loose = new TPanel(form.get());
  rec.Watch(loose);
  loose->RecreateWnd();
  EXPECT_EQ(rec.Count(loose, CM_RECREATEWND), 0);
  EXPECT_FALSE(loose->HandleAllocated());
}

TEST_F(ControlMessages, DialogKeysAreOfferedToTheFormFirst) {
  auto* memo = new TMemo(form.get());
  memo->SetBounds(8, 80, 100, 60);
  memo->SetParent(form.get());
  rec.Watch(memo);
  auto post = [&](TWinControl* c, UINT msg, WPARAM key) {
    PostMessageW(c->Handle(), msg, key, 1);
    Application->ProcessMessages();
  };
  TControl* f = form.get();

  post(button, WM_KEYDOWN, VK_RETURN);
  // The form passes what it does not take on to its children.
  auto keys = rec.Only({CM_DIALOGKEY});
  ASSERT_GE(keys.size(), 2u);
  EXPECT_EQ(keys[0], (P{f, CM_DIALOGKEY}));
  EXPECT_EQ(rec.Count(button, CM_DIALOGKEY), 1);

  rec.log.clear();
  post(memo, WM_KEYDOWN, VK_RETURN);  // the memo wants every key itself
  post(edit, WM_KEYDOWN, 'A');        // not a dialog key
  EXPECT_EQ(rec.Only({CM_DIALOGKEY}).size(), 0u);
  post(edit, WM_KEYDOWN, VK_TAB);  // a one-line edit leaves Tab to the dialog
  EXPECT_EQ(rec.Count(f, CM_DIALOGKEY), 1);

  rec.log.clear();
  post(button, WM_CHAR, 'x');
  post(edit, WM_CHAR, 'x');  // an edit wants characters
  post(edit, WM_SYSCHAR, 'x');
  EXPECT_EQ(rec.Count(f, CM_DIALOGCHAR), 2);

  // A key the form takes goes no further.
  rec.answer = CM_DIALOGKEY;
  rec.log.clear();
  bool buttonSawKey = false;
  TWndMethod old = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_KEYDOWN) buttonSawKey = true;
    old(m);
  };
  post(button, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(rec.Only({CM_DIALOGKEY}), (std::vector<P>{{f, CM_DIALOGKEY}}));
  EXPECT_FALSE(buttonSawKey);
  button->WindowProc = old;
}

TEST_F(ControlMessages, ParentReflectsCommandScrollAndNotifyToTheChild) {
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button->Handle()));
  SendMessageW(form->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(edit->Handle()));
  bool reflected = false;
  TWndMethod old = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    if (m.Msg == CN_NOTIFY) reflected = IsReflectedNotify(m);
    old(m);
  };
  NMHDR hdr{edit->Handle(), 0, static_cast<UINT>(NM_CLICK)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  edit->WindowProc = old;
  EXPECT_EQ(rec.Count(button, CN_COMMAND), 1);
  EXPECT_EQ(rec.Count(edit, CN_VSCROLL), 1);
  EXPECT_EQ(rec.Count(edit, CN_NOTIFY), 1);
  EXPECT_TRUE(reflected);
  // From windows the class library does not know: no reflection.
  HWND raw = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
  rec.log.clear();
  SendMessageW(form->Handle(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(raw));
  SendMessageW(form->Handle(), WM_VSCROLL, 0, reinterpret_cast<LPARAM>(raw));
  EXPECT_EQ(rec.Only({CN_COMMAND, CN_VSCROLL, CN_NOTIFY}).size(), 0u);
  DestroyWindow(raw);
}

// --- self-painting controls -------------------------------------------------

class TRedBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas().SetBrushColor(0x0000FF);
    RECT r{2, 2, 10, 10};
    Canvas().FillRect(r);
  }
};

class TDot : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Paint(TCanvas& canvas) override {
    canvas.SetBrushColor(0xFF0000);
    canvas.FillRect(RECT{0, 0, 100, 100});  // clipped to the control
  }
};

// Paints the control into a memory bitmap through its WM_PAINT.
struct Snapshot {
  explicit Snapshot(TWinControl& c) : w(c.Width()), h(c.Height()) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bmp);
    SendMessageW(c.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(c.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
  ~Snapshot() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  int CountNot(COLORREF c, RECT r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) != c;
    return n;
  }
  int w, h;
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

using SelfPainting = Fixture;

TEST_F(SelfPainting, CustomControlPaintsItselfThenItsGraphicChildren) {
  auto* box = new TRedBox(form.get());
  box->SetBounds(100, 100, 40, 30);
  box->SetColor(0xFFFFFF);
  box->SetParent(form.get());
  auto* dot = new TDot(form.get());
  dot->SetBounds(20, 20, 4, 4);
  dot->SetParent(box);
  Snapshot s(*box);
  EXPECT_EQ(box->paints, 1);
  EXPECT_EQ(s.At(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(s.At(30, 5), RGB(255, 255, 255));
  EXPECT_EQ(s.At(21, 21), RGB(0, 0, 255));  // the graphic child, over the box
  EXPECT_EQ(s.At(25, 21), RGB(255, 255, 255));
  EXPECT_FALSE(box->Canvas().Handle());  // let go of the DC after painting
}

TEST_F(SelfPainting, PanelDrawsBevelsAndAWideCaption) {
  auto* panel = new TPanel(form.get());
  panel->SetBounds(10, 100, 120, 40);
  panel->SetParent(form.get());
  EXPECT_EQ(panel->BevelOuter(), bvRaised);
  EXPECT_EQ(panel->BevelInner(), bvNone);
  EXPECT_EQ(panel->Color(), clBtnFace);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const RECT inside{4, 4, 116, 36};
  {
    Snapshot s(*panel);
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(119, 39), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.At(1, 1), face);
    EXPECT_EQ(s.CountNot(face, inside), 0);
  }
  panel->SetBevelOuter(bvLowered);
  panel->SetBevelInner(bvRaised);
  panel->SetCaption(u"备份");
  {
    Snapshot s(*panel);
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(s.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s.At(118, 38), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_GT(s.CountNot(face, inside), 10);  // the caption's strokes
  }
  // The bevels and the caption are published properties.
  const TPropInfo* p = GetPropInfo(panel, u"bevelouter");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetEnumProp(panel, *p), u"bvLowered");
  EXPECT_EQ(GetStrProp(panel, *GetPropInfo(panel, u"Caption")), u"备份");
  EXPECT_TRUE(panel->Is<TCustomPanel>());
  EXPECT_TRUE(panel->Is<TCustomControl>());
}

TEST_F(SelfPainting, ParentWindowHostsAControlInARawWindow) {
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(host);
  {
    TPanel panel(nullptr);
    panel.SetBounds(5, 6, 50, 20);
    EXPECT_THROW(panel.Handle(), Exception);  // a child window needs somewhere to live
    panel.SetParentWindow(host);
    EXPECT_EQ(panel.ParentWindow(), host);
    ASSERT_TRUE(panel.Handle());
    EXPECT_EQ(GetParent(panel.Handle()), host);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    panel.SetParentWindow(other);  // moves the existing window
    EXPECT_EQ(GetParent(panel.Handle()), other);
    panel.SetParentWindow(nullptr);  // nowhere to live: the window goes
    EXPECT_FALSE(panel.HandleAllocated());
    DestroyWindow(other);
    // A control with a class-library parent ignores it.
    panel.SetParent(form.get());
    panel.SetParentWindow(host);
    EXPECT_EQ(panel.ParentWindow(), nullptr);
    EXPECT_EQ(GetParent(panel.Handle()), form->Handle());
    panel.SetParent(nullptr);
  }
  DestroyWindow(host);
}

}  // namespace
