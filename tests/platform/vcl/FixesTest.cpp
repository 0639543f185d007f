// Scroll bars inside a sunken border, owner drawing through the parent, theme switches
// reaching the controls, and the window graveyard at the end of the application.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <string>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/UxTheme.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListBoxes.h"

namespace {

class FixesTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  void SetUp() override {
    Application->Restart();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 420, 320);
    Form->SetColor(clBtnFace);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Application->Restart();
    ResetSysColors();
    SetThemeActive(true);
  }
  static void Snapshot(HWND h, const char* name) {
    if (const char* dir = std::getenv("LORM_TEST_PNG_DIR")) SaveWindowPng(h, std::string(dir) + "/" + name);
  }
  static bool Dark(COLORREF c) { return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64; }
  // Whether any pixel of a rectangle (client coordinates of h, may lie in the frame) is dark.
  static bool AnyDark(HWND h, RECT r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (Dark(WindowPixel(h, x, y))) return true;
    return false;
  }
};

// ---------------------------------------------------------------------------------------
// Scroll bars of a scroll box with a sunken border.

class ScrollBoxFrame : public FixesTest {
protected:
  TScrollBox* Box = nullptr;
  TPanel* Inner = nullptr;
  static constexpr COLORREF kTrack = RGB(0, 160, 0);
  void SetUp() override {
    FixesTest::SetUp();
    SetThemeActive(false);  // the classic frame: sunken edge and plain tracks
    INT index = COLOR_SCROLLBAR;
    COLORREF colour = kTrack;
    SetSysColors(1, &index, &colour);
    Box = new TScrollBox(Form);
    Box->SetParent(Form);
    Box->SetBounds(20, 20, 200, 150);
    Box->SetColor(clWhite);
    // Content larger than the box: a child that also reaches under both bars.
    Inner = new TPanel(Form);
    Inner->SetParent(Box);
    Inner->SetBounds(10, 10, 400, 300);
    Inner->SetColor(clRed);
    Application->ProcessMessages();
  }
};

TEST_F(ScrollBoxFrame, ClientShrinksByTheBarsInsideTheBorder) {
  HWND h = Box->Handle();
  EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_HSCROLL);
  int edge = GetSystemMetrics(SM_CXEDGE), bar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
  RECT cr;
  GetClientRect(h, &cr);
  EXPECT_EQ(cr.right, 200 - 2 * edge - bar);
  EXPECT_EQ(cr.bottom, 150 - 2 * edge - hbar);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  RECT wr;
  GetWindowRect(h, &wr);
  EXPECT_EQ(origin.x - wr.left, edge);
  EXPECT_EQ(origin.y - wr.top, edge);
  Snapshot(Form->Handle(), "scrollbox.png");
}

