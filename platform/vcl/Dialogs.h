#pragma once
// Message boxes and the file dialogs.
//
// Every message box (MessageBox, Application->MessageBox, MessageDlg, ShowMessage) goes
// through the application's message service (platform/rtl/MessageService.h): an installed
// handler (a test responder) answers first; otherwise this unit shows the box as a modal
// window drawn by the layer (icon, text, buttons). The open and save dialogs work the same
// way with their own handler (TFileDialogRecorder in tests) or a modal window with folder
// navigation, the list of the files matching the chosen filter and a name field.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/vcl/StdCtrls.h"

// ---- message boxes ----------------------------------------------------------------------
// The system message box: MB_ type, icon, default button and MB_HELP in Type; answers ID*.
// hWnd (the owner) may be null.
int MessageBox(HWND hWnd, const std::string& Text, const std::string& Caption, UINT Type);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The framework's message dialog: caption from the type ("Предупреждение", "Ошибка",
// "Информация", "Подтверждение"; mtCustom: the application's title), the buttons in the
// order of TMsgDlgBtn, answers mr*. Enter presses OK (else Yes, else the first button),
// Escape Cancel (else No, else OK). An empty button set shows OK. Help does not close the
// box (there is no help system).
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
               TMsgDlgBtn DefaultButton);
// A box with the application's title, the message and OK.
void ShowMessage(const std::string& Msg);

// The buttons of an MB_ type (with MB_HELP and MB_DEFBUTTONn applied), in display order.
std::vector<TMessageBoxButton> MessageBoxButtonsOfType(int Flags);
// The buttons MessageDlg shows for a set (Default and Cancel marked).
std::vector<TMessageBoxButton> MessageDlgButtons(TMsgDlgButtons Buttons, std::optional<TMsgDlgBtn> DefaultButton = {});

// Draws the 32 x 32 message box icon of the MB_ICON* bits of IconFlags (stop, question,
// warning, information) with its top-left corner at (X, Y); nothing for 0.
void DrawMessageIcon(HDC DC, int X, int Y, int IconFlags);

// The control showing that icon.
class TMessageIcon : public TGraphicControl {
  LORM_CLASS(TMessageIcon, TGraphicControl)
public:
  explicit TMessageIcon(TComponent* AOwner);
  int IconFlags = 0;

protected:
  void Paint() override;
};

// The message box window: icon, text, a row of buttons centred under them. Enter presses
// the focused button (at first the default one), Escape the Cancel button, Tab moves
// between the buttons, a letter (or Alt + letter) presses the button it underlines.
class TMessageForm : public TForm {
  LORM_CLASS(TMessageForm, TForm)
public:
  TMessageForm(TComponent* AOwner, const std::string& Text, const std::string& Caption, int Flags,
               const std::vector<TMessageBoxButton>& Buttons);
  TMessageIcon* Icon = nullptr;    // null without an icon
  TLabel* Message = nullptr;
  std::vector<TButton*> Buttons;   // in display order
  // Shows the box modally and answers the result of the pressed button (closing the box
  // answers the Cancel button's result).
  int Run();
  TButton* FindButton(const std::string& Caption) const;

protected:
  void KeyPress(char32_t& Key) override;
  void DoClose(TCloseAction& Action) override;
  void DoShow() override;

private:
  std::vector<TMessageBoxButton> FButtons;
  TButton* FFirstFocus = nullptr;
  int FCancelResult = 0;
  bool FHasCancel = false;
};

// The handler this unit installs as the message service's fallback: the box as a modal
// window. Exposed so that a program can install it again after replacing it.
int ShowMessageWindow(const std::string& Text, const std::string& Caption, int Flags);

// ---- file dialogs -------------------------------------------------------------------------
enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

// What a file dialog asks (given to a file dialog handler).
struct TFileDialogRequest {
  bool Save = false;
  std::string Title;       // the window's caption (the dialog's Title or the default one)
  std::string Filter;
  int FilterIndex = 1;
  std::string InitialDir;  // the folder the dialog starts in
  std::string FileName;    // the name field's starting text
  std::string DefaultExt;
  TOpenOptions Options;
};

