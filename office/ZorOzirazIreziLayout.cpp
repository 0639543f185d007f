// Pager geometry: tab strip, tabs, button area, glow buttons, the tab scroller and hit tests.
#include <algorithm>
#include <climits>
#include <vector>

#include "office/ZorOzirazIrezi.h"
#include "platform/gdi/Text.h"

using namespace ZorOzirazIrezi;

namespace {
const TRect None{-1, -1, -1, -1};
bool Horizontal(TTabPosition p) { return p == tpTop || p == tpBottom; }
bool In(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }
}  // namespace

bool TZorOzirazIrezi::UseOldDrawing() const {
  const int r = FTabSettings->Rounding();
  if (FTabSettings->Shape() == tsRectangle && r == 1) return true;
  return !Horizontal(FTabPosition) && !FRotateTabLeftRight && r == 1;
}

int TZorOzirazIrezi::GetLeftRoundingOffset() const {
  TDizTabShape s = FTabSettings->Shape();
  if ((s == tsLeftRamp || s == tsLeftRightRamp) && !UseOldDrawing() &&
      (Horizontal(FTabPosition) || FRotateTabLeftRight))
    return FTabSettings->Rounding() * 2 + 5;
  return 0;
}

int TZorOzirazIrezi::GetRightRoundingOffset() const {
  TDizTabShape s = FTabSettings->Shape();
  if ((s == tsRightRamp || s == tsLeftRightRamp) && !UseOldDrawing() &&
      (Horizontal(FTabPosition) || FRotateTabLeftRight))
    return FTabSettings->Rounding() * 2 + 5;
  return 0;
}

TRect TZorOzirazIrezi::GetTabsArea() {
  TRect c = ClientRect();
  const int H = FTabSettings->Height();
  switch (FTabPosition) {
    case tpTop: return TRect{c.Left, c.Top, c.Right, c.Top + H};
    case tpBottom: return TRect{c.Left, c.Bottom - H, c.Right, c.Bottom};
    case tpLeft: return TRect{c.Left, c.Top, c.Left + H, c.Bottom};
    case tpRight: return TRect{c.Right - H, c.Top, c.Right, c.Bottom};
  }
  return c;
}

TRect TZorOzirazIrezi::GetButtonsRect() {
  TRect c = ClientRect();
  const int H = FTabSettings->Height(), O = FTabOffSet, M = FPageMargin, EM = FTabSettings->EndMargin();
  TRect r;
  const int E = Horizontal(FTabPosition) ? c.Right - EM - M - 3 : c.Bottom - EM - M - 3;
  switch (FTabPosition) {
    case tpTop: r.Bottom = c.Top + O + H; r.Top = r.Bottom - 26; r.Right = E; r.Left = E - 3; break;
    case tpBottom: r.Top = c.Bottom - H - O; r.Bottom = r.Top + 26; r.Right = E; r.Left = E - 3; break;
    case tpLeft: r.Right = c.Left + O + H; r.Left = r.Right - 26; r.Bottom = E; r.Top = E - 3; break;
    case tpRight: r.Left = c.Right - H - O; r.Right = r.Left + 26; r.Bottom = E; r.Top = E - 3; break;
  }
  int back = 0;
  if (FTabScroller.Visible()) {
    int n = 2 + (FButtonSettings->FirstButton() ? 1 : 0) + (FButtonSettings->LastButton() ? 1 : 0);
    back += n * 20;
  }
  if (FButtonSettings->PageListButton()) back += 21;
  if (FButtonSettings->CloseButton() && !FCloseOnTab) back += 21;
  if (Horizontal(FTabPosition)) r.Left -= back;
  else r.Top -= back;
  return r;
}

TRect TZorOzirazIrezi::GetTabsRect() {
  TRect c = ClientRect(), b = GetButtonsRect();
  const int H = FTabSettings->Height(), O = FTabOffSet, S = FTabSettings->StartMargin(), M = FPageMargin;
  switch (FTabPosition) {
    case tpTop: return TRect{c.Left + S + M, c.Top + O, b.Left, c.Top + O + H};
    case tpBottom: return TRect{c.Left + S + M, c.Bottom - H - O, b.Left, c.Bottom - O};
    case tpLeft: return TRect{c.Left + O, c.Top + S + M, c.Left + O + H, b.Top};
    case tpRight: return TRect{c.Right - H - O, c.Top + S + M, c.Right - O, b.Top};
  }
  return c;
}

