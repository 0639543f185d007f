#pragma once
// VivIzizEzu: the tool bar styler shared by dock panels, tool bars, the ribbon pager and
// the quick-access tool bar; the appearance objects it is built from; its theme text
// block; and the drawing primitives and button faces those controls paint with.
//
// Colours are TColor (0x00BBGGRR; clNone = no colour). Every appearance object reports a
// change of a painted value through OnChange; the styler turns each report into a change
// kind and passes it to every control registered with it (IVivIzizEzuStylerClient).
//
// The drawing primitives and faces are declared in VivIzizEzuDraw.h.
//
// The unit lives in namespace VivIzizEzu because several other units of the library
// declare unrelated classes and enumerations of the same names (TButtonAppearance,
// TGradientBackground, TGradientDirection, ...). Names unique to this unit are also
// declared at global scope at the end of this header.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizStyleIF.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/TypInfo.h"
#include "toolbar/VivIzizEzuMenuLink.h"

class TCustomControl;
class TWinControl;

namespace VivIzizEzu {

enum TGradientDirection { gdHorizontal, gdVertical };
enum TBackGroundDisplay { bdTile, bdCenter, bdStretch };
enum TDragGripStyle { dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone };
enum TGlyphPosition { gpLeft, gpTop, gpRight, gpBottom };

// A new font named "Segoe UI" on Vista or later, else "Tahoma" (the framework's other
// defaults kept).
std::unique_ptr<TFont> MakeSystemFont(int Size = 0);
// "Segoe UI" or "Tahoma", as IsVista chooses.
std::string SystemFontName();

// Properties of the appearance classes. "Compare" setters store and fire only when the
// value differs; "always" setters fire on every call; "silent" ones never fire.
#define VIE_PROP(Type, Name, Initial)  \
public:                                \
  Type Name() const { return F##Name; } \
  void Set##Name(Type Value) {         \
    if (F##Name == Value) return;      \
    F##Name = Value;                   \
    Changed();                         \
  }                                    \
protected:                             \
  Type F##Name = Initial;

#define VIE_PROP_ALWAYS(Type, Name, Initial) \
public:                                      \
  Type Name() const { return F##Name; }       \
  void Set##Name(Type Value) {               \
    F##Name = Value;                         \
    Changed();                               \
  }                                          \
protected:                                   \
  Type F##Name = Initial;

#define VIE_PROP_SILENT(Type, Name, Initial) \
public:                                      \
  Type Name() const { return F##Name; }       \
  void Set##Name(Type Value) { F##Name = Value; } \
protected:                                   \
  Type F##Name = Initial;

// The common part of every appearance class: the change event.
class TAppearanceBase : public TPersistent {
  LORM_PUBLISHED(TAppearanceBase, TPersistent)
public:
  TNotifyEvent OnChange;
  // Calls OnChange with this object when one is assigned.
  void Changed() {
    if (OnChange) OnChange(this);
  }
};

// A one-part gradient. Every setter fires, also for an unchanged value.
class TGradientBackground : public TAppearanceBase {
  LORM_PUBLISHED(TGradientBackground, TAppearanceBase)
public:
  // Copies the four values from another gradient background without firing; any other
  // source is ignored.
  void Assign(TPersistent* Source) override;
  VIE_PROP_ALWAYS(int, Steps, 64)
  VIE_PROP_ALWAYS(TColor, Color, clWhite)
  VIE_PROP_ALWAYS(TColor, ColorTo, clBtnFace)
  VIE_PROP_ALWAYS(TGradientDirection, Direction, gdHorizontal)
};

// The colours of a two-part background: Color to ColorTo above, ColorMirror to
// ColorMirrorTo in the lower, mirrored part.
class TMirrorGradient : public TAppearanceBase {
  LORM_PUBLISHED(TMirrorGradient, TAppearanceBase)
public:
  void Assign(TPersistent* Source) override;  // the four colours, without firing
  VIE_PROP(TColor, ColorTo, clBtnFace)
  VIE_PROP(TColor, Color, clWhite)
  VIE_PROP(TColor, ColorMirrorTo, 0xFFF4E3)
  VIE_PROP(TColor, ColorMirror, 0xEDD9C8)
};

// A gradient background with mirror colours. Changes of Mirror fire nothing here.
class TVistaGradientBackground : public TGradientBackground {
  LORM_PUBLISHED(TVistaGradientBackground, TGradientBackground)
public:
  TVistaGradientBackground();
  void Assign(TPersistent* Source) override;
  TMirrorGradient* Mirror() const { return FMirror.get(); }
  void SetMirror(TMirrorGradient* Value) { FMirror->Assign(Value); }

private:
  std::unique_ptr<TMirrorGradient> FMirror;
};

// The look of tool bar buttons per state.
class TButtonAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TButtonAppearance, TAppearanceBase)
public:
  TButtonAppearance();
  // Copies the 17 colours and the gradient direction of another button appearance
  // without firing; the caption font, glyph position, state directions and SystemFont
  // stay. Any other source is ignored.
  void Assign(TPersistent* Source) override;
  void Change() { Changed(); }

  VIE_PROP(TColor, ColorHot, 0xD2BDB6)
  VIE_PROP(TColor, ColorTo, clNone)
  VIE_PROP(TColor, Color, clNone)
  VIE_PROP(TColor, ColorHotTo, clNone)
  VIE_PROP(TColor, ColorDownTo, clNone)
  VIE_PROP(TColor, ColorDown, 0xB59285)
  VIE_PROP_SILENT(TColor, BorderDownColor, 0x6A240A)
  VIE_PROP(TColor, BorderColor, clNone)
  VIE_PROP_SILENT(TColor, BorderHotColor, 0x6A240A)
  VIE_PROP(TGradientDirection, GradientDirection, gdVertical)
  VIE_PROP(TColor, ColorChecked, 0xD8D5D4)
  VIE_PROP(TColor, ColorCheckedTo, clNone)
  VIE_PROP(TColor, CaptionTextColorChecked, clBlack)
  VIE_PROP(TColor, CaptionTextColor, clBlack)
  VIE_PROP(TColor, CaptionTextColorHot, clBlack)
  VIE_PROP(TColor, CaptionTextColorDown, clBlack)
  VIE_PROP(TColor, BorderCheckedColor, 0x6A240A)
  VIE_PROP(TGlyphPosition, GlyphPosition, gpLeft)
  VIE_PROP_SILENT(TGradientDirection, GradientDirectionDown, gdVertical)
  VIE_PROP_SILENT(TGradientDirection, GradientDirectionHot, gdVertical)
  VIE_PROP_SILENT(TGradientDirection, GradientDirectionChecked, gdVertical)

public:
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  // Copies the font and fires, on every call.
  void SetCaptionFont(TFont* Value);
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);

private:
  std::unique_ptr<TFont> FCaptionFont;
  bool FSystemFont = true;
};

