// VezIdid, the adornment families beyond the Add operations: the graphic object's own
// setters, the one way a cell gets, loses and measures its graphic, the shared row check
// box, and the Create, Get, Set and Remove members of every kind.
#include <algorithm>
#include <cmath>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"

static const TEnumInfo* CellTypeNames = RegisterEnum(
    "TCellType",
    {"ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
     "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress", "ctComment",
     "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
     "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
     "ctRating"});
static const TEnumInfo* CellHAlignNames =
    RegisterEnum("TCellHAlign", {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"});
static const TEnumInfo* CellVAlignNames =
    RegisterEnum("TCellVAlign", {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"});

void TCellGraphic::Publish(TClassBuilder<TCellGraphic>& P) {
  using S = TCellGraphic;
  P.Enum("CellType", CellTypeNames, &S::CellType, &S::CellType)
      .Enum("CellVAlign", CellVAlignNames, &S::CellVAlign, &S::CellVAlign)
      .Enum("CellHAlign", CellHAlignNames, &S::CellHAlign, &S::CellHAlign)
      .Int("CellIndex", &S::CellIndex, &S::CellIndex)
      .Bool("CellTransparent", &S::CellTransparent, &S::CellTransparent)
      .Bool("CellCreated", &S::CellCreated, &S::CellCreated)
      .Bool("CellBoolean", &S::CellBoolean, &S::CellBoolean)
      .Int("CellAngle", &S::CellAngle, &S::CellAngle)
      .Float("CellValue", &S::CellValue, &S::CellValue)
      .Int("CellErrFrom", &S::CellErrFrom, &S::CellErrFrom)
      .Int("CellErrLen", &S::CellErrLen, &S::CellErrLen)
      .Str("CellText", &S::CellText, &S::CellText);
}

// ---------------------------------------------------------------------------------------
// The graphic object.
void TCellGraphic::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCellGraphic*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  CellType = s->CellType;
  CellVAlign = s->CellVAlign;
  CellHAlign = s->CellHAlign;
  CellIndex = s->CellIndex;
  CellTransparent = s->CellTransparent;
  CellValue = s->CellValue;
  CellAngle = s->CellAngle;
  CellBoolean = s->CellBoolean;
  CellErrFrom = s->CellErrFrom;
  CellErrLen = s->CellErrLen;
  CellText = s->CellText;
  CellCreated = s->CellCreated;
}

void TCellGraphic::SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctBitmap;
  CellRef.Object = ABitmap;
  CellTransparent = Transparent;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetIcon(TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctIcon;
  CellRef2.Object = AIcon;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                              TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctPicture;
  CellRef.Object = APicture;
  CellTransparent = Transparent;
  CellAngle = StretchMode;
  CellIndex = Padding;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctFilePicture;
  CellRef.Object = APicture;
  CellTransparent = Transparent;
  CellAngle = StretchMode;
  CellIndex = Padding;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = Data ? ctDataCheckBox : ctCheckBox;
  CellBoolean = Value;
  CellTransparent = Flat;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctRadioButton;
  CellBoolean = Value;
  CellTransparent = Flat;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetButton(int Width, int Height, const std::string& Caption, TCellHAlign HAlign,
                             TCellVAlign VAlign) {
  CellType = ctButton;
  CellIndex = static_cast<int>((static_cast<unsigned>(Width) & 0xFFFFu) | ((static_cast<unsigned>(Height) & 0xFFFFu) << 16));
  CellBoolean = false;
  CellText = Caption;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetBitButton(int Width, int Height, const std::string& Caption, TBitmap* Glyph,
                                TCellHAlign HAlign, TCellVAlign VAlign) {
  SetButton(Width, Height, Caption, HAlign, VAlign);
  CellType = ctBitButton;
  CellRef.Object = Glyph;
}

void TCellGraphic::SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctImageList;
  CellIndex = Index;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetDataImage(int Index, TCellHAlign HAlign, TCellVAlign VAlign) {
  CellType = ctDataImage;
  CellIndex = Index;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign HAlign, TCellVAlign VAlign,
                                 std::function<void(TObject*, int, int)> OnChange) {
  CellType = ctImages;
  CellBoolean = Dir == 0;
  auto* list = new TIntList(ACol, ARow);
  list->OnChange = std::move(OnChange);
  CellRef.Object = list;
  CellCreated = true;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
}

void TCellGraphic::SetInterfacedCell(TObject* Object) {
  CellType = ctInterface;
  CellRef.Object = Object;
}

void TCellGraphic::SetAngle(int Angle) {
  CellType = ctRotated;
  int a = static_cast<int16_t>(Angle);
  while (a < 0) a += 360;
  while (a > 360) a -= 360;
  CellAngle = a;
}

// ---------------------------------------------------------------------------------------
// Getting, making and losing a cell's graphic.
TCellGraphic* TDavEvadurAvuz::GetCellGraphic(int ACol, int ARow) {
  if (ACol == 0 && ARow >= 0 && FMouseActions->HotmailRowSelect()) {
    FRowCheckBox->CellType = ctRowCheckBox;
    FRowCheckBox->CellTransparent = FControlLook->ControlStyle() == csFlat;
    FRowCheckBox->CellBoolean = ARow < GetAllRowCount() && GetRowSelect(ARow);
    return FRowCheckBox.get();
  }
  if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount()) return nullptr;
  TPoint b = BaseCell(ACol, ARow);
  return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(b.X, b.Y));
}

TCellGraphic* TDavEvadurAvuz::CreateCellGraphic(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= TotalRowCount()) throw Exception("Invalid cell");
  TObject* old = GetGraphicObjectEx(ACol, ARow);
  // Another kind of object in the slot is not ours to free; a cell has one adornment.
  if (old && !dynamic_cast<TCellGraphic*>(old)) throw Exception("Invalid cell");
  auto fresh = std::make_unique<TCellGraphic>();
  if (old) {
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (old != FRowCheckBox.get()) delete old;
  }
  SetGraphicObjectEx(ACol, ARow, fresh.get());
  TCellGraphic* g = fresh.release();
  if (NumHiddenColumns() > 0) {
    const int dc = RemapColInv(ACol);
    if (dc != ACol && dc >= 0 && dc < ColCount() && ARow < RowCount()) RepaintCell(dc, ARow);
  }
  return g;
}

void TDavEvadurAvuz::NewGraphic(int ACol, int ARow, TCellGraphic*& G) { G = CreateCellGraphic(ACol, ARow); }

bool TDavEvadurAvuz::FreeCellGraphic(int ACol, int ARow) {
  if (!GetCellGraphic(ACol, ARow)) return false;
  if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount()) return true;  // the shared box
  TPoint b = BaseCell(ACol, ARow);
  auto* own = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(b.X, b.Y));
  if (!own) return true;
  SetGraphicObjectEx(b.X, b.Y, nullptr);
  if (own != FRowCheckBox.get() && own->CellType != ctVirtCheckBox && own->CellType != ctRowCheckBox) delete own;
  return true;
}

