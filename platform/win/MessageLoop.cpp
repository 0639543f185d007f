// The message queue of the user-interface thread: sent and posted messages, retrieval in
// the Windows order (posted, input, quit, paint, timers), dispatch, hooks and timers.
#include <algorithm>
#include <cctype>

#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

// The back end used when none is installed: a clock standing at zero that cannot wait.
class TBuiltinBackend : public TBackend {
public:
  unsigned long long Now() override { return FNow; }
  void Wait(bool, unsigned long long) override {
    throw EMessageLoopStalled("The message loop waits for input, but no back end delivers any");
  }
  void Sleep(unsigned long ms) override { FNow += ms; }

private:
  unsigned long long FNow = 0;
};

TBuiltinBackend& Builtin() {
  static TBuiltinBackend backend;
  return backend;
}
TBackend* gBackend = nullptr;

struct TDispatchScope {
  TDispatchScope() { ++S().DispatchDepth; }
  ~TDispatchScope() { --S().DispatchDepth; }
};

bool MatchesFilter(const MSG& m, HWND filter, UINT minMsg, UINT maxMsg) {
  if (filter == reinterpret_cast<HWND>(-1)) {
    if (m.hwnd) return false;
  } else if (filter) {
    if (m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
  }
  if (minMsg == 0 && maxMsg == 0) return true;
  if (maxMsg < minMsg) return m.message >= minMsg || m.message <= maxMsg;
  return m.message >= minMsg && m.message <= maxMsg;
}

void PurgeRemovedHooks() {
  auto& hooks = S().Hooks;
  if (S().HookDepth > 0) return;
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [](auto& h) { return h->Removed; }),
              hooks.end());
}

TTimer* FindDueTimer(HWND filter, UINT minMsg, UINT maxMsg) {
  if (!(minMsg == 0 && maxMsg == 0) && !(WM_TIMER >= minMsg && WM_TIMER <= maxMsg)) return nullptr;
  // The first timer in due order that passes the filter is the one to fire.
  return S().Timers.FirstDue(CurrentBackend().Now(), [filter](const TTimer& t) {
    if (filter == reinterpret_cast<HWND>(-1)) return t.Wnd == nullptr;
    return !filter || t.Wnd == filter || IsChild(filter, t.Wnd);
  });
}

MSG MakeMsg(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  MSG m;
  m.hwnd = h;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = GetTickCount();
  m.pt = S().Cursor;
  return m;
}

// Finds the next message in the Windows order; removes it when asked.
bool GetNext(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  auto& s = S();
  FreeGraveyard();
  // Posted messages.
  for (auto it = s.Posted.begin(); it != s.Posted.end(); ++it) {
    if (!MatchesFilter(*it, filter, minMsg, maxMsg)) continue;
    *out = *it;
    if (remove) s.Posted.erase(it);
    return true;
  }
  // Input, turned into messages in arrival order.
  for (;;) {
    for (auto it = s.CookedInput.begin(); it != s.CookedInput.end(); ++it) {
      if (!MatchesFilter(*it, filter, minMsg, maxMsg)) continue;
      *out = *it;
      if (remove) s.CookedInput.erase(it);
      return true;
    }
    if (!CookNextInput()) break;
    // Cooking may have posted messages (WM_MOUSELEAVE…): they come first.
    for (auto it = s.Posted.begin(); it != s.Posted.end(); ++it) {
      if (!MatchesFilter(*it, filter, minMsg, maxMsg)) continue;
      *out = *it;
      if (remove) s.Posted.erase(it);
      return true;
    }
  }
  // Quit.
  if (s.QuitPosted && (!filter || filter == reinterpret_cast<HWND>(-1)) &&
      ((minMsg == 0 && maxMsg == 0) || (WM_QUIT >= minMsg && WM_QUIT <= maxMsg))) {
    *out = MakeMsg(nullptr, WM_QUIT, WPARAM(s.QuitCode), 0);
    if (remove) s.QuitPosted = false;
    return true;
  }
  // Paint.
  if ((minMsg == 0 && maxMsg == 0) || (WM_PAINT >= minMsg && WM_PAINT <= maxMsg)) {
    HWND h = nullptr;
    if (FindPaintWindow(filter == reinterpret_cast<HWND>(-1) ? nullptr : filter, &h) &&
        filter != reinterpret_cast<HWND>(-1)) {
      *out = MakeMsg(h, WM_PAINT, 0, 0);
      return true;
    }
  }
  // Timers.
  if (TTimer* t = FindDueTimer(filter, minMsg, maxMsg)) {
    *out = MakeMsg(t->Wnd, WM_TIMER, t->Id, LPARAM(t->Proc));
    if (remove) S().Timers.Reschedule(t, CurrentBackend().Now() + t->Interval);
    return true;
  }
  return false;
}

