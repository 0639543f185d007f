// Tests of dragging, tearing off, floating and docking back tool bars, the floating
// window's row sizes and edge resizing, overflow into the option window, the option pop-ups
// and the persistence of floating tool bars.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/WinUser.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuFloating.h"
#include "toolbar/VivIzizEzuOption.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace {

using namespace VivIzizEzu;

// A plain control of a fixed size.
class TBox : public TGraphicControl {
public:
  TBox(TComponent* AOwner, int W, int H) : TGraphicControl(AOwner) { SetBounds(0, 0, W, H); }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(TColor(0x3080C0));
    Canvas()->FillRect(ClientRect());
  }
};

std::filesystem::path PngDir() {
  const char* keep = std::getenv("LORM_KEEP_PNG");
  return keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
}

class FloatingTest : public ::testing::Test {
protected:
  FloatingTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 600, 300);
    form->Show();
  }
  ~FloatingTest() override { Application->Restart(); }

  TDizDockPanel* NewPanel(TDockAlign align = daTop) {
    auto* p = new TDizDockPanel(form);
    p->SetParent(form);
    p->SetDockAlign(align);
    return p;
  }
  // A tool bar holding boxes of the given lengths (22 px thick), docked in Panel or left on
  // the form.
  TVivIzizEzu* NewBar(TWinControl* parent, const std::vector<int>& lengths, bool vertical = false) {
    auto* bar = new TVivIzizEzu(form);
    bar->SetName("Bar" + std::to_string(++count));
    bar->SetParent(parent);
    for (size_t i = 0; i < lengths.size(); ++i) {
      auto* b = vertical ? new TBox(form, 22, lengths[i]) : new TBox(form, lengths[i], 22);
      b->SetName(bar->Name() + "Box" + std::to_string(i + 1));
      b->SetBounds(vertical ? 0 : 1000 + int(i), vertical ? 1000 + int(i) : 0, b->Width(), b->Height());
      b->SetParent(bar);
      boxes.push_back(b);
    }
    return bar;
  }
  // A fixed-length neighbour further along the row, so that the row lets the bar be
  // shorter than its full length.
  void Neighbour(TDizDockPanel* panel, bool vertical) {
    auto* b = new TVivIzizEzu(form);
    b->SetParent(form);
    b->SetAutoSizeEx(false);
    b->Constraints()->SetMinWidth(0);
    b->Constraints()->SetMaxWidth(0);
    b->SetBounds(0, 0, 60, 26);
    b->SetParent(panel);
    if (vertical) b->SetBounds(1, 400, b->Width(), b->Height());
    else b->SetBounds(400, 1, b->Width(), b->Height());
  }
  static void WidthTo(TDizCustomToolBar* bar, int w) { bar->SetWidth(w); }
  static void HeightTo(TDizCustomToolBar* bar, int h) { bar->SetHeight(h); }
  static bool Hidden(TDizCustomToolBar* bar, TControl* c) { return bar->HiddenList()->IndexOf(c) >= 0; }
  POINT Screen(TControl* c, int x, int y) {
    const TPoint p = c->ClientToScreen(TPoint{x, y});
    return POINT{p.X, p.Y};
  }

  TForm* form = nullptr;
  TRobot robot;
  std::vector<TBox*> boxes;
  int count = 0;
};