// The separator line of tool bar containers.
class TContainerAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TContainerAppearance, TAppearanceBase)
public:
  void Assign(TPersistent* Source) override;  // through the setters
  VIE_PROP(bool, Line3D, true)
  VIE_PROP(TColor, LineColor, clBtnShadow)
};

// The caption strip of tool bars and of ribbon tab groups.
class TCaptionAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TCaptionAppearance, TAppearanceBase)
public:
  // Fires only when CaptionColorHotTo or CaptionTextColorHot differ.
  void Assign(TPersistent* Source) override;
  VIE_PROP(TColor, CaptionTextColorHot, clWhite)
  VIE_PROP(TColor, CaptionTextColor, clWhite)
  VIE_PROP(TColor, CaptionBorderColorHot, clNone)
  VIE_PROP(TColor, CaptionColorHot, clNone)
  VIE_PROP(TColor, CaptionColorTo, clNone)
  VIE_PROP(TColor, CaptionColor, 0x808080)
  VIE_PROP(TColor, CaptionColorHotTo, clNone)
  VIE_PROP(TColor, CaptionBorderColor, clNone)
};

// A two-part (upper and mirror) background painted with GDI+ gradient kinds.
class TVistaBackground : public TAppearanceBase {
  LORM_PUBLISHED(TVistaBackground, TAppearanceBase)
public:
  // Fires only when the gradient kinds differ.
  void Assign(TPersistent* Source) override;
  VIE_PROP(int, Steps, 64)
  VIE_PROP(TColor, Color, clWhite)
  VIE_PROP(TColor, ColorTo, clWhite)
  VIE_PROP(TColor, ColorMirror, clSilver)
  VIE_PROP(TColor, ColorMirrorTo, clWhite)
  VIE_PROP(TColor, BorderColor, clGray)
  VIE_PROP(TGDIPGradient, GradientMirror, ggVertical)
  VIE_PROP(TGDIPGradient, Gradient, ggVertical)
  VIE_PROP_SILENT(TColor, ShadowColor, 0xC4AA96)
  VIE_PROP_SILENT(TColor, HighLightColor, 0xFDF9CE)
};

