// The skin manager and skinned windows under Wine: real windows activated
// under the CBT hook, AddForm's acceptance tests, the deferred actions on the
// manager's timer, skinning and unskinning that give a window back as it
// was, lifetimes that leave no dangling skin, and the manager's end.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/win/BitmapCanvas.h"
#include "platform/win/Forms.h"
#include "platform/win/Timer.h"
#include "platform/win/WinGeometry.h"
#include "platform/win/WinString.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/windows/SkinManager.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinMenu.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

constexpr UINT kProbe = WM_APP + 7;
int gProbes = 0;

LRESULT CALLBACK RawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) {
    ++gProbes;
    return 77;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

void RegisterRaw(const wchar_t* name) { qvtest::RegisterWindowClass(name, RawProc); }

WNDPROC ProcOf(HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)); }

SIZE SizeOf(HWND w) { return qvtest::WindowSize(w); }

using qvtest::Pump;

// Another procedure put on top of the skin's, calling it as its previous one.
WNDPROC gBelow = nullptr;
int gAbove = 0;
LRESULT CALLBACK AboveProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) ++gAbove;
  return CallWindowProcW(gBelow, w, msg, wp, lp);
}

class SkinManagerTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"QvRawWindow", L"TPrintPreview", L"TApplication", L"TTERenderWindowX"})
      RegisterRaw(name);
    delete SkinManager;
    data = new TSkinData(nullptr);
    // As the form resource streams it: settings first, then Loaded.
    data->SetLoading();
    data->LoadFromFile(FromW(qvtest::ProgramSkinPath().c_str()));
    data->SetActive(true);
    data->fOnSkinChanged = [this](TObject*) { ++changed; };
    data->fOnBeforeSkinForm = [this](TObject*, HWND, const String&) { ++before; };
    data->fOnAfterSkinForm = [this](TObject*, HWND, const String&) { ++after; };
    data->Loaded();
    ASSERT_FALSE(data->Empty);
    ASSERT_NE(SkinManager, nullptr);
    m = SkinManager;
  }

  HWND Raw(const wchar_t* cls = L"QvRawWindow", DWORD style = WS_OVERLAPPEDWINDOW, int w = 320, int h = 240,
           HWND parent = nullptr, DWORD ex = 0, HMENU menu = nullptr) {
    return Track(CreateWindowExW(ex, cls, L"Raw", style, 40, 40, w, h, parent, menu, GetModuleHandleW(nullptr), nullptr));
  }

  TForm* Form(intptr_t tag = 0) {
    auto* f = new TForm(nullptr);
    forms.push_back(f);
    f->SetTag(tag);
    f->SetBounds(60, 60, 300, 200);
    f->HandleNeeded();
    return f;
  }

  // SM_INITSKIN has run.
  bool Finished(HWND w) {
    return qvtest::WaitUntil(
        [&] {
          TWinSkinForm* sf = m->FindForm(w);
          return sf && sf->FActive && sf->Skinstate == TSkinFormState::Skinned;
        },
        3000);
  }

  TSkinManage* m = nullptr;
  int changed = 0, before = 0, after = 0;
};

}  // namespace

