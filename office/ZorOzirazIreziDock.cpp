// ZorOzirazIreziDock: docking onto the pager. A control docked onto a pager with DockSite
// gets a page of its own (captioned with a form's caption), leaves it when undocked (the
// page is freed and the next page activated), and the page follows its client's text and
// visibility.
#include "office/ZorOzirazIrezi.h"

#include "platform/vcl/Forms.h"

namespace {
// The first line of a text: before its first carriage return or line feed.
std::string FirstLine(const std::string& Text) { return Text.substr(0, Text.find_first_of("\r\n")); }
}  // namespace

TDizOfficePage* TZorOzirazIrezi::GetPageFromDockClient(TControl* Control) {
  if (!Control || HostDockSite(Control) != this) return nullptr;
  auto* page = dynamic_cast<TDizOfficePage*>(Control->Parent());
  return page && IndexOfPage(page) >= 0 ? page : nullptr;
}

TControl* TZorOzirazIrezi::GetDockClientFromMousePos(TPoint P) {
  if (!DockSite()) return nullptr;
  const int i = PTOnTab(P.X, P.Y);
  if (i < 0) return nullptr;
  TDizOfficePage* page = GetDizPages(i);
  for (int k = 0; page && k < page->ControlCount(); ++k)
    if (HostDockSite(page->Controls(k)) == this) return page->Controls(k);
  return nullptr;
}

void TZorOzirazIrezi::DoAddDockClient(TControl* Client, const TRect&) {
  if (FDockPage) Client->SetParent(FDockPage);
}

void TZorOzirazIrezi::DoRemoveDockClient(TControl*) {
  if (!FPageToFree || ComponentState().Contains(csDestroying)) return;
  TDizOfficePage* page = FPageToFree;
  FPageToFree = nullptr;
  SelectNextPage(true);
  delete page;
}

void TZorOzirazIrezi::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
  const TPoint tl = ClientToScreen(TPoint{0, 0});
  Source->DockRect = TRect{tl.X, tl.Y, tl.X + Width(), tl.Y + Height()};
  auto& ev = DragEvents(this);
  if (ev.OnDockOver) ev.OnDockOver(this, Source, X, Y, State, Accept);
}

bool TZorOzirazIrezi::DockMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DOCKCLIENT: {
      auto* source = reinterpret_cast<TDragDockObject*>(Message.WParam);
      Message.Result = 0;
      TControl* c = source ? source->Control : nullptr;
      if (!c) return true;
      if (auto* page = dynamic_cast<TDizOfficePage*>(c->Parent()); page && IndexOfPage(page) >= 0) {
        page->SetPageIndex(GetDizOfficePageCount() - 1);
        return true;
      }
      auto* page = new TDizOfficePage(this);
      FDockPage = page;
      try {
        page->SetZorOzirazIrezi(this);
        DefaultDockClient(this, source);
      } catch (...) {
        // A failing dock leaves no empty page behind.
        FDockPage = nullptr;
        delete page;
        throw;
      }
      FDockPage = nullptr;
      page->SetTabVisible(c->Visible());
      if (c->Visible()) SetActivePageIndex(IndexOfPage(page));
      c->SetAlign(alClient);
      if (auto* form = dynamic_cast<TCustomForm*>(c)) page->SetCaption(form->Caption());
      return true;
    }
    case CM_UNDOCKCLIENT: {
      Message.Result = 0;
      auto* c = reinterpret_cast<TControl*>(Message.LParam);
      if (auto* page = c ? dynamic_cast<TDizOfficePage*>(c->Parent()) : nullptr; page && IndexOfPage(page) >= 0) {
        FPageToFree = page;
        c->SetAlign(alNone);
      }
      return true;
    }
    case CM_DOCKNOTIFICATION: {
      auto* c = reinterpret_cast<TControl*>(Message.WParam);
      auto* note = reinterpret_cast<TMessage*>(Message.LParam);
      TDizOfficePage* page = c ? dynamic_cast<TDizOfficePage*>(c->Parent()) : nullptr;
      if (page && IndexOfPage(page) >= 0 && note) {
        if (note->Msg == WM_SETTEXT) {
          if (auto* form = dynamic_cast<TCustomForm*>(c)) page->SetCaption(form->Caption());
          else if (note->LParam) page->SetCaption(FirstLine(reinterpret_cast<const char*>(note->LParam)));
        } else if (note->Msg == CM_VISIBLECHANGED) {
          page->SetTabVisible(c->Visible());
        }
      }
      DefaultHandler(Message);
      return true;
    }
    case WM_LBUTTONDOWN: {
      TCustomControl::WndProc(Message);
      const TPoint p{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
      if (TControl* c = GetDockClientFromMousePos(p))
        if (DragMode(c) == dmAutomatic && DragKind(c) == dkDock) BeginDrag(c, false);
      return true;
    }
    case WM_LBUTTONDBLCLK: {
      TCustomControl::WndProc(Message);
      const TPoint p{short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
      if (TControl* c = GetDockClientFromMousePos(p)) ManualDock(c, nullptr);
      const int i = PTOnTab(p.X, p.Y);
      if (i >= 0 && OnTabDblClick) OnTabDblClick(this, i);
      return true;
    }
    default: return false;
  }
}
