// Deahtml: the mark-up language's values and entities, the string utilities and the
// accessors of form controls. The engine is in DeahtmlDraw.cpp, the system icons in
// DeahtmlIcons.cpp.
#include "foundation/Deahtml.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/DeahtmlInternal.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/GdiObjects.h"

using namespace deahtml;

bool IsWinXP = true;

namespace deahtml {

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Up(c);
  return r;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Low(c);
  return r;
}

std::size_t FindNoCase(std::string_view s, std::string_view p, std::size_t from) {
  if (p.empty()) return from <= s.size() ? from : std::string_view::npos;
  if (p.size() > s.size()) return std::string_view::npos;
  for (std::size_t i = from; i + p.size() <= s.size(); ++i) {
    if (Up(s[i]) != p[0]) continue;
    std::size_t k = 1;
    while (k < p.size() && Up(s[i + k]) == p[k]) ++k;
    if (k == p.size()) return i;
  }
  return std::string_view::npos;
}

bool StartsNoCase(std::string_view s, std::string_view p) {
  if (s.size() < p.size()) return false;
  for (std::size_t i = 0; i < p.size(); ++i)
    if (Up(s[i]) != p[i]) return false;
  return true;
}

int ReadNumber(std::string_view s) {
  long long n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = std::min<long long>(n * 10 + (c - '0'), 1000000);
  }
  return int(n);
}

bool IsWholeNumber(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string TagValue(std::string_view tag, std::size_t from, std::string_view name, std::size_t* valuePos) {
  if (valuePos) *valuePos = std::string_view::npos;
  if (from > tag.size()) return {};
  const std::size_t at = tag.find(name, from);
  if (at == std::string_view::npos) return {};
  const std::size_t q1 = tag.find('"', at + name.size());
  if (q1 == std::string_view::npos) return {};
  const std::size_t q2 = tag.find('"', q1 + 1);
  if (q2 == std::string_view::npos) return {};
  if (valuePos) *valuePos = q1 + 1;
  return std::string(tag.substr(q1 + 1, q2 - q1 - 1));
}

bool TagSize(std::string_view tag, std::size_t from, int& size) {
  if (from > tag.size()) return false;
  const std::size_t at = tag.find("SIZE", from);
  if (at == std::string_view::npos) return false;
  std::size_t eq = tag.find('=', at);
  if (eq == std::string_view::npos) return false;
  ++eq;
  if (eq < tag.size() && tag[eq] == '"') ++eq;
  size = ReadNumber(tag.substr(std::min(eq, tag.size())));
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

namespace {

struct TEntity {
  const char* Name;
  char32_t Char;
};

// Decoded before tags are read; the Windows-1252 characters as Unicode.
constexpr TEntity kFirstStage[] = {
    {"&QUOT;", U'"'},     {"&SECT;", 0xA7}, {"&PERMIL;", 0x2030}, {"&REG;", 0xAE},
    {"&COPY;", 0xA9},     {"&PARA;", 0xB6}, {"&TRADE;", 0x2122},  {"&EURO;", 0x20AC},
};

}  // namespace

std::string DecodeFirstStage(std::string_view s, std::string_view amp) {
  // Replacing until none is left, in one pass: an ampersand that a replacement yields is
  // looked at again together with the text after it.
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  bool pendingAmp = false;  // an '&' produced by "&amp;" stands before s[i]
  auto matchAt = [&](std::size_t pos, bool withPending, std::string_view name) {
    // name starts with '&'; with a pending '&' the rest of the name is matched at pos.
    std::string_view rest = withPending ? name.substr(1) : name;
    return StartsNoCase(s.substr(pos), rest);
  };
  while (i < s.size() || pendingAmp) {
    const bool atAmp = pendingAmp || s[i] == '&';
    if (!atAmp) {
      out += s[i++];
      continue;
    }
    const std::size_t pos = pendingAmp ? i : i;
    bool replaced = false;
    if (matchAt(pos, pendingAmp, "&AMP;")) {
      const std::size_t len = pendingAmp ? 4 : 5;
      i = pos + len;
      // "&amp;" becomes amp; its last '&' is examined again with what follows.
      out.append(amp.substr(0, amp.size() - 1));
      pendingAmp = true;
      replaced = true;
    } else {
      for (const TEntity& e : kFirstStage) {
        std::string_view name(e.Name);
        if (matchAt(pos, pendingAmp, name)) {
          i = pos + (pendingAmp ? name.size() - 1 : name.size());
          AppendUtf8(out, e.Char);
          pendingAmp = false;
          replaced = true;
          break;
        }
      }
    }
    if (replaced) continue;
    if (pendingAmp) {
      out += '&';
      pendingAmp = false;
    } else {
      out += s[i++];
    }
  }
  return out;
}

std::string DecodePieceEntities(std::string_view s) {
  if (s.find('&') == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      if (s.compare(i, 6, "&nbsp;") == 0) {
        out += ' ';
        i += 6;
        continue;
      }
      if (s.compare(i, 4, "&lt;") == 0) {
        out += '<';
        i += 4;
        continue;
      }
      if (s.compare(i, 4, "&gt;") == 0) {
        out += '>';
        i += 4;
        continue;
      }
    }
    out += s[i++];
  }
  return out;
}

}  // namespace deahtml

