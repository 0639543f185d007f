// VezIdid, cell adornments: the payload a cell graphic owns, the size of a cell picture and
// the Add operations of the kinds the graphic layer draws.
#include <cmath>

#include "grid/VezIdid.h"

// ---------------------------------------------------------------------------------------
// The graphic object.
TCellGraphic::~TCellGraphic() { FreePayload(); }

void TCellGraphic::FreePayload() {
  bool owned = false;
  switch (CellType) {
    case ctImages:
    case ctBalloon: owned = true; break;
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton: owned = CellCreated; break;
    case ctIcon:
      if (CellCreated) delete CellRef2.Object;
      CellRef2.Object = nullptr;
      break;
    default: break;
  }
  if (owned) delete CellRef.Object;
  CellRef.Object = nullptr;
  CellCreated = false;
}

void TCellGraphic::GetPictureSize(int& Width, int& Height, bool) {
  int w = 0, h = 0;
  if (CellType == ctPicture) {
    auto* p = dynamic_cast<TPicture*>(CellRef.Object);
    if (!p) return;
    w = p->GetWidth();
    h = p->GetHeight();
  } else if (CellType == ctFilePicture) {
    auto* p = dynamic_cast<TFilePicture*>(CellRef.Object);
    if (!p) return;
    w = p->Width();
    h = p->Height();
  } else {
    return;
  }
  const int aw = Width - CellIndex, ah = Height - CellIndex;
  // Rounding to the nearest, halves to even (the default rounding mode).
  auto aspect = [&](double rx, double ry) {
    if (rx < ry) {
      Width = aw;
      Height = static_cast<int>(std::nearbyint(h * rx));
    } else {
      Width = static_cast<int>(std::nearbyint(w * ry));
      Height = ah;
    }
  };
  switch (static_cast<TStretchMode>(CellAngle)) {
    case Stretch:
      Width = aw;
      Height = ah;
      break;
    case Shrink:
      if (w > aw || h > ah) {
        Width = aw;
        Height = ah;
      } else {
        Width = w;
        Height = h;
      }
      break;
    case StretchWithAspectRatio:
      aspect(w > 0 ? double(aw) / w : 1.0, h > 0 ? double(ah) / h : 1.0);
      break;
    case ShrinkWithAspectRatio:
      if (w <= aw && h <= ah) {
        Width = w;
        Height = h;
      } else {
        aspect(std::min(w > 0 ? double(aw) / w : 1.0, 1.0), std::min(h > 0 ? double(ah) / h : 1.0, 1.0));
      }
      break;
    default:
      Width = w;
      Height = h;
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Add operations.
TCellGraphic* TDavEvadurAvuz::FreshGraphic(int ACol, int ARow, TCellType Kind) {
  TCellGraphic* g = nullptr;
  NewGraphic(ACol, ARow, g);
  g->FreePayload();
  g->CellType = Kind;
  g->CellRef = g->CellRef2 = TCellPayload{};
  g->CellHAlign = haLeft;
  g->CellVAlign = vaTop;
  g->CellIndex = g->CellAngle = g->CellErrFrom = g->CellErrLen = 0;
  g->CellTransparent = g->CellBoolean = false;
  g->CellValue = 0;
  g->CellText.clear();
  g->CellStrings = nullptr;
  g->CellVariant = -1;
  return g;
}

void TDavEvadurAvuz::AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign,
                               TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctBitmap);
  g->CellRef.Object = ABitmap;
  g->CellTransparent = Transparent;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctIcon);
  g->CellRef2.Object = AIcon;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!FGridImages) return;
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctImageList);
  g->CellIndex = Index;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!FGridImages) return;
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctDataImage);
  g->CellIndex = Index;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign HAlign, TCellVAlign VAlign) {
  if (!FGridImages) return;
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctImages);
  auto* list = new TIntList(ACol, ARow);
  // A change of the list shows at once.
  list->OnChange = [this, ACol, ARow](TObject*, int, int) { RepaintCell(RemapColInv(ACol), ARow); };
  g->CellRef.Object = list;
  g->CellCreated = true;
  g->CellBoolean = Dir == 0;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

