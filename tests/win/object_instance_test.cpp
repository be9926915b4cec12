// Window procedures bound to objects, subclassing raw windows through them,
// and TTimer on its hidden window: real windows, real message loops.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "platform/win/ObjectInstance.h"
#include "platform/win/Timer.h"

using namespace qv;

namespace {

constexpr UINT kAsk = WM_USER + 1;    // answered by the class procedure with 100
constexpr UINT kTrace = WM_USER + 2;  // every procedure appends its letter to gTrace

std::string gTrace;

LRESULT CALLBACK RawProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kAsk) return 100;
  if (msg == kTrace) {
    gTrace += 'P';
    return 0;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

// A raw window whose class procedure is RawProc.
struct RawWindow {
  HWND wnd;
  RawWindow() {
    static const ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = RawProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QvTestRaw";
      return RegisterClassExW(&wc);
    }();
    (void)atom;
    wnd = CreateWindowExW(0, L"QvTestRaw", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  }
  ~RawWindow() {
    if (IsWindow(wnd)) DestroyWindow(wnd);
  }
  LONG_PTR Proc() const { return GetWindowLongPtrW(wnd, GWLP_WNDPROC); }
};

// A subclass that appends its letter to gTrace, counts its calls and passes
// everything on.
struct Tracer {
  char letter;
  int calls = 0;
  TWndSubclass sub;
  explicit Tracer(char l) : letter(l) {}
  bool Install(HWND wnd) {
    return sub.Install(wnd, [this](TMessage& m) {
      ++calls;
      if (m.Msg == kTrace) gTrace += letter;
      sub.CallPrev(m);
    });
  }
};

// A procedure installed by hand after ours, the way foreign code does it.
WNDPROC gForeignPrev = nullptr;
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kTrace) gTrace += 'F';
  return CallWindowProcW(gForeignPrev, wnd, msg, wparam, lparam);
}

void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// MakeObjectInstance

TEST(ObjectInstance, EachObjectGetsItsOwnAddressAndParametersStayWhole) {
  struct Obj {
    int id;
    TMessage last{};
    void WndProc(TMessage& m) {
      last = m;
      m.Result = static_cast<LRESULT>(m.LParam ^ static_cast<LPARAM>(id));
    }
  } a{1}, b{2};
  void* ia = MakeObjectInstance([&a](TMessage& m) { a.WndProc(m); });
  void* ib = MakeObjectInstance([&b](TMessage& m) { b.WndProc(m); });
  ASSERT_NE(ia, ib);
  RawWindow w;
  SetWindowLongPtrW(w.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ia));
  // Every bit of the pointer-sized parameters and result survives the stub.
  const WPARAM wp = static_cast<WPARAM>(sizeof(WPARAM) == 8 ? 0xFEDCBA9876543210ull : 0xFEDCBA98u);
  const LPARAM lp = static_cast<LPARAM>(sizeof(LPARAM) == 8 ? 0x8123456789ABCDEFull : 0x89ABCDEFu);
  EXPECT_EQ(SendMessageW(w.wnd, WM_USER + 7, wp, lp), static_cast<LRESULT>(lp ^ 1));
  EXPECT_EQ(a.last.Msg, WM_USER + 7u);
  EXPECT_EQ(a.last.WParam, wp);
  EXPECT_EQ(a.last.LParam, lp);
  SetWindowLongPtrW(w.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ib));
  EXPECT_EQ(SendMessageW(w.wnd, WM_USER + 8, 0, 40), 42);
  EXPECT_EQ(b.last.Msg, WM_USER + 8u);
  EXPECT_EQ(a.last.Msg, WM_USER + 7u);
  // Called directly, as the class library's CallWindowProc does.
  EXPECT_EQ(CallWindowProcW(AsWndProc(ia), w.wnd, WM_USER + 9, 0, 5), 4);
  SetWindowLongPtrW(w.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RawProc));
  FreeObjectInstance(ia);
  FreeObjectInstance(ib);
}

TEST(ObjectInstance, StubsShareReadOnlyExecutableBlocksAndFreedAddressesAreReused) {
  std::vector<void*> instances;
  for (int i = 0; i < 300; ++i) instances.push_back(MakeObjectInstance([](TMessage&) {}));
  std::set<void*> bases;
  for (void* p : instances) {
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(p, &info, sizeof info), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ)) << "a stub page left writable";
    bases.insert(info.AllocationBase);
  }
  EXPECT_EQ(std::set<void*>(instances.begin(), instances.end()).size(), instances.size());
  EXPECT_LE(bases.size(), 6u) << "one allocation per stub";
  void* freed = instances[123];
  FreeObjectInstance(freed);
  void* again = MakeObjectInstance([](TMessage&) {});
  EXPECT_EQ(again, freed);
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(again, &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ)) << "a rewritten stub page left writable";
  instances[123] = again;
  for (void* p : instances) FreeObjectInstance(p);
}

