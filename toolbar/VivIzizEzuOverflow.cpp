// VivIzizEzuOverflow: which controls a docked tool bar too short for them hides (the
// least recently used first, separators with their groups) and gives back when room
// comes back (the most recently hidden first).
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/win/WinUser.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuOption.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

namespace {
TControl* At(const TList* L, int I) { return static_cast<TControl*>(L->Get(I)); }
bool IsSep(TControl* C) { return dynamic_cast<TVivIzizEzuSeparator*>(C) != nullptr; }

// The message that runs a pass of the overflow after painting found room.
UINT RULMessage() {
  static const UINT m = RegisterWindowMessage("VivIzizEzuUpdateRULists");
  return m;
}
}  // namespace

UINT VivIzizEzuRULMessage() { return RULMessage(); }

void TDizCustomToolBar::GiveBack(TControl* Control) {
  if (IsDesigning() || IsLoading() || Control->Parent() == this) return;
  const bool t = FControlTransfer, g = FOverflowGuard;
  FControlTransfer = FOverflowGuard = true;
  Control->SetParent(this);
  FControlTransfer = t;
  FOverflowGuard = g;
}

// The group of the control at Index (the run between separators): whether another of its
// controls is shown, and the separators before and after it met on the way.
namespace {
struct TGroup {
  bool Shown = false;
  TControl* Before = nullptr;
  TControl* After = nullptr;
};

using THidden = std::unordered_set<const void*>;

TGroup GroupOf(const TDbgList* Seq, const THidden& Hidden, int Index) {
  TGroup g;
  auto shownCtl = [&](TControl* c) { return !Hidden.count(c) && c->Visible(); };
  for (int j = Index - 1; j >= 0; --j) {
    TControl* c = At(Seq, j);
    if (IsSep(c)) {
      g.Before = c;
      break;
    }
    if (shownCtl(c)) {
      g.Shown = true;
      break;
    }
  }
  if (!g.Shown)
    for (int j = Index + 1; j < Seq->Count(); ++j) {
      TControl* c = At(Seq, j);
      if (IsSep(c)) {
        g.After = c;
        break;
      }
      if (shownCtl(c)) {
        g.Shown = true;
        break;
      }
    }
  return g;
}

// The hidden separator of a hidden control's group that has to come back with it: the
// one before the group, else the one after it, when no other control of it is shown.
TControl* GroupSeparator(const TDbgList* Seq, const THidden& Hidden, int Index) {
  const TGroup g = GroupOf(Seq, Hidden, Index);
  if (g.Shown) return nullptr;
  if (g.Before && Hidden.count(g.Before)) return g.Before;
  if (g.After && Hidden.count(g.After)) return g.After;
  return nullptr;
}
}  // namespace

int TDizCustomToolBar::FindGroupSeparator(int Index, bool) {
  TControl* sep = GroupSeparator(FSequence.get(), HiddenSet(), Index);
  return sep ? FSequence->IndexOf(sep) : -1;
}

