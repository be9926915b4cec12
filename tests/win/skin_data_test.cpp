// The skin component on Windows: the main form resource that the real
// program embeds, activation at the end of streaming, the manager it starts,
// bitmaps shared with GDI, gradients on a DC, and the optional user32 entries.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "platform/core/FormResource.h"
#include "platform/win/Application.h"
#include "platform/win/BitmapCanvas.h"
#include "platform/win/Timer.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/WinSkinApi.h"
#include "skin/windows/SkinManager.h"
#include "tests/support/WinTestSupport.h"

using namespace qv;

namespace {

// The TFORM1 resource of the built program, read from its file.
std::string ProgramFormResource() {
  qvtest::ProgramUnderTest program(L"skinres");
  const std::wstring exe = program.Dir() + L"\\Quillvault.exe";
  HMODULE m = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) return {};
  std::string bytes;
  if (HRSRC r = FindResourceW(m, L"TFORM1", MAKEINTRESOURCEW(10))) {
    HGLOBAL g = LoadResource(m, r);
    const char* p = static_cast<const char*>(LockResource(g));
    if (p) bytes.assign(p, SizeofResource(m, r));
  }
  FreeLibrary(m);
  return bytes;
}

// A form of its own for resources that hold only a skin component.
class TSkinTestForm : public TForm {
  QV_CLASS(TSkinTestForm)
 public:
  using TForm::TForm;
  TSkinData* SkinData1 = nullptr;
};

const TClassInfo& TSkinTestForm::StaticClass() {
  static const TClassInfo& info = TClassBuilder<TSkinTestForm>(u"TSkinTestForm", TForm::StaticClass())
                                      .Field(u"SkinData1", &TSkinTestForm::SkinData1)
                                      .Done();
  return info;
}

std::string SkinOnlyForm(const std::string& props) {
  return "object Form: TSkinTestForm\n  object SkinData1: TSkinData\n" + props + "  end\nend\n";
}

TRACKMOUSEEVENT seen{};
int calls = 0;
BOOL WINAPI RecordTrackMouseEvent(LPTRACKMOUSEEVENT e) {
  seen = *e;
  ++calls;
  return TRUE;
}

}  // namespace

TEST(SkinDataWin, TheProgramsFormResourceCarriesAndLoadsTheSkin) {
  const std::string text = ProgramFormResource();
  ASSERT_FALSE(text.empty());
  ASSERT_NE(text.find("SkinStream = {"), std::string::npos);
  auto* form = new TForm1(nullptr);
  ReadComponentText(*form, text);
  ASSERT_NE(form->SkinData1, nullptr);
  TSkinData& d = *form->SkinData1;
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.Elements().size(), 47u);
  EXPECT_EQ(d.SkinName, u"Quillvault Slate");
  EXPECT_TRUE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_EQ(d.SkinFormtype(), sfMainform);
  EXPECT_EQ(d.Options(), SetOf({xoPreview, xoToolbarBK, xoCaptionButtonHint}));
  EXPECT_FALSE(InSet(d.SkinControls(), xcMenuItem));
  EXPECT_TRUE(InSet(d.SkinControls(), xcSystemMenu));
  EXPECT_EQ(d.Skin3rd()->Count(), 118);
  EXPECT_NE(d.BGBrush.Get(), nullptr);
  // Streaming ended by starting the engine: one manager with this skin as
  // its main one, the hook in place, skinning switched on for the first
  // activation.
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_EQ(SkinManager->MainData, &d);
  EXPECT_NE(SkinHook, nullptr);
  EXPECT_TRUE(SkinManager->active);
  delete form;
  EXPECT_EQ(SkinManager->MainData, nullptr);
}

TEST(SkinDataWin, ActivationWithoutASkinTurnsActiveOff) {
  auto* form = new TSkinTestForm(nullptr);
  ReadComponentText(*form, SkinOnlyForm("    Active = True\n"));
  EXPECT_TRUE(form->SkinData1->Empty);
  EXPECT_FALSE(form->SkinData1->Active());
  // Writing Active while empty stores the value and does nothing else.
  form->SkinData1->SetActive(true);
  EXPECT_TRUE(form->SkinData1->Active());
  delete form;
}