TEST(ObjectInstance, FreedFromInsideItsOwnCallTheMethodLivesUntilTheCallReturns) {
  auto alive = std::make_shared<int>(7);
  std::weak_ptr<int> watch = alive;
  void* self = nullptr;
  bool aliveDuringCall = false;
  self = MakeObjectInstance([held = std::move(alive), &self, &watch, &aliveDuringCall](TMessage& m) {
    FreeObjectInstance(self);
    aliveDuringCall = !watch.expired() && *held == 7;
    m.Result = 55;
  });
  RawWindow w;
  EXPECT_EQ(CallWindowProcW(AsWndProc(self), w.wnd, WM_USER, 0, 0), 55);
  EXPECT_TRUE(aliveDuringCall);
  EXPECT_TRUE(watch.expired());
}

// ---------------------------------------------------------------------------
// TWndSubclass

TEST(WndSubclass, ReplacesAndRestoresThePreviousProcedureExactly) {
  RawWindow w;
  const LONG_PTR original = w.Proc();
  TWndSubclass sub;
  ASSERT_TRUE(sub.Install(w.wnd, [&sub](TMessage& m) {
    if (m.Msg == kAsk) m.Result = 200 + sub.CallPrev(m.Msg, m.WParam, m.LParam);
    else sub.CallPrev(m);
  }));
  EXPECT_EQ(w.Proc(), reinterpret_cast<LONG_PTR>(sub.ObjectInstance()));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(sub.PrevWndProc()), original);
  EXPECT_EQ(SendMessageW(w.wnd, kAsk, 0, 0), 300);
  EXPECT_FALSE(sub.Install(w.wnd, [](TMessage&) {})) << "one window per object";
  EXPECT_TRUE(sub.Remove());
  EXPECT_EQ(w.Proc(), original);
  EXPECT_EQ(SendMessageW(w.wnd, kAsk, 0, 0), 100);
  EXPECT_FALSE(sub.Install(nullptr, [](TMessage&) {}));
}

TEST(WndSubclass, MessagesReachTheObjectOfTheirWindow) {
  RawWindow w1, w2;
  Tracer a('A'), b('B');
  ASSERT_TRUE(a.Install(w1.wnd));
  ASSERT_TRUE(b.Install(w2.wnd));
  gTrace.clear();
  SendMessageW(w2.wnd, kTrace, 0, 0);
  SendMessageW(w1.wnd, kTrace, 0, 0);
  EXPECT_EQ(gTrace, "BPAP");
}

TEST(WndSubclass, ChainOfTwoRemovedNewestFirst) {
  RawWindow w;
  const LONG_PTR original = w.Proc();
  Tracer a('A'), b('B');
  ASSERT_TRUE(a.Install(w.wnd));
  ASSERT_TRUE(b.Install(w.wnd));
  gTrace.clear();
  SendMessageW(w.wnd, kTrace, 0, 0);
  EXPECT_EQ(gTrace, "BAP");
  EXPECT_TRUE(b.sub.Remove());
  EXPECT_EQ(w.Proc(), reinterpret_cast<LONG_PTR>(a.sub.ObjectInstance()));
  EXPECT_TRUE(a.sub.Remove());
  EXPECT_EQ(w.Proc(), original);
}

TEST(WndSubclass, ChainOfTwoRemovedOldestFirstLeavesAPassThrough) {
  RawWindow w;
  const LONG_PTR original = w.Proc();
  auto a = std::make_unique<Tracer>('A');
  Tracer b('B');
  ASSERT_TRUE(a->Install(w.wnd));
  void* aStub = a->sub.ObjectInstance();
  ASSERT_TRUE(b.Install(w.wnd));
  // B holds A's address: A cannot put the class procedure back.
  EXPECT_FALSE(a->sub.Remove());
  a.reset();  // the owner is gone; its stub must not call into it
  gTrace.clear();
  EXPECT_EQ(SendMessageW(w.wnd, kAsk, 0, 0), 100);
  SendMessageW(w.wnd, kTrace, 0, 0);
  EXPECT_EQ(gTrace, "BP");
  // B restores A's stub; the next message finds it uncovered and it steps out.
  EXPECT_TRUE(b.sub.Remove());
  EXPECT_EQ(w.Proc(), reinterpret_cast<LONG_PTR>(aStub));
  gTrace.clear();
  SendMessageW(w.wnd, kTrace, 0, 0);
  EXPECT_EQ(gTrace, "P");
  EXPECT_EQ(w.Proc(), original);
}

