// A skin loaded again while windows are skinned with it: each window ends on
// the old skin or wholly on the new one, never with caption buttons on
// elements the load freed. Tried with the component as the main skin and as
// a component the manager is not told about, with a good archive and with
// one that breaks part way, while the mouse moves over the caption buttons.
#include <gtest/gtest.h>

#include <set>

#include "platform/core/Exceptions.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/SkinWrite.h"
#include "tests/support/SkinVariants.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {


// Caption buttons read first, then a scroll-bar picture that is cut short
// when `broken`: the load fails after the buttons were read anew.
TMemoryStream SecondSkin(bool broken) {
  const std::string ini =
      "[TitlebarSkin]\nSkinName=Second\n[Personality]\nTop=t.bmp\nTopFrame=2\n"
      "[Button.Close]\nAction=0\nAlign=1\nXcoord=30\nYcoord=4\nButtonImage=c.bmp\nframe=3\n"
      "[Scrollbar]\nImage=s.bmp\n";
  std::vector<uint8_t> arrow = qvtest::PictureBytes(4, 4, 0x808080);
  if (broken) arrow.resize(arrow.size() - 5);
  std::vector<TSkinMember> members{{u"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
                                   {u"t.bmp", qvtest::PictureBytes(40, 2 * 30, 0x804020)},
                                   {u"c.bmp", qvtest::PictureBytes(48, 16, 0x2040C0)},
                                   {u"s.bmp", arrow}};
  TMemoryStream s;
  WriteSkinArchive(70000, members, s);
  s.SetPosition(0);
  return s;
}

class SkinReloadTest : public qvtest::SkinWindowFixture, public ::testing::WithParamInterface<TSkinFormType> {
 protected:
  void SetUp() override {
    qvtest::RegisterWindowClass(L"QvReloadWindow");
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
    for (int i = 0; i < 3; ++i) {
      HWND w = RawWindow(L"QvReloadWindow", L"Reload", WS_OVERLAPPEDWINDOW, 40 + 30 * i, 40 + 30 * i, 360, 240);
      ShowWindow(w, SW_SHOWNORMAL);
      SetForegroundWindow(w);
      ASSERT_NE(Skinned(w), nullptr);
    }
    // From here on the windows stay with this component whatever its kind.
    data->SetSkinFormtype(GetParam());
  }

  // Over every laid-out caption button of every window: hit-test, move, the
  // hint timer, a caption paint; then the last window's close button is
  // left hot.
  void MoveOverCaptionButtons() {
    for (HWND w : windows) {
      TWinSkinForm* sf = SkinManager->FindForm(w);
      ASSERT_NE(sf, nullptr);
      SendMessageW(w, SM_NCREPAINT, 0, 0);
      for (size_t i = 0; i < sf->frame.SysBtn.size(); ++i) {
        if (!sf->frame.SysBtn[i]->visible) continue;
        const TRect b = sf->frame.SysBtn[i]->bounds;
        const LPARAM at = qvtest::ScreenLParam(w, qvtest::Centre(b));
        SetCursorPos(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)));
        SendMessageW(w, WM_NCHITTEST, 0, at);
        SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, at);
        sf->TimerTick(nullptr);
        SendMessageW(w, SM_NCREPAINT, 0, 0);
      }
    }
    HWND w = windows.back();
    if (TWinSysButton* close = qvtest::SysButtonOf(SkinManager->FindForm(w), 0)) {
      const LPARAM at = qvtest::ScreenLParam(w, qvtest::Centre(close->bounds));
      SetCursorPos(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)));
      SendMessageW(w, WM_NCMOUSEMOVE, HTCAPTION, at);
    }
  }

  // Every window's caption buttons are the component's current ones, one
  // for each, and its caption height is the current skin's.
  void ExpectAllOnTheCurrentSkin(int captionHeight) {
    std::set<const TDataSkinSysButton*> current;
    for (const auto& e : data->SysBtn) current.insert(e.get());
    for (HWND w : windows) {
      TWinSkinForm* sf = SkinManager->FindForm(w);
      ASSERT_NE(sf, nullptr);
      EXPECT_EQ(sf->frame.SysBtn.size(), data->SysBtn.size());
      for (const auto& b : sf->frame.SysBtn) EXPECT_TRUE(current.count(b->data));
      EXPECT_EQ(sf->frame.bw.Top, captionHeight);
    }
  }
};

TEST_P(SkinReloadTest, WindowsStayOnTheOldSkinOrMoveWhollyToTheNewOne) {
  MoveOverCaptionButtons();
  TWinSkinForm* last = SkinManager->FindForm(windows.back());
  ASSERT_NE(last->frame.ActiveBtn, nullptr);  // a hot button while the skin goes
  const int oldCaption = last->frame.bw.Top;
  const std::vector<TWinSysButton*> before = [&] {
    std::vector<TWinSysButton*> v;
    for (auto& b : last->frame.SysBtn) v.push_back(b.get());
    return v;
  }();

  // Broken part way: nothing changes, not even the component's bytes.
  const std::vector<uint8_t> bytes = data->data->Bytes();
  TMemoryStream broken = SecondSkin(true);
  EXPECT_THROW(data->LoadFromStream(broken), EInvalidGraphic);
  EXPECT_FALSE(data->Empty);
  EXPECT_EQ(data->SkinName, u"Quillvault Slate");
  EXPECT_EQ(data->data->Bytes(), bytes);
  ExpectAllOnTheCurrentSkin(oldCaption);
  ASSERT_EQ(last->frame.SysBtn.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(last->frame.SysBtn[i].get(), before[i]);
  MoveOverCaptionButtons();

  // A good one: every window is on it when the load returns, with fresh
  // caption buttons (none left hot).
  TMemoryStream good = SecondSkin(false);
  data->LoadFromStream(good);
  EXPECT_EQ(data->SkinName, u"Second");
  EXPECT_EQ(last->frame.ActiveBtn, nullptr);
  ExpectAllOnTheCurrentSkin(30);
  MoveOverCaptionButtons();
  qvtest::Pump(400);  // the manager's own action, for the main skin
  ExpectAllOnTheCurrentSkin(30);
  for (HWND w : windows) EXPECT_TRUE(IsWindow(w));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SkinReloadTest, ::testing::Values(sfMainform, sfDialog),
                         [](const ::testing::TestParamInfo<TSkinFormType>& i) {
                           return i.param == sfMainform ? std::string("MainSkin") : std::string("OtherSkin");
                         });

}  // namespace