// ---- colours and sizes ------------------------------------------------------------------------

namespace {

struct TColorName {
  const char* Name;
  TColor Value;
};

constexpr TColorName kColorNames[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", TColor(0x80000001u)},
    {"clactivecaption", TColor(0x80000002u)},
    {"clinactivecaption", TColor(0x80000003u)},
    {"clmenu", TColor(0x80000004u)},
    {"clwindow", TColor(0x80000005u)},
    {"clwindowframe", TColor(0x80000006u)},
    {"clmenutext", TColor(0x80000007u)},
    {"clwindowtext", TColor(0x80000008u)},
    {"clcaptiontext", TColor(0x80000009u)},
    {"clactiveborder", TColor(0x8000000Au)},
    {"clinactiveborder", TColor(0x8000000Bu)},
    {"clappworkspace", TColor(0x8000000Cu)},
    {"clhighlight", TColor(0x8000000Du)},
    {"clhighlighttext", TColor(0x8000000Eu)},
    {"clbtnface", TColor(0x8000000Fu)},
    {"clbtnshadow", TColor(0x80000010u)},
    {"clgraytext", TColor(0x80000011u)},
    {"clbtntext", TColor(0x80000012u)},
    {"clinactivecaptiontext", TColor(0x80000013u)},
    {"clbtnhighlight", TColor(0x80000014u)},
    {"cl3ddkshadow", TColor(0x80000015u)},
    {"cl3dlight", TColor(0x80000016u)},
    {"clinfotext", TColor(0x80000017u)},
    {"clinfobk", TColor(0x80000018u)},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Up(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int HexPair(const std::string& v, std::size_t at) {
  if (at + 1 >= v.size()) return 0;
  const int hi = HexDigit(v[at]), lo = HexDigit(v[at + 1]);
  return hi < 0 || lo < 0 ? 0 : hi * 16 + lo;
}

}  // namespace

TColor HTMLColorValue(const std::string& Value) {
  if (!Value.empty() && Value[0] == '#')
    return TColor(HexPair(Value, 1) | (HexPair(Value, 3) << 8) | (HexPair(Value, 5) << 16));
  const std::string name = Lower(Value);
  for (const TColorName& c : kColorNames)
    if (name == c.Name) return c.Value;
  return 0;
}

int HTMLFontSize(int Size) {
  switch (Size) {
    case 1: return 8;
    case 2: return 10;
    case 3: return 12;
    case 4: return 14;
    case 5: return 16;
    default: return Size;
  }
}

// ---- named entities ---------------------------------------------------------------------------

namespace {

struct TNamedEntity {
  char32_t Char;
  const char* Name;
};

// Characters by their Windows-1252 positions, here as Unicode code points.
constexpr TNamedEntity kNamedEntities[] = {
    {0xE9, "&eacute;"}, {0xE8, "&egrave;"}, {0xEB, "&euml;"},   {0xEA, "&ecirc;"},  {0xF3, "&oacute;"},
    {0xF2, "&ograve;"}, {0xF6, "&ouml;"},   {0xF4, "&ocirc;"},  {0xED, "&iacute;"}, {0xEC, "&igrave;"},
    {0xEF, "&iuml;"},   {0xEE, "&icirc;"},  {0xFA, "&uacute;"}, {0xF9, "&ugrave;"}, {0xFC, "&uuml;"},
    {0xFB, "&ucirc;"},  {0xE1, "&aacute;"}, {0xE0, "&agrave;"}, {0xE4, "&auml;"},   {0xE2, "&acirc;"},
    {0xC9, "&Eacute;"}, {0xC8, "&Egrave;"}, {0xCB, "&Euml;"},   {0xCA, "&Ecirc;"},  {0xD3, "&Oacute;"},
    {0xD2, "&Ograve;"}, {0xD6, "&Ouml;"},   {0xD4, "&Ocirc;"},  {0xCD, "&Iacute;"}, {0xCC, "&Igrave;"},
    {0xCF, "&Iuml;"},   {0xCE, "&Icirc;"},  {0xDA, "&Uacute;"}, {0xD9, "&Ugrave;"}, {0xDC, "&Uuml;"},
    {0xDB, "&Ucirc;"},  {0xC1, "&Aacute;"}, {0xC0, "&Agrave;"}, {0xC4, "&Auml;"},   {0xC2, "&Acirc;"},
    {0xE7, "&ccedil;"}, {0xC7, "&Ccedil;"}, {0xD8, "&Oslash;"}, {0xF8, "&oslash;"}, {0xE5, "&aring;"},
    {0xC5, "&Aring;"},  {0xA9, "&copy;"},   {0xAE, "&reg;"},    {0x20AC, "&euro;"}, {0xAB, "&laquo;"},
    {0xBB, "&raquo;"},
};

// The code point of the UTF-8 sequence at s[i] and its length; invalid bytes count as
// themselves, one byte long.
char32_t NextCodePoint(std::string_view s, std::size_t i, std::size_t& len) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) { return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; };
  if (c >= 0xC2 && c < 0xE0 && cont(1)) {
    len = 2;
    return char32_t(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
  }
  if (c >= 0xE0 && c < 0xF0 && cont(1) && cont(2)) {
    len = 3;
    return char32_t(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
  }
  len = 1;
  return c;
}

}  // namespace

std::string FixMarkup(const std::string& s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    switch (c) {
      case '&': out += "&amp;"; ++i; continue;
      case '"': out += "&quot;"; ++i; continue;
      case '<': out += "&lt;"; ++i; continue;
      case '>': out += "&gt;"; ++i; continue;
      default: break;
    }
    std::size_t len = 1;
    const char32_t cp = NextCodePoint(s, i, len);
    const char* name = nullptr;
    if (len > 1)
      for (const TNamedEntity& e : kNamedEntities)
        if (e.Char == cp) {
          name = e.Name;
          break;
        }
    if (name) out += name;
    else out.append(s, i, len);
    i += len;
  }
  return out;
}

std::string DecodeEntities(const std::string& s) {
  if (s.find('&') == std::string::npos) return s;
  static constexpr std::pair<const char*, char> kBasic[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}};
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      bool done = false;
      for (const auto& [name, ch] : kBasic)
        if (s.compare(i, std::strlen(name), name) == 0) {
          out += ch;
          i += std::strlen(name);
          done = true;
          break;
        }
      if (!done)
        for (const TNamedEntity& e : kNamedEntities)
          if (s.compare(i, std::strlen(e.Name), e.Name) == 0) {
            AppendUtf8(out, e.Char);
            i += std::strlen(e.Name);
            done = true;
            break;
          }
      if (done) continue;
    }
    out += s[i++];
  }
  return out;
}