// Ribbon pages (the styler's and each tab group's PageAppearance).
class TVistaPageBackground : public TVistaBackground {
  LORM_PUBLISHED(TVistaPageBackground, TVistaBackground)
};

// The pager caption.
class TVistaTextBackground : public TVistaBackground {
  LORM_PUBLISHED(TVistaTextBackground, TVistaBackground)
public:
  TVistaTextBackground();
  void Assign(TPersistent* Source) override;
  VIE_PROP(TColor, TextColor, clBlue)
  VIE_PROP(TColor, TextColorExtended, clGray)

public:
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);

private:
  std::unique_ptr<TFont> FFont;
  bool FSystemFont = true;
};

// The quick-access tool bar, in the pager caption and full-size below the ribbon.
class TQATAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TQATAppearance, TAppearanceBase)
public:
  // Fires only when FullSizeColorTo differs; Steps is not copied.
  void Assign(TPersistent* Source) override;
  VIE_PROP(TColor, FullSizeColorTo, 0xE3B28D)
  VIE_PROP(TColor, FullSizeColor, 0xE3B28D)
  VIE_PROP(TColor, FullSizeBorderColor, 0xC59F81)
  VIE_PROP(int, Steps, 64)
  VIE_PROP(TColor, Color, clWhite)
  VIE_PROP(TColor, ColorTo, clSilver)
  VIE_PROP(TColor, BorderColor, clGray)
};

// Tool bars that stand in a ribbon tab group. Changes of Color and ColorHot fire nothing.
class TToolBarAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TToolBarAppearance, TAppearanceBase)
public:
  TToolBarAppearance();
  void Assign(TPersistent* Source) override;  // fires nothing
  VIE_PROP(TColor, BorderColorHot, clNone)
  VIE_PROP(TColor, BorderColor, clNone)

public:
  TGradientBackground* Color() const { return FColor.get(); }
  void SetColor(TGradientBackground* Value) { FColor->Assign(Value); }
  TGradientBackground* ColorHot() const { return FColorHot.get(); }
  void SetColorHot(TGradientBackground* Value) { FColorHot->Assign(Value); }

private:
  std::unique_ptr<TGradientBackground> FColor;
  std::unique_ptr<TGradientBackground> FColorHot;
};

