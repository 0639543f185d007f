#include "foundation/DizAppStyler.h"

#include <algorithm>
#include <cstdio>

#include "foundation/DizThemeBinding.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

constexpr int StylerVersionNr = (1 << 24) | (2 << 16) | (2 << 8) | 0;

std::string FormatVersion(int nr) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", (nr >> 24) & 0xFF, (nr >> 16) & 0xFF, (nr >> 8) & 0xFF,
                nr & 0xFF);
  return text;
}

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }
bool Loading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }

bool IsForm(const TComponent* c) { return c && c->InheritsFrom("TCustomForm"); }
bool IsFrame(const TComponent* c) { return c && c->InheritsFrom("TCustomFrame"); }

const char* const NotifierClassName = "TThemeNotifierWindow";

}  // namespace

// ---- XP colour scheme ---------------------------------------------------------------
DUZERazav XPColorSchemeStyle() {
  switch (XPColorScheme()) {
    case 1: return tsOffice2003Blue;
    case 2: return tsOffice2003Olive;
    case 3: return tsOffice2003Silver;
    default: return tsOffice2003Classic;
  }
}

// ---- theme notifier -----------------------------------------------------------------
TThemeNotifierWindow::TThemeNotifierWindow(TNotifyEvent OnThemeChange) : FOnThemeChange(std::move(OnThemeChange)) {
  static bool registered = [] {
    WNDCLASS wc;
    wc.lpfnWndProc = &TThemeNotifierWindow::StaticWndProc;
    wc.hInstance = HInstance();
    wc.lpszClassName = NotifierClassName;
    RegisterClass(&wc);
    return true;
  }();
  (void)registered;
  FHandle = CreateWindowEx(0, NotifierClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, HInstance(), nullptr);
  if (FHandle) SetWindowLongPtr(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TThemeNotifierWindow::~TThemeNotifierWindow() {
  if (FHandle && IsWindow(FHandle)) {
    SetWindowLongPtr(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
  FHandle = nullptr;
}

LRESULT TThemeNotifierWindow::StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* self = reinterpret_cast<TThemeNotifierWindow*>(GetWindowLongPtr(Window, GWLP_USERDATA));
  if (self) return self->WndProc(Msg, WParam, LParam);
  return DefWindowProc(Window, Msg, WParam, LParam);
}

LRESULT TThemeNotifierWindow::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  HWND handle = FHandle;
  if (Msg == WM_THEMECHANGED && FOnThemeChange) FOnThemeChange(this);
  return DefWindowProc(handle, Msg, WParam, LParam);
}

// ---- form styler --------------------------------------------------------------------
void TDizFormStyler::Publish(TClassBuilder<TDizFormStyler>& P) {
  P.Enum("Style", DUZERazavInfo(), &TDizFormStyler::Style, &TDizFormStyler::SetStyle, tsCustom)
      .Bool("AutoThemeAdapt", &TDizFormStyler::AutoThemeAdapt, &TDizFormStyler::SetAutoThemeAdapt, false)
      .Component("AppStyle", &TDizFormStyler::AppStyle, &TDizFormStyler::SetAppStyle)
      .Str("Version", &TDizFormStyler::GetVersion, &TDizFormStyler::SetVersion, "1.2.2.0")
      .Event("OnApplyStyle", &TDizFormStyler::OnApplyStyle)
      .Event("OnChange", &TDizFormStyler::OnChange);
}

TDizFormStyler::TDizFormStyler(TComponent* AOwner) : TComponent(AOwner) {
  if (!Designing(this)) FNotifier = std::make_unique<TThemeNotifierWindow>([this](TObject* s) { ThemeChanged(s); });
}

TDizFormStyler::~TDizFormStyler() {
  FNotifier.reset();
  if (FAppStyle) {
    if (!Designing(this)) FAppStyle->UnRegisterFormStyler(this);
    FAppStyle->RemoveFreeNotification(this);
    FAppStyle = nullptr;
  }
}

void TDizFormStyler::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TDizFormStyler*>(Source)) {
    SetAutoThemeAdapt(other->AutoThemeAdapt());
    SetStyle(other->Style());
  }
}

void TDizFormStyler::Loaded() {
  TComponent::Loaded();
  if (Designing(this)) return;
  if (FAppStyle) {
    // The look the components show is the application styler's; when the stored look
    // is already that one, setting it changes nothing, so it is handed out here.
    if (FAppStyle->Style() == FStyle) {
      if (FStyle != tsCustom) ApplyStyle();
    } else {
      SetStyle(FAppStyle->Style());
    }
  } else {
    DUZERazav loaded = FStyle;
    SetStyle(tsCustom);
    SetStyle(loaded);
  }
  ThemeChanged(this);
}

void TDizFormStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FAppStyle) FAppStyle = nullptr;
}

void TDizFormStyler::ApplyStyle() {
  TComponent* owner = Owner();
  if (IsForm(owner)) ApplyStyleToForm(owner, FStyle);
  else if (IsFrame(owner)) ApplyStyleToFrame(owner, FStyle);
}

void TDizFormStyler::ApplyStyleToForm(TComponent* Form, DUZERazav AStyle) {
  if (!Form) return;
  // By index: a component's new look may add or free components of the form.
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    TComponent* c = Form->Components(i);
    auto* styled = dynamic_cast<IDizStyle*>(c);
    if (!styled) continue;
    bool allow = true;
    if (OnApplyStyle) OnApplyStyle(this, c, allow);
    if (allow) styled->SetComponentStyle(AStyle);
  }
}

