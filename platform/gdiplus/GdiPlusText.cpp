// Font families, fonts, string formats and string drawing and measuring through the
// shared text renderer (platform/gdi/FontMap.h). As in GDI+, a string is laid out in its
// layout rectangle with a padding of one sixth of the em size on the left and right (none
// for the typographic format); measuring answers the box drawing fills.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontMap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"

REAL GpFont::PixelSize() const { return REAL(emSize * UnitToPixels(unit)); }

namespace {

// Whether fontconfig knows the family (an installed face or an alias of installed faces).
// The font configuration is set up once per process, so the answer for a name never changes;
// it is kept per name, as asking fontconfig (substitution and a font list) costs far more
// than the text it is asked for.
bool FamilyKnownUncached(const std::string& name);

bool FamilyKnown(const std::string& name) {
  if (name.empty()) return false;
  static std::mutex guard;
  static std::unordered_map<std::string, bool> known;
  {
    std::lock_guard<std::mutex> lock(guard);
    auto it = known.find(name);
    if (it != known.end()) return it->second;
  }
  const bool answer = FamilyKnownUncached(name);
  std::lock_guard<std::mutex> lock(guard);
  known.emplace(name, answer);
  return answer;
}

bool FamilyKnownUncached(const std::string& name) {
  static const char* const generic[] = {"sans-serif", "serif", "monospace", "sans", "mono"};
  for (const char* g : generic)
    if (strcasecmp(g, name.c_str()) == 0) return true;
  FontMapContext();  // loads the face-name aliases into the current configuration
  bool known = false;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcChar8* first = nullptr;
  // An alias replaces the name with installed families.
  if (FcPatternGetString(pat, FC_FAMILY, 0, &first) == FcResultMatch && first &&
      strcasecmp(reinterpret_cast<const char*>(first), name.c_str()) != 0)
    known = true;
  FcPatternDestroy(pat);
  if (!known) {
    FcPattern* q = FcPatternCreate();
    FcPatternAddString(q, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fs = FcFontList(nullptr, q, os);
    known = fs && fs->nfont > 0;
    if (fs) FcFontSetDestroy(fs);
    FcObjectSetDestroy(os);
    FcPatternDestroy(q);
  }
  return known;
}

Status NewFamily(const std::string& name, GpFontFamily** family) {
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpFontFamily* f = new (std::nothrow) GpFontFamily;
  if (!f) return OutOfMemory;
  f->name = name;
  *family = f;
  return Ok;
}

// Two pango contexts on the shared font map: anti-aliased and bi-level glyphs. Metrics
// are unhinted so measuring and drawing agree at any position.
PangoContext* TextContext(bool antialias) {
  static PangoContext* contexts[2] = {nullptr, nullptr};
  PangoContext*& c = contexts[antialias ? 1 : 0];
  if (!c) {
    c = pango_font_map_create_context(pango_context_get_font_map(FontMapContext()));
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(c, o);
    cairo_font_options_destroy(o);
  }
  return c;
}

struct TextBlock {
  PangoLayout* layout = nullptr;
  double originX = 0, originY = 0;  // where the layout's top-left goes (layout frame)
  GpRectF box{};                    // measured box (layout frame)
  GpRectF frame{};                  // the layout rectangle in the layout frame
  bool vertical = false;
  GpRectF rect{};                   // the caller's layout rectangle
  int lines = 0;
  int fitted = 0;
  ~TextBlock() {
    if (layout) g_object_unref(layout);
  }
};

// Lays the text out as GDI+ would: hot-key prefixes, wrapping, trimming, alignment.
Status Layout(const char16_t* text, int length, const GpFont* font, const GpRectF* rect, const GpStringFormat* fmt,
              bool antialias, TextBlock& tb) {
  if (!text || !font || !rect) return InvalidParameter;
  if (length < -1 || !ValidFloat(rect->X) || !ValidFloat(rect->Y) || !ValidFloat(rect->Width) ||
      !ValidFloat(rect->Height))
    return InvalidParameter;
  static const GpStringFormat kDefault;
  if (!fmt) fmt = &kDefault;
  int n = 0;
  while ((length < 0 || n < length) && text[n]) ++n;  // a terminating zero ends the text

  // Hot-key prefixes: "&x" marks x (underlined with HotkeyPrefixShow), "&&" is "&".
  std::u16string shown;
  shown.reserve(std::size_t(n));
  int underline = -1;
  for (int i = 0; i < n; ++i) {
    if (text[i] == u'&' && fmt->hotkey != HotkeyPrefixNone && i + 1 < n) {
      ++i;
      if (text[i] != u'&' && fmt->hotkey == HotkeyPrefixShow && underline < 0) underline = int(shown.size());
    }
    shown += text[i];
  }
  const std::string utf8 = Utf16ToUtf8(shown.data(), int(shown.size()));
  int ulStart = -1, ulEnd = -1;
  if (underline >= 0) {
    ulStart = int(Utf16ToUtf8(shown.data(), underline).size());
    const int next = underline + ((shown[std::size_t(underline)] >= 0xD800 && shown[std::size_t(underline)] <= 0xDBFF) ? 2 : 1);
    ulEnd = int(Utf16ToUtf8(shown.data(), std::min(next, int(shown.size()))).size());
  }

  tb.rect = *rect;
  tb.vertical = (fmt->flags & StringFormatFlagsDirectionVertical) != 0;
  const double W = tb.vertical ? rect->Height : rect->Width;
  const double H = tb.vertical ? rect->Width : rect->Height;
  tb.frame = GpRectF{0, 0, REAL(W), REAL(H)};
  const double px = font->PixelSize();
  const double pad = fmt->typographic ? 0 : px / 6;

  PangoLayout* layout = pango_layout_new(TextContext(antialias));
  tb.layout = layout;
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, font->family.c_str());
  pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
  pango_font_description_set_weight(desc, (font->style & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, (font->style & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  pango_layout_set_text(layout, utf8.data(), int(utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (font->style & FontStyleUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font->style & FontStyleStrikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  if (ulStart >= 0) {
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = unsigned(ulStart);
    a->end_index = unsigned(ulEnd);
    pango_attr_list_insert(attrs, a);
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);

  const bool noWrap = (fmt->flags & StringFormatFlagsNoWrap) != 0;
  const double avail = std::max(0.0, W - 2 * pad);
  const bool ellipsis = fmt->trimming == StringTrimmingEllipsisCharacter || fmt->trimming == StringTrimmingEllipsisWord ||
                        fmt->trimming == StringTrimmingEllipsisPath;
  if (W > 0) {
    pango_layout_set_width(layout, int(std::lround(avail * PANGO_SCALE)));
    pango_layout_set_alignment(layout, fmt->align == StringAlignmentCenter ? PANGO_ALIGN_CENTER
                                       : fmt->align == StringAlignmentFar  ? PANGO_ALIGN_RIGHT
                                                                           : PANGO_ALIGN_LEFT);
    if (noWrap && !ellipsis) {
      pango_layout_set_width(layout, -1);  // one line per paragraph, aligned below by hand
    } else {
      pango_layout_set_wrap(layout, fmt->trimming == StringTrimmingEllipsisCharacter ? PANGO_WRAP_WORD_CHAR
                                                                                      : PANGO_WRAP_WORD_CHAR);
      if (ellipsis) {
        pango_layout_set_ellipsize(layout, fmt->trimming == StringTrimmingEllipsisPath ? PANGO_ELLIPSIZE_MIDDLE
                                                                                       : PANGO_ELLIPSIZE_END);
        if (noWrap) {
          pango_layout_set_height(layout, 0);  // a single line
        } else if (H > 0) {
          pango_layout_set_height(layout, int(std::lround(H * PANGO_SCALE)));
        }
      }
    }
  }

  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  const double tw = logical.width, th = logical.height;
  const bool pangoAligned = pango_layout_get_width(layout) >= 0;

  // Horizontal placement of the layout.
  double x;
  if (pangoAligned) {
    x = pad;
  } else if (W > 0) {
    x = fmt->align == StringAlignmentCenter ? (W - tw) / 2 : fmt->align == StringAlignmentFar ? W - pad - tw : pad;
  } else {
    x = fmt->align == StringAlignmentCenter ? -tw / 2 : fmt->align == StringAlignmentFar ? -tw - pad : pad;
  }
  double y;
  if (H > 0)
    y = fmt->lineAlign == StringAlignmentCenter ? (H - th) / 2 : fmt->lineAlign == StringAlignmentFar ? H - th : 0;
  else
    y = fmt->lineAlign == StringAlignmentCenter ? -th / 2 : fmt->lineAlign == StringAlignmentFar ? -th : 0;
  tb.originX = x;
  tb.originY = y;

  // The box: the text plus its padding, within the layout rectangle when one is given.
  double bw = utf8.empty() ? 0 : tw + 2 * pad;
  double bx = (pangoAligned ? pad + logical.x : x) - (utf8.empty() ? 0 : pad);
  if (W > 0 && bw > W) {
    bw = W;
    bx = 0;
  }
  double by = y, bh = utf8.empty() ? 0 : th;
  if (H > 0) {
    by = std::max(by, 0.0);
    bh = std::min(y + th, H) - by;
    if (bh < 0) bh = 0;
  }
  tb.box = GpRectF{REAL(bx), REAL(by), REAL(bw), REAL(bh)};

  // Lines that show and the characters they hold.
  const int lineCount = utf8.empty() ? 0 : pango_layout_get_line_count(layout);
  int visible = lineCount, endByte = int(utf8.size());
  if (H > 0 && lineCount > 0) {
    const bool lineLimit = (fmt->flags & StringFormatFlagsLineLimit) != 0;
    visible = 0;
    PangoLayoutIter* it = pango_layout_get_iter(layout);
    do {
      int y0, y1;
      pango_layout_iter_get_line_yrange(it, &y0, &y1);
      const double top = y + double(y0) / PANGO_SCALE, bottom = y + double(y1) / PANGO_SCALE;
      const bool shows = lineLimit ? bottom <= H + 0.5 : top < H;
      if (!shows) break;
      ++visible;
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
      endByte = line->start_index + line->length;
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    if (visible < lineCount) {
      // Count the UTF-16 units of the shown part.
      const std::string shownPart = utf8.substr(0, std::size_t(std::max(0, endByte)));
      int units = 0;
      for (unsigned char c : shownPart) {
        if ((c & 0xC0) != 0x80) units += (c >= 0xF0) ? 2 : 1;
      }
      tb.fitted = units;
    }
  }
  tb.lines = visible;
  if (visible == lineCount) tb.fitted = n;
  return Ok;
}

}  // namespace

// ---- families and fonts ------------------------------------------------------------------------

Status GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection* collection, GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  if (!name) return InvalidParameter;
  const std::string n = Utf16ToUtf8(name, -1);
  if (!FamilyKnown(n)) return FontFamilyNotFound;
  return NewFamily(n, family);
}

Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone) {
  if (!family || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpFontFamily(*family);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteFontFamily(GpFontFamily* family) {
  if (!family) return InvalidParameter;
  delete family;
  return Ok;
}

Status GdipGetFamilyName(const GpFontFamily* family, char16_t* name, std::uint16_t language) {
  if (!family || !name) return InvalidParameter;
  // UTF-8 to UTF-16, at most 31 units and a terminating zero.
  const std::string& s = family->name;
  int out = 0;
  for (std::size_t i = 0; i < s.size() && out < 31;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    int len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c >> 5) == 6) { cp = c & 0x1F; len = 2; }
    else if ((c >> 4) == 14) { cp = c & 0x0F; len = 3; }
    else { cp = c & 0x07; len = 4; }
    for (int k = 1; k < len && i + std::size_t(k) < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
    i += std::size_t(len);
    if (cp >= 0x10000) {
      if (out + 2 > 31) break;
      cp -= 0x10000;
      name[out++] = char16_t(0xD800 + (cp >> 10));
      name[out++] = char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      name[out++] = char16_t(cp);
    }
  }
  name[out] = 0;
  return Ok;
}

Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  return NewFamily("Microsoft Sans Serif", family);
}

Status GdipGetGenericFontFamilySerif(GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  return NewFamily("Times New Roman", family);
}

Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  return NewFamily("Courier New", family);
}

Status GdipIsStyleAvailable(const GpFontFamily* family, int style, BOOL* available) {
  if (!family || !available) return InvalidParameter;
  *available = 1;  // bold and italic are synthesised where a face lacks them
  return Ok;
}

Status GdipCreateFont(const GpFontFamily* family, REAL emSize, int style, int unit, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!family || !ValidFloat(emSize) || emSize <= 0 || unit < UnitWorld || unit > UnitMillimeter ||
      unit == UnitDisplay || (style & ~0xF) != 0)
    return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpFont* f = new (std::nothrow) GpFont;
  if (!f) return OutOfMemory;
  f->family = family->name;
  f->emSize = emSize;
  f->style = style;
  f->unit = GpUnit(unit);
  *font = f;
  return Ok;
}

Status GdipCreateFontFromDC(HDC hdc, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!hdc) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  HGDIOBJ obj = GetCurrentObject(hdc, OBJ_FONT);
  LOGFONT lf;
  if (!obj || GetObject(obj, int(sizeof(LOGFONT)), &lf) == 0) return Win32Error;
  const FontRequest fontRequest = FontSpecFromLogFont(lf);
  GpFont* f = new (std::nothrow) GpFont;
  if (!f) return OutOfMemory;
  f->family = lf.lfFaceName.empty() ? FontMapResolveFamily(lf.lfFaceName) : lf.lfFaceName;
  f->emSize = REAL(fontRequest.emHeight > 0 ? fontRequest.emHeight : 13);
  f->unit = UnitPixel;
  f->style = (fontRequest.weight >= FW_SEMIBOLD ? FontStyleBold : 0) | (fontRequest.italic ? FontStyleItalic : 0) |
             (fontRequest.underline ? FontStyleUnderline : 0) | (fontRequest.strikeout ? FontStyleStrikeout : 0);
  *font = f;
  return Ok;
}

Status GdipCloneFont(GpFont* font, GpFont** clone) {
  if (!font || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpFont(*font);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteFont(GpFont* font) {
  if (!font) return InvalidParameter;
  delete font;
  return Ok;
}

Status GdipGetFamily(GpFont* font, GpFontFamily** family) {
  if (!font || !family) return InvalidParameter;
  *family = nullptr;
  return NewFamily(font->family, family);
}

Status GdipGetFontStyle(GpFont* font, int* style) {
  if (!font || !style) return InvalidParameter;
  *style = font->style;
  return Ok;
}

Status GdipGetFontSize(GpFont* font, REAL* size) {
  if (!font || !size) return InvalidParameter;
  *size = font->emSize;
  return Ok;
}

Status GdipGetFontUnit(GpFont* font, GpUnit* unit) {
  if (!font || !unit) return InvalidParameter;
  *unit = font->unit;
  return Ok;
}

Status GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height) {
  if (!font || !height) return InvalidParameter;
  TextBlock tb;
  const GpRectF r{};
  Status s = Layout(u"Ag", 2, font, &r, nullptr, true, tb);
  if (s != Ok) return s;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(tb.layout, nullptr, &logical);
  *height = REAL(logical.height);
  return Ok;
}

// ---- string formats ----------------------------------------------------------------------------

Status GdipCreateStringFormat(int formatAttributes, std::uint16_t language, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = nullptr;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpStringFormat* f = new (std::nothrow) GpStringFormat;
  if (!f) return OutOfMemory;
  f->flags = formatAttributes;
  f->language = language;
  *format = f;
  return Ok;
}

Status GdipStringFormatGetGenericDefault(GpStringFormat** format) { return GdipCreateStringFormat(0, 0, format); }

Status GdipStringFormatGetGenericTypographic(GpStringFormat** format) {
  Status s = GdipCreateStringFormat(StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip, 0,
                                    format);
  if (s == Ok) {
    (*format)->trimming = StringTrimmingNone;
    (*format)->typographic = true;
  }
  return s;
}

Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone) {
  if (!format || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpStringFormat(*format);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteStringFormat(GpStringFormat* format) {
  if (!format) return InvalidParameter;
  delete format;
  return Ok;
}

Status GdipSetStringFormatFlags(GpStringFormat* format, int flags) {
  if (!format) return InvalidParameter;
  format->flags = flags;
  return Ok;
}

Status GdipGetStringFormatFlags(const GpStringFormat* format, int* flags) {
  if (!format || !flags) return InvalidParameter;
  *flags = format->flags;
  return Ok;
}

static bool ValidAlign(StringAlignment a) { return a >= StringAlignmentNear && a <= StringAlignmentFar; }

Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlign(align)) return InvalidParameter;
  format->align = align;
  return Ok;
}

Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->align;
  return Ok;
}

Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || !ValidAlign(align)) return InvalidParameter;
  format->lineAlign = align;
  return Ok;
}

Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->lineAlign;
  return Ok;
}

Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
  if (!format || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
  format->trimming = trimming;
  return Ok;
}

Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming) {
  if (!format || !trimming) return InvalidParameter;
  *trimming = format->trimming;
  return Ok;
}

Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, int hotkeyPrefix) {
  if (!format || hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide) return InvalidParameter;
  format->hotkey = HotkeyPrefix(hotkeyPrefix);
  return Ok;
}

Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, int* hotkeyPrefix) {
  if (!format || !hotkeyPrefix) return InvalidParameter;
  *hotkeyPrefix = format->hotkey;
  return Ok;
}

