#include "foundation/DizThemeBinding.h"

#include "platform/win/FlatScrollBar.h"
#include "platform/win/LayeredWindow.h"

#include <cctype>
#include <memory>

// ---- optional libraries ---------------------------------------------------------------
struct TLibraryModule {
  std::string Name;
  TLibraryExports Exports;
  bool Installed = false;
  int LoadCount = 0;
};

namespace {

std::string LibraryKey(const std::string& name) {
  std::string key = name;
  std::size_t slash = key.find_last_of("/\\");
  if (slash != std::string::npos) key.erase(0, slash + 1);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

// Entries live for the whole program, so a module handle stays valid even when its
// library is uninstalled later.
struct TLibraryRegistry {
  std::map<std::string, std::unique_ptr<TLibraryModule>> Modules;

  TLibraryRegistry() {
    auto& theme = Entry("uxtheme.dll");
    theme.Exports = StandardThemeLibraryExports();
    theme.Installed = true;
    // The window system's layered-window calls, which older systems lack.
    auto& user32 = Entry("user32.dll");
    user32.Exports = StandardWindowLibraryExports();
    user32.Installed = true;
    auto& controls = Entry("comctl32.dll");
    controls.Exports = StandardCommonControlsExports();
    controls.Installed = true;
  }

  TLibraryModule& Entry(const std::string& name) {
    std::string key = LibraryKey(name);
    auto& slot = Modules[key];
    if (!slot) {
      slot = std::make_unique<TLibraryModule>();
      slot->Name = key;
    }
    return *slot;
  }
};

TLibraryRegistry& Registry() {
  static TLibraryRegistry registry;
  return registry;
}

}  // namespace

TLibraryExports StandardWindowLibraryExports() {
  TLibraryExports e;
  e["UpdateLayeredWindow"] = LibraryProc(&::UpdateLayeredWindow);
  e["SetLayeredWindowAttributes"] = LibraryProc(&::SetLayeredWindowAttributes);
  e["GetLayeredWindowAttributes"] = LibraryProc(&::GetLayeredWindowAttributes);
  return e;
}

TLibraryExports StandardCommonControlsExports() {
  TLibraryExports e;
  e["InitializeFlatSB"] = LibraryProc(static_cast<TInitializeFlatSB>(&::InitializeFlatSB));
  e["UninitializeFlatSB"] = LibraryProc(static_cast<TUninitializeFlatSB>(&::UninitializeFlatSB));
  e["FlatSB_SetScrollProp"] = LibraryProc(static_cast<TFlatSB_SetScrollProp>(&::FlatSB_SetScrollProp));
  e["FlatSB_GetScrollProp"] = LibraryProc(static_cast<TFlatSB_GetScrollProp>(&::FlatSB_GetScrollProp));
  e["FlatSB_SetScrollInfo"] = LibraryProc(static_cast<TFlatSB_SetScrollInfo>(&::FlatSB_SetScrollInfo));
  e["FlatSB_GetScrollInfo"] = LibraryProc(static_cast<TFlatSB_GetScrollInfo>(&::FlatSB_GetScrollInfo));
  e["FlatSB_ShowScrollBar"] = LibraryProc(static_cast<TFlatSB_ShowScrollBar>(&::FlatSB_ShowScrollBar));
  return e;
}

TLibraryExports StandardThemeLibraryExports() {
  TLibraryExports e;
  e["OpenThemeData"] = LibraryProc(static_cast<TOpenThemeData>(&::OpenThemeData));
  e["CloseThemeData"] = LibraryProc(static_cast<TCloseThemeData>(&::CloseThemeData));
  e["DrawThemeBackground"] = LibraryProc(static_cast<TDrawThemeBackground>(&::DrawThemeBackground));
  e["DrawThemeText"] = LibraryProc(static_cast<TDrawThemeText>(&::DrawThemeText));
  e["GetThemeBackgroundContentRect"] =
      LibraryProc(static_cast<TGetThemeBackgroundContentRect>(&::GetThemeBackgroundContentRect));
  e["GetThemePartSize"] = LibraryProc(static_cast<TGetThemePartSize>(&::GetThemePartSize));
  e["DrawThemeEdge"] = LibraryProc(static_cast<TDrawThemeEdge>(&::DrawThemeEdge));
  e["IsThemePartDefined"] = LibraryProc(static_cast<TIsThemePartDefined>(&::IsThemePartDefined));
  e["IsThemeBackgroundPartiallyTransparent"] =
      LibraryProc(static_cast<TIsThemeBackgroundPartiallyTransparent>(&::IsThemeBackgroundPartiallyTransparent));
  e["GetThemeColor"] = LibraryProc(static_cast<TGetThemeColor>(&::GetThemeColor));
  e["GetThemeInt"] = LibraryProc(static_cast<TGetThemeInt>(&::GetThemeInt));
  e["GetThemeMargins"] = LibraryProc(static_cast<TGetThemeMargins>(&::GetThemeMargins));
  e["GetThemeSysColor"] = LibraryProc(static_cast<TGetThemeSysColor>(&::GetThemeSysColor));
  e["GetThemeSysFont"] = LibraryProc(static_cast<TGetThemeSysFont>(&::GetThemeSysFont));
  e["IsThemeActive"] = LibraryProc(static_cast<TIsThemeActive>(&::IsThemeActive));
  e["IsAppThemed"] = LibraryProc(static_cast<TIsAppThemed>(&::IsAppThemed));
  e["GetCurrentThemeName"] = LibraryProc(static_cast<TGetCurrentThemeName>(&::GetCurrentThemeName));
  e["DrawThemeParentBackground"] =
      LibraryProc(static_cast<TDrawThemeParentBackground>(&::DrawThemeParentBackground));
  e["EnableTheming"] = LibraryProc(static_cast<TEnableTheming>(&::EnableTheming));
  return e;
}

HLIBMODULE LoadLibraryModule(const std::string& Name) {
  if (Name.empty()) return nullptr;
  auto& modules = Registry().Modules;
  auto it = modules.find(LibraryKey(Name));
  if (it == modules.end() || !it->second->Installed) return nullptr;
  ++it->second->LoadCount;
  return it->second.get();
}

void FreeLibraryModule(HLIBMODULE Module) {
  if (Module && Module->LoadCount > 0) --Module->LoadCount;
}

TLibraryProc GetLibraryProc(HLIBMODULE Module, const char* ProcName) {
  if (!Module || !ProcName) return nullptr;
  auto it = Module->Exports.find(ProcName);
  return it == Module->Exports.end() ? nullptr : it->second;
}

std::optional<TLibraryExports> SetLibraryExports(const std::string& Name, std::optional<TLibraryExports> Exports) {
  TLibraryModule& m = Registry().Entry(Name);
  std::optional<TLibraryExports> previous;
  if (m.Installed) previous = m.Exports;
  if (Exports) {
    m.Exports = std::move(*Exports);
    m.Installed = true;
  } else {
    m.Installed = false;
  }
  return previous;
}

int LibraryLoadCount(const std::string& Name) {
  auto& modules = Registry().Modules;
  auto it = modules.find(LibraryKey(Name));
  return it == modules.end() ? 0 : it->second->LoadCount;
}

// ---- the binding --------------------------------------------------------------------
namespace {

template <class F>
void BindProc(HLIBMODULE module, F& variable, const char* name) {
  variable = LibraryProcAs<F>(GetLibraryProc(module, name));
}

}  // namespace

TThemeBinding::~TThemeBinding() { Unload(); }

bool TThemeBinding::Bind(const std::string& LibraryName) {
  if (FLoaded) return true;
  HLIBMODULE module = LoadLibraryModule(LibraryName);
  if (!module) return false;
  FHandle = module;
  FLoaded = true;
  // A missing export leaves its variable empty: that feature is unavailable, and the
  // program goes on with the functions it has.
  BindProc(module, OpenThemeData, "OpenThemeData");
  BindProc(module, CloseThemeData, "CloseThemeData");
  BindProc(module, DrawThemeBackground, "DrawThemeBackground");
  BindProc(module, DrawThemeText, "DrawThemeText");
  BindProc(module, GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
  BindProc(module, GetThemeBackgroundExtent, "GetThemeBackgroundExtent");
  BindProc(module, GetThemeTextExtent, "GetThemeTextExtent");
  BindProc(module, GetThemeTextMetrics, "GetThemeTextMetrics");
  BindProc(module, GetThemeBackgroundRegion, "GetThemeBackgroundRegion");
  BindProc(module, HitTestThemeBackground, "HitTestThemeBackground");
  BindProc(module, DrawThemeEdge, "DrawThemeEdge");
  BindProc(module, DrawThemeIcon, "DrawThemeIcon");
  BindProc(module, IsThemePartDefined, "IsThemePartDefined");
  BindProc(module, IsThemeBackGroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent");
  BindProc(module, GetThemeColor, "GetThemeColor");
  BindProc(module, GetThemeMetric, "GetThemeMetric");
  BindProc(module, GetThemeString, "GetThemeString");
  BindProc(module, GetThemeBool, "GetThemeBool");
  BindProc(module, GetThemeInt, "GetThemeInt");
  BindProc(module, GetThemeEnumValue, "GetThemeEnumValue");
  BindProc(module, GetThemePosition, "GetThemePosition");
  BindProc(module, GetThemeFont, "GetThemeFont");
  BindProc(module, GetThemeRect, "GetThemeRect");
  BindProc(module, GetThemeMargins, "GetThemeMargins");
  BindProc(module, GetThemeIntList, "GetThemeIntList");
  BindProc(module, SetWindowTheme, "SetWindowTheme");
  BindProc(module, GetThemeFilename, "GetThemeFilename");
  BindProc(module, GetThemeSysColor, "GetThemeSysColor");
  BindProc(module, GetThemeSysColorBrush, "GetThemeSysColorBrush");
  BindProc(module, GetThemeSysBool, "GetThemeSysBool");
  BindProc(module, GetThemeSysSize, "GetThemeSysSize");
  BindProc(module, GetThemeSysFont, "GetThemeSysFont");
  BindProc(module, GetThemeSysString, "GetThemeSysString");
  BindProc(module, GetThemeSysInt, "GetThemeSysInt");
  BindProc(module, IsThemeActive, "IsThemeActive");
  BindProc(module, IsAppThemed, "IsAppThemed");
  BindProc(module, GetWindowTheme, "GetWindowTheme");
  BindProc(module, EnableThemeDialogTexture, "EnableThemeDialogTexture");
  BindProc(module, IsThemeDialogTextureEnabled, "IsThemeDialogTextureEnabled");
  BindProc(module, GetThemeAppProperties, "GetThemeAppProperties");
  BindProc(module, SetThemeAppProperties, "SetThemeAppProperties");
  BindProc(module, GetCurrentThemeName, "GetCurrentThemeName");
  BindProc(module, GetThemeDocumentationProperty, "GetThemeDocumentationProperty");
  BindProc(module, GetThemePartSize, "GetThemePartSize");
  BindProc(module, DrawThemeParentBackground, "DrawThemeParentBackground");
  BindProc(module, EnableTheming, "EnableTheming");
  return true;
}

void TThemeBinding::Unload() {
  if (!FLoaded) return;
  FreeLibraryModule(FHandle);
  FHandle = nullptr;
  FLoaded = false;
}

void TThemeBinding::Clear() {
  Unload();
  OpenThemeData = nullptr;
  CloseThemeData = nullptr;
  DrawThemeBackground = nullptr;
  DrawThemeBackgroundEx = nullptr;
  DrawThemeText = nullptr;
  GetThemeBackgroundContentRect = nullptr;
  GetThemeBackgroundExtent = nullptr;
  GetThemeTextExtent = nullptr;
  GetThemeTextMetrics = nullptr;
  GetThemeBackgroundRegion = nullptr;
  HitTestThemeBackground = nullptr;
  DrawThemeEdge = nullptr;
  DrawThemeIcon = nullptr;
  IsThemePartDefined = nullptr;
  IsThemeBackGroundPartiallyTransparent = nullptr;
  GetThemeColor = nullptr;
  GetThemeMetric = nullptr;
  GetThemeString = nullptr;
  GetThemeBool = nullptr;
  GetThemeInt = nullptr;
  GetThemeEnumValue = nullptr;
  GetThemePosition = nullptr;
  GetThemeFont = nullptr;
  GetThemeRect = nullptr;
  GetThemeMargins = nullptr;
  GetThemeIntList = nullptr;
  SetWindowTheme = nullptr;
  GetThemeFilename = nullptr;
  GetThemeSysColor = nullptr;
  GetThemeSysColorBrush = nullptr;
  GetThemeSysBool = nullptr;
  GetThemeSysSize = nullptr;
  GetThemeSysFont = nullptr;
  GetThemeSysString = nullptr;
  GetThemeSysInt = nullptr;
  IsThemeActive = nullptr;
  IsAppThemed = nullptr;
  GetWindowTheme = nullptr;
  EnableThemeDialogTexture = nullptr;
  IsThemeDialogTextureEnabled = nullptr;
  GetThemeAppProperties = nullptr;
  SetThemeAppProperties = nullptr;
  GetCurrentThemeName = nullptr;
  GetThemeDocumentationProperty = nullptr;
  GetThemePartSize = nullptr;
  DrawThemeParentBackground = nullptr;
  EnableTheming = nullptr;
}

bool TThemeBinding::CanDrawThemed() const {
  if (!FLoaded || !OpenThemeData || !CloseThemeData || !DrawThemeBackground || !IsAppThemed || !IsThemeActive)
    return false;
  return IsAppThemed() != 0 && IsThemeActive() != 0;
}

TThemeBinding& XPThemeBinding() {
  Registry();  // the libraries outlive the binding that holds one of them
  static TThemeBinding binding;
  static bool bound = (binding.Bind(), true);
  (void)bound;
  return binding;
}

void ReloadXPThemeBinding() {
  TThemeBinding& binding = XPThemeBinding();
  binding.Clear();
  binding.Bind();
}
