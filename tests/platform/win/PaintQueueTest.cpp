// Which window the queue hands WM_PAINT to next: on random trees changed at random (z-order,
// visibility, redraw switched off, minimised windows, new parents, windows created and
// destroyed, paint handlers that invalidate others or do not paint at all), every fetch
// must name the same window as a plain walk of the whole tree in paint order.
#include <random>

#include "WinTestSupport.h"
#include "platform/win/WinInternal.h"

namespace {

// The plain walk: top-level windows in z-order, each window before its children, children
// in z-order, hidden, minimised and redraw-off subtrees skipped; with a filter only the
// filter window and its descendants count.
bool WalkFind(HWND h, HWND filter, bool inFilter, HWND* out) {
  if (!(h->Style & WS_VISIBLE) || h->RedrawOff || (h->Style & WS_MINIMIZE)) return false;
  inFilter = inFilter || h == filter;
  if (inFilter && (!h->Update.Empty() || h->NcPaintNeeded || h->InternalPaint)) {
    *out = h;
    return true;
  }
  for (HWND c : h->Children)
    if (WalkFind(c, filter, inFilter, out)) return true;
  return false;
}

HWND Walk(HWND filter) {
  HWND found = nullptr;
  for (HWND t : winsys::S().TopLevels)
    if (WalkFind(t, filter, filter == nullptr, &found)) break;
  return found;
}

class PaintQueue : public WinTest {
protected:
  std::mt19937 Rnd;
  std::vector<HWND> Windows;  // every window made, live or not
  int Budget = 0;             // invalidations paint handlers may still make

  HWND Any() { return Windows[Rnd() % Windows.size()]; }
  HWND AnyLive() {
    for (int i = 0; i < 20; ++i)
      if (HWND h = Any(); IsWindow(h)) return h;
    return nullptr;
  }

  HWND Add(HWND parent) {
    int kind = int(Rnd() % 4);
    DWORD style = (parent ? WS_CHILD : WS_POPUP) | ((Rnd() % 6) ? WS_VISIBLE : 0) |
                  ((Rnd() % 2) ? WS_CLIPCHILDREN : 0) | ((Rnd() % 3) ? WS_BORDER : 0);
    int x = int(Rnd() % 120), y = int(Rnd() % 90);
    RECT r = MakeRect(x, y, x + 10 + int(Rnd() % 80), y + 10 + int(Rnd() % 60));
    HWND h = Make(style, parent, r, [this, kind](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m != WM_PAINT) return DefWindowProc(w, m, wp, lp);
      if (kind == 1) return 0;  // does not paint: the queue validates it
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      if (kind == 2 && Budget > 0) {  // asks for another window's painting while painting
        --Budget;
        if (HWND other = AnyLive()) RedrawWindow(other, nullptr, nullptr, RDW_INVALIDATE | ((Rnd() % 2) ? RDW_ALLCHILDREN : 0));
      }
      return 0;
    });
    if (h) Windows.push_back(h);
    return h;
  }

