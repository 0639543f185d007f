// Custom cell editors through an edit link (in place and in a pop-up form), the
// transient cell edit, the mark-up control editors, and rich-text cells: the grid's rich
// edit, its sub- and superscript, row growth while typing, measuring and painting.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "GridTestSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEdit.h"

namespace {

// A link editing cells in a plain edit; its key-down event goes to EditKeyDown.
class TTestLink : public TEditLink {
public:
  explicit TTestLink(TComponent* AOwner) : TEditLink(AOwner) {}
  TWinControl* GetEditControl() override { return FEdit; }
  void CreateEditor(TWinControl* AParent) override {
    if (!FEdit) {
      FEdit = new TEdit(this);
      FEdit->OnKeyDown = [this](TObject* S, WORD& K, TShiftState Sh) { EditKeyDown(S, K, Sh); };
    }
    FEdit->SetParent(AParent);
    ++Created;
  }
  void DestroyEditor() override {
    delete FEdit;
    FEdit = nullptr;
  }
  std::string GetEditorValue() override { return FEdit ? FEdit->Text() : std::string(); }
  void SetEditorValue(const std::string& S) override {
    if (FEdit) FEdit->SetText(S);
  }
  TEdit* Edit() const { return FEdit; }
  int Created = 0;

private:
  TEdit* FEdit = nullptr;
};

class LinkTest : public GridTest {
protected:
  LinkTest() {
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetOptions(grid->Options() + goEditing);
    FillCoordinates();
    link = new TTestLink(form);
    grid->SetEditLink(link);
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edCustom; };
    grid->SetFocus();
    grid->SetRow(1);
    grid->SetCol(1);
  }
  void Start() {
    robot.PressKey(VK_F2);
    ASSERT_TRUE(link->Edit() && link->Edit()->Focused());
  }
  TTestLink* link = nullptr;
  TRobot robot;
};

}  // namespace

TEST_F(LinkTest, EditStartsInTheCellAndStoresTheValue) {
  Start();
  EXPECT_TRUE(grid->EditActive());
  EXPECT_EQ(link->Edit()->Text(), "1:1");
  const TRect cell = grid->CellRect(1, 1);
  EXPECT_EQ(link->Edit()->Left(), cell.Left);
  EXPECT_EQ(link->Edit()->Top(), cell.Top);
  link->Edit()->SetText("new");
  robot.PressKey(VK_TAB);
  EXPECT_FALSE(grid->EditActive());
  EXPECT_EQ(grid->Cells(1, 1), "new");
  EXPECT_EQ(grid->Col(), 2);
}

TEST_F(LinkTest, LeavingKeysAndWantedKeys) {
  struct {
    WORD Key;
    bool WantUpDown, WantHomeEnd;
    bool Ends;
    int Row;
  } cases[] = {
      {VK_DOWN, false, false, true, 2},
      {VK_DOWN, true, false, false, 1},
      {VK_HOME, false, false, false, 1},
      {VK_END, false, false, true, 1},
      {VK_END, false, true, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Key);
    grid->SetRow(1);
    grid->SetCol(1);
    link->WantKeyUpDown = c.WantUpDown;
    link->WantKeyHomeEnd = c.WantHomeEnd;
    Start();
    link->Edit()->SetText("v");
    robot.PressKey(c.Key);
    EXPECT_EQ(grid->EditActive(), !c.Ends);
    EXPECT_EQ(grid->Row(), c.Row);
    if (c.Ends) EXPECT_EQ(grid->Cells(1, 1), "v");
    grid->HideInplaceEdit();
    grid->SetCells(1, 1, "1:1");
  }
}

TEST_F(LinkTest, EscapePutsTheStartTextBack) {
  Start();
  link->Edit()->SetText("changed");
  robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(grid->EditActive());
  EXPECT_EQ(grid->Cells(1, 1), "1:1");
  EXPECT_EQ(link->Edit()->Text(), "1:1");
}

TEST_F(LinkTest, EnterAdvancesWhenTheGridSaysSo) {
  grid->Navigation()->AdvanceOnEnter = true;
  Start();
  link->Edit()->SetText("x");
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Cells(1, 1), "x");
  // The next cell in the grid's advance direction (left to right by default).
  EXPECT_EQ(grid->Col(), 2);
  grid->HideInplaceEdit();
  grid->Navigation()->AdvanceOnEnter = false;
  grid->SetRow(1);
  grid->SetCol(1);
  Start();
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_FALSE(grid->EditActive());
}

