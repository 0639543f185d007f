#include "platform/gdi/FontMap.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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
// The largest character or cell height asked of the font engine, in pixels: far above any
// screen's text, and within what FreeType scales glyphs to.
constexpr int kMaxFontHeight = 16384;
constexpr const char* kWineFonts = "/usr/share/wine/fonts";
constexpr size_t kTextCacheLimit = kFontMapTextCacheLimit;
// Texts used again within this many moves to the front keep their place in the recency
// order (they are still among the first kTextCacheFresh, far from being evicted).
constexpr std::uint64_t kTextCacheFresh = kTextCacheLimit - 64;

// Windows' metrics at 96 DPI for the faces and sizes the program's forms and reports use.
// "MS Sans Serif" is the bitmap face (its 13- and 16-pixel strikes; bold is simulated and
// one pixel wider); the others are the TrueType faces with their hinted extents.
const WindowsFontMetrics kWindowsMetrics[] = {
    // face              em  bold   H   A  D  IL EL ave max
    {"MS Sans Serif", 11, false, 13, 11, 2, 2, 0, 5, 11},
    {"MS Sans Serif", 11, true, 13, 11, 2, 2, 0, 6, 12},
    {"MS Sans Serif", 13, false, 16, 13, 3, 3, 0, 7, 14},
    {"Tahoma", 11, false, 13, 11, 2, 2, 0, 5, 19},
    {"Tahoma", 11, true, 13, 11, 2, 2, 0, 6, 22},
    {"Tahoma", 13, false, 16, 13, 3, 3, 0, 6, 23},
    {"Tahoma", 13, true, 16, 13, 3, 3, 0, 7, 26},
    {"Times New Roman", 13, false, 15, 12, 3, 2, 1, 5, 17},
    {"Times New Roman", 13, true, 15, 12, 3, 2, 1, 5, 17},
    {"Times New Roman", 16, false, 18, 14, 4, 2, 1, 6, 21},
    {"Times New Roman", 16, true, 18, 14, 4, 2, 1, 7, 21},
    {"Arial", 11, false, 14, 11, 3, 3, 0, 5, 15},
    {"Arial", 11, true, 14, 11, 3, 3, 0, 5, 15},
    {"Arial", 13, false, 16, 13, 3, 3, 0, 6, 17},
    {"Arial", 13, true, 16, 13, 3, 3, 0, 6, 17},
    {"Arial", 16, false, 18, 15, 3, 2, 1, 7, 21},
    {"Arial", 16, true, 18, 15, 3, 2, 1, 8, 21},
};

// "MS Sans Serif" at 8 points (its 13-pixel strike) in the Cyrillic code page: the cell
// width of the letters U+0401..U+0451 (Ё, А..Я, а..я, ё) whose cells are narrower than the
// stand-in's advances: the wide lower-case letters and the soft and hard signs. 0 keeps the
// stand-in's advance (the letters of the same width, and the indexes with no letter).
constexpr unsigned char kMsSansSerif11Cyrillic[0x51] = {
    0,                                                 // Ё
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,          // Ђ..Џ
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    // А Б В Г Д Е Ж З И Й К Л М Н О П
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    // Р С Т У Ф Х Ц Ч Ш Щ Ъ Ы Ь Э Ю Я
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0,    // а б в г д е ж з и й к л м н о п
    0, 0, 0, 0, 8, 0, 0, 0, 8, 8, 6, 7, 5, 0, 7, 0,    // р с т у ф х ц ч ш щ ъ ы ь э ю я
    0,                                                 // ѐ
    0,                                                 // ё
};

// Face names that are the same face to the table ("Arial CYR" is Arial with its Cyrillic
// code page, "MS Shell Dlg" the dialog alias of MS Sans Serif).
std::string TableFace(const std::string& face) {
  std::string f = face.empty() ? std::string("MS Sans Serif") : face;
  if (g_ascii_strcasecmp(f.c_str(), "Arial CYR") == 0) return "Arial";
  if (g_ascii_strcasecmp(f.c_str(), "Times New Roman CYR") == 0) return "Times New Roman";
  if (g_ascii_strcasecmp(f.c_str(), "MS Shell Dlg") == 0) return "MS Sans Serif";
  return f;
}

