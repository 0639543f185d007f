// Tests of the tool bar: its list, layout and self-sizing, its painting, its buttons and
// its other items.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editors/DizSpin.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace {

using namespace VivIzizEzu;

// A ribbon page on a pager, as far as a tool bar sees it.
class TTestPage : public TCustomControl, public IToolBarPage {
  LORM_CLASS(TTestPage, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  TCustomVivIzizEzuStyler* PagerStylerInForce() const override { return nullptr; }
  bool OnPager() const override { return true; }
  bool PagePixel(int X, int Y, TColor& Color) const override {
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) {
      ++OutsideReads;
      return false;
    }
    Color = clRed;
    return true;
  }
  mutable int OutsideReads = 0;
};

// A dock panel, as far as a tool bar sees it.
class TTestDock : public TCustomControl, public IToolBarDockSite {
  LORM_CLASS(TTestDock, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  int AddToolBar(TDizCustomToolBar* ToolBar) override {
    if (Refuse) return -1;
    Bars.push_back(ToolBar);
    return 0;
  }
  void RemoveToolBar(TDizCustomToolBar* ToolBar) override {
    Bars.erase(std::remove(Bars.begin(), Bars.end(), ToolBar), Bars.end());
  }
  TCustomVivIzizEzuStyler* DockStylerInForce() const override { return Styler; }
  bool DockPixel(int, int, bool, TColor& Color) const override {
    Color = clLime;
    return true;
  }
  bool Refuse = false;
  std::vector<TDizCustomToolBar*> Bars;
  TCustomVivIzizEzuStyler* Styler = nullptr;
};

class ToolBarTest : public ::testing::Test {
protected:
  ToolBarTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(0, 0, 700, 300);
    form->SetColor(clWhite);
    form->Show();
  }
  ~ToolBarTest() override { Application->Restart(); }

  TVivIzizEzu* NewBar(TWinControl* parent = nullptr) {
    auto* bar = new TVivIzizEzu(form);
    bar->SetParent(parent ? parent : form);
    return bar;
  }
  template <class T>
  T* On(TWinControl* parent) {
    auto* c = new T(form);
    c->SetParent(parent);
    return c;
  }
  // The control's own pixels, painted off-screen.
  std::unique_ptr<TBitmap> Snapshot(TWinControl* c) {
    auto bmp = std::make_unique<TBitmap>(c->Width(), c->Height());
    c->PaintTo(bmp->Canvas()->GetHandle(), 0, 0);
    bmp->Canvas()->Refresh();
    return bmp;
  }
  void Tick(int ms) { scope.Backend().Advance(ms); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};

TColor Px(TBitmap* b, int x, int y) { return b->Canvas()->GetPixel(x, y) & 0xFFFFFF; }

// ---- list -------------------------------------------------------------------------------
TEST(ToolBarList, CheckedAccessRaisesTheListMessages) {
  TDbgList list;
  int a = 1, b = 2;
  list.Add(&a);
  EXPECT_EQ(list.GetItemsEx(0), &a);
  list.SetItemsEx(0, &b);
  EXPECT_EQ(list.GetItemsEx(0), &b);
  struct Case {
    int Index;
    bool Write;
    const char* Message;  // nullptr: the framework list's own error
  };
  const Case cases[] = {{1, false, "Index out of bounds in list read access"},
                        {5, true, "Index out of bounds in list write access"},
                        {-1, false, nullptr},
                        {-1, true, nullptr}};
  for (const Case& c : cases) {
    try {
      if (c.Write) {
        list.SetItemsEx(c.Index, &a);
      } else {
        list.GetItemsEx(c.Index);
      }
      ADD_FAILURE() << "no error for index " << c.Index;
    } catch (const Exception& e) {
      if (c.Message) {
        EXPECT_EQ(e.Message(), c.Message);
      }
    }
  }
  TDbgList copy;
  copy.Add(&a);
  copy.AssignList(&list);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.Get(0), &b);
}

// ---- model and layout -------------------------------------------------------------------
TEST_F(ToolBarTest, NewToolBarDefaults) {
  TVivIzizEzu* bar = NewBar();
  EXPECT_EQ(bar->GetVersion(), "3.5.3.0");
  bar->SetVersion("1.0");
  EXPECT_EQ(bar->Version(), "3.5.3.0");
  EXPECT_EQ(bar->ToolBarState(), tsFixed);
  EXPECT_FALSE(bar->ParentStyler());  // switched off on a plain parent
  EXPECT_EQ(bar->StylerInForce(), bar->InternalStyler());
  EXPECT_EQ(bar->InternalStyler()->Name(), "InternalStyler");
  EXPECT_EQ(bar->Row(), -1);
  EXPECT_EQ(bar->CaptionHeight(), 16);
  EXPECT_EQ(bar->PopupIndicatorWidth(), 14);
}

TEST_F(ToolBarTest, AutoSizedEmptyAndAllInvisibleSizes) {
  TVivIzizEzu* bar = NewBar();
  EXPECT_EQ(bar->Width(), 60);
  EXPECT_EQ(bar->Height(), 26);
  auto* e = On<TEdit>(bar);
  e->SetBounds(30, 2, 50, 21);
  EXPECT_EQ(bar->GetToolBarControlCount(), 1);
  EXPECT_EQ(e->Left(), 9);  // after the grip
  EXPECT_EQ(bar->Width(), 9 + 50 + 14);
  e->SetVisible(false);
  EXPECT_EQ(bar->Width(), 29);
  EXPECT_EQ(bar->Constraints()->MinWidth(), 29);
  EXPECT_EQ(bar->Constraints()->MaxWidth(), 29);
  EXPECT_EQ(e->Top(), bar->Height() + 2);  // parked out of view
}