void RunGetMessageHooks(MSG* msg, bool remove) {
  bool any = false;
  RunHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, LPARAM(msg), &any);
}

}  // namespace

// --- back end ------------------------------------------------------------------------------
TBackend* SetBackend(TBackend* backend) {
  TBackend* old = gBackend;
  gBackend = backend;
  return old;
}
TBackend& CurrentBackend() { return gBackend ? *gBackend : Builtin(); }

namespace winsys {

LRESULT RunHooks(int idHook, int code, WPARAM wp, LPARAM lp, bool* any) {
  *any = false;
  auto& hooks = S().Hooks;
  for (size_t i = 0; i < hooks.size(); ++i) {
    THook* h = hooks[i].get();
    if (h->Id != idHook || h->Removed) continue;
    *any = true;
    ++S().HookDepth;
    struct TLeave {
      ~TLeave() {
        --S().HookDepth;
        PurgeRemovedHooks();
      }
    } leave;
    return h->Proc(code, wp, lp);
  }
  return 0;
}

LRESULT CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  bool any = false;
  if (!S().Hooks.empty()) {
    CWPSTRUCT cwp{lp, wp, msg, h};
    RunHooks(WH_CALLWNDPROC, HC_ACTION, 0, LPARAM(&cwp), &any);
    if (!Valid(h)) return 0;
  }
  struct TSendScope {
    TSendScope() { ++S().SendDepth; }
    ~TSendScope() { --S().SendDepth; }
  } scope;
  WNDPROC proc = h->Proc;
  return proc ? proc(h, msg, wp, lp) : DefWindowProc(h, msg, wp, lp);
}

void FreeGraveyard() {
  auto& s = S();
  if (s.DispatchDepth > 0 || s.SendDepth > 0 || s.DestroyDepth > 0 || s.Graveyard.empty()) return;
  std::vector<HWND> dead;
  dead.swap(s.Graveyard);
  RetireWindows(dead);
}

void RetireWindows(const std::vector<HWND>& dead) {
  // Keep this many freed windows before their memory is reused.
  constexpr size_t kRetiredHandles = 4096;
  auto& s = S();
  for (HWND h : dead) {
    h->Extra.clear();
    h->Extra.shrink_to_fit();
    h->Text.clear();
    h->Text.shrink_to_fit();
    s.Retired.push_back(h);
  }
  while (s.Retired.size() > kRetiredHandles) {
    delete s.Retired.front();
    s.Retired.pop_front();
  }
}

void RemoveMessagesFor(HWND h) {
  auto& s = S();
  auto gone = [h](const MSG& m) { return m.hwnd == h; };
  s.Posted.erase(std::remove_if(s.Posted.begin(), s.Posted.end(), gone), s.Posted.end());
  s.CookedInput.erase(std::remove_if(s.CookedInput.begin(), s.CookedInput.end(), gone), s.CookedInput.end());
}

void KillTimersFor(HWND h) { S().Timers.KillFor(h); }

// --- the timer set ---------------------------------------------------------------------------
std::uint64_t TTimerSet::HashOf(HWND wnd, UINT_PTR id) {
  std::uint64_t h = (std::uint64_t(reinterpret_cast<std::uintptr_t>(wnd)) * 0x9E3779B97F4A7C15ull) ^ std::uint64_t(id);
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return h;
}

std::size_t TTimerSet::Probe(HWND wnd, UINT_PTR id) const {
  std::uint64_t hash = HashOf(wnd, id);
  std::uint32_t tag = std::uint32_t(hash >> 32);
  std::size_t mask = Index.size() - 1;
  for (std::size_t i = HomeOf(hash);; i = (i + 1) & mask) {
    const TIndexEntry& e = Index[i];
    if (e.Slot == kNone) return i;
    if (e.Tag == tag && Slots[e.Slot].T.Wnd == wnd && Slots[e.Slot].T.Id == id) return i;
  }
}

