#pragma once
// Deahtml: the mini-HTML mark-up of captions, hints, status panels and grid cells.
//
// The mark-up is consumed left to right with no document tree: each tag changes the
// drawing state at once, a closing tag undoes its opening one, tags need not nest. Tags
// are recognised by their first letters, attributes by a search in the upper-cased tag.
// Text is UTF-8: tags and entity names are ASCII, named entities stand for Unicode
// characters, and only ASCII letters are upper-cased.
//
// One engine serves two variants. The grid variant (HTMLDrawEx) has form controls,
// anchor titles and a left margin of one pixel; the office variant (PanelHTMLDrawEx,
// StatusBarHTMLDrawEx, OfficeButtonsHTMLDrawEx) has accelerators ("&F"), a line gap,
// <OFFSET>, <IMG WRAP> and gradient <BODY>/<P> backgrounds. Each call draws, measures
// (MeasureOnly) or hit-tests (HitTestOnly) and keeps no state between calls but what the
// caller passes in.
//
// Pictures come from the caller's image list ("IDX:n"), the system icons ("SSYS:x",
// "LSYS:x"), the picture container (plain names) and the picture cache (addresses with
// "://"). Mark-up never makes painting read a file or fetch from the web: a "RES://"
// address loads an embedded resource; a "FILE://" address shows only a picture the
// program itself put in the cache (keyed by SourceName; the grid variant looks the address
// up upper-cased, the office variant as written); web addresses show nothing.
#include <string>

#include "foundation/PictureContainer.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Graphics.h"

// Set once at start-up: form controls draw themed when this holds and the theme is active.
extern bool IsWinXP;

// ---- the engine ---------------------------------------------------------------------------

// Draws, measures or hit-tests Text in Bounds. True when the hit point lies on a link's
// text, on a picture inside a link or on a form control. Outputs are cleared on entry
// (HitAnchor and HotRect are written only on a hit; ControlID is an input with HitTestOnly).
bool HTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images, int HitX,
                int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth, bool HitTestOnly,
                bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn, bool HotOnlyStyle,
                bool WrapWords, bool ControlPressed, double PrintScale, TColor LinkColor, TColor HotBackColor,
                TColor HotTextColor, TColor ShadowTint, std::string& HitAnchor, std::string& PlainText,
                std::string& FocusedTarget, std::string& AnchorTitle, int& ExtentX, int& ExtentY, int& LinkCount,
                int& HitLinkNumber, TRect& HotRect, TRect& ControlRect, std::string& ControlID,
                std::string& ControlValue, std::string& ControlType, THTMLPictureCache* PictureCache,
                TPictureContainer* Pictures, HWND OwnerWindow);

// The office variant; the three entries behave identically.
bool PanelHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images,
                     int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth, bool HitTestOnly,
                     bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn, bool HotOnlyStyle,
                     bool WrapWords, double PrintScale, TColor LinkColor, TColor HotBackColor, TColor HotTextColor,
                     TColor ShadowTint, std::string& HitAnchor, std::string& PlainText, std::string& FocusedTarget,
                     int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber, TRect& HotRect,
                     THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap);
bool StatusBarHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds, TCustomImageList* Images,
                         int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber, int ShadowDepth,
                         bool HitTestOnly, bool MeasureOnly, bool PrintMode, bool SelectedState, bool BlinkPhaseOn,
                         bool HotOnlyStyle, bool WrapWords, double PrintScale, TColor LinkColor, TColor HotBackColor,
                         TColor HotTextColor, TColor ShadowTint, std::string& HitAnchor, std::string& PlainText,
                         std::string& FocusedTarget, int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber,
                         TRect& HotRect, THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap);
bool OfficeButtonsHTMLDrawEx(TCanvas* Canvas, const std::string& Text, const TRect& Bounds,
                             TCustomImageList* Images, int HitX, int HitY, int FocusedLinkIndex, int HotLinkNumber,
                             int ShadowDepth, bool HitTestOnly, bool MeasureOnly, bool PrintMode, bool SelectedState,
                             bool BlinkPhaseOn, bool HotOnlyStyle, bool WrapWords, double PrintScale,
                             TColor LinkColor, TColor HotBackColor, TColor HotTextColor, TColor ShadowTint,
                             std::string& HitAnchor, std::string& PlainText, std::string& FocusedTarget,
                             int& ExtentX, int& ExtentY, int& LinkCount, int& HitLinkNumber, TRect& HotRect,
                             THTMLPictureCache* PictureCache, TPictureContainer* Pictures, int LineGap);

// ---- the language -------------------------------------------------------------------------

// A colour value of COLOR, BGCOLOR or BGCOLORTO: "#RRGGBB" or a colour name ("clLime",
// "clBtnFace"; any case); an unknown name is black.
TColor HTMLColorValue(const std::string& Value);
// SIZE of <FONT>: 1 → 8, 2 → 10, 3 → 12, 4 → 14, 5 → 16 points, another number as is.
int HTMLFontSize(int Size);

// ---- utilities ----------------------------------------------------------------------------

// The text without tags; "<BR>" and "<HR>" (any case) become CR LF. Entities stay.
std::string HTMLStrip(const std::string& s);
// As HTMLStrip, and hidden sections ("<z>…</z>", "<Z>…</Z>") are dropped.
std::string PanelHTMLStrip(const std::string& s);
// s with every occurrence of Search in its visible text enclosed in <Tag> and </Tag>.
std::string HiLight(const std::string& s, const std::string& Search, const std::string& Tag, bool DoCase);
// s without the <Tag> and </Tag> pairs (any case), "&lt;" and "&gt;" turned back.
std::string UnHiLight(const std::string& s, const std::string& Tag);
// s escaped for mark-up: & " < > and the characters of the named-entity table.
std::string FixMarkup(const std::string& s);
// The inverse of FixMarkup: "&lt;", "&gt;", "&amp;", "&quot;" and the named entities,
// each decoded once, in one pass.
std::string DecodeEntities(const std::string& s);
// Every blank becomes "&nbsp;".
std::string FixNonBreaking(const std::string& s);
// Draws a bitmap stretched into R through a device-independent copy (printer canvases).
void PrintBitmap(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
// A system icon by index ("12" or empty = 0) or by file or folder path, small (16 × 16)
// or large (32 × 32); Size receives the icon size. With Draw, it is drawn at (X, Y), or in
// print mode through PrintBitmap scaled by Scale.
void DrawSystemIcon(TCanvas* Canvas, int X, int Y, TSize& Size, double Scale, bool Print, bool Draw, bool Large,
                    const std::string& Source);
// Finds Pattern (ASCII letters compared case-insensitively), replaces its first
// occurrence by Replacement; true when there was one.
bool ReplaceFirstNoCase(std::string& s, const std::string& Pattern, const std::string& Replacement);

// ---- form controls in mark-up ---------------------------------------------------------------

bool HasHTMLControl(const std::string& s);
// The ID of the first edit-type control after the control with that ID (the first in
// the text for an empty ID); empty when none.
std::string GetNextControlID(const std::string& s, const std::string& ID);
bool GetControlValue(const std::string& s, const std::string& ID, std::string& Value);
std::string GetControlProp(const std::string& s, const std::string& ID);
int GetControlMaxLen(const std::string& s, const std::string& ID);
// Rewrites the control as <CONTROL ID VALUE WIDTH TYPE [PROP] [MAXLEN]> with the value
// escaped; false (s unchanged) when no control has that ID.
bool SetControlValue(std::string& s, const std::string& ID, const std::string& Value);
// Every "RADIO" control's VALUE set to "FALSE".
std::string ClearRadioControls(const std::string& s);