struct TextNode {
  int font = 0;
  std::uint64_t moved = 0;  // the cache's move count when this node last went to the front
  std::uint64_t hash = 0;   // of (font, text), as the index holds it
  std::string text;
  FontMapText entry;
};
using TextList = std::list<TextNode>;

std::uint64_t TextHash(int font, std::string_view text) {
  std::uint64_t h = std::hash<std::string_view>()(text) ^ (std::uint64_t(unsigned(font)) * 0x9E3779B97F4A7C15ull);
  return h | 1;  // 0 marks an empty slot
}

// The cached texts by (font, text): open addressing with linear probing in a table at most
// half full, each slot holding the full hash, so a lookup reads one slot and then the one
// node it names, instead of a bucket, a chain node and then the node.
class TextIndex {
public:
  explicit TextIndex(std::size_t maxEntries) {
    std::size_t n = 16;
    while (n < 2 * maxEntries) n *= 2;
    FSlots.resize(n);
    FMask = n - 1;
  }
  TextList::iterator* Find(std::uint64_t hash, int font, std::string_view text) {
    for (std::size_t i = hash & FMask;; i = (i + 1) & FMask) {
      Slot& slot = FSlots[i];
      if (slot.hash == 0) return nullptr;
      if (slot.hash == hash && slot.node->font == font && slot.node->text == text) return &slot.node;
    }
  }
  void Insert(std::uint64_t hash, TextList::iterator node) {
    std::size_t i = hash & FMask;
    while (FSlots[i].hash != 0) i = (i + 1) & FMask;
    FSlots[i] = Slot{hash, node};
  }
  // Takes the node out; the slots after it move back so that no probe sequence breaks.
  void Erase(TextList::iterator node) {
    std::size_t i = node->hash & FMask;
    for (;; i = (i + 1) & FMask) {
      if (FSlots[i].hash == 0) return;  // not held
      if (FSlots[i].node == node) break;
    }
    for (std::size_t j = (i + 1) & FMask; FSlots[j].hash != 0; j = (j + 1) & FMask) {
      std::size_t home = FSlots[j].hash & FMask;
      // The entry at j may fill the hole at i unless its home lies cyclically in (i, j].
      bool stays = i < j ? (home > i && home <= j) : (home > i || home <= j);
      if (!stays) {
        FSlots[i] = FSlots[j];
        i = j;
      }
    }
    FSlots[i] = Slot{};
  }

private:
  struct Slot {
    std::uint64_t hash = 0;
    TextList::iterator node{};
  };
  std::vector<Slot> FSlots;
  std::size_t FMask = 0;
};

std::size_t MaskBytes(const FontMapText& entry) { return std::size_t(entry.maskStride) * std::size_t(entry.maskHeight); }

struct FontMapState {
  PangoFontMap* fontMap = nullptr;
  PangoContext* context = nullptr;         // smoothed text
  PangoContext* aliasedContext = nullptr;  // crisp text: hinted, bi-level
  std::unordered_map<std::string, std::unique_ptr<ResolvedFont>> descrs;
  // Metrics by request key with the underline and strike-out marks cleared.
  std::unordered_map<std::string, FontMetricsPx> metricsByShape;
  int nextId = 1;
  TextList texts;  // most recently used first
  std::uint64_t moves = 0;  // nodes put at the front so far
  std::size_t maskBytes = 0;  // the pixels of the masks the cached texts hold
  TextIndex textIndex{kTextCacheLimit};