std::string FixNonBreaking(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ') out += "&nbsp;";
    else out += c;
  }
  return out;
}

bool ReplaceFirstNoCase(std::string& s, const std::string& Pattern, const std::string& Replacement) {
  const std::size_t at = FindNoCase(s, Upper(Pattern));
  if (at == std::string::npos || Pattern.empty()) return false;
  s.replace(at, Pattern.size(), Replacement);
  return true;
}

// ---- stripping --------------------------------------------------------------------------------

namespace {

// Every occurrence of an ASCII pattern (any case) replaced, in one pass.
std::string ReplaceAllNoCase(const std::string& s, std::string_view upperPattern, std::string_view with) {
  std::string out;
  out.reserve(s.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = FindNoCase(s, upperPattern, from);
    if (at == std::string::npos) break;
    out.append(s, from, at - from);
    out += with;
    from = at + upperPattern.size();
  }
  out.append(s, from, std::string::npos);
  return out;
}

std::string StripBreaks(const std::string& s) {
  return ReplaceAllNoCase(ReplaceAllNoCase(s, "<BR>", "\r\n"), "<HR>", "\r\n");
}

std::string StripTags(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t lt = s.find('<', from);
    if (lt == std::string::npos) break;
    out.append(s, from, lt - from);
    const std::size_t gt = s.find('>', lt);
    if (gt == std::string::npos) {
      from = lt;
      break;
    }
    from = gt + 1;
  }
  out.append(s, from, std::string::npos);
  return out;
}

// Hidden sections between Open and Close (written exactly so) removed.
std::string DropHidden(const std::string& s, const char* open, const char* close) {
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t o = s.find(open, from);
    if (o == std::string::npos) break;
    const std::size_t c = s.find(close, o);
    if (c == std::string::npos) break;
    out.append(s, from, o - from);
    from = c + std::strlen(close);
  }
  out.append(s, from, std::string::npos);
  return out;
}

}  // namespace