TEST_F(SkinManagerTest, WindowsAreSkinnedAtTheirActivation) {
  EXPECT_NE(SkinHook, nullptr);
  EXPECT_TRUE(m->active);
  EXPECT_EQ(m->MainData, data);

  HWND raw = Raw();
  EXPECT_NE(SendMessageW(raw, SM_QUERYSKINNED, 0, 0), 1);
  ShowWindow(raw, SW_SHOWNORMAL);
  EXPECT_EQ(m->state, TManagerState::Running);
  ASSERT_TRUE(Finished(raw));
  TWinSkinForm* sf = m->FindForm(raw);
  EXPECT_EQ(SendMessageW(raw, SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(ProcOf(raw), reinterpret_cast<WNDPROC>(sf->FObjectInst()));
  EXPECT_EQ(sf->FForm, nullptr);
  EXPECT_EQ(sf->formclass, u"QvRawWindow");
  EXPECT_EQ(sf->frame.FormBorder, sbsSizeable);
  EXPECT_EQ(sf->frame.FormIcons & ((1u << sbiMin) | (1u << sbiMax) | (1u << sbisystem)),
            (1u << sbiMin) | (1u << sbiMax) | (1u << sbisystem));
  // Borders are frame 1 of each strip: side by side left and right, stacked
  // top and bottom.
  EXPECT_EQ(sf->frame.bw.Left, data->border[1]->Map->Width() / data->border[1]->frame);
  EXPECT_EQ(sf->frame.bw.Top, data->border[3]->Map->Height() / data->border[3]->frame);
  EXPECT_GT(sf->frame.bw.Top, 0);
  ASSERT_EQ(sf->frame.SysBtn.size(), data->SysBtn.size());
  for (size_t i = 0; i < sf->frame.SysBtn.size(); ++i) EXPECT_EQ(sf->frame.SysBtn[i]->data, data->SysBtn[i].get());
  // No icon of its own: the icon image is all key colour.
  EXPECT_EQ(sf->frame.IconBmp->Pixel(0, 0), kSkinKeyColor);
  EXPECT_EQ(sf->frame.IconBmp->Pixel(sf->frame.IconBmp->Width() - 1, sf->frame.IconBmp->Height() - 1), kSkinKeyColor);
  EXPECT_TRUE(sf->timer->Enabled());
  EXPECT_EQ(after, 1);
  // Messages the skin does not handle reach the window's own procedure.
  gProbes = 0;
  EXPECT_EQ(SendMessageW(raw, kProbe, 0, 0), 77);
  EXPECT_EQ(gProbes, 1);

  TForm* form = Form();
  const TColor native = form->Color();
  form->Show();
  ASSERT_TRUE(Finished(form->Handle()));
  TWinSkinForm* fs = m->FindForm(form->Handle());
  EXPECT_EQ(fs->FForm, form);
  EXPECT_EQ(fs->Owner(), form);
  EXPECT_EQ(fs->formcolor, native);
  EXPECT_EQ(form->Color(), data->Colors[3]);
  // The form's WindowProc answers for the skin.
  EXPECT_EQ(form->Perform(SM_SKINFORMQUERY, 0, SkinPaintMagic), static_cast<LRESULT>(SkinPaintMagic));
  EXPECT_EQ(form->Perform(SM_SKINFORMQUERY, 0, 0), 1);
  EXPECT_EQ(form->Perform(SM_PAINTBORDER, 0, 5), 0);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 2);
  // Activated again: already skinned, nothing new.
  SetForegroundWindow(raw);
  SetForegroundWindow(form->Handle());
  Pump(100);
  EXPECT_EQ(m->Flist.size(), 2u);
}

TEST_F(SkinManagerTest, AddFormAcceptsOnlyWhatPassesEveryTest) {
  struct Row {
    const char* what;
    HWND wnd;
    bool skinned;
  };
  std::vector<Row> rows;
  auto add = [&](const char* what, HWND w, bool expected) { rows.push_back({what, w, expected}); };

  HWND parent = Raw();
  add("top-level raw window", Raw(), true);
  add("form", Form()->Handle(), true);
  add("form with Tag 99", Form(99)->Handle(), false);
  add("class TApplication", Raw(L"TApplication"), false);
  add("class containing TTERenderWindow", Raw(L"TTERenderWindowX"), false);
  add("zero size", Raw(L"QvRawWindow", WS_POPUP, 0, 0), false);
  add("zero height", Raw(L"QvRawWindow", WS_POPUP, 50, 0), false);
  add("dialog", Raw(L"#32770", WS_POPUP | WS_CAPTION | WS_SYSMENU), true);
  add("dialog with DS_SETFOREGROUND", Raw(L"#32770", WS_POPUP | WS_CAPTION | DS_SETFOREGROUND), false);
  add("plain child", Raw(L"QvRawWindow", WS_CHILD | WS_VISIBLE, 100, 50, parent), false);
  add("preview without xoPreview", Raw(L"TPrintPreview"), false);
  data->SetOptions(data->Options() & ~(1u << xoPreview));
  for (const Row& r : rows) EXPECT_EQ(m->AddForm(r.wnd), r.skinned) << r.what;

  // What the table's refusals turn into when their condition goes.
  data->SetOptions(data->Options() | (1u << xoPreview));
  EXPECT_TRUE(m->AddForm(rows[10].wnd)) << "preview with xoPreview";
  HWND child = rows[9].wnd;
  m->skinchildform = true;
  EXPECT_TRUE(m->AddForm(child)) << "plain child while skinchildform";
  m->skinchildform = false;
  EXPECT_EQ(m->FindForm(child)->frame.FormBorder, sbsNone);

  // A window of another module is skinned only as a dialog or a form.
  TSkinPlatform other = CurrentSkinPlatform();
  other.Instance = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"kernel32.dll"));
  ApplySkinPlatform(other);
  EXPECT_FALSE(m->AddForm(Raw())) << "raw window of another module";
  EXPECT_TRUE(m->AddForm(Raw(L"#32770", WS_POPUP | WS_CAPTION))) << "dialog of another module";
  EXPECT_TRUE(m->AddForm(Form()->Handle())) << "form of another module";
  ApplySkinPlatform(SystemSkinPlatform());

  // OnFormSkin has the last word, and hears the class name.
  String asked;
  data->fOnFormSkin = [&](TObject*, const String& name, bool& skin) {
    asked = name;
    skin = false;
  };
  HWND vetoed = Raw();
  EXPECT_FALSE(m->AddForm(vetoed)) << "vetoed by OnFormSkin";
  EXPECT_EQ(asked, u"QvRawWindow");
  data->fOnFormSkin = nullptr;
  EXPECT_TRUE(m->AddForm(vetoed));
  // Once skinned, never twice.
  EXPECT_FALSE(m->AddForm(vetoed));
  // Not while skinning is off, and not without a usable skin.
  m->active = false;
  EXPECT_FALSE(m->AddForm(Raw()));
  m->active = true;
  data->Empty = true;
  EXPECT_FALSE(m->AddForm(Raw()));
  data->Empty = false;
  EXPECT_FALSE(m->AddForm(nullptr));
}

