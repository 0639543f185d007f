// The helper lists and the small grid controls: text forms of the integer and sort-key
// lists, the control and line lists, the cell button's states and looks, the arrow
// windows' shapes and the file picture.
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "GridTestSupport.h"
#include "grid/RavIze.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/backend/Headless.h"
#include "platform/win/WinUser.h"

namespace {

TPoint Pt(int X, int Y) { return TPoint{X, Y}; }

TEST(IntListTest, TextFormRoundTripsAndReportsChanges) {
  TIntList list;
  int changes = 0;
  list.OnChange = [&](TObject*, int, int) { ++changes; };
  EXPECT_EQ(list.GetStrValue(), "");
  list.Add(3);
  list.Add(-1);
  list.Insert(2, 12);
  EXPECT_EQ(list.GetStrValue(), "3,-1,12");
  EXPECT_EQ(changes, 2);  // Insert reports nothing
  list.SetStrValue("4, 5 6");
  EXPECT_EQ(list.GetStrValue(), "4,5,6");
  list.SetStrValue("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.SetStrValue("1,x,2"), EConvertError);
  EXPECT_EQ(list.GetStrValue(), "1");
  EXPECT_THROW(list.GetInteger(5), EListError);
  list.DeleteValue(1);
  EXPECT_FALSE(list.HasValue(1));
}

TEST(SortIndexListTest, KeysRoundTripThroughTheirText) {
  TSortIndexList keys;
  keys.AddIndex(1, true);
  keys.AddIndex(4, false);
  EXPECT_EQ(keys.SaveToString(), "u1;d4");
  TSortIndexList back;
  back.LoadFromString("u1;d4");
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetSortColumns(0), 1);
  EXPECT_TRUE(back.GetSortDirections(0));
  EXPECT_EQ(back.GetSortColumns(1), 4);
  EXPECT_FALSE(back.GetSortDirections(1));
}

TEST(SortIndexListTest, LoadingSkipsShortItemsAndNeverFails) {
  TSortIndexList keys;
  keys.LoadFromString("u1;;x;D3");
  ASSERT_EQ(keys.Count(), 2);
  EXPECT_EQ(keys.GetSortColumns(1), 3);
  EXPECT_FALSE(keys.GetSortDirections(1));
  keys.LoadFromString("u$1F;u7x;uq");
  EXPECT_EQ(keys.SaveToString(), "u31;u7;u0");
  keys.ToggleIndex(99);
  EXPECT_EQ(keys.SaveToString(), "u31;u7;u0");
  keys.ToggleIndex(7);
  EXPECT_EQ(keys.FindIndex(7), 1);
  EXPECT_FALSE(keys.GetSortDirections(1));
  keys.SetSortColumns(1, 9);
  EXPECT_EQ(keys.SaveToString(), "u31;d9;u0");
}

TEST(FileStringListTest, WritesLinesAndReadsThemBack) {
  TFileStringList lines;
  lines.Write("a");
  lines.Write("b");
  lines.WriteLn("c");
  lines.WriteLn("d");
  lines.Reset();
  std::string s;
  lines.ReadLn(s);
  EXPECT_EQ(s, "abc");
  EXPECT_FALSE(lines.GetEOF());
  lines.ReadLn(s);
  EXPECT_EQ(s, "d");
  EXPECT_TRUE(lines.GetEOF());
  EXPECT_THROW(lines.ReadLn(s), EListError);
}

using SmallControlsTest = GridTest;

TEST_F(SmallControlsTest, ControlListForgetsItemsButNotControls) {
  TControlList list;
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  EXPECT_EQ(list.AddControl(2, 3, edit), 0);
  EXPECT_EQ(list.ControlIndex(2, 3), 0);
  EXPECT_EQ(list.ControlIndex(3, 2), -1);
  EXPECT_TRUE(list.HasHandle(edit->Handle()));
  list.RemoveControl(0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(edit->Parent(), form);  // still alive
  EXPECT_THROW(list.RemoveControl(0), EListError);
}

TEST_F(SmallControlsTest, NewCellButtonDefaults) {
  auto* b = new TVezIdidButton(form);
  EXPECT_EQ(b->Width(), 22);
  EXPECT_EQ(b->Height(), 23);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(b->Margin(), -1);
  EXPECT_EQ(b->Spacing(), 4);
  EXPECT_EQ(b->ColorHot(), TColor(RGB(199, 199, 202)));
  EXPECT_EQ(b->ColorChecked(), clGray);
  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), -1);
  b->SetLook(7);
  EXPECT_FALSE(b->Rounded());
  b->SetLook(0);
  EXPECT_TRUE(b->Rounded());
  EXPECT_EQ(b->ColorHot(), TColor(0xFAFCFC));
}

