// VivIzizEzuOption: the tool bar's option window, its content panel and the pop-ups of
// its items.
#include "toolbar/VivIzizEzuOption.h"

#include <algorithm>

#include "menus/RadUdire.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Menus.h"
#include "platform/win/WinUser.h"
#include "toolbar/VivIzizEzuDraw.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

namespace {
bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
bool IsSep(TControl* C) { return dynamic_cast<TVivIzizEzuSeparator*>(C) != nullptr; }
TControl* At(const TList* L, int I) { return static_cast<TControl*>(L->Get(I)); }

TRect WorkArea() {
  RECT r{0, 0, 0, 0};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return TRect{r.left, r.top, r.right, r.bottom};
}

// A borderless, stay-on-top pop-up form, hidden.
template <class F>
void MakePopup(F* W, int Width, int Height) {
  W->SetBorderIcons(TBorderIcons{});
  W->SetBorderStyle(bsNone);
  W->SetFormStyle(fsStayOnTop);
  W->SetVisible(false);
  W->SetBounds(W->Left(), W->Top(), Width, Height);
}

HWND TopAncestor(HWND H) {
  HWND top = H;
  for (HWND p = H; p; p = GetParent(p)) top = p;
  return top;
}

// A gradient or filled item background framed in black.
void ItemFill(TCanvas* C, const TRect& R, TColor From, TColor To) {
  if (From == clNone) return;
  if (To != clNone) {
    DrawGradient(C, From, To, false, R, 40);
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clBlack);
    C->Rectangle(R);
  } else {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(From);
    C->Pen()->SetColor(clBlack);
    C->Rectangle(R);
  }
}
}  // namespace

// ---- TOptionSelectorPanel ---------------------------------------------------------------
TOptionSelectorPanel::TOptionSelectorPanel(TComponent* AOwner) : TCustomPanel(AOwner), FOwnerRef(AOwner) {
  SetBevelOuter(::bvNone);
  SetBevelWidth(1);
  SetColor(TColor(0xF7F8F9));
}

void TOptionSelectorPanel::Paint() {
  TCustomPanel::Paint();
  TCanvas* c = Canvas();
  if (FColorTo != clNone)
    DrawGradient(c, Color(), FColorTo, FGradientDirection == gdHorizontal, TRect{0, 0, Width(), Height()}, 40);
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(FWindowBorderColor);
  c->Pen()->SetWidth(1);
  const int W = Width(), H = Height();
  c->MoveTo(0, 0), c->LineTo(0, H);
  c->MoveTo(0, 0), c->LineTo(W - 1, 0);
  c->MoveTo(0, H - 1), c->LineTo(W - 1, H - 1);
  c->MoveTo(W - 1, H), c->LineTo(W - 1, -1);
}

// ---- TOptionSelectorWindow --------------------------------------------------------------
TOptionSelectorWindow::TOptionSelectorWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  FHideTimer = new TTimer(this);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->SetOnTimer([this](TObject* S) { HideTimerOnTime(S); });
}

void TOptionSelectorWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  // A top-level pop-up owned by its parent's window, placed in screen coordinates.
  Params.Style = (Params.Style | WS_POPUP) & ~WS_CHILD;
  if (FVivIzizEzu && FVivIzizEzu->HandleAllocated()) Params.WndParent = GetAncestor(FVivIzizEzu->Handle(), GA_ROOT);
}

HWND TOptionSelectorWindow::GetParentWnd() {
  auto* w = dynamic_cast<TWinControl*>(Owner());
  if (!w || !w->HandleAllocated()) return nullptr;
  return TopAncestor(w->Handle());
}

void TOptionSelectorWindow::SetWindowSize() {
  if (!FOptionsPanel) return;
  SetBounds(Left(), Top(), FOptionsPanel->Width(), FOptionsPanel->GetVisibleHeight());
}

void TOptionSelectorWindow::DoHide() {
  TCustomForm::DoHide();
  if (FOptionsPanel) FOptionsPanel->DoHide();
}

void TOptionSelectorWindow::HideTimerOnTime(TObject*) {
  FHideTimer->SetEnabled(false);
  Hide();
}

void TOptionSelectorWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    const TPoint p = ScreenToClient(TPoint{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))});
    Message.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : HTCLIENT;
    return;
  }
  TCustomForm::WndProc(Message);
  if (Message.Msg == WM_ACTIVATE) {
    if (LOWORD(Message.WParam) != WA_INACTIVE) {
      if (FOptionsPanel && Visible()) {
        if (FOptionsPanel->CanFocus()) FOptionsPanel->SetFocus();
        if (HWND p = GetParentWnd()) SendMessage(p, WM_NCACTIVATE, 1, 0);
      }
    } else if (Visible() && HideOnDeActivate) {
      FHideTimer->SetEnabled(true);
    }
  }
}

// ---- menu items ---------------------------------------------------------------------------
TVIEMenuItem* TVIEMenuItem::Add() {
  FItems.push_back(std::make_unique<TVIEMenuItem>(this));
  return FItems.back().get();
}

// ---- TVIECustomPopupPanel / TVIEPopupPanel ----------------------------------------------
TVIECustomPopupPanel::TVIECustomPopupPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetBevelOuter(::bvNone);
  SetBevelWidth(1);
  SetColor(TColor(0xF7F8F9));
}

