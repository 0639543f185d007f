// The control-message layer: dispatch to overridable operations, dialog codes, the
// deny-subclassing query, hint colours on mouse entry, clipboard filtering of edits,
// safe dispatch when a control is freed inside the framework's handling, and the theme
// helpers' parent-background eraser.
#include <gtest/gtest.h>

#include "label/VxExStdCtrls.h"
#include "label/VxThemes.h"
#include "platform/backend/Headless.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/vcl/Forms.h"
#include "platform/win/StdEdit.h"

namespace {

class VxLayerTest : public ::testing::Test {
protected:
  VxLayerTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 400, 300);
    form->Show();
  }
  ~VxLayerTest() override { Application->Restart(); }

  THeadlessScope scope;
  TForm* form = nullptr;
};

// A windowed layer control whose dialog-code operation is scripted by the test.
class TCodeControl : public TVxExCustomControl, public IVxDenySubClassing {
public:
  explicit TCodeControl(TComponent* AOwner) : TVxExCustomControl(AOwner) {}
  LRESULT Native = 0;
  std::function<void(TDlgCodes&)> Adjust;
  void InheritedWndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = Native;
      return;
    }
    TVxExCustomControl::InheritedWndProc(Message);
  }
  void DoGetDlgCode(TDlgCodes& Code) override {
    if (Adjust) Adjust(Code);
  }
};

TEST_F(VxLayerTest, DialogCodesStandUnlessTheOverrideDropsTheNativeFlag) {
  struct Case {
    const char* what;
    LRESULT native;
    TDlgCodes keepOrSet;
    bool dropNative;
    LRESULT expected;
  };
  const Case cases[] = {
      {"untouched", DLGC_WANTARROWS | DLGC_HASSETSEL, {}, false, DLGC_WANTARROWS | DLGC_HASSETSEL},
      {"added codes with native kept", DLGC_WANTCHARS, {dcWantTab, dcWantAllKeys}, false, DLGC_WANTCHARS},
      {"native dropped: exactly the set", DLGC_WANTARROWS | DLGC_HASSETSEL, {dcWantTab}, true,
       DLGC_WANTARROWS | DLGC_WANTTAB},
      {"every code", 0, {dcWantAllKeys, dcWantArrows, dcWantTab, dcWantChars, dcButton}, true,
       DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS | DLGC_BUTTON},
      {"nothing at all", DLGC_WANTCHARS | DLGC_BUTTON, {}, true, DLGC_WANTCHARS | DLGC_BUTTON},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TCodeControl control(nullptr);
    control.Native = c.native;
    TDlgCodes seen;
    control.Adjust = [&](TDlgCodes& codes) {
      seen = codes;
      codes += c.keepOrSet;
      if (c.dropNative) codes -= dcNative;
    };
    EXPECT_EQ(control.Perform(WM_GETDLGCODE, 0, 0), c.expected);
    EXPECT_TRUE(seen.Contains(dcNative));
  }
  // The translation of the platform's code into the set.
  TCodeControl control(nullptr);
  control.Native = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_BUTTON;
  TDlgCodes seen;
  control.Adjust = [&](TDlgCodes& codes) { seen = codes; };
  control.Perform(WM_GETDLGCODE, 0, 0);
  EXPECT_EQ(seen, (TDlgCodes{dcNative, dcWantArrows, dcWantTab, dcWantAllKeys, dcWantChars, dcButton}));
}

class TDenyingLabel : public TVxExCustomLabel, public IVxDenySubClassing {
public:
  explicit TDenyingLabel(TComponent* AOwner) : TVxExCustomLabel(AOwner) {}
};

TEST_F(VxLayerTest, DenySubclassingQueryAnswersOneOnlyForMarkedControls) {
  TDenyingLabel marked(nullptr);
  TVxExCustomLabel plain(nullptr);
  EXPECT_EQ(marked.Perform(CM_DENYSUBCLASSING, 0, 0), 1);
  EXPECT_EQ(plain.Perform(CM_DENYSUBCLASSING, 0, 0), 0);
  EXPECT_EQ(CM_DENYSUBCLASSING, 0xB7D0u);
}

