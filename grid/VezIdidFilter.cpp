// VezIdid, filtering: rows that fail the Filter conditions go into the hidden-row store as
// one hide level per ApplyFilter; removing the last filter brings back exactly that level.
#include <cmath>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "grid/VezIdidEdit.h"
#include "platform/rtl/CodePage.h"

namespace {
// Latin letters only are folded, as the row filter always did.
std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}
}  // namespace

bool TDavEvadurAvuz::MatchFilter(int ARow) {
  bool r = true;
  for (int k = 0; k < Filter()->Count(); ++k) {
    TFilterData* f = Filter()->GetItem(k);
    std::string s;
    switch (f->Data) {
      case fcVirtual: s = GetCellEx(f->Column, ARow); break;
      case fcNormal: s = GetGridCell(f->Column, ARow); break;
      case fcStripHTML: s = GetStrippedCell(f->Column, ARow); break;
      case fcCalculated: CalcCell(f->Column, ARow, s); break;
      case fcRow:
        for (int c = 0; c < TotalColCount(); ++c) s += GetGridCell(c, ARow) + "\n";
        break;
    }
    if (s.find("|\\") != std::string::npos) {
      std::u16string w = DecodeWideStr(s);
      s = Utf16ToUtf8(w);
    }
    bool m = true;
    if (f->Data == fcRow) {
      m = UpperAscii(s).find(UpperAscii(f->Condition)) != std::string::npos;
    } else {
      if (!f->Prefix.empty() && s.compare(0, f->Prefix.size(), f->Prefix) == 0) s.erase(0, f->Prefix.size());
      if (!f->Suffix.empty()) {
        const size_t at = s.find(f->Suffix);
        if (at != std::string::npos && at + f->Suffix.size() == s.size()) s.erase(at);
      }
      if (!f->Condition.empty()) {
        try {
          m = MatchStrEx(f->Condition, s, f->CaseSensitive);
        } catch (const std::exception&) {
          m = false;
        }
      }
    }
    bool stop = false;
    switch (f->Operation) {
      case foSHORT: r = m; stop = !m; break;
      case foNONE: r = m; break;
      case foAND: r = r && m; break;
      case foXOR: r = r != m; break;
      case foOR: r = r || m; break;
    }
    if (stop) break;
  }
  if (OnCustomFilter) {
    bool accept = r;
    OnCustomFilter(this, ARow, accept);
    return accept;
  }
  return r;
}

void TDavEvadurAvuz::FilterRow(int ARow) {
  if (!MatchFilter(ARow)) HideRow(RemapRowInv(ARow));
}

void TDavEvadurAvuz::ApplyFilter() {
  FixedRowsBeforeFilter = FixedRows();
  TIntList list;
  const int first = FixedRows(), last = RowCount() - FixedFooters() - 1;
  const int normal = last - first + 1;
  int16_t pct = 0;
  for (int r = first; r <= last; ++r) {
    if (!MatchFilter(r)) list.Add(r);
    if (OnFilterProgress && normal > 0) {
      pct = int16_t(std::nearbyint(double(r - first + 1) / normal * 100.0));
      OnFilterProgress(this, pct);
    }
  }
  HideRowList(&list);
  if (OnFilterProgress) OnFilterProgress(this, pct);
}

bool TDavEvadurAvuz::RemoveLastFilter() {
  if (HideLevel <= 0) return false;
  UnHideRowList();
  if (FixedRows() != FixedRowsBeforeFilter && FixedRowsBeforeFilter < RowCount()) SetFixedRows(FixedRowsBeforeFilter);
  if (SelectionHidden()) UnHideSelection();
  CalcFooter(-1);
  --HideLevel;
  return HideLevel > 1;
}

void TDavEvadurAvuz::RemoveAllFilters() {
  while (HideLevel >= 1) RemoveLastFilter();
}

void TDavEvadurAvuz::NarrowDown(const std::string& AValue, int AColumn) {
  const std::string& L = LastNarrowDown;
  auto fresh = [&] {
    Filter()->Clear();
    TFilterData* f = Filter()->Add();
    f->CaseSensitive = false;
    f->Column = AColumn;
    if (AColumn == -1) {
      f->Data = fcRow;
      f->Condition = AValue;
    } else {
      f->Data = fcNormal;
      f->Condition = "*" + AValue + "*";
    }
  };
  if (!L.empty() && AValue.size() == L.size() + 1 && AValue.compare(0, L.size(), L) == 0) {
    fresh();
    ApplyFilter();
  } else if (!AValue.empty() && AValue.size() + 1 == L.size() && L.compare(0, AValue.size(), AValue) == 0) {
    RemoveLastFilter();
  } else {
    RemoveAllFilters();
    if (!AValue.empty()) {
      fresh();
      ApplyFilter();
    }
  }
  LastNarrowDown = AValue;
}

void TDavEvadurAvuz::SetFilterActive(bool Value) {
  if (Value != FilterActive) {
    FilterActive = Value;
    if (Value) {
      BeginUpdate();
      try {
        ApplyFilter();
      } catch (...) {
        EndUpdate();
        throw;
      }
      EndUpdate();
      FSelectionHidden = false;
    } else {
      UnHideRowList();
      if (FixedRows() != FixedRowsBeforeFilter && FixedRowsBeforeFilter < RowCount()) SetFixedRows(FixedRowsBeforeFilter);
      if (SelectionHidden()) UnHideSelection();
    }
  }
  CalcFooter(-1);
}

void TDavEvadurAvuz::SetFilterRow(int Value) {
  if (Value >= FixedRows()) return;
  FilterDropDownRow = Value;
  Invalidate();
}

void TDavEvadurAvuz::FilterSelect(TObject* Sender) {
  FilterSelect(Sender, FFilterList ? FFilterList->ItemIndex() : -1);
}

void TDavEvadurAvuz::FilterSelect(TObject* Sender, int ItemIndex) {
  if (CanFocus()) SetFocus();
  const int col = FilterDropDownColumn;
  if (col < 0 || col >= ColCount()) return;
  const int entries = FFilterList ? FFilterList->Items()->Count() : 0;
  if (ItemIndex < 0 || ItemIndex >= entries) return;
  GetFilter(col);
  if (ItemIndex >= FFilterValues->Count()) return;
  const std::string e = FFilterValues->Strings(ItemIndex);
  const size_t eq = e.find('=');
  std::string friendly = eq == std::string::npos ? e : e.substr(0, eq);
  std::string condition = eq == std::string::npos ? e : e.substr(eq + 1);
  if (AutoFilterUpdate) SetFilterActive(false);
  if (condition == FilterDropDownClear) condition.clear();
  if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, friendly, condition);
  Filter()->GetColFilter(col)->Condition = condition;
  if (AutoFilterUpdate) {
    FixedRowAlways = true;
    SetFilterActive(true);
    if (RowCount() > FixedRows() && RowCount() > 1) SetRowEx(FixedRows());
    DoFilterDone();
  }
  FilterDropDownColumn = -1;
}
