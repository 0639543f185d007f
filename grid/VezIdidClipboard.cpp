// Clipboard copy, cut and paste of the grid: tab-separated text for any program, the
// first cell's rich text, the grid's own binary cell format for a lossless grid-to-grid
// paste, and an HTML fragment of the whole grid. Paste takes the richest allowed format,
// grows the grid or inserts rows, runs the per-cell events, registers one undo step and
// can fill a selection smartly (repeat, numeric, date and time series, block repeat).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/RichText.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinUser.h"

namespace {
HGLOBAL BlockOf(const std::string& Bytes, bool Nul) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, Bytes.size() + (Nul ? 1 : 0));
  if (!h) throw EVezIdidError("Out of memory");
  auto* p = static_cast<char*>(GlobalLock(h));
  std::memcpy(p, Bytes.data(), Bytes.size());
  if (Nul) p[Bytes.size()] = '\0';
  GlobalUnlock(h);
  return h;
}

// Adds a format to what the clipboard holds (the clipboard takes the block).
void AddClipboardBlock(HWND Owner, UINT Format, HGLOBAL Block, bool Empty) {
  const bool opened = OpenClipboard(Owner);
  if (Empty) EmptyClipboard();
  if (!SetClipboardData(Format, Block)) {
    GlobalFree(Block);
    if (opened) CloseClipboard();
    throw EVezIdidError("Cannot set clipboard data");
  }
  if (opened) CloseClipboard();
}

// The bytes of a clipboard block, never more than the block holds.
bool ClipboardBytes(UINT Format, std::string& Out) {
  HANDLE h = GetClipboardData(Format);
  if (!h) return false;
  const size_t n = GlobalSize(h);
  const char* p = static_cast<const char*>(GlobalLock(h));
  if (!p) return false;
  Out.assign(p, n);
  GlobalUnlock(h);
  return true;
}
}  // namespace

// ---------------------------------------------------------------------------------------
std::string TDavEvadurAvuz::ClipCellText(int ACol, int ARow) {
  std::string s;
  SaveCell(ACol, ARow, s);
  if (s.compare(0, 2, "|\\") == 0) {
    const std::u16string w = DecodeWideStr(s);
    s = Utf16ToUtf8(w);
  }
  if (s.find('\r') != std::string::npos) {
    s = '"' + CRToLF(s) + '"';
  } else if (!Navigation()->CopyHTMLTagsToClipboard && s.find("</") != std::string::npos) {
    s = GetStrippedCell(ACol, ARow);
  } else if (s.find("{\\") != std::string::npos) {
    s = RichToPlainText(s);
  }
  if (CopyLineBreaksAsCSV && LinesInText(s, Multilinecells) > 1) LineFeedsToCSV(s);
  return s;
}

void TDavEvadurAvuz::CopyFunc(const TRect& R, bool Disjunct) {
  ClipboardOrigin = TPoint{R.Left, R.Top};
  ExportNotification(esExportStart, -1);
  const int state = (R.Top > FixedRows() || R.Bottom < RowCount() - 1 - FixedFooters()) ? esExportSelRow : esExportNewRow;
  for (int r = R.Top; r <= R.Bottom; ++r) ExportNotification(state, r);
  TMouseActions* ma = MouseActions();
  std::string text;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    if (ma->DisjunctRowSelect() && Disjunct && !ma->DisjunctColSelect() && !GetRowSelect(r)) continue;
    ExportNotification(esExportNewRow, r);
    bool first = true;
    for (int c = R.Left; c <= R.Right; ++c) {
      if (ma->DisjunctColSelect() && Disjunct && !GetColSelect(c)) continue;
      if (!first) text += '\t';
      first = false;
      text += ClipCellText(RemapCol(c), r);
    }
    if (R.Bottom > R.Top) text += "\r\n";
  }
  SetClipboardTextUtf8(text);
  if (Navigation()->AllowRTFClipboard) CopyRTFFunc(R.Left, R.Top);
  if (Navigation()->AllowFmtClipboard) CopyBinFunc(R);
  ExportNotification(esExportDone, -1);
}

