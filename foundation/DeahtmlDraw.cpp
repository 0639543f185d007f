// Deahtml: the layout and drawing engine (HTMLDrawEx and the office entries). Each line
// of the text is passed over twice: a measuring pass consumes the line's text and finds
// its width and height, then a second pass draws it (or, for a hit test, measures again
// at its placed position). The language's values and the utilities are in Deahtml.cpp.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "foundation/Deahtml.h"
#include "foundation/DeahtmlInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/UxTheme.h"

using namespace deahtml;

namespace {

constexpr UINT kGridFlags = 0xA68;    // single line, bottom, tabs, external leading, no prefix
constexpr UINT kOfficeFlags = 0x268;  // the same with prefix processing
constexpr int kMaxFontPoints = 400;   // larger SIZE values are held here
constexpr TColor kHighlight = TColor(0x8000000Du), kHighlightText = TColor(0x8000000Eu);

// Gives the canvas font the settings of Source, leaving it alone when they are the same
// (a change makes the canvas build its font anew).
void RestoreFont(TCanvas* c, const TFont& source) {
  TFont* f = c->Font();
  if (f->GetName() == source.GetName() && f->GetHeight() == source.GetHeight() &&
      f->GetStyle() == source.GetStyle() && f->GetColor() == source.GetColor() &&
      f->GetCharset() == source.GetCharset() && f->GetPitch() == source.GetPitch() &&
      f->GetOrientation() == source.GetOrientation())
    return;
  f->Assign(const_cast<TFont*>(&source));
}

TTextFormat ToTextFormat(UINT f) {
  static const std::pair<UINT, TTextFormats> map[] = {
      {DT_BOTTOM, tfBottom},         {DT_CALCRECT, tfCalcRect},   {DT_CENTER, tfCenter},
      {DT_END_ELLIPSIS, tfEndEllipsis}, {DT_EXPANDTABS, tfExpandTabs}, {DT_EXTERNALLEADING, tfExternalLeading},
      {DT_NOCLIP, tfNoClip},         {DT_NOPREFIX, tfNoPrefix},   {DT_RIGHT, tfRight},
      {DT_SINGLELINE, tfSingleLine}, {DT_VCENTER, tfVerticalCenter}, {DT_WORDBREAK, tfWordBreak}};
  TTextFormat out;
  for (const auto& [flag, tf] : map)
    if (f & flag) out += tf;
  return out;
}

enum class TPassMode { Measure, Draw };

// Where an image tag's picture comes from.
struct TPictureSource {
  enum TKind { None, ImageList, SystemIcon, Bitmap } Kind = None;
  int Index = 0;
  bool Large = false;
  std::string Path;
  THTMLPicture* Picture = nullptr;
};

struct TEngine {
  // ---- inputs
  TCanvas* C = nullptr;
  TRect Bounds;
  TCustomImageList* Images = nullptr;
  int HitX = 0, HitY = 0, FocusedLinkIndex = -1, HotLinkNumber = 0, ShadowDepth = 0;
  bool HitTestOnly = false, MeasureOnly = false, PrintMode = false, Selected = false, BlinkOn = true;
  bool HotOnly = false, Wrap = false, ControlPressed = false, Office = false;
  double PrintScale = 1.0;
  TColor LinkColor = clBlue, HotBack = clNone, HotText = clNone, ShadowTint = clGray;
  THTMLPictureCache* Cache = nullptr;
  TPictureContainer* Container = nullptr;
  HWND Owner = nullptr;
  int LineGap = 0;
  std::string LocateID;

  // ---- outputs
  std::string* HitAnchor = nullptr;
  std::string* PlainText = nullptr;
  std::string* FocusedTarget = nullptr;
  std::string* AnchorTitle = nullptr;
  std::string* ControlID = nullptr;
  std::string* ControlValue = nullptr;
  std::string* ControlType = nullptr;
  int* ExtentX = nullptr;
  int* ExtentY = nullptr;
  int* LinkCount = nullptr;
  int* HitLinkNumber = nullptr;
  TRect* HotRect = nullptr;
  TRect* ControlRect = nullptr;

  // ---- call state
  UINT Flags = kGridFlags;
  TFont BaseFont;
  TColor EntryBrush = clNone;
  bool Themed = false;
  int Ppi = 96;
  int Align = 0, Indent = 0, LinkCounter = 0, ImageCounter = 0, ListLevel = 0;
  bool InAnchor = false;
  std::string LinkTarget;
  bool Hidden = false, Sub = false, Sup = false, Shadow = false, ErrorMark = false, ParaBg = false;
  TColor FontBgSaved = clNone, ParaBgSaved = clNone, HiFontSaved = clNone, HiBrushSaved = clNone;
  TColor LinkBrushSaved = clNone, LinkFontSaved = clNone;
  bool LinkStyled = false;
  int HoveredImage = -1;
  int LineIndex = 0;
  int AnchorStartCounter = 0, AnchorStartTop = 0, AnchorStartLine = -1;
  bool MouseOverLink = false;
  TRect Focus;
  bool FocusOpen = false;
  HFONT RotFont = nullptr;
  int CarriedOffset = 0;
  bool Result = false;
  bool LastLine = false;  // no word wrap and the line overflowed: nothing after it

  // ---- line state (shared by the two passes of a line)
  int LineHeight = 0, MinLineHeight = 0, SubAllow = 0, SupAllow = 0, BaselineRaise = 0;

  // ---- pass state
  TPassMode Mode = TPassMode::Measure;
  bool FirstPass = true;
  TRect LineR;     // the line's rectangle for this pass
  TRect DrawR;     // its drawing rectangle
  int Counter = 0;  // width counter
  int PenX = 0;
  int PassOffset = 0;
  bool LineBreak = false, Overflow = false, FirstBullet = false;
  bool PicHit = false, LinkTextHit = false;
  int TrailingBlank = 0;
  std::string LineText;
  const char* LtCache = nullptr;  // next '<' in the buffer being passed over