TEST(SkinDataWin, OnlyThisFormSkinsWithoutTheHook) {
  TSkinManage& m = SkinManagerNeeded();
  ASSERT_EQ(m.state, TManagerState::Idle);
  auto* form = new TSkinTestForm(nullptr);
  ReadComponentText(*form, SkinOnlyForm("    SkinFormtype = sfOnlyThisForm\n"));
  EXPECT_TRUE(m.active);
  EXPECT_EQ(m.state, TManagerState::Running);
  EXPECT_NE(m.MainData, form->SkinData1);
  // A second one leaves it running.
  auto* second = new TSkinTestForm(nullptr);
  ReadComponentText(*second, SkinOnlyForm("    SkinFormtype = sfOnlyThisForm\n"));
  EXPECT_EQ(m.state, TManagerState::Running);
  delete second;
  delete form;
}

TEST(SkinDataWin, ScrollBarsNeedGetScrollBarInfo) {
  TSkinUser32& u = SkinUser32();
  const auto saved = u.GetScrollBarInfo;
  u.GetScrollBarInfo = nullptr;
  auto* form = new TSkinTestForm(nullptr);
  ReadComponentText(*form, SkinOnlyForm(""));
  EXPECT_FALSE(InSet(form->SkinData1->SkinControls(), xcScrollbar));
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(form->SkinData1->GetScrollBarInfo(form->Handle(), OBJID_CLIENT, info));
  u.GetScrollBarInfo = saved;
  delete form;
  auto* again = new TSkinTestForm(nullptr);
  ReadComponentText(*again, SkinOnlyForm(""));
  EXPECT_TRUE(InSet(again->SkinData1->SkinControls(), xcScrollbar));
  delete again;
}

TEST(SkinDataWin, TrackMouseLeaveSendsTheRecordThePlatformExpects) {
  TSkinUser32& u = SkinUser32();
  const auto saved = u.TrackMouseEvent;
  u.TrackMouseEvent = RecordTrackMouseEvent;
  seen = TRACKMOUSEEVENT{};
  calls = 0;
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TrackMouseLeave(w);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen.cbSize, sizeof(TRACKMOUSEEVENT));
  EXPECT_EQ(seen.dwFlags, DWORD(TME_LEAVE));
  EXPECT_EQ(seen.hwndTrack, w);
  u.TrackMouseEvent = nullptr;
  TrackMouseLeave(w);  // without the entry: nothing
  EXPECT_EQ(calls, 1);
  u.TrackMouseEvent = saved;
  // A window no control owns has no control.
  EXPECT_EQ(FindControlOfWindow(w), nullptr);
  EXPECT_EQ(FindControlOfWindow(nullptr), nullptr);
  DestroyWindow(w);
}

TEST(SkinDataWin, TextHelpers) {
  EXPECT_EQ(WideCopy(L"abcdef", 0), u"");
  EXPECT_EQ(WideCopy(L"abcdef", -1), u"abcdef");
  EXPECT_EQ(WideCopy(L"abc", 10), u"abc");
  EXPECT_EQ(WideCopy(L"abcdef", 2), u"ab");
  EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), String(u"a\0b", 3));
  EXPECT_EQ(AnsiToWide(""), u"");
  HDC dc = CreateCompatibleDC(nullptr);
  RECT r{0, 0, 100, 100};
  EXPECT_EQ(SkinDrawText(dc, u"", r, DT_SINGLELINE), DrawTextW(dc, L"", 0, &r, DT_SINGLELINE));
  RECT m{0, 0, 0, 0};
  EXPECT_GT(SkinDrawText(dc, u"Wg", m, DT_CALCRECT | DT_SINGLELINE), 0);
  EXPECT_GT(m.right, 0);
  DeleteDC(dc);
}