TEST_F(SmallControlsTest, GlyphGivesAGrayDisabledCopy) {
  auto* b = new TVezIdidButton(form);
  TBitmap glyph(2, 1);
  glyph.Canvas()->SetPixel(0, 0, clWhite);
  glyph.Canvas()->SetPixel(1, 0, clBlack);
  b->SetGlyph(&glyph);
  EXPECT_EQ(ColorToRGB(b->GlyphDisabled()->Canvas()->GetPixel(0, 0)), TColor(RGB(223, 223, 223)));
  EXPECT_EQ(ColorToRGB(b->GlyphDisabled()->Canvas()->GetPixel(1, 0)), TColor(RGB(96, 96, 96)));
}

TEST_F(SmallControlsTest, ButtonsDownStatesAndGroups) {
  auto* a = new TVezIdidButton(form);
  auto* b = new TVezIdidButton(form);
  a->SetParent(form);
  b->SetParent(form);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());  // an ungrouped push button cannot stay down
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  a->SetDown(false);
  EXPECT_TRUE(a->Down());  // AllowAllUp is off
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  auto* check = new TVezIdidButton(form);
  check->SetParent(form);
  check->SetStyle(tasCheck);
  check->SetBounds(450, 300, 22, 23);
  TRobot robot;
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  robot.Click(form->Handle(), 460, 310);
  EXPECT_TRUE(check->Down());
  robot.Click(form->Handle(), 460, 310);
  EXPECT_FALSE(check->Down());
  EXPECT_EQ(clicks, 2);
  // Released outside: no click.
  robot.MouseDown(form->Handle(), 460, 310);
  robot.MoveTo(form->Handle(), 540, 350);
  robot.MouseUp(form->Handle(), 540, 350);
  EXPECT_EQ(clicks, 2);
}

struct ArrowCase {
  TArrowDirection direction;
  TPoint inside;   // near the tip
  TPoint outside;
  int tipEdge;  // the box edge the tip lies on: top, bottom, right or left
};

TEST_F(SmallControlsTest, ArrowWindowsTakeTheirPolygon) {
  const ArrowCase cases[] = {
      {arrUp, {5, 1}, {0, 8}, 0}, {arrDown, {5, 6}, {0, 8}, 8}, {arrLeft, {6, 5}, {8, 0}, 8}, {arrRight, {2, 5}, {0, 0}, 0}};
  for (const ArrowCase& c : cases) {
    SCOPED_TRACE(c.direction);
    auto* arrow = new TArrowWindow(grid, c.direction);
    EXPECT_EQ(arrow->Color(), TColor(RGB(0, 255, 0)));
    EXPECT_FALSE(arrow->Visible());
    EXPECT_EQ(arrow->Shape().size(), 7u);
    arrow->SetBounds(0, 0, 12, 12);
    arrow->HandleNeeded();
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(arrow->Handle(), rgn), ERROR);
    EXPECT_TRUE(PtInRegion(rgn, c.inside.X, c.inside.Y));
    EXPECT_FALSE(PtInRegion(rgn, c.outside.X, c.outside.Y));
    RECT box{};
    GetRgnBox(rgn, &box);
    int edge = c.direction == arrUp ? box.top : c.direction == arrDown ? box.bottom
             : c.direction == arrLeft ? box.right : box.left;
    EXPECT_EQ(edge, c.tipEdge);
    DeleteObject(rgn);
  }
  EXPECT_EQ(TArrowWindow(grid, arrUp).Shape().front(), Pt(5, 0));
}

