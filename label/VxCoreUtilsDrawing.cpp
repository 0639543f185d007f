// VxCoreUtils: clipped multi-line text, the zoom-frame and bump effects, item mark-up,
// text fitting, smoothing, rectangles and the text and block-transfer overloads.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "label/VxCoreUtils.h"
#include "label/VxCoreUtilsInternal.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/WinUser.h"

namespace VxCoreUtils {

namespace {

std::vector<std::string> TextLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::size_t i = 0, start = 0;
  while (i < Text.size()) {
    if (Text[i] == '\r' || Text[i] == '\n') {
      lines.push_back(Text.substr(start, i - start));
      if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < Text.size()) lines.push_back(Text.substr(start));
  return lines;
}

// A temporary canvas on the screen's device context, released on every exit.
struct ScreenCanvas {
  TCanvas Canvas;
  HDC DC;
  ScreenCanvas() : DC(GetDC(nullptr)) { Canvas.SetHandle(DC); }
  ~ScreenCanvas() {
    Canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, DC);
  }
};

}  // namespace

// --- multi-line text and effects --------------------------------------------------------------

int RATextOutEx(TCanvas* Canvas, const TRect& R, const TRect& ClipRect, const std::string& Text,
                bool MeasureOnly) {
  const std::vector<std::string> lines = TextLines(Text);
  const int h = Canvas->TextHeight("A");
  if (!MeasureOnly && !lines.empty()) {
    // Each line is clipped to ClipRect without filling it, so later lines never wipe
    // the earlier ones.
    HDC dc = Canvas->GetHandle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, ClipRect.Left, ClipRect.Top, ClipRect.Right, ClipRect.Bottom);
    for (std::size_t k = 0; k < lines.size(); ++k)
      Canvas->TextOut(R.Left, R.Top + static_cast<int>(k) * h, lines[k]);
    RestoreDC(dc, saved);
  }
  return static_cast<int>(lines.size()) * h;
}

int RATextOut(TCanvas* Canvas, const TRect& R, const TRect& ClipRect, const std::string& Text) {
  return RATextOutEx(Canvas, R, ClipRect, Text, false);
}

int RATextCalcHeight(TCanvas* Canvas, const TRect& R, const std::string& Text) {
  return RATextOutEx(Canvas, R, R, Text, true);
}

void Cinema(TCanvas* Canvas, const TRect& FromRect, const TRect& ToRect) {
  TPen saved;
  saved.Assign(Canvas->Pen());
  Canvas->Pen()->SetMode(pmNot);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psDot);
  auto outline = [&](const TRect& R) {
    Canvas->MoveTo(R.Left, R.Top);
    Canvas->LineTo(R.Left, R.Bottom);
    Canvas->LineTo(R.Right, R.Bottom);
    Canvas->LineTo(R.Right, R.Top);
    Canvas->LineTo(R.Left, R.Top);
  };
  auto line = [&](int X1, int Y1, int X2, int Y2) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
  };
  auto frame = [&](const TRect& R) {
    outline(R);
    line(FromRect.Left, FromRect.Top, R.Left, R.Top);
    if (FromRect.Top != R.Top) line(FromRect.Right, FromRect.Top, R.Right, R.Top);
    if (FromRect.Left != R.Left) line(FromRect.Left, FromRect.Bottom, R.Left, R.Bottom);
    if (FromRect.Bottom != R.Bottom && FromRect.Right != R.Right)
      line(FromRect.Right, FromRect.Bottom, R.Right, R.Bottom);
  };
  outline(FromRect);
  for (int i = 1; i <= 7; ++i) {
    const TRect r{FromRect.Left + i * ((ToRect.Left - FromRect.Left) / 7),
                  FromRect.Top + i * ((ToRect.Top - FromRect.Top) / 7),
                  FromRect.Right + i * ((ToRect.Right - FromRect.Right) / 7),
                  FromRect.Bottom + i * ((ToRect.Bottom - FromRect.Bottom) / 7)};
    frame(r);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    frame(r);
  }
  outline(FromRect);
  Canvas->Pen()->Assign(&saved);
}

