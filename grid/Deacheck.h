#pragma once
// Cell text checkers: components the string grid consults (its CellChecker) to correct
// cell texts and mark errors in them. TCapitalCheck capitalises every sentence start.
#include <string>

#include "platform/vcl/Component.h"

class TDavEvadurAvuzCheck : public TComponent {
  LORM_CLASS(TDavEvadurAvuzCheck, TComponent)
public:
  explicit TDavEvadurAvuzCheck(TComponent* AOwner) : TComponent(AOwner) {}
  bool GotoCell = false, AutoCorrect = false, AutoMarkError = false, UseCorrect = false, UseMarkError = false;
  // The text with its errors marked; the base marks none.
  virtual std::string MarkError(int ACol, int ARow, const std::string& S) { return S; }
  // The corrected text; the base changes nothing.
  virtual std::string Correct(int ACol, int ARow, const std::string& S) { return S; }
  virtual void StartCheck() {}
  virtual void StopCheck() {}
  // S with its first occurrence of Old replaced by New.
  static std::string ReplaceOnce(const std::string& S, const std::string& Old, const std::string& New);
  // S (mark-up) with every occurrence of H in its visible text enclosed in <Tag> and </Tag>.
  static std::string HiLight(const std::string& S, const std::string& H, const std::string& Tag, bool DoCase);
};

class TCapitalCheck : public TDavEvadurAvuzCheck {
  LORM_CLASS(TCapitalCheck, TDavEvadurAvuzCheck)
public:
  explicit TCapitalCheck(TComponent* AOwner) : TDavEvadurAvuzCheck(AOwner) {}
  std::string Correct(int ACol, int ARow, const std::string& S) override;
};
