// The HTTP client: URLs, requests, answers by length, chunks and close,
// charsets, cookies, redirects, failures and the whole-answer bound.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <thread>

#include "platform/core/HttpCharset.h"
#include "platform/core/HttpClient.h"
#include "platform/core/HttpErrors.h"

using namespace qv;

namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.what();
  }
  return "(no error)";
}

// Feeds the whole text in pieces of the given size.
THttpResponseParser Parse(std::string_view bytes, size_t piece, bool closeAtEnd = true) {
  THttpResponseParser p;
  bool done = false;
  for (size_t i = 0; i < bytes.size() && !done; i += piece) done = p.Feed(bytes.data() + i, std::min(piece, bytes.size() - i));
  if (!done && closeAtEnd) p.FinishAtClose();
  return p;
}

}  // namespace

TEST(HttpUrl, AcceptsOnlyHttpWithAUsableHost) {
  THttpUrl u = ParseHttpUrl(u"  HTTP://Blog.Example.com:8080/s/a b.html?x=1#frag \r\n");
  EXPECT_EQ(u.host, u"blog.example.com");
  EXPECT_EQ(u.port, 8080);
  EXPECT_EQ(u.path, u"/s/a b.html?x=1");
  EXPECT_EQ(u.ToString(), u"http://blog.example.com:8080/s/a b.html?x=1");
  EXPECT_EQ(ParseHttpUrl(u"http://h").path, u"/");
  EXPECT_EQ(ParseHttpUrl(u"http://h?q").path, u"/?q");
  EXPECT_EQ(ParseHttpUrl(u"http://h:/x").port, 80);
  EXPECT_EQ(ParseHttpUrl(u"http://h/a\r\nb").path, u"/ab");  // line breaks inside are dropped

  THttpUrl out;
  for (const char16_t* bad : {u"", u".html", u"1.html", u"https://h/", u"ftp://h/", u"javascript:alert(1)", u"//h/x",
                              u"http:/h/x", u"http:///x", u"http://user@h/", u"http://h:0/", u"http://h:65536/",
                              u"http://h:8a/", u"http://[::1]/", u"http://h\u00e9/", u"http://h x/"}) {
    EXPECT_FALSE(TryParseHttpUrl(bad, out)) << ToUtf8(bad);
  }
  // The message names the address; the empty prefix of a failed run shows as "1.html".
  EXPECT_EQ(ErrorOf([] { ParseHttpUrl(u"1.html"); }),
            "Cannot request \"1.html\": only http:// addresses can be requested.");
}

TEST(HttpUrl, ResolvesRedirectTargets) {
  const String base = u"http://h/a/b/c?q=1";
  EXPECT_EQ(ResolveReference(base, u"http://other:81/x"), u"http://other:81/x");
  EXPECT_EQ(ResolveReference(base, u"//other/x"), u"http://other/x");
  EXPECT_EQ(ResolveReference(base, u"/x/./y/../z"), u"http://h/x/z");
  EXPECT_EQ(ResolveReference(base, u"d"), u"http://h/a/b/d");
  EXPECT_EQ(ResolveReference(base, u"../d?r"), u"http://h/a/d?r");
  EXPECT_EQ(ResolveReference(base, u"../../../../d"), u"http://h/d");
  EXPECT_EQ(ResolveReference(base, u"?r"), u"http://h/a/b/c?r");
  EXPECT_EQ(ResolveReference(base, u""), u"http://h/a/b/c?q=1");
  EXPECT_EQ(ResolveReference(u"http://h", u"x"), u"http://h/x");
}

TEST(HttpUrl, RequestTargetCarriesNothingUnsafe) {
  EXPECT_EQ(EncodeRequestTarget(u"/s/blog_1.html?a=b&c=%41"), "/s/blog_1.html?a=b&c=%41");
  EXPECT_EQ(EncodeRequestTarget(u"/a b\"<>\\^`{|}"), "/a%20b%22%3C%3E%5C%5E%60%7B%7C%7D");
  EXPECT_EQ(EncodeRequestTarget(u"/\u7528\u6237"), "/%E7%94%A8%E6%88%B7");
  EXPECT_EQ(EncodeRequestTarget(u"/100%/%zz/%4"), "/100%25/%25zz/%254");
  EXPECT_EQ(EncodeRequestTarget(u"/x\r\nHost: evil\x01"), "/x%0D%0AHost:%20evil%01");
  const std::string once = EncodeRequestTarget(u"/a b/%E7");
  EXPECT_EQ(EncodeRequestTarget(FromUtf8(once)), once);
}