TEST_F(ToolBarTest, ControlsAreOrderedByLeftAndTallOnesSetTheHeight) {
  TVivIzizEzu* bar = NewBar();
  auto* a = On<TEdit>(bar);
  a->SetBounds(100, 2, 40, 30);
  auto* b = new TEdit(form);
  b->SetBounds(50, 2, 40, 21);
  b->SetParent(bar);
  // A control inserted with Left 0 goes to the end.
  auto* c = new TEdit(form);
  c->SetBounds(0, 2, 20, 21);
  c->SetParent(bar);
  ASSERT_EQ(bar->GetToolBarControlCount(), 3);
  EXPECT_EQ(bar->GetToolBarControls(2), c);
  EXPECT_EQ(bar->GetToolBarControls(5), nullptr);
  EXPECT_EQ(bar->Height(), 34);
  EXPECT_EQ(bar->AddToolBarControl(a), -1);  // already a child
  bar->MoveToolBarControl(2, 0);
  EXPECT_EQ(bar->GetToolBarControls(0), c);
  EXPECT_EQ(c->Left(), 9);
  bar->MoveToolBarControl(0, 7);  // out of range: nothing
  EXPECT_EQ(bar->GetToolBarControls(0), c);
}

TEST_F(ToolBarTest, InsertVivIzizEzuControlRefusesBadIndexes) {
  TVivIzizEzu* bar = NewBar();
  auto* sep = new TVivIzizEzuSeparator(form);
  for (int index : {2, -1}) {
    try {
      bar->InsertVivIzizEzuControl(sep, index);
      ADD_FAILURE() << index;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Invalid Index");
    }
    EXPECT_EQ(bar->GetToolBarControlCount(), 0);
    EXPECT_EQ(sep->VivIzizEzu(), nullptr);
  }
  EXPECT_EQ(bar->AddVivIzizEzuControl(sep), 0);
  EXPECT_EQ(sep->VivIzizEzu(), bar);
  delete sep;
  EXPECT_EQ(bar->GetToolBarControlCount(), 0);
}