// The slot's timer must already hold its window and id.
void TTimerSet::IndexInsert(HWND wnd, UINT_PTR id, std::uint32_t slot) {
  if ((IndexCount + 1) * 4 > Index.size() * 3) {
    std::vector<TIndexEntry> old(std::max<std::size_t>(16, Index.size() * 2));
    old.swap(Index);
    std::size_t mask = Index.size() - 1;
    for (const TIndexEntry& e : old) {
      if (e.Slot == kNone) continue;
      const TTimer& t = Slots[e.Slot].T;
      std::size_t i = HomeOf(HashOf(t.Wnd, t.Id));
      while (Index[i].Slot != kNone) i = (i + 1) & mask;
      Index[i] = e;
    }
  }
  Index[Probe(wnd, id)] = TIndexEntry{slot, std::uint32_t(HashOf(wnd, id) >> 32)};
  ++IndexCount;
}

void TTimerSet::IndexErase(HWND wnd, UINT_PTR id) {
  std::size_t mask = Index.size() - 1;
  std::size_t hole = Probe(wnd, id);
  if (Index[hole].Slot == kNone) return;
  // Moves back every later entry of the run that may sit in the hole, so probing never
  // stops short of an entry.
  for (std::size_t i = (hole + 1) & mask; Index[i].Slot != kNone; i = (i + 1) & mask) {
    const TTimer& t = Slots[Index[i].Slot].T;
    std::size_t home = HomeOf(HashOf(t.Wnd, t.Id));
    if (((i - home) & mask) >= ((i - hole) & mask)) {
      Index[hole] = Index[i];
      hole = i;
    }
  }
  Index[hole] = TIndexEntry{};
  --IndexCount;
}

std::uint32_t TTimerSet::NextOrder() {
  if (OrderCount == 0xFFFFFFFFu) {
    std::vector<THeapEntry*> live;
    live.reserve(Heap.size());
    for (THeapEntry& e : Heap) live.push_back(&e);
    std::sort(live.begin(), live.end(), [](const THeapEntry* a, const THeapEntry* b) { return a->Order < b->Order; });
    // The same relative order, so the heap stays a heap.
    OrderCount = 0;
    for (THeapEntry* e : live) e->Order = OrderCount++;
  }
  return OrderCount++;
}

TTimer* TTimerSet::Find(HWND wnd, UINT_PTR id) {
  if (Index.empty()) return nullptr;
  const TIndexEntry& e = Index[Probe(wnd, id)];
  return e.Slot == kNone ? nullptr : &Slots[e.Slot].T;
}

void TTimerSet::Place(std::size_t pos, const THeapEntry& e) {
  Heap[pos] = e;
  HeapPos[e.Slot] = std::uint32_t(pos);
}

void TTimerSet::SiftUp(std::size_t pos) {
  THeapEntry e = Heap[pos];
  while (pos > 0) {
    std::size_t parent = (pos - 1) / kArity;
    if (!(e < Heap[parent])) break;
    Place(pos, Heap[parent]);
    pos = parent;
  }
  Place(pos, e);
}

void TTimerSet::SiftDown(std::size_t pos) {
  THeapEntry e = Heap[pos];
  std::size_t n = Heap.size();
  for (;;) {
    std::size_t first = kArity * pos + 1;
    if (first >= n) break;
    std::size_t child = first, last = std::min(n, first + kArity);
    for (std::size_t c = first + 1; c < last; ++c)
      if (Heap[c] < Heap[child]) child = c;
    if (!(Heap[child] < e)) break;
    Place(pos, Heap[child]);
    pos = child;
  }
  Place(pos, e);
}

// Moves the slot's heap entry to where its timer's due time and order now put it.
void TTimerSet::Requeue(std::uint32_t slot) {
  std::size_t pos = HeapPos[slot];
  Heap[pos].Due = Slots[slot].T.Due;
  SiftUp(pos);
  SiftDown(HeapPos[slot]);
}

