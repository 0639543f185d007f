// The Win32 resource calls over the embedded resources, and loading bitmaps, icons and
// cursors from resources and files.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/image/BmpCodec.h"
#include "platform/rtl/FileRead.h"
#include "platform/win/WinResource.h"

// A found resource: its own copy of the bytes, so the data stays valid whatever happens
// to the registry of resources afterwards.
struct HRSRC__ {
  unsigned Magic = 0x43525352;  // "RSRC"
  std::string Type, Name;       // keys
  const std::uint8_t* Source = nullptr;
  std::size_t SourceSize = 0;
  TByteBuffer Bytes;
};

namespace {

struct TResourceState {
  std::mutex Lock;
  std::deque<std::unique_ptr<HRSRC__>> Found;  // never freed: handles stay valid
  std::map<std::string, HICON> Shared;         // shared icons and cursors by request
};

TResourceState& RS() {
  static TResourceState state;
  return state;
}

bool IsModule(HMODULE module) { return module == nullptr || module == GetModuleHandle(nullptr); }

HRSRC Find(const TResName& type, const TResName& name) {
  if (type.Empty() || name.Empty()) return nullptr;
  TResourceId t = type.Key(), n = name.Key();
  auto data = FindResourceData(t, n);
  if (!data) return nullptr;
  TResourceState& s = RS();
  std::lock_guard<std::mutex> guard(s.Lock);
  for (auto& r : s.Found)
    if (r->Type == t.Key() && r->Name == n.Key() && r->Source == data->data() && r->SourceSize == data->size())
      return r.get();
  auto r = std::make_unique<HRSRC__>();
  r->Type = t.Key();
  r->Name = n.Key();
  r->Source = data->data();
  r->SourceSize = data->size();
  r->Bytes.assign(data->begin(), data->end());
  s.Found.push_back(std::move(r));
  return s.Found.back().get();
}

HRSRC__* Valid(HRSRC r) {
  if (!r) return nullptr;
  TResourceState& s = RS();
  std::lock_guard<std::mutex> guard(s.Lock);
  for (auto& f : s.Found)
    if (f.get() == r) return r;
  return nullptr;
}


// ---- system icons: our own drawings ---------------------------------------------------------
void Circle(cairo_t* cr, double size, double r, double g, double b) {
  cairo_arc(cr, size / 2, size / 2, size * 0.44, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_set_line_width(cr, size / 32.0);
  cairo_stroke(cr);
}

void Glyph(cairo_t* cr, double size, const char* text, double r, double g, double b) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size * 0.62);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  cairo_move_to(cr, size / 2 - ext.width / 2 - ext.x_bearing, size / 2 - ext.height / 2 - ext.y_bearing);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_show_text(cr, text);
}

TRawImage SystemIconPicture(int id, int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  const double s = size;
  switch (id) {
    case OIC_HAND: {  // a red disc with a white cross
      Circle(cr, s, 0.85, 0.1, 0.1);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_line_width(cr, s * 0.12);
      cairo_move_to(cr, s * 0.33, s * 0.33);
      cairo_line_to(cr, s * 0.67, s * 0.67);
      cairo_move_to(cr, s * 0.67, s * 0.33);
      cairo_line_to(cr, s * 0.33, s * 0.67);
      cairo_stroke(cr);
      break;
    }
    case OIC_QUES:
      Circle(cr, s, 0.2, 0.4, 0.85);
      Glyph(cr, s, "?", 1, 1, 1);
      break;
    case OIC_NOTE:
      Circle(cr, s, 0.2, 0.4, 0.85);
      Glyph(cr, s, "i", 1, 1, 1);
      break;
    case OIC_BANG: {  // a yellow triangle with an exclamation mark
      cairo_move_to(cr, s / 2, s * 0.06);
      cairo_line_to(cr, s * 0.96, s * 0.92);
      cairo_line_to(cr, s * 0.04, s * 0.92);
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, 1.0, 0.82, 0.1);
      cairo_fill_preserve(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
      cairo_set_line_width(cr, s / 32.0);
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_translate(cr, 0, s * 0.08);
      Glyph(cr, s * 0.9, "!", 0, 0, 0);
      cairo_restore(cr);
      break;
    }
    case OIC_SHIELD: {  // a shield in two colours
      cairo_move_to(cr, s * 0.5, s * 0.05);
      cairo_line_to(cr, s * 0.88, s * 0.18);
      cairo_curve_to(cr, s * 0.88, s * 0.6, s * 0.7, s * 0.82, s * 0.5, s * 0.96);
      cairo_curve_to(cr, s * 0.3, s * 0.82, s * 0.12, s * 0.6, s * 0.12, s * 0.18);
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, 0.2, 0.4, 0.85);
      cairo_fill_preserve(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
      cairo_set_line_width(cr, s / 32.0);
      cairo_stroke(cr);
      cairo_rectangle(cr, s * 0.5, s * 0.2, s * 0.3, s * 0.3);
      cairo_rectangle(cr, s * 0.2, s * 0.5, s * 0.3, s * 0.3);
      cairo_set_source_rgb(cr, 1.0, 0.82, 0.1);
      cairo_fill(cr);
      break;
    }
    default: {  // the application: a small window with a blue caption
      double m = std::round(s * 0.06), top = std::round(s * 0.12);
      cairo_rectangle(cr, m, top, s - 2 * m, s - top - m);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_fill(cr);
      cairo_rectangle(cr, m, top, s - 2 * m, std::max(3.0, std::round(s * 0.2)));
      cairo_set_source_rgb(cr, 0.05, 0.2, 0.65);
      cairo_fill(cr);
      cairo_rectangle(cr, m + 0.5, top + 0.5, s - 2 * m - 1, s - top - m - 1);
      cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      break;
    }
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  TRawImage image = CopyFromPremultiplied(cairo_image_surface_get_data(surface), size, size,
                                          cairo_image_surface_get_stride(surface));
  cairo_surface_destroy(surface);
  return image;
}

bool IsSystemIconId(int id) { return id >= OIC_SAMPLE && id <= OIC_SHIELD; }

HICON SharedLookup(const std::string& key) {
  TResourceState& s = RS();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.Shared.find(key);
  return it != s.Shared.end() && IsIconHandle(it->second) ? it->second : nullptr;
}

HICON SharedStore(const std::string& key, HICON icon) {
  if (!icon) return nullptr;
  SetIconShared(icon);
  TResourceState& s = RS();
  std::lock_guard<std::mutex> guard(s.Lock);
  s.Shared[key] = icon;
  return icon;
}

HICON SystemIcon(int id, int cx, int cy) {
  if (cx <= 0) cx = GetSystemMetrics(SM_CXICON);
  if (cy <= 0) cy = cx;
  if (cx > 1024 || cy > 1024) return nullptr;
  std::string key = "sys|" + std::to_string(id) + "|" + std::to_string(cx) + "x" + std::to_string(cy);
  if (HICON h = SharedLookup(key)) return h;
  TRawImage picture = SystemIconPicture(id, std::max(cx, cy));
  if (cx != cy) {  // a non-square request stretches the square drawing
    TRawImage scaled(cx, cy);
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x) scaled.At(x, y) = picture.At(x * picture.Width / cx, y * picture.Height / cy);
    picture = std::move(scaled);
  }
  HICON icon = CreateIconFromImage(picture, TRUE);
  return SharedStore(key, icon);
}

