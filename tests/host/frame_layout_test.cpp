// The skinned frame's arithmetic: client rectangle, hit codes, caption
// buttons (visibility, layout, images), caption text placement,
// window states and the window region.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/data/SkinGeometry.h"
#include "skin/windows/FrameLayout.h"

using namespace qv;

namespace {

// A sizeable window with 4, 5 and 6 pixel borders, a 30-pixel caption and
// every box.
TFrameShape Shape() {
  TFrameShape f;
  f.bw = Rect(4, 30, 5, 6);
  f.FormIcons = SetOf({sbiMax, sbiMin, sbisystem});
  return f;
}

std::unique_ptr<TDataSkinSysButton> MakeButton(int action, int align, int x, int y, int mapW = 60, int mapH = 18,
                                               int frame = 3) {
  auto p = std::make_unique<TDataSkinSysButton>(u"BUTTON");
  TDataSkinSysButton& b = *p;
  b.Action = action;
  b.Align = align;
  b.XCoord = x;
  b.YCoord = y;
  b.frame = frame;
  if (mapW > 0 && mapH > 0) {
    b.Map->SetPixelFormat(pf24bit);
    b.Map->SetSize(mapW, mapH);
  }
  return p;
}

}  // namespace

TEST(FrameClient, ClientLiesInsideBordersAndMenuStripOrStaysThePlatforms) {
  TFrameShape f = Shape();
  const TRect window = Bounds(100, 50, 400, 300), platform = Rect(108, 80, 492, 340);
  EXPECT_EQ(NCCalcClientRect(f, window, platform), Rect(104, 80, 495, 344));
  f.MenuHeight = 19;
  EXPECT_EQ(NCCalcClientRect(f, window, platform), Rect(104, 99, 495, 344));
  for (auto state : {swsNormal, swsMax, swsMin}) {  // a top-level window keeps the skin's borders in every state
    f.Windowstate = state;
    EXPECT_EQ(NCCalcClientRect(f, window, platform).Top, 99) << state;
  }
  f.FormStyle = sfsMDIChild;
  EXPECT_EQ(NCCalcClientRect(f, window, platform), platform);
  f.Windowstate = swsMax;
  EXPECT_EQ(NCCalcClientRect(f, window, platform), platform);
  f.Windowstate = swsNormal;
  EXPECT_EQ(NCCalcClientRect(f, window, platform), Rect(104, 99, 495, 344));
  f.FormStyle = sfsNormal;
  f.FormBorder = sbsNone;
  EXPECT_EQ(NCCalcClientRect(f, window, platform), platform);
  // A window smaller than its borders (a minimised one, say) gets an empty
  // client area, never an inverted one.
  f.FormBorder = sbsSingle;
  EXPECT_EQ(NCCalcClientRect(f, Bounds(10, 10, 8, 40), platform), Rect(14, 59, 14, 59));
}

TEST(FrameHitTest, PointsComeInWindowCoordinates) {
  TFrameShape f = Shape();
  f.MenuHeight = 19;
  EXPECT_EQ(ScreenToWindow(f, TPoint{110, 60}, TPoint{104, 99}), (TPoint{10, 10}));
  f.FormStyle = sfsMDIChild;
  EXPECT_EQ(ScreenToWindow(f, TPoint{110, 60}, TPoint{104, 99}), (TPoint{10, 10}));
  f.Windowstate = swsMin;
  EXPECT_EQ(ScreenToWindow(f, TPoint{110, 60}, TPoint{104, 99}), (TPoint{6, -39}));
}

