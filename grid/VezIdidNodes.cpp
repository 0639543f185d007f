// VezIdid, nodes: a node row carries a ctNode graphic in column 0 and covers a span of
// rows below it; contracting hides the span's rows through the hidden-row store, expanding
// shows them again. Every row inside a span has the nesting depth in its column-0
// properties (NodeLevel).
#include <algorithm>

#include "grid/VezIdid.h"

namespace {
TGridItem* Record(TCollection* Store, int Index) { return static_cast<TGridItem*>(Store->Items(Index)); }
}  // namespace

namespace {
// The node graphic of a display row, or nullptr.
TCellGraphic* NodeOf(TDavEvadurAvuz* G, int ARow) {
  if (!G->IsNode(ARow)) return nullptr;
  return G->GetCellGraphic(0, ARow);
}
}  // namespace

void TDavEvadurAvuz::AddNode(int ARow, int Span) {
  const int D = RemapRow(ARow);
  TCellGraphic* g = CreateCellGraphic(0, D);
  g->CellType = ctNode;
  g->CellAngle = D;
  g->CellBoolean = false;
  g->CellIndex = Span;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = vaCenter;
  g->CellErrFrom = 0;
  g->CellVariant = -1;
  for (int r = D; r < D + Span && r < TotalRowCount(); ++r) GetCellProperties(0, r)->NodeLevel++;
  if (NodeCount == 0) Invalidate();
  ++NodeCount;
  if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TDavEvadurAvuz::AddSummary(int ARow) {
  TCellGraphic* g = CreateCellGraphic(0, RemapRow(ARow));
  g->CellType = ctSummary;
}

void TDavEvadurAvuz::RemoveNode(int ARow) {
  if (!IsNode(RemapRow(ARow))) return;
  ExpandNodeInt(ARow);
  const int D = RemapRow(ARow);
  const int span = GetNodeSpan(D);
  for (int r = D; r < D + span && r < RowCount(); ++r)
    if (TCellProperties* p = Props(0, r); p && p->NodeLevel > 0) p->NodeLevel--;
  RemoveCellGraphic(0, D, ctNode);
  if (NodeCount > 0) --NodeCount;
}

void TDavEvadurAvuz::RemoveAllNodes() {
  for (int D = 0; D < RowCount(); ++D) {
    if (!IsNode(D)) continue;
    ExpandNode(RemapRowInv(D));
    const int span = GetNodeSpan(D);
    for (int r = D; r < D + span && r < RowCount(); ++r)
      if (TCellProperties* p = Props(0, r); p && p->NodeLevel > 0) p->NodeLevel--;
    RemoveCellGraphic(0, D, ctNode);
    if (NodeCount > 0) --NodeCount;
  }
  Invalidate();
}

bool TDavEvadurAvuz::IsSummary(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }

bool TDavEvadurAvuz::GetNodeState(int ARow) {
  TCellGraphic* g = NodeOf(this, ARow);
  return g && g->CellBoolean;
}

void TDavEvadurAvuz::SetNodeState(int ARow, bool State) {
  TCellGraphic* g = NodeOf(this, ARow);
  if (!g || g->CellBoolean == State) return;
  if (State) ContractNode(RemapRowInv(ARow));
  else ExpandNode(RemapRowInv(ARow));
}

int TDavEvadurAvuz::GetNodeSpan(int ARow) {
  TCellGraphic* g = NodeOf(this, ARow);
  return g ? g->CellIndex : -1;
}

void TDavEvadurAvuz::SetNodeSpan(int ARow, int Value) {
  if (TCellGraphic* g = NodeOf(this, ARow)) g->CellIndex = Value;
}

void TDavEvadurAvuz::UpdateNodeSpan(int ARow, int Delta) {
  if (TCellGraphic* g = NodeOf(this, ARow)) g->CellIndex += Delta;
}

int TDavEvadurAvuz::GetSubNodeCount(int ARow) {
  TCellGraphic* g = NodeOf(this, ARow);
  return g ? g->CellErrFrom : 0;
}

void TDavEvadurAvuz::UpdateSubNodeCount(int ARow, int Delta) {
  if (TCellGraphic* g = NodeOf(this, ARow)) g->CellErrFrom += Delta;
}

bool TDavEvadurAvuz::InNodeRect(int ARow, int X) {
  if (!MouseActions()->PreciseNodeClick) return true;
  const int L = GetNodeLevel(ARow);
  const int I = CellNode()->NodeIndent();
  int G = 4, M = 4;
  switch (CellNode()->NodeType()) {
    case cn3D: G = 6; M = 0; break;
    case cnGlyph: {
      TBitmap* b = CellNode()->ExpandGlyph();
      const bool empty = !b || b->GetEmpty();
      G = empty ? 0 : b->GetWidth() / 2;
      M = empty ? 0 : 2;
      break;
    }
    case cnLeaf: G = 8; M = 2; break;
    default: break;
  }
  // The platform lays controls out left to right only.
  return (L - 1) * I + M < X && X < L * I + G;
}

void TDavEvadurAvuz::ExpandNode(int ARow) {
  if (CellNode()->ExpandOne) {
    // The target's ancestors (real rows) stay expanded so that the target stays in view.
    std::vector<int> keep{ARow};
    for (int cur = RemapRow(ARow);;) {
      const int up = cur > 0 ? GetParentRow(cur) : -1;
      if (up < 0 || up == cur) break;
      keep.push_back(RemapRowInv(up));
      cur = up;
    }
    // Bottom up, so that the rows still to visit keep their places.
    for (int r = RowCount() - 1; r >= FixedRows(); --r) {
      if (!IsNode(r) || GetNodeState(r)) continue;
      if (std::find(keep.begin(), keep.end(), RemapRowInv(r)) != keep.end()) continue;
      ContractNode(RemapRowInv(r));
    }
  }
  ExpandNodeInt(ARow);
}

void TDavEvadurAvuz::ExpandNodeInt(int ARow) {
  const int D = RemapRow(ARow);
  TCellGraphic* g = NodeOf(this, D);
  if (!g || !g->CellBoolean) return;
  g->CellBoolean = false;
  int E = D + 1;
  if (g->CellIndex == 0) {
    E = RowCount();
    for (int r = D + 1; r < RowCount(); ++r)
      if (IsNode(r)) { E = r; break; }
  }
  const int top = TopRow(), row = Row();
  const bool disjunct = MouseActions()->DisjunctRowSelect();
  MouseActions()->SetDisjunctRowSelect(false);
  const bool rowSelect = Options().Contains(goRowSelect);
  if (rowSelect) SetOptions(Options() - goRowSelect);
  const bool lock = CellControlCount() == 0;
  try {
    if (lock) BeginUpdate();
    try {
      const int last = E < RowCount() ? RemapRowInv(E) - 1 : RemapRowInv(RowCount() - 1) + NumHiddenRows();
      UnHideRows(RemapRowInv(D) + 1, last);
    } catch (...) {
      if (lock) EndUpdate();
      throw;
    }
    if (lock) EndUpdate();
    if (rowSelect) {
      SetOptions(Options() + goRowSelect);
      SetRowEx(std::min(row, RowCount() - 1));
      SetTopRowEx(std::min(top, RowCount() - 1));
    }
  } catch (...) {
    MouseActions()->SetDisjunctRowSelect(disjunct);
    throw;
  }
  MouseActions()->SetDisjunctRowSelect(disjunct);
  CalcFooter(-1);
}

void TDavEvadurAvuz::ContractNode(int ARow) {
  HideInplaceEdit();
  SelectCellSuppressed = true;
  // Cleared on every way out, also when an error passes.
  struct Release {
    bool& Flag;
    ~Release() { Flag = false; }
  } release{SelectCellSuppressed};
  const int D = RemapRow(ARow);
  TCellGraphic* g = NodeOf(this, D);
  if (!g || g->CellBoolean) return;
  g->CellBoolean = true;
  int E = D + g->CellIndex;
  if (g->CellIndex <= 0) {
    E = RowCount();
    for (int r = D + 1; r < RowCount(); ++r)
      if (IsNode(r)) { E = r; break; }
  }
  E = std::min(E, RowCount());
  int S = D + 1, i = D + 1;
  while (i < E) {
    TCellGraphic* n = NodeOf(this, i);
    if (n && n->CellBoolean) {
      n->CellBoolean = false;
      if (i + 1 < RowCount())
        if (TControl* c = CellControls(1, i + 1)) c->SetVisible(false);
      const int span = n->CellIndex;
      HideRows(RemapRowInv(S), RemapRowInv(i));
      E -= span + (i - S);
      E = std::min(E, RowCount());
      i = S;
      continue;
    }
    ++i;
  }
  if (i - 1 >= S) HideRows(RemapRowInv(S), RemapRowInv(i - 1));
  CalcFooter(-1);
}

void TDavEvadurAvuz::ExpandAll() {
  BeginUpdate();
  try {
    const int total = TotalRowCount();
    for (int a = FixedRows(); a < total; ++a) {
      if (a >= RowCount()) continue;
      if (!IsNode(a)) continue;
      ExpandNode(RemapRowInv(a));
      if (TCellGraphic* g = NodeOf(this, a)) g->CellBoolean = false;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  CalcFooter(-1);
}

void TDavEvadurAvuz::ContractAll() {
  BeginUpdate();
  try {
    ExpandAll();
    TIntList list;
    int r = FixedRows();
    while (r < RowCount()) {
      TCellGraphic* g = NodeOf(this, r);
      if (!g) { ++r; continue; }
      g->CellBoolean = true;
      int end = r + g->CellIndex;
      if (g->CellIndex <= 0) {
        end = RowCount();
        for (int k = r + 1; k < RowCount(); ++k)
          if (IsNode(k)) { end = k; break; }
      }
      end = std::min(end, RowCount());
      for (int k = r + 1; k < end; ++k) list.Add(k);
      r = std::max(end, r + 1);
    }
    if (list.Count() > 0) HideRowList(&list);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  CellControlsUpdate();
  CalcFooter(-1);
}

int TDavEvadurAvuz::GetParentRow(int ARow) {
  if (NodeCount == 0) return -1;
  int limit = 65535, result = -1;
  if (IsNode(ARow)) {
    limit = GetNodeLevel(ARow);
    result = ARow;
  }
  int H = 0;
  for (int i = std::min(ARow, RowCount() - 1); i >= GetFixedRowsEx(); --i) {
    if (!IsNode(i) || GetNodeLevel(i) >= limit) continue;
    const int span = GetNodeSpan(i);
    if (GetNodeState(i)) H += span - 1;
    if (i + span - H > ARow) return i;
  }
  return result;
}

void TDavEvadurAvuz::InsertNormalRow(int ARow) {
  InsertRows(RemapRow(ARow), 1, true);
  for (int k = 0; k < NumHiddenRows(); ++k)
    if (TGridItem* it = Record(HiddenRowStore(), k); it->Idx > ARow) it->Idx++;
}

void TDavEvadurAvuz::RemoveNormalRow(int ARow) { RemoveRows(ARow, 1); }

void TDavEvadurAvuz::InsertChildRow(int ARow, int Offset) {
  int D = RemapRow(ARow);
  int Level = 1;
  const int P = GetParentRow(D);
  const int PR = P == -1 ? -1 : RemapRowInv(P);
  (void)PR;
  if (P != -1) {
    UpdateNodeSpan(P, 1);
    UpdateSubNodeCount(P, 1);
    ExpandNode(PR);
    Level = GetNodeLevel(P);
  }
  int A = P, cur = Level;
  while (cur > 1 && A != -1 && A >= FixedRows()) {
    const int up = GetParentRow(A);
    if (up == -1 || up == A) break;
    A = up;
    const int lv = GetNodeLevel(A);
    if (lv < cur) {
      UpdateNodeSpan(A, 1);
      UpdateSubNodeCount(A, 1);
      ExpandNode(RemapRowInv(A));
      cur = lv;
    }
  }
  // Expanding may have moved the row: take its display index anew.
  D = RemapRow(ARow);
  bool moveContent = false;
  if (IsNode(D) && Offset == 0) {
    Offset = 1;
    moveContent = true;
  }
  // Real index of the new row: hidden rows from there on move down one.
  const int inserted = D + Offset > 0 ? RemapRowInv(D + Offset - 1) + 1 : 0;
  InsertRows(D + Offset, 1, true);
  if (moveContent) {
    for (int c = 0; c < TotalColCount(); ++c) {
      SetGridCell(c, D + 1, GetGridCell(c, D));
      SetGridCell(c, D, "");
      if (c > 0) {
        SetObjectEx(c, D + 1, GetObjectEx(c, D));
        SetObjectEx(c, D, nullptr);
      }
    }
  }
  if (P != -1) GetCellProperties(0, D + Offset)->NodeLevel = Level;
  // Only the hidden rows at or beyond the new row move down; those above keep their index.
  for (int k = 0; k < NumHiddenRows(); ++k)
    if (TGridItem* it = Record(HiddenRowStore(), k); it->Idx >= inserted) it->Idx++;
}

void TDavEvadurAvuz::RemoveChildRow(int ARow) {
  const int D = RemapRow(ARow);
  if (D < 0 || D >= RowCount()) return;
  int P = GetParentRow(D);
  if (P == D) P = D > FixedRows() ? GetParentRow(D - 1) : -1;
  if (P != -1) {
    const int L = GetNodeLevel(P);
    if (GetNodeSpan(P) > 1) {
      UpdateNodeSpan(P, -1);
      UpdateSubNodeCount(P, -1);
    }
    for (;;) {
      ExpandNode(RemapRowInv(P));
      if (GetNodeLevel(P) <= 1) break;
      const int up = GetParentRow(P);
      if (up == -1 || up == P || GetNodeLevel(up) >= L) break;
      P = up;
      if (GetNodeSpan(P) > 1) {
        UpdateNodeSpan(P, -1);
        UpdateSubNodeCount(P, -1);
      }
    }
  }
  RemoveRowsInternal(RemapRow(ARow), 1);
}
