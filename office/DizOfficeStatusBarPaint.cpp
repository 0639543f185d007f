// DizOfficeStatusBar, part 2: the drawing primitives of the unit and the bar's painting.
#include <algorithm>
#include <cmath>

#include "foundation/Deahtml.h"
#include "foundation/DizGDIP.h"
#include "foundation/DizStyleIF.h"
#include "office/DizOfficeStatusBar.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"

using namespace DizOfficeStatusBar;

namespace {
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

namespace DizOfficeStatusBar {

void DrawRectangle(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal) {
  if (Steps <= 0) Steps = 1;
  const COLORREF from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
  const double dr = (double(GetRValue(to)) - GetRValue(from)) / Steps;
  const double dg = (double(GetGValue(to)) - GetGValue(from)) / Steps;
  const double db = (double(GetBValue(to)) - GetBValue(from)) / Steps;
  const double band = (Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / double(Steps);
  const int bandSize = Nearest(band);
  for (int i = 0; i < Steps; ++i) {
    const TColor c = TColor(RGB(std::clamp(GetRValue(from) + Nearest(i * dr), 0, 255),
                                std::clamp(GetGValue(from) + Nearest(i * dg), 0, 255),
                                std::clamp(GetBValue(from) + Nearest(i * db), 0, 255)));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    const int o = static_cast<int16_t>(Nearest(i * band));
    if (Horizontal) Canvas->Rectangle(R.Left + o, R.Top, R.Left + o + bandSize + 1, R.Bottom);
    else if (R.Right - R.Left > 1) Canvas->Rectangle(R.Left, R.Top + o, R.Right, R.Top + o + bandSize + 1);
    else {
      Canvas->MoveTo(R.Left, R.Top + o);
      Canvas->LineTo(R.Right, R.Top + o + bandSize + 1);
    }
  }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  const COLORREF a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  const double p = Percent / 100.0;
  auto mix = [p](int x, int y) { return std::clamp(Nearest(p * x + (1 - p) * y), 0, 255); };
  return TColor(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b))));
}