void TTimerSet::Set(const TTimer& t) {
  if (TTimer* old = Find(t.Wnd, t.Id)) {
    *old = t;
    std::uint32_t slot = SlotOf(old);
    Heap[HeapPos[slot]].Order = NextOrder();
    Requeue(slot);
    return;
  }
  std::uint32_t slot;
  if (!FreeSlots.empty()) {
    slot = FreeSlots.back();
    FreeSlots.pop_back();
  } else {
    slot = std::uint32_t(Slots.size());
    Slots.emplace_back();
    HeapPos.push_back(kNone);
  }
  TSlot& s = Slots[slot];
  s.T = t;
  IndexInsert(t.Wnd, t.Id, slot);
  // Joins the front of its window's list.
  auto [head, first] = WndHead.try_emplace(t.Wnd, slot);
  s.PrevInWnd = kNone;
  s.NextInWnd = first ? kNone : head->second;
  if (!first) {
    Slots[head->second].PrevInWnd = slot;
    head->second = slot;
  }
  if (!t.Wnd) ThreadIds.insert(t.Id);
  Heap.push_back(THeapEntry{t.Due, NextOrder(), slot});
  HeapPos[slot] = std::uint32_t(Heap.size() - 1);
  SiftUp(Heap.size() - 1);
}

// Takes the slot out of the heap, the index, its window's list and the thread ids.
void TTimerSet::Remove(std::uint32_t slot) {
  TSlot& s = Slots[slot];
  std::size_t pos = HeapPos[slot];
  THeapEntry last = Heap.back();
  Heap.pop_back();
  if (pos < Heap.size()) {
    Place(pos, last);
    SiftUp(pos);
    SiftDown(HeapPos[last.Slot]);
  }
  IndexErase(s.T.Wnd, s.T.Id);
  if (s.PrevInWnd != kNone) Slots[s.PrevInWnd].NextInWnd = s.NextInWnd;
  else if (s.NextInWnd != kNone) WndHead[s.T.Wnd] = s.NextInWnd;
  else WndHead.erase(s.T.Wnd);
  if (s.NextInWnd != kNone) Slots[s.NextInWnd].PrevInWnd = s.PrevInWnd;
  if (!s.T.Wnd) ThreadIds.erase(s.T.Id);
  s = TSlot{};
  HeapPos[slot] = kNone;
  FreeSlots.push_back(slot);
}

bool TTimerSet::Kill(HWND wnd, UINT_PTR id) {
  TTimer* t = Find(wnd, id);
  if (!t) return false;
  Remove(SlotOf(t));
  return true;
}

void TTimerSet::KillFor(HWND wnd) {
  for (auto head = WndHead.find(wnd); head != WndHead.end(); head = WndHead.find(wnd)) Remove(head->second);
}

void TTimerSet::Reschedule(TTimer* t, unsigned long long due) {
  t->Due = due;
  Requeue(SlotOf(t));
}

void TTimerSet::Clear() {
  Slots.clear();
  HeapPos.clear();
  FreeSlots.clear();
  Heap.clear();
  Index.clear();
  IndexCount = 0;
  OrderCount = 0;
  WndHead.clear();
  ThreadIds.clear();
}

bool TTimerSet::HasProc(HWND wnd, TIMERPROC proc) const {
  auto head = WndHead.find(wnd);
  if (head == WndHead.end()) return false;
  for (std::uint32_t i = head->second; i != kNone; i = Slots[i].NextInWnd)
    if (Slots[i].T.Proc == proc) return true;
  return false;
}

void ResetQueue() {
  auto& s = S();
  s.Posted.clear();
  s.CookedInput.clear();
  s.RawInput.clear();
  s.QuitPosted = false;
  s.QuitCode = 0;
  s.Timers.Clear();
  s.Hooks.clear();
  s.HookDepth = 0;
  s.RegisteredMessages.clear();
  s.NextRegisteredMessage = 0xC000;
  s.DispatchDepth = 0;
  s.SendDepth = 0;
  s.DestroyDepth = 0;
  FreeGraveyard();
}

}  // namespace winsys

// --- sending and posting ------------------------------------------------------------------
LRESULT SendMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (h == HWND_BROADCAST) {
    std::vector<HWND> tops = S().TopLevels;
    for (HWND t : tops)
      if (Valid(t)) CallProc(t, msg, wp, lp);
    return 0;
  }
  if (!Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallProc(h, msg, wp, lp);
}

BOOL PostMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (h == HWND_BROADCAST) {
    for (HWND t : S().TopLevels) S().Posted.push_back(MakeMsg(t, msg, wp, lp));
    return TRUE;
  }
  if (h && !Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (msg == WM_QUIT && !h) {
    // A posted quit is an ordinary thread message; PostQuitMessage is the usual way.
  }
  S().Posted.push_back(MakeMsg(h, msg, wp, lp));
  return TRUE;
}

