// VezIdid, marking, checking and fills: rewrites ranges of cell texts at once, wrapping
// found texts in tag pairs, running the cell checker, or writing generated values.
#include "foundation/Deahtml.h"
#include "grid/Deacheck.h"
#include "grid/VezIdid.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"

namespace {
struct TSpan {
  int From, To;
};
}  // namespace

// Rows of a column operation, columns of a row operation and of the unmarking operations.
#define LORM_ROWS(DoFixed) (DoFixed ? TSpan{0, RowCount() - 1} : TSpan{FixedRows(), RowCount() - FixedFooters() - 1})
#define LORM_COLS(DoFixed) (DoFixed ? TSpan{0, ColCount() - 1} : TSpan{FixedCols(), ColCount() - FixedRightCols() - 1})
#define LORM_ALLCOLS(DoFixed)                                  \
  (DoFixed ? TSpan{0, ColCount() + NumHiddenColumns() - 1}     \
           : TSpan{FixedCols(), ColCount() + NumHiddenColumns() - FixedRightCols() - 1})

void TDavEvadurAvuz::MarkCells(const std::string& Text, const std::string& Tag, bool DoCase, int FromCol,
                               int FromRow, int ToCol, int ToRow) {
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) SetCellEx(c, r, HiLight(GetCellEx(c, r), Text, Tag, DoCase));
}

void TDavEvadurAvuz::UnMarkCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow) {
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) SetCellEx(c, r, UnHiLight(GetCellEx(c, r), Tag));
}

std::string TDavEvadurAvuz::HilightText(bool DoCase, const std::string& S, const std::string& Text) {
  return HiLight(S, Text, "hi", DoCase);
}
std::string TDavEvadurAvuz::UnHilightText(const std::string& S) { return UnHiLight(S, "hi"); }
std::string TDavEvadurAvuz::MarkText(bool DoCase, const std::string& S, const std::string& Text) {
  return HiLight(S, Text, "e", DoCase);
}
std::string TDavEvadurAvuz::UnMarkText(const std::string& S) { return UnHiLight(S, "e"); }

void TDavEvadurAvuz::HilightInCell(bool DoCase, int ACol, int ARow, const std::string& Text) {
  MarkCells(Text, "hi", DoCase, ACol, ARow, ACol, ARow);
}
void TDavEvadurAvuz::MarkInCell(bool DoCase, int ACol, int ARow, const std::string& Text) {
  MarkCells(Text, "e", DoCase, ACol, ARow, ACol, ARow);
}
void TDavEvadurAvuz::UnHilightInCell(int ACol, int ARow) { UnMarkCells("hi", ACol, ARow, ACol, ARow); }
void TDavEvadurAvuz::UnMarkInCell(int ACol, int ARow) { UnMarkCells("e", ACol, ARow, ACol, ARow); }

void TDavEvadurAvuz::HilightInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text) {
  const TSpan r = LORM_ROWS(DoFixed);
  MarkCells(Text, "hi", DoCase, ACol, r.From, ACol, r.To);
}
void TDavEvadurAvuz::MarkInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text) {
  const TSpan r = LORM_ROWS(DoFixed);
  MarkCells(Text, "e", DoCase, ACol, r.From, ACol, r.To);
}
void TDavEvadurAvuz::UnHilightInCol(bool DoFixed, int ACol) {
  const TSpan r = LORM_ROWS(DoFixed);
  UnMarkCells("hi", ACol, r.From, ACol, r.To);
}
void TDavEvadurAvuz::UnMarkInCol(bool DoFixed, int ACol) {
  const TSpan r = LORM_ROWS(DoFixed);
  UnMarkCells("e", ACol, r.From, ACol, r.To);
}

void TDavEvadurAvuz::HilightInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text) {
  const TSpan c = LORM_COLS(DoFixed);
  MarkCells(Text, "hi", DoCase, c.From, ARow, c.To, ARow);
}
void TDavEvadurAvuz::MarkInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text) {
  const TSpan c = LORM_COLS(DoFixed);
  MarkCells(Text, "e", DoCase, c.From, ARow, c.To, ARow);
}
void TDavEvadurAvuz::UnHilightInRow(bool DoFixed, int ARow) {
  const TSpan c = LORM_ALLCOLS(DoFixed);
  UnMarkCells("hi", c.From, ARow, c.To, ARow);
}
void TDavEvadurAvuz::UnMarkInRow(bool DoFixed, int ARow) {
  const TSpan c = LORM_ALLCOLS(DoFixed);
  UnMarkCells("e", c.From, ARow, c.To, ARow);
}