// An icon or cursor from the resource of that name: the group found as RT_GROUP_ICON /
// RT_GROUP_CURSOR (the whole .ico/.cur file).
HICON IconFromResource(const TResName& name, bool icon, int cx, int cy, UINT flags) {
  HRSRC r = Find(TResName(icon ? RT_GROUP_ICON : RT_GROUP_CURSOR), name);
  if (!r) return nullptr;
  if (flags & LR_SHARED) {
    std::string key = std::string(icon ? "ico|" : "cur|") + r->Name + "|" + std::to_string(cx) + "x" +
                      std::to_string(cy) + "|" + std::to_string(flags & LR_DEFAULTSIZE) + "|" +
                      std::to_string(reinterpret_cast<std::uintptr_t>(r));
    if (HICON h = SharedLookup(key)) return h;
    return SharedStore(key, CreateIconFromResourceEx(r->Bytes.data(), DWORD(r->Bytes.size()), icon, 0x30000, cx,
                                                     cy, flags));
  }
  return CreateIconFromResourceEx(r->Bytes.data(), DWORD(r->Bytes.size()), icon, 0x30000, cx, cy, flags);
}

HBITMAP BitmapFromBytes(TBytesView bytes, int cx, int cy, UINT flags) {
  TRawImage image;
  try {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') image = DecodeBmp(bytes);
    else image = DecodeDib(bytes);  // a packed DIB, as bitmap resources are stored elsewhere
  } catch (const std::exception&) {
    return nullptr;
  }
  if (image.Empty()) return nullptr;
  int w = cx > 0 ? cx : image.Width, h = cy > 0 ? cy : image.Height;
  if (w != image.Width || h != image.Height) {
    if (w > 32768 || h > 32768 || std::uint64_t(w) * std::uint64_t(h) > MaxImagePixels) return nullptr;
    TRawImage scaled(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        scaled.At(x, y) = image.At(int(std::int64_t(x) * image.Width / w), int(std::int64_t(y) * image.Height / h));
    image = std::move(scaled);
  }
  BITMAPINFO info{};
  info.bmiHeader.biWidth = image.Width;
  info.bmiHeader.biHeight = -image.Height;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (flags & LR_CREATEDIBSECTION) {
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (b && bits) std::memcpy(bits, image.Pixels.data(), image.Pixels.size() * 4);
    return b;
  }
  HBITMAP b = CreateBitmap(image.Width, image.Height, 1, 32, nullptr);
  if (b) SetDIBits(nullptr, b, 0, UINT(image.Height), image.Pixels.data(), &info, DIB_RGB_COLORS);
  return b;
}

}  // namespace