TEST_F(SkinManagerTest, ChildrenOfAnMDIClientAndItsFramePassTheChildTest) {
  HWND frame = Raw();
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 150,
                                frame, nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  const WNDPROC clientProc = ProcOf(client);
  HWND inner = Raw(L"QvRawWindow", WS_CHILD | WS_VISIBLE, 80, 60, client);
  EXPECT_TRUE(m->AddForm(inner));
  // The frame finds its MDI client and subclasses it too.
  ASSERT_TRUE(m->AddForm(frame));
  TWinSkinForm* sf = m->FindForm(frame);
  EXPECT_EQ(sf->frame.FormStyle, sfsMDIform);
  EXPECT_EQ(sf->ClientHwnd, client);
  EXPECT_EQ(m->clienthwnd, client);
  EXPECT_NE(ProcOf(client), clientProc);
  sf->UnSubclass();
  EXPECT_EQ(ProcOf(client), clientProc);
  TWinSkinForm::Free(sf);
  EXPECT_EQ(m->clienthwnd, nullptr);
}

TEST_F(SkinManagerTest, UnskinningGivesTheWindowBackAsItWas) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 1, L"&File");
  HWND w = Raw(L"QvRawWindow", WS_OVERLAPPEDWINDOW, 320, 240, nullptr, 0, bar);
  const WNDPROC native = ProcOf(w);
  const SIZE size = SizeOf(w);
  const SIZE client = qvtest::ClientSize(w);
  ShowWindow(w, SW_SHOWNORMAL);
  ASSERT_TRUE(Finished(w));
  TWinSkinForm* sf = m->FindForm(w);
  // The skin took the menu bar and gave the window the skin's borders around
  // the client area it had.
  EXPECT_EQ(GetMenu(w), nullptr);
  EXPECT_EQ(sf->frame.MenuHeight, GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(SizeOf(w).cx, client.cx + sf->frame.bw.Left + sf->frame.bw.Right);
  EXPECT_EQ(SizeOf(w).cy, client.cy + sf->frame.bw.Top + sf->frame.bw.Bottom + sf->frame.MenuHeight);
  // As the frame painting will: a region the system owns from now on.
  HRGN rgn = CreateRectRgn(0, 0, 60, 60);
  ASSERT_TRUE(SetWindowRgn(w, rgn, TRUE));
  sf->frame.WinRgn = rgn;
  sf->frame.crop = true;

  sf->UnSubclass();
  EXPECT_EQ(ProcOf(w), native);
  EXPECT_NE(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(GetMenu(w), bar);
  EXPECT_EQ(SizeOf(w).cx, size.cx);
  EXPECT_EQ(SizeOf(w).cy, size.cy);
  EXPECT_EQ(qvtest::ClientSize(w).cx, client.cx);
  EXPECT_EQ(qvtest::ClientSize(w).cy, client.cy);
  HRGN now = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, now), ERROR);
  DeleteObject(now);
  // The region went with the window's; the skin holds no handle to it.
  EXPECT_FALSE(sf->frame.crop);
  EXPECT_EQ(sf->frame.WinRgn, nullptr);
  TWinSkinForm::Free(sf);
  EXPECT_TRUE(m->Flist.empty());

  // A form gets its colour and WindowProc back.
  TForm* form = Form();
  const TColor colour = form->Color();
  form->Show();
  ASSERT_TRUE(Finished(form->Handle()));
  TWinSkinForm* fs = m->FindForm(form->Handle());
  fs->UnSubclass();
  EXPECT_EQ(form->Color(), colour);
  EXPECT_EQ(form->Perform(SM_SKINFORMQUERY, 0, SkinPaintMagic), 0);
  TWinSkinForm::Free(fs);
}

