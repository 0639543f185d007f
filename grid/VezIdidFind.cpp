// VezIdid, find and replace: scans the cells row by row or column by column from a start
// cell, forwards or backwards, testing each with the stored parameters and search text.
#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace {
enum { kFindStart = 0, kFindRow = 1, kFindDone = 2, kFindFail = 3 };
const std::string kEmptyCell = "\"\"";
const std::u16string kEmptyCellWide = u"\"\"";

std::u16string UpperWide(const std::u16string& s) { return Utf8ToUtf16(AnsiUpperCase(Utf16ToUtf8(s))); }

// Every occurrence of Old in S replaced by New, case ignored.
std::string ReplaceNoCase(const std::string& S, const std::string& Old, const std::string& New) {
  if (Old.empty()) return S;
  const std::string us = AnsiUpperCase(S), uo = AnsiUpperCase(Old);
  // Upper-casing keeps the byte length of the letters it folds only for most scripts; fall
  // back to a byte-wise search of the original when it does not.
  const bool sameLen = us.size() == S.size() && uo.size() == Old.size();
  const std::string& hay = sameLen ? us : S;
  const std::string& needle = sameLen ? uo : Old;
  std::string out;
  size_t at = 0;
  for (size_t p; (p = hay.find(needle, at)) != std::string::npos; at = p + needle.size()) {
    out.append(S, at, p - at);
    out += New;
  }
  out.append(S, at, std::string::npos);
  return out;
}
}  // namespace

bool TDavEvadurAvuz::MatchCell(int ACol, int ARow, bool Wide) {
  const TFindParams& P = LastFindParams;
  if (!P.Contains(fnIncludeHiddenColumns)) ACol = RemapCol(ACol);
  const bool matchCase = P.Contains(fnMatchCase);
  std::string s;
  std::u16string w;
  if (!Wide) {
    s = P.Contains(fnIncludeHiddenRows) ? GetCellsEx(ACol, ARow) : GetCellEx(ACol, ARow);
    if (!matchCase) s = AnsiUpperCase(s);
    if (P.Contains(fnIgnoreHTMLTags)) s = HTMLStrip(s);
  } else {
    w = DecodeWide(GetCellEx(ACol, ARow));
    if (!matchCase) w = UpperWide(w);
  }
  if (!Wide && LastFindText == kEmptyCell) return s.empty();
  if (Wide && LastFindWide == kEmptyCellWide) return w.empty();
  if (P.Contains(fnMatchRegular)) return MatchStrEx(LastFindText, Wide ? Utf16ToUtf8(w) : s, matchCase);
  size_t p;
  bool full;
  if (Wide) {
    p = w.find(LastFindWide);
    full = !P.Contains(fnMatchFull) || w == LastFindWide;
  } else {
    p = s.find(LastFindText);
    full = !P.Contains(fnMatchFull) || s == LastFindText;
  }
  const bool found = P.Contains(fnMatchStart) ? p == 0 : p != std::string::npos;
  return found && full;
}

