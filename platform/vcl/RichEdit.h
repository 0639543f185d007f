#pragma once
// The rich edit control: a document of formatted characters and paragraphs (RichText.h)
// shown, typed into and selected in a window, driven by the rich edit messages
// (EM_STREAMIN/OUT, EM_GET/SETCHARFORMAT, EM_EXGET/EXSETSEL, EM_REQUESTRESIZE with the
// EN_REQUESTRESIZE notification, EM_FORMATRANGE rendering into any DC), and the
// framework's TRichEdit over it (Lines loading and saving rich text, PlainText,
// SelAttributes, WordWrap).
#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/RichText.h"
#include "platform/win/ToolTip.h"

enum : UINT {
  EM_CANPASTE = WM_USER + 50, EM_EXGETSEL = WM_USER + 52, EM_EXSETSEL = WM_USER + 55,
  EM_FORMATRANGE = WM_USER + 57, EM_GETCHARFORMAT = WM_USER + 58, EM_GETEVENTMASK = WM_USER + 59,
  EM_GETPARAFORMAT = WM_USER + 61, EM_REQUESTRESIZE = WM_USER + 65, EM_SETBKGNDCOLOR = WM_USER + 67,
  EM_SETCHARFORMAT = WM_USER + 68, EM_SETEVENTMASK = WM_USER + 69, EM_SETPARAFORMAT = WM_USER + 71,
  EM_STREAMIN = WM_USER + 73, EM_STREAMOUT = WM_USER + 74, EM_GETTEXTRANGE = WM_USER + 75,
  EM_SETTARGETDEVICE = WM_USER + 72,
};
enum : WPARAM { SCF_DEFAULT = 0, SCF_SELECTION = 1, SCF_ALL = 4 };
enum : WPARAM { SF_TEXT = 1, SF_RTF = 2, SFF_SELECTION = 0x8000 };
enum : UINT { EN_SELCHANGE = 0x0702, EN_REQUESTRESIZE = 0x0701, EN_CHANGE_RICH = 0x0300 };
enum : DWORD { ENM_CHANGE = 0x1, ENM_SELCHANGE = 0x80000, ENM_REQUESTRESIZE = 0x40000 };
enum : DWORD { PFM_ALIGNMENT = 0x8 };
enum : WORD { PFA_LEFT = 1, PFA_RIGHT = 2, PFA_CENTER = 3 };

// Character format: the face name is UTF-8; heights in twips; offset in twips.
struct CHARFORMAT2 {
  UINT cbSize = sizeof(CHARFORMAT2);
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  LONG yHeight = 0;
  LONG yOffset = 0;
  TColor crTextColor = 0;
  BYTE bCharSet = 1;
  BYTE bPitchAndFamily = 0;
  char szFaceName[32] = {};
};
struct PARAFORMAT2 {
  UINT cbSize = sizeof(PARAFORMAT2);
  DWORD dwMask = 0;
  WORD wAlignment = PFA_LEFT;
};
struct CHARRANGE {
  LONG cpMin = 0, cpMax = 0;
};
// Rectangles in twips; rendering into hdc, measuring for hdcTarget.
struct FORMATRANGE {
  HDC hdc = nullptr;
  HDC hdcTarget = nullptr;
  RECT rc{};
  RECT rcPage{};
  CHARRANGE chrg;
};
struct REQRESIZE {
  NMHDR nmhdr;
  RECT rc;
};
using EDITSTREAMCALLBACK = std::function<DWORD(DWORD_PTR Cookie, BYTE* Buffer, LONG Count, LONG* Done)>;
struct EDITSTREAM {
  DWORD_PTR dwCookie = 0;
  DWORD dwError = 0;
  EDITSTREAMCALLBACK pfnCallback;
};

class TCustomRichEdit;