bool TDavEvadurAvuz::RemoveCellGraphic(int ACol, int ARow, TCellType Type) {
  if (GetCellType(ACol, ARow) != Type) return false;
  return FreeCellGraphic(ACol, ARow);
}

TPoint TDavEvadurAvuz::GetCellGraphicSize(int ACol, int ARow) {
  TPoint r{0, 0};
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return r;
  const bool text = !GetCellEx(ACol, ARow).empty();
  const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
  const bool stacked = g->CellVAlign == vaUnderText || g->CellVAlign == vaAboveText;
  switch (g->CellType) {
    case ctBitmap:
      if (auto* b = dynamic_cast<TBitmap*>(g->CellRef.Object)) {
        if (beside || !text) r.X = b->GetWidth();
        if (stacked || !text) r.Y = b->GetHeight();
      }
      break;
    case ctIcon:
      if (auto* i = dynamic_cast<TIcon*>(g->CellRef2.Object)) {
        if (beside || !text) r.X = i->GetWidth();
        r.Y = i->GetHeight();
      }
      break;
    case ctImageList:
    case ctDataImage:
      if (FGridImages) {
        if (beside || !text) r.X = FGridImages->GetWidth();
        if (stacked || !text) r.Y = FGridImages->GetHeight();
      }
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: r = {FControlLook->CheckBoxSize(), FControlLook->CheckBoxSize()}; break;
    case ctRadioButton: r = {FControlLook->RadioSize(), FControlLook->RadioSize()}; break;
    case ctRadio: {
      TCanvas* c = Canvas();
      c->Font()->Assign(Font());
      const int th = c->TextHeight("gh");
      TStrings* opts = g->CellStrings;
      const int n = opts ? opts->Count() : 0;
      if (g->CellBoolean) {
        r.Y = th;
        for (int i = 0; i < n; ++i) r.X += c->TextWidth(opts->Strings(i)) + 12;
      } else {
        r.X = 12;
        for (int i = 0; i < n; ++i) r.X = std::max(r.X, c->TextWidth(opts->Strings(i)) + 12);
        r.Y = std::max(16, th) * n;
      }
      break;
    }
    case ctImages:
      if (auto* l = dynamic_cast<TIntList*>(g->CellRef.Object); l && FGridImages) {
        const int n = l->Count(), w = FGridImages->GetWidth(), h = FGridImages->GetHeight();
        r = g->CellBoolean ? TPoint{n * w, h} : TPoint{w, n * h};
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      TPoint cs = CellSize(ACol, ARow);
      g->GetPictureSize(cs.X, cs.Y, text);
      r = cs;
      break;
    }
    case ctButton:
    case ctBitButton:
      r = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
      if (text) {
        if (!stacked) r.Y = 0;
        if (stacked || g->CellHAlign == haCenter) r.X = 0;
      } else if (g->CellHAlign == haFull) {
        Canvas()->Font()->Assign(Font());
        r.X = Canvas()->TextWidth(g->CellText) + 4;
      }
      break;
    case ctProgressPie: r = {20, 20}; break;
    case ctInterface:
      if (auto* i = dynamic_cast<ICellGraphic*>(g->CellRef.Object)) r = {i->CellWidth(), i->CellHeight()};
      break;
    default: break;
  }
  const bool captionButton = (g->CellType == ctButton || g->CellType == ctBitButton) && !text && !g->CellText.empty();
  if (g->CellVAlign == vaFull || (g->CellHAlign == haFull && !captionButton)) {
    TRect cr = CellRect(RemapColInv(ACol), ARow);
    if (g->CellVAlign == vaFull) r.Y = cr.Height();
    if (g->CellHAlign == haFull) r.X = cr.Width();
  }
  return r;
}

