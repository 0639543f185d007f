#include "grid/VezIdidPreview.h"

#include <algorithm>

#include "grid/VezIdid.h"

void TVezIdidPreviewPage::Paint() {
  TCanvas* C = Canvas();
  TRect r{0, 0, Width(), Height()};
  C->Brush()->SetColor(clWhite);
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(r);
  if (!Grid) return;
  Grid->SetPreviewPage(Page);
  Grid->PrintPreview(C, r);
}

TVezIdidPreviewForm::TVezIdidPreviewForm(TComponent* AOwner, TDavEvadurAvuz* AGrid, int PageWidth, int PageHeight)
    : TForm(AOwner), FGrid(AGrid) {
  SetCaption("Print preview");
  SetClientWidth(PageWidth + 16);
  SetClientHeight(PageHeight + 48);
  FPrev = new TButton(this);
  FPrev->SetParent(this);
  FPrev->SetBounds(8, 8, 75, 25);
  FPrev->SetCaption("<");
  FPrev->OnClick = [this](TObject*) { PreviousPage(); };
  FNext = new TButton(this);
  FNext->SetParent(this);
  FNext->SetBounds(91, 8, 75, 25);
  FNext->SetCaption(">");
  FNext->OnClick = [this](TObject*) { NextPage(); };
  FPage = new TVezIdidPreviewPage(this);
  FPage->SetParent(this);
  FPage->SetBounds(8, 40, PageWidth, PageHeight);
  FPage->Grid = AGrid;
}

void TVezIdidPreviewForm::SetPage(int Value) {
  int last = std::max(1, FGrid ? FGrid->PrintPageCount : 1);
  Value = std::clamp(Value, 1, last);
  if (Value == FPage->Page) return;
  FPage->Page = Value;
  FPage->Invalidate();
}
