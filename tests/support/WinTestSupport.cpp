// Paths, a loopback HTTP peer, programs under test and window helpers
// shared by the Windows test programs.
#include "tests/support/WinTestSupport.h"

#include <ws2tcpip.h>

#include <filesystem>

namespace qvtest {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WinePath(const std::string& unixPath) {
  std::wstring p = L"Z:" + Widen(unixPath);
  for (auto& c : p) {
    if (c == L'/') c = L'\\';
  }
  return p;
}

std::wstring MakeTempDir(const wchar_t* tag, const std::wstring& parent) {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = (parent.empty() ? std::wstring(base) : parent + L"\\") + L"qv-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(counter++);
  RemoveTree(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void RemoveTree(const std::wstring& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

// --- LoopbackServer ---------------------------------------------------------

std::string LoopbackServer::DefaultReply() {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";
}

void StartWinsock() {
  static const bool ok = [] {
    WSADATA d;
    return WSAStartup(MAKEWORD(2, 2), &d) == 0;
  }();
  (void)ok;
}

namespace {
SOCKET ListenOnLoopback(uint16_t& port) {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  listen(s, 16);
  int len = sizeof addr;
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  port = ntohs(addr.sin_port);
  return s;
}
}  // namespace

LoopbackServer::LoopbackServer(Mode mode, std::string reply) : mode_(mode), reply_(std::move(reply)) {
  listener_ = ListenOnLoopback(port_);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  thread_.join();
  for (SOCKET s : held_) closesocket(s);
  closesocket(listener_);
}

uint16_t LoopbackServer::ClosedPort() {
  uint16_t port;
  SOCKET s = ListenOnLoopback(port);
  closesocket(s);
  return port;
}

std::vector<std::string> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  while (!stop_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval tv{0, 100000};
    if (select(0, &readable, nullptr, nullptr, &tv) != 1) continue;
    SOCKET c = accept(listener_, nullptr, nullptr);
    if (c == INVALID_SOCKET) continue;
    std::string head;
    char buf[4096];
    const DWORD deadline = GetTickCount() + 5000;
    while (head.find("\r\n\r\n") == std::string::npos && GetTickCount() < deadline && !stop_) {
      fd_set r;
      FD_ZERO(&r);
      FD_SET(c, &r);
      timeval t{0, 100000};
      if (select(0, &r, nullptr, nullptr, &t) != 1) continue;
      const int n = recv(c, buf, sizeof buf, 0);
      if (n <= 0) break;
      head.append(buf, static_cast<size_t>(n));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head);
    }
    if (mode_ == Mode::NeverAnswer) {
      held_.push_back(c);
      continue;
    }
    send(c, reply_.data(), static_cast<int>(reply_.size()), 0);
    shutdown(c, SD_SEND);
    closesocket(c);
  }
}

// --- ProgramUnderTest -------------------------------------------------------

std::wstring QuillvaultExe() { return WinePath(QV_EXE_DIR) + L"\\Quillvault.exe"; }
std::wstring GalleryExe() { return WinePath(QV_GALLERY_EXE); }

ProgramUnderTest::ProgramUnderTest(const wchar_t* tag, const std::wstring& exe, const std::wstring& parent)
    : dir_(MakeTempDir(tag, parent)), exeName_(exe.substr(exe.find_last_of(L'\\') + 1)) {
  if (!CopyFileW(exe.c_str(), (dir_ + L"\\" + exeName_).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + Narrow(exe));
  }
}

ProgramUnderTest::ProgramUnderTest(const ProgramUnderTest& beside, const std::wstring& exeName)
    : dir_(beside.dir_), ownsDir_(false), exeName_(exeName) {
  if (!CopyFileW((dir_ + L"\\" + beside.exeName_).c_str(), (dir_ + L"\\" + exeName_).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + Narrow(beside.exeName_));
  }
}

ProgramUnderTest::~ProgramUnderTest() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
  if (ownsDir_) RemoveTree(dir_);
}

void ProgramUnderTest::Start(const std::vector<std::wstring>& args) {
  std::map<std::wstring, std::wstring> env;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
    std::wstring kv(p);
    const size_t eq = kv.find(L'=', 1);
    if (eq != std::wstring::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  FreeEnvironmentStringsW(block);
  for (const auto& [k, v] : env_) env[k] = v;
  std::wstring envBlock;
  for (const auto& [k, v] : env) envBlock += k + L"=" + v + L'\0';
  envBlock += L'\0';
  std::wstring cmd = L"\"" + dir_ + L"\\" + exeName_ + L"\"";
  for (const std::wstring& a : args) cmd += L" \"" + a + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, envBlock.data(),
                      dir_.c_str(), &si, &pi_)) {
    throw std::runtime_error("cannot start the program");
  }
}

namespace {
struct WindowsOfProcess {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindow(HWND w, LPARAM l) {
  auto* c = reinterpret_cast<WindowsOfProcess*>(l);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == c->pid && IsWindowVisible(w)) c->found.push_back(w);
  return TRUE;
}
}  // namespace

std::vector<HWND> ProgramUnderTest::VisibleTopWindows() {
  WindowsOfProcess ctx{pi_.dwProcessId, {}};
  EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

HWND ProgramUnderTest::WaitForWindow(const wchar_t* className, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : VisibleTopWindows()) {
          if (ClassOf(w) == className) found = w;
        }
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool ProgramUnderTest::WaitForExit(int timeoutMs) {
  return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD ProgramUnderTest::ExitCode() {
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

// --- window helpers ---------------------------------------------------------

std::wstring WindowText(HWND wnd) {
  DWORD_PTR len = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len);
  std::wstring text(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(got);
  return text;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t buf[256];
  const int n = GetClassNameW(wnd, buf, 256);
  return std::wstring(buf, static_cast<size_t>(n > 0 ? n : 0));
}

HWND FindChild(HWND parent, const wchar_t* className, int index) {
  HWND w = nullptr;
  for (int i = 0; i <= index; ++i) {
    w = FindWindowExW(parent, w, className, nullptr);
    if (!w) return nullptr;
  }
  return w;
}

namespace {
struct ChildWithText {
  const wchar_t* className;
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM l) {
  auto* c = reinterpret_cast<ChildWithText*>(l);
  if (_wcsicmp(ClassOf(w).c_str(), c->className) != 0 || WindowText(w) != *c->text) return TRUE;
  c->found = w;
  return FALSE;
}
}  // namespace

HWND FindChildWithText(HWND parent, const wchar_t* className, const std::wstring& text) {
  ChildWithText ctx{className, &text, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

SIZE ClientSize(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

LRESULT QuerySkinned(HWND wnd) {
  constexpr UINT kQuerySkinned = 0x3523;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(wnd, kQuerySkinned, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

std::vector<uint32_t> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // rows from the top
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), &bi, DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    if (pred()) return true;
    if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
  }
}

}  // namespace qvtest