TSize TZorOzirazIrezi::GetTabImageSize(int PageIndex) {
  TDizOfficePage* p = GetDizPages(PageIndex);
  if (!p) return TSize{0, 0};
  TGDIPPicture* pic = (!p->Enabled() && !p->DisabledPicture()->GetEmpty()) ? p->DisabledPicture() : p->Picture();
  if (!pic->GetEmpty()) {
    pic->GetImageSizes();
    return TSize{pic->GetWidth(), pic->GetHeight()};
  }
  if ((FImages || FDisabledImages) && p->ImageIndex() >= 0) {
    TCustomImageList* list = (!p->Enabled() && FDisabledImages) ? FDisabledImages : FImages;
    if (list) return TSize{list->GetWidth(), list->GetHeight()};
  }
  return TSize{0, 0};
}

TSize TZorOzirazIrezi::GetTextSize(int PageIndex) {
  TDizOfficePage* p = GetDizPages(PageIndex);
  if (!p) return TSize{0, 0};
  const std::string& caption = p->TabCaption();
  if (caption.empty() && p->WideCaption().empty()) return TSize{0, 0};
  TCanvas* cv = Canvas();
  TFont saved;
  saved.Assign(cv->Font());
  cv->Font()->Assign(FCurrentStyler->TabAppearance()->Font());
  RECT rc{0, 0, 1000, 100};
  TSize result;
  if (!caption.empty()) {
    DrawTextUtf8(cv->GetHandle(), caption, &rc, DT_CALCRECT | DT_SINGLELINE);
    result = TSize{int(rc.right - rc.left), int(rc.bottom - rc.top)};
    if (FAntiAlias != aaAntiAlias) result.cx += static_cast<int>(caption.size()) / 3;
  } else {
    DrawTextW(cv->GetHandle(), p->WideCaption().c_str(), static_cast<int>(p->WideCaption().size()), &rc,
              DT_CALCRECT | DT_SINGLELINE);
    result = TSize{int(rc.right - rc.left), int(rc.bottom - rc.top)};
    if (FAntiAlias != aaAntiAlias) result.cx += static_cast<int>(p->WideCaption().size());
  }
  cv->Font()->Assign(&saved);
  return result;
}

namespace {
TFont* TabFont(TDizOfficePage* p, TCustomZorOzirazIreziStyler* styler) {
  return p->UseTabAppearance() ? p->TabAppearance()->Font() : styler->TabAppearance()->Font();
}
}  // namespace