void TDizCustomToolBar::UpdateRULists() {
  if (FState != tsDocked || !FSequence || !FRUL || !FHidden || FOverflowGuard) return;
  const int n = FSequence->Count();
  std::unordered_map<const void*, int> index;
  index.reserve(size_t(n));
  for (int i = 0; i < n; ++i) index.emplace(FSequence->Get(i), i);
  if (FAutoRUL) {
    // Controls that left are dropped; new ones are appended in layout order.
    std::unordered_set<const void*> inRUL;
    std::vector<void*> kept;
    kept.reserve(FRUL->List().size());
    for (void* p : FRUL->List())
      if (index.count(p) && inRUL.insert(p).second) kept.push_back(p);
    for (void* p : FSequence->List())
      if (inRUL.insert(p).second) kept.push_back(p);
    if (kept != FRUL->List()) {
      FRUL->Clear();
      for (void* p : kept) FRUL->Add(p);
    }
  }
  if (FFullSize) {
    UnHideAllControls();
    return;
  }
  THidden hidden = HiddenSet();
  // Controls given back in one pass are laid out once, after the last step, as that step's
  // own give-back would lay them out (with its controls still counted as hidden): laying
  // out the whole bar for each control would make widening a bar with many hidden controls
  // quadratic. The pass decides from the room it measured at its start, so the layouts in
  // between never fed into it. A step is the controls one give-back takes out together.
  std::vector<TControl*> lastStep;
  TControl* lastBack = nullptr;
  auto giveBack = [&](TControl* c, std::initializer_list<TControl*> step) {
    if (IsDesigning() || IsLoading() || c->Parent() == this) return;
    // Whether the parent change lays the bar out (alignment not held back).
    const bool aligns = !AlignDisabled() && !ControlState().Contains(csAligning);
    const bool p = FPositioning;
    FPositioning = true;
    GiveBack(c);
    FPositioning = p;
    if (!aligns) return;
    lastBack = c;
    lastStep.assign(step);
  };
  auto layOutGivenBack = [&] {
    if (!lastBack || lastBack->Parent() != this) return;
    const bool g = FOverflowGuard;
    FOverflowGuard = true;
    for (TControl* h : lastStep) FHidden->Add(h);
    AdjustControl(lastBack);
    for (TControl* h : lastStep) FHidden->Remove(h);
    FOverflowGuard = g;
  };
  auto hide = [&](TControl* c) {
    FHidden->Add(c);
    hidden.insert(c);
  };
  const bool h = Horizontal();
  auto len = [h](TControl* c) { return h ? c->Width() : c->Height(); };
  auto end = [h](TControl* c) { return h ? c->Left() + c->Width() : c->Top() + c->Height(); };
  auto shown = [&](TControl* c) { return c->Visible() && !hidden.count(c); };
  const int avail = (h ? Width() : Height()) - FPopupIndicatorWidth;
  // A last control whose group's separator went is hidden with it.
  int b = -1;
  for (int i = n - 1; i >= 0; --i)
    if (shown(At(FSequence.get(), i)) && !IsSep(At(FSequence.get(), i))) {
      b = i;
      break;
    }
  if (b >= 0)
    for (int j = b - 1; j >= 0; --j)
      if (IsSep(At(FSequence.get(), j))) {
        if (hidden.count(At(FSequence.get(), j))) hide(At(FSequence.get(), b));
        break;
      }
  int s = -1;
  for (int i = n - 1; i >= 0; --i)
    if (shown(At(FSequence.get(), i))) {
      s = i;
      break;
    }
  if (s < 0) {
    if (FHidden->Count() == 0) return;
    int room = avail;
    if (FStylerInForce && FStylerInForce->DragGripStyle() != dsNone && !Page()) room -= FDragGripWidth;
    while (room > 0 && FHidden->Count() > 0) {
      TControl* c = At(FHidden.get(), FHidden->Count() - 1);
      if (len(c) > room) break;
      giveBack(c, {c});
      FHidden->Delete(FHidden->Count() - 1);
      hidden.erase(c);
      room -= len(c);
    }
    layOutGivenBack();
    SetControlsPosition(false);
    return;
  }
  TControl* last = At(FSequence.get(), s);
  if (end(last) >= avail) {
    int excess = end(last) - avail;
    // Victims come from the end of the recently-used list: one walk towards its front.
    int cursor = FRUL->Count() - 1;
    while (excess > 0) {
      TControl* victim = nullptr;
      for (; cursor >= 0; --cursor) {
        TControl* c = At(FRUL.get(), cursor);
        if (index.count(c) && shown(c) && !IsSep(c)) {
          victim = c;
          break;
        }
      }
      if (!victim) break;
      hide(victim);
      excess -= len(victim);
      const TGroup g = GroupOf(FSequence.get(), hidden, index[victim]);
      if (!g.Shown) {
        TControl* sep = nullptr;
        if (g.Before && !hidden.count(g.Before)) sep = g.Before;
        else if (g.After && !hidden.count(g.After)) sep = g.After;
        if (sep) {
          hide(sep);
          excess -= len(sep);
        }
      }
    }
    SetControlsPosition(false);
    return;
  }
  if (FHidden->Count() > 0) {
    int room = avail - end(last);
    int k = FHidden->Count() - 1;
    for (;;) {
      while (k >= 0 && IsSep(At(FHidden.get(), k))) --k;
      if (k < 0 || room <= 0) break;
      TControl* c = At(FHidden.get(), k);
      if (len(c) > room) break;
      TControl* sep = GroupSeparator(FSequence.get(), hidden, index[c]);
      if (!sep) {
        giveBack(c, {c});
        FHidden->Delete(k);
        hidden.erase(c);
        room -= len(c);
      } else {
        if (len(c) + len(sep) > room) break;
        giveBack(sep, {sep, c});
        giveBack(c, {sep, c});
        FHidden->Delete(k);
        FHidden->Remove(sep);
        hidden.erase(c);
        hidden.erase(sep);
        room -= len(c) + len(sep);
      }
      k = std::min(k, FHidden->Count()) - 1;
    }
    layOutGivenBack();
  }
  SetControlsPosition(false);
}