  // ---- helpers
  bool Drawing() const { return Mode == TPassMode::Draw; }
  TColor BrushColor() const { return C->Brush()->GetStyle() == bsClear ? clNone : C->Brush()->GetColor(); }
  void SetBrushColor(TColor c) {
    if (c == clNone) C->Brush()->SetStyle(bsClear);
    else C->Brush()->SetColor(c);
  }
  // Text measurements are remembered across calls (captions are painted again and again),
  // keyed by everything that shapes the text: font, text-drawing flags and resolution.
  static std::unordered_map<std::string, int>& Measurements() {
    thread_local std::unordered_map<std::string, int> cache;
    if (cache.size() > 8192) cache.clear();
    return cache;
  }
  // The font's settings as raw bytes, then its name (cheaper than text: a caption asks for
  // the key once per piece).
  std::string FontKey() const {
    TFont* f = C->Font();
    const std::string& name = f->GetName();
    int style = 0, bit = 1;
    for (TFontStyle st : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) {
      if (f->GetStyle().Contains(st)) style |= bit;
      bit <<= 1;
    }
    const int values[] = {f->GetHeight(), style, int(f->GetCharset()) * 16 + int(f->GetPitch()), f->GetOrientation(),
                          Ppi, int(Flags)};
    std::string key;
    key.reserve(name.size() + 1 + sizeof values + 16);
    key.append(reinterpret_cast<const char*>(values), sizeof values);  // fixed length
    key += name;
    key += '\0';  // the name ends here; what the caller adds follows
    return key;
  }
  int GhHeight() {
    std::string key = FontKey();
    key += "\x02gh";
    auto& cache = Measurements();
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    const int h = C->TextHeight("gh");
    cache.emplace(std::move(key), h);
    return h;
  }
  int AvailableWidth() const {
    int w = LineR.Right - LineR.Left;
    if (Office && !Drawing()) w -= CarriedOffset;
    return w;
  }
  int MeasurePiece(const std::string& text) {
    std::string key = FontKey();
    key += '\x03';
    key += text;
    auto& cache = Measurements();
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    TRect r{DrawR.Left, DrawR.Top, DrawR.Right, DrawR.Bottom};
    std::string t = text;
    UINT f = (Flags | DT_CALCRECT) & ~UINT(DT_END_ELLIPSIS);
    if (Office) f &= ~UINT(DT_EXTERNALLEADING);
    C->TextRect(r, t, ToTextFormat(f));
    const int w = r.Right - r.Left;
    if (text.size() < 256) cache.emplace(std::move(key), w);
    return w;
  }
  void DrawPiece(const std::string& text, int x, int bottom, int w) {
    std::string t = text;
    if (Office) {
      if (!Wrap && x >= LineR.Right - C->TextWidth("w")) return;
      TRect r{x, DrawR.Top, std::min(x + w, LineR.Right), bottom};
      C->TextRect(r, t, ToTextFormat(Flags & ~UINT(DT_EXTERNALLEADING)));
    } else {
      // A piece that starts at or past the right edge has no room left (it is clipped away).
      if (x >= LineR.Right) return;
      TRect r{x, DrawR.Top, LineR.Right, bottom};
      C->TextRect(r, t, ToTextFormat(Flags));
    }
  }

  void Preprocess(std::string& text) const;
  void Run(const std::string& text);
  std::string Pass(TPassMode mode, std::string_view& rem, const TRect& line);
  void TextPiece(std::string_view& rem, std::string& consumed);
  void ApplyTag(const std::string& tag);
  void OpenTag(const std::string& tag, const std::string& up);
  void CloseTag(const std::string& up);
  void FontTag(const std::string& tag, const std::string& up);
  void AnchorOpen(const std::string& tag, const std::string& up);
  void AnchorClose();
  void ParagraphTag(const std::string& up);
  void BodyTag(const std::string& tag, const std::string& up);
  void ListItem();
  void ImageTag(const std::string& tag, const std::string& up);
  void ControlTag(const std::string& tag);
  void RotateOpen(const std::string& up);
  void RotateClose();
  bool PlaceBox(int bw, int bh);
  bool BoxHit(int bw, int bh) const;
  TPictureSource Resolve(const std::string& source);
  TSize SourceBox(TPictureSource& src);
  void DrawSource(TPictureSource& src, int x, int y, int w, int h, bool stretch);
  void Zigzag(int left, int right);
  void Gradient(TColor from, TColor to, bool horizontal, const TRect& r);
  void TilePicture(THTMLPicture* p, const TRect& area, bool once, bool right);
};

// ---- pre-processing -----------------------------------------------------------------------------

void TEngine::Preprocess(std::string& text) const {
  const bool prefixOn = Office && text.find(" & ") == std::string::npos;
  text = DecodeFirstStage(text, prefixOn ? "&&" : "&");
  // "<#…>" is text: its angle brackets go.
  std::string out;
  out.reserve(text.size());
  bool firstOnly = Office, done = false;
  std::size_t lastGt = text.rfind('>');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '<' && !done && i + 1 < text.size() && text[i + 1] == '#' && lastGt != std::string::npos && lastGt > i) {
      const std::size_t gt = text.find('>', i);
      if (gt != std::string::npos) {
        out.append(text, i + 1, gt - i - 1);
        i = gt;
        if (firstOnly) done = true;
        continue;
      }
    }
    if (c == '\r') out += "<BR>";
    else if (c != '\n') out += c;
  }
  text.swap(out);
}

// ---- lines --------------------------------------------------------------------------------------

void TEngine::Run(const std::string& source) {
  std::string text = source;
  Preprocess(text);
  std::string_view rem(text);
  auto isTrim = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  if (Office)
    while (!rem.empty() && isTrim(rem.back())) rem.remove_suffix(1);
  TRect lineRect = Bounds;
  if (!Office) lineRect.Left += 1;
  // Each pass keeps its own font from line to line: the drawing pass carries styling that
  // only drawing applies (a link's underline and hover colour) onto the next line.
  TFont measureFont, drawFont;
  measureFont.Assign(C->Font());
  drawFont.Assign(C->Font());
  while (!rem.empty()) {
    if (Office) {
      while (!rem.empty() && isTrim(rem.front())) rem.remove_prefix(1);
      if (rem.empty()) break;
    }
    RestoreFont(C, measureFont);
    const bool anchorBefore = InAnchor;
    const std::string targetBefore = LinkTarget;
    const int linksBefore = LinkCounter, listBefore = ListLevel, imagesBefore = ImageCounter;
    SubAllow = SupAllow = BaselineRaise = 0;
    LineHeight = MinLineHeight = GhHeight();
    const std::size_t before = rem.size();
    FirstPass = true;
    std::string line = Pass(TPassMode::Measure, rem, lineRect);
    FirstPass = false;
    if (rem.size() == before) {
      // Nothing fitted and nothing was consumed: skip one character so the call ends.
      rem.remove_prefix(1);
    }
    if (LastLine) rem = {};
    const int lineWidth = Counter;
    measureFont.Assign(C->Font());
    InAnchor = anchorBefore;
    LinkTarget = targetBefore;
    if (Office) LineHeight += LineGap;
    TRect placed = lineRect;
    if (Align == 1) {
      if (placed.Right - lineWidth > placed.Left) placed.Left = placed.Right - lineWidth;
    } else if (Align == 2) {
      if (placed.Right - placed.Left - lineWidth > 0) placed.Left += (placed.Right - placed.Left - lineWidth) / 2;
    }
    placed.Left += Indent;
    placed.Bottom = placed.Top + LineHeight + SubAllow + SupAllow;
    if (!MeasureOnly) {
      RestoreFont(C, drawFont);
      LinkCounter = linksBefore;
      ListLevel = listBefore;
      ImageCounter = imagesBefore;
      std::string_view lineView(line);
      Pass(HitTestOnly ? TPassMode::Measure : TPassMode::Draw, lineView, placed);
      if (Office) CarriedOffset = PassOffset;
      const int gh = GhHeight();
      const int textBottom = placed.Bottom - BaselineRaise;
      if (PicHit || (LinkTextHit && HitY > textBottom - gh && HitY < textBottom)) Result = true;
      drawFont.Assign(C->Font());
    }
    const int advance = LineHeight + SubAllow + SupAllow;
    lineRect.Top += advance;
    *ExtentY += advance;
    ++LineIndex;
    if (!MeasureOnly && lineRect.Top + MinLineHeight > Bounds.Bottom) break;
  }
  if (*ExtentY == 0) *ExtentY = GhHeight();
}