void TVIECustomPopupPanel::Paint() {
  TCustomPanel::Paint();
  TCanvas* c = Canvas();
  if (FColorTo != clNone)
    DrawGradient(c, Color(), FColorTo, FGradientDirection == gdHorizontal, TRect{0, 0, Width(), Height()}, 40);
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(FWindowBorderColor);
  const int W = Width(), H = Height();
  c->MoveTo(0, 0), c->LineTo(0, H);
  c->MoveTo(0, 0), c->LineTo(W - 1, 0);
  c->MoveTo(0, H - 1), c->LineTo(W - 1, H - 1);
  c->MoveTo(W - 1, H), c->LineTo(W - 1, -1);
}

TVIEPopupPanel::TVIEPopupPanel(TComponent* AOwner) : TVIECustomPopupPanel(AOwner) {}

void TVIEPopupPanel::SetItems(TVIEMenuItem* Value) {
  FItems = Value;
  ArrangeItems();
}

static bool ControlHasImage(TControl* C) {
  if (auto* b = dynamic_cast<TDizCustomToolBarButton*>(C))
    return b->ImageIndex() >= 0 || (b->Glyph() && !b->Glyph()->GetEmpty());
  if (auto* g = dynamic_cast<TDizCustomGlowButton*>(C)) return g->ImageIndex() >= 0;
  return false;
}

void TVIEPopupPanel::ArrangeItems() {
  if (!FItems) return;
  int w = 0;
  for (int i = 0; i < FItems->Count(); ++i) {
    TVIEMenuItem* it = FItems->Items(i);
    w = std::max(w, Canvas()->TextWidth(it->Caption) + 7);
    if (it->HasChildren()) w += 30;
    if (!ShowImageBar && it->Control && ControlHasImage(it->Control)) ShowImageBar = true;
  }
  if (FRadUdirEtyler && ShowIconBar) w += FRadUdirEtyler->IconBar()->Size();
  if (ShowImageBar) w += ImageBarSize;
  w = std::max(w, 70);
  int y = MarginY;
  for (int i = 0; i < FItems->Count(); ++i) {
    FItems->Items(i)->Rect = TRect{MarginX, y, MarginX + w, y + ItemHeight};
    y += ItemHeight + MarginY;
  }
  SetBounds(Left(), Top(), 2 * MarginX + w, y);
}

int TVIEPopupPanel::IndexOfItemAt(int X, int Y) const {
  if (!FItems) return -1;
  for (int i = 0; i < FItems->Count(); ++i)
    if (InRect(FItems->Items(i)->Rect, X, Y)) return i;
  return -1;
}

void TVIEPopupPanel::InvalidateItem(int Index) {
  if (!FItems || Index < 0 || Index >= FItems->Count() || !HandleAllocated()) return;
  const TRect& r = FItems->Items(Index)->Rect;
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(Handle(), &rr, TRUE);
}

void TVIEPopupPanel::SetHotItem(int Index) {
  if (Index == HotItem) return;
  if (HotItem >= 0) {
    HideItemPopup();
    InvalidateItem(HotItem);
  }
  HotItem = Index;
  InvalidateItem(HotItem);
}

void TVIEPopupPanel::Paint() {
  TVIECustomPopupPanel::Paint();
  TCanvas* c = Canvas();
  if (FRadUdirEtyler && ShowIconBar) {
    TIconBar* bar = FRadUdirEtyler->IconBar();
    const int x = MarginX, y = MarginY;
    const int w = bar->Size() + (ShowImageBar ? ImageBarSize : 0);
    const TRect r{x, y, x + w, Height() - MarginY};
    if (bar->Color() == clNone || bar->ColorTo() == clNone) {
      if (bar->Color() != clNone) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(bar->Color());
        c->FillRect(r);
      }
    } else {
      DrawGradient(c, bar->Color(), bar->ColorTo(), true, r, 40);
    }
    ImageBarColor = bar->ColorTo();
  }
  DrawAllItems();
}

void TVIEPopupPanel::DrawAllItems() {
  if (!FItems) return;
  for (int i = 0; i < FItems->Count(); ++i) DrawItem(i);
}