// ---- floating window and floating layout --------------------------------------------------
TEST_F(FloatingTest, FloatingWindowIsTheBarPlusItsBorder) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  bar->SetFloating(200, 150, true);
  ASSERT_EQ(bar->ToolBarState(), tsFloating);
  TFloatingWindow* w = bar->FloatingWindow();
  ASSERT_TRUE(w);
  EXPECT_EQ(panel->GetVivIzizEzuCount(), 0);
  EXPECT_EQ(bar->Parent(), w);
  EXPECT_EQ(w->Width(), bar->Width() + 6);
  EXPECT_EQ(w->Height(), bar->Height() + 6);
  EXPECT_EQ(bar->Left(), 3);
  EXPECT_EQ(bar->Top(), 3);
  EXPECT_EQ(bar->Width(), 80);
  EXPECT_EQ(bar->Height(), 26 + bar->CaptionHeight());
  EXPECT_EQ(w->Left(), 200);
  EXPECT_EQ(w->Top(), 150);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->BorderWidth(), 2);
  EXPECT_EQ(w->BorderColor(), TColor(0x6D6D6D));
  // The 2-px border in RGB(109, 109, 109), the tool bar inside it.
  EXPECT_EQ(WindowPixel(w->Handle(), 1, 1), COLORREF(0x6D6D6D));
  EXPECT_EQ(WindowPixel(w->Handle(), 2, 20), COLORREF(0x6D6D6D));
  EXPECT_EQ(WindowPixel(w->Handle(), w->Width() - 1, 20), COLORREF(0x6D6D6D));
  EXPECT_EQ(WindowPixel(w->Handle(), 20, w->Height() - 1), COLORREF(0x6D6D6D));
  EXPECT_EQ(WindowPixel(w->Handle(), 2, 2), COLORREF(0x6D6D6D));
  // A managed utility window of its form: no task bar entry.
  EXPECT_TRUE(GetWindowLongPtr(w->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // Docking again frees the window.
  bar->Dock(panel);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_EQ(bar->FloatingWindow(), nullptr);
  EXPECT_EQ(bar->Parent(), panel);
  EXPECT_EQ(bar->FloatingTimer(), 0u);
}

TEST_F(FloatingTest, FloatingSizesByRowCount) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  EXPECT_EQ(bar->GetMaxFloatingRowCount(), 2);
  struct Case {
    int rows;
    bool ok;
    int width, height;
  } cases[] = {{1, true, 80, 42}, {2, true, 50, 68}, {0, false, 0, 0}, {3, false, 0, 0}};
  for (const Case& c : cases) {
    int h = 0, w = 0;
    EXPECT_EQ(bar->GetFloatingWindowSizes(c.rows, h, w), c.ok) << c.rows;
    if (c.ok) {
      EXPECT_EQ(w, c.width) << c.rows;
      EXPECT_EQ(h, c.height) << c.rows;
    }
  }
  bar->SetFloating(100, 100, true);
  bar->SetFloatingRows(2);
  EXPECT_EQ(bar->FloatingRows(), 2);
  EXPECT_EQ(bar->Width(), 50);
  // Two boxes in the first row, the third below them.
  EXPECT_EQ(boxes[1]->Top(), boxes[0]->Top());
  EXPECT_EQ(boxes[2]->Top(), boxes[0]->Top() + 26);
  EXPECT_EQ(boxes[2]->Left(), 2);
  EXPECT_EQ(bar->FloatingWindow()->Width(), 56);
  // Counts outside 1 .. the maximum change nothing.
  bar->SetFloatingRows(3);
  bar->SetFloatingRows(0);
  EXPECT_EQ(bar->FloatingRows(), 2);
  const auto png = PngDir() / "lorm_floating_two_rows.png";
  EXPECT_TRUE(SaveWindowPng(bar->FloatingWindow()->Handle(), png.string()));
  if (!std::getenv("LORM_KEEP_PNG")) std::filesystem::remove(png);
}

TEST_F(FloatingTest, DraggingTheRightEdgeStepsByRows) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  bar->SetFloating(100, 100, true);
  TFloatingWindow* w = bar->FloatingWindow();
  struct Case {
    int rowsBefore, dx, rowsAfter;
  } cases[] = {{2, 5, 2}, {2, 6, 1}, {1, -5, 1}, {1, -6, 2}};
  for (const Case& c : cases) {
    bar->SetFloatingRows(c.rowsBefore);
    ASSERT_EQ(bar->FloatingRows(), c.rowsBefore);
    const int W = w->Width();
    robot.Drag(w->Handle(), POINT{W - 1, 20}, POINT{W + c.dx, 20}, 1);
    EXPECT_EQ(bar->FloatingRows(), c.rowsAfter) << c.rowsBefore << " by " << c.dx;
    EXPECT_EQ(w->Width(), bar->Width() + 6);
    EXPECT_FALSE(w->Resizing());
  }
  // After a step the reference is the new edge: 3 px beyond it make the next step, and
  // going back over the previous width undoes it.
  bar->SetFloatingRows(2);
  const int W = w->Width();  // 56
  robot.MouseDown(w->Handle(), W - 1, 20);
  robot.MoveTo(w->Handle(), W + 6, 20);
  EXPECT_EQ(bar->FloatingRows(), 1);
  robot.MoveTo(w->Handle(), W - 2, 20);
  EXPECT_EQ(bar->FloatingRows(), 2);
  robot.MouseUp(w->Handle(), W - 2, 20);
}