void TDavEvadurAvuz::CopyRTFFunc(int ACol, int ARow) {
  const std::string s = GetCellEx(RemapCol(ACol), ARow);
  if (s.find("{\\") == std::string::npos) return;
  AddClipboardBlock(Handle(), RegisterClipboardFormat("Rich Text Format"), BlockOf(s, true), false);
}

void TDavEvadurAvuz::CopyToClipBoard() {
  CopyFunc(TRect{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()}, false);
  LastClipOperation = coCopy;
}

void TDavEvadurAvuz::CopySelectionToClipboard() {
  CorrectSelection();
  TMouseActions* ma = MouseActions();
  const TGridRect s = GetSelectionEx();
  if ((!ma->DisjunctRowSelect() && !ma->DisjunctColSelect()) || Navigation()->AllowFmtClipboard)
    CopyFunc(TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
  else
    CopyFunc(TRect{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()}, true);
  LastClipOperation = coCopy;
}

void TDavEvadurAvuz::CutToClipboard() {
  const TRect R{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()};
  CopyFunc(R, false);
  TVezIdidUndoRedo* undo = UndoRedo();
  if (undo) undo->StartSequence();
  for (int r = R.Top; r <= R.Bottom; ++r) {
    for (int c = R.Left; c <= R.Right; ++c) {
      const int rc = RemapCol(c);
      if (!IsEditable(rc, r) && !Navigation()->AllowClipboardAlways) continue;
      const std::string old = GetCellEx(rc, r);
      if (old.empty()) continue;
      if (undo) undo->RegisterChange(rc, r, old, "");
      SetCellEx(rc, r, "");
    }
    if (ShowModified()->Enabled()) SetRowModified(r, true);
  }
  if (undo) undo->StopSequence();
  LastClipOperation = coCut;
  CellsChanged(R);
}

void TDavEvadurAvuz::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  TMouseActions* ma = MouseActions();
  const TGridRect s = GetSelectionEx();
  if (ma->DisjunctRowSelect()) {
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (GetRowSelect(r)) {
        ClearRows(r, 1);
        if (ShowModified()->Enabled()) SetRowModified(r, true);
      }
  } else if (ma->DisjunctColSelect()) {
    for (int c = FixedCols(); c < ColCount(); ++c)
      if (GetColSelect(c)) ClearCols(c, 1);
  } else {
    TVezIdidUndoRedo* undo = UndoRedo();
    if (undo) undo->StartSequence();
    for (int r = s.Top; r <= s.Bottom; ++r) {
      for (int c = s.Left; c <= s.Right; ++c) {
        const int rc = RealColIndex(c);
        if (!IsEditable(rc, r) && !Navigation()->AllowClipboardAlways) continue;
        const std::string old = GetCellEx(rc, r);
        if (undo) undo->RegisterChange(rc, r, old, "");
        SetCellEx(rc, r, "");
      }
      if (ShowModified()->Enabled()) SetRowModified(r, true);
    }
    if (Navigation()->AllowFmtClipboard) ClearPropRect(s.Left, s.Top, s.Right, s.Bottom);
    if (undo) undo->StopSequence();
  }
  LastClipOperation = coCut;
  CellsChanged(TRect{s.Left, s.Top, s.Right, s.Bottom});
  Invalidate();
}

void TDavEvadurAvuz::CopyToClipBoardAsHTML() {
  std::string html;
  SaveToHTMLString("", html);
  MakeFragment(html);
  AddClipboardBlock(Handle(), RegisterClipboardFormat("HTML Format"), BlockOf(html, false), true);
  AddClipboardBlock(Handle(), CF_TEXT, BlockOf(html, true), false);
}