TEST_F(SkinManagerTest, AWindowUnskinnedBeforeItsFirstSizingKeepsItsSize) {
  HWND w = Raw();
  const SIZE size = SizeOf(w);
  ASSERT_TRUE(m->AddForm(w));
  TWinSkinForm* sf = m->FindForm(w);
  sf->UnSubclass();  // SM_INITSKIN still queued
  EXPECT_EQ(SizeOf(w).cx, size.cx);
  EXPECT_EQ(SizeOf(w).cy, size.cy);
  TWinSkinForm::Free(sf);
  Pump(50);  // the queued SM_INITSKIN reaches the native procedure
  EXPECT_EQ(SizeOf(w).cy, size.cy);
}

// Up to the work area's width, and staying on the work area.
TEST_F(SkinManagerTest, AMessageBoxWidensToItsCaption) {
  const std::wstring endless(500, L'W');
  for (const std::wstring& text : {std::wstring(L"A caption much wider than the little box it belongs to"), endless}) {
    HWND box = Raw(L"#32770", WS_POPUP | WS_CAPTION | WS_SYSMENU, 120, 90);
    SetWindowTextW(box, text.c_str());
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 20, 60, 24, box, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    const SIZE client = qvtest::ClientSize(box);
    ASSERT_TRUE(m->AddForm(box));
    ASSERT_TRUE(Finished(box));
    TWinSkinForm* sf = m->FindForm(box);
    EXPECT_TRUE(sf->frame.ismessagebox);
    EXPECT_EQ(sf->frame.FormBorder, sbsDialog);
    const RECT area = WorkAreaOf(box);
    const int plain = client.cx + sf->frame.bw.Left + sf->frame.bw.Right;
    const int wide = SizeOf(box).cx;
    EXPECT_EQ(wide, std::min<int>(data->Title->r.Left + sf->charwidth + data->Title->r.Right, area.right - area.left));
    ASSERT_GT(wide, plain);
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_GE(r.left, area.left);
    EXPECT_LE(r.right, area.right);
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10 + (wide - plain) / 2);
    EXPECT_EQ(r.top, 20);
  }
}

