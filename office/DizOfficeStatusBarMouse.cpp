// DizOfficeStatusBar, part 3: mouse, anchors, hints, the size-grip hit test and the
// window messages of the bar.
#include "foundation/DizUtil.h"
#include "office/DizOfficeStatusBar.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace DizOfficeStatusBar;

namespace {
bool IsShellAnchor(const std::string& anchor) {
  return anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos;
}
}  // namespace

std::string TDizOfficeStatusBar::IsAnchor(int X, int Y) {
  std::string text;
  TRect r;
  if (FSimplePanel) {
    text = FSimpleText;
    r = GetSimplePanelRect();
  } else {
    const int p = GetPanel(X);
    if (p < 0) return std::string();
    text = FPanels->Items(p)->Text();
    r = GetPanelRect(p);
  }
  std::string anchor;
  int w = 0;
  Canvas()->Font()->Assign(Font());
  return MarkupCall(text, r, 2, X, Y, anchor, w) ? anchor : std::string();
}

// Keeps Index (hot or down) on the button panel P when 0 < Y < Height.
void TDizOfficeStatusBar::UpdateState(int& Index, int P, int Y) {
  if (P >= 0 && P != Index) {
    if (Index >= 0) {
      const int old = Index;
      Index = -1;
      InvalidatePanel(old);
    }
    if (FPanels->Items(P)->Button() && Y > 0 && Y < Height()) {
      Index = P;
      InvalidatePanel(P);
    }
  } else if (P < 0 && Index >= 0) {
    const int old = Index;
    Index = -1;
    InvalidatePanel(old);
  }
}

void TDizOfficeStatusBar::MouseMove(TShiftState Shift, int X, int Y) {
  const std::string anchor = IsAnchor(X, Y);
  const int p = FSimplePanel ? -1 : GetPanel(X);
  if (p != FLastHintPanel) {
    Application->CancelHint();
    FLastHintPanel = p;
  }
  UpdateState(FHotPanel, p, Y);
  if (!anchor.empty()) {
    if (Cursor() == crDefault || anchor != FLastAnchor) {
      FLastAnchor = anchor;
      SetCursor(crHandPoint);
      if (AnchorHint) Application->CancelHint();
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
    }
  } else if (Cursor() == crHandPoint) {
    SetCursor(crDefault);
    if (OnAnchorExit) OnAnchorExit(this, "");
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TDizOfficeStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int p = FSimplePanel ? -1 : GetPanel(X);
  UpdateState(FDownPanel, p, Y);
  if (Button == mbLeft && OnPanelClick) OnPanelClick(this, p);
  if (Button == mbRight && OnPanelRightClick) OnPanelRightClick(this, p);
  const std::string anchor = IsAnchor(X, Y);
  if (anchor.empty()) return;
  // Links the desktop may open go through the opener's allow-list; anything else is the
  // application's.
  if (IsShellAnchor(anchor) && IsOpenableLink(anchor)) OpenHyperlink(anchor);
  else if (OnAnchorClick) OnAnchorClick(this, anchor);
}

void TDizOfficeStatusBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FDownPanel >= 0) {
    const int old = FDownPanel;
    FDownPanel = -1;
    InvalidatePanel(old);
  }
}

bool TDizOfficeStatusBar::DoHint() {
  if (!OnHint) return false;
  OnHint(this);
  return true;
}

void TDizOfficeStatusBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
      if (FTimer) KillTimer(Handle(), kTimerId);
      FTimer = 0;
      break;
    case WM_TIMER:
      if (Message.WParam == kTimerId) {
        UpdateStatusBar();
        if (++FTickCounter > 10) FTickCounter = 0;
        return;
      }
      break;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SIZE:
      if (!ComponentState().Contains(csLoading)) TCustomControl::WndProc(Message);
      Invalidate();
      return;
    case WM_GETTEXTLENGTH: Message.Result = static_cast<LRESULT>(FSimpleText.size()); return;
    case WM_LBUTTONDBLCLK:
      TCustomControl::WndProc(Message);
      if (OnPanelDblClick) OnPanelDblClick(this, GetPanel(GET_X_LPARAM(Message.LParam)));
      return;
    case WM_NCHITTEST: {
      TCustomControl::WndProc(Message);
      if (ComponentState().Contains(csDesigning)) return;
      const TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
      if (p.Y > Height() - GetSystemMetrics(SM_CYHSCROLL) && p.X > Width() - GetSystemMetrics(SM_CXHSCROLL) &&
          Message.Result == HTCLIENT && HasSizeGrip()) {
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Message.Result = HTBOTTOMRIGHT;
      } else if (p.Y > Height() - 4 || p.X > Width() - 4) {
        Message.Result = HTTRANSPARENT;
      }
      return;
    }
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(Message);
      if (FDownPanel >= 0) {
        const int old = FDownPanel;
        FDownPanel = -1;
        InvalidatePanel(old);
      }
      if (FHotPanel >= 0) {
        const int old = FHotPanel;
        FHotPanel = -1;
        InvalidatePanel(old);
      }
      return;
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
      Message.Result = 0;
      if (!info || FSimplePanel) return;
      const int p = GetPanel(info->CursorPos.X);
      if (p < 0) return;
      TDizOfficeStatusPanel* panel = FPanels->Items(p);
      const std::string anchor =
          panel->Style() == psHTML && AnchorHint ? IsAnchor(info->CursorPos.X, info->CursorPos.Y) : std::string();
      FHintControl->SetOfficeHint(panel->OfficeHint());
      if (!anchor.empty()) {
        const TPoint s = ClientToScreen(info->CursorPos);
        info->HintPos = TPoint{s.X + 10, s.Y - 10};
        FHintControl->OfficeHint()->SetTitle("");
        FHintControl->OfficeHint()->Notes()->SetText(anchor);
      }
      info->HintControl = FHintControl;
      return;
    }
    case CM_PARENTFONTCHANGED:
      TCustomControl::WndProc(Message);
      if (ParentFont()) FUseSystemFont = false;
      return;
    case CM_SYSFONTCHANGED: SyncToSystemFont(); break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}
