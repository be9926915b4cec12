#include <gtest/gtest.h>

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
