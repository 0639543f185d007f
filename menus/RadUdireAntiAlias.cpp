// RadUdire, anti-aliased item text through the GDI+ object layer.
#include "foundation/DizGDIP.h"
#include "menus/RadUdireInternal.h"
#include "platform/rtl/CodePage.h"

namespace radudire_internal {

namespace {

StringAlignment Alignment(TTextAlign Align) {
  return Align == taCentre ? StringAlignmentCenter : Align == taFar ? StringAlignmentFar : StringAlignmentNear;
}

}  // namespace

void DrawAntiAliasedText(HDC Dc, TAntiAlias Mode, const std::string& Text, const std::string& FontName, int FontSize,
                         TColor Color, const TRect& R, TTextAlign Horizontal, TTextAlign Vertical) {
  TGPGraphics graphics(Dc);
  graphics.SetTextRenderingHint(Mode == aaClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
  TGPFontFamily family(Utf8ToUtf16(FontName));
  TGPFont font(&family, float(FontSize), FontStyleRegular, UnitPoint);
  TGPStringFormat format(StringFormatFlagsNoWrap);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  format.SetAlignment(Alignment(Horizontal));
  format.SetLineAlignment(Alignment(Vertical));
  TGPSolidBrush brush(ColorToARGB(Color));
  TGPRectF layout{float(R.Left), float(R.Top), float(R.Right - R.Left), float(R.Bottom - R.Top)};
  graphics.DrawString(Text, -1, &font, layout, &format, &brush);
}

float AntiAliasedTextHeight(HDC Dc, const std::string& FontName, int FontSize) {
  TGPGraphics graphics(Dc);
  TGPFontFamily family(Utf8ToUtf16(FontName));
  TGPFont font(&family, float(FontSize), FontStyleRegular, UnitPoint);
  TGPRectF box{};
  graphics.MeasureString(u"gh", -1, &font, TGPRectF{0, 0, 1000, 1000}, nullptr, box);
  return box.Height;
}

}  // namespace radudire_internal
