// ZedIvadUtil: rectangle and colour helpers, the rotated font, layered-window support,
// the colour-scheme probe and the theme notifier.
#include "menus/ZedIvadUtil.h"

#include <string>

#include "foundation/DizThemeBinding.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace ZedIvadUtil {

int RectWidth(const TRect& R) { return R.Right - R.Left; }
int RectHeight(const TRect& R) { return R.Bottom - R.Top; }

TPoint CenterPoint(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

void CenterRect(TRect& R, int Width, int Height) {
  R.Right = (R.Left + R.Right + Width) / 2;
  R.Bottom = (R.Top + R.Bottom + Height) / 2;
  R.Left = R.Right - Width;
  R.Top = R.Bottom - Height;
}

static bool PointIn(int X, int Y, const TRect& B) { return X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom; }

bool RectInRect(const TRect& A, const TRect& B) { return PointIn(A.Left, A.Top, B) && PointIn(A.Right, A.Bottom, B); }

TRect BitmapRect(TBitmap* Bitmap) {
  if (!Bitmap) return TRect{};
  return TRect{0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()};
}

void ColorToRGBVal(TColor Color, BYTE& R, BYTE& G, BYTE& B) {
  COLORREF c = ColorToRGB(Color);
  R = GetRValue(c);
  G = GetGValue(c);
  B = GetBValue(c);
}

void ColorTo24bitScanLineElement(TColor Color, BYTE (&Bytes)[3]) {
  BYTE r, g, b;
  ColorToRGBVal(Color, r, g, b);
  Bytes[0] = b;
  Bytes[1] = g;
  Bytes[2] = r;
}

uint32_t ColorTo32bitScanLineElement(TColor Color) {
  uint32_t c = uint32_t(Color);
  return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

uint32_t RGB(BYTE R, BYTE G, BYTE B, BYTE A) { return uint32_t(R) | uint32_t(G) << 8 | uint32_t(B) << 16 | uint32_t(A) << 24; }

HFONT CreateRotatedFont(TFont* Font, int Angle) {
  LOGFONT lf;
  lf.lfHeight = Font->GetHeight();
  lf.lfWidth = 0;
  lf.lfEscapement = Angle * 10;
  lf.lfOrientation = 0;
  TFontStyles style = Font->GetStyle();
  lf.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = style.Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = style.Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfFaceName = Font->GetName();
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  switch (Font->GetPitch()) {
    case fpVariable: lf.lfPitchAndFamily = VARIABLE_PITCH; break;
    case fpFixed: lf.lfPitchAndFamily = FIXED_PITCH; break;
    default: lf.lfPitchAndFamily = DEFAULT_PITCH;
  }
  return CreateFontIndirect(&lf);
}

namespace {

using TSetLayeredWindowAttributesProc = BOOL (*)(HWND window, COLORREF key, BYTE alpha, DWORD flags);

// The layered-window entry points, looked up once in the window library; the library
// module stays loaded for the program's life once it answered.
struct TLayeredEntries {
  TLibraryProc UpdateLayeredWindow = nullptr;
  TLibraryProc SetLayeredWindowAttributes = nullptr;
  TLayeredEntries() {
    if (HLIBMODULE user32 = LoadLibraryModule("user32.dll")) {
      UpdateLayeredWindow = GetLibraryProc(user32, "UpdateLayeredWindow");
      SetLayeredWindowAttributes = GetLibraryProc(user32, "SetLayeredWindowAttributes");
      FreeLibraryModule(user32);
    }
  }
};

TLayeredEntries& Layered() {
  static TLayeredEntries entries;
  return entries;
}

}  // namespace

bool SupportsLayeredWindows() { return Layered().SetLayeredWindowAttributes != nullptr; }

bool SetWindowLayered(HWND Window, bool On) {
  LONG_PTR ex = GetWindowLongPtr(Window, GWL_EXSTYLE);
  bool layered = (ex & WS_EX_LAYERED) != 0;
  if (On && !layered) SetWindowLongPtr(Window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  if (!On && layered) SetWindowLongPtr(Window, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
  return true;
}

}  // namespace ZedIvadUtil

// Calls the looked-up SetLayeredWindowAttributes; false when there is none.
bool CallSetLayeredWindowAttributes(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags) {
  auto proc = ZedIvadUtil::Layered().SetLayeredWindowAttributes;
  if (!proc) return false;
  return LibraryProcAs<ZedIvadUtil::TSetLayeredWindowAttributesProc>(proc)(Window, Key, Alpha, Flags) != 0;
}

// ---- colour-scheme probe ---------------------------------------------------------------
BYTE GetXPColorScheme() { return static_cast<BYTE>(XPColorScheme()); }

// ---- theme notifier ---------------------------------------------------------------------
void TNotifierWindow::Publish(TClassBuilder<TNotifierWindow>&) {}

TNotifierWindow::TNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 0, 0); }

void TNotifierWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
  TWinControl::WndProc(Message);
}

TNotifierWindow* CreateThemeNotifier(TComponent* Styler, TNotifyEvent OnThemeChange) {
  auto* notifier = new TNotifierWindow(Styler);
  for (TComponent* owner = Styler ? Styler->Owner() : nullptr; owner; owner = owner->Owner())
    if (auto* parent = dynamic_cast<TWinControl*>(owner)) {
      notifier->SetParent(parent);
      break;
    }
  notifier->OnThemeChange = std::move(OnThemeChange);
  return notifier;
}
