#pragma once
// Internal state of the window system, shared by its source files only.
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/win/Backend.h"
#include "platform/win/PointerMap.h"
#include "platform/win/WinUser.h"

namespace winsys {

// An area made of rectangles (update regions and visible areas), kept as a banded
// region whose rectangles are merged, so adding, subtracting and intersecting cost
// about the size of the outline, not of everything added so far. Rectangles added one
// by one wait in a list and join the region in one pass when it is next read, so that
// many small additions (a parent collecting the places of its children) cost n log n
// together instead of n each. An area that is a single rectangle (most update regions,
// visible areas and clips of a child) is held as that rectangle, with nothing allocated.
class TRectSet {
public:
  TRectSet() = default;
  explicit TRectSet(const RECT& r);
  TRectSet(const TRectSet& o);
  TRectSet(TRectSet&& o) noexcept;
  TRectSet& operator=(const TRectSet& o);
  TRectSet& operator=(TRectSet&& o) noexcept;
  ~TRectSet();
  bool Empty() const;
  // The disjoint rectangles, in bands from the top; valid until the set next changes.
  std::span<const RECT> Rects() const;
  void Clear();
  void Add(const RECT& r);
  void Add(const TRectSet& s);
  void Subtract(const RECT& r);
  void Subtract(const TRectSet& s);
  // Takes away all the rectangles at once (they may overlap).
  void Subtract(const std::vector<RECT>& rects);
  void Intersect(const RECT& r);
  void Intersect(const TRectSet& s);
  void Offset(int dx, int dy);
  RECT Bounds() const;
  bool Contains(POINT p) const;
  // Adds the area to a cairo region (building a region handle in one step).
  void UnionInto(struct _cairo_region* target) const;

private:
  // Moves the single rectangle into the region.
  void Spill() const;
  // Joins the waiting rectangles (and the single one) to the region.
  void Settle() const;
  struct _cairo_region* Region() const;  // the region, made when first needed
  mutable struct _cairo_region* FRegion = nullptr;  // null: empty
  mutable std::vector<RECT> FPending;  // added, not yet in FRegion; each non-empty
  mutable std::vector<RECT> FRects;
  mutable bool FRectsValid = false;
  // The whole area is this one non-empty rectangle: FRegion is empty, nothing waits.
  mutable RECT FSingle{};
  mutable bool FHasSingle = false;
};

bool RectEmpty(const RECT& r);
RECT RectIntersect(const RECT& a, const RECT& b);
RECT RectUnion(const RECT& a, const RECT& b);
bool RectContains(const RECT& r, POINT p);
RECT RectOffset(const RECT& r, int dx, int dy);

// The live windows: telling whether a handle is live is asked several times for every
// message and paint, so the handles are kept in a flat table.
class TWindowSet {
public:
  bool Contains(HWND h) const { return FTable.Contains(h); }
  void Insert(HWND h) {
    if (h) FTable[h] = true;
  }
  void Erase(HWND h) { FTable.Erase(h); }
  void Clear() { FTable.Clear(); }
  std::size_t Size() const { return FTable.Size(); }
  // Every window, in no given order. The set must not change while this runs.
  template <class F>
  void ForEach(F f) const {
    FTable.ForEach([&](HWND h, bool) { f(h); });
  }

private:
  TPointerMap<HWND, bool> FTable;
};

struct TWndClass {
  std::string Name;  // as registered
  UINT Style = 0;
  WNDPROC Proc = nullptr;
  int ClsExtra = 0;
  int WndExtra = 0;
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr;
  HICON IconSm = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
  std::string MenuName;
  ATOM Atom = 0;
  std::vector<BYTE> Extra;
};

struct TScrollBarState {
  int Min = 0, Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Visible = false;  // with WS_HSCROLL/WS_VSCROLL in the style
  UINT Disabled = 0;     // ESB_* arrows disabled
};

// How a layered top-level window (WS_EX_LAYERED) shows over what lies beneath: either as
// set by SetLayeredWindowAttributes (its painted pixels with a colour key and a constant
// alpha) or by UpdateLayeredWindow (a picture of its own, with per-pixel alpha).
struct TLayered {
  bool ByAttributes = false;
  COLORREF Key = 0;
  BYTE Alpha = 255;
  DWORD Flags = 0;  // LWA_COLORKEY, LWA_ALPHA
  bool ByUpdate = false;
  struct _cairo_surface* Content = nullptr;  // UpdateLayeredWindow's picture (premultiplied ARGB32)
  COLORREF UpdateKey = 0;
  BLENDFUNCTION Blend{};
  DWORD UpdateFlags = 0;  // ULW_COLORKEY, ULW_ALPHA, ULW_OPAQUE
  TLayered() = default;
  TLayered(const TLayered&) = delete;
  TLayered& operator=(const TLayered&) = delete;
  ~TLayered();
};

// A window's flat scroll bars (FlatScrollBar.h), per bar (index SB_HORZ, SB_VERT): the
// thickness, arrow length, thumb length (no page), FSB_*_MODE style and track colour.
struct TFlatScrollBars {
  bool Active = false;  // InitializeFlatSB was called
  int Thickness[2]{}, Arrow[2]{}, MinThumb[2]{}, Style[2]{};
  COLORREF Track[2]{};
  INT_PTR Palette = 0;
};

// Where the children of a parent with many children lie: a grid of square cells, each
// listing the children that reach into it with their rectangles, so that finding the
// children that meet a rectangle costs about the number found rather than the number of
// children, and reads only the grid's own compact lists, not the windows. The cells are
// kept in one flat table (open addressing). Children spanning many cells are listed apart
// and always looked at.
class TChildGrid {
public:
  static constexpr int kCell = 64;
  // From this many children on, a parent keeps a grid.
  static constexpr std::size_t kMinChildren = 24;
  void Insert(HWND c);  // at c's window rectangle
  void Remove(HWND c);  // from where it was inserted
  // Every child whose rectangle at insertion meets `r`, each once, in no given order.
  void Touching(const RECT& r, std::vector<HWND>& out) const;

private:
  struct TSpan {
    int X0, Y0, X1, Y1;  // cells, inclusive
  };
  struct TEntry {
    HWND Wnd;
    RECT Rect;  // as inserted
  };
  struct TCell {
    std::uint64_t Key = 0;
    bool Used = false;  // the key is taken (the list may have emptied since)
    std::vector<TEntry> List;
  };
  static TSpan SpanOf(const RECT& r);
  static std::uint64_t Key(int cx, int cy) { return (std::uint64_t(std::uint32_t(cx)) << 32) | std::uint32_t(cy); }
  std::size_t Home(std::uint64_t key) const;
  const TCell* Find(std::uint64_t key) const;
  TCell& FindOrAdd(std::uint64_t key);
  // Makes room: the table is rebuilt without emptied cells, larger when still crowded.
  void Rehash();
  void Visit(int x, int y, const TSpan& q, const RECT& r, const std::vector<TEntry>& list, std::vector<HWND>& out) const;
  std::vector<TCell> Cells;  // size a power of two, at most half used
  std::size_t Used = 0;
  std::vector<TEntry> Large;
};

// The children of a window that have painting pending, in z-order (top first). Each is
// listed under the z key it had when listed, so finding and ordering them reads no window;
// when the siblings' keys are renumbered the list is keyed anew.
class TPendingKids {
public:
  using TEntry = std::pair<long long, HWND>;
  bool Empty() const { return FSet.empty(); }
  void Clear() { FSet.clear(); }
  void Insert(HWND c);
  // c must still have the key it was listed under.
  bool Erase(HWND c);
  // The siblings' keys have changed, their order has not.
  void Rekey();
  const std::set<TEntry>& Entries() const { return FSet; }

private:
  std::set<TEntry> FSet;
};

}  // namespace winsys

