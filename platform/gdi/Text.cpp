#include "platform/gdi/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <pixman.h>
#include <string_view>

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {

// ---- UTF helpers -----------------------------------------------------------------------
std::string Utf16ToUtf8(const char16_t* text, int count) {
  std::string out;
  if (!text) return out;
  if (count < 0) {
    count = 0;
    while (text[count]) ++count;
  }
  for (int i = 0; i < count; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) out += char(c);
    else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string CodePointToUtf8(char32_t c) {
  char16_t buf[2];
  int n = 1;
  if (c >= 0x10000) {
    buf[0] = char16_t(0xD800 + ((c - 0x10000) >> 10));
    buf[1] = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    n = 2;
  } else {
    buf[0] = char16_t(c);
  }
  return Utf16ToUtf8(buf, n);
}

// Byte offsets of each code point (plus the end) of valid-ish UTF-8.
std::vector<std::size_t> CharOffsets(std::string_view s) {
  std::vector<std::size_t> offs;
  for (std::size_t i = 0; i < s.size();) {
    offs.push_back(i);
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    i += len;
    if (i > s.size()) i = s.size();
  }
  offs.push_back(s.size());
  return offs;
}

// Text handed to pango must be valid UTF-8; invalid bytes become U+FFFD.
std::string Sanitize(std::string_view s) {
  if (g_utf8_validate(s.data(), gssize(s.size()), nullptr)) return std::string(s);
  gchar* fixed = g_utf8_make_valid(s.data(), gssize(s.size()));
  std::string out(fixed);
  g_free(fixed);
  return out;
}

std::string_view Counted(const char* text, int count) {
  if (!text) return {};
  if (count < 0) return std::string_view(text);
  return std::string_view(text, std::size_t(count));
}

// The Symbol font's own encoding: characters 0x20..0xFF (and their private-use copies at
// U+F020..U+F0FF) stand for Greek letters and mathematical signs. The installed
// replacement font is Unicode, so text in the Symbol face is translated first.
const char32_t kSymbolMap[224] = {
    0, 0, 0x2200, 0, 0x2203, 0, 0, 0x220b, 0, 0, 0x2217, 0,
    0, 0x2212, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0x2245, 0x391, 0x392, 0x3a7,
    0x394, 0x395, 0x3a6, 0x393, 0x397, 0x399, 0x3d1, 0x39a, 0x39b, 0x39c, 0x39d, 0x39f,
    0x3a0, 0x398, 0x3a1, 0x3a3, 0x3a4, 0x3a5, 0x3c2, 0x3a9, 0x39e, 0x3a8, 0x396, 0,
    0x2234, 0, 0x22a5, 0, 0x203e, 0x3b1, 0x3b2, 0x3c7, 0x3b4, 0x3b5, 0x3c6, 0x3b3,
    0x3b7, 0x3b9, 0x3d5, 0x3ba, 0x3bb, 0x3bc, 0x3bd, 0x3bf, 0x3c0, 0x3b8, 0x3c1, 0x3c3,
    0x3c4, 0x3c5, 0x3d6, 0x3c9, 0x3be, 0x3c8, 0x3b6, 0, 0, 0, 0x223c, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0x3d2, 0x2032, 0x2264,
    0x2044, 0x221e, 0x192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0xb0, 0xb1, 0x2033, 0x2265, 0xd7, 0x221d, 0x2202, 0x2022, 0xf7, 0x2260, 0x2261, 0x2248,
    0x2026, 0, 0, 0, 0x2135, 0x2111, 0x211c, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
    0x222a, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0xae, 0xa9,
    0x2122, 0x220f, 0x221a, 0x22c5, 0xac, 0x2227, 0x2228, 0x21d4, 0x21d0, 0x21d1, 0x21d2, 0x21d3,
    0x25ca, 0x2329, 0, 0, 0, 0x2211, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0x232a, 0x222b, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
};

bool IsSymbolFace(const FontRequest& fontRequest) { return g_ascii_strcasecmp(fontRequest.face.c_str(), "Symbol") == 0; }

std::string MapSymbolText(std::string_view s) {
  std::string out;
  std::string clean = Sanitize(s);
  const char* p = clean.c_str();
  const char* end = p + clean.size();
  while (p < end) {
    gunichar c = g_utf8_get_char(p);
    p = g_utf8_next_char(p);
    if (c >= 0xF020 && c <= 0xF0FF) c -= 0xF000;
    if (c >= 0x20 && c <= 0xFF && kSymbolMap[c - 0x20]) c = kSymbolMap[c - 0x20];
    char buf[8];
    out.append(buf, std::size_t(g_unichar_to_utf8(c, buf)));
  }
  return out;
}

// ---- measuring ----------------------------------------------------------------------------
// The selected font, resolved once per font object; widths come from the text cache.
struct Measure {
  const ResolvedFont* font;
  const FontMetricsPx* m;
  int extra;  // SetTextCharacterExtra, device pixels
  bool symbol;
  explicit Measure(DC* dc)
      : font(&DCResolvedFont(dc)), m(&font->metrics),
        extra(dc->s.charExtra ? LogicalToDeviceLengthX(dc, dc->s.charExtra) : 0), symbol(IsSymbolFace(font->request)) {}
  // Text ready for pango: valid UTF-8, in Unicode for the Symbol face. Returns `s` itself
  // when it needs no change, else the converted text kept in `holder`.
  std::string_view prepare(std::string_view s, std::string& holder) const {
    if (symbol) return holder = MapSymbolText(s);
    if (g_utf8_validate(s.data(), gssize(s.size()), nullptr)) return s;
    return holder = Sanitize(s);
  }
  std::string prepare(std::string_view s) const {
    std::string holder;
    std::string_view v = prepare(s, holder);
    return v.data() == holder.data() ? holder : std::string(v);
  }
  int width(std::string_view s) const {
    if (s.empty()) return 0;
    int w = FontMapTextEntry(*font, s).width;
    if (extra) w += extra * int(g_utf8_strlen(s.data(), gssize(s.size())));
    return w;
  }
  // Cumulative right edges per code point (size = number of code points).
  std::vector<int> ends(std::string_view s) const {
    std::vector<int> e;
    if (!s.empty()) e = FontMapTextEnds(*font, FontMapTextEntry(*font, s), s);
    std::size_t n = std::size_t(g_utf8_strlen(s.data(), gssize(s.size())));
    if (e.size() != n) {
      // Fall back to measuring prefixes (clusters of several code points).
      e.clear();
      auto offs = CharOffsets(s);
      for (std::size_t i = 1; i < offs.size(); ++i) e.push_back(width(s.substr(0, offs[i])));
    }
    if (extra)
      for (std::size_t i = 0; i < e.size(); ++i) e[i] += extra * int(i + 1);
    return e;
  }
};

int DeviceToLogicalY(DC* dc, int v) {
  const DCState& s = dc->s;
  if (s.windowExt.cy == s.viewportExt.cy || s.viewportExt.cy == 0) return v;
  return int(std::lround(std::abs(double(v) * s.windowExt.cy / s.viewportExt.cy)));
}
int DeviceToLogicalX(DC* dc, int v) {
  const DCState& s = dc->s;
  if (s.windowExt.cx == s.viewportExt.cx || s.viewportExt.cx == 0) return v;
  return int(std::lround(std::abs(double(v) * s.windowExt.cx / s.viewportExt.cx)));
}

void SetColor(cairo_t* cr, COLORREF c) {
  c = ResolveColor(c);
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// Draws one run of text with its cell's top-left at device (x, y) in text space, rotated
// by the font's escapement around device point (rx, ry) (text space origin).
// The text is valid UTF-8.
struct RunOptions {
  bool opaque = false;          // fill the cell with the background colour
  const RECT* clipRect = nullptr;  // device rectangle limiting the text
  const INT* dx = nullptr;      // per-character advances (device)
  std::vector<std::size_t> underlines;  // byte offsets of characters to underline (prefix)
  bool textOnly = true;
  bool underlinesOnly = false;
};

// Draws a one-line layout with its top-left at (x, y) like pango_cairo_show_layout, but
// leaves out the glyphs whose ink lies wholly outside the columns [clipLeft, clipRight)
// (cairo coordinates): a long text clipped to a narrow cell costs what its visible part
// costs. Only for plain layouts (no underline or strike-through lines to draw).
[[gnu::noinline]] void ShowLayoutClipped(cairo_t* cr, PangoLayout* layout, double x, double y, double clipLeft,
                                         double clipRight) {
  if (pango_layout_get_line_count(layout) != 1) {
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    return;
  }
  constexpr double kScale = PANGO_SCALE;
  constexpr double kSlack = 2;  // pixels a hinted glyph may reach beyond its ink box
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  double baseline = y + pango_layout_get_baseline(layout) / kScale;
  int pen = 0;  // pango units from the line's start; runs and glyphs are in visual order
  for (GSList* l = line->runs; l; l = l->next) {
    auto* run = static_cast<PangoGlyphItem*>(l->data);
    PangoGlyphString* glyphs = run->glyphs;
    int first = -1, last = -1, firstPen = 0;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const PangoGlyphGeometry& g = glyphs->glyphs[i].geometry;
      double left = x + (pen + g.x_offset) / kScale, right = left + g.width / kScale;
      bool shown = right > clipLeft && left < clipRight;
      if (!shown) {
        // Outside by its advance: its ink may still reach in.
        PangoRectangle ink;
        pango_font_get_glyph_extents(run->item->analysis.font, glyphs->glyphs[i].glyph, &ink, nullptr);
        double inkLeft = left + ink.x / kScale - kSlack, inkRight = left + (ink.x + ink.width) / kScale + kSlack;
        shown = ink.width > 0 && inkRight > clipLeft && inkLeft < clipRight;
      }
      if (shown) {
        if (first < 0) {
          first = i;
          firstPen = pen;
        }
        last = i;
      }
      pen += g.width;
    }
    if (first < 0) continue;
    PangoGlyphString part = *glyphs;
    part.num_glyphs = last - first + 1;
    part.glyphs = glyphs->glyphs + first;
    part.log_clusters = glyphs->log_clusters + first;
    cairo_move_to(cr, x + firstPen / kScale, baseline);
    pango_cairo_show_glyph_string(cr, run->item->analysis.font, &part);
  }
}

// The part of `box` inside `clip`; a reversed clip rectangle clips as its normal form.
RECT CutToClip(RECT box, const RECT& clip) {
  box.left = std::max(box.left, std::min(clip.left, clip.right));
  box.right = std::min(box.right, std::max(clip.left, clip.right));
  box.top = std::max(box.top, std::min(clip.top, clip.bottom));
  box.bottom = std::min(box.bottom, std::max(clip.top, clip.bottom));
  return box;
}

// Composites a text's coverage mask, its pixel (0, 0) at surface point (x, y), in the
// colour c over the target, inside the target's clip and the device rectangle clipRect.
void ShowTextMask(Target& t, const FontMapText& mask, int x, int y, const RECT* clipRect, COLORREF c) {
  POINT org = t.origin();
  cairo_surface_t* surface = t.surface();
  int surfaceWidth = cairo_image_surface_get_width(surface), surfaceHeight = cairo_image_surface_get_height(surface);
  // The mask's box, cut to the rectangle and the surface (surface coordinates).
  RECT box{std::max(x, 0), std::max(y, 0), std::min(x + mask.maskWidth, surfaceWidth),
           std::min(y + mask.maskHeight, surfaceHeight)};
  if (clipRect)
    box = CutToClip(box, RECT{clipRect->left + org.x, clipRect->top + org.y, clipRect->right + org.x,
                              clipRect->bottom + org.y});
  int left = box.left, top = box.top, right = box.right, bottom = box.bottom;
  if (left >= right || top >= bottom) return;
  c = ResolveColor(c);
  pixman_color_t color{std::uint16_t(GetRValue(c) * 257), std::uint16_t(GetGValue(c) * 257),
                       std::uint16_t(GetBValue(c) * 257), 0xFFFF};
  pixman_image_t* source = pixman_image_create_solid_fill(&color);
  pixman_image_t* coverage = pixman_image_create_bits(
      PIXMAN_a8, mask.maskWidth, mask.maskHeight, reinterpret_cast<std::uint32_t*>(mask.maskData), mask.maskStride);
  pixman_image_t* target = pixman_image_create_bits(
      cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, surfaceWidth,
      surfaceHeight, reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)),
      cairo_image_surface_get_stride(surface));
  const cairo_region_t* clip = t.clip();
  int n = cairo_region_num_rectangles(clip);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t q;
    cairo_region_get_rectangle(clip, i, &q);
    int x0 = std::max(left, q.x + org.x), x1 = std::min(right, q.x + q.width + org.x);
    int y0 = std::max(top, q.y + org.y), y1 = std::min(bottom, q.y + q.height + org.y);
    if (x0 < x1 && y0 < y1)
      pixman_image_composite32(PIXMAN_OP_OVER, source, coverage, target, 0, 0, x0 - x, y0 - y, x0, y0, x1 - x0,
                               y1 - y0);
  }
  pixman_image_unref(target);
  pixman_image_unref(coverage);
  pixman_image_unref(source);
}

