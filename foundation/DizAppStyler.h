#pragma once
// Stylers that hand one look to many components: the form styler to every component
// owned by its form or frame, the application styler to every form styler registered
// with it. Both can follow the Windows XP colour scheme and apply it again when the
// system's visual theme changes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizStyleIF.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinDef.h"

// A hidden window that tells its owner when the system's visual theme changed
// (WM_THEMECHANGED, which the window system sends to every top-level window).
class TThemeNotifierWindow : public TObject {
  LORM_CLASS(TThemeNotifierWindow, TObject)
public:
  explicit TThemeNotifierWindow(TNotifyEvent OnThemeChange);
  ~TThemeNotifierWindow() override;

  HWND Handle() const { return FHandle; }

protected:
  virtual LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);

private:
  static LRESULT StaticWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  HWND FHandle = nullptr;
  TNotifyEvent FOnThemeChange;
};

class TDizAppStyler;

using TApplyStyleEvent = std::function<void(TObject* Sender, TComponent* AComponent, bool& Allow)>;

// The look as the XP colour scheme suggests it: "NormalColor" blue, "HomeStead" olive,
// "Metallic" silver; any other scheme, an inactive theme or a missing theme library
// gives the classic look.
DUZERazav XPColorSchemeStyle();

class TDizFormStyler : public TComponent {
  LORM_PUBLISHED(TDizFormStyler, TComponent)
public:
  explicit TDizFormStyler(TComponent* AOwner);
  ~TDizFormStyler() override;

  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Hands Style to the owner's components (the owner is a form or a frame).
  void ApplyStyle();
  // Every component owned by the form that takes a look, unless OnApplyStyle vetoes it.
  // Components owned by frames on the form are left alone.
  void ApplyStyleToForm(TComponent* Form, DUZERazav AStyle);
  // The same for a frame, and for the frames it owns (each right after its own turn).
  void ApplyStyleToFrame(TComponent* Frame, DUZERazav AStyle);
  // The looks offered to users by name, each with its value as the item's object; the
  // caller owns the list.
  TStringList* GetStyles();
  void ThemeChanged(TObject* Sender);

  DUZERazav Style() const { return FStyle; }
  void SetStyle(DUZERazav Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  TDizAppStyler* AppStyle() const { return FAppStyle; }
  void SetAppStyle(TDizAppStyler* Value);
  std::string GetVersion() const;
  void SetVersion(const std::string&) {}
  int GetVersionNr() const;
  TThemeNotifierWindow* Notifier() const { return FNotifier.get(); }

  TApplyStyleEvent OnApplyStyle;
  TNotifyEvent OnChange;

private:
  friend class TDizAppStyler;
  DUZERazav FStyle = tsCustom;
  bool FAutoThemeAdapt = false;
  TDizAppStyler* FAppStyle = nullptr;
  std::unique_ptr<TThemeNotifierWindow> FNotifier;
};

class TDizAppStyler : public TComponent {
  LORM_PUBLISHED(TDizAppStyler, TComponent)
public:
  explicit TDizAppStyler(TComponent* AOwner);
  ~TDizAppStyler() override;

  void Assign(TPersistent* Source) override;
  void Loaded() override;

  // Adds a form styler once; removes it when present.
  void RegisterFormStyler(TDizFormStyler* AStyler);
  void UnRegisterFormStyler(TDizFormStyler* AStyler);
  const std::vector<TDizFormStyler*>& FormStylers() const { return FFormStylers; }
  void ThemeChanged(TObject* Sender);

  DUZERazav Style() const { return FStyle; }
  void SetStyle(DUZERazav Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  std::string GetVersion() const;
  void SetVersion(const std::string&) {}
  int GetVersionNr() const;
  TThemeNotifierWindow* Notifier() const { return FNotifier.get(); }

  TNotifyEvent OnChange;

private:
  DUZERazav FStyle = tsCustom;
  bool FAutoThemeAdapt = false;
  std::vector<TDizFormStyler*> FFormStylers;
  std::unique_ptr<TThemeNotifierWindow> FNotifier;
};
