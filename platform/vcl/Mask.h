#pragma once
// Edit masks and the masked edit.
//
// A mask has up to three fields separated by ';': the pattern, "1"/"0" for whether the
// literals are part of the value (default 1), and the character that shows an empty
// position (default '_'). Pattern characters:
//   !  missing optional characters are leading blanks (otherwise trailing)
//   >  upper case follows    <  lower case follows    <>  no case conversion
//   \  the next character is a literal
//   L  letter (required)     l  letter (optional)
//   A  letter or digit       a  letter or digit (optional)
//   C  any character         c  any character (optional)
//   0  digit                 9  digit (optional)      #  digit, + or - (optional)
//   :  the time separator    /  the date separator    _  a literal blank
// Anything else is a literal.
//
// EditText is what the edit shows: literals in place and the blank character in empty
// positions. Text is the value: empty positions as spaces, literals only when saved.
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/StdCtrls.h"

LORM_DECLARE_EXCEPTION(EDBEditError, Exception);

using TEditMask = std::string;

// Mask parsing, usable without a control.
char32_t MaskGetMaskBlank(const std::string& EditMask);
bool MaskGetMaskSave(const std::string& EditMask);
// The value formatted by the mask as the edit shows it (or as Text stores it when the
// mask saves literals). Value is the stored value (literals included when saved).
std::string FormatMaskText(const std::string& EditMask, const std::string& Value);

enum TMaskCharType { mcNone, mcLiteral, mcIntlLiteral, mcDirective, mcMask, mcMaskOpt, mcFieldSeparator, mcField };
enum TMaskStateItem { msMasked, msReEnter, msDBSetText };
using TMaskState = TSet<TMaskStateItem>;

// One position of a parsed mask.
struct TMaskPosition {
  bool Literal = true;
  char32_t Char = 0;      // the literal, or the mask character (L l A a C c 0 9 #)
  int Case = 0;           // 0 none, 1 upper, 2 lower
  bool Required() const { return !Literal && (Char == U'L' || Char == U'A' || Char == U'C' || Char == U'0'); }
  // Whether ch may be typed at this position (after case conversion).
  bool Accepts(char32_t ch) const;
};
struct TParsedMask {
  std::vector<TMaskPosition> Positions;
  bool LeadingBlanks = false;  // '!'
  bool SaveLiterals = true;
  char32_t Blank = U'_';
  bool Empty() const { return Positions.empty(); }
};
TParsedMask ParseEditMask(const std::string& EditMask);

class TCustomMaskEdit : public TCustomEdit {
  LORM_PUBLISHED(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TEditMask EditMask() const { return GetEditMask(); }
  void SetEditMask(const TEditMask& Value);
  // The text as shown (literals and blanks); setting it reformats it by the mask.
  std::string EditText();
  void SetEditText(const std::string& Value);
  bool IsMasked() const { return !FParsed.Empty(); }
  TMaskState MaskState() const { return FMaskState; }
  void SetMaskState(TMaskState Value) { FMaskState = Value; }
  void SetMaxLength(int Value) override;

  // Checks that every required position is filled; raises EDBEditError (after a beep,
  // with the caret on the first empty required position) when not. Runs on leaving the
  // edit when it was modified.
  virtual void ValidateEdit();
  // Restores the text the edit had before editing began (Escape).
  virtual void Reset();
  // Whether the text may be changed now (ReadOnly false and, for descendants, more).
  virtual bool EditCanModify();

protected:
  virtual TEditMask GetEditMask() const { return FEditMask; }
  virtual std::string GetEditText();
  virtual void SetEditTextValue(const std::string& Value);
  // Text is the value (see the file comment); with no mask, the plain text.
  std::string GetText() const override;
  void SetTextValue(const std::string& Value) override;
  void CreateWnd() override;
  void DoSetMaxLength(int Value) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoEnter() override;
  void DoExit() override;
  void ValidateError();
  void CheckCursor();
  // Reapplies the mask to the current text (after EditMask changes).
  void ReformatText(const std::string& NewMask);
  // Whether the mask accepts Key at Pos (case converted in place).
  bool IsValidMaskChar(char32_t& Key, int Pos) const;
  int GetFirstEditChar() const;
  int GetLastEditChar() const;
  int GetNextEditChar(int Offset) const;
  int GetPriorEditChar(int Offset) const;
  int GetMaxChars() const { return int(FParsed.Positions.size()); }
  // Moves the caret to the edit position at or after Pos, selecting one character.
  void SetCursor(int Pos);
  virtual bool Validate(const std::u16string& Value, int& Pos);

  TEditMask FEditMask;
  TParsedMask FParsed;
  TMaskState FMaskState;
  std::string FOldValue;  // EditText when editing began (Reset)
  bool FSettingCursor = false;

private:
  std::u16string EditChars();
  void SetEditChars(const std::u16string& Chars, int CaretPos);
  void DeleteSelection(std::u16string& Chars, int Start, int End) const;
  bool HandleDeleteKeys(WORD Key, TShiftState Shift);
  void PasteMasked();
  void CutMasked();
  std::u16string BlankEditText() const;
};

class TMaskEdit : public TCustomMaskEdit {
  LORM_PUBLISHED(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
