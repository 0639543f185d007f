// RadUdire, painting: the gradient primitives, the background picture, and the painting
// of one menu item (pop-up surfaces, bar items, glyphs, caption, notes, shortcut, side bar).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "menus/RadUdire.h"
#include "menus/ZedIvadUtil.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "menus/RadUdireInternal.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace ZedIvadUtil;
using namespace radudire_internal;

namespace {

struct TRGB {
  int R = 0, G = 0, B = 0;
};

TRGB Split(TColor Color) {
  BYTE r, g, b;
  ColorToRGBVal(Color, r, g, b);
  return TRGB{r, g, b};
}

TColor Join(const TRGB& c) { return TColor(BYTE(c.R) | BYTE(c.G) << 8 | BYTE(c.B) << 16); }

// From + (To - From) * Step div Steps, per component.
TRGB Between(const TRGB& From, const TRGB& To, int Step, int Steps) {
  return TRGB{From.R + (To.R - From.R) * Step / Steps, From.G + (To.G - From.G) * Step / Steps,
              From.B + (To.B - From.B) * Step / Steps};
}

void FillSolid(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void PenLine(TCanvas* Canvas, TColor Color, int X1, int Y1, int X2, int Y2) {
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetColor(Color);
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

void Frame(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FrameRect(R);
}

// DrawText with the canvas's font and font colour; R receives the measured rectangle
// with DT_CALCRECT.
void CanvasText(TCanvas* Canvas, const std::string& Text, TRect& R, UINT Flags) {
  Canvas->TextExtent(" ");  // selects the canvas font into the device context
  HDC dc = Canvas->GetHandle();
  SetTextColor(dc, ColorToRGB(Canvas->Font()->GetColor()));
  SetBkMode(dc, Canvas->Brush()->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  DrawTextUtf8(dc, Text, &r, Flags);
  if (Flags & DT_CALCRECT) R = TRect{r.left, r.top, r.right, r.bottom};
}

// A glyph bitmap drawn with its dark pixels in Color; its light pixels stay transparent.
void DrawGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Glyph, TColor Color) {
  if (!Glyph || Glyph->GetEmpty()) return;
  TCanvas* src = Glyph->Canvas();
  for (int y = 0; y < Glyph->GetHeight(); ++y)
    for (int x = 0; x < Glyph->GetWidth(); ++x) {
      COLORREF c = ColorToRGB(src->GetPixel(x, y));
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 384) Canvas->SetPixel(X + x, Y + y, ColorToRGB(Color));
    }
}

bool IsBarItem(TMenuItem* Item) { return IsInTopMainMenu(Item); }

TCustomRadUdirEtyler* StylerOf(IZedIvad* Menu) { return Menu ? Menu->GetCurrentMenuStyler() : nullptr; }

}  // namespace

// ---- gradients -----------------------------------------------------------------------------------
void DrawGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor FromColor, TColor ToColor,
                  TGradientDirection Direction) {
  if (ToColor == clNone) ToColor = FromColor;
  int w = R.Right - R.Left, h = R.Bottom - R.Top;
  if (Bitmap) {
    try {
      Bitmap->SetPixelFormat(pf32bit);
      int left = std::max(R.Left, 0), right = std::min(R.Right, Bitmap->GetWidth());
      int top = std::max(R.Top, 0), bottom = std::min(R.Bottom, Bitmap->GetHeight());
      if (h <= 0 || w <= 0 || left >= right || top >= bottom) return;
      TRGB from = Split(FromColor), to = Split(ToColor);
      auto pixel = [](const TRGB& c) { return uint32_t(c.B) | uint32_t(c.G) << 8 | uint32_t(c.R) << 16; };
      for (int y = top; y < bottom; ++y) {
        auto* row = static_cast<uint32_t*>(Bitmap->ScanLine(y));
        for (int x = left; x < right; ++x) {
          TRGB c = FromColor == ToColor                 ? from
                   : Direction == gdVertical ? Between(from, to, y - R.Top, h)
                                             : Between(from, to, x - R.Left, w);
          row[x] = pixel(c);
        }
      }
      Bitmap->Canvas()->Refresh();
    } catch (const Exception&) {
      // A bitmap that cannot take the pixels is left as it is.
    }
    return;
  }
  if (!Canvas) return;
  if (FromColor == ToColor) {
    if (w > 0 && h > 0) FillSolid(Canvas, R, FromColor);
    return;
  }
  if (h <= 0) return;
  TRGB from = Split(FromColor), to = Split(ToColor);
  if (Direction == gdVertical) {
    for (int y = R.Top; y < R.Bottom; ++y) PenLine(Canvas, Join(Between(from, to, y - R.Top, h)), R.Left, y, R.Left + w, y);
  } else {
    if (w <= 0) return;
    for (int x = R.Left; x < R.Right; ++x) PenLine(Canvas, Join(Between(from, to, x - R.Left, w)), x, R.Top, x, R.Bottom);
  }
}

