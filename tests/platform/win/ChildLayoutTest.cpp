// Many overlapping children moved, restacked, hidden, destroyed and created at random:
// after each step only what was invalidated is repainted, and the parent's pixels must
// equal a straightforward painter's model of the same children.
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "WinTestSupport.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"

namespace {

struct TModelChild {
  HWND Wnd;
  RECT Rect;
  bool Visible;
  COLORREF Color;
};

class ChildLayout : public WinTest {
protected:
  static constexpr int kW = 200, kH = 150;
  std::vector<TModelChild> Model;  // z-order, top first
  int Made = 0;

  HWND AddChild(std::mt19937& rnd) {
    int x = int(rnd() % 230) - 20, y = int(rnd() % 180) - 20;
    RECT r = MakeRect(x, y, x + 5 + int(rnd() % 55), y + 5 + int(rnd() % 55));
    int i = Made++;
    COLORREF color = RGB(10 + i, (20 + 2 * i) & 255, (30 + 3 * i) & 255);  // red tells them apart
    HWND h = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Parent, r, [color](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m == WM_ERASEBKGND) return 1;
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT c;
        GetClientRect(w, &c);
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &c, brush);
        DeleteObject(brush);
        EndPaint(w, &ps);
        return 0;
      }
      return DefWindowProc(w, m, wp, lp);
    });
    Model.push_back({h, r, true, color});  // a new child goes below its siblings
    return h;
  }

  COLORREF Expected(int x, int y) const {
    for (const TModelChild& c : Model)
      if (c.Visible && x >= c.Rect.left && x < c.Rect.right && y >= c.Rect.top && y < c.Rect.bottom) return c.Color;
    return GetSysColor(COLOR_WINDOW);
  }

  // The first pixel that differs from the model, as text; empty when all agree.
  std::string Compare() {
    auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(Parent));
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
        COLORREF got = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255), want = Expected(x, y);
        if (got != want)
          return "at " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(got) + " instead of " +
                 std::to_string(want);
      }
    return {};
  }

  HWND Parent = nullptr;
};

TEST_F(ChildLayout, PartialRepaintsAfterRandomChangesMatchThePaintersModel) {
  for (unsigned seed : {1u, 2u, 3u}) {
    Model.clear();
    Parent = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, MakeRect(0, 0, kW, kH));
    std::mt19937 rnd(seed);
    for (int i = 0; i < 40; ++i) AddChild(rnd);  // enough for the parent to keep a grid
    RedrawWindow(Parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ASSERT_EQ(Compare(), "") << "seed " << seed << " after creation";
    for (int step = 0; step < 160; ++step) {
      std::size_t k = rnd() % Model.size();
      TModelChild& c = Model[k];
      int op = int(rnd() % 7);
      if (op <= 1) {  // move and size
        int x = int(rnd() % 230) - 20, y = int(rnd() % 180) - 20;
        c.Rect = MakeRect(x, y, x + 1 + int(rnd() % 70), y + 1 + int(rnd() % 70));
        SetWindowPos(c.Wnd, nullptr, x, y, RectWidth(c.Rect), RectHeight(c.Rect), SWP_NOZORDER | SWP_NOACTIVATE);
      } else if (op == 2) {  // to the top, to the bottom, or below another child
        TModelChild moved = c;
        Model.erase(Model.begin() + std::ptrdiff_t(k));
        int where = int(rnd() % 3);
        HWND after = where == 0 ? HWND_TOP : where == 1 ? HWND_BOTTOM : Model[rnd() % Model.size()].Wnd;
        std::size_t pos = where == 0 ? 0 : where == 1 ? Model.size() : 0;
        if (where == 2)
          pos = std::size_t(std::find_if(Model.begin(), Model.end(), [&](const TModelChild& m) { return m.Wnd == after; }) -
                            Model.begin()) + 1;
        Model.insert(Model.begin() + std::ptrdiff_t(pos), moved);
        SetWindowPos(moved.Wnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      } else if (op == 3) {
        c.Visible = !c.Visible;
        ShowWindow(c.Wnd, c.Visible ? SW_SHOWNA : SW_HIDE);
      } else if (op == 4 && Model.size() > 30) {
        HWND gone = c.Wnd;
        Model.erase(Model.begin() + std::ptrdiff_t(k));
        DestroyWindow(gone);
      } else if (op == 5 && Made < 150) {
        AddChild(rnd);
      } else {  // an invalidation of part of the parent and its children
        RECT r = MakeRect(int(rnd() % kW), int(rnd() % kH), int(rnd() % kW) + 20, int(rnd() % kH) + 20);
        RedrawWindow(Parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      RedrawWindow(Parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      ASSERT_EQ(Compare(), "") << "seed " << seed << " step " << step << " op " << op;
    }
    DestroyWindow(Parent);
  }
}

}  // namespace