// One pass over one line. Returns the text it consumed (the line's text for the second pass).
std::string TEngine::Pass(TPassMode mode, std::string_view& rem, const TRect& line) {
  Mode = mode;
  LtCache = nullptr;
  std::string consumed;
  LineText.clear();
  Counter = 0;
  LineBreak = Overflow = FirstBullet = false;
  PicHit = LinkTextHit = false;
  TrailingBlank = 0;
  LineR = line;
  DrawR = line;
  DrawR.Bottom -= SubAllow;
  PassOffset = Office ? CarriedOffset : 0;
  if (Drawing() && Office) DrawR.Left += CarriedOffset;
  PenX = DrawR.Left;
  if (Drawing() && ParaBg && BrushColor() != clNone)
    C->FillRect(TRect{Bounds.Left, LineR.Top, Bounds.Right, LineR.Top + LineHeight});
  while (!rem.empty() && !LineBreak && !Overflow) {
    TextPiece(rem, consumed);
    if (LineBreak || rem.empty() || rem.front() != '<') continue;
    if (rem.size() <= 2) {
      rem = {};
      break;
    }
    const std::size_t gt = rem.find('>');
    if (gt == std::string_view::npos) {
      rem = {};
      break;
    }
    const std::string tag(rem.substr(0, gt + 1));
    ApplyTag(tag);
    if (Overflow) break;
    consumed += tag;
    rem.remove_prefix(gt + 1);
  }
  Counter -= TrailingBlank;
  if (Office) {
    if (Counter > *ExtentX) *ExtentX = Counter + 2;
  } else {
    *ExtentX = std::max(*ExtentX, Counter);
  }
  if (Drawing() && FocusOpen) {
    TRect part = Focus;
    part.Right = PenX;
    part.Bottom = DrawR.Bottom;
    part.Left -= 1;
    part.Right += 1;
    C->DrawFocusRect(part);
    Focus.Left = LineR.Left + 1;
    Focus.Top = part.Bottom;
  }
  return consumed;
}

void TEngine::TextPiece(std::string_view& rem, std::string& consumed) {
  // The next '<' is remembered while it lies ahead, so long texts are scanned once.
  if (!LtCache || LtCache < rem.data() || LtCache > rem.data() + rem.size()) {
    const std::size_t lt = rem.find('<');
    LtCache = lt == std::string_view::npos ? rem.data() + rem.size() : rem.data() + lt;
  }
  const std::size_t lt = LtCache < rem.data() + rem.size() ? std::size_t(LtCache - rem.data()) : std::string_view::npos;
  std::size_t len;
  const std::size_t blank = Wrap ? rem.substr(0, lt == std::string_view::npos ? rem.size() : lt).find(' ')
                                 : std::string_view::npos;
  if (blank != std::string_view::npos) len = blank + 1;
  else if (lt == std::string_view::npos) len = rem.size();
  else len = lt;
  if (len == 0) return;
  const std::string_view piece = rem.substr(0, len);
  const std::string decoded = DecodePieceEntities(piece);
  const int h = GhHeight();
  if (Sub) SubAllow = std::max(SubAllow, h / 4);
  if (Sup) SupAllow = std::max(SupAllow, h / 4);
  LineHeight = std::max(LineHeight, h);
  if (Hidden) {
    if (FirstPass && Mode == TPassMode::Measure && PlainText) *PlainText += decoded;
    rem.remove_prefix(len);
    return;
  }
  const int before = Counter;
  const int w = MeasurePiece(decoded);
  if (!Drawing()) {
    Counter += w;
    if (InAnchor && HitX - LineR.Left >= before && HitX - LineR.Left <= Counter) {
      LinkTextHit = true;
      if (HitY > LineR.Top) {
        *HitAnchor = LinkTarget;
        MouseOverLink = true;
      }
    }
  } else {
    int bottom = DrawR.Bottom;
    if (Sup) bottom -= SupAllow;
    if (Sub) bottom += SubAllow;
    bottom -= BaselineRaise;
    if (Shadow) {
      const TColor keep = C->Font()->GetColor();
      C->Font()->SetColor(ShadowTint);
      std::string t = decoded;
      TRect r{PenX + ShadowDepth, DrawR.Top + ShadowDepth,
              (Office ? std::min(PenX + w, LineR.Right) : LineR.Right) + ShadowDepth, bottom + ShadowDepth};
      C->TextRect(r, t, ToTextFormat(Office ? Flags & ~UINT(DT_EXTERNALLEADING) : Flags));
      C->Font()->SetColor(keep);
    }
    DrawPiece(decoded, PenX, bottom, w);
    if (InAnchor && LinkCounter == FocusedLinkIndex + 1) *FocusedTarget = LinkTarget;
    if (ErrorMark) Zigzag(PenX, PenX + w);
    PenX += w;
  }
  const int avail = AvailableWidth();
  bool fits = Counter < avail || w >= avail || (!LineText.empty() && LineText.back() != ' ');
  LineText.append(piece);
  if (fits || !Wrap) {
    if (FirstPass && Mode == TPassMode::Measure && PlainText) *PlainText += decoded;
    consumed.append(piece);
    rem.remove_prefix(len);
    // Without word wrap the first overflowing line is the last one.
    if (!Wrap && !Drawing() && Counter > avail) LastLine = true;
    TrailingBlank = (piece.back() == ' ' && decoded.size() == piece.size()) ? MeasurePiece(" ") : 0;
  } else {
    LineBreak = true;
    Counter -= w;
  }
}

// ---- tags ---------------------------------------------------------------------------------------

void TEngine::ApplyTag(const std::string& tag) {
  const std::string up = Upper(tag);
  if (up.size() > 3 && up[1] == '/') CloseTag(up);
  else OpenTag(tag, up);
}

