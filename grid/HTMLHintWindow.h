#pragma once
// HTMLHintWindow: a hint window that shows its text as mark-up, or a text that encodes
// unicode ("|\" and two bytes per UTF-16 unit) as one line of wide text. It sizes itself
// to the text with a margin, stays on the monitor that holds it and draws a flat face with
// a thin raised frame.
#include <string>

#include "platform/vcl/Controls.h"

// The font name of unicode hints; the grid sets it to its own font's name when it
// prepares a hint.
extern std::string HTMLHintFontName;

class THTMLHintWindow : public THintWindow {
  LORM_CLASS(THTMLHintWindow, THintWindow)
public:
  explicit THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  // (0, 0, width, height) of the text alone, measured MaxWidth pixels wide.
  TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  // Shows the hint at Rect's top-left, sized to the text plus 16 x 4 pixels (8 x 4 for a
  // unicode hint), moved back onto the monitor, on top and without taking the focus.
  void ActivateHint(TRect Rect, const std::string& AHint) override;
  int TextWidth() const { return FTextWidth; }
  int TextHeight() const { return FTextHeight; }
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  // The text's size: one line of wide text for a unicode hint, else as the mark-up engine
  // measures it in a rectangle Width pixels wide.
  TPoint Measure(const std::string& AHint, int Width);
  bool IsUnicode(const std::string& AHint) const;
  int FTextWidth = 0;
  int FTextHeight = 0;
  std::u16string FWideText;
};