// A window. What painting, invalidation and message dispatch read for every window comes
// first, packed into the object's first cache lines (objects start on a line), so that
// going over many windows touches few lines of each; the rest follows.
struct alignas(64) HWND__ {
  unsigned Magic = 0x574E4457;  // "WDNW"
  DWORD Style = 0;
  DWORD ExStyle = 0;
  bool EraseNeeded = false;
  bool NcPaintNeeded = false;
  bool InternalPaint = false;
  // Painting to do here or below: the window needs painting itself, or some child has
  // painting pending. Such children are kept in PendingKids in z-order, so the next window
  // to paint is found by walking down only where there is something to paint.
  bool PaintPending = false;
  bool Attached = false;                 // children: listed in the parent's Children
  bool Destroying = false;
  bool Destroyed = false;
  bool RedrawOff = false;                // WM_SETREDRAW FALSE
  HWND Parent = nullptr;                 // child windows: the parent
  winsys::TWndClass* Class = nullptr;
  WNDPROC Proc = nullptr;
  RECT Rect;                             // window rectangle: parent client coords or screen
  RECT Client;                           // client rectangle in window coordinates
  long long ZKey = 0;                    // children: grows down the z-order of the siblings
  RECT GridRect{};                       // children: the rectangle the parent's grid holds
  unsigned long long PaintCount = 0;     // BeginPaint calls so far
  struct _cairo_surface* Surface = nullptr;  // top-level back buffer
  LONG_PTR UserData = 0;
  winsys::TRectSet Update;               // update region, client coordinates
  std::vector<HWND> Children;            // z-order, top first
  winsys::TPendingKids PendingKids;
  std::unique_ptr<winsys::TChildGrid> Grid;  // parents with many children
  // Less often read.
  HWND Owner = nullptr;                  // top-level windows: the owner
  std::string Text;
  LONG_PTR Id = 0;
  HINSTANCE Instance = nullptr;
  std::vector<BYTE> Extra;               // cbWndExtra bytes
  std::map<std::string, HANDLE> Props;
  HMENU Menu = nullptr;
  // The window region (SetWindowRgn), window coordinates; null: the whole rectangle.
  std::unique_ptr<winsys::TRectSet> Shape;
  std::unique_ptr<winsys::TLayered> Layered;  // WS_EX_LAYERED windows once given a look
  bool NcActive = false;                 // caption drawn active (WM_NCACTIVATE)
  bool AccelShown = false;               // top level: Alt was pressed, accelerators underlined
  bool CreatedDone = false;
  bool TrackLeave = false;               // TrackMouseEvent(TME_LEAVE) armed
  bool TrackLeaveNonClient = false;
  bool TrackHover = false;
  DWORD HoverTime = 0;
  int ShowState = SW_SHOWNORMAL;         // normal, minimized, maximized
  RECT NormalRect;                       // restored position
  winsys::TScrollBarState Scroll[2];     // SB_HORZ, SB_VERT
  winsys::TFlatScrollBars FlatScroll;    // their flat look, when turned on
  int NcPressed = 0;                     // caption button pressed (HT code)
  HICON IconBig = nullptr;               // WM_SETICON ICON_BIG / ICON_SMALL (not owned)
  HICON IconSmall = nullptr;
};

