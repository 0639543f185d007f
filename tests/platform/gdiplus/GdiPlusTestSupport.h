#pragma once
// A canvas for GDI+ tests: an ARGB image surface cleared to white, a graphics on it and
// pixel reading as straight ARGB.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdiplus/GdiPlusFlat.h"

// Starts GDI+ once for the test binary.
class GdiplusEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    GdiplusStartupInput in;
    ASSERT_EQ(GdiplusStartup(&token, &in, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(token); }
  std::uintptr_t token = 0;
};

struct Canvas {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  GpGraphics* g = nullptr;
  int w, h;

  Canvas(int width, int height, ARGB background = 0xFFFFFFFF) : w(width), h(height) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    EXPECT_EQ(GdipCreateFromCairo(cr, &g), Ok);
    GdipGraphicsClear(g, background);
  }
  ~Canvas() {
    GdipDeleteGraphics(g);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  ARGB At(int x, int y) const {
    cairo_surface_flush(surface);
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                              y * cairo_image_surface_get_stride(surface));
    const std::uint32_t p = row[x];
    const unsigned a = p >> 24;
    if (a == 0) return 0;
    if (a == 255) return p;
    auto ch = [&](int s) { return ((((p >> s) & 0xFF) * 255 + a / 2) / a) << s; };
    return (a << 24) | ch(16) | ch(8) | ch(0);
  }
  // Saves the canvas for a person to look at (in the build's test working directory).
  void Save(const std::string& name) const {
    cairo_surface_flush(surface);
    cairo_surface_write_to_png(surface, name.c_str());
  }
};

inline int Red(ARGB c) { return int((c >> 16) & 0xFF); }
inline int Green(ARGB c) { return int((c >> 8) & 0xFF); }
inline int Blue(ARGB c) { return int(c & 0xFF); }
inline int Alpha(ARGB c) { return int(c >> 24); }

// True when every channel of a and b differs by at most tol.
inline bool Near(ARGB a, ARGB b, int tol) {
  for (int s = 0; s < 32; s += 8)
    if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tol) return false;
  return true;
}

#define EXPECT_COLOR_NEAR(actual, expected, tol)                                                        \
  EXPECT_PRED3(Near, actual, expected, tol) << std::hex << "actual 0x" << (actual) << " expected 0x" \
                                            << (expected)