TEST_F(SkinManagerTest, ActionsRunAfterTheirDelay) {
  m->state = TManagerState::Running;
  m->active = false;
  TForm* form = Form();
  form->Show();
  Pump(50);
  EXPECT_EQ(m->FindForm(form->Handle()), nullptr);

  // 1: skin every visible form.
  m->UpdateData = data;
  m->SetAction(TSkinAction::SkinAll, 100);
  EXPECT_TRUE(m->Timer->Enabled());
  EXPECT_EQ(m->FindForm(form->Handle()), nullptr);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return changed == 1; }, 3000));
  EXPECT_TRUE(m->active);
  EXPECT_FALSE(m->skinchildform);
  EXPECT_EQ(m->UpdateData, nullptr);
  ASSERT_TRUE(Finished(form->Handle()));

  // 3: skin changed.
  TWinSkinForm* sf = m->FindForm(form->Handle());
  data->Colors[3] = 0x123456;
  m->UpdateData = data;
  m->DeleteSysbtn();
  EXPECT_TRUE(sf->frame.SysBtn.empty());
  const int afterBefore = after;
  m->SetAction(TSkinAction::SkinChanged, 50);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return changed == 2; }, 3000));
  EXPECT_EQ(sf->frame.SysBtn.size(), data->SysBtn.size());
  EXPECT_EQ(form->Color(), 0x123456);
  EXPECT_EQ(sf->Skinstate, TSkinFormState::Skinned);
  EXPECT_EQ(after, afterBefore + 1);

  // 7: re-skin one window; no notification, UpdateData stays.
  const int beforeBefore = before;
  m->UpdateData = data;
  m->lpara = form->Handle();
  m->SetAction(TSkinAction::Reskin, 50);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return before == beforeBefore + 1; }, 3000));
  ASSERT_TRUE(Finished(form->Handle()));
  EXPECT_EQ(m->Flist.size(), 1u);
  EXPECT_EQ(m->UpdateData, data);
  // ... and on a window without a skin it does nothing at all.
  HWND bare = Raw();
  m->lpara = bare;
  m->SetAction(TSkinAction::Reskin, 20);
  Pump(200);
  EXPECT_EQ(m->FindForm(bare), nullptr);
  EXPECT_EQ(before, beforeBefore + 1);
  EXPECT_EQ(m->UpdateData, data);

  // 2: unskin everything.
  HWND raw = Raw();
  const WNDPROC native = ProcOf(raw);
  ASSERT_TRUE(m->AddForm(raw));
  m->SetAction(TSkinAction::UnskinAll, 50);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return changed == 3; }, 3000));
  EXPECT_TRUE(m->Flist.empty());
  EXPECT_FALSE(m->active);
  EXPECT_EQ(ProcOf(raw), native);
  EXPECT_EQ(form->Color(), clBtnFace);
  Pump(300);
  EXPECT_EQ(changed, 3);
  EXPECT_FALSE(m->Timer->Enabled());
}

TEST_F(SkinManagerTest, AnActionAskedForByOnSkinChangedIsNotLost) {
  m->state = TManagerState::Running;
  HWND dead = Raw(), live = Raw();
  ASSERT_TRUE(m->AddForm(dead));
  ASSERT_TRUE(m->AddForm(live));
  DestroyWindow(dead);
  data->fOnSkinChanged = [&](TObject*) {
    if (++changed > 1) return;
    m->UpdateData = data;
    m->SetAction(TSkinAction::UnskinAll, 20);
  };
  // 6 frees the skin of the destroyed window; its notification asks for 2.
  m->UpdateData = data;
  m->SetAction(TSkinAction::PurgeDead, 20);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return changed == 1; }, 3000));
  EXPECT_EQ(m->Flist.size(), 1u);
  ASSERT_TRUE(qvtest::WaitUntil([&] { return changed == 2; }, 3000));
  EXPECT_TRUE(m->Flist.empty());
  EXPECT_EQ(m->UpdateData, nullptr);
}

