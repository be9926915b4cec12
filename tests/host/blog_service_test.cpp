// The readers and the HTTP client over real sockets against the substitute
// blog service (tools/blogsvc.py): chunked bodies, GBK list pages, relative
// and chained redirects, a cookie the service insists on, and its faults.
#include <gtest/gtest.h>

#include <netdb.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/PageReaders.h"
#include "platform/core/Format.h"
#include "platform/core/HttpErrors.h"

extern char** environ;

using namespace qv;

namespace {

// The blocking loop a platform transport is: connect, send, receive.
class TPosixTransport : public THttpTransport {
 public:
  void Connect(const String& host, uint16_t port) override {
    addrinfo hints{}, *found = nullptr;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(ToUtf8(host).c_str(), std::to_string(port).c_str(), &hints, &found) != 0) Raise(EHOSTUNREACH);
    fd_ = socket(found->ai_family, SOCK_STREAM, 0);
    const int rc = fd_ < 0 ? -1 : connect(fd_, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (rc != 0) Raise(errno);
  }
  void Send(const void* data, size_t size) override {
    if (send(fd_, data, size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) Raise(errno);
  }
  size_t Receive(void* buffer, size_t size, std::chrono::milliseconds maxWait) override {
    // A stalled test must not hang the suite.
    const auto wait = std::min(maxWait, std::chrono::milliseconds(5000));
    timeval tv{static_cast<time_t>(wait.count() / 1000), static_cast<suseconds_t>(wait.count() % 1000 * 1000)};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    const ssize_t n = recv(fd_, buffer, size, 0);
    if (n < 0) Raise(errno);
    return static_cast<size_t>(n);
  }
  void Disconnect() noexcept override {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  ~TPosixTransport() override { Disconnect(); }

 private:
  [[noreturn]] static void Raise(int code) { throw ESocketError(Format(u"Socket Error # %d\r\n%s", {code, FromUtf8(strerror(code))})); }
  int fd_ = -1;
};

class BlogService : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> args) {
    const std::string svc = std::string(QV_TEST_DATA) + "/../../tools/blogsvc.py";
    if (access(svc.c_str(), R_OK) != 0 || system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
    args.insert(args.begin(), {"python3", svc, "--port", "0"});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    ASSERT_EQ(posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    close(out[0]);
    ASSERT_EQ(line.rfind("listening on 127.0.0.1:", 0), 0u) << line;
    host_ = u"127.0.0.1:" + FromUtf8(line.substr(line.rfind(':') + 1));
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  String Url(StringView path) { return u"http://" + host_ + String(path); }

  pid_t pid_ = 0;
  String host_;
  TPosixTransport net_;
};

}  // namespace

TEST_F(BlogService, ReadsAWholeBlogThroughEveryDetour) {
  Start({"--articles", "25", "--per-page", "10", "--user", "Ann", "--transfer", "chunked", "--list-charset", "gbk",
         "--titles", "awkward", "--redirect-home", "--redirect-articles", "2", "--require-cookie"});
  THttpClient http(net_);
  http.SetHandleRedirects(true);
  const String first = GetFirstMulu(http, host_, u"Ann");
  ASSERT_TRUE(first.ends_with(u"_0_1.html")) << ToUtf8(first);
  const String prefix = first.substr(0, first.size() - 6);
  std::vector<String> urls;
  for (int page = 1;; ++page) {
    auto list = GetURLS(http, prefix + IntToStr(page) + u".html");
    if (list->Count() == 0) break;
    for (int i = 0; i < list->Count(); ++i) urls.push_back((*list)[i]);
  }
  ASSERT_EQ(urls.size(), 25u);
  EXPECT_EQ(urls.front(), Url(u"/s/blog_1025.html"));
  String title;
  String content = GetContent(http, urls[24], title);  // article 1
  EXPECT_EQ(title, u"C#: <Why>? a/b\\c*\"d\"|e");
  ReplaceContent(content, u"img.example.com");
  EXPECT_TRUE(content.starts_with(u"<div class=\"articalContent\""));
  EXPECT_NE(content.find(u"<img src =\"http://img.example.com/pic/1_1.jpg\""), String::npos);
  GetContent(http, urls[23], title);
  EXPECT_EQ(title, u"带");

  const std::string log = http.GetBytes(Url(u"/_ctl/log"));
  EXPECT_NE(log.find("[\"User-Agent\", \"Mozilla/3.0 (compatible; Indy Library)\"]"), std::string::npos);
  EXPECT_NE(log.find("[\"Accept\", \"text/html, */*\"]"), std::string::npos);
  EXPECT_EQ(log.find("Referer"), std::string::npos);
  EXPECT_NE(log.find("[\"Cookie\", \"qvsid="), std::string::npos);
  EXPECT_NE(log.find("\"target\": \"/s/article_1001_1.html\""), std::string::npos);  // the hops were taken
}

TEST_F(BlogService, FaultsEndInTheRightErrorsNamingThePage) {
  Start({"--articles", "9", "--user", "Ann", "--fault", "article:3=status:500", "--fault", "article:4=truncate", "--fault",
         "article:5=reset", "--fault", "article:6=redirect-loop", "--fault", "article:7=close"});
  THttpClient http(net_);
  http.SetHandleRedirects(true);
  String title;
  EXPECT_THROW(GetContent(http, Url(u"/s/blog_1003.html"), title), EHttpStatusError);
  EXPECT_THROW(GetContent(http, Url(u"/s/blog_1004.html"), title), EHttpProtocolError);
  EXPECT_THROW(GetContent(http, Url(u"/s/blog_1005.html"), title), ESocketError);
  EXPECT_THROW(GetContent(http, Url(u"/s/blog_1006.html"), title), EHttpProtocolError);
  EXPECT_THROW(GetContent(http, Url(u"/s/blog_1007.html"), title), EHttpProtocolError);
  EXPECT_FALSE(GetContent(http, Url(u"/s/blog_1008.html"), title).empty());
  // Each message as the error box showed it before, then the page's address.
  const struct {
    const char16_t* page;
    const char16_t* first;
  } faults[] = {
      {u"/Anne", u"HTTP/1.1 404 Not Found.\r\n"},  // a user name the service does not know
      {u"/s/blog_1003.html", u"HTTP/1.1 500 Internal Server Error.\r\n"},
      {u"/s/blog_1004.html", u"The server closed the connection before the whole response arrived.\r\n"},
      {u"/s/blog_1005.html", u"Socket Error # "},
      {u"/s/blog_1006.html", u"Too many redirects (more than 15).\r\n"},
      {u"/s/blog_1007.html", u"The server closed the connection without answering.\r\n"},
  };
  for (const auto& f : faults) {
    String message;
    try {
      http.Get(Url(f.page));
    } catch (const Exception& e) {
      message = e.Message();
    }
    EXPECT_TRUE(message.starts_with(f.first)) << ToUtf8(message);
    EXPECT_TRUE(message.ends_with(u"\r\nAddress: " + Url(f.page) + u".")) << ToUtf8(message);
  }
}

TEST_F(BlogService, AnAnswerThatTricklesEndsAsASocketTimeOut) {
  // One byte every 20 ms: the page would take seconds, far below the rate.
  Start({"--articles", "3", "--fault", "article:2=trickle:20"});
  THttpClient http(net_);
  THttpLimits limits;
  limits.lowSpeedTime = std::chrono::milliseconds(300);
  http.SetLimits(limits);
  String title;
  try {
    GetContent(http, Url(u"/s/blog_1002.html"), title);
    ADD_FAILURE() << "the trickle was read to its end";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.Message(), u"Socket Error # 10060\r\nConnection timed out.\r\nHost 127.0.0.1, port " + host_.substr(10) +
                               u".\r\nAddress: " + Url(u"/s/blog_1002.html") + u".");
  }
  EXPECT_FALSE(GetContent(http, Url(u"/s/blog_1003.html"), title).empty());  // a whole answer at once passes
}
