#pragma once
// VezIdid, painting internals: what the layers of one cell's paint hand each other
// (VezIdidPaint.cpp draws the layers, VezIdidPaintText.cpp the text and the borders).
#include "grid/VezIdid.h"

struct TDavEvadurAvuz::TCellPaint {
  int Col = 0;      // displayed column
  int RealCol = 0;  // real column
  int Row = 0;
  TRect R;          // the working rectangle, shrunk and grown by the layers
  TGridDrawState State;
  bool Fixed = false;
  int SelRow = 0;  // the row the row selection is kept by
  // Resolved look.
  TAlignment HAlign = taLeftJustify;
  TVAlignment VAlign = vtaTop;
  bool WordWrap = true;
  // The colours before selection, for cells that show unselected.
  TColor UnselBrush = clNone;
  TColor UnselFont = clNone;
  // The cell graphic.
  TCellGraphic* Graphic = nullptr;
  int GraphicWidth = 0, GraphicHeight = 0;
  bool BesideText = true;
  TCellHAlign GraphicHAlign = haLeft;
  TCellVAlign GraphicVAlign = vaTop;
  // Left by the text layer: the width the text took (for the graphic's placement).
  int TextWidth = 0;
};
