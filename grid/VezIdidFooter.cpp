// VezIdid, the floating footer: its settings, the per-column calculations written into
// the grid's last row, and the panel that paints the last row, a column preview or a
// mark-up template of the current row and reports hints and clicks on it.
#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

// ---------------------------------------------------------------------------------------
// Settings.
void TFloatingFooter::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFloatingFooter*>(Source);
  if (!s) return;
  CalculateHiddenRows = s->CalculateHiddenRows;
  FColor = s->FColor;
  FColumn = s->FColumn;
  FCustomTemplate = s->FCustomTemplate;
  FooterStyle = s->FooterStyle;
  SetVisible(s->FVisible);
  FShowHint = s->FShowHint;
}

void TFloatingFooter::Invalidate() {
  if (FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
  FooterStyle = Value;
  if (!FGrid) return;
  FGrid->FFloatingFooterShown = FVisible && Value == fsFixedLastRow;
  FGrid->Invalidate();
  Invalidate();
}

void TFloatingFooter::SetHeight(int Value) {
  Height = Value;
  if (FGrid && FGrid->FooterPanel() && Value > 0 && FVisible) FGrid->FooterPanel()->SetHeight(Value - 1);
}

void TFloatingFooter::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
  FColumn = Value;
  Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const std::string& Value) {
  FCustomTemplate = Value;
  Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
  FShowHint = Value;
  if (FGrid && FGrid->FooterPanel()) FGrid->FooterPanel()->SetShowHint(Value);
}

TColumnCalcType TFloatingFooter::ColumnCalc(int ACol) const {
  if (!FGrid) return acNONE;
  const int last = FGrid->GetRowCountEx() - 1;
  if (ACol < 0 || last < 0 || ACol >= FGrid->TotalColCount() || !FGrid->HasCellProperties(ACol, last)) return acNONE;
  return FGrid->GetCellProperties(ACol, last)->CalcType;
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value) {
  if (!FGrid) return;
  const int last = FGrid->GetRowCountEx() - 1;
  if (ACol < 0 || last < 0 || ACol >= FGrid->TotalColCount()) return;
  FGrid->GetCellProperties(ACol, last)->CalcType = Value;
  FGrid->UpdateCell(ACol, last);
}

// ---------------------------------------------------------------------------------------
// Calculations.
void TDavEvadurAvuz::CalcFooter(int ACol) { DoCalcFooter(ACol); }

void TDavEvadurAvuz::FloatFooterUpdate() {
  TBaseGrid::FloatFooterUpdate();
  UpdateFooter();
}

void TDavEvadurAvuz::DoCalcFooter(int ACol) {
  TFloatingFooter* ff = FFloatingFooter.get();
  if (!ff->Visible() || ff->FooterStyle != fsFixedLastRow || !ff->EnableCalculation || FFooterCalculating) return;
  const int L = GetRowCountEx() - 1;
  if (L < 0) return;
  const int F = GetFixedRowsEx();
  const int h = ff->CalculateHiddenRows ? NumHiddenRows() : 0;
  int first = ACol, last = ACol;
  if (ACol == -1) {
    first = 0;
    last = TotalColCount() - 1;
  }
  FFooterCalculating = true;
  // With hidden rows counted the range is real rows, whatever the range's end says.
  FCalcRealRows = h > 0;
  try {
    for (int c = std::max(first, 0); c <= last && c < TotalColCount(); ++c) {
      if (!HasCellProperties(c, L)) continue;
      switch (GetCellProperties(c, L)->CalcType) {
        case acSUM: SetFloats(c, L, ColumnSum(c, F, L - 1 + h)); break;
        case acAVG: SetFloats(c, L, ColumnAvg(c, F, L - 1 + h)); break;
        case acMIN: SetFloats(c, L, ColumnMin(c, F, L - 1 + h)); break;
        case acMAX: SetFloats(c, L, ColumnMax(c, F, L - 1 + h)); break;
        case acCOUNT: SetInts(c, L, L - F + h); break;
        case acCUSTOM: {
          std::string value;
          if (OnFooterCalc) OnFooterCalc(this, c, L + h, value);
          else if (ff->OnCalcFooter) ff->OnCalcFooter(this, c, L + h, value);
          SetCellEx(c, L, value);
          break;
        }
        default: break;
      }
    }
  } catch (...) {
    FCalcRealRows = false;
    FFooterCalculating = false;
    throw;
  }
  FCalcRealRows = false;
  FFooterCalculating = false;
}

std::string TDavEvadurAvuz::FooterTemplateText(const std::string& Template) {
  std::string out, rest = Template;
  size_t p;
  while ((p = rest.find("<#")) != std::string::npos) {
    const size_t close = rest.find('>', p + 2);
    // A tag that never closes ends the template: its tail is shown as it is.
    if (close == std::string::npos) break;
    out += rest.substr(0, p);
    const std::string number = rest.substr(p + 2, close - p - 2);
    rest.erase(0, close + 1);
    int col = 0;
    if (TryStrToInt(number, col) && col >= 0 && col < TotalColCount() && Row() >= 0 && Row() < RowCount())
      out += GetCellEx(col, Row());
  }
  return out + rest;
}

