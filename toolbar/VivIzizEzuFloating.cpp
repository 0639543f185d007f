// VivIzizEzuFloating: the tool bar's own mouse handling, its drag (a loop of its own that
// slides it along and across the rows, tears it off and docks it elsewhere), floating in
// a TFloatingWindow with its row layout, and the floating window itself.
#include "toolbar/VivIzizEzuFloating.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

namespace {
constexpr UINT_PTR kFloatingTimerId = 500;
constexpr int kTearDistance = 26;
constexpr int kDockReach = 15;

TControl* At(const TList* L, int I) { return static_cast<TControl*>(L->Get(I)); }

bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

TCustomForm* FormAbove(TControl* C) {
  for (TWinControl* p = C ? C->Parent() : nullptr; p; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) return f;
  return nullptr;
}

TRect ScreenRectOf(TWinControl* C) {
  const TPoint tl = C->ClientToScreen(TPoint{0, 0});
  return TRect{tl.X, tl.Y, tl.X + C->Width(), tl.Y + C->Height()};
}
}  // namespace

// ---- the floating window ----------------------------------------------------------------
void TFloatingWindow::Publish(TClassBuilder<TFloatingWindow>& P) {
  P.Int("BorderWidth", &TFloatingWindow::BorderWidth, &TFloatingWindow::SetBorderWidth, 2)
      .Int("BorderColor", &TFloatingWindow::BorderColor, &TFloatingWindow::SetBorderColor, TColor(clGray))
      .Consts(ColorConsts());
}

TFloatingWindow::TFloatingWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  FBorderWidth = 2;
  FBorderColor = TColor(0x6D6D6D);
  FSavedCursor = crDefault;
}

TFloatingWindow::~TFloatingWindow() {
  if (FToolBar && FToolBar->FFloatingWindow == this) FToolBar->FFloatingWindow = nullptr;
  FToolBar = nullptr;
}

void TFloatingWindow::Loaded() {
  TCustomForm::Loaded();
  FSavedCursor = Cursor();
}

// A managed utility window of its form: above the form, no task bar entry.
void TFloatingWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TFloatingWindow::WndProc(TMessage& Message) { TCustomForm::WndProc(Message); }

void TFloatingWindow::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  SetWindowSize();
}

void TFloatingWindow::SetWindowSize() {
  if (!FToolBar) return;
  const int b = FBorderWidth + 1;
  SetBounds(Left(), Top(), FToolBar->Width() + 2 * b, FToolBar->Height() + 2 * b);
  FToolBar->SetBounds(b, b, FToolBar->Width(), FToolBar->Height());
  Invalidate();
}

void TFloatingWindow::Paint() {
  TCustomForm::Paint();
  if (FBorderColor == clNone) return;
  TCanvas* c = Canvas();
  c->Pen()->SetColor(FBorderColor);
  c->Pen()->SetWidth(FBorderWidth);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(1, 1, Width(), Height());
  c->Pen()->SetWidth(1);
  const int b = FBorderWidth, W = Width(), H = Height();
  c->SetPixel(b, b, FBorderColor);
  c->SetPixel(W - b - 1, b, FBorderColor);
  c->SetPixel(b, H - b - 1, FBorderColor);
  c->SetPixel(W - b - 1, H - b - 1, FBorderColor);
}

void TFloatingWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomForm::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int W = Width(), H = Height();
  if (X >= W - 5 && X <= W) {
    FEdge = rcRight, FRefX = W, FRefY = Y;
  } else if (Y >= H - 5 && Y <= H) {
    FEdge = rcBottom, FRefY = H, FRefX = X;
  } else if (X >= 0 && X <= 5) {
    FEdge = rcLeft, FRefX = 0, FRefY = Y;
  } else if (Y >= 0 && Y <= 5) {
    FEdge = rcTop, FRefY = 0, FRefX = X;
  } else {
    return;
  }
  FResizing = true;
  FLastStep = 0;
}

void TFloatingWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomForm::MouseUp(Button, Shift, X, Y);
  FResizing = false;
  FLastStep = 0;
  FRefX = FRefY = 0;
}

bool TFloatingWindow::StepRows(int Rows) {
  const int before = FToolBar->FloatingRows();
  FToolBar->SetFloatingRows(Rows);
  return FToolBar->FloatingRows() != before;
}

void TFloatingWindow::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomForm::MouseMove(Shift, X, Y);
  const int W = Width(), H = Height();
  TCursor want = FSavedCursor;
  if ((X >= 0 && X <= 5) || (X >= W - 5 && X <= W)) want = crSizeWE;
  else if ((Y >= 0 && Y <= 5) || (Y >= H - 5 && Y <= H)) want = crSizeNS;
  if (Cursor() != want) SetCursor(want);
  if (!FResizing || !Shift.Contains(ssLeft) || !FToolBar) return;
  const int R = FToolBar->FloatingRows();
  const int b = FBorderWidth;
  int h = 0, w = 0;
  const int oldW = W, oldH = H;
  bool changed = false, undo = false;
  const bool horizontalEdge = FEdge == rcLeft || FEdge == rcRight;
  const int d = horizontalEdge ? X - FRefX : Y - FRefY;
  // Grow and shrink per edge: the row count that makes the window bigger across it.
  int growRows, shrinkRows;
  bool growTest, shrinkTest;
  switch (FEdge) {
    case rcRight:
      growRows = R - 1, shrinkRows = R + 1;
      growTest = (d > 5 && FLastStep == 0) || (d >= 3 && FLastStep == 1);
      shrinkTest = (d < -5 && FLastStep == 0) || (d <= -3 && FLastStep == 2);
      break;
    case rcLeft:
      growRows = R - 1, shrinkRows = R + 1;
      growTest = (d < -5 && FLastStep == 0) || (d <= -3 && FLastStep == 1);
      shrinkTest = (d > 5 && FLastStep == 0) || (d >= 3 && FLastStep == 2);
      break;
    case rcBottom:
      growRows = R + 1, shrinkRows = R - 1;
      growTest = (d > 5 && FLastStep == 0) || (d >= 3 && FLastStep == 1);
      shrinkTest = (d < -5 && FLastStep == 0) || (d <= -3 && FLastStep == 2);
      break;
    default:
      growRows = R + 1, shrinkRows = R - 1;
      growTest = (d < -5 && FLastStep == 0) || (d <= -3 && FLastStep == 1);
      shrinkTest = (d > 5 && FLastStep == 0) || (d >= 3 && FLastStep == 2);
      break;
  }
  if (growTest) {
    changed = StepRows(growRows);
    if (changed) FLastStep = 1;
  } else if (shrinkTest) {
    changed = StepRows(shrinkRows);
    if (changed) FLastStep = 2;
  } else if (FLastStep == 1 && FToolBar->GetFloatingWindowSizes(shrinkRows, h, w)) {
    // Back over the previous size: the grow step is undone.
    bool back = false;
    switch (FEdge) {
      case rcRight: back = X <= 2 * b + w; break;
      case rcLeft: back = X >= W - (2 * b + w); break;
      case rcBottom: back = Y <= 2 * (b + 1) + h; break;
      case rcTop: back = Y >= H - (2 * (b + 1) + h); break;
    }
    if (back) changed = StepRows(shrinkRows), undo = true;
  } else if (FLastStep == 2 && FToolBar->GetFloatingWindowSizes(growRows, h, w)) {
    bool back = false;
    switch (FEdge) {
      case rcRight: back = X >= 2 * b + w; break;
      case rcLeft: back = X <= W - (2 * b + w); break;
      case rcBottom: back = Y >= 2 * b + h; break;
      case rcTop: back = Y <= H - (2 * b + h); break;
    }
    if (back) changed = StepRows(growRows), undo = true;
  }
  if (!changed && !undo) return;
  switch (FEdge) {
    case rcRight: FRefX = Width(); break;
    case rcBottom: FRefY = Height(); break;
    case rcLeft:
      FRefX = 0;
      SetLeft(Left() + (oldW - Width()));
      break;
    case rcTop:
      FRefY = 0;
      SetTop(Top() + (oldH - Height()));
      break;
  }
  if (changed || horizontalEdge) Invalidate();
}

