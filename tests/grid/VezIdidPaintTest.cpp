// Cell painting: how a cell's look resolves (colours, fonts, alignment, text) and the
// layers a headless paint lays down, read back as pixels.
#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"

namespace {

// The grid with its resolution open to the tests.
class TPaintGrid : public TDavEvadurAvuz {
public:
  using TDavEvadurAvuz::TDavEvadurAvuz;
  using TDavEvadurAvuz::GetVisualProperties;
};

struct Look {
  TColor Brush, Font, ColorTo;
  TGridDrawState State;
  bool WordWrap;
  TCellGradientDirection GD;
};

class PaintTest : public GridTest {
protected:
  PaintTest() {
    delete grid;
    pg = new TPaintGrid(form);
    grid = pg;
    grid->SetParent(form);
    grid->SetBounds(0, 0, 420, 300);
    grid->SetColCountEx(5);
    grid->SetRowCountEx(8);
    grid->SetDefRowHeightEx(24);
    FillCoordinates();
  }
  Look Resolve(int ACol, int ARow, bool Print = false, bool Select = true, TGridDrawState State = {}) {
    TBrush brush;
    TFont font;
    Look l{};
    TColor mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    l.WordWrap = false;
    l.GD = GradientHorizontal;
    l.State = State;
    pg->GetVisualProperties(ACol, ARow, l.State, Print, Select, true, &brush, l.ColorTo, mirror, mirrorTo, &font, ha,
                            va, l.WordWrap, l.GD);
    l.Brush = brush.GetColor();
    l.Font = font.GetColor();
    return l;
  }
  COLORREF Px(int X, int Y) { return WindowPixel(grid->Handle(), X, Y); }
  void Save(const std::string& name) {
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
      SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / (name + ".png")).string());
  }
  // Whether any pixel of the rectangle is dark (text ink).
  bool Ink(const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        COLORREF c = Px(x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0x70) return true;
      }
    return false;
  }
  TPaintGrid* pg = nullptr;
};

TEST_F(PaintTest, BandsColourRowsByTheirPlaceInThePeriod) {
  grid->Bands()->SetPrimaryColor(0x00AA00);
  grid->Bands()->SetSecondaryColor(0x0000AA);
  grid->Bands()->SetPrimaryLength(2);
  grid->Bands()->SetSecondaryLength(1);
  grid->Bands()->SetActive(true);
  const TColor expected[] = {0x00AA00, 0x00AA00, 0x0000AA, 0x00AA00, 0x00AA00, 0x0000AA};
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(Resolve(2, r, false, false).Brush, expected[r - 1]) << r;
  // Paper follows the bands only when asked.
  EXPECT_EQ(Resolve(2, 3, true, false).Brush, grid->Color());
  grid->Bands()->Print = true;
  EXPECT_EQ(Resolve(2, 3, true, false).Brush, TColor(0x0000AA));
}

TEST_F(PaintTest, OwnBrushColourOfPlainAndCheckBoxCellsInFixedRowsAndBands) {
  grid->SetLook(glStandard);
  grid->Bands()->SetActive(true);
  grid->AddCheckBox(2, 0, true, false);
  grid->AddCheckBox(3, 2, true, false);
  for (TPoint c : {TPoint{1, 0}, TPoint{2, 0}, TPoint{1, 2}, TPoint{3, 2}})
    grid->GetCellProperties(c.X, c.Y)->BrushColor = 0x123456;
  struct {
    int Col, Row;
    TColor Brush;
  } cases[] = {
      {1, 0, 0x123456},              // a plain cell owns its colour, also in the fixed row
      {2, 0, grid->FixedColor()},    // a check box takes the fixed colour there
      {1, 2, 0x123456},              // and over the bands
      {3, 2, 0x123456},              // a coloured check box keeps its colour in a band
      {4, 2, grid->Bands()->SecondaryColor()},
      {4, 1, grid->Bands()->PrimaryColor()},
  };
  for (const auto& c : cases) EXPECT_EQ(Resolve(c.Col, c.Row, false, false).Brush, c.Brush) << c.Col << "," << c.Row;
}