void DrawRun(DC* dc, Target& t, const Measure& ms, std::string_view text, double rx, double ry, double ux, double uy,
             const RunOptions& o) {
  if (!t.valid()) return;
  const FontMetricsPx& m = *ms.m;
  int escapement = dc->s.font ? dc->s.font->lf.lfEscapement : 0;
  double angle = escapement / 10.0 * std::numbers::pi / 180.0;
  int width = 0;
  std::vector<int> ends;
  FontMapText* entry = nullptr;  // the run's layout when it is drawn in one piece
  if (o.dx) {
    auto offs = CharOffsets(text);
    int acc = 0;
    for (std::size_t i = 0; i + 1 < offs.size(); ++i) {
      acc += o.dx[i];
      ends.push_back(acc);
    }
    width = acc;
  } else if (ms.extra) {
    width = ms.width(text);
  } else if (!text.empty()) {
    entry = &FontMapTextEntry(*ms.font, text);
    width = entry->width;
  }
  POINT org = t.origin();
  if (angle == 0 && entry && !o.underlinesOnly && o.underlines.empty() && !ms.font->request.underline &&
      !ms.font->request.strikeout && !t.mono() && !dc->textSink) {
    // Plain text in one piece: its background box when opaque, then its rendered mask
    // composited in the text colour, clip rectangle by clip rectangle.
    if (FontMapTextMask(*entry)) {
      int left = int(std::lround(rx + ux)), top = int(std::lround(ry + uy));
      if (o.opaque) {
        RECT box{left, top, left + width, top + m.height};
        if (o.clipRect) box = CutToClip(box, *o.clipRect);
        Paint bk;
        bk.type = Paint::Solid;
        bk.color = ToPixel(dc->s.bkColor);
        FillDeviceRect(dc, t, box, bk);
      }
      int x = org.x + left + entry->maskX;
      int y = org.y + top + m.ascent - entry->baseline + entry->maskY;
      ShowTextMask(t, *entry, x, y, o.clipRect, dc->s.textColor);
      return;
    }
  }
  cairo_t* cr = nullptr;
  if (dc->textSink) {
    // A printer page: the same drawing, scaled, into the page's text layer.
    cr = cairo_reference(dc->textSink);
    cairo_save(cr);
    cairo_scale(cr, dc->textSinkScale, dc->textSinkScale);
  } else {
    cr = cairo_create(t.surface());
  }
  // Clipping costs cairo a slower glyph path: leave it out when everything this run can
  // paint (the cell and the glyphs' ink) lies inside one clip rectangle.
  bool needClip = true;
  double clipLeft = 0, clipRight = 0;  // the clip's columns when it is one box (cairo coordinates)
  bool clipBox = false;
  if (angle == 0 && entry && cairo_region_num_rectangles(t.clip()) == 1) {
    double x0 = rx + ux, y0 = ry + uy;
    double left = x0 + std::min(0, entry->inkLeft), right = x0 + std::max(width, entry->inkRight);
    double top = y0 + std::min(0, m.ascent - entry->baseline + entry->inkTop);
    double bottom = y0 + std::max(m.height, m.ascent - entry->baseline + entry->inkBottom);
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(t.clip(), 0, &c);
    auto inside = [&](double l, double tp, double r, double b) { return left >= l && top >= tp && right <= r && bottom <= b; };
    needClip = !inside(c.x, c.y, c.x + c.width, c.y + c.height) ||
               (o.clipRect && !inside(o.clipRect->left, o.clipRect->top, o.clipRect->right, o.clipRect->bottom));
  }
  if (needClip && o.clipRect && cairo_region_num_rectangles(t.clip()) == 1) {
    // One rectangle clips as well as two, and cairo keeps a single box cheaper.
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(t.clip(), 0, &c);
    RECT cut = CutToClip(RECT{c.x, c.y, c.x + c.width, c.y + c.height}, *o.clipRect);
    int left = cut.left, top = cut.top, right = cut.right, bottom = cut.bottom;
    cairo_rectangle(cr, left + org.x, top + org.y, std::max(0, right - left), std::max(0, bottom - top));
    cairo_clip(cr);
    clipBox = true;
    clipLeft = left + org.x;
    clipRight = std::max(left, right) + org.x;
  } else if (needClip) {
    ClipCairo(cr, t);
    if (o.clipRect) {
      cairo_rectangle(cr, o.clipRect->left + org.x, o.clipRect->top + org.y, o.clipRect->right - o.clipRect->left,
                      o.clipRect->bottom - o.clipRect->top);
      cairo_clip(cr);
    }
  }
  // Unrotated runs keep the identity matrix (cairo places glyphs faster without a
  // transformation) and add the run's origin (ox, oy) to their coordinates instead.
  double ox = 0, oy = 0;
  if (angle != 0) {
    cairo_translate(cr, org.x + rx, org.y + ry);
    cairo_rotate(cr, -angle);
    cairo_translate(cr, ux, uy);
  } else {
    ox = org.x + rx + ux;
    oy = org.y + ry + uy;
  }
  if (o.opaque) {
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    SetColor(cr, dc->s.bkColor);
    cairo_rectangle(cr, ox, oy, width, m.height);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  SetColor(cr, dc->s.textColor);
  if (!o.underlinesOnly && !text.empty()) {
    std::string_view clean = text;  // callers pass valid UTF-8
    if (!entry) {
      // Characters placed one by one.
      auto offs = CharOffsets(clean);
      if (ends.empty()) ends = ms.ends(clean);
      int x = 0;
      for (std::size_t i = 0; i + 1 < offs.size(); ++i) {
        std::string_view ch(clean.data() + offs[i], offs[i + 1] - offs[i]);
        const FontMapText& entry = FontMapTextEntry(*ms.font, ch);
        cairo_move_to(cr, ox + x, oy + m.ascent - entry.baseline);
        pango_cairo_show_layout(cr, entry.layout);
        x = i < ends.size() ? ends[i] : x;
      }
    } else if (clipBox && angle == 0 && !ms.font->request.underline && !ms.font->request.strikeout) {
      ShowLayoutClipped(cr, entry->layout, ox, oy + m.ascent - entry->baseline, clipLeft, clipRight);
    } else {
      cairo_move_to(cr, ox, oy + m.ascent - entry->baseline);
      pango_cairo_show_layout(cr, entry->layout);
    }
  }
  if (!o.underlines.empty()) {
    std::vector<int> e = ends.empty() ? ms.ends(text) : ends;
    auto offs = CharOffsets(text);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (std::size_t u : o.underlines) {
      auto it = std::lower_bound(offs.begin(), offs.end(), u);
      if (it == offs.end() || *it != u) continue;
      std::size_t ci = std::size_t(it - offs.begin());
      if (ci >= e.size()) continue;
      int x0 = ci == 0 ? 0 : e[ci - 1], x1 = e[ci];
      int y = m.ascent + std::max(1, m.underlinePosition);
      if (y >= m.height) y = m.height - 1;
      cairo_rectangle(cr, ox + x0, oy + y, x1 - x0, m.underlineThickness);
    }
    cairo_fill(cr);
  }
  if (dc->textSink) cairo_restore(cr);
  cairo_destroy(cr);
}

// ---- TextOut / ExtTextOut -------------------------------------------------------------------
BOOL TextOutImpl(HDC hdc, int x, int y, UINT options, const RECT* rect, std::string_view rawText, const INT* dx) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  Measure ms(dc);
  std::string holder;
  std::string_view text = ms.prepare(rawText, holder);
  const FontMetricsPx& m = *ms.m;
  UINT align = dc->s.textAlign;
  bool updateCP = (align & TA_UPDATECP) != 0;
  POINT ref = updateCP ? dc->s.curPos : POINT{x, y};
  POINT p = LogicalToDevice(dc, ref);
  std::vector<INT> ddx;
  if (dx) {
    auto n = CharOffsets(text).size() - 1;
    for (std::size_t i = 0; i < n; ++i) ddx.push_back(LogicalToDeviceLengthX(dc, dx[i]));
  }
  int width = 0;
  if (dx) {
    for (INT v : ddx) width += v;
  } else {
    width = ms.width(text);
  }
  double ux = 0, uy = 0;
  switch (align & (TA_CENTER | TA_RIGHT)) {
    case TA_RIGHT: ux = -width; break;
    case TA_CENTER: ux = -(width / 2); break;
    default: break;
  }
  switch (align & TA_BASELINE) {
    case TA_BASELINE: uy = -m.ascent; break;
    case TA_BOTTOM: uy = -m.height; break;
    default: break;
  }
  Target t(dc);
  RECT devRect{};
  if (rect) devRect = LogicalRectToDevice(dc, *rect);
  if (rect && (options & ETO_OPAQUE)) {
    Paint bk;
    bk.type = Paint::Solid;
    bk.color = ToPixel(dc->s.bkColor);
    FillDeviceRect(dc, t, devRect, bk);
  }
  RunOptions o;
  // The text's background box needs no fill of its own when the rectangle it is clipped to
  // has just been filled with the same colour.
  bool filled = rect && (options & ETO_OPAQUE) && (options & ETO_CLIPPED) && !t.mono() &&
                devRect.right > devRect.left && devRect.bottom > devRect.top;
  o.opaque = dc->s.bkMode == OPAQUE && !filled;
  o.clipRect = rect && (options & ETO_CLIPPED) ? &devRect : nullptr;
  o.dx = dx ? ddx.data() : nullptr;
  DrawRun(dc, t, ms, text, p.x, p.y, ux, uy, o);
  if (updateCP) {
    double angle = (dc->s.font ? dc->s.font->lf.lfEscapement : 0) / 10.0 * std::numbers::pi / 180.0;
    // The current position moves to the far end of the text (left-aligned), or stays
    // for right/centre alignment as GDI does with TA_UPDATECP and those modes.
    if ((align & (TA_CENTER | TA_RIGHT)) == TA_LEFT) {
      POINT d{LONG(std::lround(p.x + width * std::cos(angle))), LONG(std::lround(p.y - width * std::sin(angle)))};
      dc->s.curPos = DeviceToLogical(dc, d);
    } else if ((align & (TA_CENTER | TA_RIGHT)) == TA_RIGHT) {
      POINT d{LONG(std::lround(p.x - width * std::cos(angle))), LONG(std::lround(p.y + width * std::sin(angle)))};
      dc->s.curPos = DeviceToLogical(dc, d);
    }
  }
  return TRUE;
}

