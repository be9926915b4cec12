// The class library's controls over real windows: the window property that
// leads back to the control, WindowProc chaining, reflected notifications,
// memo lines, sizing of forms, a form's icons.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/core/FormResource.h"
#include "platform/win/Application.h"
#include "platform/win/ObjectInstance.h"
#include "platform/win/StdCtrls.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

class TTestForm : public TForm {
  QV_CLASS(TTestForm)
 public:
  using TForm::TForm;
  TButton* Button1 = nullptr;
  TMemo* Memo1 = nullptr;
  int clicks = 0;
  void Button1Click(TObject*) { ++clicks; }
  void Refuse(TObject*, int&, int&, bool& resize) { resize = false; }
};

const TClassInfo& TTestForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TTestForm>(u"TTestForm", TForm::StaticClass())
                                      .Field(u"Button1", &TTestForm::Button1)
                                      .Field(u"Memo1", &TTestForm::Memo1)
                                      .Method(u"Button1Click", &TTestForm::Button1Click)
                                      .Method(u"Refuse", &TTestForm::Refuse)
                                      .Done();
  return info;
}

const char* kForm = R"(object TestForm: TTestForm
  ClientWidth = 300
  ClientHeight = 200
  Color = clBtnFace
  object Memo1: TMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 120
    Align = alTop
  end
  object Button1: TButton
    Left = 8
    Top = 150
    Caption = 'Go'
    OnClick = Button1Click
  end
end)";

std::unique_ptr<TTestForm> MakeForm(const char* text = kForm) {
  auto form = std::make_unique<TTestForm>(nullptr);
  ReadComponentText(*form, text);
  return form;
}

}  // namespace

using Controls = qvtest::AppFixture;

