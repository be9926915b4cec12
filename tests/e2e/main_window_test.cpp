// The real program started under Wine and checked from outside: start-up
// visit, advice lines, caption, fixed size, close.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/WinTestSupport.h"

using namespace qvtest;

namespace {

const std::wstring kAdvice =
    L">程序不能备份您的私有文章。\r\n"
    L">含有中文的用户名，请以IE地址栏中的字符串作为准。\r\n"
    L">暂时不支持备份相册。\r\n"
    L">程序会自动从上一次备份的基础上备份新的文章，如果想全部重新备份，请删掉配置文件config.ini。\r\n";

std::wstring AuthorHost(uint16_t port) { return L"127.0.0.1:" + std::to_wstring(port); }

std::wstring ExpectedLog(uint16_t port) {
  return kAdvice + L">问题反馈：http://" + AuthorHost(port) + L"/brenlow/feedback\r\n" + std::wstring(38, L'=') + L"\r\n";
}

HWND StartAndWait(ProgramUnderTest& program, uint16_t port, int timeoutMs = 20000) {
  program.SetEnv(L"QUILLVAULT_AUTHOR_HOST", AuthorHost(port));
  program.Start();
  return program.WaitForWindow(L"TForm1", timeoutMs);
}

}  // namespace

TEST(MainWindow, StartsWithTheAdviceLinesAfterOneVisitOfTheAuthorsPage) {
  LoopbackServer author;
  ProgramUnderTest program(L"start");
  HWND form = StartAndWait(program, author.Port());
  ASSERT_NE(form, nullptr);

  EXPECT_EQ(WindowText(form), L"Quillvault V1.1 By Marrowick");
  const SIZE client = ClientSize(form);
  EXPECT_EQ(client.cx, 455);
  EXPECT_EQ(client.cy, 267);
  HWND memo = FindChild(form, L"TMemo");
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(WindowText(memo), ExpectedLog(author.Port()));
  EXPECT_EQ(WindowText(FindChild(form, L"TEdit")), L"");
  EXPECT_EQ(WindowText(FindChild(form, L"TButton")), L"备份");

  // The visit happened before the window showed: one GET, no query, the
  // start-up key in the Referer and the client's own identity.
  const auto requests = author.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& head = requests[0];
  EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET /brenlow HTTP/1.1");
  const std::string host = Narrow(AuthorHost(author.Port()));
  EXPECT_NE(head.find("\r\nReferer: http://" + host + "/brenlow?key=QuillvaultBackUp\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nAccept: text/html, */*\r\n"), std::string::npos) << head;
}

TEST(MainWindow, TheAuthorsLinkCarriesItsOwnKey) {
  LoopbackServer author;
  ProgramUnderTest program(L"link");
  HWND form = StartAndWait(program, author.Port());
  ASSERT_NE(form, nullptr);
  HWND link = FindChild(form, L"TLinkLabel");
  ASSERT_NE(link, nullptr);
  const std::wstring page = L"http://" + AuthorHost(author.Port()) + L"/brenlow";
  EXPECT_EQ(WindowText(link),
            L"我的博客：<a href=\"" + page + L"?key=InkharborBackUp\" target=\"_blank\">" + page + L"</a>");
  // Shown whole: inside the window, and the address's last character drawn
  // at the label's right end (a caption that wraps shows only "我的博客：").
  RECT r;
  GetWindowRect(link, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // The rightmost column that differs from the bottom-left pixel (the face
  // below the text), read from the screen.
  auto rightmostInkOnScreen = [&] {
    const std::vector<uint32_t> pixels = ScreenPixels(r);
    const uint32_t face = pixels[static_cast<size_t>(h - 1) * w] & 0xFFFFFF;  // bottom left: below the text
    int rightmostInk = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != face) rightmostInk = std::max(rightmostInk, x);
    return rightmostInk;
  };
  int rightmostInk = -1;
  WaitUntil([&] { return (rightmostInk = rightmostInkOnScreen()) >= w - 8; }, 5000);
  EXPECT_GE(rightmostInk, w - 8) << "label width " << w;
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_GE(r.left, 0);
  EXPECT_LE(r.right, ClientSize(form).cx);
}

TEST(MainWindow, KeepsItsClientSizeWhateverTheResizeRequest) {
  LoopbackServer author;
  ProgramUnderTest program(L"resize");
  HWND form = StartAndWait(program, author.Port());
  ASSERT_NE(form, nullptr);
  RECT before;
  GetWindowRect(form, &before);
  SetWindowPos(form, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  MoveWindow(form, before.left, before.top, 300, 200, TRUE);
  SendMessageW(form, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(ClientSize(form).cx, 455);
  EXPECT_EQ(ClientSize(form).cy, 267);
  // Minimising still works, and the window comes back at its size.
  ShowWindow(form, SW_MINIMIZE);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(form) != FALSE; }, 5000));
  ShowWindow(form, SW_RESTORE);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(form) && ClientSize(form).cx == 455 && ClientSize(form).cy == 267; }, 5000))
      << ClientSize(form).cx << "x" << ClientSize(form).cy;
}

TEST(MainWindow, NoVisitWhenTheMarkerFileIsPresent) {
  LoopbackServer author;
  ProgramUnderTest program(L"marker");
  HANDLE f = CreateFileW((program.Dir() + L"\\idhttp.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  HWND form = StartAndWait(program, author.Port());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(FindChild(form, L"TMemo")), ExpectedLog(author.Port()));
  Sleep(300);
  EXPECT_TRUE(author.Requests().empty());
}

TEST(MainWindow, ShowsSilentlyWhenTheAuthorsHostRefuses) {
  const uint16_t port = LoopbackServer::ClosedPort();
  ProgramUnderTest program(L"refused");
  HWND form = StartAndWait(program, port);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(FindChild(form, L"TMemo")), ExpectedLog(port));
  // No error box beside the main window.
  for (HWND w : program.VisibleTopWindows()) EXPECT_EQ(ClassOf(w), L"TForm1");
}

TEST(MainWindow, ShowsWhenTheAuthorsHostNeverAnswers) {
  LoopbackServer silent(LoopbackServer::Mode::NeverAnswer);
  ProgramUnderTest program(L"silent");
  const DWORD start = GetTickCount();
  HWND form = StartAndWait(program, silent.Port(), 30000);
  ASSERT_NE(form, nullptr);
  EXPECT_LE(GetTickCount() - start, 15000u);
  EXPECT_EQ(silent.Requests().size(), 1u);
  for (HWND w : program.VisibleTopWindows()) EXPECT_EQ(ClassOf(w), L"TForm1");
}

TEST(MainWindow, ClosingTheWindowEndsTheProgram) {
  LoopbackServer author;
  ProgramUnderTest program(L"close");
  HWND form = StartAndWait(program, author.Port());
  ASSERT_NE(form, nullptr);
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}