TEST_F(ToolBarTest, SmallGlowButtonsOnAPageFormColumnsOfThree) {
  auto* page = On<TTestPage>(form);
  page->SetBounds(0, 0, 600, 100);
  TVivIzizEzu* bar = NewBar(page);
  bar->BeginUpdate();
  std::vector<TDovAvarOrodez*> b;
  for (int i = 0; i < 8; ++i) {
    auto* g = new TDovAvarOrodez(form);
    g->SetBounds(10 + 10 * i, 2, 30 + i, 20);
    if (i != 3) g->SetButtonSizeState(bsGlyph);  // the fourth stays large
    g->SetBounds(10 + 10 * i, 2, i == 3 ? 50 : 30 + i, i == 3 ? 60 : 20);
    g->SetParent(bar);
    b.push_back(g);
  }
  bar->EndUpdate();
  struct Case {
    int Index, Left, Top;
  };
  // 0,1,2 in a column; the large 3 closes it and stands alone; 4,5,6 and then 7.
  const Case cases[] = {{0, 2, 2},  {1, 2, 22},  {2, 2, 42},  {3, 34, 2},
                        {4, 84, 2}, {5, 84, 22}, {6, 84, 42}, {7, 120, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(b[c.Index]->Left(), c.Left) << c.Index;
    EXPECT_EQ(b[c.Index]->Top(), c.Top) << c.Index;
  }
  // Removing the large one: seven small buttons in columns of 3, 3 and 1.
  delete b[3];
  EXPECT_EQ(b[4]->Left(), 2 + 32);
  EXPECT_EQ(b[4]->Top(), 2);
  EXPECT_EQ(b[6]->Top(), 42);
  EXPECT_EQ(b[7]->Left(), 2 + 32 + 36);
  EXPECT_EQ(b[7]->Top(), 2);
  EXPECT_EQ(bar->FullLength(), 2 + 32 + 36 + 37 + 14);
}

TEST_F(ToolBarTest, StylerLinkAndChanges) {
  TVivIzizEzu* bar = NewBar();
  auto* styler = new TVivIzizEzuOfficeStyler(form);
  bar->SetToolBarStyler(styler);
  EXPECT_EQ(bar->StylerInForce(), styler);
  int listed = 0;
  for (int i = 0; i < styler->ControlCount(); ++i) listed += styler->Controls(i) == bar;
  EXPECT_EQ(listed, 1);
  styler->SetToolBarStyle(bsOffice2007Luna);
  EXPECT_EQ(bar->Color(), styler->Color()->Color());
  // Kind 5 re-lays out for the new grip.
  auto* e = On<TEdit>(bar);
  styler->SetDragGripStyle(dsNone);
  EXPECT_EQ(e->Left(), 2);
  delete styler;
  EXPECT_EQ(bar->StylerInForce(), bar->InternalStyler());
  EXPECT_EQ(e->Left(), 9);
}

TEST_F(ToolBarTest, UpdateBracketSuppressesLayoutAndEndUpdateAloneIsHarmless) {
  TVivIzizEzu* bar = NewBar();
  bar->EndUpdate();
  EXPECT_EQ(bar->UpdateCount(), 0);
  bar->BeginUpdate();
  auto* e = On<TEdit>(bar);
  e->SetBounds(40, 2, 50, 21);
  EXPECT_EQ(e->Left(), 40);
  bar->EndUpdate();
  EXPECT_EQ(e->Left(), 9);
  bar->SetVisible(false);
  bar->BeginUpdate();
  EXPECT_EQ(bar->UpdateCount(), 0);
}

TEST_F(ToolBarTest, SwitchingAutoSizeOffOnlyOnAFixedBar) {
  TVivIzizEzu* bar = NewBar();
  bar->SetAutoSizeEx(false);
  EXPECT_FALSE(bar->AutoSize());
  EXPECT_EQ(bar->Constraints()->MaxWidth(), 0);
  bar->SetAutoPositionControls(false);
  auto* e = On<TEdit>(bar);
  e->SetBounds(222, 4, 60, 22);
  EXPECT_EQ(e->Left(), 222);  // the application's strip keeps its positions
}

TEST_F(ToolBarTest, DockingIntoASiteThatRefusesKeepsTheOldPlaceAndState) {
  TVivIzizEzu* bar = NewBar();
  auto* refusing = On<TTestDock>(form);
  refusing->Refuse = true;
  int docked = 0;
  bar->OnDocked = [&](TObject*, TWinControl*) { ++docked; };
  bar->SetParent(refusing);
  EXPECT_EQ(bar->Parent(), form);
  EXPECT_EQ(bar->ToolBarState(), tsFixed);
  EXPECT_EQ(docked, 0);
  auto* dock = On<TTestDock>(form);
  dock->Styler = new TVivIzizEzuOfficeStyler(form);
  bar->SetParentStyler(true);
  bar->SetParent(dock);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_EQ(bar->GetDizDockPanel(), dock);
  EXPECT_EQ(docked, 1);
  EXPECT_EQ(bar->StylerInForce(), dock->Styler);  // inherited with ParentStyler
  bar->SetParent(refusing);  // refused: back into its old panel
  EXPECT_EQ(bar->Parent(), dock);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_EQ(dock->Bars.size(), 1u);
  bar->SetParent(form);
  EXPECT_EQ(bar->ToolBarState(), tsFixed);
  EXPECT_TRUE(dock->Bars.empty());
  EXPECT_FALSE(bar->ParentStyler());
}

// ---- painting ---------------------------------------------------------------------------
TEST_F(ToolBarTest, DragGripDotsAndFlatDots) {
  TVivIzizEzu* bar = NewBar();
  bar->SetBounds(10, 10, 60, 26);
  auto* styler = new TVivIzizEzuOfficeStyler(form);
  styler->SetTransparent(true);  // grip pixels against a plain background
  bar->SetToolBarStyler(styler);
  const TColor shadow = ColorToRGB(clBtnShadow) & 0xFFFFFF;
  auto bmp = Snapshot(bar);
  for (int y : {5, 9, 13, 17}) {
    EXPECT_EQ(Px(bmp.get(), 4, y), shadow) << y;
    EXPECT_EQ(Px(bmp.get(), 6, y + 2), 0xFFFFFFu) << y;
  }
  EXPECT_NE(Px(bmp.get(), 4, 21), shadow);  // four dots only
  styler->SetDragGripStyle(dsFlatDots);
  bmp = Snapshot(bar);
  for (int i = 0; i < 9; ++i)
    for (int x = 3; x <= 5; ++x) EXPECT_EQ(Px(bmp.get(), x, 5 + 2 * i), 0xA5A5A5u) << x << "," << i;
  EXPECT_NE(Px(bmp.get(), 3, 6), 0xA5A5A5u);
  EXPECT_NE(Px(bmp.get(), 6, 5), 0xA5A5A5u);
  EXPECT_NE(Px(bmp.get(), 3, 23), 0xA5A5A5u);
}

TEST_F(ToolBarTest, GeometryOfCaptionAndOptionButton) {
  TVivIzizEzu* bar = NewBar();
  EXPECT_EQ(bar->GetCaptionRect(), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(bar->FWCloseBtnRect(), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(bar->GetOptionIndicatorRect(), (TRect{-1, -1, -1, -1}));
  bar->SetShowCaption(true);
  bar->SetShowRightHandle(false);
  EXPECT_EQ(bar->Height(), 26 + 16);
  const int w = bar->Width();
  EXPECT_EQ(bar->GetCaptionRect(), (TRect{0, 0, w, 16}));
  EXPECT_EQ(bar->GetMyClientRect(), (TRect{0, 16, w, 42}));
  EXPECT_EQ(bar->GetOptionIndicatorRect(), (TRect{w - 15, 2, w - 1, 15}));
}

TEST_F(ToolBarTest, CornersNeverReadOutsideTheHostSurface) {
  auto* page = On<TTestPage>(form);
  page->SetBounds(0, 0, 300, 80);
  TVivIzizEzu* bar = NewBar(page);
  bar->SetShowRightHandle(false);
  bar->SetBounds(0, 0, 60, 26);  // in the page's corner: the left sources lie outside
  auto bmp = Snapshot(bar);
  EXPECT_EQ(page->OutsideReads, 0);
  EXPECT_EQ(Px(bmp.get(), 0, 0), Px(bmp.get(), 4, 0)) << "an outside source leaves the pixel alone";
  const int r = bar->Width() + 1;  // F.Right
  for (TPoint p : {TPoint{r - 2, 0}, TPoint{r - 3, 0}, TPoint{r - 2, 1}})
    EXPECT_EQ(Px(bmp.get(), p.X, p.Y), 0x0000FFu) << p.X << "," << p.Y;
}

// ---- buttons ----------------------------------------------------------------------------
class ButtonTest : public ToolBarTest {
protected:
  ButtonTest() {
    bar = NewBar();
    bar->SetBounds(0, 0, 200, 26);
    images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
    glyph.Canvas()->Brush()->SetColor(TColor(0x2060C0));
    glyph.Canvas()->Ellipse(2, 2, 14, 14);
    images->AddMasked(&glyph, clFuchsia);
  }
  TVivIzizEzuButton* NewButton() { return On<TVivIzizEzuButton>(bar); }
  TVivIzizEzu* bar = nullptr;
  TImageList* images = nullptr;
};

TEST_F(ButtonTest, NewButtonDefaults) {
  TVivIzizEzuButton b(nullptr);
  EXPECT_EQ(b.Width(), 23);
  EXPECT_EQ(b.Height(), 22);
  EXPECT_EQ(b.Spacing(), 4);
  EXPECT_EQ(b.InnerOffset(), 4);
  EXPECT_EQ(b.ImageIndex(), -1);
  EXPECT_TRUE(b.ParentStyler() && b.Shaded() && b.Transparent() && b.Flat() && b.Grouped() && b.AutoSize() &&
              b.DropDownSplit());
  EXPECT_EQ(b.Version(), "3.5.3.0");
  b.SetVersion("9");
  EXPECT_EQ(b.Version(), "3.5.3.0");
  EXPECT_EQ(b.State(), VivIzizEzu::absUp);
}

TEST_F(ButtonTest, AutoSizeWidths) {
  TVivIzizEzuButton* b = NewButton();
  EXPECT_EQ(b->Width(), 15);  // no image, no caption
  bar->SetImages(images);
  b->SetImageIndex(0);
  EXPECT_EQ(b->Width(), 24);
  b->SetDropDownButton(true);
  EXPECT_EQ(b->Width(), 36);
  EXPECT_GE(b->Height(), bar->Height() - 4);
  b->SetDropDownButton(false);
  b->SetGlyphPosition(gpTop);
  b->SetCaption("Abc");
  b->SetShowCaption(true);
  TBitmap m(1, 1);
  m.Canvas()->SetFont(bar->StylerInForce()->ButtonAppearance()->CaptionFont());  // the measuring font
  const int th = m.Canvas()->TextHeight("gh");
  EXPECT_EQ(b->Height(), std::max(16 + th + 4 + 8, bar->Height() - 4));
}

TEST_F(ButtonTest, DownCheckAndExclusiveGroups) {
  TVivIzizEzuButton* push = NewButton();
  push->SetDown(true);
  EXPECT_FALSE(push->Down());
  TVivIzizEzuButton* check = NewButton();
  check->SetStyle(tasCheck);
  check->SetDown(true);
  EXPECT_EQ(check->State(), VivIzizEzu::absDown);
  std::vector<TVivIzizEzuButton*> g;
  for (int i = 0; i < 3; ++i) {
    g.push_back(NewButton());
    g.back()->SetGroupIndex(1);
  }
  g[0]->SetDown(true);
  g[1]->SetDown(true);
  EXPECT_FALSE(g[0]->Down());
  EXPECT_TRUE(g[1]->Down());
  EXPECT_EQ(g[1]->State(), VivIzizEzu::absExclusive);
  g[1]->SetDown(false);  // no AllowAllUp: only another member releases it
  EXPECT_TRUE(g[1]->Down());
  g[2]->SetAllowAllUp(true);
  EXPECT_TRUE(g[0]->AllowAllUp());
  g[1]->SetDown(false);
  EXPECT_FALSE(g[1]->Down());
}

TEST_F(ButtonTest, PressAndReleaseInsideClicksOnlyWithinTheRealBounds) {
  TVivIzizEzuButton* b = NewButton();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  const int x = b->Left(), y = b->Top();
  struct Case {
    int ReleaseX, ReleaseY, Clicks;
  };
  const Case cases[] = {{b->Width() - 1, b->Height() - 1, 1}, {b->Width(), 5, 0}, {5, b->Height(), 0}};
  for (const Case& c : cases) {
    clicks = 0;
    robot.MouseDown(bar->Handle(), x + 5, y + 5);
    EXPECT_EQ(b->State(), VivIzizEzu::absDown);
    robot.MoveTo(bar->Handle(), x + c.ReleaseX, y + c.ReleaseY);
    robot.MouseUp(bar->Handle(), x + c.ReleaseX, y + c.ReleaseY);
    EXPECT_EQ(clicks, c.Clicks) << c.ReleaseX << "," << c.ReleaseY;
    EXPECT_EQ(b->State(), VivIzizEzu::absUp);
  }
}

TEST_F(ButtonTest, DropDownZoneIsFourteenPixels) {
  TVivIzizEzuButton* b = NewButton();
  bar->SetImages(images);
  b->SetImageIndex(0);
  b->SetDropDownButton(true);
  int drops = 0, clicks = 0;
  b->OnDropDown = [&](TObject*) { ++drops; };
  b->OnClick = [&](TObject*) { ++clicks; };
  const int x = b->Left(), y = b->Top() + 5;
  robot.Click(bar->Handle(), x + b->Width() - 14, y);
  EXPECT_EQ(drops, 0);
  EXPECT_EQ(clicks, 1);
  robot.Click(bar->Handle(), x + b->Width() - 13, y);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, HotOnlyOnABarAndOnlyWhenUp) {
  TVivIzizEzuButton* b = NewButton();
  b->SetHot(true);
  EXPECT_TRUE(b->Hot());
  b->SetHot(false);
  b->SetState(VivIzizEzu::absDown);
  b->SetHot(true);
  EXPECT_FALSE(b->Hot());
  TVivIzizEzuButton loose(nullptr);
  loose.SetHot(true);
  EXPECT_FALSE(loose.Hot());
}

TEST_F(ButtonTest, FirstGlyphMakesAGreyDisabledGlyph) {
  TVivIzizEzuButton* b = NewButton();
  TBitmap g(2, 1);
  g.Canvas()->SetPixel(0, 0, clBlack);
  g.Canvas()->SetPixel(1, 0, clWhite);
  b->SetGlyph(&g);
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->GetPixel(0, 0) & 0xFFFFFF, 0x606060u);
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->GetPixel(1, 0) & 0xFFFFFF, 0xDFDFDFu);
  TBitmap red(2, 1);
  red.Canvas()->SetPixel(0, 0, clRed);
  b->SetGlyph(&red);
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->GetPixel(0, 0) & 0xFFFFFF, 0x606060u);
}

