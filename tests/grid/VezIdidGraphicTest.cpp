// Cell graphics: sizes, placement beside the text and the drawing of each kind, checked on
// the pixels of a painted grid.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "GridTestSupport.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {
constexpr TColor kBack = 0x00FFFF;  // yellow: no glyph uses it
constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// A solid square bitmap of one colour.
std::unique_ptr<TBitmap> Solid(int Size, TColor C) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(Size, Size);
  b->Canvas()->Brush()->SetColor(C);
  b->Canvas()->FillRect(TRect{0, 0, Size, Size});
  return b;
}

class GraphicTest : public GridTest {
protected:
  GraphicTest() {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetDefaultColWidth(120);
    grid->SetDefaultRowHeight(30);
    grid->OnCustomCellDraw = [this](TObject*, TCanvas* C, int ACol, int ARow, TGridDrawState S, const TRect& R,
                                    bool) {
      if (ACol != kCol || ARow != kRow || !graphic) return;
      cell = R;
      C->Brush()->SetColor(kBack);
      C->FillRect(R);
      grid->DrawGraphicLayer(C, ACol, ARow, R, S, graphic, va, ha, textWidth);
    };
  }
  // Paints the cell (kCol, kRow) with its graphic drawn by the layer alone.
  void Paint() {
    graphic = grid->GetCellGraphic(kCol, kRow);
    grid->Invalidate();
    WindowPixel(grid->Handle(), 0, 0);
  }
  TColor Pixel(int X, int Y) { return TColor(WindowPixel(grid->Handle(), X, Y)); }
  // The box around every pixel of the painted cell that is not the background.
  TRect Drawn() {
    TRect b{cell.Right, cell.Bottom, cell.Left, cell.Top};
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x)
        if (Pixel(x, y) != kBack) {
          b.Left = std::min(b.Left, x);
          b.Top = std::min(b.Top, y);
          b.Right = std::max(b.Right, x + 1);
          b.Bottom = std::max(b.Bottom, y + 1);
        }
    return b;
  }
  std::vector<TColor> CellPixels() {
    std::vector<TColor> v;
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x) v.push_back(Pixel(x, y));
    return v;
  }
  static constexpr int kCol = 1, kRow = 1;
  TCellGraphic* graphic = nullptr;
  TRect cell;
  TVAlignment va = vtaTop;
  TAlignment ha = taLeftJustify;
  int textWidth = 0;
};