TEST_F(LinkTest, PopupFormAtTheCellCornerOwnedByTheLink) {
  link->EditStyle = esPopup;
  link->PopupWidth = 120;
  link->PopupHeight = 60;
  link->PopupLeft = 100;
  link->PopupTop = -1;
  // A form of the application that happens to be named "gridform" is left alone.
  TForm* stranger = nullptr;
  Application->CreateForm(stranger);
  stranger->SetName("gridform");
  Start();
  TForm* popup = link->PopupForm();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Owner(), link);
  const TRect cell = grid->CellRect(1, 1);
  const TPoint corner = grid->ClientToScreen(TPoint{cell.Left, cell.Top});
  EXPECT_EQ(popup->Left(), corner.X);
  EXPECT_EQ(popup->Top(), corner.Y);
  EXPECT_EQ(popup->Width(), 120);
  EXPECT_EQ(link->Edit()->Parent(), popup);
  robot.PressKey(VK_TAB);
  EXPECT_FALSE(popup->Visible());
  EXPECT_EQ(Application->FindComponent("gridform"), stranger);
  // Both places given: the form opens there.
  link->PopupTop = 80;
  grid->SetCol(1);
  Start();
  EXPECT_EQ(link->PopupForm(), popup);
  EXPECT_EQ(popup->Left(), 100);
  EXPECT_EQ(popup->Top(), 80);
}

TEST_F(LinkTest, BaseLinkStoresAnEmptyText) {
  TEditLink bare(nullptr);
  EXPECT_EQ(bare.PopupLeft, -1);
  EXPECT_EQ(bare.PopupTop, -1);
  EXPECT_EQ(bare.EditStyle, esInplace);
  EXPECT_EQ(bare.GetEditorValue(), "");
}

// ---------------------------------------------------------------------------------------
TEST_F(GridTest, TransientEditStoresOrKeepsTheCell) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  auto* t = new TGridTransEdit(grid);
  t->SetParent(grid);
  t->Col = 1;
  t->Row = 2;
  t->SetText("typed");
  EXPECT_TRUE(t->StopEdit());
  EXPECT_EQ(grid->GetCellEx(1, 2), "typed");
  EXPECT_FALSE(t->Visible());
  // A handler that changes and accepts: the changed text goes in.
  grid->OnCellValidate = [](TObject*, int, int, std::string& V, bool&) { V = "changed"; };
  t->SetText("x");
  EXPECT_TRUE(t->StopEdit());
  EXPECT_EQ(grid->GetCellEx(1, 2), "changed");
  // A rejecting one: the cell stays, the edit keeps its own text and the focus.
  grid->OnCellValidate = [](TObject*, int, int, std::string& V, bool& Valid) {
    V = "ignored";
    Valid = false;
  };
  t->SetVisible(true);
  t->SetText("bad");
  EXPECT_FALSE(t->StopEdit());
  EXPECT_EQ(grid->GetCellEx(1, 2), "changed");
  EXPECT_EQ(t->Text(), "bad");
  EXPECT_TRUE(t->Focused());
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);
  // Enter alone does not end it.
  TRobot robot;
  grid->OnCellValidate = nullptr;
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->GetCellEx(1, 2), "changed");
}

TEST_F(GridTest, ControlEditHandsEnterAndTabBack) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetFocus();
  auto* e = new TControlEdit(grid);
  e->SetParent(grid);
  int exits = 0;
  e->OnExit = [&](TObject*) { ++exits; };
  std::vector<char32_t> reached;
  e->OnKeyPress = [&](TObject*, char32_t& k) { reached.push_back(k); };
  e->SetFocus();
  TRobot robot;
  robot.Type("a");
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(reached, std::vector<char32_t>{U'a'});
  EXPECT_GE(exits, 1);
  EXPECT_TRUE(grid->Focused());
  // Tab with AdvanceAuto off leaves the control to the grid (no further form control).
  e->SetFocus();
  robot.PressKey(VK_TAB);
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(e->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, LRESULT(DLGC_WANTTAB));
}

// ---------------------------------------------------------------------------------------
namespace {
const char* const kH2O =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 H{\\dn4 2}O}";
const char* const kM2 = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0\\fs20 m{\\up4 2}}";
}  // namespace

TEST_F(GridTest, RichEditSubAndSuperscriptOfTheSelection) {
  TDizRichEdit* re = grid->RichEdit(1);
  re->Lines()->SetText("H2O");
  re->SetSelStart(1);
  re->SetSelLength(1);
  struct {
    void (TDizRichEdit::*Set)();
    bool Normal, Sub, Super;
  } cases[] = {
      {&TDizRichEdit::SelSubscript, false, true, false},
      {&TDizRichEdit::SelSuperscript, false, false, true},
      {&TDizRichEdit::SelNormal, true, false, false},
  };
  for (const auto& c : cases) {
    (re->*c.Set)();
    EXPECT_EQ(re->IsSelNormal(), c.Normal);
    EXPECT_EQ(re->IsSelSubscript(), c.Sub);
    EXPECT_EQ(re->IsSelSuperscript(), c.Super);
  }
  EXPECT_THROW(TDizRichEdit bad(form), EInvalidCast);
}

