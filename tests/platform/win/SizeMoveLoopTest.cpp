// The moving and sizing loops of the default window procedure: a press on a sizing border
// or the caption, moves, the release, and what the window hears and may change on the way.
#include <string>
#include <vector>

#include "tests/platform/win/WinTestSupport.h"

namespace {

class SizeMoveLoop : public WinTest {
protected:
  // Records the loop's messages of a window (runs of WM_SIZING / WM_MOVING count once) and
  // the rectangles they proposed; `adjust` may change each proposed rectangle.
  THandler Recorder(std::function<void(UINT, WPARAM, RECT*)> adjust = nullptr) {
    return [this, adjust](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_ENTERSIZEMOVE) Seen.push_back("enter");
      if (m == WM_EXITSIZEMOVE) Seen.push_back("exit");
      if (m == WM_SIZING || m == WM_MOVING) {
        auto* r = reinterpret_cast<RECT*>(l);
        Proposed.push_back(*r);
        std::string what = m == WM_SIZING ? "sizing " + std::to_string(w) : "moving";
        if (Seen.empty() || Seen.back() != what) Seen.push_back(what);
        if (adjust) adjust(m, w, r);
        return TRUE;
      }
      return DefWindowProc(h, m, w, l);
    };
  }
  void Drag(POINT from, POINT by, int steps = 3) {
    InputMouseMove(from);
    InputMouseButton(TInputButton::Left, true, from);
    for (int i = 1; i <= steps; ++i) InputMouseMove(POINT{from.x + by.x * i / steps, from.y + by.y * i / steps});
    InputMouseButton(TInputButton::Left, false, POINT{from.x + by.x, from.y + by.y});
    Pump();
  }
  static RECT Bounds(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r;
  }

  std::vector<std::string> Seen;
  std::vector<RECT> Proposed;
};

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

}  // namespace

// Each border and corner of a sizable window moves its own edges only, with the WMSZ_
// edge in WM_SIZING and the proposed rectangle in screen coordinates.
TEST_F(SizeMoveLoop, EveryBorderSizesItsOwnEdges) {
  struct TCase {
    POINT at;  // window coordinates of the press, on a 300 x 200 window
    int edge;
    RECT expected;  // after a drag by (+20, +10), window at (100, 100)
  };
  const TCase cases[] = {
      {{1, 100}, WMSZ_LEFT, {120, 100, 400, 300}},
      {{298, 100}, WMSZ_RIGHT, {100, 100, 420, 300}},
      {{150, 1}, WMSZ_TOP, {100, 110, 400, 300}},
      {{1, 1}, WMSZ_TOPLEFT, {120, 110, 400, 300}},
      {{298, 1}, WMSZ_TOPRIGHT, {100, 110, 420, 300}},
      {{150, 198}, WMSZ_BOTTOM, {100, 100, 400, 310}},
      {{1, 198}, WMSZ_BOTTOMLEFT, {120, 100, 400, 310}},
      {{298, 198}, WMSZ_BOTTOMRIGHT, {100, 100, 420, 310}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.edge);
    Seen.clear();
    Proposed.clear();
    HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), Recorder());
    Pump();
    Drag(POINT{100 + c.at.x, 100 + c.at.y}, POINT{20, 10});
    EXPECT_TRUE(Same(Bounds(top), c.expected)) << Text(Bounds(top));
    EXPECT_EQ(Seen, (std::vector<std::string>{"enter", "sizing " + std::to_string(c.edge), "exit"}));
    ASSERT_FALSE(Proposed.empty());
    EXPECT_TRUE(Same(Proposed.back(), c.expected)) << Text(Proposed.back());
    DestroyWindow(top);
  }
}

