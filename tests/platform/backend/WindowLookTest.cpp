// Window regions and layered windows on the headless screen: what the mouse reaches, what
// a parent and the screen show outside a region, how layered windows compose over what
// lies beneath, and that nothing is left behind when such a window goes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/backend/Headless.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/vcl/Forms.h"
#include "platform/win/LayeredWindow.h"

namespace {

// Windows filled with the colour kept in their user data.
LRESULT ColourProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) {
    RECT c;
    GetClientRect(h, &c);
    HBRUSH b = CreateSolidBrush(COLORREF(GetWindowLongPtr(h, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(w), &c, b);
    DeleteObject(b);
    return 1;
  }
  return DefWindowProc(h, m, w, l);
}

constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

class WindowLook : public ::testing::Test {
protected:
  THeadlessScope Scope;

  void SetUp() override {
    WNDCLASS wc;
    wc.lpfnWndProc = ColourProc;
    wc.lpszClassName = "WindowLookTest";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override { ResetWindowSystem(); }

  HWND Make(DWORD style, HWND parent, RECT r, COLORREF colour, DWORD exStyle = 0) {
    HWND h = CreateWindowEx(exStyle, "WindowLookTest", "", style & ~WS_VISIBLE, r.left, r.top, RectWidth(r),
                            RectHeight(r), parent, nullptr, nullptr, nullptr);
    SetWindowLongPtr(h, GWLP_USERDATA, LONG_PTR(colour));
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOWNOACTIVATE);
    UpdateAllWindows();
    return h;
  }
  // A blue window under the whole test area.
  HWND Beneath() { return Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 400, 400), kBlue); }
};

COLORREF Mix(COLORREF over, COLORREF under, int alpha) {
  auto c = [&](int a, int b) { return (a * alpha + b * (255 - alpha)) / 255; };
  return RGB(c(GetRValue(over), GetRValue(under)), c(GetGValue(over), GetGValue(under)),
             c(GetBValue(over), GetBValue(under)));
}

void ExpectNear(COLORREF actual, COLORREF expected) {
  EXPECT_NEAR(GetRValue(actual), GetRValue(expected), 1) << std::hex << actual << " " << expected;
  EXPECT_NEAR(GetGValue(actual), GetGValue(expected), 1) << std::hex << actual << " " << expected;
  EXPECT_NEAR(GetBValue(actual), GetBValue(expected), 1) << std::hex << actual << " " << expected;
}

}  // namespace

// A child's region leaves the parent's pixels and the parent's mouse outside it; changing
// or dropping the region, with or without redrawing, and freeing the child repaint what
// it uncovers.
TEST_F(WindowLook, ChildRegionClipsPaintingAndHitTesting) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(100, 100, 300, 300), kBlue);
  HWND child = Make(WS_CHILD | WS_VISIBLE, parent, MakeRect(20, 20, 120, 120), kGreen);
  ASSERT_EQ(SetWindowRgn(child, CreateRectRgn(0, 0, 50, 100), TRUE), 1);
  EXPECT_EQ(WindowPixel(parent, 30, 30), kGreen);
  EXPECT_EQ(WindowPixel(parent, 100, 30), kBlue);  // the child's (80, 10): cut away
  EXPECT_EQ(WindowFromPoint(POINT{130, 130}), child);
  EXPECT_EQ(WindowFromPoint(POINT{200, 130}), parent);
  EXPECT_EQ(ChildWindowFromPoint(parent, POINT{30, 30}), child);
  EXPECT_EQ(ChildWindowFromPoint(parent, POINT{100, 30}), parent);

  // The handle went to the window: deleting it again does nothing to the shape.
  HRGN given = CreateRectRgn(50, 0, 100, 100);
  ASSERT_EQ(SetWindowRgn(child, given, FALSE), 1);
  EXPECT_FALSE(DeleteObject(given));
  EXPECT_EQ(WindowPixel(parent, 30, 30), kBlue);
  EXPECT_EQ(WindowPixel(parent, 100, 30), kGreen);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(child, copy), SIMPLEREGION);
  RECT box;
  GetRgnBox(copy, &box);
  EXPECT_EQ(box.left, 50);
  EXPECT_EQ(box.right, 100);
  DeleteObject(copy);
  EXPECT_EQ(SetWindowRgn(child, reinterpret_cast<HRGN>(GetStockObject(WHITE_BRUSH)), TRUE), 0);

  ASSERT_EQ(SetWindowRgn(child, nullptr, TRUE), 1);
  EXPECT_EQ(WindowPixel(parent, 30, 30), kGreen);
  EXPECT_EQ(GetWindowRgn(child, CreateRectRgn(0, 0, 0, 0)), ERROR);
  SetWindowRgn(child, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  DestroyWindow(child);
  EXPECT_EQ(WindowPixel(parent, 70, 70), kBlue);
  EXPECT_EQ(WindowFromPoint(POINT{170, 170}), parent);
}

