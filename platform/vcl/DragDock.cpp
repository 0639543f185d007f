// DragDock: drags and docking of controls, the host forms of floating clients and the
// outline frame shown while a control is dragged to dock.
#include "platform/vcl/DragDock.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_map>

#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

namespace {

struct TInfo {
  TDragMode Mode = dmManual;
  TDragKind Kind = dkDrag;
  TDragEvents Events;
  bool Hooked = false;
  std::function<void(TMessage&)> Previous;
  // Drag state.
  bool Pending = false, Active = false, Dragged = false, UsePress = false;
  TPoint PressAt{0, 0};
  TPoint Start{0, 0};
  int Threshold = 5;
  TControl* Target = nullptr;
  bool Accepted = false;
  // Docking.
  bool Site = false;
  TWinControl* Host = nullptr;
  std::vector<TControl*> Clients;
};

// Forgets controls that are freed.
class TDragKeeper : public TComponent {
public:
  TDragKeeper() : TComponent(nullptr) {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::unordered_map<const TControl*, TInfo> Infos;
};

TDragKeeper& Keeper() {
  static TDragKeeper* k = new TDragKeeper();  // lives as long as the program
  return *k;
}

void TDragKeeper::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  auto* c = dynamic_cast<TControl*>(AComponent);
  if (!c) return;
  auto it = Infos.find(c);
  if (it != Infos.end()) {
    if (TWinControl* host = it->second.Host) {
      auto h = Infos.find(host);
      if (h != Infos.end()) {
        auto& v = h->second.Clients;
        v.erase(std::remove(v.begin(), v.end(), c), v.end());
      }
    }
    for (TControl* client : it->second.Clients) {
      auto ci = Infos.find(client);
      if (ci != Infos.end()) ci->second.Host = nullptr;
    }
    Infos.erase(it);
  }
}

const TInfo* Find(const TControl* C) {
  auto it = Keeper().Infos.find(C);
  return it == Keeper().Infos.end() ? nullptr : &it->second;
}

void Hook(TControl* C);

TInfo& Info(TControl* C) {
  auto [it, added] = Keeper().Infos.try_emplace(C);
  if (added) C->FreeNotification(&Keeper());
  return it->second;
}

// ---- the outline frame: four thin strips around the dock rectangle ----------------------
struct TFrame {
  std::vector<TCustomForm*> Strips;
  TRect Rect{0, 0, 0, 0};
};
TFrame& Frame() {
  static TFrame f;
  return f;
}

void HideFrame() {
  for (TCustomForm* s : Frame().Strips) delete s;
  Frame().Strips.clear();
}

void ShowFrame(const TRect& R) {
  TFrame& f = Frame();
  if (!f.Strips.empty() && f.Rect == R) return;
  HideFrame();
  f.Rect = R;
  const int t = 3;
  const TRect parts[4] = {{R.Left, R.Top, R.Right, R.Top + t},
                          {R.Left, R.Bottom - t, R.Right, R.Bottom},
                          {R.Left, R.Top + t, R.Left + t, R.Bottom - t},
                          {R.Right - t, R.Top + t, R.Right, R.Bottom - t}};
  for (const TRect& p : parts) {
    auto* s = new TCustomForm(nullptr);
    s->SetBorderStyle(bsNone);
    s->SetFormStyle(fsStayOnTop);
    s->SetColor(clGray);
    s->SetBounds(p.Left, p.Top, std::max(1, p.Width()), std::max(1, p.Height()));
    s->SetEnabled(false);
    ShowWindow(s->Handle(), SW_SHOWNOACTIVATE);
    f.Strips.push_back(s);
  }
}

TRect ScreenRect(TControl* C) {
  const TPoint tl = C->ClientToScreen(TPoint{0, 0});
  return TRect{tl.X, tl.Y, tl.X + C->Width(), tl.Y + C->Height()};
}

TWinControl* DockSiteAt(const TPoint& P, TControl* Dragged) {
  for (TControl* c = FindDragTarget(P, false); c; c = c->Parent()) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w != Dragged && DockSite(w) && !(dynamic_cast<TWinControl*>(Dragged) &&
                                               static_cast<TWinControl*>(Dragged)->ContainsControl(w)))
      return w;
  }
  return nullptr;
}