// ---- hit tests --------------------------------------------------------------------------
bool TDizCustomToolBar::PtOnDragGrip(int X, int Y) {
  if (!FStylerInForce || FStylerInForce->DragGripStyle() == dsNone || Page() || FState == tsFloating) return false;
  const TRect r = Horizontal() ? TRect{0, 0, FDragGripWidth, Height()} : TRect{0, 0, Width(), FDragGripWidth};
  return InRect(r, X, Y);
}

bool TDizCustomToolBar::PtOnPopupIndicator(int X, int Y) {
  if (!FShowPopupIndicator || !FShowRightHandle) return false;
  const TRect r = Horizontal() ? TRect{Width() - FPopupIndicatorWidth, 0, Width(), Height()}
                               : TRect{0, Height() - FPopupIndicatorWidth, Width(), Height()};
  return InRect(r, X, Y);
}

bool TDizCustomToolBar::PtOnGripCaption(int X, int Y) {
  if (FState != tsFloating) return false;
  TRect r = GetCaptionRect();
  if (FShowOptionIndicator) r.Right = FWCustomizedBtnRect().Left;
  else if (FShowClose) r.Right = FWCloseBtnRect().Left;
  return InRect(r, X, Y);
}

bool TDizCustomToolBar::PtOnCloseBtn(int X, int Y) { return FState == tsFloating && InRect(FWCloseBtnRect(), X, Y); }

bool TDizCustomToolBar::PtOnCustomizedBtn(int X, int Y) {
  return FState == tsFloating && InRect(FWCustomizedBtnRect(), X, Y);
}

TDizCustomToolBarButton* TDizCustomToolBar::ButtonAtPos(int X, int Y) {
  for (int i = 0; i < FSequence->Count(); ++i) {
    auto* b = dynamic_cast<TDizCustomToolBarButton*>(At(FSequence.get(), i));
    if (!b || !b->Visible() || !b->Enabled()) continue;
    if (FState == tsDocked && FHidden->IndexOf(b) >= 0) continue;
    if (X >= b->Left() && X <= b->Left() + b->Width() && Y >= b->Top() && Y <= b->Top() + b->Height()) return b;
  }
  return nullptr;
}

// ---- mouse ------------------------------------------------------------------------------
void TDizCustomToolBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (FMoving) return;
  if (Button == mbLeft && MDIMouseDown(X, Y)) return;
  const bool designing = IsDesigning();
  if (FState == tsDocked) {
    if (PtOnDragGrip(X, Y)) {
      if (!FLocked) BeginMove(Shift, X, Y);
      return;
    }
    if (!designing && PtOnPopupIndicator(X, Y)) {
      SetRightHandleDown(true);
      OptionIndicatorClick();
      return;
    }
  } else if (FState == tsFloating) {
    if (PtOnGripCaption(X, Y)) {
      if (Screen && Screen->Cursor() != crSizeAll) Screen->SetCursor(crSizeAll);
      BeginMove(Shift, X, Y);
      return;
    }
    if (PtOnCustomizedBtn(X, Y) && !FCustomizeDown) {
      FCustomizeDown = true;
      Invalidate();
      OptionIndicatorClick();
    } else if (PtOnCloseBtn(X, Y) && !FCloseDown) {
      FCloseDown = true;
      Invalidate();
    }
  }
  if (FState != tsFloating && FShowOptionIndicator && !FShowRightHandle && FShowCaption && !designing &&
      InRect(GetOptionIndicatorRect(), X, Y)) {
    SetOptionButtonDown(true);
    CapOptionIndicatorClick();
  }
}

