// VezIdid, grouping: rows are gathered under a header node per run of equal values of one
// column, which then leaves the grid; sub-grouping splits every group by a second column.
#include "grid/VezIdid.h"
#include "grid/VezIdidEdit.h"

namespace {
// Before the first row: a value no cell is expected to hold.
const std::string kSentinel = "\xFF\xFE";

void LookRow(TDavEvadurAvuz* G, int ARow, TColor C, TColor CTo, TColor Text, bool Rgb) {
  auto conv = [Rgb](TColor c) { return Rgb ? TColor(ColorToRGB(c)) : c; };
  if (C != clNone) G->RowColor(ARow, conv(C));
  if (CTo != clNone) G->RowColorTo(ARow, conv(CTo));
  if (Text != clNone) G->RowFontColor(ARow, conv(Text));
}

void LookMerged(TDavEvadurAvuz* G, int ACol, int ARow, TColor C, TColor CTo, TColor Text) {
  const int n = G->ColCount() - ACol;
  if (n > 1) G->MergeCells(ACol, ARow, n, 1);
  if (C != clNone) G->SetColors(ACol, ARow, C);
  if (CTo != clNone) G->SetColorsTo(ACol, ARow, CTo);
  if (Text != clNone) G->SetFontColors(ACol, ARow, Text);
}
}  // namespace

void TDavEvadurAvuz::SetGroupColumn(int Value) {
  if (Value == -1) UnGroup();
  else if (Value > 0) Group(Value);
}