  FontMapState() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config) {
      FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontsConf), FcTrue);
      // Wine's fonts are not in the system's font folders; fonts.conf picks which of its
      // outline faces stand for the Windows names. Its bitmap faces stay out: the system
      // configuration refuses bitmap fonts, and the text layout cannot place them.
      if (g_file_test(kWineFonts, G_FILE_TEST_IS_DIR))
        FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(kWineFonts));
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
    // Crisp text follows the fonts' own hinting fully, as the system draws small text.
    cairo_font_options_set_hint_style(options, antialias ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_FULL);
    // Whole-pixel advances, as GDI measures them.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(ctx, 96.0);
    pango_context_set_base_dir(ctx, PANGO_DIRECTION_LTR);
    return ctx;
  }

  void evictOne() {
    TextNode& last = texts.back();
    textIndex.Erase(std::prev(texts.end()));
    if (last.entry.layout) g_object_unref(last.entry.layout);
    if (last.entry.mask) {
      maskBytes -= MaskBytes(last.entry);
      cairo_surface_destroy(last.entry.mask);
    }
    texts.pop_back();
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

// The font that renders the description first: the first of the font set that layouts on
// this context use, which they load for the default language (a new reference, or null).
// Loading the font alone would sort the installed fonts once more, for a pattern with no
// language.
PangoFont* LoadFirstFont(PangoContext* ctx, const PangoFontDescription* d) {
  PangoFontset* set = pango_context_load_fontset(ctx, d, pango_language_get_default());
  if (!set) return nullptr;
  PangoFont* first = nullptr;
  pango_fontset_foreach(
      set,
      [](PangoFontset*, PangoFont* font, gpointer data) -> gboolean {
        *static_cast<PangoFont**>(data) = PANGO_FONT(g_object_ref(font));
        return TRUE;  // stop at the first
      },
      &first);
  g_object_unref(set);
  return first;
}

// The advance of each character of `chars` (single-byte ASCII) as if measured alone, in
// pango units: one line shaped without kerning or ligatures, so that no character changes
// its neighbour's advance, read glyph by glyph.
std::vector<int> CharWidths(PangoContext* ctx, const PangoFontDescription* d, std::string_view chars) {
  PangoLayout* layout = pango_layout_new(ctx);
  pango_layout_set_font_description(layout, d);
  PangoAttrList* attrs = pango_attr_list_new();
  pango_attr_list_insert(attrs, pango_attr_font_features_new("kern 0, liga 0, clig 0, calt 0"));
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  pango_layout_set_text(layout, chars.data(), int(chars.size()));
  std::vector<int> widths(chars.size(), 0);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  for (GSList* r = line ? line->runs : nullptr; r; r = r->next) {
    auto* run = static_cast<PangoGlyphItem*>(r->data);
    for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
      const std::size_t at = std::size_t(run->item->offset) + std::size_t(run->glyphs->log_clusters[i]);
      if (at < widths.size()) widths[at] += run->glyphs->glyphs[i].geometry.width;
    }
  }
  g_object_unref(layout);
  return widths;
}

// Reads the font's OS/2 table: GDI takes ascent and descent from usWinAscent/usWinDescent.
void ReadOs2(PangoContext* ctx, const PangoFontDescription* d, BaseMetrics& b) {
  PangoFont* font = LoadFirstFont(ctx, d);
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
  const std::vector<int> widths = CharWidths(s.context, d, "abcdefghijklmnopqrstuvwxyz ");
  double sum = 0;
  for (int i = 0; i < 27 && i < int(widths.size()); ++i) sum += double(widths[i]) / PANGO_SCALE * kWeights[i];
  b.avgWidth = sum / 1000.0 / 1000.0;
  pango_font_description_free(d);
  return cache.emplace(key, b).first->second;
}

int CellAtThousand(const std::string& face, int weight, bool italic) {
  const BaseMetrics& b = Base(face, weight, italic);
  return int(std::lround((b.ascent + b.descent) * 1000));
}