TEST(HttpRequest, HeadersAsTheClientSendsThem) {
  EXPECT_EQ(BuildGetRequest(ParseHttpUrl(u"http://h:8080/p q"), u"", u""),
            "GET /p%20q HTTP/1.1\r\nHost: h:8080\r\nAccept: text/html, */*\r\nAccept-Encoding: identity\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\nConnection: close\r\n\r\n");
  const std::string r = BuildGetRequest(ParseHttpUrl(u"http://h/brenlow"), u"http://h/brenlow?key=QuillvaultBackUp\r\nX: 1",
                                        u"a=1; b=\u00e92\r\nX: 2");
  EXPECT_NE(r.find("\r\nHost: h\r\n"), std::string::npos);  // port 80 is not written
  EXPECT_NE(r.find("\r\nReferer: http://h/brenlow?key=QuillvaultBackUp%0D%0AX:%201\r\n"), std::string::npos);
  EXPECT_NE(r.find("\r\nCookie: a=1; b=\xE9" "2X: 2\r\n"), std::string::npos);
  EXPECT_EQ(r.find("\r\nX:"), std::string::npos);
}

TEST(HttpResponse, BodiesByLengthChunksAndClose) {
  const std::string byLength = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nX-A: 1\r\n\r\nhelloEXTRA";
  const std::string chunked =
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3;ext=1\r\nhel\r\n2\r\nlo\r\n0\r\nTrailer: x\r\n\r\n";
  const std::string toClose = "HTTP/1.0 200 OK\nContent-Type: text/html\n\nhello";
  for (size_t piece : {1u, 2u, 7u, 1000u}) {
    for (const std::string* text : {&byLength, &chunked, &toClose}) {
      THttpResponseParser p = Parse(*text, piece);
      EXPECT_TRUE(p.Done());
      EXPECT_EQ(p.StatusCode(), 200);
      EXPECT_EQ(p.Body(), "hello") << *text << " in pieces of " << piece;
    }
  }
  THttpResponseParser p = Parse(byLength, 3, false);
  EXPECT_EQ(p.StatusLine(), u"HTTP/1.1 200 OK");
  EXPECT_EQ(HeaderValue(p.Headers(), u"x-a"), u"1");
  // Interim answers are skipped; 204 and 304 have no body.
  EXPECT_EQ(Parse("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", 4).Body(), "x");
  EXPECT_TRUE(Parse("HTTP/1.1 304 Not Modified\r\n\r\n", 100, false).Done());
}

