// The component classes of the foundation and the grid.
#include "tests/app/fuzz/FuzzFormClasses.h"

#include "foundation/DizAppStyler.h"
#include "foundation/PictureContainer.h"
#include "grid/BaseGrid.h"
#include "grid/RavIze.h"
#include "grid/VezIdid.h"

void AddFoundationClasses(std::vector<TClass>& Classes) {
  for (TClass c : {
           TDizAppStyler::StaticClass(), TDizFormStyler::StaticClass(), TPictureContainer::StaticClass(),
           THTMLImage::StaticClass(), TDavEvadurAvuz::StaticClass(), TBaseGrid::StaticClass(),
           TVezIdidButton::StaticClass(), TPopupButton::StaticClass(), TVezIdidUndoRedo::StaticClass()})
    Classes.push_back(c);
}