void TVIEPopupPanel::DrawItem(int Index) {
  if (!FItems || Index < 0 || Index >= FItems->Count()) return;
  TVIEMenuItem* it = FItems->Items(Index);
  TCanvas* c = Canvas();
  const TRect r = it->Rect;
  const bool hot = Index == HotItem;
  TSelectedItem* sel = FRadUdirEtyler ? FRadUdirEtyler->SelectedItem() : nullptr;
  TIconBar* bar = FRadUdirEtyler ? FRadUdirEtyler->IconBar() : nullptr;
  if (hot) {
    if (sel && sel->Color() != clNone && sel->ColorTo() != clNone) {
      DrawGradient(c, sel->Color(), sel->ColorTo(), sel->GradientDirection() == gdHorizontal, r, 40);
    } else {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(sel && sel->Color() != clNone ? sel->Color() : TColor(0xD2BDB6));
      c->FillRect(r);
    }
    if (sel && sel->BorderColor() != clNone) {
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(sel->BorderColor());
      c->Rectangle(r);
    }
  }
  const int iconW = bar ? bar->Size() : 24;
  int textLeft = r.Left + iconW + (ShowImageBar ? ImageBarSize : 0);
  if (it->AutoCheck && it->Checked && it->Enabled) {
    const TRect box{r.Left + 1, r.Top + 1, r.Left + iconW - 2, r.Bottom - 1};
    TColor from = hot && sel ? sel->CheckColor() : bar ? bar->CheckColor() : TColor(0xFFC0C0);
    TColor to = hot && sel ? sel->CheckColorTo() : bar ? bar->CheckColorTo() : clNone;
    TColor border = hot && sel ? sel->BorderColor() : bar ? bar->CheckBorder() : TColor(0x808080);
    if (from != clNone && to != clNone) {
      DrawGradient(c, from, to, true, box, 16);
    } else if (from != clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(from);
      c->FillRect(box);
    }
    if (border != clNone) {
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(border);
      c->Rectangle(box);
    }
    TBitmap* check = FRadUdirEtyler ? FRadUdirEtyler->Glyphs()->Check() : nullptr;
    if (check && !check->GetEmpty()) {
      check->SetTransparent(true);
      c->Draw((box.Left + box.Right - check->GetWidth()) / 2, (box.Top + box.Bottom - check->GetHeight()) / 2, check);
    } else {
      // A plain tick where the styler has no check glyph.
      c->Pen()->SetColor(clBlack);
      const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
      c->MoveTo(cx - 4, cy), c->LineTo(cx - 1, cy + 3), c->LineTo(cx + 4, cy - 2);
    }
  }
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  TRect t{textLeft + 4, r.Top, r.Right, r.Bottom};
  RECT tr{t.Left, t.Top, t.Right, t.Bottom};
  DrawText(c->GetHandle(), it->Caption.c_str(), -1, &tr, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  if (it->HasChildren()) {
    const int cy = (r.Top + r.Bottom - 5) / 2;
    TBitmap* sub = FRadUdirEtyler ? FRadUdirEtyler->Glyphs()->SubMenu() : nullptr;
    if (sub && !sub->GetEmpty()) {
      sub->SetTransparent(true);
      c->Draw(r.Right - 8 + (3 - sub->GetWidth()) / 2, cy + (6 - sub->GetHeight()) / 2, sub);
    } else {
      c->Pen()->SetColor(clBlack);
      for (int k = 0; k < 3; ++k) c->MoveTo(r.Right - 8 + k, cy + k), c->LineTo(r.Right - 8 + k, cy + 6 - k);
    }
  }
}

void TVIEPopupPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TVIECustomPopupPanel::MouseMove(Shift, X, Y);
  const int i = IndexOfItemAt(X, Y);
  if (i >= 0 && i != HotItem && !Shift.Contains(ssLeft)) {
    SetHotItem(i);
    ShowItemPopup();
  }
}

void TVIEPopupPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TVIECustomPopupPanel::MouseUp(Button, Shift, X, Y);
  ItemClick(IndexOfItemAt(X, Y));
}

void TVIEPopupPanel::WndProc(TMessage& Message) {
  TVIECustomPopupPanel::WndProc(Message);
  if (Message.Msg == CM_MOUSELEAVE && PopupItem < 0) SetHotItem(-1);
}

void TVIEPopupPanel::ItemClick(int Index) {
  if (!FItems || Index < 0 || Index >= FItems->Count()) return;
  if (FItems->Items(Index)->AutoCheck) ToggleCheck(Index);
}

void TVIEPopupPanel::ToggleCheck(int Index) {
  if (!FItems || Index < 0 || Index >= FItems->Count()) return;
  TVIEMenuItem* it = FItems->Items(Index);
  if (!it->Control) return;
  it->Control->SetVisible(!it->Control->Visible());
  it->Checked = it->Control->Visible();
  InvalidateItem(Index);
}

void TVIEPopupPanel::HideItemPopup() {
  if (FItemPopup && FItemPopup->Visible()) FItemPopup->HidePopup();
}

void TVIEPopupPanel::BeforeHide() {
  HideItemPopup();
  HotItem = -1;
  PopupItem = -1;
}

static TVIEPopupWindow* HolderOf(TControl* C) { return dynamic_cast<TVIEPopupWindow*>(C->Parent()); }

void TVIEPopupPanel::ShowItemPopup() {
  if (!FItems || HotItem < 0 || HotItem >= FItems->Count() || HotItem == PopupItem) return;
  HideItemPopup();
  TVIEMenuItem* it = FItems->Items(HotItem);
  if (!it->HasChildren()) return;
  TVIEPopupWindow* holder = HolderOf(this);
  if (!FItemPopup) {
    FItemPopup = new TVIEPopupWindow(this);
    MakePopup(FItemPopup, 10, 10);
    if (holder) FItemPopup->SetVivIzizEzu(holder->VivIzizEzu());
    FItemPopup->OnHide = [this](TObject* S) { OnItemPopupHide(S); };
    FItemPopup->OnDeActivateHide = [this](TObject* S) { OnItemPopupDeActivateHide(S); };
  }
  TVIEPopupPanel* p = FItemPopup->PopupPanel();
  p->ShowIconBar = true;
  p->SetRadUdirEtyler(FRadUdirEtyler);
  p->SetItems(it);
  PopupItem = HotItem;
  p->ArrangeItems();
  FItemPopup->SetWindowSize();
  if (holder) holder->HideOnDeActivate = false;
  TPoint P = ClientToScreen(TPoint{it->Rect.Right + 2, it->Rect.Top});
  const TRect wa = WorkArea();
  if (P.Y + FItemPopup->Height() + 2 > wa.Bottom) P.Y -= P.Y + FItemPopup->Height() + 2 - wa.Bottom;
  if (P.X + FItemPopup->Width() > wa.Right) P.X = ClientToScreen(TPoint{it->Rect.Left, 0}).X - FItemPopup->Width();
  FItemPopup->SetBounds(P.X, P.Y, FItemPopup->Width(), FItemPopup->Height());
  FItemPopup->Show();
}

void TVIEPopupPanel::OnItemPopupHide(TObject*) {
  if (TVIEPopupWindow* holder = HolderOf(this)) holder->HideOnDeActivate = true;
  PopupItem = -1;
}