void TDavEvadurAvuz::GetPrintGraphicSize(int ACol, int ARow, int& Width, int& Height, double Scale) {
  int w = 0, h = 0;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (g) {
    const bool text = !GetCellEx(ACol, ARow).empty();
    const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
    switch (g->CellType) {
      case ctBitmap:
        if (auto* b = dynamic_cast<TBitmap*>(g->CellRef.Object)) w = b->GetWidth(), h = b->GetHeight();
        break;
      case ctIcon:
        if (auto* i = dynamic_cast<TIcon*>(g->CellRef2.Object)) w = i->GetWidth(), h = i->GetHeight();
        break;
      case ctImageList:
        if (FGridImages) {
          if (beside || !text) w = FGridImages->GetWidth();
          h = FGridImages->GetHeight();
        }
        break;
      case ctDataImage:
        if (FGridImages) w = FGridImages->GetWidth(), h = FGridImages->GetHeight();
        break;
      case ctNode: w = h = 20; break;
      case ctCheckBox:
      case ctDataCheckBox:
      case ctVirtCheckBox:
      case ctRowCheckBox: w = h = FControlLook->CheckBoxSize(); break;
      case ctRadioButton: w = h = FControlLook->RadioSize(); break;
      case ctRadio: {
        TCanvas* c = Canvas();
        c->Font()->Assign(Font());
        const int th = c->TextHeight("gh");
        TStrings* opts = g->CellStrings;
        const int n = opts ? opts->Count() : 0;
        if (g->CellBoolean) {
          h = th;
          for (int i = 0; i < n; ++i) w += c->TextWidth(opts->Strings(i)) + 12;
        } else {
          w = 12;
          for (int i = 0; i < n; ++i) w = std::max(w, c->TextWidth(opts->Strings(i)) + 12);
          h = th * n;
        }
        break;
      }
      case ctImages:
        if (auto* l = dynamic_cast<TIntList*>(g->CellRef.Object); l && FGridImages) {
          const int n = l->Count(), iw = FGridImages->GetWidth(), ih = FGridImages->GetHeight();
          if (g->CellBoolean) w = n * iw, h = ih;
          else w = iw, h = n * ih;
        }
        break;
      case ctPicture:
      case ctFilePicture:
        w = Width;
        h = Height;
        g->GetPictureSize(w, h, text);
        if (Scale != 0) {
          w = static_cast<int>(std::nearbyint(w / Scale));
          h = static_cast<int>(std::nearbyint(h / Scale));
        }
        break;
      case ctProgress:
      case ctXPProgress: {
        const int dc = RemapColInv(ACol);
        w = dc >= 0 && dc < ColCount() ? ColWidths(dc) : 0;
        h = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
        break;
      }
      case ctButton:
      case ctBitButton: w = g->CellIndex & 0xFFFF, h = (g->CellIndex >> 16) & 0xFFFF; break;
      case ctProgressPie: w = h = 20; break;
      case ctShape: w = h = (ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0) - 2 * XYOffset.Y; break;
      case ctInterface:
        if (auto* i = dynamic_cast<ICellGraphic*>(g->CellRef.Object)) w = i->CellWidth(), h = i->CellHeight();
        break;
      default: break;
    }
  }
  Width = w;
  Height = h;
}

