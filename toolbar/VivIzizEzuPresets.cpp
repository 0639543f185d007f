// VivIzizEzuStylers, the colour presets of the office and fantasy stylers. Office 2007
// Luna is given value by value; the other office presets are built from their telling
// colours (tool bar, dock, border, button, grip) by one scheme routine.
#include "toolbar/VivIzizEzuDraw.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

namespace {

using S = TCustomVivIzizEzuStyler;

void SetGlow(TGlowButtonAppearance* G, TColor C, TColor CT, TColor CM, TColor CMT, TColor B) {
  G->SetColor(C);
  G->SetColorTo(CT);
  G->SetColorMirror(CM);
  G->SetColorMirrorTo(CMT);
  G->SetBorderColor(B);
  G->SetGradient(ggVertical);
  G->SetGradientMirror(ggVertical);
}

// The hot, down and checked glow colours of Office 2007 Luna (without BorderColorChecked).
void SetLunaGlowStates(TGlowButtonAppearance* G) {
  G->SetColorHot(0xEBFDFF); G->SetColorHotTo(0xACECFF); G->SetColorMirrorHot(0x59DAFF);
  G->SetColorMirrorHotTo(0xA4E9FF); G->SetBorderColorHot(0x99CEDB); G->SetGradientHot(ggVertical);
  G->SetGradientMirrorHot(ggVertical);
  G->SetColorDown(0x76AFF1); G->SetColorDownTo(0x4190F3); G->SetColorMirrorDown(0x0E72F1);
  G->SetColorMirrorDownTo(0x4C9FFD); G->SetBorderColorDown(0x45667B); G->SetGradientDown(ggVertical);
  G->SetGradientMirrorDown(ggVertical);
  G->SetColorChecked(0xB5DBFB); G->SetColorCheckedTo(0x78C7FE); G->SetColorMirrorChecked(0x9FEBFD);
  G->SetColorMirrorCheckedTo(0x56B4FE); G->SetGradientChecked(ggVertical); G->SetGradientMirrorChecked(ggVertical);
}

void SetLunaButtons(TButtonAppearance* B) {
  B->SetColor(0xCFF0EA); B->SetColorTo(0x8CC0B1); B->SetColorDown(0x4E91FE); B->SetColorDownTo(0x91D3FF);
  B->SetColorHot(0xCCF4FF); B->SetColorHotTo(0x91D0FF); B->SetColorChecked(0x8CD5FF); B->SetColorCheckedTo(0x58AFFF);
  B->SetBorderDownColor(0x385D3F); B->SetBorderHotColor(0x385D3F); B->SetBorderCheckedColor(0x385D3F);
  B->SetCaptionTextColor(clBlack); B->SetCaptionTextColorChecked(clBlack); B->SetCaptionTextColorDown(clBlack);
  B->SetCaptionTextColorHot(clBlack);
}

void SetTabHighlights(TCustomTabAppearance* T) {
  T->SetShadowColor(0xE8C7AE); T->SetHighLightColor(0xFFFABF); T->SetHighLightColorSelected(0x63CCF8);
  T->SetHighLightColorSelectedHot(0xBDFFFF); T->SetHighLightColorDown(0xFFFBD0); T->SetHighLightColorHot(0xFDF4ED);
}

void ApplyLuna(S& s) {
  s.SetComponentStyleValue(tsOffice2007Luna);
  s.SetSysButtonColor(0xB99A82);
  s.SetObsidian(false);
  s.SetRightHandleColor(0xDFD2C5); s.SetRightHandleColorTo(0xE0C7AD); s.SetRightHandleColorHot(0xD3F8FF);
  s.SetRightHandleColorHotTo(0x76C1FF); s.SetRightHandleColorDown(0x087FE8); s.SetRightHandleColorDownTo(0x7CDAF7);
  s.SetFloatingWindowBorderColor(0xE3B28D);
  s.SetFloatingWindowBorderWidth(2);
  s.SetFloatingWindowBorderWidth(1);
  s.SetDragGripStyle(dsNone);
  s.SetRoundEdges(true); s.SetBevel(0); s.SetUseBevel(false);
  s.SetBorderColor(0xD7C8B7); s.SetBorderColorHot(0xE0C7AD);

  TGradientBackground* d = s.DockColor();
  d->SetColorTo(0xFAF1E9); d->SetColor(0xEDD8C7); d->SetDirection(gdHorizontal); d->SetSteps(128);
  TVistaGradientBackground* c = s.Color();
  c->SetColor(0xEDD8C7); c->SetColorTo(0xF6E9D9); c->SetDirection(gdVertical);
  c->Mirror()->SetColor(0xF3E5DA); c->Mirror()->SetColorTo(0xF0DED0); c->Mirror()->SetColorMirror(0xEDD9C8);
  c->Mirror()->SetColorMirrorTo(0xFBEDDC);
  TVistaGradientBackground* h = s.ColorHot();
  h->SetColor(0xFFF1E6); h->SetColorTo(0xFAEADE); h->SetDirection(gdVertical);
  h->Mirror()->SetColor(0xFDEFE5); h->Mirror()->SetColorTo(0xFCF0E7); h->Mirror()->SetColorMirror(0xFBE9DB);
  h->Mirror()->SetColorMirrorTo(0xFBEDDC);

  TGlowButtonAppearance* g = s.GlowButtonAppearance();
  SetGlow(g, 0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B);
  SetLunaGlowStates(g);
  g->SetBorderColorChecked(0x45667B);
  TGlowButtonAppearance* k = s.CompactGlowButtonAppearance();
  k->Assign(g);
  k->SetColorHot(0xF7F7EF); k->SetColorHotTo(0xF7E7D6); k->SetColorMirrorHot(0xF7EAC3); k->SetColorMirrorHotTo(0xF7E7D6);
  k->SetBorderColorHot(0xE7D6B5); k->SetGradientHot(ggVertical); k->SetGradientMirrorHot(ggVertical);
  k->SetColorDown(0xDEC6AD); k->SetColorDownTo(0xCEAD8C); k->SetColorMirrorDown(0xFFD6B5);
  k->SetColorMirrorDownTo(0xC69473); k->SetBorderColorDown(0xB7A38E); k->SetGradientDown(ggVertical);
  k->SetGradientMirrorDown(ggVertical);
  k->SetColorChecked(0xDEC6AD); k->SetColorCheckedTo(0xCEAD8C); k->SetColorMirrorChecked(0xFFD6B5);
  k->SetColorMirrorCheckedTo(0xC69473); k->SetBorderColorChecked(0xB7A38E); k->SetGradientChecked(ggVertical);
  k->SetGradientMirrorChecked(ggVertical);

  TCaptionAppearance* ca = s.CaptionAppearance();
  ca->SetCaptionColor(0xF2DAC2); ca->SetCaptionColorTo(0xF0D9C1); ca->SetCaptionColorHot(0xFFE0C8);
  ca->SetCaptionColorHotTo(0xFFEDD6); ca->SetCaptionTextColor(0xAA6A3E); ca->SetCaptionTextColorHot(0xAA6A3E);

  TGroupAppearance* ga = s.GroupAppearance();
  ga->SetTextColor(0x8B4215); ga->SetColor(0xF1DECC); ga->SetColorTo(0xD8E2E1); ga->SetColorMirror(0xD8E2E1);
  ga->SetColorMirrorTo(0xA5E1E9); ga->SetGradient(ggVertical); ga->SetGradientMirror(ggVertical);
  ga->SetBorderColor(0xC2C2C2);
  TCustomTabAppearance* gt = ga->TabAppearance();
  gt->SetColorHot(0xDDE5E4); gt->SetColorHotTo(0xFFDEC5); gt->SetColorMirrorHot(0xD5DFDD); gt->SetColorMirrorHotTo(0xA3D3E1);
  gt->SetGradient(ggRadial); gt->SetGradientMirror(ggRadial);
  gt->SetColorSelected(0x9EDFFB); gt->SetColorSelectedTo(0xBAE8FC); gt->SetColorMirrorSelected(0xBAE8FC);
  gt->SetColorMirrorSelectedTo(0xD4F1FD); gt->SetTextColorSelected(0x8B4215); gt->SetBorderColorSelected(0xA0BFCC);
  gt->SetBorderColorSelectedHot(0xA0BFCC); gt->SetBorderColorHot(0xA0BFCC); gt->SetBorderColor(0xA0BFCC);
  gt->SetTextColor(0x8B4215); gt->SetTextColorHot(0x8B4215);
  SetTabHighlights(gt);
  TVistaPageBackground* gp = ga->PageAppearance();
  gp->SetColor(0xD6F2FE); gp->SetColorTo(0xF9F9F9); gp->SetColorMirror(0xF9F9F9); gp->SetColorMirrorTo(0xF9F9F9);
  gp->SetBorderColor(0xC2C2C2); gp->SetGradient(ggVertical); gp->SetGradientMirror(ggVertical);
  gp->SetShadowColor(0xC4AA96); gp->SetHighLightColor(0xFDF9CE);
  TToolBarAppearance* gb = ga->ToolBarAppearance();
  gb->Color()->SetColor(0xECF8FD); gb->Color()->SetColorTo(0xF9F9F9); gb->SetBorderColor(0xCCD1D3);
  gb->ColorHot()->SetColor(0xEEF4F5); gb->ColorHot()->SetColorTo(0xFDFBFA); gb->SetBorderColorHot(0xC7C7C7);
  TCaptionAppearance* gc = ga->CaptionAppearance();
  gc->SetCaptionColor(0xF2DAC2); gc->SetCaptionColorTo(0xF0D9C1); gc->SetCaptionColorHot(0xFFE0C8);
  gc->SetCaptionColorHotTo(0xFFEDD6); gc->SetCaptionTextColor(0xAA6A3E); gc->SetCaptionTextColorHot(0xAA6A3E);

  TTabAppearance* t = s.TabAppearance();
  t->BackGround()->SetColor(0xFFDBBF); t->BackGround()->SetColorTo(clNone);
  t->SetBorderColor(clNone); t->SetBorderColorDisabled(clNone); t->SetBorderColorHot(0xEABC99);
  t->SetBorderColorSelected(0xE3B28D); t->SetBorderColorSelectedHot(0x60CCF9);
  t->SetTextColor(0x8B4215); t->SetTextColorHot(0x8B4215); t->SetTextColorSelected(0x8B4215); t->SetTextColorDisabled(clGray);
  t->SetColorSelected(0xFEF6F0); t->SetColorSelectedTo(0xFAF1E9); t->SetColorMirrorSelected(0xFAF1E9);
  t->SetColorMirrorSelectedTo(0xF6EAE0); t->SetColorDisabled(clWhite); t->SetColorDisabledTo(clSilver);
  t->SetColorMirrorDisabled(clWhite); t->SetColorMirrorDisabledTo(clSilver);
  t->SetColorHot(0xDDE5E4); t->SetColorHotTo(0xFFDEC5); t->SetColorMirrorHot(0xD5DFDD); t->SetColorMirrorHotTo(0xA3D3E1);
  t->SetGradient(ggVertical); t->SetGradientDisabled(ggVertical); t->SetGradientHot(ggRadial);
  t->SetGradientMirrorDisabled(ggVertical); t->SetGradientMirrorHot(ggVertical); t->SetGradientMirrorSelected(ggVertical);
  t->SetGradientSelected(ggVertical);
  SetTabHighlights(t);

  TVistaPageBackground* p = s.PageAppearance();
  p->SetBorderColor(0xE3B28D); p->SetColor(0xF3E5DA); p->SetColorTo(0xF0DED0); p->SetColorMirror(0xEDD9C8);
  p->SetColorMirrorTo(0xFFF4E3); p->SetGradient(ggVertical); p->SetGradientMirror(ggVertical);
  p->SetShadowColor(0xC4AA96); p->SetHighLightColor(0xFDF9CE);

  TVistaTextBackground* pc = s.PagerCaption();
  pc->SetColor(0xECE7E2); pc->SetColorTo(0xEDE5DE); pc->SetColorMirror(0xECE1D8); pc->SetColorMirrorTo(0xEFEBDF);
  pc->SetBorderColor(0xF0CAAE); pc->SetGradient(ggVertical); pc->SetGradientMirror(ggVertical);
  pc->SetTextColor(0xAA6A3E); pc->SetTextColorExtended(0x797069); pc->Font()->SetSize(10);

  TQATAppearance* q = s.QATAppearance();
  q->SetColor(0xF4E7DE); q->SetColorTo(0xEED8C9); q->SetBorderColor(0xD5B39A);
  q->SetFullSizeColor(0xEDCDB2); q->SetFullSizeColorTo(0xEAC5AA); q->SetFullSizeBorderColor(0xCDA17E);

  SetLunaButtons(s.ButtonAppearance());
}

// The telling colours of an office preset; everything else follows from them.
struct TOfficeScheme {
  DUZERazav Style;
  TColor Color, ColorTo, Dock, DockTo;
  bool WritesBorder;
  TColor Border;
  TColor ButtonColor, ButtonColorTo, ButtonHot, ButtonHotTo;
  TDragGripStyle Grip;
  int FloatWidth;
  TColor SysButton;
  TColor Accent;  // frames and selected borders
  TColor Text;    // captions and tabs
};

void ApplyScheme(S& s, const TOfficeScheme& k, bool LunaButtons, bool ClassicStates) {
  s.SetComponentStyleValue(k.Style);
  s.SetSysButtonColor(k.SysButton);
  s.SetRightHandleColor(k.Dock); s.SetRightHandleColorTo(k.ColorTo);
  s.SetRightHandleColorHot(k.ButtonHot); s.SetRightHandleColorHotTo(ClassicStates ? k.ButtonHot : k.ButtonHotTo);
  s.SetRightHandleColorDown(0x087FE8); s.SetRightHandleColorDownTo(0x7CDAF7);
  s.SetFloatingWindowBorderColor(k.Accent);
  s.SetFloatingWindowBorderWidth(k.FloatWidth);
  s.SetDragGripStyle(k.Grip);
  s.SetRoundEdges(true); s.SetBevel(0); s.SetUseBevel(false);
  if (k.WritesBorder) s.SetBorderColor(k.Border);
  s.SetBorderColorHot(k.Accent);

  TGradientBackground* d = s.DockColor();
  d->SetColor(k.Dock); d->SetColorTo(k.DockTo); d->SetDirection(gdHorizontal); d->SetSteps(128);
  TVistaGradientBackground* c = s.Color();
  c->SetColor(k.Color); c->SetColorTo(k.ColorTo); c->SetDirection(gdVertical);
  c->Mirror()->SetColor(k.Color); c->Mirror()->SetColorTo(BlendColor(k.Color, k.ColorTo, 50));
  c->Mirror()->SetColorMirror(BlendColor(k.Color, k.ColorTo, 40)); c->Mirror()->SetColorMirrorTo(k.ColorTo);
  TVistaGradientBackground* h = s.ColorHot();
  TColor hot = BlendColor(k.Color, clWhite, 50), hotTo = BlendColor(k.ColorTo, clWhite, 50);
  h->SetColor(hot); h->SetColorTo(hotTo); h->SetDirection(gdVertical);
  h->Mirror()->SetColor(hot); h->Mirror()->SetColorTo(hotTo); h->Mirror()->SetColorMirror(hotTo);
  h->Mirror()->SetColorMirrorTo(hot);

  TGlowButtonAppearance* g = s.GlowButtonAppearance();
  SetGlow(g, k.Color, BlendColor(k.Color, k.ColorTo, 70), BlendColor(k.Color, k.ColorTo, 40), k.Color, k.Accent);
  SetLunaGlowStates(g);
  g->SetBorderColorChecked(0x45667B);
  s.CompactGlowButtonAppearance()->Assign(g);

  TCaptionAppearance* ca = s.CaptionAppearance();
  ca->SetCaptionColor(k.DockTo); ca->SetCaptionColorTo(k.Dock); ca->SetCaptionColorHot(k.ButtonHot);
  ca->SetCaptionColorHotTo(ClassicStates ? clNone : k.ButtonHotTo); ca->SetCaptionTextColor(k.Text);
  ca->SetCaptionTextColorHot(k.Text);

  TGroupAppearance* ga = s.GroupAppearance();
  ga->SetTextColor(k.Text); ga->SetColor(k.Color); ga->SetColorTo(k.DockTo); ga->SetColorMirror(k.DockTo);
  ga->SetColorMirrorTo(k.Dock); ga->SetGradient(ggVertical); ga->SetGradientMirror(ggVertical);
  ga->SetBorderColor(k.Accent);
  // The styler's tabs and the group's tabs take the same values Office 2007 Luna writes,
  // so that a preset followed by Luna leaves nothing of the first behind.
  TCustomTabAppearance* gt = ga->TabAppearance();
  gt->SetColorHot(k.ButtonHot); gt->SetColorHotTo(ClassicStates ? clNone : k.ButtonHotTo);
  gt->SetColorMirrorHot(ClassicStates ? clNone : k.ButtonHotTo); gt->SetColorMirrorHotTo(ClassicStates ? clNone : k.ButtonHot);
  gt->SetGradient(ggRadial); gt->SetGradientMirror(ggRadial);
  gt->SetColorSelected(k.Color); gt->SetColorSelectedTo(k.DockTo); gt->SetColorMirrorSelected(k.DockTo);
  gt->SetColorMirrorSelectedTo(k.Dock); gt->SetTextColorSelected(k.Text); gt->SetBorderColorSelected(k.Accent);
  gt->SetBorderColorSelectedHot(k.Accent); gt->SetBorderColorHot(k.Accent); gt->SetBorderColor(k.Accent);
  gt->SetTextColor(k.Text); gt->SetTextColorHot(k.Text);
  SetTabHighlights(gt);
  TTabAppearance* t = s.TabAppearance();
  t->SetBorderColor(clNone); t->SetBorderColorDisabled(clNone); t->SetBorderColorHot(k.Accent);
  t->SetBorderColorSelected(k.Accent); t->SetBorderColorSelectedHot(k.Accent);
  t->SetTextColor(k.Text); t->SetTextColorHot(k.Text); t->SetTextColorSelected(k.Text); t->SetTextColorDisabled(clGray);
  t->SetColorSelected(k.Color); t->SetColorSelectedTo(k.DockTo); t->SetColorMirrorSelected(k.DockTo);
  t->SetColorMirrorSelectedTo(k.Dock); t->SetColorDisabled(clWhite); t->SetColorDisabledTo(clSilver);
  t->SetColorMirrorDisabled(clWhite); t->SetColorMirrorDisabledTo(clSilver);
  t->SetColorHot(k.ButtonHot); t->SetColorHotTo(ClassicStates ? clNone : k.ButtonHotTo);
  t->SetColorMirrorHot(ClassicStates ? clNone : k.ButtonHotTo); t->SetColorMirrorHotTo(ClassicStates ? clNone : k.ButtonHot);
  t->SetGradient(ggVertical); t->SetGradientDisabled(ggVertical); t->SetGradientHot(ggRadial);
  t->SetGradientMirrorDisabled(ggVertical); t->SetGradientMirrorHot(ggVertical); t->SetGradientMirrorSelected(ggVertical);
  t->SetGradientSelected(ggVertical);
  SetTabHighlights(t);
  s.TabAppearance()->BackGround()->SetColor(k.Dock);
  s.TabAppearance()->BackGround()->SetColorTo(clNone);
  for (TVistaBackground* p : {static_cast<TVistaBackground*>(s.PageAppearance()),
                              static_cast<TVistaBackground*>(ga->PageAppearance())}) {
    p->SetBorderColor(k.Accent); p->SetColor(k.Color); p->SetColorTo(k.DockTo); p->SetColorMirror(k.DockTo);
    p->SetColorMirrorTo(k.Dock); p->SetGradient(ggVertical); p->SetGradientMirror(ggVertical);
  }
  TToolBarAppearance* gb = ga->ToolBarAppearance();
  gb->Color()->SetColor(k.Color); gb->Color()->SetColorTo(k.DockTo); gb->SetBorderColor(k.Accent);
  gb->ColorHot()->SetColor(hot); gb->ColorHot()->SetColorTo(hotTo); gb->SetBorderColorHot(k.Accent);
  TCaptionAppearance* gc = ga->CaptionAppearance();
  gc->SetCaptionColor(ca->CaptionColor()); gc->SetCaptionColorTo(ca->CaptionColorTo());
  gc->SetCaptionColorHot(ca->CaptionColorHot()); gc->SetCaptionColorHotTo(ca->CaptionColorHotTo());
  gc->SetCaptionTextColor(ca->CaptionTextColor()); gc->SetCaptionTextColorHot(ca->CaptionTextColorHot());

  TVistaTextBackground* pc = s.PagerCaption();
  pc->SetColor(k.Dock); pc->SetColorTo(k.DockTo); pc->SetColorMirror(k.DockTo); pc->SetColorMirrorTo(k.Dock);
  pc->SetBorderColor(k.Accent); pc->SetGradient(ggVertical); pc->SetGradientMirror(ggVertical);
  pc->SetTextColor(k.Text);

  TQATAppearance* q = s.QATAppearance();
  q->SetColor(k.Color); q->SetColorTo(k.DockTo); q->SetBorderColor(k.Accent);
  q->SetFullSizeColor(k.Dock); q->SetFullSizeColorTo(k.DockTo); q->SetFullSizeBorderColor(k.Accent);

  TButtonAppearance* b = s.ButtonAppearance();
  if (LunaButtons) {
    SetLunaButtons(b);
    return;
  }
  b->SetColor(k.ButtonColor); b->SetColorTo(k.ButtonColorTo); b->SetColorHot(k.ButtonHot);
  b->SetColorHotTo(k.ButtonHotTo);
  if (ClassicStates) {
    b->SetColorDown(BlendColor(k.ButtonHot, clBlack, 80)); b->SetColorDownTo(clNone);
    b->SetColorChecked(BlendColor(k.ButtonHot, clWhite, 60)); b->SetColorCheckedTo(clNone);
  } else {
    b->SetColorDown(0x4E91FE); b->SetColorDownTo(0x91D3FF); b->SetColorChecked(0x8CD5FF); b->SetColorCheckedTo(0x58AFFF);
  }
  b->SetBorderDownColor(k.Accent); b->SetBorderHotColor(k.Accent); b->SetBorderCheckedColor(k.Accent);
  b->SetCaptionTextColor(clBlack); b->SetCaptionTextColorChecked(clBlack); b->SetCaptionTextColorDown(clBlack);
  b->SetCaptionTextColorHot(clBlack);
}

void ApplySystemFontNames(S& s) {
  std::string name = SystemFontName();
  if (s.TabAppearance()->SystemFont()) s.TabAppearance()->Font()->SetName(name);
  if (s.PagerCaption()->SystemFont()) s.PagerCaption()->Font()->SetName(name);
  if (s.GroupAppearance()->SystemFont()) s.GroupAppearance()->Font()->SetName(name);
  if (s.ButtonAppearance()->SystemFont()) s.ButtonAppearance()->CaptionFont()->SetName(name);
  if (s.SystemFont()) {
    s.Font()->SetName(name);
    s.CaptionFont()->SetName(name);
  }
}

// Fantasy blocks.
struct TFantasyScheme {
  TColor Color, ColorTo;
  TGradientDirection Direction;
  TColor Dock, DockTo;
  TGradientDirection DockDirection;
  TColor FontColor;
  TColor ButtonColor, ButtonColorTo, ButtonHot, ButtonHotTo, ButtonDown, ButtonDownTo, Border;
  TColor CaptionColor, CaptionColorTo, CaptionText;
  TDragGripStyle Grip;
  bool RoundEdges;
};

void ApplyFantasy(S& s, const TFantasyScheme& k) {
  TVistaGradientBackground* c = s.Color();
  c->SetColor(k.Color); c->SetColorTo(k.ColorTo); c->SetDirection(k.Direction); c->SetSteps(64);
  TGradientBackground* d = s.DockColor();
  d->SetColor(k.Dock); d->SetColorTo(k.DockTo); d->SetDirection(k.DockDirection); d->SetSteps(128);
  s.Font()->SetColor(k.FontColor);
  s.SetRightHandleColor(k.ButtonColor); s.SetRightHandleColorTo(k.ButtonColorTo);
  s.SetRightHandleColorHot(k.ButtonHot); s.SetRightHandleColorHotTo(k.ButtonHotTo);
  s.SetRightHandleColorDown(k.ButtonDown); s.SetRightHandleColorDownTo(k.ButtonDownTo);
  TCaptionAppearance* ca = s.CaptionAppearance();
  ca->SetCaptionColor(k.CaptionColor); ca->SetCaptionColorTo(k.CaptionColorTo);
  ca->SetCaptionBorderColor(k.Border); ca->SetCaptionTextColor(k.CaptionText);
  TButtonAppearance* b = s.ButtonAppearance();
  b->SetColor(k.ButtonColor); b->SetColorTo(k.ButtonColorTo); b->SetColorDown(k.ButtonDown);
  b->SetColorDownTo(k.ButtonDownTo); b->SetColorHot(k.ButtonHot); b->SetColorHotTo(k.ButtonHotTo);
  b->SetBorderColor(clNone); b->SetBorderHotColor(k.Border); b->SetBorderDownColor(k.Border);
  b->SetBorderCheckedColor(k.Border); b->SetColorChecked(k.ButtonDownTo); b->SetColorCheckedTo(clNone);
  b->SetCaptionTextColor(k.FontColor); b->SetCaptionTextColorChecked(k.FontColor);
  b->SetCaptionTextColorDown(k.FontColor); b->SetCaptionTextColorHot(k.FontColor);
  s.SetRoundEdges(k.RoundEdges);
  s.SetDragGripStyle(k.Grip);
  s.SetBevel(0);
  s.SetUseBevel(false);
}

}  // namespace