void TVIEPopupPanel::OnItemPopupDeActivateHide(TObject*) {
  if (TVIEPopupWindow* holder = HolderOf(this)) {
    holder->HidePopup();
    if (holder->OnDeActivateHide) holder->OnDeActivateHide(holder);
  }
}

// ---- TVIEPopupWindow --------------------------------------------------------------------
TVIEPopupWindow::TVIEPopupWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  FHideTimer = new TTimer(this);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->SetOnTimer([this](TObject* S) { HideTimerOnTime(S); });
  FPanel = new TVIEPopupPanel(this);
  FPanel->SetParent(this);
  CreateItems();
}

TVIEPopupWindow::~TVIEPopupWindow() {
  if (FPanel) FPanel->SetItems(nullptr);
}

void TVIEPopupWindow::CreateItems() {
  FRoot = std::make_unique<TVIEMenuItem>();
  FPanel->SetItems(FRoot.get());
}

void TVIEPopupWindow::SetWindowSize() {
  SetBounds(Left(), Top(), FPanel->Width(), FPanel->GetVisibleHeight());
  FPanel->SetBounds(0, 0, FPanel->Width(), FPanel->Height());
}

void TVIEPopupWindow::HidePopup() {
  FPanel->BeforeHide();
  Hide();
}

HWND TVIEPopupWindow::GetParentWnd() {
  TWinControl* from = FVivIzizEzu ? FVivIzizEzu : dynamic_cast<TWinControl*>(Owner());
  if (!from || !from->HandleAllocated()) return nullptr;
  return TopAncestor(from->Handle());
}

void TVIEPopupWindow::HideTimerOnTime(TObject*) {
  HidePopup();
  FHideTimer->SetEnabled(false);
  if (OnDeActivateHide) OnDeActivateHide(this);
}

void TVIEPopupWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    const TPoint p = ScreenToClient(TPoint{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))});
    Message.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : HTCLIENT;
    return;
  }
  TCustomForm::WndProc(Message);
  if (Message.Msg == WM_ACTIVATE) {
    if (LOWORD(Message.WParam) != WA_INACTIVE) {
      if (HWND p = GetParentWnd()) SendMessage(p, WM_NCACTIVATE, 1, 0);
    } else if (Visible() && HideOnDeActivate) {
      FHideTimer->SetEnabled(true);
    }
  }
}

// ---- TControlSelectorPanel --------------------------------------------------------------
TControlSelectorPanel::TControlSelectorPanel(TComponent* AOwner) : TOptionSelectorPanel(AOwner) {
  FAddRemove.Caption = "Add or Remove Buttons";
  FAddRemove.Width = 130;
  FOptions.Caption = "Options";
  FOptions.Width = 130;
  FWatchTimer = new TTimer(this);
  FWatchTimer->SetEnabled(false);
  FWatchTimer->SetInterval(1);
  FWatchTimer->SetOnTimer([this](TObject* S) { TimerOnTime(S); });
}

TControlSelectorPanel::~TControlSelectorPanel() { DoHide(); }

int TControlSelectorPanel::AddControl(TControl* Control) {
  if (!Control) return -1;
  Control->SetParent(this);
  if (!FListed.insert(Control).second) {
    auto it = std::find(FControls.begin(), FControls.end(), Control);
    return int(it - FControls.begin());
  }
  FControls.push_back(Control);
  return int(FControls.size()) - 1;
}

TVivIzizEzuSeparator* TControlSelectorPanel::AddCopySeparator(TVivIzizEzuSeparator* Separator) {
  auto* copy = new TVivIzizEzuSeparator(this);
  copy->Assign(Separator);
  FSeparators.push_back(copy);
  AddControl(copy);
  return copy;
}

void TControlSelectorPanel::RemoveListedControl(TControl* Control) {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  FListed.erase(Control);
  ArrangeControls();
}

void TControlSelectorPanel::WndProc(TMessage& Message) {
  TOptionSelectorPanel::WndProc(Message);
  if (Message.Msg == CM_CONTROLCHANGE && !Message.LParam) {
    // A control that leaves the panel leaves its list.
    auto* c = reinterpret_cast<TControl*>(Message.WParam);
    if (FListed.erase(c)) {
      // Controls leave mostly from the end (the tool bar takes them back in order).
      auto it = std::find(FControls.rbegin(), FControls.rend(), c);
      if (it != FControls.rend()) FControls.erase(std::next(it).base());
    }
  } else if (Message.Msg == CM_MOUSELEAVE) {
    FAddRemoveHot = false;
    FAddRemoveDown = FAddRemovePopup && FAddRemovePopup->Visible();
    FOptionsHot = FOptionsDown = false;
    Invalidate();
  }
}

void TControlSelectorPanel::DoHide() {
  std::vector<TVivIzizEzuSeparator*> copies;
  copies.swap(FSeparators);
  for (TVivIzizEzuSeparator* s : copies) {
    auto it = std::find(FControls.begin(), FControls.end(), s);
    if (it != FControls.end()) FControls.erase(it);
    FListed.erase(s);
    delete s;
  }
}

bool TControlSelectorPanel::IsEmpty() const {
  return FControls.empty() && !FShowAddAndRemoveBtn && !GetShowOptionsBtn();
}

void TControlSelectorPanel::SetTextAutoOptionMenu(const std::string& Text) {
  FAddRemove.Caption = Text;
  ReSetButtonSize();
}

void TControlSelectorPanel::SetTextOptionMenu(const std::string& Text) {
  if (Text == FOptions.Caption) return;
  FOptions.Caption = Text;
  ReSetButtonSize();
}