TEST_F(SkinManagerTest, BeforeTheFirstActivationActionsOnlySwitchSkinning) {
  m->state = TManagerState::Idle;
  m->SetAction(TSkinAction::UnskinAll, 10);
  EXPECT_FALSE(m->active);
  EXPECT_FALSE(m->Timer->Enabled());
  m->SetAction(TSkinAction::SkinAll, 10);
  EXPECT_TRUE(m->active);
  EXPECT_FALSE(m->Timer->Enabled());
}

TEST_F(SkinManagerTest, AProcedureInstalledAfterOursNeverCallsAFreedSkin) {
  HWND w = Raw();
  const WNDPROC native = ProcOf(w);
  ASSERT_TRUE(m->AddForm(w));
  TWinSkinForm* sf = m->FindForm(w);
  gBelow = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AboveProc)));
  EXPECT_EQ(gBelow, reinterpret_cast<WNDPROC>(sf->FObjectInst()));

  TForm* form = Form();
  ASSERT_TRUE(m->AddForm(form->Handle()));
  TWinSkinForm* fs = m->FindForm(form->Handle());
  TWndMethod skins = form->WindowProc;
  int later = 0;
  form->WindowProc = [&](TMessage& msg) {
    ++later;
    skins(msg);
  };

  sf->UnSubclass();
  TWinSkinForm::Free(sf);
  fs->UnSubclass();
  TWinSkinForm::Free(fs);
  EXPECT_TRUE(m->Flist.empty());

  // Ours stays below as a pass-through to the window's own procedure.
  EXPECT_EQ(ProcOf(w), AboveProc);
  gProbes = gAbove = 0;
  EXPECT_EQ(SendMessageW(w, kProbe, 0, 0), 77);
  EXPECT_EQ(gAbove, 1);
  EXPECT_EQ(gProbes, 1);
  EXPECT_NE(SendMessageW(w, SM_QUERYSKINNED, 0, 0), 1);
  // Once the other one steps out, ours steps out at its next message.
  SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBelow));
  EXPECT_EQ(SendMessageW(w, kProbe, 0, 0), 77);
  EXPECT_EQ(ProcOf(w), native);

  // Likewise the form's WindowProc: the later one stays, the skin's part of
  // the chain only passes on.
  later = 0;
  EXPECT_EQ(form->Perform(SM_SKINFORMQUERY, 0, SkinPaintMagic), 0);
  EXPECT_EQ(later, 1);
  form->WindowProc = skins;  // the handler above refers to this test's locals
}

TEST_F(SkinManagerTest, FreedObjectsLeaveNoPointerBehind) {
  // A form going frees its skin, which leaves the list and gives the form's
  // window its procedure back before the window goes.
  TForm* form = Form();
  ASSERT_TRUE(m->AddForm(form->Handle()));
  const HWND fh = form->Handle();
  forms.clear();
  delete form;
  EXPECT_FALSE(IsWindow(fh));
  EXPECT_TRUE(m->Flist.empty());

  // A destroyed raw window leaves a dead skin that the next purge frees.
  HWND w = Raw();
  ASSERT_TRUE(m->AddForm(w));
  DestroyWindow(w);
  ASSERT_EQ(m->Flist.size(), 1u);
  EXPECT_EQ(m->Flist[0]->Skinstate, TSkinFormState::Dead);
  EXPECT_EQ(m->FindForm(w), nullptr);
  m->PurgeForms();
  EXPECT_TRUE(m->Flist.empty());

  // Freed caption buttons are no longer the hot one.
  HWND v = Raw();
  ASSERT_TRUE(m->AddForm(v));
  TWinSkinForm* sf = m->FindForm(v);
  ASSERT_FALSE(sf->frame.SysBtn.empty());
  sf->frame.ActiveBtn = sf->frame.SysBtn.back().get();
  m->UpdateData = data;
  m->DeleteSysbtn();
  EXPECT_EQ(sf->frame.ActiveBtn, nullptr);

  // A skin component going takes its windows' skins and every reference.
  const WNDPROC native = reinterpret_cast<WNDPROC>(GetClassLongPtrW(v, GCLP_WNDPROC));
  m->UpdateData = data;
  delete data;
  data = nullptr;
  EXPECT_EQ(m->MainData, nullptr);
  EXPECT_EQ(m->UpdateData, nullptr);
  EXPECT_TRUE(m->Dlist.empty());
  EXPECT_TRUE(m->Flist.empty());
  EXPECT_EQ(ProcOf(v), native);
}