void TDavEvadurAvuz::HilightInGrid(bool DoFixed, bool DoCase, const std::string& Text) {
  const TSpan r = LORM_ROWS(DoFixed);
  const TSpan c = DoFixed ? LORM_COLS(true) : LORM_ALLCOLS(false);
  MarkCells(Text, "hi", DoCase, c.From, r.From, c.To, r.To);
}
void TDavEvadurAvuz::MarkInGrid(bool DoFixed, bool DoCase, const std::string& Text) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  MarkCells(Text, "e", DoCase, c.From, r.From, c.To, r.To);
}
void TDavEvadurAvuz::UnHilightInGrid(bool DoFixed) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_ALLCOLS(DoFixed);
  UnMarkCells("hi", c.From, r.From, c.To, r.To);
}
void TDavEvadurAvuz::UnMarkInGrid(bool DoFixed) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_ALLCOLS(DoFixed);
  UnMarkCells("e", c.From, r.From, c.To, r.To);
}

bool TDavEvadurAvuz::CheckCell(int ACol, int ARow) {
  auto* checker = dynamic_cast<TDavEvadurAvuzCheck*>(CellChecker());
  if (!checker) return true;
  const std::string s = GetCellEx(ACol, ARow);
  if (checker->GotoCell && ACol < ColCount() && ARow < RowCount()) {
    SetRow(ARow);
    SetCol(ACol);
  }
  std::string t = s;
  if (checker->UseCorrect) t = checker->Correct(ACol, ARow, s);
  if (checker->UseMarkError) t = checker->MarkError(ACol, ARow, s);
  SetCellEx(ACol, ARow, t);
  return t == s;
}

bool TDavEvadurAvuz::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  auto* checker = dynamic_cast<TDavEvadurAvuzCheck*>(CellChecker());
  if (!checker) return true;
  checker->StartCheck();
  const int row = Row(), col = Col();
  bool all = true;
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) all = CheckCell(c, r) && all;
  checker->StopCheck();
  if (checker->GotoCell) {
    SetRowEx(row);
    SetCol(col);
  }
  return all;
}

bool TDavEvadurAvuz::CheckCol(bool DoFixed, int ACol) {
  const TSpan r = LORM_ROWS(DoFixed);
  return CheckCells(ACol, r.From, ACol, r.To);
}
bool TDavEvadurAvuz::CheckRow(bool DoFixed, int ARow) {
  const TSpan c = LORM_COLS(DoFixed);
  return CheckCells(c.From, ARow, c.To, ARow);
}
bool TDavEvadurAvuz::CheckGrid(bool DoFixed) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  return CheckCells(c.From, r.From, c.To, r.To);
}

void TDavEvadurAvuz::TextFill(bool DoFixed, const std::string& Value) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  for (int y = r.From; y <= r.To; ++y)
    for (int x = c.From; x <= c.To; ++x) SetCellEx(x, y, Value);
  CellsLoaded();
}

void TDavEvadurAvuz::FormatFill(bool DoFixed, const std::string& Fmt) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  for (int y = r.From; y <= r.To; ++y)
    for (int x = c.From; x <= c.To; ++x) SetCellEx(x, y, Format(Fmt, x, y));
  CellsLoaded();
}

void TDavEvadurAvuz::RandomFill(bool DoFixed, int Max) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  for (int y = r.From; y <= r.To; ++y)
    for (int x = c.From; x <= c.To; ++x) SetInts(x, y, Max > 0 ? Random(Max) : 0);
  CellsLoaded();
}

void TDavEvadurAvuz::LinearFill(bool DoFixed) {
  const TSpan r = LORM_ROWS(DoFixed), c = LORM_COLS(DoFixed);
  for (int y = r.From; y <= r.To; ++y)
    for (int x = c.From; x <= c.To; ++x) SetCellEx(x, y, std::to_string(x) + ":" + std::to_string(y));
  CellsLoaded();
}

#undef LORM_ROWS
#undef LORM_COLS
#undef LORM_ALLCOLS