// A handler's answer: the names as typed into the name field (relative to the starting
// folder, or absolute) and the chosen filter (0: unchanged).
struct TFileDialogAnswer {
  std::vector<std::string> Files;
  int FilterIndex = 0;
};

// Answers file dialogs instead of the window; false cancels. An answer goes through the
// same checks as one typed into the window (default extension, must-exist, overwrite
// prompt through the message service, OnCanClose); when they refuse it the handler is
// asked again, as the window would stay open.
using TFileDialogHandler = std::function<bool(const TFileDialogRequest& Request, TFileDialogAnswer& Answer)>;
TFileDialogHandler SetFileDialogHandler(TFileDialogHandler Handler);

// A test responder: records every request and answers from a queue (cancel when empty).
class TFileDialogRecorder {
public:
  TFileDialogRecorder();
  ~TFileDialogRecorder();
  TFileDialogRecorder(const TFileDialogRecorder&) = delete;
  TFileDialogRecorder& operator=(const TFileDialogRecorder&) = delete;

  void Answer(const std::string& FileName, int FilterIndex = 0);
  void AnswerFiles(const std::vector<std::string>& Files, int FilterIndex = 0);
  void AnswerCancel();
  const std::vector<TFileDialogRequest>& Shown() const { return FShown; }
  size_t PendingAnswers() const { return FAnswers.size(); }

private:
  std::vector<TFileDialogRequest> FShown;
  std::deque<std::optional<TFileDialogAnswer>> FAnswers;
  TFileDialogHandler FPrevious;
};

// The pairs of a filter "description|mask|description|mask" (a mask may hold several
// patterns separated by ";").
struct TFilterItem {
  std::string Description;
  std::string Mask;
};
std::vector<TFilterItem> ParseFilter(const std::string& Filter);
// True when a file name matches one of the mask's patterns ("*", "?"; letters compared
// without case; "*.*" matches every name).
bool MatchesMask(const std::string& FileName, const std::string& Mask);

class TCommonDialog : public TComponent {
  LORM_PUBLISHED(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* AOwner);
  virtual bool Execute() = 0;
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  virtual void DoShow();
  virtual void DoClose();

private:
  bool FCtl3D = true;
  int FHelpContext = 0;
};

class TFileDialogForm;