namespace winsys {

struct TTimer {
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  TIMERPROC Proc = nullptr;
  unsigned long long Due = 0;
};

// The timers: a four-way heap by due time (then the order of setting: equal due times fire
// in it) over a slot table, a hash index by window and id, and a list per window. Setting,
// killing and rescheduling a timer cost log n, the next due timer is the heap's top, and a
// window's timers are found without looking at anyone else's.
class TTimerSet {
public:
  TTimer* Find(HWND wnd, UINT_PTR id);
  // Adds the timer or replaces the one with its window and id.
  void Set(const TTimer& t);
  bool Kill(HWND wnd, UINT_PTR id);
  void KillFor(HWND wnd);
  // `t` must be a timer of this set (from Find or ForEachDue).
  void Reschedule(TTimer* t, unsigned long long due);
  void Clear();
  bool Empty() const { return Heap.empty(); }
  // The largest id among the thread timers (null window), 0 when there are none.
  UINT_PTR MaxThreadId() const { return ThreadIds.empty() ? 0 : *ThreadIds.rbegin(); }
  // True when `wnd` has a timer with the procedure `proc`.
  bool HasProc(HWND wnd, TIMERPROC proc) const;
  // Moves the creation-order numbering on by `n`, as that many settings would (for tests of
  // the renumbering).
  void SkipOrders(std::uint32_t n) { OrderCount = n > 0xFFFFFFFFu - OrderCount ? 0xFFFFFFFFu : OrderCount + n; }
  // The timer due first, or null.
  TTimer* First() { return Heap.empty() ? nullptr : &Slots[Heap[0].Slot].T; }
  // The first timer in due order among those due by `now` for which `accept` holds, or null.
  template <class F>
  TTimer* FirstDue(unsigned long long now, F accept) {
    if (Heap.empty() || Heap[0].Due > now) return nullptr;
    TTimer* top = &Slots[Heap[0].Slot].T;
    if (accept(*top)) return top;
    // Only the due part of the heap can hold the answer: a subtree whose root is not due
    // holds nothing due.
    const THeapEntry* best = nullptr;
    std::vector<std::size_t> stack{0};
    while (!stack.empty()) {
      std::size_t i = stack.back();
      stack.pop_back();
      if (i > 0 && (!best || Heap[i] < *best) && accept(Slots[Heap[i].Slot].T)) best = &Heap[i];
      for (std::size_t c = kArity * i + 1; c < std::min(Heap.size(), kArity * i + 1 + kArity); ++c)
        if (Heap[c].Due <= now) stack.push_back(c);
    }
    return best ? &Slots[best->Slot].T : nullptr;
  }

private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  static constexpr std::size_t kArity = 4;
  // One entry of the index: open addressing with linear probing, at most three quarters full. The
  // key lives in the slot; the entry keeps the upper half of the key's hash so that most
  // misses are told apart without touching the slot.
  struct TIndexEntry {
    std::uint32_t Slot = kNone;  // kNone: empty
    std::uint32_t Tag = 0;
  };
  struct TSlot {
    TTimer T;
    std::uint32_t PrevInWnd = kNone, NextInWnd = kNone;
  };
  // Sixteen bytes, so that a node's four children share one cache line. `Order` is the
  // order of setting (see NextOrder).
  struct THeapEntry {
    unsigned long long Due;
    std::uint32_t Order, Slot;
    bool operator<(const THeapEntry& o) const { return Due != o.Due ? Due < o.Due : Order < o.Order; }
  };
  static std::uint64_t HashOf(HWND wnd, UINT_PTR id);
  std::size_t HomeOf(std::uint64_t hash) const { return std::size_t(hash) & (Index.size() - 1); }
  // The index entry holding the key, or the empty entry where it would go.
  std::size_t Probe(HWND wnd, UINT_PTR id) const;
  void IndexInsert(HWND wnd, UINT_PTR id, std::uint32_t slot);
  void IndexErase(HWND wnd, UINT_PTR id);
  std::uint32_t SlotOf(const TTimer* t) const {
    return std::uint32_t(reinterpret_cast<const TSlot*>(t) - Slots.data());
  }
  void Place(std::size_t pos, const THeapEntry& e);
  void SiftUp(std::size_t pos);
  void SiftDown(std::size_t pos);
  void Requeue(std::uint32_t slot);
  void Remove(std::uint32_t slot);
  // The next creation-order number; when the 32-bit numbers run out, the live timers are
  // numbered again from 0 in their present order.
  std::uint32_t NextOrder();

