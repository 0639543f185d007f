// VezIdid, cell graphics: the size and placement of a cell's adornment and its drawing.
#include "grid/VezIdid.h"

TCellGraphic* TDavEvadurAvuz::GetGraphicDetails(int, int, int& Width, int& Height, bool& BesideText,
                                                TCellHAlign& HAlign, TCellVAlign& VAlign) {
  Width = Height = 0;
  BesideText = true;
  HAlign = haLeft;
  VAlign = vaTop;
  return nullptr;
}

void TDavEvadurAvuz::DrawCheck(const TRect&, bool, bool, TGridControlStyle) {}

void TDavEvadurAvuz::DrawRadio(TCanvas*, const TRect&, int, int, bool, bool, TStrings*, bool, int, int,
                               TGridControlStyle, double, bool) {}

void TDavEvadurAvuz::DrawSortIndicator(TCanvas*, int, int, int) {}

void TDavEvadurAvuz::DrawGraphicLayer(TCanvas*, int, int, TRect, TGridDrawState, TCellGraphic*, TVAlignment,
                                      TAlignment, int) {}