void DragMove(TControl* C, TInfo& I, const TPoint& P) {
  if (I.Kind == dkDock) {
    TDragDockObject obj(C);
    obj.DragPos = P;
    obj.DragTarget = DockSiteAt(P, C);
    bool accept = false;
    if (obj.DragTarget) {
      obj.DockRect = ScreenRect(obj.DragTarget);
      const TPoint lp = obj.DragTarget->ScreenToClient(P);
      accept = true;
      if (auto* hooks = dynamic_cast<IDockSiteHooks*>(obj.DragTarget))
        hooks->DockOver(&obj, lp.X, lp.Y, dsDragMove, accept);
      auto& ev = Info(obj.DragTarget).Events;
      if (ev.OnDockOver) ev.OnDockOver(obj.DragTarget, &obj, lp.X, lp.Y, dsDragMove, accept);
    } else {
      // Floating: the control's own size at the mouse.
      obj.DockRect = TRect{P.X, P.Y, P.X + C->Width(), P.Y + C->Height()};
    }
    I.Target = obj.DragTarget;
    I.Accepted = accept;
    ShowFrame(obj.DockRect);
    return;
  }
  TControl* target = FindDragTarget(P, false);
  if (target != I.Target && I.Target) {
    bool dummy = false;
    const TPoint lp = I.Target->ScreenToClient(P);
    I.Target->DragOver(C, lp.X, lp.Y, dsDragLeave, dummy);
  }
  bool accept = false;
  if (target) {
    const TPoint lp = target->ScreenToClient(P);
    target->DragOver(C, lp.X, lp.Y, target == I.Target ? dsDragMove : dsDragEnter, accept);
  }
  I.Target = target;
  I.Accepted = accept;
}

void StartDrag(TControl* C, TInfo& I) {
  I.Pending = false;
  I.Active = true;
  I.Target = nullptr;
  I.Accepted = false;
  if (I.Kind == dkDock) {
    if (I.Events.OnStartDock) I.Events.OnStartDock(C);
  } else if (I.Events.OnStartDrag) {
    I.Events.OnStartDrag(C);
  }
}

// The window that follows the mouse during a drag of C.
HWND DragWindow(TControl* C) {
  if (auto* w = dynamic_cast<TWinControl*>(C)) return w->Handle();
  return C->Parent() ? C->Parent()->Handle() : nullptr;
}

// The drag of C in a loop of its own, from the press until the left button is released
// or the capture is lost: it waits for the threshold unless it started at once. Returns
// whether the drag started.
bool DragLoop(TControl* C, TInfo& I) {
  HWND h = DragWindow(C);
  if (!h) return false;
  SetCapture(h);
  bool started = I.Active;
  while (GetCapture() == h && (I.Active || I.Pending)) {
    MSG m;
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));  // for the outer loop
      break;
    }
    if (m.message == WM_MOUSEMOVE) {
      // Where the mouse was when it moved (the message's own point).
      POINT p{short(LOWORD(m.lParam)), short(HIWORD(m.lParam))};
      if (m.hwnd) ClientToScreen(m.hwnd, &p);
      const TPoint sp{p.x, p.y};
      if (I.Pending &&
          (std::abs(sp.X - I.Start.X) > I.Threshold || std::abs(sp.Y - I.Start.Y) > I.Threshold)) {
        StartDrag(C, I);
        started = true;
      }
      if (I.Active) DragMove(C, I, sp);
      continue;
    }
    if (m.message == WM_LBUTTONUP) {
      if (I.Active) EndDrag(C, true);
      else I.Pending = false;
      break;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && I.Active) {
      EndDrag(C, false);
      break;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (I.Active || I.Pending) EndDrag(C, false);
  if (GetCapture() == h) ReleaseCapture();
  return started;
}

// The control's messages pass here first while it is hooked.
void Hooked(TControl* C, TMessage& M) {
  auto* info = const_cast<TInfo*>(Find(C));
  std::function<void(TMessage&)> prev = info ? info->Previous : nullptr;
  auto pass = [&] {
    if (prev) prev(M);
    else C->WndProc(M);
  };
  if (!info) return pass();
  TInfo& I = *info;
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
      if (I.Mode == dmAutomatic && !I.Active && !I.Pending) {
        POINT p{short(LOWORD(M.LParam)), short(HIWORD(M.LParam))};
        if (HWND h = DragWindow(C)) ClientToScreen(h, &p);
        I.PressAt = TPoint{p.x, p.y};
        I.UsePress = true;
        BeginDrag(C, false);
        if (!I.Dragged) {
          // Released within the threshold: an ordinary click.
          pass();
          if (HWND h = DragWindow(C)) PostMessage(h, WM_LBUTTONUP, 0, M.LParam);
        }
        return;
      }
      return pass();
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED: {
      pass();
      // The host dock site hears of the client's new text or visibility (a text set
      // through the control arrives as WM_SETTEXT with the new text).
      if (I.Host) {
        TMessage copy = M;
        std::string text;
        if (M.Msg == CM_TEXTCHANGED) {
          text = C->Caption();
          copy.Msg = WM_SETTEXT;
          copy.WParam = 0;
          copy.LParam = LPARAM(text.c_str());
        }
        I.Host->Perform(CM_DOCKNOTIFICATION, WPARAM(C), LPARAM(&copy));
      }
      return;
    }
    default: return pass();
  }
}