void TVivIzizEzuOfficeStyler::SetToolBarStyle(TToolBarStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  S& s = *this;
  SetComponentStyleValue(tsCustom);
  SetSysButtonColor(clBlack);
  PagerCaption()->SetTextColor(clGray);
  PagerCaption()->SetTextColorExtended(clBlue);
  PagerCaption()->Font()->SetSize(10);
  SetObsidian(false);
  ApplySystemFontNames(s);
  if (Value == bsOffice2003Blue || Value == bsOffice2003Silver || Value == bsOffice2003Olive ||
      Value == bsWhidbeyStyle) {
    SetLunaGlowStates(GlowButtonAppearance());
    CompactGlowButtonAppearance()->Assign(GlowButtonAppearance());
  }
  const TColor win7 = 0xDBC9BA;  // RGB(186, 201, 219)
  switch (Value) {
    case bsOffice2003Blue:
      ApplyScheme(s, {tsOffice2003Blue, 0xFDEADA, 0xE4AE88, 0xF5BFA0, 0xFADAC4, true, 0xEBC7AB, 0xFDEADA, 0xE4AE88,
                      0xCCF4FF, 0x91D0FF, dsDots, 2, clBlack, 0x962D00, 0x8B4215},
                  false, false);
      break;
    case bsOffice2003Silver:
      ApplyScheme(s, {tsOffice2003Silver, 0xECE2E1, 0xB39698, 0xE6D8D8, 0xF7F3F3, false, 0, 0xECE2E1, 0xB39698,
                      0xCCF4FF, 0x91D0FF, dsDots, 2, clBlack, 0x947C7C, 0x5C534C},
                  false, false);
      break;
    case bsOffice2003Olive:
      ApplyScheme(s, {tsOffice2003Olive, 0xCFF0EA, 0x8CC0B1, 0xAADADA, 0xE4F1F2, false, 0, 0xCFF0EA, 0x8CC0B1,
                      0xCCF4FF, 0x91D0FF, dsDots, 2, clBlack, 0x588060, 0x385D3F},
                  false, false);
      break;
    case bsOffice2003Classic:
      ApplyScheme(s, {tsCustom, clWhite, 0xC9D1D5, 0xD2BDB6, 0xD2BDB6, false, 0, clBtnFace, clNone, 0xD2BDB6, clNone,
                      dsDots, 2, clBlack, 0x6A240A, clBlack},
                  false, true);
      break;
    case bsOffice2007Luna: ApplyLuna(s); break;
    case bsOffice2007Obsidian:
      ApplyScheme(s, {tsOffice2007Obsidian, 0xC5BBB4, 0xECECE5, 0xCFC6C1, 0xC5BBB4, true, 0xB4B0AE, 0xCFF0EA,
                      0x8CC0B1, 0xCCF4FF, 0x91D0FF, dsNone, 1, 0xB3A69C, 0x5C534C, 0x464646},
                  true, false);
      SetObsidian(true);
      break;
    case bsWindowsXP:
    case bsOfficeXP:
      ApplyScheme(s, {tsWindowsXP, clBtnFace, clBtnFace, clBtnFace, clBtnFace, false, 0, clBtnFace, clBtnFace,
                      0xEFD3C6, clNone, dsSingleLine, 2, clBlack, clHighlight, clBtnText},
                  false, true);
      QATAppearance()->SetBorderColor(clGray);
      QATAppearance()->SetFullSizeBorderColor(clGray);
      break;
    case bsWhidbeyStyle:
      ApplyScheme(s, {tsWhidbey, 0xF5F9FA, 0xA8C0C0, 0xD7E5E5, 0xE7F2F3, false, 0, clBtnFace, clNone, 0xEED2C1,
                      clNone, dsDots, 2, clBlack, 0x6F4B4B, clBlack},
                  false, true);
      break;
    case bsOffice2007Silver:
      ApplyScheme(s, {tsOffice2007Silver, 0xE7DCD5, 0xF4F4EE, 0xE5D7D7, 0xF7F3F3, true, 0x939291, 0xCFF0EA,
                      0x8CC0B1, 0xCCF4FF, 0x91D0FF, dsNone, 1, 0xA59180, 0xC6B0B1, 0x5C534C},
                  true, false);
      CaptionAppearance()->SetCaptionBorderColor(0xC6B0B1);
      break;
    case bsWindowsVista:
      ApplyScheme(s, {tsWindowsVista, 0xFDF8F1, 0xFCEFD5, 0xFCEFD5, 0xFCEFD5, true, 0xFCF2DA, 0xFDF8F1, 0xFCEFD5,
                      0xFFFDF9, 0xFFFAF0, dsDots, 2, clBlack, 0xE5C365, 0x5C534C},
                  false, false);
      break;
    case bsWindows7:
      if (IsWin7())
        ApplyScheme(s, {tsWindows7, win7, win7, win7, win7, true, win7, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, dsDots,
                        2, clBlack, 0xCEA27D, 0x5C534C},
                    false, false);
      else
        ApplyScheme(s, {tsWindows7, 0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCDBC1, true, 0xCEA27D, 0xFCEBDC, 0xFCDBC1,
                        0xFDFBFA, 0xFDF3EB, dsDots, 2, clBlack, 0xCEA27D, 0x5C534C},
                    false, false);
      break;
    case bsTerminal:
      ApplyScheme(s, {tsTerminal, clBtnFace, clBtnFace, clBtnFace, clBtnFace, true, clGray, clBtnFace, clBtnFace,
                      clSilver, clSilver, dsDots, 2, clBlack, clGray, clBlack},
                  false, false);
      break;
    case bsCustom: break;
  }
  Change(ckColors);
}