// The print-font switch only chooses the fonts of paper: on screen the cell's own
// gradient, word wrap and direction apply whatever it says.
TEST_F(PaintTest, CellPropertiesApplyOnScreenWhateverThePrintFontSwitch) {
  TCellProperties* p = grid->GetCellProperties(2, 3);
  p->BrushColor = 0x00FFFF;
  p->BrushColorTo = 0x0000FF;
  p->WordWrap = true;
  p->GradientDirection = GradientVertical;
  p->FontColor = 0x00AA00;
  grid->PrintSettings()->UseDisplayFont = false;
  Look screen = Resolve(2, 3, false, false);
  EXPECT_EQ(screen.Brush, TColor(0x00FFFF));
  EXPECT_EQ(screen.ColorTo, TColor(0x0000FF));
  EXPECT_TRUE(screen.WordWrap);
  EXPECT_EQ(screen.GD, GradientVertical);
  EXPECT_EQ(screen.Font, TColor(0x00AA00));
  // On paper the cell's gradient is left out; the hooks still give its font colour.
  Look paper = Resolve(2, 3, true, false);
  EXPECT_EQ(paper.ColorTo, clNone);
  EXPECT_FALSE(paper.WordWrap);
  EXPECT_EQ(paper.Brush, grid->Color());
}

TEST_F(PaintTest, SelectionColoursTable) {
  grid->SetSelectionColor(0x00D0D0);
  grid->Canvas()->Font()->SetColor(0);
  grid->GetCellProperties(2, 2)->FontColor = 0x0000AA;
  grid->SetSelection(TGridRect{1, 1, 2, 2});
  // Text colour clNone keeps the cell's own font colour.
  grid->SetSelectionTextColor(clNone);
  Look kept = Resolve(2, 2);
  EXPECT_EQ(kept.Brush, TColor(0x00D0D0));
  EXPECT_EQ(kept.Font, TColor(0x0000AA));
  EXPECT_TRUE(kept.State.Contains(gdSelected));
  grid->SetSelectionTextColor(0xAA0000);
  EXPECT_EQ(Resolve(2, 2).Font, TColor(0xAA0000));
  // Without Select (the painter's own call), on paper and outside the selection: none.
  EXPECT_EQ(Resolve(2, 2, false, false).Brush, grid->Color());
  EXPECT_EQ(Resolve(2, 2, true, true).Brush, grid->Color());
  EXPECT_EQ(Resolve(3, 3).Brush, grid->Color());
}

TEST_F(PaintTest, DisjunctCellSelectShowsOnlyListedCells) {
  grid->SetSelectionColor(0x00D0D0);
  grid->MouseActions()->SetDisjunctCellSelect(true);
  grid->SetSelection(TGridRect{2, 2, 2, 2});  // the current cell, not picked
  grid->SetSelectedCells(3, 4, true);
  Look current = Resolve(2, 2, false, true, TGridDrawState{gdSelected});
  EXPECT_EQ(current.Brush, grid->Color());
  EXPECT_FALSE(current.State.Contains(gdSelected));
  Look picked = Resolve(3, 4);
  EXPECT_EQ(picked.Brush, TColor(0x00D0D0));
  EXPECT_TRUE(picked.State.Contains(gdSelected));
}

TEST_F(PaintTest, DisjunctRowsAreSelectedByTheRowList) {
  grid->SetSelectionColor(0x00D0D0);
  grid->MouseActions()->SetDisjunctRowSelect(true);
  grid->SetRowSelect(4, true);
  Look in = Resolve(2, 4);
  EXPECT_EQ(in.Brush, TColor(0x00D0D0));
  EXPECT_EQ(in.State, TGridDrawState{gdSelected});
  EXPECT_EQ(Resolve(2, 5).Brush, grid->Color());
}