void TDavEvadurAvuz::CorrectSelection() {
  TGridRect s = GetSelectionEx();
  TGridRect n = s;
  const TPoint tl = BaseCell(s.Left, s.Top);
  n.Left = std::min(n.Left, tl.X);
  n.Top = std::min(n.Top, tl.Y);
  const TPoint br = BaseCell(s.Right, s.Bottom);
  const TPoint span = CellSpan(br.X, br.Y);
  n.Right = std::max(n.Right, br.X + std::max(0, span.X));
  n.Bottom = std::max(n.Bottom, br.Y + std::max(0, span.Y));
  if (n.Left != s.Left || n.Top != s.Top || n.Right != s.Right || n.Bottom != s.Bottom) SetSelectionEx(n);
}

// ---------------------------------------------------------------------------------------
bool TDavEvadurAvuz::DoAllowFmtPaste() { return Navigation()->AllowFmtClipboard; }

void TDavEvadurAvuz::PasteInCell(int ACol, int ARow, const std::string& Value) {
  const int rc = RemapCol(ACol);
  if (TVezIdidUndoRedo* undo = UndoRedo()) undo->RegisterChange(rc, ARow, GetCellEx(rc, ARow), Value);
  if (HasCheckBox(rc, ARow))
    SetCheckBoxState(rc, ARow, Value == GetCheckTrue(rc, ARow));
  else
    SetCellEx(rc, ARow, Value);
  if (rc != ACol) InvalidateCell(ACol, ARow);
}

void TDavEvadurAvuz::PasteNotify(TPoint Source, const TRect& Target, TClipOperation Operation) {
  if (ShowModified()->Enabled())
    for (int r = Target.Top; r <= Target.Bottom; ++r)
      if (r >= 0 && r < RowCount()) SetRowModified(r, true);
}

void TDavEvadurAvuz::PasteSize(const std::string& Text, TPoint& Size) {
  int rows = 0, widest = 0;
  size_t pos = 0;
  for (;;) {
    const size_t cr = Text.find('\r', pos);
    const std::string line = Text.substr(pos, cr == std::string::npos ? std::string::npos : cr - pos);
    if (line.empty()) --rows;
    widest = std::max(widest, 1 + static_cast<int>(std::count(line.begin(), line.end(), '\t')));
    if (cr == std::string::npos) break;
    ++rows;
    pos = cr + 1;
    if (pos < Text.size() && Text[pos] == '\n') ++pos;
  }
  Size = TPoint{widest, rows};
}