  std::vector<TSlot> Slots;
  std::vector<std::uint32_t> HeapPos;  // per slot: its place in the heap (kNone: free)
  std::vector<std::uint32_t> FreeSlots;
  // The heap's entries, laid out so that the four children of a node fill one 64-byte line:
  // the storage is line-aligned and starts with three unused entries.
  class THeapArray {
  public:
    THeapEntry& operator[](std::size_t i) { return Data[i + kPad]; }
    const THeapEntry& operator[](std::size_t i) const { return Data[i + kPad]; }
    std::size_t size() const { return Data.size() - kPad; }
    bool empty() const { return Data.size() == kPad; }
    void push_back(const THeapEntry& e) { Data.push_back(e); }
    void pop_back() { Data.pop_back(); }
    const THeapEntry& back() const { return Data.back(); }
    void clear() { Data.resize(kPad); }
    THeapEntry* begin() { return Data.data() + kPad; }
    THeapEntry* end() { return Data.data() + Data.size(); }

  private:
    template <class T>
    struct TLineAllocator {
      using value_type = T;
      TLineAllocator() = default;
      template <class U>
      TLineAllocator(const TLineAllocator<U>&) {}
      T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(64))); }
      void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t(64)); }
      bool operator==(const TLineAllocator&) const { return true; }
    };
    static constexpr std::size_t kPad = kArity - 1;
    std::vector<THeapEntry, TLineAllocator<THeapEntry>> Data = std::vector<THeapEntry, TLineAllocator<THeapEntry>>(kPad);
  };
  THeapArray Heap;
  std::vector<TIndexEntry> Index;
  std::size_t IndexCount = 0;
  std::uint32_t OrderCount = 0;
  std::unordered_map<HWND, std::uint32_t> WndHead;  // first slot of each window's list
  std::set<UINT_PTR> ThreadIds;
};

struct THook {
  int Id = 0;
  HOOKPROC Proc = nullptr;
  bool Removed = false;
};

// A raw input event waiting to be turned into messages when the loop reaches it (hit
// testing, capture and focus apply at that moment, as they do for real input).
struct TRawInput {
  enum TKind { KMove, KButton, KWheel, KKey } Kind = KMove;
  POINT Pt{};
  TInputButton Button = TInputButton::Left;
  bool Down = false;
  int Delta = 0;
  bool Horizontal = false;
  int Vk = 0;
  char32_t Ch = 0;
  DWORD Time = 0;
};

