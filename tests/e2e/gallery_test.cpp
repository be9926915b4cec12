// The control gallery started as a program and read from outside: every
// windowed control that the choice of control skin gives a skin, on the
// skinned form and in the raw dialog, answers SM_QUERYSKINNED with 1 once
// the windows are skinned; skin files named on its command line are tried
// on it in turn.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/SkinVariants.h"
#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

struct SkinnedControl {
  bool inDialog;  // in the raw dialog, else on the form
  const wchar_t* className;
  const wchar_t* text;  // null: the index-th child of the class
  int index = 0;
  const wchar_t* within = nullptr;  // a child of the first child of this class
};

const SkinnedControl kSkinned[] = {
    {false, L"TButton", L"Push button"},
    {false, L"TButton", L"Disabled button"},
    {false, L"TEdit", L"Edit box"},
    {false, L"TMemo", nullptr},
    {false, L"TBitBtn", L"Bit button"},
    {false, L"TBitBtn", L"Disabled bit"},
    {false, L"TBitBtn", L"Image button"},
    {false, L"TcxButton", L"Menu button"},
    {false, L"TPngBitBtn", L"PNG button"},
    {false, L"TComboBox", nullptr, 0},
    {false, L"TComboBox", nullptr, 1},
    {false, L"TComboBox", nullptr, 2},
    {false, L"TComboBox", nullptr, 3},
    {false, L"TTrackBar", L"Horizontal track bar"},
    {false, L"TTrackBar", L"Vertical track bar"},
    {false, L"TProgressBar", L"Horizontal progress bar"},
    {false, L"TProgressBar", L"Vertical progress bar"},
    {false, L"TMediaPlayer", L"Media player"},
    {true, L"Button", L"Raw push"},
    {true, L"Button", L"Raw default"},
    {true, L"Button", L"Raw disabled"},
    {true, L"Edit", L"Raw edit"},
    {true, L"ComboBox", nullptr, 0},  // drop-down
    {true, L"ComboBox", nullptr, 1},  // drop-down list
    {true, L"ComboBox", nullptr, 0, L"ComboBoxEx32"},
    {true, L"ToolbarWindow32", nullptr},
    {true, L"#32770", L"Raw inner dialog"},
    {true, L"ScrollBar", nullptr},  // the size grip
    // Tabs, check boxes, radio buttons and groups (group boxes of raw
    // dialogs and panels keep their own windows: no skin answers there).
    {false, L"TPageControl", L"Pages"},
    {false, L"TCheckBox", L"Check box"},
    {false, L"TCheckBox", L"Grey check"},
    {false, L"TCheckBox", L"Left text"},
    {false, L"TCheckBox", L"Disabled check"},
    {false, L"TRadioButton", L"Radio one"},
    {false, L"TRadioButton", L"Radio two"},
    {false, L"TRadioGroup", L"Radio group"},
    {false, L"TRadioButton", L"Choice A"},
    {false, L"TCheckGroup", L"Check group"},
    {false, L"TCheckBox", L"Option C"},
    {false, L"TTabControl", L"Tab control"},
    {false, L"TTabSet", L"Tab set"},
    {false, L"TTabbedNotebook", L"Tabbed notebook"},
    {false, L"TAdvPageControl", L"Picture tabs"},
    {false, L"TGroupBox", L"Group box"},
    {false, L"TCheckBox", L"Inside the group"},
    {false, L"TRadioButton", L"Radio in group"},
    {false, L"TCheckBox", L"On a panel"},
    {true, L"Button", L"Raw check"},
    {true, L"Button", L"Raw auto check"},
    {true, L"Button", L"Raw three state"},
    {true, L"Button", L"Raw auto three state"},
    {true, L"Button", L"Raw radio"},
    {true, L"Button", L"Raw auto radio"},
    {true, L"SysTabControl32", nullptr},
};