// Ribbon tabs per state.
class TCustomTabAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TCustomTabAppearance, TAppearanceBase)
public:
  TCustomTabAppearance();
  // Fires only when TextColor or TextColorHot differ; SystemFont is not copied.
  void Assign(TPersistent* Source) override;
  VIE_PROP(TColor, BorderColor, clBtnFace)
  VIE_PROP_SILENT(TColor, BorderColorHot, clBlue)
  VIE_PROP(TColor, Color, clBtnFace)
  VIE_PROP(TColor, ColorTo, clWhite)
  VIE_PROP(TColor, ColorHot, clYellow)
  VIE_PROP(TColor, ColorHotTo, clNone)
  VIE_PROP(TColor, ColorSelectedTo, clBtnFace)
  VIE_PROP(TColor, BorderColorDisabled, clNone)
  VIE_PROP(TColor, BorderColorSelected, clBtnFace)
  VIE_PROP(TColor, ColorDisabled, clNone)
  VIE_PROP(TColor, ColorDisabledTo, clNone)
  VIE_PROP(TColor, ColorSelected, clWhite)
  VIE_PROP(TColor, ColorMirror, clWhite)
  VIE_PROP(TColor, ColorMirrorTo, clWhite)
  VIE_PROP(TColor, ColorMirrorHot, clNone)
  VIE_PROP(TColor, ColorMirrorHotTo, clNone)
  VIE_PROP(TGDIPGradient, GradientMirror, ggVertical)
  VIE_PROP(TGDIPGradient, GradientMirrorHot, ggVertical)
  VIE_PROP(TGDIPGradient, Gradient, ggVertical)
  VIE_PROP(TGDIPGradient, GradientHot, ggVertical)
  VIE_PROP(TColor, ColorMirrorDisabledTo, clNone)
  VIE_PROP(TColor, ColorMirrorDisabled, clNone)
  VIE_PROP(TColor, ColorMirrorSelectedTo, clWhite)
  VIE_PROP(TColor, ColorMirrorSelected, clWhite)
  VIE_PROP(TGDIPGradient, GradientSelected, ggVertical)
  VIE_PROP(TGDIPGradient, GradientDisabled, ggVertical)
  VIE_PROP(TGDIPGradient, GradientMirrorSelected, ggVertical)
  VIE_PROP(TGDIPGradient, GradientMirrorDisabled, ggVertical)
  VIE_PROP(TColor, TextColorDisabled, clWhite)
  VIE_PROP(TColor, TextColorSelected, clBlue)
  VIE_PROP(TColor, TextColor, clBlue)
  VIE_PROP(TColor, TextColorHot, clBlue)
  VIE_PROP(TColor, BorderColorSelectedHot, clNone)
  VIE_PROP(TColor, BorderColorDown, clNone)
  VIE_PROP_SILENT(TColor, ShadowColor, 0xE8C7AE)
  VIE_PROP_SILENT(TColor, HighLightColor, 0xFFFABF)
  VIE_PROP_SILENT(TColor, HighLightColorSelected, 0x63CCF8)
  VIE_PROP_SILENT(TColor, HighLightColorDown, 0xFFFBD0)
  VIE_PROP_SILENT(TColor, HighLightColorHot, 0xFDF4ED)
  VIE_PROP_SILENT(TColor, HighLightColorSelectedHot, 0xBDFFFF)

public:
  TGradientBackground* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TGradientBackground* Value) { FBackGround->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);

private:
  std::unique_ptr<TGradientBackground> FBackGround;
  std::unique_ptr<TFont> FFont;
  bool FSystemFont = true;
};

class TTabAppearance : public TCustomTabAppearance {
  LORM_PUBLISHED(TTabAppearance, TCustomTabAppearance)
};

// A ribbon tab group: its own colours and caption, page, tool bar and tab looks. A change
// anywhere inside reaches the owner as one event whose sender is the group appearance.
class TGroupAppearance : public TAppearanceBase {
  LORM_PUBLISHED(TGroupAppearance, TAppearanceBase)
public:
  TGroupAppearance();
  void Assign(TPersistent* Source) override;
  VIE_PROP(int, Steps, 64)
  VIE_PROP(TColor, Color, clWhite)
  VIE_PROP(TColor, ColorTo, clWhite)
  VIE_PROP(TColor, ColorMirror, clSilver)
  VIE_PROP(TColor, ColorMirrorTo, clWhite)
  VIE_PROP(TColor, BorderColor, 0xA3B8AC)
  VIE_PROP(TGDIPGradient, GradientMirror, ggVertical)
  VIE_PROP(TGDIPGradient, Gradient, ggVertical)
  VIE_PROP(TColor, TextColor, clBlue)

public:
  TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
  void SetCaptionAppearance(TCaptionAppearance* Value) { FCaptionAppearance->Assign(Value); }
  TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(TVistaPageBackground* Value) { FPageAppearance->Assign(Value); }
  TToolBarAppearance* ToolBarAppearance() const { return FToolBarAppearance.get(); }
  void SetToolBarAppearance(TToolBarAppearance* Value) { FToolBarAppearance->Assign(Value); }
  TCustomTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(TCustomTabAppearance* Value) { FTabAppearance->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);

private:
  std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
  std::unique_ptr<TVistaPageBackground> FPageAppearance;
  std::unique_ptr<TToolBarAppearance> FToolBarAppearance;
  std::unique_ptr<TCustomTabAppearance> FTabAppearance;
  std::unique_ptr<TFont> FFont;
  bool FSystemFont = true;
};

#undef VIE_PROP
#undef VIE_PROP_ALWAYS
#undef VIE_PROP_SILENT

// ---- registration ---------------------------------------------------------------------
class TCustomVivIzizEzuStyler;

