#include "platform/win/ObjectInstance.h"

#include <cstring>
#include <mutex>

#include "platform/core/Exceptions.h"
#include "platform/win/ExceptionBarrier.h"

namespace qv {

namespace {

struct TInstanceRecord {
  TWndMethod method;
  int calls = 0;      // nesting depth of calls running through this record
  bool freed = false;  // freed while a call was running: deleted when it returns
};

// One stub and its bookkeeping. The stub is all that the window system sees.
struct alignas(16) TInstanceSlot {
  uint8_t code[24];
  TInstanceRecord* record;
  TInstanceSlot* nextFree;
};

constexpr size_t kBlockBytes = 4096;  // one page, the unit of protection
constexpr size_t kSlotsPerBlock = kBlockBytes / sizeof(TInstanceSlot);

// Windows may be created on any thread; the allocator is shared.
std::mutex gSlotLock;
TInstanceSlot* gFreeSlots = nullptr;

// Freed stubs point here, so a window that still holds a freed address gets
// answer 0 rather than a jump through a deleted record.
TInstanceRecord gDeadRecord;

LRESULT CALLBACK InstanceWndProc(TInstanceRecord* record, UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  if (!record->method) return 0;
  ++record->calls;
  ReportingBarrier([&] { record->method(m); });
  if (--record->calls == 0 && record->freed) delete record;
  return m.Result;
}

// A block is read and execute only, except while one of its slots is
// written: a stray write can never plant code that windows will run. It
// stays executable meanwhile, as another thread may be in one of its stubs.
class TBlockWriter {
 public:
  explicit TBlockWriter(TInstanceSlot* slot)
      : block_(reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(slot) & ~uintptr_t{kBlockBytes - 1})) {
    DWORD was = 0;
    writable_ = VirtualProtect(block_, kBlockBytes, PAGE_EXECUTE_READWRITE, &was) != FALSE;
  }
  ~TBlockWriter() {
    DWORD was = 0;
    if (writable_) VirtualProtect(block_, kBlockBytes, PAGE_EXECUTE_READ, &was);
  }
  TBlockWriter(const TBlockWriter&) = delete;
  TBlockWriter& operator=(const TBlockWriter&) = delete;
  explicit operator bool() const { return writable_; }

 private:
  void* block_;
  bool writable_ = false;
};

// The stub puts the record where the window handle was (the first argument)
// and jumps to InstanceWndProc, leaving the stack as the caller built it.
void WriteStub(TInstanceSlot* slot, TInstanceRecord* record) {
  uint8_t* c = slot->code;
  std::memset(c, 0xCC, sizeof slot->code);
  const auto target = reinterpret_cast<uintptr_t>(&InstanceWndProc);
#if defined(__x86_64__) || defined(_M_X64)
  // mov rcx, record; mov rax, target; jmp rax
  const auto rec = reinterpret_cast<uint64_t>(record);
  c[0] = 0x48, c[1] = 0xB9;
  std::memcpy(c + 2, &rec, 8);
  c[10] = 0x48, c[11] = 0xB8;
  const uint64_t to = target;
  std::memcpy(c + 12, &to, 8);
  c[20] = 0xFF, c[21] = 0xE0;
#elif defined(__i386__) || defined(_M_IX86)
  // mov dword [esp+4], record; jmp target (stdcall: the callee pops the arguments)
  const auto rec = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record));
  c[0] = 0xC7, c[1] = 0x44, c[2] = 0x24, c[3] = 0x04;
  std::memcpy(c + 4, &rec, 4);
  c[8] = 0xE9;
  const auto rel = static_cast<int32_t>(target - reinterpret_cast<uintptr_t>(c + 13));
  std::memcpy(c + 9, &rel, 4);
#else
#error "window-procedure stubs exist for x86 and x86-64 only"
#endif
  slot->record = record;
  FlushInstructionCache(GetCurrentProcess(), c, sizeof slot->code);
}

void AddBlock() {
  void* block = VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block) throw EOSError(u"Out of memory for window procedures");
  auto* slots = static_cast<TInstanceSlot*>(block);
  TInstanceSlot* chain = gFreeSlots;
  for (size_t i = kSlotsPerBlock; i-- > 0;) {
    slots[i].record = nullptr;
    slots[i].nextFree = chain;
    chain = &slots[i];
  }
  DWORD was = 0;
  if (!VirtualProtect(block, kBlockBytes, PAGE_EXECUTE_READ, &was)) {
    VirtualFree(block, 0, MEM_RELEASE);
    throw EOSError(u"Cannot make the window procedures executable");
  }
  gFreeSlots = chain;
}

}  // namespace

void* MakeObjectInstance(TWndMethod method) {
  auto record = std::make_unique<TInstanceRecord>();
  record->method = std::move(method);
  std::lock_guard<std::mutex> lock(gSlotLock);
  if (!gFreeSlots) AddBlock();
  TInstanceSlot* slot = gFreeSlots;
  const TBlockWriter writer(slot);
  if (!writer) throw EOSError(u"Cannot write a window procedure");
  gFreeSlots = slot->nextFree;
  slot->nextFree = nullptr;
  WriteStub(slot, record.release());
  return slot;
}

