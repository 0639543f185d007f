#pragma once
// The library exception of the label family and the sub-component base class.
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Component.h"

// Raised by the animated label's behaviours; its message is formatted by the raiser.
LORM_DECLARE_EXCEPTION(EVXLException, Exception);

// A component that lives inside another one and is written with its owner's properties.
class TVxPersistent : public TComponent {
  LORM_CLASS(TVxPersistent, TComponent)
public:
  explicit TVxPersistent(TComponent* AOwner);
};
