// Cell content: undo and redo, the adornment families, calculations and fitting, the
// floating footer, look and print settings files and the mark-up hint window.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {
class CellContentTest : public GridTest {
protected:
  CellContentTest() {
    grid->SetColCount(4);
    grid->SetRowCount(6);
  }
  std::string TempFile(const std::string& Name) {
    auto dir = std::filesystem::temp_directory_path() / ("lorm-cell-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / Name).string();
  }
  static std::string ReadAll(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void SavePng(const std::string& Name) {
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
      SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / Name).string());
  }
};

// ---------------------------------------------------------------------------------------
// Undo and redo.
class UndoTest : public CellContentTest {
protected:
  UndoTest() {
    undo = new TVezIdidUndoRedo(form);
    grid->SetUndoRedo(undo);
  }
  // Records a change of cell (c, r) and makes it.
  void Change(int c, int r, const std::string& v) {
    undo->RegisterChange(c, r, grid->GetCellEx(c, r), v);
    grid->SetCellEx(c, r, v);
  }
  TVezIdidUndoRedo* undo = nullptr;
};

TEST_F(UndoTest, SingleChangesUndoAndRedoOneAtATime) {
  grid->SetCellEx(1, 1, "p0");
  grid->SetCellEx(2, 2, "q0");
  Change(1, 1, "P");
  Change(2, 2, "Q");
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(2, 2), "q0");
  EXPECT_EQ(grid->GetCellEx(1, 1), "P");
  EXPECT_EQ(undo->Level, 1);
  EXPECT_TRUE(undo->CanRedo());
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 2);
  undo->Redo();
  EXPECT_EQ(grid->GetCellEx(2, 2), "Q");
  EXPECT_EQ(undo->Level, 2);
  EXPECT_FALSE(undo->CanRedo());
}

TEST_F(UndoTest, ChangesAfterUndoAreAppendedBehindTheUndoneOnes) {
  grid->SetCellEx(1, 1, "a");
  Change(1, 1, "P");
  Change(1, 1, "Q");
  undo->Undo();
  undo->Undo();
  Change(1, 1, "R");
  EXPECT_EQ(undo->Items()->Count(), 3);
  EXPECT_EQ(undo->Level, 3);
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");  // R's old text
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "P");  // Q's old text
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");  // P's old text
  EXPECT_FALSE(undo->CanUndo());
}

TEST_F(UndoTest, ASequenceIsOneStep) {
  grid->SetCellEx(1, 1, "p0");
  grid->SetCellEx(1, 2, "q0");
  std::vector<std::string> seen;
  undo->OnUndo = [&](TObject*, TBaseGrid*, int c, int r, const std::string& now, const std::string& to) {
    seen.push_back(std::to_string(c) + "," + std::to_string(r) + " " + now + ">" + to);
  };
  undo->StartSequence();
  Change(1, 1, "P");
  Change(1, 2, "Q");
  undo->StopSequence();
  undo->Undo();
  EXPECT_EQ(undo->Level, 0);
  EXPECT_EQ(grid->GetCellEx(1, 1), "p0");
  EXPECT_EQ(grid->GetCellEx(1, 2), "q0");
  EXPECT_EQ(seen, (std::vector<std::string>{"1,2 Q>q0", "1,1 P>p0"}));
  undo->Redo();
  EXPECT_EQ(undo->Level, 4);
  EXPECT_EQ(grid->GetCellEx(1, 1), "P");
  EXPECT_EQ(grid->GetCellEx(1, 2), "Q");
}

TEST_F(UndoTest, RedoOfASequenceWithoutStopReplaysEveryChange) {
  undo->StartSequence();
  Change(1, 1, "P");
  Change(1, 2, "Q");
  undo->Level = 0;
  grid->SetCellEx(1, 1, "");
  grid->SetCellEx(1, 2, "");
  undo->Redo();
  EXPECT_EQ(grid->GetCellEx(1, 1), "P");
  EXPECT_EQ(grid->GetCellEx(1, 2), "Q");
  EXPECT_EQ(undo->Level, 3);
  // Undoing steps over the open start marker without touching a cell.
  undo->Undo();
  undo->Undo();
  undo->Undo();
  EXPECT_EQ(undo->Level, 0);
}

TEST_F(UndoTest, MaxLevelDropsTheOldestAndResetEmpties) {
  undo->MaxLevel = 2;
  Change(1, 1, "A");
  Change(1, 1, "B");
  Change(1, 1, "C");
  EXPECT_EQ(undo->Level, 2);
  ASSERT_EQ(undo->Items()->Count(), 2);
  EXPECT_EQ(undo->Items()->Items(0)->Value, "B");
  undo->Reset();
  EXPECT_FALSE(undo->CanUndo());
  EXPECT_FALSE(undo->CanRedo());
}

