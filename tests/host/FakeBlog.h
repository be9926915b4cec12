// A blog service in memory for the tests of the page readers and the run.
#pragma once
#include <map>

#include "platform/core/HttpClient.h"
#include "platform/core/HttpErrors.h"

namespace qv::test {

// Serves what was put, and a 404 for everything else.
class TFakeGetter : public THttpGetter {
 public:
  std::map<String, THttpResponse> pages;
  THttpResponse Get(StringView url) override {
    auto it = pages.find(String(url));
    if (it == pages.end()) throw EHttpStatusError(404, u"HTTP/1.1 404 Not Found");
    return it->second;
  }
  void Put(StringView url, std::string body, StringView contentType) {
    THttpResponse r;
    r.statusCode = 200;
    r.headers.push_back({u"Content-Type", String(contentType)});
    r.body = std::move(body);
    pages[String(url)] = r;
  }
};

// A home page whose list tab leads to http://blog.example.com/s/list_7_0_1.html.
inline String HomePage(StringView homeUrl) {
  return u"<html><a href=\"http://blog.example.com/\">service</a><div class=\"blognavInfo\"><span><a href=\"" +
         String(homeUrl) + u"\" class=\"on\">首页</a></span><span><a href=\"http://blog.example.com/s/list_7_0_1.html\">"
         u"博文目录</a></span><span><a href=\"http://blog.example.com/s/photo.html\">图片</a></span></div>";
}

}  // namespace qv::test