TEST_F(ButtonTest, NormalButtonWithoutColoursDrawsNoFace) {
  TVivIzizEzuButton* b = NewButton();
  b->SetTransparent(false);  // own Color is clNone by default
  bar->InternalStyler()->SetTransparent(true);
  form->SetColor(clWhite);
  auto before = Snapshot(bar);
  const TColor under = Px(before.get(), b->Left() + 3, b->Top() + 3);
  b->SetHot(true);
  auto hot = Snapshot(bar);
  EXPECT_NE(Px(hot.get(), b->Left() + 3, b->Top() + 3), under);
  b->SetHot(false);
  auto normal = Snapshot(bar);
  EXPECT_EQ(Px(normal.get(), b->Left() + 3, b->Top() + 3), under);
}

TEST_F(ButtonTest, MenuButtonWithAMenuButNoToolBarDoesNotCrash) {
  auto* host = On<TCustomControl>(form);
  host->SetBounds(300, 100, 100, 40);
  auto* menu = new TPopupMenu(form);
  auto* m = On<TVivIzizEzuMenuButton>(host);
  m->SetDropDownMenu(menu);
  robot.Click(host->Handle(), m->Left() + 5, m->Top() + 5);
  EXPECT_EQ(m->State(), VivIzizEzu::absUp);
  EXPECT_EQ(m->VivIzizEzu(), nullptr);
}