TEST_F(VxLayerTest, MouseEntryAppliesTheHintColourAndLeaveRestoresIt) {
  Application->HintColor = clInfoBk;
  auto* label = new TVxExCustomLabel(form);
  label->SetParent(form);
  EXPECT_EQ(label->HintColor(), clInfoBk);  // copied at construction
  label->SetHintColor(clRed);
  int enters = 0, leaves = 0;
  label->OnMouseEnter = [&](TObject*) { ++enters; };
  label->OnMouseLeave = [&](TObject*) { ++leaves; };

  // A child's notification touches nothing.
  label->Perform(CM_MOUSEENTER, 0, LPARAM(form));
  EXPECT_EQ(Application->HintColor, clInfoBk);
  EXPECT_EQ(enters, 0);
  // A leave without an entry changes nothing.
  label->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 0);

  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Application->HintColor, clRed);
  EXPECT_EQ(enters, 1);
  label->Perform(CM_MOUSEENTER, 0, 0);  // a second entry changes nothing
  EXPECT_EQ(enters, 1);
  label->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Application->HintColor, clInfoBk);
  EXPECT_EQ(leaves, 1);

  // clNone leaves the application's colour alone and writes the same value back.
  label->SetHintColor(clNone);
  Application->HintColor = clAqua;
  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Application->HintColor, clAqua);
  label->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Application->HintColor, clAqua);
  EXPECT_EQ(enters, 2);
  EXPECT_EQ(leaves, 2);

  // In design mode nothing changes and no event comes.
  label->SetHintColor(clLime);
  label->SetDesigning(true);
  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Application->HintColor, clAqua);
  EXPECT_EQ(enters, 2);
}

// An override that leaves out the inherited call suppresses the framework's reaction.
class TMuteLabel : public TVxExCustomLabel {
public:
  explicit TMuteLabel(TComponent* AOwner) : TVxExCustomLabel(AOwner) {}
  bool Mute = false;
  int TextChanges = 0;
  void TextChanged() override {
    ++TextChanges;
    if (!Mute) TVxExCustomLabel::TextChanged();
  }
};

TEST_F(VxLayerTest, NotificationOverridesDecideWhetherTheFrameworkReacts) {
  auto* label = new TMuteLabel(form);
  label->SetParent(form);
  label->SetCaption("short");
  const int shortWidth = label->Width();
  label->SetCaption("a considerably longer caption");
  EXPECT_GT(label->Width(), shortWidth);  // the framework label measured itself again
  const int longWidth = label->Width();
  label->Mute = true;
  label->SetCaption("x");
  EXPECT_EQ(label->Width(), longWidth);  // suppressed: no new measurement
  EXPECT_EQ(label->TextChanges, 3);
}

// A control that frees itself while the framework handles the focus messages.
class TSelfFreeing : public TVxExCustomControl {
public:
  explicit TSelfFreeing(TComponent* AOwner, int* AfterCalls) : TVxExCustomControl(AOwner), FCalls(AfterCalls) {}
  void InheritedWndProc(TMessage& Message) override {
    if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS || Message.Msg == WM_GETDLGCODE) {
      delete this;
      return;
    }
    TVxExCustomControl::InheritedWndProc(Message);
  }
  void DoSetFocus(HWND) override { ++*FCalls; }
  void DoKillFocus(HWND) override { ++*FCalls; }
  void DoGetDlgCode(TDlgCodes&) override { ++*FCalls; }

private:
  int* FCalls;
};

TEST_F(VxLayerTest, AControlFreedDuringTheFrameworkHandlingGetsNoFurtherCall) {
  for (UINT msg : {UINT(WM_SETFOCUS), UINT(WM_KILLFOCUS), UINT(WM_GETDLGCODE)}) {
    SCOPED_TRACE(msg);
    int calls = 0;
    auto* control = new TSelfFreeing(nullptr, &calls);
    TMessage m;
    m.Msg = msg;
    control->WndProc(m);
    EXPECT_EQ(calls, 0);
  }
}

class TBoundsRecorder : public TVxExCustomControl {
public:
  explicit TBoundsRecorder(TComponent* AOwner) : TVxExCustomControl(AOwner) {}
  std::vector<std::string> Log;
  void DoBoundsChanged() override { Log.push_back("bounds"); }
  void InheritedWndProc(TMessage& Message) override {
    if (Message.Msg == WM_SIZE) Log.push_back("framework");
    TVxExCustomControl::InheritedWndProc(Message);
  }
};