BOOL PostThreadMessage(DWORD, UINT msg, WPARAM wp, LPARAM lp) { return PostMessage(nullptr, msg, wp, lp); }
DWORD GetCurrentThreadId() { return 1; }
DWORD GetWindowThreadProcessId(HWND h, DWORD* processId) {
  if (!Valid(h)) return 0;
  if (processId) *processId = GetCurrentProcessId();
  return 1;
}

void PostQuitMessage(int exitCode) {
  S().QuitPosted = true;
  S().QuitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND h, UINT minMsg, UINT maxMsg, UINT removeFlags) {
  if (!msg) return FALSE;
  bool remove = removeFlags & PM_REMOVE;
  if (!GetNext(msg, h, minMsg, maxMsg, remove)) {
    // Nothing waiting: a loop that polls instead of waiting still gets the back end's
    // input and presentation, at most once per millisecond of its clock.
    static unsigned long long lastPoll = ~0ull;
    TBackend& backend = CurrentBackend();
    unsigned long long now = backend.Now();
    if (now == lastPoll) return FALSE;
    lastPoll = now;
    backend.Poll();
    if (!GetNext(msg, h, minMsg, maxMsg, remove)) return FALSE;
  }
  RunGetMessageHooks(msg, remove);
  return TRUE;
}

BOOL GetMessage(MSG* msg, HWND h, UINT minMsg, UINT maxMsg) {
  if (!msg) return FALSE;
  for (;;) {
    if (GetNext(msg, h, minMsg, maxMsg, true)) {
      RunGetMessageHooks(msg, true);
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    WaitMessage();
  }
}

BOOL WaitMessage() {
  MSG m;
  if (GetNext(&m, nullptr, 0, 0, false)) return TRUE;
  unsigned long long due = 0;
  bool hasTimer = NextTimerDue(&due);
  CurrentBackend().Wait(hasTimer, due);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  auto& s = S();
  s.MessageTime = msg->time;
  s.MessagePos = DWORD(MAKELONG(WORD(msg->pt.x), WORD(msg->pt.y)));
  ++s.Dispatched;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    const TTimer* named = s.Timers.Find(msg->hwnd, msg->wParam);
    bool known = (named && named->Proc == proc) || s.Timers.HasProc(msg->hwnd, proc);
    if (!known) return 0;
    TDispatchScope scope;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd || !Valid(msg->hwnd)) return 0;
  HWND h = msg->hwnd;
  TDispatchScope scope;
  if (msg->message == WM_PAINT) {
    unsigned long long paints = h->PaintCount;
    LRESULT r = CallProc(h, WM_PAINT, msg->wParam, msg->lParam);
    // A window that does not paint on WM_PAINT would get it forever: validate it.
    if (Valid(h) && h->PaintCount == paints) {
      h->Update.Clear();
      h->EraseNeeded = false;
      h->NcPaintNeeded = false;
      h->InternalPaint = false;
      PaintStateChanged(h);
    }
    return r;
  }
  return CallProc(h, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || !msg->lPrivate) return FALSE;
  if (msg->message == WM_KEYDOWN) return PostMessage(msg->hwnd, WM_CHAR, msg->lPrivate, msg->lParam);
  if (msg->message == WM_SYSKEYDOWN) return PostMessage(msg->hwnd, WM_SYSCHAR, msg->lPrivate, msg->lParam);
  return FALSE;
}

UINT RegisterWindowMessage(LPCSTR name) {
  if (!name || !*name) return 0;
  std::string key = name;
  for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
  auto& reg = S().RegisteredMessages;
  auto it = reg.find(key);
  if (it != reg.end()) return it->second;
  if (S().NextRegisteredMessage > 0xFFFF) return 0;
  UINT id = S().NextRegisteredMessage++;
  reg[key] = id;
  return id;
}

DWORD GetMessageTime() { return S().MessageTime; }
DWORD GetMessagePos() { return S().MessagePos; }
LPARAM GetMessageExtraInfo() { return 0; }
BOOL InSendMessage() { return FALSE; }

BOOL CallMsgFilter(MSG* msg, int code) {
  bool any = false;
  return RunHooks(WH_MSGFILTER, code, 0, LPARAM(msg), &any) != 0 ? TRUE : FALSE;
}

