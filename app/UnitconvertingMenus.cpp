// The main window's menus, its tool bar and their stylers, published for the stored form.
#include "app/Unitconverting.h"
#include "menus/RadUdirEtylers.h"
#include "menus/RadUdire.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuStylers.h"

void TForm1::PublishMenus(TClassBuilder<TForm1>& P) {
  P.Field("VerOvizEzur1", &TForm1::VerOvizEzur1)
      .Field("RerAvideReva1", &TForm1::RerAvideReva1)
      .Field("ZedIvadOfficeStyler1", &TForm1::ZedIvadOfficeStyler1)
      .Field("RepairPanel", &TForm1::RepairPanel)
      .Field("VivIzizEzuOfficeStyler1", &TForm1::VivIzizEzuOfficeStyler1);
}