TEST(WndSubclass, ForeignProcedureInstalledAfterOursNeverJumpsIntoFreedMemory) {
  RawWindow w;
  Tracer a('A');
  ASSERT_TRUE(a.Install(w.wnd));
  void* aStub = a.sub.ObjectInstance();
  gForeignPrev = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  ASSERT_EQ(reinterpret_cast<void*>(gForeignPrev), aStub);
  EXPECT_FALSE(a.sub.Remove());
  const int callsBefore = a.calls;
  // Other stubs come and go meanwhile; none may take the address still called.
  void* other = MakeObjectInstance([](TMessage&) {});
  EXPECT_NE(other, aStub);
  FreeObjectInstance(other);
  gTrace.clear();
  EXPECT_EQ(SendMessageW(w.wnd, kAsk, 0, 0), 100);
  SendMessageW(w.wnd, kTrace, 0, 0);
  EXPECT_EQ(gTrace, "FP");
  EXPECT_EQ(a.calls, callsBefore);
  // Once the window is gone, the pass-through frees itself: its address is
  // the next one handed out.
  DestroyWindow(w.wnd);
  void* next = MakeObjectInstance([](TMessage&) {});
  EXPECT_EQ(next, aStub);
  FreeObjectInstance(next);
}

TEST(WndSubclass, RemovedFromInsideItsOwnMessageAndAfterTheWindowIsGone) {
  RawWindow w;
  const LONG_PTR original = w.Proc();
  TWndSubclass sub;
  int after = 0;
  ASSERT_TRUE(sub.Install(w.wnd, [&](TMessage& m) {
    if (m.Msg == kAsk) {
      sub.Remove();
      sub.CallPrev(m);  // the message being handled still goes on
      ++after;
      return;
    }
    sub.CallPrev(m);
  }));
  EXPECT_EQ(SendMessageW(w.wnd, kAsk, 0, 0), 100);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(w.Proc(), original);
  EXPECT_FALSE(sub.Installed());

  RawWindow dead;
  Tracer t('T');
  ASSERT_TRUE(t.Install(dead.wnd));
  DestroyWindow(dead.wnd);
  EXPECT_TRUE(t.sub.Remove());
}

// ---------------------------------------------------------------------------
// TTimer

TEST(Timer, FiresWhileEnabledWithAnInterval) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetEnabled(false);
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    ++ticks;
  };
  Pump(80);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  Pump(200);
  EXPECT_GE(ticks, 3);
  timer.SetInterval(0);
  const int stopped = ticks;
  Pump(80);
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, FiresInsideAMessageBoxModalLoop) {
  TTimer timer(nullptr);
  timer.SetInterval(20);
  int ticks = 0;
  bool closedByTimer = false;
  const wchar_t* title = L"Quillvault timer test";
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) {
      HWND box = FindWindowW(L"#32770", title);
      if (box) {
        closedByTimer = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
  };
  // Should the timer stay silent, the box is closed from outside after a while.
  std::atomic<bool> done{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 100 && !done; ++i) Sleep(100);
    if (!done) PostMessageW(FindWindowW(L"#32770", title), WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(nullptr, L"waiting for the timer", title, MB_OK);
  done = true;
  watchdog.join();
  EXPECT_TRUE(closedByTimer);
  EXPECT_GE(ticks, 3);
}

TEST(Timer, DisabledOrFreedInsideItsOwnOnTimer) {
  TTimer disabled(nullptr);
  disabled.SetInterval(5);
  int ticks = 0;
  disabled.OnTimer = [&](TObject*) {
    ++ticks;
    disabled.SetEnabled(false);
  };

  auto* freed = new TTimer(nullptr);
  freed->SetInterval(5);
  HWND hidden = freed->WindowHandle();
  int freedTicks = 0;
  freed->OnTimer = [&, freed](TObject*) {
    ++freedTicks;
    delete freed;
  };
  TTimer survivor(nullptr);
  survivor.SetInterval(5);
  int survivorTicks = 0;
  survivor.OnTimer = [&](TObject*) { ++survivorTicks; };

  Pump(150);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(freedTicks, 1);
  EXPECT_FALSE(IsWindow(hidden));
  EXPECT_GE(survivorTicks, 3);
}

TEST(Timer, OwnedTimersGoWithTheirOwner) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* timer = new TTimer(owner.get());
  timer->SetInterval(5);
  timer->OnTimer = [](TObject*) {};
  HWND hidden = timer->WindowHandle();
  EXPECT_TRUE(IsWindow(hidden));
  owner.reset();
  EXPECT_FALSE(IsWindow(hidden));
  Pump(30);
}
