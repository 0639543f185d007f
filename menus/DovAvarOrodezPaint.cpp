// DovAvarOrodez, painting: the visual state and colour set of Paint, the content
// painter DrawGlowButton (background halves, outline, focus frame, caption, notes, glyph,
// drop-down part) and the size a button takes in a size state.
#include <algorithm>
#include <cmath>
#include <memory>

#include "menus/DovAvarOrodez.h"
#include "menus/DovAvarOrodezInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"

using namespace glowdraw;

namespace {
constexpr int kDropDownPart = 14;
constexpr int kSplitStrip = 12;
constexpr TColor kFocusRing = TColor(0xE4AD89);
constexpr TColor kGrayText = TColor(0x808080);

// One colour set of the appearance.
struct TColorSet {
  TColor Color, ColorTo, Mirror, MirrorTo, Border;
  TGDIPGradient Gradient, GradientMirror;
};

TColorSet NormalSet(const TGlowButtonAppearance* a) {
  return {a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->BorderColor(), a->Gradient(),
          a->GradientMirror()};
}
TColorSet HotSet(const TGlowButtonAppearance* a) {
  return {a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->BorderColorHot(),
          a->GradientHot(), a->GradientMirrorHot()};
}
TColorSet DownSet(const TGlowButtonAppearance* a) {
  return {a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(), a->BorderColorDown(),
          a->GradientDown(), a->GradientMirrorDown()};
}
TColorSet CheckedSet(const TGlowButtonAppearance* a) {
  return {a->ColorChecked(), a->ColorCheckedTo(), a->ColorMirrorChecked(), a->ColorMirrorCheckedTo(),
          a->BorderColorChecked(), a->GradientChecked(), a->GradientMirrorChecked()};
}
TColorSet DisabledSet(const TGlowButtonAppearance* a) {
  return {a->ColorDisabled(), a->ColorDisabledTo(), a->ColorMirrorDisabled(), a->ColorMirrorDisabledTo(),
          a->BorderColorDisabled(), a->GradientDisabled(), a->GradientMirrorDisabled()};
}

// The four colours (and with Border the border too) blended from a towards b.
void Blend(TColorSet& out, const TColorSet& a, const TColorSet& b, int progress, bool border) {
  out.Color = BlendColor(a.Color, b.Color, progress);
  out.ColorTo = BlendColor(a.ColorTo, b.ColorTo, progress);
  out.Mirror = BlendColor(a.Mirror, b.Mirror, progress);
  out.MirrorTo = BlendColor(a.MirrorTo, b.MirrorTo, progress);
  if (border) out.Border = BlendColor(a.Border, b.Border, progress);
}

bool IsTopBottom(TButtonLayout l) {
  return l == blGlyphTop || l == blGlyphBottom || l == blGlyphTopAdjusted || l == blGlyphBottomAdjusted;
}

int FontStyleBits(TFont* f) {
  int s = 0;
  TFontStyles st = f->GetStyle();
  if (st.Contains(fsBold)) s |= 1;
  if (st.Contains(fsItalic)) s |= 2;
  if (st.Contains(fsUnderline)) s |= 4;
  return s;
}

// A GDI+ font of the framework font; an unknown family falls back to "Arial".
struct TGPFontHolder {
  std::unique_ptr<TGPFontFamily> Family;
  std::unique_ptr<TGPFont> Font;
  explicit TGPFontHolder(TFont* f) {
    Family.reset(new TGPFontFamily(Utf8ToUtf16(f->GetName())));
    if (!Family->GetNativeFamily()) Family.reset(new TGPFontFamily(u"Arial"));
    Font.reset(new TGPFont(Family.get(), float(f->GetSize()), FontStyleBits(f), UnitPoint));
  }
};

// Replaces each literal backslash-n by a line break, or by a blank.
std::string ExpandLineBreaks(const std::string& s, bool blank) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += blank ? " " : "\n";
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

// GDI text in a rectangle with the font and colour given; answers DrawText's height.
int GdiText(HDC dc, TFont* font, TColor color, const std::string& text, RECT& r, UINT flags) {
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, ResolveColor(color));
  int h = DrawTextUtf8(dc, text, &r, flags);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, old);
  return h;
}