// The state of the one user-interface thread.
struct TState {
  std::deque<TRawInput> RawInput;   // input not yet turned into messages
  std::deque<MSG> CookedInput;      // input messages not yet retrieved
  BYTE AsyncKeys[256] = {};
  HCURSOR (*CursorLoader)(HINSTANCE, LPCSTR) = nullptr;
  std::map<std::string, std::unique_ptr<TWndClass>> Classes;  // key: upper-case name
  ATOM NextAtom = 0xC000;
  TWindowSet Live;               // every live window
  std::vector<HWND> TopLevels;   // z-order, topmost first
  std::vector<HWND> Graveyard;   // destroyed, freed when no dispatch is running
  // Freed windows whose memory is held back for a while, so that a new window does not
  // get the address (the handle) of one destroyed just before: a stale handle stays
  // invalid, as on Windows, instead of naming a stranger.
  std::deque<HWND> Retired;
  std::deque<MSG> Posted;        // posted and input messages in arrival order
  bool QuitPosted = false;
  int QuitCode = 0;
  TTimerSet Timers;
  std::vector<std::unique_ptr<THook>> Hooks;  // most recent first
  int HookDepth = 0;
  std::map<std::string, UINT> RegisteredMessages;  // key: upper-case name
  UINT NextRegisteredMessage = 0xC000;
  HWND Focus = nullptr;
  HWND Active = nullptr;
  HWND Capture = nullptr;
  bool AppActive = false;
  BYTE Keys[256] = {};
  POINT Cursor = WinPoint(640, 512);
  HCURSOR CursorShape = nullptr;
  int CursorShowCount = 0;
  HWND MouseWindow = nullptr;   // window under the mouse at the last move
  bool MouseInNonClient = false;
  DWORD LastClickTime = 0;
  POINT LastClickPos;
  HWND LastClickWnd = nullptr;
  UINT LastClickMsg = 0;
  bool LastClickWasDouble = false;
  DWORD MessageTime = 0;
  DWORD MessagePos = 0;
  int DispatchDepth = 0;
  int SendDepth = 0;
  int DestroyDepth = 0;          // DestroyWindow calls running
  unsigned long long Dispatched = 0;
  DWORD LastError = 0;
  int Beeps = 0;

  TState() = default;
  TState(const TState&) = delete;
  TState& operator=(const TState&) = delete;
  ~TState();  // the program ends: frees the windows still there
};
TState& S();

bool Valid(HWND h);  // a live window (not destroyed)
HWND TopLevelOf(HWND h);
bool IsTopLevel(HWND h);
// Offset of the window rectangle's origin in screen coordinates.
POINT WindowOriginOnScreen(HWND h);
POINT ClientOriginOnScreen(HWND h);
// The client rectangle in parent (or screen) coordinates.
RECT ClientRectInParent(HWND h);
// Top-level windows in z-order, topmost first.
std::vector<HWND>& TopLevels();
void InsertTopLevel(HWND h, HWND after);
void RemoveFromZOrder(HWND h);
// A child has joined its parent's Children at `pos`: it gets its z key and its place in
// the parent's grid.
void ChildInserted(HWND h, std::size_t pos);
// A child has moved within its parent's Children to `pos`.
void ChildReordered(HWND h, std::size_t pos);
// A child's window rectangle has changed.
void ChildMoved(HWND h);
// The children of `parent` that may meet `r` (parent client coordinates): every child,
// or only those near `r` when the parent keeps a grid.
void ChildrenNear(HWND parent, const RECT& r, std::vector<HWND>& out);
// The window's visible part in its own client (or window) coordinates: clipped by its
// ancestors, minus siblings above it (WS_CLIPSIBLINGS) and children (WS_CLIPCHILDREN).
TRectSet VisibleClientArea(HWND h, bool clipChildren);
TRectSet VisibleWindowArea(HWND h, bool clipChildren);

// Window regions
TRectSet SetFromRegion(HRGN rgn);
HRGN RegionFromSet(const TRectSet& set);  // a new region handle
// Whether a screen point lies inside the window's region (always, for a window without one).
bool InWindowShape(HWND h, POINT screen);
// What of `screenArea` the window's region keeps (the area is left alone without one).
void ClipToShape(HWND h, TRectSet& screenArea);
// The part of a rectangle (in the same coordinates as h->Rect, moved by `offset`) that the
// window covers: its whole window rectangle, or the region within it.
TRectSet CoveredArea(HWND h, POINT offset);
// Layered windows: WS_EX_LAYERED has gone from the extended style.
void LayeredStyleChanged(HWND h, DWORD oldExStyle);

