#include "app/PageReaders.h"

#include <climits>

namespace qv {

namespace {

const char16_t kListTabLabel[] = u"博文目录";
const char16_t kAnchorStart[] = u"<a href=\"";
const char16_t kListEntry[] = u"<span class=\"atc_title\"><a href=\"";
const char16_t kTitleStart[] = u"<title>";
const char16_t kBodyStart[] = u"<div class=\"articalContent\"";
const char16_t kBodyEnd[] = u"<div class=\"shareUp\">";

constexpr int kAnchorStartLength = 9;
constexpr int kListEntryLength = 33;
constexpr int kTitleStartLength = 7;

String Utf8Body(const THttpResponse& response) { return FromUtf8(response.body); }

}  // namespace

String BlogHomeUrl(StringView blogHost, StringView userName) {
  return u"http://" + String(blogHost) + u"/" + String(userName);
}

String FirstMuluFromPage(StringView page, StringView homeUrl) {
  // Up to and including the first character of the list tab label: the
  // anchor we want is the last one before it.
  String s = Copy(page, 1, Pos(kListTabLabel, page));
  // The home tab's anchor without its "<", so that the next "<a href=\""
  // found is the list tab's.
  const String homeTab = u"a href=\"" + String(homeUrl) + u"\" class=\"on\">首页";
  if (const int n = Pos(homeTab, s); n > 0) s = Copy(s, n, INT_MAX);
  s = Copy(s, Pos(kAnchorStart, s) + kAnchorStartLength, INT_MAX);
  return Copy(s, 1, Pos(u"\"", s) - 1);
}

std::unique_ptr<TStringList> UrlsFromPage(StringView page) {
  auto list = std::make_unique<TStringList>();
  // The page is walked as a shrinking view rather than copied after every
  // entry, which would be quadratic on long pages.
  StringView s = page;
  for (;;) {
    const int p = Pos(kListEntry, s);
    if (p == 0) return list;
    s = s.substr(static_cast<size_t>(p - 1 + kListEntryLength));
    const int q = Pos(u"\"", s);
    list->Add(Copy(s, 1, q - 1));
    if (q > 0) s = s.substr(static_cast<size_t>(q - 1));
  }
}

String ContentFromPage(StringView page, String& title) {
  const int p = Pos(kTitleStart, page);
  // Without "<title>" the text runs from the seventh character, as p + 7 does.
  const StringView s = page.substr(std::min(page.size(), static_cast<size_t>(p + kTitleStartLength - 1)));
  title = Copy(s, 1, Pos(u"_", s) - 1);
  const int n = Pos(kBodyStart, s);
  const int b = Pos(kBodyEnd, s);
  if (b == 0 || b < n) return String();
  if (n == 0) return Copy(s, 1, b - 1);
  return Copy(s, n, b - n);
}

String NoArticleListMessage(StringView userName, StringView homeUrl) {
  // Ends in a full stop of its own: the error box adds "." after "。".
  return u"用户“" + String(userName) + u"”的博客页面 " + String(homeUrl) + u" 上没有博文目录，请检查用户名是否正确.";
}

String GetFirstMulu(THttpGetter& http, StringView blogHost, StringView userName) {
  const String home = BlogHomeUrl(blogHost, userName);
  return FirstMuluFromPage(Utf8Body(http.Get(home)), home);
}

std::unique_ptr<TStringList> GetURLS(THttpGetter& http, StringView url) {
  return UrlsFromPage(http.Get(url).Text());
}

String GetContent(THttpGetter& http, StringView url, String& title) {
  return ContentFromPage(Utf8Body(http.Get(url)), title);
}

void ReplaceContent(String& content, StringView imageHost) {
  const String lazy = u"src=\"http://" + String(imageHost) + u"/blog7style/images/common/sg_trans.gif\" real_src";
  content = StringReplace(content, lazy, u"src", rfReplaceAll);
}

}  // namespace qv
