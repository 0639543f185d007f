// The main window's two grids read from a stored form with their property tables: every
// property lands, the handlers are bound, the grids behave as the window's refresh needs
// and they paint their header row and one empty row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace {

class TGridsForm : public TForm {
  LORM_PUBLISHED(TGridsForm, TForm)
public:
  using TForm::TForm;
  TDavEvadurAvuz* Grid = nullptr;
  TDavEvadurAvuz* Grid1 = nullptr;
  int Selected = 0;
  std::string Keys;
  void GridSelectCell(TObject*, int, int ARow, bool&) { Selected = ARow; }
  void Grid1KeyPress(TObject*, char32_t& Key) { Keys += static_cast<char>(Key); }
};

}  // namespace

void TGridsForm::Publish(TClassBuilder<TGridsForm>& P) {
  P.Field("Grid", &TGridsForm::Grid)
      .Field("Grid1", &TGridsForm::Grid1)
      .Uses({TPanel::StaticClass(), TShape::StaticClass(), TPopupMenu::StaticClass()})
      .Handler("GridSelectCell", &TGridsForm::GridSelectCell)
      .Handler("Grid1KeyPress", &TGridsForm::Grid1KeyPress);
}

namespace {

std::string ReadFixture() {
  std::ifstream in(std::string(LORM_TEST_DATA_DIR) + "/MainWindowGrids.txt", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class GridsFormTest : public ::testing::Test {
protected:
  GridsFormTest() {
    Application->Restart();
    form = new TGridsForm(Application);
    ReadComponentFromText(ReadFixture(), form);
  }
  ~GridsFormTest() override { Application->Restart(); }
  THeadlessScope scope;
  TGridsForm* form = nullptr;
};

TEST_F(GridsFormTest, BothGridsTakeTheirPropertyTables) {
  ASSERT_NE(form->Grid, nullptr);
  ASSERT_NE(form->Grid1, nullptr);
  for (TDavEvadurAvuz* g : {form->Grid, form->Grid1}) {
    SCOPED_TRACE(g->Name());
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->GetFixedRowsEx(), 1);
    EXPECT_EQ(g->GetFixedColsEx(), 2);
    EXPECT_TRUE(g->FixedRowAlways);
    EXPECT_EQ(g->DefaultRowHeight(), 20);
    EXPECT_EQ(g->FixedRowHeight(), 50);
    EXPECT_EQ(g->RowHeights(0), 55);
    EXPECT_EQ(g->RowHeights(1), 20);
    EXPECT_EQ(g->ColWidths(0), 141);
    EXPECT_EQ(g->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing}));
    EXPECT_EQ(g->ScrollBars(), ssVertical);
    EXPECT_EQ(g->ScrollBarAlways, saVert);
    EXPECT_EQ(g->Look(), glOffice2007);
    EXPECT_EQ(g->Font()->GetName(), "Tahoma");
    EXPECT_EQ(g->ActiveCellFont()->GetName(), "Tahoma");
    EXPECT_TRUE(g->ActiveCellFont()->GetStyle().Contains(fsBold));
    EXPECT_EQ(g->FixedFont()->GetName(), "ArnoldBoeD");
    EXPECT_EQ(g->FixedFont()->GetColor(), clNavy);
    EXPECT_EQ(g->GridLineColor(), TColor(15855083));
    EXPECT_EQ(g->GridFixedLineColor(), TColor(13745060));
    EXPECT_EQ(g->ActiveCellColor(), TColor(10344697));
    EXPECT_EQ(g->ActiveCellColorTo(), TColor(6210033));
    EXPECT_EQ(g->SelectionColor(), TColor(6210033));
    EXPECT_FALSE(g->ShowSelection());
    EXPECT_TRUE(g->Navigation()->AllowInsertRow);
    EXPECT_TRUE(g->Navigation()->AdvanceOnEnter);
    EXPECT_TRUE(g->Navigation()->AdvanceInsert());
    EXPECT_TRUE(g->Navigation()->AutoGotoWhenSorted);
    EXPECT_TRUE(g->Navigation()->AutoGotoIncremental);
    EXPECT_TRUE(g->Navigation()->AdvanceAuto);
    EXPECT_FALSE(g->Navigation()->AllowClipboardRowGrow);
    EXPECT_FALSE(g->Navigation()->AllowClipboardColGrow);
    EXPECT_EQ(g->FloatFormat, "%.2f");
    EXPECT_EQ(g->FilterDropDownClear, "(All)");
    EXPECT_EQ(g->SortSettings()->Column, 1);
    EXPECT_TRUE(g->SortSettings()->IgnoreBlanks);
    EXPECT_EQ(g->SortSettings()->BlankPos, blLast);
    EXPECT_EQ(g->PopupMenu(), form->FindComponent("RerAvideReva1"));
    EXPECT_TRUE(g->GridLoaded());
    EXPECT_TRUE(static_cast<bool>(g->OnSelectCell));
  }
  EXPECT_EQ(form->Grid1->ColCount(), 3);
  EXPECT_EQ(form->Grid->ColCount(), 6);
  EXPECT_EQ(form->Grid1->ColWidths(2), 53);
  EXPECT_EQ(form->Grid->ColWidths(5), 85);
  EXPECT_TRUE(form->Grid->ActiveRowShow());
  EXPECT_EQ(form->Grid->ActiveRowColor(), clGradientActiveCaption);
  EXPECT_FALSE(form->Grid1->ActiveRowShow());
  EXPECT_TRUE(static_cast<bool>(form->Grid1->OnKeyPress));
  EXPECT_FALSE(static_cast<bool>(form->Grid->OnKeyPress));
  // The headers are shown in row 0 once the form has loaded; the seventh is ignored.
  EXPECT_EQ(form->Grid->ColumnHeaders()->Count(), 7);
  EXPECT_EQ(form->Grid1->GetStrippedCell(2, 0), "\r\nПроцент");
  EXPECT_NE(form->Grid->GetCellEx(3, 0).find("Теплоемкость"), std::string::npos);
  EXPECT_EQ(form->Grid->FindComponent("Shape1"), nullptr);
  auto* shape = dynamic_cast<TShape*>(form->FindComponent("Shape2"));
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->Parent(), form->Grid);
}