void DrawGradientClipped(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Full, const TRect& Clip, TColor FromColor,
                         TColor ToColor, TGradientDirection Direction) {
  TRect area{std::max(Full.Left, Clip.Left), std::max(Full.Top, Clip.Top), std::min(Full.Right, Clip.Right),
             std::min(Full.Bottom, Clip.Bottom)};
  if (area.Right <= area.Left || area.Bottom <= area.Top) return;
  if (ToColor == clNone) ToColor = FromColor;
  TRGB from = Split(FromColor), to = Split(ToColor);
  bool vertical = Direction == gdVertical;
  int start = vertical ? Full.Top : Full.Left;
  int length = vertical ? Full.Bottom - Full.Top : Full.Right - Full.Left;
  int a = vertical ? area.Top : area.Left, b = vertical ? area.Bottom : area.Right;
  TColor c1 = Join(Between(from, to, a - start, length));
  TColor c2 = Join(Between(from, to, b - start, length));
  DrawGradient(Bitmap, Canvas, area, c1, c2, Direction);
}

void DrawFramedGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor FromColor, TColor ToColor,
                        TGradientDirection Direction, TColor BorderColor, bool Fill) {
  if (Fill && FromColor != clNone) DrawGradient(Bitmap, Canvas, R, FromColor, ToColor, Direction);
  if (BorderColor != clNone) Frame(Bitmap ? Bitmap->Canvas() : Canvas, R, BorderColor);
}

void DrawFramedVistaGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor C1, TColor C2, TColor C3,
                             TColor C4, TGradientDirection Direction, TColor BorderColor, bool Fill) {
  if (Fill && C1 != clNone) {
    if (C3 != clNone) {
      int mid = R.Top + (R.Bottom - R.Top) / 2;
      DrawGradient(Bitmap, Canvas, TRect{R.Left, R.Top, R.Right, mid}, C1, C2, Direction);
      DrawGradient(Bitmap, Canvas, TRect{R.Left, mid, R.Right, R.Bottom}, C3, C4, Direction);
    } else {
      DrawGradient(Bitmap, Canvas, R, C1, C2, Direction);
    }
  }
  DrawFramedGradient(Bitmap, Canvas, R, clNone, clNone, Direction, BorderColor, false);
}

void DrawGradientEx(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                    TGradientDirection Direction, TGradientType GradientType, int GradientWidth, int Margin) {
  if (ColorTo == clNone) ColorTo = Color;
  TCanvas* target = Bitmap ? Bitmap->Canvas() : Canvas;
  TRect r = R;
  int width = GradientWidth;
  if (Direction == gdHorizontal) {
    r.Left += Margin;
    r.Right -= Margin;
    int size = r.Right - r.Left;
    if (width >= size) {
      width = size;
    } else {
      switch (GradientType) {
        case gtLeft: FillSolid(target, TRect{r.Left + width, r.Top, r.Right, r.Bottom}, ColorTo); break;
        case gtRight: FillSolid(target, TRect{r.Left, r.Top, r.Right - width, r.Bottom}, ColorTo); break;
        case gtBoth: FillSolid(target, TRect{r.Left + width / 2, r.Top, r.Right - width / 2, r.Bottom}, Color); break;
      }
    }
    if (width > 0) switch (GradientType) {
        case gtLeft: DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Top, r.Left + width, r.Bottom}, Color, ColorTo, Direction); break;
        case gtRight: DrawGradient(Bitmap, Canvas, TRect{r.Right - width, r.Top, r.Right, r.Bottom}, ColorTo, Color, Direction); break;
        case gtBoth:
          DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Top, r.Left + width / 2, r.Bottom}, ColorTo, Color, Direction);
          DrawGradient(Bitmap, Canvas, TRect{r.Right - width / 2, r.Top, r.Right, r.Bottom}, Color, ColorTo, Direction);
          break;
      }
    return;
  }
  r.Top += Margin;
  r.Bottom -= Margin;
  if (GradientType == gtBoth) width *= 2;
  int size = r.Bottom - r.Top;
  if (width >= size) {
    width = size;
  } else {
    switch (GradientType) {
      case gtLeft: FillSolid(target, TRect{r.Left, r.Top, r.Right, r.Bottom - width}, ColorTo); break;
      case gtRight: FillSolid(target, TRect{r.Left, r.Top + width, r.Right, r.Bottom}, ColorTo); break;
      case gtBoth: FillSolid(target, TRect{r.Left, r.Top + width / 2, r.Right, r.Bottom - width / 2}, Color); break;
    }
  }
  if (width > 0) switch (GradientType) {
      case gtLeft: DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Bottom - width, r.Right, r.Bottom}, ColorTo, Color, Direction); break;
      case gtRight: DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Top, r.Right, r.Top + width}, Color, ColorTo, Direction); break;
      case gtBoth:
        DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Top, r.Right, r.Top + width / 2}, ColorTo, Color, Direction);
        DrawGradient(Bitmap, Canvas, TRect{r.Left, r.Bottom - width / 2, r.Right, r.Bottom}, Color, ColorTo, Direction);
        break;
    }
}