TEST_F(UndoTest, WithoutGridNothingHappensAndAHiddenColumnIsFollowed) {
  grid->SetCellEx(3, 1, "old");
  Change(3, 1, "new");
  grid->HideColumn(1);
  undo->Undo();
  EXPECT_EQ(grid->GetCellEx(3, 1), "old");
  EXPECT_EQ(grid->Col(), 2);  // real column 3 shows as column 2
  delete grid;
  grid = nullptr;
  EXPECT_EQ(undo->Grid(), nullptr);
  undo->Redo();
  EXPECT_EQ(undo->Level, 0);
}

TEST_F(UndoTest, TogglingADataCheckBoxRegistersTheTextChange) {
  grid->AddCheckBox(1, 1, false, true);
  grid->ToggleCheck(1, 1, false);
  ASSERT_EQ(undo->Level, 1);
  EXPECT_EQ(undo->Items()->Items(0)->OrigValue, "N");
  EXPECT_EQ(undo->Items()->Items(0)->Value, "Y");
  undo->Undo();
  EXPECT_FALSE(grid->IsChecked(1, 1));
  // A plain check box keeps its state apart from the text: nothing to replay.
  grid->SetCellEx(2, 1, "label");
  grid->AddCheckBox(2, 1, false, false);
  grid->ToggleCheck(2, 1, false);
  EXPECT_EQ(undo->Items()->Count(), 1);
}

// ---------------------------------------------------------------------------------------
// Adornments.
TEST(CellGraphic, SetAngleBringsTheAngleIntoRange) {
  const std::pair<int, int> cases[] = {{-30, 330}, {360, 360}, {725, 5}, {-90, 270}, {0, 0}};
  for (auto [in, out] : cases) {
    TCellGraphic g;
    g.SetAngle(in);
    EXPECT_EQ(g.CellType, ctRotated);
    EXPECT_EQ(g.CellAngle, out) << in;
  }
}

TEST(CellGraphic, AssignCopiesFieldsButNotPayloads) {
  TCellGraphic a, b;
  TBitmap bmp;
  a.SetBitmap(&bmp, true, haCenter, vaFull);
  a.CellText = "t";
  a.CellValue = 3.5;
  b.Assign(&a);
  EXPECT_EQ(b.CellType, ctBitmap);
  EXPECT_EQ(b.CellHAlign, haCenter);
  EXPECT_EQ(b.CellVAlign, vaFull);
  EXPECT_TRUE(b.CellTransparent);
  EXPECT_EQ(b.CellText, "t");
  EXPECT_EQ(b.CellValue, 3.5);
  EXPECT_EQ(b.CellRef.Object, nullptr);
}

TEST_F(CellContentTest, PictureSizesByStretchMode) {
  grid->SetColWidths(1, 60);
  grid->SetRowHeights(1, 60);
  TPicture big, small;
  big.Bitmap()->SetSize(100, 50);
  small.Bitmap()->SetSize(20, 10);
  struct Case {
    TPicture* P;
    TStretchMode Mode;
    TPoint Size;
  } cases[] = {{&big, Stretch, {56, 56}},         {&big, StretchWithAspectRatio, {56, 28}},
               {&big, ShrinkWithAspectRatio, {56, 28}}, {&big, Shrink, {56, 56}},
               {&big, noStretch, {100, 50}},      {&small, ShrinkWithAspectRatio, {20, 10}},
               {&small, StretchWithAspectRatio, {56, 28}}};
  for (const Case& c : cases) {
    grid->AddPicture(1, 1, c.P, false, c.Mode, 4, haLeft, vaTop);
    TPoint s = grid->GetCellGraphicSize(1, 1);
    EXPECT_EQ(s.X, c.Size.X) << c.Mode;
    EXPECT_EQ(s.Y, c.Size.Y) << c.Mode;
  }
}

TEST_F(CellContentTest, DataCheckBoxKeepsACheckTextAndReadsItsState) {
  grid->SetCellEx(1, 1, "Y");
  grid->AddCheckBox(1, 1, false, true);
  EXPECT_EQ(grid->GetCellEx(1, 1), "Y");
  bool state = false;
  EXPECT_TRUE(grid->GetCheckBoxState(1, 1, state));
  EXPECT_TRUE(state);
  grid->AddCheckBox(1, 2, true, true);
  EXPECT_EQ(grid->GetCellEx(1, 2), "Y");
  EXPECT_THROW(grid->AddCheckBox(grid->ColCount(), 1, false, false), Exception);
}