TEST_F(PaintTest, ActiveCellHeadersTakeTheActiveColourAndFont) {
  grid->SetActiveCellShow(true);
  grid->SetActiveCellColor(0x3399FF);
  grid->ActiveCellFont()->SetColor(0x0000CC);
  grid->SetSelection(TGridRect{2, 3, 2, 3});
  for (TPoint c : {TPoint{2, 0}, TPoint{0, 3}}) {
    Look l = Resolve(c.X, c.Y, false, false);
    EXPECT_EQ(l.Brush, TColor(0x3399FF)) << c.X << "," << c.Y;
    EXPECT_EQ(l.Font, TColor(0x0000CC));
  }
  EXPECT_NE(Resolve(3, 0, false, false).Brush, TColor(0x3399FF));
}

TEST_F(PaintTest, AlignmentTable) {
  grid->SetCellEx(1, 1, "12.5");
  grid->SetCellEx(2, 1, "abc");
  grid->SetCellEx(3, 1, "1e5");
  grid->GetCellProperties(4, 1)->Alignment = taCenter;
  grid->VAlignment = vtaBottom;
  struct {
    bool AutoNum;
    int Col;
    TAlignment HA;
  } cases[] = {{true, 1, taRightJustify}, {true, 2, taLeftJustify}, {true, 3, taRightJustify},
               {true, 4, taLeftJustify},  {false, 1, taLeftJustify}, {false, 4, taCenter}};
  for (const auto& c : cases) {
    grid->AutoNumAlign = c.AutoNum;
    TAlignment ha;
    TVAlignment va;
    grid->GetCellAlignment(c.Col, 1, ha, va);
    EXPECT_EQ(ha, c.HA) << c.AutoNum << " " << c.Col;
    EXPECT_EQ(va, vtaBottom);
  }
  // Column 0 centres under hotmail row select; the event has the last word.
  grid->MouseActions()->SetHotmailRowSelect(true);
  TAlignment ha;
  TVAlignment va;
  grid->GetCellAlignment(0, 2, ha, va);
  EXPECT_EQ(ha, taCenter);
  grid->OnGetAlignment = [](TObject*, int, int, TAlignment& H, TVAlignment& V) {
    H = taRightJustify;
    V = vtaCenter;
  };
  grid->GetCellAlignment(0, 2, ha, va);
  EXPECT_EQ(ha, taRightJustify);
  EXPECT_EQ(va, vtaCenter);
}

TEST_F(PaintTest, FormattedCellTable) {
  struct {
    std::string Text, Format;
    bool IsFloat;
    std::string Shown;
  } cases[] = {
      {"1.5", "%.3f", true, "1.500"},  {"7", "%d", true, "7"},        {"1.5", "%.3f", false, "1.5"},
      {"abc", "%.3f", true, "abc"},    {"2.25", "%s", true, "2.25"},  {"2.5", "%.1f", true, "2.5"},
  };
  for (const auto& c : cases) {
    grid->SetCellEx(1, 1, c.Text);
    grid->OnGetFloatFormat = [&](TObject*, int, int, bool& IsFloat, std::string& Format) {
      IsFloat = c.IsFloat;
      Format = c.Format;
    };
    EXPECT_EQ(grid->GetFormattedCell(1, 1), c.Shown) << c.Text << " " << c.Format;
  }
  grid->OnGetFloatFormat = nullptr;
  grid->SetCellEx(1, 1, "1.5");
  EXPECT_EQ(grid->GetFormattedCell(1, 1), "1.5");
}