// A top-level window's region shows the window beneath on the screen and gives it the
// mouse; freed while shown, the window leaves nothing behind.
TEST_F(WindowLook, TopLevelRegionShowsWhatLiesBeneath) {
  HWND beneath = Beneath();
  HWND top = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(100, 100, 200, 200), kRed);
  SetWindowRgn(top, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  EXPECT_EQ(ScreenPixel(150, 150), kRed);
  EXPECT_EQ(ScreenPixel(102, 102), kBlue);
  EXPECT_EQ(WindowFromPoint(POINT{150, 150}), top);
  EXPECT_EQ(WindowFromPoint(POINT{102, 102}), beneath);
  DestroyWindow(top);
  EXPECT_EQ(ScreenPixel(150, 150), kBlue);
}

// Which calls a window accepts depends on its style and on how it was given its look.
TEST_F(WindowLook, LayeredCallsFollowTheWindowsRules) {
  HWND plain = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 50, 50), kRed);
  EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 128, LWA_ALPHA));  // not layered
  HWND child = Make(WS_CHILD | WS_VISIBLE, plain, MakeRect(0, 0, 10, 10), kRed, WS_EX_LAYERED);
  EXPECT_FALSE(SetLayeredWindowAttributes(child, 0, 128, LWA_ALPHA));
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 50, 50), kRed, WS_EX_LAYERED);
  EXPECT_FALSE(GetLayeredWindowAttributes(w, nullptr, nullptr, nullptr));  // nothing set yet
  EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 128, 8));                  // unknown flag
  ASSERT_TRUE(SetLayeredWindowAttributes(w, kGreen, 77, LWA_COLORKEY | LWA_ALPHA));
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
  EXPECT_EQ(key, kGreen);
  EXPECT_EQ(alpha, 77);
  EXPECT_EQ(flags, DWORD(LWA_COLORKEY | LWA_ALPHA));
  EXPECT_EQ(LayeredWindowOpacity(w), 77);
  EXPECT_FALSE(UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_OPAQUE));
  // Taking the style away and back starts afresh: now the picture call is the one taken.
  SetWindowLongPtr(w, GWL_EXSTYLE, 0);
  EXPECT_EQ(LayeredWindowOpacity(w), 255);
  SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_LAYERED);
  EXPECT_FALSE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
  EXPECT_FALSE(UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_ALPHA));  // no blend
  EXPECT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_OPAQUE));
  EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));
  EXPECT_FALSE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
}