// ---- DrawText ------------------------------------------------------------------------------------
struct TextLine {
  std::string text;
  std::vector<std::size_t> underlines;  // byte offsets in text
  int width = 0;
};

// Removes prefix characters: "&x" underlines x, "&&" is a literal '&'.
void StripPrefix(std::string_view in, std::string& out, std::vector<std::size_t>& underlines) {
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '&') {
      if (i + 1 < in.size() && in[i + 1] == '&') {
        out += '&';
        ++i;
        continue;
      }
      if (i + 1 < in.size()) underlines.push_back(out.size());
      continue;  // a lone trailing '&' is dropped
    }
    out += in[i];
  }
}

std::string ExpandTabs(const Measure& ms, std::string_view s, int tabWidth) {
  if (s.find('\t') == std::string_view::npos) return std::string(s);
  std::string out;
  int spaceW = std::max(1, ms.width(" "));
  for (char c : s) {
    if (c != '\t') {
      out += c;
      continue;
    }
    int w = ms.width(out);
    int next = tabWidth > 0 ? (w / tabWidth + 1) * tabWidth : w;
    int n = std::max(1, (next - w + spaceW / 2) / spaceW);
    out.append(std::size_t(n), ' ');
  }
  return out;
}

void ShiftUnderlines(const std::vector<std::size_t>& u, std::size_t from, std::size_t len, std::vector<std::size_t>& out) {
  for (std::size_t pos : u)
    if (pos >= from && pos < from + len) out.push_back(pos - from);
}

