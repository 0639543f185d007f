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
  unsigned long long now = CurrentBackend().Now();
  TTimer* best = nullptr;
  // In due order: the first timer that passes the filter is the one to fire.
  S().Timers.ForEachByDue([&](TTimer& t) {
    if (t.Due > now) return false;
    if (filter == reinterpret_cast<HWND>(-1) && t.Wnd) return true;
    if (filter && filter != reinterpret_cast<HWND>(-1) && t.Wnd != filter && !IsChild(filter, t.Wnd)) return true;
    best = &t;
    return false;
  });
  return best;
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
  for (HWND h : dead) delete h;
}

void RemoveMessagesFor(HWND h) {
  auto& s = S();
  auto gone = [h](const MSG& m) { return m.hwnd == h; };
  s.Posted.erase(std::remove_if(s.Posted.begin(), s.Posted.end(), gone), s.Posted.end());
  s.CookedInput.erase(std::remove_if(s.CookedInput.begin(), s.CookedInput.end(), gone), s.CookedInput.end());
}

void KillTimersFor(HWND h) { S().Timers.KillFor(h); }

// --- the timer set ---------------------------------------------------------------------------
TTimer* TTimerSet::Find(HWND wnd, UINT_PTR id) {
  auto it = ById.find(KeyOf(wnd, id));
  return it == ById.end() ? nullptr : &it->second;
}

void TTimerSet::Set(const TTimer& t) {
  auto [it, added] = ById.try_emplace(KeyOf(t.Wnd, t.Id), t);
  if (!added) {
    ByDue.erase(DueOf(it->second));
    it->second = t;
  }
  ByDue.insert(DueOf(t));
}

bool TTimerSet::Kill(HWND wnd, UINT_PTR id) {
  auto it = ById.find(KeyOf(wnd, id));
  if (it == ById.end()) return false;
  ByDue.erase(DueOf(it->second));
  ById.erase(it);
  return true;
}

void TTimerSet::KillFor(HWND wnd) {
  auto from = ById.lower_bound(KeyOf(wnd, 0));
  auto it = from;
  for (; it != ById.end() && it->first.first == reinterpret_cast<std::uintptr_t>(wnd); ++it) ByDue.erase(DueOf(it->second));
  ById.erase(from, it);
}

void TTimerSet::Reschedule(TTimer* t, unsigned long long due) {
  ByDue.erase(DueOf(*t));
  t->Due = due;
  ByDue.insert(DueOf(*t));
}

void TTimerSet::Clear() {
  ById.clear();
  ByDue.clear();
}

UINT_PTR TTimerSet::MaxThreadId() const {
  auto end = ById.lower_bound(TKey{1, 0});  // past the null window's timers
  if (end == ById.begin() || std::prev(end)->first.first != 0) return 0;
  return std::prev(end)->first.second;
}

bool TTimerSet::HasProc(HWND wnd, TIMERPROC proc) const {
  auto key = reinterpret_cast<std::uintptr_t>(wnd);
  for (auto it = ById.lower_bound(TKey{key, 0}); it != ById.end() && it->first.first == key; ++it)
    if (it->second.Proc == proc) return true;
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
  t.Seq = ++S().TimerSeq;
  timers.Set(t);
  return h ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND h, UINT_PTR id) { return S().Timers.Kill(h, id) ? TRUE : FALSE; }

DWORD GetTickCount() { return DWORD(CurrentBackend().Now()); }
unsigned long long GetTickCount64() { return CurrentBackend().Now(); }
void Sleep(DWORD ms) { CurrentBackend().Sleep(ms); }

bool NextTimerDue(unsigned long long* due) {
  bool any = false;
  S().Timers.ForEachByDue([&](const TTimer& t) {
    *due = t.Due;
    any = true;
    return false;
  });
  return any;
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