void TDavEvadurAvuz::Group(int ACol) {
  if (ACol <= 0 || ACol < FixedCols() || ACol >= ColCount()) return;
  if (FGroupColumn != -1) UnGroup();
  if (RowCount() <= FixedRows() + FixedFooters()) return;
  TGrouping* gs = Grouping();
  // A walk that would start no group leaves the grid as it is: every normal row must be
  // walkable and the first value must differ from the sentinel.
  if (GetGridCell(ACol, FixedRows()) == kSentinel) return;
  BeginUpdate();
  try {
    FGroupColumn = ACol;
    GroupColumnWidth = ColWidths(ACol);
    if (FixedRows() > 0) GroupHeaderText = GetGridCell(ACol, 0);
    if (FixedFooters() > 0) GroupFooterText = GetGridCell(ACol, RowCount() - 1);
    if (SortSettings()->AutoSortForGrouping) {
      SortSettings()->Column = ACol;
      QSort();
    }
    const int T = ACol == 1 ? 2 : 1;
    const bool summary = gs->Summary;
    const bool mergedSummary = gs->MergeSummary && summary;
    auto closeGroup = [&](int& H, int& R) {
      if (H > FixedRows() && summary) {
        InsertRows(H, 1, false);
        AddSummary(RemapRowInv(H));
        if (!mergedSummary) LookRow(this, H, gs->SummaryColor, gs->SummaryColorTo, gs->SummaryTextColor, true);
        ++H;
        ++R;
      }
    };
    std::string prev = kSentinel;
    int H = -1, R = FixedRows();
    while (R <= RowCount() - FixedFooters() - 1) {
      if (GetGridCell(ACol, R) != prev) {
        if (H != -1) {
          closeGroup(H, R);
          AddNode(RemapRowInv(H), R - H);
        }
        const std::string value = GetGridCell(ACol, R);
        InsertRows(R, 1, false);
        SetCellEx(T, R, value);
        if (!gs->MergeHeader) LookRow(this, R, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor, true);
        H = R;
        ++R;
      }
      if (R < RowCount() - 1) prev = GetGridCell(ACol, R);
      ++R;
    }
    if (H != -1) {
      closeGroup(H, R);
      AddNode(RemapRowInv(H), R - H);
      if (!gs->MergeHeader) LookRow(this, H, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor, false);
      if (summary) {
        InsertRows(R, 1, false);
        AddSummary(RemapRowInv(R));
        if (!mergedSummary) LookRow(this, R, gs->SummaryColor, gs->SummaryColorTo, gs->SummaryTextColor, true);
      }
    }
    RemoveCols(ACol, 1);
    if (gs->MergeHeader || mergedSummary) {
      for (int r = FixedRows(); r < RowCount(); ++r) {
        if (IsNode(r) && gs->MergeHeader) LookMerged(this, 1, r, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor);
        if (mergedSummary && IsSummary(r))
          LookMerged(this, 1, r, gs->SummaryColor, gs->SummaryColorTo, gs->SummaryTextColor);
      }
    }
    SetRowEx(FixedRows());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (SearchFooter()->Visible() && SearchPanel()) {
    SearchPanel()->SetWidth(SearchPanel()->Width() + 1);
    SearchPanel()->SetWidth(SearchPanel()->Width() - 1);
  }
}

void TDavEvadurAvuz::UnGroup() {
  if (FGroupColumn <= 0) return;
  ExpandAll();
  TGrouping* gs = Grouping();
  const int gc = FGroupColumn;
  const int T = gc == 1 ? 2 : 1;
  // Column indexes below count the group column again.
  FGroupColumn = -1;
  InsertCols(gc, 1);
  SetColWidths(gc, GroupColumnWidth);
  if (FixedRows() > 0) SetGridCell(gc, 0, GroupHeaderText);
  if (FixedFooters() > 0) SetGridCell(gc, RowCount() - 1, GroupFooterText);
  auto takeOut = [&](int row, bool merged, TColor c, TColor cTo) {
    if (merged) SplitCells(T, row);
    else {
      if (c != clNone) RowColor(row, clNone);
      if (cTo != clNone) RowColorTo(row, clNone);
    }
    ClearRect(0, row, ColCount() - 1, row);
    IRemoveRows(row, 1, false);
  };
  std::string V;
  int R = FixedRows();
  while (R <= RowCount() - FixedFooters() - 1) {
    if (IsNode(R)) {
      const int S = GetNodeSpan(R);
      if (gs->Summary && R + S < RowCount() && IsSummary(R + S))
        takeOut(R + S, gs->MergeSummary, gs->SummaryColor, gs->SummaryColorTo);
      V = GetGridCell(T, R);
      RemoveNode(RemapRowInv(R));
      ClearPropCell(0, R);
      takeOut(R, gs->MergeHeader, gs->HeaderColor, gs->HeaderColorTo);
    } else {
      SetGridCell(gc, R, V);
      ++R;
    }
  }
  Invalidate();
}

void TDavEvadurAvuz::SubGroup(int ACol) {
  if (ACol < FixedCols() || ACol + 1 >= ColCount()) return;
  // At most one normal row: nothing to split.
  if (RowCount() - FixedFooters() <= FixedRows() + 1) return;
  TGrouping* gs = Grouping();
  BeginUpdate();
  try {
    const int T = ACol + 1;
    std::string prev = kSentinel;
    int H = -1, R = FixedRows() + 1;
    auto boundaryRow = [&](int r) { return IsNode(r) || IsSummary(r); };
    while (R < RowCount() - FixedFooters()) {
      const std::string V = GetCellEx(ACol, R);
      if (V != prev || boundaryRow(R)) {
        if (H != -1 && !boundaryRow(H)) {
          AddNode(RemapRowInv(H), R - H);
          GetCellGraphic(0, H)->CellVariant = ACol;
        }
        if (!boundaryRow(R)) {
          InsertChildRow(RemapRowInv(R), 0);
          SetCellEx(T, R, V);
          if (gs->MergeHeader) LookMerged(this, T, R, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor);
          else LookRow(this, R, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor, true);
        }
        H = R;
        ++R;
      }
      if (R < RowCount() && !boundaryRow(R - 1)) {
        prev = GetGridCell(ACol, R);
        SetGridCell(ACol, R, "");
        ++R;
      } else {
        prev = kSentinel;
      }
    }
    if (H != -1 && !IsSummary(H)) {
      if (!IsNode(H)) {
        AddNode(RemapRowInv(H), R - H);
        GetCellGraphic(0, H)->CellVariant = ACol;
        LookRow(this, H, gs->HeaderColor, gs->HeaderColorTo, gs->HeaderTextColor, false);
      }
      if (R <= RowCount() - 1 && !boundaryRow(R - 1)) {
        SetGridCell(ACol, R, "");
        ++R;
      }
      if (gs->Summary) {
        InsertRows(R, 1, false);
        AddSummary(RemapRowInv(R));
        if (gs->MergeSummary) LookMerged(this, T, R, gs->SummaryColor, gs->SummaryColorTo, gs->SummaryTextColor);
        else LookRow(this, R, gs->SummaryColor, gs->SummaryColorTo, gs->SummaryTextColor, true);
      }
    }
    SetRowEx(FixedRows());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::SubUnGroup(int ACol) {
  ExpandAll();
  std::string V;
  int R = FixedRows();
  while (R <= RowCount() - FixedFooters() - 1) {
    TCellGraphic* g = IsNode(R) ? GetCellGraphic(0, R) : nullptr;
    if (g && g->CellVariant == ACol) {
      V = GetGridCell(ACol + 1, R);
      RemoveNode(RemapRowInv(R));
      RemoveChildRow(RemapRowInv(R));
    } else if (g || IsSummary(R)) {
      ++R;
    } else {
      SetGridCell(ACol, R, V);
      ++R;
    }
  }
}

void TDavEvadurAvuz::GroupCalc(int ACol, int Kind) {
  int R = FixedRows();
  while (R < RowCount()) {
    if (!IsNode(R) || GetNodeState(R)) {
      ++R;
      continue;
    }
    const int S = std::max(1, GetNodeSpan(R));
    const int target = Grouping()->Summary ? R + S : R;
    const int from = R + 1, to = R + S - 1;
    if (target < RowCount()) {
      switch (Kind) {
        case 1: SetFloats(ACol, target, ColumnSum(ACol, from, to)); break;
        case 2: SetFloats(ACol, target, ColumnAvg(ACol, from, to)); break;
        case 3: SetFloats(ACol, target, ColumnMin(ACol, from, to)); break;
        case 4: SetFloats(ACol, target, ColumnMax(ACol, from, to)); break;
        case 5: SetInts(ACol, target, S - 1); break;
        case 6: SetFloats(ACol, target, ColumnCustomCalc(ACol, from, to)); break;
        default: break;
      }
    }
    R += S;
  }
}
