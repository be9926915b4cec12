// The link label: attributes handed to the system control, reflected
// notifications, and its size on one line.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>
#include <commctrl.h>

#include "platform/core/FormResource.h"
#include "platform/win/Application.h"
#include "platform/win/LinkLabel.h"

using namespace qv;

TEST(LinkLabel, TheSystemControlGetsOnlyTheAttributesItKnows) {
  EXPECT_EQ(LinkControlText(u"我的博客：<a href=\"http://h/p?key=K\" target=\"_blank\">http://h/p</a>"),
            u"我的博客：<a href=\"http://h/p?key=K\">http://h/p</a>");
  EXPECT_EQ(LinkControlText(u"<a target=_top id=\"x\" HREF=\"u\">t</a> and <a>plain</a>"),
            u"<a id=\"x\" HREF=\"u\">t</a> and <a>plain</a>");
  EXPECT_EQ(LinkControlText(u"a < b, <a href=\"u\""), u"a < b, <a href=\"u\"");  // unclosed tag kept as text
  EXPECT_EQ(LinkControlText(u"<abbr title=\"x\">"), u"<abbr title=\"x\">");
}

TEST(LinkLabel, OnlyReflectedNotificationsAreReadAsOnes) {
  InitApplication();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 100);
  auto* link = new TLinkLabel(&form);
  link->SetParent(&form);
  link->SetBounds(8, 8, 200, 17);
  link->SetCaption(u"<a href=\"http://h/p\">p</a>");
  String clicked;
  link->OnLinkClick = [&](TObject*, const String& url, TSysLinkType) { clicked = url; };
  // The skin engine's private message shares CN_NOTIFY's number; a bogus
  // lParam must not be taken for a notification header.
  EXPECT_NO_THROW(SendMessageW(link->Handle(), CN_NOTIFY, 0, 0x1234));
  EXPECT_TRUE(clicked.empty());
  NMLINK nm{};
  nm.hdr.hwndFrom = link->Handle();
  nm.hdr.code = NM_CLICK;
  wcscpy(nm.item.szUrl, L"http://h/p");
  SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(clicked, u"http://h/p");
}

// The author's link of the main window: one line, the whole address inside
// the form, its last character drawn at the label's right end.
TEST(LinkLabel, SizesItselfToItsCaptionOnOneLine) {
  InitApplication();
  TForm form(nullptr);
  form.SetBounds(0, 0, 463, 301);
  auto* link = new TLinkLabel(&form);
  link->SetParent(&form);
  link->SetBounds(256, 245, 194, 17);
  const String address = u"http://brenlow.quillvault.invalid/brenlow";
  link->SetCaption(u"我的博客：<a href=\"" + address + u"?key=K\" target=\"_blank\">" + address + u"</a>");
  form.Show();

  HDC screen = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(screen, link->Font()->Handle());
  SIZE text{};
  const String shown = u"我的博客：" + address;
  GetTextExtentPoint32W(screen, reinterpret_cast<const wchar_t*>(shown.c_str()), static_cast<int>(shown.size()), &text);
  SelectObject(screen, oldFont);
  ReleaseDC(nullptr, screen);
  EXPECT_GE(link->Width(), text.cx);
  EXPECT_LT(link->Height(), 2 * text.cy);
  EXPECT_EQ(link->Top(), 245);
  EXPECT_LE(link->Left() + link->Width(), form.ClientWidth());

  // Drawn into a white bitmap: the ink reaches the label's right end.
  const int w = link->Width(), h = link->Height();
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  PatBlt(dc, 0, 0, w, h, WHITENESS);
  SendMessageW(link->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  int rightmostInk = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((static_cast<const uint32_t*>(bits)[y * w + x] & 0xFFFFFF) != 0xFFFFFF) rightmostInk = std::max(rightmostInk, x);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  EXPECT_GE(rightmostInk, w - 8) << "width " << w;

  // Without AutoSize the stored size stays.
  link->SetAutoSize(false);
  link->SetBounds(256, 245, 194, 17);
  link->SetCaption(u"x");
  EXPECT_EQ(link->Width(), 194);
}