void TEngine::OpenTag(const std::string& tag, const std::string& up) {
  const char a = up[1], b = up.size() > 2 ? up[2] : '\0';
  TFont* f = C->Font();
  switch (a) {
    case 'A': AnchorOpen(tag, up); break;
    case 'B':
      if (b == '>') f->SetStyle(f->GetStyle() + fsBold);
      else if (b == 'R') {
        LineBreak = true;
        if (FirstPass && !Drawing() && PlainText) *PlainText += '\r';
      } else if (b == 'L') {
        if (!BlinkOn) f->SetColor(EntryBrush);
      } else if (b == 'O') BodyTag(tag, up);
      break;
    case 'C':
      if (!Office) ControlTag(tag);
      break;
    case 'E':
      if (Drawing()) ErrorMark = true;
      break;
    case 'F': FontTag(tag, up); break;
    case 'H':
      if (b == 'R') {
        LineBreak = true;
        if (Drawing()) {
          const TColor keep = C->Pen()->GetColor();
          const int width = C->Pen()->GetWidth();
          C->Pen()->SetColor(clBlack);
          C->Pen()->SetWidth(1);
          C->MoveTo(LineR.Left, DrawR.Bottom + 1);
          C->LineTo(LineR.Right, DrawR.Bottom + 1);
          C->Pen()->SetColor(keep);
          C->Pen()->SetWidth(width);
        }
      } else if (b == 'I' && Drawing()) {
        HiFontSaved = f->GetColor();
        HiBrushSaved = BrushColor();
        SetBrushColor(kHighlight);
        f->SetColor(kHighlightText);
      }
      break;
    case 'I':
      if (b == '>') f->SetStyle(f->GetStyle() + fsItalic);
      else if (b == 'N') {
        const std::size_t x = up.find('X', 2);
        if (x != std::string::npos) {
          const int n = ReadNumber(TagValue(up, x, "X"));
          if (n > 0 && Counter < n) {
            PenX = LineR.Left + n;
            Counter = n;
          }
        }
      } else if (b == 'M') ImageTag(tag, up);
      break;
    case 'L': ListItem(); break;
    case 'O':
      if (Office && b == 'F') {
        const std::size_t x = up.find('X', 2);
        const int n = x == std::string::npos ? 0 : ReadNumber(TagValue(up, x, "X"));
        PassOffset = n;
        PenX = LineR.Left + n;
        Counter = n;
      }
      break;
    case 'P': ParagraphTag(up); break;
    case 'R': RotateOpen(up); break;
    case 'S':
      if (b == '>') f->SetStyle(f->GetStyle() + fsStrikeOut);
      else if (up.rfind("<SUB>", 0) == 0) Sub = true;
      else if (up.rfind("<SUP>", 0) == 0) Sup = true;
      else if (b == 'H') Shadow = true;
      break;
    case 'U':
      if (b == '>') f->SetStyle(f->GetStyle() + fsUnderline);
      else {
        ++ListLevel;
        LineBreak = true;
      }
      break;
    case 'Z': Hidden = true; break;
    default: break;
  }
}

void TEngine::CloseTag(const std::string& up) {
  const char a = up[2], b = up.size() > 3 ? up[3] : '\0';
  TFont* f = C->Font();
  switch (a) {
    case 'A': AnchorClose(); break;
    case 'B':
      if (b == '>') f->SetStyle(f->GetStyle() - fsBold);
      else f->SetColor(BaseFont.GetColor());
      break;
    case 'E':
      if (Drawing()) ErrorMark = false;
      break;
    case 'F':
      f->SetName(BaseFont.GetName());
      f->SetHeight(BaseFont.GetHeight());
      if (Drawing() && !Selected) {
        f->SetColor(BaseFont.GetColor());
        SetBrushColor(FontBgSaved);
      }
      break;
    case 'H':
      if (Drawing()) {
        f->SetColor(HiFontSaved);
        SetBrushColor(HiBrushSaved);
      }
      break;
    case 'I': f->SetStyle(f->GetStyle() - fsItalic); break;
    case 'L': LineBreak = true; break;
    case 'O':
      if (Office) PassOffset = 0;
      break;
    case 'P':
      LineBreak = true;
      if (Drawing()) {
        SetBrushColor(ParaBgSaved);
        ParaBg = false;
      }
      break;
    case 'R': RotateClose(); break;
    case 'S':
      if (b == 'U') Sub = Sup = false;
      else if (b == 'H') Shadow = false;
      else f->SetStyle(f->GetStyle() - fsStrikeOut);
      break;
    case 'U':
      if (b != '>' && ListLevel > 0) --ListLevel;
      else f->SetStyle(f->GetStyle() - fsUnderline);
      break;
    case 'Z': Hidden = false; break;
    default: break;
  }
}

void TEngine::FontTag(const std::string& tag, const std::string& up) {
  TFont* f = C->Font();
  std::size_t at = std::string::npos;
  TagValue(up, 5, "FACE", &at);
  if (at != std::string::npos) {
    const std::size_t end = tag.find('"', at);
    const std::string face = tag.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!face.empty()) f->SetName(face);
  }
  if (up.find(" COLOR", 5) != std::string::npos && !Selected) f->SetColor(HTMLColorValue(TagValue(up, 5, " COLOR")));
  if (up.find("BGCOLOR", 5) != std::string::npos && Drawing() && !Selected) {
    FontBgSaved = BrushColor();
    SetBrushColor(HTMLColorValue(TagValue(up, 5, "BGCOLOR")));
  }
  int size = 0;
  if (TagSize(up, 5, size)) {
    const int points = std::clamp(HTMLFontSize(size), 0, kMaxFontPoints);
    f->SetSize(points);
  }
}

void TEngine::AnchorOpen(const std::string& tag, const std::string& up) {
  if (Drawing() && LinkCounter == FocusedLinkIndex) {
    Focus.Left = PenX;
    Focus.Top = LineR.Top;
    FocusOpen = true;
  }
  ++LinkCounter;
  *LinkCount = std::max(*LinkCount, LinkCounter);
  TFont* f = C->Font();
  const bool styled = Drawing() && (!HotOnly || LinkCounter == HotLinkNumber);
  if (Drawing()) LinkStyled = styled;
  if (styled) {
    f->SetStyle(f->GetStyle() + fsUnderline);
    if (HotBack != clNone) {
      LinkBrushSaved = BrushColor();
      SetBrushColor(HotBack);
    }
    if (HotText != clNone) {
      LinkFontSaved = f->GetColor();
      f->SetColor(HotText);
    }
  }
  if (!Selected && !(styled && HotText != clNone)) f->SetColor(LinkColor);
  std::string target;
  if (Office) {
    const std::size_t q1 = tag.find('"');
    const std::size_t q2 = q1 == std::string::npos ? q1 : tag.find('"', q1 + 1);
    if (q2 != std::string::npos) target = tag.substr(q1 + 1, q2 - q1 - 1);
  } else {
    std::size_t at = std::string::npos;
    const std::string v = TagValue(up, 2, "HREF", &at);
    if (at != std::string::npos) target = tag.substr(at, v.size());
    std::size_t titleAt = std::string::npos;
    const std::string title = TagValue(up, 2, "TITLE", &titleAt);
    if (titleAt != std::string::npos) *AnchorTitle = tag.substr(titleAt, title.size());
  }
  LinkTarget = target;
  InAnchor = true;
  AnchorStartCounter = Counter;
  AnchorStartTop = LineR.Top;
  AnchorStartLine = LineIndex;
}

void TEngine::AnchorClose() {
  TFont* f = C->Font();
  if (LinkStyled && Drawing()) {
    f->SetStyle(f->GetStyle() - fsUnderline);
    if (HotBack != clNone) SetBrushColor(LinkBrushSaved);
    if (HotText != clNone) f->SetColor(LinkFontSaved);
  }
  if (Drawing()) LinkStyled = false;
  if (!Selected) f->SetColor(BaseFont.GetColor());
  InAnchor = false;
  if (MouseOverLink) {
    TRect r;
    r.Right = LineR.Left + Counter;
    r.Bottom = DrawR.Bottom;
    if (AnchorStartLine != LineIndex) {
      r.Left = LineR.Left;
      r.Top = LineR.Top;
    } else {
      r.Left = LineR.Left + AnchorStartCounter;
      r.Top = AnchorStartTop;
    }
    *HotRect = r;
    *HitLinkNumber = LinkCounter;
    MouseOverLink = false;
  }
  if (FocusOpen && LinkCounter == FocusedLinkIndex + 1) {
    Focus.Right = PenX;
    Focus.Bottom = DrawR.Bottom - BaselineRaise;
    Focus.Top = Focus.Bottom - GhHeight();
    TRect r = Focus;
    r.Left -= 1;
    r.Right += 1;
    if (Drawing()) C->DrawFocusRect(r);
    FocusOpen = false;
  }
}