int TZorOzirazIrezi::TabLength(int PageIndex) {
  TDizOfficePage* p = FPages[static_cast<size_t>(PageIndex)];
  if (!p->TabVisible()) return -1;
  const bool horz = Horizontal(FTabPosition);
  const bool rotated = !horz && FRotateTabLeftRight;
  TFont* font = TabFont(p, FCurrentStyler);
  int iw = 0, ih = 0;
  if (!p->Picture()->GetEmpty()) {
    p->Picture()->GetImageSizes();
    iw = p->Picture()->GetWidth();
    ih = p->Picture()->GetHeight();
  } else {
    TSize s = GetTabImageSize(PageIndex);
    iw = s.cx;
    ih = s.cy;
  }
  const bool closeOnTab = FButtonSettings->CloseButton() && FCloseOnTab && p->ShowClose();
  const TImagePosition ip = FTabSettings->ImagePosition();

  // The caption's size, measured again only when the caption, the font or the way of
  // measuring changed.
  TDizOfficePage::TTabTextSize& t = p->FTabTextSize;
  const std::string& caption = p->TabCaption();  // clears Valid when the text changed
  const bool wrap = FTabSettings->WordWrap();
  if (!t.Valid || t.Horizontal != horz || t.WordWrap != wrap || t.AntiAlias != FAntiAlias ||
      t.WideCaption != p->WideCaption() || t.FontName != font->GetName() ||
      t.FontHeight != font->GetHeight() || t.FontStyle != font->GetStyle() || t.FontCharset != font->GetCharset() ||
      t.FontPitch != font->GetPitch() || t.FontOrientation != font->GetOrientation() ||
      t.FontPixelsPerInch != font->PixelsPerInch) {
    TCanvas* cv = Canvas();
    cv->Font()->Assign(font);
    int tw = 0, th = 0;
    if (!caption.empty() || !p->WideCaption().empty()) {
      if (horz) {
        TRect tr{0, 0, 0, 0};
        DrawVistaText(cv, taLeftJustify, TRect{0, 0, 1000, 100}, caption, p->WideCaption(), cv->Font(), true,
                      false, FAntiAlias, tpTop, false, wrap, tr);
        tw = tr.Right;
      } else {
        RECT rc{0, 0, 1000, 100};
        if (!caption.empty()) DrawTextUtf8(cv->GetHandle(), caption, &rc, DT_CALCRECT | DT_SINGLELINE);
        else
          DrawTextW(cv->GetHandle(), p->WideCaption().c_str(), static_cast<int>(p->WideCaption().size()), &rc,
                    DT_CALCRECT | DT_SINGLELINE);
        tw = rc.right - rc.left;
        th = rc.bottom - rc.top;
      }
    }
    t.Valid = true;
    t.Horizontal = horz;
    t.WordWrap = wrap;
    t.AntiAlias = FAntiAlias;
    t.WideCaption = p->WideCaption();
    t.FontName = font->GetName();
    t.FontHeight = font->GetHeight();
    t.FontStyle = font->GetStyle();
    t.FontCharset = font->GetCharset();
    t.FontPitch = font->GetPitch();
    t.FontOrientation = font->GetOrientation();
    t.FontPixelsPerInch = font->PixelsPerInch;
    t.Width = tw;
    t.Height = th;
  }
  const int tw = t.Width, th = t.Height;

  int L = 0;
  if (horz) {
    L = GetLeftRoundingOffset() + FTabSettings->LeftMargin() + tw + FTabSettings->RightMargin() +
        GetRightRoundingOffset() + 3;
    if (ip == ipLeft || ip == ipRight) L += iw + (iw > 0 ? 2 : 0);
    if (closeOnTab) L += 22;
    if (p->ShowCheckBox()) L += 20;
    if (FTabSettings->Width() > 0) L = FTabSettings->Width();
  } else {
    int along = FTabSettings->LeftMargin() + tw + 5 + FTabSettings->RightMargin();
    int across = th;
    if (ip == ipTop || ip == ipBottom) across += ih + 2;
    if (ip == ipLeft || ip == ipRight) {
      along += iw + 2;
      across = std::max(across, ih);
    }
    across += 12;
    if (rotated) {
      along += GetLeftRoundingOffset() + GetRightRoundingOffset();
      if (closeOnTab) along += 22;
      if (p->ShowCheckBox()) along += 20;
      if (FTabSettings->Width() > 0) along = FTabSettings->Width();
      L = along;
    } else {
      if (FTabSettings->Width() > 0) across = FTabSettings->Width();
      L = across;
    }
  }
  return L;
}

TRect TZorOzirazIrezi::TabStrip() {
  TRect TR = GetTabsRect();
  if (FTabsUnderButtons) {
    TRect area = GetTabsArea();
    if (Horizontal(FTabPosition)) TR.Right = area.Right;
    else TR.Bottom = area.Bottom;
  }
  return TR;
}

TRect TZorOzirazIrezi::GetTabRect(int StartIndex, int PageIndex, bool ConsiderTabScroller) {
  TRect result = None;
  TDizOfficePage* target = GetDizPages(PageIndex);
  if (!target || !target->TabVisible() || StartIndex < 0) return result;
  if (StartIndex == 0 && ConsiderTabScroller && FPaintTabRects.size() == FPages.size())
    return FPaintTabRects[static_cast<size_t>(PageIndex)];
  const TRect TR = TabStrip();
  const bool horz = Horizontal(FTabPosition);
  const int farEdge = horz ? TR.Right : TR.Bottom;
  int c = horz ? TR.Left : TR.Top;
  int v = 0;
  for (int j = StartIndex; j <= PageIndex && j < GetDizOfficePageCount(); ++j) {
    const int L = TabLength(j);
    if (L < 0) continue;  // a hidden tab
    if (c + L > farEdge - FPageMargin) {
      if (!ConsiderTabScroller) break;
      if (FTabScroller.Visible() && j == PageIndex && FTabScroller.Position() != PageIndex) break;
    }
    if (!ConsiderTabScroller || !FTabScroller.Visible() || v >= FTabScroller.Position()) {
      TRect r = horz ? TRect{c, TR.Top, c + L, TR.Bottom} : TRect{TR.Left, c, TR.Right, c + L};
      if (j == PageIndex) result = r;
      c += L + FTabSettings->Spacing();
    }
    ++v;
  }
  return result;
}