void DrawImage(TCanvas* Canvas, const TRect& R, TBackground* Background, bool Fill) {
  if (!Canvas || !Background) return;
  TRect r{R.Left + Background->MarginX(), R.Top + Background->MarginY(), R.Right - Background->MarginX(),
          R.Bottom - Background->MarginY()};
  int w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (w <= 0 || h <= 0) return;
  TBitmap* buffer = Background->Buffer();
  buffer->SetPixelFormat(pf32bit);
  buffer->SetSize(w, h);
  bool hasPicture = Background->HasImage();
  TGraphic* graphic = hasPicture ? Background->Image()->GetGraphic() : nullptr;
  TBackgroundPosition pos = Background->Position();
  if (Fill && (!hasPicture || (pos != bpTiled && pos != bpStretched) || graphic->GetTransparent()))
    DrawGradient(buffer, nullptr, TRect{0, 0, w, h}, Background->Color(), Background->ColorTo(),
                 Background->GradientDirection());
  if (hasPicture) {
    TCanvas* bc = buffer->Canvas();
    int pw = graphic->GetWidth(), ph = graphic->GetHeight();
    switch (pos) {
      case bpTiled:
        if (pw > 0 && ph > 0)
          for (int y = 0; y < h; y += ph)
            for (int x = 0; x < w; x += pw) bc->Draw(x, y, graphic);
        break;
      case bpStretched: bc->StretchDraw(TRect{0, 0, w, h}, graphic); break;
      case bpXY: bc->Draw(Background->OffsetX(), Background->OffsetY(), graphic); break;
      default: {
        int x, y;
        Background->CalcPicturePosition(TRect{0, 0, w, h}, x, y);
        bc->Draw(x, y, graphic);
      }
    }
  }
  Canvas->Draw(r.Left, r.Top, buffer);
}

void DrawFadeLine(TCanvas* Canvas, const TRect& Gap, const TRect& Line, TColor Color, int FadeWidth, bool WithGap) {
  if (!Canvas) return;
  int y = std::max(Line.Top, Gap.Top);
  int centre = (Line.Left + Line.Right) / 2;
  int gapFrom = WithGap ? std::min(centre, Gap.Left) - 1 : centre;
  int gapTo = WithGap ? std::max(centre, Gap.Right) : centre;
  TRGB target = Split(Color);
  for (int x = Line.Left; x < Line.Right; ++x) {
    if (x >= gapFrom && x <= gapTo) continue;
    int fromEnd = std::min(x - Line.Left, Line.Right - 1 - x);
    TColor c = Color;
    if (FadeWidth > 0 && fromEnd < FadeWidth) c = Join(Between(Split(Canvas->GetPixel(x, y)), target, fromEnd, FadeWidth));
    Canvas->SetPixel(x, y, c);
  }
}