TEST_F(ButtonTest, MenuButtonLooks) {
  auto* m = On<TVivIzizEzuMenuButton>(bar);
  bar->InternalStyler()->SetTransparent(true);
  VivIzizEzu::TButtonAppearance* styled = bar->StylerInForce()->ButtonAppearance();
  styled->SetColorDown(0x0000C0);
  styled->SetColorDownTo(clNone);
  styled->SetColorHot(0xC00000);
  styled->SetColorHotTo(clNone);
  m->Appearance()->SetColorChecked(0x00C000);
  m->Appearance()->SetColorCheckedTo(clNone);
  EXPECT_TRUE(m->ParentStyler());
  struct Case {
    const char* What;
    bool Hot;
    VivIzizEzu::TDizButtonState State;
    TColor Fill;  // clNone: no face
  };
  const Case cases[] = {{"normal", false, VivIzizEzu::absUp, clNone},
                        {"hot", true, VivIzizEzu::absUp, 0xC00000},
                        {"checked uses its own look", false, VivIzizEzu::absExclusive, 0x00C000},
                        {"checked and hot is pressed", true, VivIzizEzu::absExclusive, 0x0000C0},
                        {"dropped down", false, VivIzizEzu::absDropDown, 0x0000C0}};
  m->SetState(VivIzizEzu::absUp);
  const TColor under = Px(Snapshot(bar).get(), m->Left() + 3, m->Top() + 3);
  for (const Case& c : cases) {
    m->SetState(VivIzizEzu::absUp);
    m->SetHot(c.Hot);
    m->SetState(c.State);
    const TColor got = Px(Snapshot(bar).get(), m->Left() + 3, m->Top() + 3);
    EXPECT_EQ(got, c.Fill == clNone ? under : c.Fill) << c.What;
  }
}

