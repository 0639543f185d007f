#include "ControlsTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace {

class TTestPanel : public TCustomControl {
  LORM_CLASS(TTestPanel, TCustomControl)
public:
  explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle += csAcceptsControls;
    SetBounds(0, 0, 100, 50);
  }
};

class TTestShape : public TGraphicControl {
  LORM_CLASS(TTestShape, TGraphicControl)
public:
  explicit TTestShape(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 20, 20); }
  TColor Fill = clBlue;
  int Paints = 0;

protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(TRect{0, 0, Width(), Height()});
  }
};

class Controls : public VclTest {
protected:
  TForm* MakeForm(int w = 400, int h = 300) {
    auto* f = new TForm(nullptr);
    f->SetBounds(100, 100, w, h);
    return f;
  }
};

TEST_F(Controls, WindowsAreCreatedOnDemandAndFollowTheControls) {
  TForm* form = MakeForm();
  auto* panel = new TTestPanel(form);
  panel->SetParent(form);
  auto* button = new TTestButton(form);
  button->SetParent(panel);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(button->HandleAllocated());
  form->Show();
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_EQ(GetParent(button->Handle()), panel->Handle());
  EXPECT_TRUE(IsWindowVisible(button->Handle()));
  EXPECT_EQ(FindControl(button->Handle()), button);
  button->SetBounds(5, 6, 50, 20);
  RECT r;
  GetWindowRect(button->Handle(), &r);
  POINT origin{0, 0};
  ClientToScreen(panel->Handle(), &origin);
  EXPECT_EQ(r.left - origin.x, 5);
  EXPECT_EQ(r.top - origin.y, 6);
  EXPECT_EQ(r.right - r.left, 50);
  button->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(button->Handle()));
  HWND h = button->Handle();
  delete form;  // frees the panel and the button with their windows
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(FindControl(h), nullptr);
}

TEST_F(Controls, AlignPlacesSiblingsAndAnchorsKeepDistances) {
  TForm* form = MakeForm();
  form->SetClientSize(300, 200);
  auto make = [&](TAlign a, int w, int h) {
    auto* p = new TTestPanel(form);
    p->SetBounds(0, 0, w, h);
    p->SetParent(form);
    p->SetAlign(a);
    return p;
  };
  auto* top = make(alTop, 10, 30);
  auto* bottom = make(alBottom, 10, 20);
  auto* left = make(alLeft, 50, 10);
  auto* client = make(alClient, 10, 10);
  auto* anchored = new TTestButton(form);
  anchored->SetParent(form);
  anchored->SetBounds(200, 100, 40, 20);
  anchored->SetAnchors(TAnchors{akRight, akBottom});
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 180, 300, 200}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 50, 180}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 300, 180}));
  form->Show();
  form->SetClientSize(400, 250);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 400, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 230, 400, 250}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 400, 230}));
  EXPECT_EQ(anchored->BoundsRect(), (TRect{300, 150, 340, 170}));
  // Hiding an aligned control gives its space to the others.
  top->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 0, 50, 230}));
}

TEST_F(Controls, ConstraintsLimitTheSize) {
  TForm* form = MakeForm();
  auto* b = new TTestButton(form);
  b->SetParent(form);
  b->Constraints()->SetMinWidth(30);
  b->Constraints()->SetMaxHeight(40);
  b->SetBounds(0, 0, 10, 100);
  EXPECT_EQ(b->Width(), 30);
  EXPECT_EQ(b->Height(), 40);
  b->Constraints()->SetMaxWidth(20);  // below the minimum: the minimum follows
  EXPECT_EQ(b->Constraints()->MinWidth(), 20);
  EXPECT_EQ(b->Width(), 20);
  delete form;
}

TEST_F(Controls, ParentFontAndColorFlowToChildrenUntilTheyHaveTheirOwn) {
  TForm* form = MakeForm();
  auto* a = new TTestPanel(form);
  a->SetParent(form);
  auto* b = new TTestButton(form);
  b->SetParent(a);
  int fontChanges = 0;
  form->Font()->SetName("Arial");
  form->Font()->SetSize(12);
  EXPECT_EQ(b->Font()->GetName(), "Arial");
  EXPECT_TRUE(b->ParentFont());
  b->Font()->SetStyle(TFontStyles{fsBold});
  EXPECT_FALSE(b->ParentFont());
  form->Font()->SetName("Tahoma");
  EXPECT_EQ(a->Font()->GetName(), "Tahoma");
  EXPECT_EQ(b->Font()->GetName(), "Arial");
  form->SetColor(clRed);
  EXPECT_EQ(a->Color(), clRed);
  EXPECT_TRUE(a->ParentColor());
  a->SetColor(clLime);
  EXPECT_FALSE(a->ParentColor());
  EXPECT_EQ(b->Color(), clLime);
  (void)fontChanges;
  delete form;
}

