// DizDropDown: shared drawing and text routines of the drop-down editors.
#include "editors/DizDropDown.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace DizDropDown {
namespace {
// Rounds to the nearest integer, halves to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
int R_(COLORREF c) { return c & 0xFF; }
int G_(COLORREF c) { return (c >> 8) & 0xFF; }
int B_(COLORREF c) { return (c >> 16) & 0xFF; }
TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }
}  // namespace

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Direction) {
  if (!Canvas) return;
  if (Steps <= 0) Steps = 1;
  COLORREF f = ColorToRGB(FromColor), t = ColorToRGB(ToColor);
  double s = Direction ? static_cast<double>(R.Right - 1 - R.Left) / Steps
                       : static_cast<double>(R.Bottom - 1 - R.Top) / Steps;
  double dr = static_cast<double>(R_(t) - R_(f)) / Steps, dg = static_cast<double>(G_(t) - G_(f)) / Steps,
         db = static_cast<double>(B_(t) - B_(f)) / Steps;
  int band = RoundEven(s);
  for (int i = 0; i < Steps; ++i) {
    TColor c = Rgb(R_(f) + RoundEven(i * dr), G_(f) + RoundEven(i * dg), B_(f) + RoundEven(i * db));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    if (Direction) {
      int x = R.Left + RoundEven(i * s);
      Canvas->FillRect(TRect{x, R.Top, x + band + 1, R.Bottom});
    } else {
      int y = R.Top + RoundEven(i * s);
      Canvas->FillRect(TRect{R.Left, y, R.Right, y + band + 1});
    }
  }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  COLORREF a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  if (Percent >= 100) return static_cast<TColor>(a);
  if (Percent <= 0) return static_cast<TColor>(b);
  double p = Percent / 100.0;
  return Rgb(RoundEven(p * R_(a) + (1 - p) * R_(b)), RoundEven(p * G_(a) + (1 - p) * G_(b)),
             RoundEven(p * B_(a) + (1 - p) * B_(b)));
}

TColor BrightnessColor(TColor Color, int PercentR, int PercentG, int PercentB) {
  COLORREF c = ColorToRGB(Color);
  auto channel = [](int v, int p) {
    if (v == 0) return std::clamp(p, 0, 255);
    return std::clamp(RoundEven(std::min(100, p + 100) / 100.0 * v), 0, 255);
  };
  return Rgb(channel(R_(c), PercentR), channel(G_(c), PercentG), channel(B_(c), PercentB));
}

TColor BrightnessColor(TColor Color, int Percent) { return BrightnessColor(Color, Percent, Percent, Percent); }

void DrawGradientRect(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                      TColor BorderColor, int BorderWidth) {
  if (!Canvas) return;
  if (ColorTo != clNone) {
    DrawGradient(Canvas, Color, ColorTo, 80, R, Direction == gdHorizontal);
  } else if (Color != clNone) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
  }
  if (BorderColor != clNone && BorderWidth > 0) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(BorderColor);
    Canvas->Pen()->SetWidth(BorderWidth);
    Canvas->Rectangle(R);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

TSize GetTextSize(TCanvas* Canvas, const std::string& Text) {
  if (Text.empty() || !Canvas) return TSize{0, 0};
  TRect r{0, 0, 1000, 500};
  std::string t = Text;
  Canvas->TextRect(r, t, TTextFormat{tfCalcRect, tfSingleLine});
  return TSize{r.Right, r.Bottom};
}

std::string GetTextOfSize(TCanvas* Canvas, const std::string& Text, int Width, bool Ellipsis) {
  if (!Canvas || Width >= GetTextSize(Canvas, Text).cx) return Text;
  // Cut whole UTF-8 characters.
  std::vector<size_t> starts;
  for (size_t i = 0; i < Text.size(); ++i)
    if ((static_cast<unsigned char>(Text[i]) & 0xC0) != 0x80) starts.push_back(i);
  for (size_t k = 1; k <= starts.size(); ++k) {
    std::string c = Text.substr(0, starts[starts.size() - k]) + (Ellipsis ? "..." : "");
    if (GetTextSize(Canvas, c).cx < Width) return c;
  }
  return Text;
}

std::string CaseFold(const std::string& Text, bool CaseSensitive) {
  return CaseSensitive ? Text : AnsiUpperCase(Text);
}

}  // namespace DizDropDown

void* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw Exception("Index out of bounds in list read access");
  return Get(Index);
}

void TDbgList::SetItemsEx(int Index, void* Item) {
  if (Index >= Count()) throw Exception("Index out of bounds in list write access");
  Put(Index, Item);
}

void TDbgList::AssignList(const TList* List) {
  Clear();
  if (!List) return;
  for (int i = 0; i < List->Count(); ++i) Add(List->Get(i));
}
