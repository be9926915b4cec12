// Every control kind of the gallery, on its form and in its raw dialog,
// through a whole skin life: skinned and painted; a skin lacking each control
// section loaded in turn; the full skin again; borders wider than the screen
// (the form squeezed), then the full skin, the screen read as that left it
// rather than repainted; containers re-created with their children; a
// control added, then the skin reloaded; every class-library control
// re-created; everything disabled and enabled, hidden and shown; unskinned.
// After each step every control the platform drew before the skin came is
// drawn (read back from the screen, page by page), no window has two skins,
// and while skinned every control that took a skin keeps exactly one; after
// the cycle the process holds as many GDI objects, menus and windows as
// before it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Application.h"
#include "platform/win/CheckControls.h"
#include "platform/win/TabControls.h"
#include "platform/win/WinString.h"
#include "skin/controls/SkinControl.h"
#include "tests/support/ProcessObjects.h"
#include "tests/support/SkinVariants.h"
#include "tests/win/GalleryFixture.h"
#include "tools/gallery/Gallery.h"

using namespace qv;

namespace {

// Drawn over with the face colour by design: the size grip of a raw dialog.
const char* const kBlankByDesign[] = {"ScrollBar"};

// The skin sections that control skins draw from; one reload leaves out each.
const char* const kControlSections[] = {
    "Buttons",           "Scrollbar",          "HorzScroll",         "VertScroll",          "HorzScrollThumb",
    "VertScrollThumb",   "ComboButton",        "SunkEdge",           "ExtraImages",         "Tabs",
    "Tab.Pane",          "GroupBoxEdge",       "GroupBox",           "Progress",            "Progress.Chunk",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
    "Trackbar.ThumbDown", "Track",              "TRACKVERT",          "UpDown.Horz",         "UpDown.Vert",
    "Headerbar",         "StatusBarEdges",     "ToolBars",
};

// The screen inside r, row by row.
struct Shot {
  RECT r{};
  std::vector<uint32_t> px;

  explicit Shot(const RECT& area) : r(area), px(qvtest::ScreenPixels(area)) {}
  // Pixels far from the most common colour inside a: what is drawn on its
  // ground.
  int Drawn(const RECT& a) const {
    std::map<uint32_t, int> counts;
    for (LONG y = std::max(a.top, r.top); y < std::min(a.bottom, r.bottom); ++y)
      for (LONG x = std::max(a.left, r.left); x < std::min(a.right, r.right); ++x)
        ++counts[px[static_cast<size_t>((y - r.top) * (r.right - r.left) + (x - r.left))]];
    return qvtest::FarFromCommonest(counts, 48);
  }
};

// One control of the gallery: a class-library control of the form, or a raw
// control of the dialog.
struct Control {
  TControl* object = nullptr;
  HWND raw = nullptr;
  std::string cls, name;
  bool drawnUnskinned = false;  // not blank as the platform draws it
  bool skinned = false;         // took a skin when the windows were skinned
  bool answers = false;         // its window answered SM_QUERYSKINNED when skinned
  bool enabled = true, visible = true;

  TWinControl* Windowed() const { return As<TWinControl>(object); }
  HWND Window() const {
    if (raw) return raw;
    TWinControl* w = Windowed();
    return w && w->HandleAllocated() ? w->Handle() : nullptr;
  }
  bool Showing() const { return raw ? IsWindowVisible(raw) != FALSE : object->Showing(); }
  RECT ScreenRect() const {
    RECT r{};
    if (HWND w = Window()) {
      GetWindowRect(w, &r);
    } else {
      r = object->BoundsRect();
      MapWindowPoints(object->Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
  }
  // Blank: less than a fifth of a percent of the area drawn.
  bool Blank(int drawn) const {
    const RECT r = ScreenRect();
    return drawn < std::max(4, static_cast<int>((r.right - r.left) * (r.bottom - r.top) / 500));
  }
};

void CollectControls(TWinControl& parent, std::vector<Control>& out) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    Control entry;
    entry.object = c;
    entry.cls = ToUtf8(c->ClassName());
    entry.name = entry.cls + " \"" + ToUtf8(c->Caption()) + "\"";
    out.push_back(entry);
    if (auto* w = As<TWinControl>(c)) CollectControls(*w, out);
  }
}

void CollectRawControls(HWND dialog, std::vector<Control>& out) {
  for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    Control entry;
    entry.raw = w;
    entry.cls = ToUtf8(GetWndClassName(w));
    entry.name = entry.cls + " " + std::to_string(GetDlgCtrlID(w));
    out.push_back(entry);
  }
}

