#pragma once
// Run-time binding of the visual-styles library.
//
// The controls never call the visual-styles library directly: they call it through a
// table of function variables that is filled by name from "uxtheme.dll" when the table is
// first used. A function the library does not export stays empty, and so does every
// variable when the library is absent; the features that need an empty function are
// then unavailable and the controls draw their plain look. `CanDrawThemed` answers the
// one question most controls ask before they draw themed parts.
//
// Optional system libraries are modelled as named tables of entry points. The theme
// painter of the drawing layer is installed as "uxtheme.dll", the window system's
// layered-window calls as "user32.dll" and its flat scroll bars as "comctl32.dll";
// desktop composition ("dwmapi.dll") is not installed. Tests install, replace or remove libraries to reach
// the paths of other systems.
#include <map>
#include <optional>
#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/WinDef.h"

// ---- optional libraries ---------------------------------------------------------------
using TLibraryProc = void (*)();
// Entry points by export name (export names compare with case).
using TLibraryExports = std::map<std::string, TLibraryProc>;
struct TLibraryModule;
using HLIBMODULE = TLibraryModule*;

// Casts an entry point to the library's generic entry type and back.
template <class F>
TLibraryProc LibraryProc(F function) {
  return reinterpret_cast<TLibraryProc>(function);
}
template <class F>
F LibraryProcAs(TLibraryProc proc) {
  return reinterpret_cast<F>(proc);
}

// Loads a library by name (compared without case, with or without a folder); nullptr
// when it is not installed. Every successful load must be paired with a free.
HLIBMODULE LoadLibraryModule(const std::string& Name);
void FreeLibraryModule(HLIBMODULE Module);
// The export of that name, or nullptr (also for a null module or name).
TLibraryProc GetLibraryProc(HLIBMODULE Module, const char* ProcName);
// Installs the library (replacing its exports) or, with std::nullopt, uninstalls it so
// that further loads fail; modules loaded before keep working. Returns the previous
// exports (std::nullopt when it was not installed), so that a test can restore them.
std::optional<TLibraryExports> SetLibraryExports(const std::string& Name, std::optional<TLibraryExports> Exports);
// The exports of the theme painter, as installed for "uxtheme.dll" at start.
TLibraryExports StandardThemeLibraryExports();
// The layered-window calls of the window system, as installed for "user32.dll" at start.
TLibraryExports StandardWindowLibraryExports();
// The flat scroll bar entry points, as installed for "comctl32.dll" at start.
TLibraryExports StandardCommonControlsExports();
// How many loads of the library are not yet freed.
int LibraryLoadCount(const std::string& Name);

// ---- entry point types of the common controls' flat scroll bars ----------------------
struct SCROLLINFO;
using TInitializeFlatSB = BOOL (*)(HWND window);
using TUninitializeFlatSB = HRESULT (*)(HWND window);
using TFlatSB_SetScrollProp = BOOL (*)(HWND window, UINT index, INT_PTR value, BOOL redraw);
using TFlatSB_GetScrollProp = BOOL (*)(HWND window, UINT index, int* value);
using TFlatSB_SetScrollInfo = int (*)(HWND window, int bar, SCROLLINFO* info, BOOL redraw);
using TFlatSB_GetScrollInfo = BOOL (*)(HWND window, int bar, SCROLLINFO* info);
using TFlatSB_ShowScrollBar = BOOL (*)(HWND window, int bar, BOOL show);

// ---- entry point types (documented signatures of the visual-styles library) -----------
struct DTBGOPTS;
struct INTLIST;
struct HIMAGELIST__;
using TOpenThemeData = HTHEME (*)(HWND window, const char16_t* classList);
using TCloseThemeData = HRESULT (*)(HTHEME theme);
using TDrawThemeBackground = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                         const RECT* clip);
using TDrawThemeBackgroundEx = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                           const DTBGOPTS* options);
using TDrawThemeText = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count,
                                   DWORD flags, DWORD flags2, const RECT* rect);
using TGetThemeBackgroundContentRect = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* bounds,
                                                   RECT* content);
using TGetThemeBackgroundExtent = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* content,
                                              RECT* extent);
using TGetThemePartSize = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE kind,
                                      SIZE* size);