void TDizCustomToolBar::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FMoving) return;
  MDIMouseMove(X, Y);
  if (!Shift.Contains(ssLeft) && !FLocked) {
    if (PtOnDragGrip(X, Y)) {
      if (Cursor() != crSizeAll) SetCursor(crSizeAll);
    } else if (Cursor() == crSizeAll) {
      SetCursor(FSavedCursor);
    }
  }
  if (!IsDesigning()) {
    const bool onIndicator = PtOnPopupIndicator(X, Y);
    if (onIndicator != FRightHandleHot) SetRightHandleHot(onIndicator);
    if (FShowOptionIndicator && !FShowRightHandle && FState != tsFloating && FShowCaption) {
      const bool on = InRect(GetOptionIndicatorRect(), X, Y);
      if (on != FOptionBtnHot) SetOptionButtonHot(on);
    }
  }
  if (FState == tsFloating) {
    const bool c = PtOnCustomizedBtn(X, Y), x = PtOnCloseBtn(X, Y);
    if (c != FCustomizeHot || x != FCloseHot) {
      FCustomizeHot = c;
      FCloseHot = x;
      Invalidate();
    }
  }
}

void TDizCustomToolBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (MDIMouseUp(X, Y)) return;
  if (FRightHandleDown) SetRightHandleDown(false);
  if (FOptionBtnDown) SetOptionButtonDown(false);
  if (FState == tsFloating) {
    if (FCustomizeDown) {
      FCustomizeDown = false;
      Invalidate();
    }
    if (FCloseDown) {
      FCloseDown = false;
      FCloseHot = false;
      Invalidate();
      CloseBtnClick();
    }
  }
}

void TDizCustomToolBar::CMMouseLeave(TMessage& Message) {
  TCustomControl::WndProc(Message);
  MDIMouseLeave();
  if (!FMoving && Screen && Screen->Cursor() == crSizeAll) Screen->SetCursor(crDefault);
  if (!FMoving && Cursor() == crSizeAll) SetCursor(FSavedCursor);
  if (FRightHandleHot || FRightHandleDown) {
    SetRightHandleDown(false);
    SetRightHandleHot(false);
  }
  if (FState == tsFloating) {
    if (FCustomizeHot || FCustomizeDown || FCloseHot || FCloseDown) {
      FCustomizeHot = FCustomizeDown = FCloseHot = FCloseDown = false;
      Invalidate();
    }
  } else if (FOptionBtnHot || FOptionBtnDown) {
    SetOptionButtonDown(false);
    SetOptionButtonHot(false);
  }
}

// ---- the drag ---------------------------------------------------------------------------
TCustomForm* TDizCustomToolBar::FloatingParentForm() const {
  if (TCustomForm* f = FormAbove(FLastDockPanel)) return f;
  // Never docked: the form that owns the tool bar, else the one it stands on.
  for (TComponent* o = Owner(); o; o = o->Owner())
    if (auto* f = dynamic_cast<TCustomForm*>(o)) return f;
  if (FState != tsFloating) return FormAbove(const_cast<TDizCustomToolBar*>(this));
  return nullptr;
}

bool TDizCustomToolBar::AcceptableDockPanel(TWinControl* Panel) {
  auto* p = dynamic_cast<TDizDockPanel*>(Panel);
  if (!p || !FDockableTo.Contains(p->DockAlign())) return false;
  if (p->LockHeight() && !p->IsDesigning() && p->PropertiesLoaded()) return p->IsAllowedInAnyRow(this) >= 0;
  return true;
}