TEST_F(GraphicTest, DetailsReportSizeAndWhetherTheGraphicStandsBesideText) {
  auto bmp = Solid(7, kRed);
  TImageList images(form);
  images.SetWidth(12);
  images.SetHeight(10);
  auto pic = std::make_unique<TPicture>();
  pic->SetGraphic(Solid(200, kRed).get());
  struct Case {
    const char* name;
    std::function<void()> add;
    int w, h;
    bool beside;
  };
  const int row = grid->RowHeights(kRow);
  const std::vector<Case> cases = {
      {"bitmap", [&] { grid->AddBitmap(kCol, kRow, bmp.get(), false, haLeft, vaTop); }, 7, 7, true},
      {"image list", [&] { grid->AddImageIdx(kCol, kRow, 0, haLeft, vaTop); }, 12, 10, true},
      {"data image", [&] { grid->AddDataImage(kCol, kRow, 0, haLeft, vaTop); }, 12, 10, false},
      {"check box", [&] { grid->AddCheckBox(kCol, kRow, true, false); }, 15, 15, true},
      {"data check box", [&] { grid->AddCheckBox(kCol, kRow, true, true); }, 15, 15, false},
      {"radio button", [&] { grid->AddRadioButton(kCol, kRow, true); }, 14, 14, true},
      {"rotated", [&] { grid->AddRotated(kCol, kRow, 90, "x"); }, 0, 0, false},
      {"progress", [&] { grid->AddProgress(kCol, kRow, kRed, kBlue); }, 0, 0, false},
      {"gauge", [&] { grid->AddDizProgress(kCol, kRow, 0, 10); }, 0, 0, false},
      {"pie", [&] { grid->AddProgressPie(kCol, kRow, kRed, 40); }, 20, 20, true},
      {"button", [&] { grid->AddButton(kCol, kRow, 50, 20, "Go", haLeft, vaTop); }, 50, 20, true},
      {"shape", [&] { grid->AddShape(kCol, kRow, csCircle, kRed, kBlue, haLeft, vaTop); }, row - 4, row - 4, true},
      {"rating", [&] { grid->AddRating(kCol, kRow, 5, kRed, kBlue); }, 90, 16, false},
      {"picture shrunk", [&] { grid->AddPicture(kCol, kRow, pic.get(), false, ShrinkWithAspectRatio, 4, haLeft, vaTop); },
       26, 26, true},
      {"comment", [&] { grid->AddComment(kCol, kRow, "note"); }, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetGridImages(&images);
    c.add();
    int w = -1, h = -1;
    bool beside = !c.beside;
    TCellHAlign hal;
    TCellVAlign val;
    EXPECT_NE(grid->GetGraphicDetails(kCol, kRow, w, h, beside, hal, val), nullptr);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(beside, c.beside);
  }
  // Without images the image kinds measure nothing; a bare cell has no graphic.
  grid->AddImageIdx(kCol, kRow, 0, haLeft, vaTop);
  grid->SetGridImages(nullptr);
  int w = -1, h = -1;
  bool beside = false;
  TCellHAlign hal;
  TCellVAlign val;
  grid->GetGraphicDetails(kCol, kRow, w, h, beside, hal, val);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(grid->GetGraphicDetails(2, 2, w, h, beside, hal, val), nullptr);
  EXPECT_TRUE(beside);
  EXPECT_EQ(hal, haLeft);
  EXPECT_EQ(val, vaTop);
}

TEST_F(GraphicTest, GraphicBeforeOrAfterTheTextFollowsTheTextAlignment) {
  auto bmp = Solid(10, kRed);
  // Inset of the layer: XYOffset - 1 on each side; TW grows by 2.
  struct Case {
    TCellHAlign where;
    TAlignment text;
    int tw;
    std::function<int(const TRect& R)> left;  // R is the inset rectangle
  };
  const std::vector<Case> cases = {
      {haBeforeText, taLeftJustify, 30, [](const TRect& R) { return R.Left + 1; }},
      {haBeforeText, taRightJustify, 30, [](const TRect& R) { return R.Right - 32 - 10; }},
      {haBeforeText, taCenter, 30, [](const TRect& R) { return R.Left + (R.Width() - 32 - 10) / 2; }},
      {haAfterText, taLeftJustify, 30, [](const TRect& R) { return R.Left + 32; }},
      {haAfterText, taRightJustify, 30, [](const TRect& R) { return R.Right - 1 - 10; }},
      {haAfterText, taCenter, 30, [](const TRect& R) { return R.Left + 32 + (R.Width() - 32 - 10) / 2; }},
      {haRight, taLeftJustify, 0, [](const TRect& R) { return R.Right - 1 - 10; }},
      {haCenter, taLeftJustify, 0, [](const TRect& R) { return R.Left + (R.Width() - 10) / 2; }},
      // Text wider than the cell: the start is pulled back into the cell.
      {haBeforeText, taRightJustify, 200, [](const TRect& R) { return R.Left + 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.where << "/" << c.text << "/" << c.tw);
    grid->AddBitmap(kCol, kRow, bmp.get(), false, c.where, vaCenter);
    ha = c.text;
    textWidth = c.tw;
    Paint();
    const TRect R{cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
    const TRect d = Drawn();
    EXPECT_EQ(d.Left, c.left(R));
    EXPECT_EQ(d.Top, R.Top + (R.Height() - 10) / 2);
  }
}

TEST_F(GraphicTest, CheckBoxStandsLeftOfItsTextInARightAlignedCell) {
  grid->AddCheckBox(kCol, kRow, true, false);
  grid->ControlLook()->SetControlStyle(csBorland);  // fills its whole square
  ha = taRightJustify;
  textWidth = 40;
  Paint();
  const TRect d = Drawn();
  EXPECT_EQ(d.Right, cell.Right - 1 - 42 - 1);
  EXPECT_EQ(d.Width(), 15);
  // A data check box keeps to the right edge: its text is the state, not shown beside it.
  grid->AddCheckBox(kCol, kRow, true, true);
  Paint();
  EXPECT_EQ(Drawn().Right, cell.Right - 1 - 1);
}

TEST_F(GraphicTest, RatingShowsFullHalfAndEmptyStars) {
  grid->AddRating(kCol, kRow, 5, kRed, kBlue);
  grid->SetCellEx(kCol, kRow, "2.7");
  Paint();
  const int x0 = cell.Left + 1 + 1, y = cell.Top + 1 + 1 + 8;
  auto left = [&](int n) { return Pixel(x0 + (n - 1) * 18 + 6, y); };
  auto right = [&](int n) { return Pixel(x0 + (n - 1) * 18 + 10, y); };
  const std::vector<std::pair<TColor, TColor>> expected = {
      {kRed, kRed}, {kRed, kRed}, {kRed, kBlue}, {kBlue, kBlue}, {kBlue, kBlue}};
  for (int n = 1; n <= 5; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(left(n), expected[n - 1].first);
    EXPECT_EQ(right(n), expected[n - 1].second);
  }
}

TEST_F(GraphicTest, ProgressValuesOutsideTheRangeDrawAnEmptyOrFullBar) {
  grid->ControlLook()->SetControlStyle(csWinXP);
  grid->ControlLook()->SetProgressXP(true);
  grid->AddProgress(kCol, kRow, kRed, clWhite);
  auto image = [&](const char* v) {
    grid->SetCellEx(kCol, kRow, v);
    Paint();
    return CellPixels();
  };
  const auto empty = image("0"), full = image("100");
  EXPECT_NE(empty, full);
  EXPECT_EQ(image("-5"), empty);
  EXPECT_EQ(image("150"), full);
  EXPECT_EQ(image("abc"), empty);
  // The plain bar fills by the value too, clamped; its text tells the value itself.
  grid->ControlLook()->SetControlStyle(csClassic);
  const int x = cell.Left + 5, y = cell.Top + 5;
  image("150");
  EXPECT_EQ(Pixel(x, y), kRed);
  image("-5");
  EXPECT_EQ(Pixel(x, y), clWhite);
  // A gauge over an empty range has nothing done (no division by zero).
  grid->AddDizProgress(kCol, kRow, 0, 100);
  grid->SetCellEx(kCol, kRow, "0");
  Paint();
  const auto none = CellPixels();
  grid->AddDizProgress(kCol, kRow, 5, 5);
  grid->SetCellEx(kCol, kRow, "5");
  Paint();
  EXPECT_EQ(CellPixels(), none);
}

TEST_F(GraphicTest, CommentMarksTheTopRightCorner) {
  grid->AddComment(kCol, kRow, "note");
  Paint();
  const int r = cell.Right, t = cell.Top;
  EXPECT_EQ(Pixel(r - 3, t), kRed);      // top edge
  EXPECT_EQ(Pixel(r - 7, t), kRed);      // left corner
  EXPECT_EQ(Pixel(r - 2, t + 5), kRed);  // lower corner
  EXPECT_EQ(Pixel(r - 6, t + 4), kBack);
  EXPECT_EQ(Pixel(r - 1, t), kBack);
  grid->AddColorComment(kCol, kRow, "note", kBlue);
  Paint();
  EXPECT_EQ(Pixel(r - 3, t + 1), kBlue);
  grid->ControlLook()->SetCommentColor(clNone);
  Paint();
  EXPECT_EQ(Pixel(r - 3, t + 1), kBack);
}

TEST_F(GraphicTest, ThemedCheckBoxNeedsVersionSixCommonControls) {
  grid->AddCheckBox(kCol, kRow, true, false);
  auto image = [&](TGridControlStyle s) {
    grid->ControlLook()->SetControlStyle(s);
    Paint();
    return CellPixels();
  };
  EXPECT_NE(image(csTheme), image(csClassic));

  const DWORD saved = SystemIdentity().CommonControlsMajor;
  SystemIdentity().CommonControlsMajor = 5;
  delete grid;
  grid = new TDavEvadurAvuz(form);
  SystemIdentity().CommonControlsMajor = saved;
  grid->SetParent(form);
  grid->SetDefaultColWidth(120);
  grid->SetDefaultRowHeight(30);
  grid->OnCustomCellDraw = [this](TObject*, TCanvas* C, int ACol, int ARow, TGridDrawState S, const TRect& R, bool) {
    if (ACol != kCol || ARow != kRow) return;
    cell = R;
    C->Brush()->SetColor(kBack);
    C->FillRect(R);
    grid->DrawGraphicLayer(C, ACol, ARow, R, S, grid->GetCellGraphic(kCol, kRow), va, ha, textWidth);
  };
  grid->AddCheckBox(kCol, kRow, true, false);
  EXPECT_EQ(image(csTheme), image(csClassic));
}

TEST_F(GraphicTest, RadioGroupItemsFollowEachOtherAndTheirCaptions) {
  TStringList options;
  options.Add("A");
  options.Add("BBB");
  options.Add("C");
  grid->ControlLook()->SetControlStyle(csWinXP);
  grid->AddRadio(kCol, kRow, 1, 1, &options);
  grid->SetRowHeights(kRow, 60);
  Paint();
  constexpr TColor kBorder = 0x80511C;  // the glyph's outline
  auto firstBorderX = [&](int y, int from) {
    for (int x = from; x < cell.Right; ++x)
      if (Pixel(x, y) == kBorder) return x;
    return -1;
  };
  const TRect R{cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
  const int y = R.Top + (R.Height() - 16) / 2 + 8;
  TCanvas* c = grid->Canvas();
  c->Font()->Assign(grid->Font());
  const int q1 = c->TextWidth("A"), q2 = q1 + c->TextWidth("BBB");
  // Each glyph's circle starts 1 pixel into its 16-pixel square.
  EXPECT_EQ(firstBorderX(y, R.Left), R.Left + 2 + 1);
  EXPECT_EQ(firstBorderX(y, R.Left + 2 + 16), R.Left + 2 + 16 + q1 + 1);
  EXPECT_EQ(firstBorderX(y, R.Left + 2 + 32 + q1), R.Left + 2 + 32 + q2 + 1);
  // Item 2 (index 1) is the checked one: its centre holds the dot.
  constexpr TColor kDot = 0x21A121;
  EXPECT_NE(Pixel(R.Left + 2 + 8, y), kDot);
  EXPECT_EQ(Pixel(R.Left + 2 + 16 + q1 + 8, y), kDot);

  // One above the other: rows max(16, text height) apart from R.top + 2.
  grid->AddRadio(kCol, kRow, 0, -1, &options);
  grid->SetCellEx(kCol, kRow, "C");
  Paint();
  const int h = std::max(16, c->TextHeight("gh"));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const int cy = R.Top + i * h + 2 + 8;
    EXPECT_EQ(Pixel(R.Left + 2 + 8, cy) == kDot, i == 2);  // index -1: the caption equal to the text
  }
}

TEST_F(GraphicTest, RadioButtonInAnEmptyCellIsCheckedOnlyByItsState) {
  grid->ControlLook()->SetControlStyle(csWinXP);
  grid->AddRadioButton(kCol, kRow, false);
  Paint();
  const auto off = CellPixels();
  grid->SetRadioButtonState(kCol, kRow, true);
  Paint();
  EXPECT_NE(CellPixels(), off);
}

TEST_F(GraphicTest, ButtonRemembersWhereItWasDrawn) {
  grid->AddButton(kCol, kRow, 40, 18, "Go", haRight, vaBottom);
  Paint();
  TCellGraphic* g = grid->GetCellGraphic(kCol, kRow);
  const int x = cell.Width() - 1 - 1 - 40, y = cell.Height() - 1 - 1 - 18;
  EXPECT_EQ(g->CellValue, x + 65536.0 * y);
  const TRect d = Drawn();
  EXPECT_EQ(d.Left, cell.Left + x);
  EXPECT_EQ(d.Bottom, cell.Top + y + 18);
}

TEST_F(GraphicTest, ButtonWithThemesSwitchedOffDrawsOnlyItsCaption) {
  grid->AddButton(kCol, kRow, 60, 20, "", haLeft, vaTop);
  SetThemeActive(false);
  Paint();
  const TRect none = Drawn();
  SetThemeActive(true);
  EXPECT_GT(none.Left, none.Right);  // nothing drawn
  Paint();
  EXPECT_EQ(Drawn().Width(), 60);
}

// An application object drawn through ICellGraphic.
class TDot : public TObject, public ICellGraphic {
public:
  void Draw(TCanvas* Canvas, TRect& R, int ACol, int ARow, bool, TDavEvadurAvuz*) override {
    drawn = R;
    col = ACol;
    row = ARow;
    Canvas->Brush()->SetColor(kRed);
    Canvas->FillRect(TRect{R.Left, R.Top, R.Left + 4, R.Top + 4});
  }
  int CellWidth() override { return 9; }
  int CellHeight() override { return 7; }
  bool IsBackground() override { return false; }
  TRect drawn{};
  int col = -1, row = -1;
};

TEST_F(GraphicTest, InterfacedObjectMeasuresAndDrawsItself) {
  TDot dot;
  grid->AddInterfacedCell(kCol, kRow, &dot);
  int w = 0, h = 0;
  bool beside = false;
  TCellHAlign hal;
  TCellVAlign val;
  grid->GetGraphicDetails(kCol, kRow, w, h, beside, hal, val);
  EXPECT_EQ(w, 9);
  EXPECT_EQ(h, 7);
  EXPECT_TRUE(beside);
  Paint();
  // The layer's inset rectangle widened by 1 at the left and top.
  EXPECT_EQ(dot.drawn, (TRect{cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1}));
  EXPECT_EQ(dot.col, kCol);
  EXPECT_EQ(Pixel(cell.Left + 1, cell.Top + 1), kRed);
  // An object without the interface is skipped.
  TObject plain;
  grid->AddInterfacedCell(kCol, kRow, &plain);
  Paint();
  EXPECT_EQ(Pixel(cell.Left + 1, cell.Top + 1), kBack);
}

// A background object fills the cell once, before the text, in the cell rectangle widened by 1.
class TBackdrop : public TObject, public ICellGraphic {
public:
  void Draw(TCanvas* Canvas, TRect& R, int, int, bool, TDavEvadurAvuz*) override {
    ++draws;
    drawn = R;
    Canvas->Brush()->SetColor(kRed);
    Canvas->FillRect(R);
  }
  int CellWidth() override { return 0; }
  int CellHeight() override { return 0; }
  bool IsBackground() override { return true; }
  TRect drawn{};
  int draws = 0;
};

TEST_F(GridTest, BackgroundObjectLiesBeneathTheTextAndIsDrawnOnce) {
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetDefaultColWidth(120);
  grid->SetDefaultRowHeight(30);
  TBackdrop back;
  grid->AddInterfacedCell(1, 1, &back);
  grid->SetCellEx(1, 1, "WWWW");
  grid->Font()->SetColor(clBlack);
  grid->Invalidate();
  const TRect cell = grid->CellRect(1, 1);
  auto pixel = [&](int X, int Y) { return TColor(WindowPixel(grid->Handle(), X, Y)); };
  pixel(0, 0);
  EXPECT_EQ(back.draws, 1);
  EXPECT_LE(back.drawn.Left, cell.Left);
  EXPECT_LE(back.drawn.Top, cell.Top);
  // The text was drawn over the fill.
  int dark = 0;
  for (int x = cell.Left; x < cell.Right; ++x)
    for (int y = cell.Top; y < cell.Bottom; ++y) dark += pixel(x, y) == clBlack;
  EXPECT_GT(dark, 0);
  EXPECT_EQ(pixel(cell.Right - 4, cell.Bottom - 4), kRed);
}

TEST(CellGraphicPictureSize, FollowsTheStretchModeLessThePadding) {
  struct Case {
    int w, h;
    TStretchMode mode;
    int ew, eh;
  };
  const std::vector<Case> cases = {
      {100, 50, Stretch, 56, 56},         {100, 50, StretchWithAspectRatio, 56, 28},
      {100, 50, ShrinkWithAspectRatio, 56, 28}, {100, 50, Shrink, 56, 56},
      {100, 50, noStretch, 100, 50},      {20, 10, ShrinkWithAspectRatio, 20, 10},
      {20, 10, StretchWithAspectRatio, 56, 28}, {20, 10, Shrink, 20, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " mode " << c.mode);
    TPicture pic;
    pic.SetGraphic(Solid(1, kRed).get());
    pic.GetGraphic()->SetWidth(c.w);
    pic.GetGraphic()->SetHeight(c.h);
    TCellGraphic g;
    g.CellType = ctPicture;
    g.CellRef.Object = &pic;
    g.CellAngle = c.mode;
    g.CellIndex = 4;
    int w = 60, h = 60;
    g.GetPictureSize(w, h, false);
    EXPECT_EQ(w, c.ew);
    EXPECT_EQ(h, c.eh);
  }
}

// Every kind in every control style, one grid per style side by side, for looking at: set
// LORM_GRID_PNG_DIR.
TEST_F(GraphicTest, SheetOfEveryKind) {
  TImageList images(form);
  images.SetWidth(16);
  images.SetHeight(16);
  for (TColor c : {kRed, kBlue, TColor(0x00A000)}) images.Add(Solid(16, c).get(), nullptr);
  // A picture on a magenta ground (its top-left pixel) that transparent drawing drops.
  auto framed = [](int Size, TColor C) {
    auto b = Solid(Size, 0xFF00FF);
    b->Canvas()->Brush()->SetColor(C);
    b->Canvas()->FillRect(TRect{2, 2, Size - 2, Size - 2});
    return b;
  };
  auto bmp = framed(14, 0x0080FF);
  auto pic = std::make_unique<TPicture>();
  pic->SetGraphic(Solid(40, 0x804000).get());
  TStringList options;
  options.Add("One");
  options.Add("Two");
  const char* names[] = {"classic", "flat", "winxp", "borland", "zad", "glyph", "theme"};
  const char* rows[] = {"check on",  "check off", "check dis", "radio btn", "radio grp", "bitmap",
                        "images",    "progress",  "pie",       "range",     "gauge",     "comment",
                        "button",    "shape",     "rating",    "picture",   "rotated",   "bit button"};
  const int n = 19;
  const std::vector<TGridControlStyle> styles{csClassic, csFlat, csWinXP, csBorland, csZAD, csGlyph, csTheme};
  form->SetBounds(0, 0, 1270, 680);
  grid->SetVisible(false);
  auto glyph = framed(15, 0x00A000);
  for (int k = 0; k < 7; ++k) {
    auto* g = new TDavEvadurAvuz(form);
    g->SetParent(form);
    g->SetColCount(2);
    g->SetRowCount(n);
    g->SetDefaultRowHeight(26);
    g->SetColWidths(0, 64);
    g->SetColWidths(1, 104);
    g->SetBounds(k * 178, 0, 176, 640);
    g->SetRowHeights(17, 60);
    g->SetGridImages(&images);
    g->ControlLook()->SetControlStyle(styles[k]);
    g->ControlLook()->SetCheckedGlyph(glyph.get());
    g->ControlLook()->SetRadioOnGlyph(glyph.get());
    g->SetCellEx(1, 0, names[k]);
    for (int r = 1; r < n; ++r) g->SetCellEx(0, r, rows[r - 1]);
    g->AddCheckBox(1, 1, true, false);
    g->AddCheckBox(1, 2, false, false);
    g->AddCheckBox(1, 3, true, false);
    g->GetCellProperties(1, 3)->ReadOnly = true;
    g->AddRadioButton(1, 4, true);
    g->AddRadio(1, 5, 1, 0, &options);
    g->AddBitmap(1, 6, bmp.get(), true, haCenter, vaCenter);
    g->AddMultiImage(1, 7, 0, haLeft, vaCenter);
    for (int i = 0; i < 3; ++i) g->GetCellImages(1, 7)->Add(i);
    g->AddProgress(1, 8, 0x00A000, clWhite);
    g->SetCellEx(1, 8, IntToStr(k * 15));
    g->AddProgressPie(1, 9, 0x00A000, k * 15);
    g->AddRangeIndicator(1, 10, 10, kRed, 0x00A000, true);
    g->SetCellEx(1, 10, IntToStr(k - 3));
    g->AddDizProgress(1, 11, 0, 6);
    g->SetCellEx(1, 11, IntToStr(k));
    g->AddColorComment(1, 12, "note", k % 2 ? clNone : kBlue);
    g->AddButton(1, 13, 70, 20, "Press", haCenter, vaCenter);
    g->AddShape(1, 14, TCellShape(k + 1), 0x00C0FF, kBlue, haCenter, vaCenter);
    g->AddRating(1, 15, 5, 0x00C0FF, 0xC0C0C0);
    g->SetCellEx(1, 15, FloatToStr(k * 0.7 + 0.6));
    g->AddPicture(1, 16, pic.get(), false, StretchWithAspectRatio, 4, haCenter, vaCenter);
    g->AddRotated(1, 17, 45 * (k % 3), "Turned");
    g->AddBitButton(1, 18, 90, 22, "Glyph", bmp.get(), haCenter, vaCenter);
    g->ControlLook()->SetProgressXP(true);
    g->OnCustomCellDraw = [g](TObject*, TCanvas* C, int ACol, int ARow, TGridDrawState S, const TRect& R, bool) {
      TCellGraphic* cg = g->GetCellGraphic(ACol, ARow);
      if (!cg || ACol == 0) return;
      C->Brush()->SetColor(g->Color());
      C->FillRect(R);
      g->DrawGraphicLayer(C, ACol, ARow, R, S, cg, vtaTop, taLeftJustify, 0);
    };
  }
  EXPECT_NE(WindowPixel(form->Handle(), 10, 10), CLR_INVALID);
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / "cell_graphics.png").string());
}
// Node buttons of each type and sort marks, drawn into grids side by side.
TEST_F(GraphicTest, NodeButtonsAndSortMarks) {
  grid->SetVisible(false);
  const std::vector<TNodeType> types{cnFlat, cn3D, cnLeaf, cnXP, cnGlyph};
  std::vector<TDavEvadurAvuz*> grids;
  for (size_t k = 0; k < types.size(); ++k) {
    auto* g = new TDavEvadurAvuz(form);
    g->SetParent(form);
    g->SetBounds(int(k) * 110, 0, 108, 200);
    g->SetColCount(2);
    g->SetRowCount(5);
    g->SetColWidths(0, 50);
    g->SetColWidths(1, 50);
    g->CellNode()->SetNodeType(types[k]);
    for (int r = 1; r < 5; ++r) {
      g->AddCheckBox(0, r, false, false);  // any graphic, turned into a node below
      TCellGraphic* n = g->GetCellGraphic(0, r);
      n->CellType = ctNode;
      n->CellBoolean = r % 2 == 1;  // collapsed
      g->GetCellProperties(0, r)->NodeLevel = r <= 2 ? 1 : 2;
    }
    g->SortSettings()->IndexShow = k % 2 == 0;
    g->SortIndexList()->AddIndex(1, k % 2 == 0);
    g->SortSettings()->Direction = k % 2 ? sdDescending : sdAscending;
    g->OnCustomCellDraw = [g](TObject*, TCanvas* C, int ACol, int ARow, TGridDrawState S, const TRect& R, bool) {
      if (ARow == 0 && ACol == 1) {
        C->Brush()->SetColor(g->FixedColor());
        C->FillRect(R);
        g->DrawSortIndicator(C, 1, R.Left + 20, R.Top + 11);
      }
      TCellGraphic* cg = g->GetCellGraphic(ACol, ARow);
      if (cg && ACol == 0 && ARow > 0) {
        C->Brush()->SetColor(g->FixedColor());
        C->FillRect(R);
        g->DrawGraphicLayer(C, ACol, ARow, R, S, cg, vtaTop, taLeftJustify, 0);
      }
    };
    grids.push_back(g);
  }
  TDavEvadurAvuz* xp = grids[3];
  const TRect r1 = xp->CellRect(0, 1), r2 = xp->CellRect(0, 2);
  // Level 1: the glyph starts at 12 - 6 - 4 + 4 = 6, centred on the row; its top edge
  // starts 1 pixel in (rounded corner).
  constexpr TColor kNodeBorder = 0xBD957A;
  const int mid1 = r1.Top + (r1.Height() - 1) / 2, mid2 = r2.Top + (r2.Height() - 1) / 2;
  EXPECT_EQ(TColor(WindowPixel(xp->Handle(), 6 + 1, mid1 - 5)), kNodeBorder);
  EXPECT_EQ(TColor(WindowPixel(xp->Handle(), 6 + 4, mid1 - 5 + 2)), clBlack);  // collapsed: plus
  EXPECT_NE(TColor(WindowPixel(xp->Handle(), 6 + 4, mid2 - 5 + 2)), clBlack);  // expanded: minus only
  EXPECT_EQ(TColor(WindowPixel(xp->Handle(), 6 + 2, mid2 - 5 + 4)), clBlack);
  // Indexed marks in the index colour: ascending points up, descending down.
  const TRect h0 = grids[0]->CellRect(1, 0);
  EXPECT_EQ(TColor(WindowPixel(grids[0]->Handle(), h0.Left + 20 - 3, h0.Top + 11 + 7)), TColor(0x00FFFF));
  grids[2]->SortIndexList()->Clear();
  grids[2]->SortIndexList()->AddIndex(1, false);
  grids[2]->Invalidate();
  EXPECT_EQ(TColor(WindowPixel(grids[2]->Handle(), h0.Left + 20 - 4, h0.Top + 11 - 4)), TColor(0x00FFFF));
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / "cell_nodes.png").string());
}

}  // namespace