  void Change() {
    HWND h = AnyLive();
    if (!h) return;
    switch (Rnd() % 12) {
      case 0:
        InvalidateRect(h, nullptr, Rnd() % 2);
        break;
      case 11: {  // stacks many invalidated children one by one right below the same one, until
                  // the siblings' z keys run out of room and are numbered anew
        HWND first = GetWindow(Windows[0], GW_CHILD);
        if (!first) break;
        for (HWND c = GetWindow(first, GW_HWNDNEXT), next; c; c = next) {
          next = GetWindow(c, GW_HWNDNEXT);
          InvalidateRect(c, nullptr, FALSE);
          SetWindowPos(c, first, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;
      }
      case 10: {  // restacks an invalidated child among many siblings
        HWND parent = GetParent(h) ? GetParent(h) : Windows[0];
        HWND c = GetWindow(parent, GW_CHILD);
        for (int n = int(Rnd() % 40); c && n > 0; --n) c = GetWindow(c, GW_HWNDNEXT);
        if (!c) break;
        InvalidateRect(c, nullptr, FALSE);
        SetWindowPos(c, (Rnd() % 2) ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      }
      case 1: {
        UINT flags = (Rnd() % 2) ? RDW_INVALIDATE | RDW_ALLCHILDREN : (Rnd() % 2) ? RDW_INTERNALPAINT : RDW_INVALIDATE | RDW_FRAME;
        RedrawWindow(h, nullptr, nullptr, flags);
        break;
      }
      case 2:
        RedrawWindow(h, nullptr, nullptr, RDW_VALIDATE | RDW_NOINTERNALPAINT | ((Rnd() % 2) ? RDW_ALLCHILDREN : 0u));
        break;
      case 3: {
        HWND after = (Rnd() % 3) == 0 ? HWND_TOP : (Rnd() % 2) ? HWND_BOTTOM : AnyLive();
        if (after && after != h && GetParent(after) == GetParent(h))
          SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      }
      case 4:
        ShowWindow(h, IsWindowVisible(h) ? SW_HIDE : SW_SHOWNA);
        break;
      case 5:
        SendMessage(h, WM_SETREDRAW, h->RedrawOff ? TRUE : FALSE, 0);
        break;
      case 6:
        if (!GetParent(h) || (h->Style & WS_POPUP)) ShowWindow(h, IsIconic(h) ? SW_RESTORE : SW_SHOWMINNOACTIVE);
        break;
      case 7: {
        HWND p = AnyLive();
        if (p && p != h && !IsChild(h, p) && (h->Style & WS_CHILD)) SetParent(h, p);
        break;
      }
      case 8:
        if (Windows.size() > 10 && (Rnd() % 2)) DestroyWindow(h);
        else Add((Rnd() % 5) ? h : nullptr);
        break;
      default:
        InvalidateRect(h, nullptr, TRUE);
        InvalidateRect(AnyLive(), nullptr, FALSE);
        break;
    }
  }

  // Fetches paints one at a time (with a filter now and then) until none is left or a
  // fetch disagrees with the walk.
  void Drain(unsigned seed, int step) {
    Budget = 6;
    for (int fetch = 0; fetch < 1000; ++fetch) {
      HWND filter = (Rnd() % 4) == 0 ? AnyLive() : nullptr;
      HWND want = Walk(filter);
      ASSERT_EQ((GetQueueStatus(QS_PAINT) & QS_PAINT) != 0, Walk(nullptr) != nullptr) << "seed " << seed << " step " << step;
      MSG msg{};
      bool got = PeekMessage(&msg, filter, WM_PAINT, WM_PAINT, PM_REMOVE);
      ASSERT_EQ(got ? msg.hwnd : nullptr, want) << "seed " << seed << " step " << step << " fetch " << fetch;
      if (!got) {
        if (!filter) return;
        continue;
      }
      DispatchMessage(&msg);
    }
    FAIL() << "painting never ends, seed " << seed;
  }
};

TEST_F(PaintQueue, FetchOrderMatchesTheTreeWalkOnRandomTrees) {
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    Rnd.seed(seed);
    Windows.clear();
    for (int t = 0; t < 3; ++t) Add(nullptr);
    // Enough children under one window for it to keep a grid of them, and a few levels.
    HWND crowded = Windows[0];
    ShowWindow(crowded, SW_SHOWNA);
    for (int i = 0; i < 40; ++i) Add(crowded);
    for (int i = 0; i < 40; ++i) Add(Windows[Rnd() % Windows.size()]);
    for (int step = 0; step < 120; ++step) {
      int changes = 1 + int(Rnd() % 12);
      for (int i = 0; i < changes; ++i) Change();
      if (step % 4 == 0) ASSERT_NO_FATAL_FAILURE(Drain(seed, step));
    }
    ASSERT_NO_FATAL_FAILURE(Drain(seed, -1));
    for (HWND h : Windows)
      if (IsWindow(h)) DestroyWindow(h);
  }
}

}  // namespace
