// The rows of a dock panel: placing tool bars in a row, arranging a row, moving and
// sizing tool bars along a row and across the rows, laying the rows out and sizing the
// panel to them.
#include <algorithm>
#include <numeric>

#include "platform/rtl/Exceptions.h"
#include "toolbar/DizDockPanel.h"

namespace VivIzizEzu {

namespace {
// Sets the flag that keeps a tool bar's SetBounds from passing a change back into the
// rows, and restores its previous value.
class TBoundGuard {
public:
  explicit TBoundGuard(TDizCustomToolBar* T) : FBar(T), FSaved(T->AllowBoundChange()) { T->SetAllowBoundChange(true); }
  ~TBoundGuard() { FBar->SetAllowBoundChange(FSaved); }
  TBoundGuard(const TBoundGuard&) = delete;
  TBoundGuard& operator=(const TBoundGuard&) = delete;

private:
  TDizCustomToolBar* FBar;
  bool FSaved;
};

constexpr int kMinRowHeight = 26;
}  // namespace

// ---- TRowCollectionItem -----------------------------------------------------------------
int TRowCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

TDizCustomToolBar* TRowCollectionItem::ToolBars(int Index) const {
  if (Index < 0 || Index >= ToolBarCount()) throw EListError("Index out of bounds in list read access");
  return FToolBars[static_cast<size_t>(Index)];
}

int TRowCollectionItem::IndexOf(const TDizCustomToolBar* ToolBar) const {
  auto it = std::find(FToolBars.begin(), FToolBars.end(), ToolBar);
  return it == FToolBars.end() ? -1 : static_cast<int>(it - FToolBars.begin());
}

bool TRowCollectionItem::Horz() const { return FCollection->Horizontal(); }
int TRowCollectionItem::Pos(TDizCustomToolBar* T) const { return Horz() ? T->Left() : T->Top(); }
int TRowCollectionItem::Len(TDizCustomToolBar* T) const { return Horz() ? T->Width() : T->Height(); }
int TRowCollectionItem::RowStart() const { return Horz() ? FRowRect.Left : FRowRect.Top; }
int TRowCollectionItem::RowEnd() const { return Horz() ? FRowRect.Right : FRowRect.Bottom; }

void TRowCollectionItem::SetPosLen(TDizCustomToolBar* T, int P, int L) {
  TBoundGuard guard(T);
  if (Horz()) T->SetBounds(P, T->Top(), L, T->Height());
  else T->SetBounds(T->Left(), P, T->Width(), L);
}

// Tool bars From..To move by By (positive: towards the row's end).
void TRowCollectionItem::Shift(int From, int To, int By) {
  if (By == 0) return;
  for (int j = std::max(From, 0); j <= To && j < ToolBarCount(); ++j) SetPosLen(At(j), Pos(At(j)) + By, Len(At(j)));
}

// Tool bar J grows by By, towards the start (its end stays) or towards the end.
void TRowCollectionItem::Grow(int J, int By, bool AtStart) {
  TDizCustomToolBar* t = At(J);
  if (!t || By == 0) return;
  if (AtStart) SetPosLen(t, Pos(t) - By, Len(t) + By);
  else SetPosLen(t, Pos(t), Len(t) + By);
}

// Tool bar J shrinks by By, from its start side (its end stays) or from its end.
void TRowCollectionItem::Shrink(int J, int By, bool AtStart) {
  TDizCustomToolBar* t = At(J);
  if (!t || By == 0) return;
  if (AtStart) SetPosLen(t, Pos(t) + By, Len(t) - By);
  else SetPosLen(t, Pos(t), Len(t) - By);
}

// A full-size tool bar spans the row: its length is fixed by its constraints.
void TRowCollectionItem::SetFullLength(TDizCustomToolBar* T) {
  const int sp = FCollection->Spacing();
  const int L = std::max(RowEnd() - RowStart() - 2 * sp, 0);
  TBoundGuard guard(T);
  TSizeConstraints* k = T->Constraints();
  if (Horz()) {
    k->SetMinWidth(0);
    k->SetMaxWidth(L);
    k->SetMinWidth(L);
  } else {
    k->SetMinHeight(0);
    k->SetMaxHeight(L);
    k->SetMinHeight(L);
  }
  SetPosLen(T, RowStart() + sp, L);
}

bool TRowCollectionItem::IsAllowed(TDizCustomToolBar* ToolBar) const {
  if (!FToolBars.empty() && FToolBars.front()->FullSize()) return false;
  if (ToolBar && ToolBar->FullSize()) return FToolBars.empty();
  return true;
}

int TRowCollectionItem::GetHeight() const {
  int h = kMinRowHeight;
  const bool horz = Horz();
  for (TDizCustomToolBar* t : FToolBars) h = std::max(h, horz ? t->Height() : t->Width());
  return h;
}

int TRowCollectionItem::GetSpace(TDizCustomToolBar* A, TDizCustomToolBar* B) const {
  const int sp = FCollection->Spacing();
  if (A && B) return Pos(B) - (Pos(A) + Len(A) + sp);
  if (A) return RowEnd() - (Pos(A) + Len(A) + sp);
  if (B) return Pos(B) - (RowStart() + sp);
  return 0;
}

int TRowCollectionItem::AddToolBar(TDizCustomToolBar* ToolBar) {
  if (!ToolBar || IndexOf(ToolBar) >= 0 || !IsAllowed(ToolBar)) return -1;
  FToolBars.push_back(ToolBar);
  const int index = ToolBarCount() - 1;
  const int sp = FCollection->Spacing();
  {
    TBoundGuard guard(ToolBar);
    if (ToolBar->FullSize()) {
      SetFullLength(ToolBar);
      ToolBar->UpdateRULists();
    } else if (Horz()) {
      TDizCustomToolBar* prev = At(index - 1);
      const int left = prev ? prev->Left() + prev->Width() + sp : FRowRect.Left + sp;
      ToolBar->SetBounds(left, ToolBar->Top(), ToolBar->Width(), ToolBar->Height());
    } else {
      TDizCustomToolBar* prev = At(index - 1);
      const int top = prev ? prev->Top() + prev->Height() + sp : FRowRect.Bottom - sp - ToolBar->Height();
      ToolBar->SetBounds(ToolBar->Left(), top, ToolBar->Width(), ToolBar->Height());
    }
  }
  ToolBar->SetRow(Index());
  FCollection->SetRowsPosition();
  return index;
}

void TRowCollectionItem::RemoveToolBar(TDizCustomToolBar* ToolBar, bool DeleteIfEmpty) {
  const int i = IndexOf(ToolBar);
  if (i < 0) return;
  FToolBars.erase(FToolBars.begin() + i);
  if (ToolBar->Row() == Index()) ToolBar->SetRow(-1);
  ArrangeToolBars();
  if (DeleteIfEmpty) FCollection->DeleteMeIfEmpty(this);
}

// Closes an overlap O (< 0) at tool bar K: first by closing gaps before it, then by
// shrinking it and the tool bars before it.
void TRowCollectionItem::RemoveOverlap(int K, int& O) {
  for (int j = K; j >= 0 && O < 0; --j) {
    const int g = std::min(Space(j - 1, j), -O);
    if (g > 0) {
      Shift(j, K, -g);
      O += g;
    }
  }
  for (int j = K; j >= 0 && O < 0; --j) {
    const int g = std::min(At(j)->CanShrink(), -O);
    if (g > 0) {
      Shrink(j, g, false);
      Shift(j + 1, K, -g);
      O += g;
    }
  }
}

void TRowCollectionItem::ArrangeToolBars() {
  const int n = ToolBarCount();
  const int index = Index();
  const bool horz = Horz();
  for (int k = 0; k < n; ++k) {
    TDizCustomToolBar* t = At(k);
    {
      TBoundGuard guard(t);
      if (horz) t->SetBounds(t->Left(), FRowRect.Top, t->Width(), t->Height());
      else t->SetBounds(FRowRect.Left, t->Top(), t->Width(), t->Height());
    }
    if (t->Row() != index) t->SetRow(index);
    if (k == 0 && t->FullSize()) {
      SetFullLength(t);
      break;
    }
    int o = Space(k, k + 1);
    if (o > 0) {
      for (int j = k; j >= 0; --j) {
        const int g = std::min(At(j)->CanExpand(), o);
        if (g > 0) {
          Grow(j, g, false);
          Shift(j + 1, k, g);
          o -= g;
        }
        if (o < 1) break;
      }
      if (horz && o >= 1)
        for (int j = k + 1; j < n; ++j) {
          const int g = std::min(At(j)->CanExpand(), o);
          if (g > 0) {
            Grow(j, g, false);
            o -= g;
          }
          if (o < 1) break;
        }
    } else if (o < 0) {
      RemoveOverlap(k, o);
    }
    int c = t->CanExpand();
    for (int j = k; j >= 0 && c > 0; --j) {
      const int g = std::min(Space(j - 1, j), c);
      if (g > 0) {
        Shift(j, k, -g);
        Grow(k, g, false);
        c -= g;
      }
    }
  }
  // Closing pass: what growing the later tool bars made overlap.
  for (int l = 0; l < n; ++l) {
    if (l == 0) {
      const int s = Space(-1, 0);
      if (s < 0) Shift(0, 0, -s);
    }
    if (l == n - 1) {
      int s = Space(n - 1, n);
      if (s < 0) RemoveOverlap(n - 1, s);
    } else {
      const int s = Space(l, l + 1);
      if (s < 0) Shift(l + 1, l + 1, -s);
    }
  }
}

void TRowCollectionItem::SetToolBarLeftAndWidth(TDizCustomToolBar* ToolBar, int& ALeft, int& AWidth) {
  if (!Horz()) return;
  AlongRow(ToolBar, ALeft, AWidth);
}

void TRowCollectionItem::SetToolBarTopAndHeight(TDizCustomToolBar* ToolBar, int& ATop, int& AHeight) {
  if (Horz()) return;
  AlongRow(ToolBar, ATop, AHeight);
}

void TRowCollectionItem::AlongRow(TDizCustomToolBar* T, int& P, int& L) {
  const int i = IndexOf(T);
  if (i < 0) throw Exception("Invalid ToolBar Index");
  const int n = ToolBarCount();
  const int sp = FCollection->Spacing();
  const int p = Pos(T), len = Len(T);
  auto freeAfter = [&] {
    int s = 0;
    for (int r = i; r < n; ++r) s += Space(r, r + 1);
    return s;
  };
  auto freeBefore = [&] {
    int s = 0;
    for (int r = i; r >= 0; --r) s += Space(r - 1, r);
    return s;
  };
  auto canExpand = [&](int From, int To) {
    int s = 0;
    for (int j = From; j <= To; ++j) s += std::max(At(j)->CanExpand(), 0);
    return s;
  };
  if (P < p) {
    P = std::max(P, RowStart() + sp);
    int need = p - P;
    if (i == 0) return;
    for (int r = i; r >= 0 && need > 0; --r) {
      const int s = Space(r - 1, r);
      if (s > 0) {
        const int t = std::min(s, need);
        need -= t;
        Shift(r, i, -t);
      }
    }
    if (need > 0 && freeAfter() < 1) {
      for (int r = i - 1; r >= 0 && need > 0; --r) {
        int t = std::min({need, At(r)->CanShrink(), canExpand(i, n - 1)});
        if (t <= 0) continue;
        need -= t;
        Shrink(r, t, false);
        Shift(r + 1, i - 1, -t);
        for (int j = i; j < n && t > 0; ++j) {
          const int u = std::min(t, At(j)->CanExpand());
          if (u > 0) {
            Grow(j, u, true);
            Shift(i, j - 1, -u);
            t -= u;
          }
        }
      }
    }
    if (need > 0 && !T->ComponentState().Contains(csLoading) && P <= Pos(At(i - 1)) + 5) {
      std::swap(FToolBars[static_cast<size_t>(i)], FToolBars[static_cast<size_t>(i - 1)]);
      ArrangeToolBars();
    }
    P = Pos(T);
    L = Len(T);
    return;
  }
  if (P > p) {
    int need = P - p;
    for (int r = i; r < n && need > 0; ++r) {
      const int s = Space(r, r + 1);
      if (s > 0) {
        const int t = std::min(s, need);
        need -= t;
        Shift(i, r, t);
      }
    }
    if (need > 0 && freeBefore() < 1) {
      need = std::min(need, canExpand(0, i - 1));
      for (int r = n - 1; r >= i && need > 0; --r) {
        int t = std::min(need, At(r)->CanShrink());
        if (t <= 0) continue;
        need -= t;
        Shrink(r, t, true);
        Shift(i, r - 1, t);
        for (int j = i - 1; j >= 0 && t > 0; --j) {
          const int u = std::min(t, At(j)->CanExpand());
          if (u > 0) {
            Grow(j, u, false);
            Shift(j + 1, i - 1, u);
            t -= u;
          }
        }
      }
    }
    P = Pos(T);
    L = Len(T);
    return;
  }
  // Same position: a change of length.
  if (L < len) {
    if (Horz() && n == 1) {
      ArrangeToolBars();
      P = Pos(T);
      L = Len(T);
    }
    return;
  }
  if (L > len) {
    int need = L - len;
    for (int r = i; r < n && need > 0; ++r) {
      const int s = Space(r, r + 1);
      if (s > 0) {
        const int t = std::min(s, need);
        need -= t;
        Shift(i + 1, r, t);
        Grow(i, t, false);
      }
    }
    if (need > 0 && (!Horz() || freeBefore() > 0))
      for (int r = i; r >= 0 && need > 0; --r) {
        const int s = Space(r - 1, r);
        if (s > 0) {
          const int t = std::min(s, need);
          need -= t;
          Shift(r, i, -t);
          Grow(i, t, false);
        }
      }
    P = Pos(T);
    L = Len(T);
  }
}

// ---- TRowCollection ---------------------------------------------------------------------
TRowCollection::~TRowCollection() = default;

TRowCollectionItem* TRowCollection::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)].get();
}