TIntList* TDavEvadurAvuz::GetCellImages(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctImages ? dynamic_cast<TIntList*>(g->CellRef.Object) : nullptr;
}

void TDavEvadurAvuz::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctPicture);
  g->CellRef.Object = APicture;
  g->CellTransparent = Transparent;
  g->CellAngle = StretchMode;
  g->CellIndex = Padding;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctFilePicture);
  g->CellRef.Object = APicture;
  g->CellTransparent = Transparent;
  g->CellAngle = StretchMode;
  g->CellIndex = Padding;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddRotated(int ACol, int ARow, int Angle, const std::string& Text) {
  FreshGraphic(ACol, ARow, ctRotated)->SetAngle(Angle);
  SetCellEx(ACol, ARow, Text);
}

void TDavEvadurAvuz::AddProgress(int ACol, int ARow, TColor BarColor, TColor BackgroundColor) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctProgress);
  g->CellRef.Color = BarColor;
  g->CellRef2.Color = BackgroundColor;
  g->CellErrFrom = 0;
  g->CellErrLen = 100;
  if (AutoNumAlign) GetCellProperties(ACol, ARow)->Alignment = taRightJustify;
}

void TDavEvadurAvuz::AddProgressEx(int ACol, int ARow, TColor BarColor, TColor BarTextColor, TColor BackgroundColor,
                                   TColor BackgroundTextColor) {
  AddProgress(ACol, ARow, BarColor, BackgroundColor);
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  g->CellIndex = BarTextColor;
  g->CellAngle = BackgroundTextColor;
  g->CellBoolean = true;
}

void TDavEvadurAvuz::AddProgressFormatted(int ACol, int ARow, TColor BarColor, TColor BarTextColor,
                                          TColor BackgroundColor, TColor BackgroundTextColor,
                                          const std::string& Format, int Min, int Max) {
  AddProgressEx(ACol, ARow, BarColor, BarTextColor, BackgroundColor, BackgroundTextColor);
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  g->CellText = Format;
  g->CellErrFrom = Min;
  g->CellErrLen = Max;
}

void TDavEvadurAvuz::AddDizProgress(int ACol, int ARow, int Min, int Max) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctXPProgress);
  g->CellErrFrom = Min;
  g->CellErrLen = Max;
}

void TDavEvadurAvuz::AddProgressPie(int ACol, int ARow, TColor AColor, int Value) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctProgressPie);
  g->CellRef.Color = AColor;
  g->CellAngle = Value;
  g->CellHAlign = haBeforeText;
}

void TDavEvadurAvuz::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctRangeIndicator);
  g->CellIndex = Range;
  g->CellRef.Color = NegColor;
  g->CellRef2.Color = PosColor;
  g->CellBoolean = ShowValue;
}

void TDavEvadurAvuz::AddComment(int ACol, int ARow, const std::string& Comment) {
  AddColorComment(ACol, ARow, Comment, clNone);
}

void TDavEvadurAvuz::AddColorComment(int ACol, int ARow, const std::string& Comment, TColor AColor) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctComment);
  g->CellText = Comment;
  g->CellAngle = static_cast<int>(AColor);
}

void TDavEvadurAvuz::AddBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                                  TBitmap* Glyph, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctBitButton);
  g->CellIndex = (Width & 0xFFFF) | ((Height & 0xFFFF) << 16);
  g->CellText = Caption;
  g->CellRef.Object = Glyph;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddInterfacedCell(int ACol, int ARow, TObject* Object) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctInterface);
  g->CellRef.Object = Object;
}

void TDavEvadurAvuz::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctShape);
  g->CellAngle = Shape;
  g->CellIndex = static_cast<int>(FillColor);
  g->CellRef.Color = LineColor;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
}

void TDavEvadurAvuz::AddRating(int ACol, int ARow, int Scale, TColor AColor, TColor EmptyColor) {
  TCellGraphic* g = FreshGraphic(ACol, ARow, ctRating);
  g->CellAngle = Scale;
  g->CellIndex = static_cast<int>(AColor);
  g->CellRef.Color = EmptyColor;
}