std::string HTMLStrip(const std::string& s) { return StripTags(StripBreaks(s)); }

std::string PanelHTMLStrip(const std::string& s) {
  return StripTags(DropHidden(DropHidden(StripBreaks(s), "<z>", "</z>"), "<Z>", "</Z>"));
}

// ---- highlighting -------------------------------------------------------------------------------

namespace {

// Upper case for comparing: ASCII and Cyrillic letters (lengths unchanged).
std::string FoldCase(const std::string& s) {
  std::string r(s);
  for (std::size_t i = 0; i < r.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(r[i]);
    if (c >= 'a' && c <= 'z') {
      r[i] = char(c - 32);
    } else if ((c == 0xD0 || c == 0xD1) && i + 1 < r.size()) {
      char32_t cp = char32_t(((c & 0x1F) << 6) | (r[i + 1] & 0x3F));
      if (cp >= 0x430 && cp <= 0x44F) cp -= 0x20;
      else if (cp >= 0x450 && cp <= 0x45F) cp -= 0x50;
      r[i] = char(0xC0 | (cp >> 6));
      r[i + 1] = char(0x80 | (cp & 0x3F));
      ++i;
    }
  }
  return r;
}

// Where the visible character count reaches Count in s: after the Count-th character
// outside tags, before any tags that follow it.
std::size_t MapVisible(const std::string& s, std::size_t count) {
  if (count == 0) return 0;
  std::size_t seen = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '<') {
      const std::size_t gt = s.find('>', i);
      if (gt == std::string::npos) return s.size();
      i = gt;
      continue;
    }
    if (++seen == count) return i + 1;
  }
  return s.size();
}

std::string EscapeBrackets(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

}  // namespace

std::string HiLight(const std::string& s, const std::string& Search, const std::string& Tag, bool DoCase) {
  if (Search.empty()) return s;
  // The visible text: tags removed while a '<' comes before the next '>'.
  std::string v;
  std::size_t from = 0;
  for (;;) {
    const std::size_t lt = s.find('<', from);
    const std::size_t gt = s.find('>', from);
    if (lt == std::string::npos || gt == std::string::npos || gt < lt) break;
    v.append(s, from, lt - from);
    from = gt + 1;
  }
  v.append(s, from, std::string::npos);
  std::string result = s;
  std::string search = Search;
  if (v.find_first_of("<>") != std::string::npos) {
    v = EscapeBrackets(v);
    search = EscapeBrackets(search);
    result = v;
  }
  const std::string hay = DoCase ? v : FoldCase(v);
  const std::string needle = DoCase ? search : FoldCase(search);
  const std::string open = "<" + Tag + ">", close = "</" + Tag + ">";
  std::size_t offset = 0;
  for (;;) {
    const std::size_t at = hay.find(needle, offset);
    if (at == std::string::npos) break;
    offset = at + needle.size();
    result.insert(MapVisible(result, at), open);
    result.insert(MapVisible(result, offset), close);
  }
  return result;
}

std::string UnHiLight(const std::string& s, const std::string& Tag) {
  const std::string tag = Upper(Tag);
  std::string r = ReplaceAllNoCase(ReplaceAllNoCase(s, "<" + tag + ">", ""), "</" + tag + ">", "");
  std::string out;
  out.reserve(r.size());
  for (std::size_t i = 0; i < r.size();) {
    if (r.compare(i, 4, "&lt;") == 0) {
      out += '<';
      i += 4;
    } else if (r.compare(i, 4, "&gt;") == 0) {
      out += '>';
      i += 4;
    } else {
      out += r[i++];
    }
  }
  return out;
}

// ---- printing bitmaps ---------------------------------------------------------------------------