TEST_F(FloatingTest, ANeverDockedBarFollowsTheFormThatOwnsIt) {
  TVivIzizEzu* bar = NewBar(form, {23, 23});
  ASSERT_EQ(bar->ToolBarState(), tsFixed);
  bar->SetFloating(50, 60, true);
  ASSERT_EQ(bar->ToolBarState(), tsFloating);
  EXPECT_EQ(bar->FloatingParentForm(), form);
  TFloatingWindow* w = bar->FloatingWindow();
  EXPECT_TRUE(w->Visible());
  form->Hide();
  Headless().Advance(40);
  EXPECT_FALSE(w->Visible());
  form->Show();
  Headless().Advance(40);
  EXPECT_TRUE(w->Visible());
}

TEST_F(FloatingTest, TheWindowStaysInsideTheWorkArea) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23});
  bar->SetFloating(50000, -4000, true);
  TFloatingWindow* w = bar->FloatingWindow();
  const TRect wa = ::Screen->WorkAreaRect();
  EXPECT_EQ(w->Left(), wa.Right - w->Width());
  EXPECT_EQ(w->Top(), wa.Top);
}

TEST_F(FloatingTest, CloseGlyphHidesOrDocksBack) {
  TDizDockPanel* panel = NewPanel();
  for (bool autoDock : {false, true}) {
    TVivIzizEzu* bar = NewBar(panel, {23, 23});
    bar->SetAutoDockOnClose(autoDock);
    int closed = 0;
    bar->OnClose = [&](TObject*) { ++closed; };
    bar->SetFloating(100, 100, true);
    bar->CloseBtnClick();
    if (autoDock) {
      EXPECT_EQ(bar->ToolBarState(), tsDocked);
      EXPECT_EQ(bar->FloatingWindow(), nullptr);
      EXPECT_EQ(closed, 0);
    } else {
      EXPECT_EQ(bar->ToolBarState(), tsFloating);
      EXPECT_FALSE(bar->Visible());
      EXPECT_FALSE(bar->FloatingWindow()->Visible());
      EXPECT_EQ(closed, 1);
    }
  }
}

// ---- dragging ---------------------------------------------------------------------------
TEST_F(FloatingTest, TearsOffBeyond26PixelsBelowTheOnlyRow) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  ASSERT_EQ(panel->Height(), 28);
  ASSERT_EQ(bar->Top(), 1);
  // Top + Y = 54 holds, 55 tears off.
  robot.Drag(bar->Handle(), POINT{2, 10}, POINT{2, 53}, 2);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_FALSE(bar->Moving());
  EXPECT_EQ(bar->DockTargetCount(), 0);
  robot.Drag(bar->Handle(), POINT{2, 10}, POINT{2, 54}, 2);
  EXPECT_EQ(bar->ToolBarState(), tsFloating);
  ASSERT_TRUE(bar->FloatingWindow());
  EXPECT_EQ(panel->GetVivIzizEzuCount(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FloatingTest, NoTearOffWithoutFloatingOrWhenRefused) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  bar->SetAllowFloating(false);
  robot.Drag(bar->Handle(), POINT{2, 10}, POINT{2, 120}, 3);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  bar->SetAllowFloating(true);
  int asked = 0;
  bar->OnCanFloat = [&](TObject*, bool& allow) {
    ++asked;
    allow = false;
  };
  robot.Drag(bar->Handle(), POINT{2, 10}, POINT{2, 120}, 3);
  EXPECT_EQ(bar->ToolBarState(), tsDocked);
  EXPECT_GT(asked, 0);
  bar->SetLocked(true);
  asked = 0;
  robot.Drag(bar->Handle(), POINT{2, 10}, POINT{2, 120}, 3);
  EXPECT_EQ(asked, 0);
}