class TOpenDialog : public TCommonDialog {
  LORM_PUBLISHED(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  // Shows the dialog; true when the user chose a file (FileName, Files, FilterIndex set).
  bool Execute() override;

  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  // The chosen files (ofAllowMultiSelect), full names; one entry otherwise.
  TStrings* Files() const { return FFiles.get(); }
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  // 1-based; out of range shows the first filter.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnTypeChange;

  // The user confirmed names typed in Folder (the window's OK button, a handler's answer):
  // applies the default extension and the checks of the options (asking through message
  // boxes), then OnCanClose. True when the dialog may close; FileName and Files are then
  // set (and left unchanged when it may not). OverwriteAsked: the desktop's own chooser
  // has already asked whether to replace the file as named, so the overwrite prompt is
  // left out unless the default extension changed the name.
  bool AcceptNames(const std::vector<std::string>& Typed, const std::string& Folder, int ChosenFilter,
                   bool OverwriteAsked = false);

protected:
  virtual bool IsSaveDialog() const { return false; }
  std::string DefaultTitle() const;

private:
  friend class TFileDialogForm;
  TFileDialogRequest MakeRequest() const;
  // Takes answers from Source (false: cancel) until one is accepted; a refused answer asks
  // again, as the window would stay open.
  bool AcceptAnswers(const TFileDialogRequest& Request, const std::function<bool(TFileDialogAnswer&)>& Source,
                     bool OverwriteAsked);
  // The desktop's own chooser (the XDG desktop portal); false when there is none, and
  // Chosen then is not set.
  bool ExecuteDesktopChooser(const TFileDialogRequest& Request, bool& Chosen);
  bool ExecuteWindow(const TFileDialogRequest& Request);
  std::string FDefaultExt, FFileName, FFilter, FInitialDir, FTitle;
  std::unique_ptr<TStringList> FFiles;
  int FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  std::string FLastFolder;  // where the last successful run ended (the next run starts there)
};

class TSaveDialog : public TOpenDialog {
  LORM_PUBLISHED(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
  bool IsSaveDialog() const override { return true; }
};

// A push button showing a picture drawn by a function (the file dialog's "up one level").
class TPictureButton : public TButton {
  LORM_CLASS(TPictureButton, TButton)
public:
  explicit TPictureButton(TComponent* AOwner) : TButton(AOwner) {}
  std::function<void(HDC DC, const TRect& R, bool Enabled)> DrawPicture;

protected:
  void PaintButton(HDC DC) override;
};

// The column headings over the file dialog's list (themed header items, or raised
// button-face cells in the classic look).
class TFileListHeader : public TGraphicControl {
  LORM_CLASS(TFileListHeader, TGraphicControl)
public:
  explicit TFileListHeader(TComponent* AOwner) : TGraphicControl(AOwner) {}
  struct TColumn {
    std::string Caption;
    int Width = 0;        // the last column takes what is left
    bool Right = false;   // right-aligned
  };
  std::vector<TColumn> Columns;

protected:
  void Paint() override;
};

// The file dialog window. The folder path field (Enter goes there), the up button, the bar
// of places (desktop, home folder, the file system's root: a click opens one), the list
// of sub-folders and of the files matching the filter (double click or Enter opens a folder
// or takes a file; Backspace goes up), the name field, the filter combo, OK and Cancel.
class TFileDialogForm : public TForm {
  LORM_CLASS(TFileDialogForm, TForm)
public:
  TFileDialogForm(TOpenDialog* Dialog, const TFileDialogRequest& Request);
  struct TEntry {
    std::string Name;
    bool Folder = false;
    std::uintmax_t Size = 0;    // bytes (files)
    long long Modified = -1;    // seconds since 1970 (-1: unknown)
  };
  // The list's columns: the size as Windows shows it ("0 КБ", "1 КБ", "12 345 КБ"; empty
  // for folders) and the modification time in local time ("10.12.2026 19:43").
  static std::string SizeText(const TEntry& Entry);
  static std::string ModifiedText(const TEntry& Entry);
  // A place of the bar: its caption and folder. Only places that exist are shown: the
  // desktop ($HOME/Desktop or $HOME/Рабочий стол), the home folder ($HOME), the root.
  struct TPlace {
    std::string Caption;
    std::string Folder;
  };
  static std::vector<TPlace> Places();
  TPanel* PlacesBar = nullptr;
  std::vector<TSpeedButton*> PlaceButtons;  // in the order of Places()
  TLabel* FolderLabel = nullptr;
  TEdit* PathEdit = nullptr;
  TPictureButton* UpButton = nullptr;
  TFileListHeader* ListHeader = nullptr;
  TListBox* FileList = nullptr;
  TLabel* NameLabel = nullptr;
  TEdit* NameEdit = nullptr;
  TLabel* TypeLabel = nullptr;
  TComboBox* FilterCombo = nullptr;
  TCheckBox* ReadOnlyCheck = nullptr;  // null with ofHideReadOnly
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;

  const std::string& Folder() const { return FFolder; }
  const std::vector<TEntry>& Entries() const { return FEntries; }
  // Shows another folder; false (with a message box) when it cannot be read.
  bool ChangeFolder(const std::string& Folder);
  // 1-based index of the chosen filter.
  int ChosenFilter() const;
  // The names in the name field: one name, or several in double quotes.
  std::vector<std::string> TypedNames() const;
  // What the OK button does: open the folder or path given, or hand the names to the dialog.
  void Confirm();

protected:
  void DoShow() override;

private:
  void FillList();
  void ShowPath();
  void ListClick(TObject* Sender);
  void ListDblClick(TObject* Sender);
  void ListKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void DrawEntry(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
  void FilterChange(TObject* Sender);
  void OpenEntry(int Index);
  std::string CurrentMask() const;

  TOpenDialog* FDialog;
  TFileDialogRequest FRequest;
  std::vector<TFilterItem> FFilters;
  std::string FFolder;
  std::string FTypedMask;  // a mask typed into the name field replaces the filter's
  // The names last picked from the list and the name field's text they gave.
  std::vector<std::string> FPickedNames;
  std::string FPickedText;
  std::vector<TEntry> FEntries;
};