TEST_F(Controls, ClicksReachWindowedAndGraphicControls) {
  TForm* form = MakeForm();
  auto* button = new TTestButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 80, 30);
  auto* shape = new TTestShape(form);
  shape->SetParent(form);
  shape->SetBounds(150, 10, 40, 40);
  int shapeClicks = 0;
  std::vector<std::string> events;
  shape->OnClick = [&](TObject*) { ++shapeClicks; };
  shape->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (s.Contains(ssShift) ? " shift" : ""));
  };
  form->Show();
  Click(button, 5, 5);
  EXPECT_EQ(button->Clicks, 1);
  InputKey(VK_SHIFT, true);
  Click(shape, 7, 8);
  InputKey(VK_SHIFT, false);
  Pump();
  EXPECT_EQ(shapeClicks, 1);
  EXPECT_EQ(events, std::vector<std::string>{"down 7,8 shift"});
  // Pressed on the button, released elsewhere: no click.
  POINT a = ScreenOf(button, 5, 5), b = ScreenOf(button, 200, 200);
  InputMouseMove(a);
  InputMouseButton(TInputButton::Left, true, a);
  InputMouseMove(b);
  InputMouseButton(TInputButton::Left, false, b);
  Pump();
  EXPECT_EQ(button->Clicks, 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Controls, CustomAndGraphicControlsPaintWithTheirCanvas) {
  TForm* form = MakeForm();
  form->SetColor(clWhite);
  auto* button = new TTestButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 80, 30);
  auto* shape = new TTestShape(form);
  shape->SetParent(form);
  shape->SetBounds(150, 10, 40, 40);
  form->Show();
  EXPECT_EQ(Pixel(button, 40, 15), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(shape, 20, 20), RGB(0, 0, 255));
  EXPECT_EQ(Pixel(form, 120, 100), RGB(255, 255, 255));
  shape->Fill = clLime;
  shape->Invalidate();
  EXPECT_EQ(Pixel(shape, 1, 1), RGB(0, 255, 0));
  shape->SetLeft(200);
  EXPECT_EQ(Pixel(form, 155, 15), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(form, 205, 15), RGB(0, 255, 0));
}

TEST_F(Controls, MouseEnterAndLeaveFollowThePointer) {
  TForm* form = MakeForm();
  auto* a = new TTestButton(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 50, 20);
  auto* shape = new TTestShape(form);
  shape->SetParent(form);
  shape->SetBounds(100, 10, 20, 20);
  std::vector<std::string> log;
  a->OnMouseEnter = [&](TObject*) { log.push_back("enter a"); };
  a->OnMouseLeave = [&](TObject*) { log.push_back("leave a"); };
  shape->OnMouseEnter = [&](TObject*) { log.push_back("enter shape"); };
  shape->OnMouseLeave = [&](TObject*) { log.push_back("leave shape"); };
  form->Show();
  MoveTo(a, 5, 5);
  MoveTo(a, 6, 6);
  MoveTo(shape, 5, 5);
  MoveTo(form, 300, 200);
  EXPECT_EQ(log, (std::vector<std::string>{"enter a", "leave a", "enter shape", "leave shape"}));
}

TEST_F(Controls, WindowProcCanBeReplacedAndChained) {
  TForm* form = MakeForm();
  auto* b = new TTestButton(form);
  b->SetParent(form);
  std::vector<UINT> seen;
  auto old = b->WindowProc;
  b->WindowProc = [&, b](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER) seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 77;
      return;
    }
    b->WndProc(m);
  };
  EXPECT_EQ(b->Perform(WM_USER + 7), 77);
  b->Perform(CM_MOUSEENTER);
  EXPECT_EQ(seen, std::vector<UINT>{CM_MOUSEENTER});
  b->WindowProc = old;
  EXPECT_EQ(b->Perform(WM_USER + 7), 0);
  delete form;
}

TEST_F(Controls, FocusingAHiddenOrDisabledControlRaises) {
  TForm* form = MakeForm();
  auto* e = new TTestEdit(form);
  e->SetParent(form);
  form->Show();
  e->SetEnabled(false);
  EXPECT_FALSE(e->CanFocus());
  EXPECT_THROW(e->SetFocus(), EInvalidOperation);
  auto* orphan = new TTestEdit(nullptr);
  EXPECT_THROW(orphan->SetFocus(), EInvalidOperation);
  delete orphan;
}