// ---- side bar ------------------------------------------------------------------------------------
void DrawBarCaption(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar) {
  TCustomRadUdirEtyler* s = StylerOf(Menu);
  if (!s) return;
  TSideBar* bar = s->SideBar();
  Canvas->Font()->Assign(bar->Font());
  HFONT rotated = CreateRotatedFont(bar->Font(), bar->Direction() == dDownToUp ? 90 : -90);
  HDC dc = Canvas->GetHandle();
  HGDIOBJ old = SelectObject(dc, rotated);
  SIZE extent{};
  GetTextExtentPoint32(dc, bar->Caption().c_str(), int(bar->Caption().size()), &extent);
  int cx = extent.cx, cy = extent.cy;
  int barHeight = Bar.Bottom - Bar.Top;
  int x = int(std::nearbyint((bar->Size() - cy) / 2.0 - 0.5));
  SetBkMode(dc, TRANSPARENT);
  RECT clip{Bar.Left, Bar.Top, Bar.Right, Bar.Bottom + 1};
  int y;
  bool down = bar->Direction() == dDownToUp;
  if (bar->Alignment() == taCenter) {
    y = int(std::nearbyint((barHeight + cx) / 2.0 - 0.5));
  } else if ((bar->Alignment() == taRightJustify) == down) {
    y = bar->CaptionOffset() + cx;
  } else {
    y = barHeight - bar->CaptionOffset();
    TBackground* image = bar->Image();
    if (image->HasImage() && (image->Position() == bpBottomLeft || image->Position() == bpBottomRight))
      y -= image->Image()->GetHeight();
  }
  if (!down) {
    y -= cx;
    x += cy + 1;
  }
  const std::string& text = bar->Caption();
  if (bar->ShadowColor() != clNone) {
    SetTextColor(dc, ColorToRGB(bar->ShadowColor()));
    ExtTextOut(dc, x + bar->Depth(), y - bar->Depth(), ETO_CLIPPED, &clip, text.c_str(), UINT(text.size()), nullptr);
  }
  SetTextColor(dc, ColorToRGB(bar->Font()->GetColor()));
  ExtTextOut(dc, x, y, ETO_CLIPPED, &clip, text.c_str(), UINT(text.size()), nullptr);
  SelectObject(dc, old);
  DeleteObject(rotated);
  SetBkMode(dc, OPAQUE);
}

void DrawBarBorder(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar) {
  TCustomRadUdirEtyler* s = StylerOf(Menu);
  if (!s || s->SideBar()->BorderColor() == clNone) return;
  Frame(Canvas, TRect{Bar.Left, Bar.Top, Bar.Right - s->SideBar()->SplitterWidth(), Bar.Bottom},
        s->SideBar()->BorderColor());
}

void DrawBarSplitter(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar) {
  TCustomRadUdirEtyler* s = StylerOf(Menu);
  if (!s) return;
  TSideBar* bar = s->SideBar();
  if (bar->SplitterColor() == clNone) return;
  DrawGradientEx(nullptr, Canvas, TRect{Bar.Right - bar->SplitterWidth(), Bar.Top, Bar.Right, Bar.Bottom},
                 bar->SplitterColor(), bar->SplitterColorTo(), gdVertical, bar->SplitterGradientType(),
                 bar->SplitterGradientWidth(), bar->SplitterMargin());
}