void TDizFormStyler::ApplyStyleToFrame(TComponent* Frame, DUZERazav AStyle) {
  if (!Frame) return;
  for (int i = 0; i < Frame->ComponentCount(); ++i) {
    TComponent* c = Frame->Components(i);
    if (auto* styled = dynamic_cast<IDizStyle*>(c)) {
      bool allow = true;
      if (OnApplyStyle) OnApplyStyle(this, c, allow);
      if (allow) styled->SetComponentStyle(AStyle);
    }
    if (i < Frame->ComponentCount() && Frame->Components(i) == c && IsFrame(c)) ApplyStyleToFrame(c, AStyle);
  }
}

TStringList* TDizFormStyler::GetStyles() {
  auto* list = new TStringList();
  auto add = [list](const char* name, DUZERazav value) {
    list->AddObject(name, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(value)));
  };
  add("Office 2003 Blue", tsOffice2003Blue);
  add("Office 2003 Silver", tsOffice2003Silver);
  add("Office 2003 Olive", tsOffice2003Olive);
  add("Office 2007 Blue", tsOffice2007Luna);
  add("Office 2007 Silver", tsOffice2007Silver);
  add("Office 2007 Black", tsOffice2007Obsidian);
  add("Windows XP", tsWindowsXP);
  add("Windows Vista", tsWindowsVista);
  add("Windows 7", tsWindows7);
  add("Terminal", tsTerminal);
  return list;
}

void TDizFormStyler::ThemeChanged(TObject*) {
  if (!FAutoThemeAdapt) return;
  SetStyle(XPColorSchemeStyle());
}

void TDizFormStyler::SetStyle(DUZERazav Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  if (Value != tsCustom && !Loading(this)) ApplyStyle();
  if (OnChange) OnChange(this);
}

void TDizFormStyler::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  ThemeChanged(this);
}

void TDizFormStyler::SetAppStyle(TDizAppStyler* Value) {
  if (Value != FAppStyle && !Designing(this)) {
    if (FAppStyle) FAppStyle->UnRegisterFormStyler(this);
  }
  if (FAppStyle && FAppStyle != Value) FAppStyle->RemoveFreeNotification(this);
  FAppStyle = Value;
  if (Value) Value->FreeNotification(this);
  if (!Loading(this) && Value) SetStyle(Value->Style());
  if (!Designing(this) && Value) Value->RegisterFormStyler(this);
}

std::string TDizFormStyler::GetVersion() const { return FormatVersion(StylerVersionNr); }
int TDizFormStyler::GetVersionNr() const { return StylerVersionNr; }

// ---- application styler -------------------------------------------------------------
void TDizAppStyler::Publish(TClassBuilder<TDizAppStyler>& P) {
  P.Enum("Style", DUZERazavInfo(), &TDizAppStyler::Style, &TDizAppStyler::SetStyle, tsCustom)
      .Bool("AutoThemeAdapt", &TDizAppStyler::AutoThemeAdapt, &TDizAppStyler::SetAutoThemeAdapt, false)
      .Str("Version", &TDizAppStyler::GetVersion, &TDizAppStyler::SetVersion, "1.2.2.0")
      .Event("OnChange", &TDizAppStyler::OnChange);
}

TDizAppStyler::TDizAppStyler(TComponent* AOwner) : TComponent(AOwner) {
  if (!Designing(this)) FNotifier = std::make_unique<TThemeNotifierWindow>([this](TObject* s) { ThemeChanged(s); });
}

TDizAppStyler::~TDizAppStyler() {
  FNotifier.reset();
  // The form stylers forget this styler directly: none unregisters while the list is walked.
  for (TDizFormStyler* styler : FFormStylers) styler->FAppStyle = nullptr;
  FFormStylers.clear();
}

void TDizAppStyler::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TDizAppStyler*>(Source)) {
    SetStyle(other->Style());
    SetAutoThemeAdapt(other->AutoThemeAdapt());
  }
}

void TDizAppStyler::Loaded() {
  TComponent::Loaded();
  if (FAutoThemeAdapt) ThemeChanged(this);
}

void TDizAppStyler::RegisterFormStyler(TDizFormStyler* AStyler) {
  if (!AStyler) return;
  if (std::find(FFormStylers.begin(), FFormStylers.end(), AStyler) == FFormStylers.end())
    FFormStylers.push_back(AStyler);
}

void TDizAppStyler::UnRegisterFormStyler(TDizFormStyler* AStyler) { std::erase(FFormStylers, AStyler); }

void TDizAppStyler::ThemeChanged(TObject*) {
  if (!FAutoThemeAdapt) return;
  SetStyle(XPColorSchemeStyle());
}

void TDizAppStyler::SetStyle(DUZERazav Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  if (!Loading(this) && !Designing(this)) {
    // A form styler may unregister while it takes the look: walk a copy.
    std::vector<TDizFormStyler*> stylers = FFormStylers;
    for (TDizFormStyler* styler : stylers)
      if (std::find(FFormStylers.begin(), FFormStylers.end(), styler) != FFormStylers.end()) styler->SetStyle(Value);
  }
  if (OnChange) OnChange(this);
}

void TDizAppStyler::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  ThemeChanged(this);
}

std::string TDizAppStyler::GetVersion() const { return FormatVersion(StylerVersionNr); }
int TDizAppStyler::GetVersionNr() const { return StylerVersionNr; }