TEST_F(GridsFormTest, WrittenFormReadsBackTheSameGrids) {
  std::string written = WriteComponentToText(form);
  EXPECT_EQ(written.find("Version"), std::string::npos);
  auto copy = std::make_unique<TGridsForm>(nullptr);
  ReadComponentFromText(written, copy.get());
  ASSERT_NE(copy->Grid, nullptr);
  EXPECT_EQ(copy->Grid->ColCount(), 6);
  EXPECT_EQ(copy->Grid->ColWidths(4), 114);
  EXPECT_EQ(copy->Grid->RowHeights(0), 55);
  EXPECT_EQ(copy->Grid->SortSettings()->BlankPos, blLast);
  EXPECT_EQ(copy->Grid->ColumnHeaders()->Text(), form->Grid->ColumnHeaders()->Text());
  EXPECT_EQ(copy->Grid1->FixedFont()->GetName(), "ArnoldBoeD");
  EXPECT_TRUE(copy->Grid1->Navigation()->AdvanceInsert());
}

TEST_F(GridsFormTest, RefreshOfTheWindowRaisesNoSelectionAndSetRowExDoes) {
  form->Show();
  TDavEvadurAvuz* g = form->Grid;
  form->Selected = -1;
  g->SetRowCountEx(1);
  for (int i = 1; i <= 3; ++i) {
    g->SetRowCountEx(g->GetRowCountEx() + 1);
    g->SetCellEx(0, i, "Газ " + std::to_string(i));
    g->SetCellEx(2, i, "1.24");
  }
  EXPECT_EQ(form->Selected, -1);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->GetCellEx(0, 2), "Газ 2");
  g->SetRowEx(3);
  EXPECT_EQ(form->Selected, 3);
  // The headers stay in row 0 through the refresh.
  EXPECT_NE(g->GetCellEx(1, 0).find("Химическая"), std::string::npos);
}

