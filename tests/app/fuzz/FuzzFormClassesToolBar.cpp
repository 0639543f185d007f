// The component classes of the tool bar library.
#include "tests/app/fuzz/FuzzFormClasses.h"

#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuCustomizer.h"
#include "toolbar/VivIzizEzuStylers.h"

using namespace VivIzizEzu;

void AddToolBarClasses(std::vector<TClass>& Classes) {
  for (TClass c : {
           TDizDockPanel::StaticClass(), TVivIzizEzu::StaticClass(), TVivIzizEzuButton::StaticClass(),
           TVivIzizEzuMenuButton::StaticClass(), TVivIzizEzuSeparator::StaticClass(),
           TVivIzizEzuContainer::StaticClass(), TDizGlowMenuButton::StaticClass(),
           TVivIzizEzuOfficeStyler::StaticClass(), TVivIzizEzuFantasyStyler::StaticClass(),
           TVivIzizEzuCustomizer::StaticClass()})
    Classes.push_back(c);
}