// ---------------------------------------------------------------------------------------
// The panel.
void TFooterPanel::CreateWnd() {
  TPanel::CreateWnd();
  if (!FGrid) return;
  TFloatingFooter* ff = FGrid->FloatingFooter();
  SetHeight(ff && ff->Visible() ? ff->Height - 1 : 0);
  if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(FGrid);
}

int TFooterPanel::ColumnAt(int X) {
  if (!FGrid || X <= 0) return -1;
  int x = 0;
  for (int c = 0; c < FGrid->FixedCols(); ++c) {
    x += FGrid->ColWidths(c);
    if (x >= X) return c;
  }
  for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) {
    x += FGrid->ColWidths(c);
    if (x >= X) return c;
  }
  return -1;
}

TRect TFooterPanel::FooterArea() {
  TRect r = ClientRect();
  int w = 0;
  for (int c = 0; c < FGrid->FixedCols(); ++c) w += FGrid->ColWidths(c);
  for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
  r.Right = std::min(r.Right, r.Left + w);
  return r;
}

void TFooterPanel::Paint() {
  if (!FGrid) return;
  int x = ClientWidth();
  switch (FGrid->FloatingFooter()->FooterStyle) {
    case fsFixedLastRow: x = PaintLastRow(); break;
    case fsColumnPreview: x = PaintColumnPreview(); break;
    case fsCustomPreview: x = PaintCustomPreview(); break;
  }
  const TColor border = FGrid->FloatingFooter()->BorderColor();
  if (border != clNone) {
    Canvas()->Pen()->SetColor(border);
    Canvas()->Pen()->SetWidth(1);
    Canvas()->MoveTo(0, 0);
    Canvas()->LineTo(x, 0);
  }
}

int TFooterPanel::PaintLastRow() {
  TCanvas* cv = Canvas();
  TDavEvadurAvuz* g = FGrid;
  const TRect client = ClientRect();
  const TRect area = FooterArea();
  cv->Brush()->SetColor(g->FloatingFooter()->Color());
  cv->FillRect(area);
  cv->Brush()->SetColor(g->Color());
  cv->FillRect(TRect{area.Right, client.Top, client.Right, client.Bottom});
  const TGridOptions opts = g->Options();
  const bool raisedLook = (g->Look() == glSoft || g->Look() == glZAD || g->Look() == glXP || g->Look() == glVista) &&
                          !g->Flat;
  std::vector<int> cols;
  for (int c = 0; c < g->FixedCols(); ++c) cols.push_back(c);
  for (int c = std::max(g->LeftCol(), g->FixedCols()); c < g->ColCount(); ++c) cols.push_back(c);
  // Column lines.
  int x = 0;
  for (int c : cols) {
    cv->Pen()->SetColor(clWhite);
    cv->MoveTo(x, client.Bottom);
    if (opts.Contains(goFixedVertLine) && raisedLook) cv->LineTo(x, client.Top);
    cv->MoveTo(x, client.Top);
    x += g->ColWidths(c);
    cv->Pen()->SetColor(g->GridLineColor());
    if (opts.Contains(goFixedHorzLine)) {
      cv->LineTo(x - 1, client.Top);
      cv->MoveTo(x - 1, client.Top);
    }
    if (c >= g->FixedCols() && g->Look() != glVista) cv->Pen()->SetColor(0x808080);
    if (opts.Contains(goFixedVertLine)) cv->LineTo(x - 1, client.Bottom);
  }
  // Cells.
  const int L = g->RowCount() - 1;
  TRect r = client;
  if (opts.Contains(goFixedHorzLine)) r.Top += 1;
  g->FooterPainting = true;
  int right = 0;
  try {
    int left = 0;
    for (int c : cols) {
      r.Left = left;
      if (L >= 0 && g->IsMergedCell(g->RemapCol(c), L)) {
        TGridRect full = g->FullCell(g->RemapCol(c), L);
        int w = 0;
        for (int k = c; k <= full.Right && k < g->ColCount(); ++k) w += g->ColWidths(k);
        r.Right = r.Left + w - 1;
      } else {
        r.Right = r.Left + g->ColWidths(c) - 1;
      }
      if (opts.Contains(goFixedHorzLine) && raisedLook) r.Left += 1;
      if (L >= 0) {
        if (c >= g->FixedCols()) {
          if (g->OnGetCellColor) {
            TBrush brush;
            brush.SetColor(clNone);
            g->OnGetCellColor(g, L, g->RemapCol(c), TGridDrawState{gdFixed}, &brush, cv->Font());
            if (brush.GetColor() != clNone) {
              cv->Brush()->SetColor(brush.GetColor());
              cv->FillRect(r);
            }
          }
          const TColor own = g->Colors(g->RemapCol(c), L);
          if (own != clNone) {
            cv->Brush()->SetColor(own);
            cv->FillRect(r);
          }
        }
        if (g->IsBaseCell(g->RemapCol(c), L)) {
          if (c >= g->FixedCols() && g->OnFooterPaint) g->OnFooterPaint(this, c, cv, r);
          else g->DrawGridCell(cv, c, L, r, TGridDrawState{gdFixed});
        }
      }
      right = r.Right;
      left = r.Right + 1;
    }
  } catch (...) {
    g->FooterPainting = false;
    throw;
  }
  g->FooterPainting = false;
  return right;
}