void TControlSelectorPanel::ReSetButtonSize() {
  int w = 130;
  TCanvas* c = Canvas();
  c->Font()->SetName("Tahoma");
  c->Font()->SetSize(8);
  auto measure = [&](const std::string& s) {
    RECT r{0, 0, 1000, 100};
    DrawText(c->GetHandle(), s.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return int(r.right - r.left);
  };
  if (FShowAddAndRemoveBtn) w = std::max(w, measure(FAddRemove.Caption) + 15);
  if (GetShowOptionsBtn()) w = std::max(w, measure(FOptions.Caption) + 15);
  FAddRemove.Width = w;
  FOptions.Width = w;
}

void TControlSelectorPanel::ArrangeControls() {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!FListed.count(c)) c->SetTop(-c->Height() - 2);
  }
  int W = FAddRemove.Width;
  for (TControl* c : FControls) W = std::max(W, c->Width());
  int x = MarginX, y = MarginY, rowH = 0;
  for (TControl* c : FControls) {
    if (c->Width() > W - x) {
      x = MarginX;
      y += rowH;
      rowH = 0;
    }
    c->SetBounds(x, y, c->Width(), c->Height());
    x += c->Width();
    rowH = std::max(rowH, c->Height());
  }
  int H = y + rowH;
  const bool showOptions = GetShowOptionsBtn();
  if (FShowAddAndRemoveBtn) H += FAddRemove.Height;
  if (showOptions) H += FOptions.Height;
  if (!FControls.empty() && (FShowAddAndRemoveBtn || showOptions)) H += SeparatorSize;
  SetBounds(Left(), Top(), 2 * MarginX + W, H + MarginY);
  const int bottom = Height() - MarginY;
  if (FShowAddAndRemoveBtn) FAddRemove.Rect = TRect{MarginX, bottom - FAddRemove.Height, Width() - MarginX, bottom};
  else FAddRemove.Rect = TRect{0, 0, 0, 0};
  const int optBottom = FShowAddAndRemoveBtn ? FAddRemove.Rect.Top : bottom;
  if (showOptions) FOptions.Rect = TRect{MarginX, optBottom - FOptions.Height, Width() - MarginX, optBottom};
  else FOptions.Rect = TRect{0, 0, 0, 0};
}

void TControlSelectorPanel::PaintItem(const TSelectorItem& Item, bool Hot, bool Down, bool AddRemove) {
  TCanvas* c = Canvas();
  TColor text = ItemTextColor;
  if (Down) {
    ItemFill(c, Item.Rect, ItemColorDown, ItemColorDownTo);
    text = ItemTextColorDown;
  } else if (Hot) {
    ItemFill(c, Item.Rect, ItemColorHot, ItemColorHotTo);
    text = ItemTextColorHot;
  }
  if (AddRemove) {
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(8);
  }
  c->Font()->SetColor(text);
  c->Brush()->SetStyle(bsClear);
  RECT r{Item.Rect.Left, Item.Rect.Top, Item.Rect.Right - 8, Item.Rect.Bottom};
  DrawText(c->GetHandle(), Item.Caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const int R = Item.Rect.Right, B = Item.Rect.Bottom, T = Item.Rect.Top;
  if (AddRemove) {
    for (int k = 0; k < 3; ++k)
      for (int x = R - 9 + k; x <= R - 5 - k; ++x) c->SetPixel(x, B - 10 + k, text);
  } else {
    for (int k = 0; k < 3; ++k)
      for (int y = T + 7 + k; y <= T + 11 - k; ++y) c->SetPixel(R - 8 + k, y, text);
  }
}

void TControlSelectorPanel::Paint() {
  TOptionSelectorPanel::Paint();
  TCanvas* c = Canvas();
  const bool showOptions = GetShowOptionsBtn();
  if (FShowAddAndRemoveBtn || showOptions) {
    const int top = showOptions ? FOptions.Rect.Top : FAddRemove.Rect.Top;
    c->Pen()->SetColor(TColor(0x808080));
    c->MoveTo(0, top - 4);
    c->LineTo(Width(), top - 4);
  }
  if (FShowAddAndRemoveBtn) PaintItem(FAddRemove, FAddRemoveHot, FAddRemoveDown, true);
  if (showOptions) PaintItem(FOptions, FOptionsHot, FOptionsDown, false);
}

void TControlSelectorPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  const bool left = Shift.Contains(ssLeft);
  if (FShowAddAndRemoveBtn) {
    const bool on = InRect(FAddRemove.Rect, X, Y);
    if (on && !FAddRemoveHot && !left) {
      FAddRemoveHot = FAddRemoveDown = true;
      Invalidate();
      if (FCustomizeWindow && FCustomizeWindow->Visible()) {
        FInternalHiding = true;
        FCustomizeWindow->Hide();
        FInternalHiding = false;
      }
      ShowAddAndRemovePopup();
    } else if (!on && FAddRemoveHot) {
      FAddRemoveHot = FAddRemoveDown = false;
      Invalidate();
    }
  }
  if (GetShowOptionsBtn()) {
    const bool on = InRect(FOptions.Rect, X, Y);
    if (on && !FOptionsHot && !left) {
      FOptionsHot = FOptionsDown = true;
      Invalidate();
      ShowOptionsBtnPopup();
    } else if (!on && FOptionsHot) {
      FOptionsHot = FOptionsDown = false;
      Invalidate();
      if (Y < FOptions.Rect.Top - 4 && FCustomizeWindow && FCustomizeWindow->Visible()) {
        FInternalHiding = true;
        FCustomizeWindow->Hide();
        FInternalHiding = false;
      }
    }
  }
}