intptr_t TDavEvadurAvuz::GetCellImageIdx(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return -1;
  switch (g->CellType) {
    case ctImageList: return g->CellIndex;
    case ctBitmap: return reinterpret_cast<intptr_t>(g->CellRef.Object);
    case ctIcon: return reinterpret_cast<intptr_t>(g->CellRef2.Object);
    default: return -1;
  }
}

std::string TDavEvadurAvuz::GetDisplText(int ACol, int ARow, const std::string& Value) {
  std::string s = TBaseGrid::GetDisplText(ACol, ARow, Value);
  if (FURLShowInText) {
    static const char* const kPrefixes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FTP://"};
    for (const char* p : kPrefixes) {
      std::string linked;
      if (MakeHTMLHyperlink(s, p, linked)) {
        s = linked;
        break;
      }
    }
  }
  if (FGrouping->ShowGroupCount && ACol == 1 && IsNode(ARow)) {
    TCellGraphic* g = GetCellGraphic(0, ARow);
    const int n = g ? g->CellIndex - (g->CellErrFrom + 1) : 0;
    s += FGrouping->GroupCountFormat.empty() ? " (" + std::to_string(n) + ")"
                                            : Format(FGrouping->GroupCountFormat, n);
  }
  return s;
}

// ---------------------------------------------------------------------------------------
// Create, Get and Remove of the kinds with payloads.
namespace {
template <class T>
T* PayloadOf(TCellGraphic* G, TCellType Kind) {
  return G && G->CellType == Kind ? dynamic_cast<T*>(G->CellRef.Object) : nullptr;
}
}  // namespace

TBitmap* TDavEvadurAvuz::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* b = new TBitmap();
  g->SetBitmap(b, Transparent, HAlign, VAlign);
  g->CellCreated = true;
  return b;
}

TBitmap* TDavEvadurAvuz::GetBitmap(int ACol, int ARow) { return PayloadOf<TBitmap>(GetCellGraphic(ACol, ARow), ctBitmap); }
bool TDavEvadurAvuz::RemoveBitmap(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctBitmap); }

TPicture* TDavEvadurAvuz::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* p = new TPicture();
  g->SetPicture(p, Transparent, StretchMode, Padding, HAlign, VAlign);
  g->CellCreated = true;
  return p;
}

TPicture* TDavEvadurAvuz::GetPicture(int ACol, int ARow) {
  return PayloadOf<TPicture>(GetCellGraphic(ACol, ARow), ctPicture);
}
bool TDavEvadurAvuz::RemovePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctPicture); }

TFilePicture* TDavEvadurAvuz::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* p = new TFilePicture();
  g->SetFilePicture(p, Transparent, StretchMode, Padding, HAlign, VAlign);
  g->CellCreated = true;
  return p;
}

TFilePicture* TDavEvadurAvuz::GetFilePicture(int ACol, int ARow) {
  return PayloadOf<TFilePicture>(GetCellGraphic(ACol, ARow), ctFilePicture);
}
bool TDavEvadurAvuz::RemoveFilePicture(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctFilePicture); }

TIcon* TDavEvadurAvuz::CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* i = new TIcon();
  g->SetIcon(i, HAlign, VAlign);
  g->CellCreated = true;
  return i;
}

bool TDavEvadurAvuz::RemoveIcon(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctIcon); }

bool TDavEvadurAvuz::GetImageIdx(int ACol, int ARow, int& Index) {
  if (!FGridImages) return false;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctImageList) return false;
  Index = g->CellIndex;
  return true;
}

