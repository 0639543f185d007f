#pragma once
// Helpers shared by the drawing primitives and the button faces of VivIzizEzu.
#include <memory>
#include <string>

#include "toolbar/VivIzizEzuDraw.h"

namespace VivIzizEzu {

// The GDI+ surface to draw on: the given one, else one made on the canvas (anti-aliased)
// and freed with this object; G is null when neither is given.
struct TSurface {
  TSurface(TGPGraphics* Given, TCanvas* Canvas);
  ~TSurface();
  TGPGraphics* G = nullptr;

private:
  std::unique_ptr<TGPGraphics> FOwn;
};

// A GDI+ family of the name, "Arial" when the name cannot be used.
std::unique_ptr<TGPFontFamily> MakeFamily(const std::string& Name);
// GDI+ style bits of the font (bold 1, italic 2, underline 4, strike-out 8 when asked).
int FontStyleBits(TFont* Font, bool StrikeOut);
TextRenderingHint HintOf(TAntiAlias AntiAlias);
// The rounded-rectangle outline path of DrawGDIPRoundRect.
void AddRoundRectPath(TGPGraphicsPath& Path, int X, int Y, int W, int H, int R);
// The canvas's handle with its current font selected, for the system text routines;
// with Transparent the text background is left alone.
HDC TextHandle(TCanvas* Canvas, bool Transparent);
// True when the screen's font list holds the name (VivIzizEzuScreen.cpp).
bool ScreenHasFont(const std::string& Name);

}  // namespace VivIzizEzu