TEST_F(FloatingTest, AFloatingBarDocksWithin15PixelsBelowThePanel) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  struct Case {
    int below;
    TToolBarState state;
  } cases[] = {{15, tsFloating}, {14, tsDocked}};
  for (const Case& c : cases) {
    bar->SetFloating(300, 300, true);
    ASSERT_EQ(bar->ToolBarState(), tsFloating);
    // The panel as it is without the bar, measured when the drag starts.
    const int bottom = panel->ClientToScreen(TPoint{0, panel->Height()}).Y;
    const POINT from = Screen(bar, 20, 6);
    robot.Drag(nullptr, from, POINT{from.x, bottom + c.below}, 3);
    EXPECT_EQ(bar->ToolBarState(), c.state) << c.below;
    EXPECT_EQ(GetCapture(), nullptr);
  }
  EXPECT_EQ(bar->Parent(), panel);
  EXPECT_EQ(bar->FloatingWindow(), nullptr);
}

TEST_F(FloatingTest, DockTargetsFollowTheDockMode) {
  TDizDockPanel* top = NewPanel(daTop);
  auto* holder = new TPanel(form);
  holder->SetParent(form);
  holder->SetAlign(alClient);
  auto* inner = new TDizDockPanel(form);
  inner->SetParent(holder);
  inner->SetDockAlign(daLeft);
  TVivIzizEzu* bar = NewBar(top, {23, 23});
  struct Case {
    TDockMode mode;
    int targets;
  } cases[] = {{dmAll, 2}, {dmAllParentDockPanels, 1}, {dmParentDockPanelOnly, 1}};
  for (const Case& c : cases) {
    bar->SetDockMode(c.mode);
    int seen = -1;
    Headless().WhenIdle([&] {
      seen = bar->DockTargetCount();
      robot.AutoProcess = false;
      robot.MouseUp(bar->Handle(), 2, 10);
      robot.AutoProcess = true;
    });
    robot.MouseDown(bar->Handle(), 2, 10);
    EXPECT_EQ(seen, c.targets) << c.mode;
  }
  // The enlarged rectangle of a daTop panel reaches 15 px below it.
  bar->SetDockMode(dmParentDockPanelOnly);
  TRect r{};
  Headless().WhenIdle([&] {
    r = bar->DockTargetRect(0);
    robot.AutoProcess = false;
    robot.MouseUp(bar->Handle(), 2, 10);
    robot.AutoProcess = true;
  });
  robot.MouseDown(bar->Handle(), 2, 10);
  const TPoint tl = top->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(r.Top, tl.Y);
  EXPECT_EQ(r.Bottom, tl.Y + top->Height() + 15);
}

TEST_F(FloatingTest, AQuitReadDuringADragIsPostedAgain) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23});
  Headless().WhenIdle([&] { PostQuitMessage(7); });
  robot.MouseDown(bar->Handle(), 2, 10);
  EXPECT_FALSE(bar->Moving());
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
  robot.MouseUp(bar->Handle(), 2, 10);
}

// ---- overflow ---------------------------------------------------------------------------
TEST_F(FloatingTest, OverflowAtTheAvailableLength) {
  TDizDockPanel* panel = NewPanel();
  struct Case {
    std::vector<int> lengths;  // after the 9-px grip inset
    int narrowTo;              // width that hides the last box first (0: none)
    int widenTo;
    bool lastHidden;
  } cases[] = {
      // Ends exactly at 186 of 200: nothing hides.
      {{77, 77, 23}, 0, 200, false},
      // Hidden at 199, back at 200: the last shown control ends at 163.
      {{77, 77, 23}, 199, 200, false},
      // Ends at 164: the 23-px control stays hidden at 200.
      {{77, 78, 23}, 199, 200, true},
  };
  Neighbour(panel, false);
  for (const Case& c : cases) {
    boxes.clear();
    TVivIzizEzu* bar = NewBar(panel, c.lengths);
    bar->SetBounds(3, 1, bar->Width(), bar->Height());
    ASSERT_EQ(bar->Row(), 0);
    WidthTo(bar, 200);
    if (c.narrowTo) {
      WidthTo(bar, c.narrowTo);
      ASSERT_TRUE(Hidden(bar, boxes.back()));
    }
    WidthTo(bar, c.widenTo);
    EXPECT_EQ(bar->Width(), 200);
    EXPECT_EQ(Hidden(bar, boxes.back()), c.lastHidden) << c.lengths[1];
    delete bar;
  }
}