TEST_F(ScrollBoxFrame, BarsAreDrawnWhereTheyAreHit) {
  HWND h = Box->Handle();
  int edge = GetSystemMetrics(SM_CXEDGE), bar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
  RECT cr;
  GetClientRect(h, &cr);
  // In client coordinates the vertical bar starts at the client's right edge, the
  // horizontal one at its bottom; the corner lies where both meet.
  RECT vbar = MakeRect(cr.right, 0, cr.right + bar, cr.bottom);
  RECT hbarR = MakeRect(0, cr.bottom, cr.right, cr.bottom + hbar);
  RECT corner = MakeRect(cr.right, cr.bottom, cr.right + bar, cr.bottom + hbar);
  RECT downArrow = MakeRect(vbar.left, vbar.bottom - bar, vbar.right, vbar.bottom);
  RECT rightArrow = MakeRect(hbarR.right - hbar, hbarR.top, hbarR.right, hbarR.bottom);
  struct Case {
    POINT At;
    LRESULT Hit;
  } cases[] = {
      {{vbar.left + bar / 2, vbar.top + RectHeight(vbar) / 2}, HTVSCROLL},
      {{vbar.left + 1, vbar.bottom - 1}, HTVSCROLL},
      {{hbarR.left + RectWidth(hbarR) / 2, hbarR.top + hbar / 2}, HTHSCROLL},
      {{hbarR.right - 1, hbarR.top + 1}, HTHSCROLL},
      {{corner.left + 2, corner.top + 2}, HTNOWHERE},
      {{cr.right - 1, cr.bottom - 1}, HTCLIENT},
      {{-edge, 5}, HTBORDER},
      {{5, cr.bottom + hbar}, HTBORDER},
  };
  for (const Case& c : cases) {
    POINT s = c.At;
    ClientToScreen(h, &s);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(s)), c.Hit) << c.At.x << "," << c.At.y;
    // The box's frame belongs to the box, even with a child reaching under it.
    if (c.Hit != HTCLIENT) {
      EXPECT_EQ(WindowFromPoint(s), h) << c.At.x << "," << c.At.y;
    }
  }
  // What is drawn matches: the track in its colour and arrows with their glyphs in both
  // bars, the corner filled, the sunken edge outside them and the child clipped to the client.
  auto pixel = [&](int x, int y) { return WindowPixel(h, x, y); };
  EXPECT_EQ(pixel(vbar.left + bar / 2, downArrow.top - 2), kTrack);
  EXPECT_EQ(pixel(hbarR.right - hbar - 2, hbarR.top + hbar / 2), kTrack);
  EXPECT_TRUE(AnyDark(h, downArrow));
  EXPECT_TRUE(AnyDark(h, rightArrow));
  EXPECT_EQ(pixel(corner.left + bar / 2, corner.top + hbar / 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(-edge, 40), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pixel(cr.right + bar + edge - 1, 40), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixel(40, cr.bottom + hbar + edge - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(pixel(cr.right - 1, cr.bottom - 1), RGB(255, 0, 0));
}

TEST_F(ScrollBoxFrame, ClickOnTheDownArrowScrollsTheContent) {
  HWND h = Box->Handle();
  RECT cr;
  GetClientRect(h, &cr);
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  int before = Inner->Top();
  Robot.Click(h, cr.right + bar / 2, cr.bottom - bar / 2);
  EXPECT_EQ(Box->VertScrollBar()->Position(), Box->VertScrollBar()->Increment());
  EXPECT_EQ(Inner->Top(), before - Box->VertScrollBar()->Increment());
  EXPECT_EQ(Box->HorzScrollBar()->Position(), 0);
  Box->VertScrollBar()->SetPosition(100);
  Box->HorzScrollBar()->SetPosition(60);
  Snapshot(Form->Handle(), "scrollbox_scrolled.png");
}


// ---------------------------------------------------------------------------------------
// Owner drawing goes through the parent window, which reflects it to the control.

struct TOwnerDrawSeen {
  UINT Msg;
  UINT CtlType;
  UINT CtlID;
  HWND Item;  // DRAWITEMSTRUCT's hwndItem (nullptr for WM_MEASUREITEM)
  UINT ItemID;
};

// A panel that records the owner-draw messages its window receives; with Swallow it
// answers them itself instead of passing them on.
class TWatchedParent {
public:
  explicit TWatchedParent(TWinControl* parent) {
    auto previous = [parent](TMessage& m) { parent->WndProc(m); };
    parent->WindowProc = [this, previous](TMessage& m) {
      if (m.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        Seen.push_back({m.Msg, mis->CtlType, mis->CtlID, nullptr, mis->itemID});
      } else if (m.Msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        Seen.push_back({m.Msg, dis->CtlType, dis->CtlID, dis->hwndItem, dis->itemID});
        if (Swallow) {
          m.Result = 1;
          return;
        }
      }
      previous(m);
    };
  }
  std::vector<TOwnerDrawSeen> Seen;
  bool Swallow = false;
  size_t Count(UINT msg) const {
    size_t n = 0;
    for (auto& s : Seen) n += s.Msg == msg;
    return n;
  }
};

TEST_F(FixesTest, ListBoxItemsAreMeasuredAndDrawnThroughTheParent) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 380, 200);
  TWatchedParent watch(panel);
  // Two owner-drawn lists on one parent: each record reaches its own list.
  TListBox* lists[2];
  std::vector<std::pair<int, int>> measured, drawn;  // (list, index)
  for (int k = 0; k < 2; ++k) {
    lists[k] = new TListBox(Form);
    lists[k]->SetParent(panel);
    lists[k]->SetBounds(10 + 180 * k, 10, 150, 150);
    lists[k]->SetStyle(lbOwnerDrawVariable);
    lists[k]->OnMeasureItem = [&, k](TWinControl*, int index, int& height) {
      measured.push_back({k, index});
      height = 12 + 10 * k;
    };
    lists[k]->OnDrawItem = [&, k](TWinControl* c, int index, TRect r, TOwnerDrawState) {
      drawn.push_back({k, index});
      static_cast<TListBox*>(c)->Canvas()->FillRect(r);
    };
    lists[k]->HandleNeeded();
  }
  ASSERT_NE(GetDlgCtrlID(lists[0]->Handle()), GetDlgCtrlID(lists[1]->Handle()));
  lists[0]->Items()->Add("a");
  lists[1]->Items()->Add("b");
  lists[1]->Items()->Add("c");
  EXPECT_EQ(measured, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {1, 1}}));
  EXPECT_EQ(SendMessage(lists[1]->Handle(), LB_GETITEMHEIGHT, 1, 0), 22);
  ASSERT_EQ(watch.Count(WM_MEASUREITEM), 3u);
  EXPECT_EQ(watch.Seen[0].CtlType, UINT(ODT_LISTBOX));
  EXPECT_EQ(watch.Seen[0].CtlID, UINT(GetDlgCtrlID(lists[0]->Handle())));
  EXPECT_EQ(watch.Seen[1].CtlID, UINT(GetDlgCtrlID(lists[1]->Handle())));

  watch.Seen.clear();
  UpdateAllWindows();
  ASSERT_EQ(watch.Count(WM_DRAWITEM), 3u);
  for (auto& s : watch.Seen) {
    EXPECT_EQ(s.CtlType, UINT(ODT_LISTBOX));
    EXPECT_TRUE(s.Item == lists[0]->Handle() || s.Item == lists[1]->Handle());
    EXPECT_EQ(s.CtlID, UINT(GetDlgCtrlID(s.Item)));
  }
  EXPECT_EQ(drawn.size(), 3u);

  // A parent that draws the items itself: the list's own drawing is not asked.
  watch.Swallow = true;
  drawn.clear();
  lists[1]->Invalidate();
  UpdateAllWindows();
  EXPECT_GE(watch.Count(WM_DRAWITEM), 2u);
  EXPECT_TRUE(drawn.empty());
}