// What a registered control is, for the styler's dispatch and ReleaseAllControls.
enum TStylerClientKind { sckDockPanel, sckToolBar, sckPager };

// Implemented by every control that registers with a tool bar styler (dock panel, tool
// bar, ribbon pager). A control registers with AddControl when it is given a styler and
// unregisters with RemoveControl when it lets it go. When the styler is destroyed the
// control receives Notification(styler, opRemove) and must fall back to its internal
// styler; it may call RemoveControl then (it does nothing).
class IVivIzizEzuStylerClient {
public:
  virtual TStylerClientKind StylerClientKind() const = 0;
  // Repaint or lay out again for a change of the given kind (see TCustomVivIzizEzuStyler).
  virtual void UpdateMe(int Kind) = 0;
  // A tool bar in compact mode: the clone tool bar shown in its compact pop-up window;
  // the styler updates it before the tool bar itself. nullptr otherwise.
  virtual IVivIzizEzuStylerClient* CompactToolBar() { return nullptr; }
  // The styler assigned to the control (nullptr: it uses its internal one), and the
  // setter that registers and unregisters; ReleaseAllControls calls it with nullptr.
  virtual TCustomVivIzizEzuStyler* ToolBarStyler() const = 0;
  virtual void SetToolBarStyler(TCustomVivIzizEzuStyler* Value) = 0;

protected:
  ~IVivIzizEzuStylerClient() = default;
};

// ---- styler -----------------------------------------------------------------------------
// Change kinds sent to the registered controls.
enum : int {
  ckBackGround = 1,      // BackGround, BackGroundDisplay, BackGroundTransparent, Font
  ckColors = 2,          // colours, borders, edges, captions; the end of a preset
  ckContainer = 4,       // ContainerAppearance
  ckDragGrip = 5,        // DragGripStyle
  ckMenuStyler = 6,      // SetRadUdirEtyler
  ckGlowButtons = 7,     // GlowButtonAppearance, CompactGlowButtonAppearance
  ckPager = 10,          // TabAppearance, PageAppearance, GroupAppearance
  ckPagerCaption = 11,   // PagerCaption, SysButtonColor
  ckQAT = 12             // QATAppearance
};

class TCustomVivIzizEzuStyler : public TComponent {
  LORM_CLASS(TCustomVivIzizEzuStyler, TComponent)
public:
  explicit TCustomVivIzizEzuStyler(TComponent* AOwner);
  ~TCustomVivIzizEzuStyler() override;

  // From another tool bar styler: its linked menu styler into the internal menu styler
  // (only when this styler uses its internal one), Color, DockColor, BackGround, the
  // background switches, Font, DragGripStyle, both images, the floating-window border,
  // CaptionAppearance, FormBorderColor and ButtonAppearance. Any other source raises
  // "Cannot assign a %s to a %s".
  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The internal menu styler is part of the styler, not a stored component of its own.
  void GetChildren(const TGetChildProc&, TComponent*) override {}

  // Registration. nullptr is ignored; a control added twice is listed (and updated)
  // twice, and one RemoveControl removes one entry. A control that does not implement
  // IVivIzizEzuStylerClient is listed but never updated. Each registered control and the
  // styler are told when the other is freed (FreeNotification both ways).
  void AddControl(TCustomControl* AControl);
  void RemoveControl(TCustomControl* AControl);
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TCustomControl* Controls(int Index) const;
  // Detaches the dock panels and ribbon pagers whose styler this is (tool bars stay).
  void ReleaseAllControls();
  // Passes Kind to every registered control, in list order. Controls registered or
  // unregistered while it runs are handled safely: a control removed (or freed) before its
  // turn is not called, one added is not called for this change.
  void Change(int Kind);
  void UpdateStyle() { Change(ckColors); }

  // Theme text block of 303 lines at the stream's position (VivIzizEzuTheme.cpp).
  void SavePropToFile(std::ostream& F);
  // Reads and checks all 303 lines before applying any; a damaged block raises
  // "Corrupt file" and leaves the styler unchanged.
  void LoadPropFromFile(std::istream& F);