int TRowCollection::IndexOf(const TRowCollectionItem* Row) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Row) return static_cast<int>(i);
  return -1;
}

bool TRowCollection::Horizontal() const { return IsHorizontal(FOwner->GetAlign()); }

bool TRowCollection::RowsMayChange() const {
  return !FOwner->LockHeight() || FOwner->IsDesigning() || !FOwner->PropertiesLoaded();
}

TRowCollectionItem* TRowCollection::Add() { return Insert(Count()); }

TRowCollectionItem* TRowCollection::Insert(int Index) {
  Index = std::clamp(Index, 0, Count());
  auto* row = new TRowCollectionItem(this);
  FItems.insert(FItems.begin() + Index, std::unique_ptr<TRowCollectionItem>(row));
  SetRowsPosition();
  return row;
}

void TRowCollection::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  FItems.erase(FItems.begin() + Index);
}

void TRowCollection::Clear() { FItems.clear(); }

int TRowCollection::IsToolBarAlreadyAdded(const TDizCustomToolBar* ToolBar) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->IndexOf(ToolBar) >= 0) return i;
  return -1;
}

void TRowCollection::MoveToolBarToRow(TDizCustomToolBar* ToolBar, int Index) {
  if (Index < 0 || Index >= Count()) throw Exception("Invalid Row Index");
  if (!ToolBar || Index == ToolBar->Row() || !GetItem(Index)->IsAllowed(ToolBar)) return;
  TRowCollectionItem* target = GetItem(Index);
  int from = ToolBar->Row();
  if (from < 0 || from >= Count() || GetItem(from)->IndexOf(ToolBar) < 0) from = IsToolBarAlreadyAdded(ToolBar);
  TRowCollectionItem* old = from >= 0 ? GetItem(from) : nullptr;
  if (old == target) return;
  if (old) old->RemoveToolBar(ToolBar, false);
  target->AddToolBar(ToolBar);
  if (old) DeleteMeIfEmpty(old);
}

