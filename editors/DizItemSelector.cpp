// The item selector: items, item look and presets, the host's delegating operations, the
// panel's layout, cell drawing, mouse, navigation and lookup.
#include "editors/DizItemSelector.h"

#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

namespace DizDropDown {

namespace {

// Draws (Draw) or measures mark-up text in R on one line; answers its width and height.
TSize DrawHTMLEX(TCanvas* Canvas, const std::string& Text, const TRect& R, TCustomImageList* Images, bool Draw,
                 HWND Window) {
  if (Text.empty()) return TSize{0, 0};
  std::string anchor, plain, focused, title, id, value, type;
  int ex = 0, ey = 0, links = 0, hit = 0;
  TRect hot, ctl;
  HTMLDrawEx(Canvas, Text, R, Images, 0, 0, -1, 0, 1, false, !Draw, false, false, true, false, false, false, 1.0,
             clBlue, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl, id, value,
             type, nullptr, nullptr, Window);
  return TSize{ex, ey};
}

}  // namespace

// ---- items ----------------------------------------------------------------------------

TSelectorItem::TSelectorItem(TCollection* Collection)
    : TCollectionItem(nullptr), FImage(std::make_unique<TPicture>()) {
  SetCollection(Collection);
}

TSelectorItem::~TSelectorItem() = default;

void TSelectorItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSelectorItem*>(Source)) {
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FHint = s->FHint;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TSelectorItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MeasuredFor.clear();
  Changed(false);
}

void TSelectorItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

void TSelectorItem::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed(false);
}

bool TSelectorItem::HasPicture() const {
  TGraphic* g = FImage->GetGraphic();
  return g && !g->GetEmpty();
}

TSelectorItems::TSelectorItems(TPersistent* AOwner) : TCollection(ItemClassOf<TSelectorItem>()), FOwner(AOwner) {}

// ---- item look --------------------------------------------------------------------------

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->SetName("Tahoma");
  SetColorStyle(scOffice2007);
  ColorSelectedText = 0;
  ColorHotText = 0;
}

TItemAppearance::~TItemAppearance() = default;

void TItemAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TItemAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  ColorMirrorHotTo = s->ColorMirrorHotTo, BorderColor = s->BorderColor, ColorMirrorHot = s->ColorMirrorHot;
  ColorSelectedTo = s->ColorSelectedTo, ColorSelected = s->ColorSelected, EdgeColor = s->EdgeColor;
  ColorHotTo = s->ColorHotTo, BorderColorBottom = s->BorderColorBottom, ColorHot = s->ColorHot;
  BorderColorTop = s->BorderColorTop, ColorMirrorSelectedTo = s->ColorMirrorSelectedTo;
  ColorMirrorSelected = s->ColorMirrorSelected;
  FFont->Assign(s->FFont.get());
  SetColorStyle(s->FColorStyle);
  ColorSelectedText = s->ColorSelectedText;
  ColorHotText = s->ColorHotText;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
  if (FColorStyle == Value) return;
  FColorStyle = Value;
  auto load = [this](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor top, TColor bottom, TColor border,
                     TColor edge, TColor sel, TColor selTo, TColor mSel, TColor mSelTo) {
    ColorHot = hot, ColorHotTo = hotTo, ColorMirrorHot = mHot, ColorMirrorHotTo = mHotTo;
    BorderColorTop = top, BorderColorBottom = bottom, BorderColor = border, EdgeColor = edge;
    ColorSelected = sel, ColorSelectedTo = selTo, ColorMirrorSelected = mSel, ColorMirrorSelectedTo = mSelTo;
  };
  switch (Value) {
    case scOffice2007:
      load(0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
           0x68E3F9);
      break;
    case scWindowsVista:
      load(0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone,
           clNone);
      break;
    case scWindows7:
      load(0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone,
           clNone);
      break;
    case scCustom: break;
  }
}

// ---- host -----------------------------------------------------------------------------

TDizCustomItemSelector::TDizCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
  SetColor(clWindow);
  SetAutoScroll(true);
  SetAutoSize(false);
  FPanel = new TCustomItemSelector(this);
  FPanel->SetParent(this);
  FPanel->OnSelect = [this](TObject*) {
    if (OnItemSelect) OnItemSelect(this);
  };
  UpdateSelectorPanel();
}

TDizCustomItemSelector::~TDizCustomItemSelector() {
  delete FPanel;
  FPanel = nullptr;
}

void TDizCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TDizCustomItemSelector::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    return;
  }
  if (Message.Msg == WM_VSCROLL && LOWORD(Message.WParam) == SB_THUMBTRACK) {
    VertScrollBar()->SetPosition(HIWORD(Message.WParam));
    Message.Result = 0;
    return;
  }
  TScrollingWinControl::WndProc(Message);
}

void TDizCustomItemSelector::SetSelectorType(TSelectorType Value) {
  if (FSelectorType == Value) return;
  FSelectorType = Value;
  UpdateSelectorPanel();
}

void TDizCustomItemSelector::SetColumns(int Value) {
  if (Value < 1 || FColumns == Value) return;
  FColumns = Value;
  UpdateSelectorPanel();
}

void TDizCustomItemSelector::SetColorBoxWidth(int Value) {
  if (FColorBoxWidth == Value) return;
  FColorBoxWidth = Value;
  UpdateSelectorPanel();
}

void TDizCustomItemSelector::SetColorBoxHeight(int Value) {
  if (FColorBoxHeight == Value) return;
  FColorBoxHeight = Value;
  UpdateSelectorPanel();
}

void TDizCustomItemSelector::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  UpdateSelectorPanel();
}

int TDizCustomItemSelector::GetItemIndex() const { return FPanel ? FPanel->ItemIndex() : -1; }
int TDizCustomItemSelector::GetItemHot() const { return FPanel ? FPanel->ItemHot() : -1; }

void TDizCustomItemSelector::SetItemIndex(int Index) {
  if (!FPanel) return;
  FPanel->SetItemIndex(Index);
  ScrollItemInView(FPanel->ItemIndex());
}

#define LORM_HOST_MOVE(Name, Which)       \
  void TDizCustomItemSelector::Name() {   \
    if (!FPanel) return;                  \
    FPanel->Name();                       \
    ScrollItemInView(FPanel->Which());    \
  }
LORM_HOST_MOVE(SelectFirst, ItemIndex)
LORM_HOST_MOVE(SelectLast, ItemIndex)
LORM_HOST_MOVE(SelectNext, ItemIndex)
LORM_HOST_MOVE(SelectPrevious, ItemIndex)
LORM_HOST_MOVE(HotNext, ItemHot)
LORM_HOST_MOVE(HotPrevious, ItemHot)
#undef LORM_HOST_MOVE

bool TDizCustomItemSelector::LookupItem(const std::string& Text) { return FPanel && FPanel->LookupItem(Text); }

void TDizCustomItemSelector::UpdateSelectorPanel() {
  if (FPanel) FPanel->UpdateRectAndSize();
}

TSize TDizCustomItemSelector::GetItemPanelSize() const {
  if (!FPanel) return TSize{100, 50};
  return TSize{FPanel->Width(), FPanel->Height()};
}

void TDizCustomItemSelector::ScrollItemInView(int Index) {
  if (!FPanel || Index < 0 || Index >= FItems->Count() || !VertScrollBar()->IsScrollBarVisible()) return;
  TRect r = FItems->Items(Index)->ItemRect;
  int top = r.Top + FPanel->Top(), bottom = r.Bottom + FPanel->Top();
  int client = ClientHeight();
  TControlScrollBar* sb = VertScrollBar();
  if (top < 0) sb->SetPosition(sb->Position() + top);
  else if (bottom > client) sb->SetPosition(sb->Position() + (bottom - top > client ? top : bottom - client));
}

int TDizCustomItemSelector::GetVisibleItemCount() {
  if (!FPanel || FItems->Count() == 0) return 0;
  int cell = FItems->Items(0)->ItemRect.Height();
  // Before the first layout the cells have no height: nothing is known to be visible.
  if (cell <= 0) return 0;
  int h = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
  return h / cell * FColumns;
}

// ---- panel ----------------------------------------------------------------------------

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(AOwner) {
  FHost = dynamic_cast<TDizCustomItemSelector*>(AOwner);
  if (!FHost) throw Exception("Invalid parent");
  SetParentColor(true);
  // Not double buffered: the panel can be far taller than the screen, and painting only
  // touches the update region.
}

TCustomItemSelector::~TCustomItemSelector() = default;

int TCustomItemSelector::Count() const { return FHost->Items()->Count(); }