TPoint TDavEvadurAvuz::FindInternal(TPoint StartCell, const std::string& S, const std::u16string& W, bool Wide,
                                    TFindParams P) {
  TPoint result{-1, -1};
  LastFindParams = P;
  const bool matchCase = P.Contains(fnMatchCase);
  LastFindText = matchCase ? S : AnsiUpperCase(S);
  LastFindWide = matchCase ? W : UpperWide(W);
  if (ColCount() <= FixedCols() || RowCount() <= FixedRows()) return result;
  int c1, c2, r1, r2;
  if (P.Contains(fnIncludeFixed)) {
    c1 = 0, c2 = ColCount() - 1, r1 = 0, r2 = RowCount() - 1;
  } else {
    c1 = FixedCols(), c2 = ColCount() - FixedRightCols() - 1;
    r1 = FixedRows(), r2 = RowCount() - FixedFooters() - 1;
  }
  if (P.Contains(fnSelectedCells)) {
    const TGridRect sel = GetSelectionEx();
    c1 = sel.Left, c2 = sel.Right, r1 = sel.Top, r2 = sel.Bottom;
  }
  if (P.Contains(fnIncludeHiddenColumns)) c2 += NumHiddenColumns();
  if (P.Contains(fnIncludeHiddenRows) && HasNodes()) r2 += NumHiddenRows();
  if (c1 > c2 || r1 > r2) return result;
  const bool back = P.Contains(fnBackward), rowWise = P.Contains(fnDirectionLeftRight);
  int col, row;
  if (StartCell.X == -1 && StartCell.Y == -1) {
    col = back ? c2 : c1;
    row = back ? r2 : r1;
  } else {
    col = StartCell.X;
    row = StartCell.Y;
    // One step from the start cell; the scan moves to the next line when it leaves the
    // rectangle, so there is no wrap-around from the last cell.
    int& minor = rowWise ? col : row;
    int& major = rowWise ? row : col;
    const int minorLo = rowWise ? c1 : r1, minorHi = rowWise ? c2 : r2;
    const int majorLo = rowWise ? r1 : c1, majorHi = rowWise ? r2 : c2;
    if (!back) {
      if (minor <= minorHi) ++minor;
      else if (major <= majorHi) ++major;
      else minor = minorLo, major = majorLo;
    } else {
      if (minor >= minorLo) --minor;
      else if (major >= majorLo) --major;
      else minor = minorHi, major = majorHi;
    }
  }
  if (P.Contains(fnFindInCurrentRow)) row = r1 = r2 = Row();
  if (P.Contains(fnFindInPresetRow)) row = r1 = r2 = PresetRow;
  if (P.Contains(fnFindInCurrentCol)) col = c1 = c2 = Col();
  if (P.Contains(fnFindInPresetCol)) col = c1 = c2 = PresetCol;
  const int step = back ? -1 : 1;
  if (rowWise) {
    for (; row >= r1 && row <= r2; row += step) {
      for (; col >= c1 && col <= c2; col += step) {
        if (IsIgnoredColumn(col)) continue;
        ExportNotification(kFindRow, row);
        if (MatchCell(col, row, Wide)) {
          result = {col, row};
          break;
        }
      }
      if (result.X != -1) break;
      col = P.Contains(fnFindInCurrentCol) ? Col() : (back ? c2 : c1);
    }
  } else {
    for (; col >= c1 && col <= c2; col += step) {
      for (; row >= r1 && row <= r2; row += step) {
        ExportNotification(kFindRow, row);
        if (MatchCell(col, row, Wide)) {
          result = {col, row};
          break;
        }
      }
      if (result.X != -1) break;
      row = P.Contains(fnFindInCurrentRow) ? Row() : (back ? r2 : r1);
    }
  }
  if (result.X == -1) return result;
  LastFoundCell = result;
  if (P.Contains(fnAutoGoto)) {
    int frow = result.Y;
    if (P.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
      if (IsHiddenRow(frow)) {
        int sum = FixedRows();
        for (int d = FixedRows(); d < RowCount(); ++d) {
          if (!IsNode(d)) continue;
          sum += std::max(1, GetNodeSpan(d));
          if (sum > frow) {
            ExpandNode(RemapRowInv(d));
            break;
          }
        }
      }
      frow = DisplRowIndex(frow);
    }
    if (frow >= 0 && frow < RowCount()) {
      if (MouseActions()->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(frow, true);
        SetRowEx(frow);
      } else {
        SetRowEx(frow);
        if (result.X < ColCount()) SetCol(result.X);
      }
    }
  }
  return result;
}

TPoint TDavEvadurAvuz::Find(TPoint StartCell, const std::string& S, TFindParams FindParams) {
  ExportNotification(kFindStart, -1);
  const TPoint r = FindInternal(StartCell, S, Utf8ToUtf16(S), false, FindParams);
  ExportNotification(r.X == -1 ? kFindDone : kFindFail, -1);
  return r;
}

TPoint TDavEvadurAvuz::FindWide(TPoint StartCell, const std::u16string& S, TFindParams FindParams) {
  return FindInternal(StartCell, Utf16ToUtf8(S), S, true, FindParams);
}

TPoint TDavEvadurAvuz::FindFirst(const std::string& S, TFindParams FindParams) {
  LastFoundCell = Find(TPoint{-1, -1}, S, FindParams);
  return LastFoundCell;
}

TPoint TDavEvadurAvuz::FindNext() {
  // The stored text is upper-cased already when case does not count; finding it again
  // upper-cases an upper-cased text, which changes nothing.
  LastFoundCell = Find(LastFoundCell, LastFindText, LastFindParams);
  return LastFoundCell;
}

int TDavEvadurAvuz::Replace(const std::string& OldText, const std::string& NewText, TFindParams FindParams) {
  int count = 0;
  TPoint at{-1, -1};
  for (;;) {
    at = Find(at, OldText, FindParams);
    if (at.X == -1) break;
    const int c = FindParams.Contains(fnIncludeHiddenColumns) ? at.X : RemapCol(at.X);
    SetCellEx(c, at.Y, ReplaceNoCase(GetCellEx(c, at.Y), OldText, NewText));
    if (ShowModified()->Enabled()) SetRowModified(at.Y, true);
    ++count;
  }
  return count;
}
