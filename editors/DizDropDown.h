#pragma once
// DizDropDown: the drawing and text routines the drop-down editors, their pop-up strips
// and the grid share: a band gradient, colour arithmetic, a framed fill, one-line text
// measuring and cutting, and an index-checked pointer list. They keep no state.
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/vcl/Graphics.h"

namespace DizDropDown {

enum TGradientDirection { gdHorizontal, gdVertical };

// Steps colour bands from FromColor to ToColor over R: left to right when Direction holds,
// else top to bottom. Steps 0 counts as 1.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Direction);
// Percent of Color1 mixed with the rest of Color2 (100 or more: Color1; 0 or less: Color2).
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
// A negative percentage darkens a channel by that share; a positive one lifts only an
// empty channel, to the percentage itself.
TColor BrightnessColor(TColor Color, int Percent);
TColor BrightnessColor(TColor Color, int PercentR, int PercentG, int PercentB);
// R filled with a gradient (ColorTo not clNone, 80 bands) or with Color, then framed.
void DrawGradientRect(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                      TColor BorderColor, int BorderWidth);
// The width and height of Text drawn on one line; (0, 0) for no text.
TSize GetTextSize(TCanvas* Canvas, const std::string& Text);
// Text cut (by characters) until narrower than Width, with "..." when Ellipsis holds; the
// whole text when it fits or when nothing fits.
std::string GetTextOfSize(TCanvas* Canvas, const std::string& Text, int Width, bool Ellipsis);
// Text as is, or upper-cased when the comparison ignores case.
std::string CaseFold(const std::string& Text, bool CaseSensitive);

}  // namespace DizDropDown

// A pointer list whose item access checks the index.
class TDbgList : public TList {
public:
  void* GetItemsEx(int Index) const;
  void SetItemsEx(int Index, void* Item);
  void AssignList(const TList* List);
};