using TGetThemeTextExtent = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count,
                                        DWORD flags, const RECT* bounds, RECT* extent);
using TGetThemeTextMetrics = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, TEXTMETRIC* metrics);
using TGetThemeBackgroundRegion = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                              HRGN* region);
using THitTestThemeBackground = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, DWORD options,
                                            const RECT* rect, HRGN region, POINT test, WORD* hitCode);
using TDrawThemeEdge = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* dest, UINT edge,
                                   UINT flags, RECT* content);
using TDrawThemeIcon = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                   HIMAGELIST__* images, int imageIndex);
using TIsThemePartDefined = BOOL (*)(HTHEME theme, int part, int state);
using TIsThemeBackgroundPartiallyTransparent = BOOL (*)(HTHEME theme, int part, int state);
using TGetThemeColor = HRESULT (*)(HTHEME theme, int part, int state, int prop, COLORREF* color);
using TGetThemeMetric = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, int prop, int* value);
using TGetThemeString = HRESULT (*)(HTHEME theme, int part, int state, int prop, char16_t* buffer, int size);
using TGetThemeBool = HRESULT (*)(HTHEME theme, int part, int state, int prop, BOOL* value);
using TGetThemeInt = HRESULT (*)(HTHEME theme, int part, int state, int prop, int* value);
using TGetThemeEnumValue = HRESULT (*)(HTHEME theme, int part, int state, int prop, int* value);
using TGetThemePosition = HRESULT (*)(HTHEME theme, int part, int state, int prop, POINT* point);
using TGetThemeFont = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, int prop, LOGFONT* font);
using TGetThemeRect = HRESULT (*)(HTHEME theme, int part, int state, int prop, RECT* rect);
using TGetThemeMargins = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, int prop, const RECT* rect,
                                     MARGINS* margins);
using TGetThemeIntList = HRESULT (*)(HTHEME theme, int part, int state, int prop, INTLIST* list);
using TSetWindowTheme = HRESULT (*)(HWND window, const char16_t* appName, const char16_t* idList);
using TGetThemeFilename = HRESULT (*)(HTHEME theme, int part, int state, int prop, char16_t* buffer, int size);
using TGetThemeSysColor = COLORREF (*)(HTHEME theme, int colorId);
using TGetThemeSysColorBrush = HBRUSH (*)(HTHEME theme, int colorId);
using TGetThemeSysBool = BOOL (*)(HTHEME theme, int boolId);
using TGetThemeSysSize = int (*)(HTHEME theme, int sizeId);
using TGetThemeSysFont = HRESULT (*)(HTHEME theme, int fontId, LOGFONT* font);
using TGetThemeSysString = HRESULT (*)(HTHEME theme, int stringId, char16_t* buffer, int size);
using TGetThemeSysInt = HRESULT (*)(HTHEME theme, int intId, int* value);
using TIsThemeActive = BOOL (*)();
using TIsAppThemed = BOOL (*)();
using TGetWindowTheme = HTHEME (*)(HWND window);
using TEnableThemeDialogTexture = HRESULT (*)(HWND window, DWORD flags);
using TIsThemeDialogTextureEnabled = BOOL (*)(HWND window);
using TGetThemeAppProperties = DWORD (*)();
using TSetThemeAppProperties = void (*)(DWORD flags);
using TGetCurrentThemeName = HRESULT (*)(char16_t* themeFile, int maxFile, char16_t* colorName, int maxColor,
                                         char16_t* sizeName, int maxSize);
using TGetThemeDocumentationProperty = HRESULT (*)(const char16_t* themeName, const char16_t* propertyName,
                                                   char16_t* value, int size);
using TDrawThemeParentBackground = HRESULT (*)(HWND child, HDC dc, const RECT* rect);
using TEnableTheming = HRESULT (*)(BOOL enable);