void TDizCustomToolBar::AddDockTargets(TWinControl* Root) {
  if (!Root || Root == this || ContainsControl(Root) || !Root->Showing()) return;
  if (auto* panel = dynamic_cast<TDizDockPanel*>(Root)) {
    if (AcceptableDockPanel(panel)) FDockTargets.push_back({panel, TRect{}});
    return;
  }
  if (FDockMode == dmParentDockPanelOnly) return;
  for (int i = 0; i < Root->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(Root->Controls(i));
    if (!w) continue;
    if (FDockMode == dmAllParentDockPanels && !dynamic_cast<TDizDockPanel*>(w)) continue;
    AddDockTargets(w);
  }
}

void TDizCustomToolBar::MeasureDockTargets() {
  for (TDockTarget& t : FDockTargets) {
    TRect r = ScreenRectOf(t.Panel);
    switch (static_cast<TDizDockPanel*>(t.Panel)->DockAlign()) {
      case daLeft: r.Right += kDockReach; break;
      case daTop: r.Bottom += kDockReach; break;
      case daRight: r.Left -= kDockReach; break;
      case daBottom: r.Top -= kDockReach; break;
    }
    t.Rect = r;
  }
}

void TDizCustomToolBar::FillDockTargets() {
  FDockTargets.clear();
  TWinControl* root = nullptr;
  if (FDockMode == dmParentDockPanelOnly && FLastDockPanel) root = FLastDockPanel;
  else if (FDockMode == dmAllParentDockPanels && FLastDockPanel && FLastDockPanel->Parent())
    root = FLastDockPanel->Parent();
  else root = FloatingParentForm();
  AddDockTargets(root);
  MeasureDockTargets();
}