bool FontIsListed(const std::string& name) {
  if (!Screen) return false;
  TStrings* fonts = Screen->Fonts();
  return fonts && fonts->IndexOf(name) >= 0;
}
}  // namespace

// =======================================================================================
// DrawGlowButton

TPoint TDizCustomGlowButton::DrawGlowButton(TCanvas* Canvas, const TRect& R, const TDrawParams& P) {
  const int Rad = P.Rounded ? 3 : 0;
  const int H = R.Bottom - R.Top;
  TRect content = R;
  TRect part{};
  if (P.DropDownButton) {
    if (P.DropDownPosition == dpRight) {
      part = TRect{R.Right - kDropDownPart, R.Top, R.Right, R.Bottom};
      content.Right -= kDropDownPart;
    } else {
      part = TRect{R.Left, R.Bottom - kDropDownPart, R.Right, R.Bottom};
      content.Bottom -= kDropDownPart;
    }
  }
  bool hasNotes = P.Notes && P.Notes->Count() > 0;
  TButtonLayout layout = hasNotes ? blGlyphLeftAdjusted : P.Layout;
  HDC dc = Canvas->GetHandle();
  TGPGraphics g(dc);

  // Background: lower half first, the upper half painted over its first rows.
  if (!P.MeasureOnly && !P.NoBackground) {
    if (P.DropDownButton && P.Lit && P.DropDownSplit) {
      bool overPart = P.DropDownPartState == 2;
      auto shade = [](TColor c, bool on) { return on ? ShadeColor(c, -10) : c; };
      bool shadeContent = !overPart, shadePart = overPart;
      if (P.DropDownPosition == dpRight) {
        int s = kSplitStrip;
        FillGlowGradient(&g, TRect{R.Left, R.Top + H / 2 - 1, R.Right - s, R.Bottom}, shade(P.ColorMirror, shadeContent),
                         shade(P.ColorMirrorTo, shadeContent), P.GradientMirror, false);
        FillGlowGradient(&g, TRect{R.Left, R.Top, R.Right - s, R.Bottom - H / 2}, shade(P.ColorTo, shadeContent),
                         shade(P.Color, shadeContent), P.Gradient, true);
        FillGlowGradient(&g, TRect{R.Right - s, R.Top, R.Right, R.Bottom - H / 2}, shade(P.ColorTo, shadePart),
                         shade(P.Color, shadePart), ggRadial, true);
        FillGlowGradient(&g, TRect{R.Right - s, R.Top + H / 2 - 1, R.Right, R.Bottom}, shade(P.ColorMirror, shadePart),
                         shade(P.ColorMirrorTo, shadePart), P.GradientMirror, false);
      } else {
        int s = kSplitStrip, h = H - s;
        FillGlowGradient(&g, TRect{R.Left, R.Top + h / 2 - 1, R.Right, R.Bottom - s}, shade(P.ColorMirror, shadeContent),
                         shade(P.ColorMirrorTo, shadeContent), P.GradientMirror, false);
        FillGlowGradient(&g, TRect{R.Left, R.Top, R.Right, R.Bottom - h / 2 - s}, shade(P.ColorTo, shadeContent),
                         shade(P.Color, shadeContent), P.Gradient, true);
        FillGlowGradient(&g, TRect{R.Left, R.Bottom - s, R.Right, R.Bottom}, shade(P.ColorTo, shadePart),
                         shade(P.Color, shadePart), ggRadial, true);
      }
    } else {
      FillGlowGradient(&g, TRect{R.Left, R.Top + H / 2 - 1, R.Right, R.Bottom}, P.ColorMirror, P.ColorMirrorTo,
                       P.GradientMirror, false);
      FillGlowGradient(&g, TRect{R.Left, R.Top, R.Right, R.Bottom - H / 2}, P.ColorTo, P.Color, P.Gradient, true);
    }
  }

  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (!P.MeasureOnly && !P.NoBackground && P.Border) {
    bool lit = P.MouseInside || P.Down;
    int x = R.Left, y = R.Top, w = R.Right - 1, h = R.Bottom - 1;
    switch (P.Position) {
      case bpStandalone: DrawGlowOutline(&g, P.BorderColor, x, y, w, h, Rad); break;
      case bpLeft: DrawLeftOutline(&g, P.BorderColor, x, y, w, h, Rad); break;
      case bpMiddle: DrawMiddleOutline(&g, P.BorderColor, x, y, w, h, Rad, lit); break;
      case bpRight: DrawRightOutline(&g, P.BorderColor, x, y, w, h, Rad, lit); break;
    }
  }
  if (!P.MeasureOnly && P.FocusFrame) {
    DrawGlowOutline(&g, kFocusRing, R.Left + 1, R.Top + 1, R.Right - 3, R.Bottom - 3, Rad);
    DrawFocusOutline(&g, kGrayText, R.Left + 2, R.Top + 2, R.Right - 5, R.Bottom - 5, Rad);
  }

  TFont* font = P.Font ? P.Font : Font();
  TFont* notesFont = P.NotesFont ? P.NotesFont : FNotesFont.get();

  // Glyph size.
  int gw = 0, gh = 0;
  bool toolGlyph = P.ToolImage && !P.ToolImage->GetEmpty() && P.ToolImage->GetWidth() >= 2 &&
                   P.ToolImage->GetHeight() >= 2;
  bool pictureGlyph = !toolGlyph && P.Picture && !P.Picture->GetEmpty();
  bool listGlyph = !toolGlyph && !pictureGlyph && P.Images && P.ImageIndex >= 0;
  if (toolGlyph) {
    gw = P.ToolImage->GetWidth();
    gh = P.ToolImage->GetHeight();
  } else if (pictureGlyph) {
    P.Picture->GetImageSizes();
    gw = P.Picture->GetWidth();
    gh = P.Picture->GetHeight();
  } else if (listGlyph) {
    gw = P.Images->GetWidth();
    gh = P.Images->GetHeight();
  }
  bool forced = P.ForcedWidth > 0 && P.ForcedHeight > 0;
  if (forced && (toolGlyph || pictureGlyph || listGlyph)) {
    gw = P.ForcedWidth;
    gh = P.ForcedHeight;
  }
  const int glyphW = gw, glyphH = gh;
  std::string caption = P.Caption;
  if (caption.empty() && !P.WideCaption.empty()) caption = Utf16ToUtf8(P.WideCaption);
  const bool hasCaption = !caption.empty();
  const int s = P.Spacing;
  if (hasCaption) {
    if (layout == blGlyphLeft || layout == blGlyphRight || layout == blGlyphLeftAdjusted ||
        layout == blGlyphRightAdjusted)
      gw += s;
    else if (layout == blGlyphTop || layout == blGlyphTopAdjusted)
      gh += s;
  }
  TPoint size{gw, gh};
  const int G = content.Right - content.Left, CH = content.Bottom - content.Top;
  int gx = 0, gy = 0;
  bool centred = !hasCaption;
  int captionBottom = content.Top + CH / 2 + 8;

  if (hasCaption) {
    caption = ExpandLineBreaks(caption, forced);
    std::string notes;
    if (hasNotes) {
      for (int i = 0; i < P.Notes->Count(); ++i) notes += (i ? "\n" : "") + P.Notes->Strings(i);
    }
    const bool gdip = P.AntiAlias != aaNone && FontIsListed(font->GetName());
    const TColor textColor = P.Enabled ? font->GetColor() : kGrayText;
    int tw = 0, th = 0, nw = 0, nh = 0;
    float capLeft = 0;
    if (gdip) {
      TGPFontHolder gf(font);
      TGPStringFormat format(P.WordWrap ? 0 : 0x1000, 0);
      format.SetAlignment(layout == blGlyphLeftAdjusted    ? StringAlignmentNear
                          : layout == blGlyphRightAdjusted ? StringAlignmentFar
                                                           : StringAlignmentCenter);
      format.SetLineAlignment(layout == blGlyphTopAdjusted      ? StringAlignmentNear
                              : layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                                                : StringAlignmentCenter);
      format.SetHotkeyPrefix(HotkeyPrefixShow);
      format.SetTrimming(P.Trimming);
      g.SetTextRenderingHint(P.AntiAlias == aaClearType ? TextRenderingHintClearTypeGridFit
                                                        : TextRenderingHintAntiAlias);
      std::u16string wide = Utf8ToUtf16(caption);
      TGPRectF box = P.MeasureOnly ? MakeRect(float(R.Left), float(R.Top), 4096.f, 4096.f)
                                   : MakeRect(float(content.Left), float(content.Top), float(G), float(CH));
      TGPRectF bounds{};
      g.MeasureString(wide, -1, gf.Font.get(), box, &format, bounds);
      tw = int(std::ceil(bounds.Width));
      th = int(std::ceil(bounds.Height));
      capLeft = bounds.X;
      captionBottom = int(std::ceil(bounds.Y + bounds.Height));
      std::unique_ptr<TGPFontHolder> nf;
      if (hasNotes) {
        nf = std::make_unique<TGPFontHolder>(notesFont);
        TGPRectF nb{};
        g.MeasureString(Utf8ToUtf16(notes), -1, nf->Font.get(), box, &format, nb);
        nw = int(std::ceil(nb.Width));
        nh = int(std::ceil(nb.Height));
      }
      if (!P.MeasureOnly) {
        // Text box and glyph position by layout.
        float X = float(content.Left), Y = float(content.Top), BW = float(G), BH = float(CH);
        switch (layout) {
          case blGlyphLeft:
          case blGlyphLeftAdjusted:
            X = float(content.Left + gw + 2);
            BW = float(G - gw - 2);
            gx = std::max(2, int(capLeft) - gw / 2);
            gy = content.Top + std::max(0, (CH - gh) / 2);
            break;
          case blGlyphRight:
          case blGlyphRightAdjusted:
            X = 2;
            BW = float(G - gw - 4);
            if (layout == blGlyphRightAdjusted) gx = G - gw - 2;
            else {
              gx = std::max(0, (int(BW) - tw) / 2) + tw + 4;
              if (gx > G - gw) gx = G - gw - 2;
            }
            gx += s;
            gy = content.Top + std::max(0, (CH - gh) / 2);
            break;
          case blGlyphTop:
            Y = float(content.Top + gh);
            BH = float(CH - gh - 2);
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(2, content.Top + std::max(0, (int(BH) - th) / 2));
            break;
          case blGlyphTopAdjusted:
            Y = float(content.Top + gh);
            BH = float(CH - gh - 2);
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(2, content.Top);
            break;
          case blGlyphBottom:
            Y = 2;
            BH = float(CH - gh - 2);
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(0, (int(BH) - th) / 2) + th + 2;
            if (gy > CH - gh) gy = CH - gh - 2;
            break;
          case blGlyphBottomAdjusted:
            Y = 2;
            BH = float(CH - gh - 2);
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = CH / 2 + th + 2;
            if (gy > CH - gh) gy = CH - gh - 2;
            break;
        }
        if (hasNotes) {
          format.SetLineAlignment(StringAlignmentNear);
          Y += float((int(BH) - th - nh) / 2);
        }
        TGPSolidBrush brush(ARGBOf(textColor));
        g.DrawString(wide, -1, gf.Font.get(), MakeRect(X - 1, Y, BW, BH), &format, &brush);
        if (hasNotes) {
          TGPSolidBrush notesBrush(ARGBOf(notesFont->GetColor()));
          g.DrawString(Utf8ToUtf16(notes), -1, nf->Font.get(), MakeRect(X - 1, Y + float(th), BW, BH), &format,
                       &notesBrush);
        }
      }
    } else {
      UINT lineFlags = P.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
      RECT m{0, 0, 4096, 4096};
      GdiText(dc, font, textColor, caption, m, DT_CALCRECT | lineFlags);
      tw = m.right - m.left;
      th = m.bottom - m.top;
      if (hasNotes) {
        RECT n{0, 0, 4096, 4096};
        GdiText(dc, notesFont, notesFont->GetColor(), notes, n, DT_CALCRECT | DT_WORDBREAK);
        nw = n.right - n.left;
        nh = n.bottom - n.top;
      }
      captionBottom = content.Top + (CH + th) / 2;
      if (!P.MeasureOnly) {
        RECT box{content.Left, content.Top, content.Right, content.Bottom};
        UINT flags = lineFlags;
        switch (layout) {
          case blGlyphLeft:
          case blGlyphLeftAdjusted:
            box.left = content.Left + gw + 2;
            gx = std::max(2, (G - tw - gw) / 2);
            if (layout == blGlyphLeftAdjusted) gx = 2;
            gy = content.Top + std::max(0, (CH - gh) / 2);
            break;
          case blGlyphRight:
          case blGlyphRightAdjusted:
            box.left = 2;
            box.right = box.left + G - gw - 4;
            if (layout == blGlyphRightAdjusted) gx = G - gw - 2;
            else {
              gx = std::max(0, (G - gw - 4 - tw) / 2) + tw + 4;
              if (gx > G - gw) gx = G - gw - 2;
            }
            gx += s;
            gy = content.Top + std::max(0, (CH - gh) / 2);
            break;
          case blGlyphTop:
            box.top = content.Top + gh;
            box.bottom = box.top + CH - gh - 2;
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(2, content.Top + std::max(0, (CH - gh - 2 - th) / 2) - 4);
            break;
          case blGlyphTopAdjusted:
            box.top = content.Top + gh;
            box.bottom = box.top + CH - gh - 2;
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(2, content.Top);
            break;
          case blGlyphBottom:
            box.top = 2;
            box.bottom = box.top + CH - gh - 2;
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = std::max(0, (CH - gh - 2 - th) / 2) + th + 5;
            if (gy > CH - gh) gy = CH - gh - 2;
            break;
          case blGlyphBottomAdjusted:
            box.top = 2;
            box.bottom = box.top + CH - gh - 4;
            gx = content.Left + std::max(0, (G - gw) / 2);
            gy = CH - gh - 2;
            break;
        }
        switch (layout) {
          case blGlyphLeft:
          case blGlyphRight:
          case blGlyphBottom: flags |= DT_CENTER | DT_VCENTER; break;
          case blGlyphTop:
          case blGlyphTopAdjusted: flags |= DT_CENTER; break;
          case blGlyphLeftAdjusted:
            box.left += 2;
            if (hasNotes) box.top = (box.bottom - box.top - th - nh) / 2;
            else flags |= DT_VCENTER;
            break;
          case blGlyphRightAdjusted: flags |= DT_RIGHT | DT_VCENTER; break;
          case blGlyphBottomAdjusted: flags |= DT_CENTER | DT_BOTTOM; break;
        }
        if (P.WordWrap) {
          // Multi-line text is placed by its measured height.
          RECT calc = box;
          GdiText(dc, font, textColor, caption, calc, DT_CALCRECT | flags);
          int textH = calc.bottom - calc.top;
          if (layout == blGlyphTop) box.top = gy + gh;
          else if (layout == blGlyphBottomAdjusted) box.top = box.bottom - textH;
          else if (layout != blGlyphTopAdjusted && !(layout == blGlyphLeftAdjusted && hasNotes))
            box.top = (box.bottom - box.top - textH) / 2;
        }
        GdiText(dc, font, textColor, caption, box, flags);
        if (hasNotes) {
          RECT n{box.left, box.top + th, box.right, box.bottom + th};
          GdiText(dc, notesFont, notesFont->GetColor(), notes, n, DT_WORDBREAK);
        }
      }
    }
    if (IsTopBottom(layout)) {
      size.X = std::max(tw + s, gw + s);
      size.Y = th + gh + s;
    } else {
      size.X = std::max(tw, nw) + gw + s;
      size.Y = std::max(th + s + nh, gh + s);
    }
  }

  if (!P.MeasureOnly) {
    // Glyph, after the text.
    int cw = G, ch = CH;
    if (P.DropDownButton) {
      if (P.DropDownPosition == dpRight) cw -= 8;
      else ch -= 8;
    }
    TPoint centre{content.Left + std::max(0, (cw - glyphW) / 2), content.Top + std::max(0, (ch - glyphH) / 2)};
    TPoint at = centred ? centre : TPoint{gx, gy};
    if (toolGlyph) {
      if (forced) {
        P.ToolImage->SetTransparent(true);
        Canvas->StretchDraw(TRect{at.X, at.Y, at.X + glyphW, at.Y + glyphH}, P.ToolImage);
      } else {
        Canvas->Draw(at.X, at.Y, P.ToolImage);
      }
    } else if (pictureGlyph) {
      if (forced) DrawPictureStretched(&g, Canvas, TRect{at.X, at.Y, at.X + glyphW, at.Y + glyphH}, P.Picture);
      else DrawPictureAt(&g, at, P.Picture);
    } else if (listGlyph && P.ImageIndex < P.Images->Count()) {
      if (centred) {
        at = TPoint{content.Left + std::max(0, (cw - P.Images->GetWidth()) / 2),
                    content.Top + std::max(0, (ch - P.Images->GetHeight()) / 2)};
      }
      if (Parent() && Parent()->ClassName() == std::string("TDizQuickAccessToolBar"))
        DrawImageListImage(&g, at, P.Images, P.ImagesEnabled, P.ImageIndex);
      else
        P.Images->Draw(Canvas, at.X, at.Y, P.ImageIndex, P.ImagesEnabled);
    }

    if (P.DropDownButton) {
      if (P.Lit && P.DropDownSplit) {
        Canvas->Pen()->SetColor(P.BorderColor);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->MoveTo(part.Left, part.Top);
        if (P.DropDownPosition == dpBottom) Canvas->LineTo(part.Right, part.Top);
        else Canvas->LineTo(part.Left, part.Bottom);
      }
      int ax = part.Left + (part.Right - part.Left - 5) / 2;
      int ay = (P.DropDownPosition == dpBottom || !hasCaption) ? part.Top + (part.Bottom - part.Top - 3) / 2 + 1
                                                               : captionBottom - 8;
      DrawDropDownArrow(Canvas, TPoint{ax, ay}, P.Enabled ? clBlack : kGrayText, P.ArrowDown, clWhite);
    }
  }
  return size;
}