TEST_F(CellContentTest, CreateOwnsThePayloadAddLeavesItToTheCaller) {
  TBitmap mine;
  grid->AddBitmap(1, 1, &mine, false, haLeft, vaTop);
  EXPECT_EQ(grid->GetBitmap(1, 1), &mine);
  EXPECT_TRUE(grid->RemoveBitmap(1, 1));
  mine.SetSize(3, 3);  // still alive
  TBitmap* own = grid->CreateBitmap(1, 1, false, haLeft, vaTop);
  EXPECT_EQ(grid->GetBitmap(1, 1), own);
  EXPECT_FALSE(grid->RemovePicture(1, 1));  // another kind stays
  EXPECT_TRUE(grid->RemoveBitmap(1, 1));    // the sanitizer sees it freed
  EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
  grid->CreatePicture(1, 2, false, Stretch, 0, haLeft, vaTop);
  grid->CreateIcon(2, 2, haLeft, vaTop);
  grid->CreateBitButton(3, 2, 20, 20, "x", haLeft, vaTop);
  TStrings* opts = grid->CreateRadio(1, 3, 0, 0);
  opts->Add("a");
  EXPECT_EQ(grid->GetRadioStrings(1, 3), opts);
  // The graphic made on an empty cell leaves the cell empty.
  EXPECT_EQ(grid->GetCellEx(1, 2), "");
}

TEST_F(CellContentTest, CommentsMarkersAndButtons) {
  grid->SetComment(1, 1, "first");
  EXPECT_EQ(grid->GetComment(1, 1), "first");
  EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellAngle, static_cast<int>(clNone));
  grid->SetComment(1, 1, "second");
  EXPECT_EQ(grid->GetComment(1, 1), "second");
  grid->AddButton(2, 1, 40, 18, "Go", haLeft, vaTop);
  grid->SetComment(2, 1, "ignored");
  EXPECT_EQ(grid->GetButtonText(2, 1), "Go");
  grid->AddMarker(3, 1, 2, 3);
  grid->AddMarker(2, 1, 1, 1);
  int from = -1, len = -1;
  grid->GetMarker(3, 1, from, len);
  EXPECT_EQ(from, 2);
  EXPECT_EQ(len, 3);
  grid->RemoveAllMarkers();
  EXPECT_EQ(grid->GetCellType(3, 1), ctEmpty);
  EXPECT_EQ(grid->GetCellType(2, 1), ctButton);  // the button stays, its marker goes
  grid->GetMarker(2, 1, from, len);
  EXPECT_EQ(from, 0);
  grid->RemoveAllComments();
  EXPECT_EQ(grid->GetComment(1, 1), "");
  grid->GetCellGraphic(2, 1)->CellValue = 5 + 65536 * 3;
  TRect cell = grid->CellRect(2, 1), b = grid->ButtonRect(2, 1);
  EXPECT_EQ(b.Left, cell.Left + 5);
  EXPECT_EQ(b.Top, cell.Top + 3);
  EXPECT_EQ(b.Width(), 40);
  EXPECT_EQ(b.Height(), 18);
  grid->AddBitButton(3, 2, 10, 10, "", nullptr, haLeft, vaTop);
  EXPECT_TRUE(grid->RemoveButton(3, 2));
  EXPECT_EQ(grid->ButtonRect(3, 3).Width(), 0);
}

TEST_F(CellContentTest, CheckAllFiresChangesAndColumnsOfRadioButtons) {
  grid->AddCheckBoxColumn(1, false, false);
  int changes = 0;
  grid->OnCheckBoxChange = [&](TObject*, int, int, bool) { ++changes; };
  grid->CheckAll(1);
  EXPECT_EQ(changes, grid->RowCount() - 1);
  EXPECT_TRUE(grid->IsChecked(1, 3));
  grid->UnCheckAll(1);
  EXPECT_FALSE(grid->IsChecked(1, 3));
  grid->RemoveCheckBoxColumn(1);
  EXPECT_FALSE(grid->HasCheckBox(1, 3));
  grid->AddRadioButtonColumn(2);
  EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), -1);
  grid->SetRadioButtonColumnIndex(2, 4);
  EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 4);
  grid->SetRadioButtonColumnIndex(2, 0);
  EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), -1);
}

TEST_F(CellContentTest, HotmailRowSelectSharesOneRowCheckBox) {
  grid->MouseActions()->SetDisjunctRowSelect(true);
  grid->SetCellEx(0, 2, "x");
  grid->AddComment(0, 2, "own");
  grid->MouseActions()->SetHotmailRowSelect(true);
  TCellGraphic* shared = grid->GetCellGraphic(0, 1);
  EXPECT_EQ(shared->CellType, ctRowCheckBox);
  EXPECT_EQ(grid->GetCellGraphic(0, 2), shared);
  grid->SetRowSelect(2, true);
  EXPECT_TRUE(grid->GetCellGraphic(0, 2)->CellBoolean);
  EXPECT_TRUE(grid->FreeCellGraphic(0, 2));  // the cell's own comment goes, the box stays
  EXPECT_EQ(grid->GetCellGraphic(0, 2), shared);
  EXPECT_FALSE(grid->RemoveCheckBox(0, 2));
}