int EffectiveEm(const FontRequest& fontRequest) {
  if (fontRequest.emHeight > 0) return fontRequest.emHeight;
  if (fontRequest.cellHeight > 0) {
    // A cell height of a face in the table picks the size whose height it is.
    std::string face = TableFace(fontRequest.face);
    bool bold = fontRequest.weight >= FW_SEMIBOLD;
    for (const WindowsFontMetrics& w : kWindowsMetrics)
      if (w.height == fontRequest.cellHeight && w.bold == bold && g_ascii_strcasecmp(w.face, face.c_str()) == 0)
        return w.emHeight;
    int cell = CellAtThousand(fontRequest.face, fontRequest.weight, fontRequest.italic);
    return std::max(1, int(std::lround(fontRequest.cellHeight * 1000.0 / cell)));
  }
  return kDefaultEmHeight;
}

std::string RequestKey(const FontRequest& fontRequest) {
  return BaseKey(fontRequest.face, fontRequest.weight, fontRequest.italic) + '|' + std::to_string(EffectiveEm(fontRequest)) + '|' +
         (fontRequest.underline ? 'u' : '-') + (fontRequest.strikeout ? 's' : '-') + (fontRequest.antialias ? 'a' : '-');
}

void ApplyAttributes(PangoLayout* layout, const FontRequest& fontRequest) {
  if (!fontRequest.underline && !fontRequest.strikeout) {
    pango_layout_set_attributes(layout, nullptr);
    return;
  }
  PangoAttrList* attrs = pango_attr_list_new();
  if (fontRequest.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (fontRequest.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
}

void ComputeMetrics(ResolvedFont& rf) {
  const FontRequest& fontRequest = rf.request;
  PangoContext* ctx = rf.context;
  FontMetricsPx& r = rf.metrics;
  int em = EffectiveEm(fontRequest);
  const BaseMetrics& base = Base(fontRequest.face, fontRequest.weight, fontRequest.italic);
  r.ascent = int(std::lround(base.ascent * em));
  r.descent = int(std::lround(base.descent * em));
  if (r.ascent + r.descent < em) r.ascent = em - r.descent;
  r.height = r.ascent + r.descent;
  r.internalLeading = r.height - em;
  r.externalLeading = std::max(0, int(std::lround(em * 0.03)));
  r.underlinePosition = std::max(1, int(std::lround(base.underlinePos * em)));
  r.underlineThickness = std::max(1, int(std::lround(base.underlineThick * em)));
  r.strikeoutPosition = std::max(1, int(std::lround(base.strikePos * em)));

  // Average width as GDI defines it for TrueType fonts: the frequency-weighted width of the
  // lower-case letters and the blank; for a font without those figures, the plain average
  // of the lower-case letters. Max over printable ASCII.
  if (base.avgWidth > 0) {
    r.aveCharWidth = std::max(1, int(std::lround(base.avgWidth * em)));
  } else {
    PangoLayout* layout = pango_layout_new(ctx);
    pango_layout_set_font_description(layout, rf.desc);
    pango_layout_set_text(layout, "abcdefghijklmnopqrstuvwxyz", -1);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    r.aveCharWidth = std::max(1, int(std::lround(w / 26.0)));
  }
  // Every printable ASCII character measured alone, in whole pixels.
  std::string printable;
  for (char c = 0x21; c < 0x7F; ++c) printable += c;
  std::vector<int> widths = CharWidths(ctx, rf.desc, printable);
  for (int& width : widths) width = PANGO_PIXELS_CEIL(width);
  r.maxCharWidth = *std::max_element(widths.begin(), widths.end());
  r.fixedPitch = widths['i' - 0x21] == widths['W' - 0x21];
  PangoFont* font = LoadFirstFont(ctx, rf.desc);
  if (font) {
    PangoFontDescription* real = pango_font_describe(font);
    if (const char* fam = pango_font_description_get_family(real)) r.familyUsed = fam;
    pango_font_description_free(real);
    g_object_unref(font);
  }

  // The faces Windows programs are laid out for report Windows' own figures.
  bool bold = fontRequest.weight >= FW_SEMIBOLD;
  const WindowsFontMetrics* win = FontMapWindowsMetrics(fontRequest.face, em, bold);
  bool verticalOnly = false;
  if (!win && bold) {
    win = FontMapWindowsMetrics(fontRequest.face, em, false);  // bold keeps the regular heights
    verticalOnly = win != nullptr;
  }
  if (win) {
    r.height = win->height;
    r.ascent = win->ascent;
    r.descent = win->descent;
    r.internalLeading = win->internalLeading;
    r.externalLeading = win->externalLeading;
    if (!verticalOnly) {
      r.aveCharWidth = win->aveCharWidth;
      r.maxCharWidth = win->maxCharWidth;
    }
    r.underlinePosition = std::min(r.underlinePosition, std::max(1, r.descent - 1));
  }
}

ResolvedFont& Resolve(const FontRequest& fontRequest) {
  FontMapState& s = State();
  std::string key = RequestKey(fontRequest);
  auto it = s.descrs.find(key);
  if (it != s.descrs.end()) return *it->second;
  auto rf = std::make_unique<ResolvedFont>();
  rf->id = s.nextId++;
  rf->request = fontRequest;
  rf->request.escapement = 0;
  rf->desc = MakeDescription(fontRequest.face, fontRequest.weight, fontRequest.italic, EffectiveEm(fontRequest));
  rf->context = fontRequest.antialias ? s.context : s.aliasedContext;
  if (EffectiveEm(fontRequest) == 11 && fontRequest.weight < FW_SEMIBOLD && !fontRequest.italic &&
      g_ascii_strcasecmp(TableFace(fontRequest.face).c_str(), "MS Sans Serif") == 0)
    rf->cyrillicCells = kMsSansSerif11Cyrillic;
  // Underline and strike-out change no metric: their variants of a font share one measuring.
  std::string shapeKey = key;
  shapeKey[shapeKey.size() - 3] = shapeKey[shapeKey.size() - 2] = '-';
  auto shaped = s.metricsByShape.find(shapeKey);
  if (shaped != s.metricsByShape.end()) {
    rf->metrics = shaped->second;
  } else {
    ComputeMetrics(*rf);
    s.metricsByShape.emplace(std::move(shapeKey), rf->metrics);
  }
  ResolvedFont& ref = *rf;
  s.descrs.emplace(std::move(key), std::move(rf));
  return ref;
}

// Gives the Cyrillic letters of a laid-out text the font's cell widths, each glyph kept
// centred (to the whole pixel) in its new cell. Done before anything measures the layout,
// so that its extents, ink and character positions all follow the new advances. The lines
// are taken for change (pango_layout_get_lines), so the layout measures them afresh.
void ApplyCyrillicCells(PangoLayout* layout, const unsigned char* cells, std::string_view text) {
  for (GSList* l = pango_layout_get_lines(layout); l; l = l->next) {
    auto* line = static_cast<PangoLayoutLine*>(l->data);
    for (GSList* r = line->runs; r; r = r->next) {
      auto* run = static_cast<PangoGlyphItem*>(r->data);
      PangoGlyphString* glyphs = run->glyphs;
      for (int i = 0; i < glyphs->num_glyphs; ++i) {
        const std::size_t at = std::size_t(run->item->offset) + std::size_t(glyphs->log_clusters[i]);
        // The two-byte UTF-8 forms of U+0401..U+0451: D0 81..D0 BF, D1 80..D1 91.
        if (at + 1 >= text.size()) continue;
        const unsigned char b0 = static_cast<unsigned char>(text[at]), b1 = static_cast<unsigned char>(text[at + 1]);
        if ((b0 != 0xD0 && b0 != 0xD1) || (b1 & 0xC0) != 0x80) continue;
        const int cp = ((b0 & 0x1F) << 6) | (b1 & 0x3F);
        if (cp < 0x401 || cp > 0x451 || cells[cp - 0x401] == 0) continue;
        PangoGlyphGeometry& g = glyphs->glyphs[i].geometry;
        const int cell = cells[cp - 0x401] * PANGO_SCALE;
        g.x_offset += (cell - g.width) / PANGO_SCALE / 2 * PANGO_SCALE;
        g.width = cell;
      }
    }
  }
}

PangoLayout* NewLayout(const ResolvedFont& rf) {
  PangoLayout* layout = pango_layout_new(rf.context);
  pango_layout_set_font_description(layout, rf.desc);
  ApplyAttributes(layout, rf.request);
  return layout;
}

}  // namespace

const WindowsFontMetrics* FontMapWindowsMetrics(const std::string& face, int emHeight, bool bold) {
  std::string f = TableFace(face);
  for (const WindowsFontMetrics& w : kWindowsMetrics)
    if (w.emHeight == emHeight && w.bold == bold && g_ascii_strcasecmp(w.face, f.c_str()) == 0) return &w;
  return nullptr;
}

bool FontMapSmoothsText(int lfQuality, int emHeight) {
  if (lfQuality == NONANTIALIASED_QUALITY) return false;
  if (lfQuality == ANTIALIASED_QUALITY || lfQuality == CLEARTYPE_QUALITY || lfQuality == 6 /* CLEARTYPE_NATURAL_QUALITY */)
    return true;
  return emHeight >= 18;
}

PangoContext* FontMapContext() { return State().context; }

FontRequest FontSpecFromLogFont(const LOGFONT& lf) {
  FontRequest fontRequest;
  fontRequest.face = lf.lfFaceName;
  // A height beyond what the font engine renders (a stored form's Font.Height of INT_MIN,
  // whose negation overflows) is the largest it renders.
  const int height = std::clamp(lf.lfHeight, -kMaxFontHeight, kMaxFontHeight);
  if (height < 0) {
    fontRequest.emHeight = -height;
  } else if (height > 0) {
    fontRequest.emHeight = 0;
    fontRequest.cellHeight = height;
  } else {
    fontRequest.emHeight = kDefaultEmHeight;
  }
  fontRequest.weight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  fontRequest.italic = lf.lfItalic != 0;
  fontRequest.underline = lf.lfUnderline != 0;
  fontRequest.strikeout = lf.lfStrikeOut != 0;
  fontRequest.escapement = lf.lfEscapement;
  fontRequest.avgWidth = lf.lfWidth > 0 ? lf.lfWidth : 0;
  int em = fontRequest.emHeight > 0 ? fontRequest.emHeight : fontRequest.cellHeight;
  fontRequest.antialias = FontMapSmoothsText(lf.lfQuality, em);
  return fontRequest;
}

const ResolvedFont& FontMapResolve(const FontRequest& fontRequest) { return Resolve(fontRequest); }

const PangoFontDescription* FontMapDescription(const FontRequest& fontRequest) { return Resolve(fontRequest).desc; }

const FontMetricsPx& FontMapMetrics(const FontRequest& fontRequest) { return Resolve(fontRequest).metrics; }

PangoLayout* FontMapNewLayout(const FontRequest& fontRequest) { return NewLayout(Resolve(fontRequest)); }

FontMapText& FontMapTextEntry(const ResolvedFont& font, std::string_view text) {
  FontMapState& s = State();
  std::uint64_t hash = TextHash(font.id, text);
  if (TextList::iterator* it = s.textIndex.Find(hash, font.id, text)) {
    // A node put at the front fewer than kTextCacheFresh moves ago is still far from the
    // back (every move passes it by one place at most), so it stays where it is: moving it
    // would touch its neighbours too, which costs a cache miss each when many texts are
    // drawn in turn.
    TextNode& node = **it;
    if (s.moves - node.moved >= kTextCacheFresh && *it != s.texts.begin()) {
      s.texts.splice(s.texts.begin(), s.texts, *it);  // the iterator stays valid
      node.moved = ++s.moves;
    }
    return node.entry;
  }
  while (!s.texts.empty() && (s.texts.size() >= kTextCacheLimit || s.maskBytes > kFontMapTextMaskBudget))
    s.evictOne();
  s.texts.emplace_front();
  TextNode& node = s.texts.front();
  node.moved = ++s.moves;
  node.hash = hash;
  node.font = font.id;
  node.text.assign(text);
  PangoLayout* layout = NewLayout(font);
  pango_layout_set_text(layout, node.text.data(), int(node.text.size()));
  if (font.cyrillicCells) ApplyCyrillicCells(layout, font.cyrillicCells, node.text);
  node.entry.layout = layout;
  if (!node.text.empty()) {
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    node.entry.width = (logical.width + PANGO_SCALE / 2) / PANGO_SCALE;
    pango_extents_to_pixels(&ink, nullptr);  // inclusive: whole pixels around the ink
    node.entry.inkLeft = ink.x - 1;
    node.entry.inkTop = ink.y - 1;
    node.entry.inkRight = ink.x + ink.width + 1;
    node.entry.inkBottom = ink.y + ink.height + 1;
  }
  node.entry.baseline = pango_layout_get_baseline(layout) / PANGO_SCALE;
  s.textIndex.Insert(hash, s.texts.begin());
  return node.entry;
}

cairo_surface_t* FontMapTextMask(FontMapText& entry) {
  if (entry.mask || !entry.layout) return entry.mask;
  // The ink box with a margin for glyphs the rasteriser spreads a little further.
  constexpr int kMargin = 2;
  int x = std::min(0, entry.inkLeft) - kMargin, y = std::min(0, entry.inkTop) - kMargin;
  int w = std::max(entry.width, entry.inkRight) + kMargin - x, h = entry.inkBottom + kMargin - y;
  // Masks are kept for every cached text: long texts are drawn straight instead, so that the
  // cache's masks stay within a few megabytes.
  constexpr long long kMaxMaskBytes = 32 * 1024;
  if (static_cast<long long>(std::max(w, 1)) * std::max(h, 1) > kMaxMaskBytes) return nullptr;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, std::max(w, 1), std::max(h, 1));
  cairo_t* cr = cairo_create(mask);
  cairo_move_to(cr, -x, -y);
  pango_cairo_show_layout(cr, entry.layout);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(mask);
    return nullptr;
  }
  entry.mask = mask;
  entry.maskX = x;
  entry.maskY = y;
  entry.maskWidth = cairo_image_surface_get_width(mask);
  entry.maskHeight = cairo_image_surface_get_height(mask);
  entry.maskStride = cairo_image_surface_get_stride(mask);
  entry.maskData = cairo_image_surface_get_data(mask);
  State().maskBytes += MaskBytes(entry);
  return mask;
}