// ---- the binding --------------------------------------------------------------------
// One table of the library's functions, each named after the function it holds and
// empty when the library does not offer it.
struct TThemeBinding {
  TOpenThemeData OpenThemeData = nullptr;
  TCloseThemeData CloseThemeData = nullptr;
  TDrawThemeBackground DrawThemeBackground = nullptr;
  TDrawThemeBackgroundEx DrawThemeBackgroundEx = nullptr;  // declared, never bound
  TDrawThemeText DrawThemeText = nullptr;
  TGetThemeBackgroundContentRect GetThemeBackgroundContentRect = nullptr;
  TGetThemeBackgroundExtent GetThemeBackgroundExtent = nullptr;
  TGetThemeTextExtent GetThemeTextExtent = nullptr;
  TGetThemeTextMetrics GetThemeTextMetrics = nullptr;
  TGetThemeBackgroundRegion GetThemeBackgroundRegion = nullptr;
  THitTestThemeBackground HitTestThemeBackground = nullptr;
  TDrawThemeEdge DrawThemeEdge = nullptr;
  TDrawThemeIcon DrawThemeIcon = nullptr;
  TIsThemePartDefined IsThemePartDefined = nullptr;
  TIsThemeBackgroundPartiallyTransparent IsThemeBackGroundPartiallyTransparent = nullptr;
  TGetThemeColor GetThemeColor = nullptr;
  TGetThemeMetric GetThemeMetric = nullptr;
  TGetThemeString GetThemeString = nullptr;
  TGetThemeBool GetThemeBool = nullptr;
  TGetThemeInt GetThemeInt = nullptr;
  TGetThemeEnumValue GetThemeEnumValue = nullptr;
  TGetThemePosition GetThemePosition = nullptr;
  TGetThemeFont GetThemeFont = nullptr;
  TGetThemeRect GetThemeRect = nullptr;
  TGetThemeMargins GetThemeMargins = nullptr;
  TGetThemeIntList GetThemeIntList = nullptr;
  TSetWindowTheme SetWindowTheme = nullptr;
  TGetThemeFilename GetThemeFilename = nullptr;
  TGetThemeSysColor GetThemeSysColor = nullptr;
  TGetThemeSysColorBrush GetThemeSysColorBrush = nullptr;
  TGetThemeSysBool GetThemeSysBool = nullptr;
  TGetThemeSysSize GetThemeSysSize = nullptr;
  TGetThemeSysFont GetThemeSysFont = nullptr;
  TGetThemeSysString GetThemeSysString = nullptr;
  TGetThemeSysInt GetThemeSysInt = nullptr;
  TIsThemeActive IsThemeActive = nullptr;
  TIsAppThemed IsAppThemed = nullptr;
  TGetWindowTheme GetWindowTheme = nullptr;
  TEnableThemeDialogTexture EnableThemeDialogTexture = nullptr;
  TIsThemeDialogTextureEnabled IsThemeDialogTextureEnabled = nullptr;
  TGetThemeAppProperties GetThemeAppProperties = nullptr;
  TSetThemeAppProperties SetThemeAppProperties = nullptr;
  TGetCurrentThemeName GetCurrentThemeName = nullptr;
  TGetThemeDocumentationProperty GetThemeDocumentationProperty = nullptr;
  TGetThemePartSize GetThemePartSize = nullptr;
  TDrawThemeParentBackground DrawThemeParentBackground = nullptr;
  TEnableTheming EnableTheming = nullptr;

  TThemeBinding() = default;
  ~TThemeBinding();
  TThemeBinding(const TThemeBinding&) = delete;
  TThemeBinding& operator=(const TThemeBinding&) = delete;

  // Loads the library and looks every function up by name. Does nothing while loaded;
  // false when the library cannot be loaded (every variable then stays as it was).
  bool Bind(const std::string& LibraryName = "uxtheme.dll");
  // Unloads the library; the variables keep their values.
  void Unload();
  // Unloads and empties every variable.
  void Clear();

  bool Loaded() const { return FLoaded; }
  HLIBMODULE Handle() const { return FHandle; }
  // Themed parts can be drawn: the library is loaded, offers opening, closing and
  // drawing theme parts and the theme state, and both the application and the system
  // are themed. Otherwise the plain look is drawn.
  bool CanDrawThemed() const;

private:
  HLIBMODULE FHandle = nullptr;
  bool FLoaded = false;
};

// The binding the controls share, bound from "uxtheme.dll" on first use.
TThemeBinding& XPThemeBinding();
// Binds the shared table again from the libraries installed now (after a test changed
// them): unloads, empties every variable and binds.
void ReloadXPThemeBinding();
