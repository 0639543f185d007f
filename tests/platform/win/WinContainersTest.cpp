// The window system's own containers against plain models: the area type (update
// regions, visible areas, clips) against a set of pixels, and the table of live windows
// against a standard set, through random sequences of every operation.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "platform/win/WinInternal.h"

namespace {

using winsys::RectUnion;
using winsys::TRectSet;
using TPixels = std::set<std::pair<int, int>>;

TPixels PixelsOf(const RECT& r) {
  TPixels p;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) p.insert({x, y});
  return p;
}

TPixels PixelsOf(const TRectSet& s) {
  TPixels p;
  for (const RECT& r : s.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) EXPECT_TRUE(p.insert({x, y}).second) << "rectangles overlap";
  return p;
}

RECT RandomRect(std::mt19937& rnd) {
  int x = int(rnd() % 24), y = int(rnd() % 24);
  // Now and then an empty or inverted one.
  if (rnd() % 10 == 0) return MakeRect(x, y, x - int(rnd() % 3), y + 5);
  return MakeRect(x, y, x + 1 + int(rnd() % 12), y + 1 + int(rnd() % 12));
}

// A small area: empty, one rectangle, or a few.
std::pair<TRectSet, TPixels> RandomArea(std::mt19937& rnd) {
  TRectSet s;
  TPixels p;
  for (int n = int(rnd() % 4); n > 0; --n) {
    RECT r = RandomRect(rnd);
    s.Add(r);
    TPixels add = PixelsOf(r);
    p.insert(add.begin(), add.end());
  }
  return {s, p};
}

void ExpectSame(const TRectSet& s, const TPixels& model, const std::string& where) {
  ASSERT_EQ(s.Empty(), model.empty()) << where;
  ASSERT_EQ(PixelsOf(s), model) << where;
  RECT want{};
  if (!model.empty()) {
    want = MakeRect(model.begin()->first, model.begin()->second, model.begin()->first + 1, model.begin()->second + 1);
    for (auto [x, y] : model) want = RectUnion(want, MakeRect(x, y, x + 1, y + 1));
  }
  RECT b = s.Bounds();
  ASSERT_TRUE(b.left == want.left && b.top == want.top && b.right == want.right && b.bottom == want.bottom) << where;
  for (auto [x, y] : {std::pair{want.left, want.top}, std::pair{want.right - 1, want.bottom - 1}, std::pair{20, 20}})
    ASSERT_EQ(s.Contains(WinPoint(x, y)), model.count({x, y}) > 0) << where;
}

TEST(RectSet, EveryOperationMatchesAPixelModel) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rnd(seed);
    TRectSet s;
    TPixels model;
    for (int step = 0; step < 80; ++step) {
      std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
      int op = int(rnd() % 14);
      where += " op " + std::to_string(op);
      if (op == 0 || op == 1) {
        RECT r = RandomRect(rnd);
        s.Add(r);
        TPixels add = PixelsOf(r);
        model.insert(add.begin(), add.end());
      } else if (op == 2) {
        auto [o, p] = RandomArea(rnd);
        s.Add(o);
        model.insert(p.begin(), p.end());
      } else if (op == 3) {
        RECT r = RandomRect(rnd);
        s.Subtract(r);
        for (auto px : PixelsOf(r)) model.erase(px);
      } else if (op == 4) {
        auto [o, p] = RandomArea(rnd);
        s.Subtract(o);
        for (auto px : p) model.erase(px);
      } else if (op == 5) {
        std::vector<RECT> cuts;
        for (int n = int(rnd() % 4); n > 0; --n) cuts.push_back(RandomRect(rnd));
        s.Subtract(cuts);
        for (const RECT& r : cuts)
          for (auto px : PixelsOf(r)) model.erase(px);
      } else if (op == 6) {
        RECT r = RandomRect(rnd);
        s.Intersect(r);
        TPixels keep = PixelsOf(r), next;
        for (auto px : model)
          if (keep.count(px)) next.insert(px);
        model = next;
      } else if (op == 7) {
        auto [o, p] = RandomArea(rnd);
        s.Intersect(o);
        TPixels next;
        for (auto px : model)
          if (p.count(px)) next.insert(px);
        model = next;
      } else if (op == 8) {
        int dx = int(rnd() % 9) - 4, dy = int(rnd() % 9) - 4;
        s.Offset(dx, dy);
        TPixels next;
        for (auto [x, y] : model) next.insert({x + dx, y + dy});
        model = next;
      } else if (op == 9) {
        // Copies and moves carry the area and stay apart from the original.
        TRectSet copy = s;
        s.Add(MakeRect(100, 100, 101, 101));
        TRectSet moved = std::move(copy);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(moved, model, where + " (copy)"));
        s = moved;
      } else if (rnd() % 4 == 0) {
        s.Clear();
        model.clear();
      } else {  // starts again from one rectangle, the most common area
        RECT r = RandomRect(rnd);
        s = TRectSet(r);
        model = PixelsOf(r);
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSame(s, model, where));
    }
  }
}

TEST(WindowSet, InsertEraseAndLookUpMatchAStandardSet) {
  // Addresses as window objects have them (16 apart), in runs that collide in the table.
  std::vector<HWND> handles;
  for (std::uintptr_t i = 1; i <= 3000; ++i) handles.push_back(reinterpret_cast<HWND>(0x10000 + i * 16));
  std::mt19937 rnd(7);
  winsys::TWindowSet live;
  std::set<HWND> model;
  for (int step = 0; step < 40000; ++step) {
    HWND h = handles[rnd() % (step < 20000 ? handles.size() : 200)];
    if (rnd() % 3) {
      live.Insert(h);
      model.insert(h);
    } else {
      live.Erase(h);
      model.erase(h);
    }
    HWND probe = handles[rnd() % handles.size()];
    ASSERT_EQ(live.Contains(probe), model.count(probe) > 0) << "step " << step;
  }
  ASSERT_EQ(live.Size(), model.size());
  std::set<HWND> listed;
  live.ForEach([&](HWND h) { listed.insert(h); });
  EXPECT_EQ(listed, model);
  EXPECT_FALSE(live.Contains(nullptr));
  live.Clear();
  EXPECT_FALSE(live.Contains(handles[0]));
}

}  // namespace
