#include "platform/gdi/FontMap.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <memory>
#include <unordered_map>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LORM_GDI_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(LORM_GDI_ASAN)
// fontconfig keeps its patterns and caches for the whole run and stores internal pointers
// in an encoded form the leak checker cannot follow; its allocations are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

#include "FontsConf.inc"

constexpr int kDefaultEmHeight = 13;
constexpr size_t kLayoutCacheLimit = 1024;

struct Descr {
  PangoFontDescription* desc = nullptr;
  FontMetricsPx metrics;
  bool metricsReady = false;
};

struct FontMapState {
  PangoFontMap* fontMap = nullptr;
  PangoContext* context = nullptr;       // antialiased text
  PangoContext* aliasedContext = nullptr;  // NONANTIALIASED_QUALITY
  std::unordered_map<std::string, std::unique_ptr<Descr>> descrs;
  std::unordered_map<std::string, PangoLayout*> layouts;
  std::unordered_map<std::string, int> cellRatio;  // face|weight|italic -> cell height at em 1000

  FontMapState() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config) {
      FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontsConf), FcTrue);
      FcConfigSetCurrent(config);  // takes its own reference
    }
    fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (config) {
      pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
      FcConfigDestroy(config);
    }
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap), 96.0);
    context = makeContext(true);
    aliasedContext = makeContext(false);
  }

  PangoContext* makeContext(bool antialias) {
    PangoContext* ctx = pango_font_map_create_context(fontMap);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    // Whole-pixel advances, as GDI measures them.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(ctx, 96.0);
    pango_context_set_base_dir(ctx, PANGO_DIRECTION_LTR);
    return ctx;
  }

  void clearLayouts() {
    for (auto& [key, layout] : layouts) g_object_unref(layout);
    layouts.clear();
  }
};

FontMapState& State() {
  static FontMapState* state = new FontMapState();  // lives for the whole run
  return *state;
}

std::string BaseKey(const std::string& face, int weight, bool italic) {
  return face + '|' + std::to_string(weight) + '|' + (italic ? '1' : '0');
}

PangoFontDescription* MakeDescription(const std::string& face, int weight, bool italic, int emPx) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, face.empty() ? "MS Sans Serif" : face.c_str());
  pango_font_description_set_weight(d, PangoWeight(std::clamp(weight <= 0 ? 400 : weight, 100, 1000)));
  pango_font_description_set_style(d, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(d, double(emPx) * PANGO_SCALE);
  return d;
}

// Vertical metrics per em of a face and style, measured once at a large size so that
// every pixel size rounds them the same way (GDI rounds ascent and descent separately).
struct BaseMetrics {
  double ascent = 0.9, descent = 0.22, underlinePos = 0.1, underlineThick = 0.07, strikePos = 0.26;
  double avgWidth = 0;  // OS/2 average character width per em; 0 when the font has none
};

// Reads the font's OS/2 table: GDI takes ascent and descent from usWinAscent/usWinDescent.
void ReadOs2(PangoContext* ctx, const PangoFontDescription* d, BaseMetrics& b) {
  PangoFont* font = pango_context_load_font(ctx, d);
  if (!font) return;
  if (PANGO_IS_CAIRO_FONT(font)) {
    cairo_scaled_font_t* sf = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
    if (sf && cairo_scaled_font_get_type(sf) == CAIRO_FONT_TYPE_FT) {
      FT_Face face = cairo_ft_scaled_font_lock_face(sf);
      if (face) {
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        double upem = face->units_per_EM;
        if (os2 && os2->version != 0xFFFF && upem > 0) {
          if (os2->usWinAscent > 0 && os2->usWinDescent > 0) {
            b.ascent = os2->usWinAscent / upem;
            b.descent = os2->usWinDescent / upem;
          }
        }
        cairo_ft_scaled_font_unlock_face(sf);
      }
    }
  }
  g_object_unref(font);
}