// Greedy word wrap of one paragraph into lines no wider than maxWidth.
void WrapParagraph(const Measure& ms, const std::string& para, const std::vector<std::size_t>& under, int maxWidth,
                   bool breakLongWords, std::vector<TextLine>& lines) {
  auto offs = CharOffsets(para);
  std::size_t n = offs.size() - 1;
  if (n == 0) {
    lines.push_back(TextLine{});
    return;
  }
  std::vector<int> ends = ms.ends(para);
  auto widthOf = [&](std::size_t a, std::size_t b) {  // chars [a, b)
    if (b <= a) return 0;
    return ends[b - 1] - (a ? ends[a - 1] : 0);
  };
  std::size_t start = 0;
  while (start < n) {
    // Greedy: extend while fits; remember last break opportunity (after a blank run).
    std::size_t i = start, lastBreak = std::string::npos;
    while (i < n) {
      if (para[offs[i]] == ' ' && i > start) lastBreak = i;
      if (widthOf(start, i + 1) > maxWidth && para[offs[i]] != ' ') break;
      ++i;
    }
    std::size_t end;
    std::size_t next;
    if (i >= n) {
      end = n;
      next = n;
    } else if (lastBreak != std::string::npos) {
      end = lastBreak;
      next = lastBreak;
    } else {
      // A word longer than the line.
      if (breakLongWords) {
        end = std::max(i, start + 1);
      } else {
        end = i;
        while (end < n && para[offs[end]] != ' ') ++end;
      }
      next = end;
    }
    // Trailing blanks of a wrapped line are not shown.
    std::size_t visibleEnd = end;
    while (visibleEnd > start && para[offs[visibleEnd - 1]] == ' ' && end < n) --visibleEnd;
    TextLine line;
    line.text = para.substr(offs[start], offs[visibleEnd] - offs[start]);
    ShiftUnderlines(under, offs[start], offs[visibleEnd] - offs[start],
                    line.underlines);
    lines.push_back(std::move(line));
    // Blanks at the break are swallowed.
    while (next < n && para[offs[next]] == ' ') ++next;
    start = next;
  }
}