std::vector<TRect> TZorOzirazIrezi::AllTabRects() {
  // GetTabRect(i) for every i in one pass: the tabs ahead of i are placed the same way for
  // every i; only i's own rectangle is dropped when it does not fit and the scroller shows
  // another first tab.
  const int n = GetDizOfficePageCount();
  std::vector<TRect> rects(static_cast<size_t>(n), None);
  const TRect TR = TabStrip();
  const bool horz = Horizontal(FTabPosition);
  const int farEdge = horz ? TR.Right : TR.Bottom;
  int c = horz ? TR.Left : TR.Top;
  int v = 0;
  for (int j = 0; j < n; ++j) {
    const int L = TabLength(j);
    if (L < 0) continue;
    const bool dropped =
        c + L > farEdge - FPageMargin && FTabScroller.Visible() && FTabScroller.Position() != j;
    if (!FTabScroller.Visible() || v >= FTabScroller.Position()) {
      if (!dropped) rects[static_cast<size_t>(j)] = horz ? TRect{c, TR.Top, c + L, TR.Bottom} : TRect{TR.Left, c, TR.Right, c + L};
      c += L + FTabSettings->Spacing();
    }
    ++v;
  }
  return rects;
}

int TZorOzirazIrezi::ComputeFirstFitCount() {
  const int n = GetDizOfficePageCount();
  int last = -1;
  for (int i = n - 1; i >= 0; --i)
    if (FPages[static_cast<size_t>(i)]->TabVisible()) {
      last = i;
      break;
    }
  if (last <= 0) return -1;  // nothing fits, count 0
  // The tabs from i to the last fit when every one of them ends by the strip's far edge:
  // start + before[j] - before[i] + L[j] <= far edge for each shown j in i..last, where
  // before[k] sums the lengths and spacings of the shown tabs ahead of k. The largest
  // before[j] + L[j] from the end backwards answers that for every i in one pass.
  const int spacing = FTabSettings->Spacing();
  std::vector<long long> before(static_cast<size_t>(last) + 1, 0);
  std::vector<int> length(static_cast<size_t>(last) + 1, -1);
  long long sum = 0;
  for (int j = 0; j <= last; ++j) {
    before[static_cast<size_t>(j)] = sum;
    length[static_cast<size_t>(j)] = TabLength(j);
    if (length[static_cast<size_t>(j)] >= 0) sum += length[static_cast<size_t>(j)] + spacing;
  }
  std::vector<long long> reach(static_cast<size_t>(last) + 2, LLONG_MIN);
  for (int j = last; j >= 0; --j) {
    long long r = reach[static_cast<size_t>(j) + 1];
    if (length[static_cast<size_t>(j)] >= 0)
      r = std::max(r, before[static_cast<size_t>(j)] + length[static_cast<size_t>(j)]);
    reach[static_cast<size_t>(j)] = r;
  }
  const bool horz = Horizontal(FTabPosition);
  int count = 0;
  for (int i = 0; i <= last; ++i) {
    // The strip as it stands now (the scroller shows once a start has not fitted).
    const TRect TR = TabStrip();
    const long long start = horz ? TR.Left : TR.Top, farEdge = horz ? TR.Right : TR.Bottom;
    if (start + reach[static_cast<size_t>(i)] - before[static_cast<size_t>(i)] <= farEdge - FPageMargin) return count;
    if (length[static_cast<size_t>(i)] >= 0) ++count;
    FTabScroller.SetVisible(true);
  }
  return -1;
}