// Over the grid, the arrow is its polygon alone: outside it the mouse reaches the grid
// and the screen and the arrow's snapshot show the grid.
TEST_F(SmallControlsTest, ArrowWindowShowsAndTakesTheMouseOnlyInsideItsPolygon) {
  auto* arrow = new TArrowWindow(grid, arrUp);
  arrow->SetBounds(30, 30, 11, 10);  // the grid's coordinates
  arrow->SetVisible(true);
  UpdateWindow(arrow->Handle());
  RECT a;
  GetWindowRect(arrow->Handle(), &a);
  POINT o{a.left, a.top};
  RECT g;
  GetWindowRect(grid->Handle(), &g);
  ASSERT_TRUE(a.left >= g.left && a.top >= g.top && a.right <= g.right && a.bottom <= g.bottom);
  EXPECT_EQ(WindowFromPoint(POINT{o.x, o.y}), grid->Handle());
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 5, o.y + 3}), arrow->Handle());
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 1, o.y + 8}), grid->Handle());
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 5, o.y + 8}), arrow->Handle());

  std::filesystem::path png = std::filesystem::temp_directory_path() / ("lorm_arrow_" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(SaveWindowPng(arrow->Handle(), png.string()));
  cairo_surface_t* shot = cairo_image_surface_create_from_png(png.string().c_str());
  std::filesystem::remove(png);
  ASSERT_EQ(cairo_surface_status(shot), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(shot), 11);
  ASSERT_EQ(cairo_image_surface_get_height(shot), 10);
  POINT polygon[] = {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
  HRGN inside = CreatePolygonRgn(polygon, 7, WINDING);
  const unsigned char* data = cairo_image_surface_get_data(shot);
  int stride = cairo_image_surface_get_stride(shot);
  int green = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 11; ++x) {
      std::uint32_t v;
      std::memcpy(&v, data + y * stride + x * 4, 4);
      bool isGreen = (v & 0xFFFFFF) == 0x00FF00;
      green += isGreen;
      EXPECT_EQ(isGreen, bool(PtInRegion(inside, x, y))) << x << "," << y;
      EXPECT_EQ(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF), ScreenPixel(o.x + x, o.y + y)) << x << "," << y;
    }
  EXPECT_GT(green, 20);
  DeleteObject(inside);
  cairo_surface_destroy(shot);

  // Freed while shown, it leaves the grid whole on the screen.
  delete arrow;
  EXPECT_EQ(WindowFromPoint(POINT{o.x + 5, o.y + 3}), grid->Handle());
  POINT local{o.x + 5, o.y + 3};
  ScreenToClient(grid->Handle(), &local);
  EXPECT_EQ(ScreenPixel(o.x + 5, o.y + 3), WindowPixel(grid->Handle(), local.x, local.y));
  EXPECT_NE(ScreenPixel(o.x + 5, o.y + 3), COLORREF(RGB(0, 255, 0)));
}

TEST_F(SmallControlsTest, FilePictureLoadsOnceAndDrawsNothingWhenMissing) {
  namespace fs = std::filesystem;
  fs::path file = fs::temp_directory_path() / ("lorm_file_picture_" + std::to_string(::getpid()) + ".bmp");
  {
    TBitmap bmp(3, 2);
    bmp.SaveToFile(file.string());
  }
  TFilePicture picture;
  picture.SetFileName(file.string());
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  fs::remove(file);
  // Drawing uses what was loaded; the file is not read again.
  TBitmap target(10, 10);
  EXPECT_NO_THROW(picture.DrawPicture(target.Canvas(), TRect{0, 0, 10, 10}));
  TFilePicture copy;
  copy.Assign(&picture);
  EXPECT_EQ(copy.Filename(), file.string());
  EXPECT_EQ(copy.Width(), 3);
  TFilePicture missing;
  EXPECT_ANY_THROW(missing.SetFileName(file.string()));
  EXPECT_EQ(missing.Width(), 0);
  EXPECT_NO_THROW(missing.DrawPicture(target.Canvas(), TRect{0, 0, 10, 10}));
}

TEST(FileVersionTest, UnknownFilesHaveNoVersion) {
  EXPECT_EQ(GetVersionOfFile(""), -1);
  EXPECT_EQ(GetVersionOfFile("/no/such/file.dll"), -1);
}

// ---- option classes -------------------------------------------------------------------

TEST_F(SmallControlsTest, OptionObjectsCopyEveryPublishedValueFromTheirOwnClassOnly) {
  TNavigation source;
  source.TabAdvanceDirection = adTopBottom;
  source.SetAdvanceDirection(adLeftRight);
  source.KeepScrollOnSort = true;
  int changes = 0;
  grid->Navigation()->OnChange = [&](TObject*) { ++changes; };
  grid->Navigation()->Assign(&source);
  EXPECT_EQ(grid->Navigation()->TabAdvanceDirection, adTopBottom);
  EXPECT_EQ(grid->Navigation()->AdvanceDirection(), adLeftRight);
  EXPECT_TRUE(grid->Navigation()->KeepScrollOnSort);
  EXPECT_EQ(changes, 0);
  grid->Navigation()->Assign(grid->ColumnSize());  // another class: ignored
  EXPECT_TRUE(grid->Navigation()->KeepScrollOnSort);
  grid->Navigation()->SetAdvanceDirection(adTopBottom);
  EXPECT_EQ(changes, 1);

  TMouseActions actions(nullptr);
  actions.SizeFixedRow = true;
  actions.SetHotmailRowSelect(true);
  actions.SetEditOnDblClickOnly(true);
  grid->SetOptions(grid->Options() + goEditing);
  grid->MouseActions()->Assign(&actions);
  EXPECT_TRUE(grid->MouseActions()->SizeFixedRow);
  EXPECT_TRUE(grid->MouseActions()->HotmailRowSelect());
  EXPECT_TRUE(grid->MouseActions()->EditOnDblClickOnly());
  EXPECT_TRUE(grid->Options().Contains(goEditing));  // Assign edits no options

  THTMLSettings html;
  html.ExportImages = false;
  grid->HTMLSettings()->Assign(&html);
  EXPECT_FALSE(grid->HTMLSettings()->ExportImages);
  EXPECT_THROW(grid->PrintSettings()->Assign(&html), EInvalidCast);
  EXPECT_ANY_THROW(grid->SizeWhileTyping()->Assign(&html));
}