// Queue
bool CookNextInput();  // turns the oldest raw input event into messages; false when none
LRESULT CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);  // runs WH_CALLWNDPROC hooks
LRESULT RunHooks(int idHook, int code, WPARAM wp, LPARAM lp, bool* any);
void RemoveMessagesFor(HWND h);
void KillTimersFor(HWND h);
// Frees destroyed windows once no message is being dispatched or sent and no
// DestroyWindow runs (their handles stay invalid; nothing refers to them any more).
void FreeGraveyard();
void RetireWindows(const std::vector<HWND>& dead);
void EnterDispatch();
void LeaveDispatch();

// Input & focus
void WindowGone(HWND h);     // focus, capture, activation forget a window being destroyed
void WindowHidden(HWND h);   // activation moves away from a window being hidden
void ActivateTopLevel(HWND h, bool byMouse);
void DeactivateIfActive(HWND h);
void ResetInput();
void ResetQueue();
void ResetPainting();
void ResetClipboard();
void ResetSystem();
void ResetCaret();
// The window system's hooks in the drawing layer (theme changes, parents' backgrounds under
// themed children); installed when the window system is first used.
void InstallGdiHooks();
void NotifyThemeChange();

// Painting
void InvalidateWindowArea(HWND h, const TRectSet& clientArea, bool erase, bool children);
void InvalidateParentArea(HWND h, const RECT& rectInParent);
void InvalidateFrame(HWND h);
// The window's update region or its frame or internal paint flags have changed (or it
// has joined a parent): its pending state and its ancestors' are brought up to date.
void PaintStateChanged(HWND h);
// The first window needing paint in tree order (top-level windows in z-order, each
// parent before its children, children in z-order), skipping hidden, minimised and
// redraw-off subtrees; with a filter, only the filter window and its descendants.
bool FindPaintWindow(HWND filter, HWND* out);
void EnsureSurface(HWND h);
void FreeSurface(HWND h);
// How many top-level back buffers are alive (a window's, or one a device context still
// draws on); for tests.
int LiveWindowSurfaces();
void DrawNonClient(HWND h, HDC dc);

// Non-client geometry from the style (window coordinates)
RECT DefaultClientRect(HWND h, const RECT& windowRect);
int DefaultHitTest(HWND h, POINT screen);
RECT ScrollBarRect(HWND h, int bar);  // window coordinates; empty when not shown
RECT CaptionButtonRect(HWND h, int hitTest);  // HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU
bool ScrollThumbRect(HWND h, int bar, RECT* thumb);  // window coordinates
void NcLButtonDown(HWND h, int hit, POINT screen);   // DefWindowProc's caption and scroll bar tracking
// SizeMoveLoop.cpp: the WMSZ_ edge of a sizing hit-test code (HTLEFT … HTBOTTOMRIGHT),
// 0 for other codes; and the loop of WM_SYSCOMMAND SC_MOVE or SC_SIZE (the edge in the
// command's low bits) started by a press at a screen point.
int SizingEdgeFromHitTest(int hit);
// FlatScrollBar.cpp: a bar's thickness, arrow length and thumb length without a page (a flat bar's
// own, else the system's); DrawFlatScrollBar paints a flat bar, false for a standard one.
int ScrollBarThickness(HWND h, int bar);
int ScrollArrowLength(HWND h, int bar);
int ScrollThumbLength(HWND h, int bar);
bool DrawFlatScrollBar(HWND h, HDC dc, int bar, const RECT& r);
// DefWindowProc.cpp: a shown bar's arrows and thumb (window coordinates; the thumb is
// empty when the bar cannot scroll); false when the bar is not shown.
bool ScrollPartRects(HWND h, int bar, RECT* arrow1, RECT* arrow2, RECT* thumb);
void SizeMoveLoop(HWND h, UINT command, POINT screen);

inline void TPendingKids::Insert(HWND c) { FSet.emplace(c->ZKey, c); }
inline bool TPendingKids::Erase(HWND c) { return FSet.erase(TEntry{c->ZKey, c}) > 0; }
inline void TPendingKids::Rekey() {
  std::set<TEntry> keyed;
  for (const TEntry& e : FSet) keyed.emplace_hint(keyed.end(), e.second->ZKey, e.second);
  FSet.swap(keyed);
}

}  // namespace winsys