void Roughed(TCanvas* Canvas, const TRect& Rect, bool Vertical) {
  const int cols = (Rect.Right - Rect.Left) / 4, rows = (Rect.Bottom - Rect.Top) / 4;
  Canvas->Pen()->SetWidth(1);
  bool colFlag = true, cellFlag = true;
  for (int i = 0; i <= cols; ++i) {
    for (int j = 0; j <= rows; ++j) {
      int x = Rect.Left + 4 * i, y = Rect.Top + 4 * j;
      if (Vertical && cellFlag) x += 2;
      if (!Vertical && colFlag) y += 2;
      Canvas->Pen()->SetColor(clBtnHighlight);
      Canvas->Polyline({TPoint{x, y + 1}, TPoint{x, y}, TPoint{x + 1, y}});
      Canvas->Pen()->SetColor(clBtnShadow);
      Canvas->Polyline({TPoint{x + 1, y}, TPoint{x + 1, y + 1}, TPoint{x - 1, y + 1}});
      cellFlag = !cellFlag;
    }
    colFlag = !colFlag;
  }
}

TBitmap* BitmapFromBitmap(TBitmap* Source, int Width, int Height, int Index) {
  auto* bmp = new TBitmap(Width, Height);
  try {
    bmp->Canvas()->CopyRect(TRect{0, 0, Width, Height}, Source->Canvas(),
                            TRect{Width * Index, 0, Width * Index + Width, Height});
  } catch (...) {
    delete bmp;
    throw;
  }
  return bmp;
}

int TextHeight(const std::string& Text) {
  ScreenCanvas c;
  return c.Canvas.TextHeight(Text);
}

int TextWidth(const std::string& Text) {
  ScreenCanvas c;
  return c.Canvas.TextWidth(Text);
}

// --- item mark-up -------------------------------------------------------------------------------

namespace {
bool StartsNoCase(const std::string& S, std::size_t At, const char* Prefix) {
  const std::size_t n = std::strlen(Prefix);
  if (S.size() - At < n) return false;
  for (std::size_t k = 0; k < n; ++k)
    if (std::tolower(static_cast<unsigned char>(S[At + k])) != Prefix[k]) return false;
  return true;
}

// A colour text of a colour tag: "$" and hexadecimal digits, or a colour name without
// its "cl".
bool ParseTagColor(const std::string& S, TColor& Color) {
  if (S.size() > 1 && S[0] == '$') {
    if (S.size() > 9 || S.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) return false;
    Color = static_cast<TColor>(std::stoul(S.substr(1), nullptr, 16));
    return true;
  }
  return !S.empty() && IdentToColor("cl" + S, Color);
}
}  // namespace

void ItemHtDrawEx(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text,
                  bool IgnoreSelection, std::string& PlainText, int& Width, bool MeasureOnly) {
  PlainText.clear();
  const bool selected = (State & 1u) != 0;
  TFontStyles oldStyle;
  TColor oldColor = clWindowText;
  if (Canvas) {
    oldStyle = Canvas->Font()->GetStyle();
    oldColor = Canvas->Font()->GetColor();
  }
  struct Restore {
    TCanvas* C;
    TFontStyles S;
    TColor Col;
    ~Restore() {
      if (C) {
        C->Font()->SetStyle(S);
        C->Font()->SetColor(Col);
      }
    }
  } restore{Canvas, oldStyle, oldColor};
  if (Canvas) {
    if (IgnoreSelection) {
      Canvas->Brush()->SetColor(clWindow);
      Canvas->Font()->SetColor(clWindowText);
    }
    Canvas->FillRect(Rect);
  }
  Width = Rect.Left;
  TPoint p{Rect.Left + 2, Rect.Top};
  const int x0 = Rect.Left + 2;
  std::string m;
  auto flush = [&] {
    if (Canvas) {
      if (!MeasureOnly) Canvas->TextOut(p.X, p.Y, m);
      p.X += Canvas->TextWidth(m);
    }
    PlainText += m;
  };
  auto newLine = [&] {
    p.X = x0;
    if (Canvas) p.Y += Canvas->TextHeight(m + "W");
  };
  auto setStyle = [&](TFontStyle St, bool On) {
    if (!Canvas) return;
    TFontStyles s = Canvas->Font()->GetStyle();
    Canvas->Font()->SetStyle(On ? s + St : s - St);
  };
  static const struct {
    const char* Tag;
    TFontStyle Style;
    bool On;
  } kStyleTags[] = {{"b>", fsBold, true},      {"/b>", fsBold, false},    {"i>", fsItalic, true},
                    {"/i>", fsItalic, false},  {"u>", fsUnderline, true}, {"/u>", fsUnderline, false}};
  std::size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '<') {
      std::size_t after = std::string::npos;
      for (const auto& t : kStyleTags) {
        if (StartsNoCase(Text, i + 1, t.Tag)) {
          flush();
          setStyle(t.Style, t.On);
          after = i + 1 + std::strlen(t.Tag);
          break;
        }
      }
      if (after == std::string::npos && StartsNoCase(Text, i + 1, "c:")) {
        flush();
        const std::size_t start = i + 3;
        std::size_t close = Text.find('>', start);
        const std::string colour = Text.substr(start, close == std::string::npos ? std::string::npos : close - start);
        TColor c;
        if (Canvas && (!selected || IgnoreSelection) && ParseTagColor(colour, c)) Canvas->Font()->SetColor(c);
        after = close == std::string::npos ? Text.size() : close + 1;
      }
      if (after != std::string::npos) {
        if (after + 1 < Text.size() + 0 && Text[after] == '\r' && Text[after + 1] == '\n') {
          newLine();
          after += 2;
        }
        m.clear();
        i = after;
        continue;
      }
    }
    if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
      flush();
      newLine();
      m.clear();
      i += 2;
      continue;
    }
    m += Text[i++];
  }
  flush();
  Width = p.X - Width + 2;
}