// ---- item painting -------------------------------------------------------------------------------
void DrawMenuItemBackground(TMenuItem* Item, TCanvas* Canvas, TRect R, TOwnerDrawState State, bool SideBarVisible) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  if (!menu || !menu->GetCurrentMenuStyler()) return;
  TCustomRadUdirEtyler* s = menu->GetCurrentMenuStyler();
  bool sideBar = SideBarVisible && !IsAfterMenuBreak(Item);
  TRect itemRect = R;
  if (sideBar) itemRect.Left += s->SideBar()->Size() + s->SideBar()->SplitterWidth();
  if (!IsBarItem(Item)) {
    HWND window = WindowFromDC(Canvas->GetHandle());
    TRect menuRect = GetMenuRect(Item, window);
    menuRect = TRect{0, 0, menuRect.Right - menuRect.Left, menuRect.Bottom - menuRect.Top};
    menuRect.Right -= 17;
    if (sideBar && IsFirstSubMenuItem(Item)) {
      TRect bar{menuRect.Left, menuRect.Top, menuRect.Left + s->SideBar()->Size() + s->SideBar()->SplitterWidth(),
                menuRect.Bottom};
      DrawImage(Canvas, bar, s->SideBar()->Background(), true);
      TBackground* image = s->SideBar()->Image();
      if (image->Color() != clNone && image->HasImage()) DrawImage(Canvas, bar, image, true);
      DrawBarCaption(menu, Canvas, bar);
      DrawBarBorder(menu, Canvas, bar);
      DrawBarSplitter(menu, Canvas, bar);
    }
    TIconBar* icon = s->IconBar();
    TRect column{itemRect.Left, menuRect.Top, itemRect.Left + icon->Size(), menuRect.Bottom};
    DrawGradientClipped(nullptr, Canvas, column, itemRect, icon->Color(), icon->ColorTo(), icon->GradientDirection());
    if (icon->SeparatorColor() != clNone) {
      if (!SeparatorLeftToLastEntry(Item, window)) {
        PenLine(Canvas, icon->SeparatorColor(), column.Right - 1, menuRect.Top, column.Right - 1, menuRect.Bottom);
      } else {
        // The pen and position the line would have left.
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(icon->SeparatorColor());
        Canvas->MoveTo(column.Right - 1, menuRect.Bottom);
      }
    }
    TBackground* back = s->Background();
    TRect area{column.Right, itemRect.Top, itemRect.Right, itemRect.Bottom};
    TRect full{column.Right, menuRect.Top, itemRect.Right, menuRect.Bottom};
    if (back->MarginX() > 0 || back->MarginY() > 0) {
      FillSolid(Canvas, area, back->Color());
      area = TRect{area.Left + back->MarginX(), area.Top + back->MarginY(), area.Right - back->MarginX(),
                   area.Bottom - back->MarginY()};
    }
    DrawGradientClipped(nullptr, Canvas, full, area, back->Color(), back->ColorTo(), back->GradientDirection());
    if (back->HasImage()) {
      TBitmap* cache = s->BackgroundCache();
      int mw = menuRect.Right - menuRect.Left, mh = menuRect.Bottom - menuRect.Top;
      if (cache->GetWidth() != mw || cache->GetHeight() != mh) {
        cache->SetSize(mw, mh);
        DrawImage(cache->Canvas(), menuRect, back, false);
      }
      if (area.Right > area.Left && area.Bottom > area.Top) Canvas->CopyRect(area, cache->Canvas(), area);
    }
  }
  DrawMenuItemEx(menu, Item, Canvas, State, itemRect);
  DrawMenuWindowBorder(Item, Canvas);
}

void DrawMenuItemEx(IZedIvad* Menu, TMenuItem* Item, TCanvas* Canvas, TOwnerDrawState State, TRect R) {
  if (Item->IsLine()) DrawLineItem(Menu, Item, Canvas, State, R);
  else DrawMenuItem(Menu, Item, Canvas, State, R);
}

void DrawLineItem(IZedIvad* Menu, TMenuItem*, TCanvas* Canvas, TOwnerDrawState, TRect R) {
  TCustomRadUdirEtyler* s = StylerOf(Menu);
  if (!s) return;
  TSeparator* sep = s->Separator();
  TRect l = R;
  l.Left += s->IconBar()->Size();
  int mid = l.Top + (l.Bottom - l.Top) / 2;
  TRect line{l.Left, mid - sep->Width() / 2, l.Right, mid + (sep->Width() + 1) / 2};
  DrawGradientEx(nullptr, Canvas, line, sep->Color(), sep->ColorTo(), gdHorizontal, sep->GradientType(),
                 sep->GradientWidth(), sep->Margin());
}

namespace {

void CheckSquare(TCustomRadUdirEtyler* s, TCanvas* Canvas, const TRect& Square, TOwnerDrawState State, bool Radio) {
  bool selected = State.Contains(odSelected);
  bool fill = !State.Contains(odDisabled);
  if (Radio) {
    TColor from = selected ? s->SelectedItem()->RadioColor() : s->IconBar()->RadioColor();
    TColor to = selected ? s->SelectedItem()->RadioColorTo() : s->IconBar()->RadioColorTo();
    TGradientDirection dir = selected ? s->SelectedItem()->RadioGradientDirection() : s->IconBar()->RadioGradientDirection();
    TColor border = selected ? s->SelectedItem()->RadioBorder() : s->IconBar()->RadioBorder();
    DrawFramedGradient(nullptr, Canvas, Square, from, to, dir, border, fill);
  } else {
    TColor from = selected ? s->SelectedItem()->CheckColor() : s->IconBar()->CheckColor();
    TColor to = selected ? s->SelectedItem()->CheckColorTo() : s->IconBar()->CheckColorTo();
    TGradientDirection dir = selected ? s->SelectedItem()->CheckGradientDirection() : s->IconBar()->CheckGradientDirection();
    TColor border = selected ? s->SelectedItem()->CheckBorder() : s->IconBar()->CheckBorder();
    DrawFramedGradient(nullptr, Canvas, Square, from, to, dir, border, fill);
  }
}

TCustomImageList* ActionImages(TMenuItem* Item) {
  auto* action = dynamic_cast<TCustomAction*>(Item->Action());
  if (!action || !action->ActionList()) return nullptr;
  return action->ActionList()->Images();
}

TCustomImageList* DisabledImagesOf(TMenu* Menu) {
  if (auto* p = dynamic_cast<TRerAvideReva*>(Menu)) return p->DisabledImages();
  if (auto* m = dynamic_cast<TVerOvizEzur*>(Menu)) return m->DisabledImages();
  return nullptr;
}

}  // namespace

