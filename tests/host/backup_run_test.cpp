// Where a backup run stops, and what it leaves behind in which order, over a
// fake blog.
#include <gtest/gtest.h>

#include <vector>

#include "app/BackupDocuments.h"
#include "app/BackupRun.h"
#include "platform/core/Exceptions.h"
#include "tests/host/FakeBlog.h"

using namespace qv;
using namespace qv::test;

namespace {

const char16_t kHome[] = u"http://blog.example.com/Ann";
const char16_t kListPrefix[] = u"http://blog.example.com/s/list_7_0_";
const char16_t kStamp[] = u"2026/12/9 22:30:00";

String ListPageUrl(int page) { return kListPrefix + IntToStr(page) + u".html"; }

String ListPage(const std::vector<String>& urls) {
  String page = u"<div>";
  for (const String& url : urls) page += u"<span class=\"atc_title\"><a href=\"" + url + u"\">x</a></span>";
  return page;
}

// One trace of requests and steps: "home", "p2" for list page 2 (the blogs
// here have fewer than ten), the article address as listed; "|" for a
// message pump, "save(1 a1)" and "log(1 a1)" with the numbered title,
// "header", "row" and "footer" for the index, "end(a1)" with the new stop
// mark, "error" for a run that threw.
class TTracingBlog : public TFakeGetter, public TBackupRunSteps {
 public:
  std::vector<String> trace;
  std::string index;
  std::vector<String> fragments, logLines;

  // List pages from 1 on, and an article page for every entry but missing;
  // the article's title is its address.
  void Serve(const std::vector<std::vector<String>>& lists, StringView missing = u"") {
    Put(kHome, ToUtf8(HomePage(kHome)), u"text/html; charset=utf-8");
    for (size_t i = 0; i < lists.size(); ++i) {
      Put(ListPageUrl(static_cast<int>(i) + 1), ToUtf8(ListPage(lists[i])), u"text/html; charset=utf-8");
      for (const String& url : lists[i])
        if (url != missing)
          Put(url, ToUtf8(u"<title>" + url + u"_blog</title><div class=\"articalContent\">body of " + url +
                          u"<div class=\"shareUp\">"),
              u"text/html; charset=utf-8");
    }
  }
  String Run(StringView lastURL) {
    try {
      RunBackup(*this, {u"Ann", String(lastURL), u"blog.example.com", u"img.example.com"}, *this);
    } catch (const Exception&) {
      trace.push_back(u"error");
    }
    String joined;
    for (const String& t : trace) joined += (joined.empty() ? u"" : u" ") + t;
    return joined;
  }

  THttpResponse Get(StringView url) override {
    String token(url);
    if (url == kHome) token = u"home";
    else if (url.starts_with(kListPrefix)) token = u"p" + String(url.substr(StringView(kListPrefix).size(), 1));
    trace.push_back(token);
    return TFakeGetter::Get(url);
  }
  String Stamp() override { return kStamp; }
  void WriteIndex(const std::string& bytes) override {
    trace.push_back(index.empty() ? u"header" : bytes == IndexFooter() ? u"footer" : u"row");
    index += bytes;
  }
  String SaveArticle(StringView fragment, StringView numberedTitle) override {
    trace.push_back(u"save(" + String(numberedTitle) + u")");
    fragments.emplace_back(fragment);
    return u"file " + String(numberedTitle);
  }
  void AddLogLine(StringView line) override {
    trace.push_back(u"log(" + String(line) + u")");
    logLines.emplace_back(line);
  }
  void PumpMessages() override { trace.push_back(u"|"); }
  void EndRun(StringView newest) override { trace.push_back(u"end(" + String(newest) + u")"); }
};

struct TRunCase {
  const char* name;
  std::vector<std::vector<String>> lists;
  const char16_t* lastURL;
  const char16_t* missing;  // an article page the service fails
  const char16_t* trace;
};

}  // namespace

TEST(BackupRun, StopsWhereTheListOrTheLastRunEnds) {
  const TRunCase cases[] = {
      {"a page starting like the one before ends the list; numbers run on across pages",
       {{u"a1", u"a2"}, {u"a3"}, {u"a3", u"a4"}}, u"", u"",
       u"home header | p1 a1 save(1 a1) log(1 a1) row | a2 save(2 a2) log(2 a2) row | "
       u"| p2 a3 save(3 a3) log(3 a3) row | | p3 footer end(a1)"},
      {"an empty page ends the list", {{u"a1"}, {}}, u"", u"",
       u"home header | p1 a1 save(1 a1) log(1 a1) row | | p2 footer end(a1)"},
      {"an empty first page: nothing saved, the stop mark emptied", {{}}, u"a1", u"",
       u"home header | p1 footer end()"},
      {"the stop mark ends the page it is on", {{u"a1", u"a2", u"a3"}, {u"a4"}}, u"a2", u"",
       u"home header | p1 a1 save(1 a1) log(1 a1) row | footer end(a1)"},
      {"the stop mark on a later page", {{u"a1", u"a2"}, {u"a3", u"a4", u"a5"}}, u"a4", u"",
       u"home header | p1 a1 save(1 a1) log(1 a1) row | a2 save(2 a2) log(2 a2) row | "
       u"| p2 a3 save(3 a3) log(3 a3) row | footer end(a1)"},
      {"the stop mark first: nothing new, the same mark again", {{u"a1", u"a2"}}, u"a1", u"",
       u"home header | p1 footer end(a1)"},
      {"a failed article keeps what was written, without footer or stop mark", {{u"a1", u"a2", u"a3"}}, u"",
       u"a2", u"home header | p1 a1 save(1 a1) log(1 a1) row | a2 error"},
      {"a failed list page as well", {{u"a1"}}, u"", u"",
       u"home header | p1 a1 save(1 a1) log(1 a1) row | | p2 error"},
  };
  for (const TRunCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTracingBlog blog;
    blog.Serve(c.lists, c.missing);
    EXPECT_EQ(ToUtf8(blog.Run(c.lastURL)), ToUtf8(c.trace));
  }
}

TEST(BackupRun, WritesTheIndexAndArticlesOfTheRun) {
  TTracingBlog blog;
  blog.Serve({{u"a1"}, {}});
  const String lazy =
      u"<img src=\"http://img.example.com/blog7style/images/common/sg_trans.gif\" real_src=\"http://p/1.jpg\"/>";
  blog.Put(u"a1",
           ToUtf8(u"<title>标题_blog</title><div class=\"articalContent\">" + lazy + u"<div class=\"shareUp\">"),
           u"text/html; charset=utf-8");
  blog.Run(u"");
  EXPECT_EQ(blog.fragments, std::vector<String>{u"<div class=\"articalContent\"><img src=\"http://p/1.jpg\"/>"});
  EXPECT_EQ(blog.logLines, std::vector<String>{u"1 标题"});
  // The row links the name the article was saved under.
  EXPECT_EQ(blog.index, IndexHeader(u"Ann", kStamp) + IndexRow(u"a1", u"file 1 标题", u"1 标题") + IndexFooter());

  // A home page without the list tab: the run ends before it writes anything.
  TTracingBlog wrongName;
  wrongName.Put(kHome, "<html>no tabs</html>", u"text/html");
  EXPECT_EQ(ToUtf8(wrongName.Run(u"")), "home error");
  EXPECT_EQ(wrongName.index, "");
}