TEST(FrameHitTest, OnlyNowhereAndCaptionAreRevisedBelowTheTopRows) {
  TFrameShape f = Shape();  // caption 30 high
  struct Case {
    int menu, platform, y, want;
  } cases[] = {
      {0, kHitNowhere, 0, kHitNowhere},   {0, kHitCaption, 3, kHitCaption},  {0, kHitNowhere, 4, kHitCaption},
      {0, kHitNowhere, 30, kHitCaption},  {0, kHitNowhere, 31, kHitCaption}, {0, kHitNowhere, 200, kHitCaption},
      {19, kHitNowhere, 30, kHitCaption}, {19, kHitNowhere, 31, kHitMenu},   {19, kHitCaption, 40, kHitMenu},
      {19, kHitNowhere, 3, kHitNowhere},  {19, 1 /*client*/, 60, 1},         {19, 12 /*top*/, 2, 12},
      {19, 17 /*bottom right*/, 299, 17}, {0, 10 /*left*/, 100, 10},         {0, 8 /*min box*/, 10, 8},
  };
  for (const Case& c : cases) {
    f.MenuHeight = c.menu;
    EXPECT_EQ(NCHitTest(f, c.platform, TPoint{50, c.y}), c.want) << "menu " << c.menu << " y " << c.y;
  }
  // Only an active maximised window stops being dragged by its caption.
  EXPECT_EQ(NCLButtonDownHit(f, kHitCaption), kHitCaption);
  f.Windowstate = swsMax;
  EXPECT_EQ(NCLButtonDownHit(f, kHitCaption), kHitMenu);
  EXPECT_EQ(NCLButtonDownHit(f, 10), 10);
  f.FWindowActive = false;
  EXPECT_EQ(NCLButtonDownHit(f, kHitCaption), kHitCaption);
}

TEST(FrameHitTest, CaptionButtonsTakeTheMouseInsideTheirBoundsOnly) {
  const TRect r = Rect(10, 5, 30, 23);
  EXPECT_TRUE(SysButtonHit(r, true, 0, TPoint{10, 5}));
  EXPECT_TRUE(SysButtonHit(r, true, 2, TPoint{29, 22}));
  EXPECT_FALSE(SysButtonHit(r, true, 0, TPoint{30, 10}));
  EXPECT_FALSE(SysButtonHit(r, true, 0, TPoint{15, 23}));
  EXPECT_FALSE(SysButtonHit(r, false, 0, TPoint{15, 10}));
  EXPECT_FALSE(SysButtonHit(r, true, -1, TPoint{15, 10}));  // drawn, never hit
}

TEST(SysButtonVisibility, EveryConditionCodeForEachWindow) {
  const TFrameShape base = Shape();
  TFrameShape maxed = base, inactive = base, noMax = base, helpOnly = base, noSys = base, dialog = base;
  maxed.Windowstate = swsMax;
  inactive.FWindowActive = false;
  noMax.FormIcons = SetOf({sbiMin, sbisystem});
  helpOnly.FormIcons = SetOf({sbiHelp, sbisystem});
  noSys.FormIcons = SetOf({sbiMax, sbiMin});
  dialog.FormBorder = sbsDialog;
  TFrameShape msgBox = dialog;
  msgBox.ismessagebox = true;
  const TSysButtonQuery none;
  auto shown = [&](const TFrameShape& f, int v, int v1) {
    auto b = MakeButton(5, 1, 30, 4);
    b->Visibility = v;
    b->Visibility1 = v1;
    return SysButtonVisible(*b, f, true, none).visible;
  };
  struct Case {
    int code;
    const TFrameShape* on;
    bool v, v1;  // as the first condition, as the second
  } cases[] = {
      {0, &base, true, true},       {1, &base, false, false},     {1, &maxed, true, true},
      {2, &maxed, false, false},    {3, &inactive, false, false}, {4, &inactive, true, true},
      {5, &base, false, false},     {6, &base, true, true},       {8, &noSys, false, true},
      {6, &helpOnly, false, false}, {7, &noMax, true, true},      {7, &base, false, false},
      {9, &noMax, false, false},    {10, &helpOnly, true, true},  {10, &base, false, false},
      {50, &base, false, false},    {100, &base, false, false},   {150, &base, false, false},
      {200, &dialog, true, true},   {200, &msgBox, false, false}, {200, &base, false, false},
      {500, &base, true, true},     {1500, &base, false, true},   {2001, &base, false, false},
      {-1, &base, false, false},    {-2, &base, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shown(*c.on, c.code, 0), c.v) << "Visibility " << c.code;
    EXPECT_EQ(shown(*c.on, 0, c.code), c.v1) << "Visibility1 " << c.code;
  }
  // Code 10 as the second condition asks only for the help box.
  TFrameShape helpAndMax = base;
  helpAndMax.FormIcons |= SetOf({sbiHelp});
  EXPECT_FALSE(shown(helpAndMax, 10, 0));
  EXPECT_TRUE(shown(helpAndMax, 0, 10));
}