// =======================================================================================
// Paint

void TDizCustomGlowButton::PaintParentBackground(HDC DC, HRGN Clip) {
  TWinControl* parent = Parent();
  if (!parent) return;
  int saved = SaveDC(DC);
  if (Clip) ExtSelectClipRgn(DC, Clip, RGN_AND);
  POINT old;
  OffsetWindowOrgEx(DC, Left(), Top(), &old);
  parent->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
  parent->Perform(WM_PAINT, WPARAM(DC), 0);
  RestoreDC(DC, saved);
}

// The glyph sources and caption of the current state, shared by Paint and GetButtonSize.
void TDizCustomGlowButton::FillDrawParams(TDrawParams& P, bool HotLook, bool ForSize) {
  bool enabled = Enabled();
  if (enabled || !FDisabledImages) {
    P.Images = HotLook && FHotImages ? FHotImages : FImages;
    P.ImagesEnabled = enabled;
  } else {
    P.Images = FDisabledImages;
    P.ImagesEnabled = true;
  }
  if (!enabled && !FDisabledPicture->GetEmpty()) P.Picture = FDisabledPicture.get();
  else if (HotLook) P.Picture = FHotPicture->GetEmpty() ? FPicture.get() : FHotPicture.get();
  else P.Picture = FPicture.get();
  if (!P.Images && FGlyphList) {
    P.Images = FGlyphList.get();
    P.ImagesEnabled = true;
  }
  P.ImageIndex = FImageIndex;
  if (FShowCaption) {
    P.Caption = Caption();
    P.WideCaption = FWideCaption;
  }
  P.Layout = FLayout;
  P.DropDownButton = FDropDownButton;
  P.DropDownPosition = FDropDownPosition;
  P.Enabled = enabled;
  P.AntiAlias = FAntiAlias;
  P.Position = FPosition;
  P.DropDownSplit = FDropDownSplit;
  P.Border = CanDrawBorder();
  P.WordWrap = FWordWrap;
  P.Rounded = FRounded;
  P.ArrowDown = FDropDownDirection == ddDown;
  P.Spacing = FSpacing;
  P.Trimming = FTrimming;
  P.Notes = FNotes.get();
  P.NotesFont = FNotesFont.get();
  P.Down = FDown;
  P.MouseInside = FMouseInside;
  // Action images, when the action's list has images.
  if (auto* a = dynamic_cast<TCustomAction*>(Action()); a && a->ImageIndex() >= 0 && ActionHasImages()) {
    if (!ForSize || a->ImageIndex() == FImageIndex) {
      P.Images = a->ActionList()->Images();
      P.ImagesEnabled = enabled;
      P.ImageIndex = a->ImageIndex();
      if (!ForSize) FImageIndex = a->ImageIndex();
    }
  }
}

