#pragma once
// VivIzizEzu, the drawing primitives and the glow and vista button faces that dock
// panels, tool bars, the ribbon pager and the quick-access tool bar paint with.
#include <string>

#include "foundation/DizGDIP.h"
#include "foundation/GDIPicture.h"
#include "platform/vcl/Graphics.h"
#include "toolbar/VivIzizEzu.h"

namespace VivIzizEzu {

// ---- drawing primitives (VivIzizEzuDraw.cpp) --------------------------------------------
// Colours are resolved to RGB (system colours) before channel arithmetic; rounding is
// half to even. Routines given both a GDI+ surface and a canvas draw on the surface, or
// on a surface made on the canvas (anti-aliased) when none is given, or not at all.

// Opaque ARGB of the resolved colour.
ARGB ColorToARGB(TColor Color);
// Percent of C1 mixed with the rest of C2 per channel; 100 or more gives C1 unchanged,
// 0 or less C2 unchanged.
TColor BlendColor(TColor C1, TColor C2, int Percent);
// Each channel times (100 - Percent) / 100; Percent is clamped to 0..100.
TColor DarkenColorPercent(TColor Color, int Percent);
// A negative Percent darkens non-zero channels by that many percent; a zero channel
// becomes Max(0, Percent).
TColor ChangeColorPercent(TColor Color, int Percent);
// 0 with the Windows 7 look, else 3.
int GetCornerRadius();

// Bands of colour from FromColor stepping toward ToColor (the last band one step short),
// left to right when Horizontal, else top to bottom; 0 bands count as 1.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Bands);
// Two stacked 40-band vertical gradients split at Top + UpperHeight, with a border (none
// for clNone), rounded when Radius > 0.
void DrawVistaGradient(TCanvas* Canvas, const TRect& R, int UpperHeight, TColor Color, TColor ColorTo,
                       TColor Mirror, TColor MirrorTo, TColor Border, int Radius);
// The caption with a font rotated to run downward, its hot key underlined.
void DrawVerticalText(TCanvas* Canvas, const std::string& Text, TPoint P);
// Shrinks R to W x H about its centre.
void CenterRect(TRect& R, int W, int H);
void DrawCloseGlyph(TCanvas* Canvas, const TRect& R, TColor Color, int Size);
void DrawMaximizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large);
void DrawRestoreGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large);
void DrawMinimizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large);

void DrawGDIPLine(TGPGraphics* G, TGPPen* Pen, int X, int Y, int DX, int DY);
void DrawGDIPArc(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H, float Start, float Sweep, bool Close);
void DrawGDIPRoundRect(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H, int R);
void DrawGDIPPenRect(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H);
void DrawGDIPRectangle(TGPGraphics* G, TCanvas* Canvas, TColor Color, const TRect& R);
void DrawGDIPDropDownArrow(TGPGraphics* G, TCanvas* Canvas, TColor Color, TPoint P);
void DrawGDIPGradient(TGPGraphics* G, TCanvas* Canvas, TColor From, TColor To, const TRect& R);
// True when the canvas font is a vector, non-device font of the screen's font list.
bool IsVectorScreenFont(TCanvas* Canvas);
// Alignment is a TAlignment value (0 left, 1 right, 2 centre).
// Measures a one-line caption and, with Draw, draws it (shortened with "..." when
// Ellipsis, cut when neither Ellipsis nor Wrap); returns the text rectangle. An empty
// Text falls back to WideText.
TRect DrawGDIPText(TCanvas* Canvas, int Alignment, UINT Format, const TRect& R, const std::string& Text,
                   const std::u16string& WideText, TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias,
                   bool Ellipsis, bool Wrap);
TRect DrawGDIPWideText(TCanvas* Canvas, int Alignment, const TRect& R, const std::string& Text,
                       const std::u16string& WideText, TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias);
// One image of the list with its bottom-left pixel colour transparent.
void DrawGDIPImageListImage(TGPGraphics* G, TCanvas* Canvas, TPoint P, TCustomImageList* List, int Index,
                            bool Enabled);
// A picture at its natural size; with Transparent (and not a PNG) its top-left pixel
// colour is transparent.
void DrawGDIPGraphic(TGPGraphics* G, TCanvas* Canvas, TPoint P, bool Transparent, TGraphic* Graphic);

// ---- button faces (VivIzizEzuFaces.cpp) -------------------------------------------------
// A glow face: upper and lower halves with a solid fill and a GDI+ gradient each, a
// border (none for clNone), a focus frame, a caption.
void DrawGlowFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  const std::string& Caption, TFont* Font, bool Enabled, bool Focus, TAntiAlias AntiAlias,
                  bool RoundEdges);
void DrawGlowFaceEx(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                    TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                    const std::string& Caption, TFont* Font, TCustomImageList* Images, int ImageIndex,
                    bool ImageEnabled, TGlyphPosition Position, bool DropDown, bool DropDownSeparator,
                    bool Enabled, bool Focus, TDropDownPosition DropDownPos, TGDIPPicture* Picture,
                    TAntiAlias AntiAlias, bool RoundEdges);

// Everything a vista face is drawn with; the defaults are those of the page scroll
// buttons and vista buttons (no caption, no pictures, spacing 2, rounded, bordered).
struct TVistaFaceParams {
  TColor Color = clWhite, ColorTo = clWhite, ColorMirror = clSilver, ColorMirrorTo = clWhite;
  TColor BorderColor = clGray;
  TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
  std::string Caption;
  std::u16string WideCaption;
  bool DrawCaption = true;
  TFont* Font = nullptr;
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  bool ImageEnabled = true;
  int Layout = 0;  // 0..7, see VivIzizEzuFaces.cpp
  bool DropDown = false, DropDownSplit = false;
  bool Enabled = true, Focus = false, DropDownBottom = false;
  TGDIPPicture* Picture = nullptr;
  TAntiAlias AntiAlias = aaClearType;
  bool ShowPicture = false;
  TGraphic* Glyph = nullptr;
  int State = 0;
  bool Transparent = false, Hot = false;
  TButtonPosition Position = bpStandalone;
  bool SplitSeparator = false, Border = true, PictureBehindText = false, WordWrap = false;
  bool MeasureOnly = false, Rounded = true, ArrowDown = true;
  int Spacing = 2;
  StringTrimming Trimming = StringTrimmingNone;
};
// Paints the face in (0, 0, W, H) of R's size and returns the size its content needs.
TSize DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, const TVistaFaceParams& P);

}  // namespace VivIzizEzu