void ItemHtDraw(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text, bool IgnoreSelection) {
  std::string plain;
  int width = 0;
  ItemHtDrawEx(Canvas, Rect, State, Text, IgnoreSelection, plain, width, false);
}

int ItemHtWidth(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text, bool IgnoreSelection) {
  std::string plain;
  int width = 0;
  ItemHtDrawEx(Canvas, Rect, State, Text, IgnoreSelection, plain, width, true);
  return width;
}

std::string ItemHtPlain(const std::string& Text) {
  std::string plain;
  int width = 0;
  ItemHtDrawEx(nullptr, TRect{0, 0, -1, -1}, 0, Text, false, plain, width, true);
  return plain;
}

// --- rectangles and fitting -------------------------------------------------------------------

bool PtInRectInclusive(TRect R, TPoint Pt) {
  return Pt.X >= R.Left && Pt.X < R.Right + 1 && Pt.Y >= R.Top && Pt.Y < R.Bottom + 1;
}

bool PtInRectExclusive(TRect R, TPoint Pt) {
  return Pt.X >= R.Left + 1 && Pt.X < R.Right && Pt.Y >= R.Top + 1 && Pt.Y < R.Bottom;
}

int RectWidth(const TRect& R) { return R.Right - R.Left; }
int RectHeight(const TRect& R) { return R.Bottom - R.Top; }

std::string MinimizeFileName(const std::string& FileName, TCanvas* Canvas, int MaxLen) {
  RECT r{0, 0, MaxLen, Canvas->TextHeight("Wq")};
  std::string shortened;
  const int res = DrawTextUtf8(Canvas->GetHandle(), FileName, &r,
                               DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING,
                               &shortened);
  return res > 0 ? shortened : FileName;
}

std::string MinimizeText(const std::string& Text, TCanvas* Canvas, int MaxWidth) {
  const int len = CodePoints(Text);
  std::string result = Text;
  for (int i = 1; i <= len && Canvas->TextWidth(result) > MaxWidth;) {
    ++i;
    result = Text.substr(0, CodePointBytes(Text, std::max(0, len - i))) + "...";
  }
  return result;
}

void AntiAlias(TBitmap* Bitmap) { AntiAliasRect(Bitmap, 0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()); }

void AntiAliasRect(TBitmap* Bitmap, int X1, int Y1, int X2, int Y2) {
  const int x0 = std::max(1, std::min(X1, X2)), x1 = std::min(Bitmap->GetWidth() - 2, std::max(X1, X2));
  const int y0 = std::max(1, std::min(Y1, Y2)), y1 = std::min(Bitmap->GetHeight() - 2, std::max(Y1, Y2));
  const TPixelFormat old = Bitmap->GetPixelFormat();
  Bitmap->SetPixelFormat(pf24bit);
  for (int y = y0; y <= y1; ++y) {
    auto* above = static_cast<uint8_t*>(Bitmap->ScanLine(y - 1));
    auto* row = static_cast<uint8_t*>(Bitmap->ScanLine(y));
    auto* below = static_cast<uint8_t*>(Bitmap->ScanLine(y + 1));
    for (int x = x0; x <= x1; ++x)
      for (int c = 0; c < 3; ++c) {
        const int k = 3 * x + c;
        row[k] = static_cast<uint8_t>((above[k] + below[k] + row[k - 3] + row[k + 3]) / 4);
      }
  }
  Bitmap->SetPixelFormat(old);
}