void Hook(TControl* C) {
  TInfo& I = Info(C);
  if (I.Hooked) return;
  I.Hooked = true;
  I.Previous = C->WindowProc;
  C->WindowProc = [C](TMessage& M) { Hooked(C, M); };
}

}  // namespace

TDragMode DragMode(const TControl* C) { return Find(C) ? Find(C)->Mode : dmManual; }
void SetDragMode(TControl* C, TDragMode Value) {
  Info(C).Mode = Value;
  if (Value == dmAutomatic) Hook(C);
}
TDragKind DragKind(const TControl* C) { return Find(C) ? Find(C)->Kind : dkDrag; }
void SetDragKind(TControl* C, TDragKind Value) { Info(C).Kind = Value; }
TDragEvents& DragEvents(TControl* C) { return Info(C).Events; }
bool Dragging(const TControl* C) { return Find(C) && Find(C)->Active; }
bool DragPending(const TControl* C) { return Find(C) && Find(C)->Pending; }

void BeginDrag(TControl* C, bool Immediate, int Threshold) {
  if (!C) return;
  Hook(C);
  TInfo& I = Info(C);
  if (I.Active || I.Pending) return;
  POINT p;
  GetCursorPos(&p);
  I.Start = I.UsePress ? I.PressAt : TPoint{p.x, p.y};
  I.UsePress = false;
  I.Threshold = Threshold < 0 ? Mouse()->DragThreshold : Threshold;
  if (Immediate) {
    StartDrag(C, I);
    DragMove(C, I, I.Start);
  } else {
    I.Pending = true;
  }
  I.Dragged = DragLoop(C, *const_cast<TInfo*>(Find(C)));
}

void EndDrag(TControl* C, bool Drop) {
  auto* info = const_cast<TInfo*>(Find(C));
  if (!info || (!info->Active && !info->Pending)) return;
  TInfo& I = *info;
  const bool wasActive = I.Active;
  I.Active = I.Pending = false;
  HideFrame();
  if (!wasActive) return;
  POINT p;
  GetCursorPos(&p);
  const TPoint sp{p.x, p.y};
  TControl* target = Drop && I.Accepted ? I.Target : nullptr;
  if (I.Kind == dkDock) {
    if (Drop) {
      if (target) ManualDock(C, static_cast<TWinControl*>(target));
      else if (!I.Target) ManualFloat(C, TRect{sp.X, sp.Y, sp.X + C->Width(), sp.Y + C->Height()});
    }
    if (I.Events.OnEndDock) {
      const TPoint lp = target ? target->ScreenToClient(sp) : sp;
      I.Events.OnEndDock(C, target, lp.X, lp.Y);
    }
  } else {
    if (target) {
      const TPoint lp = target->ScreenToClient(sp);
      auto tit = Keeper().Infos.find(target);
      if (tit != Keeper().Infos.end() && tit->second.Events.OnDragDrop)
        tit->second.Events.OnDragDrop(target, C, lp.X, lp.Y);
    }
    if (I.Events.OnEndDrag) {
      const TPoint lp = target ? target->ScreenToClient(sp) : sp;
      I.Events.OnEndDrag(C, target, lp.X, lp.Y);
    }
  }
  I.Target = nullptr;
}

bool DockSite(const TWinControl* S) { return Find(S) && Find(S)->Site; }
void SetDockSite(TWinControl* S, bool Value) { Info(S).Site = Value; }
TWinControl* HostDockSite(const TControl* C) { return Find(C) ? Find(C)->Host : nullptr; }
int DockClientCount(const TWinControl* S) { return Find(S) ? int(Find(S)->Clients.size()) : 0; }
TControl* DockClients(const TWinControl* S, int Index) {
  const TInfo* i = Find(S);
  if (!i || Index < 0 || Index >= int(i->Clients.size())) return nullptr;
  return i->Clients[size_t(Index)];
}