// Shortens `line` to fit maxWidth with an ellipsis; returns true when changed.
bool Ellipsize(const Measure& ms, TextLine& line, int maxWidth, UINT format) {
  if (line.width <= maxWidth) return false;
  static const std::string dots = "...";
  int dotsW = ms.width(dots);
  const std::string& s = line.text;
  auto offs = CharOffsets(s);
  std::vector<int> ends = ms.ends(s);
  std::size_t n = offs.size() - 1;
  auto fitPrefix = [&](int avail) {  // number of chars whose prefix fits
    std::size_t k = 0;
    while (k < n && ends[k] <= avail) ++k;
    return k;
  };
  if (format & DT_PATH_ELLIPSIS) {
    std::size_t sep = s.find_last_of("\\/");
    if (sep != std::string::npos && sep > 0) {
      std::string tail = s.substr(sep);
      int tailW = ms.width(tail);
      int avail = maxWidth - tailW - dotsW;
      std::size_t k = avail > 0 ? fitPrefix(avail) : 0;
      std::string head = s.substr(0, offs[k]);
      line.text = head + dots + tail;
      std::vector<std::size_t> u;
      for (std::size_t pos : line.underlines)
        if (pos < offs[k]) u.push_back(pos);
      line.underlines = u;
      line.width = ms.width(line.text);
      return true;
    }
  }
  std::size_t k = fitPrefix(std::max(0, maxWidth - dotsW));
  if (format & DT_WORD_ELLIPSIS) {
    std::size_t w = k;
    while (w > 0 && s[offs[w]] != ' ' && s[offs[w - 1]] != ' ') --w;
    if (w > 0) k = w;
  }
  while (k > 0 && s[offs[k - 1]] == ' ') --k;  // no blank before the dots
  line.text = s.substr(0, offs[k]) + dots;
  std::vector<std::size_t> u;
  for (std::size_t pos : line.underlines)
    if (pos < offs[k]) u.push_back(pos);
  line.underlines = u;
  line.width = ms.width(line.text);
  return true;
}