const BaseMetrics& Base(const std::string& face, int weight, bool italic) {
  FontMapState& s = State();
  static std::unordered_map<std::string, BaseMetrics> cache;
  std::string key = BaseKey(face, weight, italic);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  PangoFontDescription* d = MakeDescription(face, weight, italic, 1000);
  PangoFontMetrics* m = pango_context_get_metrics(s.context, d, nullptr);
  BaseMetrics b;
  double scale = 1000.0 * PANGO_SCALE;
  if (pango_font_metrics_get_ascent(m) > 0) {
    b.ascent = pango_font_metrics_get_ascent(m) / scale;
    b.descent = pango_font_metrics_get_descent(m) / scale;
    b.underlinePos = -pango_font_metrics_get_underline_position(m) / scale;
    b.underlineThick = pango_font_metrics_get_underline_thickness(m) / scale;
    b.strikePos = pango_font_metrics_get_strikethrough_position(m) / scale;
  }
  pango_font_metrics_unref(m);
  ReadOs2(s.context, d, b);
  // Average character width as the classic TrueType definition weighs it: lower-case
  // letters and the blank by their frequency in English text (per mille). Fonts' own
  // xAvgCharWidth fields differ between metric-compatible families, this does not.
  static const int kWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                   56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
  PangoLayout* layout = pango_layout_new(s.context);
  pango_layout_set_font_description(layout, d);
  double sum = 0;
  for (int i = 0; i < 27; ++i) {
    char c = i < 26 ? char('a' + i) : ' ';
    pango_layout_set_text(layout, &c, 1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    sum += double(logical.width) / PANGO_SCALE * kWeights[i];
  }
  g_object_unref(layout);
  b.avgWidth = sum / 1000.0 / 1000.0;
  pango_font_description_free(d);
  return cache.emplace(key, b).first->second;
}

int CellAtThousand(const std::string& face, int weight, bool italic) {
  const BaseMetrics& b = Base(face, weight, italic);
  return int(std::lround((b.ascent + b.descent) * 1000));
}

int EffectiveEm(const FontSpec& fontSpec) {
  if (fontSpec.emHeight > 0) return fontSpec.emHeight;
  if (fontSpec.cellHeight > 0) {
    int cell = CellAtThousand(fontSpec.face, fontSpec.weight, fontSpec.italic);
    return std::max(1, int(std::lround(fontSpec.cellHeight * 1000.0 / cell)));
  }
  return kDefaultEmHeight;
}

std::string SpecKey(const FontSpec& fontSpec) {
  return BaseKey(fontSpec.face, fontSpec.weight, fontSpec.italic) + '|' + std::to_string(EffectiveEm(fontSpec)) + '|' +
         (fontSpec.underline ? 'u' : '-') + (fontSpec.strikeout ? 's' : '-') + (fontSpec.antialias ? 'a' : '-');
}

Descr& GetDescr(const FontSpec& fontSpec) {
  FontMapState& s = State();
  std::string key = SpecKey(fontSpec);
  auto it = s.descrs.find(key);
  if (it != s.descrs.end()) return *it->second;
  auto d = std::make_unique<Descr>();
  d->desc = MakeDescription(fontSpec.face, fontSpec.weight, fontSpec.italic, EffectiveEm(fontSpec));
  Descr& ref = *d;
  s.descrs.emplace(std::move(key), std::move(d));
  return ref;
}

PangoContext* ContextFor(const FontSpec& fontSpec) {
  return fontSpec.antialias ? State().context : State().aliasedContext;
}

void ApplyAttributes(PangoLayout* layout, const FontSpec& fontSpec) {
  if (!fontSpec.underline && !fontSpec.strikeout) {
    pango_layout_set_attributes(layout, nullptr);
    return;
  }
  PangoAttrList* attrs = pango_attr_list_new();
  if (fontSpec.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (fontSpec.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
}

}  // namespace

PangoContext* FontMapContext() { return State().context; }

FontSpec FontSpecFromLogFont(const LOGFONT& lf) {
  FontSpec fontSpec;
  fontSpec.face = lf.lfFaceName;
  if (lf.lfHeight < 0) {
    fontSpec.emHeight = -lf.lfHeight;
  } else if (lf.lfHeight > 0) {
    fontSpec.emHeight = 0;
    fontSpec.cellHeight = lf.lfHeight;
  } else {
    fontSpec.emHeight = kDefaultEmHeight;
  }
  fontSpec.weight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  fontSpec.italic = lf.lfItalic != 0;
  fontSpec.underline = lf.lfUnderline != 0;
  fontSpec.strikeout = lf.lfStrikeOut != 0;
  fontSpec.escapement = lf.lfEscapement;
  fontSpec.avgWidth = lf.lfWidth > 0 ? lf.lfWidth : 0;
  fontSpec.antialias = lf.lfQuality != NONANTIALIASED_QUALITY;
  return fontSpec;
}

const PangoFontDescription* FontMapDescription(const FontSpec& fontSpec) { return GetDescr(fontSpec).desc; }

const FontMetricsPx& FontMapMetrics(const FontSpec& fontSpec) {
  Descr& d = GetDescr(fontSpec);
  if (d.metricsReady) return d.metrics;
  PangoContext* ctx = ContextFor(fontSpec);
  FontMetricsPx& r = d.metrics;
  int em = EffectiveEm(fontSpec);
  const BaseMetrics& base = Base(fontSpec.face, fontSpec.weight, fontSpec.italic);
  r.ascent = int(std::lround(base.ascent * em));
  r.descent = int(std::lround(base.descent * em));
  if (r.ascent + r.descent < em) r.ascent = em - r.descent;
  r.height = r.ascent + r.descent;
  r.internalLeading = r.height - em;
  r.externalLeading = std::max(0, int(std::lround(em * 0.03)));
  r.underlinePosition = std::max(1, int(std::lround(base.underlinePos * em)));
  r.underlineThickness = std::max(1, int(std::lround(base.underlineThick * em)));
  r.strikeoutPosition = std::max(1, int(std::lround(base.strikePos * em)));

  // Average width as GDI defines it for TrueType fonts: the width of 'x' weighted over the
  // alphabet is close to the average of the lower-case letters; max over printable ASCII.
  PangoLayout* layout = pango_layout_new(ctx);
  pango_layout_set_font_description(layout, d.desc);
  static const char kLower[] = "abcdefghijklmnopqrstuvwxyz";
  pango_layout_set_text(layout, kLower, -1);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  r.aveCharWidth = base.avgWidth > 0 ? std::max(1, int(std::lround(base.avgWidth * em)))
                                     : std::max(1, int(std::lround(w / 26.0)));
  int maxW = 0;
  for (char c = 0x21; c < 0x7F; ++c) {
    pango_layout_set_text(layout, &c, 1);
    pango_layout_get_pixel_size(layout, &w, &h);
    maxW = std::max(maxW, w);
  }
  r.maxCharWidth = maxW;
  pango_layout_set_text(layout, "i", 1);
  int wi = 0;
  pango_layout_get_pixel_size(layout, &wi, &h);
  pango_layout_set_text(layout, "W", 1);
  int ww = 0;
  pango_layout_get_pixel_size(layout, &ww, &h);
  r.fixedPitch = wi == ww;
  PangoFont* font = pango_context_load_font(ctx, d.desc);
  if (font) {
    PangoFontDescription* real = pango_font_describe(font);
    if (const char* fam = pango_font_description_get_family(real)) r.familyUsed = fam;
    pango_font_description_free(real);
    g_object_unref(font);
  }
  g_object_unref(layout);
  d.metricsReady = true;
  return r;
}

PangoLayout* FontMapNewLayout(const FontSpec& fontSpec) {
  PangoLayout* layout = pango_layout_new(ContextFor(fontSpec));
  pango_layout_set_font_description(layout, GetDescr(fontSpec).desc);
  ApplyAttributes(layout, fontSpec);
  return layout;
}

PangoLayout* FontMapLayout(const FontSpec& fontSpec, std::string_view text) {
  FontMapState& s = State();
  std::string key = SpecKey(fontSpec);
  key += '\x01';
  key.append(text);
  auto it = s.layouts.find(key);
  if (it != s.layouts.end()) return it->second;
  if (s.layouts.size() >= kLayoutCacheLimit) s.clearLayouts();
  PangoLayout* layout = FontMapNewLayout(fontSpec);
  pango_layout_set_text(layout, text.data(), int(text.size()));
  s.layouts.emplace(std::move(key), layout);
  return layout;
}

SIZE FontMapTextExtent(const FontSpec& fontSpec, std::string_view text) {
  const FontMetricsPx& m = FontMapMetrics(fontSpec);
  if (text.empty()) return SIZE{0, m.height};
  PangoLayout* layout = FontMapLayout(fontSpec, text);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  int width = (logical.width + PANGO_SCALE / 2) / PANGO_SCALE;
  return SIZE{width, m.height};
}

void FontMapCharPositions(const FontSpec& fontSpec, std::string_view text, std::vector<int>& ends) {
  ends.clear();
  if (text.empty()) return;
  PangoLayout* layout = FontMapLayout(fontSpec, text);
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  std::vector<std::pair<int, int>> charEnds;  // (byte index, right edge in pango units)
  do {
    PangoRectangle r;
    pango_layout_iter_get_char_extents(iter, &r);
    int right = std::max(r.x, r.x + r.width);
    charEnds.emplace_back(pango_layout_iter_get_index(iter), right);
  } while (pango_layout_iter_next_char(iter));
  pango_layout_iter_free(iter);
  // One entry per character in text order; running maximum keeps the list monotonic.
  int running = 0;
  for (auto& [index, right] : charEnds) {
    if (size_t(index) >= text.size()) break;
    running = std::max(running, (right + PANGO_SCALE / 2) / PANGO_SCALE);
    ends.push_back(running);
  }
}

std::string FontMapResolveFamily(const std::string& face) {
  FontSpec fontSpec;
  fontSpec.face = face;
  return FontMapMetrics(fontSpec).familyUsed;
}
