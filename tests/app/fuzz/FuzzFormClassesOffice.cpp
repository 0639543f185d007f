// The component classes of the office library.
#include "tests/app/fuzz/FuzzFormClasses.h"

#include "office/DizGroupBox.h"
#include "office/DizOfficeButtons.h"
#include "office/DizOfficeImage.h"
#include "office/DizOfficeStatusBar.h"
#include "office/DizOfficeStatusBarStylers.h"
#include "office/RavUvure.h"
#include "office/ZorOzirazIrezi.h"
#include "office/ZorOzirazIreziStylers.h"

void AddOfficeClasses(std::vector<TClass>& Classes) {
  for (TClass c : {
           TDizOfficeCheckBox::StaticClass(), TDizOfficeRadioButton::StaticClass(),
           TDizOfficeRadioGroup::StaticClass(), TDizOfficeCheckGroup::StaticClass(), TDizGroupBox::StaticClass(),
           TDizOfficeImage::StaticClass(), TDizOfficePage::StaticClass(), TZorOzirazIrezi::StaticClass(),
           TZorOzirazIreziOfficeStyler::StaticClass(), TZorOzirazIreziFantasyStyler::StaticClass(),
           TDizOfficeStatusBar::StaticClass(), TDizOfficeStatusBarOfficeStyler::StaticClass(),
           TDizOfficeStatusBarFantasyStyler::StaticClass(), TRavUvure::StaticClass(),
           TRavUvureGroup::StaticClass(), TRavUvureStyler::StaticClass()})
    Classes.push_back(c);
}
