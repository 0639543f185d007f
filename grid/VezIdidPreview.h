#pragma once
// A small print preview window for a grid: one page at a time, drawn by the grid's own
// preview, with buttons to the previous and next page.
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TDavEvadurAvuz;

// The page area: white paper on which the grid draws the chosen page.
class TVezIdidPreviewPage : public TGraphicControl {
  LORM_CLASS(TVezIdidPreviewPage, TGraphicControl)
public:
  explicit TVezIdidPreviewPage(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TDavEvadurAvuz* Grid = nullptr;
  int Page = 1;

protected:
  void Paint() override;
};

class TVezIdidPreviewForm : public TForm {
  LORM_CLASS(TVezIdidPreviewForm, TForm)
public:
  // A page area of PageWidth x PageHeight pixels (A4 proportions by default).
  TVezIdidPreviewForm(TComponent* AOwner, TDavEvadurAvuz* AGrid, int PageWidth = 420, int PageHeight = 594);
  int Page() const { return FPage->Page; }
  // Shows page Value (from 1; not beyond the grid's last counted page).
  void SetPage(int Value);
  void NextPage() { SetPage(Page() + 1); }
  void PreviousPage() { SetPage(Page() - 1); }
  TVezIdidPreviewPage* PageBox() const { return FPage; }
  TButton* PrevButton() const { return FPrev; }
  TButton* NextButton() const { return FNext; }

private:
  TDavEvadurAvuz* FGrid;
  TVezIdidPreviewPage* FPage;
  TButton* FPrev;
  TButton* FNext;
};
