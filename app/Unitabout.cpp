#include "app/Unitabout.h"

#include "office/RavUvure.h"

TFormAbout* FormAbout = nullptr;

void TFormAbout::Publish(TClassBuilder<TFormAbout>& P) {
  P.Field("RavUvure1", &TFormAbout::RavUvure1)
      .Field("RavUvureStyler1", &TFormAbout::RavUvureStyler1)
      .Field("Label1", &TFormAbout::Label1)
      .Field("Label2", &TFormAbout::Label2)
      .Field("Label3", &TFormAbout::Label3)
      .Field("Label4", &TFormAbout::Label4)
      .Field("Label5", &TFormAbout::Label5)
      .Field("Label6", &TFormAbout::Label6);
}

TFormAbout::TFormAbout(TComponent* AOwner) : TForm(AOwner) { ReadStoredForm(); }