int DrawTextImpl(HDC hdc, std::string_view rawInput, RECT* rect, UINT format, DRAWTEXTPARAMS* params,
                 std::string* modified) {
  DC* dc = GetDC(hdc);
  if (!dc || !rect) return 0;
  Measure ms(dc);
  std::string mapped;  // the text in Unicode for the Symbol face
  if (ms.symbol) mapped = MapSymbolText(rawInput);
  std::string_view input = ms.symbol ? std::string_view(mapped) : rawInput;
  const FontMetricsPx& m = *ms.m;
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    tabChars = int((format >> 8) & 0xFF);
    format &= ~0xFF00u;
  }
  if (params && params->iTabLength > 0) tabChars = params->iTabLength;
  if (params) params->uiLengthDrawn = 0;
  RECT r = *rect;
  int leftMargin = params ? params->iLeftMargin : 0, rightMargin = params ? params->iRightMargin : 0;
  // Work in device units; the rectangle is in logical units.
  RECT dr = LogicalRectToDevice(dc, r);
  dr.left += LogicalToDeviceLengthX(dc, leftMargin);
  dr.right -= LogicalToDeviceLengthX(dc, rightMargin);
  int maxWidth = dr.right - dr.left;
  int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  int tabWidth = tabChars * m.aveCharWidth;

  if (input.empty()) {
    if (format & DT_CALCRECT) {
      rect->right = rect->left;
      rect->bottom = rect->top;
    }
    return 0;
  }

  // Paragraphs (views into the input, or into `joined` for a single line without its breaks).
  std::vector<std::string_view> paras;
  std::string joined;
  if (format & DT_SINGLELINE) {
    if (input.find_first_of("\r\n") == std::string_view::npos) {
      paras.push_back(input);
    } else {
      for (char c : input)
        if (c != '\r' && c != '\n') joined += c;
      paras.push_back(joined);
    }
  } else {
    std::size_t start = 0;
    for (;;) {
      std::size_t i = input.find_first_of("\r\n", start);
      if (i == std::string_view::npos) {
        paras.emplace_back(input.substr(start));
        break;
      }
      paras.emplace_back(input.substr(start, i - start));
      start = i + 1;
      if (input[i] == '\r' && start < input.size() && input[start] == '\n') ++start;
    }
  }

  bool prefix = !(format & DT_NOPREFIX);
  bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  std::vector<TextLine> lines;
  for (std::string_view raw : paras) {
    std::string text;
    std::vector<std::size_t> under;
    if (prefix && raw.find('&') != std::string_view::npos) StripPrefix(raw, text, under);
    else text.assign(raw);
    if (format & DT_EXPANDTABS) {
      // Tabs expand to blanks; underline offsets after a tab shift by the growth.
      std::string expanded;
      std::vector<std::size_t> moved;
      std::size_t ui = 0;
      std::sort(under.begin(), under.end());
      for (std::size_t i = 0; i <= text.size(); ++i) {
        while (ui < under.size() && under[ui] == i) moved.push_back(expanded.size()), ++ui;
        if (i == text.size()) break;
        if (text[i] == '\t') {
          std::string withTab = expanded + '\t';
          expanded = ExpandTabs(ms, withTab, tabWidth);
        } else {
          expanded += text[i];
        }
      }
      text = std::move(expanded);
      under = std::move(moved);
    }
    if (!g_utf8_validate(text.data(), gssize(text.size()), nullptr)) text = Sanitize(text);
    if (wrap) {
      WrapParagraph(ms, text, under, maxWidth, (format & DT_EDITCONTROL) != 0, lines);
    } else {
      TextLine line;
      line.text = std::move(text);
      line.underlines = std::move(under);
      lines.push_back(std::move(line));
    }
  }
  for (TextLine& l : lines) l.width = ms.width(l.text);
  bool ellipsis = (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0;
  bool changed = false;
  if (ellipsis)
    for (TextLine& l : lines) changed |= Ellipsize(ms, l, maxWidth, format);
  if (changed && (format & DT_MODIFYSTRING) && modified) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i) joined += "\r\n";
      joined += lines[i].text;
    }
    *modified = joined;
  }

  int maxLine = 0;
  for (const TextLine& l : lines) maxLine = std::max(maxLine, l.width);
  int total = lineHeight * int(lines.size());
  int top = dr.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = dr.top + (dr.bottom - dr.top - lineHeight) / 2;
    else if (format & DT_BOTTOM) top = dr.bottom - lineHeight;
  }
  int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top - dr.top + total : total;
  if (params) params->uiLengthDrawn = UINT(input.size());

  if (format & DT_CALCRECT) {
    // Signed: in map modes with y growing upwards the bottom lies below the top.
    const DCState& st = dc->s;
    int sx = double(st.viewportExt.cx) / (st.windowExt.cx ? st.windowExt.cx : 1) < 0 ? -1 : 1;
    int sy = double(st.viewportExt.cy) / (st.windowExt.cy ? st.windowExt.cy : 1) < 0 ? -1 : 1;
    rect->right = rect->left + sx * DeviceToLogicalX(dc, maxLine) + leftMargin + rightMargin;
    rect->bottom = rect->top + sy * DeviceToLogicalY(dc, total);
    return DeviceToLogicalY(dc, total);  // measuring gives the height, whatever the alignment
  }

  Target t(dc);
  RunOptions o;
  o.opaque = dc->s.bkMode == OPAQUE;
  RECT clip = dr;
  if (!(format & DT_NOCLIP)) o.clipRect = &clip;
  o.underlinesOnly = (format & DT_PREFIXONLY) != 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int y = top + int(i) * lineHeight;
    // An edit control shows no partly visible last line (the first line always shows).
    if ((format & DT_EDITCONTROL) && i > 0 && y + lineHeight > dr.bottom) break;
    if (!(format & DT_NOCLIP) && y >= dr.bottom) break;
    const TextLine& l = lines[i];
    int x = dr.left;
    if (format & DT_CENTER) x = dr.left + (maxWidth - l.width) / 2;
    else if (format & DT_RIGHT) x = dr.right - l.width;
    o.underlines = (format & DT_HIDEPREFIX) ? std::vector<std::size_t>{} : l.underlines;
    DrawRun(dc, t, ms, l.text, x, y, 0, 0, o);
  }
  return DeviceToLogicalY(dc, result);
}

}  // namespace