void FreeObjectInstance(void* instance) {
  if (!instance) return;
  auto* slot = static_cast<TInstanceSlot*>(instance);
  TInstanceRecord* record;
  {
    std::lock_guard<std::mutex> lock(gSlotLock);
    record = slot->record;
    if (!record || record == &gDeadRecord) return;  // freed twice
    const TBlockWriter writer(slot);
    // Left in place, record and all, rather than written through a page
    // that refuses it.
    if (!writer) return;
    WriteStub(slot, &gDeadRecord);
    slot->nextFree = gFreeSlots;
    gFreeSlots = slot;
  }
  if (record->calls > 0) record->freed = true;
  else delete record;
}

HWND AllocateHWnd(TWndMethod method) {
  static const ATOM kClass = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvUtilWindow";
    return RegisterClassExW(&wc);
  }();
  if (!kClass) throw EOSError(u"Cannot register the hidden window class");
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"QvUtilWindow", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!wnd) throw EOSError(u"Cannot create a hidden window");
  if (method) {
    void* instance = MakeObjectInstance(std::move(method));
    // Kept beside the procedure: reading GWLP_WNDPROC back may not give our
    // own address for a window whose class procedure was a system one.
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(instance));
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
  }
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (!wnd) return;
  void* instance = reinterpret_cast<void*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  DestroyWindow(wnd);
  FreeObjectInstance(instance);
}

// ---------------------------------------------------------------------------
// TWndSubclass

struct TWndSubclass::State {
  HWND wnd = nullptr;
  WNDPROC prev = nullptr;
  void* instance = nullptr;
  TWndMethod method;
  int depth = 0;
  bool gone = false;         // WM_NCDESTROY has passed
  bool passThrough = false;  // let go by its owner while covered by another procedure
  bool dropMethod = false;   // the method goes once the running call returns
};

namespace {

void PassThrough(TWndSubclass::State& s, TMessage& m) {
  // Uncovered again: step out of the chain now rather than stay for good.
  if (!s.gone && s.instance && GetWindowLongPtrW(s.wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(s.instance)) {
    SetWindowLongPtrW(s.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.prev));
    FreeObjectInstance(s.instance);
    s.instance = nullptr;
  }
  m.Result = CallWindowProcW(s.prev, s.wnd, m.Msg, m.WParam, m.LParam);
  if (m.Msg == WM_NCDESTROY && s.instance) {
    FreeObjectInstance(s.instance);
    s.instance = nullptr;
  }
}

void SubclassDispatch(TWndSubclass::State& s, TMessage& m) {
  struct Depth {
    TWndSubclass::State& s;
    explicit Depth(TWndSubclass::State& st) : s(st) { ++s.depth; }
    ~Depth() {
      if (--s.depth == 0 && s.dropMethod) {
        s.method = nullptr;
        s.dropMethod = false;
      }
    }
  } depth(s);
  if (s.passThrough) PassThrough(s, m);
  else s.method(m);
  if (m.Msg == WM_NCDESTROY) s.gone = true;
}

}  // namespace

TWndSubclass::TWndSubclass() = default;

TWndSubclass::~TWndSubclass() { Remove(); }

bool TWndSubclass::Install(HWND wnd, TWndMethod method) {
  if (state_ || !method || !wnd || !IsWindow(wnd)) return false;
  auto s = std::make_shared<State>();
  s->wnd = wnd;
  s->method = std::move(method);
  s->prev = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
  s->instance = MakeObjectInstance([s](TMessage& m) { SubclassDispatch(*s, m); });
  SetLastError(0);
  const LONG_PTR old = SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s->instance));
  if (!old && GetLastError()) {
    FreeObjectInstance(s->instance);
    return false;
  }
  s->prev = reinterpret_cast<WNDPROC>(old);
  state_ = std::move(s);
  return true;
}

bool TWndSubclass::Remove() {
  if (!state_) return false;
  State& s = *state_;
  bool restored = true;
  if (s.gone || !IsWindow(s.wnd)) {
    FreeObjectInstance(s.instance);
  } else if (GetWindowLongPtrW(s.wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(s.instance)) {
    SetWindowLongPtrW(s.wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.prev));
    FreeObjectInstance(s.instance);
  } else {
    // Another procedure holds our address as its previous one.
    restored = false;
    s.passThrough = true;
    if (s.depth > 0) s.dropMethod = true;
    else s.method = nullptr;
  }
  // The record of the stub shares the state; it lives on with the stub.
  keptWnd_ = s.wnd;
  keptPrev_ = s.prev;
  state_.reset();
  return restored;
}

bool TWndSubclass::Installed() const { return state_ != nullptr; }
HWND TWndSubclass::Window() const { return state_ ? state_->wnd : keptWnd_; }
WNDPROC TWndSubclass::PrevWndProc() const { return state_ ? state_->prev : keptPrev_; }
void* TWndSubclass::ObjectInstance() const { return state_ ? state_->instance : nullptr; }

LRESULT TWndSubclass::CallPrev(UINT msg, WPARAM wparam, LPARAM lparam) const {
  const HWND wnd = Window();
  const WNDPROC prev = PrevWndProc();
  if (!prev) return DefWindowProcW(wnd, msg, wparam, lparam);
  return CallWindowProcW(prev, wnd, msg, wparam, lparam);
}

}  // namespace qv