TEST_F(GridsFormTest, GridsPaintTheirHeaderRowAndOneEmptyRow) {
  form->SetBounds(0, 0, 640, 700);
  form->Show();
  for (TDavEvadurAvuz* g : {form->Grid1, form->Grid}) {
    SCOPED_TRACE(g->Name());
    // The header row is painted in the look's fixed gradient (lighter at the top), the
    // empty row in the window colour.
    TRect header = g->CellRect(2, 0);
    TRect empty = g->CellRect(2, 1);
    COLORREF top = WindowPixel(g->Handle(), header.Left + 3, header.Top + 1);
    COLORREF bottom = WindowPixel(g->Handle(), header.Left + 3, header.Bottom - 3);
    EXPECT_GT(GetRValue(top) + GetGValue(top) + GetBValue(top), GetRValue(bottom) + GetGValue(bottom) + GetBValue(bottom));
    TColor row = g->ActiveRowShow() ? g->ActiveRowColor() : g->Color();
    EXPECT_EQ(WindowPixel(g->Handle(), empty.Left + 5, empty.Top + 5), ColorToRGB(row));
    // The fixed cells of the empty row are filled whole, with the same gradient.
    TRect fixedCell = g->CellRect(1, 1);
    EXPECT_NE(WindowPixel(g->Handle(), fixedCell.Left + 10, fixedCell.Top + 10), ColorToRGB(g->Color()));
    // Some header text is drawn in the fixed font's navy.
    bool ink = false;
    for (int y = header.Top + 1; y < header.Bottom - 2 && !ink; ++y)
      for (int x = header.Left + 1; x < header.Right - 2 && !ink; ++x) {
        COLORREF c = WindowPixel(g->Handle(), x, y);
        ink = GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) >= GetRValue(c);
      }
    EXPECT_TRUE(ink);
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
      SaveWindowPng(g->Handle(), (std::filesystem::path(dir) / ("main_window_" + g->Name() + ".png")).string());
  }
}

}  // namespace

namespace {

// The two grids filled with five gases, in the XP look and after the tool bar styler
// switches them to Office 2007; the pictures go to LORM_GRID_PNG_DIR when it is set.
TEST_F(GridsFormTest, FiveGasesInTheXPLookAndAfterTheOfficeStyle) {
  form->SetBounds(0, 0, 900, 700);
  form->Show();
  const char* gases[5][6] = {{"Метан", "CH4", "0.7168", "2.22", "30.2", "10.3"},
                             {"Этан", "C2H6", "1.3562", "1.73", "18.6", "8.6"},
                             {"Пропан", "C3H8", "2.0037", "1.62", "15.1", "7.5"},
                             {"Азот", "N2", "1.2505", "1.04", "24.3", "16.6"},
                             {"Диоксид углерода", "CO2", "1.9768", "0.84", "14.6", "13.8"}};
  for (TDavEvadurAvuz* g : {form->Grid1, form->Grid}) {
    g->SetRowCountEx(6);
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < g->ColCount() && c < 6; ++c) g->SetCellEx(c, r + 1, gases[r][c]);
  }
  const char* dir = std::getenv("LORM_GRID_PNG_DIR");
  for (bool office : {false, true}) {
    for (TDavEvadurAvuz* g : {form->Grid1, form->Grid}) {
      if (office) g->SetComponentStyle(tsOffice2007Luna);
      else g->SetLook(glXP);
      g->Repaint();
      SCOPED_TRACE(g->Name());
      EXPECT_EQ(g->Look(), office ? glOffice2007 : glXP);
      // The header is painted in the look's gradient, not in the window colour.
      TRect h = g->CellRect(2, 0);
      EXPECT_NE(WindowPixel(g->Handle(), h.Right - 4, h.Top + 2), ColorToRGB(g->Color()));
      if (dir)
        SaveWindowPng(g->Handle(), (std::filesystem::path(dir) / ("gases_" + g->Name() + (office ? "_office2007" : "_xp") +
                                                                  ".png")).string());
    }
  }
  EXPECT_EQ(form->Grid->GridLineColor(), 0xF1EDEB);
  EXPECT_EQ(form->Grid->ZADGradFrom(), 0xFBF9F6);
}

}  // namespace

namespace {

// A stored grid whose row or column count no desktop can hold is refused through the
// grid's own count setters, and the grid keeps its size and cells.
TEST(GridsFormLimits, AStoredCountTooLargeToHoldIsRefused) {
  THeadlessScope scope;
  Application->Restart();
  RegisterClass(TDavEvadurAvuz::StaticClass());
  for (const char* prop : {"RowCount", "ColCount"}) {
    auto owner = std::make_unique<TForm>(nullptr);
    auto* grid = new TDavEvadurAvuz(owner.get());
    grid->SetParent(owner.get());
    grid->SetCells(1, 1, "kept");
    const int rows = grid->RowCount(), cols = grid->ColCount();
    const std::string text = std::string("object Grid9: TDavEvadurAvuz\n  ") + prop + " = 2147483647\nend\n";
    try {
      ReadComponentFromText(text, grid);
      ADD_FAILURE() << prop << " read";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find("Grid too large for operation"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(grid->RowCount(), rows);
    EXPECT_EQ(grid->ColCount(), cols);
    EXPECT_EQ(grid->Cells(1, 1), "kept");
    EXPECT_THROW(grid->SetRowCountEx(2147483647), EInvalidGridOperation);
    EXPECT_EQ(grid->RowCount(), rows);
  }
  Application->Restart();
}

}  // namespace
