// The MDI buttons of a menu-bar tool bar: when the parent form's active MDI child is
// maximized, its minimize, restore and close buttons are drawn at the bar's far end and
// act on the child. The tool bar watches the form's window procedure to repaint when the
// child is maximized or restored.
#include <algorithm>
#include <unordered_map>

#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuDraw.h"

namespace VivIzizEzu {
namespace {

constexpr int kMDIButtonSize = 18;
constexpr TColor kInertGlyph = 0x808080;

bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

// The one form whose window procedure is replaced, the tool bar that watches it and the
// procedure it had before (kept here, so the form's own user data stays its own).
struct TWatch {
  HWND Form = nullptr;
  WNDPROC Previous = nullptr;
  TDizCustomToolBar* ToolBar = nullptr;
};
TWatch gWatch;

LRESULT MDIFormWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_WINDOWPOSCHANGED && gWatch.ToolBar) gWatch.ToolBar->Invalidate();
  WNDPROC previous = Wnd == gWatch.Form ? gWatch.Previous : nullptr;
  return previous ? CallWindowProc(previous, Wnd, Msg, WParam, LParam) : DefWindowProc(Wnd, Msg, WParam, LParam);
}

void Unwatch() {
  if (gWatch.Form && IsWindow(gWatch.Form) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtr(gWatch.Form, GWL_WNDPROC)) == &MDIFormWindowProc)
    SetWindowLongPtr(gWatch.Form, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gWatch.Previous));
  gWatch = TWatch{};
}

void Segment(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

TCustomForm* TDizCustomToolBar::GetMyParentForm() const {
  TControl* start = FDockPanel ? static_cast<TControl*>(FDockPanel)
                    : FLastDockPanel ? static_cast<TControl*>(FLastDockPanel)
                                     : static_cast<TControl*>(Parent());
  for (TControl* c = start; c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

TCustomForm* TDizCustomToolBar::CurrentMDIChild() {
  TCustomForm* form = GetMyParentForm();
  FMDIChild = form ? form->ActiveMDIChild() : nullptr;
  return FMDIChild;
}

void TDizCustomToolBar::SetAutoMDIButtons(bool Value) {
  if (Value == FAutoMDIButtons) return;
  if (Value && Parent() && Parent()->ClassNameIs("TVivIzizEzuPager")) return;
  FAutoMDIButtons = Value;
  if (IsDesigning() || IsLoading()) return;
  if (Value && FFullSize && FMenu) {
    TCustomForm* form = GetMyParentForm();
    if (!form) {
      FAutoMDIButtons = false;
      return;
    }
    HWND wnd = form->Handle();
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(wnd, GWL_WNDPROC)) == &MDIFormWindowProc) {
      gWatch.ToolBar = this;
      return;
    }
    Unwatch();
    FMDIChild = nullptr;
    gWatch.Form = wnd;
    gWatch.ToolBar = this;
    gWatch.Previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(wnd, GWL_WNDPROC));
    SetWindowLongPtr(wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&MDIFormWindowProc));
    return;
  }
  // Switching off gives the form its procedure back; its window region is the form's own
  // and stays as it is.
  if (gWatch.Form) {
    Unwatch();
    FMDIChild = nullptr;
    Invalidate();
  }
  FAutoMDIButtons = false;
}

void TDizCustomToolBar::SetMDIButtonsVisible(bool Value) {
  if (FMDIButtonsVisible == Value) return;
  FMDIButtonsVisible = Value;
  Invalidate();
}

TRect TDizCustomToolBar::GetMDICloseBtnRect() {
  TCustomForm* child = CurrentMDIChild();
  if (!child || !child->BorderIcons().Contains(biSystemMenu)) return TRect{};
  const int inset = FShowOptionIndicator && !FFullSize ? FPopupIndicatorWidth : 0;
  if (Horizontal()) {
    const int l = Width() - 21 - inset, t = std::max(2, (Height() - kMDIButtonSize) / 2);
    return TRect{l, t, l + kMDIButtonSize, t + kMDIButtonSize};
  }
  const int t = Height() - 21 - inset, l = std::max(2, (Width() - kMDIButtonSize) / 2);
  return TRect{l, t, l + kMDIButtonSize, t + kMDIButtonSize};
}