void DrawMenuItem(IZedIvad* Menu, TMenuItem* Item, TCanvas* Canvas, TOwnerDrawState State, TRect R) {
  TCustomRadUdirEtyler* s = StylerOf(Menu);
  if (!s) return;
  TMenu* menu = Menu->GetSelf();
  bool bar = IsBarItem(Item);
  TRootItem* root = s->RootItem();
  if (bar) {
    if (State.Contains(odSelected)) {
      if (root->GetSelectedColor(2) == clNone)
        DrawFramedGradient(nullptr, Canvas, R, root->GetSelectedColor(0), root->GetSelectedColor(1),
                           root->SelectedGradientDirection(), root->SelectedBorderColor(), true);
      else
        DrawFramedVistaGradient(nullptr, Canvas, R, root->GetSelectedColor(0), root->GetSelectedColor(1),
                                root->GetSelectedColor(2), root->GetSelectedColor(3), root->SelectedGradientDirection(),
                                root->SelectedBorderColor(), true);
      if (Item->Count() > 0) PenLine(Canvas, s->Background()->Color(), R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
    } else if (State.Contains(odHotLight)) {
      if (root->GetHoverColor(2) == clNone)
        DrawFramedGradient(nullptr, Canvas, R, root->GetHoverColor(0), root->GetHoverColor(1),
                           root->HoverGradientDirection(), root->HoverBorderColor(), true);
      else
        DrawFramedVistaGradient(nullptr, Canvas, R, root->GetHoverColor(0), root->GetHoverColor(1),
                                root->GetHoverColor(2), root->GetHoverColor(3), root->HoverGradientDirection(),
                                root->HoverBorderColor(), true);
    } else if (root->Color() != clNone) {
      HWND window = GetMenuWnd(menu);
      if (!IsWindow(window)) return;
      RECT client, wr;
      GetClientRect(window, &client);
      GetWindowRect(window, &wr);
      POINT origin{0, 0};
      ClientToScreen(window, &origin);
      int dx = origin.x - wr.left;
      TRect full{client.left + dx, R.Top, client.right + dx + 100, R.Bottom};
      TRect clip = R;
      if (IsRightmost(Item)) clip.Right = full.Right - 100;
      DrawGradientClipped(nullptr, Canvas, full, clip, root->Color(), root->ColorTo(), root->GradientDirection());
    }
  } else if (State.Contains(odSelected)) {
    TSelectedItem* sel = s->SelectedItem();
    DrawFramedVistaGradient(nullptr, Canvas, R, sel->Color(), sel->ColorTo(), sel->ColorMirror(), sel->ColorMirrorTo(),
                            sel->GradientDirection(), sel->BorderColor(), true);
  }

  UINT align = DT_LEFT;
  if (bar) align = DT_CENTER;
  else if (auto* popup = dynamic_cast<TPopupMenu*>(menu))
    align = popup->Alignment() == paRight ? DT_RIGHT : popup->Alignment() == paCenter ? DT_CENTER : DT_LEFT;

  TRect square{R.Left, R.Top + 1, R.Left + s->IconBar()->Size(), R.Bottom - 1};
  CenterRect(square, std::min(RectWidth(square), RectHeight(square)), std::min(RectWidth(square), RectHeight(square)));

  TCustomImageList* images = Item->GetImageList();
  TCustomImageList* actionImages = ActionImages(Item);
  TCustomImageList* disabledImages = DisabledImagesOf(menu);
  bool hasImage = images && Item->ImageIndex() >= 0 && Item->ImageIndex() < images->Count();
  bool hasActionImage = actionImages && Item->ImageIndex() != -1 && Item->ImageIndex() < actionImages->Count();
  bool hasBitmap = !hasImage && Item->HasBitmap();
  bool checkMark = Item->Checked() && !bar && !hasImage && !hasBitmap;
  TRect glyph = square;
  if (hasImage || hasActionImage || hasBitmap || checkMark) {
    if (Item->Checked()) CheckSquare(s, Canvas, square, State, false);
    if (hasImage || hasActionImage) {
      TCustomImageList* list = hasActionImage ? actionImages : images;
      CenterRect(glyph, list->GetWidth(), list->GetHeight());
      if (bar) glyph = TRect{R.Left + 6, glyph.Top, R.Left + 6 + RectWidth(glyph), glyph.Bottom};
      int index = Item->ImageIndex();
      if (images && index >= 0 && index < images->Count()) {
        if (actionImages && index < actionImages->Count())
          actionImages->Draw(Canvas, glyph.Left, glyph.Top, index, Item->Enabled());
        else if (!Item->Enabled() && disabledImages && index < disabledImages->Count())
          disabledImages->Draw(Canvas, glyph.Left, glyph.Top, index, true);
        else
          images->Draw(Canvas, glyph.Left, glyph.Top, index, Item->Enabled());
      }
    } else if (checkMark) {
      TBitmap* mark = Item->RadioItem() ? s->Glyphs()->Radio() : s->Glyphs()->Check();
      CenterRect(glyph, mark->GetWidth(), mark->GetHeight());
      CheckSquare(s, Canvas, square, State, Item->RadioItem());
      if (State.Contains(odSelected)) Frame(Canvas, R, s->SelectedItem()->BorderColor());
      DrawGlyph(Canvas, glyph.Left, glyph.Top, mark, clBtnText);
    } else {
      TBitmap* bitmap = Item->Bitmap();
      CenterRect(glyph, bitmap->GetWidth(), bitmap->GetHeight());
      if (bar) glyph = TRect{R.Left + 6, glyph.Top, R.Left + 6 + RectWidth(glyph), glyph.Bottom};
      bitmap->SetTransparentMode(tmAuto);
      bitmap->SetTransparent(true);
      Canvas->Draw(glyph.Left, glyph.Top, bitmap);
    }
  }

  if (!bar && Item->Count() > 0) {
    int y = (R.Top + R.Bottom - 5) / 2;
    TRect arrow = align == DT_RIGHT ? TRect{R.Left + 5, y, R.Left + 8, y + 6} : TRect{R.Right - 8, y, R.Right - 5, y + 6};
    TBitmap* sub = s->Glyphs()->SubMenu();
    CenterRect(arrow, sub->GetWidth(), sub->GetHeight());
    DrawGlyph(Canvas, arrow.Left, arrow.Top, sub, clBlack);
  }

  TRect text = R;
  if (!bar) text.Left = R.Left + s->IconBar()->Size() + 8;
  else if (hasImage || hasBitmap) text.Left = R.Left + RectWidth(glyph);
  UINT flags = align | DT_SINGLELINE | DT_EXPANDTABS;
  TRect line = text;
  DrawMenuItemText(Item, Canvas, Item->Caption(), flags | DT_CALCRECT | DT_NOCLIP, State, text);
  int dy = (RectHeight(line) - RectHeight(text)) / 2;
  text.Top += dy;
  text.Bottom += dy;
  if (bar) {
    text.Left = line.Left;
    text.Right = line.Right;
  }
  DrawMenuItemText(Item, Canvas, Item->Caption(), flags, State, text);

  if (!bar && Item->ShortCut() != 0) {
    text.Right = line.Right - 10;
    DrawMenuItemText(Item, Canvas, DizShortCutToText(Item->ShortCut(), Menu->GetIntlKeybShortCuts()), DT_RIGHT, State,
                     text);
  }
}

namespace {

TColor DisabledColor(TOwnerDrawState State) {
  if (State.Contains(odSelected) && ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow)) return clBtnHighlight;
  return clBtnShadow;
}

}  // namespace

