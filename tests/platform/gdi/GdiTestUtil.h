#pragma once
// Shared fixture pieces of the GDI tests: a 32-bit memory DC, pixel access and a PNG dump.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

// A memory DC with a top-down 32-bit DIB section selected, cleared to `fill`.
class Canvas32 {
public:
  Canvas32(int w, int h, COLORREF fill = RGB(255, 255, 255)) : w_(w), h_(h) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    px = static_cast<std::uint32_t*>(bits);
    old = SelectObject(dc, bmp);
    clear(fill);
  }
  ~Canvas32() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  Canvas32(const Canvas32&) = delete;
  Canvas32& operator=(const Canvas32&) = delete;

  void clear(COLORREF c) {
    std::uint32_t v = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    for (int i = 0; i < w_ * h_; ++i) px[i] = v;
  }
  COLORREF at(int x, int y) const {
    std::uint32_t v = px[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  bool is(int x, int y, COLORREF c) const { return at(x, y) == c; }
  // Pixels of colour c as a string of '#' and '.', rows separated by '\n' (for failures).
  std::string mask(COLORREF c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const {
    if (x1 < 0) x1 = w_;
    if (y1 < 0) y1 = h_;
    std::string s;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) s += at(x, y) == c ? '#' : '.';
      s += '\n';
    }
    return s;
  }
  int count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) n += at(x, y) == c;
    return n;
  }
  // Bounding box of pixels different from `bg` (empty rect if none).
  RECT inkBox(COLORREF bg) const {
    RECT r{w_, h_, 0, 0};
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (at(x, y) != bg) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    if (r.right == 0) return RECT{0, 0, 0, 0};
    return r;
  }
  void savePng(const std::string& name) const {
    auto dir = std::filesystem::temp_directory_path() / "lorm-gdi";
    std::filesystem::create_directories(dir);
    cairo_surface_t* s = GetBitmapSurface(bmp);
    cairo_surface_flush(s);
    cairo_surface_write_to_png(s, (dir / name).string().c_str());
  }
  int width() const { return w_; }
  int height() const { return h_; }

  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  std::uint32_t* px = nullptr;

private:
  int w_, h_;
};

// Selects an object for the scope.
class Select {
public:
  Select(HDC dc, HGDIOBJ obj, bool own = true) : dc_(dc), obj_(obj), own_(own) { old_ = SelectObject(dc, obj); }
  ~Select() {
    SelectObject(dc_, old_);
    if (own_) DeleteObject(obj_);
  }
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;

private:
  HDC dc_;
  HGDIOBJ obj_, old_;
  bool own_;
};

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