void TRowCollection::DeleteMeIfEmpty(TRowCollectionItem* Row) {
  const int i = IndexOf(Row);
  if (i < 0 || Row->ToolBarCount() > 0 || !RowsMayChange()) return;
  Delete(i);
  SetRowsPosition();
}

void TRowCollection::SetRowsPosition() {
  if (FLaying) return;
  FLaying = true;
  const int gap = RowGap();
  const int margin = FOwner->RowMargin();
  const bool horz = Horizontal();
  int p = gap;
  for (auto& row : FItems) {
    const int h = row->GetHeight();
    row->SetRowRect(horz ? TRect{margin, p, FOwner->Width() - margin, p + h + gap}
                         : TRect{p, margin, p + h + gap, FOwner->Height() - margin});
    row->ArrangeToolBars();
    p += row->GetHeight() + gap;
  }
  FLaying = false;
  SetParentSize();
}

void TRowCollection::SetParentSize() {
  TDizDockPanel* panel = FOwner;
  const bool designing = panel->IsDesigning();
  if (panel->LockHeight() && !designing && panel->PropertiesLoaded()) return;
  const bool horz = Horizontal();
  int S;
  if (!FItems.empty()) {
    const TRect last = FItems.back()->GetRowRect();
    S = horz ? last.Bottom + panel->EndMargin() : last.Right + panel->RowMargin();
    if (designing && !panel->UseRunTimeHeight()) S += 13;
  } else {
    S = panel->MinimumSize();
    if (designing && !panel->UseRunTimeHeight()) S = horz ? 2 * panel->EndMargin() + 13 : 2 * panel->RowMargin() + 13;
  }
  switch (panel->GetAlign()) {
    case daTop: panel->SetHeight(S); break;
    case daLeft: panel->SetWidth(S); break;
    case daBottom:
      if (panel->Height() < S) panel->SetBounds(panel->Left(), panel->Top() - (S - panel->Height()), panel->Width(), S);
      else panel->SetHeight(S);
      break;
    case daRight:
      if (panel->Width() < S) panel->SetBounds(panel->Left() - (S - panel->Width()), panel->Top(), S, panel->Height());
      else panel->SetWidth(S);
      break;
  }
}