// ---- drawing and measuring -----------------------------------------------------------------------

namespace {

bool TextAntialias(const GpGraphics* g) {
  return g->textHint != TextRenderingHintSingleBitPerPixel && g->textHint != TextRenderingHintSingleBitPerPixelGridFit;
}

// Maps the layout frame to world space (vertical text turns 90 degrees clockwise).
void EnterFrame(cairo_t* cr, const TextBlock& tb) {
  if (tb.vertical) {
    cairo_translate(cr, double(tb.rect.X) + tb.rect.Width, tb.rect.Y);
    cairo_rotate(cr, 3.14159265358979323846 / 2);
  } else {
    cairo_translate(cr, tb.rect.X, tb.rect.Y);
  }
}

}  // namespace

Status GdipDrawString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* format, const GpBrush* brush) {
  if (!graphics || !brush) return InvalidParameter;
  TextBlock tb;
  Status s = Layout(text, length, font, layoutRect, format, TextAntialias(graphics), tb);
  if (s != Ok) return s;
  if (tb.lines == 0 && pango_layout_get_character_count(tb.layout) == 0) return Ok;
  const bool noClip = format && (format->flags & StringFormatFlagsNoClip);
  return GraphicsDraw(graphics, true, [&](cairo_t* cr) {
    cairo_pattern_t* p = brush->CreatePattern();
    cairo_set_source(cr, p);  // brush coordinates are world coordinates
    cairo_pattern_destroy(p);
    EnterFrame(cr, tb);
    if (!noClip && tb.frame.Width > 0 && tb.frame.Height > 0) {
      cairo_rectangle(cr, 0, 0, tb.frame.Width, tb.frame.Height);
      cairo_clip(cr);
    }
    cairo_move_to(cr, tb.originX, tb.originY);
    pango_cairo_show_layout(cr, tb.layout);
    return Ok;
  });
}

Status GdipMeasureString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* format, GpRectF* boundingBox,
                         int* codepointsFitted, int* linesFilled) {
  if (!graphics || !boundingBox) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  TextBlock tb;
  Status s = Layout(text, length, font, layoutRect, format, TextAntialias(graphics), tb);
  if (s != Ok) return s;
  if (tb.vertical) {
    // Back from the turned frame: frame x runs down, frame y runs right to left.
    *boundingBox = GpRectF{REAL(double(tb.rect.X) + tb.rect.Width - tb.box.Y - tb.box.Height),
                           REAL(double(tb.rect.Y) + tb.box.X), tb.box.Height, tb.box.Width};
  } else {
    *boundingBox = GpRectF{REAL(double(tb.rect.X) + tb.box.X), REAL(double(tb.rect.Y) + tb.box.Y), tb.box.Width,
                           tb.box.Height};
  }
  if (codepointsFitted) *codepointsFitted = tb.fitted;
  if (linesFilled) *linesFilled = tb.lines;
  return Ok;
}