void TEngine::ParagraphTag(const std::string& up) {
  if (up.find("ALIGN", 2) != std::string::npos) {
    const std::string v = TagValue(up, 2, "ALIGN");
    if (v.find("RIGHT") != std::string::npos) Align = 1;
    if (v.find("LEFT") != std::string::npos) Align = 0;
    if (v.find("CENTER") != std::string::npos) Align = 2;
  }
  if (up.find("INDENT", 2) != std::string::npos) Indent = ReadNumber(TagValue(up, 2, "INDENT"));
  if (up.find("BGCOLOR", 2) == std::string::npos) return;
  const std::string v = TagValue(up, 2, "BGCOLOR");
  const TColor color = v.empty() ? clNone : HTMLColorValue(v);
  const TRect band{Bounds.Left, LineR.Top, Bounds.Right, LineR.Bottom};
  if (Office && up.find("BGCOLORTO", 2) != std::string::npos) {
    const std::string v2 = TagValue(up, 2, "BGCOLORTO");
    const TColor to = v2.empty() ? clNone : HTMLColorValue(v2);
    if (!Drawing()) return;
    ParaBg = true;
    // Pen and brush come back after the gradient, so the text after the tag is drawn as before.
    const TColor pen = C->Pen()->GetColor();
    const TColor brush = BrushColor();
    Gradient(color, to == clNone ? color : to, true, TRect{band.Left, band.Top, band.Right, band.Bottom + 2});
    C->Pen()->SetColor(pen);
    SetBrushColor(brush);
    return;
  }
  if (!Drawing()) return;
  ParaBgSaved = BrushColor();
  SetBrushColor(color);
  if (color != clNone) C->FillRect(band);
  ParaBg = true;
}

void TEngine::Gradient(TColor from, TColor to, bool horizontal, const TRect& r) {
  if (from == clNone) return;
  if (to == clNone) to = from;
  const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
  const int count = 64;
  const double size = double(horizontal ? r.Right - r.Left : r.Bottom - r.Top) / count;
  for (int i = 0; i < count; ++i) {
    auto channel = [&](int shift) {
      const int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
      return x + int(std::lround(double(i) * (y - x) / count));
    };
    const TColor c = TColor(channel(0) | (channel(8) << 8) | (channel(16) << 16));
    C->Pen()->SetColor(c);
    C->Brush()->SetColor(c);
    TRect band = r;
    if (horizontal) {
      band.Left = r.Left + int(std::lround(i * size));
      band.Right = std::min(band.Left + int(size) + 1, r.Right);
    } else {
      band.Top = r.Top + int(std::lround(i * size));
      band.Bottom = std::min(band.Top + int(size) + 1, r.Bottom);
    }
    C->FillRect(band);
  }
}

void TEngine::BodyTag(const std::string& tag, const std::string& up) {
  if (!Drawing()) return;
  if (Office && Selected) return;
  const std::string srcCase = Office ? tag : up;
  auto sourceOf = [&](const char* name) {
    std::size_t at = std::string::npos;
    const std::string v = TagValue(up, 5, name, &at);
    return at == std::string::npos ? std::string() : srcCase.substr(at, v.size());
  };
  auto drawSource = [&](const std::string& s, int where) {  // 0 tiled, 1 top-left, 2 top-right
    if (s.empty()) return;
    TPictureSource src = Resolve(s);
    if (src.Kind == TPictureSource::Bitmap) {
      TilePicture(src.Picture, Bounds, where != 0, where == 2);
    } else if (Office && src.Kind != TPictureSource::None) {
      TSize box = SourceBox(src);
      int x = PenX;
      if (where == 2) x = LineR.Right - (Images ? Images->GetWidth() : box.cx);
      DrawSource(src, x, LineR.Top, box.cx, box.cy, false);
    }
  };
  if (up.find("BACKGROUND", 5) != std::string::npos) drawSource(sourceOf("BACKGROUND"), 0);
  if (Office) {
    if (up.find("BGTOPLEFT", 5) != std::string::npos) drawSource(sourceOf("BGTOPLEFT"), 1);
    if (up.find("BGTOPRIGHT", 5) != std::string::npos) drawSource(sourceOf("BGTOPRIGHT"), 2);
  }
  if (up.find("BGCOLOR", 5) == std::string::npos) return;
  // "BGCOLOR" is also found inside "BGCOLORTO"; the first occurrence counts.
  const std::string v = TagValue(up, 5, "BGCOLOR");
  if (!Office) {
    if (v.find("CL") != std::string::npos) SetBrushColor(HTMLColorValue(v));
    else if (v.find('#') != std::string::npos) SetBrushColor(HTMLColorValue(v));
    if (BrushColor() != clNone) C->FillRect(Bounds);
    return;
  }
  const TColor color = v.empty() ? clNone : HTMLColorValue(v);
  if (up.find("BGCOLORTO", 5) != std::string::npos) {
    const std::string v2 = TagValue(up, 5, "BGCOLORTO");
    const TColor to = v2.empty() ? clNone : HTMLColorValue(v2);
    const std::size_t dirAt = up.find("DIR", 5);
    const bool horizontal = dirAt == std::string::npos || TagValue(up, 5, "DIR") == "H";
    const TColor pen = C->Pen()->GetColor();
    Gradient(color, to, horizontal, Bounds);
    C->Pen()->SetColor(pen);
    C->Brush()->SetStyle(bsClear);
    return;
  }
  FontBgSaved = BrushColor();
  SetBrushColor(color);
  if (color != clNone) {
    const TColor pen = C->Pen()->GetColor();
    C->Pen()->SetColor(color);
    C->FillRect(TRect{Bounds.Left - 2, Bounds.Top, Bounds.Right, Bounds.Bottom});
    C->Pen()->SetColor(pen);
  }
}

void TEngine::TilePicture(THTMLPicture* p, const TRect& area, bool once, bool right) {
  if (!p || p->GetEmpty()) return;
  const int w = p->GetWidth(), h = p->GetHeight();
  if (w <= 0 || h <= 0) return;
  const int saved = SaveDC(C->GetHandle());
  IntersectClipRect(C->GetHandle(), area.Left, area.Top, area.Right, area.Bottom);
  if (once) {
    const int x = right ? area.Right - w : area.Left;
    p->Draw(C, TRect{x, area.Top, x + w, area.Top + h});
  } else {
    for (int y = area.Top; y < area.Bottom; y += h)
      for (int x = area.Left; x < area.Right; x += w) p->Draw(C, TRect{x, y, x + w, y + h});
  }
  RestoreDC(C->GetHandle(), saved);
}

void TEngine::ListItem() {
  if (FirstBullet) {
    // A second item on a line begins the next line, bullet and all.
    Overflow = true;
    return;
  }
  FirstBullet = true;
  const int shift = ListLevel * 12 - 12;
  PenX += shift;
  Counter += shift;
  if (Drawing() && !(Office && Hidden)) {
    TFont* f = C->Font();
    const std::string name = f->GetName();
    f->SetName("Symbol");
    std::string bullet = (ListLevel % 2 == 1) ? "\xE2\x80\xA2" : "o";
    TRect r{PenX, DrawR.Top, PenX + 12, DrawR.Bottom - BaselineRaise};
    C->TextRect(r, bullet, ToTextFormat(DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP | DT_NOPREFIX));
    f->SetName(name);
  }
  PenX += 12;
  Counter += 12;
}