TEST_F(GridTest, RichCellsConvertMeasureAndPaint) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetColWidths(1, 120);
  grid->SetCellEx(1, 1, kH2O);
  grid->SetCellEx(2, 1, kM2);
  TDizRichEdit* r = grid->RichEdit(0);
  grid->CellToRich(1, 1, r);
  EXPECT_EQ(r->Document().Text(), u"H2O");
  EXPECT_EQ(r->Document().FormatAt(1).Offset, -40);
  grid->RichToCell(2, 2, r);
  EXPECT_EQ(RtfToPlainText(grid->GetCellEx(2, 2)), "H2O");
  grid->SetCellEx(0, 2, "");
  grid->CellToRich(0, 2, r);
  EXPECT_EQ(r->Document().Length(), 0);
  EXPECT_EQ(grid->RichToString(r).rfind("{\\rtf1", 0), 0u);

  const TPoint size = grid->GetCellTextSize(1, 1, false, false);
  EXPECT_GT(r->ReqWidth(), 0);
  EXPECT_EQ(size.X, grid->XOffsetSize() + r->ReqWidth());
  EXPECT_EQ(size.Y, grid->YOffsetSize() + r->ReqHeight());

  grid->Repaint();
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / "rich_cells.png").string());
  // The lowered 2 of H₂O reaches below the baseline of H: ink lower in its column.
  const TRect cell = grid->CellRect(1, 1);
  auto lowestInk = [&](int x0, int x1) {
    int lowest = -1;
    for (int y = cell.Top; y < cell.Bottom - 1; ++y)
      for (int x = x0; x < x1; ++x)
        if ((WindowPixel(grid->Handle(), x, y) & 0xFFFFFF) < 0x404040) lowest = y;
    return lowest;
  };
  const int hBottom = lowestInk(cell.Left + 2, cell.Left + 10);
  const int twoBottom = lowestInk(cell.Left + 11, cell.Left + 17);
  EXPECT_GT(hBottom, 0);
  EXPECT_GT(twoBottom, hBottom);
}

TEST_F(GridTest, RichEditorGrowsTheRowWhileTyping) {
  grid->SetColCount(3);
  grid->SetRowCount(4);
  grid->SetOptions(grid->Options() + goEditing);
  grid->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edRichEdit; };
  grid->SetCellEx(1, 1, kH2O);
  grid->SizeWhileTyping()->Height = true;
  int sized = -1;
  grid->OnEndRowSize = [&](TObject*, int R) { sized = R; };
  grid->SetFocus();
  grid->SetRow(1);
  grid->SetCol(1);
  TRobot robot;
  robot.PressKey(VK_F2);
  TDizRichEdit* re = grid->RichEdit(1);
  ASSERT_TRUE(re->Visible());
  EXPECT_EQ(re->Document().Text(), u"H2O");
  const int before = grid->RowHeights(1);
  EXPECT_EQ(sized, -1);  // placing and filling the editor grows nothing
  robot.PressKey(VK_END);
  robot.PressKey(VK_RETURN);
  robot.Type("second");
  int h = 0;
  HDC dc = CreateCompatibleDC(nullptr);
  re->Render(dc, TRect{0, 0, re->ClientWidth(), 1 << 20}, 0, re->Document().Length(), false, &h);
  DeleteDC(dc);
  EXPECT_EQ(grid->RowHeights(1), h + 5);
  EXPECT_EQ(re->Height(), h + 4);
  EXPECT_GT(grid->RowHeights(1), before);
  EXPECT_EQ(sized, 1);
  // Locked, the editor grows nothing.
  re->Lock();
  robot.PressKey(VK_RETURN);
  robot.Type("third");
  EXPECT_EQ(grid->RowHeights(1), h + 5);
  re->Unlock();
  // Leaving stores the rich text.
  grid->HideInplaceEdit();
  EXPECT_EQ(RtfToPlainText(grid->GetCellEx(1, 1)), "H2O\nsecond\nthird");
}

TEST_F(GridTest, RichEditorHandsUpAndDownToTheGrid) {
  grid->SetWordWrapEx(false);
  grid->SetColCount(3);
  grid->SetRowCount(4);
  grid->SetOptions(grid->Options() + goEditing);
  grid->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edRichEdit; };
  grid->SetFocus();
  grid->SetRow(1);
  grid->SetCol(1);
  TRobot robot;
  robot.PressKey(VK_F2);
  ASSERT_TRUE(grid->RichEdit(1)->Focused());
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_FALSE(grid->EditActive());
}