TEST_F(Controls, TextOfWindowedControlsLivesInTheirWindow) {
  TForm* form = MakeForm();
  auto* b = new TTestButton(form);
  b->SetParent(form);
  int changes = 0;
  b->WindowProc = [&, b](TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) ++changes;
    b->WndProc(m);
  };
  b->SetCaption("До");
  form->Show();
  EXPECT_EQ(GetWindowTextStr(b->Handle()), "До");
  b->SetCaption("После");
  b->SetCaption("После");
  EXPECT_EQ(GetWindowTextStr(b->Handle()), "После");
  EXPECT_EQ(b->Text(), "После");
  EXPECT_EQ(changes, 2);
  auto* shape = new TTestShape(form);
  shape->SetParent(form);
  shape->SetCaption("graphic");
  EXPECT_EQ(shape->Caption(), "graphic");
  EXPECT_EQ(shape->GetTextLen(), 7);
}

TEST_F(Controls, FreeingAWindowedChildTakesItOutOfTabOrderAndFocus) {
  TForm* form = MakeForm();
  auto* a = new TTestEdit(form);
  a->SetParent(form);
  auto* b = new TTestEdit(form);
  b->SetParent(form);
  auto* c = new TTestEdit(form);
  c->SetParent(form);
  form->Show();
  b->SetFocus();
  delete b;
  EXPECT_EQ(form->ControlCount(), 2);
  EXPECT_EQ(c->TabOrder(), 1);
  EXPECT_NE(form->ActiveControl(), static_cast<TWinControl*>(b));
  a->SetFocus();
  Press(VK_TAB);
  EXPECT_TRUE(c->Focused());
  Press(VK_TAB);
  EXPECT_TRUE(a->Focused());
}

TEST_F(Controls, ScrollingControlShowsScrollBarsForContentBeyondItsClientArea) {
  TForm* form = MakeForm(300, 200);
  form->SetClientSize(300, 200);
  auto* far = new TTestButton(form);
  far->SetParent(form);
  far->SetBounds(10, 400, 50, 20);
  form->Show();
  EXPECT_EQ(form->VertScrollBar()->Range(), 420);
  EXPECT_TRUE(form->VertScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_STYLE) & WS_VSCROLL);
  form->VertScrollBar()->SetPosition(150);
  EXPECT_EQ(far->Top(), 250);
  EXPECT_EQ(form->VertScrollBar()->Position(), 150);
  // The scroll bar's own messages scroll too; the position stays in range.
  form->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(form->VertScrollBar()->Position(), form->VertScrollBar()->Range() - form->ClientHeight());
  form->VertScrollBar()->SetPosition(0);
  EXPECT_EQ(far->Top(), 400);
}

TEST_F(Controls, DoubleBufferedControlsPaintTheSame) {
  TForm* form = MakeForm();
  auto* b = new TTestButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 60, 30);
  b->SetDoubleBuffered(true);
  b->FaceColor = clGreen;
  form->Show();
  EXPECT_EQ(Pixel(b, 30, 15), RGB(0, 128, 0));
}

}  // namespace