void TZorOzirazIrezi::UpdateTabScroller() {
  FTabsUnderButtons = false;
  FTabScroller.SetVisible(FButtonSettings->ScrollButtonsAlways());
  FTabScroller.SetMin(0);
  int fit = ComputeFirstFitCount();
  FTabScroller.SetMax(std::max(fit, 0));
  if (fit < 0) {
    FTabsUnderButtons = true;
    fit = ComputeFirstFitCount();
    FTabScroller.SetMax(std::max(fit, 0));
    if (FTabScroller.Max() == 0) FTabScroller.SetMax(std::max(0, GetVisibleTabCount() - 1));
  } else {
    if (FTabScroller.Position() > FTabScroller.Max()) FTabScroller.SetPosition(FTabScroller.Max());
    if (FTabScroller.Position() > 0) {
      int p = std::min(FTabScroller.Position(), GetVisibleTabCount());
      if (GetTabRect(p).Right == -1) {
        FTabsUnderButtons = true;
        int again = ComputeFirstFitCount();
        FTabScroller.SetMax(std::max(again, 0));
        if (FTabScroller.Max() == 0) FTabsUnderButtons = false;
      }
    }
  }
  FTabScroller.SetVisible(FTabScroller.Min() < FTabScroller.Max() || FButtonSettings->ScrollButtonsAlways());
  if (FTabScroller.Position() > FTabScroller.Max()) FTabScroller.SetPosition(FTabScroller.Max());
  InitializeAndUpdateButtons();
}

TRect TZorOzirazIrezi::GetCheckBoxRect(int PageIndex) {
  TRect T = GetTabRect(PageIndex);
  int cw = 0, ch = 0;
  if (FCloseOnTab && FCloseOnTabPosition == cpLeft && (FShowCloseOnNonSelectedTabs || PageIndex == FActivePageIndex)) {
    TRect cr = GetCloseButtonRect(PageIndex);
    cw = cr.Right - cr.Left;
    ch = cr.Bottom - cr.Top;
  }
  TRect r;
  if (Horizontal(FTabPosition)) {
    r.Left = T.Left + cw + 5;
    r.Top = T.Top + (T.Bottom - T.Top - 15) / 2;
  } else if (FTabPosition == tpLeft) {
    r.Left = T.Left + (T.Right - T.Left - 15) / 2;
    r.Top = T.Bottom - ch - 20;
  } else {
    r.Left = T.Left + (T.Right - T.Left - 15) / 2;
    r.Top = T.Top + ch + 5;
  }
  r.Right = r.Left + 15;
  r.Bottom = r.Top + 15;
  return r;
}

TRect TZorOzirazIrezi::GetPageListRect() {
  if (!FButtonSettings->PageListButton()) return None;
  TRect r;
  const bool horz = Horizontal(FTabPosition);
  if (FTabScroller.Visible()) {
    TRect last = GetTabScrollerLastRect();
    if (horz) {
      r = TRect{last.Right + 3, last.Top, last.Right + 21, last.Bottom};
    } else {
      r = TRect{last.Left, last.Bottom + 3, last.Right, last.Bottom + 21};
    }
    return r;
  }
  TRect BR = GetButtonsRect();
  switch (FTabPosition) {
    case tpTop: r.Left = BR.Left + 3; r.Right = r.Left + 18; r.Bottom = BR.Bottom - 5; r.Top = r.Bottom - 18; break;
    case tpBottom: r.Left = BR.Left + 3; r.Right = r.Left + 18; r.Top = BR.Top + 5; r.Bottom = r.Top + 18; break;
    case tpLeft: r.Top = BR.Top + 3; r.Bottom = r.Top + 18; r.Right = BR.Right - 5; r.Left = r.Right - 18; break;
    case tpRight: r.Top = BR.Top + 3; r.Bottom = r.Top + 18; r.Left = BR.Left + 5; r.Right = r.Left + 18; break;
  }
  return r;
}

TRect TZorOzirazIrezi::GetTabScrollerRect() {
  if (!FTabScroller.Visible()) return None;
  TRect BR = GetButtonsRect(), r = BR;
  int n = 2 + (FButtonSettings->FirstButton() ? 1 : 0) + (FButtonSettings->LastButton() ? 1 : 0);
  int k = n * 18 + 5;
  switch (FTabPosition) {
    case tpTop: r.Right = BR.Left + k + 3; r.Bottom = BR.Bottom - 5; r.Top = BR.Bottom - 23; break;
    case tpBottom: r.Right = BR.Left + k + 3; r.Top = BR.Top + 5; r.Bottom = BR.Top + 23; break;
    case tpLeft: r.Bottom = BR.Top + k + 3; r.Right = BR.Right - 5; r.Left = BR.Right - 23; break;
    case tpRight: r.Bottom = BR.Top + k + 3; r.Left = BR.Left + 5; r.Right = BR.Left + 23; break;
  }
  return r;
}

