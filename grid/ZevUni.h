#pragma once
// Wide (UTF-16) string lists and the unicode edit, memo, edit-with-button and combo box
// controls that the grid's unicode in-place editors are built on.
//
// The lists mirror the framework's 8-bit string list operation for operation; the
// controls are wide-string faces over the layer's UTF-8 EDIT and COMBOBOX windows, which
// keep every character already, so no window-class or window-procedure scheme is needed
// to carry text beyond 8 bits.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/vcl/StdCtrls.h"

class TFiler;
class TReader;
class TWriter;
class TWideStrings;

using LCID = uint32_t;
// The user's default locale (Russian, as the program's interface).
constexpr LCID LOCALE_USER_DEFAULT_ID = 0x0419;

// ---------------------------------------------------------------------------------------
// Shows a wide list as an 8-bit (UTF-8) string list; objects are not passed through.
class TAnsiStringsForWideStrings : public TStrings {
  LORM_CLASS(TAnsiStringsForWideStrings, TStrings)
public:
  explicit TAnsiStringsForWideStrings(TWideStrings* Wide) : FWideStrings(Wide) {}
  std::string Get(int Index) const override;
  int GetCount() const override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;

private:
  TWideStrings* FWideStrings;
};

// The abstract wide string list. A concrete list overrides at least Get, GetCount,
// Clear, Delete and Insert; the base versions raise EAbstractError.
class TWideStrings : public TPersistent {
  LORM_CLASS(TWideStrings, TPersistent)
public:
  TWideStrings();
  ~TWideStrings() override;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  virtual std::u16string Get(int Index) const;
  virtual int GetCapacity() const { return GetCount(); }
  virtual int GetCount() const;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual std::u16string GetTextStr() const;
  virtual void Put(int Index, const std::u16string& S);
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual void SetCapacity(int NewCapacity) {}
  virtual void SetTextStr(const std::u16string& Value);
  virtual void SetUpdateState(bool Updating) {}
  virtual void SetLanguage(LCID Value) { FLanguage = Value; }
  virtual int Add(const std::u16string& S);
  virtual int AddObject(const std::u16string& S, TObject* AObject);
  virtual void AddStrings(TStrings* Strings);
  virtual void AddStrings(TWideStrings* Strings);
  virtual void Clear();
  virtual void Delete(int Index);
  virtual void Exchange(int Index1, int Index2);
  // A new zero-terminated buffer; free it with FreeWideText.
  virtual char16_t* GetText() const;
  virtual int IndexOf(const std::u16string& S) const;
  virtual void Insert(int Index, const std::u16string& S);
  virtual void Move(int CurIndex, int NewIndex);
  virtual void SetText(const char16_t* Text);

  void Append(const std::u16string& S) { Add(S); }
  void InsertObject(int Index, const std::u16string& S, TObject* AObject);
  int Count() const { return GetCount(); }
  std::u16string operator[](int Index) const { return Get(Index); }
  int IndexOfName(const std::u16string& Name) const;
  int IndexOfObject(TObject* AObject) const;
  std::u16string GetName(int Index) const;
  std::u16string GetValue(const std::u16string& Name) const;
  void SetValue(const std::u16string& Name, const std::u16string& Value);
  std::u16string GetCommaText() const;
  void SetCommaText(const std::u16string& Value);
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  LCID Language() const { return FLanguage; }
  TStrings* AnsiStrings() const { return FAnsiStrings.get(); }
  void SetAnsiStrings(TStrings* Value);
  bool Equals(TWideStrings* Strings) const;
  [[noreturn]] void Error(const std::string& Msg, int Data) const;

  // The stored-form value of the list (the "WideStrings" property): read and write.
  void ReadData(TReader& Reader);
  void WriteData(TWriter& Writer);

  void AssignTo(TPersistent* Dest) override;

private:
  std::unique_ptr<TAnsiStringsForWideStrings> FAnsiStrings;
  LCID FLanguage = LOCALE_USER_DEFAULT_ID;
  int FUpdateCount = 0;
};

// Compares two wide strings case-insensitively in a language: -1, 0 or 1.
int WideCompareText(const std::u16string& A, const std::u16string& B, LCID Language);
// Frees a buffer that TWideStrings::GetText returned.
void FreeWideText(char16_t* Text);
// The whole allocation of such a buffer in bytes, read from its size field.
uint32_t WideTextAllocSize(const char16_t* Text);
// A wide string in double quotes, inner double quotes doubled; and the reverse, which
// advances Pos past the item.
std::u16string WideQuotedStr(const std::u16string& S);
std::u16string WideExtractQuotedStr(const std::u16string& S, size_t& Pos);