TEST_F(PaintTest, ModifiedMarkerAndRowIndicator) {
  grid->ShowModified()->SetEnabled(true);
  grid->ShowModified()->SetColor(0x00C000);
  grid->SetRowModified(3, true);
  TBitmap ind;
  ind.SetSize(8, 8);
  ind.Canvas()->Brush()->SetColor(clWhite);
  ind.Canvas()->FillRect(TRect{0, 0, 8, 8});
  ind.Canvas()->Brush()->SetColor(0xCC0000);
  ind.Canvas()->FillRect(TRect{2, 2, 6, 6});
  grid->SetRowIndicator(&ind);
  grid->SetLook(glStandard);
  grid->SetFixedColor(0x808080);
  grid->SetSelection(TGridRect{2, 5, 2, 5});
  grid->Repaint();
  TRect m = grid->CellRect(0, 3);
  EXPECT_EQ(Px(m.Right - 4, m.Top + 10), COLORREF(0x00C000));
  EXPECT_NE(Px(m.Right - 4, grid->CellRect(0, 4).Top + 10), COLORREF(0x00C000));
  TRect cur = grid->CellRect(0, 5);
  // The indicator stands 2 pixels in from the left, at the top; its corner is see-through.
  EXPECT_EQ(Px(cur.Left + 1 + 2 + 3, cur.Top + 1 + 3), COLORREF(0xCC0000));
  EXPECT_EQ(Px(cur.Left + 1 + 2, cur.Top + 1), COLORREF(0x808080));
}

TEST_F(PaintTest, HoverAndPressedHeadersUseTheirGradients) {
  grid->SetLook(glXP);
  grid->HoverFixedCells = hfAll;
  for (int i = 0; i < 4; ++i) {
    grid->ZADGradHover()[i] = 0x30C030;
    grid->ZADGradDown()[i] = 0x3030C0;
  }
  grid->ZADGradHover()[4] = grid->ZADGradDown()[4] = 0;
  TRect h = grid->CellRect(2, 0);
  grid->HoverCell = TPoint{2, 0};
  grid->Repaint();
  EXPECT_EQ(Px(h.Right - 6, h.Top + 4), COLORREF(0x30C030));
  EXPECT_NE(Px(grid->CellRect(3, 0).Right - 6, h.Top + 4), COLORREF(0x30C030));
  grid->FixedCellPressed = true;
  grid->Repaint();
  EXPECT_EQ(Px(h.Right - 6, h.Top + 4), COLORREF(0x3030C0));
  // With the drop-down part, the press on the header's body leaves the button part hot.
  grid->ControlLook()->FixedDropDownButton = true;
  grid->Repaint();
  EXPECT_EQ(Px(h.Left + 4, h.Top + 4), COLORREF(0x3030C0));
  EXPECT_EQ(Px(h.Right - 3, h.Bottom - 3), COLORREF(0x30C030));
  grid->FixedDropDownPressed = true;
  grid->Repaint();
  EXPECT_EQ(Px(h.Left + 4, h.Top + 4), COLORREF(0x30C030));
  EXPECT_EQ(Px(h.Right - 3, h.Bottom - 3), COLORREF(0x3030C0));
}

TEST_F(PaintTest, SortHeaderColoursOnlyInTheLastFixedRow) {
  grid->SetLook(glXP);
  grid->SetFixedRowsEx(2);
  grid->SortSettings()->Column = 2;
  grid->SortSettings()->SetHeaderColor(0x2080F0);
  grid->SortSettings()->SetHeaderColorTo(0x2080F0);
  grid->Repaint();
  EXPECT_EQ(Px(grid->CellRect(2, 1).Right - 6, grid->CellRect(2, 1).Top + 5), COLORREF(0x2080F0));
  EXPECT_NE(Px(grid->CellRect(2, 0).Right - 6, grid->CellRect(2, 0).Top + 5), COLORREF(0x2080F0));
  EXPECT_NE(Px(grid->CellRect(3, 1).Right - 6, grid->CellRect(3, 1).Top + 5), COLORREF(0x2080F0));
}