void TDizCustomGlowButton::Paint() {
  if (FPainting) return;
  FPainting = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } reset{FPainting};
  TCanvas* canvas = Canvas();
  HDC dc = canvas->GetHandle();
  TRect client = ClientRect();

  // A button that draws no background of its own shows its parent's.
  if ((FTransparent && !FMouseInside) || FNoBackground) {
    HRGN clip = CreateRectRgn(0, 0, client.Right, client.Bottom);
    PaintParentBackground(dc, clip);
    DeleteObject(clip);
  }

  bool enabled = Enabled();
  if (enabled) {
    if (FState == absDisabled) FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
  } else {
    FState = absDisabled;
    FPressPending = false;
  }
  if (FStyle == bsCheck && FDown) FState = absDown;

  const TGlowButtonAppearance* a = FAppearance.get();
  TColorSet set = NormalSet(a);
  bool lit = false;
  bool glowing = GlowTimerRunning();
  if ((FState != absDisabled && enabled) || !FShowDisabled) {
    if (FState == absDown && FStyle == bsButton) {
      set = DownSet(a);
      lit = true;
    } else if (FState == absExclusive || (FStyle == bsCheck && FState == absDown)) {
      set = CheckedSet(a);
      if (glowing && (FTracking || (FStyle != bsCheck && (FGroupIndex < 1 || FState == absDown))))
        Blend(set, CheckedSet(a), DownSet(a), FDownProgress, false);
    } else if (FHot) {
      set = HotSet(a);
      lit = true;
    }
  } else {
    set = DisabledSet(a);
  }
  if (glowing) {
    if (FPressed || FTransparent || FState == absExclusive || (FStyle == bsCheck && FDown)) {
      if (FStyle == bsCheck && FPressed) Blend(set, DownSet(a), CheckedSet(a), FDownProgress, false);
      else if (FStyle != bsCheck && FPressed && FState != absExclusive)
        Blend(set, DownSet(a), HotSet(a), FDownProgress, true);
    } else {
      Blend(set, HotSet(a), NormalSet(a), FHotProgress, true);
    }
  }

  TDrawParams P;
  FillDrawParams(P, FHot, false);
  P.DropDownPartState = (FTracking || FLeftButtonHeld) && FDropDownButton ? (FOverDropDownPart ? 2 : 1) : 0;
  if (FPosition != bpStandalone && FLeftButtonHeld) set.Border = a->BorderColor();
  bool hotFocus = FFocused && (FFocusType == ftHot || FFocusType == ftHotBorder) && !FPressed;
  if ((FState == absDisabled || !enabled) && FShowDisabled) set = DisabledSet(a);
  else if (hotFocus) {
    set = HotSet(a);
    lit = true;
  }
  P.FocusFrame = CanDrawFocused();
  P.Color = set.Color;
  P.ColorTo = set.ColorTo;
  P.ColorMirror = set.Mirror;
  P.ColorMirrorTo = set.MirrorTo;
  P.BorderColor = set.Border;
  P.Gradient = set.Gradient;
  P.GradientMirror = set.GradientMirror;
  P.Lit = lit;

  TFont font;
  font.Assign(Font());
  if (!ParentFont() && a->SystemFont()) font.SetName(IsVista() ? "Segoe UI" : "Tahoma");
  P.Font = &font;

  TBitmap tool(1, 1);
  GetToolImage(&tool);
  P.ToolImage = &tool;

  if (FAutoSizeOn && FButtonSizeState < bsLarge) {
    P.ForcedWidth = P.ForcedHeight = 16;
    if (P.Images && P.ImageIndex >= 0) P.Picture = nullptr;
  }
  if (FButtonSizeState == bsGlyph) {
    P.Caption.clear();
    P.WideCaption.clear();
  }

  if (FMeasureRequest || (FResizeRequest && FAutoSizeOn)) {
    TDrawParams m = P;
    m.MeasureOnly = true;
    TPoint size = DrawGlowButton(canvas, client, m);
    if (FAutoSizeOn) {
      int w = 3 * FSpacing + size.X + 2 * FMarginHorz + 2;
      int h = 2 * FSpacing + size.Y + 2 * FMarginVert;
      if (FDropDownButton) {
        if (FDropDownPosition == dpBottom) h += kDropDownPart;
        else w += kDropDownPart;
      }
      if (OnSetButtonSize) OnSetButtonSize(this, w, h);
      if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
    }
    FResizeRequest = false;
    client = ClientRect();
  }

  P.NoBackground = FNoBackground || (FTransparent && !FMouseInside && !hotFocus && FState != absDown);
  DrawGlowButton(canvas, client, P);
  DrawGlyphCaption();
  if (OnDrawButton) {
    TGlowButtonState st = FState == absDown ? TGlowButtonState::gsDown
                          : FMouseInside    ? TGlowButtonState::gsHot
                                            : TGlowButtonState::gsNormal;
    OnDrawButton(this, canvas, client, st);
  }

  if (Parent() && FRounded && (!FTransparent || FMouseInside || FState == absDown || FHot) && FPosition != bpMiddle) {
    int W = client.Right, H = client.Bottom;
    HRGN corners = CreateRectRgn(0, 0, 0, 0);
    auto add = [&](int l, int t, int r, int b) {
      HRGN one = CreateRectRgn(l, t, r, b);
      CombineRgn(corners, corners, one, RGN_OR);
      DeleteObject(one);
    };
    bool left = FPosition == bpStandalone || FPosition == bpLeft;
    bool right = FPosition == bpStandalone || FPosition == bpRight;
    if (left) add(0, 0, 1, 1);
    if (right) add(W - 1, 0, W, 1);
    if (left) add(0, H - 1, 1, H);
    if (right) add(W - 1, H - 1, W, H);
    PaintParentBackground(dc, corners);
    DeleteObject(corners);
  }
}