// ---- pictures and controls ----------------------------------------------------------------------

bool TEngine::BoxHit(int bw, int bh) const {
  const int x = HitX - LineR.Left;
  return x > Counter && x < Counter + bw && HitY > LineR.Top && HitY < LineR.Top + bh;
}

// Fits a box of bw × bh at the width counter: false (overflow) when it moves to the next line.
bool TEngine::PlaceBox(int bw, int bh) {
  const int avail = AvailableWidth();
  if (Counter + bw > avail && bw < avail && Counter > 0) {
    Overflow = true;
    return false;
  }
  return true;
}

TPictureSource TEngine::Resolve(const std::string& source) {
  TPictureSource src;
  std::string s = source;
  if (StartsNoCase(s, "IDX:")) {
    s = s.substr(4);
    if (Images && IsWholeNumber(s) && s.size() < 9 && std::stoi(s) < Images->Count()) {
      src.Kind = TPictureSource::ImageList;
      src.Index = std::stoi(s);
      return src;
    }
  } else if (StartsNoCase(s, "SSYS:") || StartsNoCase(s, "LSYS:")) {
    src.Kind = TPictureSource::SystemIcon;
    src.Large = Up(s[0]) == 'L';
    src.Path = s.substr(5);
    return src;
  }
  if (s.find(':') == std::string::npos) {
    if (Container) src.Picture = Container->FindPicture(s);
  } else if (s.find("://") != std::string::npos && Cache) {
    THTMLPicture* p = Cache->FindPicture(s);
    // Text may load embedded resources and name web addresses (never fetched); files are
    // shown only when the program put them in the cache.
    if (!p && !StartsNoCase(s, "FILE://")) {
      p = AddMarkupPicture(*Cache);
      p->AsyncDownload = false;
      try {
        p->LoadFromURL(s);
      } catch (const std::exception&) {
        // Damaged resource bytes: the picture stays empty and draws nothing.
      }
      p->SourceName = s;
      p = Cache->FindPicture(s);
    }
    src.Picture = p;
  }
  if (src.Picture && !src.Picture->GetEmpty()) src.Kind = TPictureSource::Bitmap;
  else src.Picture = nullptr;
  return src;
}

TSize TEngine::SourceBox(TPictureSource& src) {
  switch (src.Kind) {
    case TPictureSource::ImageList:
      return TSize{Images->GetWidth() * Ppi / 96, Images->GetHeight() * Ppi / 96};
    case TPictureSource::SystemIcon: {
      TSize size{0, 0};
      DrawSystemIcon(C, 0, 0, size, PrintScale, false, false, src.Large, src.Path);
      return TSize{size.cx * Ppi / 96, size.cy * Ppi / 96};
    }
    case TPictureSource::Bitmap:
      return TSize{src.Picture->GetMaxWidth() * Ppi / 96, src.Picture->GetMaxHeight() * Ppi / 96};
    default: return TSize{0, 0};
  }
}

void TEngine::DrawSource(TPictureSource& src, int x, int y, int w, int h, bool stretch) {
  switch (src.Kind) {
    case TPictureSource::ImageList:
      if (PrintMode) {
        TBitmap bmp;
        Images->GetBitmap(src.Index, &bmp);
        PrintBitmap(C, TRect{x, y, x + int(std::lround(Images->GetWidth() * PrintScale)),
                             y + int(std::lround(Images->GetHeight() * PrintScale))},
                    &bmp);
      } else {
        Images->Draw(C, x, y, src.Index);
      }
      break;
    case TPictureSource::SystemIcon: {
      TSize size{0, 0};
      DrawSystemIcon(C, x, y, size, PrintScale, PrintMode, true, src.Large, src.Path);
      break;
    }
    case TPictureSource::Bitmap: {
      THTMLPicture* p = src.Picture;
      if (stretch) {
        p->SetStretched(true);
        p->Draw(C, TRect{x, y, x + w, y + h});
      } else {
        if (!Office && p->GetFrameCount() > 1) {
          const TColor brush = BrushColor();
          C->Brush()->SetColor(EntryBrush == clNone ? clWhite : EntryBrush);
          C->FillRect(TRect{x, y, x + w, y + h});
          SetBrushColor(brush);
        }
        const int fx = x + p->FrameLeft, fy = y + p->FrameTop;
        p->Draw(C, TRect{fx, fy, fx + p->GetWidth(), fy + p->GetHeight()});
      }
      break;
    }
    default: break;
  }
}

void TEngine::ImageTag(const std::string& tag, const std::string& up) {
  ++ImageCounter;
  const std::string& valueCase = Office ? tag : up;
  std::size_t at = std::string::npos;
  std::string v = TagValue(up, 2, "SRC", &at);
  std::string source = at == std::string::npos ? std::string() : valueCase.substr(at, v.size());
  std::size_t altAt = std::string::npos;
  const std::string alt = TagValue(up, 2, "ALT", &altAt);
  if (altAt != std::string::npos && ImageCounter == HoveredImage) source = valueCase.substr(altAt, alt.size());
  TPictureSource src = Resolve(source);
  if (src.Kind == TPictureSource::None) return;
  const int wAttr = ReadNumber(TagValue(up, 2, "WIDTH"));
  const int hAttr = ReadNumber(TagValue(up, 2, "HEIGHT"));
  const bool stretch = src.Kind == TPictureSource::Bitmap && wAttr >= 1 && hAttr >= 1;
  TSize box = stretch ? TSize{wAttr * Ppi / 96, hAttr * Ppi / 96} : SourceBox(src);
  if (BoxHit(box.cx, box.cy) && InAnchor) {
    PicHit = true;
    *HitAnchor = LinkTarget;
    HoveredImage = ImageCounter;
  }
  if (!PlaceBox(box.cx, box.cy)) {
    --ImageCounter;
    return;
  }
  if (Drawing()) DrawSource(src, PenX, LineR.Top, stretch ? wAttr : box.cx, stretch ? hAttr : box.cy, stretch);
  Counter += box.cx;
  PenX += box.cx;
  LineHeight = std::max(LineHeight, box.cy);
  const int gh = GhHeight();
  if (up.find("\"TOP") != std::string::npos) BaselineRaise = LineHeight - gh;
  else if (up.find("\"MIDDLE") != std::string::npos) BaselineRaise = (LineHeight - gh) / 2;
  if (Office && up.find("WRAP", 2) != std::string::npos) {
    LineHeight = gh;
    BaselineRaise = 0;
  }
}