TEST_F(SkinManagerTest, FrameCountsBelowOneNeverDivideByZero) {
  HWND w = Raw();
  ASSERT_TRUE(m->AddForm(w));
  TWinSkinForm* sf = m->FindForm(w);
  data->border[3]->frame = 0;
  data->border[1]->frame = -2;
  data->border[2]->frame = data->border[2]->Map->Width() + 1;  // more frames than pixels
  sf->InitSkinData();
  EXPECT_EQ(sf->frame.bw.Top, data->border[3]->Map->Height());
  EXPECT_EQ(sf->frame.bw.Left, data->border[1]->Map->Width());
  EXPECT_EQ(sf->frame.bw.Right, 0);
  data->border[4]->Map->Clear();
  sf->InitSkinData();
  EXPECT_EQ(sf->frame.bw.Bottom, 0);
}

TEST_F(SkinManagerTest, StartUpFactsComeFromOneOverridableReading) {
  const TSkinPlatform system = SystemSkinPlatform();
  EXPECT_EQ(CurrentSkinPlatform().Version, system.Version);
  EXPECT_EQ(SkinInstance, GetModuleHandleW(nullptr));
  EXPECT_EQ(IsWinNT, GetVersion() < 0x80000000u);
  EXPECT_EQ(SkinCodePage, 0u);
  EXPECT_NE(ControlAtom(), 0);
  ASSERT_NE(SkinScratchBitmap, nullptr);
  EXPECT_EQ(GetStretchBltMode(BitmapCanvas(*SkinScratchBitmap).Handle()), COLORONCOLOR);

  // Windows 98 (4.10): no skinned system menu.
  ApplySkinPlatform(TSkinPlatform{0x80000A04u, system.Instance});
  m->InstallHook();
  EXPECT_FALSE(IsWinNT);
  EXPECT_TRUE(NotWin6);
  EXPECT_NE(SkinWinVersion & 0x80000000u, 0u);
  ASSERT_TRUE(InSet(data->SkinControls(), xcSystemMenu));
  ASSERT_TRUE(m->AddForm(Raw()));
  EXPECT_FALSE(InSet(data->SkinControls(), xcSystemMenu));

  // Windows 2000 (5.0) keeps the caption of an unowned window; XP (5.1)
  // does not.
  ApplySkinPlatform(TSkinPlatform{0x00000005u, system.Instance});
  m->InstallHook();
  ASSERT_TRUE(m->AddForm(Raw()));
  EXPECT_TRUE(m->Flist.back()->frame.FormIcons & (1u << sbicaption));
  ApplySkinPlatform(TSkinPlatform{0x00000105u, system.Instance});
  m->InstallHook();
  ASSERT_TRUE(m->AddForm(Raw()));
  EXPECT_FALSE(m->Flist.back()->frame.FormIcons & (1u << sbicaption));
  EXPECT_TRUE(NotWin6);
  ApplySkinPlatform(TSkinPlatform{0x00000106u, system.Instance});
  EXPECT_FALSE(NotWin6);
}