// Attributes of the selection (or of the whole text, DefAttributes): reading gives the
// selection's format, writing applies it to the selection.
class TTextAttributes : public TPersistent {
  LORM_CLASS(TTextAttributes, TPersistent)
public:
  TTextAttributes(TCustomRichEdit* Edit, bool Selection) : FEdit(Edit), FSelection(Selection) {}
  std::string Name() const;
  void SetName(const std::string& Value);
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const;
  void SetStyle(TFontStyles Value);
  TColor Color() const;
  void SetColor(TColor Value);
  int Charset() const;
  void Assign(TPersistent* Source) override;

private:
  CHARFORMAT2 Get() const;
  void Set(CHARFORMAT2& Format) const;
  TCustomRichEdit* FEdit;
  bool FSelection;
};

// The lines of a rich edit as plain text; LoadFromStream reads rich text unless the edit
// is in PlainText mode (or the stream is not rich text), SaveToStream writes it.
class TRichEditStrings : public TStrings {
  LORM_CLASS(TRichEditStrings, TStrings)
public:
  explicit TRichEditStrings(TCustomRichEdit* Edit) : FEdit(Edit) {}
  std::string Get(int Index) const override;
  int GetCount() const override;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  std::string GetText() const override;
  void SetText(const std::string& Value) override;
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;

private:
  TCustomRichEdit* FEdit;
};

class TCustomRichEdit : public TWinControl {
  LORM_PUBLISHED(TCustomRichEdit, TWinControl)
public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  TRichDocument& Document() { return FDoc; }
  const TRichDocument& Document() const { return FDoc; }
  TStrings* Lines() const { return FLines.get(); }
  TTextAttributes* SelAttributes() const { return FSelAttributes.get(); }
  TTextAttributes* DefAttributes() const { return FDefAttributes.get(); }
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool Value) { FPlainText = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  int SelStart() const { return FSelStart; }
  void SetSelStart(int Value);
  int SelLength() const { return FSelLength; }
  void SetSelLength(int Value);
  std::string SelText() const;
  void SetSelText(const std::string& Value);
  void SelectAll();
  void Clear();
  // The width and height the content needs at the present width (pixels).
  TPoint ContentSize();
  TColor BackgroundColor = clWindow;

  // The rich text of the whole document or of the selection, and loading it.
  std::string GetRtf(bool Selection = false) const;
  void SetRtf(const std::string& Rtf, bool Selection = false);
  // Lays the text out in R (device pixels) of DC; draws it when Draw; returns the end
  // of what fits (the character index) and the height used.
  int Render(HDC DC, const TRect& R, int First, int Last, bool Draw, int* UsedHeight = nullptr,
             int* UsedWidth = nullptr);

  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChange;
  std::function<void(TObject* Sender, const TRect& Rect)> OnResizeRequest;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // The content asks for Rect (pixels, at the control's left and top); the default
  // raises OnResizeRequest.
  virtual void RequestSize(const TRect& Rect);
  virtual void Change();
  virtual void SelectionChange();
  // The document changed: repaint, notify, ask for a new size.
  void ContentChanged();

private:
  friend class TTextAttributes;
  friend class TRichEditStrings;
  LRESULT RichMessage(TMessage& Message, bool& Handled);
  void InsertTyped(const std::u16string& S);
  void SetSel(int Start, int End);
  int CaretFromPoint(int X, int Y);
  void SendRequestResize();
  TRichDocument FDoc;
  std::unique_ptr<TRichEditStrings> FLines;
  std::unique_ptr<TTextAttributes> FSelAttributes, FDefAttributes;
  bool FPlainText = false;
  bool FWordWrap = true;
  bool FReadOnly = false;
  int FSelStart = 0, FSelLength = 0;
  int FAnchor = 0;
  TRichCharFormat FInsertFormat;
  bool FInsertFormatSet = false;
  DWORD FEventMask = 0;
};

class TRichEdit : public TCustomRichEdit {
  LORM_PUBLISHED(TRichEdit, TCustomRichEdit)
public:
  explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};