void TVivIzizEzuFantasyStyler::SetToolBarStyle(TToolBarFantasyStyle Value) {
  FStyle = Value;
  S& s = *this;
  switch (Value) {
    case bsArctic:
      ApplyFantasy(s, {clWhite, clNone, gdHorizontal, clWhite, 0xF8E4D8, gdVertical, clBlack, clWhite, 0xF8E4D8,
                       0xF8E4D8, clWhite, 0xE7C3AA, 0xF8E4D8, 0xC08060, 0xF8E4D8, clWhite, clBlack, dsFlatDots, true});
      break;
    case bsAquaBlue:
      ApplyFantasy(s, {clMenu, clMenu, gdHorizontal, clWhite, clWhite, gdVertical, clBlack, 0xD08130, 0xFEF17E,
                       0xFEF17E, 0xD08130, 0x9C5A10, 0xF0C060, 0x9C5A10, 0xD08130, 0xFEF17E, clWhite, dsSingleLine,
                       true});
      break;
    case bsChocolate:
      ApplyFantasy(s, {0xD7EDED, 0x8AC2C1, gdVertical, 0xD9FFFF, 0xC1FFFE, gdVertical, clBlack, clBtnFace, clWhite,
                       0xB5E0E0, clWhite, 0x8AC2C1, 0xD7EDED, 0x406080, 0x8AC2C1, 0xD7EDED, clBlack, dsDots, true});
      break;
    case bsMacOS:
      ApplyFantasy(s, {clWhite, 0xF3F3F3, gdVertical, 0xF3F3F3, clWhite, gdVertical, clBlack, clWhite, 0xF3F3F3,
                       0xFFE8D0, clWhite, 0xF0C8A0, 0xFFE8D0, 0xA0A0A0, 0xE0E0E0, clWhite, clBlack, dsDoubleLine, true});
      break;
    case bsSilverFox:
      ApplyFantasy(s, {clWhite, 0xC5BAB7, gdVertical, 0xD1C9C8, 0xD1C9C8, gdVertical, clBlack, clWhite, 0xC5BAB7,
                       0xE8E2E0, clWhite, 0xA59B98, 0xD1C9C8, 0x6F6563, 0xC5BAB7, clWhite, clBlack, dsDots, true});
      break;
    case bsSoftSand:
      ApplyFantasy(s, {clWhite, 0xE7F7FF, gdVertical, 0xE7F7FF, clWhite, gdHorizontal, clBlack, 0xE7F7FF, clNone,
                       0xC6EFFF, clNone, 0x9CD6F7, clNone, 0x6BA5C6, 0xE7F7FF, clWhite, clBlack, dsFlatDots, true});
      break;
    case bsTerminalGreen:
      ApplyFantasy(s, {clWindow, clNone, gdHorizontal, clMenu, clMenu, gdVertical, clGreen, clMenu, clNone, clSilver,
                       clNone, clGray, clNone, clGreen, clMenu, clMenu, clGreen, dsDoubleLine, false});
      break;
    case bsTextured:
      ApplyFantasy(s, {0xCFD5F3, 0xCFD5F3, gdVertical, 0xCFD5F3, clNone, gdVertical, clBlack, 0xCFD5F3, 0xCFD5F3,
                       0xE0E6FF, 0xE0E6FF, 0xA8B0D8, 0xA8B0D8, 0x5060A0, 0xCFD5F3, 0xCFD5F3, clBlack, dsFlatDots,
                       false});
      break;
    case bsWindowsClassic:
      ApplyFantasy(s, {clMenu, clMenu, gdHorizontal, clMenu, clMenu, gdVertical, clMenuText, clMenu, clNone,
                       clBtnHighlight, clNone, clBtnShadow, clNone, clBtnShadow, clActiveCaption, clGradientActiveCaption,
                       clCaptionText, dsSingleLine, false});
      break;
    case bsUser: break;
    case bsWhidbey: {
      TVistaGradientBackground* c = Color();
      c->SetColor(0xF5F9FA); c->SetColorTo(0xA8C0C0); c->SetDirection(gdVertical); c->SetSteps(64);
      TGradientBackground* d = DockColor();
      d->SetColor(0xD7E5E5); d->SetColorTo(0xE7F2F3); d->SetDirection(gdHorizontal);
      ColorHot()->SetColor(0xEED2C1); ColorHot()->SetColorTo(0xEED2C1);
      SetBorderColorHot(0x6F4B4B);
      TVistaPageBackground* p = PageAppearance();
      p->SetColor(0xF5F9FA); p->SetColorTo(0xE7F2F3); p->SetColorMirror(0xE7F2F3); p->SetColorMirrorTo(0xD7E5E5);
      p->SetBorderColor(0xA8C0C0);
      TVistaTextBackground* pc = PagerCaption();
      pc->SetColor(0xD7E5E5); pc->SetColorTo(0xE7F2F3); pc->SetColorMirror(0xE7F2F3); pc->SetColorMirrorTo(0xD7E5E5);
      pc->SetBorderColor(0xA8C0C0);
      break;
    }
  }
}

}  // namespace VivIzizEzu