namespace {
void FrameRaised(TCanvas* Cv, const TRect& R) {
  Cv->Pen()->SetWidth(1);
  Cv->Pen()->SetColor(0x808080);
  Cv->MoveTo(R.Left, R.Bottom - 1);
  Cv->LineTo(R.Right - 1, R.Bottom - 1);
  Cv->LineTo(R.Right - 1, R.Top);
  Cv->Pen()->SetColor(clWhite);
  Cv->LineTo(R.Left, R.Top);
  Cv->LineTo(R.Left, R.Bottom - 1);
}
}  // namespace

int TFooterPanel::PaintColumnPreview() {
  TCanvas* cv = Canvas();
  TDavEvadurAvuz* g = FGrid;
  const TRect client = ClientRect();
  const TRect area = FooterArea();
  cv->Brush()->SetColor(g->FloatingFooter()->Color());
  cv->FillRect(area);
  FrameRaised(cv, area);
  const TColor saved = g->SelectionTextColor();
  g->SetSelectionTextColor(clBlack);
  g->FooterPainting = true;
  try {
    const int col = g->FloatingFooter()->Column();
    if (g->OnFooterPaint) g->OnFooterPaint(this, col, cv, area);
    else if (col >= 0 && col < g->ColCount() && g->Row() >= 0 && g->Row() < g->RowCount())
      g->DrawGridCell(cv, col, g->Row(), area, TGridDrawState{});
  } catch (...) {
    g->SetSelectionTextColor(saved);
    g->FooterPainting = false;
    throw;
  }
  g->SetSelectionTextColor(saved);
  cv->Brush()->SetColor(g->Color());
  cv->FillRect(TRect{area.Right, client.Top, client.Right, client.Bottom});
  g->FooterPainting = false;
  return area.Right;
}

int TFooterPanel::PaintCustomPreview() {
  TCanvas* cv = Canvas();
  TDavEvadurAvuz* g = FGrid;
  const TRect client = ClientRect();
  const TRect area = FooterArea();
  cv->Brush()->SetColor(g->FloatingFooter()->Color());
  cv->FillRect(area);
  FrameRaised(cv, area);
  const TColor saved = g->SelectionTextColor();
  g->SetSelectionTextColor(clBlack);
  cv->Font()->Assign(g->Font());
  cv->Brush()->SetStyle(bsClear);
  if (g->ComponentState().Contains(csDesigning)) {
    cv->TextOut(area.Left + 2, area.Top + 2, g->FloatingFooter()->CustomTemplate());
  } else {
    const std::string text = g->FooterTemplateText(g->FloatingFooter()->CustomTemplate());
    TRect r = area;
    r.Top += 2;
    std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot, ctl;
    HTMLDrawEx(cv, text, r, g->GridImages(), 0, 0, -1, -1, 1, false, false, false, false, true, false, true, false,
               1.0, g->URLColor(), clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl,
               ctlID, ctlValue, ctlType, nullptr, nullptr, HandleAllocated() ? Handle() : nullptr);
  }
  cv->Brush()->SetStyle(bsSolid);
  g->SetSelectionTextColor(saved);
  cv->Brush()->SetColor(g->Color());
  cv->FillRect(TRect{area.Right, client.Top, client.Right, client.Bottom});
  return area.Right;
}

void TFooterPanel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW && FGrid) {
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    const int col = info ? ColumnAt(info->CursorPos.X) : -1;
    if (col >= 0 && FGrid->OnGridHint && info) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, info->HintStr);
    FLastHintCol = ShowHint() && col >= 0 ? col : -1;
    Message.Result = ShowHint() ? 0 : 1;
    return;
  }
  if (Message.Msg == CM_MOUSELEAVE) FLastHintCol = -1;
  TPanel::WndProc(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TPanel::MouseMove(Shift, X, Y);
  if (!ShowHint() || FLastHintCol < 0) return;
  const int col = ColumnAt(X);
  if (col != FLastHintCol) {
    if (Application) Application->CancelHint();
    FLastHintCol = col;
  }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPanel::MouseUp(Button, Shift, X, Y);
  if (!FGrid) return;
  if (FGrid->OnClick) FGrid->OnClick(FGrid);
  const int col = ColumnAt(X);
  if (col >= 0 && FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, col);
}

// ---------------------------------------------------------------------------------------
// Mark-up hints.
void TDavEvadurAvuz::SetUseHTMLHints(bool Value) {
  FUseHTMLHints = Value;
  if (!Application) return;
  THintWindowClass make = [](TComponent* Owner) -> THintWindow* { return new THTMLHintWindow(Owner); };
  Application->HintWindowClass = Value ? make : nullptr;
}
