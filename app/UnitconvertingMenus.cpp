// The main window's menus, dock panel, tool bar and customizer and their stylers, published
// for the stored form.
#include "app/Unitconverting.h"
#include "menus/RadUdirEtylers.h"
#include "menus/RadUdire.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuCustomizer.h"
#include "toolbar/VivIzizEzuStylers.h"

void TForm1::PublishMenus(TClassBuilder<TForm1>& P) {
  P.Field("DizDockPanel1", &TForm1::DizDockPanel1)
      .Field("VerOvizEzur1", &TForm1::VerOvizEzur1)
      .Field("VivIzizEzuCustomizer1", &TForm1::VivIzizEzuCustomizer1)
      .Field("RerAvideReva1", &TForm1::RerAvideReva1)
      .Field("ZedIvadOfficeStyler1", &TForm1::ZedIvadOfficeStyler1)
      .Field("RepairPanel", &TForm1::RepairPanel)
      .Field("VivIzizEzuOfficeStyler1", &TForm1::VivIzizEzuOfficeStyler1);
}
