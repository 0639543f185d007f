// Painting of the pager: the strip background, each tab in its state colours with the hover
// and click glow, the square-style decorations, check boxes, images and captions.
#include <algorithm>

#include "office/ZorOzirazIrezi.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/UxTheme.h"

using namespace ZorOzirazIrezi;

namespace {
bool Horizontal(TTabPosition p) { return p == tpTop || p == tpBottom; }
}  // namespace

void TZorOzirazIrezi::Paint() {
  if (FTransparent && Parent()) {
    HDC dc = Canvas()->GetHandle();
    int saved = SaveDC(dc);
    POINT old{};
    SetWindowOrgEx(dc, Left(), Top(), &old);
    Parent()->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    Parent()->Perform(WM_PAINT, WPARAM(dc), 0);
    Parent()->PaintControls(dc, nullptr);
    RestoreDC(dc, saved);
  }
  DrawAllTabs();
  DrawTabScrollButtons();
}

void TZorOzirazIrezi::DrawTabScrollButtons() {
  if (!AnyButtonVisible() || !FCurrentStyler) return;
  TCanvas* cv = Canvas();
  TRect r = GetButtonsRect();
  cv->Brush()->SetStyle(bsClear);
  cv->Pen()->SetColor(FCurrentStyler->PageAppearance()->BorderColor());
  cv->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 5, 5);
}

void TZorOzirazIrezi::DrawAllTabs() {
  if (!FCurrentStyler) return;
  TCanvas* cv = Canvas();
  TRect area = GetTabsArea();
  TRect c = ClientRect();
  switch (FTabPosition) {
    case tpTop: area.Bottom = c.Bottom; break;
    case tpBottom: area.Top = c.Top; break;
    case tpLeft: area.Right = c.Right; break;
    case tpRight: area.Left = c.Left; break;
  }
  if (!FTransparent) {
    TGradientBackground* B = FCurrentStyler->TabAppearance()->BackGround();
    if (B->Color() != clNone && B->ColorTo() != clNone) {
      DrawGradient(cv, B->Color(), B->ColorTo(), B->Steps(), area, B->Direction() == gdHorizontal);
    } else if (B->Color() != clNone) {
      cv->Brush()->SetStyle(bsSolid);
      cv->Brush()->SetColor(B->Color());
      cv->Pen()->SetColor(B->Color());
      cv->Rectangle(area);
    }
  }
  if (AnyButtonVisible()) {
    TRect br = GetButtonsRect();
    FButtonsBkg->SetWidth(std::max(0, br.Right - br.Left));
    FButtonsBkg->SetHeight(std::max(0, br.Bottom - br.Top));
    FButtonsBkg->Canvas()->CopyRect(TRect{0, 0, br.Right - br.Left, br.Bottom - br.Top}, cv, br);
  }
  // The tabs are laid out once for the whole paint, not once per tab.
  FPaintTabRects = AllTabRects();
  struct TDone {
    std::vector<TRect>& Rects;
    ~TDone() { Rects.clear(); }
  } done{FPaintTabRects};
  // Tabs lying wholly outside what the paint may change (the update region, or past the
  // window's edge when the strip scrolls) are not drawn: drawing them changes no pixel. With
  // a tab drawing handler every tab is drawn, as the handler expects.
  RECT clip{};
  const bool clipped = !OnDrawTab && GetClipBox(cv->GetHandle(), &clip) != ERROR;
  constexpr int kReach = 16;  // how far a tab's drawing may pass its rectangle
  for (int i = 0; i < GetDizOfficePageCount(); ++i) {
    const TRect& r = FPaintTabRects[static_cast<size_t>(i)];
    if (clipped && r.Right >= 0 &&
        (r.Right + kReach <= clip.left || r.Left - kReach >= clip.right || r.Bottom + kReach <= clip.top ||
         r.Top - kReach >= clip.bottom))
      continue;
    DrawTab(i);
  }
}