TRect TDizCustomToolBar::GetMDIMaxBtnRect() {
  TRect r = GetMDICloseBtnRect();
  if (r.Width() == 0 || FState == tsFloating) return TRect{};
  if (Horizontal()) return TRect{r.Left - 19, r.Top, r.Left - 1, r.Bottom};
  return TRect{r.Left, r.Top - 19, r.Right, r.Top - 1};
}

TRect TDizCustomToolBar::GetMDIMinBtnRect() {
  TRect r = GetMDIMaxBtnRect();
  if (r.Width() == 0) return TRect{};
  if (Horizontal()) return TRect{r.Left - 19, r.Top, r.Left - 1, r.Bottom};
  return TRect{r.Left, r.Top - 19, r.Right, r.Top - 1};
}

bool TDizCustomToolBar::PtOnMDIClose(int X, int Y) { return InRect(GetMDICloseBtnRect(), X, Y); }

bool TDizCustomToolBar::PtOnMDIMax(int X, int Y) {
  return InRect(GetMDIMaxBtnRect(), X, Y) && FMDIChild && FMDIChild->BorderIcons().Contains(biMaximize);
}

bool TDizCustomToolBar::PtOnMDIMin(int X, int Y) {
  return InRect(GetMDIMinBtnRect(), X, Y) && FMDIChild && FMDIChild->BorderIcons().Contains(biMinimize);
}

namespace {
bool CanAct(TDizCustomToolBar* T, TCustomForm* Child) {
  return T->AutoMDIButtons() && Child && Child->WindowState() == wsMaximized && T->MDIButtonsVisible() &&
         T->ToolBarState() != tsFloating;
}
}  // namespace

void TDizCustomToolBar::MDICloseBtnClick() {
  if (TCustomForm* child = CurrentMDIChild(); CanAct(this, child)) child->Close();
}

void TDizCustomToolBar::MDIMaxBtnClick() {
  if (TCustomForm* child = CurrentMDIChild(); CanAct(this, child) && child->BorderIcons().Contains(biMaximize))
    child->SetWindowState(wsNormal);
}

void TDizCustomToolBar::MDIMinBtnClick() {
  if (TCustomForm* child = CurrentMDIChild(); CanAct(this, child) && child->BorderIcons().Contains(biMinimize))
    child->SetWindowState(wsMinimized);
}