void TEngine::ControlTag(const std::string& tag) {
  std::string type, id, value, width, prop, maxLen;
  ParseControl(tag, type, id, value, width, prop, maxLen);
  if (width.empty()) return;
  const int gh = GhHeight();
  int bw = 0, bh = 0;
  if (IsWholeNumber(width)) {
    bw = ReadNumber(width);
    bh = gh + 10;
    LineHeight = 23;
  }
  int drawH = bh;
  if (type == "BUTTON" || type == "COMBO") bh = 25;
  if (type == "CHECK" || type == "RADIO") bw = bh = 16;
  if (!PlaceBox(bw, bh)) return;
  if (Drawing() && bw > 0) {
    const int x = PenX, b = DrawR.Bottom;
    HDC dc = C->GetHandle();
    const TColor frame = Themed ? TColor(0xB99D7F) : clGray;
    const bool hot = HitX > x - 2 && HitX < x - 2 + bw && HitY > b - drawH - 2 && HitY < b - 2;
    auto themed = [&](const char* cls, int part, int state, const TRect& r) {
      HTHEME theme = OpenThemeData(Owner, cls);
      RECT rc{r.Left, r.Top, r.Right, r.Bottom};
      if (theme) {
        DrawThemeBackground(theme, dc, part, state, &rc, nullptr);
        CloseThemeData(theme);
        return true;
      }
      return false;
    };
    auto editFrame = [&] {
      const TColor pen = C->Pen()->GetColor();
      C->Pen()->SetColor(frame);
      C->Brush()->SetColor(clWhite);
      C->Rectangle(TRect{x, b - 19, x + bw, b + 2});
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(pen);
    };
    auto valueText = [&](const TRect& r, std::string text, UINT extra) {
      TRect rr = r;
      C->TextRect(rr, text, ToTextFormat(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | extra));
    };
    if (type == "EDIT" || type == "MASK" || type == "PASSWORD") {
      editFrame();
      std::string shown = value;
      if (type == "PASSWORD") {
        std::size_t n = 0;
        for (char ch : value) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        shown.assign(n, '*');
      }
      valueText(TRect{x + 2, b - 19, x + bw, b}, shown, 0);
    } else if (type == "COMBO") {
      editFrame();
      valueText(TRect{x + 4, b - 19, x + bw - 18, b}, value, 0);
      const TRect button{x + bw - 18, b - 18, x + bw - 1, b + 1};
      if (!(Themed && themed("combobox", CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL, button))) {
        RECT rc{button.Left, button.Top, button.Right, button.Bottom};
        DrawFrameControl(dc, &rc, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
      }
    } else if (type == "CHECK" || type == "RADIO") {
      const bool checked = Upper(value) == "TRUE";
      const bool check = type == "CHECK";
      const TRect r = check ? TRect{x + 2, b - 15, x + 15, b} : TRect{x + 2, b - 14, x + 14, b};
      C->Brush()->SetStyle(bsClear);
      if (!(Themed && themed("button", check ? BP_CHECKBOX : BP_RADIOBUTTON, checked ? 5 : 1, r))) {
        RECT rc{r.Left, r.Top, r.Right, r.Bottom};
        DrawFrameControl(dc, &rc, DFC_BUTTON,
                         (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
      }
    } else if (type == "BUTTON") {
      const TRect r{x + 2, b - 25, x + bw - 2, b};
      const bool hotButton = HitX > x - 2 && HitX < x - 2 + bw && HitY > b - 24 - 2 && HitY < b - 2;
      const int state = ControlPressed ? PBS_PRESSED : hotButton ? PBS_HOT : PBS_NORMAL;
      if (!(Themed && themed("button", BP_PUSHBUTTON, state, r))) {
        RECT rc{r.Left, r.Top, r.Right, r.Bottom};
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (hotButton && ControlPressed ? DFCS_PUSHED : 0));
      }
      C->Brush()->SetStyle(bsClear);
      valueText(TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}, value, DT_CENTER);
    }
  }
  if ((bw > 0 && BoxHit(bw, bh)) || (HitTestOnly && !LocateID.empty() && LocateID == id)) {
    PicHit = true;
    *HitAnchor = "ctrl";
    *ControlRect = TRect{LineR.Left + Counter, LineR.Top, LineR.Left + Counter + bw, LineR.Top + bh};
    *ControlValue = value;
    *ControlID = id;
    *ControlType = type;
  }
  Counter += bw;
  PenX += bw;
  LineHeight = std::max(LineHeight, bh);
}

// ---- rotation and error marks -------------------------------------------------------------------

void TEngine::RotateOpen(const std::string& up) {
  const std::size_t a = up.find('A', 2);
  const int angle = a == std::string::npos ? 0 : ReadNumber(TagValue(up, a, "A"));
  C->TextHeight("gh");  // the canvas font is selected into the device context
  HDC dc = C->GetHandle();
  LOGFONT lf{};
  GetObject(C->Font()->GetHandle(), sizeof(lf), &lf);
  lf.lfEscapement = lf.lfOrientation = (angle % 360) * 10;
  HFONT rotated = CreateFontIndirect(&lf);
  if (!rotated) return;
  SelectObject(dc, rotated);
  if (RotFont) DeleteObject(RotFont);
  RotFont = rotated;
}

void TEngine::RotateClose() {
  // A closing tag with no rotation open leaves the font as it is.
  if (!RotFont) return;
  C->Refresh();
  SelectObject(C->GetHandle(), GetStockObject(SYSTEM_FONT));
  DeleteObject(RotFont);
  RotFont = nullptr;
}

void TEngine::Zigzag(int left, int right) {
  const TColor pen = C->Pen()->GetColor();
  const int width = C->Pen()->GetWidth();
  C->Pen()->SetColor(clRed);
  C->Pen()->SetWidth(1);
  const int base = DrawR.Bottom;
  int x = (left / 2) * 2;
  int phase = x % 4 == 0 ? 2 : 0;
  C->MoveTo(x, base + phase - 1);
  while (x < right) {
    phase = 2 - phase;
    C->LineTo(x + 2, base + phase - 1);
    x += 2;
  }
  if (Office) {
    C->Pen()->SetColor(pen);
    C->Pen()->SetWidth(width);
  }
}

// ---- entry --------------------------------------------------------------------------------------


bool RunEngine(TEngine& e, const std::string& text) {
  TCanvas* c = e.C;
  const TColor penColor = c->Pen()->GetColor();
  const int penWidth = c->Pen()->GetWidth();
  const TColor brushColor = c->Brush()->GetColor();
  const TBrushStyle brushStyle = c->Brush()->GetStyle();
  e.EntryBrush = c->Brush()->GetColor();
  e.BaseFont.Assign(c->Font());
  e.SetBrushColor(clNone);
  e.Themed = !e.Office && IsWinXP && IsThemeActive();
  *e.ControlRect = TRect{0, 0, 0, 0};
  e.PlainText->clear();
  e.FocusedTarget->clear();
  e.AnchorTitle->clear();
  e.ControlValue->clear();
  e.ControlType->clear();
  e.LocateID = e.HitTestOnly ? *e.ControlID : std::string();
  if (!e.HitTestOnly) e.ControlID->clear();
  *e.ExtentX = *e.ExtentY = *e.LinkCount = 0;
  *e.HitLinkNumber = -1;
  HDC dc = c->GetHandle();
  e.Ppi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (e.Ppi <= 0) e.Ppi = 96;
  SetBkMode(dc, TRANSPARENT);
  e.Flags = e.Office ? kOfficeFlags : kGridFlags;
  if (e.Office && text.find(" & ") != std::string::npos) e.Flags |= DT_NOPREFIX;
  if (!e.Wrap) e.Flags |= DT_END_ELLIPSIS;
  try {
    e.Run(text);
  } catch (...) {
    if (e.RotFont) e.RotateClose();
    RestoreFont(c, e.BaseFont);
    throw;
  }
  if (e.RotFont) e.RotateClose();
  if (!e.Office) {
    c->Pen()->SetColor(penColor);
    c->Pen()->SetWidth(penWidth);
  }
  c->Brush()->SetColor(brushColor);
  c->Brush()->SetStyle(brushStyle);
  RestoreFont(c, e.BaseFont);
  return e.Result;
}

}  // namespace