TZorOzirazIrezi::TTabColors TZorOzirazIrezi::GetTabColors(int Index) {
  TTabColors r;
  TDizOfficePage* page = GetDizPages(Index);
  if (!page || !FCurrentStyler) return r;
  TCustomTabAppearance* TA = page->UseTabAppearance() ? static_cast<TCustomTabAppearance*>(page->TabAppearance())
                                                      : FCurrentStyler->TabAppearance();
  const bool A = Index == FActivePageIndex;
  const bool hot = Index == FHotPageIndex;
  const bool T = page->GlowTimer() != nullptr;
  const int s = page->GlowState(), h = page->HoverPosition(), cpos = page->ClickPosition();
  const bool enabled = page->TabEnabled();
  TColor clr = clNone, clrTo = clNone, mir = clNone, mirTo = clNone, border = clNone, text = clNone;
  TGDIPGradient grad = ggVertical, gradMir = ggVertical;
  TColor highlight = TA->HighLightColor;
  bool background = true, focus = false;
  const TColor bg = FCurrentStyler->TabAppearance()->BackGround()->Color();
  const TColor bgTo = FCurrentStyler->TabAppearance()->BackGround()->ColorTo() == clNone
                          ? bg
                          : FCurrentStyler->TabAppearance()->BackGround()->ColorTo();
  auto hotColours = [&]() {
    clr = TA->ColorHot();
    clrTo = TA->ColorHotTo();
    mir = TA->ColorMirrorHot();
    mirTo = TA->ColorMirrorHotTo();
    border = TA->BorderColorHot;
    grad = TA->GradientHot();
    gradMir = TA->GradientMirrorHot();
  };
  auto blendHotToNormal = [&]() {
    clr = BlendColor(TA->ColorHot(), TA->Color(), h);
    clrTo = BlendColor(TA->ColorHotTo(), TA->ColorTo(), h);
    mir = BlendColor(TA->ColorMirrorHot(), TA->ColorMirror(), h);
    mirTo = BlendColor(TA->ColorMirrorHotTo(), TA->ColorMirrorTo(), h);
    border = BlendColor(TA->BorderColorHot, TA->BorderColor(), h);
  };
  auto blendHotToBackground = [&]() {
    clr = BlendColor(TA->ColorHot(), bg, h);
    clrTo = BlendColor(TA->ColorHotTo(), bgTo, h);
    mir = BlendColor(TA->ColorMirrorHot(), bg, h);
    mirTo = BlendColor(TA->ColorMirrorHotTo(), bg, h);
    border = BlendColor(TA->BorderColorHot, bg, h);
  };
  if (enabled || !FShowNonSelectedTabs) {
    if (A) {
      clr = TA->ColorSelected();
      clrTo = TA->ColorSelectedTo();
      mir = TA->ColorMirrorSelected();
      mirTo = TA->ColorMirrorSelectedTo();
      border = hot ? TA->BorderColorSelectedHot() : TA->BorderColorSelected();
      grad = TA->GradientSelected();
      gradMir = TA->GradientMirrorSelected();
      text = TA->TextColorSelected();
      highlight = hot ? TA->HighLightColorSelectedHot : TA->HighLightColor;
      if (T && s == 1) {
        clr = BlendColor(clr, TA->ColorHot(), cpos);
        clrTo = BlendColor(clrTo, TA->ColorHotTo(), cpos);
        mir = BlendColor(mir, TA->ColorMirrorHot(), cpos);
        mirTo = BlendColor(mirTo, TA->ColorMirrorHotTo(), cpos);
        border = BlendColor(border, TA->BorderColorHot, cpos);
      } else if (T && s == 0) {
        border = BlendColor(TA->BorderColorSelectedHot(), TA->BorderColorSelected(), h);
      }
      if (Index == FDownPageIndex && !IsDesigning(this)) {
        border = TA->BorderColorDown();
        highlight = TA->HighLightColorDown;
      }
    } else if (hot) {
      hotColours();
      text = TA->TextColorHot();
      highlight = TA->HighLightColorHot;
      if (T && s == 0) {
        if (FShowNonSelectedTabs) blendHotToNormal();
        else blendHotToBackground();
      }
    } else if (FShowNonSelectedTabs) {
      clr = TA->Color();
      clrTo = TA->ColorTo();
      mir = TA->ColorMirror();
      mirTo = TA->ColorMirrorTo();
      border = TA->BorderColor();
      grad = TA->Gradient();
      gradMir = TA->GradientMirror();
      text = TA->TextColor();
      if (T && s == 0) blendHotToNormal();
    } else {
      background = false;
      grad = TA->GradientHot();
      gradMir = TA->GradientMirrorHot();
      text = enabled ? TA->TextColor() : TA->TextColorDisabled();
      if (T && s == 0) {
        background = true;
        blendHotToBackground();
      }
    }
  } else {
    clr = TA->ColorDisabled();
    clrTo = TA->ColorDisabledTo();
    mir = TA->ColorMirrorDisabled();
    mirTo = TA->ColorMirrorDisabledTo();
    border = TA->BorderColorDisabled();
    grad = TA->GradientDisabled();
    gradMir = TA->GradientMirrorDisabled();
    text = TA->TextColorDisabled();
  }
  if (A && Focused()) {
    hotColours();
    border = TA->BorderColorSelectedHot();
    text = TA->TextColorHot();
    highlight = TA->HighLightColorSelected;
    focus = true;
  }
  r.Color = clr;
  r.ColorTo = clrTo;
  r.ColorMirror = mir;
  r.ColorMirrorTo = mirTo;
  r.BorderColor = border;
  r.Gradient = grad;
  r.GradientMirror = gradMir;
  r.TextColor = text;
  r.HighLightColor = highlight;
  r.Background = background;
  r.Focus = focus;
  return r;
}