// The focus rectangle: only the focused grid's current, non-fixed cell without row select.
TEST_F(PaintTest, FocusRectangleTable) {
  grid->SetSelection(TGridRect{2, 3, 2, 3});
  grid->Repaint();
  TRect r = grid->CellRect(2, 3);
  const COLORREF plain = Px(r.Left + 1, (r.Top + r.Bottom) / 2 + 1);
  struct {
    bool Focus, RowSelect, Hide, Drawn;
  } cases[] = {{true, false, false, true},
               {false, false, false, false},
               {true, true, false, false},
               {true, false, true, false}};
  for (const auto& c : cases) {
    grid->HideFocusRect = c.Hide;
    TGridOptions o = grid->Options();
    if (c.RowSelect) o += goRowSelect;
    else o -= goRowSelect;
    grid->SetOptions(o);
    if (c.Focus) grid->SetFocus();
    else form->SetFocusedControl(nullptr);
    grid->Repaint();
    bool differs = false;
    for (int y = r.Top + 1; y < r.Bottom - 1 && !differs; ++y) differs = Px(r.Left + 1, y) != plain;
    EXPECT_EQ(differs && grid->Focused() == c.Focus, c.Drawn)
        << c.Focus << c.RowSelect << c.Hide;
  }
}

// One grid with multi-line cells does not change how another cuts its text.
TEST_F(PaintTest, MultiLineSettingStaysWithItsGrid) {
  auto* other = new TDavEvadurAvuz(form);
  other->SetParent(form);
  other->SetBounds(430, 0, 160, 120);
  other->SetWordWrapEx(false);
  grid->SetWordWrapEx(false);
  grid->Multilinecells = true;
  for (TDavEvadurAvuz* g : {static_cast<TDavEvadurAvuz*>(grid), other}) {
    g->SetRowHeights(1, 44);
    g->SetCellEx(1, 1, "AAAA\r\nBBBB");
  }
  grid->Repaint();
  other->Repaint();
  TRect a = grid->CellRect(1, 1), b = other->CellRect(1, 1);
  const TRect secondLine{a.Left + 2, a.Top + 22, a.Right - 4, a.Bottom - 2};
  EXPECT_TRUE(Ink(secondLine));
  bool otherInk = false;
  for (int y = b.Top + 22; y < b.Bottom - 2 && !otherInk; ++y)
    for (int x = b.Left + 2; x < b.Right - 4 && !otherInk; ++x) {
      COLORREF c = WindowPixel(other->Handle(), x, y);
      otherInk = GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0x70;
    }
  EXPECT_FALSE(otherInk);
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(other->Handle(), (std::filesystem::path(dir) / "multiline_other.png").string());
  Save("multiline_grid");
}

TEST_F(PaintTest, PasswordCellsShowOneMaskPerCharacter) {
  grid->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& Pw) { Pw = ARow == 2 && ACol == 1; };
  grid->SetCellEx(1, 2, "жук");
  grid->SetCellEx(2, 2, "***");
  grid->Repaint();
  // The masked cell looks exactly like a cell holding three mask characters.
  TRect a = grid->CellRect(1, 2), b = grid->CellRect(2, 2);
  for (int y = a.Top + 2; y < a.Bottom - 2; ++y)
    for (int x = 2; x < 40; ++x) ASSERT_EQ(Px(a.Left + x, y), Px(b.Left + x, y)) << x << "," << y;
}