TEST_F(CellContentTest, RadioGroupsAndRotatedCells) {
  TStringList three;
  three.Add("a");
  three.Add("b");
  three.Add("c");
  grid->SetCellEx(1, 1, "b");
  grid->AddRadio(1, 1, 0, -1, &three);
  grid->ToggleRadio(1, 1, false);
  EXPECT_EQ(grid->GetCellEx(1, 1), "c");
  grid->ToggleRadio(1, 1, false);
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");
  int idx = 0;
  grid->GetRadioIdx(1, 1, idx);
  EXPECT_EQ(idx, -1);
  // An empty option list changes nothing.
  TStringList none;
  grid->SetCellEx(2, 1, "keep");
  grid->AddRadio(2, 1, 0, 0, &none);
  grid->ToggleRadio(2, 1, false);
  EXPECT_EQ(grid->GetCellEx(2, 1), "keep");
  grid->GetRadioIdx(2, 1, idx);
  EXPECT_EQ(idx, 0);
  EXPECT_EQ(grid->GetCellGraphic(2, 1)->CellVariant, -1);
  // Turning a cell with an owned payload into rotated text frees the payload (the
  // sanitizer reports a leak otherwise).
  grid->CreateBitmap(3, 1, false, haLeft, vaTop);
  grid->SetRotated(3, 1, -90);
  int angle = 0;
  EXPECT_TRUE(grid->IsRotated(3, 1, angle));
  EXPECT_EQ(angle, 270);
  EXPECT_TRUE(grid->RemoveRotated(3, 1));
}

TEST_F(CellContentTest, XPProgressLeavesTheGridFontColourAlone) {
  grid->Font()->SetColor(0x123456);
  grid->ProgressAppearance()->SetCompleteFontColor(0x00FF00);
  grid->AddDizProgress(1, 1, 0, 100);
  grid->SetCellEx(1, 1, "50");
  grid->Repaint();
  scope.Backend().Pump();
  EXPECT_EQ(grid->Font()->GetColor(), 0x123456);
}

// ---------------------------------------------------------------------------------------
// Calculations and fitting.
TEST_F(CellContentTest, ColumnSumSkipsWhatIsNoNumber) {
  const char* texts[] = {"1,000", "-", "", "x"};
  for (int r = 1; r <= 4; ++r) grid->SetCellEx(1, r, texts[r - 1]);
  EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, 4), 1000);
  EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, 1, 4), 250);
  EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, 4, 1), 0);
  EXPECT_DOUBLE_EQ(grid->ColumnMax(1, 1, 4), 1000);
  grid->SetCellEx(1, 1, "2");
  grid->SetCellEx(2, 1, "3");
  grid->SetCellEx(3, 1, "oops");
  EXPECT_DOUBLE_EQ(grid->RowSum(1, 1, 3), 5);
  EXPECT_DOUBLE_EQ(grid->RowAvg(1, 1, 3), 5.0 / 3);
  EXPECT_DOUBLE_EQ(grid->RowAvg(1, 3, 1), 0);
}

TEST_F(CellContentTest, SelectedTextJoinsByTabAndCrLf) {
  grid->SetCellEx(1, 1, "a");
  grid->SetCellEx(2, 1, "b");
  grid->SetCellEx(1, 2, "c");
  grid->SetCellEx(2, 2, "d");
  grid->SelectCells(1, 1, 2, 2);
  EXPECT_EQ(grid->SelectedText(), "a\tb\r\nc\td");
  EXPECT_TRUE(grid->IsSelected(2, 2));
  EXPECT_FALSE(grid->IsSelected(0, 1));
}

TEST_F(CellContentTest, AutoNumberColumnLeavesTheFooter) {
  grid->SetFixedFooters(1);
  grid->AutoNumberCol(1);
  EXPECT_EQ(grid->GetCellEx(1, 1), "1");
  EXPECT_EQ(grid->GetCellEx(1, 4), "4");
  EXPECT_EQ(grid->GetCellEx(1, 5), "");
}

TEST_F(CellContentTest, AutoFitColumnsKeepsTheRatioAndFillsTheWidth) {
  grid->SetFixedCols(0);
  grid->SetColCount(3);
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssNone);
  grid->SetBounds(0, 0, 404, 200);
  const int widths[] = {50, 100, 50};
  for (int c = 0; c < 3; ++c) grid->SetColWidths(c, widths[c]);
  grid->AutoFitColumns(false);
  // 404 less three grid lines: 401 usable; the pixel left over goes to the widest.
  EXPECT_EQ(grid->ColWidths(0), 100);
  EXPECT_EQ(grid->ColWidths(1), 201);
  EXPECT_EQ(grid->ColWidths(2), 100);
  for (int c = 0; c < 3; ++c) grid->SetColWidths(c, widths[c]);
  grid->SetBounds(0, 0, 403, 200);
  grid->AutoFitColumns(false);
  EXPECT_EQ(grid->ColWidths(0), 100);
  EXPECT_EQ(grid->ColWidths(1), 200);
  EXPECT_EQ(grid->ColWidths(2), 100);
}

