// The real program's skinned main window as the screen shows it, read from
// this process (not the program's): the borders, the caption strip and the
// caption buttons carry the pixels of the program's own skin images, the
// title is drawn in the skin's caption colour, and the corners are cut out
// of the window so that what lies behind shows through; the push button and
// the user-name box are drawn by their control skins. The captures are left
// as skinned-*.bmp in the temporary folder for a look by eye.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

const std::string kSkinDir = std::string(QV_TEST_DATA) + "/../../assets/skin/quillvault";

// Pixels of a bitmap as COLORREFs, read through GDI.
class Pixels {
 public:
  Pixels() = default;
  Pixels(int w, int h, std::vector<uint32_t> bits) : w_(w), h_(h), bits_(std::move(bits)) {}
  explicit Pixels(HBITMAP bmp) {
    BITMAP info{};
    if (!bmp || !GetObjectW(bmp, sizeof info, &info)) return;
    w_ = info.bmWidth;
    h_ = info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w_;
    bi.bmiHeader.biHeight = -h_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bits_.resize(static_cast<size_t>(w_) * h_);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, h_, bits_.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
  }
  int Width() const { return w_; }
  int Height() const { return h_; }
  // 0x00BBGGRR, as the skin's colours are written.
  COLORREF At(int x, int y) const {
    const uint32_t p = bits_[static_cast<size_t>(y) * w_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int w_ = 0, h_ = 0;
  std::vector<uint32_t> bits_;
};

Pixels SkinImage(const char* name) {
  const std::wstring path = WinePath(kSkinDir + "/" + name);
  auto bmp = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  Pixels p(bmp);
  if (bmp) DeleteObject(bmp);
  return p;
}

// The screen's pixels inside r.
Pixels Capture(const RECT& r, const std::wstring& saveAs) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<uint32_t> bits = ScreenPixels(r);
  // Kept for a look: a plain 32-bit BMP.
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = -h;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size() * 4);
  HANDLE f = CreateFileW(saveAs.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n = 0;
    WriteFile(f, &fh, sizeof fh, &n, nullptr);
    WriteFile(f, &ih, sizeof ih, &n, nullptr);
    WriteFile(f, bits.data(), static_cast<DWORD>(bits.size() * 4), &n, nullptr);
    CloseHandle(f);
  }
  return Pixels(w, h, std::move(bits));
}

constexpr COLORREF kKey = RGB(255, 0, 255);

}  // namespace