void TRowCollection::ReArrangeAllToolBars() {
  const bool horz = Horizontal();
  const int sp = Spacing();
  for (size_t r = 0; r < FItems.size(); ++r) {
    TRowCollectionItem* row = FItems[r].get();
    row->ArrangeToolBars();
    // The placements go through the tool bars' SetBounds and so through the row rules,
    // which may change the row's list: take a copy.
    const std::vector<TDizCustomToolBar*> bars = row->FToolBars;
    TDizCustomToolBar* prev = nullptr;
    for (TDizCustomToolBar* t : bars) {
      if (!t->Visible()) continue;
      if (IsToolBarAlreadyAdded(t) < 0) continue;
      const TRect rr = row->GetRowRect();
      if (horz) t->SetBounds(prev ? prev->Left() + prev->Width() + sp : rr.Left + sp, t->Top(), t->Width(), t->Height());
      else t->SetBounds(t->Left(), prev ? prev->Top() + prev->Height() + sp : rr.Bottom - t->Height() - sp, t->Width(),
                        t->Height());
      prev = t;
    }
    if (r >= FItems.size() || FItems[r].get() != row) break;
  }
}

void TRowCollection::SetToolBarFullSize(TDizCustomToolBar* ToolBar) {
  if (!ToolBar || ToolBar->Row() < 0 || ToolBar->Row() >= Count()) return;
  const int r = ToolBar->Row();
  GetItem(r)->RemoveToolBar(ToolBar, true);
  Insert(r)->AddToolBar(ToolBar);
  const int now = ToolBar->Row();
  if (now >= 0 && now < Count()) GetItem(now)->ArrangeToolBars();
}