// Layouts after a long run of random changes (controls added, moved, resized, shown and
// hidden, aligned, anchored, freed; the form resized and scrolled; changes batched between
// DisableAlign and EnableAlign), checked against the layouts the straightforward
// realign-everything code produced for the same run. Every step's bounds and scroll ranges
// go into one digest.
TEST_F(Controls, LayoutsAfterRandomChangesStayAsTheyWere) {
  struct TRun {
    unsigned Seed;
    std::uint64_t Digest;
  };
  const TRun runs[] = {{1, 14916676124260438827ull}, {2, 2271164127722904264ull}, {3, 2159922373039178817ull}};
  for (const TRun& run : runs) {
    std::mt19937 rng(run.Seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    TForm* form = MakeForm(400, 300);
    form->Show();
    std::vector<TControl*> kids;
    std::string log;
    std::uint64_t digest = 1469598103934665603ull;
    auto record = [&](int step) {
      std::string line = std::to_string(step) + ": " + std::to_string(form->HorzScrollBar()->Range()) + "/" +
                         std::to_string(form->VertScrollBar()->Range()) + " @" +
                         std::to_string(form->HorzScrollBar()->Position()) + "," +
                         std::to_string(form->VertScrollBar()->Position());
      for (TControl* c : form->ControlList())
        line += " " + std::to_string(c->Left()) + "," + std::to_string(c->Top()) + "," + std::to_string(c->Width()) +
                "," + std::to_string(c->Height());
      for (char ch : line) digest = (digest ^ std::uint8_t(ch)) * 1099511628211ull;
      log += line + "\n";
    };
    const TAlign aligns[] = {alNone, alNone, alNone, alTop, alBottom, alLeft, alRight, alClient};
    const TAnchors anchors[] = {TAnchors{akLeft, akTop}, TAnchors{akRight, akBottom}, TAnchors{akLeft, akRight},
                                TAnchors{akTop, akBottom}, TAnchors{akLeft, akTop, akRight, akBottom}};
    for (int step = 0; step < 300; ++step) {
      int op = pick(12);
      TControl* c = kids.empty() ? nullptr : kids[std::size_t(pick(int(kids.size())))];
      if (op < 3 || !c) {
        TControl* made = pick(3) == 0 ? static_cast<TControl*>(new TTestShape(form)) : new TTestPanel(form);
        made->SetParent(form);
        made->SetBounds(pick(500) - 50, pick(400) - 50, 10 + pick(150), 10 + pick(120));
        if (pick(4) == 0) made->SetAlign(aligns[pick(8)]);
        kids.push_back(made);
      } else if (op < 5) {
        c->SetBounds(pick(500) - 50, pick(400) - 50, 10 + pick(150), 10 + pick(120));
      } else if (op == 5) {
        c->SetBounds(c->Left() + pick(21) - 10, c->Top() + pick(21) - 10, c->Width(), c->Height());
      } else if (op == 6) {
        c->SetVisible(!c->Visible());
      } else if (op == 7) {
        c->SetAlign(aligns[pick(8)]);
      } else if (op == 8) {
        c->SetAnchors(anchors[pick(5)]);
      } else if (op == 9) {
        kids.erase(std::find(kids.begin(), kids.end(), c));
        delete c;
      } else if (op == 10) {
        form->SetBounds(form->Left(), form->Top(), 250 + pick(300), 200 + pick(250));
      } else if (pick(2) == 0) {
        form->VertScrollBar()->SetPosition(pick(300));
      } else {
        form->DisableAlign();
        for (int i = 0; i < 3 && !kids.empty(); ++i)
          kids[std::size_t(pick(int(kids.size())))]->SetBounds(pick(400), pick(300), 10 + pick(100), 10 + pick(100));
        form->EnableAlign();
      }
      record(step);
    }
    EXPECT_EQ(digest, run.Digest) << "seed " << run.Seed << "\n" << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
    delete form;
  }
}

// The child windows' z-order follows the control list (later controls above) however the
// windows came to be: made in list order when the form shows, one made again in the middle
// of the list, controls brought to the front or sent to the back, one added last.
TEST_F(Controls, ChildWindowsStackInControlOrderThroughChanges) {
  TForm* form = MakeForm();
  std::vector<TControl*> kids;
  for (int i = 0; i < 12; ++i) {
    TControl* c = i % 4 == 3 ? static_cast<TControl*>(new TTestShape(form)) : new TTestPanel(form);
    c->SetParent(form);
    c->SetBounds(i * 10, i * 5, 40, 30);
    kids.push_back(c);
  }
  auto expectStack = [&](const char* when) {
    std::vector<HWND> expected;  // top first: the list from its end
    for (auto it = form->ControlList().rbegin(); it != form->ControlList().rend(); ++it)
      if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->HandleAllocated()) expected.push_back(w->Handle());
    std::vector<HWND> actual;
    for (HWND h = GetWindow(form->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) actual.push_back(h);
    EXPECT_EQ(actual, expected) << when;
  };
  form->Show();
  expectStack("shown");
  // A windowed control moved in from another parent with its window, then a window made
  // before it in the list while those in between have none.
  auto win = [&](int i) { return static_cast<TWinControl*>(kids[std::size_t(i)]); };
  for (int i = 3; i < 12; ++i)
    if (i % 4 != 3) win(i)->DestroyHandle();
  auto* moved = new TTestPanel(form);
  moved->SetParent(win(0));
  ASSERT_TRUE(moved->Handle());
  moved->SetParent(form);
  win(2)->RecreateWnd();
  win(2)->HandleNeeded();
  expectStack("a window made below one moved in");
  for (int i = 3; i < 12; ++i)
    if (i % 4 != 3) win(i)->HandleNeeded();
  expectStack("made again");
  static_cast<TWinControl*>(kids[5])->RecreateWnd();
  static_cast<TWinControl*>(kids[5])->HandleNeeded();
  expectStack("a window made again in the middle");
  kids[0]->BringToFront();
  kids[11]->SendToBack();
  expectStack("brought to the front and sent to the back");
  static_cast<TWinControl*>(kids[6])->RecreateWnd();
  static_cast<TWinControl*>(kids[6])->HandleNeeded();
  expectStack("recreated");
  auto* late = new TTestPanel(form);
  late->SetParent(form);
  expectStack("added to a shown form");
  delete form;
}