int TDavEvadurAvuz::PasteText(int ACol, int ARow, const std::string& Text, int& Rows, int& Cols) {
  Rows = 0;
  Cols = 0;
  TNavigation* nav = Navigation();
  if (ACol < 0 || ARow < 0) return 0;
  if (!Options().Contains(goEditing) && !nav->AllowClipboardAlways && !MouseActions()->RangeSelectAndEdit) return 0;
  TVezIdidUndoRedo* undo = UndoRedo();
  if (undo) undo->StartSequence();
  int i = ARow, count = 0, lastCol = ACol, lastRow = ARow;
  size_t pos = 0;
  const bool fixedLast = FloatingFooter()->Visible() && FloatingFooter()->FooterStyle == fsFixedLastRow;
  for (;;) {
    const size_t cr = Text.find('\r', pos);
    std::string line = Text.substr(pos, cr == std::string::npos ? std::string::npos : cr - pos);
    size_t next = std::string::npos;
    if (cr != std::string::npos) {
      next = cr + 1;
      if (next < Text.size() && Text[next] == '\n') ++next;
    }
    const bool more = next != std::string::npos && next < Text.size();
    ++Rows;
    ImportNotification(WholeGridPaste ? isImportNewRow : isImportSelRow, i);
    if (nav->ClipboardPasteAction == paInsert && !line.empty()) InsertRows(i, 1, true);
    int j = ACol;
    size_t f = 0;
    int fields = 0;
    for (;;) {
      const size_t tab = line.find('\t', f);
      const bool lastField = tab == std::string::npos;
      std::string v = line.substr(f, lastField ? std::string::npos : tab - f);
      ++fields;
      if (v.find('\n') != std::string::npos) {
        if (!v.empty() && v.front() == '"') v.erase(0, 1);
        if (!v.empty() && v.back() == '"' && v.find('"') == v.size() - 1) v.pop_back();
        std::string w;
        for (char ch : v) {
          if (ch == '\x0B') w += "\r\n";
          else if (ch == '\n') w += "\r\n";
          else w += ch;
        }
        v = w;
      }
      const bool store = !lastField || !v.empty() || more;
      const int rc = RemapCol(j);
      if (nav->AllowClipboardColGrow && ColCount() <= j && (!lastField || store)) SetColCount(j + 1);
      if (store && j < ColCount() && i < RowCount() && (IsEditable(RemapCol(j), i) || nav->AllowClipboardAlways)) {
        bool allow = true;
        const bool wide = v.compare(0, 2, "|\\") == 0;
        if (wide) {
          std::u16string w = DecodeWideStr(v);
          if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, j, i, w, allow);
          v = EncodeWideStr(w);
        } else if (OnClipboardBeforePasteCell) {
          OnClipboardBeforePasteCell(this, j, i, v, allow);
        }
        if (allow) {
          PasteInCell(j, i, v);
          lastCol = std::max(lastCol, j);
          lastRow = std::max(lastRow, i);
          if (wide && !lastField && OnClipboardAfterPasteWideCell)
            OnClipboardAfterPasteWideCell(this, j, i, DecodeWideStr(v));
          else if (OnClipboardAfterPasteCell)
            OnClipboardAfterPasteCell(this, j, i, v);
        }
      }
      (void)rc;
      ++count;
      if (!lastField || store) ++j;
      if (lastField) break;
      f = tab + 1;
    }
    Cols = fields;
    if (next == std::string::npos) break;
    if (more) {
      ++i;
      const int limit = fixedLast ? RowCount() - 1 : RowCount();
      if (i == limit && nav->AllowClipboardRowGrow) SetRowCount(RowCount() + 1);
    }
    pos = next;
    if (!more) {
      // the empty line after the final line break: processed at the same row
      ++Rows;
      ++count;
      Cols = 1;
      break;
    }
  }
  if (undo) undo->StopSequence();
  const TRect target{ACol, ARow, lastCol, lastRow};
  PasteNotify(ClipboardOrigin, target, LastClipOperation);
  CellsChanged(TRect{RemapCol(ACol), ARow, RemapCol(std::min(lastCol, ColCount() - 1)), lastRow});
  return count;
}

int TDavEvadurAvuz::PasteFunc(int ACol, int ARow, int& Rows, int& Cols) {
  Rows = 0;
  Cols = 0;
  TNavigation* nav = Navigation();
  const bool opened = OpenClipboard(Handle());
  struct TCloser {
    bool Open;
    ~TCloser() {
      if (Open) CloseClipboard();
    }
  } closer{opened};
  if (DoAllowFmtPaste() && IsClipboardFormatAvailable(RegisterClipboardFormat("TDavEvadurAvuz Cells"))) {
    std::string bytes;
    if (!ClipboardBytes(GridCellsFormat(), bytes)) return 0;
    PasteStart();
    TStringStream s(bytes);
    int cols = 0, rows = 0;
    int64_t id = 0;
    try {
      // The grid record is read and checked first; a bad block pastes nothing.
      ReadGridCellsHead(s, cols, rows, id);
      s.SetPosition(0);
    } catch (const Exception&) {
      PasteDone();
      return 0;
    }
    if (nav->AllowClipboardRowGrow || nav->AllowClipboardColGrow || nav->ClipboardPasteAction == paInsert) {
      if (nav->AllowClipboardColGrow && ACol + cols >= ColCount()) SetColCount(ACol + cols);
      if (nav->AllowClipboardRowGrow && ARow + rows >= RowCount()) SetRowCount(ARow + rows);
      if (nav->ClipboardPasteAction == paInsert) InsertRows(ARow, rows, true);
    }
    Cols = ColCount();
    Rows = RowCount();
    try {
      LoadAtPointFromBinStream(TPoint{ACol, ARow}, s);
    } catch (const EReadError&) {
      // cells read before the damage stay; the rest of the block is not pasted
    }
    const int32_t self = static_cast<int32_t>(reinterpret_cast<intptr_t>(Handle()) & 0xFFFFFFFF);
    PasteNotify(id == self ? ClipboardOrigin : TPoint{-1, -1}, TRect{ACol, ARow, ACol + cols - 1, ARow + rows - 1},
                LastClipOperation);
    PasteDone();
    return cols * rows;
  }
  const UINT rtf = RegisterClipboardFormat("Rich Text Format");
  if (nav->AllowRTFClipboard && IsClipboardFormatAvailable(rtf)) {
    std::string bytes;
    if (ClipboardBytes(rtf, bytes)) {
      bytes.resize(strnlen(bytes.data(), bytes.size()));
      if (IsEditable(RemapCol(ACol), ARow)) PasteInCell(ACol, ARow, bytes);
      Rows = Cols = 1;
    }
    return 0;
  }
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    std::string bytes;
    if (!ClipboardBytes(CF_TEXT, bytes)) return 0;
    bytes.resize(strnlen(bytes.data(), bytes.size()));
    return PasteText(ACol, ARow, bytes, Rows, Cols);
  }
  return 0;
}