TEST_F(CellContentTest, AutoFitColumnsSharesTheWidthOfZeroWideColumns) {
  grid->SetFixedCols(0);
  grid->SetColCount(3);
  grid->SetBorderStyle(bsNone);
  grid->SetScrollBars(ssNone);
  grid->SetBounds(0, 0, 304, 200);
  for (int c = 0; c < 3; ++c) grid->SetColWidths(c, 0);
  grid->AutoFitColumns(false);
  EXPECT_EQ(grid->ColWidths(0) + grid->ColWidths(1) + grid->ColWidths(2), 301);
  EXPECT_EQ(grid->ColWidths(0), 101);
  EXPECT_EQ(grid->ColWidths(1), 100);
}

TEST_F(CellContentTest, AutoSizeColumnsFitsTheWidestTextAndCellsShrink) {
  grid->SetCellEx(1, 1, "a rather long text here");
  grid->SetCellEx(2, 1, "x");
  grid->AutoSizeColumns(false, 0);
  EXPECT_GT(grid->ColWidths(1), grid->ColWidths(2));
  grid->SetColWidths(2, 300);
  grid->AutoSizeCells(false, 0, 0);
  EXPECT_LT(grid->ColWidths(2), 300);
}

// ---------------------------------------------------------------------------------------
// Floating footer.
class FooterTest : public CellContentTest {
protected:
  FooterTest() {
    grid->SetBounds(0, 0, 420, 220);
    grid->FloatingFooter()->SetHeight(20);
    grid->FloatingFooter()->SetVisible(true);
  }
};

TEST_F(FooterTest, PanelHeightFollowsVisible) {
  EXPECT_EQ(grid->FooterPanel()->Height(), 19);
  EXPECT_EQ(grid->FixedFooters(), 1);
  grid->FloatingFooter()->SetVisible(false);
  EXPECT_EQ(grid->FooterPanel()->Height(), 0);
  EXPECT_EQ(grid->FixedFooters(), 0);
}

TEST_F(FooterTest, SumCountAndCustomCalculations) {
  grid->SetCellEx(2, 1, "1.5");
  grid->SetCellEx(2, 2, "2");
  grid->SetCellEx(2, 3, "0.5");
  grid->FloatingFooter()->SetColumnCalc(2, acSUM);
  EXPECT_EQ(grid->GetCellEx(2, 5), "4.00");
  EXPECT_EQ(grid->FloatingFooter()->ColumnCalc(2), acSUM);
  grid->FloatingFooter()->SetColumnCalc(1, acCOUNT);
  EXPECT_EQ(grid->GetCellEx(1, 5), "4");
  grid->SetCellEx(3, 5, "stale");
  grid->FloatingFooter()->SetColumnCalc(3, acCUSTOM);
  EXPECT_EQ(grid->GetCellEx(3, 5), "");
  grid->OnFooterCalc = [](TObject*, int c, int r, std::string& v) { v = std::to_string(c) + "@" + std::to_string(r); };
  grid->CalcFooter(-1);
  EXPECT_EQ(grid->GetCellEx(3, 5), "3@5");
  grid->FloatingFooter()->EnableCalculation = false;
  grid->SetCellEx(2, 1, "10");
  grid->CalcFooter(-1);
  EXPECT_EQ(grid->GetCellEx(2, 5), "4.00");
}

TEST_F(FooterTest, OneHiddenRowIsSummedAndTheFooterRowIsNot) {
  for (int r = 1; r <= 4; ++r) grid->SetCellEx(2, r, "1");
  grid->FloatingFooter()->SetColumnCalc(2, acSUM);
  grid->HideRow(2);
  grid->CalcFooter(-1);
  EXPECT_EQ(grid->GetCellEx(2, grid->RowCount() - 1), "4.00");
  grid->CalcFooter(-1);  // the footer's own value never adds in
  EXPECT_EQ(grid->GetCellEx(2, grid->RowCount() - 1), "4.00");
  grid->FloatingFooter()->SetColumnCalc(1, acCOUNT);
  EXPECT_EQ(grid->GetCellEx(1, grid->RowCount() - 1), "4");
}

TEST_F(FooterTest, TemplateTagsTakeTheCurrentRow) {
  grid->SetRow(2);
  grid->SetCellEx(1, 2, "3");
  grid->SetCellEx(2, 2, "7");
  EXPECT_EQ(grid->FooterTemplateText("<#1> of <#2>"), "3 of 7");
  EXPECT_EQ(grid->FooterTemplateText("no tags"), "no tags");
  EXPECT_EQ(grid->FooterTemplateText("<#x>gone"), "gone");
  EXPECT_EQ(grid->FooterTemplateText("<#1> and <#2"), "3 and <#2");
}

