// The caption text of a window that is not Unicode comes through the ANSI
// branch (WM_GETTEXT in the ANSI code page, converted back): Chinese text
// under a Chinese ANSI code page is drawn as the same text of a Unicode
// window is. The code page is the process's own, taken from the locale it
// starts under: the test runs only in its own test entry (tests/CMakeLists),
// which starts it under a Chinese locale.
#include <gtest/gtest.h>

#include <string>

#include "skin/controls/SkinControl.h"
#include "tests/win/SkinWindowFixture.h"

using namespace qv;

namespace {

constexpr char kGbkTitle[] = "\xD6\xD0\xCE\xC4\xB1\xEA\xCC\xE2";  // the title below in code page 936
constexpr wchar_t kTitle[] = L"\u4E2D\u6587\u6807\u9898";

class AnsiCaptionTest : public qvtest::SkinWindowFixture {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = "QvAnsiCaption";
    RegisterClassExA(&wc);
    qvtest::RegisterWindowClass(L"QvWideCaption");
    data = qvtest::LoadProgramSkin();
    ASSERT_FALSE(data->Empty);
  }

  // Shown, skinned, active, its frame painted into a bitmap.
  std::unique_ptr<TBitmap> Frame(HWND w, TWinSkinForm*& sf) {
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    sf = Skinned(w);
    if (!sf) return nullptr;
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    return qvtest::PaintedFrame(w, sf);
  }

  static int CaptionDifferences(const TBitmap& a, const TBitmap& b, int height) {
    int d = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < a.Width(); ++x) d += a.Pixel(x, y) != b.Pixel(x, y);
    return d;
  }
};

TEST_F(AnsiCaptionTest, DISABLED_ChineseTextUnderAChineseCodePage) {
  ASSERT_EQ(GetACP(), 936u);
  HWND ansi = Track(CreateWindowExA(0, "QvAnsiCaption", kGbkTitle, WS_OVERLAPPEDWINDOW, 40, 40, 360, 200, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
  HWND wide = RawWindow(L"QvWideCaption", kTitle, WS_OVERLAPPEDWINDOW, 60, 60, 360, 200);
  HWND unknown = RawWindow(L"QvWideCaption", L"????", WS_OVERLAPPEDWINDOW, 80, 80, 360, 200);
  EXPECT_EQ(GetWindowCaptionA(ansi), std::string(kGbkTitle));
  TWinSkinForm *sa = nullptr, *sw = nullptr, *su = nullptr;
  const auto a = Frame(ansi, sa), w = Frame(wide, sw), u = Frame(unknown, su);
  ASSERT_TRUE(a && w && u);
  EXPECT_FALSE(sa->isunicode);
  EXPECT_TRUE(sw->isunicode);
  EXPECT_EQ(CaptionDifferences(*a, *w, sa->frame.bw.Top), 0);
  EXPECT_GT(CaptionDifferences(*a, *u, sa->frame.bw.Top), 20);
}

}  // namespace