TEST(SkinDataWin, FormSkinRules) {
  TSkinData d(nullptr);
  bool skin = true;
  d.DoFormSkin(nullptr, u"SysMonthCal32", skin);
  EXPECT_FALSE(skin);
  skin = true;
  d.DoFormSkin(nullptr, u"TfrPreviewForm", skin);
  EXPECT_TRUE(skin);  // only with xcFastReport
  d.SetSkinControls(d.SkinControls() | (1u << xcFastReport));
  d.DoFormSkin(nullptr, u"TfrPreviewForm", skin);
  EXPECT_FALSE(skin);
  // A handler has the last word.
  d.fOnFormSkin = [](TObject*, const String&, bool&) {};
  skin = true;
  d.DoFormSkin(reinterpret_cast<HWND>(1), u"SysMonthCal32", skin);
  EXPECT_TRUE(skin);
  EXPECT_EQ(d.formhwnd, reinterpret_cast<HWND>(1));
  // The menu glyphs: four images of 16 x 16.
  EXPECT_EQ(d.bmpmenu->Count(), 4);
  d.UpdateMainMenu(false);
  EXPECT_FALSE(d.MenuMsg);
}

TEST(SkinDataWin, CallsIntoAMissingManagerAreSafe) {
  delete SkinManager;
  ASSERT_EQ(SkinManager, nullptr);
  TSkinData d(nullptr);
  d.Uninstall();
  d.UnInstallThread(GetCurrentThreadId());
  d.EnableSkin(false);
  d.SetActive(false);
  EXPECT_EQ(SkinManager, nullptr);
  d.EnableSkin(true);
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(SkinManager->active);
  d.ChangeForm(nullptr);
  d.SkinForm(nullptr);
  d.Install();
  EXPECT_EQ(SkinManager->action, TSkinAction::SkinAll);
}

TEST(SkinDataWin, ActionsRunFromTheTimerOnceRunning) {
  TSkinManage& m = SkinManagerNeeded();
  TSkinData d(nullptr);
  int changed = 0;
  d.fOnSkinChanged = [&](TObject*) { ++changed; };
  m.state = TManagerState::Running;
  m.UpdateData = &d;
  m.SetAction(TSkinAction::UnskinAll, 10);
  EXPECT_TRUE(m.Timer->Enabled());
  EXPECT_EQ(static_cast<int>(m.Timer->Interval()), 10);
  qvtest::WaitUntil([&] { return changed != 0; }, 2000);
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(m.active);
  EXPECT_EQ(m.UpdateData, nullptr);
  EXPECT_FALSE(m.Timer->Enabled());
  m.state = TManagerState::Idle;
}

TEST(SkinBitmapWin, CanvasAndScanLinesShareThePixels) {
  TBitmap b;
  b.SetSize(8, 4);
  FillRect(b, Rect(0, 0, 8, 4), 0x0000FF);
  HDC dc = BitmapCanvas(b).Handle();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
  RECT r{2, 1, 4, 2};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  ::FillRect(dc, &r, green);
  DeleteObject(green);
  EXPECT_EQ(b.Pixel(2, 1), 0x00FF00);
  EXPECT_EQ(b.Pixel(4, 1), 0x0000FF);
  // Resizing keeps the canvas usable and the old pixels.
  b.SetSize(10, 4);
  EXPECT_EQ(BitmapCanvas(b).Handle(), dc);
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 255, 0));
  EXPECT_NE(BitmapHandle(b), nullptr);
}

TEST(SkinBitmapWin, GradientOnADeviceContextMatchesThePartialPaint) {
  TBitmap full, part;
  for (TBitmap* b : {&full, &part}) {
    b->SetSize(6, 20);
    FillRect(*b, Rect(0, 0, 6, 20), 0x777777);
  }
  GradientFillRect(BitmapCanvas(full).Handle(), Rect(0, 0, 6, 20), 0x000000, true, 0xFFFFFF);
  HDC dc = BitmapCanvas(part).Handle();
  HRGN clip = CreateRectRgn(0, 5, 6, 9);
  SelectClipRgn(dc, clip);
  GradientFillRect(dc, Rect(0, 0, 6, 20), 0x000000, true, 0xFFFFFF);
  GradientFillRect(dc, Rect(0, 5, 6, 5), 0x0000FF, true, 0x0000FF);  // zero height: nothing
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  EXPECT_EQ(part.Pixel(0, 4), 0x777777);
  EXPECT_EQ(part.Pixel(0, 9), 0x777777);
  for (int y = 5; y < 9; ++y) EXPECT_EQ(part.Pixel(3, y), full.Pixel(3, y)) << y;
  EXPECT_EQ(full.Pixel(0, 0), 0x000000);
  EXPECT_EQ(full.Pixel(0, 19), 0xFFFFFF);
}