TEST(SkinnedFrame, TheMainWindowShowsTheProgramsSkin) {
  const Pixels left = SkinImage("left.bmp"), right = SkinImage("right.bmp"), top = SkinImage("top.bmp"),
               bottom = SkinImage("bottom.bmp"), close = SkinImage("close.bmp"), minimise = SkinImage("minimize.bmp"),
               maximise = SkinImage("maximize.bmp");
  ASSERT_EQ(left.Width(), 8);  // two images side by side: active, inactive
  ASSERT_EQ(top.Height(), 60);  // two images stacked
  ASSERT_EQ(close.Width(), 104);  // four images of 26 x 20
  const int bwLeft = left.Width() / 2, bwRight = right.Width() / 2, bwTop = top.Height() / 2,
            bwBottom = bottom.Height() / 2;

  ProgramUnderTest program(L"frame");
  HANDLE f = CreateFileW((program.Dir() + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  program.Start();
  HWND form = program.WaitForWindow(L"TForm1", 20000);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), L"Quillvault V1.1 By Marrowick");
  // Skinned once the window has the skin's borders around its client area
  // and its region; then a moment for the frame to reach the screen.
  const SIZE client = ClientSize(form);
  ASSERT_TRUE(WaitUntil(
      [&] {
        RECT r{};
        GetWindowRect(form, &r);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        const bool shaped = GetWindowRgn(form, rgn) != ERROR;
        DeleteObject(rgn);
        return shaped && r.right - r.left == client.cx + bwLeft + bwRight &&
               r.bottom - r.top == client.cy + bwTop + bwBottom;
      },
      10000));
  SetForegroundWindow(form);
  Pump(800);

  RECT wr{};
  GetWindowRect(form, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  // One pixel of margin all round, to see what lies behind the corners.
  const RECT around{wr.left - 1, wr.top - 1, wr.right + 1, wr.bottom + 1};
  const Pixels shot = Capture(around, program.Dir() + L"\\..\\skinned-frame.bmp");
  ASSERT_EQ(shot.Width(), W + 2);
  auto at = [&](int x, int y) { return shot.At(x + 1, y + 1); };  // window coordinates

  // Borders in their active image: left and right at mid height (the
  // stretched middle row of the strips), the bottom at mid width.
  const int midRow = 30;  // the strips' top part is 30 rows, the bottom part 6
  for (int x = 0; x < bwLeft; ++x) {
    EXPECT_EQ(at(x, H / 2), left.At(x, midRow)) << x;
    EXPECT_EQ(at(W - bwRight + x, H / 2), right.At(x, midRow)) << x;
  }
  for (int y = 0; y < bwBottom; ++y) EXPECT_EQ(at(W / 2, H - bwBottom + y), bottom.At(12, y)) << y;
  // The caption strip between the title and the buttons.
  for (int y = 0; y < bwTop; ++y) EXPECT_EQ(at(W - 120, y), top.At(12, y)) << y;

  // Caption buttons by their places in the skin, in the platform's order:
  // close 34 and minimise 90 pixels from the right, 5 from the top, image 1.
  // This window has no maximise box: the maximise button between them (62)
  // shows its disabled image, greyed, as the platform shows it.
  auto expectButton = [&](const Pixels& img, int xcoord, int image, const char* name) {
    int compared = 0, wrong = 0;
    for (int y = 0; y < img.Height(); ++y)
      for (int x = 0; x < 26; ++x) {
        const COLORREF src = img.At((image - 1) * 26 + x, y);
        if (src == kKey) continue;
        ++compared;
        if (at(W - xcoord + x, 5 + y) != src) ++wrong;
      }
    EXPECT_GT(compared, 5) << name;
    EXPECT_EQ(wrong, 0) << name;
  };
  expectButton(close, 34, 1, "close");
  expectButton(minimise, 90, 1, "minimise");
  expectButton(maximise, 62, 4, "disabled maximise");

  // The application's icon at the icon button's place (9, 7, 16 x 16): not
  // the caption behind it (compared where the caption is plain, right of
  // its left edge part).
  int iconInk = 0;
  for (int y = 7; y < 7 + 16; ++y)
    for (int x = bwLeft + 10; x < 9 + 16; ++x) iconInk += at(x, y) != at(W - 120, y);
  EXPECT_GT(iconInk, 60);

  // The title in the caption colour of the active window ("TitleTextActive").
  int titleInk = 0;
  for (int y = 0; y < bwTop; ++y)
    for (int x = 30; x < W / 2; ++x) titleInk += at(x, y) == RGB(243, 246, 250);
  EXPECT_GT(titleInk, 60);

  // Rounded corners: outside the region, where the screen behind shows.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form, rgn), ERROR);
  const POINT corners[] = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
  for (const POINT& c : corners) {
    EXPECT_FALSE(PtInRegion(rgn, c.x, c.y)) << c.x << "," << c.y;
    const int ox = c.x == 0 ? -1 : W, oy = c.y == 0 ? -1 : H;  // just outside, diagonally
    EXPECT_EQ(at(c.x, c.y), at(ox, oy)) << c.x << "," << c.y;
  }
  EXPECT_TRUE(PtInRegion(rgn, W / 2, 0));
  EXPECT_TRUE(PtInRegion(rgn, 0, H / 2));
  DeleteObject(rgn);

  // The push button "备份" is drawn from the skin's button strip (five
  // images of 32 x 23, by state): its left edge at mid height and its top
  // edge at mid width carry the strip's line colour of one of them, and its
  // rounded corner is not the line (the face shows through the key colour).
  const Pixels buttons = SkinImage("buttons.bmp");
  ASSERT_EQ(buttons.Width(), 5 * 32);
  HWND button = FindWindowExW(form, nullptr, L"TButton", L"备份");
  ASSERT_NE(button, nullptr);
  RECT br{};
  GetWindowRect(button, &br);
  const Pixels b = Capture(br, program.Dir() + L"\\..\\skinned-button.bmp");
  const int bw = br.right - br.left, bh = br.bottom - br.top;
  auto fromStrip = [&](COLORREF c, int x, int y) {
    for (int i = 0; i < 5; ++i)
      if (buttons.At(i * 32 + x, y) == c) return true;
    return false;
  };
  EXPECT_TRUE(fromStrip(b.At(0, bh / 2), 0, 11)) << std::hex << b.At(0, bh / 2);
  EXPECT_TRUE(fromStrip(b.At(bw / 2, 0), 16, 0)) << std::hex << b.At(bw / 2, 0);
  EXPECT_NE(b.At(0, 0), b.At(0, bh / 2));

  // The user-name box has the edit skin's flat frame in the skin's
  // "ButtonShadow" colour (154 165 177) with the white field inside.
  HWND edit = FindWindowExW(form, nullptr, L"TEdit", nullptr);
  ASSERT_NE(edit, nullptr);
  RECT er{};
  GetWindowRect(edit, &er);
  const Pixels e = Capture(er, program.Dir() + L"\\..\\skinned-edit.bmp");
  const int eh = er.bottom - er.top, ew = er.right - er.left;
  EXPECT_EQ(e.At(0, eh / 2), RGB(154, 165, 177));
  EXPECT_EQ(e.At(ew / 2, eh - 1), RGB(154, 165, 177));
  EXPECT_EQ(e.At(ew - 4, eh / 2), RGB(255, 255, 255));
}