TEST(SysButtonVisibility, WindowAnswersAndActionAdjustments) {
  const TFrameShape f = Shape();
  std::vector<std::pair<int, int>> asked;
  TSysButtonQuery q;
  q.ask = [&](int32_t code, int32_t action) -> intptr_t {
    asked.emplace_back(code, action);
    return code == 1001 ? 1 : 0;
  };
  auto b = MakeButton(40, 1, 30, 4);
  b->Visibility = 1001;
  EXPECT_TRUE(SysButtonVisible(*b, f, true, q).visible);
  b->Visibility = 1002;
  EXPECT_FALSE(SysButtonVisible(*b, f, true, q).visible);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1001, 40}, {1002, 40}}));
  b->Visibility = 100;
  EXPECT_FALSE(SysButtonVisible(*b, f, true, q).visible);
  q.mdiChildMaxWithMenu = true;
  EXPECT_TRUE(SysButtonVisible(*b, f, true, q).visible);

  TFrameShape noBoxes = f;
  noBoxes.FormIcons = SetOf({sbisystem});
  // Maximise and minimise stay shown but disabled without their box.
  EXPECT_EQ(SysButtonVisible(*MakeButton(1, 1, 50, 4), noBoxes, true, q).visible, true);
  EXPECT_EQ(SysButtonVisible(*MakeButton(1, 1, 50, 4), noBoxes, true, q).enabled, false);
  EXPECT_EQ(SysButtonVisible(*MakeButton(2, 1, 70, 4), f, false, q).enabled, true);
  TFrameShape noSys = f;
  noSys.FormIcons = SetOf({sbiMax, sbiMin});
  EXPECT_FALSE(SysButtonVisible(*MakeButton(2, 1, 70, 4), noSys, true, q).enabled);
  EXPECT_FALSE(SysButtonVisible(*MakeButton(0, 1, 30, 4), noSys, true, q).visible);
  EXPECT_FALSE(SysButtonVisible(*MakeButton(40, 1, 30, 4), noSys, false, q).enabled);  // others keep the flag
  TFrameShape dialog = f;
  dialog.FormBorder = sbsDialog;
  for (int icon : {3, 11, 12}) EXPECT_FALSE(SysButtonVisible(*MakeButton(icon, 0, 4, 4), dialog, true, q).visible);
  EXPECT_TRUE(SysButtonVisible(*MakeButton(3, 0, 4, 4), f, true, q).visible);
}