void TZorOzirazIrezi::DrawTab(int Index) {
  TDizOfficePage* page = GetDizPages(Index);
  if (!page || FTabSettings->Height() <= 0 || !FCurrentStyler) return;
  TRect R = GetTabRect(Index);
  if (R.Left < 0 && R.Right < 0) return;
  TCanvas* cv = Canvas();
  TCustomTabAppearance* TA = page->UseTabAppearance() ? static_cast<TCustomTabAppearance*>(page->TabAppearance())
                                                      : FCurrentStyler->TabAppearance();
  const bool A = Index == FActivePageIndex;
  const bool T = page->GlowTimer() != nullptr;
  const int s = page->GlowState();
  const bool enabled = page->TabEnabled();
  const TColor bg = FCurrentStyler->TabAppearance()->BackGround()->Color();
  const TTabColors tc = GetTabColors(Index);
  const TColor clr = tc.Color, clrTo = tc.ColorTo, mir = tc.ColorMirror, mirTo = tc.ColorMirrorTo,
               border = tc.BorderColor, text = tc.TextColor, highlight = tc.HighLightColor;
  const TGDIPGradient grad = tc.Gradient, gradMir = tc.GradientMirror;
  const bool background = tc.Background;

  cv->Font()->Assign(TA->Font());
  cv->Font()->SetColor(text);

  const bool square = UseOldDrawing();
  const bool vert = !Horizontal(FTabPosition);
  TTabPosition P = FTabPosition;
  TDizTabShape shape = FTabSettings->Shape();
  if (vert && !FRotateTabLeftRight) {
    P = tpTop;
    shape = tsRectangle;
  }
  const bool extend = !(vert && !FRotateTabLeftRight);
  if (background) {
    TRect cut = R;
    switch (FTabPosition) {
      case tpTop: cut.Bottom -= 3; break;
      case tpBottom: cut.Top += 2; break;
      case tpLeft: cut.Right -= 3; break;
      case tpRight: cut.Left += 2; break;
    }
    if (square)
      DrawVistaBackground(cv, R, clr, clrTo, mir, mirTo, border, grad, gradMir, true, extend, P);
    else
      DrawVistaTab(cv, cut, clr, clrTo, mir, mirTo, border, grad, gradMir, Enabled(), shape, false,
                   FTabSettings->Rounding(), FRotateTabLeftRight, FTabPosition);
  }
  // Square-style decorations.
  if (square && background) {
    const int L = R.Left, Tp = R.Top, Rt = R.Right, B = R.Bottom;
    auto copy = [cv](int x, int y, int fx, int fy) { cv->SetPixel(x, y, cv->GetPixel(fx, fy)); };
    auto line = [cv](TColor c, int x1, int y1, int x2, int y2) {
      cv->Pen()->SetColor(c);
      cv->MoveTo(x1, y1);
      cv->LineTo(x2, y2);
    };
    TColor inner = (T && s == 0) ? BlendColor(clWhite, clr, 20)
                   : (A && Focused()) ? BlendColor(clWhite, clr, 20)
                                      : BlendColor(clWhite, clr, 50);
    const bool shadow = TA->ShadowColor != clNone;
    const TColor sh1 = TA->ShadowColor, sh2 = BlendColor(TA->ShadowColor, bg, 40);
    const bool hl = highlight != clNone;
    const TColor hl1 = BlendColor(clr, border, 80), hl2 = highlight;
    switch (FTabPosition) {
      case tpTop:
        copy(L, Tp, L - 1, Tp - 1); copy(L + 1, Tp, L + 1, Tp - 1); copy(L, Tp + 1, L - 1, Tp);
        copy(Rt - 1, Tp, Rt + 1, Tp); copy(Rt - 2, Tp, Rt + 1, Tp); copy(Rt - 1, Tp + 1, Rt + 1, Tp);
        line(inner, L + 3, Tp + 3, Rt - 3, Tp + 3);
        if (shadow) { line(sh1, Rt, Tp + 3, Rt, B - 4); line(sh2, Rt + 1, Tp + 4, Rt + 1, B - 4); }
        if (hl) { line(hl1, L + 3, Tp + 1, Rt - 3, Tp + 1); line(hl2, L + 1, Tp + 3, L + 1, B - 5); line(hl2, Rt - 2, Tp + 3, Rt - 2, B - 5); }
        break;
      case tpBottom:
        copy(L, B - 2, L - 1, B - 1); copy(L + 1, B - 1, L - 1, B - 1); copy(L, B - 1, L - 1, B - 1);
        copy(Rt - 1, B - 1, Rt + 1, B); copy(Rt - 2, B - 1, Rt + 1, B); copy(Rt - 1, B - 2, Rt + 1, B);
        line(inner, L + 3, B - 3, Rt - 3, B - 3);
        if (shadow) { line(sh1, Rt, Tp + 4, Rt, B - 2); line(sh2, Rt + 1, Tp + 4, Rt + 1, B - 3); }
        if (hl) { line(hl1, L + 3, B - 2, Rt - 3, B - 2); line(hl2, L + 1, B - 3, L + 1, Tp + 5); line(hl2, Rt - 2, B - 3, Rt - 2, Tp + 5); }
        break;
      case tpLeft:
        copy(L, Tp, L - 1, Tp - 1); copy(L + 1, Tp, L + 1, Tp - 1); copy(L, Tp + 1, L - 1, Tp);
        copy(L, B - 1, L - 1, B); copy(L + 1, B - 1, L - 1, B); copy(L, B - 2, L - 1, B);
        if (FRotateTabLeftRight) line(inner, L + 3, Tp + 3, L + 3, B - 3);
        else line(inner, L + 3, Tp + 3, Rt - 5, Tp + 3);
        if (shadow) {
          if (FRotateTabLeftRight) { line(sh1, L + 3, Tp - 1, Rt, Tp - 1); line(sh2, L + 4, Tp - 2, Rt, Tp - 2); }
          else { line(sh1, L + 3, B, Rt, B); line(sh2, L + 4, B + 1, Rt, B + 1); }
        }
        if (hl) { line(hl1, L + 1, Tp + 3, L + 1, B - 3); line(hl2, L + 3, Tp + 1, Rt - 5, Tp + 1); line(hl2, L + 3, B - 2, Rt - 5, B - 2); }
        break;
      case tpRight:
        copy(Rt, Tp, Rt + 1, Tp - 1); copy(Rt - 1, Tp, Rt + 1, Tp - 1); copy(Rt, Tp + 1, Rt + 1, Tp);
        copy(Rt, B - 1, Rt + 1, B); copy(Rt - 1, B - 1, Rt + 1, B); copy(Rt, B - 2, Rt + 1, B);
        if (FRotateTabLeftRight) line(inner, Rt - 3, Tp + 3, Rt - 3, B - 3);
        else line(inner, L + 5, Tp + 3, Rt - 3, Tp + 3);
        if (shadow) { line(sh1, L + 3, B, Rt - 3, B); line(sh2, L + 4, B + 1, Rt - 4, B + 1); }
        if (hl) { line(hl1, Rt - 2, Tp + 3, Rt - 2, B - 3); line(hl2, L + 5, Tp + 1, Rt - 3, Tp + 1); line(hl2, L + 5, B - 2, Rt - 3, B - 2); }
        break;
    }
  }
  // Check box.
  if (page->ShowCheckBox()) {
    TRect cb = GetCheckBoxRect(Index);
    RECT rc{cb.Left, cb.Top, cb.Right, cb.Bottom};
    HTHEME theme = nullptr;
    if (FIsComCtl6 && IsThemeActive() && !IsDesigning(this)) theme = OpenThemeData(Handle(), "button");
    if (theme) {
      int state = !page->Checked() ? 0 : page->Enabled() ? 5 : 8;
      DrawThemeBackground(theme, cv->GetHandle(), 3, state, &rc, nullptr);
      CloseThemeData(theme);
    } else {
      UINT state = DFCS_BUTTONCHECK;
      if (page->Checked()) state |= DFCS_CHECKED;
      if (page->Checked() && !page->Enabled()) state |= DFCS_INACTIVE;
      DrawFrameControl(cv->GetHandle(), &rc, DFC_BUTTON, state);
    }
  }
  if (OnDrawTab) {
    OnDrawTab(this, Index, R);
    return;
  }
  // Content rectangle.
  TRect CR;
  const bool rotated = vert && FRotateTabLeftRight;
  TRect Rc = R;
  if (!square) {
    if (!vert) Rc.Left += GetLeftRoundingOffset();
    else if (rotated && FTabPosition == tpLeft) Rc.Bottom -= GetLeftRoundingOffset();
    else if (rotated) Rc.Top += GetLeftRoundingOffset();
  }
  const bool CB = FButtonSettings->CloseButton() && FCloseOnTab;
  const bool S = FShowCloseOnNonSelectedTabs, SC = page->ShowClose();
  const bool cpL = FCloseOnTabPosition == cpLeft && FTabSettings->Alignment() != taCenter;
  const bool cpR = FCloseOnTabPosition == cpRight && (FTabSettings->Width() < 1 || FTabSettings->Alignment() != taCenter);
  const int LM = FTabSettings->LeftMargin();
  auto reserve = [&](int& edge, int sign, int offNotActive, int offLeft) {
    if (!S) {
      if (CB && !A && SC) edge += sign * offNotActive;
      else if (CB && A && SC && cpL) edge += sign * offLeft;
    } else if (CB && SC && cpL) {
      edge += sign * offLeft;
    }
  };
  if (!vert) {
    CR = TRect{Rc.Left + LM, Rc.Top, Rc.Right, Rc.Bottom};
    reserve(CR.Left, 1, 11, 22);
    if (page->ShowCheckBox()) CR.Left += 20;
  } else if (rotated && FTabPosition == tpLeft) {
    CR = TRect{Rc.Left, Rc.Top, Rc.Right, Rc.Bottom - LM};
    reserve(CR.Bottom, -1, 11, 22);
    if (page->ShowCheckBox()) CR.Bottom -= 25;
  } else if (rotated) {
    CR = TRect{Rc.Left, Rc.Top + LM, Rc.Right, Rc.Bottom};
    reserve(CR.Top, 1, 11, 22);
    if (page->ShowCheckBox()) CR.Top += 20;
  } else {
    CR = TRect{Rc.Left + LM + (FTabPosition == tpRight ? 3 : 0), Rc.Top, Rc.Right, Rc.Bottom};
    if (!S) {
      if (CB && A && SC && cpL) CR.Left += FTabPosition == tpRight ? 23 : 22;
      else if (CB && A && SC && cpR) CR.Right -= 22;
    } else if (CB && SC && cpR) {
      CR.Right -= 22;
    }
    if (page->ShowCheckBox()) CR.Left += 20;
  }
  // Picture or image-list image.
  TGDIPPicture* pic =
      (!page->Enabled() && !page->DisabledPicture()->GetEmpty()) ? page->DisabledPicture() : page->Picture();
  TSize is = GetTabImageSize(Index);
  const TImagePosition ip = FTabSettings->ImagePosition();
  TPoint imgPos{-1, -1};
  if (is.cx > 0) {
    const int iw = is.cx, ih = is.cy, g = 2;
    if (!vert || !FRotateTabLeftRight) {
      switch (ip) {
        case ipLeft:
          imgPos = TPoint{CR.Left + (pic->GetEmpty() ? 0 : (vert ? 0 : 2)), R.Top + (R.Height() - ih) / 2};
          CR.Left += iw + g;
          break;
        case ipTop:
          imgPos = TPoint{R.Left + (R.Width() - iw) / 2, CR.Top + FTabSettings->StartMargin()};
          CR.Top += ih;
          break;
        case ipRight:
          imgPos = TPoint{CR.Right - iw - FTabSettings->RightMargin(), R.Top + (R.Height() - ih) / 2};
          CR.Right = imgPos.X - g;
          break;
        case ipBottom:
          imgPos = TPoint{R.Left + (R.Width() - iw) / 2, CR.Bottom - ih - FTabSettings->StartMargin()};
          CR.Bottom -= ih;
          break;
      }
    } else {
      imgPos = TPoint{R.Left + (R.Width() - iw) / 2, FTabPosition == tpLeft ? CR.Bottom - ih : CR.Top};
      if (FTabPosition == tpLeft) CR.Bottom = imgPos.Y - g;
      else CR.Top += ih + g;
    }
    if (pic->GetEmpty()) {
      TCustomImageList* list = page->Enabled() ? FImages : (FDisabledImages ? FDisabledImages : FImages);
      if (list) list->Draw(cv, imgPos.X, imgPos.Y, page->ImageIndex(), page->Enabled() && enabled);
    }
  }
  // Caption.
  cv->Brush()->SetStyle(bsClear);
  cv->Font()->SetColor(text);
  const bool ellipsis = FTabSettings->Width() >= 1;
  TRect textRect{0, 0, 0, 0};
  if (!vert || (rotated && FTabPosition == tpRight && FAntiAlias != aaNone && FTabSettings->Width() < 1) || !rotated) {
    TRect X = CR;
    TAlignment al = taLeftJustify;
    if (FTabSettings->Width() > 0) {
      al = FTabSettings->Alignment();
      if (al == taRightJustify && !vert &&
          (FTabSettings->Shape() == tsRightRamp || FTabSettings->Shape() == tsLeftRightRamp))
        X.Right -= GetRightRoundingOffset();
      if (al == taRightJustify && vert) X.Right -= 3;
      if (al == taCenter && !vert) {
        TRect cr{0, 0, 0, 0}, tr{0, 0, 0, 0};
        TPoint ipos{0, 0};
        GetCloseBtnImageAndTextRect(Index, cr, ipos, tr);
        if (tr.Right > tr.Left) X.Left = tr.Left;
        al = taLeftJustify;
      }
      if (!vert && CB && (A || S) && SC && FCloseOnTabPosition == cpRight) X.Right -= 22;
    } else if (ip == ipTop || ip == ipBottom) {
      al = taCenter;
    } else if (!vert || rotated) {
      X.Right = CR.Right + 10;
    }
    std::string caption = page->TabCaption();
    // With GDI+ text the tab was measured by the same routine that draws, so only a fixed
    // width can cut the caption, and the drawing shortens it with its own measuring.
    if (!FTabSettings->WordWrap() && !caption.empty() && FAntiAlias == aaNone)
      caption = TrimCaption(cv, caption, X, ellipsis, vert && rotated ? FTabPosition : tpTop, false);
    DrawVistaText(cv, al, X, caption, page->WideCaption(), cv->Font(), page->Enabled(), true, FAntiAlias,
                  vert && !rotated ? tpTop : FTabPosition, ellipsis, FTabSettings->WordWrap(), textRect);
  } else {
    // Rotated captions through a turned copy of the font.
    TFont rotatedFont;
    rotatedFont.Assign(cv->Font());
    rotatedFont.SetOrientation(FTabPosition == tpLeft ? 900 : 2700);
    TSize gh = cv->TextExtent("gh");
    cv->Font()->Assign(&rotatedFont);
    const int th = gh.cy;
    std::string caption = page->TabCaption();
    if (FTabPosition == tpLeft)
      cv->TextOut(CR.Left + (CR.Width() - th) / 2, CR.Bottom, caption);
    else
      cv->TextOut(CR.Right - (CR.Width() - th) / 2, CR.Top, caption);
  }
  if (is.cx > 0 && !pic->GetEmpty() && imgPos.X >= 0) cv->Draw(imgPos.X, imgPos.Y, pic);
  // Tabs under the buttons leave the button frame intact.
  if (AnyButtonVisible()) {
    TRect br = GetButtonsRect();
    TRect ov{std::max(R.Left, br.Left), std::max(R.Top, br.Top), std::min(R.Right, br.Right), std::min(R.Bottom, br.Bottom)};
    if (ov.Right > ov.Left && ov.Bottom > ov.Top)
      cv->CopyRect(ov, FButtonsBkg->Canvas(),
                   TRect{ov.Left - br.Left, ov.Top - br.Top, ov.Right - br.Left, ov.Bottom - br.Top});
  }
  if (!A && IsActivePageNeighbour(Index)) DrawTab(FActivePageIndex);
}