TEST_F(FooterTest, ClickReportsTheColumnUnderThePoint) {
  std::vector<int> cols;
  int clicks = 0;
  grid->OnClick = [&](TObject*) { ++clicks; };
  grid->OnClickCell = [&](TObject*, int, int c) { cols.push_back(c); };
  TFooterPanel* p = grid->FooterPanel();
  EXPECT_EQ(p->ColumnAt(3), 0);
  EXPECT_EQ(p->ColumnAt(grid->ColWidths(0) + 2), 1);
  EXPECT_EQ(p->ColumnAt(5000), -1);
  EXPECT_EQ(p->ColumnAt(0), -1);
}

TEST_F(FooterTest, ThreeStylesPaint) {
  grid->SetCellEx(1, 1, "12");
  grid->SetCellEx(1, 2, "30");
  grid->SetCellEx(2, 1, "<b>bold</b> memo");
  grid->SetCellEx(3, 1, "7");
  grid->FloatingFooter()->SetColumnCalc(1, acSUM);
  grid->FloatingFooter()->SetBorderColor(0x0000FF);
  grid->SetRow(1);
  const struct {
    TFooterStyle Style;
    const char* Png;
  } styles[] = {{fsFixedLastRow, "footer_last_row.png"},
                {fsColumnPreview, "footer_column_preview.png"},
                {fsCustomPreview, "footer_custom_preview.png"}};
  grid->FloatingFooter()->SetColumn(2);
  grid->FloatingFooter()->SetCustomTemplate("Sum <b><#1></b> and <i><#3></i>");
  for (const auto& s : styles) {
    grid->FloatingFooter()->SetFooterStyle(s.Style);
    form->Repaint();
    scope.Backend().Pump();
    TRect pr = grid->FooterPanel()->BoundsRect();
    TPoint top = grid->ClientToScreen(TPoint{pr.Left + 5, pr.Top});
    TPoint in = form->ScreenToClient(top);
    EXPECT_EQ(WindowPixel(form->Handle(), in.X, in.Y), 0x0000FFu) << s.Png;  // the top line
    SavePng(s.Png);
  }
}

// ---------------------------------------------------------------------------------------
// Settings files.
TEST_F(CellContentTest, LookFileRoundTripKeepsEveryProperty) {
  EXPECT_EQ(grid->VisualPropsLineCount(), 69);
  grid->SetColor(0x112233);
  grid->SetSelectionColor(0x445566);
  grid->SetURLShow(true);
  grid->Font()->SetStyle(TFontStyles{} + fsBold + fsUnderline);
  grid->Font()->SetSize(13);
  grid->FixedFont()->SetName("Courier New");
  grid->Balloon()->Transparency = 77;
  grid->ControlLook()->SetControlStyle(csWinXP);
  grid->SetLook(glVista);
  grid->Grouping()->HeaderLineWidth = 5;
  grid->SetGridLineColor(0x010203);
  grid->BackGround()->SetDisplay(bdGradientVert);
  grid->BackGround()->SetColorTo(clNone);
  const std::string file = TempFile("look.txt");
  grid->SaveVisualProps(file);
  const std::string saved = ReadAll(file);
  TDavEvadurAvuz* other = new TDavEvadurAvuz(form);
  other->LoadVisualProps(file);
  const std::string again = TempFile("look2.txt");
  other->SaveVisualProps(again);
  EXPECT_EQ(ReadAll(again), saved);
  EXPECT_EQ(other->Look(), glVista);
  EXPECT_EQ(other->GridLineColor(), 0x010203u);
  EXPECT_EQ(other->Font()->GetSize(), 13);
  EXPECT_EQ(other->Balloon()->Transparency, 77);
  EXPECT_EQ(other->BackGround()->ColorTo(), static_cast<TColor>(clNone));
  size_t lines = 0;
  for (char ch : saved) lines += ch == '\n';
  EXPECT_EQ(lines, 69u);
}

TEST_F(CellContentTest, LookFileValuesAreReadLoosely) {
  const std::string file = TempFile("loose.txt");
  grid->SaveVisualProps(file);
  std::string text = ReadAll(file);
  auto replace = [&](const std::string& line, const std::string& by) {
    size_t p = text.find(line + "=");
    ASSERT_NE(p, std::string::npos) << line;
    size_t e = text.find("\r\n", p);
    text.replace(p, e - p, line + "=" + by);
  };
  replace("Look", "glclassic");
  replace("Font.Style", "fsItalic,fsBold");
  replace("URLShow", "TRUE");
  replace("GridLineColor", "");
  std::ofstream(file, std::ios::binary) << text;
  grid->LoadVisualProps(file);
  EXPECT_EQ(grid->Look(), glClassic);
  EXPECT_TRUE(grid->Font()->GetStyle().Contains(fsItalic));
  EXPECT_TRUE(grid->Font()->GetStyle().Contains(fsBold));
  EXPECT_FALSE(grid->Font()->GetStyle().Contains(fsUnderline));
  EXPECT_TRUE(grid->URLShow());
  EXPECT_EQ(grid->GridLineColor(), static_cast<TColor>(clNone));
  replace("Font.Size", "");
  std::ofstream(file, std::ios::binary) << text;
  EXPECT_THROW(grid->LoadVisualProps(file), Exception);
  EXPECT_THROW(grid->LoadVisualProps(TempFile("missing.txt")), Exception);
  EXPECT_THROW(grid->SaveVisualProps("/nonexistent-dir/x.txt"), Exception);
}