TEST_F(FloatingTest, TheLeastRecentlyUsedControlHides) {
  TDizDockPanel* panel = NewPanel();
  Neighbour(panel, false);
  TVivIzizEzu* bar = NewBar(panel, {77, 77, 23});
  bar->SetBounds(3, 1, bar->Width(), bar->Height());
  WidthTo(bar, 200);
  bar->UpControlInRUL(boxes[2]);
  // The last control now ends at 190, beyond 186: the least used one (the middle) goes.
  boxes[1]->SetWidth(81);
  WidthTo(bar, 200);
  EXPECT_TRUE(Hidden(bar, boxes[1]));
  EXPECT_FALSE(Hidden(bar, boxes[2]));
  EXPECT_EQ(boxes[2]->Left(), boxes[0]->Left() + boxes[0]->Width());
  // Using the hidden one brings it back at once and hides another.
  bar->UpControlInRUL(boxes[1]);
  EXPECT_FALSE(Hidden(bar, boxes[1]));
  // Floating gives every hidden control back.
  bar->SetFloating(100, 100, true);
  EXPECT_EQ(bar->HiddenList()->Count(), 0);
}

TEST_F(FloatingTest, AVerticalBarGetsItsControlsBackByHeight) {
  form->SetBounds(100, 100, 600, 600);
  TDizDockPanel* panel = NewPanel(daLeft);
  Neighbour(panel, true);
  TVivIzizEzu* bar = NewBar(panel, {77, 77, 23}, true);
  bar->SetBounds(1, 3, bar->Width(), bar->Height());
  ASSERT_FALSE(bar->Horizontal());
  HeightTo(bar, 199);
  ASSERT_TRUE(Hidden(bar, boxes[2]));
  HeightTo(bar, 200);
  EXPECT_FALSE(Hidden(bar, boxes[2]));
  // Painting notices room only by the bar's length and leaves the giving back to the queue.
  HeightTo(bar, 199);
  ASSERT_TRUE(Hidden(bar, boxes[2]));
  WindowPixel(bar->Handle(), 0, 0);  // paints what is pending
  EXPECT_TRUE(Hidden(bar, boxes[2]));
}

// ---- option window ----------------------------------------------------------------------
TEST_F(FloatingTest, OptionPanelGeometry) {
  auto* menu = new TPopupMenu(form);
  struct Case {
    int rowHeight;  // 0: no control
    int height, line;
  } cases[] = {{0, 46, -1}, {22, 76, 29}};
  for (const Case& c : cases) {
    auto* p = new TControlSelectorPanel(form);
    p->SetParent(form);
    p->SetOptionsMenu(menu);
    // Captions narrower than 115 px keep the items at their 130 px.
    p->SetTextAutoOptionMenu("Add or Remove");
    if (c.rowHeight) p->AddControl(new TBox(form, 23, c.rowHeight));
    p->ArrangeControls();
    EXPECT_EQ(p->Width(), 136);
    EXPECT_EQ(p->Height(), c.height);
    const TRect o = p->OptionsItem().Rect, a = p->AddRemoveItem().Rect;
    EXPECT_EQ(o.Top - 4, c.line);
    EXPECT_EQ(a.Bottom - a.Top, 20);
    EXPECT_EQ(o.Bottom, a.Top);
    if (!c.rowHeight) {
      EXPECT_EQ((std::vector<int>{o.Left, o.Top, o.Right, o.Bottom}), (std::vector<int>{3, 3, 133, 23}));
      EXPECT_EQ((std::vector<int>{a.Left, a.Top, a.Right, a.Bottom}), (std::vector<int>{3, 23, 133, 43}));
    }
    delete p;
  }
  // A longer caption widens both items equally to its text width + 15.
  auto* p = new TControlSelectorPanel(form);
  p->SetParent(form);
  p->SetOptionsMenu(menu);
  const std::string longer = "Add or Remove Buttons of this tool bar";
  p->SetTextAutoOptionMenu(longer);
  p->ArrangeControls();
  p->Canvas()->Font()->SetName("Tahoma");
  p->Canvas()->Font()->SetSize(8);
  const int w = p->Canvas()->TextWidth(longer) + 15;
  EXPECT_EQ(p->AddRemoveItem().Rect.Right - p->AddRemoveItem().Rect.Left, w);
  EXPECT_EQ(p->OptionsItem().Rect.Right - p->OptionsItem().Rect.Left, w);
  EXPECT_EQ(p->Width(), w + 6);
}