void TDizCustomToolBar::UpControlInRUL(TControl* Control) {
  const int i = FSequence->IndexOf(Control);
  if (i < 0) return;
  if (FAutoArrangeButtons) {
    FRUL->Remove(Control);
    FRUL->Insert(0, Control);
    if (FHidden->IndexOf(Control) >= 0) {
      if (!IsSep(Control))
        if (TControl* sep = GroupSeparator(FSequence.get(), HiddenSet(), i)) {
          GiveBack(sep);
          FHidden->Remove(sep);
        }
      FHidden->Remove(Control);
    }
    GiveBack(Control);
  }
  HideOptionWindow();
  UpdateRULists();
}

void TDizCustomToolBar::MoveUpInRUList(TControl* Control) {
  UpControlInRUL(Control);
  UpdateRULists();
}

// Whether the most recently hidden control would fit into the room behind the last shown
// one; measured along the bar (Top and Height on a vertical bar).
static bool RoomForHidden(TDizCustomToolBar* T, const TDbgList* Seq, const TDbgList* Hidden, int IndicatorWidth) {
  const bool h = T->Horizontal();
  TControl* last = nullptr;
  for (int i = Seq->Count() - 1; i >= 0 && !last; --i) {
    TControl* c = At(Seq, i);
    if (c->Visible() && Hidden->IndexOf(c) < 0) last = c;
  }
  if (!last) return false;
  const int room = h ? T->Width() - IndicatorWidth - (last->Left() + last->Width())
                     : T->Height() - IndicatorWidth - (last->Top() + last->Height());
  if (room <= 0) return false;
  for (int k = Hidden->Count() - 1; k >= 0; --k) {
    TControl* c = At(Hidden, k);
    if (IsSep(c)) continue;
    return (h ? c->Width() : c->Height()) <= room;
  }
  return false;
}

void TDizCustomToolBar::CheckAndUpdateRUList() {
  if (FState != tsDocked || FRULPosted || FHidden->Count() == 0) return;
  if (!RoomForHidden(this, FSequence.get(), FHidden.get(), FPopupIndicatorWidth)) return;
  // Painting only notices the room; the controls come back after it, from the queue.
  if (HandleAllocated() && PostMessage(Handle(), RULMessage(), 0, 0)) FRULPosted = true;
}

// The posted pass: give back while controls come back and room remains.
void RunPostedRULists(TDizCustomToolBar* T, const TDbgList* Seq, const TDbgList* Hidden, int IndicatorWidth) {
  while (RoomForHidden(T, Seq, Hidden, IndicatorWidth)) {
    const int before = Hidden->Count();
    T->UpdateRULists();
    if (Hidden->Count() >= before) break;
  }
}

void TDizCustomToolBar::UnHideAllControls() {
  if (!IsDesigning() && !IsLoading()) {
    const bool t = FControlTransfer, g = FOverflowGuard;
    FControlTransfer = FOverflowGuard = true;
    for (int i = 0; i < FHidden->Count(); ++i) {
      TControl* c = At(FHidden.get(), i);
      if (c->Parent() != this) c->SetParent(this);
    }
    FControlTransfer = t;
    FOverflowGuard = g;
  }
  FHidden->Clear();
}

}  // namespace VivIzizEzu