void DrawTwoPartGradient(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor) {
  if (Color != clNone) {
    if (ColorMirror == clNone) {
      DrawGradient(Canvas, Color, ColorTo, 128, R, false);
    } else {
      const int middle = R.Top + (R.Bottom - R.Top) / 2;
      DrawGradient(Canvas, Color, ColorTo, 128, TRect{R.Left, R.Top, R.Right, middle}, false);
      DrawGradient(Canvas, ColorMirror, ColorMirrorTo, 128, TRect{R.Left, middle, R.Right, R.Bottom}, false);
    }
  }
  if (BorderColor != clNone) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Pen()->SetWidth(1);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

void DivideInSegment(TCanvas* Canvas, const TRect& R, int, const TGaugeSettings& Settings, const TRect& GaugeRect,
                     TBitmap* Bitmap) {
  const int count = R.Right / 9 + 1;
  if (R.Right / 9 < 0) return;
  TRect gap{R.Left + 8, R.Top, R.Left + 10, R.Bottom + 1};
  for (int i = 0; i < count; ++i) {
    if (gap.Right < R.Right) {
      if (Settings.BackGround == clNone && Bitmap)
        Canvas->CopyRect(gap, Bitmap->Canvas(),
                         TRect{gap.Left - GaugeRect.Left, gap.Top - GaugeRect.Top, gap.Right - GaugeRect.Left,
                               gap.Bottom - GaugeRect.Top});
      else
        Canvas->FillRect(gap);
    }
    gap.Left += 9;
    gap.Right += 9;
  }
}

int GaugePercent(int Min, int Max, int Position) {
  if (Max <= Min) return 0;
  const int pos = std::clamp(Position, Min, Max);
  return Nearest(double(pos - Min) / (Max - Min) * 100.0);
}

void DrawGauge(TCanvas* Canvas, TRect R, int Value, const TGaugeSettings& Settings) {
  // The gauge shows 0..100 percent whatever the caller computed.
  Value = std::clamp(Value, 0, 100);
  const TRect gaugeArea = R;
  TBitmap copy;
  copy.SetSize(std::max(1, R.Right - R.Left), std::max(1, R.Bottom - R.Top));
  copy.Canvas()->CopyRect(TRect{0, 0, R.Right - R.Left, R.Bottom - R.Top}, Canvas, R);
  const int w = R.Right - R.Left;
  Canvas->Brush()->SetColor(Settings.BackGround == clNone ? clWhite : Settings.BackGround);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  if (Settings.ShowBorder) {
    Canvas->Pen()->SetColor(Settings.BorderColor);
    R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  } else {
    Canvas->Pen()->SetColor(Settings.BackGround == clNone ? clWhite : Settings.BackGround);
  }
  if (Settings.BackGround != clNone) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(R);
  } else if (Settings.ShowBorder) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(bsSolid);
  }
  const int f = Settings.ShowBorder ? w - 4 : w - 2;
  auto fill = [&](const TRect& s, TColor color, TColor colorTo) {
    if (s.Right <= s.Left || s.Bottom <= s.Top) return;
    if (Settings.ShowGradient) {
      const int half = s.Top + (s.Bottom - s.Top) / 2;
      DrawGradient(Canvas, colorTo, color, Settings.Steps, TRect{s.Left, s.Top, s.Right, half}, false);
      DrawGradient(Canvas, color, colorTo, Settings.Steps, TRect{s.Left, half, s.Right, s.Bottom}, false);
    } else {
      DrawRectangle(Canvas, s, color);
    }
  };
  auto blocks = [&](TRect s) {
    if (Settings.CompletionSmooth) return;
    s.Top += 1;
    s.Bottom -= 1;
    Canvas->Brush()->SetColor(Settings.BackGround == clNone ? clWhite : Settings.BackGround);
    DivideInSegment(Canvas, s, Settings.Position, Settings, gaugeArea, &copy);
  };
  if (Value > 0) {
    if (Settings.Stacked) {
      int x = R.Left + 1;
      const int top = R.Top + 1, bottom = R.Bottom - 2;
      const int w0 = Value < Settings.Level1Perc ? Nearest(Value / 100.0 * f) : Nearest(Settings.Level1Perc / 100.0 * f);
      TRect s0{x, top, x + w0, bottom};
      fill(s0, Settings.Level0Color, Settings.Level0ColorTo);
      blocks(s0);
      x += w0;
      if (Value >= Settings.Level1Perc) {
        const int w1 = Value < Settings.Level2Perc ? Nearest(f * (Value - Settings.Level1Perc) / 100.0)
                                                   : Nearest(f * (Settings.Level2Perc - Settings.Level1Perc) / 100.0);
        TRect s1{x, top, x + w1, bottom};
        fill(s1, Settings.Level1Color, Settings.Level1ColorTo);
        blocks(s1);
        x += w1;
        if (Value >= Settings.Level2Perc) {
          const int w2 = Value == 100 ? f - w0 - w1 : Nearest(f * (Value - Settings.Level2Perc) / 100.0);
          TRect s2{x, top, x + w2, bottom};
          fill(s2, Settings.Level2Color, Settings.Level2ColorTo);
          blocks(s2);
        }
      }
    } else {
      TColor c = Settings.Level3Color, cTo = Settings.Level3ColorTo;
      if (Value < Settings.Level1Perc) c = Settings.Level0Color, cTo = Settings.Level0ColorTo;
      else if (Value < Settings.Level2Perc) c = Settings.Level1Color, cTo = Settings.Level1ColorTo;
      else if (Value < 100) c = Settings.Level2Color, cTo = Settings.Level2ColorTo;
      if (Settings.CompletionSmooth) {
        fill(TRect{R.Left + 1, R.Top + 1, R.Left + 1 + Nearest(Value / 100.0 * f), R.Bottom - 2}, c, cTo);
      } else {
        const TRect s{R.Left + 2, R.Top + 2, R.Left + Nearest(Value * f / 100.0), R.Bottom - 3};
        fill(s, c, cTo);
        blocks(s);
      }
    }
  }
  std::string text;
  if (Settings.ShowPercentage)
    text = Settings.ValueIsPercentage ? std::to_string(Value) + "%"
                                      : Settings.Prefix + std::to_string(Settings.Position) + Settings.Suffix;
  else
    text = Settings.Text;
  if (!text.empty()) {
    Canvas->Brush()->SetStyle(bsClear);
    if (Settings.Font) Canvas->Font()->Assign(Settings.Font);
    const TSize size = Canvas->TextExtent(text);
    Canvas->TextOut(R.Left + (R.Right - R.Left) / 2 - size.cx / 2, R.Top + (R.Bottom - R.Top) / 2 - size.cy / 2, text);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

bool IsVectorFont(TCanvas* Canvas) {
  TEXTMETRIC tm{};
  GetTextMetrics(Canvas->GetHandle(), &tm);
  const bool vector = (tm.tmPitchAndFamily & TMPF_VECTOR) != 0;
  return vector && Screen->Fonts()->IndexOf(Canvas->Font()->GetName()) >= 0;
}

void DrawPanelText(TCanvas* Canvas, TAlignment Alignment, UINT Format, const TRect& DrawRect, std::string Text,
                   TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias, bool Ellipsis, TRect& TextRect) {
  TextRect = TRect{};
  if (Text.empty()) return;
  Canvas->Font()->SetName(Font->GetName());
  HDC dc = Canvas->GetHandle();
  if (AntiAlias == aaNone || !IsVectorFont(Canvas)) {
    RECT m{0, 0, 1000, 100};
    DrawTextUtf8(dc, Text, &m, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    TextRect = ToTRect(m);
    if (Draw) {
      RECT r = ToRECT(DrawRect);
      SetBkMode(dc, TRANSPARENT);
      DrawTextUtf8(dc, Text, &r, Format);
    }
    return;
  }
  TGPGraphics graphics(dc);
  TGPFontFamily family(Utf8ToUtf16(Font->GetName()));
  TGPFont font(&family, static_cast<float>(Font->GetSize()), FontStyleRegular, UnitPoint);
  graphics.SetSmoothingMode(SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(AntiAlias == aaClearType ? TextRenderingHintClearTypeGridFit
                                                         : TextRenderingHintAntiAliasGridFit);
  TGPStringFormat format;
  format.SetAlignment(Alignment == taRightJustify ? StringAlignmentFar
                      : Alignment == taCenter     ? StringAlignmentCenter
                                                  : StringAlignmentNear);
  format.SetLineAlignment(StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixNone);
  TGPSolidBrush brush(ColorToARGB(Enabled ? Font->GetColor() : clGray));
  const TGPRectF layout = MakeRect(float(DrawRect.Left), float(DrawRect.Top), float(DrawRect.Right - DrawRect.Left),
                                   float(DrawRect.Bottom - DrawRect.Top));
  const TGPRectF wide = MakeRect(layout.X, layout.Y, 1000.0f, layout.Height);
  auto measure = [&](const std::string& s) {
    TGPRectF box{};
    graphics.MeasureString(Utf8ToUtf16(s), -1, &font, Draw ? wide : layout, &format, box);
    return box;
  };
  // A path is shortened by the width it is drawn with, so that the shortened path is then
  // drawn whole rather than losing its last characters to the cut below.
  if (Format & DT_PATH_ELLIPSIS)
    Text = FitPathToWidth(Text, [&](const std::string& s) { return double(measure(s).Width); }, layout.Width);
  const TGPRectF box = measure(Text);
  TextRect = TRect{Nearest(box.X), Nearest(box.Y), Nearest(box.X + box.Width), Nearest(box.Y + box.Height)};
  if (!Draw) return;
  if (box.Width > layout.Width) {
    const std::string suffix = Ellipsis ? "..." : "";
    std::u16string wideText = Utf8ToUtf16(Text);
    while (!wideText.empty() && measure(Utf16ToUtf8(wideText) + suffix).Width > layout.Width) wideText.pop_back();
    Text = Utf16ToUtf8(wideText) + suffix;
  }
  graphics.DrawString(Text, -1, &font, layout, &format, &brush);
}

void DropFirstFolder(std::string& Folder) {
  if (Folder.empty()) return;
  const char sep = Folder.find('\\') != std::string::npos ? '\\' : '/';
  if (Folder.size() == 1 && Folder[0] == sep) {
    Folder.clear();
    return;
  }
  bool lead = false;
  if (Folder[0] == sep) {
    lead = true;
    Folder.erase(0, 1);
  }
  // Only a previous "...\" is taken off; a folder whose own name starts with a dot stays.
  const std::string dots = std::string("...") + sep;
  if (Folder.rfind(dots, 0) == 0) Folder.erase(0, 4);
  const auto first = Folder.find(sep);
  if (first != std::string::npos) Folder = dots + Folder.substr(first + 1);
  else Folder.clear();
  if (lead) Folder.insert(Folder.begin(), sep);
}

std::string FitPathToWidth(const std::string& Path, TCanvas* Canvas, int MaxWidth) {
  return FitPathToWidth(
      Path, [Canvas](const std::string& s) { return double(Canvas->TextWidth(s)); }, double(MaxWidth));
}

std::string FitPathToWidth(const std::string& Path, const std::function<double(const std::string&)>& Width,
                           double MaxWidth) {
  std::string result = Path;
  const char sep = Path.find('\\') != std::string::npos ? '\\' : '/';
  const auto last = Path.rfind(sep);
  std::string folder = last == std::string::npos ? std::string() : Path.substr(0, last + 1);
  const std::string name = last == std::string::npos ? Path : Path.substr(last + 1);
  std::string drive;
  if (folder.size() >= 2 && folder[1] == ':') {
    drive = folder.substr(0, 2);
    folder.erase(0, 2);
  }
  const std::string rootDots = std::string(1, sep) + "..." + sep;
  while ((!folder.empty() || !drive.empty()) && Width(result) > MaxWidth) {
    if (folder == rootDots) {
      drive.clear();
      folder = std::string("...") + sep;
    } else if (folder.empty()) {
      drive.clear();
    } else {
      DropFirstFolder(folder);
    }
    result = drive + folder + name;
  }
  return result;
}

}  // namespace DizOfficeStatusBar

// ---- the bar's painting ------------------------------------------------------------------------------

bool TDizOfficeStatusBar::MarkupCall(const std::string& Text, const TRect& R, int Mode, int X, int Y,
                                     std::string& Anchor, int& Width) {
  std::string stripped, focus;
  int height = 0, links = 0, hit = 0;
  TRect hover;
  Anchor.clear();
  const bool measure = Mode != 0;
  return StatusBarHTMLDrawEx(Canvas(), Text, R, FImages, Mode == 2 ? X : 0, Mode == 2 ? Y : 0, -1, -1, 1, measure,
                             false, false, Mode == 2, Mode == 2 || FTickCounter > 5, false, true, 1.0, URLColor, clNone,
                             clNone, clGray, Anchor, stripped, focus, Width, height, links, hit, hover, nullptr,
                             FPictureContainer, 0);
}

void TDizOfficeStatusBar::Paint() {
  DrawAllPanels();
  DrawFrameCorners();
  if (FStyler && FStyler->BorderColor() != clNone) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(FStyler->BorderColor());
    c->MoveTo(0, 0);
    c->LineTo(Width(), 0);
  }
}

void TDizOfficeStatusBar::DrawAllPanels() {
  TCanvas* c = Canvas();
  if (FSimplePanel) {
    DrawSimplePanel();
  } else {
    int x = 0;
    const int fixed = PanelFixedSize();
    // Only the panels the paint's clip (the update region) reaches are drawn; a panel draws
    // nothing outside its rectangle.
    RECT clip{};
    const bool clipped = GetClipBox(c->GetHandle(), &clip) != ERROR;
    for (int i = 0; i < FPanels->Count(); ++i) {
      TDizOfficeStatusPanel* p = FPanels->Items(i);
      TRect r{x, 0, 0, Height() - 1};
      if (i == FStretchPanel) r.Right = std::max(Width() - fixed + x, x);
      else if (i == FPanels->Count() - 1 && FStretchPanel == -1) r.Right = std::max(Width(), x);
      else r.Right = x + p->Width();
      x = r.Right;
      if (r.Left == 0) r.Left = 1;
      if (r.Right == Width() - 1) r.Right = Width() - 2;
      if (clipped && (r.Right <= clip.left || r.Left >= clip.right)) continue;
      FPaintIndex = i;
      DrawPanel(p, r);
    }
    FPaintIndex = -1;
  }
  if (HasSizeGrip()) DrawSizeGrip(TRect{Width() - 18, 0, Width() - 3, Height() - 1});
  const TColor border = FCurrentStyler->BorderColor();
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(border);
  c->MoveTo(0, 0);
  c->LineTo(0, Height() - 1);
  c->LineTo(Width() - 1, Height() - 1);
  c->LineTo(Width() - 1, 0);
  c->Pen()->SetColor(BlendColor(border, clWhite, 80));
  c->MoveTo(0, 0);
  c->LineTo(Width(), 0);
}

void TDizOfficeStatusBar::DrawPanelBackGround(TDizOfficeStatusPanel* Panel, const TRect& R) {
  TVistaBackground* a = Panel->AppearanceStyle() == psLight ? FCurrentStyler->PanelAppearanceLight()
                                                            : FCurrentStyler->PanelAppearanceDark();
  const int index = IndexOfPanel(Panel);
  const bool down = Panel->Button() && index == FDownPanel;
  const bool hot = !down && Panel->Button() && index == FHotPanel;
  TRect r2 = R;
  if (index != 0) r2.Left += 2;
  TCanvas* c = Canvas();
  if (down)
    DrawTwoPartGradient(c, r2, a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(),
                        a->BorderColorDown());
  else if (hot)
    DrawTwoPartGradient(c, r2, a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(),
                        a->BorderColorHot());
  else
    DrawTwoPartGradient(c, r2, a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->BorderColor());
  if (index == 0) return;
  const TColor k = a->ColorTo();
  const int half = (R.Bottom - R.Top) / 2;
  DrawGradient(c, BlendColor(k, clWhite, 70), k, 40, TRect{R.Left, R.Top, R.Left + 1, R.Top + half + 1}, false);
  DrawGradient(c, k, BlendColor(k, clWhite, 70), 40, TRect{R.Left, R.Top + half, R.Left + 1, R.Bottom}, false);
  DrawGradient(c, BlendColor(k, clWhite, 50), BlendColor(k, clWhite, 10), 40,
               TRect{R.Left + 1, R.Top, R.Left + 2, R.Top + half + 1}, false);
  DrawGradient(c, BlendColor(k, clWhite, 10), BlendColor(k, clWhite, 50), 40,
               TRect{R.Left + 1, R.Top + half, R.Left + 2, R.Bottom}, false);
}

void TDizOfficeStatusBar::DrawPanel(TDizOfficeStatusPanel* Panel, const TRect& R) {
  if (R.Left >= R.Right || R.Top >= R.Bottom || !FCurrentStyler) return;
  TCanvas* c = Canvas();
  TRect r = R;
  if (FStyler && FStyler->BorderColor() != clNone) {
    r.Top += 1;
    r.Bottom -= 1;
  }
  DrawPanelBackGround(Panel, r);
  r.Left += 2;
  r.Right -= 2;
  const int index = IndexOfPanel(Panel);
  if (index == FPanels->Count() - 1 && HasSizeGrip()) {
    r.Right -= 15;
    if (r.Left >= r.Right) return;
  }
  TVistaBackground* a = Panel->AppearanceStyle() == psLight ? FCurrentStyler->PanelAppearanceLight()
                                                            : FCurrentStyler->PanelAppearanceDark();
  const bool down = Panel->Button() && index == FDownPanel;
  const bool hot = !down && Panel->Button() && index == FHotPanel;
  c->Font()->Assign(Font());
  c->Font()->SetStyle(a->TextStyle());
  c->Font()->SetColor(down ? a->TextColorDown() : hot ? a->TextColorHot() : a->TextColor());
  if (!Panel->Enabled()) c->Font()->SetColor(clGray);
  c->Brush()->SetStyle(bsClear);
  const TAlignment align = Panel->Alignment();
  auto alignFlags = [](TAlignment x) -> UINT {
    return x == taRightJustify ? DT_RIGHT : x == taCenter ? DT_CENTER : 0;
  };
  const UINT E = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  const UINT Pf = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS;
  TRect out;
  auto write = [&](const std::string& text, TAlignment textAlign, UINT flags, const TRect& box, bool ellipsis) {
    DrawPanelText(c, textAlign, flags, box, text, c->Font(), Enabled(), true, FAntiAlias, ellipsis, out);
  };
  auto drawImage = [&](TCustomImageList* list, int x, int y, int idx) {
    if (Panel->Enabled()) list->Draw(c, x, y, idx, true);
    else if (FDisabledImages && list == FImages) FDisabledImages->Draw(c, x, y, idx, true);
    else list->Draw(c, x, y, idx, false);
  };
  switch (Panel->Style()) {
    case psHTML: {
      TRect h{r.Left + Panel->HTMLOffsetX(), r.Top + Panel->HTMLOffsetY(), r.Right, r.Bottom};
      if (align != taLeftJustify) {
        std::string anchor;
        int w = 0;
        MarkupCall(Panel->Text(), h, 1, 0, 0, anchor, w);
        if (h.Right - h.Left > w) {
          if (align == taRightJustify) h.Left = h.Right - w - Panel->HTMLOffsetX();
          else h.Left += (h.Right - h.Left - w) / 2;
        }
      }
      std::string anchor;
      int w = 0;
      MarkupCall(Panel->Text(), h, 0, 0, 0, anchor, w);
      break;
    }
    case psProgress: {
      TProgressStyle* p = Panel->Progress();
      TGaugeSettings g;
      g.Level0Color = p->Level0Color();
      g.Level0ColorTo = p->Level0ColorTo();
      g.Level1Color = p->Level1Color();
      g.Level1ColorTo = p->Level1ColorTo();
      g.Level2Color = p->Level2Color();
      g.Level2ColorTo = p->Level2ColorTo();
      g.Level3Color = p->Level3Color();
      g.Level3ColorTo = p->Level3ColorTo();
      g.Level1Perc = p->Level1Perc();
      g.Level2Perc = p->Level2Perc();
      g.ShowBorder = p->ShowBorder();
      g.Stacked = p->Stacked();
      g.ShowPercentage = p->ShowPercentage();
      g.ValueIsPercentage = p->Indication() == piPercentage;
      g.CompletionSmooth = p->CompletionSmooth();
      g.ShowGradient = p->ShowGradient();
      g.Font = c->Font();
      g.Steps = 11;
      g.BackGround = p->BackGround();
      g.BorderColor = p->BorderColor();
      g.Position = p->Position();
      g.Suffix = p->Suffix();
      g.Prefix = p->Prefix();
      g.Text = Panel->Text();
      DrawGauge(c, r, GaugePercent(p->Min(), p->Max(), p->Position()), g);
      break;
    }
    case psImage:
      if (FImages) {
        const int iw = FImages->GetWidth(), ih = FImages->GetHeight();
        int x = align == taRightJustify ? r.Right - iw - 2 : r.Left + 2;
        if (align != taRightJustify) r.Left = x;
        drawImage(FImages, x, r.Top + (r.Bottom - r.Top - ih) / 2, Panel->ImageIndex());
        if (align == taRightJustify) r.Right -= iw;
        else r.Left += iw;
      }
      r.Left += 2;
      write(Panel->Text(), align, E | alignFlags(Panel->Alignment()), r, true);
      break;
    case psImageList:
      if (FImages && Panel->ImageCount() > 0)
        for (int i = 0; i < Panel->ImageCount(); ++i) {
          r.Left += 2;
          drawImage(FImages, r.Left, r.Top + (r.Bottom - r.Top - FImages->GetHeight()) / 2, Panel->GetImageIndexes(i));
          r.Left += FImages->GetWidth();
        }
      break;
    case psAnimation:
      if (Panel->AnimationImages()) {
        TCustomImageList* frames = Panel->AnimationImages();
        r.Left += 2;
        frames->Draw(c, r.Left, r.Top + (r.Bottom - r.Top - frames->GetHeight()) / 2,
                     Panel->Animated() ? Panel->AnimationFrame : 0, Panel->Enabled());
        r.Left += frames->GetWidth();
      }
      r.Left += 2;
      write(Panel->Text(), Panel->Alignment(), E | alignFlags(Panel->Alignment()), r, true);
      break;
    case psEllipsText: {
      UINT flags = E;
      if (align == taLeftJustify) r.Left += 2;
      else flags |= alignFlags(align);
      write(Panel->Text(), Panel->Alignment(), flags, r, true);
      break;
    }
    case psFileEllipsText: {
      UINT flags = Pf;
      if (align == taLeftJustify) r.Left += 2;
      else flags |= alignFlags(align);
      write(Panel->Text(), Panel->Alignment(), flags, r, false);
      break;
    }
    case psOwnerDraw:
      if (OnDrawPanel) {
        OnDrawPanel(this, Panel, R);
        break;
      }
      [[fallthrough]];
    default:
      r.Left += 2;
      r.Right -= 2;
      write(Panel->Text(), Panel->Alignment(), E | alignFlags(align), r, true);
      break;
  }
  c->Brush()->SetStyle(bsSolid);
}

void TDizOfficeStatusBar::DrawSimplePanel() {
  TCanvas* c = Canvas();
  TVistaBackground* a = FCurrentStyler->PanelAppearanceLight();
  DrawTwoPartGradient(c, TRect{0, 0, Width(), Height()}, a->Color(), a->ColorTo(), a->ColorMirror(),
                      a->ColorMirrorTo(), clNone);
  c->Font()->Assign(Font());
  c->Font()->SetColor(a->TextColor());
  c->Brush()->SetStyle(bsClear);
  TRect r = GetSimplePanelRect();
  r.Left += 2;
  r.Top += 2;
  std::string anchor;
  int w = 0;
  MarkupCall(FSimpleText, r, 0, 0, 0, anchor, w);
  c->Brush()->SetStyle(bsSolid);
}

void TDizOfficeStatusBar::DrawSizeGrip(const TRect& R) {
  TCanvas* c = Canvas();
  const int l = R.Left, b = R.Bottom;
  const TPoint squares[] = {{l + 5, b - 4}, {l + 9, b - 4}, {l + 13, b - 4}, {l + 13, b - 8}, {l + 13, b - 12}, {l + 9, b - 8}};
  auto draw = [&](TColor color, int shift) {
    c->Pen()->SetColor(color);
    c->Brush()->SetColor(color);
    c->Brush()->SetStyle(bsSolid);
    for (const TPoint& p : squares) c->FillRect(TRect{p.X - shift, p.Y - shift, p.X - shift + 2, p.Y - shift + 2});
  };
  draw(BlendColor(FCurrentStyler->PanelAppearanceDark()->Color(), clWhite, 50), 0);
  draw(FCurrentStyler->BorderColor(), 1);
}

void TDizOfficeStatusBar::DrawFrameCorners() {
  // The corners belong to the office-style form of the ribbon pager; a bar on any other
  // parent draws none.
  if (!Parent() || std::string(Parent()->ClassType()->Name) != "TVivIzizEzuForm" || IsVista()) return;
  TColor color = clGray;
  if (FStyler && FStyler->BorderColor() != clNone) color = FStyler->BorderColor();
  if (color == clWhite) color = clBlack;
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(color);
  const int h = Height(), w = Width();
  auto line = [c](int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  line(0, h - 7, 0, h);
  line(1, h - 4, 1, h);
  line(0, h - 1, 7, h - 1);
  line(1, h - 2, 4, h - 2);
  line(w - 1, h - 7, w - 1, h);
  line(w - 2, h - 4, w - 2, h);
  line(w - 1, h - 1, w - 8, h - 1);
  line(w - 1, h - 2, w - 5, h - 2);
}