TEST_F(SkinManagerTest, TheManagersEndRestoresEveryProcedureAndRemovesEveryHook) {
  HWND frame = Raw();
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, frame, nullptr,
                                GetModuleHandleW(nullptr), &ccs);
  const WNDPROC frameProc = ProcOf(frame), clientProc = ProcOf(client);
  ShowWindow(frame, SW_SHOWNORMAL);
  ASSERT_TRUE(Finished(frame));
  EXPECT_NE(ProcOf(client), clientProc);

  TForm* form = Form();
  const WNDPROC formProc = ProcOf(form->Handle());
  form->Show();
  ASSERT_TRUE(Finished(form->Handle()));

  // Popup-menu windows: one skinned as it is created, one afterwards.
  m->active = false;
  HWND menuWnd = Raw(L"#32768", WS_POPUP, 80, 60);
  ASSERT_NE(menuWnd, nullptr);
  const WNDPROC menuProc = ProcOf(menuWnd);
  m->active = true;
  m->AddPopMenu(menuWnd);
  HWND menuWnd2 = Raw(L"#32768", WS_POPUP, 80, 60);
  ASSERT_EQ(m->Mlist.size(), 2u);
  EXPECT_EQ(SendMessageW(menuWnd, SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_EQ(SendMessageW(menuWnd2, SM_QUERYSKINNED, 0, 0), 1);
  EXPECT_NE(ProcOf(menuWnd2), menuProc);

  // A further thread's hook.
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  std::thread worker([&] {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    threadId = GetCurrentThreadId();
    WaitForSingleObject(go, 10000);
  });
  ASSERT_TRUE(qvtest::WaitUntil([&] { return threadId != 0; }, 3000));
  m->InstallThread(threadId);
  m->InstallThread(threadId);
  ASSERT_EQ(m->Threadlist.size(), 1u);
  const HHOOK threadHook = m->Threadlist[0].hook;
  const HHOOK mainHook = SkinHook;
  ASSERT_NE(threadHook, nullptr);

  delete SkinManager;
  EXPECT_EQ(SkinManager, nullptr);
  EXPECT_TRUE(SkinDestroyed);
  EXPECT_EQ(SkinHook, nullptr);
  EXPECT_EQ(ProcOf(frame), frameProc);
  EXPECT_EQ(ProcOf(client), clientProc);
  EXPECT_EQ(ProcOf(form->Handle()), formProc);
  EXPECT_EQ(ProcOf(menuWnd), menuProc);
  EXPECT_EQ(ProcOf(menuWnd2), menuProc);
  EXPECT_EQ(form->Perform(SM_SKINFORMQUERY, 0, SkinPaintMagic), 0);
  EXPECT_FALSE(UnhookWindowsHookEx(mainHook));
  EXPECT_FALSE(UnhookWindowsHookEx(threadHook));
  // Windows activated now meet no hook.
  HWND late = Raw();
  ShowWindow(late, SW_SHOWNORMAL);
  Pump(50);
  EXPECT_NE(SendMessageW(late, SM_QUERYSKINNED, 0, 0), 1);
  SetEvent(go);
  worker.join();
  CloseHandle(go);
}

TEST(SkinnedProgram, TheMainWindowIsSkinnedAtItsFirstActivation) {
  qvtest::ProgramUnderTest program(L"skinned");
  // No start-up visit: nothing to wait for but the window.
  HANDLE f = CreateFileW((program.Dir() + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  program.Start();
  HWND form = program.WaitForWindow(L"TForm1", 20000);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(qvtest::WaitUntil([&] { return SendMessageW(form, SM_QUERYSKINNED, 0, 0) == 1; }, 5000));
  // The form refuses every resize, the skin's first sizing included.
  EXPECT_EQ(qvtest::ClientSize(form).cx, 455);
  EXPECT_EQ(qvtest::ClientSize(form).cy, 267);
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}