TEST(SysButtonLayout, ButtonsSitByTheirAlignment) {
  TFrameShape f = Shape();
  f.MenuHeight = 20;
  const TRect ctr = Rect(100, 6, 180, 24);
  struct Case {
    int align;
    TRect want;
  } cases[] = {
      {0, Rect(7, 5, 27, 23)},    {1, Rect(393, 5, 413, 23)}, {2, Rect(73, 5, 93, 23)},      {8, Rect(73, 5, 93, 23)},
      {3, Rect(187, 5, 207, 23)}, {9, Rect(187, 5, 207, 23)}, {100, Rect(385, 31, 405, 49)}, {4, Rect(0, 0, 20, 18)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SysButtonBounds(*MakeButton(0, c.align, 7, 5), f, 400, ctr, 3), c.want) << "Align " << c.align;
  // Frame counts of 0 or below count as one image; odd widths truncate.
  EXPECT_EQ(SysButtonBounds(*MakeButton(0, 0, 0, 0, 61, 18, 3), f, 400, ctr, 0), Rect(0, 0, 20, 18));
  EXPECT_EQ(SysButtonBounds(*MakeButton(0, 0, 0, 0, 60, 18, 0), f, 400, ctr, 0), Rect(0, 0, 60, 18));
  EXPECT_EQ(SysButtonBounds(*MakeButton(0, 0, 0, 0, 60, 18, -2), f, 400, ctr, 0), Rect(0, 0, 60, 18));
  EXPECT_FALSE(SysButtonHasImage(*MakeButton(0, 0, 0, 0, 0, 0)));

  // RightBtn: the furthest right-aligned button that is shown with an image.
  const auto close = MakeButton(0, 1, 30, 4), min = MakeButton(2, 1, 55, 4), left = MakeButton(3, 0, 90, 4),
             hidden = MakeButton(1, 1, 80, 4), blank = MakeButton(4, 1, 99, 4, 0, 0);
  const TSysButtonView views[] = {
      {close.get(), true}, {min.get(), true}, {left.get(), true}, {hidden.get(), false}, {blank.get(), true}};
  EXPECT_EQ(RightBtnOf(views), 55);
  EXPECT_EQ(RightBtnOf(std::span(views).subspan(2)), 0);
}

TEST(SysButtonLayout, ImagesForNormalHotPressedAndInactive) {
  const auto sixp = MakeButton(0, 1, 30, 4, 120, 18, 6), threep = MakeButton(0, 1, 30, 4, 60, 18, 3);
  const TDataSkinSysButton &six = *sixp, &three = *threep;
  EXPECT_EQ(SysButtonFrameImage(six, true, true), 1);
  EXPECT_EQ(SysButtonFrameImage(six, false, true), 4);
  EXPECT_EQ(SysButtonFrameImage(six, true, false), 4);
  EXPECT_EQ(SysButtonFrameImage(three, false, false), 1);
  EXPECT_EQ(SysButtonFrameImage(*MakeButton(0, 1, 30, 4, 60, 18, 0), false, true), 1);
  EXPECT_EQ(SysButtonStateImage(six, TNCState::Normal, true), 1);
  EXPECT_EQ(SysButtonStateImage(six, TNCState::Pressed, true), 2);
  EXPECT_EQ(SysButtonStateImage(six, TNCState::Hot, true), 3);
  EXPECT_EQ(SysButtonStateImage(six, TNCState::Hot, false), 4);
  EXPECT_EQ(SysButtonStateImage(three, TNCState::Pressed, false), 1);
  auto mdip = MakeButton(8, 100, 30, 0, 64, 16, 4);
  TDataSkinSysButton& mdi = *mdip;
  mdi.Visibility = 100;
  EXPECT_EQ(SysButtonStateImage(mdi, TNCState::Hot, true), 4);
  EXPECT_EQ(SysButtonStateImage(mdi, TNCState::Pressed, true), 2);
  EXPECT_FALSE(SysButtonPainted(mdi, true));  // the menu bar draws those
  EXPECT_TRUE(SysButtonPainted(six, true));
  EXPECT_FALSE(SysButtonPainted(six, false));

  TDataSkinBorder border(u"Border");
  border.frame = 2;
  EXPECT_EQ(BorderImage(border, true), 1);
  EXPECT_EQ(BorderImage(border, false), 2);
  border.frame = 0;
  EXPECT_EQ(BorderImage(border, false), 1);
}

TEST(SysButtonActions, HintTimingAndDoubleClicks) {
  // Hint pause 500 ms, hidden 2500 ms later.
  EXPECT_EQ(HintStep(750, 500, 2500), THintStep::Wait);
  EXPECT_EQ(HintStep(1000, 500, 2500), THintStep::Show);
  EXPECT_EQ(HintStep(3250, 500, 2500), THintStep::Show);
  EXPECT_EQ(HintStep(3500, 500, 2500), THintStep::Hide);

  TFrameShape f = Shape();
  EXPECT_EQ(NCDoubleClick(f, 3), TNCDoubleClick::Close);
  EXPECT_EQ(NCDoubleClick(f, 11), TNCDoubleClick::Close);
  EXPECT_EQ(NCDoubleClick(f, 0), TNCDoubleClick::Nothing);
  EXPECT_EQ(NCDoubleClick(f, std::nullopt), TNCDoubleClick::Maximize);
  f.FormIcons = SetOf({sbisystem});
  EXPECT_EQ(NCDoubleClick(f, std::nullopt), TNCDoubleClick::PassOn);
  f.Windowstate = swsMin;
  EXPECT_EQ(NCDoubleClick(f, std::nullopt), TNCDoubleClick::Restore);
}

TEST(FrameState, StatesFollowSizeAndSystemCommands) {
  // SIZE_MAXSHOW and SIZE_MAXHIDE leave the state alone.
  EXPECT_EQ(WindowStateFromSize(3, swsMax), swsMax);
  EXPECT_EQ(WindowStateFromSize(4, swsNormal), swsNormal);
  // Only the exact commands count: the caption's SC_MAXIMIZE | 2 does not.
  EXPECT_EQ(WindowStateFromSysCommand(0xF030, swsNormal), swsMax);
  EXPECT_EQ(WindowStateFromSysCommand(0xF032, swsNormal), swsNormal);
  EXPECT_EQ(WindowStateFromSysCommand(0xF122, swsMin), swsMin);

  TFrameShape f = Shape();
  EXPECT_TRUE(CropAfterSize(f, TSkinFormState::Skinned, false));
  EXPECT_TRUE(CropAfterSize(f, TSkinFormState::Changing, true));
  EXPECT_FALSE(CropAfterSize(f, TSkinFormState::FirstSizing, false));
  f.Windowstate = swsMin;
  EXPECT_FALSE(CropAfterSize(f, TSkinFormState::Skinned, false));
  f.Windowstate = swsNormal;
  f.FormStyle = sfsMDIChild;
  EXPECT_TRUE(CropAfterSize(f, TSkinFormState::Skinned, false));
  EXPECT_FALSE(CropAfterSize(f, TSkinFormState::Skinned, true));
  f.Windowstate = swsMax;
  EXPECT_FALSE(CropAfterSize(f, TSkinFormState::Skinned, false));
}

TEST(CaptionText, AlignmentRightToLeftClippingAndDialogs) {
  TDataSkinTitle title(u"Title");
  title.r = Rect(20, 4, 30, 0);
  title.backleft = 6;
  title.backright = 4;
  const TRect R = Rect(4, 0, 395, 30);         // RW 391
  const TRect measured = Rect(4, 0, 104, 16);  // 100 wide, TW 110 with the back margins
  struct Case {
    int align;
    bool rtl;
    int left;  // of ctr
  } cases[] = {
      {0, false, 24}, {1, false, 144}, {2, false, 255}, {7, false, 4},
      {0, true, 239}, {1, true, 126},  {2, true, 34},   {7, true, 30},
  };
  for (const Case& c : cases) {
    TFrameShape f = Shape();
    f.bidileft = c.rtl;
    title.Aligment = c.align;
    const TCaptionPlacement p = PlaceCaption(f, title, R, measured, 56, false);
    EXPECT_EQ(p.ctr.Left, c.left) << c.align << (c.rtl ? " rtl" : "");
    EXPECT_EQ(p.ctr.Top, 9);  // (30 - 16) / 2 + 4 / 2
    EXPECT_EQ(p.back, Rect(p.ctr.Left, 0, p.ctr.Right, 30));
    EXPECT_EQ(p.text, Rect(p.ctr.Left + 6, 9, p.ctr.Right - 4, 25));
    EXPECT_EQ(p.format, c.rtl ? 0x28822u : 0x8820u);
  }
  TFrameShape f = Shape();
  // Long text is clipped at the title's right margin; a popup stops short
  // of the right-aligned buttons instead (when there are any).
  title.Aligment = 0;
  EXPECT_EQ(PlaceCaption(f, title, R, Rect(4, 0, 404, 16), 56, false).ctr, Rect(24, 9, 365, 25));
  title.Aligment = 2;
  EXPECT_EQ(PlaceCaption(f, title, R, Rect(4, 0, 404, 16), 56, true).ctr, Rect(-45, 9, 334, 25));
  EXPECT_EQ(PlaceCaption(f, title, R, Rect(4, 0, 404, 16), 5, true).ctr.Right, 365);
  // Wider than the strip: truncation toward zero, and right to left restarts
  // at the title's left margin, 10 pixels in.
  title.Aligment = 1;
  EXPECT_EQ(PlaceCaption(f, title, R, Rect(4, 0, 406, 16), 56, false).ctr.Left, -6);  // (391 - 412) / 2 = -10
  f.bidileft = true;
  title.Aligment = 0;
  EXPECT_EQ(PlaceCaption(f, title, R, Rect(4, 0, 404, 16), 56, false).ctr.Left, 30);
  f.bidileft = false;
  f.FormBorder = sbsDialog;
  f.FWindowActive = false;
  const TCaptionPlacement d = PlaceCaption(f, title, R, measured, 56, false);
  EXPECT_EQ(d.ctr.Left, 8);
  EXPECT_EQ(d.backImage, 2);
  title.Aligment = 1;
  EXPECT_EQ(PlaceCaption(f, title, R, measured, 56, false).ctr.Left, 144);
  EXPECT_EQ(CaptionText(u"Quillvault"), u"  Quillvault ");
}

TEST(FramePaint, PartsOfNormalAndMinimisedWindows) {
  TFrameShape f = Shape();
  f.MenuHeight = 19;
  const TFramePaintRects p = FramePaintRects(f, 400, 300);
  EXPECT_EQ(p.left, Rect(0, 0, 4, 300));
  EXPECT_EQ(p.right, Rect(395, 0, 400, 300));
  EXPECT_EQ(p.bottom, Rect(4, 294, 395, 300));
  EXPECT_EQ(p.title, Rect(4, 0, 395, 30));
  EXPECT_EQ(p.buffer, Rect(0, 0, 400, 30));
  EXPECT_EQ(p.menu, Rect(4, 30, 395, 49));
  f.Windowstate = swsMin;
  const TFramePaintRects m = FramePaintRects(f, 160, 24);
  EXPECT_EQ(m.title, Rect(0, 0, 160, 30));
  EXPECT_EQ(m.buffer, Rect(0, 0, 160, 24));
}

TEST(FrameRegion, RebuiltOnlyWhenTheSizeOrStateNeedsIt) {
  TFrameShape f = Shape();
  EXPECT_TRUE(CropNeeded(f, TSkinFormState::Skinned, true, 400, 300, 0, 0));
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Skinned, true, 400, 300, 400, 300));
  EXPECT_TRUE(CropNeeded(f, TSkinFormState::Changing, true, 400, 300, 400, 300));
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Dead, true, 400, 300, 0, 0));
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Skinned, false, 400, 300, 0, 0));
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Skinned, true, 0, 300, 0, 0));
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Skinned, true, 400, -3, 0, 0));
  f.FormStyle = sfsMDIChild;
  EXPECT_TRUE(CropNeeded(f, TSkinFormState::Skinned, true, 400, 300, 400, 300));
  f.Windowstate = swsMax;
  EXPECT_FALSE(CropNeeded(f, TSkinFormState::Skinned, true, 400, 300, 0, 0));
}