TEST_F(ToolBarTest, VerticalBarStacksControlsAndSizesItself) {
  TVivIzizEzu* bar = NewBar();
  auto* e = On<TEdit>(bar);
  e->SetBounds(0, 0, 50, 21);
  bar->SetPosition(daLeft);
  EXPECT_EQ(e->Left(), 2);
  EXPECT_EQ(e->Top(), 9);
  EXPECT_EQ(bar->Width(), 54);
  EXPECT_EQ(bar->Height(), 9 + 21 + 14);
  EXPECT_EQ(bar->Constraints()->MaxHeight(), 44);
  EXPECT_EQ(bar->Constraints()->MaxWidth(), 0);
  EXPECT_EQ(bar->GetSizeAtDock(false), 54);
  EXPECT_EQ(bar->GetSizeAtDock(true), 26);  // the tallest external control + 4, at least 26
  auto* sep = On<TVivIzizEzuSeparator>(bar);
  EXPECT_EQ(sep->Position(), daLeft);
  EXPECT_EQ(sep->Height(), 10);
}

TEST_F(ToolBarTest, MenuStylerChangeWhileLoadingOnlyRecolours) {
  TVivIzizEzu* bar = NewBar();
  auto* m = On<TVivIzizEzuMenuButton>(bar);
  m->SetBounds(m->Left(), m->Top(), 70, 22);
  bar->SetLoading(true);
  bar->InternalStyler()->Color()->SetColor(0x123456);
  bar->UpdateMe(ckMenuStyler);
  EXPECT_EQ(bar->Color(), 0x123456);
  EXPECT_EQ(m->Width(), 70);
  bar->SetLoading(false);
  bar->UpdateMe(ckMenuStyler);
  EXPECT_EQ(m->Width(), 15);
}

// ---- separators and containers ----------------------------------------------------------
TEST_F(ToolBarTest, SeparatorSizesAndLines) {
  TVivIzizEzu* bar = NewBar();
  bar->SetAutoSizeEx(false);
  bar->SetBounds(0, 0, 200, 30);
  auto* sep = new TVivIzizEzuSeparator(form);
  sep->SetParent(bar);
  EXPECT_EQ(sep->Width(), 10);
  EXPECT_EQ(sep->Height(), 26);
  bar->SetPosition(daLeft);
  // The bar turned (its docked thickness is now its width); the separator spans it.
  EXPECT_EQ(bar->Width(), bar->DockedThickness());
  EXPECT_EQ(sep->Height(), 10);
  EXPECT_EQ(sep->Width(), bar->Width() - 4);
  bar->SetPosition(daTop);
  auto bmp = Snapshot(bar);
  const int x = sep->Left() + 5, t = sep->Top(), h = sep->Height();
  EXPECT_EQ(h, bar->Height() - 4);
  const TColor shadow = ColorToRGB(clBtnShadow) & 0xFFFFFF;
  EXPECT_EQ(Px(bmp.get(), x, t + 3), shadow);
  EXPECT_EQ(Px(bmp.get(), x, t + h - 4), shadow);
  EXPECT_NE(Px(bmp.get(), x, t + h - 3), shadow);
  EXPECT_EQ(Px(bmp.get(), x + 1, t + 4), 0xFFFFFFu);
  EXPECT_EQ(Px(bmp.get(), x + 1, t + h - 3), 0xFFFFFFu);
  sep->SetSeparatorStyle(ssBlank);
  bmp = Snapshot(bar);
  EXPECT_NE(Px(bmp.get(), x, t + 10), shadow);
  EXPECT_EQ(sep->Width(), 10);
  sep->SetAutoSize(false);
  bar->SetPosition(daLeft);
  EXPECT_EQ(sep->Width(), 10);  // keeps its bounds
}

TEST_F(ToolBarTest, ContainerMarginsKeepChildrenInside) {
  auto* c = On<TVivIzizEzuContainer>(form);
  c->SetBounds(10, 10, 100, 40);
  auto* e = new TEdit(form);
  e->SetBounds(0, 0, 30, 20);
  e->SetParent(c);
  c->SetMargins(3);
  EXPECT_EQ(e->Left(), 3);
  EXPECT_EQ(e->Top(), 3);
  for (int bad : {15, -1}) {
    c->SetMargins(bad);
    EXPECT_EQ(c->Margins(), 3);
  }
  e->SetBounds(90, 30, 30, 20);
  EXPECT_EQ(e->Left(), 100 - 3 - 30);
  EXPECT_EQ(e->Top(), 40 - 3 - 20);
  e->SetBounds(0, 0, 150, 20);  // wider than the room: its left edge stays inside
  EXPECT_EQ(e->Left(), 3);
}

TEST_F(ToolBarTest, ItemsMoveBetweenToolBars) {
  TVivIzizEzu* a = NewBar();
  TVivIzizEzu* b = NewBar();
  auto* sep = new TVivIzizEzuSeparator(form);
  sep->SetVivIzizEzu(a);
  EXPECT_EQ(sep->Parent(), a);
  EXPECT_EQ(a->IndexOfToolBarControl(sep), 0);
  sep->SetVivIzizEzu(b);
  EXPECT_EQ(sep->VivIzizEzu(), b);
  EXPECT_EQ(a->GetToolBarControlCount(), 0);
  EXPECT_EQ(b->IndexOfToolBarControl(sep), 0);
  sep->SetVivIzizEzu(nullptr);
  EXPECT_EQ(sep->Parent(), nullptr);
  EXPECT_EQ(b->GetToolBarControlCount(), 0);
}