bool TCustomItemSelector::Usable(int Index) const {
  return Index < 0 || Index >= Count() || FHost->Items()->Items(Index)->Enabled();
}

void TCustomItemSelector::DrawNow(int Index) {
  if (!HandleAllocated() || !Visible()) return;
  InvalidateItem(Index);
}

void TCustomItemSelector::SetItemIndex(int Index) {
  if (Index >= 0 && Index < Count() && !FHost->Items()->Items(Index)->Enabled()) return;
  if (FItemIndex >= 0 && FItemIndex != Index) InvalidateItem(FItemIndex);
  FItemIndex = Index;
  if (Index >= 0) {
    DrawNow(Index);
    if (OnSelect) OnSelect(this);
  }
}

void TCustomItemSelector::SetItemHot(int Index) {
  if (Index == FItemHot || !Usable(Index)) return;
  InvalidateItem(FItemHot);
  FItemHot = Index;
  if (Index >= 0) DrawNow(Index);
}

void TCustomItemSelector::SelectFirst() {
  if (Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
  if (Count() > 0) SetItemIndex(Count() - 1);
}

void TCustomItemSelector::SelectNext() {
  if (Count() == 0) return;
  int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
  if (i < Count()) SetItemIndex(i);
}

void TCustomItemSelector::SelectPrevious() {
  if (Count() == 0) return;
  int i = FItemIndex < 0 ? 0 : FItemIndex - 1;
  if (i >= 0) SetItemIndex(i);
}

void TCustomItemSelector::HotNext() {
  if (Count() == 0) return;
  int i = FItemHot < 0 ? 0 : FItemHot + 1;
  if (i < Count()) SetItemHot(i);
}

void TCustomItemSelector::HotPrevious() {
  if (Count() == 0) return;
  int i = FItemHot < 0 ? 0 : FItemHot - 1;
  if (i >= 0) SetItemHot(i);
}

bool TCustomItemSelector::LookupItem(const std::string& Text) {
  for (int i = 0; i < Count(); ++i) {
    std::string c = AnsiUpperCase(Trim(HTMLStrip(FHost->Items()->Items(i)->Caption())));
    if (c.compare(0, Text.size(), Text) == 0) {
      if (!FHost->Items()->Items(i)->Enabled()) return false;
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

TRect TCustomItemSelector::GetItemRect(int Index) const {
  if (Index < 0 || Index >= Count()) return TRect{-1, -1, -1, -1};
  return FHost->Items()->Items(Index)->ItemRect;
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
  for (int i = 0; i < Count(); ++i) {
    const TRect& r = FHost->Items()->Items(i)->ItemRect;
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
  }
  return -1;
}

void TCustomItemSelector::InvalidateItem(int Index) {
  if (Index < 0 || Index >= Count() || !HandleAllocated()) return;
  RECT r = ToRECT(FHost->Items()->Items(Index)->ItemRect);
  InvalidateRect(Handle(), &r, TRUE);
}

TRect TCustomItemSelector::GetInnerRect() {
  TRect r = ClientRect();
  return TRect{r.Left + OffSetX, r.Top + OffSetY, r.Right - OffSetX, r.Bottom - OffSetY};
}

void TCustomItemSelector::SetItemOffSetX(int Value) {
  if (FItemOffSetX == Value) return;
  FItemOffSetX = Value;
  UpdateRectAndSize();
}

void TCustomItemSelector::SetItemOffSetY(int Value) {
  if (FItemOffSetY == Value) return;
  FItemOffSetY = Value;
  UpdateRectAndSize();
}

void TCustomItemSelector::SetCaptionGap(int Value) {
  if (FCaptionGap == Value) return;
  FCaptionGap = Value;
  UpdateRectAndSize();
}

TSize TCustomItemSelector::GetItemSize() {
  TSize size{0, 0};
  if (FHost->OnItemSize) {
    FHost->OnItemSize(this, size);
    return size;
  }
  bool color = FHost->SelectorType() == stColor;
  int w = color ? FHost->ColorBoxWidth() : 0, h = color ? FHost->ColorBoxHeight() : 0;
  int tw = 0, th = 0;
  TCanvas* c = Canvas();
  c->Font()->Assign(FHost->ItemAppearance()->Font());
  TCustomImageList* images = FHost->Images();
  HWND wnd = HandleAllocated() ? Handle() : nullptr;
  TFont* f = c->Font();
  std::string fontKey = f->GetName() + "|" + std::to_string(f->GetHeight()) + "|" +
                        std::to_string(f->GetStyle().Bits()) + "|" +
                        std::to_string(reinterpret_cast<uintptr_t>(images));
  for (int i = 0; i < Count(); ++i) {
    TSelectorItem* item = FHost->Items()->Items(i);
    if (!color) {
      if (item->HasPicture()) {
        w = std::max(w, item->Image()->GetWidth());
        h = std::max(h, item->Image()->GetHeight());
      } else if (images && item->ImageIndex() >= 0) {
        w = std::max(w, images->GetWidth());
        h = std::max(h, images->GetHeight());
      }
    }
    if (item->MeasuredFor != fontKey) {
      item->MeasuredSize = DrawHTMLEX(c, item->Caption(), TRect{0, 0, 1000, 500}, images, false, wnd);
      item->MeasuredFor = fontKey;
    }
    TSize t = item->MeasuredSize;
    tw = std::max(tw, t.cx);
    th = std::max(th, t.cy);
  }
  if (tw > 0) tw += 4;
  switch (FHost->ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
      size.cx = 2 * FItemOffSetX + (w > 0 ? w : 0) + (w > 0 && tw > 0 ? FCaptionGap : 0) + (tw > 0 ? tw : 0);
      size.cy = std::max(th, h) + 2 * FItemOffSetY;
      break;
    case ilCaptionTop:
    case ilCaptionBottom:
      size.cx = std::max(tw, w) + 2 * FItemOffSetX;
      size.cy = 2 * FItemOffSetY + (h > 0 ? h : 0) + (h > 0 && th > 0 ? FCaptionGap : 0) + (th > 0 ? th : 0);
      break;
  }
  return size;
}

void TCustomItemSelector::UpdateRectAndSize() {
  int n = Count();
  if (n == 0) {
    SetBounds(Left(), Top(), 100, 50);
    return;
  }
  FItemHot = -1;
  TSize cell = GetItemSize();
  int x = OffSetX, y = OffSetY, maxX = x, inRow = 0;
  for (int i = 0; i < n; ++i) {
    FHost->Items()->Items(i)->ItemRect = TRect{x, y, x + cell.cx, y + cell.cy};
    maxX = std::max(maxX, x);
    if (i == n - 1) break;
    if (++inRow < FHost->Columns()) {
      x += cell.cx;
    } else {
      inRow = 0;
      x = OffSetX;
      y += cell.cy;
    }
  }
  SetBounds(Left(), Top(), maxX + cell.cx + OffSetX, y + cell.cy + OffSetY);
  Invalidate();
}

void TCustomItemSelector::DrawItem(int Index, TCanvas* C) {
  if (Index < 0 || Index >= Count() || !C || !FHost) return;
  TSelectorItem* item = FHost->Items()->Items(Index);
  TRect R = item->ItemRect;
  if (R.Left < 0 && R.Right < 0) return;
  TItemAppearance* a = FHost->ItemAppearance();
  bool hot = Index == FItemHot, selected = Index == FItemIndex;
  if (hot || selected) {
    TColor c1 = selected ? a->ColorSelected : a->ColorHot;
    TColor c2 = selected ? a->ColorSelectedTo : a->ColorHotTo;
    TColor m1 = selected ? a->ColorMirrorSelected : a->ColorMirrorHot;
    TColor m2 = selected ? a->ColorMirrorSelectedTo : a->ColorMirrorHotTo;
    if (a->BorderColorTop == clNone) {
      C->Brush()->SetStyle(bsSolid);
      DrawGradientRect(C, R, c1, c2, gdVertical, a->BorderColor, 1);
    } else {
      DrawSelectionGradient(C, c1, c2, m1, m2, a->BorderColorTop, a->BorderColorBottom, a->BorderColor, a->EdgeColor,
                            Color(), R, gpFull);
    }
  } else {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
  }
  if (FHost->OnDrawItem) {
    FHost->OnDrawItem(this, C, R, Index);
    return;
  }
  TCustomImageList* images = FHost->Images();
  bool color = FHost->SelectorType() == stColor;
  int w = 0, h = 0;
  if (color) w = FHost->ColorBoxWidth(), h = FHost->ColorBoxHeight();
  else if (item->HasPicture()) w = item->Image()->GetWidth(), h = item->Image()->GetHeight();
  else if (images && item->ImageIndex() >= 0) w = images->GetWidth(), h = images->GetHeight();
  bool content = w > 0 || h > 0;
  TRect T{R.Left + FItemOffSetX, R.Top + FItemOffSetY, R.Right - FItemOffSetX, R.Bottom - FItemOffSetY};
  TRect P = T;
  C->Font()->Assign(a->Font());
  if (hot) C->Font()->SetColor(a->ColorHotText);
  if (selected) C->Font()->SetColor(a->ColorSelectedText);
  C->Brush()->SetStyle(bsClear);
  auto drawContent = [&](int x, int y, bool boxAtTop) {
    if (color) {
      C->Brush()->SetStyle(bsSolid);
      C->Pen()->SetColor(clBlack);
      C->Brush()->SetColor(item->Color());
      C->Rectangle(TRect{x, boxAtTop ? P.Top : y, x + w, (boxAtTop ? P.Top : y) + h});
      C->Brush()->SetStyle(bsClear);
    } else if (item->HasPicture()) {
      C->Draw(x, y, item->Image()->GetGraphic());
    } else if (images && item->ImageIndex() >= 0) {
      images->Draw(C, x, y, item->ImageIndex(), item->Enabled());
    }
  };
  HWND wnd = HandleAllocated() ? Handle() : nullptr;
  const std::string& cap = item->Caption();
  auto centreText = [&](TRect& t) {
    TSize s = DrawHTMLEX(C, cap, t, images, false, wnd);
    if (s.cy < t.Height()) t.Top += (t.Height() - s.cy) / 2;
    return s;
  };
  switch (FHost->ItemLayout()) {
    case ilCaptionLeft:
      if (!cap.empty()) {
        T.Right -= w;
        TSize s = centreText(T);
        DrawHTMLEX(C, cap, T, images, true, wnd);
        P.Left = T.Left + s.cx + FCaptionGap;
      }
      drawContent(P.Left, P.Top + (P.Height() - h) / 2, true);
      break;
    case ilCaptionRight:
      drawContent(P.Left, P.Top + (P.Height() - h) / 2, true);
      if (content) T.Left = P.Left + w + FCaptionGap;
      if (!cap.empty()) {
        centreText(T);
        DrawHTMLEX(C, cap, T, images, true, wnd);
      }
      break;
    case ilCaptionTop:
      if (!cap.empty()) {
        T.Bottom -= h;
        TSize s = DrawHTMLEX(C, cap, T, images, true, wnd);
        P.Top = T.Top + s.cy + FCaptionGap;
      } else {
        P.Top += (P.Height() - h) / 2;
      }
      P.Left += (P.Width() - w) / 2;
      drawContent(P.Left, P.Top, false);
      break;
    case ilCaptionBottom:
      if (cap.empty()) P.Top += (P.Height() - h) / 2;
      P.Left += (P.Width() - w) / 2;
      drawContent(P.Left, P.Top, false);
      if (content) T.Top = P.Top + h + FCaptionGap;
      if (!cap.empty()) DrawHTMLEX(C, cap, T, images, true, wnd);
      break;
  }
  C->Brush()->SetStyle(bsSolid);
}

void TCustomItemSelector::Paint() {
  TCanvas* c = Canvas();
  // Only the cells meeting the update region are drawn: a repaint costs what it shows.
  TRect clip = c->ClipRect();
  FPaintedCells = 0;
  for (int i = 0; i < Count(); ++i) {
    const TRect& r = FHost->Items()->Items(i)->ItemRect;
    if (r.Bottom <= clip.Top || r.Top >= clip.Bottom || r.Right <= clip.Left || r.Left >= clip.Right) continue;
    DrawItem(i, c);
    ++FPaintedCells;
  }
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  int i = ItemAtPos(X, Y);
  if (i >= 0 && FHost->Items()->Items(i)->Enabled()) SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  int i = ItemAtPos(X, Y);
  if (i >= 0) {
    if (i != FItemHot) {
      if (FHost->Items()->Items(i)->Enabled()) SetItemHot(i);
      else SetItemHot(-1);
      SetHint(FHost->Items()->Items(i)->Hint());
      Application->CancelHint();
    }
  } else if (FItemHot >= 0) {
    SetItemHot(-1);
  }
}

void TCustomItemSelector::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (Message.Msg == CM_MOUSELEAVE) SetItemHot(-1);
}

}  // namespace DizDropDown