void TDavEvadurAvuz::SetImageIdx(int ACol, int ARow, int Index) {
  if (!FGridImages) return;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (g && g->CellType == ctImageList) g->CellIndex = Index;
}

bool TDavEvadurAvuz::RemoveImageIdx(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctImageList); }
bool TDavEvadurAvuz::HasDataImage(int ACol, int ARow) { return GetCellType(ACol, ARow) == ctDataImage; }
bool TDavEvadurAvuz::RemoveDataImage(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctDataImage); }
bool TDavEvadurAvuz::RemoveMultiImage(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctImages); }

TObject* TDavEvadurAvuz::GetInterfacedCell(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctInterface ? g->CellRef.Object : nullptr;
}

bool TDavEvadurAvuz::RemoveInterfacedCell(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctInterface); }
bool TDavEvadurAvuz::RemoveProgress(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctProgress); }
bool TDavEvadurAvuz::RemoveDizProgress(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctXPProgress); }

void TDavEvadurAvuz::SetProgressPie(int ACol, int ARow, int Value) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctProgressPie) return;
  g->CellAngle = Value;
  RepaintCell(RemapColInv(ACol), ARow);
}

bool TDavEvadurAvuz::RemoveProgressPie(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctProgressPie); }
bool TDavEvadurAvuz::RemoveRangeIndicator(int ACol, int ARow) {
  return RemoveCellGraphic(ACol, ARow, ctRangeIndicator);
}

// ---------------------------------------------------------------------------------------
// Comments and markers.
bool TDavEvadurAvuz::IsComment(int ACol, int ARow, std::string& Comment) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctComment) return false;
  Comment = g->CellText;
  return true;
}

std::string TDavEvadurAvuz::GetComment(int ACol, int ARow) {
  std::string c;
  IsComment(ACol, ARow, c);
  return c;
}

void TDavEvadurAvuz::SetComment(int ACol, int ARow, const std::string& Comment) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) AddComment(ACol, ARow, Comment);
  else if (g->CellType == ctComment) g->CellText = Comment;
}

bool TDavEvadurAvuz::RemoveComment(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctComment); }

void TDavEvadurAvuz::RemoveAllComments() {
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r) RemoveComment(c, r);
}

void TDavEvadurAvuz::AddMarker(int ACol, int ARow, int ErrFrom, int ErrLen) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) {
    g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctEmpty;
  }
  g->CellErrFrom = ErrFrom;
  g->CellErrLen = ErrLen;
  const int dc = RemapColInv(ACol);
  if (dc >= 0 && dc < ColCount() && ARow < RowCount()) InvalidateCell(dc, ARow);
}

void TDavEvadurAvuz::GetMarker(int ACol, int ARow, int& ErrFrom, int& ErrLen) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  ErrFrom = g ? g->CellErrFrom : 0;
  ErrLen = g ? g->CellErrLen : 0;
}

void TDavEvadurAvuz::RemoveMarker(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return;
  if (g->CellType == ctEmpty) {
    FreeCellGraphic(ACol, ARow);
    return;
  }
  if (g != FRowCheckBox.get()) g->CellErrFrom = g->CellErrLen = 0;
}

void TDavEvadurAvuz::RemoveAllMarkers() {
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r) RemoveMarker(c, r);
}

// ---------------------------------------------------------------------------------------
// Shapes, ratings and buttons.
void TDavEvadurAvuz::SetShapeColor(int ACol, int ARow, TColor Color) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (g && g->CellType == ctShape) g->CellIndex = static_cast<int>(Color);
}

TColor TDavEvadurAvuz::GetShapeColor(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctShape ? static_cast<TColor>(g->CellIndex) : clNone;
}

bool TDavEvadurAvuz::RemoveShape(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctShape); }
bool TDavEvadurAvuz::HasRating(int ACol, int ARow) { return GetCellType(ACol, ARow) == ctRating; }
bool TDavEvadurAvuz::RemoveRating(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctRating); }

bool TDavEvadurAvuz::DoRatingChange(int ACol, int ARow, double& NewRate) {
  bool allow = true;
  if (OnRatingChange) OnRatingChange(this, ACol, ARow, NewRate, allow);
  return allow;
}

TBitmap* TDavEvadurAvuz::CreateBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                                         TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* glyph = new TBitmap();
  g->SetBitButton(Width, Height, Caption, glyph, HAlign, VAlign);
  g->CellCreated = true;
  return glyph;
}