TEST_F(CellContentTest, PrintSettingsSectionRoundTripAndDefaults) {
  const std::string file = TempFile("print.ini");
  std::filesystem::remove(file);
  std::ofstream(file) << "[Other]\nKeep=1\n";
  TPrintSettings* ps = grid->PrintSettings();
  ps->TitleLines()->Add("A");
  ps->TitleLines()->Add("B");
  ps->Date = ppTopRight;
  ps->Centered = false;
  ps->Font()->SetStyle(TFontStyles{} + fsBold + fsItalic);
  grid->SavePrintSettings(file, "Print");
  const std::string text = ReadAll(file);
  EXPECT_NE(text.find("TitleLines=A\\nB\\n"), std::string::npos);
  EXPECT_NE(text.find("Keep=1"), std::string::npos);
  EXPECT_NE(text.find("FontStyle=3"), std::string::npos);
  // Python's configparser reads the section.
  const std::string py = TempFile("read.py");
  std::ofstream(py) << "import configparser,sys\nc=configparser.ConfigParser(interpolation=None)\n"
                       "c.optionxform=str\nc.read(sys.argv[1])\ns=c['Print']\n"
                       "print(s['TitleLines'], s['Date'], s['Centered'], s['ColumnSpacing'], s['FontName'])\n";
  const std::string out = TempFile("py.out");
  ASSERT_EQ(std::system(("python3 " + py + " " + file + " > " + out).c_str()), 0);
  EXPECT_EQ(ReadAll(out), "A\\nB\\n 2 N 0 " + ps->Font()->GetName() + "\n");

  TDavEvadurAvuz* other = new TDavEvadurAvuz(form);
  other->LoadPrintSettings(file, "Print");
  EXPECT_EQ(other->PrintSettings()->TitleLines()->Count(), 2);
  EXPECT_EQ(other->PrintSettings()->TitleLines()->Strings(1), "B");
  EXPECT_EQ(other->PrintSettings()->Date, ppTopRight);
  EXPECT_FALSE(other->PrintSettings()->Centered);

  other->PrintSettings()->Font()->SetStyle(TFontStyles{} + fsUnderline);
  other->LoadPrintSettings(file, "Empty");
  TPrintSettings* e = other->PrintSettings();
  EXPECT_EQ(e->ColumnSpacing, 20);
  EXPECT_EQ(e->RowSpacing, 20);
  EXPECT_EQ(e->TitleSpacing, 20);
  EXPECT_EQ(e->HeaderSize, 100);
  EXPECT_EQ(e->RightSize, 100);
  EXPECT_TRUE(e->Centered);
  EXPECT_EQ(e->Font()->GetName(), "Arial");
  EXPECT_EQ(e->Font()->GetSize(), 10);
  EXPECT_TRUE(e->Font()->GetStyle().Contains(fsUnderline));

  std::ofstream(file) << "[Odd]\nBorders=12\nDate=9\nOrientation=1\n";
  e->Borders = pbDouble;
  other->LoadPrintSettings(file, "Odd");
  EXPECT_EQ(e->Borders, pbDouble);
  EXPECT_EQ(e->Date, ppNone);
  EXPECT_EQ(e->Orientation, poLandscape);
}

// ---------------------------------------------------------------------------------------
// Editing and hints.
TEST_F(CellContentTest, AutoNumAlignRightAlignsTheEditorOfANumber) {
  grid->AutoNumAlign = true;
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetCellEx(1, 1, "12.5");
  grid->SetCellEx(2, 1, "text");
  grid->SetFocus();
  grid->SetRow(1);
  grid->SetCol(1);
  grid->ShowInplaceEdit();
  auto* e = dynamic_cast<TDizInplaceEdit*>(grid->GetInplaceEditor());
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->VAlign());
  grid->HideInplaceEdit();
  grid->SetCol(2);
  grid->ShowInplaceEdit();
  EXPECT_FALSE(e->VAlign());
}

