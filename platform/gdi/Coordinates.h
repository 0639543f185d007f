#pragma once
// The range of window and control coordinates. Positions and sizes are kept within
// ±kMaxCoordinate pixels where they enter (stored forms, saved positions, setters, window
// calls), so that the sums the layout and the window system make of a few of them stay
// well inside int. Header-only.

inline constexpr int kMaxCoordinate = 1000000;

inline constexpr int ClampCoordinate(long long v) {
  return v < -kMaxCoordinate ? -kMaxCoordinate : v > kMaxCoordinate ? kMaxCoordinate : int(v);
}

// The largest side of a window's back buffer, and of a picture made to cover a window:
// larger than any screen, and what a window beyond it shows is cut there.
inline constexpr int kMaxSurfaceSide = 8192;