// A sheet of every layer in the looks that have one, for the eye.
TEST_F(PaintTest, LayersInEveryLook) {
  grid->SetBounds(0, 0, 420, 240);
  grid->SetFixedRowsEx(1);
  grid->HoverFixedCells = hfAll;
  grid->HoverCell = TPoint{3, 0};
  grid->SetActiveCellShow(true);
  grid->SortSettings()->Column = 2;
  grid->SortSettings()->Show = true;
  grid->SortSettings()->SetHeaderColor(0xF0D0A0);
  grid->SortSettings()->SetHeaderColorTo(0xE0B070);
  grid->ShowModified()->SetEnabled(true);
  grid->SetRowModified(2, true);
  TBitmap ind;
  ind.SetSize(8, 8);
  ind.Canvas()->Brush()->SetColor(clWhite);
  ind.Canvas()->FillRect(TRect{0, 0, 8, 8});
  ind.Canvas()->Brush()->SetColor(0x000000);
  ind.Canvas()->Polygon({TPoint{1, 1}, TPoint{6, 4}, TPoint{1, 7}});
  grid->SetRowIndicator(&ind);
  grid->ControlLook()->DropDownAlwaysVisible = true;
  grid->ControlLook()->SpinButtonsAlwaysVisible = true;
  grid->OnHasComboBox = [](TObject*, int ACol, int, bool& Has) { Has = ACol == 3; };
  grid->OnHasSpinEdit = [](TObject*, int ACol, int, bool& Has) { Has = ACol == 4; };
  grid->SetSelection(TGridRect{1, 3, 1, 3});
  grid->SetFocus();
  for (TGridLook look : {glXP, glVista, glClassic, glSoft, glListView}) {
    grid->SetLook(look);
    grid->Repaint();
    SCOPED_TRACE(TDavEvadurAvuz::GetLookAsString(look));
    // The hovered header is drawn in the hover set, not the normal gradient.
    TRect h = grid->CellRect(3, 0), n = grid->CellRect(4, 0);
    if (look == glXP || look == glVista) EXPECT_NE(Px(h.Right - 6, h.Top + 4), Px(n.Right - 20, n.Top + 4));
    Save("layers_" + TDavEvadurAvuz::GetLookAsString(look));
  }
}

}  // namespace

namespace {

// With a hidden column before it, a cell's kind is read at its own (real) column: a check
// box still gives way to the fixed colour, a plain cell still owns its colour.
TEST_F(PaintTest, CellKindIsReadAtTheRealColumn) {
  grid->SetLook(glStandard);
  grid->AddCheckBox(3, 0, true, false);
  grid->GetCellProperties(3, 0)->BrushColor = 0x123456;
  grid->GetCellProperties(4, 0)->BrushColor = 0x123456;
  grid->SetVisibleCol(2, false);
  grid->SetHiddenColCount(1);
  ASSERT_EQ(grid->RemapCol(2), 3);
  EXPECT_EQ(Resolve(2, 0, false, false).Brush, grid->FixedColor());
  EXPECT_EQ(Resolve(3, 0, false, false).Brush, TColor(0x123456));
}

// A link is underlined in the link colour, or in the selection text colour when selected.
TEST_F(PaintTest, LinksTakeTheLinkOrSelectionTextColour) {
  grid->SetURLShow(true);
  grid->SetURLColor(0xFF0000);
  grid->SetSelectionTextColor(0x0000FF);
  grid->SetCellEx(1, 2, "http://lorm.example");
  grid->SetCellEx(2, 2, "mailto:a@b.c");
  grid->SetCellEx(1, 4, "http://lorm.example");
  grid->SetSelection(TGridRect{1, 4, 1, 4});
  grid->Repaint();
  auto inkOf = [&](int ACol, int ARow, COLORREF colour) {
    TRect r = grid->CellRect(ACol, ARow);
    int n = 0;
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
      for (int x = r.Left + 1; x < r.Right - 1; ++x) n += Px(x, y) == colour;
    return n;
  };
  EXPECT_GT(inkOf(1, 2, 0xFF0000), 10);
  EXPECT_GT(inkOf(2, 2, 0xFF0000), 10);
  EXPECT_GT(inkOf(1, 4, 0x0000FF), 10);
  EXPECT_EQ(inkOf(1, 4, 0xFF0000), 0);
  Save("links");
}

}  // namespace