TEST_F(CellContentTest, HintWindowMarginsAndMonitorEdge) {
  auto* hint = new THTMLHintWindow(form);
  hint->ActivateHint(TRect{100, 100, 100, 100}, "<b>Hello</b> world");
  EXPECT_EQ(hint->Width(), hint->TextWidth() + 16);
  EXPECT_EQ(hint->Height(), hint->TextHeight() + 4);
  EXPECT_GT(hint->TextWidth(), 0);
  TRect calc = hint->CalcHintRect(200, "<b>Hello</b> world", nullptr);
  EXPECT_EQ(calc.Width(), hint->TextWidth());
  const std::string wide = EncodeWideStr(u"Привет");
  hint->ActivateHint(TRect{100, 100, 100, 100}, wide);
  EXPECT_EQ(hint->Width(), hint->TextWidth() + 8);
  EXPECT_EQ(hint->Height(), hint->TextHeight() + 4);
  const TRect m = Screen->MonitorFromPoint(TPoint{0, 0})->BoundsRect();
  hint->ActivateHint(TRect{m.Right - 5, m.Bottom - 3, 0, 0}, "a long enough hint text");
  EXPECT_EQ(hint->Left() + hint->Width(), m.Right - 2);
  EXPECT_EQ(hint->Top() + hint->Height(), m.Bottom - 2);
}

TEST_F(CellContentTest, UseHTMLHintsSwitchesTheApplicationsHintWindow) {
  grid->SetUseHTMLHints(true);
  ASSERT_NE(Application->HintWindowClass, nullptr);
  std::unique_ptr<THintWindow> w(Application->HintWindowClass(nullptr));
  EXPECT_NE(dynamic_cast<THTMLHintWindow*>(w.get()), nullptr);
  grid->SetUseHTMLHints(false);
  EXPECT_EQ(Application->HintWindowClass, nullptr);
}

// Every adornment kind in the grid's own painting.
TEST_F(CellContentTest, EveryAdornmentPaints) {
  form->SetBounds(0, 0, 760, 560);
  grid->SetBounds(0, 0, 740, 540);
  grid->SetColCount(5);
  grid->SetRowCount(8);
  grid->SetDefaultColWidth(140);
  grid->SetDefaultRowHeight(40);
  grid->SetColWidths(0, 20);
  TBitmap* bmp = grid->CreateBitmap(1, 1, false, haLeft, vaCenter);
  bmp->SetSize(24, 24);
  bmp->Canvas()->Brush()->SetColor(0x0000FF);
  bmp->Canvas()->FillRect(TRect{0, 0, 24, 24});
  grid->SetCellEx(1, 1, "bitmap");
  TPicture* pic = grid->CreatePicture(2, 1, false, StretchWithAspectRatio, 4, haCenter, vaCenter);
  pic->Bitmap()->SetSize(60, 30);
  pic->Bitmap()->Canvas()->Brush()->SetColor(0x00A000);
  pic->Bitmap()->Canvas()->FillRect(TRect{0, 0, 60, 30});
  grid->AddCheckBox(3, 1, true, false);
  grid->SetCellEx(3, 1, "check");
  grid->AddRadioButton(4, 1, true);
  grid->SetCellEx(4, 1, "radio");
  grid->AddProgress(1, 2, 0xC08000, 0xFFFFFF);
  grid->SetCellEx(1, 2, "60");
  grid->AddDizProgress(2, 2, 0, 100);
  grid->SetCellEx(2, 2, "35");
  grid->AddProgressPie(3, 2, 0x0080FF, 70);
  grid->AddRangeIndicator(4, 2, 100, 0x0000FF, 0x00A000, true);
  grid->SetCellEx(4, 2, "-40");
  grid->AddComment(1, 3, "a note");
  grid->SetCellEx(1, 3, "comment");
  grid->AddButton(2, 3, 80, 22, "Button", haCenter, vaCenter);
  TStrings* opts = grid->CreateRadio(3, 3, 1, 1);
  opts->Add("one");
  opts->Add("two");
  grid->AddRotated(4, 3, 30, "rotated");
  grid->AddShape(1, 4, TCellShape(1), 0x00C0FF, 0xFF0000, haCenter, vaCenter);
  grid->AddRating(2, 4, 5, 0x00C0FF, 0xC0C0C0);
  grid->SetCellEx(2, 4, "3.5");
  grid->AddScrollBar(3, 4, false);
  grid->SetCellEx(3, 4, "scroll");
  grid->AddBalloon(4, 4, "Title", "Text", biInfo);
  grid->SetCellEx(4, 4, "balloon");
  grid->CreateBitButton(1, 5, 90, 24, "Glyph", haCenter, vaCenter)->SetSize(16, 16);
  grid->AddCheckBox(2, 5, false, true);
  grid->AddMarker(3, 5, 0, 4);
  grid->SetCellEx(3, 5, "marked text");
  grid->SetCellEx(4, 5, "https://example.org");
  grid->SetURLShowInText(true);
  form->Repaint();
  scope.Backend().Pump();
  EXPECT_NE(WindowPixel(form->Handle(), 10, 10), CLR_INVALID);
  SavePng("cell_adornments.png");
}
}  // namespace