void TDizCustomToolBar::DrawMDIButtons() {
  TCustomForm* child = CurrentMDIChild();
  if (!FAutoMDIButtons || !child || child->WindowState() != wsMaximized || FState == tsFloating) {
    FMDIButtonsVisible = false;
    return;
  }
  FMDIButtonsVisible = true;
  TCanvas* c = Canvas();
  TButtonAppearance* a = FStylerInForce->ButtonAppearance();
  const TRect rects[3] = {GetMDICloseBtnRect(), GetMDIMaxBtnRect(), GetMDIMinBtnRect()};
  const bool horizontal = Horizontal();
  for (int i = 0; i < 3; ++i) {
    const TRect& R = rects[i];
    if (R.Width() == 0) continue;
    TColor from = clNone, to = clNone, border = clNone;
    TGradientDirection dir = gdVertical;
    if (FMDIDown[i]) {
      from = a->ColorDown(), to = a->ColorDownTo(), border = a->BorderDownColor(), dir = a->GradientDirectionDown();
    } else if (FMDIHot[i]) {
      from = a->ColorHot(), to = a->ColorHotTo(), border = a->BorderHotColor(), dir = a->GradientDirectionHot();
    }
    if (from != clNone && to != clNone) {
      DrawGradient(c, from, to, dir == gdHorizontal, R, 40);
    } else if (from != clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(from);
      c->FillRect(R);
    }
    if (border != clNone) {
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(border);
      c->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    }
    TColor glyph = clBlack;
    if (i == 1 && !child->BorderIcons().Contains(biMaximize)) glyph = kInertGlyph;
    if (i == 2 && !child->BorderIcons().Contains(biMinimize)) glyph = kInertGlyph;
    c->Pen()->SetColor(glyph);
    c->Pen()->SetWidth(1);
    const int x = R.Left + (R.Width() - 8) / 2, y = R.Top + (R.Height() - 8) / 2;
    if (i == 0) {
      Segment(c, x, y + 7, x + 8, y);
      Segment(c, x + 1, y + 7, x + 7, y);
      Segment(c, x, y + 1, x + 8, y + 8);
      Segment(c, x + 1, y + 1, x + 7, y + 8);
    } else if (i == 1 && horizontal) {
      Segment(c, x + 2, y, x + 8, y);
      Segment(c, x + 2, y + 1, x + 8, y + 1);
      Segment(c, x + 8, y, x + 8, y + 6);
      Segment(c, x, y + 3, x + 7, y + 3);
      Segment(c, x, y + 4, x + 7, y + 4);
      c->MoveTo(x, y + 4);
      c->LineTo(x, y + 8);
      c->LineTo(x + 6, y + 8);
      c->LineTo(x + 6, y + 4);
    } else if (i == 1) {
      const int r = R.Right;
      Segment(c, r - 5, y + 2, r - 5, y + 8);
      Segment(c, r - 6, y + 2, r - 6, y + 8);
      Segment(c, r - 5, y + 8, r - 11, y + 8);
      Segment(c, r - 8, y, r - 8, y + 7);
      Segment(c, r - 9, y, r - 9, y + 7);
      c->MoveTo(r - 9, y);
      c->LineTo(r - 13, y);
      c->LineTo(r - 13, y + 6);
      c->LineTo(r - 9, y + 6);
    } else if (horizontal) {
      const int mx = R.Left + (R.Width() - 6) / 2, my = R.Bottom - 6;
      Segment(c, mx, my, mx + 6, my);
      Segment(c, mx, my + 1, mx + 6, my + 1);
    } else {
      const int mx = R.Left + 5, my = R.Top + (R.Height() - 6) / 2;
      Segment(c, mx, my, mx, my + 6);
      Segment(c, mx + 1, my, mx + 1, my + 6);
    }
  }
}

// ---- the mouse on the buttons ----------------------------------------------------------
bool TDizCustomToolBar::MDIMouseDown(int X, int Y) {
  if (!FMDIButtonsVisible) return false;
  const bool on[3] = {PtOnMDIClose(X, Y), PtOnMDIMax(X, Y), PtOnMDIMin(X, Y)};
  for (int i = 0; i < 3; ++i)
    if (on[i]) {
      FMDIDown[i] = true;
      Invalidate();
      return true;
    }
  return false;
}

void TDizCustomToolBar::MDIMouseMove(int X, int Y) {
  if (!FMDIButtonsVisible) return;
  const bool on[3] = {PtOnMDIClose(X, Y), PtOnMDIMax(X, Y), PtOnMDIMin(X, Y)};
  bool changed = false;
  for (int i = 0; i < 3; ++i)
    if (FMDIHot[i] != on[i]) {
      FMDIHot[i] = on[i];
      changed = true;
    }
  if (changed) Invalidate();
}

bool TDizCustomToolBar::MDIMouseUp(int X, int Y) {
  const bool down[3] = {FMDIDown[0], FMDIDown[1], FMDIDown[2]};
  if (!down[0] && !down[1] && !down[2]) return false;
  FMDIDown[0] = FMDIDown[1] = FMDIDown[2] = false;
  Invalidate();
  // Close acts only when released over it; maximize and minimize wherever the mouse is.
  if (down[0] && PtOnMDIClose(X, Y)) MDICloseBtnClick();
  else if (down[1]) MDIMaxBtnClick();
  else if (down[2]) MDIMinBtnClick();
  return true;
}

void TDizCustomToolBar::MDIMouseLeave() {
  bool any = false;
  for (int i = 0; i < 3; ++i) {
    any = any || FMDIHot[i] || FMDIDown[i];
    FMDIHot[i] = FMDIDown[i] = false;
  }
  if (any) Invalidate();
}

}  // namespace VivIzizEzu
