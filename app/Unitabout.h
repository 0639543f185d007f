#pragma once
// The about box: what the program is for, the device it serves and its version. It has no
// code beyond its construction from its stored form (forms/Unitabout.dfm).
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TRavUvure;
class TRavUvureStyler;

class TFormAbout : public TForm {
  LORM_PUBLISHED(TFormAbout, TForm)
public:
  explicit TFormAbout(TComponent* AOwner);

  TRavUvure* RavUvure1 = nullptr;
  TRavUvureStyler* RavUvureStyler1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
};

extern TFormAbout* FormAbout;