TEST_F(FloatingTest, OptionWindowListsHiddenControlsAndTheAddRemoveChain) {
  TDizDockPanel* panel = NewPanel();
  Neighbour(panel, false);
  TVivIzizEzu* bar = NewBar(panel, {77, 77, 23});
  bar->SetBounds(3, 1, bar->Width(), bar->Height());
  bar->SetCaption("Edit");
  bar->SetAutoOptionMenu(true);
  WidthTo(bar, 190);
  ASSERT_TRUE(Hidden(bar, boxes[2]));
  bar->ShowOptionWindow(0, 0, false);
  TOptionSelectorWindow* w = bar->OptionWindow();
  ASSERT_TRUE(w && w->Visible());
  TControlSelectorPanel* p = bar->OptionPanel();
  ASSERT_EQ(p->ControlListCount(), 1);
  EXPECT_EQ(p->ListedControl(0), boxes[2]);
  EXPECT_EQ(boxes[2]->Parent(), p);
  // Under the bar's right end.
  const TPoint under = panel->ClientToScreen(TPoint{bar->Left() + bar->Width() - 12, bar->Top() + bar->Height() + 1});
  EXPECT_EQ(w->Left(), under.X);
  EXPECT_EQ(w->Top(), under.Y);
  // Hovering the add/remove item opens its pop-up; the caption row opens the check items.
  const TRect a = p->AddRemoveItem().Rect;
  robot.MoveTo(p->Handle(), a.Left + 10, a.Top + 5);
  TVIEPopupWindow* aar = p->AddAndRemovePopup();
  ASSERT_TRUE(aar && aar->Visible());
  TVIEPopupPanel* pp = aar->PopupPanel();
  ASSERT_EQ(pp->Items()->Count(), 1);
  EXPECT_EQ(pp->Items()->Items(0)->Caption, "Edit");
  const TRect row = pp->Items()->Items(0)->Rect;
  robot.MoveTo(pp->Handle(), row.Left + 10, row.Top + 5);
  TVIEPopupWindow* sub = pp->ItemPopup();
  ASSERT_TRUE(sub && sub->Visible());
  ASSERT_EQ(sub->PopupPanel()->Items()->Count(), 3);
  EXPECT_TRUE(sub->PopupPanel()->Items()->Items(0)->Checked);
  const auto png = PngDir() / "lorm_option_window_chain.png";
  EXPECT_TRUE(SaveScreenPng(png.string()));
  if (!std::getenv("LORM_KEEP_PNG")) std::filesystem::remove(png);
  // Clicking an entry hides that control; the pop-ups stay open.
  const TRect e = sub->PopupPanel()->Items()->Items(0)->Rect;
  robot.Click(sub->PopupPanel()->Handle(), e.Left + 10, e.Top + 5);
  EXPECT_FALSE(boxes[0]->Visible());
  EXPECT_FALSE(sub->PopupPanel()->Items()->Items(0)->Checked);
  EXPECT_TRUE(sub->Visible());
  // Hiding the option window takes the controls back.
  bar->HideOptionWindow();
  EXPECT_EQ(boxes[2]->Parent(), bar);
}

TEST_F(FloatingTest, NothingToOfferShowsNothing) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23});
  bar->OptionIndicatorClick();
  EXPECT_TRUE(!bar->OptionWindow() || !bar->OptionWindow()->Visible());
}