void TDavEvadurAvuz::PasteFromClipboard() {
  ImportNotification(isImportStart, -1);
  WholeGridPaste = true;
  int rows = 0, cols = 0;
  PasteFunc(GetSaveStartCol(), GetSaveStartRow(), rows, cols);
  ImportNotification(isImportDone, -1);
  CellsLoaded();
}

// ---------------------------------------------------------------------------------------
// Paste at the selection, then fill the rest of the selection smartly when asked.
void TDavEvadurAvuz::PasteSelectionFromClipboard() {
  ImportNotification(isImportStart, -1);
  WholeGridPaste = false;
  CorrectSelection();
  const TGridRect s = GetSelectionEx();
  int rows = 0, cols = 0;
  const int n = PasteFunc(Options().Contains(goRowSelect) ? FixedCols() : s.Left, s.Top, rows, cols);
  const int selected = (s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
  if (Navigation()->AllowSmartClipboard && n - 1 != selected) SmartFill(n, rows, cols);
  ImportNotification(isImportDone, -1);
  CellsLoaded();
}

void TDavEvadurAvuz::SmartFill(int N, int Rows, int Cols) {
  const TGridRect s = GetSelectionEx();
  TNavigation* nav = Navigation();
  auto editable = [&](int c, int r) { return IsEditable(RemapCol(c), r) || nav->AllowClipboardAlways; };
  // One value into a cell with the before and after events (not at the first cell).
  auto put = [&](int c, int r, std::string v, bool events) {
    bool allow = true;
    if (events && OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
    if (allow) PasteInCell(c, r, v);
    if (events && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
  };
  PasteStart();
  const bool several = s.Right > s.Left || s.Bottom > s.Top;
  if (N == 1 && several) {
    std::string v = GetCellEx(RemapCol(s.Left), s.Top);
    bool state = false;
    if (HasCheckBox(RemapCol(s.Left), s.Top) && GetCheckBoxState(RemapCol(s.Left), s.Top, state))
      v = state ? GetCheckTrue(RemapCol(s.Left), s.Top) : GetCheckFalse(RemapCol(s.Left), s.Top);
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r) {
        if (!editable(c, r)) continue;
        const bool first = c == s.Left && r == s.Top;
        put(c, r, v, !first);
        PasteNotify(ClipboardOrigin, TRect{c, r, c, r}, coCopy);
      }
  }
  PasteDone();
  const bool oneCol = s.Left == s.Right, oneRow = s.Top == s.Bottom;
  if (N >= 2 && (oneCol || oneRow) && several) {
    std::vector<TPoint> cells;
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r) cells.push_back(TPoint{c, r});
    const std::string first = GetCellEx(RemapCol(s.Left), s.Top);
    const std::string second = oneCol ? GetCellEx(RemapCol(s.Left), s.Top + 1) : GetCellEx(RemapCol(s.Left + 1), s.Top);
    const TFormatSettings& fs = FormatSettings();
    const bool dateLike = (IsDateStr(first) || first.find(fs.TimeSeparator) != std::string::npos) &&
                          (IsDateStr(second) || second.find(fs.TimeSeparator) != std::string::npos);
    const bool decimals = first.find(fs.DecimalSeparator) != std::string::npos || second.find(fs.DecimalSeparator) != std::string::npos;
    int64_t a = 0, b = 0;
    auto isInt = [](const std::string& t, int64_t& v) {
      if (t.empty()) return false;
      size_t k = 0;
      if (t[0] == '-' || t[0] == '+') k = 1;
      if (k == t.size()) return false;
      for (size_t i = k; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return false;
      try {
        v = std::stoll(t);
      } catch (...) {
        return false;
      }
      return true;
    };
    if (dateLike) {
      try {
        TDateTime d = StrToDateTime(first);
        const TDateTime d2 = StrToDateTime(second);
        int y1, m1, dd1, y2, m2, dd2;
        DecodeDate(d, y1, m1, dd1);
        DecodeDate(d2, y2, m2, dd2);
        const TDateTime delta = d2 - d;
        const bool isDate = first.find(fs.DateSeparator) != std::string::npos;
        for (size_t k = 0; k < cells.size(); ++k) {
          const TPoint p = cells[k];
          if (editable(p.X, p.Y)) put(p.X, p.Y, isDate ? DateToStr(d) : TimeToStr(d), k != 0);
          d = GetNextDate(d, static_cast<uint16_t>(y2 - y1), static_cast<uint16_t>(m2 - m1), static_cast<uint16_t>(dd2 - dd1), delta);
        }
      } catch (const Exception&) {
        // the series ends at the first value that does not convert
      }
    } else if (!decimals && isInt(first, a) && isInt(second, b)) {
      int64_t v = a;
      for (size_t k = 0; k < cells.size(); ++k, v += b - a)
        if (IsEditable(RemapCol(cells[k].X), cells[k].Y)) put(cells[k].X, cells[k].Y, std::to_string(v), k != 0);
    } else if (!decimals) {
      if (oneCol) {
        for (int r = s.Top + N - 1; r <= s.Bottom; ++r)
          if (editable(s.Left, r) && r - (N - 1) >= 0) put(s.Left, r, GetCellEx(RemapCol(s.Left), r - (N - 1)), r != s.Top);
      } else {
        for (int c = s.Left + N; c <= s.Right; ++c)
          if (editable(c, s.Top)) put(c, s.Top, GetCellEx(RemapCol(c - N), s.Top), c != s.Left);
      }
    } else {
      try {
        const double x = StrToFloat(first), y = StrToFloat(second);
        for (size_t k = 0; k < cells.size(); ++k)
          if (editable(cells[k].X, cells[k].Y))
            put(cells[k].X, cells[k].Y, Format(FloatFormat, {static_cast<double>(x + k * (y - x))}), k != 0);
      } catch (const Exception&) {
      }
    }
  }
  // Block repetition over a selection of several rows and columns.
  if (s.Right > s.Left && s.Bottom > s.Top) {
    int r2 = 0, c2 = 0;
    if (Rows == 1)
      for (int r = s.Top + 1; r <= s.Bottom; ++r) PasteFunc(s.Left, r, r2, c2);
    else if (Cols == 1)
      for (int c = s.Left + 1; c <= s.Right; ++c) PasteFunc(c, s.Top, r2, c2);
  }
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::ChangeScale(int M, int D) {
  TBaseGrid::ChangeScale(M, D);
  if (M == D || D == 0) return;
  auto scale = [&](TFont* f) {
    const long long v = static_cast<long long>(f->GetSize()) * M;
    f->SetSize(static_cast<int>(v >= 0 ? (v + D / 2) / D : (v - D / 2) / D));
  };
  scale(FixedFont());
  scale(ActiveCellFont());
}

bool TDavEvadurAvuz::HasComCtl470() { return true; }
