#pragma once
// Speed buttons: tool buttons drawn in their parent's window, with a glyph and a caption,
// grouped so that one button of a group stays down.
#include <memory>
#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

// The last four (glyph at an edge, text aligned to it) serve the glow buttons; speed
// buttons lay them out as their base layouts.
enum TButtonLayout {
  blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom,
  blGlyphLeftAdjusted, blGlyphRightAdjusted, blGlyphTopAdjusted, blGlyphBottomAdjusted
};
// bsUp: released; bsDisabled: drawn greyed; bsDown: pressed while the mouse holds it;
// bsExclusive: held down by its group (Down).
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
using TNumGlyphs = int;  // 1..4

// The glyph of a button: NumGlyphs images side by side (up, disabled, clicked, down);
// the bottom-left pixel's colour is transparent. A missing disabled image is made by
// embossing the up image.
class TButtonGlyph {
public:
  TButtonGlyph();
  ~TButtonGlyph();
  TBitmap* Glyph() const { return FOriginal.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  bool Empty() const { return FOriginal->GetEmpty(); }
  int GlyphWidth() const;
  int GlyphHeight() const;
  // Draws the glyph and caption in Client moved by Offset; returns the caption's rectangle.
  TRect Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const std::string& Caption,
             TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent);
  // Where the glyph and the caption go in Client.
  void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const std::string& Caption,
                        TButtonLayout Layout, int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds);
  TNotifyEvent OnChange;

private:
  void GlyphChanged();
  void DrawGlyph(TCanvas* Canvas, const TPoint& Pos, TButtonState State);
  std::unique_ptr<TBitmap> FOriginal;
  std::unique_ptr<TCustomImageList> FImages;  // the pieces, made on demand
  TNumGlyphs FNumGlyphs = 1;
};

class TSpeedButton : public TGraphicControl {
  LORM_PUBLISHED(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  void WndProc(TMessage& Message) override;
  void Click() override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Distance of the glyph from the edge (-1: the image and caption are centred).
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // Distance between glyph and caption (-1: centred between them).
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  TButtonState FState = bsUp;
  bool FDragging = false;

private:
  void GlyphChanged(TObject* Sender);
  void UpdateTracking();
  std::unique_ptr<TButtonGlyph> FGlyph;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  int FMargin = -1;
  bool FFlat = false;
  bool FTransparent = true;
};