TPoint TDizCustomGlowButton::GetButtonSize(TButtonSizeState SizeState) {
  TDrawParams P;
  FillDrawParams(P, false, true);
  TBitmap tool(1, 1);
  GetToolImage(&tool);
  P.ToolImage = &tool;
  if (FAutoSizeOn && SizeState < bsLarge) {
    P.ForcedWidth = P.ForcedHeight = 16;
    if (tool.GetWidth() == 1 && P.Picture && !P.Picture->GetEmpty()) {
      // The picture is drawn into the tool bitmap, which then stands for it.
      P.Picture->GetImageSizes();
      tool.SetSize(P.Picture->GetWidth(), P.Picture->GetHeight());
      tool.Canvas()->Draw(0, 0, P.Picture);
      P.Picture = nullptr;
    }
    if (P.Images && P.ImageIndex >= 0) P.Picture = nullptr;
  }
  if (SizeState == bsGlyph) {
    P.Caption.clear();
    P.WideCaption.clear();
  }
  if (FAutoSizeOn) {
    if (SizeState == bsLarge) {
      P.Layout = FButtonSizeState == bsLarge ? FLayout : FLargeLayout;
      P.DropDownPosition = FButtonSizeState == bsLarge ? FDropDownPosition : FLargeDropDownPosition;
    } else {
      P.Layout = blGlyphLeft;
      P.DropDownPosition = dpRight;
    }
  }
  TColorSet set = NormalSet(FAppearance.get());
  P.Color = set.Color;
  P.ColorTo = set.ColorTo;
  P.ColorMirror = set.Mirror;
  P.ColorMirrorTo = set.MirrorTo;
  P.BorderColor = set.Border;
  P.MeasureOnly = true;
  TFont font;
  font.Assign(Font());
  if (!ParentFont() && FAppearance->SystemFont()) font.SetName(IsVista() ? "Segoe UI" : "Tahoma");
  P.Font = &font;
  TBitmap surface(1, 1);
  TPoint size = DrawGlowButton(surface.Canvas(), TRect{0, 0, Width(), Height()}, P);
  size.X += 3 * FSpacing + 2 * FMarginHorz + 2;
  size.Y += 2 * FSpacing + 2 * FMarginVert;
  if (P.DropDownButton) {
    if (P.DropDownPosition == dpBottom) size.Y += kDropDownPart;
    else size.X += kDropDownPart;
  }
  return size;
}