DWORD GetQueueStatus(UINT flags) {
  auto& s = S();
  DWORD status = 0;
  if (!s.Posted.empty()) status |= QS_POSTMESSAGE;
  for (const MSG& m : s.CookedInput)
    status |= (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) ? QS_KEY
              : m.message == WM_MOUSEMOVE                          ? QS_MOUSEMOVE
                                                                   : QS_MOUSEBUTTON;
  for (const TRawInput& r : s.RawInput)
    status |= r.Kind == TRawInput::KKey ? QS_KEY : r.Kind == TRawInput::KMove ? QS_MOUSEMOVE : QS_MOUSEBUTTON;
  HWND h;
  if (FindPaintWindow(nullptr, &h)) status |= QS_PAINT;
  if (FindDueTimer(nullptr, 0, 0)) status |= QS_TIMER;
  status &= flags;
  return MAKELONG(WORD(status), WORD(status));
}

// --- hooks ---------------------------------------------------------------------------------
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
  if (!proc || idHook < WH_MSGFILTER || idHook > WH_MOUSE_LL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto hook = std::make_unique<THook>();
  hook->Id = idHook;
  hook->Proc = proc;
  HHOOK handle = reinterpret_cast<HHOOK>(hook.get());
  S().Hooks.insert(S().Hooks.begin(), std::move(hook));
  return handle;
}

static THook* FindHook(HHOOK handle) {
  for (auto& h : S().Hooks)
    if (reinterpret_cast<HHOOK>(h.get()) == handle && !h->Removed) return h.get();
  return nullptr;
}

BOOL UnhookWindowsHookEx(HHOOK handle) {
  THook* h = FindHook(handle);
  if (!h) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  h->Removed = true;
  PurgeRemovedHooks();
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK handle, int code, WPARAM wp, LPARAM lp) {
  auto& hooks = S().Hooks;
  size_t i = 0;
  int id = 0;
  for (; i < hooks.size(); ++i)
    if (reinterpret_cast<HHOOK>(hooks[i].get()) == handle) {
      id = hooks[i]->Id;
      break;
    }
  if (i == hooks.size()) return 0;
  for (++i; i < hooks.size(); ++i) {
    THook* h = hooks[i].get();
    if (h->Id != id || h->Removed) continue;
    ++S().HookDepth;
    struct TLeave {
      ~TLeave() {
        --S().HookDepth;
        PurgeRemovedHooks();
      }
    } leave;
    return h->Proc(code, wp, lp);
  }
  return 0;
}

// --- timers --------------------------------------------------------------------------------
UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (h && !Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
  auto& timers = S().Timers;
  if (!h) {
    // Thread timers get a fresh id unless an existing thread timer is named.
    if (!id || !timers.Find(nullptr, id)) id = std::max<UINT_PTR>(0x7FFF, timers.MaxThreadId()) + 1;
  }
  TTimer t;
  t.Wnd = h;
  t.Id = id;
  t.Interval = elapse;
  t.Proc = proc;
  t.Due = CurrentBackend().Now() + elapse;
  timers.Set(t);
  return h ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND h, UINT_PTR id) { return S().Timers.Kill(h, id) ? TRUE : FALSE; }

DWORD GetTickCount() { return DWORD(CurrentBackend().Now()); }
unsigned long long GetTickCount64() { return CurrentBackend().Now(); }
void Sleep(DWORD ms) { CurrentBackend().Sleep(ms); }

bool NextTimerDue(unsigned long long* due) {
  const TTimer* t = S().Timers.First();
  if (t) *due = t->Due;
  return t != nullptr;
}

static TMessageFilter& Filter() {
  static TMessageFilter filter;
  return filter;
}

TMessageFilter SetMessageFilter(TMessageFilter filter) {
  TMessageFilter old = std::move(Filter());
  Filter() = std::move(filter);
  return old;
}

void HandleOneMessage(MSG& m) {
  if (Filter()) {
    TMessageFilter f = Filter();  // the filter may replace itself
    if (f(m)) return;
  }
  TranslateMessage(&m);
  DispatchMessage(&m);
}

void ProcessPendingMessages() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));  // left for the loop that owns the program
      return;
    }
    HandleOneMessage(m);
  }
}

unsigned long long DispatchedMessageCount() { return S().Dispatched; }