void TDizCustomToolBar::BeginMove(TShiftState Shift, int X, int Y) {
  if (FMoving) return;
  FillDockTargets();
  FGrab = TPoint{X, Y};
  HWND h = Handle();
  SetCapture(h);
  FMoving = true;
  // The window handle stays across a change of parent while the drag runs.
  TControlState st = ControlState();
  st.Include(csDocking);
  SetControlState(st);
  while (FMoving && IsWindow(h) && GetCapture() == h) {
    MSG m;
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE) {
      POINT p;
      GetCursorPos(&p);
      const TPoint c = ScreenToClient(TPoint{p.x, p.y});
      Move(Shift, c.X, c.Y);
      continue;
    }
    if (m.message == WM_LBUTTONUP) {
      EndMove();
      break;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  EndMove();
}

void TDizCustomToolBar::EndMove() {
  if (Screen && Screen->Cursor() == crSizeAll) Screen->SetCursor(crDefault);
  FMoving = false;
  TControlState st = ControlState();
  st.Exclude(csDocking);
  SetControlState(st);
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  FDockTargets.clear();
}

void TDizCustomToolBar::Move(TShiftState, int X, int Y) {
  if (!FMoving) return;
  bool tear = false;
  // The mouse on the screen, before this step moves anything.
  const TPoint sp = ClientToScreen(TPoint{X, Y});
  auto* panel = dynamic_cast<TDizDockPanel*>(FDockPanel);
  if (FState == tsDocked && panel) {
    const int row = FRow;
    if (IsHorizontal(FPosition)) {
      const int before = Left();
      const int newLeft = X - FGrab.X + Left();
      SetLeft(newLeft);
      if (Y > Height()) SetTop(Top() + (Y - Height()));
      else if (Y < 0) SetTop(Top() + Y);
      if ((Y > Height() && FRow == row && Top() + Y > panel->Height() + kTearDistance) ||
          (Y < 0 && FRow == row && Top() + Y < -kTearDistance))
        tear = true;
      if (Left() != newLeft && !tear) {
        if (newLeft > Width()) tear = newLeft > panel->Width() + kTearDistance;
        else tear = X < 0 && X + before < -kTearDistance;
      }
      RECT a{Width() - 2, 0, Width(), 2}, b{Width() - 2, Height() - 2, Width(), Height()};
      InvalidateRect(Handle(), &a, FALSE);
      InvalidateRect(Handle(), &b, FALSE);
    } else {
      const int newTop = Y - FGrab.Y + Top();
      SetTop(newTop);
      if (X > Width()) SetLeft(Left() + (X - Width()));
      else if (X < 0) SetLeft(Left() + X);
      if ((X > Width() && FRow == row && Left() + X > panel->Width() + kTearDistance) ||
          (X < 0 && FRow == row && Left() + X < -kTearDistance))
        tear = true;
      if (Top() != newTop && !tear) {
        if (newTop > Height()) tear = newTop > panel->Height() + kTearDistance;
        else tear = newTop < -kTearDistance;
      }
      RECT a{0, Height() - 3, 3, Height()}, b{Width() - 3, Height() - 3, Width(), Height()};
      InvalidateRect(Handle(), &a, FALSE);
      InvalidateRect(Handle(), &b, FALSE);
    }
  } else if (FState == tsFloating && FFloatingWindow) {
    FFloatingWindow->SetBounds(FFloatingWindow->Left() + X - FGrab.X, FFloatingWindow->Top() + Y - FGrab.Y,
                               FFloatingWindow->Width(), FFloatingWindow->Height());
  }
  if (!FAllowFloating) tear = false;
  if (!tear && FState != tsFloating) return;
  for (const TDockTarget& t : FDockTargets) {
    if (!InRect(t.Rect, sp.X, sp.Y) || t.Panel == Parent()) continue;
    TFloatingWindow* window = FFloatingWindow;
    SetParent(t.Panel);
    if (Parent() != t.Panel) return;  // refused
    FGrab.X = 1;
    if (window) {
      FFloatingWindow = nullptr;
      window->SetDizCustomToolBar(nullptr);
      delete window;
    }
    return;
  }
  if (FState == tsFloating) return;
  bool allow = true;
  if (OnCanFloat) OnCanFloat(this, allow);
  if (!allow) return;
  SetFloating(0, 0, false);
  MeasureDockTargets();
}

// ---- floating ---------------------------------------------------------------------------
void TDizCustomToolBar::SetFloating(int X, int Y, bool UsePoint) {
  if (Page() || FFloatingWindow || FState == tsFloating) return;
  auto* w = new TFloatingWindow(Owner());
  w->SetBorderIcons(TBorderIcons{});
  w->SetBorderStyle(bsNone);
  w->SetFormStyle(fsStayOnTop);
  w->SetPosition(poDesigned);
  w->SetBorderWidth(FStylerInForce->FloatingWindowBorderWidth());
  w->SetBorderColor(FStylerInForce->FloatingWindowBorderColor());
  const TColor to = FStylerInForce->Color()->ColorTo();
  w->SetColor(to != clNone ? to : FStylerInForce->Color()->Color());
  TPoint target{X, Y};
  if (!UsePoint) {
    POINT p;
    GetCursorPos(&p);
    target = TPoint{p.x, p.y};
  }
  FDockedThickness = GetSizeAtDock(true);
  UnHideAllControls();
  FFloatingWindow = w;
  w->HandleNeeded();  // a drag's window moves into it
  SetParent(w);
  w->SetDizCustomToolBar(this);
  w->SetWindowSize();
  // Inside the work area: a stored or far-off point never puts the window out of reach.
  const TRect wa = Screen ? Screen->WorkAreaRect() : TRect{0, 0, 0, 0};
  if (wa.Width() > 0 && wa.Height() > 0) {
    target.X = std::max(wa.Left, std::min(target.X, wa.Right - w->Width()));
    target.Y = std::max(wa.Top, std::min(target.Y, wa.Bottom - w->Height()));
  }
  w->SetBounds(target.X, target.Y, w->Width(), w->Height());
  FParentForm = FloatingParentForm();
  if ((FParentForm && !FParentForm->Visible()) || w->Visible()) {
    w->Hide();
    FPendingShow = true;
  } else {
    w->Show();
  }
  FFloatingTimer = SetTimer(Handle(), kFloatingTimerId, 40, nullptr) ? kFloatingTimerId : 0;
}

void TDizCustomToolBar::FloatingTimerTick() {
  if (!FFloatingWindow || !FParentForm) return;
  if (!FParentForm->Visible() && FFloatingWindow->Visible()) {
    FFloatingWindow->Hide();
    FPendingShow = true;
  } else if (FParentForm->Visible() && !FFloatingWindow->Visible() && FPendingShow) {
    FPendingShow = false;
    FFloatingWindow->Show();
  }
}

void TDizCustomToolBar::Dock(TWinControl* Panel) {
  if (!Panel) return;
  const bool wasFloating = FState == tsFloating;
  TFloatingWindow* window = FFloatingWindow;
  SetParent(Panel);
  if (wasFloating && window && Parent() == Panel) {
    FFloatingWindow = nullptr;
    window->SetDizCustomToolBar(nullptr);
    delete window;
  }
}

void TDizCustomToolBar::CloseBtnClick() {
  if (FState != tsFloating) return;
  if (FAutoDockOnClose && FLastDockPanel) {
    Dock(FLastDockPanel);
    return;
  }
  if (FFloatingWindow) FFloatingWindow->Hide();
  SetVisible(false);
  if (OnClose) OnClose(this);
}

// ---- floating layout --------------------------------------------------------------------
int TDizCustomToolBar::GetMaxFloatingRowCount() {
  int largest = 0, n = 0;
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (!c->Visible()) continue;
    largest = std::max(largest, c->Width());
    ++n;
  }
  const int W = std::max(largest + 2, FMinLength);
  int rows = 1, used = 2;
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (!c->Visible()) continue;
    const int L = c->Width();
    if (L > W - used) ++rows, used = 2;
    used += L;
    if (used >= W) ++rows, used = 2;
  }
  if (rows > 1 && n < rows) return n;
  return rows;
}