class GalleryCycleTest : public qvtest::GalleryFixture {
 protected:
  void SetUp() override {
    qvtest::GalleryFixture::SetUp();
    if (HasFatalFailure()) return;
    CollectControls(*form, controls);
    CollectRawControls(dialog, controls);
    for (Control& c : controls)
      if (c.cls == "TPageControl") pages = static_cast<TPageControl*>(c.object);
    ASSERT_NE(pages, nullptr);
    dir = qvtest::MakeTempDir(L"gallery-cycle");
  }

  void TearDown() override {
    if (SkinManager && !SkinManager->Flist.empty()) Unskin();  // a test that stopped half way
    qvtest::GalleryFixture::TearDown();
    qvtest::RemoveTree(dir);
  }

  void Unskin() {
    skin->SetActive(false);
    qvtest::WaitUntil([] { return SkinManager->Flist.empty(); }, 3000);
    WaitForTheManager();
  }

  // Action 1, 2 or 3 (a reload) run from the manager's timer.
  void WaitForTheManager() {
    qvtest::WaitUntil([] { return !SkinManager || !SkinManager->UpdateData; }, 3000);
    qvtest::Pump(100);
  }

  // fn once for every control that shows, with the screen as it shows:
  // both windows painted afresh (or, asLeft, as the last step left them) on
  // the first page of the page control, then the page control on each
  // further page; the first page is on again afterwards.
  void EachShowing(const std::function<void(Control&, const Shot&)>& fn, bool asLeft = false) {
    std::vector<bool> done(controls.size());
    for (int page = 0; page < pages->PageCount(); ++page) {
      pages->SetActivePageIndex(page);
      const std::vector<HWND> painted =
          page ? std::vector<HWND>{pages->Handle()} : std::vector<HWND>{form->Handle(), dialog};
      RECT area{};
      for (HWND w : painted) {
        if (page || !asLeft)
          RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT r{};
        GetWindowRect(w, &r);
        UnionRect(&area, &area, &r);
      }
      qvtest::Pump(100);
      const Shot shot(area);
      for (size_t i = 0; i < controls.size(); ++i)
        if (!done[i] && controls[i].Showing()) fn(controls[i], shot), done[i] = true;
    }
    pages->SetActivePageIndex(0);
  }

  // The live skins (not waiting for the purge) of every skinned window.
  std::vector<TSkinControl*> LiveSkins() {
    std::vector<TSkinControl*> live;
    for (TWinSkinForm* sf : SkinManager->Flist)
      for (TSkinControl* s : sf->controls.Controllist)
        if (s->skinstate != TControlSkinState::Dead) live.push_back(s);
    return live;
  }
  // A class-library control's skins are those made for the control (some
  // only set its properties and leave its window alone); a raw control's,
  // those on its window.
  int SkinsOf(const Control& c) {
    int n = 0;
    for (TSkinControl* s : LiveSkins())
      n += c.raw ? s->hwnd == c.raw : s->control == c.object || s->GControl == c.object;
    return n;
  }
  TControl* First(const std::string& cls) {
    for (const Control& c : controls)
      if (c.cls == cls) return c.object;
    return nullptr;
  }
  std::string NameOf(HWND w) {
    for (const Control& c : controls)
      if (c.Window() == w) return c.name;
    return ToUtf8(GetWndClassName(w)) + " (a window inside a control)";
  }