TEST(HttpResponse, CutOffOrMalformedAnswersAreErrors) {
  // A body shorter than announced must never pass for the whole page.
  EXPECT_EQ(ErrorOf([] { Parse("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello", 4); }),
            "The server closed the connection before the whole response arrived.");
  EXPECT_EQ(ErrorOf([] { Parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel", 4); }),
            "The server closed the connection before the whole response arrived.");
  EXPECT_EQ(ErrorOf([] { Parse("", 1); }), "The server closed the connection without answering.");
  for (const char* bad : {"<html>hello</html>\r\n", "HTTP/1.1 20 OK\r\n", "HTTP/1.1 2000 OK\r\n", "HTTP/1.1 600 X\r\n",
                          "HTTP/1.1 101 Switching\r\n",
                          "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n",
                          "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n",
                          "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n",
                          "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n",
                          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
                          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n"}) {
    EXPECT_THROW(Parse(bad, 3), EHttpProtocolError) << bad;
  }
  // Bounded lines, header blocks and bodies.
  THttpLimits small;
  small.maxLine = 64;
  small.maxHeaderBytes = 200;
  small.maxBody = 10;
  auto feed = [&](const std::string& text) {
    THttpResponseParser p(small);
    p.Feed(text.data(), text.size());
    p.FinishAtClose();
  };
  EXPECT_THROW(feed("HTTP/1.1 200 OK\r\nX: " + std::string(100, 'a')), EHttpProtocolError);  // no line end yet
  EXPECT_THROW(feed("HTTP/1.1 200 OK\r\n" + std::string(20, '\n') + std::string(10, 'x') + std::string(200, '\n')),
               EHttpProtocolError);
  std::string many = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 20; ++i) many += "X: 1234567890\r\n";
  EXPECT_THROW(feed(many), EHttpProtocolError);
  EXPECT_THROW(feed("HTTP/1.1 200 OK\r\n\r\n" + std::string(11, 'x')), EHttpProtocolError);
  EXPECT_THROW(feed("HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\n"), EHttpProtocolError);
  EXPECT_THROW(feed("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n6\r\nxxxxxx\r\n6\r\nxxxxxx\r\n"),
               EHttpProtocolError);
  // Chunk-size lines count as body: long extensions on tiny chunks run out.
  std::string chunks = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 3; ++i) chunks += "1;" + std::string(40, 'e') + "\r\nx\r\n";
  EXPECT_THROW(feed(chunks + "0\r\n\r\n"), EHttpProtocolError);
  EXPECT_EQ(Parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;ext\r\nx\r\n0\r\n\r\n", 2).Body(), "x");
}

TEST(HttpCharset, DeclaredCharsetDecidesAndNeverThrows) {
  EXPECT_EQ(CharsetFromContentType(u"text/html; Charset=\"GBK\""), u"gbk");
  EXPECT_EQ(CharsetFromContentType(u"text/html;foo=bar; charset = utf-8 ;x"), u"utf-8");
  EXPECT_EQ(CharsetFromContentType(u"text/html"), u"");
  EXPECT_EQ(DecodeText("\xE5\x8D\x9A\xFF", u""), u"\u535A\uFFFD");
  EXPECT_EQ(DecodeText("\xE9t\xE9", u"iso-8859-1"), u"\u00E9t\u00E9");
  EXPECT_EQ(DecodeText("\xE9t\xE9", u"x-unknown"), u"\uFFFDt\uFFFD");
  // GBK without a platform decoder: ASCII survives, each character becomes
  // one U+FFFD, and a trail byte in the ASCII range never leaks out.
  EXPECT_EQ(DecodeText("<a href=\"x\">\xB2\xA9\xCE\xC4\x81\x40</a>", u"gbk"), u"<a href=\"x\">\uFFFD\uFFFD\uFFFD</a>");
  EXPECT_EQ(DecodeText("a\x81\x30\x81\x30z", u"gb18030"), u"a\uFFFDz");
  SetCodePageDecoder([](unsigned codePage, std::string_view bytes, String& text) {
    text = u"cp" + IntToStr(codePage) + u":" + IntToStr(static_cast<int64_t>(bytes.size()));
    return codePage == 936;
  });
  EXPECT_EQ(DecodeText("\xB2\xA9", u"GB2312"), u"cp936:2");
  EXPECT_EQ(DecodeText("\xE5\x8D\x9A", u"utf-8"), u"\u535A");  // UTF-8 never goes to the platform
  EXPECT_EQ(DecodeText("\xB2\xA9", u"big5"), u"\uFFFD");       // declined: fallback
  SetCodePageDecoder(nullptr);
}

TEST(HttpCookies, SentBackByDomainPathAndLifetime) {
  THttpCookieJar jar;
  const THttpUrl home = ParseHttpUrl(u"http://blog.example.com/user/home");
  const int64_t now = 1'700'000'000;
  EXPECT_TRUE(jar.Store(home, u"sid=abc; Path=/", now));
  EXPECT_TRUE(jar.Store(home, u"local=1", now));  // default path /user
  EXPECT_TRUE(jar.Store(home, u"wide=2; Domain=.example.com; Path=/s", now));
  EXPECT_TRUE(jar.Store(home, u"gone=3; Max-Age=0", now));
  EXPECT_TRUE(jar.Store(home, u"old=4; Expires=Wed, 09 Jun 2021 10:18:14 GMT", now));
  EXPECT_TRUE(jar.Store(home, u"later=5; expires=Fri, 01-Jan-2100 00:00:00 GMT", now));
  EXPECT_FALSE(jar.Store(home, u"evil=1; Domain=other.com", now));
  EXPECT_FALSE(jar.Store(home, u"tld=1; Domain=com", now));
  EXPECT_FALSE(jar.Store(home, u"novalue", now));
  EXPECT_FALSE(jar.Store(home, u"x=1\r\nHost: evil", now));

  // Longest path first; "later" has the default path /user too.
  EXPECT_EQ(jar.CookieHeader(home, now), u"local=1; later=5; sid=abc");
  EXPECT_EQ(jar.CookieHeader(ParseHttpUrl(u"http://blog.example.com/s/blog_1.html"), now), u"wide=2; sid=abc");
  EXPECT_EQ(jar.CookieHeader(ParseHttpUrl(u"http://img.example.com/s/x"), now), u"wide=2");
  EXPECT_EQ(jar.CookieHeader(ParseHttpUrl(u"http://blog.example.com/username"), now), u"sid=abc");
  EXPECT_EQ(jar.CookieHeader(ParseHttpUrl(u"http://example.org/"), now), u"");

  // Replacing and deleting by name, domain and path.
  jar.Store(home, u"sid=new; Path=/", now);
  jar.Store(home, u"later=; Max-Age=-1", now);
  EXPECT_EQ(jar.CookieHeader(home, now), u"local=1; sid=new");
  EXPECT_EQ(jar.CookieHeader(home, now + 400LL * 365 * 86400), u"local=1; sid=new");

  int64_t t;
  EXPECT_TRUE(ParseCookieDate(u"Sun, 06 Nov 1994 08:49:37 GMT", t));
  EXPECT_EQ(t, 784111777);
  EXPECT_TRUE(ParseCookieDate(u"Sunday, 06-Nov-94 08:49:37 GMT", t));
  EXPECT_EQ(t, 784111777);
  EXPECT_FALSE(ParseCookieDate(u"tomorrow", t));
  EXPECT_FALSE(ParseCookieDate(u"Sun, 32 Nov 1994 08:49:37 GMT", t));
}

namespace {

// Answers requests from a table of canned responses, handing them out a few
// bytes at a time, and records what was sent.
class TFakeTransport : public THttpTransport {
 public:
  std::map<std::string, std::string> answers;  // "host:port GET-line target" -> response
  std::vector<std::string> sent;
  int connections = 0, open = 0;
  bool endless = false;  // once the answer is out, more body for ever
  int endlessPieces = 0;
  std::chrono::milliseconds longestWait{0};

  void Connect(const String& host, uint16_t port) override {
    ++connections;
    ++open;
    where_ = ToUtf8(host) + ":" + std::to_string(port);
    if (host == u"down") throw ESocketError(u"Socket Error # 10061\r\nConnection refused.");
  }
  void Send(const void* data, size_t size) override {
    const std::string req(static_cast<const char*>(data), size);
    sent.push_back(req);
    const std::string target = req.substr(4, req.find(' ', 4) - 4);
    auto it = answers.find(where_ + " " + target);
    pending_ = it == answers.end() ? "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n" : it->second;
  }
  size_t Receive(void* buffer, size_t size, std::chrono::milliseconds maxWait) override {
    longestWait = std::max(longestWait, maxWait);
    if (pending_.empty() && endless) {
      // A body that never ends, a few bytes at a time; given up on after a
      // while, so that a client without a bound fails instead of hanging.
      if (++endlessPieces > 3000) return 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      pending_ = "<p>more</p>";
    }
    const size_t n = std::min<size_t>({size, 5, pending_.size()});
    std::memcpy(buffer, pending_.data(), n);
    pending_.erase(0, n);
    return n;
  }
  void Disconnect() noexcept override { open = 0; }

 private:
  std::string where_, pending_;
};

std::string Redirect(int code, const std::string& location) {
  return "HTTP/1.1 " + std::to_string(code) + " Moved\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n";
}

}  // namespace

TEST(HttpClient, FollowsRedirectsAndKeepsCookies) {
  TFakeTransport net;
  net.answers["h:80 /user"] = "HTTP/1.1 302 Found\r\nLocation: /home/user\r\nSet-Cookie: sid=1; Path=/\r\n\r\n";
  net.answers["h:80 /home/user"] = Redirect(301, "http://h:8080/x/../page%201");
  net.answers["h:8080 /page%201"] = Redirect(303, "list?p=1");
  net.answers["h:8080 /list?p=1"] = Redirect(307, "http://h/final");
  net.answers["h:80 /final"] =
      "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\nTransfer-Encoding: chunked\r\n\r\n"
      "2\r\n\xE9t\r\n0\r\n\r\n";
  THttpClient http(net);
  http.SetHandleRedirects(true);
  const THttpResponse r = http.Get(u"http://h/user");
  EXPECT_EQ(r.url, u"http://h/final");
  EXPECT_EQ(r.Text(), u"\u00E9t");
  ASSERT_EQ(net.sent.size(), 5u);
  EXPECT_EQ(net.sent[0].find("Cookie:"), std::string::npos);
  EXPECT_NE(net.sent[1].find("\r\nCookie: sid=1\r\n"), std::string::npos);
  EXPECT_NE(net.sent[2].find("\r\nCookie: sid=1\r\n"), std::string::npos);  // cookies ignore the port
  EXPECT_NE(net.sent[4].find("\r\nCookie: sid=1\r\n"), std::string::npos);
  EXPECT_EQ(net.open, 0);
}

TEST(HttpClient, FailuresBecomeErrorsNamingTheAddress) {
  TFakeTransport net;
  THttpClient http(net);
  http.SetHandleRedirects(true);
  net.answers["h:80 /missing"] = "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!";
  try {
    http.Get(u"http://h/missing");
    FAIL();
  } catch (const EHttpStatusError& e) {
    EXPECT_EQ(e.Message(), u"HTTP/1.1 404 Not Found.\r\nAddress: http://h/missing.");
    EXPECT_EQ(e.StatusCode(), 404);
  }
  EXPECT_EQ(net.open, 0);

  // Fifteen redirects are followed, the sixteenth is an error.
  for (int i = 0; i < 16; ++i) net.answers["h:80 /r" + std::to_string(i)] = Redirect(302, "/r" + std::to_string(i + 1));
  net.answers["h:80 /r15"] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  EXPECT_EQ(http.GetBytes(u"http://h/r0"), "ok");
  net.answers["h:80 /r15"] = Redirect(302, "/r16");
  net.answers["h:80 /hop"] = Redirect(302, "/missing");
  net.answers["h:80 /away"] = Redirect(301, "http://down:81/x");
  // A page may redirect only to plain http.
  net.answers["h:80 /tls"] = Redirect(301, "https://h/");
  // A redirect other than 301, 302, 303 and 307 is not followed.
  net.answers["h:80 /perm"] = Redirect(308, "/r15");
  // Compressed bytes would be saved as garbage.
  net.answers["h:80 /gz"] = "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 1\r\n\r\nx";
  // Cut off mid-body: an error, not a short page.
  net.answers["h:80 /cut"] = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this";
  // The message as the error box shows it, then the address asked for and
  // the redirect target that failed when it is another one.
  const struct {
    const char16_t* url;
    const char* message;
  } failures[] = {
      {u"http://down:8080/", "Socket Error # 10061\r\nConnection refused.\r\nHost down, port 8080.\r\n"
                             "Address: http://down:8080/."},
      {u"http://h/away", "Socket Error # 10061\r\nConnection refused.\r\nHost down, port 81.\r\n"
                         "Address: http://h/away, redirected to http://down:81/x."},
      {u"http://h/hop", "HTTP/1.1 404 Not Found.\r\nAddress: http://h/hop, redirected to http://h/missing."},
      {u"http://h/r0", "Too many redirects (more than 15).\r\nAddress: http://h/r0."},
      {u"http://h/tls", "Cannot request \"https://h/\": only http:// addresses can be requested.\r\n"
                        "Address: http://h/tls."},
      {u"http://h/perm", "HTTP/1.1 308 Moved.\r\nAddress: http://h/perm."},
      {u"http://h/gz", "The server sent the page in an unsupported content coding \"gzip\".\r\nAddress: http://h/gz."},
      {u"http://h/cut", "The server closed the connection before the whole response arrived.\r\n"
                        "Address: http://h/cut."},
  };
  for (const auto& f : failures) {
    EXPECT_EQ(ErrorOf([&] { http.Get(f.url); }), f.message) << ToUtf8(f.url);
    EXPECT_EQ(net.open, 0) << ToUtf8(f.url);  // closed after a failed connect as well
  }
  EXPECT_THROW(http.Get(u"http://h/cut"), EHttpProtocolError);
  // Without redirect handling a 3xx is a failed status like any other.
  http.SetHandleRedirects(false);
  EXPECT_EQ(ErrorOf([&] { http.Get(u"http://h/tls"); }), "HTTP/1.1 301 Moved.\r\nAddress: http://h/tls.");
}

TEST(HttpClient, AnAnswerThatNeverEndsStopsAtTheWholeAnswerBound) {
  TFakeTransport net;
  net.answers["h:80 /a"] = "HTTP/1.1 200 OK\r\n\r\n<html>";  // runs to the close
  net.answers["h:80 /b"] = Redirect(302, "/a");
  net.endless = true;
  THttpClient http(net);
  http.SetHandleRedirects(true);
  THttpLimits limits;
  limits.wholeAnswerTime = std::chrono::milliseconds(100);
  http.SetLimits(limits);
  for (const char16_t* url : {u"http://h/a", u"http://h/b"}) {
    net.endlessPieces = 0;
    net.longestWait = {};
    EXPECT_TRUE(ErrorOf([&] { http.Get(url); }).starts_with("Socket Error # 10060\r\nConnection timed out.\r\nHost h, port 80.\r\n"))
        << ToUtf8(url);
    // No wait for more bytes reaches past the bound.
    EXPECT_LE(net.longestWait, limits.wholeAnswerTime) << ToUtf8(url);
    EXPECT_EQ(net.open, 0);
  }
}
