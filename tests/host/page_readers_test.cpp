// The page readers that cut the blog's list and article pages.
#include <gtest/gtest.h>

#include "app/PageReaders.h"
#include "tests/host/FakeBlog.h"

using namespace qv;
using namespace qv::test;

namespace {

const char16_t kHome[] = u"http://blog.example.com/Ann";

std::vector<String> Items(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

}  // namespace

TEST(GetFirstMulu, TakesTheAnchorAfterTheHomeTab) {
  EXPECT_EQ(FirstMuluFromPage(HomePage(kHome), kHome), u"http://blog.example.com/s/list_7_0_1.html");
  // Another letter case misses the home tab: the page's first anchor wins.
  EXPECT_EQ(FirstMuluFromPage(HomePage(kHome), u"http://blog.example.com/ann"), u"http://blog.example.com/");
  // Only the text before the label counts; a page without it gives nothing.
  EXPECT_EQ(FirstMuluFromPage(u"<a href=\"http://x/1.html\">目录</a>", kHome), u"");
  EXPECT_EQ(FirstMuluFromPage(u"博文目录<a href=\"http://x/1.html\">", kHome), u"");
  // No anchor start: from the ninth character up to the first quote.
  EXPECT_EQ(FirstMuluFromPage(u"12345678abc\"def博文目录", kHome), u"abc");
  EXPECT_EQ(FirstMuluFromPage(u"<a href=\"no-quote博文目录", kHome), u"");
}

TEST(GetURLS, ListsEveryEntryInPageOrder) {
  const String entry = u"<span class=\"atc_title\"><a href=\"";
  const String page = u"<div>" + entry + u"http://h/s/b3.html\" title=\"\">三</a></span>" + entry +
                      u"http://h/s/b2.html\">二</a></span>" + entry + u"http://h/s/b2.html\">dup</a>" + entry + u"\">empty";
  EXPECT_EQ(Items(*UrlsFromPage(page)),
            (std::vector<String>{u"http://h/s/b3.html", u"http://h/s/b2.html", u"http://h/s/b2.html", u""}));
  EXPECT_EQ(UrlsFromPage(u"<span class=\"atc_title\"><a  href=\"http://h/x\">")->Count(), 0);
  // An entry without a closing quote is empty.
  EXPECT_EQ(Items(*UrlsFromPage(u"x" + entry + u"http://h/a")), (std::vector<String>{u""}));
}

TEST(GetContent, CutsTitleAndBody) {
  String title;
  const String body = u"<div class=\"articalContent\" id=\"a\">\r\n<p>正文_1</p></div>";
  const String page = u"<html><head><title>我的_文章_博客</title></head><body>" + body +
                      u"<div class=\"shareUp\"></div></body>";
  EXPECT_EQ(ContentFromPage(page, title), body);
  EXPECT_EQ(title, u"我的");  // cut at the first "_"

  // Without "_" in the title element the title runs on to the next one.
  EXPECT_EQ(ContentFromPage(u"<title>T</title><p>a_b", title), u"");
  EXPECT_EQ(title, u"T</title><p>a");
  ContentFromPage(u"<title>no underscore at all", title);
  EXPECT_EQ(title, u"");
  // Without "<title>" the text starts at the seventh character.
  ContentFromPage(u"123456ab_c", title);
  EXPECT_EQ(title, u"ab");

  // A missing end marker, or one before the start marker, gives nothing; a
  // missing start marker starts the fragment right after "<title>".
  EXPECT_EQ(ContentFromPage(u"<title>t_</title><div class=\"articalContent\">x", title), u"");
  EXPECT_EQ(ContentFromPage(u"<title>t_</title>lead<div class=\"shareUp\">", title), u"t_</title>lead");
  EXPECT_EQ(ContentFromPage(u"<title>t_<div class=\"shareUp\"><div class=\"articalContent\">x<div class=\"shareUp\">",
                            title),
            u"");
}

TEST(ReplaceContent, OnlyThePlaceholderOfTheImageHostChanges) {
  const String lazy = u"src=\"http://img.example.com/blog7style/images/common/sg_trans.gif\" real_src";
  String content = u"<img " + lazy + u" =\"http://p/1.jpg\"/><img " + lazy + u"=\"http://p/2.jpg\"/>" +
                   u"<img SRC=\"http://img.example.com/blog7style/images/common/sg_trans.gif\" real_src=\"x\"/>" +
                   u"<img src=\"http://other/blog7style/images/common/sg_trans.gif\" real_src=\"y\"/>";
  ReplaceContent(content, u"img.example.com");
  EXPECT_EQ(content, u"<img src =\"http://p/1.jpg\"/><img src=\"http://p/2.jpg\"/>"
                     u"<img SRC=\"http://img.example.com/blog7style/images/common/sg_trans.gif\" real_src=\"x\"/>"
                     u"<img src=\"http://other/blog7style/images/common/sg_trans.gif\" real_src=\"y\"/>");
}

TEST(PageReaders, DecodeAsThePagesAreRead) {
  TFakeGetter http;
  // The home page is read as UTF-8 whatever it declares.
  http.Put(kHome, ToUtf8(HomePage(kHome)), u"text/html; charset=gbk");
  EXPECT_EQ(GetFirstMulu(http, u"blog.example.com", u"Ann"), u"http://blog.example.com/s/list_7_0_1.html");
  // A list page is read by its charset: GBK text around the entries does no harm.
  http.Put(u"http://h/list1.html",
           "<p>\xB2\xA9\xCE\xC4</p><span class=\"atc_title\"><a href=\"http://h/s/b1.html\">\xC4\xBF</a>",
           u"text/html; charset=GBK");
  EXPECT_EQ(Items(*GetURLS(http, u"http://h/list1.html")), (std::vector<String>{u"http://h/s/b1.html"}));
  http.Put(u"http://h/s/b1.html", "<title>\xE6\xA0\x87\xE9\xA2\x98_x</title><div class=\"articalContent\">\xE6\x96\x87"
                                  "<div class=\"shareUp\">", u"text/html; charset=iso-8859-1");
  String title;
  EXPECT_EQ(GetContent(http, u"http://h/s/b1.html", title), u"<div class=\"articalContent\">文");
  EXPECT_EQ(title, u"标题");
  // The client's errors pass through untouched.
  EXPECT_THROW(GetURLS(http, u"http://h/list2.html"), EHttpStatusError);
}