// ---------------------------------------------------------------------------------------
// The items of a unicode combo box, kept in the combo box's own list.
class TCustomUNIComboBox;
class TComboBoxStrings : public TWideStrings {
  LORM_CLASS(TComboBoxStrings, TWideStrings)
public:
  explicit TComboBoxStrings(TCustomUNIComboBox* Combo) : FComboBox(Combo) {}
  std::u16string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  int Add(const std::u16string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  int IndexOf(const std::u16string& S) const override;
  void Insert(int Index, const std::u16string& S) override;
  TCustomUNIComboBox* ComboBox() const { return FComboBox; }

private:
  TCustomUNIComboBox* FComboBox;
};

// ---------------------------------------------------------------------------------------
// Character messages for 8-bit key handlers: a character above 255 travels in the upper
// word with 255 in the lower one, and is restored before the window sees it. Other
// messages pass unchanged.
void MakeCharMessage8Bit(TMessage& Message);
void RestoreCharMessage(TMessage& Message);

// A single-line edit whose text is read and written as wide text.
class TCustomUNIEdit : public TCustomEdit {
  LORM_PUBLISHED(TCustomUNIEdit, TCustomEdit)
public:
  explicit TCustomUNIEdit(TComponent* AOwner);
  using TCustomEdit::GetText;
  using TCustomEdit::SetText;
  std::u16string GetWideText() const;
  // Sets the text; the same text again sends no CM_TEXTCHANGED.
  void SetWideText(const std::u16string& Value);
  std::u16string GetSelText();
  void SetSelText(const std::u16string& Value);
  // Key-press handlers see character 255 for a character beyond 8 bits (and may swallow
  // it by clearing the key); the window still receives the real character.
  void WndProc(TMessage& Message) override;
  int Charset() const { return FCharset; }
  // The key-press handling of a typed character; Key 0 afterwards: swallowed.
  void DoKeyPressWide(char32_t& Key);

protected:
  int FCharset = 255;
};

class TZevUniEdit : public TCustomUNIEdit {
  LORM_PUBLISHED(TZevUniEdit, TCustomUNIEdit)
public:
  explicit TZevUniEdit(TComponent* AOwner) : TCustomUNIEdit(AOwner) {}
};

class TZevUniCustomMemo : public TCustomUNIEdit {
  LORM_PUBLISHED(TZevUniCustomMemo, TCustomUNIEdit)
public:
  explicit TZevUniCustomMemo(TComponent* AOwner) : TCustomUNIEdit(AOwner) {}
  void WndProc(TMessage& Message) override;
  TScrollStyle ScrollBars() const { return FScrollBars; }
  // Both re-create the window, which keeps the text.
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns = false;
  bool WantTabs = false;

protected:
  void CreateParams(TCreateParams& Params) override;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = false;
};

class TZevUniMemo : public TZevUniCustomMemo {
  LORM_PUBLISHED(TZevUniMemo, TZevUniCustomMemo)
public:
  explicit TZevUniMemo(TComponent* AOwner);
};

// The edit's embedded button.
class TZevEditButton : public TButton {
  LORM_PUBLISHED(TZevEditButton, TButton)
public:
  explicit TZevEditButton(TComponent* AOwner) : TButton(AOwner) {}
  TWinControl* FocusControl = nullptr;
  bool IsWinXP = false;
};

class TZevUniEditBtn : public TCustomUNIEdit {
  LORM_PUBLISHED(TZevUniEditBtn, TCustomUNIEdit)
public:
  explicit TZevUniEditBtn(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  virtual void BtnClick(TObject* Sender);
  TZevEditButton* Button() const { return FButton; }
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  bool RightAlign() const { return FRightAlign; }
  // Re-creates the window, which keeps the text.
  void SetRightAlign(bool Value);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool Value);
  std::string ButtonCaption() const;
  void SetButtonCaption(const std::string& Value);
  // The least height the font allows.
  int MinHeight();
  TNotifyEvent OnClickBtn;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

private:
  void SetEditRect();
  void PlaceButton();
  TZevEditButton* FButton;
  int FButtonWidth = 0;
  bool FEditorEnabled = true;
  bool FRightAlign = false;
  bool FIsWinXP = false;
};

class TCustomUNIComboBox : public TCustomComboBox {
  LORM_PUBLISHED(TCustomUNIComboBox, TCustomComboBox)
public:
  explicit TCustomUNIComboBox(TComponent* AOwner);
  ~TCustomUNIComboBox() override;
  void WndProc(TMessage& Message) override;
  void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) override;
  TComboBoxStrings* Items() const { return FItems.get(); }
  void SetItems(TWideStrings* Value) { FItems->Assign(Value); }
  // The framework's own item list (UTF-8).
  TStrings* AnsiItems() const { return TCustomComboBox::Items(); }
  using TCustomComboBox::GetText;
  using TCustomComboBox::SetText;
  std::u16string GetWideText() const;
  void SetWideText(const std::u16string& Value);
  std::u16string GetSelText();
  void SetSelText(const std::u16string& Value);
  // Character messages of the edit window, seen as 8-bit characters; nothing here.
  virtual void DoEditCharMsg(TMessage& Message) {}

protected:
  void KeyPress(char32_t& Key) override;

private:
  std::unique_ptr<TComboBoxStrings> FItems;
};

class TDEAUniCustomCombo : public TCustomUNIComboBox {
  LORM_PUBLISHED(TDEAUniCustomCombo, TCustomUNIComboBox)
public:
  explicit TDEAUniCustomCombo(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  int ButtonWidth() const { return FButtonWidth; }
  // Only 14 to 32 pixels; other values are ignored.
  void SetButtonWidth(int Value);
  bool Flat() const { return FFlat; }
  // A flat combo box is not three-dimensional (Ctl3D is the opposite).
  void SetFlat(bool Value);
  bool Ctl3D() const { return FCtl3D; }
  bool Etched() const { return FEtched; }
  void SetEtched(bool Value);
  bool AutoFocus = false;
  bool FocusBorder = false;
  int DropWidth() const { return FDropWidth; }
  void SetDropWidth(int Value);
  bool IsWinXP = false;
  bool MouseInControl() const { return FMouseInControl; }

protected:
  void PaintWindow(HDC DC) override;

private:
  void DrawBorders();
  int FButtonWidth;
  bool FFlat = true;
  bool FCtl3D = false;
  bool FEtched = false;
  int FDropWidth = 0;
  bool FMouseInControl = false;
  TColor FOldColor = clWindow;
  bool FOldParentColor = false;
};

class TDEAUniComboBox : public TDEAUniCustomCombo {
  LORM_PUBLISHED(TDEAUniComboBox, TDEAUniCustomCombo)
public:
  explicit TDEAUniComboBox(TComponent* AOwner) : TDEAUniCustomCombo(AOwner) {}
};