  void ExpectDrawn(const std::string& step, bool asLeft = false) {
    EachShowing([&](Control& c, const Shot& shot) {
      if (!c.drawnUnskinned) return;
      if (c.raw && std::find(std::begin(kBlankByDesign), std::end(kBlankByDesign), c.cls) != std::end(kBlankByDesign))
        return;
      const int drawn = shot.Drawn(c.ScreenRect());
      EXPECT_FALSE(c.Blank(drawn)) << step << ": " << c.name << " is blank (" << drawn << " pixels drawn)";
    }, asLeft);
  }

  // Each skinned window has one skin; each control that took a skin has it.
  void ExpectOneSkinEach(const std::string& step) {
    for (HWND top : {form->Handle(), dialog})
      EXPECT_EQ(SkinManager->FormsOf(top).size(), 1u) << step << ": skins of " << NameOf(top);
    std::map<HWND, int> onWindow;
    for (TSkinControl* s : LiveSkins())
      if (!s->GControl && ++onWindow[s->hwnd] == 2) ADD_FAILURE() << step << ": two skins on " << NameOf(s->hwnd);
    for (const Control& c : controls) ExpectOwnSkin(step, c);
  }

  void ExpectOwnSkin(const std::string& step, const Control& c) {
    if (!c.skinned) return;
    EXPECT_EQ(SkinsOf(c), 1) << step << ": skins of " << c.name;
    if (c.answers) {
      EXPECT_EQ(SendMessageW(c.Window(), SM_QUERYSKINNED, 0, 0), 1) << step << ": " << c.name << " does not answer";
    }
  }

  void Reload(const std::wstring& file) {
    skin->LoadFromFile(FromW(file.c_str()));
    ASSERT_FALSE(skin->Empty);
    WaitForTheManager();
  }

  // Every control disabled, or each given back the state it had; the same
  // for hiding (the pages of a page control are left to it).
  void SetEnabledAll(bool on) {
    for (Control& c : controls) {
      if (!on) c.enabled = c.raw ? IsWindowEnabled(c.raw) != FALSE : c.object->Enabled();
      if (c.raw) EnableWindow(c.raw, on && c.enabled);
      else c.object->SetEnabled(on && c.enabled);
    }
  }
  void SetVisibleAll(bool on) {
    for (Control& c : controls) {
      if (c.object && As<TTabSheet>(c.object)) continue;
      if (!on) c.visible = c.raw ? IsWindowVisible(c.raw) != FALSE : c.object->Visible();
      if (c.raw) ShowWindow(c.raw, on && c.visible ? SW_SHOWNA : SW_HIDE);
      else c.object->SetVisible(on && c.visible);
    }
  }

  struct Counts {
    int gdi, menus, windows;
  };
  Counts Count() {
    EachShowing([](Control&, const Shot&) {});
    return Counts{qvtest::LiveGdiObjects(), qvtest::LiveMenus(), qvtest::ThreadWindows()};
  }

  TPageControl* pages = nullptr;
  std::vector<Control> controls;
  std::wstring dir;
};