TEST_F(ToolBarTest, ContainerFrameLeavesRoomForItsCaption) {
  auto* c = On<TVivIzizEzuContainer>(form);
  c->SetBounds(10, 100, 100, 40);
  c->SetCaption("Ab");
  auto bmp = Snapshot(c);
  TBitmap m(1, 1);
  m.Canvas()->SetFont(c->Font());
  const int w = m.Canvas()->TextWidth("Ab");
  const TColor shadow = ColorToRGB(clBtnShadow) & 0xFFFFFF;
  EXPECT_EQ(Px(bmp.get(), 0, 4), shadow);           // top line, first piece
  EXPECT_EQ(Px(bmp.get(), 8, 4), shadow);
  EXPECT_NE(Px(bmp.get(), 9, 4), shadow);           // the gap for the caption
  EXPECT_EQ(Px(bmp.get(), 11 + w, 4), shadow);      // second piece
  EXPECT_EQ(Px(bmp.get(), 0, 30), shadow);          // left edge
  EXPECT_EQ(Px(bmp.get(), 1, 30), 0xFFFFFFu);       // its highlight
  EXPECT_EQ(Px(bmp.get(), 50, 38), shadow);         // bottom
  EXPECT_EQ(Px(bmp.get(), 98, 20), shadow);         // right edge
  c->SetLineColor(clNone);
  bmp = Snapshot(c);
  EXPECT_NE(Px(bmp.get(), 0, 30), shadow);
}

// ---- the application's editor strip -----------------------------------------------------
TEST_F(ToolBarTest, RecordEditorStripRendersToPng) {
  form->SetBounds(0, 0, 680, 120);
  auto* styler = new TVivIzizEzuOfficeStyler(form);
  styler->SetToolBarStyle(bsOffice2007Luna);
  TVivIzizEzu* bar = NewBar();
  bar->SetAutoArrangeButtons(false);
  bar->SetAutoPositionControls(false);
  bar->SetAutoSizeEx(false);
  bar->SetShowClose(false);
  bar->SetShowOptionIndicator(false);
  bar->SetParentStyler(false);
  bar->SetToolBarStyler(styler);
  bar->SetBounds(7, 40, 650, 29);
  auto edit = [&](int l, int w, const std::string& text) {
    auto* e = new TEdit(form);
    e->SetBounds(l, 5, w, 21);
    e->SetParent(bar);
    e->SetText(text);
  };
  edit(6, 131, " Нет названия");
  edit(142, 75, " Нет");
  const int spins[][2] = {{222, 60}, {288, 87}, {380, 99}, {484, 87}};
  for (auto& s : spins) {
    auto* sp = new TDizSpinEdit(form);
    sp->SetBounds(s[0], 4, s[1], 22);
    sp->SetParent(bar);
  }
  auto* images = new TImageList(form);
  images->SetWidth(16);
  images->SetHeight(16);
  TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(TColor(0x2060C0));
  glyph.Canvas()->Ellipse(2, 2, 14, 14);
  images->AddMasked(&glyph, clFuchsia);
  bar->SetImages(images);
  TVivIzizEzuButton* btn[2];
  for (int i = 0; i < 2; ++i) {
    btn[i] = new TVivIzizEzuButton(form);
    btn[i]->SetParent(bar);
    btn[i]->SetImageIndex(0);
    btn[i]->SetBounds(576 + 26 * i, 3, 24, 23);
  }
  EXPECT_EQ(bar->GetToolBarControlCount(), 8);
  robot.MoveTo(bar->Handle(), btn[0]->Left() + 8, 10);
  Tick(5);
  EXPECT_TRUE(btn[0]->Hot());
  robot.MouseDown(bar->Handle(), btn[1]->Left() + 8, 10);
  EXPECT_EQ(btn[1]->State(), VivIzizEzu::absDown);
  btn[0]->SetHot(true);  // the picture shows both looks at once
  const char* keep = std::getenv("LORM_KEEP_PNG");
  const std::filesystem::path dir =
      keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
  const auto png = dir / "lorm_toolbar_strip.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (keep) {
    // The bar's right end enlarged, to look at single pixels.
    auto bmp = Snapshot(bar);
    TBitmap big(100 * 5, 29 * 5);
    big.Canvas()->StretchDraw({-550 * 5, 0, -550 * 5 + bar->Width() * 5, 29 * 5}, bmp.get());
    const TByteBuffer data = EncodePng(big.ToRawImage());
    if (FILE* f = std::fopen((dir / "lorm_toolbar_strip_end.png").string().c_str(), "wb")) {
      std::fwrite(data.data(), 1, data.size(), f);
      std::fclose(f);
    }
  }
  robot.MouseUp(bar->Handle(), btn[1]->Left() + 8, 10);
  if (!keep) std::filesystem::remove(png);
}