TRect TZorOzirazIrezi::GetTabScrollerFirstRect() {
  TRect S = GetTabScrollerRect();
  if (S.Left == -1 && S.Right == -1) return None;
  TRect r = S;
  if (Horizontal(FTabPosition)) {
    r.Left = S.Left + 3;
    r.Right = S.Left + 21;
  } else {
    r.Top = S.Top + 3;
    r.Bottom = S.Top + 21;
  }
  return r;
}

TRect TZorOzirazIrezi::GetTabScrollerLeftRect() {
  TRect S = GetTabScrollerRect();
  if (S.Left == -1 && S.Right == -1) return None;
  TRect r = S;
  const bool horz = Horizontal(FTabPosition);
  if (FButtonSettings->FirstButton()) {
    TRect f = GetTabScrollerFirstRect();
    if (horz) r = TRect{f.Right + 2, S.Top, f.Right + 20, S.Bottom};
    else r = TRect{S.Left, f.Bottom + 3, S.Right, f.Bottom + 21};
  } else {
    if (horz) r = TRect{S.Left + 2, S.Top, S.Left + 20, S.Bottom};
    else r = TRect{S.Left, S.Top + 3, S.Right, S.Top + 21};
  }
  return r;
}

TRect TZorOzirazIrezi::GetTabScrollerRightRect() {
  TRect p = GetTabScrollerLeftRect();
  if (p.Left == -1 && p.Right == -1) return None;
  if (Horizontal(FTabPosition)) return TRect{p.Right + 2, p.Top, p.Right + 20, p.Bottom};
  return TRect{p.Left, p.Bottom + 2, p.Right, p.Bottom + 20};
}

TRect TZorOzirazIrezi::GetTabScrollerLastRect() {
  TRect n = GetTabScrollerRightRect();
  if ((n.Left == -1 && n.Right == -1) || !FButtonSettings->LastButton()) return n;
  if (Horizontal(FTabPosition)) return TRect{n.Right + 2, n.Top, n.Right + 20, n.Bottom};
  return TRect{n.Left, n.Bottom + 2, n.Right, n.Bottom + 20};
}

void TZorOzirazIrezi::GetCloseBtnImageAndTextRect(int PageIndex, TRect& CloseRect, TPoint& ImagePos, TRect& TextRect) {
  TDizOfficePage* p = GetDizPages(PageIndex);
  if (!p || FTabSettings->Width() < 1 || FTabSettings->Height() < 1) return;
  TRect T = GetTabRect(PageIndex);
  if (T.Left < 0 && T.Right < 0) return;
  const bool A = PageIndex == FActivePageIndex, K = A && FCloseOnTab;
  const int cw = FCloseOnTab ? 18 : 0;
  TSize is = GetTabImageSize(PageIndex);
  const TImagePosition ip = FTabSettings->ImagePosition();
  int iw = (ip == ipTop || ip == ipBottom) ? 0 : is.cx, ih = is.cy;
  int tw = GetTextSize(PageIndex).cx;
  const bool horz = Horizontal(FTabPosition);
  const bool rotated = !horz && FRotateTabLeftRight;
  int len = rotated ? T.Bottom - T.Top : T.Right - T.Left;
  int F = len;
  if (cw > 0 && A) F -= cw + 4;
  if (iw > 0) F -= iw + 2;
  int e = (F - tw) / 2;
  const TDizTabShape shape = FTabSettings->Shape();
  const int rounding = FTabSettings->Rounding();
  if (!rotated) {
    if (FTabSettings->Alignment() != taCenter) return;
    int right = T.Right;
    if (shape == tsRightRamp || shape == tsLeftRightRamp) right -= rounding;
    int x = std::max(T.Left + e, T.Left);
    if (K && FCloseOnTabPosition == cpLeft) {
      CloseRect = TRect{x, CloseRect.Top, x + 18, CloseRect.Bottom};
      x = CloseRect.Right + 4;
    }
    if (ip == ipLeft && iw > 0) {
      ImagePos.X = x;
      x += iw + 2;
    }
    if (tw > 0) {
      TextRect.Left = x;
      TextRect.Right = x + tw;
      x = std::min(x + tw, right);
    }
    if (ip == ipRight && iw > 0) {
      ImagePos.X = x + 2;
      x += iw + 2;
    }
    if (K && FCloseOnTabPosition == cpRight) CloseRect = TRect{x + 4, CloseRect.Top, x + 22, CloseRect.Bottom};
    return;
  }
  // Rotated tabs: the items run along the vertical axis.
  int top = T.Top, bottom = T.Bottom;
  if (shape == tsLeftRamp || shape == tsLeftRightRamp) bottom -= rounding;
  if (shape == tsRightRamp || shape == tsLeftRightRamp) top += rounding;
  const TAlignment al = FTabSettings->Alignment();
  if (al != taRightJustify && al != taCenter) return;
  bool down;
  int y;
  if (FTabPosition == tpLeft) {
    down = al == taRightJustify;
    y = down ? top : std::min(bottom - e, bottom);
  } else {
    down = al == taCenter;
    y = down ? std::min(top + e, bottom) : bottom;
  }
  auto step = [&](int n) { y += down ? n : -n; };
  auto place = [&](int n) { return down ? TRect{0, y, 0, y + n} : TRect{0, y - n, 0, y}; };
  // First and last close/image sides depend on the direction.
  const bool firstIsRight = (FTabPosition == tpLeft) == (al == taRightJustify);
  TCloseOnTabPos firstClose = firstIsRight ? cpRight : cpLeft;
  TImagePosition firstImage = firstIsRight ? ipRight : ipLeft;
  TImagePosition lastImage = firstIsRight ? ipLeft : ipRight;
  TCloseOnTabPos lastClose = firstIsRight ? cpLeft : cpRight;
  if (K && FCloseOnTabPosition == firstClose) {
    TRect r = place(18);
    CloseRect.Top = r.Top;
    CloseRect.Bottom = r.Bottom;
    step(18 + 4);
  }
  if (ip == firstImage && ih > 0) {
    ImagePos.Y = place(ih).Top;
    step(ih + 2);
  }
  if (tw > 0) {
    TRect r = place(tw);
    TextRect.Top = r.Top;
    TextRect.Bottom = r.Bottom;
    step(tw);
    y = std::clamp(y, top, bottom);
  }
  if (ip == lastImage && ih > 0) {
    step(2);
    ImagePos.Y = place(ih).Top;
    step(ih + 2);
  }
  if (K && FCloseOnTabPosition == lastClose) {
    step(4);
    TRect r = place(18);
    CloseRect.Top = r.Top;
    CloseRect.Bottom = r.Bottom;
  }
}

