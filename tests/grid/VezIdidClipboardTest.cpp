// Clipboard copy, cut and paste of the string grid: the text layout, growth, events,
// undo, smart fill, grid cells between grids, the rich text format and scaling.
#include <cstring>

#include "GridTestSupport.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinUser.h"

namespace {
class TNotifyGrid : public TDavEvadurAvuz {
public:
  using TDavEvadurAvuz::TDavEvadurAvuz;
  void PasteNotify(TPoint Source, const TRect& Target, TClipOperation Operation) override {
    LastSource = Source;
    LastTarget = Target;
    TDavEvadurAvuz::PasteNotify(Source, Target, Operation);
  }
  TPoint LastSource{-9, -9};
  TRect LastTarget{};
};

class ClipboardTest : public GridTest {
protected:
  ClipboardTest() {
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetColCount(2);
    grid->SetRowCount(2);
  }
  TGridRect Sel(int l, int t, int r, int b) { return TGridRect{l, t, r, b}; }
  void Put(const std::string& text) { SetClipboardTextUtf8(text); }
};

TEST_F(ClipboardTest, CopyTextLayout) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetCellEx(1, 1, "a");
  grid->SetCellEx(2, 1, "b");
  grid->SetCellEx(1, 2, "c");
  grid->SetCellEx(2, 2, "d");
  grid->SetSelection(Sel(1, 1, 2, 2));
  grid->CopySelectionToClipboard();
  EXPECT_EQ(GetClipboardTextUtf8(), "a\tb\r\nc\td\r\n");
  EXPECT_EQ(grid->ClipboardOrigin.X, 1);
  EXPECT_EQ(grid->LastClipOperation, coCopy);
  grid->SetSelection(Sel(1, 1, 2, 1));
  grid->CopySelectionToClipboard();
  EXPECT_EQ(GetClipboardTextUtf8(), "a\tb");
  grid->SetCellEx(1, 1, "x\r\ny");
  grid->SetSelection(Sel(1, 1, 1, 1));
  grid->CopySelectionToClipboard();
  EXPECT_EQ(GetClipboardTextUtf8(), "\"x\n\ny\"");
}

TEST_F(ClipboardTest, PasteTextGrowsAndCounts) {
  int rows = 0, cols = 0;
  EXPECT_EQ(grid->PasteText(1, 1, "a\tb\r\nc\td\r\n", rows, cols), 5);
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->GetCellEx(2, 1), "b");
  EXPECT_EQ(grid->GetCellEx(2, 2), "d");
  // Without column growth the fields past the last column are dropped.
  grid->SetColCount(2);
  grid->SetRowCount(2);
  grid->Navigation()->AllowClipboardColGrow = false;
  grid->PasteText(1, 1, "p\tq", rows, cols);
  EXPECT_EQ(grid->ColCount(), 2);
  EXPECT_EQ(grid->GetCellEx(1, 1), "p");
}

TEST_F(ClipboardTest, PasteSizeTable) {
  struct {
    const char* text;
    int x, y;
  } cases[] = {{"a\tb\r\nc", 2, 1}, {"", 1, -1}, {"a\tb\tc\r\nd\r\n", 3, 1}};
  for (auto& c : cases) {
    TPoint p;
    TDavEvadurAvuz::PasteSize(c.text, p);
    EXPECT_EQ(p.X, c.x) << c.text;
    EXPECT_EQ(p.Y, c.y) << c.text;
  }
}

TEST_F(ClipboardTest, EventsRefuseAndChangeCells) {
  grid->SetColCount(4);
  grid->SetCellEx(2, 1, "keep");
  grid->OnClipboardBeforePasteCell = [](TObject*, int c, int, std::string& v, bool& allow) {
    if (c == 2) allow = false;
    v += "!";
  };
  std::vector<std::string> after;
  grid->OnClipboardAfterPasteCell = [&](TObject*, int, int, const std::string& v) { after.push_back(v); };
  int rows, cols;
  grid->PasteText(1, 1, "a\tb\tc", rows, cols);
  EXPECT_EQ(grid->GetCellEx(1, 1), "a!");
  EXPECT_EQ(grid->GetCellEx(2, 1), "keep");
  EXPECT_EQ(grid->GetCellEx(3, 1), "c!");
  EXPECT_EQ(after, (std::vector<std::string>{"a!", "c!"}));
}

TEST_F(ClipboardTest, InsertModeInsertsRows) {
  grid->SetRowCount(3);
  grid->SetCellEx(1, 1, "old");
  grid->Navigation()->ClipboardPasteAction = paInsert;
  int rows, cols;
  grid->PasteText(1, 1, "n1\r\nn2", rows, cols);
  EXPECT_EQ(grid->GetCellEx(1, 1), "n1");
  EXPECT_EQ(grid->GetCellEx(1, 2), "n2");
  EXPECT_EQ(grid->GetCellEx(1, 3), "old");
}