BOOL TextOut(HDC dc, int x, int y, const char* text, int count) {
  if (!text && count > 0) return FALSE;
  return TextOutImpl(dc, x, y, 0, nullptr, Counted(text, count), nullptr);
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, const INT* dx) {
  if (!text && count > 0) return FALSE;
  return TextOutImpl(dc, x, y, options, rect, text ? std::string_view(text, count) : std::string_view{}, dx);
}

int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format) {
  return DrawTextImpl(dc, Counted(text, count), rect, format & ~DT_MODIFYSTRING, nullptr, nullptr);
}

int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  std::string_view in = Counted(text, count);
  std::string modified;
  int r = DrawTextImpl(dc, in, rect, format, params, &modified);
  if ((format & DT_MODIFYSTRING) && text && !modified.empty()) {
    // The caller's buffer holds count + 4 bytes, as the call requires for this flag.
    std::size_t room = in.size() + 4;
    std::size_t n = std::min(modified.size(), room - 1);
    std::memcpy(text, modified.data(), n);
    text[n] = '\0';
  }
  return r;
}

int DrawTextUtf8(HDC dc, const std::string& text, RECT* rect, UINT format, std::string* modified,
                 DRAWTEXTPARAMS* params) {
  std::string mod;
  int r = DrawTextImpl(dc, text, rect, format, params, &mod);
  if (modified) *modified = (format & DT_MODIFYSTRING) && !mod.empty() ? mod : text;
  return r;
}