// The colour key lets the window beneath show through; the alpha blends the window over it.
TEST_F(WindowLook, ColourKeyAndAlphaComposeOverWhatLiesBeneath) {
  Beneath();
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(100, 100, 200, 200), kRed, WS_EX_LAYERED);
  HWND spot = Make(WS_CHILD | WS_VISIBLE, w, MakeRect(0, 0, 20, 20), kGreen);
  struct Case {
    COLORREF Key;
    BYTE Alpha;
    DWORD Flags;
    COLORREF Red, Green;  // what the screen shows where the window is red and green
  } cases[] = {
      {kRed, 0, LWA_COLORKEY, kBlue, kGreen},
      {kRed, 128, LWA_COLORKEY | LWA_ALPHA, kBlue, Mix(kGreen, kBlue, 128)},
      {kRed, 128, LWA_ALPHA, Mix(kRed, kBlue, 128), Mix(kGreen, kBlue, 128)},
      {kRed, 0, LWA_ALPHA, kBlue, kBlue},
      {kRed, 255, 0, kRed, kGreen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Flags * 1000 + c.Alpha);
    ASSERT_TRUE(SetLayeredWindowAttributes(w, c.Key, c.Alpha, c.Flags));
    ExpectNear(ScreenPixel(150, 150), c.Red);
    ExpectNear(ScreenPixel(105, 105), c.Green);
  }
  (void)spot;
  // Freed while shown, it leaves the window beneath whole.
  SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA);
  DestroyWindow(w);
  EXPECT_EQ(ScreenPixel(150, 150), kBlue);
  EXPECT_EQ(ScreenPixel(105, 105), kBlue);
}

// UpdateLayeredWindow shows a 32-bit picture with its per-pixel alpha (and a constant
// alpha over it), and moves and sizes the window to it.
TEST_F(WindowLook, UpdateLayeredWindowShowsAPictureWithItsAlpha) {
  Beneath();
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(10, 10, 20, 20), kRed, WS_EX_LAYERED);
  BITMAPINFO info;
  info.bmiHeader.biWidth = 30;
  info.bmiHeader.biHeight = -10;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 30; ++x)
      px[y * 30 + x] = x < 10 ? 0u : x < 20 ? 0x80808080u : 0xFFFFFFFFu;  // premultiplied: none, half white, white
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  POINT to{100, 100}, from{0, 0};
  SIZE size{30, 10};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, &to, &size, mem, &from, 0, &blend, ULW_ALPHA));
  RECT wr;
  GetWindowRect(w, &wr);
  EXPECT_EQ(wr.left, 100);
  EXPECT_EQ(wr.right, 130);
  EXPECT_EQ(wr.bottom, 110);
  const COLORREF white = RGB(255, 255, 255);
  ExpectNear(ScreenPixel(105, 105), kBlue);
  ExpectNear(ScreenPixel(115, 105), Mix(white, kBlue, 128));
  ExpectNear(ScreenPixel(125, 105), white);
  // Repainting the window does not replace its picture.
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  ExpectNear(ScreenPixel(125, 105), white);
  // A constant alpha over the picture, without a new picture.
  blend.SourceConstantAlpha = 128;
  ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA));
  ExpectNear(ScreenPixel(125, 105), Mix(white, kBlue, 128));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  DestroyWindow(w);
  EXPECT_EQ(ScreenPixel(125, 105), kBlue);
}

// A form's AlphaBlend makes its window layered with AlphaBlendValue: white at 128 over a
// black form shows grey 128.
TEST_F(WindowLook, FormAlphaBlendComposesOverTheFormBeneath) {
  Application->Restart();
  TForm* black = nullptr;
  TForm* white = nullptr;
  Application->CreateForm(black);
  Application->CreateForm(white);
  for (TForm* f : {black, white}) {
    f->SetBorderStyle(bsNone);
    f->SetBounds(100, 100, 200, 150);
  }
  black->SetColor(clBlack);
  white->SetColor(clWhite);
  white->SetAlphaBlendValue(128);
  white->SetAlphaBlend(true);
  black->Show();
  white->Show();
  HWND w = white->Handle();
  EXPECT_NE(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  ExpectNear(ScreenPixel(150, 150), RGB(128, 128, 128));
  white->SetAlphaBlendValue(300);  // clamped
  EXPECT_EQ(white->AlphaBlendValue(), 255);
  ExpectNear(ScreenPixel(150, 150), RGB(255, 255, 255));
  white->SetAlphaBlendValue(64);
  ExpectNear(ScreenPixel(150, 150), RGB(64, 64, 64));
  white->SetAlphaBlend(false);
  EXPECT_EQ(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(ScreenPixel(150, 150), RGB(255, 255, 255));
  white->SetAlphaBlend(true);
  delete white;  // freed while shown
  EXPECT_EQ(ScreenPixel(150, 150), RGB(0, 0, 0));
  Application->Restart();
}