  bool BackGroundTransparent() const { return FBackGroundTransparent; }
  void SetBackGroundTransparent(bool Value);
  TBackGroundDisplay BackGroundDisplay() const { return FBackGroundDisplay; }
  void SetBackGroundDisplay(TBackGroundDisplay Value);
  TBitmap* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TBitmap* Value);
  TVistaGradientBackground* Color() const { return FColor.get(); }
  void SetColor(TVistaGradientBackground* Value) { FColor->Assign(Value); }
  TGradientBackground* DockColor() const { return FDockColor.get(); }
  void SetDockColor(TGradientBackground* Value) { FDockColor->Assign(Value); }
  TCustomRadUdirEtyler* RadUdirEtyler() const { return FRadUdirEtyler; }
  void SetRadUdirEtyler(TCustomRadUdirEtyler* Value);
  TCustomRadUdirEtyler* CurrentMenuStyler() const { return FCurrentMenuStyler; }
  TCustomRadUdirEtyler* InternalMenuStyler() const { return FInternalMenuStyler; }
  TDragGripStyle DragGripStyle() const { return FDragGripStyle; }
  void SetDragGripStyle(TDragGripStyle Value);
  TBitmap* DragGripImage() const { return FDragGripImage.get(); }
  void SetDragGripImage(TBitmap* Value);
  TBitmap* RightHandleImage() const { return FRightHandleImage.get(); }
  void SetRightHandleImage(TBitmap* Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool RoundEdges() const { return FRoundEdges; }
  // Sends kind 2 on every call.
  void SetRoundEdges(bool Value);
  TColor RightHandleColor() const { return FRightHandleColor; }
  void SetRightHandleColor(TColor Value);
  TColor RightHandleColorHot() const { return FRightHandleColorHot; }
  void SetRightHandleColorHot(TColor Value);
  TColor RightHandleColorTo() const { return FRightHandleColorTo; }
  void SetRightHandleColorTo(TColor Value);
  TColor RightHandleColorHotTo() const { return FRightHandleColorHotTo; }
  void SetRightHandleColorHotTo(TColor Value);
  TColor RightHandleColorDown() const { return FRightHandleColorDown; }
  void SetRightHandleColorDown(TColor Value);
  TColor RightHandleColorDownTo() const { return FRightHandleColorDownTo; }
  void SetRightHandleColorDownTo(TColor Value);
  int FloatingWindowBorderWidth() const { return FFloatingWindowBorderWidth; }
  void SetFloatingWindowBorderWidth(int Value);
  TColor FloatingWindowBorderColor() const { return FFloatingWindowBorderColor; }
  void SetFloatingWindowBorderColor(TColor Value);
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
  // A TBevelCut value: bvNone 0, bvLowered 1, bvRaised 2, bvSpace 3.
  int Bevel() const { return FBevel; }
  void SetBevel(int Value);
  bool UseBevel() const { return FUseBevel; }
  void SetUseBevel(bool Value);
  TColor BorderColorHot() const { return FBorderColorHot; }
  void SetBorderColorHot(TColor Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TVistaGradientBackground* ColorHot() const { return FColorHot.get(); }
  void SetColorHot(TVistaGradientBackground* Value) { FColorHot->Assign(Value); }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value);
  DUZERazav ComponentStyle() const { return FComponentStyle; }
  void SetComponentStyleValue(DUZERazav Value) { FComponentStyle = Value; }
  TContainerAppearance* ContainerAppearance() const { return FContainerAppearance.get(); }
  void SetContainerAppearance(TContainerAppearance* Value) { FContainerAppearance->Assign(Value); }
  TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
  void SetGlowButtonAppearance(TGlowButtonAppearance* Value) { FGlowButtonAppearance->Assign(Value); }
  TVistaTextBackground* PagerCaption() const { return FPagerCaption.get(); }
  void SetPagerCaption(TVistaTextBackground* Value) { FPagerCaption->Assign(Value); }
  TTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(TTabAppearance* Value) { FTabAppearance->Assign(Value); }
  TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(TVistaPageBackground* Value) { FPageAppearance->Assign(Value); }
  TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
  void SetCaptionAppearance(TCaptionAppearance* Value) { FCaptionAppearance->Assign(Value); }
  TGroupAppearance* GroupAppearance() const { return FGroupAppearance.get(); }
  void SetGroupAppearance(TGroupAppearance* Value) { FGroupAppearance->Assign(Value); }
  TGlowButtonAppearance* CompactGlowButtonAppearance() const { return FCompactGlowButtonAppearance.get(); }
  void SetCompactGlowButtonAppearance(TGlowButtonAppearance* Value) {
    FCompactGlowButtonAppearance->Assign(Value);
  }
  TQATAppearance* QATAppearance() const { return FQATAppearance.get(); }
  void SetQATAppearance(TQATAppearance* Value) { FQATAppearance->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  // Switching it on renames Font and CaptionFont by IsVista; nothing is sent.
  void SetSystemFont(bool Value);
  // Set only by the Office 2007 Obsidian preset; read by the quick-access tool bar.
  bool Obsidian() const { return FObsidian; }
  void SetObsidian(bool Value) { FObsidian = Value; }
  TColor FormBorderColor() const { return FFormBorderColor; }
  void SetFormBorderColor(TColor Value);
  TColor SysButtonColor() const { return FSysButtonColor; }
  void SetSysButtonColor(TColor Value);

private:
  void SetColorField(TColor& Field, TColor Value, int Kind);
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  bool FBackGroundTransparent = true;
  TBackGroundDisplay FBackGroundDisplay = bdTile;
  std::unique_ptr<TBitmap> FBackGround;
  std::unique_ptr<TVistaGradientBackground> FColor;
  std::unique_ptr<TGradientBackground> FDockColor;
  TCustomRadUdirEtyler* FInternalMenuStyler = nullptr;  // a component owned by the styler
  TCustomRadUdirEtyler* FRadUdirEtyler = nullptr;
  TCustomRadUdirEtyler* FCurrentMenuStyler = nullptr;
  TDragGripStyle FDragGripStyle = dsDots;
  std::unique_ptr<TBitmap> FDragGripImage;
  std::unique_ptr<TBitmap> FRightHandleImage;
  std::unique_ptr<TFont> FFont;
  bool FTransparent = false;
  std::vector<TCustomControl*> FControls;
  bool FControlsReleased = false;
  bool FRoundEdges = true;
  TColor FRightHandleColor = 0x9E9E9E;
  TColor FRightHandleColorHot = 0xD2BDB6;
  TColor FRightHandleColorTo = clBlack;
  TColor FRightHandleColorHotTo = clBlack;
  int FFloatingWindowBorderWidth = 2;
  TColor FFloatingWindowBorderColor = 0x6D6D6D;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
  bool FAutoThemeAdapt = false;
  TColor FRightHandleColorDownTo = 0x2DA0FF;
  TColor FRightHandleColorDown = 0x76C1FF;
  int FBevel = 0;
  bool FUseBevel = false;
  TColor FBorderColorHot = clNone;
  TColor FBorderColor = clNone;
  std::unique_ptr<TVistaGradientBackground> FColorHot;
  std::unique_ptr<TFont> FCaptionFont;
  DUZERazav FComponentStyle = tsOffice2003Blue;
  std::unique_ptr<TContainerAppearance> FContainerAppearance;
  std::unique_ptr<TGlowButtonAppearance> FGlowButtonAppearance;
  std::unique_ptr<TVistaTextBackground> FPagerCaption;
  std::unique_ptr<TTabAppearance> FTabAppearance;
  std::unique_ptr<TVistaPageBackground> FPageAppearance;
  std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
  std::unique_ptr<TGroupAppearance> FGroupAppearance;
  std::unique_ptr<TGlowButtonAppearance> FCompactGlowButtonAppearance;
  std::unique_ptr<TQATAppearance> FQATAppearance;
  bool FSystemFont = true;
  bool FObsidian = false;
  TColor FFormBorderColor = clBlack;
  TColor FSysButtonColor = clBlack;
};


}  // namespace VivIzizEzu

namespace VivIzizEzu {
// Focus routines of the tool bars and the ribbon pager (VivIzizEzuWindows.cpp).
// Removes from a list of controls (TControl pointers) every hint window, tool bar
// container and windowed control that cannot take the focus; the others keep their order.
void RemoveUnfocusableControls(TList* List);
// True when the pager is enabled, has a window, and that window is among the ancestors
// of the focused window (the climb starts at the focused window's parent, at most 50).
bool IsFocusInsidePager(TWinControl* Pager);
}  // namespace VivIzizEzu

using VivIzizEzu::IVivIzizEzuStylerClient;
using VivIzizEzu::TCustomVivIzizEzuStyler;