TEST_F(SmallControlsTest, EditOnDblClickOnlyRemovesEditingOnce) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->MouseActions()->SetEditOnDblClickOnly(true);
  EXPECT_FALSE(grid->Options().Contains(goEditing));
  grid->MouseActions()->SetEditOnDblClickOnly(false);
  EXPECT_FALSE(grid->Options().Contains(goEditing));
}

TEST_F(SmallControlsTest, NodeIndentRepaintsOnlyOnChange) {
  grid->HandleNeeded();
  UpdateWindow(grid->Handle());
  grid->CellNode()->SetNodeIndent(12);
  EXPECT_FALSE(GetUpdateRect(grid->Handle(), nullptr, FALSE));
  grid->CellNode()->SetNodeIndent(14);
  EXPECT_TRUE(GetUpdateRect(grid->Handle(), nullptr, FALSE));
}

TEST_F(SmallControlsTest, FilterFindsOrAddsTheConditionOfAColumn) {
  TFilterData* d = grid->Filter()->GetColFilter(3);
  EXPECT_EQ(grid->Filter()->Count(), 1);
  EXPECT_TRUE(d->CaseSensitive);
  EXPECT_EQ(d->Operation, foSHORT);
  EXPECT_EQ(grid->Filter()->GetColFilter(3), d);
  EXPECT_EQ(grid->Filter()->Count(), 1);
}

}  // namespace

namespace {

TEST_F(SmallControlsTest, ButtonAndPopupButtonPaintTheirFaceAndCaption) {
  auto* b = new TVezIdidButton(form);
  b->SetParent(form);
  b->SetBounds(420, 20, 90, 24);
  b->SetCaption("Найти");
  b->SetLook(2);
  auto* p = new TPopupButton(form);
  p->SetParent(form);
  p->SetBounds(420, 60, 120, 22);
  p->SetGradFrom(0xFDEADA);
  p->SetGradTo(0xE4AE88);
  p->SetGradMirrorFrom(clNone);
  p->SetGradMirrorTo(clNone);
  p->SetCaption("<b>Плотность</b>");
  p->Show();
  form->Repaint();
  // The flat face is the look's gradient: lighter at the top than at the bottom.
  COLORREF top = WindowPixel(form->Handle(), 425, 22);
  COLORREF bottom = WindowPixel(form->Handle(), 425, 41);
  EXPECT_NE(top, bottom);
  EXPECT_GT(GetRValue(top) + GetGValue(top), GetRValue(bottom) + GetGValue(bottom));
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
    SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / "small_controls.png").string());
    SaveWindowPng(p->Handle(), (std::filesystem::path(dir) / "popup_button.png").string());
  }
}

}  // namespace

namespace {

TEST_F(SmallControlsTest, DropDownPartFiresItsEventWithoutPressingTheButton) {
  auto* b = new TVezIdidButton(form);
  b->SetParent(form);
  b->SetBounds(450, 300, 60, 23);
  b->SetDropDownButton(true);
  int drops = 0, clicks = 0;
  b->OnDropDown = [&](TObject*) { ++drops; };
  b->OnClick = [&](TObject*) { ++clicks; };
  TRobot robot;
  robot.MouseDown(form->Handle(), 450 + 55, 310);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(b->State(), bsUp);
  robot.MouseUp(form->Handle(), 450 + 55, 310);
  EXPECT_EQ(clicks, 0);
  robot.Click(form->Handle(), 450 + 10, 310);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(drops, 1);
}

}  // namespace