TEST_F(FixesTest, ComboBoxFieldAndListDrawThroughTheParentAsTheComboBox) {
  TWatchedParent watch(Form);
  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetStyle(csOwnerDrawVariable);
  combo->SetBounds(20, 20, 150, 21);
  std::vector<int> measured, drawn;
  combo->OnMeasureItem = [&](TWinControl*, int index, int& height) {
    measured.push_back(index);
    height = 18;
  };
  combo->OnDrawItem = [&](TWinControl* c, int index, TRect r, TOwnerDrawState) {
    drawn.push_back(index);
    static_cast<TComboBox*>(c)->Canvas()->FillRect(r);
  };
  for (const char* s : {"one", "two", "three"}) combo->Items()->Add(s);
  combo->SetItemIndex(1);
  EXPECT_EQ(measured, (std::vector<int>{0, 1, 2}));
  ASSERT_GE(watch.Count(WM_MEASUREITEM), 3u);
  for (auto& s : watch.Seen)
    if (s.Msg == WM_MEASUREITEM) {
      EXPECT_EQ(s.CtlType, UINT(ODT_COMBOBOX));
      EXPECT_EQ(s.CtlID, UINT(GetDlgCtrlID(combo->Handle())));
    }
  watch.Seen.clear();
  UpdateAllWindows();  // the field shows the selected item
  ASSERT_EQ(watch.Count(WM_DRAWITEM), 1u);
  EXPECT_EQ(watch.Seen[0].Item, combo->Handle());
  EXPECT_EQ(watch.Seen[0].ItemID, 1u);
  EXPECT_EQ(drawn, (std::vector<int>{1}));
  // The dropped list's items: drawn by the combo box, told to its parent as the combo box's.
  watch.Seen.clear();
  drawn.clear();
  combo->SetDroppedDown(true);
  UpdateAllWindows();
  EXPECT_GE(watch.Count(WM_DRAWITEM), 3u);
  for (auto& s : watch.Seen) {
    EXPECT_EQ(s.CtlType, UINT(ODT_COMBOBOX));
    EXPECT_EQ(s.Item, combo->Handle());
  }
  for (int i : {0, 1, 2}) EXPECT_NE(std::find(drawn.begin(), drawn.end(), i), drawn.end()) << i;
  combo->SetDroppedDown(false);
}


// ---------------------------------------------------------------------------------------
// Theme switches reach every window and control.

// A panel that counts the notifications its control receives.
class TCountingPanel : public TPanel {
public:
  using TPanel::TPanel;
  int ThemeChanges = 0, ColorChanges = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_THEMECHANGED) ++ThemeChanges;
    if (Message.Msg == CM_SYSCOLORCHANGE) ++ColorChanges;
    TPanel::WndProc(Message);
  }
};

class ThemeSwitch : public FixesTest {
protected:
  void TearDown() override {
    SetThemeActive(true);
    SetThemeColorScheme("NormalColor");
    FixesTest::TearDown();
  }
  static std::u16string SchemeName() {
    char16_t file[260] = {}, color[64] = {}, size[64] = {};
    if (GetCurrentThemeName(file, 260, color, 64, size, 64) != S_OK) return u"(none)";
    return color;
  }
};