namespace {

// The look edges of fixed cells: light top-left edges in the classic, XP and soft looks,
// the classic black outer line, the dark bottom line; Flat draws none of them.
TEST_F(PaintTest, LookEdgesOfFixedCellsTable) {
  struct {
    TGridLook Look;
    bool Flat;
    bool LightLeft, BlackRight, DarkBottom;
  } cases[] = {
      {glClassic, false, true, true, false}, {glXP, false, true, false, true}, {glSoft, false, true, false, true},
      {glClassic, true, false, false, false}, {glXP, true, false, false, false}, {glSoft, true, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(TDavEvadurAvuz::GetLookAsString(c.Look) + (c.Flat ? " flat" : ""));
    grid->SetLook(c.Look);
    grid->SetFixedColor(0xC0C0C0);
    grid->SetZADGradFrom(0xC0C0C0);
    grid->SetZADGradTo(0xC0C0C0);
    grid->SetZADGradMirrorFrom(clNone);
    grid->Flat = c.Flat;
    grid->SetCellEx(2, 0, "");
    grid->Repaint();
    TRect r = grid->CellRect(2, 0);
    const int mid = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Px(r.Left + 1, mid) == COLORREF(0xFFFFFF), c.LightLeft);
    EXPECT_EQ(Px(r.Right - 2, mid) == COLORREF(0), c.BlackRight);
    EXPECT_EQ(Px(r.Left + 10, r.Bottom - 2) == COLORREF(0x606060), c.DarkBottom);
  }
}

}  // namespace

// The filter button's question, asked per painted header cell, answers what the full filter
// list would, also without building it.
TEST_F(GridTest, FilterButtonAnswersAsTheFilterListWould) {
  grid->SetColCount(3);
  grid->SetFixedCols(1);
  grid->FilterDropDownAuto = true;
  struct Case {
    int Rows;
    std::string Clear;
    int Col;
  };
  const Case cases[] = {{1, "", 1}, {1, "(All)", 1}, {4, "", 1}, {4, "", 0}, {4, "(All)", 2}, {1, "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Rows << " rows, clear '" << c.Clear << "', column " << c.Col);
    grid->SetRowCount(c.Rows);
    grid->FilterDropDownClear = c.Clear;
    const bool quick = grid->FilterButtonShown(c.Col);
    EXPECT_EQ(quick, grid->GetFilter(c.Col));
  }
  // A handler always sees the built list and decides.
  grid->SetRowCount(4);
  grid->FilterDropDownClear = "";
  grid->OnGetColumnFilter = [](TObject*, int, TStrings* List) { List->Clear(); };
  EXPECT_FALSE(grid->FilterButtonShown(1));
}

namespace {

// The filter row draws the built-in funnel glyph at the right of a filtered column's cell, its
// transparent pixels in the fixed colour; a column without a filter has none.
TEST_F(PaintTest, FilterRowDrawsTheFunnelGlyph) {
  grid->SetFixedCols(1);
  grid->FilterDropDownAuto = true;
  grid->FilterDropDownRow = 0;
  grid->FilterDropDownClear = "";
  grid->OnGetColumnFilter = [](TObject*, int ACol, TStrings* List) {
    if (ACol == 3) List->Clear();
  };
  grid->SetFixedColor(0x80FFFF);
  grid->Repaint();
  Save("filter_row");
  const TRect r = grid->CellRect(2, 0);
  const int x = r.Right - 16, y = r.Top + grid->GridLineWidth();
  EXPECT_EQ(Px(x + 7, y + 11), COLORREF(RGB(48, 48, 48)));  // the stem
  EXPECT_EQ(Px(x + 3, y + 4), COLORREF(RGB(48, 48, 48)));   // the bowl's rim
  EXPECT_EQ(Px(x + 7, y + 6), COLORREF(RGB(96, 96, 96)));   // inside the bowl
  EXPECT_EQ(Px(x + 1, y + 1), COLORREF(0x80FFFF));          // around it
  const TRect none = grid->CellRect(3, 0);
  EXPECT_FALSE(Ink(TRect{none.Right - 16, none.Top + 2, none.Right - 2, none.Bottom - 2}));
}

}  // namespace