// ---- names ----------------------------------------------------------------------------------
TResName::TResName(LPCSTR name) {
  if (IS_INTRESOURCE(name)) {
    FIsId = name != nullptr;
    FId = int(reinterpret_cast<ULONG_PTR>(name));
  } else {
    FText = name;
  }
}

TResName::TResName(int id) : FIsId(true), FId(id) {}

TResName::TResName(const std::string& name) : FText(name) {}

TResourceId TResName::Key() const { return FIsId ? TResourceId(FId) : TResourceId(FText); }

// ---- raw resources ----------------------------------------------------------------------------
HRSRC FindResource(HMODULE module, TResName name, TResName type) {
  if (!IsModule(module)) return nullptr;
  return Find(type, name);
}

HRSRC FindResourceEx(HMODULE module, TResName type, TResName name, WORD) { return FindResource(module, name, type); }

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  if (!IsModule(module) || !Valid(resource)) return nullptr;
  return static_cast<HGLOBAL>(resource);
}

void* LockResource(HGLOBAL data) {
  HRSRC__* r = Valid(static_cast<HRSRC>(data));
  if (!r) return nullptr;
  return r->Bytes.data();
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  if (!IsModule(module)) return 0;
  HRSRC__* r = Valid(resource);
  return r ? DWORD(r->Bytes.size()) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

// ---- bitmaps, icons, cursors ----------------------------------------------------------------
namespace {
// The combo-box arrow, 7 by 4 pixels: rows of 7, 5, 3 and 1 black pixels centred on the
// button face.
HBITMAP ComboArrowBitmap() {
  const int w = 7, h = 4;
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  std::uint32_t bits[w * h];
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool ink = x >= y && x < w - y;
      COLORREF c = ink ? 0 : face;
      bits[y * w + x] = 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
                        std::uint32_t(GetBValue(c));
    }
  return CreateBitmap(w, h, 1, 32, bits);
}
}  // namespace

HBITMAP LoadBitmap(HINSTANCE instance, TResName name) {
  if (!instance && name.IsId() && name.Id() == OBM_COMBO) return ComboArrowBitmap();
  if (!IsModule(instance)) return nullptr;
  HRSRC r = Find(TResName(RT_BITMAP), name);
  return r ? BitmapFromBytes(r->Bytes, 0, 0, 0) : nullptr;
}

HICON LoadIcon(HINSTANCE instance, TResName name) {
  if (!instance && name.IsId() && IsSystemIconId(name.Id())) return SystemIcon(name.Id(), 0, 0);
  if (!IsModule(instance)) return nullptr;
  return IconFromResource(name, true, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
}

HCURSOR LoadCursorResource(HINSTANCE instance, LPCSTR name) {
  if (!IsModule(instance)) return nullptr;
  return IconFromResource(TResName(name), false, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
}

HANDLE LoadImage(HINSTANCE instance, TResName name, UINT type, int cx, int cy, UINT flags) {
  if (cx < 0 || cy < 0) return nullptr;
  if (flags & LR_LOADFROMFILE) {
    if (name.IsId() || name.Text().empty()) return nullptr;
    TByteBuffer bytes;
    // Never blocks on a FIFO or device, never reads without end: no handle instead.
    if (ReadFileBytes(name.Text(), bytes) != TReadFileResult::Ok || bytes.empty()) return nullptr;
    if (type == IMAGE_BITMAP) return BitmapFromBytes(bytes, cx, cy, flags);
    if (type != IMAGE_ICON && type != IMAGE_CURSOR) return nullptr;
    std::string key = std::string(type == IMAGE_ICON ? "fico|" : "fcur|") + name.Text() + "|" + std::to_string(cx) +
                      "x" + std::to_string(cy) + "|" + std::to_string(flags & LR_DEFAULTSIZE);
    if (flags & LR_SHARED)
      if (HICON h = SharedLookup(key)) return h;
    HICON h = CreateIconFromResourceEx(bytes.data(), DWORD(bytes.size()), type == IMAGE_ICON, 0x30000, cx, cy, flags);
    return (flags & LR_SHARED) ? SharedStore(key, h) : h;
  }
  switch (type) {
    case IMAGE_BITMAP: {
      if (!IsModule(instance)) return nullptr;
      HRSRC r = Find(TResName(RT_BITMAP), name);
      return r ? BitmapFromBytes(r->Bytes, cx, cy, flags) : nullptr;
    }
    case IMAGE_ICON:
      if (!instance && name.IsId() && IsSystemIconId(name.Id())) {
        int w = cx ? cx : ((flags & LR_DEFAULTSIZE) || !cy ? GetSystemMetrics(SM_CXICON) : cy);
        int h = cy ? cy : w;
        return SystemIcon(name.Id(), w, h);
      }
      if (!IsModule(instance)) return nullptr;
      return IconFromResource(name, true, cx, cy, flags);
    case IMAGE_CURSOR:
      if (!instance && name.IsId() && SystemCursorId(reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(name.Id()))))
        return LoadCursor(nullptr, MAKEINTRESOURCE(name.Id()));
      if (!IsModule(instance)) return nullptr;
      return IconFromResource(name, false, cx, cy, flags);
    default: return nullptr;
  }
}