TEST_F(VxLayerTest, SizeReachesDoBoundsChangedBeforeTheFramework) {
  TBoundsRecorder control(nullptr);
  control.Perform(WM_SIZE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(control.Log, (std::vector<std::string>{"bounds", "framework"}));
}

TEST_F(VxLayerTest, EditsPassClipboardRequestsOnlyWhenAllowed) {
  auto* edit = new TVxExCustomEdit(form);
  edit->SetParent(form);
  edit->SetText("hello");
  EXPECT_EQ(edit->ClipboardCommands(), (TVxClipboardCommands{ccCopy, ccCut, ccPaste, ccUndo}));

  edit->SetClipboardCommands({ccCopy, ccPaste, ccUndo});
  edit->Perform(EM_SETSEL, 0, -1);
  EXPECT_EQ(edit->Perform(WM_CUT, 0, 0), 1);
  EXPECT_EQ(edit->Perform(WM_CLEAR, 0, 0), 1);
  EXPECT_EQ(edit->Text(), "hello");  // neither cut nor clear reached the edit

  edit->Perform(WM_COPY, 0, 0);
  edit->SetText("");
  edit->SetClipboardCommands({ccCopy, ccCut, ccUndo});
  EXPECT_EQ(edit->Perform(WM_PASTE, 0, 0), 1);
  EXPECT_EQ(edit->Text(), "");  // paste refused
  edit->SetClipboardCommands({ccPaste});
  edit->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(edit->Text(), "hello");

  // Both undo requests go through WM_UNDO, and neither without ccUndo.
  edit->SetClipboardCommands({ccCut});
  edit->Perform(EM_SETSEL, 0, -1);
  edit->Perform(WM_CLEAR, 0, 0);
  EXPECT_EQ(edit->Text(), "");
  EXPECT_EQ(edit->Perform(EM_UNDO, 0, 0), 1);
  EXPECT_EQ(edit->Text(), "");
  edit->SetClipboardCommands({ccUndo});
  edit->Perform(EM_UNDO, 0, 0);
  EXPECT_EQ(edit->Text(), "hello");
}

// ---- theme helpers ----------------------------------------------------------------------

class TOriginRecorder : public TCustomControl {
public:
  explicit TOriginRecorder(TComponent* AOwner) : TCustomControl(AOwner) {}
  std::vector<POINT> Origins;
  bool Raise = false;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      POINT p{};
      GetWindowOrgEx(reinterpret_cast<HDC>(Message.WParam), &p);
      Origins.push_back(p);
      if (Raise) throw Exception("erase failed");
      Message.Result = 1;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};

TEST_F(VxLayerTest, EraseBackgroundShiftsByAnyNonZeroOffsetAndRestores) {
  auto* parent = new TOriginRecorder(form);
  parent->SetParent(form);
  parent->SetBounds(0, 0, 200, 200);
  auto* child = new TVxExCustomLabel(form);
  child->SetParent(parent);
  HDC dc = GetDC(form->Handle());
  struct Case {
    int left, top;
  };
  for (Case c : {Case{10, 20}, Case{0, 20}, Case{15, 0}, Case{0, 0}}) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    child->SetBounds(c.left, c.top, 30, 10);
    parent->Origins.clear();
    PerformEraseBackground(child, dc, TRect{0, 0, 30, 10});
    ASSERT_EQ(parent->Origins.size(), 1u);
    EXPECT_EQ(parent->Origins[0].x, c.left);
    EXPECT_EQ(parent->Origins[0].y, c.top);
    POINT after{};
    GetWindowOrgEx(dc, &after);
    EXPECT_EQ(after.x, 0);
    EXPECT_EQ(after.y, 0);
    // The DC had no clip region before; it has none afterwards.
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(dc, probe), 0);
    DeleteObject(probe);
  }
  // An exception from the parent still restores the origin.
  parent->Raise = true;
  child->SetBounds(10, 20, 30, 10);
  EXPECT_THROW(PerformEraseBackground(child, dc, TRect{0, 0, 30, 10}), Exception);
  POINT after{};
  GetWindowOrgEx(dc, &after);
  EXPECT_EQ(after.x, 0);
  EXPECT_EQ(after.y, 0);
  ReleaseDC(form->Handle(), dc);

  // Without a parent nothing is sent.
  TVxExCustomLabel orphan(nullptr);
  parent->Origins.clear();
  PerformEraseBackground(&orphan, nullptr);
  EXPECT_TRUE(parent->Origins.empty());
}

TEST_F(VxLayerTest, ParentBackgroundIsNeverOnAndOwnBrushColourStaysUntouched) {
  auto* panel = new TVxExCustomControl(form);
  panel->SetParent(form);
  EXPECT_FALSE(GetParentBackground(panel));
  SetParentBackground(panel, true);
  EXPECT_FALSE(GetParentBackground(panel));

  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  DrawThemedBackground(panel, bitmap.Canvas(), TRect{0, 0, 10, 10});
  EXPECT_EQ(bitmap.Canvas()->Brush()->GetColor(), clBlue);
  EXPECT_EQ(bitmap.Canvas()->GetPixel(5, 5), clBlue);
  DrawThemedBackground(panel, bitmap.Canvas(), TRect{0, 0, 10, 10}, clRed);
  EXPECT_EQ(bitmap.Canvas()->Brush()->GetColor(), clBlue);
  EXPECT_EQ(bitmap.Canvas()->GetPixel(5, 5), clRed);
}

}  // namespace