void DrawMenuItemText(TMenuItem* Item, TCanvas* Canvas, const std::string& Text, UINT Flags, TOwnerDrawState State,
                      TRect& R) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  TCustomRadUdirEtyler* s = StylerOf(menu);
  if (!s) return;
  bool measuring = (Flags & DT_CALCRECT) != 0;
  std::string text = Text;
  if (measuring && (text.empty() || text == "&")) text = " ";
  Canvas->Brush()->SetStyle(bsClear);
  bool bar = IsBarItem(Item);
  bool selected = State.Contains(odSelected);
  if (bar) {
    TRootItem* root = s->RootItem();
    if (root->UseSystemFont()) Canvas->Font()->Assign(Screen->MenuFont());
    else Canvas->Font()->Assign(root->Font());
    if (selected && root->SelectedTextColor() != clNone) Canvas->Font()->SetColor(root->SelectedTextColor());
    else if (State.Contains(odHotLight) && root->HoverTextColor() != clNone) Canvas->Font()->SetColor(root->HoverTextColor());
  } else if (selected) {
    Canvas->Font()->Assign(s->SelectedItem()->UseSystemFont() ? Screen->MenuFont() : s->SelectedItem()->Font());
  } else {
    Canvas->Font()->Assign(s->UseSystemFont() ? Screen->MenuFont() : s->Font());
  }
  if (Item->Default()) Canvas->Font()->SetStyle(Canvas->Font()->GetStyle() + fsBold);
  bool disabled = !Item->Enabled();
  TAntiAlias aa = s->AntiAlias();
  size_t split = text.find("\\n");
  if (split != std::string::npos && menu->GetShowNotes()) {
    // The caption proper, then the notes lines in the notes font under it.
    std::string caption = text.substr(0, split);
    std::string rest = text.substr(split + 2);
    std::vector<std::string> notes;
    for (size_t n; (n = rest.find("\\n")) != std::string::npos; rest = rest.substr(n + 2)) notes.push_back(rest.substr(0, n));
    notes.push_back(rest);
    TFont* notesFont = selected ? s->SelectedItem()->NotesFont() : s->NotesFont();
    if (measuring) {
      // Measuring only measures, in every mode: the block of the caption and its notes
      // lines, so that the caller can centre it in the item.
      TRect c = R;
      CanvasText(Canvas, caption.empty() ? " " : caption, c, Flags);
      int captionHeight = Canvas->TextHeight("gh");
      TFont saved;
      saved.Assign(Canvas->Font());
      Canvas->Font()->Assign(notesFont);
      int lineHeight = Canvas->TextHeight("gh");
      int width = RectWidth(c);
      for (const std::string& note : notes) width = std::max(width, Canvas->TextWidth(note));
      Canvas->Font()->Assign(&saved);
      R = TRect{R.Left, R.Top, R.Left + width, R.Top + captionHeight + lineHeight * int(notes.size())};
      return;
    }
    if (disabled) Canvas->Font()->SetColor(DisabledColor(State));
    if (aa == aaNone) {
      int captionHeight = Canvas->TextHeight("gh");
      TRect r = R;
      CanvasText(Canvas, caption, r, DT_SINGLELINE);
      Canvas->Font()->Assign(notesFont);
      if (disabled) Canvas->Font()->SetColor(DisabledColor(State));
      int lineHeight = Canvas->TextHeight("gh");
      int y = R.Top + captionHeight;
      for (const std::string& note : notes) {
        TRect nr{R.Left, y, R.Right, R.Bottom + lineHeight * int(notes.size())};
        CanvasText(Canvas, note, nr, DT_SINGLELINE);
        y += lineHeight;
      }
    } else {
      DrawAntiAliasedText(Canvas->GetHandle(), aa, caption, Canvas->Font()->GetName(), Canvas->Font()->GetSize(),
                          Canvas->Font()->GetColor(), R, taNear, taNear);
      TColor color = disabled ? DisabledColor(State) : notesFont->GetColor();
      float lineHeight = std::round(AntiAliasedTextHeight(Canvas->GetHandle(), notesFont->GetName(), notesFont->GetSize()));
      float y = float(R.Top) + 20;
      for (const std::string& note : notes) {
        TRect nr{R.Left, int(y), R.Right, int(y + lineHeight) + 1};
        DrawAntiAliasedText(Canvas->GetHandle(), aa, note, notesFont->GetName(), notesFont->GetSize(), color, nr, taNear,
                            taNear);
        y += lineHeight;
      }
    }
    return;
  }
  if (disabled) Canvas->Font()->SetColor(DisabledColor(State));
  if (aa == aaNone || measuring) {
    // The anti-aliased path measures with GDI as well and draws only once.
    CanvasText(Canvas, text, R, Flags);
    return;
  }
  TTextAlign horizontal = bar ? taCentre : (Flags & DT_RIGHT) ? taFar : taNear;
  DrawAntiAliasedText(Canvas->GetHandle(), aa, text, Canvas->Font()->GetName(), Canvas->Font()->GetSize(),
                      Canvas->Font()->GetColor(), R, horizontal, taCentre);
}