void TDavEvadurAvuz::SetButtonText(int ACol, int ARow, const std::string& Caption) {
  TCellGraphic* g = GetCellGraphic(RemapCol(ACol), ARow);
  if (!g || g == FRowCheckBox.get()) return;
  g->CellText = Caption;
  RepaintCell(ACol, ARow);
}

std::string TDavEvadurAvuz::GetButtonText(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(RemapCol(ACol), ARow);
  return g ? g->CellText : std::string();
}

void TDavEvadurAvuz::PushButton(int ACol, int ARow, bool Down) {
  TCellGraphic* g = GetCellGraphic(RemapCol(ACol), ARow);
  if (!g || g->CellType == ctNode || g == FRowCheckBox.get()) return;
  g->CellBoolean = Down;
  RepaintCell(ACol, ARow);
}

TRect TDavEvadurAvuz::ButtonRect(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(RemapCol(ACol), ARow);
  if (!g) return TRect{0, 0, 0, 0};
  TRect r = CellRect(ACol, ARow);
  const long long p = std::llround(g->CellValue);
  TRect b;
  b.Left = r.Left + static_cast<int>(p & 0xFFFF);
  b.Top = r.Top + static_cast<int>(p / 65536);
  b.Right = b.Left + (g->CellIndex & 0xFFFF);
  b.Bottom = b.Top + ((g->CellIndex >> 16) & 0xFFFF);
  if (g->CellVAlign == vaFull) b.Top = r.Top, b.Bottom = r.Bottom;
  if (g->CellHAlign == haFull) b.Left = r.Left, b.Right = r.Right;
  return b;
}

bool TDavEvadurAvuz::RemoveButton(int ACol, int ARow) {
  bool a = RemoveCellGraphic(ACol, ARow, ctButton);
  bool b = RemoveCellGraphic(ACol, ARow, ctBitButton);
  return a || b;
}

// ---------------------------------------------------------------------------------------
// Check box and radio button columns.
void TDavEvadurAvuz::AddCheckBoxColumn(int ACol, bool State, bool Data) {
  const int first = MouseActions()->CheckAllCheck ? 0 : GetFixedRowsEx();
  for (int r = first; r < GetRowCountEx(); ++r) AddCheckBox(ACol, r, State, Data);
}

bool TDavEvadurAvuz::RemoveCheckBox(int ACol, int ARow) {
  const TCellType t = GetCellType(ACol, ARow);
  if (t != ctCheckBox && t != ctDataCheckBox) return false;
  FreeCellGraphic(ACol, ARow);
  RepaintCell(RemapColInv(ACol), ARow);
  return true;
}

void TDavEvadurAvuz::RemoveCheckBoxColumn(int ACol) {
  const int first = MouseActions()->CheckAllCheck ? 0 : GetFixedRowsEx();
  for (int r = first; r < GetRowCountEx(); ++r)
    if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

bool TDavEvadurAvuz::HasDataCheckBox(int ACol, int ARow) {
  const TCellType t = GetCellType(ACol, ARow);
  return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

bool TDavEvadurAvuz::SetCheckBoxStateInt(int ACol, int ARow, bool State) {
  TCellGraphic* g = nullptr;
  int row = ARow;
  if (NumHiddenRows() > 0) {
    row = RealRowIndex(ARow);
    g = dynamic_cast<TCellGraphic*>(GetCPGraphicObject(dynamic_cast<TCellProperties*>(GetAllGraphicsObject(ACol, row))));
  }
  if (!g) g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
      if (g->CellBoolean != State) {
        g->CellBoolean = State;
        DoCheckBoxChange(ACol, ARow, State);
        RepaintCell(RemapColInv(ACol), ARow);
      }
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      const bool was = GetCellEx(ACol, ARow) == GetCheckTrue(ACol, ARow);
      SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
      if (was != State) DoCheckBoxChange(ACol, ARow, State);
      return true;
    }
    case ctRowCheckBox:
      if (ACol != 0) return false;
      if (State != GetRowSelect(ARow)) {
        SetRowSelect(ARow, State);
        DoCheckBoxChange(ACol, ARow, State);
      }
      return true;
    default: return false;
  }
}