BOOL TextOutW(HDC dc, int x, int y, const char16_t* text, int count) {
  std::string s = Utf16ToUtf8(text, count);
  return TextOut(dc, x, y, s.c_str(), int(s.size()));
}

int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format) {
  std::string s = Utf16ToUtf8(text, count);
  return DrawTextImpl(dc, s, rect, format & ~DT_MODIFYSTRING, nullptr, nullptr);
}

BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int count, SIZE* size) {
  std::string s = Utf16ToUtf8(text, count);
  return GetTextExtentPoint32(dc, s.c_str(), int(s.size()), size);
}

BOOL GetTextExtentPoint32(HDC hdc, const char* text, int count, SIZE* size) {
  DC* dc = GetDC(hdc);
  if (!dc || !size || (!text && count > 0)) return FALSE;
  Measure ms(dc);
  std::string holder;
  std::string_view s = ms.prepare(Counted(text, count), holder);
  size->cx = DeviceToLogicalX(dc, ms.width(s));
  size->cy = DeviceToLogicalY(dc, ms.m->height);
  return TRUE;
}

BOOL GetTextExtentPoint(HDC dc, const char* text, int count, SIZE* size) {
  return GetTextExtentPoint32(dc, text, count, size);
}

BOOL GetTextExtentPoint32Utf8(HDC dc, const std::string& text, SIZE* size) {
  return GetTextExtentPoint32(dc, text.data(), int(text.size()), size);
}

BOOL GetTextExtentExPoint(HDC hdc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  DC* dc = GetDC(hdc);
  if (!dc || (!text && count > 0)) return FALSE;
  Measure ms(dc);
  std::string s = ms.prepare(Counted(text, count));
  std::vector<int> ends = ms.ends(s);
  int fitted = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    int e = DeviceToLogicalX(dc, ends[i]);
    if (dx) dx[i] = e;
    if (maxExtent < 0 || e <= maxExtent) fitted = int(i + 1);
  }
  if (fit) *fit = fitted;
  if (size) {
    size->cx = DeviceToLogicalX(dc, ends.empty() ? 0 : ends.back());
    size->cy = DeviceToLogicalY(dc, ms.m->height);
  }
  return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  DC* dc = GetDC(hdc);
  if (!dc || !tm) return FALSE;
  Measure ms(dc);
  const FontMetricsPx& m = *ms.m;
  const LOGFONT lf = dc->s.font ? dc->s.font->lf : LOGFONT{};
  TEXTMETRIC r;
  r.tmHeight = DeviceToLogicalY(dc, m.height);
  r.tmAscent = DeviceToLogicalY(dc, m.ascent);
  r.tmDescent = r.tmHeight - r.tmAscent;
  r.tmInternalLeading = DeviceToLogicalY(dc, m.internalLeading);
  r.tmExternalLeading = DeviceToLogicalY(dc, m.externalLeading);
  r.tmAveCharWidth = DeviceToLogicalX(dc, m.aveCharWidth);
  r.tmMaxCharWidth = DeviceToLogicalX(dc, m.maxCharWidth);
  r.tmWeight = ms.font->request.weight;
  r.tmItalic = ms.font->request.italic;
  r.tmUnderlined = ms.font->request.underline;
  r.tmStruckOut = ms.font->request.strikeout;
  // As GDI defines it, the "fixed pitch" bit is set for variable-pitch fonts.
  r.tmPitchAndFamily = BYTE(TMPF_TRUETYPE | TMPF_VECTOR | (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                            (lf.lfPitchAndFamily & 0xF0));
  r.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  *tm = r;
  return TRUE;
}

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, int* widths) {
  DC* dc = GetDC(hdc);
  if (!dc || !widths || last < first || last - first > 0x10000) return FALSE;
  Measure ms(dc);
  for (UINT c = first; c <= last; ++c) {
    std::string s = (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF ? std::string("\xEF\xBF\xBD") : CodePointToUtf8(c);
    widths[c - first] = DeviceToLogicalX(dc, ms.width(ms.prepare(s)));
  }
  return TRUE;
}

BOOL GetCharWidth(HDC dc, UINT first, UINT last, int* widths) { return GetCharWidth32(dc, first, last, widths); }

std::string GetTextFaceUtf8(HDC hdc) {
  DC* dc = GetDC(hdc);
  if (!dc || !dc->s.font) return std::string();
  const std::string& face = dc->s.font->lf.lfFaceName;
  return face.empty() ? std::string("System") : face;
}

int GetTextFace(HDC hdc, int count, char* name) {
  if (!GetDC(hdc)) return 0;
  std::string face = GetTextFaceUtf8(hdc);
  if (!name) return int(face.size() + 1);
  if (count <= 0) return 0;
  std::size_t n = std::min(face.size(), std::size_t(count - 1));
  std::memcpy(name, face.data(), n);
  name[n] = '\0';
  return int(n + 1);
}