TRect TZorOzirazIrezi::GetCloseButtonRect(int PageIndex) {
  if (!FButtonSettings->CloseButton()) return None;
  const bool horz = Horizontal(FTabPosition);
  const bool onTab = FCloseOnTab && PageIndex >= 0 &&
                     (FShowCloseOnNonSelectedTabs || PageIndex == FActivePageIndex);
  if (!onTab) {
    TRect r;
    if (FButtonSettings->PageListButton()) {
      TRect pl = GetPageListRect();
      r = horz ? TRect{pl.Right + 2, pl.Top, pl.Right + 20, pl.Bottom} : TRect{pl.Left, pl.Bottom + 2, pl.Right, pl.Bottom + 20};
      return r;
    }
    if (FTabScroller.Visible()) {
      TRect last = GetTabScrollerLastRect();
      r = horz ? TRect{last.Right + 3, last.Top, last.Right + 21, last.Bottom}
               : TRect{last.Left, last.Bottom + 3, last.Right, last.Bottom + 21};
      return r;
    }
    TRect BR = GetButtonsRect();
    switch (FTabPosition) {
      case tpTop: r.Left = BR.Left + 3; r.Right = r.Left + 18; r.Bottom = BR.Bottom - 5; r.Top = r.Bottom - 18; break;
      case tpBottom: r.Left = BR.Left + 3; r.Right = r.Left + 18; r.Top = BR.Top + 5; r.Bottom = r.Top + 18; break;
      case tpLeft: r.Top = BR.Top + 3; r.Bottom = r.Top + 18; r.Right = BR.Right - 5; r.Left = r.Right - 18; break;
      case tpRight: r.Top = BR.Top + 3; r.Bottom = r.Top + 18; r.Left = BR.Left + 5; r.Right = r.Left + 18; break;
    }
    return r;
  }
  TRect T = GetTabRect(PageIndex);
  if (T.Left < 0 && T.Right < 0) return None;
  TRect r;
  const bool fixedCentre = FTabSettings->Width() > 0 && FTabSettings->Alignment() == taCenter;
  TRect fixedClose{0, 0, 0, 0}, textR{0, 0, 0, 0};
  TPoint ipos{0, 0};
  if (fixedCentre) GetCloseBtnImageAndTextRect(PageIndex, fixedClose, ipos, textR);
  if (horz) {
    if (fixedCentre) r.Left = fixedClose.Left;
    else if (FCloseOnTabPosition == cpRight) r.Left = T.Right - 22 - GetRightRoundingOffset();
    else r.Left = T.Left + GetLeftRoundingOffset() + 4;
    r.Right = r.Left + 18;
    if (FTabPosition == tpTop) {
      r.Bottom = T.Bottom - 5;
      r.Top = r.Bottom - 18;
    } else {
      r.Top = T.Top + 5;
      r.Bottom = r.Top + 18;
    }
  } else if (!FRotateTabLeftRight) {
    r.Top = T.Top + (T.Bottom - T.Top - 18) / 2;
    r.Bottom = r.Top + 18;
    if (fixedCentre) r.Left = fixedClose.Left;
    else if (FTabPosition == tpLeft) r.Left = FCloseOnTabPosition == cpRight ? T.Right - 23 : T.Left + 4;
    else r.Left = FCloseOnTabPosition == cpRight ? T.Right - 21 : T.Left + 5;
    r.Right = r.Left + 18;
  } else if (FTabPosition == tpLeft) {
    r.Right = T.Right - 5;
    r.Left = r.Right - 18;
    if (fixedCentre) r.Top = fixedClose.Top;
    else r.Top = FCloseOnTabPosition == cpLeft ? T.Bottom - GetLeftRoundingOffset() - 22 : T.Top + GetRightRoundingOffset() + 4;
    r.Bottom = r.Top + 18;
  } else {
    r.Left = T.Left + 5;
    r.Right = r.Left + 18;
    if (fixedCentre) r.Bottom = fixedClose.Bottom;
    else
      r.Bottom = FCloseOnTabPosition == cpLeft ? T.Top + GetLeftRoundingOffset() + 22
                                               : T.Bottom - GetRightRoundingOffset() - 4;
    r.Top = r.Bottom - 18;
  }
  return r;
}