struct GalleryTest : ::testing::Test {
  static void SetUpTestSuite() {
    program = new ProgramUnderTest(L"gallery", GalleryExe());
    program->Start();
    form = program->WaitForWindow(L"TGalleryForm", 20000);
    dialog = program->WaitForWindow(L"#32770", 20000);
  }
  static void TearDownTestSuite() {
    delete program;
    program = nullptr;
  }

  static HWND Find(const SkinnedControl& c) {
    HWND parent = c.inDialog ? dialog : form;
    if (c.within) parent = FindChild(parent, c.within);
    return c.text ? FindChildWithText(parent, c.className, c.text) : FindChild(parent, c.className, c.index);
  }

  static inline ProgramUnderTest* program = nullptr;
  static inline HWND form = nullptr;
  static inline HWND dialog = nullptr;
};

}  // namespace

TEST_F(GalleryTest, ShowsTheSkinnedFormAndTheRawDialogBesideIt) {
  ASSERT_NE(form, nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(form), L"Control gallery");
  EXPECT_EQ(WindowText(dialog), L"Raw controls");
  RECT f{}, d{};
  GetWindowRect(form, &f);
  GetWindowRect(dialog, &d);
  EXPECT_GE(d.left, f.right);
}

TEST_F(GalleryTest, EveryControlWithASkinAnswersTheQuery) {
  ASSERT_NE(form, nullptr);
  ASSERT_NE(dialog, nullptr);
  for (const SkinnedControl& c : kSkinned) {
    const std::wstring name = std::wstring(c.className) + L" " + (c.text ? c.text : std::to_wstring(c.index));
    HWND w = Find(c);
    ASSERT_NE(w, nullptr) << Narrow(name);
    EXPECT_TRUE(WaitUntil([&] { return QuerySkinned(w) == 1; }, 10000)) << Narrow(name);
  }
}

// Each file a second apart: the title names it; a skin goes on at once (its
// face colour shows on the form); a missing file and one that holds no skin
// are named with their error and the skin before them stays on.
TEST(GallerySkinTrialTest, TriesTheSkinsOfItsCommandLineInTurn) {
  const std::wstring dir = MakeTempDir(L"gallery-skins");
  WriteProgramSkin(dir + L"\\red.skin", WithValue(ProgramSkinIni(), "Colours", "ButtonFace", "200 40 40"));
  std::ofstream(Narrow(dir + L"\\junk.skin"), std::ios::binary) << std::string(400, 'j');
  ProgramUnderTest gallery(L"gallery-trial", GalleryExe());
  gallery.Start({dir + L"\\red.skin", dir + L"\\missing.skin", dir + L"\\junk.skin"});
  HWND form = gallery.WaitForWindow(L"TGalleryForm", 20000);
  ASSERT_NE(form, nullptr);

  const std::wstring junk = L"Control gallery - junk.skin: ";
  std::vector<std::wstring> titles;
  WaitUntil(
      [&] {
        const std::wstring t = WindowText(form);
        if (t != L"Control gallery" && (titles.empty() || titles.back() != t)) titles.push_back(t);
        return t.rfind(junk, 0) == 0;
      },
      30000);
  ASSERT_EQ(titles.size(), 3u);
  EXPECT_EQ(titles[0], L"Control gallery - red.skin");
  EXPECT_EQ(titles[1], L"Control gallery - missing.skin: file not found");
  EXPECT_GT(titles[2].size(), junk.size());  // with the error's text

  // A spot of the form's client area that no control covers.
  POINT spot{ClientSize(form).cx - 8, ClientSize(form).cy - 8};
  ClientToScreen(form, &spot);
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  auto face = [&] { return ScreenPixels(RECT{spot.x, spot.y, spot.x + 1, spot.y + 1}).at(0); };
  WaitUntil([&] { return face() == 0xC82828u; }, 5000);
  EXPECT_EQ(face(), 0xC82828u);
  RemoveTree(dir);
}
