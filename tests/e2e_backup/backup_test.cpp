// Backups by the real program against the substitute blog service: the user
// types a name, presses the button, and the output folder is compared with
// what the run must leave there.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

// --- the service --------------------------------------------------------------

uint16_t ServicePort() {
  std::ifstream f(std::filesystem::path(WinePath(QV_BLOGSVC_DIR "/port")));
  int port = 0;
  f >> port;
  return static_cast<uint16_t>(port);
}

std::string RawHttp(const std::string& request) {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(ServicePort());
  std::string reply;
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buf[4096];
    int n;
    while ((n = recv(s, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
  }
  closesocket(s);
  return reply;
}

std::string Control(const std::string& path, const std::string& json = std::string()) {
  const std::string head = (json.empty() ? "GET " : "POST ") + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
  if (json.empty()) return RawHttp(head + "\r\n");
  return RawHttp(head + "Content-Type: application/json\r\nContent-Length: " + std::to_string(json.size()) + "\r\n\r\n" +
                 json);
}

// Every setting back to a known blog, then the test's own.
void ResetService(const std::string& overrides = "{}") {
  Control("/_ctl/config",
          R"({"articles": 25, "per_page": 10, "user": null, "image_host": "img.example.com",
              "unknown_user": "404", "list_charset": "utf-8", "titles": "plain", "past_end": "empty", "transfer": "length",
              "redirect_home": false, "redirect_articles": 0, "require_cookie": false, "faults": []})");
  Control("/_ctl/config", overrides);
  Control("/_ctl/log?clear=1");
}

// --- the program --------------------------------------------------------------

struct Session {
  ProgramUnderTest program;
  HWND form = nullptr;
  HWND memo = nullptr;
  HWND edit = nullptr;
  HWND button = nullptr;

  // env: settings of the program's environment beside the service's hosts;
  // the program's folder goes under parent when one is given.
  explicit Session(const std::map<std::wstring, std::wstring>& env = {}, const std::wstring& parent = std::wstring())
      : program(L"backup", QuillvaultExe(), parent) {
    Open(env);
  }
  // A copy of the program beside another session's, as a user who copies
  // the program within its folder starts both.
  Session(const std::wstring& exeName, const Session& beside) : program(beside.program, exeName) { Open({}); }

  // Starts the program with env beside the service's hosts and finds its
  // window.
  void Open(const std::map<std::wstring, std::wstring>& env) {
    const std::wstring host = L"127.0.0.1:" + std::to_wstring(ServicePort());
    program.SetEnv(L"QUILLVAULT_BLOG_HOST", host);
    program.SetEnv(L"QUILLVAULT_AUTHOR_HOST", host);
    program.SetEnv(L"QUILLVAULT_IMAGE_HOST", L"img.example.com");
    for (const auto& [name, value] : env) program.SetEnv(name, value);
    CloseHandle(CreateFileW((program.Dir() + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    program.Start();
    form = program.WaitForWindow(L"TForm1", 20000);
    if (!form) return;
    memo = FindChild(form, L"TMemo");
    edit = FindChild(form, L"TEdit");
    button = FindChild(form, L"TButton");
  }

  std::wstring Log() { return WindowText(memo); }

  // Types the name and presses the button.
  void Press(const std::wstring& user) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user.c_str()));
    PostMessageW(button, BM_CLICK, 0, 0);
  }
  // The same, then true once "备份完成！" is logged.
  bool Backup(const std::wstring& user, int timeoutMs = 60000) {
    const size_t done = Count(Log(), L"备份完成！");
    Press(user);
    return WaitUntil([&] { return Count(Log(), L"备份完成！") > done; }, timeoutMs);
  }

  static size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  std::string Read(const std::wstring& relative) {
    std::ifstream f(std::filesystem::path(program.Dir() + L"\\" + relative), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  void Write(const std::wstring& relative, const std::string& bytes) {
    std::ofstream(std::filesystem::path(program.Dir() + L"\\" + relative), std::ios::binary) << bytes;
  }
  bool Exists(const std::wstring& relative) {
    return GetFileAttributesW((program.Dir() + L"\\" + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Everything in the user's html folder, not only the article files.
  std::vector<std::wstring> ArticleFiles(const std::wstring& user) { return Files(user + L"\\html"); }
  std::vector<std::wstring> Files(const std::wstring& relative) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((program.Dir() + L"\\" + relative + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..")) names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::wstring LastUrl(const std::wstring& user) { return ConfigValue(user, L"lastURL"); }
  std::wstring ConfigValue(const std::wstring& section, const std::wstring& key) {
    wchar_t buf[1024] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<none>", buf, 1024, (program.Dir() + L"\\config.ini").c_str());
    return buf;
  }
  // The error box the run ended with: its text, and it is closed.
  std::wstring TakeErrorBox() {
    HWND box = program.WaitForWindow(L"#32770", 30000);
    if (!box) return L"<no box>";
    const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    return text;
  }
};

std::string Url(int k) { return "http://127.0.0.1:" + std::to_string(ServicePort()) + "/s/blog_" + std::to_string(1000 + k) + ".html"; }

// The fragment runs from the body's start marker up to the end marker, and
// the lazy-load placeholder has become a plain src.
std::string ExpectedArticle(const std::string& numberedTitle, int k) {
  return "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
         "<head>\r\n"
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
         "<title>" + numberedTitle + "</title>\r\n"
         "</head>\r\n"
         "<body>\r\n"
         "<div class=\"articalContent\" id=\"articleBody\">\n"
         "<p>文章 " + std::to_string(k) + " 的正文。Body of article " + std::to_string(k) + ".</p>\n"
         "<p><img src =\"http://img.example.com/pic/" + std::to_string(k) + "_1.jpg\" width=\"500\" /></p>\n"
         "</div>\n\r\n</body>\r\n</html>";
}

// file: the article file's name without ".html" when it differs from the title.
std::string ExpectedRow(int k, const std::string& numberedTitle, const std::string& file = std::string()) {
  return "<tr><td><a href=\"" + Url(k) + "\" target=_blank>[原网页]</a></td><td><a href=\"html/" +
         (file.empty() ? numberedTitle : file) + ".html\" target=_blank>" + numberedTitle + "</a></td></tr>\r\n";
}

const std::string kIndexFooter = "</table>\r\n</body>\r\n</html>";

// One run's document of the index file, its stamp replaced by "STAMP".
std::string ExpectedIndex(const std::string& user, const std::string& rows) {
  return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
         "<title>" + user + "的博客</title>\r\n<style type=\"text/css\">\r\nbody{font-size: 12pt;}\r\n"
         "a{color: #000000;text-decoration : none;font-size: 10pt;}\r\n"
         "a:hover {color: red;text-decoration : underline;}\r\n</style>\r\n</head>\r\n<body>\r\n"
         "<h2>" + user + "的博客<h4>[备份时间：STAMP]</h4></h2>\r\n<table>\r\n" + rows + kIndexFooter;
}

std::string MaskStamps(std::string index) {
  return std::regex_replace(index, std::regex("\\[备份时间：[^\\]]+\\]"), "[备份时间：STAMP]");
}

std::string PlainTitle(int k) { return "第" + std::to_string(k) + "篇文章"; }

// What the error box says for a message: the application adds a full stop
// when the text does not end in one.
std::wstring BoxText(std::wstring message) {
  if (!message.empty() && message.back() > L'.') message += L'.';
  return message;
}

// The system's text for an error code, as a failure's message ends.
std::wstring SystemReason(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = text ? text : L"";
  LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) reason.pop_back();
  return reason;
}

// --- disks that refuse writes ---------------------------------------------------

// "Z:\a\b" -> "/a/b".
std::wstring UnixPath(std::wstring path) {
  path.erase(0, 2);
  for (auto& c : path) {
    if (c == L'\\') c = L'/';
  }
  return path;
}

// Runs a command of the Unix host and returns its exit status. Wine starts a
// Unix program as it starts a Windows one but cannot wait for it, so the
// shell that runs the command leaves the status in a file, which is awaited.
int RunUnix(const std::wstring& command) {
  const std::wstring status = WinePath(QV_E2E_DISK_DIR) + L"\\unix-status";
  std::filesystem::create_directories(std::filesystem::path(WinePath(QV_E2E_DISK_DIR)));
  DeleteFileW(status.c_str());
  const std::wstring file = UnixPath(status);
  std::wstring line = L"Z:\\bin\\sh -c \"" + command + L"; echo $? >" + file + L".new && /bin/mv " + file + L".new " + file + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  int code = -1;
  WaitUntil([&] { return static_cast<bool>(std::ifstream(std::filesystem::path(status)) >> code); }, 30000);
  return code;
}

// A file system of its own at a folder of the build tree (Wine shows the
// Unix root as drive Z:) for as long as the object lives. Mounting needs
// root, as the test machines run; where it is refused, Mounted() is false.
class Tmpfs {
 public:
  Tmpfs(const std::wstring& dir, const std::wstring& options) : unixDir_(UnixPath(dir)) {
    std::filesystem::create_directories(std::filesystem::path(dir));
    // One that a stopped test left goes first.
    RunUnix(L"/bin/mountpoint -q " + unixDir_ + L" && /bin/umount -l " + unixDir_);
    mounted_ = RunUnix(L"/bin/mount -t tmpfs -o " + options + L" quillvault-test " + unixDir_) == 0;
  }
  ~Tmpfs() {
    if (mounted_) RunUnix(L"/bin/umount -l " + unixDir_);
  }
  bool Mounted() const { return mounted_; }

 private:
  std::wstring unixDir_;
  bool mounted_ = false;
};

// Fills the disk of filler's folder with filler until pages 4 KiB pages
// (the unit in which tmpfs hands out room) are free.
void LeavePages(const std::wstring& filler, uint64_t pages) {
  ULARGE_INTEGER free{};
  GetDiskFreeSpaceExW(filler.substr(0, filler.find_last_of(L'\\')).c_str(), &free, nullptr, nullptr);
  uint64_t left = free.QuadPart - pages * 4096;
  HANDLE h = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::vector<char> block(1 << 16, 'f');
  DWORD put = 1;
  while (left && put) {
    WriteFile(h, block.data(), static_cast<DWORD>(std::min<uint64_t>(left, block.size())), &put, nullptr);
    left -= put;
  }
  CloseHandle(h);
}

// A file that takes no byte: a link to the Unix host's full device. Wine
// opens it but can neither see nor remove it.
void MakeFullFile(const std::wstring& path) { RunUnix(L"/bin/ln -s /dev/full " + UnixPath(path)); }
void RemoveFullFile(const std::wstring& path) { RunUnix(L"/bin/rm -f " + UnixPath(path)); }

}  // namespace

TEST(Backup, FirstRunSavesEveryPageUntilAPageRepeatsTheLast) {
  ResetService(R"({"articles": 23, "per_page": 10, "past_end": "repeat"})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"ann")) << Narrow(s.Log());

  std::string rows;
  for (int n = 1; n <= 23; ++n) {
    const int k = 24 - n;
    const std::string title = std::to_string(n) + " " + PlainTitle(k);
    rows += ExpectedRow(k, title);
    EXPECT_EQ(s.Read(L"ann\\html\\" + Widen(title) + L".html"), ExpectedArticle(title, k)) << title;
  }
  EXPECT_EQ(s.ArticleFiles(L"ann").size(), 23u);
  EXPECT_EQ(MaskStamps(s.Read(L"ann\\ann.html")), ExpectedIndex("ann", rows));
  EXPECT_EQ(Narrow(s.LastUrl(L"ann")), Url(23));
  EXPECT_NE(s.Log().find(L"1 第23篇文章\r\n2 第22篇文章\r\n"), std::wstring::npos);
  EXPECT_NE(s.Log().find(L"23 第1篇文章\r\n备份完成！\r\n"), std::wstring::npos);
  EXPECT_TRUE(IsWindowEnabled(s.button));
}

TEST(Backup, AnEmptyListPageEndsTheRunAndTheNextRunStopsAtTheLastArticle) {
  ResetService(R"({"articles": 20, "per_page": 10, "past_end": "empty"})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"bob"));
  EXPECT_EQ(s.ArticleFiles(L"bob").size(), 20u);
  const std::string first = s.Read(L"bob\\bob.html");

  // Three newer articles: the second run saves just those, numbered anew.
  Control("/_ctl/add?n=3");
  ASSERT_TRUE(s.Backup(L"bob"));
  EXPECT_EQ(Narrow(s.LastUrl(L"bob")), Url(23));
  const std::string rows = ExpectedRow(23, "1 第23篇文章") + ExpectedRow(22, "2 第22篇文章") + ExpectedRow(21, "3 第21篇文章");
  EXPECT_EQ(MaskStamps(s.Read(L"bob\\bob.html")), MaskStamps(first) + ExpectedIndex("bob", rows));
  EXPECT_EQ(s.ArticleFiles(L"bob").size(), 23u);

  // Nothing new: one more document with an empty table; the stop mark stays.
  ASSERT_TRUE(s.Backup(L"BOB"));  // the section is found whatever the letter case
  EXPECT_EQ(Narrow(s.LastUrl(L"bob")), Url(23));
  const std::string all = MaskStamps(s.Read(L"bob\\bob.html"));
  const std::string empty = ExpectedIndex("BOB", "");
  ASSERT_GE(all.size(), empty.size());
  EXPECT_EQ(all.substr(all.size() - empty.size()), empty);
}

TEST(Backup, AwkwardTitlesGiveSafeFileNamesAndKeepTheirTextElsewhere) {
  ResetService(R"({"articles": 3, "per_page": 10, "titles": ["a*b/c\\d:e?f\"g<h>i|j#k", "CON", ""]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"cat"));
  const auto files = s.ArticleFiles(L"cat");
  // Newest first: article 3 has the empty title, 2 is "CON", 1 the awkward one.
  EXPECT_TRUE(s.Exists(L"cat\\html\\1 .html"));
  EXPECT_TRUE(s.Exists(L"cat\\html\\2 CON.html"));
  EXPECT_TRUE(s.Exists(L"cat\\html\\3 abcdefg(h)ijSharpk.html")) << Narrow(files.empty() ? L"" : files[0]);
  EXPECT_NE(s.Log().find(L"3 a*b/c\\d:e?f\"g<h>i|j#k\r\n"), std::wstring::npos) << Narrow(s.Log());
  const std::string index = s.Read(L"cat\\cat.html");
  EXPECT_NE(index.find("html/3 abcdefg(h)ijSharpk.html\" target=_blank>3 a*b/c\\d:e?f\"g<h>i|j#k</a>"), std::string::npos);
}

TEST(Backup, GbkListPagesRedirectsAndCookiesAreHandled) {
  ResetService(R"({"articles": 12, "per_page": 5, "list_charset": "gbk", "redirect_home": true, "redirect_articles": 2, "require_cookie": true, "transfer": "chunked"})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"dan")) << Narrow(s.Log());
  EXPECT_EQ(s.ArticleFiles(L"dan").size(), 12u);
  EXPECT_TRUE(s.Exists(L"dan\\html\\1 第12篇文章.html"));
  EXPECT_NE(s.Read(L"dan\\dan.html").find(">1 第12篇文章</a>"), std::string::npos);
}

TEST(Backup, AFaultOnOneArticleLeavesWhatWasWrittenAndTheButtonUsable) {
  ResetService(R"({"articles": 8, "per_page": 10,
                   "faults": [{"target": "article:5", "kind": "status", "arg": 500, "times": 1}]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  s.Press(L"eve");
  const std::wstring error = s.TakeErrorBox();
  EXPECT_EQ(error.substr(0, 13), L"HTTP/1.1 500 ") << Narrow(error);
  // Articles 8, 7 and 6 came before the fault.
  EXPECT_EQ(s.ArticleFiles(L"eve").size(), 3u);
  // The header and the three rows, and no footer.
  EXPECT_EQ(MaskStamps(s.Read(L"eve\\eve.html")) + kIndexFooter,
            ExpectedIndex("eve", ExpectedRow(8, "1 第8篇文章") + ExpectedRow(7, "2 第7篇文章") + ExpectedRow(6, "3 第6篇文章")));
  EXPECT_FALSE(s.Exists(L"config.ini"));
  EXPECT_EQ(s.Log().find(L"备份完成！"), std::wstring::npos);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(s.button) != FALSE; }, 5000));

  // Trying again completes; the files of the failed run are left as they are.
  ASSERT_TRUE(s.Backup(L"eve"));
  EXPECT_EQ(s.ArticleFiles(L"eve").size(), 8u);
  EXPECT_EQ(Narrow(s.LastUrl(L"eve")), Url(8));
}

TEST(Backup, NamesThatCannotBeAFolderAreRefusedAndBlankNamesDoNothing) {
  ResetService();
  Session s;
  ASSERT_NE(s.form, nullptr);
  SendMessageW(s.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"   "));
  SendMessageW(s.button, BM_CLICK, 0, 0);
  Sleep(300);
  EXPECT_TRUE(Control("/_ctl/log").find("\"path\"") == std::string::npos);
  s.Press(L"..\\evil");
  EXPECT_EQ(s.TakeErrorBox(), L"用户名“..\\evil”不能用作文件夹名，请检查后重新输入。");
  EXPECT_FALSE(s.Exists(L"..\\evil"));
  EXPECT_FALSE(s.Exists(L"evil"));
  EXPECT_FALSE(s.Exists(L"config.ini"));
}

TEST(Backup, ChineseUserNamesKeepTheirSectionInConfigIni) {
  ResetService(R"({"articles": 2})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"小明"));
  EXPECT_EQ(Narrow(s.LastUrl(L"小明")), Url(2));
  EXPECT_EQ(s.ArticleFiles(L"小明").size(), 2u);
}

TEST(Backup, AFolderOrFileThatCannotBeMadeEndsTheRunNamingItAndTheSystemsReason) {
  ResetService(R"({"articles": 2})");
  const std::wstring root = WinePath(QV_E2E_DISK_DIR);
  const struct {
    const char* what;
    const wchar_t* folder;  // made before the run in the program's folder
    const wchar_t* file;    // made before the run; null: none
    bool readOnlyUserFolder;
    const wchar_t* action;
    const wchar_t* named;
    DWORD reason;
  } cases[] = {
      {"a file where the article folder belongs", L"gus", L"gus\\html", false, L"Cannot create folder", L"gus\\html",
       ERROR_ALREADY_EXISTS},
      {"a folder where the index belongs", L"gus\\gus.html", nullptr, false, L"Cannot create file", L"gus\\gus.html",
       ERROR_ACCESS_DENIED},
      {"a read-only user folder", L"gus", nullptr, true, L"Cannot create folder", L"gus\\html", ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s({}, root);
    ASSERT_NE(s.form, nullptr);
    std::filesystem::create_directories(std::filesystem::path(s.program.Dir() + L"\\" + c.folder));
    if (c.file) s.Write(c.file, "");
    std::optional<Tmpfs> readOnly;
    if (c.readOnlyUserFolder) {
      readOnly.emplace(s.program.Dir() + L"\\gus", L"ro,size=64k");
      if (!readOnly->Mounted()) {
        std::cout << "[ SKIPPED  ] " << c.what << ": this machine does not let the test mount a file system\n";
        continue;
      }
    }
    s.Press(L"gus");
    EXPECT_EQ(s.TakeErrorBox(),
              BoxText(std::wstring(c.action) + L" \"" + s.program.Dir() + L"\\" + c.named + L"\". " + SystemReason(c.reason)));
    EXPECT_FALSE(s.Exists(L"config.ini"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(s.button) != FALSE; }, 5000));
  }
}

TEST(Backup, ADiskThatFillsEndsTheRunNamingTheFileAndTheRetrySavesWhatFailed) {
  const std::wstring root = WinePath(QV_E2E_DISK_DIR) + L"\\small";
  Tmpfs disk(root, L"size=8m");
  // Near a page long: with the run's section added, it needs a second page.
  std::string oldConfig = "[other]\r\nlastURL=http://elsewhere/1.html\r\n[notes]\r\ntext=";
  oldConfig += std::string(4060 - oldConfig.size() - 2, 'n') + "\r\n";
  const struct {
    const char* what;
    uint64_t pagesLeft;  // free 4 KiB pages on the small disk when the run starts
    size_t oldIndex;     // bytes of an index from an earlier run, 0: none
    const wchar_t* failing;
    const wchar_t* link;  // without a small disk, this file is made a link to /dev/full; null: the case needs the disk
    int saved;            // articles saved before the fault
    bool footer;          // whether the run's index document was complete
  } cases[] = {
      // The index (1 page) and article 1 (1 page) fit.
      {"an article file", 2, 0, L"ann\\html\\2 第2篇文章.html", nullptr, 1, false},
      // 100 bytes of room in the last page of an earlier index: the header is cut there.
      {"the index", 0, 4096 - 100, L"ann\\ann.html", L"ann\\ann.html", 0, false},
      // The index and three articles fit; config.ini with the new section does not.
      {"config.ini", 4, 0, L"config.ini", L"config.ini.tmp", 3, true},
  };
  auto article = [](int n) { return std::to_string(n) + " " + PlainTitle(4 - n); };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!disk.Mounted() && !c.link) {
      std::cout << "[ SKIPPED  ] " << c.what << ": this machine does not let the test mount a small file system\n";
      continue;
    }
    ResetService(R"({"articles": 3})");
    Session s({}, disk.Mounted() ? root : WinePath(QV_E2E_DISK_DIR));
    ASSERT_NE(s.form, nullptr);
    s.Write(L"config.ini", oldConfig);
    CreateDirectoryW((s.program.Dir() + L"\\ann").c_str(), nullptr);
    const std::string oldIndex(disk.Mounted() ? c.oldIndex : 0, 'x');
    if (!oldIndex.empty()) s.Write(L"ann\\ann.html", oldIndex);
    const std::wstring filler = s.program.Dir() + L"\\filler";
    if (disk.Mounted()) {
      LeavePages(filler, c.pagesLeft);
    } else {
      MakeFullFile(s.program.Dir() + L"\\" + c.link);
    }
    s.Press(L"ann");
    EXPECT_EQ(s.TakeErrorBox(), BoxText(L"Cannot write to file \"" + s.program.Dir() + L"\\" + c.failing + L"\". " +
                                        SystemReason(ERROR_DISK_FULL)));

    // What the fault leaves: the articles before it, whole; nothing cut
    // short; the index without a piece of the failed write; config.ini as it was.
    std::vector<std::wstring> names;
    std::string rows;
    for (int n = 1; n <= c.saved; ++n) {
      names.push_back(Widen(article(n)) + L".html");
      rows += ExpectedRow(4 - n, article(n));
      EXPECT_EQ(s.Read(L"ann\\html\\" + names.back()), ExpectedArticle(article(n), 4 - n));
    }
    EXPECT_EQ(s.ArticleFiles(L"ann"), names);
    EXPECT_EQ(s.Read(L"config.ini"), oldConfig);
    EXPECT_FALSE(s.Exists(L"config.ini.tmp"));
    if (disk.Mounted()) {
      std::string doc = c.failing == std::wstring(L"ann\\ann.html") ? "" : ExpectedIndex("ann", rows);
      if (!c.footer && !doc.empty()) doc.resize(doc.size() - kIndexFooter.size());
      EXPECT_EQ(MaskStamps(s.Read(L"ann\\ann.html")), oldIndex + doc);
    }

    // With room again, the same run saves what failed, under its own name.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(s.button) != FALSE; }, 5000));
    if (disk.Mounted()) {
      DeleteFileW(filler.c_str());
    } else {
      RemoveFullFile(s.program.Dir() + L"\\" + c.link);
    }
    ASSERT_TRUE(s.Backup(L"ann"));
    names.clear();
    rows.clear();
    for (int n = 1; n <= 3; ++n) {
      names.push_back(Widen(article(n)) + L".html");
      rows += ExpectedRow(4 - n, article(n));
      EXPECT_EQ(s.Read(L"ann\\html\\" + names.back()), ExpectedArticle(article(n), 4 - n));
    }
    EXPECT_EQ(s.ArticleFiles(L"ann"), names);
    EXPECT_EQ(Narrow(s.LastUrl(L"ann")), Url(3));
    EXPECT_EQ(s.ConfigValue(L"other", L"lastURL"), L"http://elsewhere/1.html");
    const std::string index = MaskStamps(s.Read(L"ann\\ann.html")), last = ExpectedIndex("ann", rows);
    EXPECT_TRUE(index.ends_with(last)) << index;
  }
}

TEST(Backup, ALongChineseTitleIsSavedUnderANameTheFileSystemTakesAndLinkedAsSaved) {
  // 100 characters, 300 bytes in UTF-8; the two titles share the first 84.
  std::string shared, a, b;
  for (int i = 0; i < 84; ++i) shared += "长";
  a = b = shared;
  for (int i = 0; i < 16; ++i) a += "甲", b += "乙";
  ResetService(R"({"articles": 1, "titles": [")" + a + R"(", ")" + b + R"("]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  ASSERT_TRUE(s.Backup(L"hal"));
  // Article 2 is newer and numbered 1 in its run, as article 1 was.
  Control("/_ctl/add?n=1");
  ASSERT_TRUE(s.Backup(L"hal"));
  EXPECT_EQ(Narrow(s.LastUrl(L"hal")), Url(2));

  // Each run's row links a file that holds its article.
  const std::string index = s.Read(L"hal\\hal.html");
  const std::regex link("<a href=\"html/([^\"]+)\" target=_blank>1 ([^<]+)</a>");
  std::vector<std::wstring> linked;
  for (auto m = std::sregex_iterator(index.begin(), index.end(), link); m != std::sregex_iterator(); ++m) {
    const std::string file = (*m)[1], title = (*m)[2];
    linked.push_back(Widen(file));
    EXPECT_LE(file.size(), 255u);
    EXPECT_EQ(s.Read(L"hal\\html\\" + linked.back()), ExpectedArticle("1 " + title, title == a ? 1 : 2)) << file;
  }
  ASSERT_EQ(linked.size(), 2u);
  EXPECT_NE(linked[0], linked[1]);
  std::sort(linked.begin(), linked.end());
  EXPECT_EQ(s.ArticleFiles(L"hal"), linked);  // nothing else, and no name without ".html"
}

TEST(Backup, AnAnsiConfigIniTakesAChineseUserNameAndKeepsItsOtherSections) {
  ResetService(R"({"articles": 2})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  // Written by hand: no byte-order mark, so in the ANSI code page.
  s.Write(L"config.ini", "[ann]\r\nlastURL=http://elsewhere/1.html\r\n\r\n[bob]\r\nnote=kept\r\n");
  ASSERT_TRUE(s.Backup(L"小明"));
  EXPECT_EQ(Narrow(s.LastUrl(L"小明")), Url(2));
  EXPECT_EQ(s.ConfigValue(L"ann", L"lastURL"), L"http://elsewhere/1.html");
  EXPECT_EQ(s.ConfigValue(L"bob", L"note"), L"kept");

  // The next run finds its stop mark: only the new article is fetched.
  Control("/_ctl/add?n=1");
  ASSERT_TRUE(s.Backup(L"小明"));
  EXPECT_EQ(s.ArticleFiles(L"小明").size(), 3u);
  const std::string index = MaskStamps(s.Read(L"小明\\小明.html"));
  EXPECT_TRUE(index.ends_with(ExpectedIndex("小明", ExpectedRow(3, "1 第3篇文章")))) << index;
  EXPECT_EQ(Narrow(s.LastUrl(L"小明")), Url(3));
}

TEST(Backup, AWindowClosedDuringAStalledRequestWaitsForTheRunToUnwind) {
  // Article 4 answers only after five seconds; the close comes meanwhile.
  ResetService(R"({"articles": 6,
                   "faults": [{"target": "article:4", "kind": "slow", "arg": 5, "times": 1}]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  const std::string config = "[other]\r\nlastURL=http://elsewhere/1.html\r\n";
  s.Write(L"config.ini", config);
  s.Press(L"fay");
  ASSERT_TRUE(WaitUntil([&] { return Control("/_ctl/log").find("/s/blog_1004.html") != std::string::npos; }, 20000));
  PostMessageW(s.form, WM_CLOSE, 0, 0);
  // The request is still waiting: the close must neither end the program
  // nor take the client from under the run.
  EXPECT_FALSE(s.program.WaitForExit(2000));
  ASSERT_TRUE(s.program.WaitForExit(20000));
  EXPECT_EQ(s.program.ExitCode(), 0u);
  // The stalled article arrived and was saved; the run stopped at its next
  // pause and asked for nothing more.
  EXPECT_EQ(s.ArticleFiles(L"fay"), (std::vector<std::wstring>{L"1 第6篇文章.html", L"2 第5篇文章.html", L"3 第4篇文章.html"}));
  EXPECT_EQ(Control("/_ctl/log").find("/s/blog_1003.html"), std::string::npos);
  EXPECT_EQ(MaskStamps(s.Read(L"fay\\fay.html")) + kIndexFooter,
            ExpectedIndex("fay", ExpectedRow(6, "1 第6篇文章") + ExpectedRow(5, "2 第5篇文章") + ExpectedRow(4, "3 第4篇文章")));
  EXPECT_EQ(s.Read(L"config.ini"), config);
}

namespace {

// The bound on the time until a whole answer has arrived, shortened from its
// two minutes.
const std::map<std::wstring, std::wstring> kShortRequests{{L"QUILLVAULT_REQUEST_TIMEOUT", L"4"}};

std::wstring TimedOutBox(int article) {
  return L"Socket Error # 10060\r\nConnection timed out.\r\nHost 127.0.0.1, port " + std::to_wstring(ServicePort()) +
         L".\r\nAddress: " + Widen(Url(article)) + L".";
}

const std::string kOtherUsersConfig = "[other]\r\nlastURL=http://elsewhere/1.html\r\n";

}  // namespace

TEST(Backup, AnAnswerThatNeverEndsFailsAtTheBoundAndTheRetrySavesTheRest) {
  // Article 4's body comes at 40 bytes a second, enough for the rate rule,
  // and never ends.
  ResetService(R"({"articles": 6, "faults": [{"target": "article:4", "kind": "endless", "arg": 40, "times": 1}]})");
  Session s(kShortRequests);
  ASSERT_NE(s.form, nullptr);
  std::ofstream(std::filesystem::path(s.program.Dir() + L"\\config.ini"), std::ios::binary) << kOtherUsersConfig;
  s.Press(L"hal");
  ASSERT_EQ(s.TakeErrorBox(), TimedOutBox(4));
  EXPECT_EQ(s.ArticleFiles(L"hal"), (std::vector<std::wstring>{L"1 第6篇文章.html", L"2 第5篇文章.html"}));
  EXPECT_EQ(MaskStamps(s.Read(L"hal\\hal.html")) + kIndexFooter,
            ExpectedIndex("hal", ExpectedRow(6, "1 第6篇文章") + ExpectedRow(5, "2 第5篇文章")));
  EXPECT_EQ(s.Read(L"config.ini"), kOtherUsersConfig);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(s.button) != FALSE; }, 5000));

  ASSERT_TRUE(s.Backup(L"hal"));
  EXPECT_EQ(s.ArticleFiles(L"hal").size(), 6u);
  for (int n = 1; n <= 6; ++n) {
    const std::string title = std::to_string(n) + " " + PlainTitle(7 - n);
    EXPECT_EQ(s.Read(L"hal\\html\\" + Widen(title) + L".html"), ExpectedArticle(title, 7 - n)) << title;
  }
  EXPECT_EQ(Narrow(s.LastUrl(L"hal")), Url(6));
  EXPECT_EQ(Narrow(s.LastUrl(L"other")), "http://elsewhere/1.html");
}

namespace {

// The middle of the program's skinned close button, on the screen: the
// skin places its 26 x 20 image 34 pixels from the frame's right edge and 5
// from its top.
POINT CloseButtonCentre(HWND form) {
  RECT r{};
  GetWindowRect(form, &r);
  return {r.right - 34 + 13, r.top + 5 + 10};
}

void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
}

}  // namespace

TEST(Backup, AWindowClosedDuringAnAnswerThatNeverEndsClosesAtTheBound) {
  ResetService(R"({"articles": 6, "faults": [{"target": "article:4", "kind": "endless", "times": 1}]})");
  Session s(kShortRequests);
  ASSERT_NE(s.form, nullptr);
  std::ofstream(std::filesystem::path(s.program.Dir() + L"\\config.ini"), std::ios::binary) << kOtherUsersConfig;
  const POINT close = CloseButtonCentre(s.form);
  s.Press(L"ivy");
  ASSERT_TRUE(WaitUntil([&] { return Control("/_ctl/log").find("/s/blog_1004.html") != std::string::npos; }, 20000));
  // The user's click waits in the queue of the window the request holds;
  // once the time-out ends the request, it closes the program, not an error
  // box.
  ClickAt(close);
  ASSERT_TRUE(s.program.WaitForExit(30000));
  EXPECT_EQ(s.program.ExitCode(), 0u);
  EXPECT_EQ(s.ArticleFiles(L"ivy"), (std::vector<std::wstring>{L"1 第6篇文章.html", L"2 第5篇文章.html"}));
  EXPECT_EQ(Control("/_ctl/log").find("/s/blog_1003.html"), std::string::npos);
  EXPECT_EQ(MaskStamps(s.Read(L"ivy\\ivy.html")) + kIndexFooter,
            ExpectedIndex("ivy", ExpectedRow(6, "1 第6篇文章") + ExpectedRow(5, "2 第5篇文章")));
  EXPECT_EQ(s.Read(L"config.ini"), kOtherUsersConfig);
}

TEST(Backup, ALogPastThirtyThousandCharactersKeepsEveryLineAndTheNextRunsLines) {
  // 400 lines of some 100 characters: past the edit control's own limit of
  // 30,000 as a 10,000-article backup's log is, in seconds instead of
  // minutes.
  std::string longTitle = "很长的标题";
  while (longTitle.size() < 100) longTitle += " filler";
  ResetService(R"({"articles": 400, "per_page": 50, "titles": [")" + longTitle + R"("]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  s.Press(L"joy");
  // The run's end is config.ini, whatever the log shows.
  ASSERT_TRUE(WaitUntil([&] { return Narrow(s.LastUrl(L"joy")) == Url(400); }, 60000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(s.button) != FALSE; }, 5000));
  const std::wstring title = Widen(longTitle), log = s.Log();
  EXPECT_GT(log.size(), 40000u);
  EXPECT_TRUE(log.ends_with(L"\r\n399 " + title + L"\r\n400 " + title + L"\r\n备份完成！\r\n"))
      << Narrow(log.substr(log.size() - std::min<size_t>(log.size(), 300)));
  EXPECT_EQ(Session::Count(log, title + L"\r\n"), 400u);
  EXPECT_EQ(s.ArticleFiles(L"joy").size(), 400u);

  // The next run in the same window still shows its lines.
  Control("/_ctl/add?n=2");
  ASSERT_TRUE(s.Backup(L"joy"));
  EXPECT_TRUE(s.Log().ends_with(L"\r\n备份完成！\r\n1 " + title + L"\r\n2 " + title + L"\r\n备份完成！\r\n"));
  EXPECT_EQ(s.ArticleFiles(L"joy").size(), 402u);
}

TEST(Backup, ErrorsNameTheMissingArticleListAndTheServerThatFailed) {
  // A name the service does not know gets a page of its own, without tabs.
  ResetService(R"({"user": "Ann", "unknown_user": "page"})");
  {
    Session s;
    ASSERT_NE(s.form, nullptr);
    s.Press(L"Anne");
    EXPECT_EQ(s.TakeErrorBox(), L"用户“Anne”的博客页面 http://127.0.0.1:" + std::to_wstring(ServicePort()) +
                                    L"/Anne 上没有博文目录，请检查用户名是否正确.");
    EXPECT_TRUE(s.ArticleFiles(L"Anne").empty());
    EXPECT_FALSE(s.Exists(L"config.ini"));
    // One it answers with 404: the status line, then the page that failed.
    Control("/_ctl/config", R"({"unknown_user": "404"})");
    s.Press(L"Bob");
    EXPECT_EQ(s.TakeErrorBox(), L"HTTP/1.1 404 Not Found.\r\nAddress: http://127.0.0.1:" + std::to_wstring(ServicePort()) +
                                    L"/Bob.");
  }
  const uint16_t closed = LoopbackServer::ClosedPort();
  Session s({{L"QUILLVAULT_BLOG_HOST", L"127.0.0.1:" + std::to_wstring(closed)}});
  ASSERT_NE(s.form, nullptr);
  s.Press(L"Ann");
  EXPECT_EQ(s.TakeErrorBox(), L"Socket Error # 10061\r\nConnection refused.\r\nHost 127.0.0.1, port " +
                                  std::to_wstring(closed) + L".\r\nAddress: http://127.0.0.1:" + std::to_wstring(closed) +
                                  L"/Ann.");
}

TEST(Backup, ACopyInTheSameFolderKeepsOffAUserARunHoldsAndEveryCopyKeepsTheOthersStopMarks) {
  // Article 2 answers after eight seconds in each run: time for the other
  // copy to start while the first run holds its user.
  ResetService(R"({"articles": 3, "faults": [{"target": "article:2", "kind": "slow", "arg": 8, "times": 2}]})");
  Session one;
  ASSERT_NE(one.form, nullptr);
  Session two(L"Quillvault - Copy.exe", one);
  ASSERT_NE(two.form, nullptr);
  one.Write(L"config.ini", kOtherUsersConfig);
  auto requestsOf2 = [] { return Session::Count(Widen(Control("/_ctl/log")), L"\"path\": \"/s/blog_1002.html\""); };
  one.Press(L"ann");
  ASSERT_TRUE(WaitUntil([&] { return requestsOf2() == 1; }, 20000));
  // The same user (the same folder, whatever the letter case) in the other
  // copy: refused before it writes anything.
  two.Press(L"ANN");
  EXPECT_EQ(two.TakeErrorBox(), BoxText(L"另一个备份正在备份用户“ANN”的博客，请等它完成后再试"));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(two.button) != FALSE; }, 5000));
  two.Press(L"bob");
  ASSERT_TRUE(WaitUntil([&] { return requestsOf2() == 2; }, 20000));

  // A third copy replaces config.ini meanwhile: it reads the file, and
  // writes it back with its own change only after both runs have ended.
  HANDLE configLock = CreateFileW((one.program.Dir() + L"\\config.ini.lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(configLock, INVALID_HANDLE_VALUE);
  const std::string config = one.Read(L"config.ini");
  auto index = [&](const std::wstring& user) { return one.Read(user + L"\\" + user + L".html"); };
  auto indexEnded = [&](const wchar_t* user) { return index(user).ends_with(kIndexFooter); };
  EXPECT_TRUE(WaitUntil([&] { return indexEnded(L"ann") && indexEnded(L"bob"); }, 30000));
  auto done = [](Session& s) { return Session::Count(s.Log(), L"备份完成！") == 1; };
  EXPECT_FALSE(WaitUntil([&] { return done(one) || done(two); }, 1000));
  one.Write(L"config.ini", config + "[third]\r\nlastURL=http://elsewhere/3.html\r\n");
  CloseHandle(configLock);
  ASSERT_TRUE(WaitUntil([&] { return done(one) && done(two); }, 20000));
  EXPECT_EQ(Narrow(one.LastUrl(L"ann")), Url(3));
  EXPECT_EQ(Narrow(one.LastUrl(L"bob")), Url(3));
  EXPECT_EQ(one.ConfigValue(L"other", L"lastURL"), L"http://elsewhere/1.html");
  EXPECT_EQ(one.ConfigValue(L"third", L"lastURL"), L"http://elsewhere/3.html");

  // Each user's folder holds what one run makes, and nothing of the refused one.
  std::string rows;
  std::vector<std::wstring> names;
  for (int n = 1; n <= 3; ++n) {
    rows += ExpectedRow(4 - n, std::to_string(n) + " " + PlainTitle(4 - n));
    names.push_back(Widen(std::to_string(n) + " " + PlainTitle(4 - n)) + L".html");
  }
  for (const wchar_t* user : {L"ann", L"bob"}) {
    SCOPED_TRACE(Narrow(user));
    EXPECT_EQ(MaskStamps(index(user)), ExpectedIndex(Narrow(user), rows));
    EXPECT_EQ(one.ArticleFiles(user), names);
    EXPECT_EQ(one.Files(user), (std::vector<std::wstring>{user + std::wstring(L".html"), L"html"}));
  }
  EXPECT_FALSE(one.Exists(L"config.ini.lock"));
}

TEST(Backup, ARunKilledWhileWritingAnArticleLeavesNoFileUnderItsNameAndTheNextRunSavesItOnce) {
  // Article 2's document, with its long title, is the first that passes the
  // file size the test allows the program: the system kills the program in
  // the middle of writing it, as a user ending it from outside can.
  const std::string longTitle(2000, 'w');
  ResetService(R"({"articles": 4, "titles": ["第1篇文章", ")" + longTitle + R"(", "第3篇文章", "第4篇文章"]})");
  Session s;
  ASSERT_NE(s.form, nullptr);
  const std::wstring dir = s.program.Dir();
  // Wine shows the program's command line as the process's; one character
  // in brackets keeps the pattern from matching the shell that runs it.
  const std::wstring name = dir.substr(dir.find_last_of(L'\\') + 1);
  const std::wstring pattern = name.substr(0, name.size() - 1) + L"[" + name.back() + L"].Quillvault";
  ASSERT_EQ(RunUnix(L"/usr/bin/prlimit --fsize=1500 --pid $(/usr/bin/pgrep -f '" + pattern + L"')"), 0);
  s.Press(L"ann");
  ASSERT_TRUE(s.program.WaitForExit(30000));
  auto title = [&](int n) { return std::to_string(n) + " " + (n == 3 ? longTitle : PlainTitle(5 - n)); };
  const std::vector<std::wstring> beforeKill{Widen(title(1)) + L".html", Widen(title(2)) + L".html"};
  EXPECT_EQ(s.ArticleFiles(L"ann"), beforeKill);

  // The next run, here from a copy of the program, saves the rest as one
  // whole run would.
  Session again(L"Quillvault - Copy.exe", s);
  ASSERT_NE(again.form, nullptr);
  ASSERT_TRUE(again.Backup(L"ann"));
  std::string rows;
  std::vector<std::wstring> linked;
  for (int n = 1; n <= 4; ++n) {
    const std::string file = n == 3 ? Narrow(Widen(title(n)).substr(0, 100)) : title(n);
    rows += ExpectedRow(5 - n, title(n), file);
    linked.push_back(Widen(file) + L".html");
    EXPECT_EQ(s.Read(L"ann\\html\\" + linked.back()), ExpectedArticle(title(n), 5 - n)) << n;
  }
  std::sort(linked.begin(), linked.end());
  EXPECT_EQ(s.ArticleFiles(L"ann"), linked);
  EXPECT_EQ(s.Files(L"ann"), (std::vector<std::wstring>{L"ann.html", L"html"}));
  // The killed run's document stays, without its footer.
  std::string killed = ExpectedIndex("ann", ExpectedRow(4, title(1)) + ExpectedRow(3, title(2)));
  killed.resize(killed.size() - kIndexFooter.size());
  EXPECT_EQ(MaskStamps(s.Read(L"ann\\ann.html")), killed + ExpectedIndex("ann", rows));
}
