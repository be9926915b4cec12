#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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

#include "platform/core/FormResource.h"
#include "platform/win/Application.h"

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