bool HTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images, int HitX,
                int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth, bool HitTestOnly,
                bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn, bool HotOnlyStyle,
                bool WrapWords, bool ControlPressed, double PrintScale, TColor LinkColor, TColor HotBackColor,
                TColor HotTextColor, TColor ShadowTint, std::string& HitAnchor, std::string& PlainText,
                std::string& FocusedTarget, std::string& AnchorTitle, int& ExtentX, int& ExtentY, int& LinkCount,
                int& HitLinkNumber, TRect& HotRect, TRect& ControlRect, std::string& ControlID,
                std::string& ControlValue, std::string& ControlType, THTMLPictureCache* PictureCache,
                TPictureContainer* Pictures, HWND OwnerWindow) {
  if (!Canvas) return false;
  TEngine e;
  e.C = Canvas;
  e.Bounds = Bounds;
  e.Images = Images;
  e.HitX = HitX;
  e.HitY = HitY;
  e.FocusedLinkIndex = FocusedLinkIndex;
  e.HotLinkNumber = HotLinkNumber;
  e.ShadowDepth = ShadowDepth;
  e.HitTestOnly = HitTestOnly;
  e.MeasureOnly = MeasureOnly;
  e.PrintMode = PrintMode;
  e.Selected = SelectedState;
  e.BlinkOn = BlinkPhaseOn;
  e.HotOnly = HotOnlyStyle;
  e.Wrap = WrapWords;
  e.ControlPressed = ControlPressed;
  e.PrintScale = PrintScale;
  e.LinkColor = LinkColor;
  e.HotBack = HotBackColor;
  e.HotText = HotTextColor;
  e.ShadowTint = ShadowTint;
  e.Cache = PictureCache;
  e.Container = Pictures;
  e.Owner = OwnerWindow;
  e.HitAnchor = &HitAnchor;
  e.PlainText = &PlainText;
  e.FocusedTarget = &FocusedTarget;
  e.AnchorTitle = &AnchorTitle;
  e.ControlID = &ControlID;
  e.ControlValue = &ControlValue;
  e.ControlType = &ControlType;
  e.ExtentX = &ExtentX;
  e.ExtentY = &ExtentY;
  e.LinkCount = &LinkCount;
  e.HitLinkNumber = &HitLinkNumber;
  e.HotRect = &HotRect;
  e.ControlRect = &ControlRect;
  return RunEngine(e, Text);
}

bool PanelHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images,
                     int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth, bool HitTestOnly,
                     bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn, bool HotOnlyStyle,
                     bool WrapWords, double PrintScale, TColor LinkColor, TColor HotBackColor, TColor HotTextColor,
                     TColor ShadowTint, std::string& HitAnchor, std::string& PlainText, std::string& FocusedTarget,
                     int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber, TRect& HotRect,
                     THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap) {
  if (!Canvas) return false;
  std::string title, id, value, type;
  TRect controlRect;
  TEngine e;
  e.Office = true;
  e.LineGap = LineGap;
  e.C = Canvas;
  e.Bounds = Bounds;
  e.Images = Images;
  e.HitX = HitX;
  e.HitY = HitY;
  e.FocusedLinkIndex = FocusedLinkIndex;
  e.HotLinkNumber = HotLinkNumber;
  e.ShadowDepth = ShadowDepth;
  e.HitTestOnly = HitTestOnly;
  e.MeasureOnly = MeasureOnly;
  e.PrintMode = PrintMode;
  e.Selected = SelectedState;
  e.BlinkOn = BlinkPhaseOn;
  e.HotOnly = HotOnlyStyle;
  e.Wrap = WrapWords;
  e.PrintScale = PrintScale;
  e.LinkColor = LinkColor;
  e.HotBack = HotBackColor;
  e.HotText = HotTextColor;
  e.ShadowTint = ShadowTint;
  e.Cache = PictureCache;
  e.Container = Pictures;
  e.HitAnchor = &HitAnchor;
  e.PlainText = &PlainText;
  e.FocusedTarget = &FocusedTarget;
  e.AnchorTitle = &title;
  e.ControlID = &id;
  e.ControlValue = &value;
  e.ControlType = &type;
  e.ExtentX = &ExtentX;
  e.ExtentY = &ExtentY;
  e.LinkCount = &LinkCount;
  e.HitLinkNumber = &HitLinkNumber;
  e.HotRect = &HotRect;
  e.ControlRect = &controlRect;
  return RunEngine(e, Text);
}

bool StatusBarHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images,
                         int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth,
                         bool HitTestOnly, bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn,
                         bool HotOnlyStyle, bool WrapWords, double PrintScale, TColor LinkColor, TColor HotBackColor,
                         TColor HotTextColor, TColor ShadowTint, std::string& HitAnchor, std::string& PlainText,
                         std::string& FocusedTarget, int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber,
                         TRect& HotRect, THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap) {
  return PanelHTMLDrawEx(Canvas, Text, Bounds, Images, HitX, HitY, FocusedLinkIndex, HotLinkNumber, ShadowDepth,
                         HitTestOnly, MeasureOnly, PrintMode, SelectedState, BlinkPhaseOn, HotOnlyStyle, WrapWords,
                         PrintScale, LinkColor, HotBackColor, HotTextColor, ShadowTint, HitAnchor, PlainText,
                         FocusedTarget, ExtentX, ExtentY, LinkCount, HitLinkNumber, HotRect, PictureCache, Pictures,
                         LineGap);
}

bool OfficeButtonsHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds,
                             TCustomImageList* Images, int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber,
                             int ShadowDepth, bool HitTestOnly, bool MeasureOnly, bool PrintMode, bool SelectedState,
                             bool BlinkPhaseOn, bool HotOnlyStyle, bool WrapWords, double PrintScale,
                             TColor LinkColor, TColor HotBackColor, TColor HotTextColor, TColor ShadowTint,
                             std::string& HitAnchor, std::string& PlainText, std::string& FocusedTarget,
                             int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber, TRect& HotRect,
                             THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap) {
  return PanelHTMLDrawEx(Canvas, Text, Bounds, Images, HitX, HitY, FocusedLinkIndex, HotLinkNumber, ShadowDepth,
                         HitTestOnly, MeasureOnly, PrintMode, SelectedState, BlinkPhaseOn, HotOnlyStyle, WrapWords,
                         PrintScale, LinkColor, HotBackColor, HotTextColor, ShadowTint, HitAnchor, PlainText,
                         FocusedTarget, ExtentX, ExtentY, LinkCount, HitLinkNumber, HotRect, PictureCache, Pictures,
                         LineGap);
}