void DefaultDockClient(TWinControl* Site, TDragDockObject* Source) {
  TControl* c = Source->Control;
  const TPoint tl = Site->ScreenToClient(TPoint{Source->DockRect.Left, Source->DockRect.Top});
  const TRect r{tl.X, tl.Y, tl.X + Source->DockRect.Width(), tl.Y + Source->DockRect.Height()};
  if (auto* hooks = dynamic_cast<IDockSiteHooks*>(Site)) {
    hooks->DoAddDockClient(c, r);
  } else {
    c->SetParent(Site);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
}

namespace {
// Takes Control out of its host: CM_UNDOCKCLIENT first, the link and DoRemoveDockClient
// after the control has a new parent (Leave runs that part).
struct TUndock {
  TWinControl* Old = nullptr;
  TControl* Control = nullptr;
  void Prepare(TControl* C, TWinControl* NewTarget) {
    Control = C;
    Old = HostDockSite(C);
    if (Old) Old->Perform(CM_UNDOCKCLIENT, WPARAM(NewTarget), LPARAM(C));
  }
  void Leave() {
    if (!Old) return;
    TInfo& host = Info(Old);
    host.Clients.erase(std::remove(host.Clients.begin(), host.Clients.end(), Control), host.Clients.end());
    Info(Control).Host = nullptr;
    if (auto* hooks = dynamic_cast<IDockSiteHooks*>(Old)) hooks->DoRemoveDockClient(Control);
  }
};

// The form a floating client lives in.
class TFloatHostForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};
}  // namespace

bool ManualDock(TControl* C, TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide) {
  if (!C) return false;
  if (!NewDockSite) return ManualFloat(C, ScreenRect(C));
  if (NewDockSite == HostDockSite(C)) return true;
  TUndock undock;
  undock.Prepare(C, NewDockSite);
  TWinControl* oldParent = C->Parent();
  TDragDockObject obj(C);
  obj.DragTarget = NewDockSite;
  obj.DockRect = ScreenRect(NewDockSite);
  obj.DropOnControl = DropControl;
  obj.DropAlign = ControlSide;
  try {
    const LRESULT handled = NewDockSite->Perform(CM_DOCKCLIENT, WPARAM(&obj), 0);
    if (!handled && C->Parent() == oldParent) DefaultDockClient(NewDockSite, &obj);
  } catch (...) {
    // The site refused with an error: the control stays where it was.
    if (C->Parent() != oldParent) C->SetParent(oldParent);
    throw;
  }
  undock.Leave();
  Hook(C);
  Info(C).Host = NewDockSite;
  TInfo& site = Info(NewDockSite);
  if (std::find(site.Clients.begin(), site.Clients.end(), C) == site.Clients.end()) site.Clients.push_back(C);
  // A floating host form left empty goes.
  if (auto* host = dynamic_cast<TFloatHostForm*>(oldParent))
    if (host->ControlCount() == 0) host->Release();
  auto& ev = Info(NewDockSite).Events;
  if (ev.OnDockDrop) ev.OnDockDrop(NewDockSite, &obj, 0, 0);
  return true;
}

bool ManualFloat(TControl* C, const TRect& ScreenPos) {
  if (!C) return false;
  TUndock undock;
  undock.Prepare(C, nullptr);
  TWinControl* oldParent = C->Parent();
  if (auto* form = dynamic_cast<TCustomForm*>(C)) {
    // A form floats as itself.
    form->SetParent(nullptr);
    form->SetAlign(alNone);
    form->SetBounds(ScreenPos.Left, ScreenPos.Top, ScreenPos.Width(), ScreenPos.Height());
    form->Show();
  } else {
    auto* host = new TFloatHostForm(Application);
    host->SetBorderStyle(bsSizeToolWin);
    host->SetBounds(ScreenPos.Left, ScreenPos.Top, ScreenPos.Width(), ScreenPos.Height());
    C->SetParent(host);
    C->SetAlign(alClient);
    host->SetClientSize(ScreenPos.Width(), ScreenPos.Height());
    host->Show();
  }
  (void)oldParent;
  undock.Leave();
  return true;
}

HWND DockFrameWindow() { return Frame().Strips.empty() ? nullptr : Frame().Strips[0]->Handle(); }