int TZorOzirazIrezi::PTOnTab(int X, int Y) {
  const std::vector<TRect> rects = AllTabRects();
  for (int i = 0; i < GetDizOfficePageCount(); ++i)
    if (GetDizPages(i)->TabVisible() && In(rects[static_cast<size_t>(i)], X, Y)) return i;
  return -1;
}

bool TZorOzirazIrezi::PTOnCheckBox(int PageIndex, int X, int Y) {
  TDizOfficePage* p = GetDizPages(PageIndex);
  return p && p->ShowCheckBox() && In(GetCheckBoxRect(PageIndex), X, Y);
}

bool TZorOzirazIrezi::CanShowTab(int Index) const {
  TDizOfficePage* p = GetDizPages(Index);
  return p && p->TabVisible();
}

int TZorOzirazIrezi::GetVisibleTabCount() const {
  return static_cast<int>(std::count_if(FPages.begin(), FPages.end(), [](TDizOfficePage* p) { return p->TabVisible(); }));
}

void TZorOzirazIrezi::InvalidateTab(int Index) {
  if (!HandleAllocated()) return;
  TRect r = (Index >= 0 && Index < GetDizOfficePageCount()) ? GetTabRect(Index) : GetTabsArea();
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(Handle(), &rc, TRUE);
}

void TZorOzirazIrezi::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  SetAllPagesPosition();
  UpdateTabScroller();
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetRotateTabLeftRight(bool Value) {
  if (FRotateTabLeftRight == Value) return;
  FRotateTabLeftRight = Value;
  UpdateTabScroller();
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetPageMargin(int Value) {
  Value = ClampCoordinate(Value);
  if (FPageMargin == Value) return;
  FPageMargin = Value;
  UpdateTabScroller();
  Invalidate();
}

void TZorOzirazIrezi::OnTabSettingsChanged(TObject*) {
  SetAllPagesPosition();
  InitializeAndUpdateButtons();
  UpdateTabScroller();
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

bool TZorOzirazIrezi::PtOnTabScrollLeftBtn(int X, int Y) { return In(GetTabScrollerLeftRect(), X, Y); }
bool TZorOzirazIrezi::PtOnTabScrollRightBtn(int X, int Y) { return In(GetTabScrollerRightRect(), X, Y); }