TEST(FrameRegion, PiecesOfTheRegion) {
  TFrameShape f = Shape();
  const TRegionPlan plain = FrameRegionPlan(f, 400, 300, {0, 0, 0, 0});
  EXPECT_FALSE(plain.shaped);
  EXPECT_FALSE(plain.hasPieces);
  EXPECT_EQ(plain.base, Rect(0, 0, 400, 300));

  const TRegionPlan all = FrameRegionPlan(f, 400, 300, {1, 1, 1, 1});
  EXPECT_TRUE(all.shaped && all.hasPieces);
  EXPECT_EQ(all.base, Rect(4, 30, 395, 294));
  EXPECT_EQ(all.left.rect, Rect(0, 0, 4, 300));
  EXPECT_EQ(all.right.rect, Rect(395, 0, 400, 300));
  EXPECT_EQ(all.top.rect, Rect(4, 0, 395, 30));
  EXPECT_EQ(all.bottom.rect, Rect(4, 294, 395, 300));
  EXPECT_TRUE(all.left.fromImage && all.right.fromImage && all.top.fromImage && all.bottom.fromImage);

  // Only the transparent bottom is shaped; a thin bottom is never cut.
  const TRegionPlan bottom = FrameRegionPlan(f, 400, 300, {0, 0, 0, 1});
  EXPECT_TRUE(bottom.bottom.fromImage);
  EXPECT_FALSE(bottom.left.fromImage || bottom.right.fromImage || bottom.top.fromImage);
  f.bw.Bottom = 1;
  EXPECT_FALSE(FrameRegionPlan(f, 400, 300, {0, 0, 0, 1}).bottom.fromImage);
  EXPECT_TRUE(FrameRegionPlan(f, 400, 300, {2, 0, 0, 0}).shaped);  // set, but not cut from the image
  EXPECT_FALSE(FrameRegionPlan(f, 400, 300, {2, 0, 0, 0}).left.fromImage);
  EXPECT_FALSE(FrameRegionPlan(f, 400, 1, {1, 0, 0, 0}).left.fromImage);

  f.FormBorder = sbsNone;
  EXPECT_FALSE(FrameRegionPlan(f, 400, 300, {1, 1, 1, 1}).hasPieces);

  // A window narrower and lower than its borders: nothing inverted, nothing
  // to cut from an image of no area.
  f = Shape();
  const TRegionPlan tiny = FrameRegionPlan(f, 6, 20, {1, 1, 1, 1});
  for (const TRect& r : {tiny.base, tiny.left.rect, tiny.right.rect, tiny.top.rect, tiny.bottom.rect})
    EXPECT_FALSE(IsInvertedRect(r)) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  EXPECT_FALSE(tiny.top.fromImage);
  EXPECT_FALSE(tiny.bottom.fromImage);
  EXPECT_TRUE(tiny.left.fromImage);
  f.bw.Left = 0;
  EXPECT_FALSE(FrameRegionPlan(f, 400, 300, {1, 0, 0, 0}).left.fromImage);
}