TEST_F(Controls, EveryWindowLeadsBackToItsControlFromItsFirstMessage) {
  auto form = MakeForm();
  bool sawFirst = false;
  TWinControl* boundAtFirst = nullptr;
  TWndMethod old = form->Button1->WindowProc;
  form->Button1->WindowProc = [&](TMessage& m) {
    if (!sawFirst) {
      sawFirst = true;
      boundAtFirst = FindControl(form->Button1->HandleAllocated() ? form->Button1->Handle() : nullptr);
    }
    old(m);
  };
  HWND button = form->Button1->Handle();
  EXPECT_TRUE(sawFirst);
  EXPECT_EQ(boundAtFirst, form->Button1);
  EXPECT_EQ(GetPropW(button, MAKEINTATOM(ControlAtom())), form->Button1);
  wchar_t cls[64];
  GetClassNameW(button, cls, 64);
  EXPECT_STREQ(cls, L"TButton");
  GetClassNameW(form->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TTestForm");
  form->Button1->WindowProc = old;
  // A window that is gone leads nowhere, whatever window gets its handle next.
  form->Button1->DestroyHandle();
  EXPECT_EQ(FindControl(button), nullptr);
  EXPECT_EQ(GetPropW(button, MAKEINTATOM(ControlAtom())), nullptr);
}

TEST_F(Controls, ReplacedWindowProcSeesMessagesFirstAndRestoringEndsIt) {
  auto form = MakeForm();
  TButton* b = form->Button1;
  std::vector<UINT> seen;
  TWndMethod old = b->WindowProc;
  b->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;  // handled here, never reaches the control
      return;
    }
    old(m);
  };
  EXPECT_EQ(SendMessageW(b->Handle(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(b->Perform(WM_USER + 7), 42);
  SendMessageW(b->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Again"));
  EXPECT_EQ(b->Caption(), u"Again");  // passed on to the button itself
  b->WindowProc = old;
  const size_t count = seen.size();
  SendMessageW(b->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(seen.size(), count);
}

TEST_F(Controls, ButtonClicksAreReflectedToTheButtonsHandler) {
  auto form = MakeForm();
  SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->clicks, 1);
}

// Whatever a handler throws, the window procedure the system called stops it
// and the error box tells of it; the loop goes on.
TEST_F(Controls, ErrorsInHandlersReachTheErrorBoxAndTheLoopGoesOn) {
  Application->SetTitle(u"Marrowick作品");
  struct Case {
    const char* name;
    std::function<void()> fail;
    const wchar_t* text;
  };
  const Case cases[] = {
      {"our exception", [] { throw Exception(u"Socket Error # 10061\r\nConnection refused"); },
       L"Socket Error # 10061\r\nConnection refused."},
      {"a standard exception", [] { throw std::runtime_error("out of range"); }, L"out of range."},
      {"anything else", [] { throw 42; }, L"Unknown error."},
  };
  // The caption and text of this program's box, which is then closed.
  auto watchBox = [](std::wstring& caption, std::wstring& text) {
    return std::thread([&caption, &text] {
      for (int i = 0; i < 200; ++i) {
        // Other test programs may show boxes of their own meanwhile.
        HWND box = nullptr;
        for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == GetCurrentProcessId()) box = w;
        }
        if (box) {
          wchar_t buf[256];
          GetWindowTextW(box, buf, 256);
          caption = buf;
          GetWindowTextW(GetDlgItem(box, 0xFFFF), buf, 256);
          text = buf;
          PostMessageW(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(50);
      }
    });
  };
  auto form = MakeForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A control's handler, reached through the form's window procedure.
    form->Button1->OnClick = [&c](TObject*) { c.fail(); };
    std::wstring caption, text;
    std::thread watcher = watchBox(caption, text);
    SendMessageW(form->Button1->Handle(), BM_CLICK, 0, 0);
    watcher.join();
    EXPECT_EQ(caption, L"Marrowick作品");
    EXPECT_EQ(text, c.text);
    // A method behind a window-procedure stub.
    HWND util = AllocateHWnd([&c](TMessage& m) {
      if (m.Msg == WM_USER) c.fail();
    });
    text.clear();
    watcher = watchBox(caption, text);
    SendMessageW(util, WM_USER, 0, 0);
    watcher.join();
    EXPECT_EQ(text, c.text);
    DeallocateHWnd(util);
  }
}

TEST_F(Controls, MemoLinesWorkBeforeAndAfterTheWindowExists) {
  auto form = MakeForm();
  TStrings& lines = *form->Memo1->Lines();
  lines.Add(u"before");
  EXPECT_FALSE(form->Memo1->HandleAllocated());
  form->Memo1->Handle();
  EXPECT_EQ(lines.Count(), 1);
  lines.Add(u"备份完成！");
  lines.Add(u"");
  lines.Add(u"last");
  EXPECT_EQ(form->Memo1->GetText(), u"before\r\n备份完成！\r\n\r\nlast\r\n");
  EXPECT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines[1], u"备份完成！");
  lines.Delete(0);
  EXPECT_EQ(lines[0], u"备份完成！");
  lines.Clear();
  EXPECT_EQ(lines.Count(), 0);
}

TEST_F(Controls, FormsTakeTheirClientSizeAndCanRefuseResizing) {
  auto form = MakeForm();
  RECT r;
  GetClientRect(form->Handle(), &r);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(form->Memo1->Width(), 300);  // aligned to the top edge, full width
  form->SetBounds(form->Left(), form->Top(), 500, 400);
  EXPECT_EQ(form->Memo1->Width(), form->ClientWidth());
  form->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
  const int w = form->Width();
  SetWindowPos(form->Handle(), nullptr, 0, 0, w + 50, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form->Width(), w);
}

TEST_F(Controls, AFormsWindowTakesItsIconAsBothSmallAndLargeIcon) {
  TForm form(nullptr);
  TIcon icon;
  icon.SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  form.SetIcon(&icon);
  form.HandleNeeded();
  ASSERT_NE(form.Icon()->Handle(), nullptr);
  for (WPARAM kind : {ICON_SMALL, ICON_BIG})
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, kind, 0)), form.Icon()->Handle()) << kind;
}

TEST_F(Controls, TabOrderFollowsTheStoredOrder) {
  auto form = MakeForm();
  form->Button1->SetTabOrder(0);
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0], form->Button1);
  EXPECT_EQ(form->Memo1->TabOrder(), 1);
}

TEST_F(Controls, FreeingAFormFreesItsControlsAndWindows) {
  auto form = MakeForm();
  HWND button = form->Button1->Handle();
  HWND main = form->Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(button));
  EXPECT_FALSE(IsWindow(main));
}