// The window's changes to the proposed rectangle are what it gets; the minimum tracking
// size holds only along the sides being dragged.
TEST_F(SizeMoveLoop, TheWindowShapesTheRectangleAndTheLimitsHoldOnTheDraggedSidesOnly) {
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300),
                  Recorder([](UINT, WPARAM, RECT* r) { r->right = r->left + (r->right - r->left) / 50 * 50; }));
  Pump();
  Drag(POINT{398, 150}, POINT{37, 0});
  EXPECT_TRUE(Same(Bounds(top), MakeRect(100, 100, 400, 300))) << Text(Bounds(top));  // 337 → 300
  Backend.Time += 1000;  // not a double click
  Drag(POINT{398, 150}, POINT{64, 0});
  EXPECT_TRUE(Same(Bounds(top), MakeRect(100, 100, 450, 300))) << Text(Bounds(top));  // 364 → 350
  DestroyWindow(top);

  // 80 wide (less than the minimum tracking width) sized at its top far past its bottom.
  HWND narrow = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, nullptr, MakeRect(100, 100, 180, 300), Recorder());
  Pump();
  Drag(POINT{140, 101}, POINT{0, 400});
  RECT r = Bounds(narrow);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.right, 180) << "the width is not touched";
  EXPECT_EQ(r.bottom, 300) << "the fixed edge stays";
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
}

// Moving by the caption: WM_MOVING proposes screen coordinates for a top-level window and
// parent client coordinates for a child, and the window may hold an edge where it was.
TEST_F(SizeMoveLoop, MovingProposesTheRectangleInTheWindowsOwnCoordinates) {
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), Recorder());
  Pump();
  Drag(POINT{200, 100 + GetSystemMetrics(SM_CYFRAME) + 5}, POINT{40, 25});
  EXPECT_TRUE(Same(Bounds(top), MakeRect(140, 125, 440, 325))) << Text(Bounds(top));
  EXPECT_EQ(Seen, (std::vector<std::string>{"enter", "moving", "exit"}));
  ASSERT_FALSE(Proposed.empty());
  EXPECT_TRUE(Same(Proposed.back(), MakeRect(140, 125, 440, 325)));

  // A child answering HTCAPTION everywhere, holding its left edge.
  Seen.clear();
  Proposed.clear();
  THandler child = Recorder([](UINT m, WPARAM, RECT* r) {
    if (m == WM_MOVING) *r = MakeRect(10, r->top, 10 + (r->right - r->left), r->bottom);
  });
  HWND c = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(10, 10, 110, 60), [child](HWND h, UINT m, WPARAM w, LPARAM l) {
    return m == WM_NCHITTEST ? LRESULT(HTCAPTION) : child(h, m, w, l);
  });
  Pump();
  POINT p{20, 20};
  ClientToScreen(top, &p);
  Drag(p, POINT{30, 20});
  RECT inParent = Bounds(c);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&inParent), 2);
  EXPECT_TRUE(Same(inParent, MakeRect(10, 30, 110, 80))) << Text(inParent);
  ASSERT_FALSE(Proposed.empty());
  EXPECT_EQ(Proposed.front().left, 20) << "parent client coordinates, before the window's change";
  EXPECT_EQ(Seen, (std::vector<std::string>{"enter", "moving", "exit"}));
}

// A maximised window neither moves nor sizes; Escape puts a moved window back.
TEST_F(SizeMoveLoop, MaximisedWindowsStayAndEscapeRestores) {
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), Recorder());
  Pump();
  const POINT caption{200, 100 + GetSystemMetrics(SM_CYFRAME) + 5};
  InputMouseMove(caption);
  InputMouseButton(TInputButton::Left, true, caption);
  InputMouseMove(POINT{caption.x + 50, caption.y + 50});
  InputKey(VK_ESCAPE, true);
  InputKey(VK_ESCAPE, false);
  InputMouseButton(TInputButton::Left, false, POINT{caption.x + 50, caption.y + 50});
  Pump();
  EXPECT_TRUE(Same(Bounds(top), MakeRect(100, 100, 400, 300))) << Text(Bounds(top));
  EXPECT_EQ(Seen.back(), "exit");

  ShowWindow(top, SW_MAXIMIZE);
  Pump();
  Seen.clear();
  const RECT maximised = Bounds(top);
  SendMessage(top, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, PointToLParam(POINT{maximised.right - 1, maximised.bottom - 1}));
  SendMessage(top, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, PointToLParam(POINT{maximised.left + 50, maximised.top + 5}));
  EXPECT_TRUE(Seen.empty());
  EXPECT_TRUE(Same(Bounds(top), maximised));
}