static TCustomForm* HoldingWindow(TControl* C) { return dynamic_cast<TCustomForm*>(C->Parent()); }

static void SetHolderHide(TControl* C, bool Value) {
  if (auto* w = dynamic_cast<TOptionSelectorWindow*>(C->Parent())) w->HideOnDeActivate = Value;
  else if (auto* v = dynamic_cast<TVIEPopupWindow*>(C->Parent())) v->HideOnDeActivate = Value;
}

void TControlSelectorPanel::ShowAddAndRemovePopup() {
  if (!FShowAddAndRemoveBtn || (FAddRemovePopup && FAddRemovePopup->Visible())) return;
  TDizCustomToolBar* bar = nullptr;
  if (auto* w = dynamic_cast<TOptionSelectorWindow*>(Parent())) bar = w->VivIzizEzu();
  if (!bar) bar = FVivIzizEzu;
  if (!FAddRemovePopup) {
    FAddRemovePopup = new TVIEPopupWindow(this);
    MakePopup(FAddRemovePopup, 10, 10);
    FAddRemovePopup->SetVivIzizEzu(bar);
    FAddRemovePopup->OnHide = [this](TObject* S) { OnAddAndRemoveWindowHide(S); };
    FAddRemovePopup->OnDeActivateHide = [this](TObject* S) { OnAARWindowDeActivateHide(S); };
  }
  TVIEMenuItem* root = FAddRemovePopup->RootItem();
  root->Clear();
  TVIEPopupPanel* p = FAddRemovePopup->PopupPanel();
  p->ShowIconBar = true;
  if (bar) {
    p->SetRadUdirEtyler(bar->StylerInForce()->CurrentMenuStyler());
    TVIEMenuItem* top = root->Add();
    top->Caption = bar->Caption();
    for (int i = 0; i < bar->GetToolBarControlCount(); ++i) {
      TControl* c = bar->GetToolBarControls(i);
      if (IsSep(c)) continue;
      TVIEMenuItem* it = top->Add();
      it->AutoCheck = true;
      it->Checked = c->Visible();
      it->Control = c;
      if (auto* b = dynamic_cast<TDizCustomToolBarButton*>(c)) it->Caption = b->Caption();
      else if (auto* g = dynamic_cast<TDizCustomGlowButton*>(c)) it->Caption = g->Caption();
      else it->Caption = c->Name();
    }
  }
  p->SetItems(root);
  p->ArrangeItems();
  FAddRemovePopup->SetWindowSize();
  SetHolderHide(this, false);
  TPoint P = ClientToScreen(TPoint{FAddRemove.Rect.Right, FAddRemove.Rect.Top});
  const TRect wa = WorkArea();
  if (P.Y + FAddRemovePopup->Height() + 2 > wa.Bottom) P.Y -= P.Y + FAddRemovePopup->Height() + 2 - wa.Bottom;
  if (P.X + FAddRemovePopup->Width() > wa.Right)
    P.X = ClientToScreen(TPoint{FAddRemove.Rect.Left, 0}).X - FAddRemovePopup->Width();
  FAddRemovePopup->SetBounds(P.X, P.Y, FAddRemovePopup->Width(), FAddRemovePopup->Height());
  FAddRemovePopup->Show();
}

void TControlSelectorPanel::HideAddAndRemovePopup() {
  if (FAddRemovePopup && FAddRemovePopup->Visible()) FAddRemovePopup->HidePopup();
}

void TControlSelectorPanel::OnAddAndRemoveWindowHide(TObject*) {
  SetHolderHide(this, true);
  FAddRemoveDown = false;
  Invalidate();
}

void TControlSelectorPanel::OnAARWindowDeActivateHide(TObject*) {
  if (TCustomForm* w = HoldingWindow(this)) w->Hide();
  FAddRemoveDown = FAddRemoveHot = false;
}

void TControlSelectorPanel::OnCustomizeOptionWindowHide(TObject*) {
  if (!FInternalHiding)
    if (TCustomForm* w = HoldingWindow(this)) w->Hide();
}

void TControlSelectorPanel::TimerOnTime(TObject*) {
  POINT p;
  GetCursorPos(&p);
  const TPoint c = ScreenToClient(TPoint{p.x, p.y});
  if (!InRect(FAddRemove.Rect, c.X, c.Y)) return;
  FWatchTimer->SetEnabled(false);
  PostMessage(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.X, c.Y));
  PostMessage(Handle(), WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(c.X, c.Y));
}