bool TDizCustomToolBar::GetFloatingWindowSizes(int Rows, int& AHeight, int& AWidth) {
  if (Rows < 1 || Rows > GetMaxFloatingRowCount()) return false;
  int largest = 0;
  for (int i = 0; i < FSequence->Count(); ++i)
    if (At(FSequence.get(), i)->Visible()) largest = std::max(largest, At(FSequence.get(), i)->Width());
  int width = std::max(largest + 4, FMinLength);
  int slack = width;
  for (;;) {
    int rows = 1, used = 2;
    for (int i = 0; i < FSequence->Count() && rows <= Rows; ++i) {
      TControl* c = At(FSequence.get(), i);
      if (!c->Visible()) continue;
      const int L = c->Width();
      if (L > width - used - 2) {
        slack = std::min(slack, width - used - 2);
        ++rows;
        used = 2;
      }
      used += L;
    }
    if (rows > Rows) {
      width += 10;
      continue;
    }
    AHeight = rows * FDockedThickness + FCaptionHeight;
    if (rows > 1) {
      slack = std::min(slack, width - used - 2);
      width -= slack;
    }
    AWidth = width;
    return true;
  }
}

void TDizCustomToolBar::GetFloatingSizes(int& AHeight, int& AWidth) {
  if (!GetFloatingWindowSizes(std::max(1, std::min(FFloatingRows, GetMaxFloatingRowCount())), AHeight, AWidth)) {
    AHeight = FDockedThickness + FCaptionHeight;
    AWidth = FMinLength;
  }
}

void TDizCustomToolBar::SetFloatingRows(int Count) {
  if (Count <= 0 || Count > GetMaxFloatingRowCount() || Count == FFloatingRows) return;
  FFloatingRows = Count;
  if (IsLoading()) return;
  SetControlsPosition(true);
  if (FState == tsFloating && FFloatingWindow) FFloatingWindow->SetWindowSize();
}

}  // namespace VivIzizEzu