// ---- persistence ------------------------------------------------------------------------
class FloatingStoreTest : public FloatingTest {
protected:
  FloatingStoreTest() {
    ini = (std::filesystem::temp_directory_path() / ("lorm_floating_" + std::to_string(::getpid()) + ".ini")).string();
    std::filesystem::remove(ini);
  }
  ~FloatingStoreTest() override { std::filesystem::remove(ini); }
  void Persist(TDizCustomToolBar* bar) {
    bar->Persistence()->SetLocation(plIniFile);
    bar->Persistence()->SetKey(ini);
    bar->Persistence()->SetEnabled(true);
  }
  std::string ini;
};

TEST_F(FloatingStoreTest, SavedFloatingThenDockedKeepsThePlaceButNotTheState) {
  TDizDockPanel* panel = NewPanel();
  // The panel hands its settings to the tool bars that dock in it.
  panel->Persistence()->SetLocation(plIniFile);
  panel->Persistence()->SetKey(ini);
  panel->Persistence()->SetEnabled(true);
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23});
  ASSERT_TRUE(bar->Persistence()->Enabled());
  bar->SetFloating(210, 170, true);
  bar->SavePosition();
  {
    TIniFile f(ini);
    EXPECT_EQ(f.ReadString("UnDockedVivIzizEzus", "Bar1.Name", ""), "Bar1");
    EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.State", -1), 1);
    EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.Left", -1), 210);
    EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.Top", -1), 170);
    EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.Bar1Box1", -1), 1);
  }
  // Python's own reader understands the file (skipped where there is no python3).
  {
    const std::string cmd = "python3 -c \"import configparser,sys; c=configparser.ConfigParser(); "
                            "c.optionxform=str; c.read(sys.argv[1]); s=c['UnDockedVivIzizEzus']; "
                            "sys.exit(0 if s['Bar1.State']=='1' and s['Bar1.Left']=='210' else 1)\" " +
                            ini + " 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    if (!(WIFEXITED(rc) && WEXITSTATUS(rc) == 127)) EXPECT_EQ(rc, 0);
  }
  bar->Dock(panel);
  bar->SavePosition();
  TIniFile f(ini);
  EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.State", -1), 0);
  EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.Left", -1), 210);
  EXPECT_EQ(f.ReadInteger("UnDockedVivIzizEzus", "Bar1.Top", -1), 170);
}

TEST_F(FloatingStoreTest, LoadingFloatsAtTheStoredPlaceAndKeepsMoreRows) {
  TDizDockPanel* panel = NewPanel();
  TVivIzizEzu* bar = NewBar(panel, {23, 23, 23, 23, 23, 23});
  ASSERT_EQ(bar->GetMaxFloatingRowCount(), 3);
  {
    TIniFile f(ini);
    f.WriteString("UnDockedVivIzizEzus", "BAR1.Name", "bar1");
    f.WriteInteger("UnDockedVivIzizEzus", "Bar1.State", 1);
    f.WriteInteger("UnDockedVivIzizEzus", "Bar1.FloatingRows", 1);
    f.WriteInteger("UnDockedVivIzizEzus", "Bar1.Left", 90000);
    f.WriteInteger("UnDockedVivIzizEzus", "Bar1.Top", 40);
    f.WriteInteger("UnDockedVivIzizEzus", "Bar1.Bar1Box2", 0);
  }
  // Three rows already: a stored 1 leaves them.
  bar->SetFloating(0, 0, true);
  bar->SetFloatingRows(3);
  bar->Dock(panel);
  ASSERT_EQ(bar->FloatingRows(), 3);
  Persist(bar);
  bar->LoadPosition();
  EXPECT_TRUE(bar->PositionLoaded());
  ASSERT_EQ(bar->ToolBarState(), tsFloating);
  EXPECT_EQ(bar->FloatingRows(), 3);
  EXPECT_FALSE(boxes[1]->Visible());
  // Far beyond the screen: kept inside the work area.
  const TRect wa = ::Screen->WorkAreaRect();
  EXPECT_EQ(bar->FloatingWindow()->Left(), wa.Right - bar->FloatingWindow()->Width());
  EXPECT_EQ(bar->FloatingWindow()->Top(), 40);
}

}  // namespace