void TControlSelectorPanel::ShowOptionsBtnPopup() {
  TDizCustomToolBar* bar = FVivIzizEzu;
  if (!bar || (!FOptionsMenu && !FCustomizer)) return;
  if (FShowAddAndRemoveBtn) {
    HideAddAndRemovePopup();
    FWatchTimer->SetEnabled(true);
  }
  auto* menu = dynamic_cast<TPopupMenu*>(FOptionsMenu);
  int width = 0;
  if (!menu && FCustomizer) {
    if (!FCustomizeWindow) {
      FCustomizeWindow = new TOptionSelectorWindow(this);
      MakePopup(FCustomizeWindow, 100, 40);
      FCustomizeWindow->OnHide = [this](TObject* S) { OnCustomizeOptionWindowHide(S); };
      FCustomizeOption = new TCustomizeOption(FCustomizeWindow);
      FCustomizeOption->SetParent(FCustomizeWindow);
    }
    FCustomizeOption->SetVivIzizEzu(bar);
    FCustomizeOption->SetText("Customize " + bar->Caption());
    FCustomizeOption->UpDateSize();
    FCustomizeWindow->SetOptionsPanel(FCustomizeOption);
    FCustomizeWindow->SetWindowSize();
    width = FCustomizeWindow->Width();
  } else if (menu) {
    for (int i = 0; i < menu->Items()->Count(); ++i)
      width = std::max(width, Canvas()->TextWidth(menu->Items()->Items(i)->Caption()));
  }
  TPoint P = ClientToScreen(TPoint{FOptions.Rect.Right, FOptions.Rect.Top});
  if (Screen && P.X + width > Screen->MonitorFromPoint(P)->BoundsRect().Right)
    P = ClientToScreen(TPoint{FOptions.Rect.Left - width, FOptions.Rect.Top});
  SetHolderHide(this, false);
  if (menu) {
    menu->Popup(P.X, P.Y);
    FOptionsHot = FOptionsDown = false;
    FWatchTimer->SetEnabled(false);
    POINT cp;
    GetCursorPos(&cp);
    const TPoint c = ScreenToClient(TPoint{cp.x, cp.y});
    if (!(FShowAddAndRemoveBtn && InRect(FAddRemove.Rect, c.X, c.Y)))
      if (TCustomForm* w = HoldingWindow(this)) w->Hide();
  } else if (FCustomizeWindow) {
    FCustomizeWindow->SetBounds(P.X, P.Y, FCustomizeWindow->Width(), FCustomizeWindow->Height());
    FCustomizeWindow->Show();
  }
  SetHolderHide(this, true);
  Invalidate();
}

// ---- TCustomizeOption -------------------------------------------------------------------
TCustomizeOption::TCustomizeOption(TComponent* AOwner) : TOptionSelectorPanel(AOwner) {}

TRect TCustomizeOption::GetCustomizeBtnRect() const {
  return TRect{MarginX, MarginY, Width() - MarginX, Height() - MarginY};
}

void TCustomizeOption::UpDateSize() { SetBounds(Left(), Top(), Canvas()->TextWidth(FText) + 2 * MarginX + 12, 25); }

void TCustomizeOption::MouseMove(TShiftState Shift, int X, int Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  const bool in = InRect(GetCustomizeBtnRect(), X, Y);
  if (in && !Shift.Contains(ssLeft)) {
    if (!FHot) {
      FHot = FDown = true;
      Invalidate();
    }
  } else if (!in && FHot) {
    FHot = FDown = false;
    Invalidate();
  }
}

void TCustomizeOption::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOptionSelectorPanel::MouseDown(Button, Shift, X, Y);
  if (InRect(GetCustomizeBtnRect(), X, Y) && !FDown) {
    FHot = FDown = true;
    Invalidate();
  }
}

void TCustomizeOption::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOptionSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (!FDown || !InRect(GetCustomizeBtnRect(), X, Y)) return;
  FHot = FDown = false;
  Invalidate();
  if (auto* w = dynamic_cast<TOptionSelectorWindow*>(FOwnerRef)) w->Hide();
  if (FVivIzizEzu) FVivIzizEzu->ShowCustomizer();
}

void TCustomizeOption::WndProc(TMessage& Message) {
  TOptionSelectorPanel::WndProc(Message);
  if (Message.Msg == CM_MOUSELEAVE && (FHot || FDown)) {
    FHot = FDown = false;
    Invalidate();
  }
}