TEST_F(ClipboardTest, OneUndoRestoresCutAndPaste) {
  auto* undo = new TVezIdidUndoRedo(form);
  grid->SetUndoRedo(undo);
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetCellEx(1, 1, "a");
  grid->SetCellEx(2, 1, "b");
  grid->SetCellEx(1, 2, "ro");
  grid->GetCellProperties(1, 2)->ReadOnly = true;
  grid->SetSelection(Sel(1, 1, 2, 2));
  grid->CutSelectionToClipboard();
  EXPECT_EQ(grid->LastClipOperation, coCut);
  EXPECT_EQ(grid->GetCellEx(1, 1), "");
  EXPECT_EQ(grid->GetCellEx(1, 2), "ro");
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");
  EXPECT_EQ(grid->GetCellEx(2, 1), "b");
  Put("x\ty");
  grid->SetSelection(Sel(1, 1, 1, 1));
  grid->PasteSelectionFromClipboard();
  EXPECT_EQ(grid->GetCellEx(2, 1), "y");
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");
  EXPECT_EQ(grid->GetCellEx(2, 1), "b");
}

TEST_F(ClipboardTest, SmartFillSeriesAndRepeat) {
  grid->SetColCount(2);
  grid->SetRowCount(8);
  grid->Navigation()->AllowSmartClipboard = true;
  grid->SetCellEx(1, 1, "1");
  grid->SetCellEx(1, 2, "3");
  grid->SetSelection(Sel(1, 1, 1, 2));
  grid->CopySelectionToClipboard();
  grid->SetSelection(Sel(1, 1, 1, 6));
  grid->PasteSelectionFromClipboard();
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(grid->GetCellEx(1, r), std::to_string(2 * r - 1)) << r;
  grid->SetCellEx(1, 1, "v");
  grid->SetSelection(Sel(1, 1, 1, 1));
  grid->CopySelectionToClipboard();
  grid->SetSelection(Sel(1, 1, 1, 7));
  grid->PasteSelectionFromClipboard();
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(grid->GetCellEx(1, r), "v") << r;
}

TEST_F(ClipboardTest, GridCellsBetweenGridsWithOrigin) {
  auto* a = new TNotifyGrid(form);
  a->SetParent(form);
  auto* b = new TNotifyGrid(form);
  b->SetParent(form);
  for (TDavEvadurAvuz* g : {static_cast<TDavEvadurAvuz*>(a), static_cast<TDavEvadurAvuz*>(b)}) {
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->Navigation()->AllowFmtClipboard = true;
  }
  a->SetCellEx(2, 2, "red");
  a->GetCellProperties(2, 2)->BrushColor = clRed;
  a->AddCheckBox(3, 2, true, false);
  a->SetSelection(Sel(2, 2, 3, 2));
  a->CopySelectionToClipboard();
  EXPECT_EQ(GetClipboardTextUtf8().substr(0, 4), "red\t");
  b->SetSelection(Sel(1, 1, 1, 1));
  b->PasteSelectionFromClipboard();
  EXPECT_EQ(b->GetCellEx(1, 1), "red");
  EXPECT_EQ(b->GetCellProperties(1, 1)->BrushColor, clRed);
  bool state = false;
  EXPECT_TRUE(b->GetCheckBoxState(2, 1, state));
  EXPECT_TRUE(state);
  EXPECT_EQ(b->LastSource.X, -1);
  EXPECT_EQ(b->LastSource.Y, -1);
  a->SetSelection(Sel(1, 1, 1, 1));
  a->PasteSelectionFromClipboard();
  EXPECT_EQ(a->LastSource.X, 2);
  EXPECT_EQ(a->LastSource.Y, 2);
  EXPECT_EQ(a->LastTarget.Right, 2);
}

TEST_F(ClipboardTest, DamagedGridBlockPastesNothing) {
  grid->Navigation()->AllowFmtClipboard = true;
  grid->SetCellEx(1, 1, "keep");
  for (std::string bytes : {std::string("TPF0\x0BTGridPropIO\x00", 17), std::string("junk"), std::string()}) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    SetClipboardData(TDavEvadurAvuz::GridCellsFormat(), h);
    CloseClipboard();
    int rows, cols;
    EXPECT_EQ(grid->PasteFunc(1, 1, rows, cols), 0);
    EXPECT_EQ(grid->GetCellEx(1, 1), "keep");
  }
}

TEST_F(ClipboardTest, RichTextFormatHoldsFirstCell) {
  grid->Navigation()->AllowRTFClipboard = true;
  grid->SetCellEx(1, 1, "{\\rtf1 hello}");
  grid->SetSelection(Sel(1, 1, 1, 1));
  grid->CopySelectionToClipboard();
  const UINT rtf = RegisterClipboardFormat("Rich Text Format");
  EXPECT_TRUE(IsClipboardFormatAvailable(rtf));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  grid->SetCellEx(1, 1, "");
  int rows, cols;
  grid->PasteFunc(1, 1, rows, cols);
  EXPECT_EQ(grid->GetCellEx(1, 1), "{\\rtf1 hello}");
}

TEST_F(ClipboardTest, ScalingFontsAndSharedFormat) {
  grid->FixedFont()->SetSize(10);
  grid->ActiveCellFont()->SetSize(10);
  grid->ChangeScale(96, 96);
  EXPECT_EQ(grid->FixedFont()->GetSize(), 10);
  grid->ChangeScale(120, 96);
  EXPECT_EQ(grid->FixedFont()->GetSize(), 13);
  EXPECT_EQ(grid->ActiveCellFont()->GetSize(), 13);
  EXPECT_EQ(TDavEvadurAvuz::GridCellsFormat(), RegisterClipboardFormat("TDavEvadurAvuz Cells"));
  EXPECT_TRUE(TDavEvadurAvuz::HasComCtl470());
}
}  // namespace