namespace {

struct LayoutCase {
  TButtonLayout layout;
  int margin, spacing;
  bool caption;
};

TEST_F(SmallControlsTest, ButtonLayoutPlacesGlyphAndCaption) {
  auto* b = new TVezIdidButton(form);
  TBitmap glyph(16, 16);
  b->SetGlyph(&glyph);
  TBitmap surface(100, 40);
  TCanvas* c = surface.Canvas();
  const std::string caption = "Find";
  TRect calc{0, 0, 90, 0};
  std::string t = caption;
  c->TextRect(calc, t, TTextFormat{tfCalcRect, tfCenter});
  const int tw = calc.Right - calc.Left, th = calc.Bottom - calc.Top;
  const TRect client{5, 2, 95, 26};  // 90 x 24
  const LayoutCase cases[] = {
      {blGlyphLeft, -1, 4, true}, {blGlyphLeft, -1, -1, true}, {blGlyphRight, 3, -1, true},
      {blGlyphTop, 2, 1, true},   {blGlyphLeft, -1, 4, false},
  };
  for (const LayoutCase& k : cases) {
    SCOPED_TRACE(std::to_string(k.layout) + " " + std::to_string(k.margin) + " " + std::to_string(k.spacing));
    TPoint g;
    TRect r;
    b->CalcButtonLayout(c, client, Pt(1, 1), k.caption ? caption : "", k.layout, k.margin, k.spacing, g, r, 0);
    int text = k.caption ? tw : 0;
    int spacing = k.caption ? k.spacing : 0;
    int margin = k.margin;
    if (k.layout == blGlyphTop) {
      EXPECT_EQ(g, Pt(5 + 1 + (90 - 16 + 1) / 2, 2 + 1 + margin));
      EXPECT_EQ(r.Top, g.Y + 16 + spacing);
      continue;
    }
    if (margin == -1 && spacing == -1) margin = spacing = (90 - 16 - text) / 3;
    else if (margin == -1) margin = (90 - (16 + spacing + text) + 1) / 2;
    else if (spacing == -1) spacing = (90 - (margin + 16) - text) / 2;
    EXPECT_EQ(g.Y, 2 + 1 + (24 - 16 + 1) / 2);
    if (k.layout == blGlyphLeft) {
      EXPECT_EQ(g.X, 5 + 1 + margin);
      EXPECT_EQ(r.Left, g.X + 16 + spacing);
    } else {
      EXPECT_EQ(g.X, 5 + 1 + 90 - margin - 16);
      EXPECT_EQ(r.Left, g.X - spacing - text);
    }
    if (k.caption) {
      EXPECT_EQ(r.Top, 2 + 1 + (24 - th + 1) / 2);
    }
  }
}

}  // namespace

namespace {

// A grouped button that is down shows its checked face while the mouse is elsewhere, and its
// hot face while the mouse is over it.
TEST_F(SmallControlsTest, AGroupedButtonThatIsDownPaintsItsCheckedFace) {
  auto* b = new TVezIdidButton(form);
  b->SetParent(form);
  b->SetBounds(400, 100, 40, 24);
  b->SetColor(0xF0F0F0);
  b->SetColorChecked(0x00A000);
  b->SetGroupIndex(3);
  b->SetDown(true);
  auto* plain = new TVezIdidButton(form);  // another of the group, up
  plain->SetParent(form);
  plain->SetBounds(450, 100, 40, 24);
  plain->SetColor(0xF0F0F0);
  plain->SetColorChecked(0x00A000);
  plain->SetGroupIndex(3);
  form->Repaint();
  EXPECT_EQ(WindowPixel(form->Handle(), 420, 112), COLORREF(0x00A000));
  EXPECT_EQ(WindowPixel(form->Handle(), 402, 102), COLORREF(0x00A000));
  EXPECT_EQ(WindowPixel(form->Handle(), 470, 112), COLORREF(0xF0F0F0));
  // A checked gradient runs from top to bottom.
  b->SetColorCheckedTo(0x0000C0);
  form->Repaint();
  EXPECT_EQ(WindowPixel(form->Handle(), 420, 101), COLORREF(0x00A000));
  EXPECT_NE(WindowPixel(form->Handle(), 420, 121), COLORREF(0x00A000));
  b->SetColorCheckedTo(clNone);
  // The mouse over the flat button: the hot face, not the checked one.
  b->SetColorHot(0xC0C0FF);
  TRobot robot;
  robot.MoveTo(form->Handle(), 420, 112);
  form->Repaint();
  EXPECT_EQ(WindowPixel(form->Handle(), 420, 112), COLORREF(0xC0C0FF));
  robot.MoveTo(form->Handle(), 300, 300);
  form->Repaint();
  EXPECT_EQ(WindowPixel(form->Handle(), 420, 112), COLORREF(0x00A000));
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / "checked_button.png").string());
}

}  // namespace