void CopyRectDIBits(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source) {
  StretchBlt(Canvas->GetHandle(), Dest.Left, Dest.Top, Dest.Right - Dest.Left, Dest.Bottom - Dest.Top,
             Bitmap->Canvas()->GetHandle(), Source.Left, Source.Top, Source.Right - Source.Left,
             Source.Bottom - Source.Top, static_cast<DWORD>(Canvas->CopyMode));
}

bool IsTTFontSelected(HDC DC) {
  TEXTMETRIC tm{};
  return GetTextMetrics(DC, &tm) && (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

bool IsTrueType(const std::string& FontName) {
  ScreenCanvas c;
  c.Canvas.Font()->SetName(FontName);
  return IsTTFontSelected(c.Canvas.GetHandle());
}

// --- text and block-transfer overloads ---------------------------------------------------------

namespace {
int Draw(HDC DC, const std::string& Text, int Count, TRect& Rect, unsigned Flags, DRAWTEXTPARAMS* Params) {
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  const std::string text = Count < 0 ? Text : Text.substr(0, static_cast<std::size_t>(Count));
  const int res = DrawTextUtf8(DC, text, &r, Flags & ~DT_MODIFYSTRING, nullptr, Params);
  Rect = TRect{r.left, r.top, r.right, r.bottom};
  return res;
}
}  // namespace

int DrawText(TCanvas* Canvas, char* Text, int Count, TRect& Rect, unsigned Flags) {
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  const int res = ::DrawTextEx(Canvas->GetHandle(), Text, Count, &r, Flags, nullptr);
  Rect = TRect{r.left, r.top, r.right, r.bottom};
  return res;
}

int DrawText(TCanvas* Canvas, const std::string& Text, int Count, TRect& Rect, unsigned Flags) {
  return Draw(Canvas->GetHandle(), Text, Count, Rect, Flags, nullptr);
}

int DrawText(HDC DC, const std::string& Text, int Count, TRect& Rect, unsigned Flags) {
  return Draw(DC, Text, Count, Rect, Flags, nullptr);
}

int DrawTextEx(TCanvas* Canvas, const std::string& Text, int Count, TRect& Rect, unsigned Flags,
               DRAWTEXTPARAMS* Params) {
  return Draw(Canvas->GetHandle(), Text, Count, Rect, Flags, Params);
}

int DrawTextW(TCanvas* Canvas, const char16_t* Text, int Count, TRect& Rect, unsigned Flags) {
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  const int res = ::DrawTextW(Canvas->GetHandle(), Text, Count, &r, Flags);
  Rect = TRect{r.left, r.top, r.right, r.bottom};
  return res;
}

int DrawTextW(TCanvas* Canvas, const std::u16string& Text, int Count, TRect& Rect, unsigned Flags) {
  return DrawTextW(Canvas, Text.c_str(), Count, Rect, Flags & ~DT_MODIFYSTRING);
}

int DrawText(TCanvas* Canvas, const std::u16string& Text, int Count, TRect& Rect, unsigned Flags) {
  return DrawTextW(Canvas, Text, Count, Rect, Flags);
}

uint32_t RasterOpCode(int Ordinal) {
  static const uint32_t kCodes[16] = {0x00CC0020, 0x00EE0086, 0x00660046, 0x00220326, 0x00330008, 0x00BB0226,
                                      0,          0x008800C6, 0x00550009, 0x00000042, 0x00FF0062, 0x00AA0029,
                                      0x00440328, 0x00DD0228, 0x007700E6, 0x001100A6};
  return Ordinal >= 0 && Ordinal < 16 ? kCodes[Ordinal] : 0;
}

bool BitBlt(TCanvas* DestCanvas, int X, int Y, int Width, int Height, TCanvas* SrcCanvas, int XSrc, int YSrc,
            uint32_t Rop, bool) {
  return ::BitBlt(DestCanvas->GetHandle(), X, Y, Width, Height, SrcCanvas->GetHandle(), XSrc, YSrc, Rop);
}

bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, RasterOp Rop, bool) {
  return ::BitBlt(DestDC, X, Y, Width, Height, SrcDC, XSrc, YSrc, RasterOpCode(Rop));
}

bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, uint32_t Rop, bool) {
  return ::BitBlt(DestDC, X, Y, Width, Height, SrcDC, XSrc, YSrc, Rop);
}

bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, uint32_t Rop) {
  return ::BitBlt(DestDC, X, Y, Width, Height, SrcDC, XSrc, YSrc, Rop);
}

}  // namespace VxCoreUtils
