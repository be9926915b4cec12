// Every kind of control skin the gallery makes, on its form and in its raw
// dialog, painted over and over in each look it has, and then through a
// reload of the same skin: the process holds no more GDI objects than
// before, and a DC handed to the paint comes back with the pen, brush and
// font it had. (No skin touches a handed DC's bitmap or clip region: they
// paint through their own bitmap and copy it over.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/Application.h"
#include "platform/win/GdiHandles.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinControl.h"
#include "tests/support/ProcessObjects.h"
#include "tests/win/GalleryFixture.h"

using namespace qv;

namespace {

// The control skin classes the gallery's windows take; each must be there.
const char* const kKinds[] = {
    "TSkinButton",   "TSkinBitButton",  "TSkinSpeedButton", "TSkinMenuButton", "TSkinCheckBox",    "TSkinRadioButton",
    "TSkinGroupBox", "TSkinEdit",       "TSkinComBox",      "TComboxScrollBar", "TSkinScrollbar",  "TSkinScrollbarH",
    "TSkinTab",      "TSkinTab31",      "TSkinAdvPage",     "TSkinProgress",    "TSkinTrackBar",   "TSkinUpDown",
    "TSkinMP",       "TSkinBox",        "TSkinBoxH",        "TSkinObjImage",    "TSkinSizer",
};

constexpr int kRounds = 50;

BOOL CALLBACK AddWindow(HWND w, LPARAM to) {
  reinterpret_cast<std::vector<HWND>*>(to)->push_back(w);
  return TRUE;
}

// A DC as a caller hands it to a paint: its own bitmap, pen, brush and font
// selected; the paint must give back the pen, brush and font.
struct HandedDC {
  MemoryDC dc;
  OwnedBitmap bitmap{CreateCompatibleBitmap(WindowDC(nullptr), 400, 300)};
  OwnedPen pen{CreatePen(PS_SOLID, 1, RGB(1, 2, 3))};
  OwnedBrush brush{CreateSolidBrush(RGB(4, 5, 6))};
  OwnedFont font{CreateFontW(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")};
  SelectGuard b{dc, bitmap}, p{dc, pen}, r{dc, brush}, f{dc, font};

  // What differs from the state it was handed over in, each as it is now.
  std::vector<std::string> Changed() const {
    std::vector<std::string> changed;
    const struct {
      UINT kind;
      HGDIOBJ object;
      const char* name;
    } selected[] = {{OBJ_PEN, pen, "pen"}, {OBJ_BRUSH, brush, "brush"}, {OBJ_FONT, font, "font"}};
    for (const auto& s : selected)
      if (HGDIOBJ now = GetCurrentObject(dc, s.kind); now != s.object)
        changed.push_back(std::string(s.name) + " " + std::to_string(reinterpret_cast<uintptr_t>(now)));
    return changed;
  }
};

class SkinGdiCountTest : public qvtest::GalleryFixture {
 protected:
  void SetUp() override {
    qvtest::GalleryFixture::SetUp();
    if (HasFatalFailure()) return;
    for (HWND top : {form->Handle(), dialog}) {
      std::vector<HWND> all{top};
      EnumChildWindows(top, AddWindow, reinterpret_cast<LPARAM>(&all));
      for (HWND w : all)
        for (int look = 0; look < 4; ++look) Paint(w, look, "", false);
    }
    Skin();
  }

  void TearDown() override {
    skin->SetActive(false);
    qvtest::WaitUntil([] { return SkinManager->Flist.empty(); }, 3000);
    qvtest::GalleryFixture::TearDown();
  }

  // The live skins by kind, with the window each paints in (a graphic
  // control's is its parent's).
  std::map<std::string, std::vector<HWND>> SkinsByKind() {
    std::map<std::string, std::vector<HWND>> kinds;
    for (TWinSkinForm* sf : SkinManager->Flist)
      for (TSkinControl* s : sf->controls.Controllist) {
        if (s->skinstate == TControlSkinState::Dead) continue;
        HWND w = s->GControl && s->GControl->Parent() ? s->GControl->Parent()->Handle() : s->hwnd;
        if (IsWindow(w)) kinds[ToUtf8(s->ClassName())].push_back(w);
      }
    return kinds;
  }

  // One paint of w in the look the round picks (normal, hot, pressed,
  // disabled): handed a DC as WM_PAINT and WM_PRINTCLIENT, then painted
  // from the system, frame and background included. Unskinned, what the
  // window's own paint leaves changed in the DC is noted (the system's
  // buttons leave their font selected);
  // skinned, the DC comes back as handed over or as the window's own paint
  // leaves it.
  void Paint(HWND w, int round, const std::string& kind, bool skinned = true) {
    const int look = round % 4;
    if (look == 1) SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    if (look == 2) SendMessageW(w, BM_SETSTATE, TRUE, 0);
    if (look == 3) EnableWindow(w, FALSE);
    for (const UINT msg : {WM_PAINT, WM_PRINTCLIENT}) {
      HandedDC handed;
      SendMessageW(w, msg, reinterpret_cast<WPARAM>(handed.dc.Get()), msg == WM_PAINT ? 0 : PRF_CLIENT | PRF_ERASEBKGND);
      std::string& own = unskinned[{w, msg}];
      for (const std::string& change : handed.Changed()) {
        if (!skinned) own += change + ";";
        else EXPECT_NE(own.find(change + ";"), std::string::npos) << kind << " leaves " << change << " after "
                                                              << (msg == WM_PAINT ? "WM_PAINT" : "WM_PRINTCLIENT")
                                                              << " in look " << look;
      }
    }
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    if (look == 1) SendMessageW(w, WM_MOUSELEAVE, 0, 0);
    if (look == 2) SendMessageW(w, BM_SETSTATE, FALSE, 0);
    if (look == 3) EnableWindow(w, TRUE);
  }

  void PaintAll(int rounds) {
    for (const auto& [kind, windows] : SkinsByKind())
      for (HWND w : windows)
        for (int round = 0; round < rounds; ++round) Paint(w, round, kind);
    qvtest::Pump(50);
  }

  void Reload() {
    skin->LoadFromFile(FromW(qvtest::ProgramSkinPath().c_str()));
    ASSERT_FALSE(skin->Empty);
    qvtest::WaitUntil([] { return !SkinManager || !SkinManager->UpdateData; }, 3000);
    qvtest::Pump(100);
  }

  std::map<std::pair<HWND, UINT>, std::string> unskinned;
};

TEST_F(SkinGdiCountTest, EachKindPaintsAndReloadsWithoutLeakingOrChangingTheDC) {
  ASSERT_TRUE(qvtest::GdiCountIsTrustworthy())
      << "GDI objects cannot be counted here; counted by " << qvtest::GdiCountSource();
  // What is made once for good (cached pictures, a glyph's disabled look,
  // the platform's caches) is made before any count.
  PaintAll(4);
  Reload();
  PaintAll(4);

  const auto kinds = SkinsByKind();
  for (const char* kind : kKinds) EXPECT_TRUE(kinds.count(kind)) << kind << " is missing from the gallery";
  for (const auto& [kind, windows] : kinds) {
    const int before = qvtest::LiveGdiObjects();
    for (HWND w : windows)
      for (int round = 0; round < kRounds; ++round) Paint(w, round, kind);
    qvtest::Pump(50);
    EXPECT_EQ(qvtest::LiveGdiObjects(), before) << kind << ": GDI objects after " << kRounds << " paints";
  }

  const int before = qvtest::LiveGdiObjects();
  Reload();
  PaintAll(4);
  EXPECT_EQ(qvtest::LiveGdiObjects(), before) << "GDI objects after a reload of the skin";
}

}  // namespace