TEST_F(ThemeSwitch, SchemeAndActivityReachFormsAndTheirControls) {
  auto* outer = new TCountingPanel(Form);
  outer->SetParent(Form);
  auto* inner = new TCountingPanel(Form);
  inner->SetParent(outer);
  std::vector<UINT> formMessages;
  Form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_THEMECHANGED || m.Msg == WM_SYSCOLORCHANGE) formMessages.push_back(m.Msg);
    Form->WndProc(m);
  };
  Application->ProcessMessages();

  SystemIdentity().ThemeColorScheme = "Metallic";
  EXPECT_EQ(SchemeName(), u"Metallic");
  EXPECT_EQ(GetThemeColorScheme(), "Metallic");
  EXPECT_EQ(formMessages, (std::vector<UINT>{WM_THEMECHANGED, WM_SYSCOLORCHANGE}));
  EXPECT_EQ(inner->ThemeChanges, 1);
  EXPECT_EQ(inner->ColorChanges, 1);
  EXPECT_EQ(outer->ThemeChanges, 1);
  // The same scheme again changes nothing.
  SystemIdentity().ThemeColorScheme = "Metallic";
  EXPECT_EQ(formMessages.size(), 2u);

  // Switched off through the theme painter: the identity says so and everybody hears of it.
  TSystemIdentity saved = SystemIdentity();
  SetThemeActive(false);
  EXPECT_FALSE(SystemIdentity().ThemesActive);
  EXPECT_EQ(SchemeName(), u"(none)");
  EXPECT_EQ(inner->ThemeChanges, 2);
  EXPECT_EQ(formMessages.size(), 4u);
  // The saved identity is assigned back: themes on again, with the scheme it had.
  SystemIdentity() = saved;
  EXPECT_TRUE(IsThemeActive());
  EXPECT_TRUE(SystemIdentity().ThemesActive);
  EXPECT_EQ(SchemeName(), u"Metallic");
  EXPECT_EQ(inner->ThemeChanges, 3);
  Form->WindowProc = nullptr;
}

// ---------------------------------------------------------------------------------------
// A themed child paints its parent's background under itself.

class TGradientParent : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  static COLORREF ColorAt(int x) { return RGB(x % 256, 40, 255 - x % 256); }

protected:
  void Paint() override {
    for (int x = 0; x < Width(); ++x) {
      Canvas()->Brush()->SetColor(TColor(ColorAt(x)));
      Canvas()->FillRect(TRect{x, 0, x + 1, Height()});
    }
  }
};

class TSeeThroughChild : public TCustomControl {
public:
  using TCustomControl::TCustomControl;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(ClientRect());
    RECT top{0, 0, Width(), Height() / 2};
    DrawThemeParentBackground(Handle(), Canvas()->GetHandle(), &top);
  }
};

TEST_F(FixesTest, ChildPaintsItsParentsBackgroundWithItsOffset) {
  auto* parent = new TGradientParent(Form);
  parent->SetParent(Form);
  parent->SetBounds(10, 10, 300, 200);
  auto* child = new TSeeThroughChild(Form);
  child->SetParent(parent);
  child->SetBounds(70, 40, 100, 60);
  Snapshot(Form->Handle(), "parent_background.png");
  for (int x : {0, 1, 50, 99}) {
    EXPECT_EQ(WindowPixel(child->Handle(), x, 5), TGradientParent::ColorAt(x + 70)) << x;
    EXPECT_EQ(WindowPixel(child->Handle(), x, 29), TGradientParent::ColorAt(x + 70)) << x;
    // Below the rectangle asked for, the child's own colour stays.
    EXPECT_EQ(WindowPixel(child->Handle(), x, 30), RGB(0, 255, 0)) << x;
  }
}

// ---------------------------------------------------------------------------------------
// A program that creates a form, runs and ends leaves nothing behind: windows destroyed
// on the way and those still there when it ends are freed (the leak checker, when the
// build has one, checks it at the child process's exit).

class TSmallMainForm : public TForm {
public:
  explicit TSmallMainForm(TComponent* AOwner) : TForm(AOwner) {
    SetBounds(50, 50, 300, 200);
    auto* panel = new TPanel(this);
    panel->SetParent(this);
    panel->SetBounds(10, 10, 100, 50);
    auto* list = new TListBox(this);
    list->SetParent(this);
    list->SetBounds(120, 10, 100, 80);
    list->Items()->Add("item");
  }
};

void RunSmallProgram() {
  THeadlessBackend backend;
  SetBackend(&backend);
  TSmallMainForm* form = nullptr;
  Application->CreateForm(form);
  backend.WhenIdle([&] {
    // A window made and destroyed while the program runs, then the main form closes.
    auto* temporary = new TPanel(form);
    temporary->SetParent(form);
    temporary->HandleNeeded();
    delete temporary;
    form->Close();
  });
  Application->Run();
  // The program lets go of its forms before it ends (as a program that frees what it made).
  Application->Restart();
}

TEST(ProgramEnd, WindowsAreFreedWhenTheProgramEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RunSmallProgram();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