void TDavEvadurAvuz::CheckAll(int ACol) {
  for (int r = GetFixedRowsEx(); r < GetRowCountEx(); ++r) SetCheckBoxStateInt(ACol, r, true);
  if (NumHiddenColumns() > 0) {
    const int dc = DisplColIndex(ACol);
    if (dc >= 0 && dc < ColCount()) RepaintCol(dc);
  }
}

void TDavEvadurAvuz::UnCheckAll(int ACol) {
  for (int r = GetFixedRowsEx(); r < GetRowCountEx(); ++r) SetCheckBoxStateInt(ACol, r, false);
}

bool TDavEvadurAvuz::IsInCheckBox(int ACol, int ARow, int X, int Y) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox: case ctRadioButton: break;
    default: return false;
  }
  if (!MouseActions()->PreciseCheckBoxCheck) return true;
  const TRect r = CellRect(DisplColIndex(ACol), ARow);
  const int s = FControlLook->CheckBoxSize();
  int top;
  switch (g->CellVAlign) {
    case vaBottom: top = r.Bottom - s - 2; break;
    case vaCenter: top = r.Top + (r.Height() - s) / 2; break;
    default: top = r.Top + 2; break;
  }
  int left;
  switch (GetCellAlignment(ACol, ARow)) {
    case taRightJustify: {
      left = r.Right - s - 2;
      const std::string t = GetCellEx(ACol, ARow);
      if (!t.empty()) {
        Canvas()->Font()->Assign(Font());
        left -= Canvas()->TextWidth(t);
      }
      break;
    }
    case taCenter: left = r.Left + (r.Width() - s) / 2; break;
    default: left = r.Left + 2; break;
  }
  return X >= left && X < left + s && Y >= top && Y < top + s;
}

void TDavEvadurAvuz::AddRadioButtonColumn(int ACol) {
  for (int r = GetFixedRowsEx(); r < GetRowCountEx(); ++r) AddRadioButton(ACol, r, false);
}

bool TDavEvadurAvuz::RemoveRadioButton(int ACol, int ARow) {
  if (GetCellType(ACol, ARow) != ctRadioButton) return false;
  FreeCellGraphic(ACol, ARow);
  RepaintCell(RemapColInv(ACol), ARow);
  return true;
}

void TDavEvadurAvuz::RemoveRadioButtonColumn(int ACol) {
  for (int r = GetFixedRowsEx(); r < GetRowCountEx(); ++r)
    if (HasRadioButton(ACol, r)) RemoveRadioButton(ACol, r);
}

int TDavEvadurAvuz::GetRadioButtonColumnIndex(int ACol) {
  for (int r = GetFixedRowsEx(); r < GetRowCountEx(); ++r)
    if (IsRadioButtonChecked(ACol, r)) return r;
  return -1;
}

bool TDavEvadurAvuz::HasDataCell(int ACol, int ARow) {
  const TCellType t = GetCellType(ACol, ARow);
  return t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox || t == ctRowCheckBox;
}

// ---------------------------------------------------------------------------------------
// Radio groups and rotated text.
TStrings* TDavEvadurAvuz::CreateRadio(int ACol, int ARow, int Dir, int Index) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  auto* list = new TStringList();
  g->CellType = ctRadio;
  g->CellRef.Object = list;
  g->CellStrings = list;
  g->CellCreated = true;
  g->CellAngle = 0;
  g->CellBoolean = Dir != 0;
  g->CellIndex = Index;
  return list;
}

bool TDavEvadurAvuz::SetRadioIdx(int ACol, int ARow, int Index) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g == FRowCheckBox.get()) return false;
  g->CellIndex = Index;
  RepaintCell(RemapColInv(ACol), ARow);
  return g->CellType == ctRadio;
}

TStrings* TDavEvadurAvuz::GetRadioStrings(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctRadio ? g->CellStrings : nullptr;
}

bool TDavEvadurAvuz::RemoveRadio(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctRadio); }

void TDavEvadurAvuz::SetRotated(int ACol, int ARow, int Angle) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g == FRowCheckBox.get()) g = CreateCellGraphic(ACol, ARow);
  // The payload of the old kind would no longer be freed once the kind changes.
  if (g->CellType != ctRotated) {
    g->FreePayload();
    g->CellStrings = nullptr;
  }
  g->SetAngle(Angle);
}

bool TDavEvadurAvuz::IsRotated(int ACol, int ARow, int& Angle) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRotated) return false;
  Angle = g->CellAngle;
  return true;
}

bool TDavEvadurAvuz::RemoveRotated(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctRotated); }