const std::vector<int>& FontMapTextEnds(const ResolvedFont&, FontMapText& entry, std::string_view text) {
  if (entry.endsReady) return entry.ends;
  std::vector<int>& ends = entry.ends;
  ends.clear();
  entry.endsReady = true;
  if (text.empty()) return ends;
  PangoLayoutIter* iter = pango_layout_get_iter(entry.layout);
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
  return ends;
}

PangoLayout* FontMapLayout(const FontRequest& fontRequest, std::string_view text) {
  return FontMapTextEntry(Resolve(fontRequest), text).layout;
}

SIZE FontMapTextExtent(const FontRequest& fontRequest, std::string_view text) {
  const ResolvedFont& rf = Resolve(fontRequest);
  if (text.empty()) return SIZE{0, rf.metrics.height};
  return SIZE{FontMapTextEntry(rf, text).width, rf.metrics.height};
}

void FontMapCharPositions(const FontRequest& fontRequest, std::string_view text, std::vector<int>& ends) {
  const ResolvedFont& rf = Resolve(fontRequest);
  ends = FontMapTextEnds(rf, FontMapTextEntry(rf, text), text);
}

std::string FontMapResolveFamily(const std::string& face) {
  FontRequest fontRequest;
  fontRequest.face = face;
  return FontMapMetrics(fontRequest).familyUsed;
}
