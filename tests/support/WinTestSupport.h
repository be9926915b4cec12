// Shared by the Windows test programs: paths of the build tree as Wine sees
// them, a loopback HTTP peer, and the real program started and read from
// outside.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

// "/work/x" -> "Z:\work\x" (Wine maps the Unix root to drive Z:).
std::wstring WinePath(const std::string& unixPath);
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);
// A fresh empty folder under parent (the temporary folder when empty).
std::wstring MakeTempDir(const wchar_t* tag, const std::wstring& parent = std::wstring());
void RemoveTree(const std::wstring& dir);

void StartWinsock();

// A one-thread HTTP peer on 127.0.0.1: records each request's head and
// answers with the reply function (or never, when it returns nullopt-like
// empty with hold = true).
class LoopbackServer {
 public:
  enum class Mode { Answer, NeverAnswer };
  explicit LoopbackServer(Mode mode = Mode::Answer, std::string reply = DefaultReply());
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t Port() const { return port_; }
  std::vector<std::string> Requests();
  static std::string DefaultReply();
  // A port on which nothing listens.
  static uint16_t ClosedPort();

 private:
  void Serve();
  Mode mode_;
  std::string reply_;
  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> held_;
  std::thread thread_;
};

// Where the programs under test are built, as Wine sees it.
std::wstring QuillvaultExe();
std::wstring GalleryExe();

// A copy of a program (Quillvault.exe unless told otherwise) in a fresh
// folder (under parent when one is given), started with extra environment.
class ProgramUnderTest {
 public:
  explicit ProgramUnderTest(const wchar_t* tag, const std::wstring& exe = QuillvaultExe(),
                            const std::wstring& parent = std::wstring());
  // Another copy of beside's program, named exeName, in beside's folder
  // (which beside keeps and removes).
  ProgramUnderTest(const ProgramUnderTest& beside, const std::wstring& exeName);
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  const std::wstring& Dir() const { return dir_; }
  void SetEnv(const std::wstring& name, const std::wstring& value) { env_[name] = value; }
  // args each go on the command line in quotes.
  void Start(const std::vector<std::wstring>& args = {});
  // The program's visible top-level window of the given class, or null.
  HWND WaitForWindow(const wchar_t* className, int timeoutMs);
  std::vector<HWND> VisibleTopWindows();
  bool WaitForExit(int timeoutMs);
  DWORD ExitCode();
  DWORD ProcessId() const { return pi_.dwProcessId; }

 private:
  std::wstring dir_;
  bool ownsDir_ = true;
  std::wstring exeName_;
  std::map<std::wstring, std::wstring> env_;
  PROCESS_INFORMATION pi_{};
};

// Window helpers that work across processes.
std::wstring WindowText(HWND wnd);
std::wstring ClassOf(HWND wnd);
HWND FindChild(HWND parent, const wchar_t* className, int index = 0);
// The descendant of parent with this class and window text, or null.
HWND FindChildWithText(HWND parent, const wchar_t* className, const std::wstring& text);
SIZE ClientSize(HWND wnd);
// Asks the window the skin engine's private question "does a skin own
// you?": 1 when one does; 0 also when the window does not answer in time.
LRESULT QuerySkinned(HWND wnd);
// The screen's pixels inside r (screen coordinates) as 32-bit DIB values
// (0x00RRGGBB), row by row from the top.
std::vector<uint32_t> ScreenPixels(const RECT& r);
// Waits until pred() holds or the time is up; pumps this thread's messages.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs);
// Dispatches this thread's messages for about ms.
inline void Pump(int ms) { WaitUntil([] { return false; }, ms); }

}  // namespace qvtest
