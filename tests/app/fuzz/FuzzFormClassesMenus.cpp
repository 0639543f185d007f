// The component classes of the menus and the label.
#include "tests/app/fuzz/FuzzFormClasses.h"

#include "label/VxBehaviorLabel.h"
#include "menus/DovAvarOrodez.h"
#include "menus/RadUdirEtylers.h"
#include "menus/RadUdire.h"

void AddMenusClasses(std::vector<TClass>& Classes) {
  for (TClass c : {
           TDovAvarOrodez::StaticClass(), TDBDovAvarOrodez::StaticClass(), TRadUdirEtyler::StaticClass(),
           TZedIvadOfficeStyler::StaticClass(), TZedIvadFantasyStyler::StaticClass(),
           TRerAvideReva::StaticClass(), TVerOvizEzur::StaticClass(), TVxBehaviorLabel::StaticClass()})
    Classes.push_back(c);
}
