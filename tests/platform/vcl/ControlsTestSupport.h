#pragma once
// Support for the controls and forms tests: a back end with a hand-moved clock, input
// helpers that go through the same entry as real input, and two small controls (a push
// button with Default/Cancel and an edit field).
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Backend.h"

class TClockBackend : public TBackend {
public:
  unsigned long long Time = 0;
  std::vector<std::function<void()>> Steps;
  unsigned long long Now() override { return Time; }
  void Wait(bool, unsigned long long) override {
    if (Steps.empty()) throw EMessageLoopStalled("nothing scripted");
    auto step = Steps.front();
    Steps.erase(Steps.begin());
    step();
  }
  void Sleep(unsigned long ms) override { Time += ms; }
  void Advance(unsigned long long ms) {
    unsigned long long target = Time + ms;
    Application->ProcessMessages();
    for (;;) {
      unsigned long long due = 0;
      if (!NextTimerDue(&due) || due > target) break;
      Time = std::max(Time, due);
      Application->ProcessMessages();
    }
    Time = target;
    Application->ProcessMessages();
  }
};

class TTestButton : public TCustomControl {
  LORM_PUBLISHED(TTestButton, TCustomControl)
public:
  explicit TTestButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
  }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  int Clicks = 0;
  TColor FaceColor = clRed;

  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY &&
        ((Message.WParam == VK_RETURN && FDefault) || (Message.WParam == VK_ESCAPE && FCancel)) && Showing()) {
      Click();
      Message.Result = 1;
      return;
    }
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_BUTTON;
      return;
    }
    TCustomControl::WndProc(Message);
  }
  void Click() override {
    ++Clicks;
    TCustomControl::Click();
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(FaceColor);
    Canvas()->FillRect(ClientRect());
  }

private:
  bool FDefault = false;
  bool FCancel = false;
};

inline void TTestButton::Publish(TClassBuilder<TTestButton>& P) {
  P.Bool("Default", &TTestButton::Default, &TTestButton::SetDefault, false)
      .Bool("Cancel", &TTestButton::Cancel, &TTestButton::SetCancel, false);
}

class TTestEdit : public TCustomControl {
  LORM_PUBLISHED(TTestEdit, TCustomControl)
public:
  explicit TTestEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 120, 21);
  }
  bool WantReturns = false;
  std::u32string Typed;
  std::vector<WORD> KeysDown;
  std::string TypedUtf8() const {
    std::string s;
    for (char32_t c : Typed) Utf8Append(s, c);
    return s;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (WantReturns ? UINT(DLGC_WANTALLKEYS) : 0u);
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN && CanFocus()) SetFocus();
    TCustomControl::WndProc(Message);
  }

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override {
    KeysDown.push_back(Key);
    TCustomControl::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    TCustomControl::KeyPress(Key);
    if (Key == 8) {
      if (!Typed.empty()) Typed.pop_back();
    } else if (Key >= 32) {
      Typed.push_back(Key);
    }
  }
};

inline void TTestEdit::Publish(TClassBuilder<TTestEdit>& P) { (void)P; }

class VclTest : public ::testing::Test {
protected:
  TClockBackend Backend;
  TBackend* FPrevious = nullptr;

  void SetUp() override {
    ResetWindowSystem();
    FPrevious = SetBackend(&Backend);
    Application->Restart();
    Application->Handle();  // the application's key and dialog handling is in place
  }
  void TearDown() override {
    Application->Restart();
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
    ResetWindowSystem();
    SetBackend(FPrevious);
  }

  void Pump() { Application->ProcessMessages(); }

  static POINT ScreenOf(TControl* c, int x, int y) {
    TPoint p = c->ClientToScreen(TPoint{x, y});
    return POINT{p.X, p.Y};
  }
  void MoveTo(TControl* c, int x, int y) {
    InputMouseMove(ScreenOf(c, x, y));
    Pump();
  }
  void Click(TControl* c, int x = 3, int y = 3) {
    POINT p = ScreenOf(c, x, y);
    InputMouseMove(p);
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
    Pump();
  }
  void Press(int vk, bool shift = false) {
    if (shift) InputKey(VK_SHIFT, true);
    InputKey(vk, true);
    InputKey(vk, false);
    if (shift) InputKey(VK_SHIFT, false);
    Pump();
  }
  void Type(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) InputChar(Utf8Next(text, pos));
    Pump();
  }
  // The colour of a pixel of a control's client area, after painting what is pending.
  static COLORREF Pixel(TControl* c, int x, int y) {
    UpdateAllWindows();
    TCustomForm* form = GetParentForm(c);
    HWND top = form ? form->Handle() : nullptr;
    auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(top));
    if (!s) return CLR_INVALID;
    cairo_surface_flush(s);
    RECT wr;
    GetWindowRect(top, &wr);
    TPoint p = c->ClientToScreen(TPoint{x, y});
    int px = p.X - wr.left, py = p.Y - wr.top;
    if (px < 0 || py < 0 || px >= cairo_image_surface_get_width(s) || py >= cairo_image_surface_get_height(s))
      return CLR_INVALID;
    uint32_t v;
    std::memcpy(&v, cairo_image_surface_get_data(s) + py * cairo_image_surface_get_stride(s) + px * 4, 4);
    return RGB(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
  }
};
