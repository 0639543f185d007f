// The sub-component base of the label family (the exception class is header-only).
#include "label/VxTypes.h"

TVxPersistent::TVxPersistent(TComponent* AOwner) : TComponent(AOwner) {
  SetSubComponent(true);
  SetName("SubComponent");
}