void TRowCollection::SetToolBarTopAndHeight(TDizCustomToolBar* ToolBar, int& ATop, int& AHeight) {
  if (!Horizontal()) return;
  AcrossRows(ToolBar, ATop, AHeight);
}

void TRowCollection::SetToolBarLeftAndWidth(TDizCustomToolBar* ToolBar, int& ALeft, int& AWidth) {
  if (Horizontal()) return;
  AcrossRows(ToolBar, ALeft, AWidth);
}

void TRowCollection::AcrossRows(TDizCustomToolBar* ToolBar, int& T, int& H) {
  const int k = ToolBar->Row();
  if (k < 0 || k >= Count() || GetItem(k)->IndexOf(ToolBar) < 0) return;
  const bool horz = Horizontal();
  auto startOf = [&](const TRect& R) { return horz ? R.Top : R.Left; };
  auto endOf = [&](const TRect& R) { return horz ? R.Bottom : R.Right; };
  auto current = [&] { return horz ? ToolBar->Top() : ToolBar->Left(); };
  TRowCollectionItem* row = GetItem(k);
  const int RT = startOf(row->GetRowRect());
  const int c = row->ToolBarCount();
  const bool mayChange = RowsMayChange();
  // Takes the tool bar out of its row (deleting the row when emptied and allowed).
  auto takeOut = [&] { row->RemoveToolBar(ToolBar, true); };
  if (T >= RT - 5 && T <= RT - 3 && c > 1) {
    if (mayChange) {
      takeOut();
      Insert(k)->AddToolBar(ToolBar);
    }
    T = current();
  } else if (T < RT - 6 && k > 0) {
    for (int i = 0; i < k; ++i) {
      const TRect r = GetItem(i)->GetRowRect();
      if (startOf(r) <= T && T < endOf(r)) {
        if (GetItem(i)->IsAllowed(ToolBar)) {
          MoveToolBarToRow(ToolBar, i);
        } else if (mayChange) {
          takeOut();
          Insert(i)->AddToolBar(ToolBar);
        }
        break;
      }
    }
    T = current();
  } else if (T >= RT + 3 && T <= RT + 5 && c > 1) {
    if (mayChange) {
      takeOut();
      if (k == Count() - 1) Add()->AddToolBar(ToolBar);
      else Insert(k + 1)->AddToolBar(ToolBar);
    }
    T = current();
  } else if (T > RT + 5 && k < Count() - 1) {
    for (int i = k + 1; i < Count(); ++i) {
      TRowCollectionItem* target = GetItem(i);
      if (endOf(target->GetRowRect()) > T) {
        if (target->IsAllowed(ToolBar)) {
          MoveToolBarToRow(ToolBar, i);
        } else if (mayChange) {
          takeOut();
          const int at = IndexOf(target);
          if (at == Count() - 1) Add()->AddToolBar(ToolBar);
          else Insert(at + 1)->AddToolBar(ToolBar);
        }
        break;
      }
    }
    T = current();
  } else {
    if (horz && ToolBar->ComponentState().Contains(csDesigning) && T > RT + 5 && k == Count() - 1 && c > 1) {
      takeOut();
      Add()->AddToolBar(ToolBar);
    }
    const int now = ToolBar->Row();
    T = now >= 0 && now < Count() ? startOf(GetItem(now)->GetRowRect()) : current();
  }
  const int thick = horz ? ToolBar->Height() : ToolBar->Width();
  if (H != thick) {
    {
      TBoundGuard guard(ToolBar);
      if (horz) ToolBar->SetBounds(ToolBar->Left(), ToolBar->Top(), ToolBar->Width(), H);
      else ToolBar->SetBounds(ToolBar->Left(), ToolBar->Top(), H, ToolBar->Height());
    }
    SetRowsPosition();
  }
}

void TRowCollection::UpdateToolBarVisibility(TDizCustomToolBar* ToolBar) {
  if (!ToolBar) return;
  if (ToolBar->Visible()) {
    if (IsToolBarAlreadyAdded(ToolBar) >= 0) return;
    if (FOwner->LockHeight() && Count() > 0) GetItem(Count() - 1)->AddToolBar(ToolBar);
    else Add()->AddToolBar(ToolBar);
  } else {
    const int r = ToolBar->Row();
    if (r >= 0 && r < Count()) GetItem(r)->RemoveToolBar(ToolBar, true);
  }
}

}  // namespace VivIzizEzu