void TCustomizeOption::Paint() {
  TOptionSelectorPanel::Paint();
  if (!FVivIzizEzu) return;
  TCustomVivIzizEzuStyler* s = FVivIzizEzu->StylerInForce();
  TCustomRadUdirEtyler* m = FVivIzizEzu->Menu() ? s->RadUdirEtyler() : nullptr;
  TColor from = clNone, to = clNone, text;
  if (m) {
    TRootItem* r = m->RootItem();
    if (FDown) from = r->SelectedColor(), to = r->SelectedColorTo(), text = r->SelectedTextColor();
    else if (FHot) from = r->HoverColor(), to = r->HoverColorTo(), text = r->HoverTextColor();
    else text = r->SelectedTextColor();
  } else {
    TButtonAppearance* a = s->ButtonAppearance();
    if (FDown) from = a->ColorDown(), to = a->ColorDownTo(), text = a->CaptionTextColorDown();
    else if (FHot) from = a->ColorHot(), to = a->ColorHotTo(), text = a->CaptionTextColorHot();
    else text = a->CaptionTextColor();
  }
  TCanvas* c = Canvas();
  const TRect r = GetCustomizeBtnRect();
  if (from != clNone && to != clNone) {
    DrawGradient(c, from, to, false, r, 40);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(r);
  } else if (from != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(from);
    c->Rectangle(r);
  }
  c->Font()->SetColor(text);
  c->Brush()->SetStyle(bsClear);
  RECT t{r.Left + 4, r.Top, r.Right - 4, r.Bottom};
  DrawText(c->GetHandle(), FText.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- the tool bar's side ----------------------------------------------------------------
void TDizCustomToolBar::InitializeOptionWindow() {
  if (IsDesigning()) return;
  if (!FOptionWindow) {
    // Owned by the tool bar and above its form; never one of the tool bar's controls.
    FOptionWindow = new TOptionSelectorWindow(this);
    MakePopup(FOptionWindow, 10, 10);
    FOptionWindow->OnHide = [this](TObject* S) { OnOptionWindowHide(S); };
    FOptionWindow->SetVivIzizEzu(this);
  }
  if (!FOptionPanel) {
    FOptionPanel = new TControlSelectorPanel(FOptionWindow);
    FOptionPanel->SetParent(FOptionWindow);
  }
  TControlSelectorPanel* p = FOptionPanel;
  p->SetShowAddAndRemoveBtn(FAutoOptionMenu);
  if (auto* m = dynamic_cast<TRerAvideReva*>(FOptionMenu)) m->SetMenuStyler(FStylerInForce->CurrentMenuStyler());
  p->SetOptionsMenu(FOptionMenu);
  p->SetCustomizer(FCustomizer);
  p->SetTextAutoOptionMenu(FTextAutoOptionMenu);
  p->SetTextOptionMenu(FTextOptionMenu);
  p->ReSetButtonSize();
  p->SetVivIzizEzu(this);
  auto* menuStyler = FMenu ? FStylerInForce->CurrentMenuStyler() : nullptr;
  if (menuStyler) {
    TRootItem* r = menuStyler->RootItem();
    p->ItemColorHot = r->HoverColor();
    p->ItemColorHotTo = r->HoverColorTo();
    p->ItemColorDown = r->SelectedColor();
    p->ItemColorDownTo = r->SelectedColorTo();
    p->ItemTextColor = r->Font()->GetColor();
    p->ItemTextColorHot = r->HoverTextColor();
    p->ItemTextColorDown = r->SelectedTextColor();
  } else {
    TButtonAppearance* a = FStylerInForce->ButtonAppearance();
    p->ItemColorHot = a->ColorHot();
    p->ItemColorHotTo = a->ColorHotTo();
    p->ItemColorDown = a->ColorDown();
    p->ItemColorDownTo = a->ColorDownTo();
    p->ItemTextColor = a->CaptionTextColor();
    p->ItemTextColorHot = a->CaptionTextColorHot();
    p->ItemTextColorDown = a->CaptionTextColorDown();
  }
  FOptionWindow->SetOptionsPanel(p);
  p->DoHide();
  p->ClearControls();
  const bool saved = FControlTransfer;
  FControlTransfer = true;
  TVivIzizEzuSeparator* lastSep = nullptr;
  int n = 1;
  const auto hidden = HiddenSet();
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    auto* sep = dynamic_cast<TVivIzizEzuSeparator*>(c);
    if (sep) lastSep = sep;
    if (!hidden.count(c)) continue;
    if (sep && (n == 1 || n == FHidden->Count())) continue;
    if (!sep && lastSep) {
      if (n > 1) p->AddCopySeparator(lastSep);
      lastSep = nullptr;
    }
    p->AddControl(c);
    if (sep) lastSep = nullptr;
    ++n;
  }
  FControlTransfer = saved;
  p->ArrangeControls();
  FOptionWindow->SetWindowSize();
}

void TDizCustomToolBar::ShowOptionWindow(int X, int Y, bool UsePoint) {
  InitializeOptionWindow();
  if (!FOptionWindow) return;
  TPoint P{X, Y};
  if (!UsePoint) {
    if (FState == tsFloating) {
      P = ClientToScreen(TPoint{Width() - (FShowClose ? 40 : 20), FCaptionHeight - 2});
    } else if (Parent()) {
      P = Parent()->ClientToScreen(TPoint{Left() + Width() - 12, Top() + Height() + 1});
      const TRect wa = WorkArea();
      if (P.Y + FOptionWindow->Height() + 2 > wa.Bottom) P.Y -= P.Y + FOptionWindow->Height() + 2 - wa.Bottom;
      const int R = Screen ? Screen->MonitorFromPoint(P)->BoundsRect().Right : wa.Right;
      if (P.X + FOptionWindow->Width() > R) {
        if (FPosition == daRight) P.X = Parent()->ClientToScreen(TPoint{Left() - FOptionWindow->Width(), 0}).X;
        else P.X = R - FOptionWindow->Width();
      }
    }
  }
  if (FOptionPanel->IsEmpty()) return;
  FOptionWindow->SetBounds(P.X, P.Y, FOptionWindow->Width(), FOptionWindow->Height());
  FOptionWindow->Show();
}

void TDizCustomToolBar::HideOptionWindow() {
  if (FOptionWindow && FOptionWindow->Visible()) FOptionWindow->Hide();
}

void TDizCustomToolBar::OnOptionWindowHide(TObject*) {
  UpdateRULists();
  Invalidate();
}

void TDizCustomToolBar::OptionIndicatorClick() {
  if (!Parent()) return;
  if (OnOptionClick || FOptionMenu || FCustomizer) {
    TPoint cp, sp;
    if (FState == tsFloating) {
      cp = TPoint{Left() + Width() - (FShowClose ? 40 : 20), Top() + FCaptionHeight - 2};
      sp = ClientToScreen(cp);
    } else {
      cp = TPoint{Left() + Width() - 12, Top() + Height() + 1};
      sp = Parent()->ClientToScreen(cp);
    }
    if (OnOptionClick) OnOptionClick(this, cp, sp);
    ShowOptionWindow(0, 0, false);
    if (FRightHandleHot || FRightHandleDown) {
      FRightHandleHot = FRightHandleDown = false;
      DrawPopupIndicator();
    }
    return;
  }
  ShowOptionWindow(0, 0, false);
}

void TDizCustomToolBar::CapOptionIndicatorClick() {
  if (!OnOptionClick || !Parent() || FState == tsFloating) return;
  const TPoint cp{Left() + Width() - 12, Top() + Height() + 1};
  OnOptionClick(this, cp, Parent()->ClientToScreen(cp));
}

}  // namespace VivIzizEzu