// ---- stored properties, actions and office hints ----------------------------------------
TEST_F(ToolBarTest, StoredPropertiesReadBack) {
  const std::string text =
      "object F: TForm\n"
      "  object Bar: TVivIzizEzu\n"
      "    AntiAlias = aaAntiAlias\n    AutoDockOnClose = True\n    AutoMDIButtons = True\n"
      "    AutoOptionMenu = True\n    Caption = 'Edit'\n    CaptionAlignment = taCenter\n"
      "    CompactCaption = 'Compact'\n    CompactImageIndex = 4\n    CompactShortCutHint = 'C'\n"
      "    HintOptionButton = 'More'\n    HintCloseButton = 'Close'\n    DockableTo = [daTop, daBottom]\n"
      "    DockMode = dmParentDockPanelOnly\n    TextAutoOptionMenu = 'Add'\n    TextOptionMenu = 'Opt'\n"
      "    ParentOptionPicture = False\n    ToolBarIndex = 2\n    OfficeHint.Title = 'Edit bar'\n"
      "    object Btn: TVivIzizEzuButton\n      AutoSize = False\n      GroupIndex = 3\n"
      "      OfficeHint.Title = 'Save'\n      DrawPosition.Enabled = True\n      DrawPosition.TextX = 5\n"
      "    end\n"
      "  end\n"
      "end\n";
  ReadComponentFromText(text, form);
  auto* bar = static_cast<TVivIzizEzu*>(form->FindComponent("Bar"));
  auto* btn = static_cast<TVivIzizEzuButton*>(form->FindComponent("Btn"));
  ASSERT_TRUE(bar && btn);
  EXPECT_EQ(bar->AntiAlias(), aaAntiAlias);
  EXPECT_TRUE(bar->AutoDockOnClose());
  EXPECT_TRUE(bar->AutoMDIButtons());
  EXPECT_TRUE(bar->AutoOptionMenu());
  EXPECT_EQ(bar->Caption(), "Edit");
  EXPECT_EQ(bar->CaptionAlignment(), taCenter);
  EXPECT_EQ(bar->CompactCaption(), "Compact");
  EXPECT_EQ(bar->CompactImageIndex(), 4);
  EXPECT_EQ(bar->CompactShortCutHint(), "C");
  EXPECT_EQ(bar->HintOptionButton(), "More");
  EXPECT_EQ(bar->HintCloseButton(), "Close");
  EXPECT_EQ(bar->DockableTo(), (TDockableTo{daTop, daBottom}));
  EXPECT_EQ(bar->DockMode(), dmParentDockPanelOnly);
  EXPECT_EQ(bar->TextAutoOptionMenu(), "Add");
  EXPECT_EQ(bar->TextOptionMenu(), "Opt");
  EXPECT_FALSE(bar->ParentOptionPicture());
  EXPECT_EQ(bar->ToolBarIndex(), 2);
  EXPECT_EQ(bar->OfficeHint()->Title(), "Edit bar");
  EXPECT_FALSE(btn->AutoSize());
  EXPECT_EQ(btn->GroupIndex(), 3);
  EXPECT_EQ(btn->OfficeHint()->Title(), "Save");
  EXPECT_TRUE(btn->DrawPosition()->Enabled());
  EXPECT_EQ(btn->DrawPosition()->TextX(), 5);
  // Defaults are not written back; changed values are.
  auto* fresh = new TVivIzizEzu(form);
  fresh->SetName("Fresh");
  fresh->SetParent(form);
  const std::string written = WriteComponentToText(form);
  const std::string freshBlock = written.substr(written.find("object Fresh"));
  for (const char* name : {"TextOptionMenu", "DockableTo", "DockMode", "ToolBarIndex", "Version"})
    EXPECT_EQ(freshBlock.substr(0, freshBlock.find("end")).find(name), std::string::npos) << name;
  EXPECT_NE(written.find("TextOptionMenu = 'Opt'"), std::string::npos);
  EXPECT_NE(written.find("DockableTo = [daTop, daBottom]"), std::string::npos);
  EXPECT_EQ(fresh->TextAutoOptionMenu(), "Add or Remove Buttons");
  EXPECT_EQ(fresh->DockableTo(), (TDockableTo{daLeft, daTop, daRight, daBottom}));
}

TEST_F(ToolBarTest, ButtonFollowsItsAction) {
  TVivIzizEzu* bar = NewBar();
  auto* btn = new TVivIzizEzuButton(form);
  btn->SetParent(bar);
  auto* action = new TAction(form);
  action->SetCaption("Save");
  action->SetImageIndex(2);
  action->SetGroupIndex(5);
  btn->SetAction(action);
  EXPECT_NE(dynamic_cast<TVivIzizEzuButtonActionLink*>(btn->ActionLink()), nullptr);
  EXPECT_EQ(static_cast<TVivIzizEzuButtonActionLink*>(btn->ActionLink())->Client(), btn);
  EXPECT_EQ(btn->Caption(), "Save");
  EXPECT_EQ(btn->ImageIndex(), 2);
  EXPECT_EQ(btn->GroupIndex(), 5);
  // A button with its own group keeps it; the image always follows.
  btn->SetGroupIndex(7);
  action->SetGroupIndex(9);
  action->SetImageIndex(3);
  EXPECT_EQ(btn->GroupIndex(), 7);
  EXPECT_EQ(btn->ImageIndex(), 3);
  int runs = 0;
  action->OnExecute = [&](TObject*) { ++runs; };
  btn->Click();
  EXPECT_EQ(runs, 1);
}

}  // namespace