void PrintBitmap(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap) {
  if (!Canvas || !Bitmap || Bitmap->GetEmpty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = Bitmap->GetWidth();
  info.bmiHeader.biHeight = Bitmap->GetHeight();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> bits(std::size_t(Bitmap->GetWidth()) * std::size_t(Bitmap->GetHeight()) * 4);
  HDC dc = Canvas->GetHandle();
  if (GetDIBits(dc, Bitmap->GetHandle(), 0, UINT(Bitmap->GetHeight()), bits.data(), &info, DIB_RGB_COLORS) > 0)
    StretchDIBits(dc, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, 0, 0, Bitmap->GetWidth(),
                  Bitmap->GetHeight(), bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// ---- form controls ------------------------------------------------------------------------------

namespace {

struct TControlTag {
  std::size_t Start = 0;  // offset of '<'
  std::size_t End = 0;    // offset after '>'
  std::string Type, ID, Value, Width, Prop, MaxLen;
};

std::string ControlAttr(const std::string& tag, const std::string& upper, const char* name) {
  const std::size_t at = upper.find(name);
  if (at == std::string::npos) return {};
  const std::size_t q1 = tag.find('"', at);
  if (q1 == std::string::npos) return {};
  const std::size_t q2 = tag.find('"', q1 + 1);
  if (q2 == std::string::npos) return {};
  return tag.substr(q1 + 1, q2 - q1 - 1);
}

}  // namespace

namespace deahtml {

// Parses a "<CONTROL …>" tag text (without the angle brackets' surroundings).
void ParseControl(const std::string& tag, std::string& type, std::string& id, std::string& value,
                  std::string& width, std::string& prop, std::string& maxLen) {
  const std::string upper = Upper(tag);
  type = Upper(ControlAttr(tag, upper, "TYPE="));
  id = ControlAttr(tag, upper, "ID=");
  value = DecodeEntities(ControlAttr(tag, upper, "VALUE="));
  width = ControlAttr(tag, upper, "WIDTH=");
  prop = ControlAttr(tag, upper, "PROP=");
  maxLen = ControlAttr(tag, upper, "MAXLEN=");
}

}  // namespace deahtml

namespace {

// Every control tag of s, in text order.
std::vector<TControlTag> Controls(const std::string& s) {
  std::vector<TControlTag> out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = FindNoCase(s, "<CONTROL ", from);
    if (at == std::string::npos) break;
    const std::size_t gt = s.find('>', at);
    TControlTag c;
    c.Start = at;
    c.End = gt == std::string::npos ? s.size() : gt + 1;
    ParseControl(s.substr(at, c.End - at), c.Type, c.ID, c.Value, c.Width, c.Prop, c.MaxLen);
    out.push_back(std::move(c));
    from = out.back().End;
  }
  return out;
}

const TControlTag* FindControl(const std::vector<TControlTag>& list, const std::string& id) {
  for (const TControlTag& c : list)
    if (c.ID == id) return &c;
  return nullptr;
}

std::string RewriteControl(const TControlTag& c, const std::string& escapedValue) {
  std::string t = "<CONTROL ID=\"" + c.ID + "\" VALUE=\"" + escapedValue + "\" WIDTH=\"" + c.Width + "\" TYPE=\"" +
                  c.Type + "\"";
  if (!c.Prop.empty()) t += " PROP=\"" + c.Prop + "\"";
  if (!c.MaxLen.empty()) t += " MAXLEN=\"" + c.MaxLen + "\"";
  return t + ">";
}

}  // namespace

bool HasHTMLControl(const std::string& s) { return FindNoCase(s, "<CONTROL") != std::string::npos; }

std::string GetNextControlID(const std::string& s, const std::string& ID) {
  const std::vector<TControlTag> list = Controls(s);
  bool passed = ID.empty();
  for (const TControlTag& c : list) {
    if (!passed) {
      if (c.ID == ID) passed = true;
      continue;
    }
    if (c.Type != "BUTTON" && c.Type != "CHECK" && c.Type != "RADIO") return c.ID;
  }
  return {};
}

bool GetControlValue(const std::string& s, const std::string& ID, std::string& Value) {
  const std::vector<TControlTag> list = Controls(s);
  if (const TControlTag* c = FindControl(list, ID)) {
    Value = c->Value;
    return true;
  }
  return false;
}

std::string GetControlProp(const std::string& s, const std::string& ID) {
  const std::vector<TControlTag> list = Controls(s);
  const TControlTag* c = FindControl(list, ID);
  return c ? c->Prop : std::string();
}

int GetControlMaxLen(const std::string& s, const std::string& ID) {
  const std::vector<TControlTag> list = Controls(s);
  const TControlTag* c = FindControl(list, ID);
  return c ? ReadNumber(c->MaxLen) : 0;
}

bool SetControlValue(std::string& s, const std::string& ID, const std::string& Value) {
  const std::vector<TControlTag> list = Controls(s);
  const TControlTag* c = FindControl(list, ID);
  if (!c) return false;
  s = s.substr(0, c->Start) + RewriteControl(*c, FixMarkup(Value)) + s.substr(c->End);
  return true;
}

std::string ClearRadioControls(const std::string& s) {
  std::string out;
  std::size_t from = 0;
  for (const TControlTag& c : Controls(s)) {
    out.append(s, from, c.Start - from);
    if (c.Type == "RADIO") out += RewriteControl(c, "FALSE");
    else out.append(s, c.Start, c.End - c.Start);
    from = c.End;
  }
  out.append(s, from, std::string::npos);
  return out;
}