TEST_F(GalleryCycleTest, EveryControlKindLivesThroughAWholeSkinCycle) {
  ASSERT_TRUE(qvtest::GdiCountIsTrustworthy())
      << "GDI objects cannot be counted here; counted by " << qvtest::GdiCountSource();
  // Once skinned, disabled and unskinned first: what is made once for good
  // (the pictures' device contexts, a glyph's disabled look, the platform's
  // caches) is there before the count.
  Skin();
  SetEnabledAll(false);
  EachShowing([](Control&, const Shot&) {});
  SetEnabledAll(true);
  Unskin();
  EachShowing([](Control& c, const Shot& shot) { c.drawnUnskinned = !c.Blank(shot.Drawn(c.ScreenRect())); });
  // A screen read that sees nothing would leave nothing to check.
  ASSERT_GT(std::count_if(controls.begin(), controls.end(), [](const Control& c) { return c.drawnUnskinned; }),
            static_cast<std::ptrdiff_t>(controls.size() * 3 / 4));
  const Counts before = Count();

  struct Step {
    std::string name;
    std::function<void()> run;
    bool skinned = true;
    // Read from the screen as the step left it, before anything is
    // repainted on purpose.
    bool asLeft = false;
  };
  std::vector<Step> steps;
  steps.push_back({"skin", [&] {
                     Skin();
                     for (Control& c : controls) {
                       c.skinned = SkinsOf(c) > 0;
                       c.answers = c.Window() && SendMessageW(c.Window(), SM_QUERYSKINNED, 0, 0) == 1;
                     }
                   }});
  const std::string ini = qvtest::ProgramSkinIni();
  ASSERT_FALSE(ini.empty());
  for (const char* section : kControlSections) {
    const std::wstring file = dir + L"\\without-" + qvtest::Widen(section) + L".skin";
    qvtest::WriteProgramSkin(file, qvtest::WithoutSection(ini, section));
    steps.push_back({std::string("reload without ") + section, [this, file] { Reload(file); }});
  }
  const std::wstring full = dir + L"\\full.skin";
  qvtest::WriteProgramSkin(full, ini);
  steps.push_back({"reload of the full skin", [this, full] { Reload(full); }});
  // Borders wider than the screen squeeze the form; the full skin gives it
  // its size back, and every control is painted at that size.
  const std::wstring wide = dir + L"\\wide.skin";
  qvtest::WriteProgramSkin(wide, ini, {{u"right.bmp", qvtest::PictureBytes(2500, 60, 0x604020)}});
  steps.push_back({"reload after borders wider than the screen", [this, wide, full] {
                     const LONG width = qvtest::ClientSize(form->Handle()).cx;
                     Reload(wide);
                     EXPECT_LT(qvtest::ClientSize(form->Handle()).cx, width) << "the form is not squeezed";
                     Reload(full);
                   }, true, true});
  // Moving the tabs makes the page control's window anew and its pages'
  // windows and theirs with it; the controls inside keep their skins.
  steps.push_back({"a parent re-created", [&] {
                     pages->SetTabPosition(tpBottom);
                     pages->SetTabPosition(tpTop);
                     auto* group = As<TWinControl>(First("TGroupBox"));
                     ASSERT_NE(group, nullptr);
                     group->RecreateWnd();
                     qvtest::Pump(30);
                   }});
  // Nothing skins a control made after its form; a skin change does.
  steps.push_back({"a control added, then the skin reloaded", [&, full] {
                     Control added;
                     added.object = Place<TCheckBox>(*form, Bounds(4, 156, 100, 17), u"Added", pages->Pages(0));
                     Reload(full);
                     EXPECT_EQ(SkinsOf(added), 1) << "skins of the added check box";
                     delete added.object;
                   }});
  // Children before their parents, each looked at once it has its new
  // window; the children of a parent re-created after them keep theirs too.
  steps.push_back({"re-create", [&] {
                     for (auto c = controls.rbegin(); c != controls.rend(); ++c) {
                       if (TWinControl* w = c->Windowed()) {
                         w->RecreateWnd();
                         qvtest::Pump(30);
                         ExpectOwnSkin("re-create", *c);
                       }
                     }
                   }});
  steps.push_back({"disable", [&] { SetEnabledAll(false); }});
  steps.push_back({"enable", [&] { SetEnabledAll(true); }});
  steps.push_back({"hide and show", [&] {
                     SetVisibleAll(false);
                     qvtest::Pump(50);
                     SetVisibleAll(true);
                   }});
  steps.push_back({"unskin", [&] { Unskin(); }, false});

  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.run();
    if (HasFatalFailure()) return;
    ExpectDrawn(step.name, step.asLeft);
    if (step.skinned) ExpectOneSkinEach(step.name);
  }

  EXPECT_TRUE(SkinManager->Flist.empty());
  for (const Control& c : controls) {
    if (!c.answers) continue;
    EXPECT_NE(SendMessageW(c.Window(), SM_QUERYSKINNED, 0, 0), 1) << "unskinned: " << c.name;
  }
  const Counts after = Count();
  EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
  EXPECT_EQ(after.menus, before.menus) << "menus";
  EXPECT_EQ(after.windows, before.windows) << "windows";
}

}  // namespace
