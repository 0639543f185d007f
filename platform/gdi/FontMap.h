#pragma once
// The one text renderer: a pango font map at 96 DPI over fontconfig, with the repository's
// alias file (fonts.conf) mapping Windows face names to installed fonts. Font
// descriptions, metrics and layouts are cached, so measuring a short string again costs a
// hash lookup. GDI text and GDI+ strings both go through here. UI thread only.
#include <pango/pangocairo.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/GdiTypes.h"

// A resolved font request in device pixels.
struct FontRequest {
  std::string face;          // Windows face name as given ("Tahoma"); empty = default face
  int emHeight = 13;         // character (em) height in pixels, > 0
  int cellHeight = 0;        // when > 0 and emHeight <= 0: ascent + descent in pixels
  int weight = FW_NORMAL;    // 100..900
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  int escapement = 0;        // tenths of a degree counter-clockwise (drawing rotates)
  int avgWidth = 0;          // requested average character width; 0 = natural
  bool antialias = true;     // false for NONANTIALIASED_QUALITY
  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// Metrics in whole pixels, GDI-style: height = ascent + descent, internal leading =
// height - em height.
struct FontMetricsPx {
  int ascent = 0;
  int descent = 0;
  int height = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int underlinePosition = 0;   // pixels below the baseline
  int underlineThickness = 1;
  int strikeoutPosition = 0;   // pixels above the baseline
  bool fixedPitch = false;
  std::string familyUsed;      // the installed family that renders the face
};

// A font resolved once: its id (unique for the run), description, metrics and the pango
// context it is measured and drawn with. Owned by the font map for the whole run.
struct ResolvedFont {
  int id = 0;
  FontRequest request;
  PangoFontDescription* desc = nullptr;
  PangoContext* context = nullptr;
  FontMetricsPx metrics;
  // Windows' cell widths in pixels for the Cyrillic letters U+0401..U+0451 where the face
  // the request names is a bitmap face whose letters are narrower than its stand-in's
  // (0 = keep the stand-in's advance); null for every other font. Texts laid out in the
  // font take these advances, so measuring and drawing agree with Windows.
  const unsigned char* cyrillicCells = nullptr;
};

// The resolved font for a request (a hash lookup after the first time).
const ResolvedFont& FontMapResolve(const FontRequest& fontRequest);

// Layout and measurements of one text in one resolved font, cached by font id and text;
// the least recently used entry is evicted when the cache is full (it holds
// kFontMapTextCacheLimit texts, and their masks within kFontMapTextMaskBudget bytes). The
// entry is valid until the next call that adds an entry; do not modify the layout.
// The cache holds two pages of a grid maximised on a large screen (a 1600x1200 page has
// over a thousand cells): a page refreshed with new texts and back again still draws
// every cell from the cache.
constexpr std::size_t kFontMapTextCacheLimit = 8192;
constexpr std::size_t kFontMapTextMaskBudget = std::size_t(16) << 20;
struct FontMapText {
  PangoLayout* layout = nullptr;
  int width = 0;         // advance in pixels
  int baseline = 0;      // pango's baseline from the layout top, pixels
  int inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;  // glyph ink from the layout origin
  std::vector<int> ends;  // cumulative right edges per code point (filled on demand)
  bool endsReady = false;
  // The drawn text as a coverage mask (A8, made on first use by FontMapTextMask): its
  // pixel (0, 0) lies at (maskX, maskY) from the layout's top-left.
  cairo_surface_t* mask = nullptr;
  int maskX = 0, maskY = 0;
  // The mask's size and pixels, kept here so that drawing reads them without touching the
  // surface object.
  int maskWidth = 0, maskHeight = 0, maskStride = 0;
  unsigned char* maskData = nullptr;
};
FontMapText& FontMapTextEntry(const ResolvedFont& font, std::string_view text);
// The entry's layout drawn into its coverage mask (once); null when it cannot be made.
cairo_surface_t* FontMapTextMask(FontMapText& entry);
// Cumulative right edges per code point of the entry's text (cached in the entry).
const std::vector<int>& FontMapTextEnds(const ResolvedFont& font, FontMapText& entry, std::string_view text);

// Windows' own metrics for the faces and sizes the program uses (96 DPI); null when the
// face, em height and weight are not in the table.
struct WindowsFontMetrics {
  const char* face;
  int emHeight;
  bool bold;
  int height, ascent, descent, internalLeading, externalLeading, aveCharWidth, maxCharWidth;
};
const WindowsFontMetrics* FontMapWindowsMetrics(const std::string& face, int emHeight, bool bold);

// Whether GDI draws this request with grey anti-aliasing: explicitly asked for, or text
// large enough for the system's standard smoothing; small text is drawn crisp (hinted,
// bi-level) as Windows does.
bool FontMapSmoothsText(int lfQuality, int emHeight);

// The shared 96-DPI pango context (never null). Layouts made on it render on any cairo
// context with pango_cairo_show_layout.
PangoContext* FontMapContext();

// Converts a logical font (heights already in device pixels) into a FontRequest.
FontRequest FontSpecFromLogFont(const LOGFONT& lf);

// Cached description for the font (size in absolute pixels). Owned by the cache.
const PangoFontDescription* FontMapDescription(const FontRequest& fontRequest);

// Cached metrics for the font.
const FontMetricsPx& FontMapMetrics(const FontRequest& fontRequest);

// A cached single-paragraph layout of `text` (UTF-8) in that font, with underline
// and strike-through attributes applied, no width set and no wrapping. Owned by the cache
// and valid until the next FontMap call; do not modify it (use FontMapNewLayout for that).
PangoLayout* FontMapLayout(const FontRequest& fontRequest, std::string_view text);

// A new layout in that font (the caller owns it: g_object_unref).
PangoLayout* FontMapNewLayout(const FontRequest& fontRequest);

// Logical extent of `text` on one line in pixels (width = advance, height = font height).
SIZE FontMapTextExtent(const FontRequest& fontRequest, std::string_view text);

// Advance of each UTF-8 character of `text`, in pixels, cumulative: result[i] is the
// distance from the start to the end of character i.
void FontMapCharPositions(const FontRequest& fontRequest, std::string_view text, std::vector<int>& ends);

// The installed family fontconfig picks for a face name (for GetTextFace tests and logs).
std::string FontMapResolveFamily(const std::string& face);
